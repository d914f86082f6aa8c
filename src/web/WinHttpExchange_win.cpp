#include "web/WinHttpExchange_win.h"

#include <string>
#include <vector>

#include "util/WideText_win.h"
#include "web/ClientCertificate_win.h"
#include "web/WinHttpHandle_win.h"

namespace tvk {

namespace {

// Rounds of sending: the first, one more after a server's and one after a
// proxy's request for credentials.
constexpr int kMaxSendRounds = 3;

struct UrlParts {
  bool secure = false;
  std::wstring host;
  INTERNET_PORT port = 0;
  std::wstring pathAndQuery;
};

bool CrackUrl(const std::wstring& url, UrlParts& parts) {
  URL_COMPONENTS components{};
  components.dwStructSize = sizeof components;
  components.dwHostNameLength = static_cast<DWORD>(-1);
  components.dwUrlPathLength = static_cast<DWORD>(-1);
  components.dwExtraInfoLength = static_cast<DWORD>(-1);
  components.dwSchemeLength = static_cast<DWORD>(-1);
  if (!WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &components)) return false;
  if (components.nScheme != INTERNET_SCHEME_HTTP && components.nScheme != INTERNET_SCHEME_HTTPS) return false;
  if (components.dwHostNameLength == 0) return false;
  parts.secure = components.nScheme == INTERNET_SCHEME_HTTPS;
  parts.host.assign(components.lpszHostName, components.dwHostNameLength);
  parts.port = components.nPort;
  parts.pathAndQuery.assign(components.lpszUrlPath ? components.lpszUrlPath : L"", components.dwUrlPathLength);
  parts.pathAndQuery.append(components.lpszExtraInfo ? components.lpszExtraInfo : L"", components.dwExtraInfoLength);
  if (parts.pathAndQuery.empty()) parts.pathAndQuery = L"/";
  return true;
}

ScopedInternet OpenSession(const HttpRequestSetup& setup) {
  const std::wstring agent = Widen(setup.userAgent);
  const wchar_t* agentText = agent.empty() ? nullptr : agent.c_str();
  if (setup.proxySetting == kProxySettingProxy && !setup.proxyServer.empty()) {
    const std::wstring server = Widen(setup.proxyServer);
    const std::wstring bypass = Widen(setup.proxyBypass);
    return ScopedInternet(WinHttpOpen(agentText, WINHTTP_ACCESS_TYPE_NAMED_PROXY, server.c_str(),
                                      bypass.empty() ? WINHTTP_NO_PROXY_BYPASS : bypass.c_str(), 0));
  }
  const DWORD access =
      setup.proxySetting == kProxySettingDirect ? WINHTTP_ACCESS_TYPE_NO_PROXY : WINHTTP_ACCESS_TYPE_DEFAULT_PROXY;
  return ScopedInternet(WinHttpOpen(agentText, access, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
}

bool SetDwordOption(HINTERNET handle, DWORD option, DWORD value) {
  return WinHttpSetOption(handle, option, &value, sizeof value) != FALSE;
}

void ApplyRequestOptions(HINTERNET request, const HttpRequestSetup& setup, bool secure) {
  // The client carries cookies itself (a fetch's cookie text): WinHTTP must
  // neither keep nor add any, or a request would send cookies nobody asked for.
  SetDwordOption(request, WINHTTP_OPTION_DISABLE_FEATURE, WINHTTP_DISABLE_COOKIES);
  DWORD policy = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
  if (setup.redirects) {
    policy = setup.httpsToHttpRedirects ? WINHTTP_OPTION_REDIRECT_POLICY_ALWAYS
                                        : WINHTTP_OPTION_REDIRECT_POLICY_DISALLOW_HTTPS_TO_HTTP;
  }
  SetDwordOption(request, WINHTTP_OPTION_REDIRECT_POLICY, policy);
  if (setup.maxRedirects > 0)
    SetDwordOption(request, WINHTTP_OPTION_MAX_HTTP_AUTOMATIC_REDIRECTS, static_cast<DWORD>(setup.maxRedirects));
  if (setup.autoLogonPolicy >= 0)
    SetDwordOption(request, WINHTTP_OPTION_AUTOLOGON_POLICY, static_cast<DWORD>(setup.autoLogonPolicy));
  if (secure && !setup.clientCertificate.empty()) {
    // A certificate that the selector does not find is not offered; the server decides.
    ScopedCertificate certificate = FindClientCertificate(setup.clientCertificate);
    if (certificate.valid())
      WinHttpSetOption(request, WINHTTP_OPTION_CLIENT_CERT_CONTEXT, const_cast<CERT_CONTEXT*>(certificate.get()),
                       sizeof(CERT_CONTEXT));
  }
  const Timeouts& t = setup.timeouts;
  WinHttpSetTimeouts(request, t.resolve, t.connect, t.send, t.receive);
  // The receive time-out also bounds the wait for the first bytes of the
  // answer (WinHTTP keeps a separate, longer limit for the headers).
  if (t.receive > 0) SetDwordOption(request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, static_cast<DWORD>(t.receive));
}

bool AddHeaders(HINTERNET request, const HttpRequestSetup& setup) {
  std::vector<HeaderLine> headers = setup.headers;
  if (!FindHeader(headers, "Accept")) headers.push_back({"Accept", "*/*"});
  for (const HeaderLine& header : headers) {
    const std::wstring line = Widen(header.name + ": " + header.value);
    // REPLACE with an empty value would delete the header: an empty one is
    // added as it is (the list holds each name once).
    const DWORD flags = header.value.empty() ? WINHTTP_ADDREQ_FLAG_ADD
                                             : WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE;
    if (!WinHttpAddRequestHeaders(request, line.c_str(), static_cast<DWORD>(line.size()), flags)) return false;
  }
  return true;
}

DWORD QueryNumber(HINTERNET request, DWORD query) {
  DWORD value = 0;
  DWORD size = sizeof value;
  if (!WinHttpQueryHeaders(request, query | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX, &value, &size,
                           WINHTTP_NO_HEADER_INDEX))
    return 0;
  return value;
}

std::wstring QueryText(HINTERNET request, DWORD query) {
  DWORD bytes = 0;
  WinHttpQueryHeaders(request, query, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER, &bytes,
                      WINHTTP_NO_HEADER_INDEX);
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || bytes == 0) return {};
  std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
  DWORD room = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (!WinHttpQueryHeaders(request, query, WINHTTP_HEADER_NAME_BY_INDEX, text.data(), &room,
                           WINHTTP_NO_HEADER_INDEX))
    return {};
  text.resize(room / sizeof(wchar_t));
  return text;
}

// The raw header text without its status line, each line followed by CR LF.
std::string HeaderLinesOf(const std::wstring& raw) {
  std::string text = Narrow(raw);
  size_t firstBreak = text.find("\r\n");
  text.erase(0, firstBreak == std::string::npos ? text.size() : firstBreak + 2);
  while (text.size() >= 4 && text.compare(text.size() - 4, 4, "\r\n\r\n") == 0) text.resize(text.size() - 2);
  if (text == "\r\n") text.clear();
  return text;
}

// Gives the credentials for the scheme the server (or proxy) asked for.
bool AnswerChallenge(HINTERNET request, const HttpCredentials& credentials, DWORD target) {
  DWORD supported = 0;
  DWORD first = 0;
  DWORD askedTarget = 0;
  if (!WinHttpQueryAuthSchemes(request, &supported, &first, &askedTarget)) return false;
  const DWORD preference[] = {WINHTTP_AUTH_SCHEME_NEGOTIATE, WINHTTP_AUTH_SCHEME_NTLM, WINHTTP_AUTH_SCHEME_DIGEST,
                              WINHTTP_AUTH_SCHEME_BASIC};
  DWORD scheme = 0;
  for (DWORD candidate : preference) {
    if (supported & candidate) {
      scheme = candidate;
      break;
    }
  }
  if (scheme == 0) return false;
  const std::wstring user = Widen(credentials.user);
  const std::wstring password = Widen(credentials.password);
  return WinHttpSetCredentials(request, target, scheme, user.c_str(), password.c_str(), nullptr) != FALSE;
}

bool ReadBody(HINTERNET request, const std::atomic<bool>& abandoned, std::string& body) {
  for (;;) {
    if (abandoned.load(std::memory_order_relaxed)) return false;
    DWORD available = 0;
    if (!WinHttpQueryDataAvailable(request, &available)) return false;
    if (available == 0) return true;
    const size_t at = body.size();
    body.resize(at + available);
    DWORD read = 0;
    if (!WinHttpReadData(request, body.data() + at, available, &read)) return false;
    body.resize(at + read);
    if (read == 0) return true;
  }
}

}  // namespace

bool RunWinHttpExchange(const HttpRequestSetup& setup, const std::atomic<bool>& abandoned, HttpResponse& response) {
  const std::wstring url = Widen(setup.url);
  UrlParts parts;
  if (!CrackUrl(url, parts)) return false;

  ScopedInternet session = OpenSession(setup);
  if (!session.valid()) return false;
  const Timeouts& t = setup.timeouts;
  WinHttpSetTimeouts(session.get(), t.resolve, t.connect, t.send, t.receive);
  ScopedInternet connection(WinHttpConnect(session.get(), parts.host.c_str(), parts.port, 0));
  if (!connection.valid()) return false;

  const std::wstring method = Widen(setup.method);
  ScopedInternet request(WinHttpOpenRequest(connection.get(), method.c_str(), parts.pathAndQuery.c_str(),
                                            setup.http11 ? nullptr : L"HTTP/1.0", WINHTTP_NO_REFERER,
                                            WINHTTP_DEFAULT_ACCEPT_TYPES, parts.secure ? WINHTTP_FLAG_SECURE : 0));
  if (!request.valid()) return false;
  ApplyRequestOptions(request.get(), setup, parts.secure);
  if (!AddHeaders(request.get(), setup)) return false;

  bool serverAnswered = false;
  bool proxyAnswered = false;
  for (int round = 0; round < kMaxSendRounds; ++round) {
    if (abandoned.load(std::memory_order_relaxed)) return false;
    void* body = setup.body.empty() ? WINHTTP_NO_REQUEST_DATA : const_cast<char*>(setup.body.data());
    const DWORD length = static_cast<DWORD>(setup.body.size());
    if (!WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, body, length, length, 0)) {
      if (GetLastError() == ERROR_WINHTTP_RESEND_REQUEST) continue;
      return false;
    }
    if (!WinHttpReceiveResponse(request.get(), nullptr)) {
      if (GetLastError() == ERROR_WINHTTP_RESEND_REQUEST) continue;
      return false;
    }
    const DWORD status = QueryNumber(request.get(), WINHTTP_QUERY_STATUS_CODE);
    if (status == HTTP_STATUS_DENIED && setup.serverCredentials.given && !serverAnswered) {
      serverAnswered = true;
      if (AnswerChallenge(request.get(), setup.serverCredentials, WINHTTP_AUTH_TARGET_SERVER)) continue;
    } else if (status == HTTP_STATUS_PROXY_AUTH_REQ && setup.proxyCredentials.given && !proxyAnswered) {
      proxyAnswered = true;
      if (AnswerChallenge(request.get(), setup.proxyCredentials, WINHTTP_AUTH_TARGET_PROXY)) continue;
    }
    break;
  }

  response.status = static_cast<int>(QueryNumber(request.get(), WINHTTP_QUERY_STATUS_CODE));
  if (response.status == 0) return false;
  response.statusText = Narrow(QueryText(request.get(), WINHTTP_QUERY_STATUS_TEXT));
  response.headers = HeaderLinesOf(QueryText(request.get(), WINHTTP_QUERY_RAW_HEADERS_CRLF));
  if (!ReadBody(request.get(), abandoned, response.body)) return false;
  response.complete = true;
  return true;
}

}  // namespace tvk
