// The texts a product's row shows: its name label and its action button.
#pragma once

#include <string>
#include <string_view>

#include "config/SoftwareEntry.h"

namespace tvk {

// Kind mark ("[免]", "[游]" or none) and name, blanks up to 32 bytes (the
// label's fixed-pitch font lines the versions up), then " (未下载)" or " v" and
// the installed version.
std::string EntryNameText(const SoftwareEntry& entry);

// "下载 v", "升级 v" and the newest version ("0.0.0.0" when unknown) by status,
// or "已是最新版本!" when up to date; padded with blanks to 17 bytes.
std::string ActionButtonCaption(const SoftwareEntry& entry);

// The action caption for a status and newest version, unpadded.
std::string ActionCaptionFor(int status, std::string_view latestVersion);

// Appends blanks until the text is `width` bytes long (none when it is longer).
std::string PadToBytes(std::string text, size_t width);

}  // namespace tvk
