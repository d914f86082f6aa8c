#include "util/Gbk.h"

namespace tvk {

bool IsGbkLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

static bool IsGbkTrailByte(unsigned char byte) { return byte >= 0x40 && byte <= 0xFE && byte != 0x7F; }

size_t GbkCharLength(std::string_view text, size_t at) {
  if (at + 1 < text.size() && IsGbkLeadByte(static_cast<unsigned char>(text[at])) &&
      IsGbkTrailByte(static_cast<unsigned char>(text[at + 1])))
    return 2;
  return 1;
}

std::string_view GbkPrefix(std::string_view text, size_t maxBytes) {
  size_t at = 0;
  while (at < text.size()) {
    size_t next = at + GbkCharLength(text, at);
    if (next > maxBytes) break;
    at = next;
  }
  return text.substr(0, at);
}

bool GbkContainsChar(std::string_view text, char ch) {
  for (size_t at = 0; at < text.size(); at += GbkCharLength(text, at))
    if (text[at] == ch) return true;
  return false;
}

size_t FindLastSeparator(std::string_view path) {
  size_t last = std::string_view::npos;
  for (size_t at = 0; at < path.size(); at += GbkCharLength(path, at))
    if (path[at] == '\\' || path[at] == '/') last = at;
  return last;
}

std::string DirectoryOf(std::string_view path) {
  size_t sep = FindLastSeparator(path);
  return sep == std::string_view::npos ? std::string() : std::string(path.substr(0, sep));
}

std::string FileTitleOf(std::string_view path) {
  size_t sep = FindLastSeparator(path);
  std::string_view name = sep == std::string_view::npos ? path : path.substr(sep + 1);
  size_t dot = name.rfind('.');  // "." is never a trail byte
  return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}

}  // namespace tvk
