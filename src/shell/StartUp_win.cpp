#include "shell/StartUp.h"

#include "shell/CommandLine.h"
#include "shell/OfflineShortcut.h"

namespace tvk {

std::string SettingsFilePath(const BoxState& box) { return box.runDirectory + "\\" + box.applicationName + ".ini"; }

void StartUp(BoxState& box, const std::string& runDirectory, const std::string& exeName,
             const std::vector<std::string>& words) {
  box.runDirectory = runDirectory;
  box.exeName = exeName;
  CommandLineSettings settings = ReadCommandLine(words);
  box.offlineMode = settings.offlineMode;
  box.launchArgument = settings.launchArgument;
  RepairOfflineShortcut(runDirectory, exeName, box.offlineMode);
  box.brand = ReadBrandProfile(runDirectory);
  box.applicationName = BrandedApplicationName(box.brand);
  box.settings.OpenAs(SettingsFilePath(box), IniStore::Storage::File);
}

}  // namespace tvk
