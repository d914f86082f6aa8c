// The console side of tvk-brand-profile, one file per platform: arguments as
// box text and box text written to a standard stream.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace tvk::tool {

// The arguments after the program name as code page 936 text (Windows: from
// the UTF-16 command line; elsewhere: argv taken as UTF-8). Returns false when
// an argument holds a character that code page 936 cannot write; `args` then
// holds the arguments before it.
bool BoxTextArguments(int argc, char** argv, std::vector<std::string>& args);

// Writes box text to `stream` (stdout or stderr) in the console's own terms.
void WriteBoxText(std::FILE* stream, std::string_view text);

}  // namespace tvk::tool
