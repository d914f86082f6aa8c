// Owner of a WinHTTP handle (session, connection or request): closes it
// exactly once. WinHTTP translation units only (MinGW's winhttp.h and
// wininet.h cannot meet in one file).
#pragma once

#include <windows.h>
#include <winhttp.h>

namespace tvk {

class ScopedInternet {
 public:
  explicit ScopedInternet(HINTERNET handle = nullptr) : handle_(handle) {}
  ~ScopedInternet() {
    if (handle_) WinHttpCloseHandle(handle_);
  }
  ScopedInternet(const ScopedInternet&) = delete;
  ScopedInternet& operator=(const ScopedInternet&) = delete;

  bool valid() const { return handle_ != nullptr; }
  HINTERNET get() const { return handle_; }

 private:
  HINTERNET handle_;
};

}  // namespace tvk
