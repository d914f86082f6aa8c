#include "util/Version.h"

#include <windows.h>

#include <cwchar>
#include <vector>

#include "util/WideText_win.h"

namespace tvk {

namespace {

struct StringField {
  const wchar_t* name;
  std::string FileVersionInfo::*field;
};

// The order in which the strings are read.
constexpr StringField kStringFields[] = {
    {L"Comments", &FileVersionInfo::comments},
    {L"CompanyName", &FileVersionInfo::companyName},
    {L"FileDescription", &FileVersionInfo::fileDescription},
    {L"FileVersion", &FileVersionInfo::fileVersion},
    {L"InternalName", &FileVersionInfo::internalName},
    {L"LegalCopyright", &FileVersionInfo::legalCopyright},
    {L"LegalTrademarks", &FileVersionInfo::legalTrademarks},
    {L"OriginalFilename", &FileVersionInfo::originalFilename},
    {L"PrivateBuild", &FileVersionInfo::privateBuild},
    {L"ProductName", &FileVersionInfo::productName},
    {L"ProductVersion", &FileVersionInfo::productVersion},
    {L"SpecialBuild", &FileVersionInfo::specialBuild},
};

// The string-table key of the resource's first translation, for instance
// "080404B0" (language, then code page), or empty when it lists none.
std::wstring FirstTranslationKey(const void* block) {
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block, L"\\VarFileInfo\\Translation", &value, &length) || !value || length < 4) return {};
  const unsigned char* bytes = static_cast<const unsigned char*>(value);
  unsigned long pair = bytes[0] | bytes[1] << 8 | static_cast<unsigned long>(bytes[2]) << 16 |
                       static_cast<unsigned long>(bytes[3]) << 24;
  // Eight upper-case hex digits of the number (code page, then language),
  // then its two halves swapped: language first.
  std::wstring hex(8, L'0');
  for (int digit = 7; digit >= 0; --digit, pair >>= 4) hex[digit] = L"0123456789ABCDEF"[pair & 0xF];
  return hex.substr(4) + hex.substr(0, 4);
}

// The string value at `subBlock` up to its first NUL; empty when there is none.
std::string QueryString(const void* block, const std::wstring& subBlock) {
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block, subBlock.c_str(), &value, &length) || !value) return {};
  const wchar_t* text = static_cast<const wchar_t*>(value);
  return Narrow(std::wstring_view(text, wcsnlen(text, length)));
}

}  // namespace

void ReadFileVersion(std::string_view path, FileVersionInfo& info) {
  info.fileVersion.clear();
  std::wstring widePath = Widen(path);
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(widePath.c_str(), &ignored);
  if (size == 0) return;
  std::vector<unsigned char> block(size);
  if (!GetFileVersionInfoW(widePath.c_str(), 0, size, block.data())) return;
  std::wstring key = FirstTranslationKey(block.data());
  if (key.empty()) return;

  FileVersionInfo collected;
  bool any = false;
  for (const StringField& field : kStringFields) {
    std::string text = QueryString(block.data(), L"\\StringFileInfo\\" + key + L"\\" + field.name);
    if (text.empty()) continue;
    collected.*field.field = std::move(text);
    any = true;
  }
  if (any) info = std::move(collected);
}

std::string ReadFileVersionString(std::string_view path) {
  FileVersionInfo info;
  ReadFileVersion(path, info);
  return info.fileVersion;
}

}  // namespace tvk
