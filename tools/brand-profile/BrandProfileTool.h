// tvk-brand-profile: writes and reads the branding profile ("tavrel.rc") that
// a reseller puts next to the box. This is the tool without its console:
// arguments come in as box text (code page 936) and the messages go out as
// box text, so the same code runs in both builds and in the tests.
#pragma once

#include <string>
#include <vector>

namespace tvk::tool {

struct ToolResult {
  int exitCode = 0;  // 0 done, 1 refused or failed (the reason is in err)
  std::string out;   // for standard output
  std::string err;   // for standard error
};

// Runs the tool on the arguments after the program name.
ToolResult RunBrandProfileTool(const std::vector<std::string>& args);

std::string BrandProfileToolUsage();

}  // namespace tvk::tool
