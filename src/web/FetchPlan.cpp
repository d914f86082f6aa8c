#include "web/FetchPlan.h"

#include "util/Text.h"

namespace tvk {

namespace {

constexpr double kTolerance = 1e-7;
constexpr Timeouts kDefaultFetchTimeouts{10000, 10000, 60000, 120000};
constexpr int kDefaultWaitSeconds = 120;

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char ch = text[i];
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    if (ch != prefix[i]) return false;
  }
  return true;
}

}  // namespace

TimeoutPlan PlanTimeouts(double seconds) {
  TimeoutPlan plan;
  if (seconds + 1 >= -kTolerance && seconds + 1 <= kTolerance) return plan;  // none set, default wait
  if (seconds < 1 - kTolerance) {
    plan.timeouts = kDefaultFetchTimeouts;
    plan.waitSeconds = kDefaultWaitSeconds;
    return plan;
  }
  const int milliseconds = TruncateToInt(seconds * 1000);
  plan.timeouts = Timeouts{milliseconds, milliseconds, milliseconds, milliseconds};
  plan.waitSeconds = TruncateToInt(seconds);
  return plan;
}

Timeouts FillTimeouts(int resolve, int connect, int send, int receive) {
  return Timeouts{resolve, connect > 0 ? connect : resolve, send > 0 ? send : resolve,
                  receive > 0 ? receive : resolve};
}

bool CompleteScheme(std::string& url) {
  if (StartsWithIgnoringCase(url, "http://") || StartsWithIgnoringCase(url, "https://")) return false;
  url.insert(0, "http://");
  return true;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

FetchPlan PlanFetch(std::string_view url, const FetchOptions& options, std::string_view storedCookies,
                    bool integerTimeout) {
  FetchPlan plan;
  const bool hasBody = !options.postText.empty() || !options.postBytes.empty();
  plan.method = hasBody ? "POST" : "GET";
  plan.url = std::string(TrimBlanks(url));
  plan.asynchronous = !options.synchronous;

  SetHeader(plan.headers, "Referer", options.referer.empty() ? std::string_view(plan.url) : options.referer);
  SetHeader(plan.headers, "Content-Type", options.contentType.empty() ? kFormContentType : options.contentType);
  SetHeader(plan.headers, "User-Agent", options.userAgent.empty() ? kBrowserUserAgent : options.userAgent);
  for (const HeaderLine& header : ParseExtraHeaders(options.extraHeaders)) SetHeader(plan.headers, header.name, header.value);

  if (options.cookies != nullptr) {
    std::string& cookies = *options.cookies;
    if (!storedCookies.empty() && cookies.empty()) cookies.assign(storedCookies);
    if (cookies == "-1") {
      SetHeader(plan.headers, "Cookie", "");
    } else if (!cookies.empty()) {
      SetHeader(plan.headers, "Cookie", cookies);
    }
  } else if (!storedCookies.empty()) {
    // The caller passed no variable: its (empty) value still receives the store.
    SetHeader(plan.headers, "Cookie", storedCookies == "-1" ? std::string_view() : storedCookies);
  }

  const double seconds = integerTimeout ? TruncateToInt(options.timeoutSeconds) : options.timeoutSeconds;
  plan.timing = PlanTimeouts(seconds);

  if (options.proxy && *options.proxy != "-1") plan.proxy = *options.proxy;
  plan.body = !options.postBytes.empty() ? options.postBytes : options.postText;
  return plan;
}

std::vector<HeaderLine> ProbeHeaders(std::string_view userAgent, std::string_view referer) {
  std::vector<HeaderLine> headers{
      {"User-Agent", std::string(userAgent)},
      {"Accept-Language", "zh-cn"},
      {"Connection", "Keep-Alive"},
      {"Accept", std::string(kProbeAccept)},
  };
  if (!referer.empty()) headers.push_back({"Referer", std::string(referer)});
  return headers;
}

std::string TextUpToZero(std::string_view bytes) { return std::string(bytes.substr(0, bytes.find('\0'))); }

}  // namespace tvk
