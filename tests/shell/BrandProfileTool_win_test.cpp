// The built tvk-brand-profile.exe, run as resellers run it: its arguments
// arrive as the UTF-16 command line, whatever the ANSI code page is.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "shell/BrandProfile.h"
#include "support/TempDir.h"
#include "util/FileIo.h"
#include "util/ScopedWin_win.h"
#include "util/WideText_win.h"

namespace tvk {
namespace {

std::wstring ToolPath() {
  std::wstring path = Widen(TVK_BRAND_PROFILE_TOOL);
  for (wchar_t& ch : path)
    if (ch == L'/') ch = L'\\';
  return path;
}

// Exit code of the tool run with `arguments` (its output discarded), or -1
// when it could not be started.
long RunTool(const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + ToolPath() + L"\" " + arguments;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  ScopedHandle nul(CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING,
                               0, nullptr));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nul.get();
  startup.hStdOutput = nul.get();
  startup.hStdError = nul.get();
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                      &startup, &process))
    return -1;
  ScopedHandle processHandle(process.hProcess), threadHandle(process.hThread);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  if (!GetExitCodeProcess(process.hProcess, &code)) return -1;
  return static_cast<long>(code);
}

std::wstring Quoted(const std::string& boxText) { return L"\"" + Widen(boxText) + L"\""; }

TEST(BrandProfileToolProgram, UnicodeCommandLineBecomesTheBoxsText) {
  test::TempDir dir;
  ASSERT_TRUE(WriteFileBytes(dir.File("图片.png"), "png"));
  const std::wstring out = Quoted(dir.File("tavrel.rc"));
  ASSERT_EQ(RunTool(L"--out " + out + L" --brand \u54C1\u724C --contact 123 --domain \u4F8B\u5B50.cn --picture " +
                    Quoted(dir.File("图片.png"))),
            0);
  BrandProfile profile = ReadBrandProfile(dir.path());
  EXPECT_EQ(profile.brandWord, "品牌");
  EXPECT_EQ(profile.contactNumber, "123");
  EXPECT_EQ(profile.homePageLink, "http://例子.cn");
  EXPECT_EQ(profile.normalPicture, "png");
  EXPECT_EQ(RunTool(L"--decode " + out), 0);
}

TEST(BrandProfileToolProgram, RefusalsExitWithOne) {
  test::TempDir dir;
  const std::wstring out = Quoted(dir.File("tavrel.rc"));
  const std::wstring refused[] = {
      L"--brand A --contact 1 --domain a.cn",  // no --out
      L"--out " + out + L" --brand A --contact 1 --domain a.cn --picture " + Quoted(dir.File("none.png")),
      // A character that code page 936 cannot write (Thai).
      L"--out " + out + L" --brand \u0E01 --contact 1 --domain a.cn",
  };
  for (const std::wstring& arguments : refused) {
    EXPECT_EQ(RunTool(arguments), 1);
    EXPECT_FALSE(FileExists(dir.File("tavrel.rc")));
  }
}

}  // namespace
}  // namespace tvk
