// Entry point of tvk-brand-profile (both builds).
#include <cstdio>

#include "BrandProfileTool.h"
#include "Console.h"

int main(int argc, char** argv) {
  std::vector<std::string> args;
  if (!tvk::tool::BoxTextArguments(argc, argv, args)) {
    tvk::tool::WriteBoxText(stderr, "tvk-brand-profile: an argument holds a character that code page 936 "
                                    "(the box's text) cannot write\n");
    return 1;
  }
  tvk::tool::ToolResult result = tvk::tool::RunBrandProfileTool(args);
  tvk::tool::WriteBoxText(stdout, result.out);
  tvk::tool::WriteBoxText(stderr, result.err);
  return result.exitCode;
}
