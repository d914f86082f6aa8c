// The catalogue text: which sections are products, the record built from a
// product section, and the kept copy written for offline use.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "config/SoftwareEntry.h"

namespace tvk {

class IniStore;

// The brand in use when no branding profile names one.
inline constexpr std::string_view kDefaultBrand = "Tavrel";
// Section of the box itself and its keys.
inline constexpr std::string_view kBoxSection = "盒子";
inline constexpr std::string_view kDownloadSourceKey = "下载源";
inline constexpr std::string_view kBoxNewestVersionKey = "最新版本";
inline constexpr std::string_view kBoxUpdateLinkKey = "下载地址";
inline constexpr std::string_view kUpdateOptionalKey = "允许选择";
inline constexpr std::string_view kYes = "是";

// The text a product section's name contains: the brand in use and "·".
std::string ProductSectionMark(std::string_view brandInUse);

// A product's name becomes a folder under the box's folder, an executable name
// and a deletion target, so a name that could point anywhere else (a path
// separator, "..", a drive colon, a character Windows forbids in file names, a
// control character, a trailing dot or blank) is not a usable name.
bool IsSafeProductName(std::string_view name);

// Whether the section is a product of a box whose brand in use is `brandInUse`.
bool IsProductSection(std::string_view section, std::string_view brandInUse);

// The product sections of the catalogue store, in text order (its official order).
std::vector<std::string> ListProductSections(IniStore& catalogue, std::string_view brandInUse);

// The record of the product section `name` (selected in the store on return),
// without its installed version: installedVersion empty, status 0.
SoftwareEntry ReadSoftwareEntry(IniStore& catalogue, std::string_view name);

// Sets the installed version and the status that follows from it.
void SetInstalledVersion(SoftwareEntry& entry, std::string installedVersion);

// The catalogue text as kept on disk: every "下载源=" followed by the download
// source removed, so the cloud-disk cookie never reaches the disk.
std::string KeptCopyText(std::string_view text, std::string_view downloadSource);

// File name of the kept copy (to be put after the box's folder and "\").
std::string KeptCopyFileName(std::string_view brandInUse);

}  // namespace tvk
