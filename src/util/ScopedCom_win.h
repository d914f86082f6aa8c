// COM for the length of one operation.
#pragma once

#include <windows.h>

#include <objbase.h>

namespace tvk {

// Enters a single-threaded apartment unless the thread is in one already, and
// undoes exactly what it did. A thread already in the multithreaded apartment
// keeps it (the shell objects the box uses work in either).
class ScopedComApartment {
 public:
  ScopedComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ScopedComApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();  // S_FALSE too: every success counts
  }
  ScopedComApartment(const ScopedComApartment&) = delete;
  ScopedComApartment& operator=(const ScopedComApartment&) = delete;

  bool usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

 private:
  HRESULT result_;
};

}  // namespace tvk
