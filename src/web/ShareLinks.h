// Share-link resolution: a package link of the catalogue (a 360 cloud disk
// share with its password, a Tongbupan share in its long or short form, a file
// name in the vendor's Baidu Netdisk folder, or a direct "http://" URL) turned
// into a URL the download component can fetch, by talking to each service's
// web interface the way its own web page does. Windows build only.
//
// No resolver shows a message or keeps state between calls: a failed request,
// a missing key or an unmatched marker gives an empty value, which makes the
// later requests fail in turn and the resolver return the empty text. Every
// wait lets window messages run, so handlers may run inside these calls.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "web/WinHttpClient.h"

namespace tvk {

// The package link `link` as a direct URL, in at most three attempts with a
// pause of 1000 ms after each empty one (also after the third). A 360 link
// ("share-url|password") is resolved on `linkClient`, a Baidu file name with
// `downloadSource` (the catalogue's cookie text for Baidu Netdisk; empty: no
// cookies); a link starting with "http://" (any case) comes back at once,
// unchanged. The Tongbupan resolver may rewrite `link` to the share's long
// form. Returns empty when every attempt failed.
std::string ResolveShareLink(std::string& link, WinHttpClient& linkClient, std::string_view downloadSource);

// The first file of a 360 cloud disk share. A short link is first turned into
// the share page's URL (up to three redirect probes, 100 ms apart); any other
// link is taken as that page's URL. A non-empty `password` is posted to the
// service before the page is read. `client` is the client to talk on (null: a
// client of this call's own). With `touchResult` the download URL is probed
// once more (a redirect's target replaces it) and fetched with a 1 second
// time-out, its answer dropped. Returns empty when the service does not hand
// out a download URL.
std::string Resolve360Link(std::string_view link, std::string_view password = {}, WinHttpClient* client = nullptr,
                           bool touchResult = false);

// The download URL of a Tongbupan share, with "https://" turned into
// "http://". A short link is first turned into the long form (up to three
// redirect probes, 1000 ms apart), which also replaces `link`; when no probe
// reads a redirect, the short link itself is returned. Returns empty when the
// service does not hand out a download link.
std::string ResolveTongbupanLink(std::string& link);

// The download URL of the file `name` in the vendor's Baidu Netdisk folder,
// asked for with `cookies` (a cookie text; empty: none). Returns empty when the
// file is not listed or its download link does not redirect.
std::string ResolveBaiduPath(std::string_view name, std::string_view cookies);

// How the resolvers pause between tries: by default PumpWait of that many
// milliseconds. Tests put a recorder here instead of waiting; an empty
// function restores PumpWait. Returns the pause that was in use (empty for
// PumpWait).
using ShareLinkPause = std::function<void(int milliseconds)>;
ShareLinkPause SetShareLinkPause(ShareLinkPause pause);

}  // namespace tvk
