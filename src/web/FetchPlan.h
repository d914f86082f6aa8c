// What a WinHttpClient fetch or probe asks of its request object, decided
// before anything is sent: the method, the URL, the headers in the order they
// are set, the time-outs and the wait, the proxy step and the body. Portable,
// so that every rule is tested natively; WinHttpClient_win.cpp carries a plan
// out on the request object.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "web/HttpHeaders.h"

namespace tvk {

inline constexpr std::string_view kBrowserUserAgent = "Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; Trident/5.0)";
inline constexpr std::string_view kOldBrowserUserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1)";
inline constexpr std::string_view kFormContentType = "application/x-www-form-urlencoded";
inline constexpr std::string_view kProbeAccept =
    "image/gif, image/x-xbitmap, image/jpeg, imagepeg, application/x-shockwave-flash, application/x-silverlight, */*";

// The optional parameters of FetchText and FetchBytes. Each left out behaves as
// its zero value, except `proxy`: left out (nullopt), the proxy setting of the
// request object is not touched.
struct FetchOptions {
  std::string postText;       // a non-empty body makes the request a POST
  int encoding = 0;           // FetchText only: how the body becomes text (TextCodec numbers, -1 raw, -2 ResponseText)
  float timeoutSeconds = 0;   // -1: no time-outs; below 1: the defaults; else all four are this many seconds
                              // (FetchBytes first truncates it to whole seconds)
  std::optional<std::string> proxy;  // "-1": no proxy step; "IE": the browser's ProxyServer; "": the default setting
  bool synchronous = false;   // false: the request is asynchronous and the fetch waits for it
  std::string postBytes;      // sent instead of postText when non-empty
  std::string referer;        // empty: the trimmed URL
  std::string* cookies = nullptr;  // in/out; an empty variable receives the client's stored cookies
  bool keepCookies = false;   // store the response's cookies in the client
  std::string contentType;    // empty: the form content type
  std::string userAgent;      // empty: the MSIE 9.0 user agent
  std::string extraHeaders;   // "Name: value" lines joined by CR LF
};

struct Timeouts {
  int resolve = 0;
  int connect = 0;
  int send = 0;
  int receive = 0;
};

// Time-outs of a fetch and its wait for an asynchronous answer.
struct TimeoutPlan {
  std::optional<Timeouts> timeouts;  // nullopt: none are set
  int waitSeconds = 120;
};

// t within 1e-7 of -1: no time-outs and a 120 s wait; t below 1 (by more than
// 1e-7): 10000, 10000, 60000, 120000 ms and a 120 s wait; otherwise all four
// are t x 1000 ms and the wait is t seconds, both truncated toward zero.
TimeoutPlan PlanTimeouts(double seconds);

// SetTimeouts' rule: connect, send and receive values of 0 or below take the
// resolve value.
Timeouts FillTimeouts(int resolve, int connect, int send, int receive);

// Puts "http://" in front of a URL whose lower-cased text starts with neither
// "http://" nor "https://". Returns true when it did.
bool CompleteScheme(std::string& url);

// The text without blanks (" ") at either end.
std::string_view TrimBlanks(std::string_view text);

// One fetch, step by step.
struct FetchPlan {
  std::string method;                // "POST" with a body, else "GET"
  std::string url;                   // trimmed; Open completes its scheme
  bool asynchronous = true;
  std::vector<HeaderLine> headers;   // Referer, Content-Type, User-Agent, extra headers, Cookie
  TimeoutPlan timing;
  std::optional<std::string> proxy;  // the proxy text to resolve; nullopt: no proxy step
  std::string body;                  // postBytes, else postText
};

// Plans a FetchText (integerTimeout false) or FetchBytes (true) of `url`.
// NB: this is where the caller's cookie variable receives a copy of
// `storedCookies` when it is empty (and `storedCookies` is not).
FetchPlan PlanFetch(std::string_view url, const FetchOptions& options, std::string_view storedCookies,
                    bool integerTimeout);

// Headers of ProbeRedirect (userAgent kBrowserUserAgent, referer set) and of
// LocationOf (kOldBrowserUserAgent, no referer): User-Agent, Accept-Language,
// Connection, Accept, then Referer when `referer` is not empty.
std::vector<HeaderLine> ProbeHeaders(std::string_view userAgent, std::string_view referer);

// The proxy text of a fetch: "IE" (the whole text) stands for the browser's
// ProxyServer value, which `ieProxyServer` reads; any other text is itself.
template <typename ReadIeProxy>
std::string ResolveProxyText(std::string_view proxy, ReadIeProxy ieProxyServer) {
  if (proxy == "IE") return ieProxyServer();
  return std::string(proxy);
}

// FetchText with encoding -1: the body bytes up to the first zero byte.
std::string TextUpToZero(std::string_view bytes);

}  // namespace tvk
