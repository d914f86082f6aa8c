#include "util/Registry.h"

#include <windows.h>

#include <vector>

#include "util/ScopedWin_win.h"
#include "util/WideText_win.h"

namespace tvk {

bool RegistryReadText(std::string_view keyPath, std::string_view valueName, std::string& out) {
  ScopedRegKey key;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, Widen(keyPath).c_str(), 0, KEY_QUERY_VALUE, key.out()) != ERROR_SUCCESS)
    return false;
  const std::wstring name = Widen(valueName);
  // The value may grow between asking its size and reading it: ask again then.
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
    // One spare character: the stored text need not end with a NUL.
    std::vector<wchar_t> text(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD room = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    LONG status = RegQueryValueExW(key.get(), name.c_str(), nullptr, &type,
                                   reinterpret_cast<BYTE*>(text.data()), &room);
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
    size_t length = room / sizeof(wchar_t);
    // The text ends at its first NUL (the stored terminator, if any).
    size_t end = 0;
    while (end < length && text[end] != L'\0') ++end;
    out = Narrow(std::wstring_view(text.data(), end));
    return true;
  }
  return false;
}

bool RegistryWriteText(std::string_view keyPath, std::string_view valueName, std::string_view value) {
  ScopedRegKey key;
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, Widen(keyPath).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                      nullptr, key.out(), nullptr) != ERROR_SUCCESS)
    return false;
  const std::wstring text = Widen(value);
  const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(key.get(), Widen(valueName).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                        bytes) == ERROR_SUCCESS;
}

}  // namespace tvk
