#include "web/ClientCertificate_win.h"

#include <string>

#include "util/WideText_win.h"

namespace tvk {

namespace {

bool EqualsIgnoringCase(const std::wstring& a, const wchar_t* b) { return _wcsicmp(a.c_str(), b) == 0; }

class ScopedStore {
 public:
  explicit ScopedStore(HCERTSTORE store) : store_(store) {}
  ~ScopedStore() {
    if (store_) CertCloseStore(store_, 0);
  }
  ScopedStore(const ScopedStore&) = delete;
  ScopedStore& operator=(const ScopedStore&) = delete;
  HCERTSTORE get() const { return store_; }

 private:
  HCERTSTORE store_;
};

}  // namespace

ScopedCertificate FindClientCertificate(std::string_view selector) {
  // Split in UTF-16: a GBK trail byte can look like "\".
  const std::wstring text = Widen(selector);
  DWORD location = CERT_SYSTEM_STORE_CURRENT_USER;
  std::wstring storeName = L"MY";
  std::wstring subject = text;
  const size_t first = text.find(L'\\');
  if (first != std::wstring::npos) {
    const std::wstring where = text.substr(0, first);
    if (EqualsIgnoringCase(where, L"LOCAL_MACHINE")) {
      location = CERT_SYSTEM_STORE_LOCAL_MACHINE;
    } else if (!EqualsIgnoringCase(where, L"CURRENT_USER")) {
      return ScopedCertificate();
    }
    const size_t second = text.find(L'\\', first + 1);
    if (second == std::wstring::npos) {
      subject = text.substr(first + 1);
    } else {
      storeName = text.substr(first + 1, second - first - 1);
      subject = text.substr(second + 1);
    }
    if (EqualsIgnoringCase(storeName, L"Personal")) storeName = L"MY";
  }
  ScopedStore store(CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, location | CERT_STORE_READONLY_FLAG,
                                  storeName.c_str()));
  if (!store.get()) return ScopedCertificate();
  if (subject.empty()) return ScopedCertificate(CertEnumCertificatesInStore(store.get(), nullptr));
  return ScopedCertificate(CertFindCertificateInStore(store.get(), X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, 0,
                                                      CERT_FIND_SUBJECT_STR_W, subject.c_str(), nullptr));
}

}  // namespace tvk
