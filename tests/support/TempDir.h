// A fresh folder for one test, removed with everything in it afterwards.
#pragma once

#include <string>

namespace tvk::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder's path as box text (code page 936), without a trailing separator.
  const std::string& path() const { return path_; }
  // path() + separator + name.
  std::string File(const std::string& name) const;

 private:
  std::string path_;
};

}  // namespace tvk::test
