// The process-wide state of the box: made at start-up, released once at exit.
#pragma once

#include <string>

#include "config/IniStore.h"
#include "shell/BrandProfile.h"

namespace tvk {

struct BoxState {
  bool offlineMode = false;    // started with the offline word
  std::string launchArgument;  // a file to delete once it can be
  std::string runDirectory;    // the box's folder, without a trailing separator
  std::string exeName;         // the box's executable file name
  std::string applicationName = std::string(kUnbrandedApplicationName);
  BrandProfile brand;
  IniStore settings;           // the box's settings file, open for the whole run
};

}  // namespace tvk
