// Page fetch over WinINet: one URL in, the response body out. Windows build
// only (the request rules it follows are portable, in web/UrlParts.h).
//
// Each call runs its request on a worker thread of its own while the calling
// (window) thread waits and keeps dispatching window messages, so handlers may
// run inside the call, WebFetch included: the wait calls ProcessPendingMessages
// (the window layer's pump, when installed) and then dispatches whatever is
// still queued itself. A WM_QUIT met there ends the wait as a time-out would
// and is posted again for the message loop. After the time-out the caller
// stops waiting at once; the worker is abandoned, owns what it was given, ends
// soon after on its own and drops its late results (it stores no cookies).
#pragma once

#include <string>
#include <string_view>

namespace tvk {

// Methods of WebFetchOptions::method; any other value also means GET.
inline constexpr int kFetchGet = 0;
inline constexpr int kFetchPost = 1;

struct WebFetchOptions {
  int method = kFetchGet;
  std::string proxy;          // non-empty: this proxy for plain-HTTP requests
  std::string headers;        // extra request header lines, each ending in CR LF
                              // (see BuildFetchHeaders and FetchUserAgent)
  std::string postBytes;      // request body, POST only
  std::string cookies;        // sent in a Cookie header; non-blank turns the store's cookies off
  int timeoutSeconds = 60;    // how long the caller waits; 0 or less gives up at once
  std::string* responseHeaders = nullptr;  // when given: the raw response headers
  std::string* responseCookies = nullptr;  // when given: the cookie text (FetchCookieText)
  bool noRedirect = false;    // true: redirects are not followed
};

// Fetches `url` ("http://" is put in front unless it begins with "http://" or
// "https://") and returns the response body. Cookies that the response sets
// are also written into the user's WinINet cookie store for "http://" + host.
// Returns empty bytes on every failure: a blank url, no connection, a time-out.
// After a request that ended, the out texts receive its headers and cookie text
// (empty when it failed); after a time-out they are left as they were.
std::string WebFetch(std::string_view url, const WebFetchOptions& options = {});

// The number of fetch workers still running, those abandoned after a time-out
// included.
int RunningWebFetchWorkers();

}  // namespace tvk
