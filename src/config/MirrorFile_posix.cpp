#include "config/MirrorFile.h"

#include <fcntl.h>
#include <unistd.h>

#include "util/PosixPath.h"

namespace tvk {

MirrorFile::~MirrorFile() { Close(); }

// POSIX has no share modes: other processes can still open the file for writing.
bool MirrorFile::Open(std::string_view path) {
  Close();
  fd_ = open(PosixPath(path).c_str(), O_RDWR | O_CREAT, 0644);
  return IsOpen();
}

bool MirrorFile::IsOpen() const { return fd_ >= 0; }

bool MirrorFile::WriteAt(std::int64_t offset, std::string_view bytes) {
  if (!IsOpen()) return false;
  while (!bytes.empty()) {
    ssize_t done = pwrite(fd_, bytes.data(), bytes.size(), static_cast<off_t>(offset));
    if (done <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(done));
    offset += done;
  }
  return true;
}

bool MirrorFile::SetLength(std::int64_t length) { return IsOpen() && ftruncate(fd_, static_cast<off_t>(length)) == 0; }

void MirrorFile::Close() {
  if (IsOpen()) close(fd_);
  fd_ = -1;
}

}  // namespace tvk
