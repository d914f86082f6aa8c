#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <climits>
#include <thread>

#include "support/TempDir.h"
#include "util/FileIo.h"
#include "util/Shortcut.h"
#include "util/WideText_win.h"

namespace tvk {
namespace {

// What a shortcut file holds, read through the shell link object directly,
// except for the show command: Wine's shell link object does not load it, so
// it comes from the file's header (a 32-bit number at offset 0x3C).
struct StoredShortcut {
  bool loaded = false;
  std::string target, workingDirectory, description, arguments, iconFile;
  int iconIndex = -1;
  WORD hotKey = 0xFFFF;
  int showCmd = -1;
};

StoredShortcut LoadShortcut(const std::string& path) {
  StoredShortcut stored;
  HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
      SUCCEEDED(file->Load(Widen(path).c_str(), STGM_READ))) {
    stored.loaded = true;
    wchar_t text[MAX_PATH + 1];
    auto take = [&](auto get) {
      text[0] = L'\0';
      return SUCCEEDED(get()) ? Narrow(text) : std::string("(failed)");
    };
    stored.target = take([&] { return link->GetPath(text, MAX_PATH, nullptr, 0); });
    stored.workingDirectory = take([&] { return link->GetWorkingDirectory(text, MAX_PATH); });
    stored.description = take([&] { return link->GetDescription(text, MAX_PATH); });
    stored.arguments = take([&] { return link->GetArguments(text, MAX_PATH); });
    stored.iconFile = take([&] { return link->GetIconLocation(text, MAX_PATH, &stored.iconIndex); });
    link->GetHotkey(&stored.hotKey);
  }
  const std::string bytes = ReadFileBytes(path);
  if (bytes.size() >= 0x40) {
    const auto* header = reinterpret_cast<const unsigned char*>(bytes.data());
    stored.showCmd = static_cast<int>(header[0x3C] | header[0x3D] << 8 | header[0x3E] << 16 |
                                      static_cast<unsigned>(header[0x3F]) << 24);
  }
  if (file) file->Release();
  if (link) link->Release();
  if (SUCCEEDED(init)) CoUninitialize();
  return stored;
}

// A target that exists, so that the shell resolves it as a file.
std::string MakeTarget(const test::TempDir& dir, const std::string& name) {
  std::string target = dir.File(name);
  EXPECT_TRUE(WriteFileBytes(target, "MZ"));
  return target;
}

TEST(WriteShortcut, TargetReadsBack) {
  test::TempDir dir;
  ASSERT_TRUE(CreateFolder(dir.File("软件盒子")));
  ASSERT_TRUE(CreateFolder(dir.File("籠")));
  struct Case {
    const char* link;
    const char* target;
  };
  const Case cases[] = {
      {"plain.lnk", "program.exe"},
      {"软件盒子\\快捷方式.lnk", "软件盒子\\目标程序.exe"},
      {"籠\\淺.lnk", "籠\\禱.exe"},  // each ends in the byte 5C ("\\") in code page 936
  };
  for (const Case& c : cases) {
    const std::string target = MakeTarget(dir, c.target);
    const std::string link = dir.File(c.link);
    WriteShortcut(link, target);
    EXPECT_TRUE(FileExists(link)) << c.link;
    EXPECT_EQ(ReadShortcutTarget(link), target) << c.link;
  }
}

TEST(WriteShortcut, AddsTheExtensionUnlessItEndsWithItInAnyCase) {
  struct Case {
    const char* given;
    const char* written;
  };
  const Case cases[] = {
      {"upper.LNK", "upper.LNK"},     {"mixed.LnK", "mixed.LnK"},  {"lower.lnk", "lower.lnk"},
      {"none", "none.lnk"},           {"inside.lnk.txt", "inside.lnk.txt.lnk"},
      {"dotless-lnk", "dotless-lnk.lnk"}, {"中文", "中文.lnk"},
  };
  test::TempDir dir;
  const std::string target = MakeTarget(dir, "program.exe");
  for (const Case& c : cases) {
    WriteShortcut(dir.File(c.given), target);
    EXPECT_TRUE(FileExists(dir.File(c.written))) << c.given;
    EXPECT_FALSE(FileExists(dir.File(c.written) + ".lnk")) << c.given;
    EXPECT_EQ(LoadShortcut(dir.File(c.written)).target, target) << c.given;
  }
}

TEST(ReadShortcutTarget, NeedsLowerCaseLnkInThePath) {
  test::TempDir dir;
  const std::string target = MakeTarget(dir, "program.exe");
  WriteShortcut(dir.File("real.lnk"), target);
  ASSERT_EQ(ReadShortcutTarget(dir.File("real.lnk")), target);
  // The same shortcut bytes under names without ".lnk" are not read.
  const std::string bytes = ReadFileBytes(dir.File("real.lnk"));
  for (const char* name : {"copy.LNK", "copy.Lnk", "copy.txt", "copylnk"}) {
    ASSERT_TRUE(WriteFileBytes(dir.File(name), bytes));
    ASSERT_TRUE(LoadShortcut(dir.File(name)).loaded) << name;
    EXPECT_EQ(ReadShortcutTarget(dir.File(name)), "") << name;
  }
  // ".lnk" anywhere in the path is enough.
  ASSERT_TRUE(CreateFolder(dir.File("dir.lnk")));
  ASSERT_TRUE(WriteFileBytes(dir.File("dir.lnk\\copy.bin"), bytes));
  EXPECT_EQ(ReadShortcutTarget(dir.File("dir.lnk\\copy.bin")), target);
  EXPECT_EQ(ReadShortcutTarget(""), "");
}

TEST(ReadShortcutTarget, MissingOrBrokenFileGivesEmpty) {
  test::TempDir dir;
  ASSERT_TRUE(WriteFileBytes(dir.File("junk.lnk"), "not a shortcut at all"));
  ASSERT_TRUE(WriteFileBytes(dir.File("empty.lnk"), ""));
  for (const char* name : {"missing.lnk", "junk.lnk", "empty.lnk", "没有.lnk"})
    EXPECT_EQ(ReadShortcutTarget(dir.File(name)), "") << name;
}

TEST(WriteShortcut, WritesOnlyTheGivenOptions) {
  test::TempDir dir;
  const std::string target = MakeTarget(dir, "program.exe");

  ShortcutOptions options;
  options.workingDirectory = dir.path();
  options.description = "软件盒子说明";
  options.arguments = "/start \"参数 二\"";
  options.iconLocation = "C:\\icons\\软件.ico,3";
  options.hotKey = MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_ALT);
  options.windowStyle = SW_SHOWMAXIMIZED;
  WriteShortcut(dir.File("full"), target, options);
  StoredShortcut full = LoadShortcut(dir.File("full.lnk"));
  ASSERT_TRUE(full.loaded);
  EXPECT_EQ(full.target, target);
  EXPECT_EQ(full.workingDirectory, dir.path());
  EXPECT_EQ(full.description, "软件盒子说明");
  EXPECT_EQ(full.arguments, "/start \"参数 二\"");
  EXPECT_EQ(full.iconFile, "C:\\icons\\软件.ico");
  EXPECT_EQ(full.iconIndex, 3);
  EXPECT_EQ(full.hotKey, MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_ALT));
  EXPECT_EQ(full.showCmd, SW_SHOWMAXIMIZED);

  WriteShortcut(dir.File("bare"), target);
  StoredShortcut bare = LoadShortcut(dir.File("bare.lnk"));
  ASSERT_TRUE(bare.loaded);
  EXPECT_EQ(bare.target, target);
  EXPECT_EQ(bare.workingDirectory, "");
  EXPECT_EQ(bare.description, "");
  EXPECT_EQ(bare.arguments, "");
  EXPECT_EQ(bare.iconFile, "");
  EXPECT_EQ(bare.hotKey, 0);
  EXPECT_EQ(bare.showCmd, SW_SHOWNORMAL);
}

TEST(WriteShortcut, IconLocationSplitsAtTheLastCommaBeforeAnIndex) {
  struct Case {
    const char* location;
    const char* file;
    int index;
  };
  const Case cases[] = {
      {"C:\\a\\b.ico,2", "C:\\a\\b.ico", 2},
      {"C:\\a,b\\c.dll,-104", "C:\\a,b\\c.dll", -104},
      {"C:\\a,b\\c.ico", "C:\\a,b\\c.ico", 0},
      {"C:\\a\\b.ico", "C:\\a\\b.ico", 0},
      {"C:\\软件\\图标.ico, 7", "C:\\软件\\图标.ico", 7},
  };
  test::TempDir dir;
  const std::string target = MakeTarget(dir, "program.exe");
  for (const Case& c : cases) {
    ShortcutOptions options;
    options.iconLocation = c.location;
    WriteShortcut(dir.File("icon.lnk"), target, options);
    StoredShortcut stored = LoadShortcut(dir.File("icon.lnk"));
    EXPECT_EQ(stored.iconFile, c.file) << c.location;
    EXPECT_EQ(stored.iconIndex, c.index) << c.location;
  }
}

// The routines run on a fresh thread that is in no apartment, or has entered
// one itself; afterwards the thread must be exactly where it was.
TEST(Shortcut, LeavesTheThreadsComStateAsItWas) {
  struct Case {
    const char* name;
    bool entered;
    DWORD model;
  };
  const Case cases[] = {
      {"no apartment", false, COINIT_APARTMENTTHREADED},
      {"single-threaded", true, COINIT_APARTMENTTHREADED},
      {"multithreaded", true, COINIT_MULTITHREADED},
  };
  test::TempDir dir;
  const std::string target = MakeTarget(dir, "program.exe");
  for (const Case& c : cases) {
    const std::string link = dir.File(std::string(c.name) + ".lnk");
    std::string read;
    HRESULT enterOther = E_FAIL;       // right after the routines
    HRESULT enterOtherLater = E_FAIL;  // after the thread left its own apartment
    std::thread worker([&] {
      if (c.entered) CoInitializeEx(nullptr, c.model);
      WriteShortcut(link, target);
      read = ReadShortcutTarget(link);
      // Entering the other model fails exactly while the thread is in an apartment.
      const DWORD other = c.model == COINIT_APARTMENTTHREADED ? COINIT_MULTITHREADED : COINIT_APARTMENTTHREADED;
      enterOther = CoInitializeEx(nullptr, other);
      if (SUCCEEDED(enterOther)) CoUninitialize();
      if (!c.entered) return;
      CoUninitialize();
      enterOtherLater = CoInitializeEx(nullptr, other);
      if (SUCCEEDED(enterOtherLater)) CoUninitialize();
    });
    worker.join();
    EXPECT_EQ(read, target) << c.name;
    if (c.entered) {
      EXPECT_EQ(enterOther, RPC_E_CHANGED_MODE) << c.name << ": the routines left the apartment";
      EXPECT_EQ(enterOtherLater, S_OK) << c.name << ": the routines stayed in the apartment";
    } else {
      EXPECT_EQ(enterOther, S_OK) << c.name << ": the routines stayed in an apartment";
    }
  }
}

TEST(SpecialFolderPath, DefaultIsTheDesktop) {
  const std::string desktop = SpecialFolderPath(kFolderDesktop);
  ASSERT_FALSE(desktop.empty());
  EXPECT_EQ(desktop.back(), '\\');
  EXPECT_EQ(SpecialFolderPath(0), desktop);
  // Callers append "\" + name: the doubled separator is accepted.
  test::TempDir dir;
  const std::string target = MakeTarget(dir, "program.exe");
  const std::string link = desktop + "\\tvk-test-" + std::to_string(GetCurrentProcessId()) + ".lnk";
  WriteShortcut(link, target);
  EXPECT_EQ(ReadShortcutTarget(link), target);
  EXPECT_TRUE(DeleteFileAt(link));
}

TEST(SpecialFolderPath, UnknownKindsGiveEmpty) {
  for (int kind : {13, -1, 100, INT_MIN, INT_MAX}) EXPECT_EQ(SpecialFolderPath(kind), "") << kind;
}

std::string WithSeparator(const wchar_t* folder) {
  std::wstring text(folder);
  if (!text.empty() && text.back() != L'\\') text += L'\\';
  return Narrow(text);
}

TEST(SpecialFolderPath, KindsNameTheirFolders) {
  wchar_t buffer[MAX_PATH + 1] = {};
  ASSERT_GT(GetWindowsDirectoryW(buffer, MAX_PATH), 0u);
  const std::string windows = WithSeparator(buffer);
  ASSERT_GT(GetSystemDirectoryW(buffer, MAX_PATH), 0u);
  const std::string system = WithSeparator(buffer);
  ASSERT_GT(GetTempPathW(MAX_PATH, buffer), 0u);
  const std::string temp = WithSeparator(buffer);
  // The temporary folder already ends with "\": it must not get a second one.
  const std::pair<int, std::string> direct[] = {
      {kFolderWindows, windows},
      {kFolderSystem, system},
      {kFolderTemp, temp},
  };
  for (const auto& [kind, want] : direct) {
    EXPECT_EQ(SpecialFolderPath(kind), want) << kind;
    EXPECT_TRUE(FolderExists(want)) << kind;
  }

  const std::pair<int, int> shell[] = {
      {kFolderDocuments, CSIDL_PERSONAL},   {kFolderFavourites, CSIDL_FAVORITES},
      {kFolderDesktop, CSIDL_DESKTOPDIRECTORY}, {kFolderFonts, CSIDL_FONTS},
      {kFolderStartMenu, CSIDL_STARTMENU},  {kFolderPrograms, CSIDL_PROGRAMS},
      {kFolderStartup, CSIDL_STARTUP},      {kFolderAppData, CSIDL_APPDATA},
      {kFolderInternetCache, CSIDL_INTERNET_CACHE},
  };
  for (const auto& [kind, csidl] : shell) {
    wchar_t folder[MAX_PATH + 1] = {};
    std::string want = SUCCEEDED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, folder))
                           ? WithSeparator(folder) : std::string();
    EXPECT_EQ(SpecialFolderPath(kind), want) << kind;
    EXPECT_FALSE(want.empty()) << "the prefix lacks folder " << csidl;
  }
}

}  // namespace
}  // namespace tvk
