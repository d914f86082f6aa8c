// Text routines of the share-link resolvers: cutting values out of the
// services' JSON-like answers and taking URLs apart.
#pragma once

#include <string>
#include <string_view>

namespace tvk {

// Every "''" becomes a double quote: the resolvers write a double quote inside
// their search texts as two single quotes.
std::string QuoteMarks(std::string_view text);

struct ExtractOptions {
  int* position = nullptr;   // in: 1-based start of the search (0 = whole text); out: just after the tail
  bool reverse = false;      // find the tail from the end, then the head backwards from it
  int skipAfterHead = 0;     // bytes dropped after the head
  int cutBeforeTail = 0;     // bytes dropped before the tail
  bool keepQuotes = false;   // leave "''" in head and tail as it is
};

// The text between `head` and the next `tail` after it, ignoring the case of
// ASCII letters. An empty head means the start of the text, an empty tail its
// end. When the markers are not found, a second pass tries them without double
// quotes (answers whose keys are unquoted). Returns empty when both fail; the
// position is then left unchanged.
std::string ExtractBetween(std::string_view source, std::string_view head, std::string_view tail,
                           const ExtractOptions& options = {});

// The host of a URL (with its port): the text after the first "//" up to the
// next "/". rootDomain keeps the registrable part ("a.b.example.com" gives
// "example.com", "x.example.com.cn" gives "example.com.cn"); withScheme puts
// the URL's scheme and "://" in front.
std::string HostPart(std::string_view url, bool rootDomain = false, bool withScheme = false);

// Whether the host ends in a two-part suffix such as ".com.cn" or ".net.tw".
bool HasCompoundSuffix(std::string_view host);

// Case-insensitive (ASCII letters) search that only matches at character
// boundaries of code page 936 text. Returns npos when not found.
size_t FindIgnoreCase(std::string_view text, std::string_view part, size_t from = 0);
bool ContainsIgnoreCase(std::string_view text, std::string_view part);

}  // namespace tvk
