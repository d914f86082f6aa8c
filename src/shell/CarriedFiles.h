// Files the box carries inside its executable and writes out next to itself.
#pragma once

#include <string_view>

namespace tvk {

// Resource names of the carried files.
inline constexpr const wchar_t* kCarriedUnrarLibrary = L"UNRAR_DLL";

// Writes the carried file to `path`, replacing any file there. Returns false
// when the box does not carry it or the file cannot be written.
bool WriteCarriedFile(const wchar_t* resourceName, std::string_view path);

}  // namespace tvk
