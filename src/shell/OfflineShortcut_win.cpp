#include "shell/OfflineShortcut.h"

#include <windows.h>

#include "shell/CommandLine.h"
#include "util/Shortcut.h"
#include "util/WideText_win.h"

namespace tvk {

namespace {

// The running executable's full path; empty when it cannot be read.
std::string ModulePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return Narrow(std::wstring_view(buffer.data(), length));
    if (buffer.size() >= 32768) return {};  // longer than any Windows path
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace

std::string RunDirectory() { return SplitModulePath(ModulePath()).directory; }

std::string ExecutableName() {
  const std::string path = ModulePath();
  return path.empty() ? std::string() : SplitModulePath(path).name;
}

bool RepairOfflineShortcut(std::string_view runDirectory, std::string_view exeName, bool offlineMode) {
  if (offlineMode) return false;
  const std::string link = OfflineShortcutPath(runDirectory);
  const std::string exe = ExecutablePath(runDirectory, exeName);
  if (ReadShortcutTarget(link) == exe) return false;
  ShortcutOptions options;
  options.arguments = std::string(kOfflineWord);
  WriteShortcut(link, exe, options);
  return true;
}

}  // namespace tvk
