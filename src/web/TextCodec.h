// Text codecs of the web layer: page bodies of any charset become the box's
// code page 936 text (the charset told, or found from a byte-order mark, a meta
// tag or the UTF-8 shape of the bytes), conversion between named charsets, and
// percent-escaping for URLs; with the small marker and list helpers they use.
// Every routine is stateless. Searches in text step over whole GBK characters
// (util/Gbk.h), so a trail byte never matches an ASCII character.
#pragma once

#include <string>
#include <string_view>

namespace tvk {

// Encoding numbers: argument and result of DecodeSource.
inline constexpr int kEncodingDetect = 0;
inline constexpr int kEncodingBoxText = 1;  // code page 936, bytes taken as they are
inline constexpr int kEncodingUtf8 = 2;
inline constexpr int kEncodingUtf16Le = 3;
inline constexpr int kEncodingUtf16Be = 4;
inline constexpr int kEncodingBig5 = 5;
inline constexpr int kEncodingBig5Hkscs = 6;

// Results of MetaCharset.
inline constexpr int kMetaUtf8 = 1;
inline constexpr int kMetaBig5 = 2;
inline constexpr int kMetaBig5Hkscs = 3;

// DecodeSource of `bytes` alone: the box text of a page body.
std::string DecodeBytes(std::string_view bytes, int encoding = kEncodingDetect);

// Decodes the file at `path` (when not empty), else `bytes`, else `text` into
// box text. With kEncodingDetect the charset comes from a leading byte-order
// mark, else from MetaCharset, else UTF-8 when IsUtf8Text; a byte-order mark of
// the charset in use is dropped. Content that is not converted (box text,
// nothing detected, an unknown number) comes back as it is, with encoding
// kEncodingBoxText. Stores the encoding used in `*detected` when given; returns
// empty text and leaves `*detected` alone when the file does not exist.
std::string DecodeSource(std::string_view path, int encoding, std::string_view bytes, std::string_view text,
                         int* detected = nullptr);

// True when a <meta> tag of the head section (of the whole text when there is
// no "<head>" ... "</head>") names UTF-8, Big5 or Big5-HKSCS as charset
// (charset=X, charset="X" or charset='X', any case); `charset` gets kMetaUtf8,
// kMetaBig5 or kMetaBig5Hkscs. Big5 is tried first: an unquoted
// "charset=Big5-HKSCS" gives kMetaBig5.
bool MetaCharset(std::string_view html, int& charset);

// True when the bytes are well-formed UTF-8 made of one- to three-byte
// sequences only, and not all ASCII. Lets window messages run while it works
// through long input: `bytes` must not change meanwhile.
bool IsUtf8Text(std::string_view bytes);

// Converts `bytes` from charset `from` into charset `to`. Names, in any case:
// UTF-8, UTF-16LE, UTF-16BE, BIG5, BIG5-HKSCS (read and written as Big5, code
// page 950), GB18030, GBK (also CP936, GB2312). A byte-order mark at the start
// of Unicode input is dropped and none is written. A malformed sequence becomes
// U+FFFD, a character that `to` has no code for becomes "?". Returns empty
// bytes when a name is unknown.
std::string ConvertCharset(std::string_view bytes, std::string_view from, std::string_view to);

// Percent-escapes `text` (box text, or its UTF-8 bytes when `asUtf8`): every
// byte but 0-9, a-z, A-Z, ".", "_" and "-" becomes "%" and two upper-case hex
// digits. `keepQuerySeparators` keeps "&" and "="; `escapeEverything` escapes
// every byte, letters and digits too. Lets window messages run after each
// escaped byte.
std::string UrlEscape(std::string_view text, bool asUtf8, bool keepQuerySeparators, bool escapeEverything);

// The UTF-8 bytes of box text, followed by one NUL byte unless `dropTerminator`.
std::string Utf8Bytes(std::string_view text, bool dropTerminator);

// The text between the first `head` at or after byte offset `pos` and the first
// `tail` after it (searches ignore ASCII case), and `pos` moves past that tail.
// An empty head stands for `pos` itself, an empty tail for the end of the text.
// Returns empty text and leaves `pos` alone when a marker is not found.
std::string TextBetweenMarkers(std::string_view text, std::string_view head, std::string_view tail, size_t& pos);

// Splits `patterns` at "[fg]" and looks for each (ignoring ASCII case): with
// `any`, true when one occurs in `text`; otherwise true when all occur. Empty
// patterns are skipped; with none left the result is !any.
bool ContainsAnyPattern(std::string_view text, std::string_view patterns, bool any);

// Splits `find` and `replacements` at `separator` ("|" when empty) and, for
// each find item in turn, replaces its occurrences (all of them when `count` is
// below 1, else the first `count`) by the replacement item of the same place.
// Missing replacement items are empty; with `fillEmpty` an empty one takes the
// first replacement item. Empty find items are skipped.
std::string ReplaceList(std::string_view text, std::string_view find, std::string_view replacements,
                        bool caseSensitive, bool fillEmpty, std::string_view separator = "|", int count = 0);

}  // namespace tvk
