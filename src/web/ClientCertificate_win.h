// The client certificate that a request offers to an https server, chosen by a
// selector text "[CURRENT_USER|LOCAL_MACHINE\store\]subject": the location
// (CURRENT_USER when left out), the system store ("Personal" is "MY", the
// store used when left out) and a text that the subject contains (empty: the
// store's first certificate).
#pragma once

#include <windows.h>
#include <wincrypt.h>

#include <string_view>

namespace tvk {

class ScopedCertificate {
 public:
  explicit ScopedCertificate(PCCERT_CONTEXT context = nullptr) : context_(context) {}
  ~ScopedCertificate() {
    if (context_) CertFreeCertificateContext(context_);
  }
  ScopedCertificate(ScopedCertificate&& other) noexcept : context_(other.context_) { other.context_ = nullptr; }
  ScopedCertificate(const ScopedCertificate&) = delete;
  ScopedCertificate& operator=(const ScopedCertificate&) = delete;
  ScopedCertificate& operator=(ScopedCertificate&&) = delete;

  bool valid() const { return context_ != nullptr; }
  PCCERT_CONTEXT get() const { return context_; }

 private:
  PCCERT_CONTEXT context_;
};

// The certificate the selector names; not valid when there is none.
ScopedCertificate FindClientCertificate(std::string_view selector);

}  // namespace tvk
