#include <gtest/gtest.h>

#include <string>

#include "shell/OfflineShortcut.h"

namespace tvk {
namespace {

TEST(OfflineShortcutPath, IsTheShortcutNameInTheRunDirectory) {
  EXPECT_EQ(OfflineShortcutPath("C:\\软件盒子"), "C:\\软件盒子\\离线模式启动盒子.lnk");
  EXPECT_EQ(ExecutablePath("C:\\软件盒子", "盒子.exe"), "C:\\软件盒子\\盒子.exe");
  EXPECT_EQ(ExecutablePath("D:", "box.exe"), "D:\\box.exe");
}

TEST(SplitModulePath, SplitsAtTheLastSeparatorThatIsACharacterOfItsOwn) {
  struct Case {
    const char* path;
    const char* directory;
    const char* name;
  };
  // "籠" and "淺" end in the byte 5C ("\") in code page 936.
  const Case cases[] = {
      {"C:\\box\\box.exe", "C:\\box", "box.exe"},
      {"C:\\软件盒子\\Tavrel盒子.exe", "C:\\软件盒子", "Tavrel盒子.exe"},
      {"C:\\软件\\籠.exe", "C:\\软件", "籠.exe"},
      {"C:\\籠\\box.exe", "C:\\籠", "box.exe"},
      {"D:\\淺籠", "D:", "淺籠"},
      {"C:\\box.exe", "C:", "box.exe"},
      {"/opt/box/box.exe", "/opt/box", "box.exe"},
      {"box.exe", "", "box.exe"},
      {"籠", "", "籠"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    const ModuleLocation location = SplitModulePath(c.path);
    EXPECT_EQ(location.directory, c.directory) << c.path;
    EXPECT_EQ(location.name, c.name) << c.path;
  }
}

}  // namespace
}  // namespace tvk
