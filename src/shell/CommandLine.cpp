#include "shell/CommandLine.h"

namespace tvk {

CommandLineSettings ReadCommandLine(const std::vector<std::string>& words) {
  CommandLineSettings settings;
  if (words.empty()) return settings;
  if (words.front() == kOfflineWord)
    settings.offlineMode = true;
  else
    settings.launchArgument = words.front();
  return settings;
}

}  // namespace tvk
