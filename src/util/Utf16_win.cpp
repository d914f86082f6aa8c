#include "util/Utf16.h"

#include <windows.h>

#include <climits>

namespace tvk {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide text is UTF-16");

namespace {

constexpr UINT kBoxCodePage = 936;

}  // namespace

std::u16string GbkToUtf16(std::string_view gbk) {
  if (gbk.empty() || gbk.size() > INT_MAX) return {};
  const int size = static_cast<int>(gbk.size());
  const int count = MultiByteToWideChar(kBoxCodePage, 0, gbk.data(), size, nullptr, 0);
  if (count <= 0) return {};
  std::u16string out(static_cast<size_t>(count), u'\0');
  const int written =
      MultiByteToWideChar(kBoxCodePage, 0, gbk.data(), size, reinterpret_cast<wchar_t*>(out.data()), count);
  out.resize(written > 0 ? static_cast<size_t>(written) : 0);
  return out;
}

std::string Utf16ToGbk(std::u16string_view utf16) {
  if (utf16.empty() || utf16.size() > INT_MAX / 2) return {};
  const int size = static_cast<int>(utf16.size());
  const wchar_t* text = reinterpret_cast<const wchar_t*>(utf16.data());
  const int count = WideCharToMultiByte(kBoxCodePage, 0, text, size, nullptr, 0, nullptr, nullptr);
  if (count <= 0) return {};
  std::string out(static_cast<size_t>(count), '\0');
  const int written = WideCharToMultiByte(kBoxCodePage, 0, text, size, out.data(), count, nullptr, nullptr);
  out.resize(written > 0 ? static_cast<size_t>(written) : 0);
  return out;
}

}  // namespace tvk
