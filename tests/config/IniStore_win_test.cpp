#include <windows.h>

#include <gtest/gtest.h>

#include "config/IniStore.h"
#include "support/TempDir.h"
#include "util/FileIo.h"
#include "util/Registry.h"
#include "util/ScopedWin_win.h"
#include "util/WideText_win.h"

namespace tvk {
namespace {

TEST(IniStoreWindows, OpenFileMayBeReadButNotWrittenByOthers) {
  test::TempDir dir;
  std::string path = dir.File("设置.ini");
  IniStore store;
  ASSERT_TRUE(store.Open(path, false));
  store.WriteValue("s", "k", "v");

  ScopedHandle reader(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
  EXPECT_TRUE(reader.valid());
  EXPECT_EQ(ReadFileBytes(path), "[s]\r\nk=v");

  ScopedHandle writer(CreateFileW(Widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
  EXPECT_FALSE(writer.valid());
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));

  // A second store cannot get the file: its changes stay in its text.
  IniStore second;
  EXPECT_FALSE(second.Open(path, false));
  EXPECT_EQ(second.GetContent(), "[s]\r\nk=v");
  second.WriteValue("s", "k", "other");
  EXPECT_EQ(ReadFileBytes(path), "[s]\r\nk=v");

  // Saving to its own file goes through the open handle.
  EXPECT_TRUE(store.SaveTo());
  store.Close();
  reader.reset();
  writer.reset(CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_TRUE(writer.valid());
}

TEST(IniStoreWindows, RegistryStorageKeepsValuesUnderTheSectionKey) {
  IniStore store;
  ASSERT_TRUE(store.OpenAs("C:\\盒子\\测试设置.ini", IniStore::Storage::Registry));
  EXPECT_EQ(store.SelectSection("基本配置"), "Tavrel软件\\测试设置\\基本配置\\");
  EXPECT_TRUE(store.SetText("说明", "第一行\r\n第二行"));
  EXPECT_TRUE(store.SetNumber("次数", 12));
  EXPECT_TRUE(store.SetBool("非首次使用", true));

  std::string raw;
  ASSERT_TRUE(RegistryReadText("Tavrel软件\\测试设置\\基本配置", "说明", raw));
  EXPECT_EQ(raw, "第一行┊*┊第二行");
  EXPECT_EQ(store.GetText("说明"), "第一行\r\n第二行");
  EXPECT_DOUBLE_EQ(store.GetNumber("次数"), 12);
  EXPECT_TRUE(store.GetBool("非首次使用"));
  EXPECT_EQ(store.GetText("没有", "默认"), "默认");
  EXPECT_EQ(store.GetContent(), "");  // nothing reaches the text
}

}  // namespace
}  // namespace tvk
