#include "web/UrlParts.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tvk {
namespace {

using namespace std::string_view_literals;

// "丄" in code page 936: its trail byte is "A", which lower-casing must not touch.
constexpr std::string_view kUpperTrail = "\x81\x41"sv;
// A character whose trail byte is "[".
constexpr std::string_view kBracketTrail = "\x81[";

//--- URL pieces ---------------------------------------------------------------

TEST(HostOf, TakesTheLowerCasedHostByTheSchemeRules) {
  struct Case { std::string url; bool rootDomain; bool keepPort; std::string want; };
  const Case cases[] = {
      {"http://www.Example.com/a/b", false, false, "www.example.com"},
      {"www.example.com", false, false, "www.example.com"},                // no scheme: http:// in front
      {"https://a.b.com:8443/x", false, false, "a.b.com"},
      {"https://a.b.com:8443/x", false, true, "a.b.com:8443"},
      {"HTTPS://A.com/x", false, false, "a.com"},                          // the scheme test is on lower case
      {"127.0.0.1:18390/path", false, true, "127.0.0.1:18390"},
      {"127.0.0.1:18390/path", false, false, "127.0.0.1"},
      {"http://a.com?x=1", false, false, "a.com?x=1"},                     // only "/" ends the host
      {"ftp://x.org/?u=http://a.com/b", false, false, "a.com"},            // the first "http://" anywhere
      {"x.org/go?to=http://a.com", false, false, "a.com"},
      {"", false, false, ""},
      {"http://pan.baidu.com/s/1", true, false, "baidu.com"},
      {"http://a.b.c.com:81/", true, true, "c.com:81"},
      {"http://a.b.c.com:81/", true, false, "c.com"},
      {"localhost", true, false, "localhost"},                             // one label stays
      {"http://" + std::string(kUpperTrail) + "B.com/", false, false, std::string(kUpperTrail) + "b.com"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(HostOf(c.url, c.rootDomain, c.keepPort), c.want) << c.url << " root " << c.rootDomain << " port "
                                                                << c.keepPort;
}

TEST(HostOf, WithLevelsKeepsTheLastLabelsOfTheTextBeforeTheFirstSlash) {
  struct Case { const char* url; bool rootDomain; bool keepPort; int levels; const char* want; };
  const Case cases[] = {
      {"http://a.b.example.com/x", false, false, 1, "b.example.com"},  // one dot further without rootDomain
      {"http://a.b.example.com/x", true, false, 1, "example.com"},
      {"http://a.b.example.com/x", true, false, 0, "com"},
      {"http://a.b.example.com/x", false, false, 5, "a.b.example.com"},  // fewer dots: all of it
      {"http://a.b.example.com/x", true, false, -1, "a.b.example.com"},  // no dot searched
      {"https://www.x.com:8080/", true, false, 1, "x.com"},
      {"https://www.x.com:8080/", true, true, 1, "x.com:8080"},
      {"http://a.com/?r=http://b.com", true, false, 1, "a.com"},        // every scheme removed, then cut at "/"
      {"WWW.A.COM", true, false, 1, "a.com"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(HostOf(c.url, c.rootDomain, c.keepPort, c.levels), c.want) << c.url << " levels " << c.levels;
}

TEST(PathOf, TakesEverythingFromTheFirstSlashOfTheHost) {
  struct Case { const char* url; const char* want; };
  const Case cases[] = {
      {"http://a.com/x/y?q=1", "/x/y?q=1"},
      {"http://a.com", "/"},
      {"a.com/p", "/p"},
      {"https://a.com:8443/p", "/p"},
      {"HTTP://A.com/P", "/P"},          // the URL's own case stays
      {"http://a.com?u=/b", "/b"},       // the first "/" after the host starts, even in a query
      {"ftp://x.org/p", "//x.org/p"},    // no http scheme: the host starts at the beginning
      {"", "/"},
  };
  for (const Case& c : cases) EXPECT_EQ(PathOf(c.url), c.want) << c.url;
}

TEST(PortOf, ReadsTheNumberAfterTheHostsLastColonElseTheSchemesPort) {
  struct Case { const char* url; int want; };
  const Case cases[] = {
      {"http://a.com/", 80},
      {"a.com", 80},
      {"https://a.com/", 443},
      {"HTTPS://a.com/", 443},
      {"httpsite.com", 443},  // the lower-cased URL begins with "https"
      {"a.com:8080/x", 8080},
      {"https://a.com:8443", 8443},
      {"http://a.com:/", 0},
      {"http://a.com:12ab/", 12},
      {"http://u:p@a.com:81/", 81},  // the last colon counts
  };
  for (const Case& c : cases) EXPECT_EQ(PortOf(c.url), c.want) << c.url;
}

//--- Marker searches ----------------------------------------------------------

TEST(TextBetweenMarks, TakesTheTextAfterTheHeadUpToTheNextTail) {
  struct Case { std::string source; const char* head; const char* tail; int start; bool ignoreCase; std::string want; };
  const Case cases[] = {
      {"a[b]c", "[", "]", 1, false, "b"},
      {"a[b]c", "{", "]", 1, false, ""},
      {"a[b]c", "[", "}", 1, false, ""},
      {"a[]c", "[", "]", 1, false, ""},
      {"k=\"v\";", "k=#引号", "#引号", 1, false, "v"},
      {"x1x2x", "x", "x", 2, false, "2"},       // the head is searched from the start position
      {"x1x2x", "x", "x", 0, false, "1"},       // below 1 means 1
      {"x1x2x", "x", "x", -5, false, "1"},
      {"x1x2x", "x", "x", 9, false, ""},        // past the end
      {"x1x2x", "x", "x", 5, false, ""},        // the head at the end leaves no tail
      {"<A>x</a>", "<a>", "</A>", 1, true, "x"},
      {"<A>x</a>", "<a>", "</A>", 1, false, ""},
      {"abc", "", "c", 1, false, ""},           // an empty marker counts as missing
      {"abc", "a", "", 1, false, ""},
      {"ab=1;ab=2;", "ab=", ";", 4, false, "2"},
      {std::string(kBracketTrail) + "x]y[z]", "[", "]", 1, false, "z"},  // a trail byte is no "["
  };
  for (const Case& c : cases)
    EXPECT_EQ(TextBetweenMarks(c.source, c.head, c.tail, c.start, c.ignoreCase), c.want)
        << c.source << " | " << c.head << " | " << c.tail << " from " << c.start;
}

TEST(TextBefore, TakesTheTextFromTheBeginningUpToTheFirstMarkFound) {
  struct Case { std::string source; const char* mark; int start; bool ignoreCase; std::string want; };
  const Case cases[] = {
      {"abc=def", "=", 1, false, "abc"},
      {"abc=def", "#", 1, false, ""},
      {"=def", "=", 1, false, ""},
      {"a=b=c", "=", 3, false, "a=b"},   // searched from the start, kept from the beginning
      {"a=b=c", "=", 0, false, "a"},
      {"a=b=c", "=", -3, false, "a"},
      {"a=b=c", "=", 6, false, ""},
      {"KeyXval", "x", 1, true, "Key"},
      {"KeyXval", "x", 1, false, ""},
      {"abc", "", 1, false, ""},
      {std::string(kBracketTrail) + "[", "[", 1, false, std::string(kBracketTrail)},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TextBefore(c.source, c.mark, c.start, c.ignoreCase), c.want) << c.source << " | " << c.mark;
}

//--- Page-fetch request rules -------------------------------------------------

TEST(FetchUrlOf, CompletesTheSchemeInExactCaseAndRefusesBlankUrls) {
  struct Case { const char* url; const char* want; };
  const Case cases[] = {
      {"", ""},
      {"   ", ""},
      {" \t ", ""},
      {"a.com/x", "http://a.com/x"},
      {"http://a.com", "http://a.com"},
      {"https://a.com", "https://a.com"},
      {"HTTP://a.com", "http://HTTP://a.com"},
      {" http://a.com", "http:// http://a.com"},
  };
  for (const Case& c : cases) EXPECT_EQ(FetchUrlOf(c.url), c.want) << "[" << c.url << "]";
}

TEST(FetchTargetOf, UsesPort443ForEveryHttpsUrl) {
  struct Case { const char* url; bool https; const char* host; const char* path; int port; };
  const Case cases[] = {
      {"http://a.com/x?y", false, "a.com", "/x?y", 80},
      {"http://a.com:8080/x", false, "a.com", "/x", 8080},
      {"https://a.com:8443/x", true, "a.com", "/x", 443},
      {"http://a.com/?next=https://b.com", true, "a.com", "/?next=https://b.com", 443},  // "https://" anywhere
      {"http://A.com", false, "a.com", "/", 80},
      {"a.com/x", false, "a.com", "/x", 80},  // no scheme, no port
  };
  for (const Case& c : cases) {
    FetchTarget target = FetchTargetOf(c.url);
    EXPECT_EQ(target.https, c.https) << c.url;
    EXPECT_EQ(target.host, c.host) << c.url;
    EXPECT_EQ(target.path, c.path) << c.url;
    EXPECT_EQ(target.port, c.port) << c.url;
  }
}

TEST(FetchUserAgent, TakesTheExactCaseAgentLineOrTheDefault) {
  struct Case { const char* headers; std::string want; };
  const Case cases[] = {
      {"", std::string(kDefaultFetchAgent)},
      {"X-A: 1\r\n", std::string(kDefaultFetchAgent)},
      {"User-Agent: Foo/1.0\r\n", "Foo/1.0"},
      {"X: 1\r\nUser-Agent: \t Foo bar  \r\nY: 2\r\n", "Foo bar"},
      {"user-agent: foo\r\n", ""},                      // found in any case, read in exact case only
      {"USER-AGENT: a\r\nUser-Agent: b\r\n", "b"},
      {"User-Agent: Foo", ""},                          // no CR LF after it
  };
  for (const Case& c : cases) EXPECT_EQ(FetchUserAgent(c.headers), c.want) << c.headers;
}

TEST(FetchSwitchesOf, TurnsStoreCookiesOffOnlyForANonBlankCookieText) {
  struct Case { const char* url; const char* cookies; bool noRedirect; bool noCookies; bool secure; };
  const Case cases[] = {
      {"http://a.com/", "", false, false, false},
      {"http://a.com/", " \t ", true, false, false},
      {"http://a.com/", "a=1", false, true, false},
      {"https://a.com/", " a ", true, true, true},
  };
  for (const Case& c : cases) {
    FetchSwitches switches = FetchSwitchesOf(FetchTargetOf(c.url), c.cookies, c.noRedirect);
    EXPECT_EQ(switches.noCookies, c.noCookies) << c.url << " [" << c.cookies << "]";
    EXPECT_EQ(switches.noAutoRedirect, c.noRedirect) << c.url;
    EXPECT_EQ(switches.secure, c.secure) << c.url;
  }
}

TEST(BuildFetchHeaders, AddsTheMissingLinesInOrder) {
  const std::string accept =
      "Accept: image/gif, image/bmp, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
      "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*\r\n";
  const std::string url = "http://h/p";
  const std::string referer = "Referer: http://h/p\r\n";
  const std::string language = "Accept-Language: zh-cn\r\n";
  const std::string form = "Content-Type: application/x-www-form-urlencoded\r\n";
  struct Case { std::string headers; bool post; std::string body; std::string cookies; std::string want; };
  const Case cases[] = {
      {"", false, "", "", accept + referer + language},
      {"X-A: 1\r\nRefererNo\r\n", false, "", "", "X-A: 1\r\n\r\n" + accept + language},
      {"RefererNoRefererNo", false, "", "", accept + language},
      // Found in any case, removed in exact case only.
      {"refererno\r\n", false, "", "", "refererno\r\n" + accept + language},
      {"referer: http://x/\r\n", false, "", "", "referer: http://x/\r\n" + accept + language},
      {"X-Referer-Policy: none\r\n", false, "", "", "X-Referer-Policy: none\r\n" + accept + language},
      // "Accept-Language" also counts as "Accept".
      {"Accept-Language: en\r\n", false, "", "", "Accept-Language: en\r\n" + referer},
      {"accept: */*\r\n", false, "", "", "accept: */*\r\n" + referer + language},
      {"", true, "a=1&b=2", "", accept + referer + language + form + "Content-Length: 7\r\n"},
      {"", true, "中文", "", accept + referer + language + form + "Content-Length: 4\r\n"},  // bytes
      {"", true, "", "", accept + referer + language},  // no body: neither line
      {"", false, "x=1", "", accept + referer + language},  // GET sends no body lines
      {"content-type: text/plain\r\n", true, "x", "",
       "content-type: text/plain\r\n" + accept + referer + language + "Content-Length: 1\r\n"},
      {"Content-Length: 99\r\n", true, "x", "", "Content-Length: 99\r\n" + accept + referer + language + form},
      {"", false, "", "a=1; b=2", accept + referer + language + "Cookie: a=1; b=2\r\n\r\n"},
      {"", false, "", " ", accept + referer + language + "Cookie:  \r\n\r\n"},  // sent although blank
      {"", true, "q", "s=1", accept + referer + language + form + "Content-Length: 1\r\nCookie: s=1\r\n\r\n"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(BuildFetchHeaders(c.headers, url, c.post, c.body, c.cookies), c.want)
        << c.headers << " post " << c.post << " body " << c.body << " cookies " << c.cookies;
}

TEST(FetchCookieText, JoinsTheValuesBeforeEachFirstSemicolon) {
  struct Case { const char* headers; const char* want; std::vector<FetchCookie> cookies; };
  const Case cases[] = {
      {"", "", {}},
      {"HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", "", {}},
      {"HTTP/1.1 200 OK\r\nSet-Cookie: SID=abc; path=/\r\nSet-Cookie: lang=zh\r\n\r\n", "SID=abc;;",
       {{"SID", "abc; path=/"}, {"lang", "zh"}}},
      {"HTTP/1.1 200 OK\r\nSet-Cookie: SID=abc; path=/\r\nset-cookie: lang=zh; expires=x\r\n", "SID=abc;lang=zh;",
       {{"SID", "abc; path=/"}, {"lang", "zh; expires=x"}}},
      {"Set-Cookie:a=1;\r\n", "", {}},  // the blank after the colon is part of the name
      {"Set-Cookie: t=a=b;\r\n", "t=a=b;", {{"t", "a=b;"}}},
      {"Set-Cookie: flag; secure\r\n", "flag;", {{"", "flag; secure"}}},
      // The first 12 bytes go, wherever the name stands in the line.
      {"X-Note: Set-Cookie: q=1;\r\n", "Cookie: q=1;", {{"Cookie: q", "1;"}}},
  };
  for (const Case& c : cases) {
    std::vector<FetchCookie> cookies;
    EXPECT_EQ(FetchCookieText(c.headers, &cookies), c.want) << c.headers;
    ASSERT_EQ(cookies.size(), c.cookies.size()) << c.headers;
    for (size_t i = 0; i < cookies.size(); ++i) {
      EXPECT_EQ(cookies[i].name, c.cookies[i].name) << c.headers;
      EXPECT_EQ(cookies[i].data, c.cookies[i].data) << c.headers;
    }
  }
}

}  // namespace
}  // namespace tvk
