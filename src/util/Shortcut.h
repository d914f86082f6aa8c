// Shell shortcut (.lnk) files and the paths of special folders. Windows build
// only. Paths are code page 936 text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tvk {

// What a shortcut may carry besides its target; only the fields that hold a
// value are written.
struct ShortcutOptions {
  std::optional<std::string> workingDirectory;
  std::optional<std::string> description;
  std::optional<std::string> arguments;
  std::optional<std::string> iconLocation;  // "file,index"; the index is 0 when absent
  std::optional<int> hotKey;                // virtual key in the low byte, HOTKEYF_ flags in the high byte
  std::optional<int> windowStyle;           // SW_SHOWNORMAL, SW_SHOWMAXIMIZED or SW_SHOWMINNOACTIVE
};

// The target path stored in the shortcut at `path`. Empty when `path` does not
// contain ".lnk" (exactly that case) or the file is missing or not a shortcut.
std::string ReadShortcutTarget(std::string_view path);

// Writes a shortcut to `target` at `path`, adding ".lnk" unless the path
// already ends with it in any case. Failures are not reported: no file appears.
void WriteShortcut(std::string_view path, std::string_view target, const ShortcutOptions& options = {});

// Kinds for SpecialFolderPath.
inline constexpr int kFolderDefault = 0;  // same as kFolderDesktop
inline constexpr int kFolderDocuments = 1;
inline constexpr int kFolderFavourites = 2;
inline constexpr int kFolderDesktop = 3;
inline constexpr int kFolderFonts = 4;
inline constexpr int kFolderStartMenu = 5;
inline constexpr int kFolderPrograms = 6;
inline constexpr int kFolderStartup = 7;
inline constexpr int kFolderAppData = 8;
inline constexpr int kFolderWindows = 9;
inline constexpr int kFolderSystem = 10;
inline constexpr int kFolderTemp = 11;
inline constexpr int kFolderInternetCache = 12;

// The folder's path ending with "\"; empty for an unknown kind or when the
// folder cannot be found (it is never created).
std::string SpecialFolderPath(int kind);

}  // namespace tvk
