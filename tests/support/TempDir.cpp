#include "support/TempDir.h"

#include <atomic>
#include <filesystem>
#include <string>

#ifdef _WIN32
#include <windows.h>

#include "util/WideText_win.h"
#else
#include <unistd.h>
#endif

namespace tvk::test {

namespace {
std::atomic<int> gCounter{0};

#ifdef _WIN32
constexpr char kSeparator = '\\';
std::filesystem::path FsPath(const std::string& path) { return std::filesystem::path(Widen(path)); }
#else
constexpr char kSeparator = '/';
std::filesystem::path FsPath(const std::string& path) { return std::filesystem::path(path); }
#endif
}  // namespace

TempDir::TempDir() {
#ifdef _WIN32
  wchar_t base[MAX_PATH + 1];
  DWORD length = GetTempPathW(MAX_PATH, base);
  std::string root = Narrow(std::wstring_view(base, length));
  std::string pid = std::to_string(GetCurrentProcessId());
#else
  std::string root = std::filesystem::temp_directory_path().string() + "/";
  std::string pid = std::to_string(getpid());
#endif
  for (;;) {
    path_ = root + "tvk-test-" + pid + "-" + std::to_string(gCounter++);
    std::error_code error;
    if (std::filesystem::create_directory(FsPath(path_), error)) break;
  }
}

TempDir::~TempDir() {
  std::error_code error;
  std::filesystem::remove_all(FsPath(path_), error);
}

std::string TempDir::File(const std::string& name) const { return path_ + kSeparator + name; }

}  // namespace tvk::test
