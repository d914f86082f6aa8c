// The box's command line. Only the first word counts: the offline word starts
// the box from its kept catalogue copy, any other word names a file that the
// box deletes once it can (HeaderTimers.h, DeleteLaunchArgumentTick). Later
// words are ignored. Words are code page 936 text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tvk {

// The first word that starts the box in offline mode (exact, case-sensitive).
inline constexpr std::string_view kOfflineWord = "lxms";

struct CommandLineSettings {
  bool offlineMode = false;
  std::string launchArgument;  // the first word when it is not the offline word

  bool operator==(const CommandLineSettings&) const = default;
};

// What the words after the program name ask for. No word: neither.
CommandLineSettings ReadCommandLine(const std::vector<std::string>& words);

// Windows build only. The words of `commandLine` as the shell splits them
// (CommandLineToArgvW: quotes removed), without the program name, in code
// page 936. Empty when there is nothing after the program name or the split
// fails.
std::vector<std::string> SplitCommandLine(std::wstring_view commandLine);

// Windows build only. SplitCommandLine of the running process's command line.
std::vector<std::string> CommandLineWords();

}  // namespace tvk
