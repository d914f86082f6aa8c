#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "shell/HeaderTimers.h"
#include "support/TempDir.h"
#include "util/FileIo.h"
#include "util/ScopedWin_win.h"
#include "util/WideText_win.h"

namespace tvk {
namespace {

TEST(DeleteLaunchArgumentTick, WaitsWhileTheFileCannotBeDeletedYet) {
  test::TempDir dir;
  const std::string path = dir.File("旧版盒子.exe");
  ASSERT_TRUE(WriteFileBytes(path, "MZ"));
  // Held open the way a still-running program holds its file: no delete sharing.
  ScopedHandle holder(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(holder.valid());

  std::string argument = path;
  for (int tick = 0; tick < 3; ++tick) {
    EXPECT_TRUE(DeleteLaunchArgumentTick(argument)) << tick;
    EXPECT_EQ(argument, path) << tick;
    EXPECT_TRUE(FileExists(path)) << tick;
  }
  holder.reset();
  EXPECT_FALSE(DeleteLaunchArgumentTick(argument));
  EXPECT_EQ(argument, "");
  EXPECT_FALSE(FileExists(path));
}

}  // namespace
}  // namespace tvk
