#include "web/ShareLinkText.h"

#include <vector>

#include "util/Gbk.h"
#include "util/Text.h"

namespace tvk {

namespace {

constexpr std::string_view kHeadMarker = "#Tavrel头#";
constexpr std::string_view kTailMarker = "#Tavrel尾#";

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool MatchesFolded(std::string_view text, size_t at, std::string_view part) {
  if (at + part.size() > text.size()) return false;
  for (size_t i = 0; i < part.size(); ++i)
    if (FoldAscii(text[at + i]) != FoldAscii(part[i])) return false;
  return true;
}

// Character starts of the text (a match never begins on a trail byte).
std::vector<size_t> CharStarts(std::string_view text) {
  std::vector<size_t> starts;
  for (size_t at = 0; at < text.size(); at += GbkCharLength(text, at)) starts.push_back(at);
  starts.push_back(text.size());
  return starts;
}

// Last match of `part` that starts at or after `from` and ends at or before `end`.
size_t FindLastIgnoreCase(std::string_view text, std::string_view part, size_t end) {
  size_t found = std::string_view::npos;
  for (size_t at : CharStarts(text)) {
    if (at + part.size() > end) break;
    if (MatchesFolded(text, at, part)) found = at;
  }
  return found;
}

std::string WithoutDoubleQuotes(std::string_view text) { return ReplaceAll(text, "\"", ""); }

struct Span {
  size_t headEnd = 0;
  size_t tailStart = 0;
  size_t tailEnd = 0;
};

bool FindSpan(std::string_view source, std::string_view head, std::string_view tail, size_t from, bool reverse,
              Span& span) {
  if (!reverse) {
    size_t h = FindIgnoreCase(source, head, from);
    if (h == std::string_view::npos) return false;
    size_t t = FindIgnoreCase(source, tail, h + head.size());
    if (t == std::string_view::npos) return false;
    span = {h + head.size(), t, t + tail.size()};
    return true;
  }
  size_t t = FindLastIgnoreCase(source, tail, source.size());
  if (t == std::string_view::npos || t < from) return false;
  size_t h = FindLastIgnoreCase(source, head, t);
  if (h == std::string_view::npos || h < from) return false;
  span = {h + head.size(), t, t + tail.size()};
  return true;
}

}  // namespace

size_t FindIgnoreCase(std::string_view text, std::string_view part, size_t from) {
  if (part.empty()) return from <= text.size() ? from : std::string_view::npos;
  for (size_t at = 0; at + part.size() <= text.size(); at += GbkCharLength(text, at))
    if (at >= from && MatchesFolded(text, at, part)) return at;
  return std::string_view::npos;
}

bool ContainsIgnoreCase(std::string_view text, std::string_view part) {
  return FindIgnoreCase(text, part) != std::string_view::npos;
}

std::string QuoteMarks(std::string_view text) { return ReplaceAll(text, "''", "\""); }

std::string ExtractBetween(std::string_view source, std::string_view head, std::string_view tail,
                           const ExtractOptions& options) {
  std::string headText = options.keepQuotes ? std::string(head) : QuoteMarks(head);
  std::string tailText = options.keepQuotes ? std::string(tail) : QuoteMarks(tail);
  // An empty marker stands for the start or the end of the text.
  std::string text;
  size_t prefix = 0;
  if (headText.empty()) {
    headText = kHeadMarker;
    text += kHeadMarker;
    prefix = kHeadMarker.size();
  }
  text += source;
  if (tailText.empty()) {
    tailText = kTailMarker;
    text += kTailMarker;
  }

  size_t from = options.position && *options.position > 0 ? static_cast<size_t>(*options.position - 1) + prefix : 0;
  Span span;
  bool found = FindSpan(text, headText, tailText, from, options.reverse, span);
  if (!found)
    found = FindSpan(text, WithoutDoubleQuotes(headText), WithoutDoubleQuotes(tailText), from, options.reverse, span);
  if (!found) return {};

  if (options.position) {
    size_t after = span.tailEnd > prefix ? span.tailEnd - prefix : 0;
    *options.position = static_cast<int>(std::min(after, source.size()) + 1);
  }
  long long begin = static_cast<long long>(span.headEnd) + options.skipAfterHead;
  long long end = static_cast<long long>(span.tailStart) - options.cutBeforeTail;
  if (begin >= end) return {};
  return text.substr(static_cast<size_t>(begin), static_cast<size_t>(end - begin));
}

std::string HostPart(std::string_view url, bool rootDomain, bool withScheme) {
  size_t slashes = url.find("//");
  size_t start = slashes == std::string_view::npos ? 0 : slashes + 2;
  size_t end = url.find('/', start);
  std::string host(url.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));

  if (rootDomain && !host.empty()) {
    std::vector<std::string> labels = SplitAll(host, ".");
    size_t keep = HasCompoundSuffix(host) ? 3 : 2;
    if (labels.size() > keep) {
      std::string root;
      for (size_t i = labels.size() - keep; i < labels.size(); ++i) root += (root.empty() ? "" : ".") + labels[i];
      for (char& c : root) c = FoldAscii(c);
      if (host != "www." + root) host = root;
    } else {
      for (char& c : host) c = FoldAscii(c);
    }
  }
  if (withScheme) {
    size_t scheme = url.find("://");
    if (scheme != std::string_view::npos) host = std::string(url.substr(0, scheme + 3)) + host;
  }
  return host;
}

bool HasCompoundSuffix(std::string_view host) {
  std::string lower(host);
  for (char& c : lower) c = FoldAscii(c);
  for (std::string_view word : {"com", "net", "org", "edu", "gov", "tel", "info", "name"})
    if (Contains(lower, "." + std::string(word) + ".")) return true;
  return false;
}

}  // namespace tvk
