#include "web/WinHttpRequest.h"

#include <climits>

#include "util/WideText_win.h"
#include "web/HttpTransfer_win.h"
#include "web/PumpingWait_win.h"
#include "web/TextCodec.h"
#include "web/WinHttpHandle_win.h"

namespace tvk {

namespace {

bool IsHttpUrl(std::string_view url) {
  const std::wstring wide = Widen(url);
  URL_COMPONENTS components{};
  components.dwStructSize = sizeof components;
  components.dwHostNameLength = static_cast<DWORD>(-1);
  components.dwSchemeLength = static_cast<DWORD>(-1);
  if (wide.empty() || !WinHttpCrackUrl(wide.c_str(), static_cast<DWORD>(wide.size()), 0, &components)) return false;
  return (components.nScheme == INTERNET_SCHEME_HTTP || components.nScheme == INTERNET_SCHEME_HTTPS) &&
         components.dwHostNameLength > 0;
}

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

// Option values written as integers or bools count as bools; nullopt for others.
std::optional<bool> AsBool(const HttpOptionValue& value) {
  if (const bool* flag = std::get_if<bool>(&value)) return *flag;
  if (const int* number = std::get_if<int>(&value)) return *number != 0;
  return std::nullopt;
}

}  // namespace

WinHttpRequest::WinHttpRequest() = default;

WinHttpRequest::~WinHttpRequest() { Abort(); }

bool WinHttpRequest::Open(std::string_view method, std::string_view url, bool asynchronous) {
  Abort();
  setup_.headers.clear();
  setup_.body.clear();
  setup_.serverCredentials = {};
  setup_.proxyCredentials = {};
  setup_.url.clear();
  if (method.empty() || HasLineBreak(method) || !IsHttpUrl(url)) return false;
  setup_.method.assign(method);
  setup_.url.assign(url);
  setup_.asynchronous = asynchronous;
  opened_ = true;
  return true;
}

bool WinHttpRequest::SetRequestHeader(std::string_view name, std::string_view value) {
  if (!opened_ || transfer_ || name.empty() || name.find(':') != std::string_view::npos || HasLineBreak(name) ||
      HasLineBreak(value))
    return false;
  SetHeader(setup_.headers, name, value);
  return true;
}

void WinHttpRequest::SetTimeouts(const Timeouts& timeouts) { setup_.timeouts = timeouts; }

void WinHttpRequest::SetProxy(int setting, std::string_view server, std::string_view bypass) {
  setup_.proxySetting = setting;
  setup_.proxyServer.assign(server);
  setup_.proxyBypass.assign(bypass);
}

bool WinHttpRequest::SetCredentials(std::string_view user, std::string_view password, int flags) {
  if (!opened_) return false;
  HttpCredentials& credentials = flags == kCredentialsForProxy ? setup_.proxyCredentials : setup_.serverCredentials;
  credentials = {true, std::string(user), std::string(password)};
  return true;
}

void WinHttpRequest::SetClientCertificate(std::string_view selector) { setup_.clientCertificate.assign(selector); }

void WinHttpRequest::SetAutoLogonPolicy(int policy) { setup_.autoLogonPolicy = policy; }

bool WinHttpRequest::Send(std::string_view body) {
  if (!opened_ || transfer_) return false;
  setup_.body.assign(body);
  std::shared_ptr<HttpTransfer> transfer = HttpTransfer::Start(setup_);
  if (!transfer) return false;
  transfer_ = transfer;
  if (setup_.asynchronous) return true;
  // Synchronous: the answer is awaited here, still letting the window work.
  WaitPumpingMessages(transfer->DoneEvent(), -1);
  return transfer->Finished() && transfer->Response().complete;
}

bool WinHttpRequest::WaitForResponse(int seconds) {
  // A handler run by the wait may Abort or Open: keep this transfer alive.
  std::shared_ptr<HttpTransfer> transfer = transfer_;
  if (!transfer) return false;
  if (!transfer->Finished()) {
    const int milliseconds = seconds < 0 ? -1 : seconds > INT_MAX / 1000 ? INT_MAX : seconds * 1000;
    WaitPumpingMessages(transfer->DoneEvent(), milliseconds);
  }
  return transfer->Finished() && transfer->Response().complete;
}

void WinHttpRequest::Abort() {
  if (transfer_) transfer_->Abandon();
  transfer_.reset();
  opened_ = false;
}

const HttpResponse* WinHttpRequest::CompleteResponse() const {
  if (!transfer_ || !transfer_->Finished() || !transfer_->Response().complete) return nullptr;
  return &transfer_->Response();
}

int WinHttpRequest::Status() const {
  const HttpResponse* response = CompleteResponse();
  return response ? response->status : 0;
}

std::string WinHttpRequest::StatusText() const {
  const HttpResponse* response = CompleteResponse();
  return response ? response->statusText : std::string();
}

std::string WinHttpRequest::ResponseBody() const {
  const HttpResponse* response = CompleteResponse();
  return response ? response->body : std::string();
}

std::string WinHttpRequest::ResponseText() const {
  const HttpResponse* response = CompleteResponse();
  if (!response) return {};
  return DecodeBytes(response->body, ContentTypeEncoding(ResponseHeaderValue(response->headers, "Content-Type")));
}

std::string WinHttpRequest::GetResponseHeader(std::string_view name) const {
  const HttpResponse* response = CompleteResponse();
  return response ? ResponseHeaderValue(response->headers, name) : std::string();
}

std::string WinHttpRequest::GetAllResponseHeaders() const {
  const HttpResponse* response = CompleteResponse();
  return response ? response->headers : std::string();
}

HttpOptionValue WinHttpRequest::GetOption(int index) const {
  switch (index) {
    case kOptionUserAgentString:
      return setup_.userAgent;
    case kOptionUrl:
      return setup_.url;
    case kOptionEnableRedirects:
      return setup_.redirects;
    case kOptionEnableHttpsToHttpRedirects:
      return setup_.httpsToHttpRedirects;
    case kOptionMaxAutomaticRedirects:
      return setup_.maxRedirects;
    case kOptionEnableHttp11:
      return setup_.http11;
    default:
      return {};
  }
}

void WinHttpRequest::SetOption(int index, const HttpOptionValue& value) {
  switch (index) {
    case kOptionUserAgentString:
      if (const std::string* text = std::get_if<std::string>(&value)) setup_.userAgent = *text;
      break;
    case kOptionEnableRedirects:
      if (std::optional<bool> flag = AsBool(value)) setup_.redirects = *flag;
      break;
    case kOptionEnableHttpsToHttpRedirects:
      if (std::optional<bool> flag = AsBool(value)) setup_.httpsToHttpRedirects = *flag;
      break;
    case kOptionMaxAutomaticRedirects:
      if (const int* number = std::get_if<int>(&value); number && *number > 0) setup_.maxRedirects = *number;
      break;
    case kOptionEnableHttp11:
      if (std::optional<bool> flag = AsBool(value)) setup_.http11 = *flag;
      break;
    default:
      break;
  }
}

}  // namespace tvk
