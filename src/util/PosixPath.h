// Native (non-Windows) builds only: turns a box path into a POSIX path.
#pragma once

#include <string>
#include <string_view>

namespace tvk {

// Every "\" that is a character of its own becomes "/"; trail bytes stay.
std::string PosixPath(std::string_view path);

}  // namespace tvk
