// WinHttpClient's redirect probes, the request object's own operations and the
// sharing of one request object by copies, against the loopback fake server.
#include <windows.h>

#include <gtest/gtest.h>

#include "web/FakeServer_win.h"
#include "web/WinHttpClient.h"

namespace tvk {
namespace {

using test::FakeServerTest;
using test::QueryValue;
using test::RecordedRequest;
using test::RecordedRequests;
using test::ServerUrl;

// A chain of `hops` redirects of kind `code` ending at /respond?body=final.
std::string ChainUrl(int hops, int code = 302) {
  return ServerUrl("/redirect?n=" + std::to_string(hops) + "&code=" + std::to_string(code) +
                   "&to=" + QueryValue("/respond?body=final"));
}

using Redirects = FakeServerTest;

TEST_F(Redirects, FetchFollowsChainsUntilAProbeTurnsThemOffForGood) {
  for (int code : {301, 302}) {
    WinHttpClient client;
    EXPECT_EQ(client.FetchText(ChainUrl(3, code)), "final") << code;

    EXPECT_EQ(client.ProbeRedirect(ChainUrl(1, code)), "/respond?body=final") << code;
    // From now on this request object stops at the first redirect.
    EXPECT_EQ(client.FetchText(ChainUrl(3, code)), "moved") << code;
    EXPECT_EQ(client.Status(), code);
    EXPECT_EQ(client.GetResponseHeader("Location"),
              "/redirect?n=2&code=" + std::to_string(code) + "&to=%2Frespond%3Fbody%3Dfinal");
    EXPECT_EQ(std::get<bool>(client.Option(kOptionEnableRedirects)), false);
  }
}

TEST_F(Redirects, ProbeGivesEachLocationOfAChainInTurn) {
  WinHttpClient client;
  std::string next = client.ProbeRedirect(ChainUrl(2));
  ASSERT_EQ(next.rfind("/redirect?", 0), 0u) << next;
  EXPECT_EQ(client.ProbeRedirect(ServerUrl(next)), "/respond?body=final");
  EXPECT_EQ(client.ProbeRedirect(ServerUrl("/respond?body=final")), "");  // no redirect: no Location
}

TEST_F(Redirects, ProbeSendsTheProbeHeaders) {
  struct Case {
    const char* referer;
    bool synchronous;
  };
  const Case cases[] = {{"", false}, {"http://from.example/", true}};
  for (const Case& c : cases) {
    ASSERT_TRUE(test::ResetServerRecord());
    WinHttpClient client;
    const std::string url = ChainUrl(1);
    EXPECT_EQ(client.ProbeRedirect(url, c.synchronous, c.referer), "/respond?body=final");
    RecordedRequest sent = OnlyRequest();
    EXPECT_EQ(sent.method, "GET");
    EXPECT_EQ(sent.Header("User-Agent"), "Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; Trident/5.0)");
    EXPECT_EQ(sent.Header("Accept-Language"), "zh-cn");
    EXPECT_EQ(sent.Header("Connection"), "Keep-Alive");
    EXPECT_EQ(sent.Header("Accept"),
              "image/gif, image/x-xbitmap, image/jpeg, imagepeg, application/x-shockwave-flash, "
              "application/x-silverlight, */*");
    EXPECT_EQ(sent.Header("Referer"), *c.referer ? std::string(c.referer) : url);
    EXPECT_EQ(sent.HeaderCount("Content-Type"), 0);
  }
}

TEST_F(Redirects, ProbeCompletesTheSchemeButLocationOfDoesNot) {
  WinHttpClient client;
  const std::string schemeless = std::string(kLoopbackHost) + "/redirect?to=%2Ffound";
  EXPECT_EQ(client.ProbeRedirect(schemeless), "/found");
  EXPECT_EQ(client.LocationOf(schemeless), "");  // opened as it is: not an http URL
  EXPECT_EQ(RecordedRequests().size(), 1u);
}

TEST_F(Redirects, LocationOfProbesWithTheOldBrowserIdentity) {
  WinHttpClient client;
  EXPECT_EQ(client.LocationOf(ChainUrl(1)), "/respond?body=final");
  RecordedRequest sent = OnlyRequest();
  EXPECT_EQ(sent.Header("User-Agent"), "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1)");
  EXPECT_EQ(sent.Header("Accept-Language"), "zh-cn");
  EXPECT_EQ(sent.HeaderCount("Referer"), 0);
  EXPECT_EQ(client.FetchText(ChainUrl(1)), "moved");  // it turned redirects off too
}

TEST_F(Redirects, ProbeStatusGivesTheCodeWithoutFollowing) {
  struct Case {
    std::string url;
    int status;
  };
  const Case cases[] = {
      {ChainUrl(2, 301), 301},
      {ServerUrl("/respond?status=404"), 404},
      {ServerUrl("/respond"), 200},
      {ServerUrl("/drop"), 0},
  };
  for (const Case& c : cases) {
    WinHttpClient client;
    EXPECT_EQ(client.ProbeStatus(c.url), c.status) << c.url;
    EXPECT_EQ(client.ProbeStatus(c.url, true), c.status) << c.url;
  }
  WinHttpClient client;
  client.ProbeStatus(ServerUrl("/respond"));
  EXPECT_EQ(client.FetchText(ChainUrl(1)), "moved");
}

TEST_F(Redirects, ProbeFailuresGiveEmptyText) {
  WinHttpClient client;
  EXPECT_EQ(client.ProbeRedirect(ServerUrl("/drop")), "");
  EXPECT_EQ(client.ProbeRedirect("http://127.0.0.1:1/"), "");
  // The probe's own receive time-out is 5 s: a later redirect is not seen.
  EXPECT_EQ(client.ProbeRedirect(ServerUrl("/slow?ms=7000")), "");
}

using SharedRequest = FakeServerTest;

TEST_F(SharedRequest, CopiesShareTheRequestObjectButNotTheCookieStore) {
  WinHttpClient original;
  FetchOptions keep;
  keep.keepCookies = true;
  original.FetchText(ServerUrl("/respond?h=" + QueryValue("Set-Cookie: kept=1")), keep);

  WinHttpClient copy = original;
  EXPECT_EQ(copy.RequestObject(), original.RequestObject());
  copy.ProbeRedirect(ChainUrl(1));
  EXPECT_EQ(original.FetchText(ChainUrl(1)), "moved");  // the copy's probe turned them off here too

  copy.ClearCookies();
  ASSERT_TRUE(test::ResetServerRecord());
  original.FetchText(ServerUrl("/echo"));
  copy.FetchText(ServerUrl("/echo"));
  std::vector<RecordedRequest> sent = RecordedRequests();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0].Header("Cookie"), "kept=1; ");
  EXPECT_EQ(sent[1].HeaderCount("Cookie"), 0);

  copy.Recreate();  // the copy lets go; the original keeps the old object
  EXPECT_NE(copy.RequestObject(), original.RequestObject());
  EXPECT_EQ(copy.FetchText(ChainUrl(1)), "final");
  EXPECT_EQ(original.FetchText(ChainUrl(1)), "moved");
}

TEST_F(SharedRequest, ResetGivesANewObjectWithRedirectsOn) {
  WinHttpClient client;
  client.ProbeRedirect(ChainUrl(1));
  EXPECT_EQ(client.Reset(), "");
  EXPECT_EQ(client.FetchText(ChainUrl(2)), "final");
}

using RequestOperations = FakeServerTest;

TEST_F(RequestOperations, OpenCompletesTheSchemeInTheCallersVariable) {
  struct Case {
    std::string url;
    std::string opened;
  };
  const Case cases[] = {
      {"example.test/a", "http://example.test/a"},
      {"HTTPS://Example.test/b", "HTTPS://Example.test/b"},
      {"Http://example.test/c", "Http://example.test/c"},
      {"https://example.test/d", "https://example.test/d"},
  };
  WinHttpClient client;
  for (const Case& c : cases) {
    std::string url = c.url;
    EXPECT_TRUE(client.Open(std::nullopt, url));
    EXPECT_EQ(url, c.opened);
    EXPECT_EQ(std::get<std::string>(client.Option(kOptionUrl)), c.opened);
  }
  EXPECT_TRUE(RecordedRequests().empty());  // opening sends nothing
}

TEST_F(RequestOperations, ThinWrappersDriveOneRequest) {
  WinHttpClient client;
  std::string url = ServerUrl("/echo?thin=1");
  ASSERT_TRUE(client.Open("PUT", url, true));
  client.SetRequestHeader("X-One", "1");
  client.SetRequestHeader("x-one", "2");  // replaces
  client.SetTimeouts(3000);
  client.Send("text body", "byte body");
  EXPECT_TRUE(client.WaitForResponse(10));
  EXPECT_EQ(client.Status(), 200);
  EXPECT_NE(client.GetAllResponseHeaders().find("Content-Type: text/plain"), std::string::npos);
  EXPECT_EQ(client.GetAllResponseHeaders().find("HTTP/1."), std::string::npos);  // no status line
  RecordedRequest sent = OnlyRequest();
  EXPECT_EQ(sent.method, "PUT");
  EXPECT_EQ(sent.Header("X-One"), "2");
  EXPECT_EQ(sent.HeaderCount("X-One"), 1);
  EXPECT_EQ(sent.body, "byte body");
  // The component's own defaults when nobody sets them.
  EXPECT_EQ(sent.Header("User-Agent"), "Mozilla/4.0 (compatible; Win32; WinHttp.WinHttpRequest.5)");
  EXPECT_EQ(sent.Header("Accept"), "*/*");
}

TEST_F(RequestOperations, AbortAndWaitOnASlowAnswer) {
  WinHttpClient client;
  std::string url = ServerUrl("/slow?ms=2000");
  client.Open("GET", url, true);
  client.Send();
  EXPECT_FALSE(client.WaitForResponse(0));
  client.Abort();
  EXPECT_FALSE(client.WaitForResponse(5));
  EXPECT_EQ(client.Status(), 0);
  EXPECT_EQ(client.ResponseBody(), "");
}

TEST_F(RequestOperations, OptionWritesTheFirstGivenValueAndReadsBack) {
  WinHttpClient client;
  EXPECT_EQ(std::get<std::string>(client.Option(kOptionUserAgentString)),
            "Mozilla/4.0 (compatible; Win32; WinHttp.WinHttpRequest.5)");
  EXPECT_EQ(std::get<std::string>(client.Option(kOptionUserAgentString, std::nullopt, "agent/2", "ignored")),
            "agent/2");
  EXPECT_EQ(std::get<bool>(client.Option(kOptionEnableRedirects)), true);
  EXPECT_EQ(std::get<bool>(client.Option(kOptionEnableRedirects, 0, "ignored")), false);
  EXPECT_EQ(std::get<int>(client.Option(kOptionMaxAutomaticRedirects, 1)), 1);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(client.Option(99, 5)));

  // The agent goes out when no header sets one; one redirect at most.
  client.Option(kOptionEnableRedirects, 1);
  std::string url = ChainUrl(2);
  client.Open("GET", url);
  client.Send();
  EXPECT_EQ(client.Status(), 0);  // the second redirect is one too many
  EXPECT_EQ(RecordedRequests().front().Header("User-Agent"), "agent/2");
}

TEST_F(RequestOperations, CredentialsAnswerTheServersChallenge) {
  WinHttpClient client;
  std::string url = ServerUrl("/auth?user=box&pass=secret");
  client.Open("GET", url);
  client.Send();
  EXPECT_EQ(client.Status(), 401);
  EXPECT_EQ(client.ResponseBody(), "who are you");

  client.Open("GET", url);
  client.SetCredentials("box", "secret");
  client.Send();
  EXPECT_EQ(client.Status(), 200);
  EXPECT_EQ(client.ResponseBody(), "welcome");

  client.Open("GET", url);
  client.SetCredentials("box", "wrong");
  client.Send();
  EXPECT_EQ(client.Status(), 401);
}

}  // namespace
}  // namespace tvk
