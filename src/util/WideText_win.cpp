#include "util/WideText_win.h"

#include <windows.h>

namespace tvk {

constexpr UINT kBoxCodePage = 936;

std::wstring Widen(std::string_view cp936) {
  if (cp936.empty()) return {};
  int count = MultiByteToWideChar(kBoxCodePage, 0, cp936.data(), static_cast<int>(cp936.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(count), L'\0');
  MultiByteToWideChar(kBoxCodePage, 0, cp936.data(), static_cast<int>(cp936.size()), out.data(), count);
  return out;
}

std::string Narrow(std::wstring_view utf16) {
  if (utf16.empty()) return {};
  int count = WideCharToMultiByte(kBoxCodePage, 0, utf16.data(), static_cast<int>(utf16.size()), nullptr, 0,
                                  nullptr, nullptr);
  std::string out(static_cast<size_t>(count), '\0');
  WideCharToMultiByte(kBoxCodePage, 0, utf16.data(), static_cast<int>(utf16.size()), out.data(), count, nullptr,
                      nullptr);
  return out;
}

}  // namespace tvk
