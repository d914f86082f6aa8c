// The portable half of share-link resolution: the cloud disks' addresses as
// this build names them (VendorEndpoints.h), telling a package link's kind,
// and the small text rewrites the resolvers apply to the services' answers.
// ShareLinks_win.cpp does the talking.
#pragma once

#include <string>
#include <string_view>

namespace tvk {

// "http://" + the 360 cloud disk's short-link host + "/".
std::string Disk360ShortPrefix();
// The Tongbupan web host + "/link/": the mark of a long Tongbupan link.
std::string TongbupanLinkMark();
// "http://" + Tongbupan's short-link host.
std::string TongbupanShortPrefix();
// "http://" + the Tongbupan web host, without a trailing "/".
std::string TongbupanBase();
// The Baidu Netdisk folder listing; the URL-escaped folder path goes last.
std::string BaiduListUrl();
// The Baidu Netdisk download-link request (a POST).
std::string BaiduDownloadUrl();

// The vendor's folder in its Baidu Netdisk.
inline constexpr std::string_view kBaiduVendorFolder = "/Tavrel软件/";

enum class ShareLinkKind {
  kDisk360,    // contains Disk360ShortPrefix
  kTongbupan,  // contains TongbupanLinkMark or TongbupanShortPrefix
  kDirect,     // starts with "http://": used as it is
  kBaiduName,  // anything else: a file name in the vendor's Baidu folder
};

// The kind of a package link, tested in the order of ShareLinkKind. The marks
// are found anywhere in the link, ignoring the case of ASCII letters.
ShareLinkKind ClassifyShareLink(std::string_view link);

struct Disk360Link {
  std::string url;
  std::string password;
};

// "share-url|password": split at the first and second "|" that are characters
// of their own (a GBK trail byte can be 0x7C); no "|" gives an empty password
// and pieces after the second are dropped.
Disk360Link Split360Link(std::string_view link);

// Every "\/" (as the services escape slashes in their answers) becomes "/".
// Whole GBK characters are stepped over, so a trail byte 0x5C is left alone.
std::string UnescapeSlashes(std::string_view text);

// Every "https://", in any case, becomes "http://".
std::string WithPlainHttp(std::string_view url);

}  // namespace tvk
