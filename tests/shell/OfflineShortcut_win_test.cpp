#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <string>

#include "shell/OfflineShortcut.h"
#include "support/TempDir.h"
#include "util/FileIo.h"
#include "util/ScopedWin_win.h"
#include "util/Shortcut.h"
#include "util/WideText_win.h"

namespace tvk {
namespace {

constexpr char kExe[] = "Tavrel·软件盒子.exe";

// The properties of a shortcut file besides its target, read through the shell link object.
struct ShortcutExtras {
  bool loaded = false;
  std::string arguments, workingDirectory, description, iconFile;
};

ShortcutExtras ReadExtras(const std::string& path) {
  ShortcutExtras extras;
  const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
      SUCCEEDED(file->Load(Widen(path).c_str(), STGM_READ))) {
    extras.loaded = true;
    wchar_t text[MAX_PATH + 1];
    int iconIndex = 0;
    text[0] = L'\0';
    link->GetArguments(text, MAX_PATH);
    extras.arguments = Narrow(text);
    text[0] = L'\0';
    link->GetWorkingDirectory(text, MAX_PATH);
    extras.workingDirectory = Narrow(text);
    text[0] = L'\0';
    link->GetDescription(text, MAX_PATH);
    extras.description = Narrow(text);
    text[0] = L'\0';
    link->GetIconLocation(text, MAX_PATH, &iconIndex);
    extras.iconFile = Narrow(text);
  }
  if (file) file->Release();
  if (link) link->Release();
  if (SUCCEEDED(init)) CoUninitialize();
  return extras;
}

// A box folder inside `dir` holding the executable.
std::string MakeBoxFolder(const test::TempDir& dir, const std::string& name, const std::string& exe = kExe) {
  const std::string folder = dir.File(name);
  EXPECT_TRUE(CreateFolder(folder));
  EXPECT_TRUE(WriteFileBytes(ExecutablePath(folder, exe), "MZ"));
  return folder;
}

void ExpectOfflineShortcut(const std::string& folder, const std::string& exe = kExe) {
  const std::string link = OfflineShortcutPath(folder);
  EXPECT_EQ(ReadShortcutTarget(link), ExecutablePath(folder, exe)) << folder;
  const ShortcutExtras extras = ReadExtras(link);
  ASSERT_TRUE(extras.loaded) << folder;
  EXPECT_EQ(extras.arguments, "lxms") << folder;
  EXPECT_EQ(extras.workingDirectory, "") << folder;
  EXPECT_EQ(extras.description, "") << folder;
  EXPECT_EQ(extras.iconFile, "") << folder;
}

// The file's last-write time, or all zero when it cannot be read.
FILETIME LastWriteTime(const std::string& path) {
  FILETIME written{};
  ScopedHandle file(CreateFileW(Widen(path).c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.valid()) GetFileTime(file.get(), nullptr, nullptr, &written);
  return written;
}

// Dates the file back to 1 January 2001, so that any later write shows.
bool BackdateFile(const std::string& path) {
  ScopedHandle file(CreateFileW(Widen(path).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  const SYSTEMTIME old = {2001, 1, 1, 1, 12, 0, 0, 0};
  FILETIME time{};
  return file.valid() && SystemTimeToFileTime(&old, &time) && SetFileTime(file.get(), nullptr, nullptr, &time);
}

bool SameTime(const FILETIME& a, const FILETIME& b) {
  return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

TEST(RepairOfflineShortcut, WritesAMissingShortcut) {
  test::TempDir dir;
  // "籠" ends in the byte 5C ("\") in code page 936.
  for (const char* name : {"盒子", "籠", "Tavrel·软件盒子 v1.0"}) {
    const std::string folder = MakeBoxFolder(dir, name);
    ASSERT_FALSE(FileExists(OfflineShortcutPath(folder)));
    EXPECT_TRUE(RepairOfflineShortcut(folder, kExe, false)) << name;
    ExpectOfflineShortcut(folder);
  }
}

TEST(RepairOfflineShortcut, RewritesAShortcutThatPointsElsewhere) {
  test::TempDir dir;
  const std::string before = MakeBoxFolder(dir, "旧位置");
  ASSERT_TRUE(RepairOfflineShortcut(before, kExe, false));
  const std::string shortcutBytes = ReadFileBytes(OfflineShortcutPath(before));
  ASSERT_FALSE(shortcutBytes.empty());

  struct Case {
    const char* what;
    const char* folder;
    const char* exe;
    std::string bytes;  // the shortcut file found there
  };
  const Case cases[] = {
      {"box folder moved", "新位置", kExe, shortcutBytes},
      {"executable renamed", "改名", "Acme·软件盒子.exe", shortcutBytes},
      {"not a shortcut", "损坏", kExe, "not a shortcut"},
      {"empty file", "空文件", kExe, ""},
  };
  for (const Case& c : cases) {
    const std::string folder = MakeBoxFolder(dir, c.folder, c.exe);
    ASSERT_TRUE(WriteFileBytes(OfflineShortcutPath(folder), c.bytes)) << c.what;
    EXPECT_TRUE(RepairOfflineShortcut(folder, c.exe, false)) << c.what;
    ExpectOfflineShortcut(folder, c.exe);
  }
  // The first folder's shortcut was not touched.
  EXPECT_EQ(ReadFileBytes(OfflineShortcutPath(before)), shortcutBytes);
}

TEST(RepairOfflineShortcut, ComparesTheTargetByteForByte) {
  test::TempDir dir;
  const std::string folder = MakeBoxFolder(dir, "盒子", "box.exe");
  ShortcutOptions options;
  options.arguments = "lxms";
  WriteShortcut(OfflineShortcutPath(folder), ExecutablePath(folder, "BOX.EXE"), options);
  ASSERT_EQ(ReadShortcutTarget(OfflineShortcutPath(folder)), ExecutablePath(folder, "BOX.EXE"));
  EXPECT_TRUE(RepairOfflineShortcut(folder, "box.exe", false));
  ExpectOfflineShortcut(folder, "box.exe");
}

TEST(RepairOfflineShortcut, LeavesACurrentShortcutAlone) {
  test::TempDir dir;
  const std::string folder = MakeBoxFolder(dir, "盒子");
  const std::string link = OfflineShortcutPath(folder);
  ASSERT_TRUE(RepairOfflineShortcut(folder, kExe, false));
  ASSERT_TRUE(BackdateFile(link));
  const FILETIME dated = LastWriteTime(link);
  const std::string bytes = ReadFileBytes(link);

  EXPECT_FALSE(RepairOfflineShortcut(folder, kExe, false));
  EXPECT_TRUE(SameTime(LastWriteTime(link), dated));
  EXPECT_EQ(ReadFileBytes(link), bytes);
}

TEST(RepairOfflineShortcut, DoesNothingInOfflineMode) {
  test::TempDir dir;
  const std::string missing = MakeBoxFolder(dir, "没有快捷方式");
  EXPECT_FALSE(RepairOfflineShortcut(missing, kExe, true));
  EXPECT_FALSE(FileExists(OfflineShortcutPath(missing)));

  const std::string old = MakeBoxFolder(dir, "旧位置");
  ASSERT_TRUE(RepairOfflineShortcut(old, kExe, false));
  const std::string stale = MakeBoxFolder(dir, "新位置");
  const std::string link = OfflineShortcutPath(stale);
  ASSERT_TRUE(WriteFileBytes(link, ReadFileBytes(OfflineShortcutPath(old))));
  ASSERT_TRUE(BackdateFile(link));
  const FILETIME dated = LastWriteTime(link);

  EXPECT_FALSE(RepairOfflineShortcut(stale, kExe, true));
  EXPECT_TRUE(SameTime(LastWriteTime(link), dated));
  EXPECT_EQ(ReadShortcutTarget(link), ExecutablePath(old, kExe));
}

TEST(RunDirectory, IsTheFolderOfTheRunningExecutable) {
  const std::string folder = RunDirectory();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), '\\');
  EXPECT_EQ(ExecutableName(), "win_tests.exe");
  EXPECT_TRUE(FileExists(ExecutablePath(folder, ExecutableName())));
  EXPECT_TRUE(FolderExists(folder));
}

}  // namespace
}  // namespace tvk
