// Header and cookie texts of the HTTP client: the caller's extra header lines,
// the request's own header list, and the cookie texts read from a response's
// header text (its lines joined by CR LF, as GetAllResponseHeaders gives it).
// Portable: the Windows client and the native tests share these rules.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tvk {

struct HeaderLine {
  std::string name;
  std::string value;
};

// The headers of an extra-header text: it is split at each CR LF and each line
// at each ": "; a line gives a header when its first two pieces are both
// non-empty (further pieces are dropped), otherwise nothing.
std::vector<HeaderLine> ParseExtraHeaders(std::string_view extraHeaders);

// Sets `name` in a request's header list: the value of the first header of that
// name (ASCII case ignored) is replaced, else the header is added at the end.
void SetHeader(std::vector<HeaderLine>& headers, std::string_view name, std::string_view value);

// The value of the first header of that name (ASCII case ignored) in the list;
// nullptr when there is none.
const std::string* FindHeader(const std::vector<HeaderLine>& headers, std::string_view name);

// The value of the first line "name: value" (name in any ASCII case, blanks
// around the value dropped) of a CR LF separated header text; empty when none.
std::string ResponseHeaderValue(std::string_view allHeaders, std::string_view name);

// The lines of `allHeaders` that begin with "Set-Cookie:" (exact case), in
// order, each followed by CR LF; empty when there is none.
std::string SetCookieLinesOf(std::string_view allHeaders);

// One cookie text from Set-Cookie lines: every "Set-Cookie: " removed, then
// every CR LF replaced by "; ". Attributes stay: "a=1; path=/; b=2; ".
std::string CookieTextOf(std::string_view setCookieLines);

// The value of cookie `name` in a response header text: the text after
// "Set-Cookie: name=" up to the next ";" (wherever it is), else the same after
// "Set-Cookie:name="; empty when neither marker has a ";" after it.
std::string ResponseCookieOf(std::string_view allHeaders, std::string_view name);

// The TextCodec encoding number of the charset that a Content-Type value names
// ("text/html; charset=gb2312"): UTF-8, UTF-16 (LE, BE), Big5, Big5-HKSCS, or
// the box's own text for GBK, GB2312, GB18030 and CP936; 0 (detect) when it
// names none or another one.
int ContentTypeEncoding(std::string_view contentType);

// Optional values of TextBetween. Positions are byte offsets from 0.
struct TextBetweenOptions {
  size_t start = 0;                // where the search for the head begins
  size_t* foundLength = nullptr;   // receives the length of the text found (before any cut)
  size_t maxLength = 0;            // when not 0, the result is cut to this many bytes
  size_t* foundAt = nullptr;       // receives the offset where the text found begins
  bool tooLongIsMissing = false;   // with maxLength: a longer text counts as not found
};

// The text between the first `head` at or after `options.start` and the first
// `tail` after that head (both case-sensitive). Empty when either is missing
// (the out values are then left alone).
std::string TextBetween(std::string_view source, std::string_view head, std::string_view tail,
                        const TextBetweenOptions& options = {});

}  // namespace tvk
