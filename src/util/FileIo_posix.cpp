#include "util/FileIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "util/PosixPath.h"

namespace tvk {

std::string ReadFileBytes(std::string_view path) {
  int fd = open(PosixPath(path).c_str(), O_RDONLY);
  if (fd < 0) return {};
  std::string bytes;
  char buf[65536];
  for (ssize_t got; (got = read(fd, buf, sizeof buf)) > 0;) bytes.append(buf, static_cast<size_t>(got));
  close(fd);
  return bytes;
}

bool WriteFileBytes(std::string_view path, std::string_view bytes) {
  int fd = open(PosixPath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return false;
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t put = write(fd, bytes.data() + done, bytes.size() - done);
    if (put <= 0) break;
    done += static_cast<size_t>(put);
  }
  close(fd);
  return done == bytes.size();
}

bool FileExists(std::string_view path) {
  struct stat st {};
  return stat(PosixPath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool FolderExists(std::string_view path) {
  struct stat st {};
  return stat(PosixPath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CreateFolder(std::string_view path) { return mkdir(PosixPath(path).c_str(), 0755) == 0 || FolderExists(path); }

bool DeleteFileAt(std::string_view path) { return unlink(PosixPath(path).c_str()) == 0; }

}  // namespace tvk
