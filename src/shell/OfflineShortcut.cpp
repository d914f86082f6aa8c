#include "shell/OfflineShortcut.h"

#include "util/Gbk.h"

namespace tvk {

std::string OfflineShortcutPath(std::string_view runDirectory) {
  std::string path(runDirectory);
  path += '\\';
  path += kOfflineShortcutName;
  return path;
}

std::string ExecutablePath(std::string_view runDirectory, std::string_view exeName) {
  std::string path(runDirectory);
  path += '\\';
  path += exeName;
  return path;
}

ModuleLocation SplitModulePath(std::string_view path) {
  const size_t separator = FindLastSeparator(path);
  if (separator == std::string_view::npos) return {std::string(), std::string(path)};
  return {std::string(path.substr(0, separator)), std::string(path.substr(separator + 1))};
}

}  // namespace tvk
