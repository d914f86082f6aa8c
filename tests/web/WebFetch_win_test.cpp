// The page fetch against the loopback fake server (tests/web/fake_server.py).
// The server's port comes from the environment variable TVK_FAKE_SERVER_PORT,
// else from the build (kLoopbackHost). What the server received is read from
// its /echo answer, which is the request as it saw it.
#include "web/WebFetch.h"

#include <windows.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "VendorEndpoints.h"
#include "util/UiHooks.h"
#include "util/WideText_win.h"
#include "web/UrlParts.h"

namespace tvk {
namespace {

//--- The fake server ----------------------------------------------------------

std::string ServerHost() {
  wchar_t port[16];
  DWORD length = GetEnvironmentVariableW(L"TVK_FAKE_SERVER_PORT", port, 16);
  if (length > 0 && length < 16) return "127.0.0.1:" + Narrow(std::wstring_view(port, length));
  return kLoopbackHost;
}

std::string ServerUrl(std::string_view pathAndQuery) { return "http://" + ServerHost() + std::string(pathAndQuery); }

// Percent-escapes everything but letters and digits, for query values.
std::string Escape(std::string_view text) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char byte : text) {
    bool plain = (byte >= '0' && byte <= '9') || (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z');
    if (plain) {
      out.push_back(static_cast<char>(byte));
    } else {
      out.push_back('%');
      out.push_back(kDigits[byte >> 4]);
      out.push_back(kDigits[byte & 0xF]);
    }
  }
  return out;
}

std::string Hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char byte : bytes) {
    out.push_back(kDigits[byte >> 4]);
    out.push_back(kDigits[byte & 0xF]);
  }
  return out;
}

char LowerAscii(char ch) { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

// One request as the server's /echo gives it back.
struct EchoedRequest {
  std::string method;
  std::string target;
  std::string path;
  bool proxied = false;
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;

  int Count(std::string_view name) const {
    int count = 0;
    for (const auto& header : headers) count += SameName(header.first, name) ? 1 : 0;
    return count;
  }
  // The first value of that header; "<none>" when it did not come.
  std::string Header(std::string_view name) const {
    for (const auto& header : headers)
      if (SameName(header.first, name)) return header.second;
    return "<none>";
  }
  bool AnyHeaderContains(std::string_view part) const {
    for (const auto& header : headers)
      if ((header.first + ": " + header.second).find(part) != std::string::npos) return true;
    return false;
  }
};

int HexValue(char ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  return LowerAscii(ch) - 'a' + 10;
}

// Parses the "key value" lines of an /echo answer; `valid` is false unless it ends with "end".
EchoedRequest ParseEcho(std::string_view text, bool* valid) {
  EchoedRequest request;
  *valid = false;
  size_t at = 0;
  for (size_t end; (end = text.find("\r\n", at)) != std::string_view::npos; at = end + 2) {
    std::string line(text.substr(at, end - at));
    size_t blank = line.find(' ');
    std::string key = line.substr(0, blank);
    std::string value = blank == std::string::npos ? std::string() : line.substr(blank + 1);
    if (key == "method") {
      request.method = value;
    } else if (key == "target") {
      request.target = value;
    } else if (key == "path") {
      request.path = value;
    } else if (key == "proxied") {
      request.proxied = value == "1";
    } else if (key == "header") {
      size_t colon = value.find(": ");
      request.headers.emplace_back(value.substr(0, colon),
                                   colon == std::string::npos ? std::string() : value.substr(colon + 2));
    } else if (key == "body") {
      for (size_t i = 0; i + 1 < value.size(); i += 2)
        request.body.push_back(static_cast<char>(HexValue(value[i]) * 16 + HexValue(value[i + 1])));
    } else if (key == "end") {
      *valid = true;
    }
  }
  return request;
}

//--- Waiting and the window ---------------------------------------------------

void DispatchQueued() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// Polls (dispatching messages) until no fetch worker runs, for at most `seconds`.
bool WaitUntilNoWorkerRuns(int seconds) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds) * 1000;
  while (RunningWebFetchWorkers() > 0 && GetTickCount64() < end) {
    DispatchQueued();
    Sleep(20);
  }
  return RunningWebFetchWorkers() == 0;
}

constexpr UINT kProbeMessage = WM_APP + 7;
constexpr UINT_PTR kTickTimer = 1;

// What the probe window saw while a fetch was waiting.
struct WindowLog {
  int probes = 0;
  int workersAtProbe = -1;   // RunningWebFetchWorkers() when the probe was handled
  std::string nestedBody;    // what a fetch made from the probe's handler returned
  int ticks = 0;
};
WindowLog gLog;

LRESULT CALLBACK ProbeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kProbeMessage) {
    ++gLog.probes;
    gLog.workersAtProbe = RunningWebFetchWorkers();
    // The caller is re-entered: a fetch from inside the wait of another one.
    gLog.nestedBody = WebFetch(ServerUrl("/respond?body=nested"));
    return 0;
  }
  if (message == WM_TIMER && wParam == kTickTimer) {
    ++gLog.ticks;
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// A message-only window of this thread, destroyed with the object.
class ProbeWindow {
 public:
  ProbeWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ProbeWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TvkWebFetchProbe";
    RegisterClassW(&windowClass);  // fails harmlessly when already registered
    window_ = CreateWindowExW(0, L"TvkWebFetchProbe", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  }
  ~ProbeWindow() {
    if (window_) DestroyWindow(window_);
  }
  ProbeWindow(const ProbeWindow&) = delete;
  ProbeWindow& operator=(const ProbeWindow&) = delete;
  HWND get() const { return window_; }

 private:
  HWND window_ = nullptr;
};

// Installs a counting message-pump hook for the lifetime of the object.
class CountingPumpHook {
 public:
  CountingPumpHook() { SetMessagePumpHook([this] { ++calls_; }); }
  ~CountingPumpHook() { SetMessagePumpHook(nullptr); }
  CountingPumpHook(const CountingPumpHook&) = delete;
  CountingPumpHook& operator=(const CountingPumpHook&) = delete;
  int calls() const { return calls_; }

 private:
  int calls_ = 0;
};

// A name no earlier run has put into the cookie store.
std::string UniqueCookieName(std::string_view stem) {
  return std::string(stem) + std::to_string(GetCurrentProcessId()) + "x" + std::to_string(GetTickCount64());
}

// The cookies the store gives for the fake server's host.
std::string StoredCookies() {
  std::wstring url = L"http://127.0.0.1/";
  DWORD size = 0;
  if (!InternetGetCookieW(url.c_str(), nullptr, nullptr, &size) || size == 0) return {};
  std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 2);
  size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
  if (!InternetGetCookieW(url.c_str(), nullptr, buffer.data(), &size)) return {};
  return Narrow(buffer.data());
}

class WebFetchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WaitUntilNoWorkerRuns(30)) << "a fetch worker of an earlier test is still running";
    WebFetchOptions options;
    options.timeoutSeconds = 10;
    ASSERT_TRUE(WebFetch(ServerUrl("/__ping"), options).starts_with("ok"))
        << "no fake server at " << ServerHost()
        << " (python3 tests/web/fake_server.py --port N, with TVK_FAKE_SERVER_PORT=N)";
  }

  // Fetches /echo with `options` and parses what the server saw.
  static EchoedRequest Echo(const WebFetchOptions& options, std::string_view query = "") {
    std::string body = WebFetch(ServerUrl("/echo" + std::string(query)), options);
    bool valid = false;
    EchoedRequest request = ParseEcho(body, &valid);
    EXPECT_TRUE(valid) << "not an echo: " << body;
    return request;
  }
};

//--- What is sent -------------------------------------------------------------

TEST_F(WebFetchTest, GetSendsTheBoxHeadersUnlessTheCallerGivesThem) {
  const std::string url = ServerUrl("/echo");
  const std::string boxAccept =
      "image/gif, image/bmp, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
      "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*";
  struct Case {
    const char* headers;
    std::string agent;     // the User-Agent the server gets
    std::string referer;   // "<none>" when no Referer may come
    std::string accept;    // "" when the box's list must not come
    std::string language;
  };
  const Case cases[] = {
      {"", std::string(kDefaultFetchAgent), url, boxAccept, "zh-cn"},
      {"X-Tvk: 1\r\n", std::string(kDefaultFetchAgent), url, boxAccept, "zh-cn"},
      {"User-Agent: TvkAgent/2.0\r\n", "TvkAgent/2.0", url, boxAccept, "zh-cn"},
      // Named in lower case: the session gets an empty agent, the line itself is sent.
      {"user-agent: lower/1.0\r\n", "lower/1.0", url, boxAccept, "zh-cn"},
      {"RefererNo\r\n", std::string(kDefaultFetchAgent), "<none>", boxAccept, "zh-cn"},
      {"X-A: 1\r\nRefererNo", std::string(kDefaultFetchAgent), "<none>", boxAccept, "zh-cn"},
      {"Referer: http://elsewhere/\r\n", std::string(kDefaultFetchAgent), "http://elsewhere/", boxAccept, "zh-cn"},
      {"Accept-Language: en\r\n", std::string(kDefaultFetchAgent), url, "", "en"},
      {"Accept: text/plain\r\n", std::string(kDefaultFetchAgent), url, "text/plain", "zh-cn"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.headers);
    WebFetchOptions options;
    options.headers = c.headers;
    EchoedRequest request = Echo(options);
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.path, "/echo");
    EXPECT_EQ(request.Header("User-Agent"), c.agent);
    EXPECT_EQ(request.Count("User-Agent"), 1);
    EXPECT_EQ(request.Header("Referer"), c.referer);
    if (c.accept.empty())
      EXPECT_NE(request.Header("Accept"), boxAccept);
    else
      EXPECT_EQ(request.Header("Accept"), c.accept);
    EXPECT_EQ(request.Header("Accept-Language"), c.language);
    EXPECT_FALSE(request.AnyHeaderContains("RefererNo"));
  }
  WebFetchOptions custom;
  custom.headers = "X-Tvk: 1\r\n";
  EXPECT_EQ(Echo(custom).Header("X-Tvk"), "1");
}

TEST_F(WebFetchTest, PostSendsTheBodyAndItsFormHeaders) {
  struct Case { const char* headers; std::string body; const char* contentType; };
  const Case cases[] = {
      {"", "a=1&b=中文", "application/x-www-form-urlencoded"},
      {"Content-Type: text/plain\r\n", "plain text", "text/plain"},
      {"", std::string("\0\x01\xFF", 3), "application/x-www-form-urlencoded"},
      {"", "", "<none>"},  // no body: no Content-Type
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.body);
    WebFetchOptions options;
    options.method = kFetchPost;
    options.headers = c.headers;
    options.postBytes = c.body;
    EchoedRequest request = Echo(options);
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.body, c.body);
    EXPECT_EQ(request.Header("Content-Type"), c.contentType);
    EXPECT_EQ(request.Count("Content-Length"), 1);
    EXPECT_EQ(request.Header("Content-Length"), std::to_string(c.body.size()));
  }
  // Any other method number is a GET, and a GET sends no body.
  WebFetchOptions other;
  other.method = 5;
  other.postBytes = "ignored";
  EchoedRequest get = Echo(other);
  EXPECT_EQ(get.method, "GET");
  EXPECT_EQ(get.body, "");
}

TEST_F(WebFetchTest, GivenCookiesAreSentAloneAndStoreCookiesOtherwise) {
  const std::string name = UniqueCookieName("tvkStore");
  // A response cookie goes into the store (our own write: the request gives
  // cookies, so the platform's own cookie handling is off).
  std::string cookieText;
  WebFetchOptions setting;
  setting.cookies = "given=1";
  setting.responseCookies = &cookieText;
  std::string body =
      WebFetch(ServerUrl("/respond?body=set&h=" + Escape("Set-Cookie: " + name + "=v1; path=/")), setting);
  EXPECT_EQ(body, "set");
  EXPECT_EQ(cookieText, name + "=v1;");
  EXPECT_NE(StoredCookies().find(name + "=v1"), std::string::npos) << StoredCookies();

  // Given cookies: exactly those, in one header.
  WebFetchOptions giving;
  giving.cookies = "a=1; b=2";
  EchoedRequest given = Echo(giving);
  EXPECT_EQ(given.Count("Cookie"), 1);
  EXPECT_EQ(given.Header("Cookie"), "a=1; b=2");

  // None given: the store's cookies for the host.
  EchoedRequest stored = Echo(WebFetchOptions());
  EXPECT_NE(stored.Header("Cookie").find(name + "=v1"), std::string::npos) << stored.Header("Cookie");
}

TEST_F(WebFetchTest, GoesThroughTheNamedProxy) {
  // The proxy is the fake server; the URL's own host is never contacted.
  WebFetchOptions options;
  options.proxy = ServerHost();
  options.timeoutSeconds = 10;
  std::string body = WebFetch("http://127.0.0.2:9/echo?via=proxy", options);
  bool valid = false;
  EchoedRequest viaProxy = ParseEcho(body, &valid);
  ASSERT_TRUE(valid) << body;
  EXPECT_TRUE(viaProxy.proxied);
  EXPECT_EQ(viaProxy.target, "http://127.0.0.2:9/echo?via=proxy");
}

TEST_F(WebFetchTest, CompletesASchemelessUrlWithHttp) {
  std::string body = WebFetch(ServerHost() + "/respond?body=plain");
  EXPECT_EQ(body, "plain");
}

//--- What comes back ----------------------------------------------------------

TEST_F(WebFetchTest, ReturnsTheRawHeadersAndTheCookieText) {
  const std::string first = UniqueCookieName("tvkSid");
  const std::string second = UniqueCookieName("tvkLang");
  std::string query = "/respond?status=201&body_hex=" + Hex("中文 body") + "&h=" +
                      Escape("Set-Cookie: " + first + "=abc; path=/; HttpOnly") + "&h=" +
                      Escape("Set-Cookie: " + second + "=zh") + "&h=" + Escape("X-Tvk-Answer: 42");
  std::string headers = "untouched";
  std::string cookies = "untouched";
  WebFetchOptions options;
  options.responseHeaders = &headers;
  options.responseCookies = &cookies;
  std::string body = WebFetch(ServerUrl(query), options);
  EXPECT_EQ(body, "中文 body");  // the bytes as they came
  EXPECT_EQ(cookies, first + "=abc;;");
  EXPECT_TRUE(headers.starts_with("HTTP/1.0 201")) << headers;
  EXPECT_NE(headers.find("X-Tvk-Answer: 42\r\n"), std::string::npos) << headers;
  EXPECT_NE(headers.find("Set-Cookie: " + second + "=zh\r\n"), std::string::npos) << headers;
  EXPECT_EQ(FetchCookieText(headers), cookies);

  // Not asked for: nothing to fill, same body.
  EXPECT_EQ(WebFetch(ServerUrl(query)), body);
}

TEST_F(WebFetchTest, HeadersTooLongForTheBufferGiveNoHeadersAndNoCookies) {
  std::string query = "/respond?body=big&h=" + Escape("Set-Cookie: tvkBig=1") + "&h=" +
                      Escape("X-Padding: " + std::string(2100, 'p'));
  std::string headers = "untouched";
  std::string cookies = "untouched";
  WebFetchOptions options;
  options.cookies = "given=1";
  options.responseHeaders = &headers;
  options.responseCookies = &cookies;
  EXPECT_EQ(WebFetch(ServerUrl(query), options), "big");
  EXPECT_EQ(headers, "");
  EXPECT_EQ(cookies, "");
}

TEST_F(WebFetchTest, FollowsRedirectsUnlessTold) {
  struct Case { int code; bool noRedirect; };
  const Case cases[] = {{301, false}, {302, false}, {303, false}, {307, false},
                        {301, true},  {302, true},  {303, true},  {307, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.code) + (c.noRedirect ? " not followed" : " followed"));
    std::string headers;
    WebFetchOptions options;
    options.responseHeaders = &headers;
    options.noRedirect = c.noRedirect;
    std::string body =
        WebFetch(ServerUrl("/redirect?code=" + std::to_string(c.code) + "&to=" + Escape("/echo")), options);
    if (c.noRedirect) {
      EXPECT_EQ(body, "moved");
      EXPECT_TRUE(headers.starts_with("HTTP/1.0 " + std::to_string(c.code))) << headers;
      EXPECT_NE(headers.find("Location: /echo\r\n"), std::string::npos) << headers;
    } else {
      bool valid = false;
      EchoedRequest landed = ParseEcho(body, &valid);
      EXPECT_TRUE(valid) << body;
      EXPECT_EQ(landed.path, "/echo");
      EXPECT_TRUE(headers.starts_with("HTTP/1.0 200")) << headers;
    }
  }
}

//--- Failures -----------------------------------------------------------------

TEST_F(WebFetchTest, FailuresGiveEmptyBytesAndEmptyOutTexts) {
  struct Case { std::string url; };
  const Case cases[] = {
      {ServerUrl("/drop")},            // the connection closes without an answer
      {"http://127.0.0.1:1/echo"},     // nothing listens there
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    std::string headers = "untouched";
    std::string cookies = "untouched";
    WebFetchOptions options;
    options.timeoutSeconds = 20;
    options.responseHeaders = &headers;
    options.responseCookies = &cookies;
    EXPECT_EQ(WebFetch(c.url, options), "");
    EXPECT_EQ(headers, "");
    EXPECT_EQ(cookies, "");
  }
}

TEST_F(WebFetchTest, BlankUrlsReturnAtOnceWithoutWaiting) {
  CountingPumpHook hook;
  for (const char* url : {"", "   ", " \t "}) {
    std::string headers = "untouched";
    WebFetchOptions options;
    options.responseHeaders = &headers;
    EXPECT_EQ(WebFetch(url, options), "") << "[" << url << "]";
    EXPECT_EQ(headers, "untouched");
  }
  EXPECT_EQ(hook.calls(), 0) << "a wait ran, so a worker was started";
}

//--- Waiting ------------------------------------------------------------------

TEST_F(WebFetchTest, ATimeOutGivesEmptyBytesWhileTheWindowKeepsWorking) {
  ProbeWindow window;
  ASSERT_NE(window.get(), nullptr);
  gLog = WindowLog{};
  CountingPumpHook hook;
  ASSERT_TRUE(PostMessageW(window.get(), kProbeMessage, 0, 0));
  ASSERT_NE(SetTimer(window.get(), kTickTimer, 20, nullptr), 0u);

  std::string headers = "untouched";
  std::string cookies = "untouched";
  WebFetchOptions options;
  options.timeoutSeconds = 1;
  options.responseHeaders = &headers;
  options.responseCookies = &cookies;
  std::string body = WebFetch(ServerUrl("/slow?ms=4000"), options);
  KillTimer(window.get(), kTickTimer);

  EXPECT_EQ(body, "");
  EXPECT_EQ(headers, "untouched");
  EXPECT_EQ(cookies, "untouched");
  // Handled inside the wait, while the slow worker ran; the handler's own fetch worked.
  EXPECT_EQ(gLog.probes, 1);
  EXPECT_GE(gLog.workersAtProbe, 1);
  EXPECT_EQ(gLog.nestedBody, "nested");
  EXPECT_GT(gLog.ticks, 0);
  EXPECT_GT(hook.calls(), 0) << "the window layer's pump hook runs in the wait as well";
}

TEST_F(WebFetchTest, AnAnswerWithinTheTimeOutComesBack) {
  WebFetchOptions options;
  options.timeoutSeconds = 10;
  EXPECT_EQ(WebFetch(ServerUrl("/slow?ms=300&body=late"), options), "late");
}

TEST_F(WebFetchTest, AZeroTimeOutGivesUpAtOnceEvenOnAFastAnswer) {
  for (int seconds : {0, -3}) {
    WebFetchOptions options;
    options.timeoutSeconds = seconds;
    EXPECT_EQ(WebFetch(ServerUrl("/respond?body=fast"), options), "") << seconds;
  }
}

TEST_F(WebFetchTest, AbandonedWorkersFinishOnTheirOwnAndWriteNothingBack) {
  // Each caller's out texts live on the heap and are freed below while their
  // workers still run: a worker never holds the caller's pointers.
  std::vector<std::unique_ptr<std::string>> outs;
  for (int i = 0; i < 4; ++i) {
    outs.push_back(std::make_unique<std::string>("untouched"));
    WebFetchOptions options;
    options.timeoutSeconds = 0;
    options.responseHeaders = outs.back().get();
    EXPECT_EQ(WebFetch(ServerUrl("/slow?ms=1500&body=late"), options), "");
  }
  EXPECT_GE(RunningWebFetchWorkers(), 1);
  outs.resize(2);  // two freed at once

  // More fetches while the abandoned ones run.
  for (int i = 0; i < 3; ++i) EXPECT_EQ(WebFetch(ServerUrl("/respond?body=more")), "more");

  ASSERT_TRUE(WaitUntilNoWorkerRuns(30));
  for (const auto& out : outs) EXPECT_EQ(*out, "untouched");
  EXPECT_EQ(WebFetch(ServerUrl("/respond?body=after")), "after");
}

TEST_F(WebFetchTest, AQuitMessageEndsTheWaitAndIsPostedAgain) {
  PostQuitMessage(7);
  WebFetchOptions options;
  options.timeoutSeconds = 20;
  EXPECT_EQ(WebFetch(ServerUrl("/slow?ms=3000"), options), "");
  MSG message;
  ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 7u);
}

}  // namespace
}  // namespace tvk
