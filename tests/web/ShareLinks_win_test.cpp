// Share-link resolution against the cloud disks of the loopback fake server
// (tests/web/fake_server.py, its cloud-disk section): the URL each resolver
// returns, the link variable it leaves, the requests it sent on the way (read
// from the server's record) and the pauses it took, which a recorder takes
// instead of waiting. The portable helpers of ShareLinkPlan.h come first.
#include "web/ShareLinks.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "VendorEndpoints.h"
#include "web/FakeServer_win.h"
#include "web/ShareLinkPlan.h"
#include "web/WinHttpRequest.h"

namespace tvk {
namespace {

using test::FakeServerTest;
using test::QueryValue;
using test::RecordedRequest;
using test::RecordedRequests;
using test::ServerUrl;

// Two GBK characters whose trail bytes are ASCII punctuation.
const std::string kTrailBackslash = "\xB0\x5C";  // 癨: trail byte "\"
const std::string kTrailBar = "\xB0\x7C";        // 皘: trail byte "|"

//--- ShareLinkPlan -------------------------------------------------------------

TEST(ShareLinkPlan, ClassifiesLinksByTheirMarksInOrder) {
  struct Case {
    std::string link;
    ShareLinkKind kind;
  };
  const std::string host(kLoopbackHost);
  const Case cases[] = {
      {ServerUrl("/360s/cAbc123|x7k2"), ShareLinkKind::kDisk360},
      {"HTTP://" + host + "/360S/cAbc123", ShareLinkKind::kDisk360},
      {"see http://" + host + "/360s/cAbc123", ShareLinkKind::kDisk360},
      // 360 is tested first: its password may look like anything.
      {ServerUrl("/360s/c|") + ServerUrl("/tbs/tb1"), ShareLinkKind::kDisk360},
      // The 360 prefix ends in "/".
      {ServerUrl("/360s"), ShareLinkKind::kDirect},
      {ServerUrl("/tbp/link/a1b2c3/"), ShareLinkKind::kTongbupan},
      {host + "/TBP/Link/a1b2c3/", ShareLinkKind::kTongbupan},
      {ServerUrl("/tbs/tb1"), ShareLinkKind::kTongbupan},
      {"hTTp://" + host + "/tbs", ShareLinkKind::kTongbupan},
      // The short prefix carries its scheme, the long mark does not.
      {host + "/tbs/tb1", ShareLinkKind::kBaiduName},
      {ServerUrl("/files/editor.rar"), ShareLinkKind::kDirect},
      {"HtTp://example.invalid/a.rar", ShareLinkKind::kDirect},
      {"https://example.invalid/a.rar", ShareLinkKind::kBaiduName},
      {" http://example.invalid/a.rar", ShareLinkKind::kBaiduName},
      {"http:/", ShareLinkKind::kBaiduName},
      {"editor.rar", ShareLinkKind::kBaiduName},
      {"文本编辑器.rar", ShareLinkKind::kBaiduName},
      {"", ShareLinkKind::kBaiduName},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(static_cast<int>(ClassifyShareLink(c.link)), static_cast<int>(c.kind)) << c.link;
  }
}

TEST(ShareLinkPlan, Splits360LinksAtTheirOwnBars) {
  struct Case {
    std::string link;
    std::string url;
    std::string password;
  };
  const Case cases[] = {
      {"http://s/c|pw", "http://s/c", "pw"},
      {"http://s/c", "http://s/c", ""},
      {"http://s/c|", "http://s/c", ""},
      {"http://s/c|pw|dropped|too", "http://s/c", "pw"},
      {"|pw", "", "pw"},
      {"", "", ""},
      {"http://s/c|" + kTrailBar + "x", "http://s/c", kTrailBar + "x"},
      {"http://s/" + kTrailBar + "|pw", "http://s/" + kTrailBar, "pw"},
  };
  for (const Case& c : cases) {
    const Disk360Link split = Split360Link(c.link);
    EXPECT_EQ(split.url, c.url) << c.link;
    EXPECT_EQ(split.password, c.password) << c.link;
  }
}

TEST(ShareLinkPlan, UnescapesSlashesButNotTrailBytes) {
  struct Case {
    std::string text;
    std::string expected;
  };
  const Case cases[] = {
      {R"(http:\/\/h\/files\/a.rar)", "http://h/files/a.rar"},
      {"no escapes", "no escapes"},
      {"", ""},
      {R"(a\b\/)", R"(a\b/)"},
      {R"(\\/)", R"(\/)"},
      {kTrailBackslash + "/x" + R"(\/)", kTrailBackslash + "/x/"},
  };
  for (const Case& c : cases) EXPECT_EQ(UnescapeSlashes(c.text), c.expected) << c.text;
}

TEST(ShareLinkPlan, TurnsEveryHttpsIntoHttp) {
  struct Case {
    std::string url;
    std::string expected;
  };
  const Case cases[] = {
      {"https://h/a.rar", "http://h/a.rar"},
      {"HTTPS://h/a.rar", "http://h/a.rar"},
      {"HtTpS://h/a?next=https://g/", "http://h/a?next=http://g/"},
      {"http://h/a.rar", "http://h/a.rar"},
      {"https:/h", "https:/h"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(WithPlainHttp(c.url), c.expected) << c.url;
}

//--- Against the fake server ---------------------------------------------------

// A request as these tests compare it.
struct Sent {
  std::string method;
  std::string path;
  std::string query;
  std::string body;

  bool operator==(const Sent&) const = default;
  friend std::ostream& operator<<(std::ostream& out, const Sent& sent) {
    return out << sent.method << " " << sent.path << (sent.query.empty() ? "" : "?") << sent.query
               << (sent.body.empty() ? "" : " [" + sent.body + "]");
  }
};

std::vector<Sent> SentRequests() {
  std::vector<Sent> sent;
  for (const RecordedRequest& request : RecordedRequests())
    sent.push_back({request.method, request.path, request.query, request.body});
  return sent;
}

std::vector<Sent> Repeated(const std::vector<Sent>& once, int times) {
  std::vector<Sent> all;
  for (int i = 0; i < times; ++i) all.insert(all.end(), once.begin(), once.end());
  return all;
}

// What the fake services hand out, as this build reaches them.
std::string FileUrl(std::string_view name) { return ServerUrl("/files/" + std::string(name)); }

constexpr std::string_view kEscapedFolder = "%2FTavrel%E8%BD%AF%E4%BB%B6%2F";  // "/Tavrel软件/" in UTF-8
constexpr std::string_view kBaiduListQuery = "channel=chunlei&clienttype=0&web=1&num=100&page=1&dir=";
constexpr std::string_view kBaiduDownloadQuery = "channel=chunlei&clienttype=0&web=1";

Sent BaiduList(std::string_view escapedName) {
  return {"GET", "/baidu/api/list", std::string(kBaiduListQuery) + std::string(kEscapedFolder) + std::string(escapedName),
          ""};
}

Sent BaiduDownload(std::string_view fsId) {
  return {"POST", "/baidu/api/download", std::string(kBaiduDownloadQuery),
          "fidlist=%5B" + std::string(fsId) + "%5D&type=dlink"};
}

Sent Disk360List(std::string_view nid, std::string_view surl) {
  return {"POST", "/share/listsharedir", "",
          "field=name&nid=" + std::string(nid) + "&order=asc&page=0&page_size=300&surl=" + std::string(surl)};
}

Sent Disk360Download(std::string_view nid, std::string_view surl) {
  return {"POST", "/share/downloadfile/", "", "nid=" + std::string(nid) + "&shorturl=" + std::string(surl)};
}

Sent TongbupanDownload(std::string_view linkId, std::string_view escapedName) {
  return {"GET", "/tbp/link/download/",
          "linkid=" + std::string(linkId) + "&path=" + std::string(kEscapedFolder) + std::string(escapedName), ""};
}

// Server tests with the resolvers' pauses recorded instead of waited.
class ShareLinkServerTest : public FakeServerTest {
 protected:
  void SetUp() override {
    FakeServerTest::SetUp();
    if (HasFatalFailure()) return;
    previousPause_ = SetShareLinkPause([this](int milliseconds) { pauses.push_back(milliseconds); });
  }
  void TearDown() override { SetShareLinkPause(std::move(previousPause_)); }

  void StartOver() {
    ASSERT_TRUE(test::ResetServerRecord());
    pauses.clear();
  }

  std::vector<int> pauses;

 private:
  ShareLinkPause previousPause_;
};

using ResolveShareLinkTest = ShareLinkServerTest;
using Resolve360 = ShareLinkServerTest;
using ResolveTongbupan = ShareLinkServerTest;
using ResolveBaidu = ShareLinkServerTest;

TEST_F(ResolveShareLinkTest, DirectHttpLinksComeBackUnchangedWithoutAnyRequest) {
  const std::string links[] = {FileUrl("editor.rar"), "HTTP://example.invalid/a.rar", "Http://127.0.0.1:1/b c.rar"};
  for (const std::string& original : links) {
    SCOPED_TRACE(original);
    WinHttpClient linkClient;
    std::string link = original;
    EXPECT_EQ(ResolveShareLink(link, linkClient, "BDUSS=x"), original);
    EXPECT_EQ(link, original);
    EXPECT_TRUE(pauses.empty());
  }
  EXPECT_TRUE(SentRequests().empty());
}

TEST_F(ResolveShareLinkTest, EachLinkFormBecomesTheFileUrlTheServiceHandsOut) {
  struct Case {
    const char* what;
    std::string link;
    std::string downloadSource;
    std::string url;
    std::string linkAfter;
    std::vector<Sent> sent;
  };
  const Case cases[] = {
      {"360 with password",
       ServerUrl("/360s/cAbc123|x7k2"),
       "",
       FileUrl("editor.rar"),
       ServerUrl("/360s/cAbc123|x7k2"),
       {{"GET", "/360s/cAbc123", "", ""},
        {"POST", "/share/verifyPassword", "", "shorturl=8fQzk2&linkpassword=x7k2"},
        {"GET", "/360/lk/8fQzk2", "", ""},
        Disk360List("1001", "8fQzk2"),
        Disk360Download("2001", "8fQzk2")}},
      {"360, pieces after the password dropped",
       ServerUrl("/360s/cAbc123|x7k2|dropped"),
       "",
       FileUrl("editor.rar"),
       ServerUrl("/360s/cAbc123|x7k2|dropped"),
       {{"GET", "/360s/cAbc123", "", ""},
        {"POST", "/share/verifyPassword", "", "shorturl=8fQzk2&linkpassword=x7k2"},
        {"GET", "/360/lk/8fQzk2", "", ""},
        Disk360List("1001", "8fQzk2"),
        Disk360Download("2001", "8fQzk2")}},
      {"360 without a bar: no password check",
       ServerUrl("/360s/cNoPass"),
       "",
       FileUrl("viewer.rar"),
       ServerUrl("/360s/cNoPass"),
       {{"GET", "/360s/cNoPass", "", ""},
        {"GET", "/360/lk/9gRal3", "", ""},
        Disk360List("1002", "9gRal3"),
        Disk360Download("2002", "9gRal3")}},
      {"360 with an empty password: no password check",
       ServerUrl("/360s/cNoPass|"),
       "",
       FileUrl("viewer.rar"),
       ServerUrl("/360s/cNoPass|"),
       {{"GET", "/360s/cNoPass", "", ""},
        {"GET", "/360/lk/9gRal3", "", ""},
        Disk360List("1002", "9gRal3"),
        Disk360Download("2002", "9gRal3")}},
      {"360 answer without slash escapes",
       ServerUrl("/360s/cPlain"),
       "",
       FileUrl("plain.rar"),
       ServerUrl("/360s/cPlain"),
       {{"GET", "/360s/cPlain", "", ""},
        {"GET", "/360/lk/6jUdo6", "", ""},
        Disk360List("1004", "6jUdo6"),
        Disk360Download("2004", "6jUdo6")}},
      {"Tongbupan short link: the caller's link becomes the long form",
       ServerUrl("/tbs/tb1"),
       "",
       FileUrl("editor.rar"),
       ServerUrl("/tbp/link/a1b2c3/"),
       {{"GET", "/tbs/tb1", "", ""},
        {"GET", "/tbp/link/folder/a1b2c3/", "", ""},
        TongbupanDownload("a1b2c3", "editor.rar"),
        {"GET", "/tbp/dl/a1b2c3", "", ""}}},
      {"Tongbupan long link",
       ServerUrl("/tbp/link/a1b2c3/"),
       "",
       FileUrl("editor.rar"),
       ServerUrl("/tbp/link/a1b2c3/"),
       {{"GET", "/tbp/link/folder/a1b2c3/", "", ""},
        TongbupanDownload("a1b2c3", "editor.rar"),
        {"GET", "/tbp/dl/a1b2c3", "", ""}}},
      {"Tongbupan redirect to HTTPS:// in capitals",
       ServerUrl("/tbs/tbUp"),
       "",
       FileUrl("viewer.rar"),
       ServerUrl("/tbp/link/u7v8w9/"),
       {{"GET", "/tbs/tbUp", "", ""},
        {"GET", "/tbp/link/folder/u7v8w9/", "", ""},
        TongbupanDownload("u7v8w9", "viewer.rar"),
        {"GET", "/tbp/dl/u7v8w9", "", ""}}},
      {"Baidu file name",
       "editor.rar",
       "BDUSS=bd1; STOKEN=st2",
       FileUrl("editor.rar"),
       "editor.rar",
       {BaiduList("editor.rar"), BaiduDownload("3001"), {"GET", "/baidu/file/3001", "", ""}}},
      {"Baidu Chinese file name",
       "文本编辑器.rar",
       "",
       FileUrl("%E6%96%87%E6%9C%AC%E7%BC%96%E8%BE%91%E5%99%A8.rar"),
       "文本编辑器.rar",
       {BaiduList("%E6%96%87%E6%9C%AC%E7%BC%96%E8%BE%91%E5%99%A8.rar"),
        BaiduDownload("3002"),
        {"GET", "/baidu/file/3002", "", ""}}},
      {"Baidu listing with unquoted keys",
       "unquoted.rar",
       "",
       FileUrl("unquoted.rar"),
       "unquoted.rar",
       {BaiduList("unquoted.rar"), BaiduDownload("3003"), {"GET", "/baidu/file/3003", "", ""}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StartOver();
    WinHttpClient linkClient;
    std::string link = c.link;
    EXPECT_EQ(ResolveShareLink(link, linkClient, c.downloadSource), c.url);
    EXPECT_EQ(link, c.linkAfter);
    EXPECT_EQ(SentRequests(), c.sent);
    EXPECT_TRUE(pauses.empty());
  }
}

TEST_F(ResolveShareLinkTest, A360LinkIsResolvedOnTheLinkClient) {
  WinHttpClient linkClient;
  // The link client holds a cookie from an earlier answer; every fetch on it sends it.
  FetchOptions keep;
  keep.keepCookies = true;
  linkClient.FetchText(ServerUrl("/respond?body=ok&h=" + QueryValue("Set-Cookie: sid=link42; path=/")), keep);
  StartOver();

  std::string link = ServerUrl("/360s/cAbc123|x7k2");
  EXPECT_EQ(ResolveShareLink(link, linkClient, "BDUSS=baidu-only"), FileUrl("editor.rar"));

  const std::vector<RecordedRequest> requests = RecordedRequests();
  ASSERT_EQ(requests.size(), 5u);
  for (size_t i = 1; i < requests.size(); ++i) {
    SCOPED_TRACE(requests[i].path);
    EXPECT_NE(requests[i].Header("Cookie").find("sid=link42"), std::string::npos) << requests[i].Header("Cookie");
  }
  for (const RecordedRequest& request : requests)
    EXPECT_EQ(request.Header("Cookie").find("BDUSS"), std::string::npos) << request.path;
  // The redirect probe turned the link client's redirects off for good.
  const HttpOptionValue redirects = linkClient.Option(kOptionEnableRedirects);
  const bool* enabled = std::get_if<bool>(&redirects);
  const int* number = std::get_if<int>(&redirects);
  ASSERT_TRUE(enabled != nullptr || number != nullptr);
  EXPECT_FALSE(enabled ? *enabled : *number != 0);
}

TEST_F(ResolveShareLinkTest, MisbehavingServiceGivesEmptyAfterExactlyThreeAttempts) {
  struct Case {
    const char* what;
    std::string link;
    std::vector<Sent> sentPerAttempt;
    std::vector<int> pausesPerAttempt;  // the last is the pause between attempts
  };
  const std::vector<Sent> tongbupanTry = {{"GET", "/tbp/link/folder/d4e5f6/", "", ""},
                                          TongbupanDownload("d4e5f6", "broken.rar")};
  std::vector<Sent> tongbupanAttempt = Repeated(tongbupanTry, 3);
  tongbupanAttempt.push_back({"GET", "/tbp", "", ""});  // the probe of the base with an empty download link
  const Case cases[] = {
      {"360 page without nid",
       ServerUrl("/360s/cNoNid"),
       {{"GET", "/360s/cNoNid", "", ""},
        {"GET", "/360/lk/7hTcn5", "", ""},
        Disk360List("", "7hTcn5"),
        Disk360Download("", "7hTcn5")},
       {1000}},
      {"360 short link without redirect, with a password",
       ServerUrl("/360s/cGone|pw"),
       Repeated({{"GET", "/360s/cGone", "", ""}}, 3),
       {100, 100, 100, 1000}},
      {"Tongbupan answer without downloadlink", ServerUrl("/tbp/link/d4e5f6/"), tongbupanAttempt, {1000}},
      {"Baidu listing without fs_id", "nokey.rar", {BaiduList("nokey.rar"), BaiduDownload("")}, {1000}},
      {"Baidu file not listed", "missing.rar", {BaiduList("missing.rar"), BaiduDownload("")}, {1000}},
      {"https link, taken for a Baidu file name",
       "https://example.invalid/editor.rar",
       {BaiduList("https%3A%2F%2Fexample.invalid%2Feditor.rar"), BaiduDownload("")},
       {1000}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StartOver();
    WinHttpClient linkClient;
    std::string link = c.link;
    EXPECT_EQ(ResolveShareLink(link, linkClient, ""), "");
    EXPECT_EQ(link, c.link);
    EXPECT_EQ(SentRequests(), Repeated(c.sentPerAttempt, 3));
    std::vector<int> expectedPauses;
    for (int i = 0; i < 3; ++i)
      expectedPauses.insert(expectedPauses.end(), c.pausesPerAttempt.begin(), c.pausesPerAttempt.end());
    EXPECT_EQ(pauses, expectedPauses);
  }
}

TEST_F(ResolveShareLinkTest, UnreadableTongbupanShortLinkIsTheResult) {
  WinHttpClient linkClient;
  const std::string shortLink = ServerUrl("/tbs/tbGone");
  std::string link = shortLink;
  EXPECT_EQ(ResolveShareLink(link, linkClient, ""), shortLink);
  EXPECT_EQ(link, shortLink);
  EXPECT_EQ(SentRequests(), Repeated({{"GET", "/tbs/tbGone", "", ""}}, 3));
  EXPECT_EQ(pauses, (std::vector<int>{1000, 1000, 1000}));
}

TEST_F(ResolveTongbupan, ReadableShortLinkRewritesTheCallersLink) {
  std::string link = ServerUrl("/tbs/tb1");
  EXPECT_EQ(ResolveTongbupanLink(link), FileUrl("editor.rar"));
  EXPECT_EQ(link, ServerUrl("/tbp/link/a1b2c3/"));
  EXPECT_TRUE(pauses.empty());
}

TEST_F(ResolveTongbupan, UnreadableShortLinkIsReturnedUnchanged) {
  std::string link = ServerUrl("/TBS/tbUnknown");  // the mark in other case; the server knows no such code
  EXPECT_EQ(ResolveTongbupanLink(link), ServerUrl("/TBS/tbUnknown"));
  EXPECT_EQ(link, ServerUrl("/TBS/tbUnknown"));
  EXPECT_EQ(SentRequests(), Repeated({{"GET", "/TBS/tbUnknown", "", ""}}, 3));
  EXPECT_EQ(pauses, (std::vector<int>{1000, 1000, 1000}));
}

TEST_F(Resolve360, PageUrlIsReadWithoutAProbe) {
  WinHttpClient client;
  EXPECT_EQ(Resolve360Link(ServerUrl("/360/lk/8fQzk2"), "x7k2", &client), FileUrl("editor.rar"));
  const std::vector<Sent> expected = {
      {"POST", "/share/verifyPassword", "", "shorturl=8fQzk2&linkpassword=x7k2"},
      {"GET", "/360/lk/8fQzk2", "", ""},
      Disk360List("1001", "8fQzk2"),
      Disk360Download("2001", "8fQzk2"),
  };
  EXPECT_EQ(SentRequests(), expected);
}

TEST_F(Resolve360, ShortLinkProbesUpToThreeTimes100MsApart) {
  WinHttpClient client;
  EXPECT_EQ(Resolve360Link(ServerUrl("/360s/cGone"), "", &client), "");
  EXPECT_EQ(SentRequests(), Repeated({{"GET", "/360s/cGone", "", ""}}, 3));
  EXPECT_EQ(pauses, (std::vector<int>{100, 100, 100}));
}

TEST_F(Resolve360, TouchedResultIsProbedAndFetchedOnItsOwnClient) {
  EXPECT_EQ(Resolve360Link(ServerUrl("/360s/cNoPass"), "", nullptr, true), FileUrl("viewer.rar"));
  const std::vector<RecordedRequest> requests = RecordedRequests();
  ASSERT_EQ(requests.size(), 6u);
  EXPECT_EQ(requests[0].path, "/360s/cNoPass");
  EXPECT_EQ(requests[3].path, "/share/downloadfile/");
  // The probe of the download URL (probe headers), then its fetch (form headers).
  EXPECT_EQ(requests[4].method, "GET");
  EXPECT_EQ(requests[4].path, "/files/viewer.rar");
  EXPECT_EQ(requests[4].Header("Accept"), std::string(kProbeAccept));
  EXPECT_EQ(requests[5].method, "GET");
  EXPECT_EQ(requests[5].path, "/files/viewer.rar");
  EXPECT_EQ(requests[5].Header("Content-Type"), std::string(kFormContentType));
}

TEST_F(ResolveBaidu, DownloadSourceCookiesGoWithTheListAndTheDownloadRequest) {
  WinHttpClient linkClient;
  std::string link = "editor.rar";
  EXPECT_EQ(ResolveShareLink(link, linkClient, "BDUSS=bd1; STOKEN=st2"), FileUrl("editor.rar"));
  const std::vector<RecordedRequest> requests = RecordedRequests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].Header("Cookie"), "BDUSS=bd1; STOKEN=st2");
  EXPECT_EQ(requests[0].HeaderCount("Cookie"), 1);
  EXPECT_EQ(requests[1].Header("Cookie"), "BDUSS=bd1; STOKEN=st2");
  EXPECT_EQ(requests[1].HeaderCount("Cookie"), 1);
  EXPECT_EQ(requests[1].Header("Content-Type"), std::string(kFormContentType));
  // The download link's redirect is read without them.
  EXPECT_EQ(requests[2].path, "/baidu/file/3001");
  EXPECT_EQ(requests[2].HeaderCount("Cookie"), 0);
}

TEST_F(ResolveBaidu, EmptyCookieTextSendsNoCookies) {
  EXPECT_EQ(ResolveBaiduPath("editor.rar", ""), FileUrl("editor.rar"));
  const std::vector<RecordedRequest> requests = RecordedRequests();
  ASSERT_EQ(requests.size(), 3u);
  for (const RecordedRequest& request : requests) EXPECT_EQ(request.HeaderCount("Cookie"), 0) << request.path;
}

TEST_F(ResolveBaidu, HttpsLinkFailsAsAFileName) {
  EXPECT_EQ(ResolveBaiduPath("https://example.invalid/editor.rar", ""), "");
  const std::vector<Sent> expected = {BaiduList("https%3A%2F%2Fexample.invalid%2Feditor.rar"), BaiduDownload("")};
  EXPECT_EQ(SentRequests(), expected);
  EXPECT_TRUE(pauses.empty());
}

}  // namespace
}  // namespace tvk
