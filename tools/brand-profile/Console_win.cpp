#include "Console.h"

#include <windows.h>
#include <shellapi.h>

#include "util/WideText_win.h"

namespace tvk::tool {

namespace {

constexpr UINT kBoxCodePage = 936;

// Strict: false when a character has no code in code page 936 (no best-fit
// substitute, no default character).
bool ToBoxText(const wchar_t* wide, std::string& out) {
  out.clear();
  int length = lstrlenW(wide);
  if (length == 0) return true;
  BOOL usedDefault = FALSE;
  int count = WideCharToMultiByte(kBoxCodePage, WC_NO_BEST_FIT_CHARS, wide, length, nullptr, 0, nullptr,
                                  &usedDefault);
  if (count <= 0 || usedDefault) return false;
  out.assign(static_cast<size_t>(count), '\0');
  return WideCharToMultiByte(kBoxCodePage, WC_NO_BEST_FIT_CHARS, wide, length, out.data(), count, nullptr,
                             &usedDefault) == count &&
         !usedDefault;
}

}  // namespace

// The run-time's argv holds the ANSI code page's rendering of the command
// line, which loses characters on systems whose code page is not 936: the
// UTF-16 command line is taken instead.
bool BoxTextArguments(int, char**, std::vector<std::string>& args) {
  args.clear();
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide) return false;
  bool ok = true;
  for (int i = 1; i < count && ok; ++i) {
    std::string text;
    ok = ToBoxText(wide[i], text);
    if (ok) args.push_back(std::move(text));
  }
  LocalFree(wide);
  return ok;
}

void WriteBoxText(std::FILE* stream, std::string_view text) {
  if (text.empty()) return;
  std::fflush(stream);
  HANDLE handle = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  if (handle != INVALID_HANDLE_VALUE && handle && GetConsoleMode(handle, &mode)) {
    // A console shows UTF-16 whatever its code page is.
    std::wstring wide = Widen(text);
    DWORD written = 0;
    WriteConsoleW(handle, wide.c_str(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return;
  }
  // Redirected: the box's own bytes, code page 936.
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

}  // namespace tvk::tool
