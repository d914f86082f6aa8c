#include "shell/CommandLine.h"

#include <windows.h>

#include <shellapi.h>

#include "util/WideText_win.h"

namespace tvk {

namespace {

// Owns the array CommandLineToArgvW allocates.
class ScopedArgv {
 public:
  explicit ScopedArgv(LPWSTR* argv) : argv_(argv) {}
  ~ScopedArgv() {
    if (argv_) LocalFree(argv_);
  }
  ScopedArgv(const ScopedArgv&) = delete;
  ScopedArgv& operator=(const ScopedArgv&) = delete;
  LPWSTR* get() const { return argv_; }

 private:
  LPWSTR* argv_;
};

}  // namespace

std::vector<std::string> SplitCommandLine(std::wstring_view commandLine) {
  // CommandLineToArgvW needs a terminated string; an empty one names the program only.
  const std::wstring terminated(commandLine);
  int count = 0;
  ScopedArgv argv(CommandLineToArgvW(terminated.c_str(), &count));
  std::vector<std::string> words;
  if (!argv.get()) return words;
  for (int i = 1; i < count; ++i) words.push_back(Narrow(argv.get()[i]));
  return words;
}

std::vector<std::string> CommandLineWords() { return SplitCommandLine(GetCommandLineW()); }

}  // namespace tvk
