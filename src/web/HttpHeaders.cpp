#include "web/HttpHeaders.h"

#include "util/Text.h"
#include "web/TextCodec.h"

namespace tvk {

namespace {

constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kSetCookie = "Set-Cookie:";

char LowerAscii(char ch) { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch; }

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

std::string_view TrimHeaderBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

std::vector<HeaderLine> ParseExtraHeaders(std::string_view extraHeaders) {
  std::vector<HeaderLine> headers;
  if (extraHeaders.empty()) return headers;
  for (const std::string& line : SplitAll(extraHeaders, kLineBreak)) {
    std::vector<std::string> pieces = SplitAll(line, ": ");
    if (pieces.size() < 2 || pieces[0].empty() || pieces[1].empty()) continue;
    headers.push_back({std::move(pieces[0]), std::move(pieces[1])});
  }
  return headers;
}

void SetHeader(std::vector<HeaderLine>& headers, std::string_view name, std::string_view value) {
  for (HeaderLine& header : headers) {
    if (EqualsIgnoringAsciiCase(header.name, name)) {
      header.value.assign(value);
      return;
    }
  }
  headers.push_back({std::string(name), std::string(value)});
}

const std::string* FindHeader(const std::vector<HeaderLine>& headers, std::string_view name) {
  for (const HeaderLine& header : headers) {
    if (EqualsIgnoringAsciiCase(header.name, name)) return &header.value;
  }
  return nullptr;
}

std::string ResponseHeaderValue(std::string_view allHeaders, std::string_view name) {
  for (const std::string& line : SplitAll(allHeaders, kLineBreak)) {
    size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    if (EqualsIgnoringAsciiCase(TrimHeaderBlanks(std::string_view(line).substr(0, colon)), name))
      return std::string(TrimHeaderBlanks(std::string_view(line).substr(colon + 1)));
  }
  return {};
}

std::string SetCookieLinesOf(std::string_view allHeaders) {
  std::string lines;
  for (const std::string& line : SplitAll(allHeaders, kLineBreak)) {
    if (line.compare(0, kSetCookie.size(), kSetCookie) == 0) {
      lines += line;
      lines += kLineBreak;
    }
  }
  return lines;
}

std::string CookieTextOf(std::string_view setCookieLines) {
  return ReplaceAll(ReplaceAll(setCookieLines, "Set-Cookie: ", ""), kLineBreak, "; ");
}

std::string ResponseCookieOf(std::string_view allHeaders, std::string_view name) {
  std::string value = TextBetween(allHeaders, "Set-Cookie: " + std::string(name) + "=", ";");
  if (value.empty()) value = TextBetween(allHeaders, "Set-Cookie:" + std::string(name) + "=", ";");
  return value;
}

int ContentTypeEncoding(std::string_view contentType) {
  std::string lower(contentType);
  for (char& ch : lower) ch = LowerAscii(ch);
  size_t at = lower.find("charset=");
  if (at == std::string::npos) return kEncodingDetect;
  std::string_view name = std::string_view(lower).substr(at + 8);
  name = name.substr(0, name.find(';'));
  name = TrimHeaderBlanks(name);
  if (name.size() >= 2 && (name.front() == '"' || name.front() == '\'') && name.back() == name.front())
    name = name.substr(1, name.size() - 2);
  struct Known {
    std::string_view name;
    int encoding;
  };
  static constexpr Known kKnown[] = {
      {"utf-8", kEncodingUtf8},         {"utf8", kEncodingUtf8},          {"utf-16", kEncodingUtf16Le},
      {"utf-16le", kEncodingUtf16Le},   {"utf-16be", kEncodingUtf16Be},   {"big5", kEncodingBig5},
      {"big5-hkscs", kEncodingBig5Hkscs}, {"gbk", kEncodingBoxText},      {"gb2312", kEncodingBoxText},
      {"gb18030", kEncodingBoxText},    {"cp936", kEncodingBoxText},
  };
  for (const Known& known : kKnown) {
    if (name == known.name) return known.encoding;
  }
  return kEncodingDetect;
}

std::string TextBetween(std::string_view source, std::string_view head, std::string_view tail,
                        const TextBetweenOptions& options) {
  if (options.start > source.size()) return {};
  size_t headAt = source.find(head, options.start);
  if (headAt == std::string_view::npos) return {};
  size_t from = headAt + head.size();
  size_t tailAt = source.find(tail, from);
  if (tailAt == std::string_view::npos) return {};
  size_t length = tailAt - from;
  if (options.maxLength != 0 && length > options.maxLength && options.tooLongIsMissing) return {};
  if (options.foundLength) *options.foundLength = length;
  if (options.foundAt) *options.foundAt = from;
  if (options.maxLength != 0 && length > options.maxLength) length = options.maxLength;
  return std::string(source.substr(from, length));
}

}  // namespace tvk
