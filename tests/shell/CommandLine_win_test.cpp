#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/CommandLine.h"

namespace tvk {
namespace {

TEST(SplitCommandLine, DropsTheProgramAndRemovesQuotes) {
  struct Case {
    const wchar_t* commandLine;
    std::vector<std::string> words;
  };
  const Case cases[] = {
      {L"", {}},
      {L"box.exe", {}},
      {L"\"C:\\软件 盒子\\box.exe\"", {}},
      {L"box.exe lxms", {"lxms"}},
      {L"box.exe LXMS lxms", {"LXMS", "lxms"}},
      {L"box.exe \" lxms\" lxms", {" lxms", "lxms"}},
      {L"\"C:\\软件 盒子\\box.exe\"   \"C:\\软件 盒子\\旧版 盒子.exe\"  x", {"C:\\软件 盒子\\旧版 盒子.exe", "x"}},
      {L"box.exe C:\\籠\\淺.exe", {"C:\\籠\\淺.exe"}},
      {L"box.exe \"\" lxms", {"", "lxms"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SplitCommandLine(c.commandLine), c.words) << static_cast<int>(std::wstring(c.commandLine).size());
  }
}

TEST(SplitCommandLine, FeedsTheFirstWordRule) {
  EXPECT_TRUE(ReadCommandLine(SplitCommandLine(L"\"C:\\盒子\\box.exe\" lxms")).offlineMode);
  EXPECT_EQ(ReadCommandLine(SplitCommandLine(L"box.exe \"C:\\旧 盒子.exe\" lxms")).launchArgument, "C:\\旧 盒子.exe");
}

}  // namespace
}  // namespace tvk
