#include "shell/CarriedFiles.h"

#include <windows.h>

#include "util/FileIo.h"

namespace tvk {

bool WriteCarriedFile(const wchar_t* resourceName, std::string_view path) {
  HRSRC resource = FindResourceW(nullptr, resourceName, MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (!resource) return false;
  HGLOBAL loaded = LoadResource(nullptr, resource);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return false;
  return WriteFileBytes(path, std::string_view(static_cast<const char*>(bytes), SizeofResource(nullptr, resource)));
}

}  // namespace tvk
