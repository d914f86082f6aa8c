// WinHttpClient's fetches against the loopback fake server: what goes on the
// wire (method, headers, cookies, body), time-outs and failures, the body as
// text, the proxy, and the window messages that run while a fetch waits.
#include "web/WinHttpClient.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "util/UiHooks.h"
#include "util/WideText_win.h"
#include "web/FakeServer_win.h"

namespace tvk {
namespace {

using test::FakeServerTest;
using test::QueryValue;
using test::RecordedRequest;
using test::RecordedRequests;
using test::ServerUrl;

// An answer of /respond with the given raw header lines.
std::string RespondUrl(const std::vector<std::string>& headerLines, std::string_view body = "ok") {
  std::string url = ServerUrl("/respond?body=" + QueryValue(body));
  for (const std::string& line : headerLines) url += "&h=" + QueryValue(line);
  return url;
}

using FetchDefaults = FakeServerTest;

TEST_F(FetchDefaults, UrlAloneSendsAGetWithTheBrowserHeaders) {
  WinHttpClient client;
  const std::string url = ServerUrl("/echo?catalogue=1");
  const std::string echoed = client.FetchText(url);
  EXPECT_NE(echoed.find("target /echo?catalogue=1"), std::string::npos) << echoed;

  RecordedRequest sent = OnlyRequest();
  EXPECT_EQ(sent.method, "GET");
  EXPECT_EQ(sent.target, "/echo?catalogue=1");
  EXPECT_EQ(sent.Header("Referer"), url);
  EXPECT_EQ(sent.Header("Content-Type"), "application/x-www-form-urlencoded");
  EXPECT_EQ(sent.Header("User-Agent"), "Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; Trident/5.0)");
  EXPECT_EQ(sent.HeaderCount("User-Agent"), 1);
  EXPECT_EQ(sent.HeaderCount("Cookie"), 0);
  EXPECT_EQ(sent.body, "");
}

TEST_F(FetchDefaults, UrlWithoutSchemeIsFetchedOverHttpWithTheCallersTextAsReferer) {
  WinHttpClient client;
  const std::string schemeless = "  " + std::string(kLoopbackHost) + "/echo?bare=1 ";
  EXPECT_FALSE(client.FetchText(schemeless).empty());
  RecordedRequest sent = OnlyRequest();
  EXPECT_EQ(sent.target, "/echo?bare=1");
  EXPECT_EQ(sent.Header("Referer"), std::string(kLoopbackHost) + "/echo?bare=1");
}

TEST_F(FetchDefaults, CallerHeadersReplaceTheDefaultsAndExtraLinesAreFiltered) {
  WinHttpClient client;
  FetchOptions options;
  options.referer = "http://from.example/page";
  options.contentType = "text/plain; charset=gbk";
  options.userAgent = "TVkitbox/1.0";
  options.extraHeaders = "A: 1\r\nB: \r\nC: 2: 3\r\nD:\r\nX-Name: 软件";
  client.FetchText(ServerUrl("/echo"), options);

  RecordedRequest sent = OnlyRequest();
  EXPECT_EQ(sent.Header("Referer"), "http://from.example/page");
  EXPECT_EQ(sent.Header("Content-Type"), "text/plain; charset=gbk");
  EXPECT_EQ(sent.Header("User-Agent"), "TVkitbox/1.0");
  EXPECT_EQ(sent.HeaderCount("User-Agent"), 1);
  EXPECT_EQ(sent.Header("A"), "1");
  EXPECT_EQ(sent.HeaderCount("B"), 0);
  EXPECT_EQ(sent.Header("C"), "2");
  EXPECT_EQ(sent.HeaderCount("D"), 0);
  EXPECT_EQ(sent.HeaderCount("X-Name"), 1);
}

TEST_F(FetchDefaults, MethodAndBodyFollowTheTwoBodies) {
  struct Case {
    std::string postText;
    std::string postBytes;
    const char* method;
    std::string body;
  };
  const Case cases[] = {
      {"", "", "GET", ""},
      {"name=%E8%BD%AF&v=1", "", "POST", "name=%E8%BD%AF&v=1"},
      {"", std::string("\x01\x00\xFF" "raw", 6), "POST", std::string("\x01\x00\xFF" "raw", 6)},
      {"ignored=1", "bytes=1", "POST", "bytes=1"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(test::ResetServerRecord());
    WinHttpClient client;
    FetchOptions options;
    options.postText = c.postText;
    options.postBytes = c.postBytes;
    client.FetchText(ServerUrl("/echo"), options);
    RecordedRequest sent = OnlyRequest();
    EXPECT_EQ(sent.method, c.method) << c.postText;
    EXPECT_EQ(sent.body, c.body) << c.postText;
    // The form content type goes with every request, GET included.
    EXPECT_EQ(sent.Header("Content-Type"), "application/x-www-form-urlencoded");
  }
}

TEST_F(FetchDefaults, SynchronousFetchGivesTheSameRequest) {
  WinHttpClient client;
  FetchOptions options;
  options.synchronous = true;
  EXPECT_EQ(client.FetchText(RespondUrl({}, "sync body"), options), "sync body");
  EXPECT_EQ(OnlyRequest().Header("User-Agent"), "Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; Trident/5.0)");
}

using FetchCookies = FakeServerTest;

TEST_F(FetchCookies, KeptCookiesKeepTheirAttributesAndGoOutWithTheNextFetch) {
  WinHttpClient client;
  FetchOptions keep;
  keep.keepCookies = true;
  client.FetchText(RespondUrl({"Set-Cookie: a=1; path=/", "Set-Cookie: b=2"}), keep);
  EXPECT_EQ(client.SetCookieLines(), "Set-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\n");
  EXPECT_EQ(client.ResponseCookies(), "a=1; path=/; b=2; ");
  EXPECT_EQ(client.ResponseCookie("a"), "1");

  std::string cookies;
  FetchOptions next;
  next.cookies = &cookies;
  client.FetchText(ServerUrl("/echo"), next);
  EXPECT_EQ(cookies, "a=1; path=/; b=2; ");  // the caller's empty variable received the store
  std::vector<RecordedRequest> sent = RecordedRequests();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[1].HeaderCount("Cookie"), 1);
  EXPECT_EQ(sent[1].Header("Cookie"), "a=1; path=/; b=2; ");
}

TEST_F(FetchCookies, CallerCookieTextRules) {
  WinHttpClient client;
  FetchOptions keep;
  keep.keepCookies = true;
  client.FetchText(RespondUrl({"Set-Cookie: s=stored"}), keep);

  struct Case {
    const char* callerBefore;
    const char* callerAfter;
    int headerCount;
    const char* header;
  };
  const Case cases[] = {
      {"-1", "-1", 1, ""},              // an empty Cookie header, even with a store
      {"own=1", "own=1", 1, "own=1"},   // the caller's text wins
      {"", "s=stored; ", 1, "s=stored; "},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(test::ResetServerRecord());
    std::string cookies = c.callerBefore;
    FetchOptions options;
    options.cookies = &cookies;
    client.FetchText(ServerUrl("/echo"), options);
    EXPECT_EQ(cookies, c.callerAfter) << c.callerBefore;
    RecordedRequest sent = OnlyRequest();
    EXPECT_EQ(sent.HeaderCount("Cookie"), c.headerCount) << c.callerBefore;
    EXPECT_EQ(sent.Header("Cookie"), c.header) << c.callerBefore;
  }
}

TEST_F(FetchCookies, StoreChangesOnlyWithKeepCookiesClearCookiesAndReset) {
  WinHttpClient client;
  FetchOptions keep;
  keep.keepCookies = true;
  auto cookieSent = [&client]() {
    EXPECT_TRUE(test::ResetServerRecord());
    client.FetchText(ServerUrl("/echo"));
    return OnlyRequest().Header("Cookie");
  };

  client.FetchText(RespondUrl({"Set-Cookie: a=1"}), keep);
  EXPECT_EQ(cookieSent(), "a=1; ");
  client.FetchText(RespondUrl({"Set-Cookie: other=2"}));  // not kept: the store stays
  EXPECT_EQ(cookieSent(), "a=1; ");
  client.FetchText(RespondUrl({}), keep);  // kept, but the answer sets none: the store empties
  EXPECT_EQ(cookieSent(), "<none>");

  client.FetchText(RespondUrl({"Set-Cookie: a=1"}), keep);
  EXPECT_EQ(client.ClearCookies(), "");
  EXPECT_EQ(cookieSent(), "<none>");

  client.FetchText(RespondUrl({"Set-Cookie: a=1"}), keep);
  EXPECT_EQ(client.Reset(), "");
  EXPECT_EQ(cookieSent(), "<none>");
}

TEST_F(FetchCookies, OnlyExactCaseSetCookieLinesCount) {
  // (Wine's WinHTTP writes every header line as "Name: value", so the form
  // without a blank after the colon is tested natively only.)
  WinHttpClient client;
  FetchOptions keep;
  keep.keepCookies = true;
  client.FetchText(RespondUrl({"set-cookie: lower=1; path=/", "Set-Cookie: upper=2; path=/"}), keep);
  EXPECT_EQ(client.GetResponseHeader("SET-COOKIE"), "lower=1; path=/");
  EXPECT_EQ(client.SetCookieLines(), "Set-Cookie: upper=2; path=/\r\n");
  EXPECT_EQ(client.ResponseCookie("lower"), "");
  EXPECT_EQ(client.ResponseCookie("upper"), "2");

  ASSERT_TRUE(test::ResetServerRecord());
  client.FetchText(ServerUrl("/echo"));
  EXPECT_EQ(OnlyRequest().Header("Cookie"), "upper=2; path=/; ");
}

TEST_F(FetchCookies, TheRequestObjectAddsNoCookiesOfItsOwn) {
  // A redirect that sets a cookie: WinHTTP would carry it to the next hop
  // itself unless told not to.
  WinHttpClient client;
  const std::string echoed =
      client.FetchText(test::ServerUrl("/respond?status=302&body=moved&h=" + QueryValue("Location: /echo?hop=2") +
                                       "&h=" + QueryValue("Set-Cookie: auto=1; path=/")));
  EXPECT_NE(echoed.find("target /echo?hop=2"), std::string::npos) << echoed;
  std::vector<RecordedRequest> sent = RecordedRequests();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[1].HeaderCount("Cookie"), 0);
}

using FetchFailures = FakeServerTest;

TEST_F(FetchFailures, AnswerPastTheTimeOutGivesEmptyResults) {
  struct Case {
    bool synchronous;
    float seconds;
  };
  // Asynchronous: the wait of 1 s ends first; synchronous: the 1000 ms receive time-out.
  const Case cases[] = {{false, 1}, {true, 1}, {false, 1.5f}};
  for (const Case& c : cases) {
    WinHttpClient client;
    FetchOptions options;
    options.timeoutSeconds = c.seconds;
    options.synchronous = c.synchronous;
    EXPECT_EQ(client.FetchText(ServerUrl("/slow?ms=3500"), options), "") << c.synchronous << " " << c.seconds;
    EXPECT_EQ(client.Status(), 0);
  }
  WinHttpClient client;
  FetchOptions options;
  options.timeoutSeconds = 1;
  EXPECT_EQ(client.FetchBytes(ServerUrl("/slow?ms=3500"), options), "");
}

TEST_F(FetchFailures, AnswersWithinTheTimeOutArrive) {
  struct Case {
    float seconds;
    const char* path;
  };
  const Case cases[] = {
      {5, "/slow?ms=200&body=five"},
      {0, "/slow?ms=1500&body=defaults"},   // 10/10/60/120 s and a 120 s wait
      {-1, "/slow?ms=1500&body=none-set"},  // the component's own time-outs, a 120 s wait
  };
  for (const Case& c : cases) {
    WinHttpClient client;
    FetchOptions options;
    options.timeoutSeconds = c.seconds;
    const std::string path = c.path;
    EXPECT_EQ(client.FetchText(ServerUrl(c.path), options), path.substr(path.find("body=") + 5)) << c.seconds;
  }
}

TEST_F(FetchFailures, MinusOneKeepsTheTimeOutsOfTheLastFetch) {
  FetchOptions shortTimeouts;
  shortTimeouts.timeoutSeconds = 1;
  FetchOptions none;
  none.timeoutSeconds = -1;
  none.synchronous = true;

  WinHttpClient used;
  EXPECT_FALSE(used.FetchText(ServerUrl("/echo"), shortTimeouts).empty());
  EXPECT_EQ(used.FetchText(ServerUrl("/slow?ms=2500"), none), "");  // still the 1000 ms receive time-out

  WinHttpClient fresh;
  EXPECT_EQ(fresh.FetchText(ServerUrl("/slow?ms=2500"), none), "slow done");
}

TEST_F(FetchFailures, DroppedConnectionAndUnreachableServerGiveEmptyResults) {
  WinHttpClient client;
  EXPECT_EQ(client.FetchText(ServerUrl("/drop")), "");
  EXPECT_EQ(client.Status(), 0);
  EXPECT_EQ(client.FetchBytes(ServerUrl("/drop")), "");
  EXPECT_EQ(client.GetAllResponseHeaders(), "");
  EXPECT_FALSE(RecordedRequests().empty());  // it did reach the server

  // Port 1 on loopback: nobody listens, the connection is refused.
  EXPECT_EQ(client.FetchText("http://127.0.0.1:1/box.txt"), "");
  EXPECT_EQ(client.FetchText("http://[::1"), "");  // not a URL at all
}

TEST_F(FetchFailures, BodyOfAnyStatusIsTheResult) {
  struct Case {
    int status;
    const char* body;
    const char* statusText;
  };
  const Case cases[] = {{404, "gone", "Not Found"}, {500, "broken", "Internal Server Error"}, {200, "fine", "OK"}};
  for (const Case& c : cases) {
    WinHttpClient client;
    const std::string url =
        ServerUrl("/respond?status=" + std::to_string(c.status) + "&body=" + QueryValue(c.body));
    EXPECT_EQ(client.FetchText(url), c.body);
    EXPECT_EQ(client.Status(), c.status);
    EXPECT_EQ(client.StatusText(), c.statusText);
    EXPECT_EQ(client.FetchBytes(url), c.body);
  }
}

using FetchBody = FakeServerTest;

TEST_F(FetchBody, CatalogueInEveryEncodingDecodesToTheGbkText) {
  struct Case {
    const char* query;     // the encoded body
    int encoding;          // FetchText's encoding argument
    const char* original;  // the same text as GBK bytes, fetched raw
  };
  const Case cases[] = {
      {"enc=gbk", 0, "enc=gbk"},
      {"enc=utf8", 0, "enc=gbk"},
      {"enc=utf8bom", 0, "enc=gbk"},
      {"enc=utf16le", 0, "enc=gbk"},
      {"enc=utf8&meta=utf-8", 0, "enc=gbk&meta=utf-8"},
      {"enc=big5&variant=t&meta=Big5", 0, "enc=gbk&variant=t&meta=Big5"},
      {"enc=utf8", 2, "enc=gbk"},
      {"enc=utf8bom", 2, "enc=gbk"},
      {"enc=big5&variant=t", 5, "enc=gbk&variant=t"},
      {"enc=big5&variant=t", 0, "enc=big5&variant=t"},  // nothing tells Big5: bytes unchanged
      {"enc=gbk", 1, "enc=gbk"},
  };
  for (const Case& c : cases) {
    WinHttpClient client;
    FetchOptions raw;
    raw.encoding = -1;
    const std::string expected = client.FetchText(ServerUrl(std::string("/box.txt?") + c.original), raw);
    ASSERT_FALSE(expected.empty()) << c.original;
    FetchOptions options;
    options.encoding = c.encoding;
    EXPECT_EQ(client.FetchText(ServerUrl(std::string("/box.txt?") + c.query), options), expected)
        << c.query << " as " << c.encoding;
  }
  WinHttpClient client;
  const std::string catalogue = client.FetchText(ServerUrl("/box.txt"));
  EXPECT_EQ(catalogue.rfind("[盒子]\r\n最新版本=1.0.9.1\r\n", 0), 0u) << catalogue;
  EXPECT_NE(catalogue.find("[Tavrel·文本编辑器]"), std::string::npos);
  EXPECT_NE(client.FetchText(ServerUrl("/box.txt?enc=big5&variant=t&meta=big5")).find("[Tavrel·軟體編輯器]"),
            std::string::npos);
}

TEST_F(FetchBody, RawTextStopsAtZeroAndBytesKeepEverything) {
  WinHttpClient client;
  const std::string url = ServerUrl("/respond?body_hex=414200FF43");
  FetchOptions raw;
  raw.encoding = -1;
  EXPECT_EQ(client.FetchText(url, raw), "AB");
  EXPECT_EQ(client.FetchBytes(url), std::string("AB\0\xFF" "C", 5));
  EXPECT_EQ(client.ResponseBody(), std::string("AB\0\xFF" "C", 5));
  std::istringstream stream = client.ResponseStream();
  std::string streamed((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
  EXPECT_EQ(streamed, std::string("AB\0\xFF" "C", 5));
}

TEST_F(FetchBody, ResponseTextFollowsTheCharsetOfTheAnswer) {
  struct Case {
    const char* bodyHex;
    const char* type;
    const char* expected;
  };
  const Case cases[] = {
      {"E8BDAFE4BBB6", "text/plain; charset=utf-8", "软件"},
      {"C8EDBCFE", "text/plain; charset=gb2312", "软件"},
      {"E8BDAFE4BBB6", "text/plain", "软件"},  // no charset: detected
  };
  for (const Case& c : cases) {
    WinHttpClient client;
    FetchOptions options;
    options.encoding = -2;
    const std::string url = ServerUrl(std::string("/respond?body_hex=") + c.bodyHex + "&type=" + QueryValue(c.type));
    EXPECT_EQ(client.FetchText(url, options), c.expected) << c.type;
    EXPECT_EQ(client.ResponseText(), c.expected) << c.type;
  }
}

// Sets the browser's ProxyServer value for one test and puts back what was there.
class BrowserProxySetting {
 public:
  static constexpr const wchar_t* kKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

  BrowserProxySetting() {
    DWORD bytes = sizeof saved_;
    had_ = RegGetValueW(HKEY_CURRENT_USER, kKey, L"ProxyServer", RRF_RT_REG_SZ, nullptr, saved_, &bytes) ==
           ERROR_SUCCESS;
  }
  ~BrowserProxySetting() {
    if (had_) {
      Write(saved_);
    } else {
      Remove();
    }
  }
  BrowserProxySetting(const BrowserProxySetting&) = delete;
  BrowserProxySetting& operator=(const BrowserProxySetting&) = delete;

  bool Write(const std::wstring& value) {
    return RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"ProxyServer", REG_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
  }
  void Remove() { RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, L"ProxyServer"); }

 private:
  bool had_ = false;
  wchar_t saved_[512] = {};
};

using FetchProxy = FakeServerTest;

// A host that only the fake server, as a proxy, can answer for.
constexpr const char* kProxiedUrl = "http://proxied.tvkitbox.test/echo?via=proxy";

TEST_F(FetchProxy, IeTakesTheBrowsersProxyServer) {
  BrowserProxySetting browser;
  ASSERT_TRUE(browser.Write(Widen(kLoopbackHost)));
  WinHttpClient client;
  FetchOptions options;
  options.proxy = "IE";
  EXPECT_FALSE(client.FetchText(kProxiedUrl, options).empty());
  RecordedRequest sent = OnlyRequest();
  EXPECT_TRUE(sent.proxied);
  // The request line names the whole URL (Wine's WinHTTP adds the port ":80").
  EXPECT_EQ(sent.target.rfind("http://proxied.tvkitbox.test", 0), 0u) << sent.target;
  EXPECT_EQ(sent.path, "/echo");
  EXPECT_EQ(sent.query, "via=proxy");
  EXPECT_EQ(sent.Header("Host"), "proxied.tvkitbox.test");
}

TEST_F(FetchProxy, IeWithoutABrowserProxyGoesDirect) {
  BrowserProxySetting browser;
  browser.Remove();
  WinHttpClient client;
  FetchOptions viaLoopback;
  viaLoopback.proxy = kLoopbackHost;
  client.FetchText(kProxiedUrl, viaLoopback);
  FetchOptions ie;
  ie.proxy = "IE";
  EXPECT_FALSE(client.FetchText(ServerUrl("/echo?direct=1"), ie).empty());
  std::vector<RecordedRequest> sent = RecordedRequests();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_TRUE(sent[0].proxied);
  EXPECT_FALSE(sent[1].proxied);  // SetProxy(0, "") replaced the proxy of the first fetch
  EXPECT_EQ(sent[1].target, "/echo?direct=1");
}

TEST_F(FetchProxy, MinusOneAndLeftOutKeepTheProxyOfTheObjectAndEmptyResetsIt) {
  WinHttpClient client;
  struct Step {
    std::optional<std::string> proxy;
    bool proxied;
  };
  const Step steps[] = {
      {std::string(kLoopbackHost), true},
      {std::string("-1"), true},  // no proxy step: the object's setting stays
      {std::nullopt, true},
      {std::string(""), false},   // SetProxy(0, ""): WinHTTP's own setting, direct here
  };
  for (const Step& step : steps) {
    ASSERT_TRUE(test::ResetServerRecord());
    FetchOptions options;
    options.proxy = step.proxy;
    client.FetchText(step.proxied ? std::string(kProxiedUrl) : ServerUrl("/echo"), options);
    EXPECT_EQ(OnlyRequest().proxied, step.proxied) << step.proxy.value_or("<left out>");
  }
}

using FetchWaiting = FakeServerTest;

TEST_F(FetchWaiting, WindowMessagesRunWhileAFetchWaits) {
  for (bool synchronous : {false, true}) {
    int pumped = 0;
    SetMessagePumpHook([&pumped] { ++pumped; });
    WinHttpClient client;
    FetchOptions options;
    options.synchronous = synchronous;
    EXPECT_EQ(client.FetchText(ServerUrl("/slow?ms=600&body=late"), options), "late");
    SetMessagePumpHook(nullptr);
    EXPECT_GT(pumped, 1) << synchronous;
  }
}

TEST_F(FetchWaiting, HandlerThatRecreatesTheClientDuringTheWaitIsSafe) {
  WinHttpClient client;
  bool recreated = false;
  SetMessagePumpHook([&] {
    if (!recreated) {
      recreated = true;
      client.Reset();
    }
  });
  const std::string text = client.FetchText(ServerUrl("/slow?ms=300"));
  SetMessagePumpHook(nullptr);
  EXPECT_TRUE(recreated);
  EXPECT_EQ(text, "");  // the answer belongs to the request object that was let go
  EXPECT_EQ(client.FetchText(RespondUrl({}, "after")), "after");
}

}  // namespace
}  // namespace tvk
