// The offline-mode shortcut "离线模式启动盒子.lnk" in the box's folder, which
// starts the box with the offline word, and the box's own location. Paths are
// code page 936 text; a run directory has no trailing separator.
#pragma once

#include <string>
#include <string_view>

namespace tvk {

inline constexpr std::string_view kOfflineShortcutName = "离线模式启动盒子.lnk";

// runDirectory + "\离线模式启动盒子.lnk".
std::string OfflineShortcutPath(std::string_view runDirectory);

// runDirectory + "\" + exeName.
std::string ExecutablePath(std::string_view runDirectory, std::string_view exeName);

struct ModuleLocation {
  std::string directory;  // the text before the last separator ("" when there is none)
  std::string name;       // the text after it (the whole path when there is none)
};

// Splits a module's full path at its last separator ("\" or "/"), stepping
// over double-byte characters whose trail byte is "\".
ModuleLocation SplitModulePath(std::string_view path);

// Windows build only. The folder of the running executable; empty when its
// path cannot be read.
std::string RunDirectory();

// Windows build only. The running executable's file name ("box.exe"); empty
// when its path cannot be read.
std::string ExecutableName();

// Windows build only. Outside offline mode, points the offline-mode shortcut
// of runDirectory at runDirectory\exeName: when the target it holds (empty
// when the file is missing or unreadable) differs byte for byte from that
// path, writes the shortcut anew with that target, the arguments "lxms" and
// nothing else. Returns whether it wrote; a write that fails is not reported.
bool RepairOfflineShortcut(std::string_view runDirectory, std::string_view exeName, bool offlineMode);

}  // namespace tvk
