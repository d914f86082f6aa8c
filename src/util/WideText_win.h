// Conversion between the box's code page 936 text and UTF-16 at the Win32
// boundary. The box calls the wide (W) functions so that it behaves the same
// whatever the system's ANSI code page is.
#pragma once

#include <string>
#include <string_view>

namespace tvk {

std::wstring Widen(std::string_view cp936);
std::string Narrow(std::wstring_view utf16);

}  // namespace tvk
