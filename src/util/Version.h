// Version texts: the string table of a file's version resource, and the
// comparison of an installed version with the newest one.
#pragma once

#include <string>
#include <string_view>

namespace tvk {

// The twelve strings of a version resource's string table (code page 936 text).
struct FileVersionInfo {
  std::string comments;
  std::string companyName;
  std::string fileDescription;
  std::string fileVersion;
  std::string internalName;
  std::string legalCopyright;
  std::string legalTrademarks;
  std::string originalFilename;
  std::string privateBuild;
  std::string productName;
  std::string productVersion;
  std::string specialBuild;
};

// Result of CompareVersions.
inline constexpr int kVersionNotInstalled = 0;
inline constexpr int kVersionUpdateAvailable = 1;
inline constexpr int kVersionUpToDate = 2;

// Compares dotted versions part by part over the installed version's parts (the
// newest one is cut or padded with zero parts to that length). A part's value
// is its leading integer (blanks, sign, digits; 0 when there are none, clamped
// to the int range). Returns kVersionNotInstalled when `installed` is empty,
// kVersionUpdateAvailable when `newest` is higher, else kVersionUpToDate.
int CompareVersions(std::string_view installed, std::string_view newest);

// Windows build only. Reads the string table of the file's first translation.
// `info.fileVersion` is always emptied; when the table gives at least one
// non-empty string, all twelve fields are replaced (empty where it gives none),
// otherwise (no file, no resource, no table) the other eleven are left as they were.
void ReadFileVersion(std::string_view path, FileVersionInfo& info);

// Windows build only. The file's FileVersion string; empty when it has none.
std::string ReadFileVersionString(std::string_view path);

}  // namespace tvk
