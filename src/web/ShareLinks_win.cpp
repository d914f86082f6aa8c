#include "web/ShareLinks.h"

#include <optional>
#include <utility>

#include "platform/ui/MessageLoop.h"
#include "util/UiHooks.h"
#include "web/ShareLinkPlan.h"
#include "web/ShareLinkText.h"
#include "web/TextCodec.h"
#include "web/WebFetch.h"

namespace tvk {

namespace {

constexpr int kAttempts = 3;
constexpr int kAttemptPauseMs = 1000;
constexpr int kDisk360ProbePauseMs = 100;
constexpr int kTongbupanProbePauseMs = 1000;

ShareLinkPause gPause;

void Pause(int milliseconds) {
  if (gPause) {
    gPause(milliseconds);
  } else {
    ui::PumpWait(milliseconds);
  }
}

// The services' answers are JSON-like; a double quote ends every value looked for.
constexpr std::string_view kQuote = "\"";

std::string PostText(WinHttpClient& client, std::string_view url, std::string body) {
  FetchOptions options;
  options.postText = std::move(body);
  return client.FetchText(url, options);
}

// The first "nid" value of a 360 page or answer.
std::string FirstNid(std::string_view text) { return ExtractBetween(text, "''nid'': ''", kQuote); }

// A page fetched over WinINet, as box text.
std::string FetchPage(std::string_view url) { return DecodeBytes(WebFetch(url), kEncodingDetect); }

}  // namespace

ShareLinkPause SetShareLinkPause(ShareLinkPause pause) {
  ShareLinkPause previous = std::move(gPause);
  gPause = std::move(pause);
  return previous;
}

std::string ResolveShareLink(std::string& link, WinHttpClient& linkClient, std::string_view downloadSource) {
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    std::string url;
    switch (ClassifyShareLink(link)) {
      case ShareLinkKind::kDisk360: {
        const Disk360Link share = Split360Link(link);
        url = Resolve360Link(share.url, share.password, &linkClient);
        break;
      }
      case ShareLinkKind::kTongbupan:
        url = ResolveTongbupanLink(link);
        break;
      case ShareLinkKind::kDirect:
        return link;
      case ShareLinkKind::kBaiduName:
        url = ResolveBaiduPath(link, downloadSource);
        break;
    }
    if (!url.empty()) return url;
    Pause(kAttemptPauseMs);
  }
  return {};
}

std::string Resolve360Link(std::string_view link, std::string_view password, WinHttpClient* client,
                           bool touchResult) {
  std::optional<WinHttpClient> ownClient;
  if (client == nullptr) client = &ownClient.emplace();

  // A short link redirects to the share page, whose URL names the share.
  std::string pageUrl;
  if (ContainsIgnoreCase(link, Disk360ShortPrefix())) {
    for (int attempt = 0; attempt < kAttempts && pageUrl.empty(); ++attempt) {
      ProcessPendingMessages();
      pageUrl = client->ProbeRedirect(link);
      if (pageUrl.empty()) Pause(kDisk360ProbePauseMs);
    }
  } else {
    pageUrl.assign(link);
  }
  ExtractOptions lastSegment;
  lastSegment.reverse = true;
  const std::string shortUrl = ExtractBetween(pageUrl, "/", "", lastSegment);
  const std::string host = HostPart(pageUrl);

  // The service's answer to the password is not examined: a wrong one shows as
  // an empty listing below.
  if (!password.empty())
    PostText(*client, "http://" + host + "/share/verifyPassword",
             "shorturl=" + shortUrl + "&linkpassword=" + std::string(password));

  std::string nid = FirstNid(client->FetchText(pageUrl));
  // The share's folder: its first file is the package.
  nid = FirstNid(PostText(*client, "http://" + host + "/share/listsharedir",
                          "field=name&nid=" + nid + "&order=asc&page=0&page_size=300&surl=" + shortUrl));
  const std::string answer =
      PostText(*client, "http://" + host + "/share/downloadfile/", "nid=" + nid + "&shorturl=" + shortUrl);
  std::string url = UnescapeSlashes(ExtractBetween(answer, "''downloadurl'':''", kQuote));

  if (touchResult) {
    std::string location = client->ProbeRedirect(url);
    if (!location.empty()) url = std::move(location);
    ProcessPendingMessages();
    FetchOptions touch;
    touch.timeoutSeconds = 1;
    client->FetchBytes(url, touch);
  }
  return url;
}

std::string ResolveTongbupanLink(std::string& link) {
  WinHttpClient client;
  if (ContainsIgnoreCase(link, TongbupanShortPrefix())) {
    std::string longLink;
    for (int attempt = 0; attempt < kAttempts && longLink.empty(); ++attempt) {
      longLink = client.ProbeRedirect(link);
      if (longLink.empty()) Pause(kTongbupanProbePauseMs);
    }
    // NB: an unreadable short link is handed back as the result on purpose:
    // the download then tries the short link itself.
    if (longLink.empty()) return link;
    link = std::move(longLink);
  }

  const std::string base = TongbupanBase();
  std::string downloadLink;
  for (int attempt = 0; attempt < kAttempts && downloadLink.empty(); ++attempt) {
    const std::string linkId = ExtractBetween(link, "link/", "/");
    const std::string folder = FetchPage(base + "/link/folder/" + linkId + "/");
    const std::string path = ExtractBetween(folder, "''path'': ''", kQuote);
    const std::string answer = FetchPage(base + "/link/download/?linkid=" + linkId +
                                         "&path=" + UrlEscape(path, true, false, false));
    downloadLink = ExtractBetween(answer, "''downloadlink'': ''", kQuote);
  }
  return WithPlainHttp(client.ProbeRedirect(base + downloadLink));
}

std::string ResolveBaiduPath(std::string_view name, std::string_view cookies) {
  WinHttpClient client;
  const std::string dir = UrlEscape(std::string(kBaiduVendorFolder) + std::string(name), true, false, false);

  // Each request gets its own copy: the fetch may write the client's stored
  // cookies into an empty variable.
  std::string listCookies(cookies);
  FetchOptions listOptions;
  listOptions.cookies = &listCookies;
  const std::string list = client.FetchText(BaiduListUrl() + dir, listOptions);
  const std::string fsId = ExtractBetween(list, "''fs_id'':", ",");

  std::string downloadCookies(cookies);
  FetchOptions downloadOptions;
  downloadOptions.postText = "fidlist=%5B" + fsId + "%5D&type=dlink";
  downloadOptions.cookies = &downloadCookies;
  const std::string answer = UnescapeSlashes(client.FetchText(BaiduDownloadUrl(), downloadOptions));
  const std::string dlink = ExtractBetween(answer, "''dlink'':''", "''");
  return client.ProbeRedirect(dlink);
}

}  // namespace tvk
