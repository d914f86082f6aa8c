#include "web/UrlParts.h"

#include "util/Gbk.h"
#include "util/Text.h"

namespace tvk {

namespace {

constexpr size_t npos = std::string_view::npos;
constexpr std::string_view kHttp = "http://";
constexpr std::string_view kHttps = "https://";
constexpr std::string_view kLineBreak = "\r\n";

//--- Searching box text -------------------------------------------------------

char LowerAscii(char ch) { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch; }

// ASCII letters lower-cased; the bytes of double-byte characters stay as they are.
std::string LowerText(std::string_view text) {
  std::string out(text);
  for (size_t at = 0; at < out.size();) {
    size_t length = GbkCharLength(out, at);
    if (length == 1) out[at] = LowerAscii(out[at]);
    at += length;
  }
  return out;
}

bool MatchesAt(std::string_view text, size_t at, std::string_view part, bool ignoreCase) {
  if (text.size() - at < part.size()) return false;
  for (size_t i = 0; i < part.size();) {
    size_t length = GbkCharLength(part, i);
    if (GbkCharLength(text, at + i) != length) return false;
    if (length == 1) {
      char a = text[at + i], b = part[i];
      if (ignoreCase ? LowerAscii(a) != LowerAscii(b) : a != b) return false;
    } else if (text.substr(at + i, 2) != part.substr(i, 2)) {
      return false;
    }
    i += length;
  }
  return true;
}

// Byte offset of the first `part` that starts a character at or after offset
// `from`; npos when there is none or `part` is empty.
size_t Find(std::string_view text, std::string_view part, size_t from, bool ignoreCase = false) {
  if (part.empty()) return npos;
  for (size_t at = from; at < text.size(); at += GbkCharLength(text, at))
    if (MatchesAt(text, at, part, ignoreCase)) return at;
  return npos;
}

bool ContainsAnyCase(std::string_view text, std::string_view part) { return Find(text, part, 0, true) != npos; }

// Byte offset of the last `ch` that is a character of its own, or npos.
size_t FindLastChar(std::string_view text, char ch) {
  size_t last = npos;
  for (size_t at = 0; at < text.size(); at += GbkCharLength(text, at))
    if (text[at] == ch) last = at;
  return last;
}

// Every occurrence of `part` (exact case) removed, characters stepped over whole.
std::string RemoveAll(std::string_view text, std::string_view part) {
  std::string out;
  size_t at = 0;
  for (size_t hit; (hit = Find(text, part, at)) != npos; at = hit + part.size()) out.append(text.substr(at, hit - at));
  return out.append(text.substr(at));
}

// Offset where the host starts in the lower-cased url, by HostOf's rule.
size_t HostStart(std::string_view lowered) {
  if (lowered.starts_with(kHttps)) return kHttps.size();
  size_t http = Find(lowered, kHttp, 0);
  return http == npos ? 0 : http + kHttp.size();
}

// `text` without the blanks (spaces and tabs) at either end.
std::string_view WithoutBlanks(std::string_view text) {
  auto blank = [](char ch) { return ch == ' ' || ch == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

size_t StartOffset(int start) { return start < 1 ? 0 : static_cast<size_t>(start) - 1; }

}  // namespace

//--- URL pieces ---------------------------------------------------------------

std::string HostOf(std::string_view url, bool rootDomain, bool keepPort, std::optional<int> levels) {
  std::string text = LowerText(url);
  if (!text.ends_with('/')) text.push_back('/');

  std::string host;
  if (levels) {
    text = RemoveAll(RemoveAll(text, kHttps), kHttp);
    host = text.substr(0, Find(text, "/", 0));
    int dots = *levels + 1 + (rootDomain ? 0 : 1);
    size_t cut = host.size();
    for (int found = 0; found < dots && cut != npos; ++found)
      cut = cut == 0 ? npos : FindLastChar(std::string_view(host).substr(0, cut), '.');
    if (dots > 0 && cut != npos) host.erase(0, cut + 1);
  } else {
    if (!text.starts_with(kHttps) && Find(text, kHttp, 0) == npos) text.insert(0, kHttp);
    size_t start = HostStart(text);
    host = text.substr(start, Find(text, "/", start) - start);
    if (rootDomain) {
      std::vector<std::string> labels = SplitAll(host, ".");
      if (labels.size() >= 2) host = labels[labels.size() - 2] + "." + labels.back();
    }
  }
  if (!keepPort) host = host.substr(0, Find(host, ":", 0));
  return host;
}

std::string PathOf(std::string_view url) {
  size_t slash = Find(url, "/", HostStart(LowerText(url)));
  return slash == npos ? std::string("/") : std::string(url.substr(slash));
}

int PortOf(std::string_view url) {
  std::string host = HostOf(url, false, true);
  size_t colon = FindLastChar(host, ':');
  if (colon != npos) {
    std::string_view digits = std::string_view(host).substr(colon + 1);
    size_t end = 0;
    while (end < digits.size() && digits[end] >= '0' && digits[end] <= '9') ++end;
    return TruncateToInt(ParseNumber(digits.substr(0, end)));
  }
  return LowerText(url).starts_with("https") ? 443 : 80;
}

//--- Marker searches ----------------------------------------------------------

std::string TextBetweenMarks(std::string_view source, std::string_view head, std::string_view tail, int start,
                             bool ignoreCase) {
  std::string headText = ReplaceAll(head, "#引号", "\"");
  std::string tailText = ReplaceAll(tail, "#引号", "\"");
  size_t headAt = Find(source, headText, StartOffset(start), ignoreCase);
  if (headAt == npos) return {};
  size_t from = headAt + headText.size();
  size_t tailAt = Find(source, tailText, from, ignoreCase);
  if (tailAt == npos) return {};
  return std::string(source.substr(from, tailAt - from));
}

std::string TextBefore(std::string_view source, std::string_view mark, int start, bool ignoreCase) {
  size_t at = Find(source, mark, StartOffset(start), ignoreCase);
  return at == npos ? std::string() : std::string(source.substr(0, at));
}

//--- Page-fetch request rules -------------------------------------------------

std::string FetchUrlOf(std::string_view url) {
  if (WithoutBlanks(url).empty()) return {};
  if (url.starts_with(kHttp) || url.starts_with(kHttps)) return std::string(url);
  return std::string(kHttp).append(url);
}

FetchTarget FetchTargetOf(std::string_view url) {
  FetchTarget target;
  target.https = Contains(LowerText(url), kHttps);
  target.host = HostOf(url);
  target.path = PathOf(url);
  target.port = target.https ? 443 : PortOf(url);
  return target;
}

std::string FetchUserAgent(std::string_view headers) {
  if (!ContainsAnyCase(headers, "User-Agent:")) return std::string(kDefaultFetchAgent);
  return std::string(WithoutBlanks(TextBetweenMarks(headers, "User-Agent:", kLineBreak)));
}

FetchSwitches FetchSwitchesOf(const FetchTarget& target, std::string_view cookies, bool noRedirect) {
  FetchSwitches switches;
  switches.noCookies = !WithoutBlanks(cookies).empty();
  switches.noAutoRedirect = noRedirect;
  switches.secure = target.https;
  return switches;
}

std::string BuildFetchHeaders(std::string_view headers, std::string_view url, bool post, std::string_view body,
                              std::string_view cookies) {
  std::string text(headers);
  auto addLine = [&text](std::string_view name, std::string_view value) {
    text.append(name).append(": ").append(value).append(kLineBreak);
  };
  if (!ContainsAnyCase(text, "Accept"))
    addLine("Accept",
            "image/gif, image/bmp, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
            "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*");
  // NB: the marker test ignores case but only the exact "RefererNo" is taken
  // out; a marker written in another case stays in the text that is sent.
  if (ContainsAnyCase(text, "RefererNo"))
    text = RemoveAll(text, "RefererNo");
  else if (!ContainsAnyCase(text, "Referer"))
    addLine("Referer", url);
  if (!ContainsAnyCase(text, "Accept-Language")) addLine("Accept-Language", "zh-cn");
  if (post && !body.empty()) {
    if (!ContainsAnyCase(text, "Content-Type")) addLine("Content-Type", "application/x-www-form-urlencoded");
    if (!ContainsAnyCase(text, "Content-Length")) addLine("Content-Length", std::to_string(body.size()));
  }
  if (!cookies.empty()) text.append("Cookie: ").append(cookies).append(kLineBreak).append(kLineBreak);
  return text;
}

std::string FetchCookieText(std::string_view rawHeaders, std::vector<FetchCookie>* cookies) {
  constexpr std::string_view kSetCookie = "Set-Cookie: ";
  std::string text;
  if (!ContainsAnyCase(rawHeaders, kSetCookie)) return text;
  for (const std::string& line : SplitAll(rawHeaders, kLineBreak)) {
    if (!ContainsAnyCase(line, kSetCookie)) continue;
    std::string_view cookie = std::string_view(line).substr(kSetCookie.size());
    size_t semicolon = Find(cookie, ";", 0);
    if (semicolon != npos) text.append(cookie.substr(0, semicolon));
    text.push_back(';');
    if (cookies) {
      size_t equals = Find(cookie, "=", 0);
      if (equals == npos)
        cookies->push_back({std::string(), std::string(cookie)});
      else
        cookies->push_back({std::string(cookie.substr(0, equals)), std::string(cookie.substr(equals + 1))});
    }
  }
  return text;
}

}  // namespace tvk
