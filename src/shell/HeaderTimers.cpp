#include "shell/HeaderTimers.h"

#include "util/FileIo.h"

namespace tvk {

BrandSwing StepBrandSwing(BrandSwing swing, const BrandSwingLimits& limits) {
  if (swing.rightwards) {
    ++swing.left;
    if (swing.left + limits.pictureWidth > limits.downloadAllLeft - kBrandSwingMargin) swing.rightwards = false;
  } else {
    --swing.left;
    const int neighbourRight = limits.vipVisible ? limits.vipRight : limits.homePageRight;
    if (swing.left < neighbourRight + kBrandSwingMargin) swing.rightwards = true;
  }
  return swing;
}

bool DeleteLaunchArgumentTick(std::string& launchArgument) {
  if (!launchArgument.empty() && FileExists(launchArgument) && !DeleteFileAt(launchArgument)) return true;
  launchArgument.clear();
  return false;
}

}  // namespace tvk
