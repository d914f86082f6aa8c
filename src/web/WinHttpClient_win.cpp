#include "web/WinHttpClient.h"

#include <windows.h>

#include "util/UiHooks.h"
#include "util/WideText_win.h"
#include "web/TextCodec.h"

namespace tvk {

namespace {

constexpr int kProbeWaitSeconds = 25;
constexpr Timeouts kProbeTimeouts{5000, 5000, 10000, 5000};

// The browser's proxy server: the value ProxyServer under
// HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Internet Settings;
// empty when it is missing or not a text.
std::string ReadIeProxyServer() {
  const wchar_t* key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
  DWORD bytes = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, key, L"ProxyServer", RRF_RT_REG_SZ, nullptr, nullptr, &bytes) != ERROR_SUCCESS ||
      bytes == 0)
    return {};
  std::wstring value(bytes / sizeof(wchar_t), L'\0');
  if (RegGetValueW(HKEY_CURRENT_USER, key, L"ProxyServer", RRF_RT_REG_SZ, nullptr, value.data(), &bytes) !=
      ERROR_SUCCESS)
    return {};
  value.resize(value.find(L'\0') == std::wstring::npos ? value.size() : value.find(L'\0'));
  return Narrow(value);
}

}  // namespace

WinHttpClient::WinHttpClient() { Create(); }

std::string WinHttpClient::LocationOf(std::string_view url) {
  Option(kOptionEnableRedirects, 0);
  SetTimeouts(kProbeTimeouts.resolve, kProbeTimeouts.connect, kProbeTimeouts.send, kProbeTimeouts.receive);
  // Straight to the request object: no scheme completion here.
  std::shared_ptr<WinHttpRequest> request = request_;
  request->Open("GET", url, false);
  for (const HeaderLine& header : ProbeHeaders(kOldBrowserUserAgent, {})) SetRequestHeader(header.name, header.value);
  Send();
  return GetResponseHeader("Location");
}

void WinHttpClient::Recreate() {
  request_.reset();
  Create();
}

void WinHttpClient::Create() {
  // The request object is plain C++ on the WinHTTP API: there is no COM
  // apartment to enter around its creation.
  request_ = std::make_shared<WinHttpRequest>();
}

bool WinHttpClient::Open(std::optional<std::string_view> method, std::string& url, bool asynchronous) {
  CompleteScheme(url);
  return request_->Open(method.value_or("GET"), url, asynchronous);
}

std::shared_ptr<WinHttpRequest> WinHttpClient::RequestObject() const { return request_; }

int WinHttpClient::Status() const { return request_->Status(); }

std::string WinHttpClient::StatusText() const { return request_->StatusText(); }

std::string WinHttpClient::ResponseText() const { return request_->ResponseText(); }

std::string WinHttpClient::ResponseBody() const { return request_->ResponseBody(); }

std::istringstream WinHttpClient::ResponseStream() const { return std::istringstream(request_->ResponseBody()); }

HttpOptionValue WinHttpClient::Option(int index, std::optional<int> number, std::optional<std::string> text,
                                      std::optional<std::string> bytes) {
  if (number) {
    request_->SetOption(index, *number);
  } else if (text) {
    request_->SetOption(index, std::move(*text));
  } else if (bytes) {
    request_->SetOption(index, std::move(*bytes));
  }
  return request_->GetOption(index);
}

void WinHttpClient::SetProxy(int setting, std::string_view server, std::string_view bypass) {
  request_->SetProxy(setting, server, bypass);
}

void WinHttpClient::SetCredentials(std::string_view user, std::string_view password, int flags) {
  request_->SetCredentials(user, password, flags);
}

void WinHttpClient::SetRequestHeader(std::string_view name, std::string_view value) {
  request_->SetRequestHeader(name, value);
}

std::string WinHttpClient::GetResponseHeader(std::string_view name) const { return request_->GetResponseHeader(name); }

std::string WinHttpClient::GetAllResponseHeaders() const { return request_->GetAllResponseHeaders(); }

void WinHttpClient::Send(std::string_view textBody, std::string_view byteBody) {
  // A handler run while a synchronous send waits may Recreate this client.
  std::shared_ptr<WinHttpRequest> request = request_;
  request->Send(!byteBody.empty() ? byteBody : textBody);
}

bool WinHttpClient::WaitForResponse(int seconds) {
  std::shared_ptr<WinHttpRequest> request = request_;
  return request->WaitForResponse(seconds);
}

void WinHttpClient::Abort() { request_->Abort(); }

void WinHttpClient::SetTimeouts(int resolve, int connect, int send, int receive) {
  request_->SetTimeouts(FillTimeouts(resolve, connect, send, receive));
}

void WinHttpClient::SetClientCertificate(std::string_view selector) { request_->SetClientCertificate(selector); }

void WinHttpClient::SetAutoLogonPolicy(int policy) { request_->SetAutoLogonPolicy(policy); }

std::string WinHttpClient::ResponseCookie(std::string_view name) const {
  return ResponseCookieOf(GetAllResponseHeaders(), name);
}

std::string WinHttpClient::SetCookieLines() const { return SetCookieLinesOf(GetAllResponseHeaders()); }

void WinHttpClient::RunFetch(std::string_view url, const FetchOptions& options, bool integerTimeout) {
  const FetchPlan plan = PlanFetch(url, options, storedCookies_, integerTimeout);
  std::string openUrl = plan.url;
  Open(plan.method, openUrl, plan.asynchronous);
  for (const HeaderLine& header : plan.headers) SetRequestHeader(header.name, header.value);
  if (plan.timing.timeouts) {
    const Timeouts& t = *plan.timing.timeouts;
    SetTimeouts(t.resolve, t.connect, t.send, t.receive);
  }
  if (plan.proxy) {
    const std::string proxyText = ResolveProxyText(*plan.proxy, ReadIeProxyServer);
    ProcessPendingMessages();
    if (!proxyText.empty()) {
      SetProxy(kProxySettingProxy, proxyText);
    } else {
      SetProxy(kProxySettingDefault, "");
    }
  }
  Send(options.postText, options.postBytes);
  if (plan.asynchronous) WaitForResponse(plan.timing.waitSeconds);
  if (options.keepCookies) storedCookies_ = ResponseCookies();
}

std::string WinHttpClient::FetchText(std::string_view url, const FetchOptions& options) {
  RunFetch(url, options, false);
  if (options.encoding == -2) return ResponseText();
  const std::string body = ResponseBody();
  if (options.encoding == -1) return TextUpToZero(body);
  return DecodeSource({}, options.encoding, body, {});
}

std::string WinHttpClient::FetchBytes(std::string_view url, const FetchOptions& options) {
  RunFetch(url, options, true);
  return ResponseBody();
}

std::string WinHttpClient::ClearCookies() {
  storedCookies_.clear();
  return {};
}

void WinHttpClient::RunProbe(std::string_view url, bool synchronous, const std::vector<HeaderLine>& headers) {
  Option(kOptionEnableRedirects, 0);
  SetTimeouts(kProbeTimeouts.resolve, kProbeTimeouts.connect, kProbeTimeouts.send, kProbeTimeouts.receive);
  std::string openUrl(url);
  Open("GET", openUrl, !synchronous);
  for (const HeaderLine& header : headers) SetRequestHeader(header.name, header.value);
  Send();
  if (!synchronous) WaitForResponse(kProbeWaitSeconds);
}

std::string WinHttpClient::ProbeRedirect(std::string_view url, bool synchronous, std::string_view referer) {
  RunProbe(url, synchronous, ProbeHeaders(kBrowserUserAgent, referer.empty() ? TrimBlanks(url) : referer));
  return GetResponseHeader("Location");
}

std::string WinHttpClient::Reset() {
  Recreate();
  return ClearCookies();
}

int WinHttpClient::ProbeStatus(std::string_view url, bool synchronous) {
  RunProbe(url, synchronous, {});
  return Status();
}

std::string WinHttpClient::ResponseCookies() const { return CookieTextOf(SetCookieLines()); }

}  // namespace tvk
