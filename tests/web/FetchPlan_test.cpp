#include "web/FetchPlan.h"

#include <gtest/gtest.h>

namespace tvk {
namespace {

std::string HeaderOf(const FetchPlan& plan, std::string_view name) {
  const std::string* value = FindHeader(plan.headers, name);
  return value ? *value : "<none>";
}

TEST(FetchTimeouts, ThreeRulesAndTheWait) {
  struct Case {
    double seconds;
    bool set;
    int milliseconds[4];
    int wait;
  };
  const Case cases[] = {
      {-1, false, {}, 120},
      {-1 + 5e-8, false, {}, 120},
      {-1.001, true, {10000, 10000, 60000, 120000}, 120},
      {0, true, {10000, 10000, 60000, 120000}, 120},
      {0.5, true, {10000, 10000, 60000, 120000}, 120},
      {-7, true, {10000, 10000, 60000, 120000}, 120},
      {1, true, {1000, 1000, 1000, 1000}, 1},
      {2.5, true, {2500, 2500, 2500, 2500}, 2},
      {30, true, {30000, 30000, 30000, 30000}, 30},
      {1e12, true, {2147483647, 2147483647, 2147483647, 2147483647}, 2147483647},
  };
  for (const Case& c : cases) {
    TimeoutPlan plan = PlanTimeouts(c.seconds);
    EXPECT_EQ(plan.waitSeconds, c.wait) << c.seconds;
    ASSERT_EQ(plan.timeouts.has_value(), c.set) << c.seconds;
    if (!c.set) continue;
    EXPECT_EQ(plan.timeouts->resolve, c.milliseconds[0]) << c.seconds;
    EXPECT_EQ(plan.timeouts->connect, c.milliseconds[1]) << c.seconds;
    EXPECT_EQ(plan.timeouts->send, c.milliseconds[2]) << c.seconds;
    EXPECT_EQ(plan.timeouts->receive, c.milliseconds[3]) << c.seconds;
  }
}

TEST(FetchTimeouts, BytesFetchTruncatesTheSecondsFirst) {
  FetchOptions options;
  options.timeoutSeconds = 2.5f;
  FetchPlan bytes = PlanFetch("http://h/", options, "", true);
  ASSERT_TRUE(bytes.timing.timeouts);
  EXPECT_EQ(bytes.timing.timeouts->receive, 2000);
  EXPECT_EQ(bytes.timing.waitSeconds, 2);
  FetchPlan text = PlanFetch("http://h/", options, "", false);
  ASSERT_TRUE(text.timing.timeouts);
  EXPECT_EQ(text.timing.timeouts->receive, 2500);

  options.timeoutSeconds = 0.9f;  // 0 as a whole number: the defaults
  EXPECT_EQ(PlanFetch("http://h/", options, "", true).timing.timeouts->receive, 120000);
  options.timeoutSeconds = -1.5f;  // -1 as a whole number: none
  EXPECT_FALSE(PlanFetch("http://h/", options, "", true).timing.timeouts);
  EXPECT_TRUE(PlanFetch("http://h/", options, "", false).timing.timeouts);
}

TEST(SetTimeoutsRule, NonPositiveValuesTakeTheResolveValue) {
  Timeouts t = FillTimeouts(700, 0, -5, 900);
  EXPECT_EQ(t.resolve, 700);
  EXPECT_EQ(t.connect, 700);
  EXPECT_EQ(t.send, 700);
  EXPECT_EQ(t.receive, 900);
}

TEST(SchemeCompletion, OnlyUrlsWithoutHttpOrHttpsGetOne) {
  struct Case {
    const char* url;
    const char* expected;
  };
  const Case cases[] = {
      {"host/path", "http://host/path"},
      {"127.0.0.1:18380/box.txt", "http://127.0.0.1:18380/box.txt"},
      {"http://a/", "http://a/"},
      {"HTTP://a/", "HTTP://a/"},
      {"HtTpS://a/", "HtTpS://a/"},
      {"ftp://a/", "http://ftp://a/"},
      {"https:/a", "http://https:/a"},
      {"", "http://"},
  };
  for (const Case& c : cases) {
    std::string url = c.url;
    EXPECT_EQ(CompleteScheme(url), std::string(c.url) != c.expected) << c.url;
    EXPECT_EQ(url, c.expected);
  }
}

TEST(FetchPlanning, UrlAloneGivesTheCatalogueRequest) {
  FetchPlan plan = PlanFetch("  http://127.0.0.1:18380/box.txt ", {}, "", false);
  EXPECT_EQ(plan.method, "GET");
  EXPECT_EQ(plan.url, "http://127.0.0.1:18380/box.txt");
  EXPECT_TRUE(plan.asynchronous);
  ASSERT_EQ(plan.headers.size(), 3u);
  EXPECT_EQ(plan.headers[0].name, "Referer");
  EXPECT_EQ(plan.headers[0].value, "http://127.0.0.1:18380/box.txt");
  EXPECT_EQ(plan.headers[1].name, "Content-Type");
  EXPECT_EQ(plan.headers[1].value, "application/x-www-form-urlencoded");
  EXPECT_EQ(plan.headers[2].name, "User-Agent");
  EXPECT_EQ(plan.headers[2].value, "Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; Trident/5.0)");
  EXPECT_FALSE(plan.proxy);
  EXPECT_EQ(plan.body, "");
  ASSERT_TRUE(plan.timing.timeouts);
  EXPECT_EQ(plan.timing.timeouts->connect, 10000);
  EXPECT_EQ(plan.timing.waitSeconds, 120);
}

TEST(FetchPlanning, RefererIsTheTrimmedUrlBeforeSchemeCompletion) {
  FetchPlan plan = PlanFetch(" host/a b ", {}, "", false);
  EXPECT_EQ(plan.url, "host/a b");
  EXPECT_EQ(HeaderOf(plan, "Referer"), "host/a b");
}

TEST(FetchPlanning, MethodAndBodyFollowTheTwoBodies) {
  struct Case {
    const char* postText;
    std::string postBytes;
    const char* method;
    std::string body;
  };
  const Case cases[] = {
      {"", "", "GET", ""},
      {"a=1", "", "POST", "a=1"},
      {"", std::string("\x01\x00\x02", 3), "POST", std::string("\x01\x00\x02", 3)},
      {"a=1", "raw", "POST", "raw"},
  };
  for (const Case& c : cases) {
    FetchOptions options;
    options.postText = c.postText;
    options.postBytes = c.postBytes;
    FetchPlan plan = PlanFetch("http://h/", options, "", false);
    EXPECT_EQ(plan.method, c.method) << c.postText;
    EXPECT_EQ(plan.body, c.body) << c.postText;
  }
}

TEST(FetchPlanning, CallerHeadersReplaceTheDefaults) {
  FetchOptions options;
  options.referer = "http://from/";
  options.contentType = "text/plain";
  options.userAgent = "tvk/1";
  options.extraHeaders = "A: 1\r\nB: \r\nC: 2: 3\r\nReferer: http://extra/";
  options.synchronous = true;
  FetchPlan plan = PlanFetch("http://h/", options, "", false);
  EXPECT_FALSE(plan.asynchronous);
  EXPECT_EQ(HeaderOf(plan, "Referer"), "http://extra/");  // a later SetRequestHeader replaces it
  EXPECT_EQ(HeaderOf(plan, "Content-Type"), "text/plain");
  EXPECT_EQ(HeaderOf(plan, "User-Agent"), "tvk/1");
  EXPECT_EQ(HeaderOf(plan, "A"), "1");
  EXPECT_EQ(HeaderOf(plan, "B"), "<none>");
  EXPECT_EQ(HeaderOf(plan, "C"), "2");
}

TEST(FetchPlanning, CookieRules) {
  struct Case {
    const char* stored;
    const char* callerBefore;
    const char* callerAfter;
    const char* header;  // "<none>": no Cookie header
  };
  const Case cases[] = {
      {"", "", "", "<none>"},
      {"a=1; ", "", "a=1; ", "a=1; "},
      {"a=1; ", "-1", "-1", ""},
      {"", "-1", "-1", ""},
      {"a=1; ", "b=2", "b=2", "b=2"},
      {"", "b=2", "b=2", "b=2"},
  };
  for (const Case& c : cases) {
    std::string cookies = c.callerBefore;
    FetchOptions options;
    options.cookies = &cookies;
    FetchPlan plan = PlanFetch("http://h/", options, c.stored, false);
    EXPECT_EQ(cookies, c.callerAfter) << c.stored << " / " << c.callerBefore;
    EXPECT_EQ(HeaderOf(plan, "Cookie"), c.header) << c.stored << " / " << c.callerBefore;
  }
  // No variable passed: the store still goes out.
  EXPECT_EQ(HeaderOf(PlanFetch("http://h/", {}, "s=1; ", false), "Cookie"), "s=1; ");
  EXPECT_EQ(HeaderOf(PlanFetch("http://h/", {}, "", false), "Cookie"), "<none>");
}

TEST(FetchPlanning, ProxyStepOnlyWhenPassedAndNotMinusOne) {
  struct Case {
    std::optional<std::string> proxy;
    std::optional<std::string> planned;
  };
  const Case cases[] = {
      {std::nullopt, std::nullopt},
      {"-1", std::nullopt},
      {"", ""},
      {"IE", "IE"},
      {"10.0.0.1:8080", "10.0.0.1:8080"},
  };
  for (const Case& c : cases) {
    FetchOptions options;
    options.proxy = c.proxy;
    EXPECT_EQ(PlanFetch("http://h/", options, "", false).proxy, c.planned);
  }
}

TEST(FetchPlanning, IeStandsForTheBrowsersProxyServer) {
  int reads = 0;
  auto browser = [&reads] {
    ++reads;
    return std::string("proxy.lan:3128");
  };
  EXPECT_EQ(ResolveProxyText("IE", browser), "proxy.lan:3128");
  EXPECT_EQ(reads, 1);
  EXPECT_EQ(ResolveProxyText("ie", browser), "ie");
  EXPECT_EQ(ResolveProxyText("IE:80", browser), "IE:80");
  EXPECT_EQ(ResolveProxyText("", browser), "");
  EXPECT_EQ(reads, 1);
  EXPECT_EQ(ResolveProxyText("IE", [] { return std::string(); }), "");
}

TEST(ProbeHeaderLists, ProbeAndOldBrowserProbe) {
  std::vector<HeaderLine> probe = ProbeHeaders(kBrowserUserAgent, "http://from/");
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"User-Agent", "Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; Trident/5.0)"},
      {"Accept-Language", "zh-cn"},
      {"Connection", "Keep-Alive"},
      {"Accept",
       "image/gif, image/x-xbitmap, image/jpeg, imagepeg, application/x-shockwave-flash, application/x-silverlight, "
       "*/*"},
      {"Referer", "http://from/"},
  };
  ASSERT_EQ(probe.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(probe[i].name, expected[i].first);
    EXPECT_EQ(probe[i].value, expected[i].second);
  }
  std::vector<HeaderLine> old = ProbeHeaders(kOldBrowserUserAgent, "");
  ASSERT_EQ(old.size(), 4u);
  EXPECT_EQ(old[0].value, "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1)");
}

TEST(RawText, StopsAtTheFirstZeroByte) {
  EXPECT_EQ(TextUpToZero(std::string("AB\0CD", 5)), "AB");
  EXPECT_EQ(TextUpToZero("ABC"), "ABC");
  EXPECT_EQ(TextUpToZero(std::string("\0A", 2)), "");
}

}  // namespace
}  // namespace tvk
