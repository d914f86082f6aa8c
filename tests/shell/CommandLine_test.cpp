#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/CommandLine.h"

namespace tvk {
namespace {

TEST(ReadCommandLine, OnlyTheExactFirstWordMeansOffline) {
  struct Case {
    std::vector<std::string> words;
    bool offline;
    const char* launchArgument;
  };
  const Case cases[] = {
      {{}, false, ""},
      {{"lxms"}, true, ""},
      {{"lxms", "C:\\old.exe"}, true, ""},
      {{"LXMS"}, false, "LXMS"},
      {{"Lxms"}, false, "Lxms"},
      {{" lxms"}, false, " lxms"},
      {{"lxms "}, false, "lxms "},
      {{"lxm"}, false, "lxm"},
      {{"lxmsx"}, false, "lxmsx"},
      {{"C:\\盒子\\旧版.exe", "lxms"}, false, "C:\\盒子\\旧版.exe"},
      {{"a", "b", "c"}, false, "a"},
      {{""}, false, ""},
      {{"", "lxms"}, false, ""},
  };
  for (const Case& c : cases) {
    const std::string shown = c.words.empty() ? "(none)" : "[" + c.words.front() + "]";
    const CommandLineSettings settings = ReadCommandLine(c.words);
    EXPECT_EQ(settings.offlineMode, c.offline) << shown;
    EXPECT_EQ(settings.launchArgument, c.launchArgument) << shown;
  }
}

}  // namespace
}  // namespace tvk
