// The built tvk-brand-profile program, run as resellers run it: UTF-8
// arguments on a POSIX command line.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/BrandProfile.h"
#include "support/TempDir.h"
#include "util/FileIo.h"

extern char** environ;

namespace tvk {
namespace {

// Exit code of the tool run with `args` (its output discarded), or -1 when it
// could not be run or did not exit normally.
int RunTool(std::vector<std::string> args) {
  args.insert(args.begin(), TVK_BRAND_PROFILE_TOOL);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t child = 0;
  int failed = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed) return -1;
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

TEST(BrandProfileToolProgram, UnicodeArgumentsBecomeTheBoxsText) {
  test::TempDir dir;
  ASSERT_TRUE(WriteFileBytes(dir.File("normal.png"), "png"));
  // The program's own argument is UTF-8; the box reads code page 936.
  ASSERT_EQ(RunTool({"--out", dir.File("tavrel.rc"), "--brand", Utf8(u8"品牌"), "--contact", "123", "--domain",
                     Utf8(u8"例子.cn"), "--picture", dir.File("normal.png")}),
            0);
  BrandProfile profile = ReadBrandProfile(dir.path());
  EXPECT_EQ(profile.brandWord, "品牌");
  EXPECT_EQ(profile.contactNumber, "123");
  EXPECT_EQ(profile.homePageLink, "http://例子.cn");
  EXPECT_EQ(profile.normalPicture, "png");
  EXPECT_EQ(RunTool({"--decode", dir.File("tavrel.rc")}), 0);
}

TEST(BrandProfileToolProgram, RefusalsExitWithOne) {
  test::TempDir dir;
  const std::vector<std::vector<std::string>> refused = {
      {"--brand", "A", "--contact", "1", "--domain", "a.cn"},  // no --out
      {"--out", dir.File("tavrel.rc"), "--brand", "A", "--contact", "1", "--domain", "a.cn", "--picture",
       dir.File("none.png")},
      // A character that code page 936 cannot write (Thai).
      {"--out", dir.File("tavrel.rc"), "--brand", Utf8(u8"\u0E01"), "--contact", "1", "--domain", "a.cn"},
      // Not UTF-8 at all.
      {"--out", dir.File("tavrel.rc"), "--brand", "\xFF", "--contact", "1", "--domain", "a.cn"},
  };
  for (const auto& args : refused) {
    EXPECT_EQ(RunTool(args), 1) << args[1];
    EXPECT_FALSE(FileExists(dir.File("tavrel.rc")));
  }
}

}  // namespace
}  // namespace tvk
