// The box's HTTP client for everything but the Tongbupan page fetch: one
// request object (WinHttpRequest) with what the box adds on every request:
// browser-like default headers, fixed time-outs, the browser's proxy when asked
// for, a cookie text carried from one answer to a later request, and decoding
// of the body into box text (TextCodec). Windows build only.
//
// Copies share one request object (its settings, among them the redirect
// switch that ProbeRedirect turns off for good) and copy the stored cookies.
// No operation reports an error: a failed request gives empty text, empty
// bytes or 0. Every wait lets window messages run, so handlers may run inside
// these calls.
//
// The operations are declared in the class's slot order; slots 0 and 1 are
// the destructor and the copy, slots 3 and 14 do nothing and have no member.
#pragma once

#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#include "web/FetchPlan.h"
#include "web/WinHttpRequest.h"

namespace tvk {

class WinHttpClient {
 public:
  WinHttpClient();  // runs Create

  // Slot 2. Probe with the old browser identity: turns redirects off, sets the
  // probe time-outs, sends a synchronous GET of `url` as it is (no scheme
  // completion) with the MSIE 6.0 user agent and no Referer; the answer's
  // Location, empty when there is none.
  std::string LocationOf(std::string_view url);
  // Slot 4. A new request object for this client (copies keep the old one).
  void Recreate();
  // Slot 5. Makes the request object; runs when a client is made.
  void Create();
  // Slot 6. Opens a request: `url` gets "http://" in front when it starts with
  // neither "http://" nor "https://" (any case), also in the caller's
  // variable. A left-out method (nullopt) is "GET". True when the request
  // object accepted the method and URL.
  bool Open(std::optional<std::string_view> method, std::string& url, bool asynchronous = false);
  // Slot 7.
  std::shared_ptr<WinHttpRequest> RequestObject() const;
  // Slots 8 to 12: the last answer (0 or empty until it is complete).
  int Status() const;
  std::string StatusText() const;
  std::string ResponseText() const;
  std::string ResponseBody() const;
  std::istringstream ResponseStream() const;  // reads the body bytes from the start
  // Slot 13. Writes the first given value (number, text, bytes, in that order)
  // to option `index`, then returns the option's current value.
  HttpOptionValue Option(int index, std::optional<int> number = std::nullopt,
                         std::optional<std::string> text = std::nullopt,
                         std::optional<std::string> bytes = std::nullopt);
  // Slots 15 to 25: the request object's own operations.
  void SetProxy(int setting = kProxySettingProxy, std::string_view server = {}, std::string_view bypass = {});
  void SetCredentials(std::string_view user, std::string_view password, int flags = kCredentialsForServer);
  void SetRequestHeader(std::string_view name, std::string_view value);
  std::string GetResponseHeader(std::string_view name) const;
  std::string GetAllResponseHeaders() const;
  // Sends `byteBody` when it is not empty, else `textBody` (maybe nothing).
  void Send(std::string_view textBody = {}, std::string_view byteBody = {});
  // True when the answer is complete within `seconds` (-1: no limit).
  bool WaitForResponse(int seconds);
  void Abort();
  // Connect, send and receive values of 0 or below take the resolve value.
  void SetTimeouts(int resolve, int connect = 0, int send = 0, int receive = 0);
  void SetClientCertificate(std::string_view selector);
  void SetAutoLogonPolicy(int policy);
  // Slot 26. The value of cookie `name` as the last answer's header text has
  // it (see ResponseCookieOf).
  std::string ResponseCookie(std::string_view name) const;
  // Slot 27. The last answer's "Set-Cookie:" lines, each followed by CR LF.
  std::string SetCookieLines() const;
  // Slot 28. The whole request (see FetchOptions), returning the body as box
  // text: encoding -2 the request object's ResponseText, -1 the bytes up to
  // the first zero byte, otherwise DecodeSource with that encoding number.
  // Empty when the request failed or its answer did not arrive in time; the
  // body of any status is returned.
  std::string FetchText(std::string_view url, const FetchOptions& options = {});
  // Slot 29. The same request returning the body bytes; `timeoutSeconds` is
  // truncated to whole seconds and `encoding` is not used.
  std::string FetchBytes(std::string_view url, const FetchOptions& options = {});
  // Slot 30. Empties the stored cookies; returns the empty text.
  std::string ClearCookies();
  // Slot 31. Turns redirects off on the request object for good, then GETs
  // `url` with the probe headers and time-outs; the answer's Location, empty
  // when it is no redirect or the request failed.
  std::string ProbeRedirect(std::string_view url, bool synchronous = false, std::string_view referer = {});
  // Slot 32. Recreate, then ClearCookies; returns the empty text.
  std::string Reset();
  // Slot 33. As ProbeRedirect without headers; the status code, 0 on failure.
  int ProbeStatus(std::string_view url, bool synchronous = false);
  // Slot 34. The last answer's cookies as one cookie text, attributes kept.
  std::string ResponseCookies() const;

 private:
  // Steps 1 to 12 of a fetch: the request is sent and awaited.
  void RunFetch(std::string_view url, const FetchOptions& options, bool integerTimeout);
  // ProbeRedirect and ProbeStatus up to the wait.
  void RunProbe(std::string_view url, bool synchronous, const std::vector<HeaderLine>& headers);

  std::shared_ptr<WinHttpRequest> request_;
  std::string storedCookies_;
};

}  // namespace tvk
