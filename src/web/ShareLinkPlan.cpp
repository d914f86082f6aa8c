#include "web/ShareLinkPlan.h"

#include <utility>

#include "VendorEndpoints.h"
#include "util/Gbk.h"
#include "web/ShareLinkText.h"

namespace tvk {

namespace {

bool StartsWithHttp(std::string_view link) {
  constexpr std::string_view kScheme = "http://";
  if (link.size() < kScheme.size()) return false;
  for (size_t i = 0; i < kScheme.size(); ++i) {
    char ch = link[i];
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    if (ch != kScheme[i]) return false;
  }
  return true;
}

}  // namespace

std::string Disk360ShortPrefix() { return "http://" + std::string(kDisk360ShortHost) + "/"; }

std::string TongbupanLinkMark() { return std::string(kTongbupanWebHost) + "/link/"; }

std::string TongbupanShortPrefix() { return "http://" + std::string(kTongbupanShortHost); }

std::string TongbupanBase() { return "http://" + std::string(kTongbupanWebHost); }

std::string BaiduListUrl() {
  return "http://" + std::string(kBaiduWebHost) + "/api/list?channel=chunlei&clienttype=0&web=1&num=100&page=1&dir=";
}

std::string BaiduDownloadUrl() {
  return "http://" + std::string(kBaiduWebHost) + "/api/download?channel=chunlei&clienttype=0&web=1";
}

ShareLinkKind ClassifyShareLink(std::string_view link) {
  if (ContainsIgnoreCase(link, Disk360ShortPrefix())) return ShareLinkKind::kDisk360;
  if (ContainsIgnoreCase(link, TongbupanLinkMark()) || ContainsIgnoreCase(link, TongbupanShortPrefix()))
    return ShareLinkKind::kTongbupan;
  if (StartsWithHttp(link)) return ShareLinkKind::kDirect;
  return ShareLinkKind::kBaiduName;
}

Disk360Link Split360Link(std::string_view link) {
  std::string pieces[2];
  int piece = 0;
  for (size_t at = 0; at < link.size() && piece < 2;) {
    const size_t length = GbkCharLength(link, at);
    if (length == 1 && link[at] == '|') {
      ++piece;
    } else {
      pieces[piece].append(link.substr(at, length));
    }
    at += length;
  }
  return {std::move(pieces[0]), std::move(pieces[1])};
}

std::string UnescapeSlashes(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    if (text[at] == '\\' && at + 1 < text.size() && text[at + 1] == '/') {
      out += '/';
      at += 2;
      continue;
    }
    const size_t length = GbkCharLength(text, at);
    out.append(text.substr(at, length));
    at += length;
  }
  return out;
}

std::string WithPlainHttp(std::string_view url) {
  constexpr std::string_view kSecure = "https://";
  std::string out;
  size_t from = 0;
  for (size_t found = FindIgnoreCase(url, kSecure); found != std::string_view::npos;
       found = FindIgnoreCase(url, kSecure, from)) {
    out.append(url.substr(from, found - from));
    out += "http://";
    from = found + kSecure.size();
  }
  out.append(url.substr(from));
  return out;
}

}  // namespace tvk
