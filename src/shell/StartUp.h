// The box's start-up: command line, offline-mode shortcut, branding profile
// and settings file, in that order, before the main window is loaded.
#pragma once

#include <string>
#include <vector>

#include "shell/BoxState.h"

namespace tvk {

// Fills the process-wide state for a box in `runDirectory` started as
// `exeName` with the command-line words (program name excluded).
void StartUp(BoxState& box, const std::string& runDirectory, const std::string& exeName,
             const std::vector<std::string>& words);

// The settings file: the application name followed by ".ini" in the box's folder.
std::string SettingsFilePath(const BoxState& box);

}  // namespace tvk
