// The request object behind WinHttpClient: one HTTP request at a time, with the
// operations of the platform's WinHTTP request component (open, headers,
// time-outs, proxy, credentials, send, wait, response, options), carried out
// with the WinHTTP API on a worker thread. Windows build only.
//
// Settings made on the object (time-outs, proxy, options, client certificate,
// auto-logon policy) stay until changed; Open starts a new request: it drops
// the headers, credentials and response of the previous one and abandons a
// transfer still in flight. Every wait lets window messages run
// (ProcessPendingMessages), also the one of a synchronous Send. Failures give
// false, 0 or empty results; nothing throws.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "web/FetchPlan.h"
#include "web/HttpHeaders.h"

namespace tvk {

// Option indexes (the component's own numbering).
inline constexpr int kOptionUserAgentString = 0;             // text; the User-Agent when no header sets one
inline constexpr int kOptionUrl = 1;                         // text, read only: the URL of the open request
inline constexpr int kOptionEnableRedirects = 6;             // bool; true at first
inline constexpr int kOptionEnableHttpsToHttpRedirects = 12; // bool; false at first
inline constexpr int kOptionMaxAutomaticRedirects = 14;      // integer; 10 at first
inline constexpr int kOptionEnableHttp11 = 17;               // bool; true at first (false: HTTP/1.0)

// Proxy settings of SetProxy.
inline constexpr int kProxySettingDefault = 0;  // WinHTTP's configured proxy
inline constexpr int kProxySettingDirect = 1;
inline constexpr int kProxySettingProxy = 2;    // the named proxy server

// Flags of SetCredentials.
inline constexpr int kCredentialsForServer = 0;
inline constexpr int kCredentialsForProxy = 1;

inline constexpr std::string_view kComponentUserAgent = "Mozilla/4.0 (compatible; Win32; WinHttp.WinHttpRequest.5)";

// A value read from or written to an option: empty, a bool, an integer or a text.
using HttpOptionValue = std::variant<std::monostate, bool, int, std::string>;

struct HttpCredentials {
  bool given = false;
  std::string user;
  std::string password;
};

// Everything a transfer needs, copied when it starts.
struct HttpRequestSetup {
  std::string method;
  std::string url;
  bool asynchronous = false;
  std::vector<HeaderLine> headers;
  std::string body;
  Timeouts timeouts{0, 60000, 30000, 30000};
  int proxySetting = kProxySettingDefault;
  std::string proxyServer;
  std::string proxyBypass;
  HttpCredentials serverCredentials;
  HttpCredentials proxyCredentials;
  std::string clientCertificate;  // selector; empty: none
  int autoLogonPolicy = -1;       // -1: WinHTTP's own
  std::string userAgent{kComponentUserAgent};
  bool redirects = true;
  bool httpsToHttpRedirects = false;
  int maxRedirects = 10;
  bool http11 = true;
};

// What came back: `complete` is false until the whole answer was read.
struct HttpResponse {
  bool complete = false;
  int status = 0;
  std::string statusText;
  std::string headers;  // "Name: value" lines, each followed by CR LF (no status line)
  std::string body;
};

class HttpTransfer;

class WinHttpRequest {
 public:
  WinHttpRequest();
  ~WinHttpRequest();  // abandons a transfer in flight
  WinHttpRequest(const WinHttpRequest&) = delete;
  WinHttpRequest& operator=(const WinHttpRequest&) = delete;

  // Starts a new request. False (and no open request) when the URL is not an
  // http or https URL or the method is empty.
  bool Open(std::string_view method, std::string_view url, bool asynchronous);
  // Replaces the header of that name or adds it; an empty value is sent empty.
  // False when no request is open or the name is empty or holds ":" or a line break.
  bool SetRequestHeader(std::string_view name, std::string_view value);
  void SetTimeouts(const Timeouts& timeouts);  // milliseconds; 0 means no limit
  void SetProxy(int setting, std::string_view server, std::string_view bypass);
  // Credentials for the open request, used when the server (flags 0) or the
  // proxy (flags 1) asks for them. False when no request is open.
  bool SetCredentials(std::string_view user, std::string_view password, int flags);
  // Selector "[CURRENT_USER|LOCAL_MACHINE\store\]subject" of the certificate
  // offered to https servers that ask for one.
  void SetClientCertificate(std::string_view selector);
  void SetAutoLogonPolicy(int policy);  // WINHTTP_AUTOLOGON_SECURITY_LEVEL_ values

  // Sends the open request. Asynchronous: returns at once (true when started);
  // synchronous: returns when the answer is complete (true) or failed (false).
  bool Send(std::string_view body);
  // Waits up to `seconds` (-1: no limit) for the answer of an asynchronous
  // request. True when it is complete.
  bool WaitForResponse(int seconds);
  void Abort();

  // The answer of the last request; 0 or empty while it is not complete.
  int Status() const;
  std::string StatusText() const;
  std::string ResponseBody() const;
  // The body as box text, decoded by the charset that Content-Type names
  // (detected when it names none).
  std::string ResponseText() const;
  std::string GetResponseHeader(std::string_view name) const;
  std::string GetAllResponseHeaders() const;

  HttpOptionValue GetOption(int index) const;
  // Writes an option; a value of a kind the option does not take (or an option
  // that cannot be written) changes nothing. Integers are taken as bools.
  void SetOption(int index, const HttpOptionValue& value);

 private:
  const HttpResponse* CompleteResponse() const;

  HttpRequestSetup setup_;
  bool opened_ = false;
  std::shared_ptr<HttpTransfer> transfer_;
};

}  // namespace tvk
