#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "shell/HeaderTimers.h"
#include "support/TempDir.h"
#include "util/FileIo.h"

namespace tvk {
namespace {

// The header as the main window lays it out: the brand picture 195 wide at
// 384, the download-all button at 616, the VIP picture 280..344 and the
// home-page picture 192..256.
constexpr BrandSwingLimits kHeader = {195, 616, true, 344, 256};
constexpr BrandSwingLimits kHeaderWithoutVip = {195, 616, false, 344, 256};

TEST(StepBrandSwing, MovesOnePixelAndTurnsOncePastABound) {
  struct Case {
    const char* what;
    BrandSwing before;
    BrandSwingLimits limits;
    BrandSwing after;
  };
  // Right bound: left + 195 > 616 - 20, first true at 402. Left bound: left < 344 + 20
  // (256 + 20 without VIP), first true at 363 (275).
  const Case cases[] = {
      {"start", {384, true}, kHeader, {385, true}},
      {"right edge reaches the bound", {400, true}, kHeader, {401, true}},
      {"right edge passes the bound", {401, true}, kHeader, {402, false}},
      {"left of the bound already", {500, true}, kHeader, {501, false}},
      {"leftwards", {402, false}, kHeader, {401, false}},
      {"left edge reaches the VIP bound", {365, false}, kHeader, {364, false}},
      {"left edge passes the VIP bound", {364, false}, kHeader, {363, true}},
      {"VIP hidden: its bound does not count", {364, false}, kHeaderWithoutVip, {363, false}},
      {"VIP hidden: home-page bound reached", {277, false}, kHeaderWithoutVip, {276, false}},
      {"VIP hidden: home-page bound passed", {276, false}, kHeaderWithoutVip, {275, true}},
      {"VIP hidden rightwards: same right bound", {401, true}, kHeaderWithoutVip, {402, false}},
      {"VIP shown far right: home page does not count", {276, false}, {195, 616, true, 100, 256}, {275, false}},
  };
  for (const Case& c : cases) {
    const BrandSwing after = StepBrandSwing(c.before, c.limits);
    EXPECT_EQ(after.left, c.after.left) << c.what;
    EXPECT_EQ(after.rightwards, c.after.rightwards) << c.what;
  }
}

TEST(StepBrandSwing, SwingsBetweenTheNeighboursForAsLongAsItRuns) {
  struct Case {
    BrandSwingLimits limits;
    int lowest, highest;
  };
  const Case cases[] = {{kHeader, 363, 402}, {kHeaderWithoutVip, 275, 402}};
  for (const Case& c : cases) {
    BrandSwing swing{384, true};
    int lowest = swing.left, highest = swing.left, turns = 0;
    for (int tick = 0; tick < 2000; ++tick) {
      const BrandSwing next = StepBrandSwing(swing, c.limits);
      ASSERT_EQ(std::abs(next.left - swing.left), 1);
      if (next.rightwards != swing.rightwards) ++turns;
      swing = next;
      lowest = std::min(lowest, swing.left);
      highest = std::max(highest, swing.left);
    }
    EXPECT_EQ(lowest, c.lowest) << c.limits.vipVisible;
    EXPECT_EQ(highest, c.highest) << c.limits.vipVisible;
    EXPECT_GT(turns, 10) << c.limits.vipVisible;
  }
}

TEST(DeleteLaunchArgumentTick, DeletesTheFileOrFindsItGoneThenStops) {
  test::TempDir dir;
  const std::string present = dir.File("旧版盒子.exe");
  ASSERT_TRUE(WriteFileBytes(present, "MZ"));
  struct Case {
    const char* what;
    std::string argument;
  };
  const Case cases[] = {
      {"present and deletable", present},
      {"already gone", dir.File("不存在.exe")},
      {"a folder, not a file", dir.path()},
      {"no argument", ""},
  };
  for (const Case& c : cases) {
    std::string argument = c.argument;
    EXPECT_FALSE(DeleteLaunchArgumentTick(argument)) << c.what;
    EXPECT_EQ(argument, "") << c.what;
  }
  EXPECT_FALSE(FileExists(present));
  EXPECT_TRUE(FolderExists(dir.path()));
}

}  // namespace
}  // namespace tvk
