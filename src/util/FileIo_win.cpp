#include "util/FileIo.h"

#include <windows.h>

#include "util/ScopedWin_win.h"
#include "util/WideText_win.h"

namespace tvk {

std::string ReadFileBytes(std::string_view path) {
  ScopedHandle file(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return {};
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7FFFFFFF) return {};
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  DWORD done = 0;
  if (!bytes.empty() && !ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr))
    return {};
  bytes.resize(done);
  return bytes;
}

bool WriteFileBytes(std::string_view path, std::string_view bytes) {
  ScopedHandle file(CreateFileW(Widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return false;
  DWORD done = 0;
  return bytes.empty() ||
         (WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) && done == bytes.size());
}

static DWORD AttributesOf(std::string_view path) { return GetFileAttributesW(Widen(path).c_str()); }

bool FileExists(std::string_view path) {
  DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(std::string_view path) {
  DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateFolder(std::string_view path) {
  return CreateDirectoryW(Widen(path).c_str(), nullptr) || FolderExists(path);
}

bool DeleteFileAt(std::string_view path) { return DeleteFileW(Widen(path).c_str()) != 0; }

}  // namespace tvk
