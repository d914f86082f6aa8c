// The open file that mirrors an IniStore's text: kept open for reading and
// writing, with other processes allowed to read it but not to write it.
#pragma once

#include <cstdint>
#include <string_view>

namespace tvk {

class MirrorFile {
 public:
  MirrorFile() = default;
  ~MirrorFile();
  MirrorFile(const MirrorFile&) = delete;
  MirrorFile& operator=(const MirrorFile&) = delete;

  // Opens (creating when missing) the file. Returns false when it cannot be opened.
  bool Open(std::string_view path);
  bool IsOpen() const;
  // Writes the bytes at the 0-based offset. Returns false on failure.
  bool WriteAt(std::int64_t offset, std::string_view bytes);
  // Cuts or extends the file to `length` bytes.
  bool SetLength(std::int64_t length);
  void Close();

 private:
#ifdef _WIN32
  void* handle_ = reinterpret_cast<void*>(-1);
#else
  int fd_ = -1;
#endif
};

}  // namespace tvk
