#include "config/MirrorFile.h"

#include <windows.h>

#include "util/WideText_win.h"

namespace tvk {

MirrorFile::~MirrorFile() { Close(); }

bool MirrorFile::Open(std::string_view path) {
  Close();
  // Others may read the file while the store holds it, but not change it.
  handle_ = CreateFileW(Widen(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
  return IsOpen();
}

bool MirrorFile::IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

bool MirrorFile::WriteAt(std::int64_t offset, std::string_view bytes) {
  if (!IsOpen()) return false;
  LARGE_INTEGER at;
  at.QuadPart = offset;
  if (!SetFilePointerEx(handle_, at, nullptr, FILE_BEGIN)) return false;
  while (!bytes.empty()) {
    DWORD done = 0;
    DWORD chunk = bytes.size() > 0x40000000u ? 0x40000000u : static_cast<DWORD>(bytes.size());
    if (!WriteFile(handle_, bytes.data(), chunk, &done, nullptr) || done == 0) return false;
    bytes.remove_prefix(done);
  }
  return true;
}

bool MirrorFile::SetLength(std::int64_t length) {
  if (!IsOpen()) return false;
  LARGE_INTEGER at;
  at.QuadPart = length;
  return SetFilePointerEx(handle_, at, nullptr, FILE_BEGIN) && SetEndOfFile(handle_);
}

void MirrorFile::Close() {
  if (IsOpen()) CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
}

}  // namespace tvk
