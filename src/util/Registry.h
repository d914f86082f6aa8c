// Text values under HKEY_CLASSES_ROOT, where the settings store keeps its
// values in registry mode. Key paths are code page 936 text such as
// "Tavrel软件\settings\基本配置", without a trailing "\"; values are REG_SZ.
// The native build has no registry: both functions there return false.
#pragma once

#include <string>
#include <string_view>

namespace tvk {

// Reads a REG_SZ (or REG_EXPAND_SZ, unexpanded) value into `out`. Returns false,
// leaving `out` alone, when the key or value is missing or holds another type.
bool RegistryReadText(std::string_view keyPath, std::string_view valueName, std::string& out);

// Writes `value` as REG_SZ, creating the key (and its parents) when missing.
// Returns false when the key cannot be created or the value written.
// NB: Windows stores a new key under HKEY_CLASSES_ROOT in
// HKEY_LOCAL_MACHINE\Software\Classes, which needs administrator rights; without
// them (and without registry virtualisation) the write fails.
bool RegistryWriteText(std::string_view keyPath, std::string_view valueName, std::string_view value);

}  // namespace tvk
