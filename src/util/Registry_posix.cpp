#include "util/Registry.h"

namespace tvk {

bool RegistryReadText(std::string_view, std::string_view, std::string&) { return false; }

bool RegistryWriteText(std::string_view, std::string_view, std::string_view) { return false; }

}  // namespace tvk
