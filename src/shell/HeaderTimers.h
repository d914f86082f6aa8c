// The two timers of the main window's header that run on their own: the
// swing of the brand picture button (`时钟官网`, every 20 ms) and the deletion
// of the file named on the command line (`时钟2`, every second). Both are
// plain functions of what the window reads from its controls, so the window
// only moves the picture and stops the timer.
#pragma once

#include <string>

namespace tvk {

inline constexpr int kBrandSwingPeriodMs = 20;
inline constexpr int kLaunchArgumentPeriodMs = 1000;

// Margin in pixels that the brand picture keeps from its neighbours.
inline constexpr int kBrandSwingMargin = 20;

// Where the brand picture is and which way it moves. It starts rightwards.
struct BrandSwing {
  int left = 0;
  bool rightwards = true;

  bool operator==(const BrandSwing&) const = default;
};

// The neighbours that bound the swing, in pixels of the header strip.
struct BrandSwingLimits {
  int pictureWidth = 0;     // width of the brand picture
  int downloadAllLeft = 0;  // left edge of the download-all button
  bool vipVisible = true;   // whether the VIP picture button is shown
  int vipRight = 0;         // right edge (left + width) of the VIP picture button
  int homePageRight = 0;    // right edge of the home-page picture button
};

// One tick: one pixel in the current direction. Rightwards the direction turns
// once the picture's right edge passes the download-all button's left edge
// less the margin; leftwards it turns once the left edge passes below the
// right edge of the VIP picture (the home-page picture when the VIP one is
// hidden) plus the margin. The picture moves before the test, so it ends one
// pixel beyond the bound on each side.
BrandSwing StepBrandSwing(BrandSwing swing, const BrandSwingLimits& limits);

// One tick of the launch-argument deletion. When the argument names an
// existing file that cannot be deleted yet, returns true (keep the timer).
// Otherwise (deleted now, already gone, not a file, or no argument) clears the
// argument and returns false (stop the timer).
bool DeleteLaunchArgumentTick(std::string& launchArgument);

}  // namespace tvk
