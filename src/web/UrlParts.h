// URL pieces and marker searches used by the page fetch (web/WebFetch.h) and
// the share-link resolvers, and the request rules of the page fetch: scheme
// completion, the user agent, the header text it sends, the request switches
// and the cookie text read from a response. Portable; every routine is pure.
//
// Text is code page 936. Searches step over whole GBK characters (util/Gbk.h),
// so a trail byte never matches an ASCII character, and "any case" compares
// ASCII letters only. Positions given to routines count bytes from 1.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tvk {

//--- URL pieces ---------------------------------------------------------------

// The host part of `url`, lower-cased: the text between "https://" and the next
// "/" when the lower-cased url begins with "https://", else between the first
// "http://" (put in front when there is none) and the next "/" (a "/" is
// appended to the url first). With `rootDomain` only its last two dot-separated
// labels remain. Without `keepPort` everything from its first ":" on is cut off.
// With `levels`, every "http://" and "https://" is removed instead, the text is
// cut before its first "/" and the text after the (`levels` + 1)-th dot from the
// end (one dot further without `rootDomain`) is kept; the whole text when it
// has fewer dots.
std::string HostOf(std::string_view url, bool rootDomain = false, bool keepPort = false,
                   std::optional<int> levels = std::nullopt);

// The url from the first "/" at or after the start of its host to the end
// (query included); "/" when there is none.
std::string PathOf(std::string_view url);

// The number after the last ":" of HostOf(url, false, true) (0 when no digits
// follow it); without a ":" 443 when the lower-cased url begins with "https",
// else 80.
int PortOf(std::string_view url);

//--- Marker searches ----------------------------------------------------------

// The text after the first `head` found from position `start` up to the next
// `tail` after it. Every "#引号" in head and tail stands for a double quote.
// Positions below 1 mean 1. Empty when either marker is missing (an empty
// marker counts as missing).
std::string TextBetweenMarks(std::string_view source, std::string_view head, std::string_view tail, int start = 1,
                             bool ignoreCase = false);

// The text from the beginning of `source` up to the first `mark` found from
// position `start` (below 1 means 1). Empty when there is none (an empty mark
// counts as missing).
std::string TextBefore(std::string_view source, std::string_view mark, int start = 1, bool ignoreCase = false);

//--- Page-fetch request rules -------------------------------------------------

// Agent used when the caller's header text names none.
inline constexpr std::string_view kDefaultFetchAgent =
    "Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; Trident/5.0)";

// Size of the buffer that receives the raw response headers: a header text of
// this many bytes or more (it needs a terminator) gives no header text at all.
inline constexpr size_t kFetchHeaderBufferBytes = 2048;

// Size of each piece of the body read.
inline constexpr size_t kFetchReadPieceBytes = 2048;

// The URL a fetch of `url` requests: empty when `url` is blank (spaces and
// tabs only), else `url` with "http://" in front unless it begins with
// "http://" or "https://" (exact case).
std::string FetchUrlOf(std::string_view url);

// Where a fetch of the (completed) url goes.
struct FetchTarget {
  bool https = false;  // the lower-cased url contains "https://"
  std::string host;    // HostOf(url)
  std::string path;    // PathOf(url)
  int port = 80;       // 443 for https (whatever port the url names), else PortOf(url)
};
FetchTarget FetchTargetOf(std::string_view url);

// The agent of a fetch. When `headers` contains "User-Agent:" in any case, the
// text after the first "User-Agent:" in exactly that case up to the next CR LF,
// blanks trimmed (empty when the line is written in another case or has no CR
// LF); otherwise kDefaultFetchAgent. The header line itself stays in the text.
std::string FetchUserAgent(std::string_view headers);

// The request switches besides "always reload" (no cache).
struct FetchSwitches {
  bool noCookies = false;       // the cookie text, trimmed, is not empty: the platform's cookie handling is off
  bool noAutoRedirect = false;  // redirects are not followed
  bool secure = false;          // TLS; otherwise a redirect to https is ignored
};
FetchSwitches FetchSwitchesOf(const FetchTarget& target, std::string_view cookies, bool noRedirect);

// The header text a fetch sends. Each test looks for a name in any case
// anywhere in the text; added lines go at the end, each ending in CR LF:
// - no "Accept": an Accept line with the box's list of types;
// - "RefererNo": every "RefererNo" in exactly that case is removed and no
//   Referer is added; otherwise, no "Referer": "Referer: " + url;
// - no "Accept-Language": "Accept-Language: zh-cn";
// - POST with a non-empty body: "Content-Type: application/x-www-form-urlencoded"
//   unless "Content-Type" is present, then "Content-Length: " + body length
//   unless "Content-Length" is present;
// - a non-empty cookie text: "Cookie: " + cookies + CR LF CR LF.
std::string BuildFetchHeaders(std::string_view headers, std::string_view url, bool post, std::string_view body,
                              std::string_view cookies);

// One cookie of a response, for the per-user cookie store.
struct FetchCookie {
  std::string name;  // the text before the first "=" (empty when there is none)
  std::string data;  // the text after it, attributes included (all of it when there is no "=")
};

// The cookie text of a response's raw headers (lines joined by CR LF): for each
// line that contains "Set-Cookie: " in any case, its first 12 bytes are
// dropped and the text before its first ";" (nothing when it has none) and a
// ";" are appended, so "SID=abc;lang=zh;". Each such line's cookie is appended
// to `cookies` when given. Empty when no line contains "Set-Cookie: ".
std::string FetchCookieText(std::string_view rawHeaders, std::vector<FetchCookie>* cookies = nullptr);

}  // namespace tvk
