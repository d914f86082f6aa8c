#include "web/TextCodec.h"

#include <optional>
#include <vector>

#include "util/FileIo.h"
#include "util/Gbk.h"
#include "util/Text.h"
#include "util/UiHooks.h"
#include "web/CharsetConvert.h"

namespace tvk {

namespace {

//--- Searching box text -------------------------------------------------------

char FoldCase(char ch) { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch; }

// True when `part` occurs at `at`, character for character.
bool MatchesAt(std::string_view text, size_t at, std::string_view part, bool caseSensitive) {
  if (text.size() - at < part.size()) return false;
  for (size_t i = 0; i < part.size();) {
    size_t length = GbkCharLength(part, i);
    if (GbkCharLength(text, at + i) != length) return false;
    if (length == 1) {
      char a = text[at + i], b = part[i];
      if (caseSensitive ? a != b : FoldCase(a) != FoldCase(b)) return false;
    } else if (text.substr(at + i, 2) != part.substr(i, 2)) {
      return false;
    }
    i += length;
  }
  return true;
}

// Offset of the first `part` that starts a character at or after `from`, or npos.
size_t FindText(std::string_view text, std::string_view part, size_t from, bool caseSensitive) {
  if (part.empty()) return from <= text.size() ? from : std::string_view::npos;
  for (size_t at = from; at < text.size(); at += GbkCharLength(text, at))
    if (MatchesAt(text, at, part, caseSensitive)) return at;
  return std::string_view::npos;
}

std::vector<std::string_view> SplitList(std::string_view text, std::string_view separator) {
  std::vector<std::string_view> items;
  size_t at = 0;
  for (size_t hit; (hit = FindText(text, separator, at, true)) != std::string_view::npos; at = hit + separator.size())
    items.push_back(text.substr(at, hit - at));
  items.push_back(text.substr(at));
  return items;
}

std::optional<std::string_view> Between(std::string_view text, std::string_view head, std::string_view tail,
                                        size_t& pos) {
  if (pos > text.size()) return std::nullopt;
  size_t headAt = FindText(text, head, pos, false);
  if (headAt == std::string_view::npos) return std::nullopt;
  size_t start = headAt + head.size();
  size_t tailAt = tail.empty() ? text.size() : FindText(text, tail, start, false);
  if (tailAt == std::string_view::npos) return std::nullopt;
  pos = tailAt + tail.size();
  return text.substr(start, tailAt - start);
}

std::string ReplaceOccurrences(std::string_view text, std::string_view from, std::string_view to, bool caseSensitive,
                               int count) {
  std::string out;
  size_t at = 0;
  for (int done = 0; count < 1 || done < count; ++done) {
    size_t hit = FindText(text, from, at, caseSensitive);
    if (hit == std::string_view::npos) break;
    out.append(text.substr(at, hit - at)).append(to);
    at = hit + from.size();
  }
  return out.append(text.substr(at));
}

//--- Unicode forms ------------------------------------------------------------

constexpr char16_t kReplacementChar = 0xFFFD;

void AppendUtf16(std::u16string& out, char32_t ch) {
  if (ch < 0x10000) {
    out.push_back(static_cast<char16_t>(ch));
  } else {
    ch -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (ch >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (ch & 0x3FF)));
  }
}

// Every maximal ill-formed subsequence becomes one U+FFFD (the Unicode practice).
std::u16string DecodeUtf8(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    unsigned lead = static_cast<unsigned char>(bytes[i++]);
    if (lead < 0x80) {
      out.push_back(static_cast<char16_t>(lead));
      continue;
    }
    size_t more = 0;
    unsigned low = 0x80, high = 0xBF;  // range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
      more = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      more = 2;
      if (lead == 0xE0) low = 0xA0;   // no overlong forms
      if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      more = 3;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
      out.push_back(kReplacementChar);
      continue;
    }
    char32_t ch = lead & (0x3F >> more);
    size_t got = 0;
    for (; got < more && i < bytes.size(); ++got, ++i) {
      unsigned next = static_cast<unsigned char>(bytes[i]);
      if (got == 0 ? next < low || next > high : (next & 0xC0) != 0x80) break;
      ch = ch << 6 | (next & 0x3F);
    }
    AppendUtf16(out, got == more ? ch : kReplacementChar);
  }
  return out;
}

// Unpaired surrogates are written as U+FFFD.
std::string EncodeUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 3);
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t ch = text[i];
    if (ch >= 0xD800 && ch <= 0xDFFF) {
      if (ch <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
        ch = 0x10000 + ((ch - 0xD800) << 10) + (text[++i] - 0xDC00);
      else
        ch = kReplacementChar;
    }
    if (ch < 0x80) {
      out.push_back(static_cast<char>(ch));
    } else if (ch < 0x800) {
      out.push_back(static_cast<char>(0xC0 | ch >> 6));
      out.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
    } else if (ch < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | ch >> 12));
      out.push_back(static_cast<char>(0x80 | (ch >> 6 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | ch >> 18));
      out.push_back(static_cast<char>(0x80 | (ch >> 12 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (ch >> 6 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
    }
  }
  return out;
}

// Unpaired surrogates and an odd last byte become U+FFFD.
std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
  std::u16string units;
  units.reserve(bytes.size() / 2 + 1);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    unsigned first = static_cast<unsigned char>(bytes[i]), second = static_cast<unsigned char>(bytes[i + 1]);
    units.push_back(static_cast<char16_t>(bigEndian ? first << 8 | second : second << 8 | first));
  }
  std::u16string out;
  out.reserve(units.size());
  for (size_t i = 0; i < units.size(); ++i) {
    char16_t unit = units[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
      out.push_back(unit);
      out.push_back(units[++i]);
    } else {
      out.push_back(unit >= 0xD800 && unit <= 0xDFFF ? kReplacementChar : unit);
    }
  }
  if (bytes.size() % 2 != 0) out.push_back(kReplacementChar);
  return out;
}

// Unpaired surrogates are written as U+FFFD.
std::string EncodeUtf16(std::u16string_view text, bool bigEndian) {
  std::string out;
  out.reserve(text.size() * 2);
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t unit = text[i];
    bool paired = unit >= 0xD800 && unit <= 0xDFFF &&
                  (unit <= 0xDBFF ? i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF
                                  : i > 0 && text[i - 1] >= 0xD800 && text[i - 1] <= 0xDBFF);
    if (unit >= 0xD800 && unit <= 0xDFFF && !paired) unit = kReplacementChar;
    char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    out.push_back(bigEndian ? high : low);
    out.push_back(bigEndian ? low : high);
  }
  return out;
}

//--- East Asian charsets, with substitutes ------------------------------------
// The platform conversions are strict. When one fails, the input is split in
// halves at character boundaries until each failing character stands alone;
// well-formed stretches still convert in one call.

size_t UnitLength(EastAsianCharset charset, std::string_view bytes, size_t at) {
  auto byteAt = [&](size_t i) -> unsigned { return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0; };
  unsigned lead = byteAt(at), second = byteAt(at + 1);
  if (lead < 0x81 || lead > 0xFE) return 1;
  switch (charset) {
    case EastAsianCharset::kGbk:
      return GbkCharLength(bytes, at);
    case EastAsianCharset::kBig5:
      return (second >= 0x40 && second <= 0x7E) || (second >= 0xA1 && second <= 0xFE) ? 2 : 1;
    case EastAsianCharset::kGb18030:
      if (second >= 0x30 && second <= 0x39) {
        unsigned third = byteAt(at + 2), fourth = byteAt(at + 3);
        return third >= 0x81 && third <= 0xFE && fourth >= 0x30 && fourth <= 0x39 ? 4 : 1;
      }
      return second >= 0x40 && second <= 0xFE && second != 0x7F ? 2 : 1;
  }
  return 1;
}

// Decodes the units [first, last) of `bytes`, whose starts are `starts`.
void DecodeUnits(EastAsianCharset charset, std::string_view bytes, const std::vector<size_t>& starts, size_t first,
                 size_t last, std::u16string& out) {
  std::u16string piece;
  if (DecodeEastAsian(charset, bytes.substr(starts[first], starts[last] - starts[first]), piece)) {
    out += piece;
  } else if (last - first == 1) {
    out.push_back(kReplacementChar);
  } else {
    size_t middle = first + (last - first) / 2;
    DecodeUnits(charset, bytes, starts, first, middle, out);
    DecodeUnits(charset, bytes, starts, middle, last, out);
  }
}

std::u16string DecodeEastAsianText(EastAsianCharset charset, std::string_view bytes) {
  std::u16string out;
  if (DecodeEastAsian(charset, bytes, out)) return out;
  std::vector<size_t> starts;
  for (size_t at = 0; at < bytes.size(); at += UnitLength(charset, bytes, at)) starts.push_back(at);
  starts.push_back(bytes.size());
  out.clear();
  DecodeUnits(charset, bytes, starts, 0, starts.size() - 1, out);
  return out;
}

void EncodeUnits(EastAsianCharset charset, std::u16string_view text, const std::vector<size_t>& starts, size_t first,
                 size_t last, std::string& out) {
  std::string piece;
  if (EncodeEastAsian(charset, text.substr(starts[first], starts[last] - starts[first]), piece)) {
    out += piece;
  } else if (last - first == 1) {
    out.push_back('?');
  } else {
    size_t middle = first + (last - first) / 2;
    EncodeUnits(charset, text, starts, first, middle, out);
    EncodeUnits(charset, text, starts, middle, last, out);
  }
}

std::string EncodeEastAsianText(EastAsianCharset charset, std::u16string_view text) {
  std::string out;
  if (EncodeEastAsian(charset, text, out)) return out;
  std::vector<size_t> starts;  // characters: a surrogate pair is one
  for (size_t at = 0; at < text.size(); ++at) {
    starts.push_back(at);
    if (text[at] >= 0xD800 && text[at] <= 0xDBFF && at + 1 < text.size() && text[at + 1] >= 0xDC00 &&
        text[at + 1] <= 0xDFFF)
      ++at;
  }
  starts.push_back(text.size());
  out.clear();
  EncodeUnits(charset, text, starts, 0, starts.size() - 1, out);
  return out;
}

//--- Named charsets -----------------------------------------------------------

enum class Charset { kUtf8, kUtf16Le, kUtf16Be, kGbk, kBig5, kGb18030 };

struct CharsetName {
  std::string_view name;
  Charset charset;
};

// NB: Big5-HKSCS is read and written as Big5 (code page 950). Windows has no
// HKSCS code page (951 is not one, and Wine lacks it), and both builds must
// give the same text: the characters that HKSCS adds come out as the
// private-use characters of 950's user-defined area.
constexpr CharsetName kCharsetNames[] = {
    {"UTF-8", Charset::kUtf8},   {"UTF-16LE", Charset::kUtf16Le},   {"UTF-16BE", Charset::kUtf16Be},
    {"BIG5", Charset::kBig5},    {"BIG5-HKSCS", Charset::kBig5},    {"GB18030", Charset::kGb18030},
    {"GBK", Charset::kGbk},      {"CP936", Charset::kGbk},          {"GB2312", Charset::kGbk},
};

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  return true;
}

std::optional<Charset> ParseCharset(std::string_view name) {
  for (const CharsetName& entry : kCharsetNames)
    if (EqualsIgnoringCase(name, entry.name)) return entry.charset;
  return std::nullopt;
}

EastAsianCharset EastAsianOf(Charset charset) {
  if (charset == Charset::kBig5) return EastAsianCharset::kBig5;
  return charset == Charset::kGb18030 ? EastAsianCharset::kGb18030 : EastAsianCharset::kGbk;
}

std::u16string DecodeCharset(Charset charset, std::string_view bytes) {
  switch (charset) {
    case Charset::kUtf8: return DecodeUtf8(bytes);
    case Charset::kUtf16Le: return DecodeUtf16(bytes, false);
    case Charset::kUtf16Be: return DecodeUtf16(bytes, true);
    default: return DecodeEastAsianText(EastAsianOf(charset), bytes);
  }
}

std::string EncodeCharset(Charset charset, std::u16string_view text) {
  switch (charset) {
    case Charset::kUtf8: return EncodeUtf8(text);
    case Charset::kUtf16Le: return EncodeUtf16(text, false);
    case Charset::kUtf16Be: return EncodeUtf16(text, true);
    default: return EncodeEastAsianText(EastAsianOf(charset), text);
  }
}

//--- Page decoding ------------------------------------------------------------

constexpr std::string_view kBomUtf8 = "\xEF\xBB\xBF";
constexpr std::string_view kBomUtf16Le = "\xFF\xFE";
constexpr std::string_view kBomUtf16Be = "\xFE\xFF";
constexpr std::string_view kBoxTarget = "GB18030";

// Charset names of the encoding numbers kEncodingUtf8 .. kEncodingBig5Hkscs.
constexpr std::string_view kEncodingCharsets[] = {"UTF-8", "UTF-16LE", "UTF-16BE", "BIG5", "BIG5-HKSCS"};

struct MetaPatterns {
  int charset;
  std::string_view patterns;
};

// In this order: "charset=Big5" also matches an unquoted "charset=Big5-HKSCS".
constexpr MetaPatterns kMetaPatterns[] = {
    {kMetaUtf8, "charset=UTF-8[fg]charset=\"UTF-8\"[fg]charset='UTF-8'"},
    {kMetaBig5, "charset=Big5[fg]charset=\"Big5\"[fg]charset='Big5'"},
    {kMetaBig5Hkscs, "charset=Big5-HKSCS[fg]charset=\"Big5-HKSCS\"[fg]charset='Big5-HKSCS'"},
};

// IsUtf8Text lets window messages run once per this many bytes.
constexpr size_t kBytesPerMessagePump = 4096;

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

}  // namespace

std::string DecodeBytes(std::string_view bytes, int encoding) { return DecodeSource({}, encoding, bytes, {}); }

std::string DecodeSource(std::string_view path, int encoding, std::string_view bytes, std::string_view text,
                         int* detected) {
  // An own copy: IsUtf8Text lets window messages run, and handlers may change
  // the caller's buffers meanwhile.
  std::string content;
  if (!path.empty()) {
    content = ReadFileBytes(path);
    if (content.empty() && !FileExists(path)) return {};
  } else {
    content.assign(bytes.empty() ? text : bytes);
  }

  int used = encoding;
  size_t start = 0;
  if (encoding == kEncodingUtf8 && StartsWith(content, kBomUtf8)) {
    start = kBomUtf8.size();
  } else if ((encoding == kEncodingUtf16Le && StartsWith(content, kBomUtf16Le)) ||
             (encoding == kEncodingUtf16Be && StartsWith(content, kBomUtf16Be))) {
    start = 2;
  } else if (encoding == kEncodingDetect) {
    int meta = 0;
    if (StartsWith(content, kBomUtf8)) {
      used = kEncodingUtf8;
      start = kBomUtf8.size();
    } else if (StartsWith(content, kBomUtf16Le)) {
      used = kEncodingUtf16Le;
      start = kBomUtf16Le.size();
    } else if (StartsWith(content, kBomUtf16Be)) {
      used = kEncodingUtf16Be;
      start = kBomUtf16Be.size();
    } else if (MetaCharset(content, meta)) {
      used = meta == kMetaUtf8 ? kEncodingUtf8 : meta == kMetaBig5 ? kEncodingBig5 : kEncodingBig5Hkscs;
    }
  }
  std::string_view body = std::string_view(content).substr(start);
  if (used == kEncodingDetect && IsUtf8Text(body)) used = kEncodingUtf8;

  std::string result;
  if (used >= kEncodingUtf8 && used <= kEncodingBig5Hkscs) {
    if (body.empty() && start > 0) {  // a byte-order mark and nothing else: empty text
      if (detected) *detected = used;
      return {};
    }
    result = ConvertCharset(body, kEncodingCharsets[used - kEncodingUtf8], kBoxTarget);
  }
  if (result.empty()) {
    result = std::move(content);
    used = kEncodingBoxText;
  }
  if (detected) *detected = used;
  return result;
}

bool MetaCharset(std::string_view html, int& charset) {
  size_t pos = 0;
  std::string_view region = Between(html, "<head>", "</head>", pos).value_or(html);
  for (pos = 0;;) {
    std::optional<std::string_view> tag = Between(region, "<meta", ">", pos);
    if (!tag) return false;
    for (const MetaPatterns& entry : kMetaPatterns) {
      if (ContainsAnyPattern(*tag, entry.patterns, true)) {
        charset = entry.charset;
        return true;
      }
    }
  }
}

bool IsUtf8Text(std::string_view bytes) {
  auto isTrail = [&](size_t i) { return (static_cast<unsigned char>(bytes[i]) & 0xC0) == 0x80; };
  bool allAscii = true;
  size_t nextPump = 0;
  for (size_t i = 0; i < bytes.size();) {
    if (i >= nextPump) {
      ProcessPendingMessages();
      nextPump = i + kBytesPerMessagePump;
    }
    unsigned byte = static_cast<unsigned char>(bytes[i]);
    if (byte < 0x80) {
      ++i;
      continue;
    }
    allAscii = false;
    if (i + 1 < bytes.size() && (byte & 0xE0) == 0xC0 && isTrail(i + 1))
      i += 2;
    else if (i + 2 < bytes.size() && (byte & 0xF0) == 0xE0 && isTrail(i + 1) && isTrail(i + 2))
      i += 3;
    else
      return false;
  }
  return !allAscii;
}

std::string ConvertCharset(std::string_view bytes, std::string_view from, std::string_view to) {
  std::optional<Charset> source = ParseCharset(from), target = ParseCharset(to);
  if (!source || !target || bytes.empty()) return {};
  std::u16string text = DecodeCharset(*source, bytes);
  bool unicodeSource = *source == Charset::kUtf8 || *source == Charset::kUtf16Le || *source == Charset::kUtf16Be;
  if (unicodeSource && !text.empty() && text[0] == u'\uFEFF') text.erase(0, 1);
  return EncodeCharset(*target, text);
}

std::string UrlEscape(std::string_view text, bool asUtf8, bool keepQuerySeparators, bool escapeEverything) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  const std::string bytes = asUtf8 ? Utf8Bytes(text, false) : std::string(text);
  std::string out;
  out.reserve(bytes.size() * 3);
  for (char ch : bytes) {
    bool plain = (ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
    if (plain && !escapeEverything) {
      out.push_back(ch);
      continue;
    }
    auto byte = static_cast<unsigned char>(ch);
    out.push_back('%');
    out.push_back(kHexDigits[byte >> 4]);
    out.push_back(kHexDigits[byte & 0xF]);
    ProcessPendingMessages();
  }
  if (asUtf8) out = ReplaceAll(out, "%00", "");  // the terminator of Utf8Bytes
  if (keepQuerySeparators) out = ReplaceList(out, "%26|%3D", "&|=", true, false);
  if (!escapeEverything) out = ReplaceList(out, "%2E|%5F|%2D", ".|_|-", true, false);
  return out;
}

std::string Utf8Bytes(std::string_view text, bool dropTerminator) {
  std::string out = EncodeUtf8(DecodeEastAsianText(EastAsianCharset::kGbk, text));
  if (!dropTerminator) out.push_back('\0');
  return out;
}

std::string TextBetweenMarkers(std::string_view text, std::string_view head, std::string_view tail, size_t& pos) {
  return std::string(Between(text, head, tail, pos).value_or(std::string_view()));
}

bool ContainsAnyPattern(std::string_view text, std::string_view patterns, bool any) {
  for (std::string_view pattern : SplitList(patterns, "[fg]")) {
    if (pattern.empty()) continue;
    bool found = FindText(text, pattern, 0, false) != std::string_view::npos;
    if (found == any) return any;
  }
  return !any;
}

std::string ReplaceList(std::string_view text, std::string_view find, std::string_view replacements,
                        bool caseSensitive, bool fillEmpty, std::string_view separator, int count) {
  if (separator.empty()) separator = "|";
  std::vector<std::string_view> finds = SplitList(find, separator);
  std::vector<std::string_view> replaces = SplitList(replacements, separator);
  replaces.resize(finds.size());
  if (fillEmpty)
    for (std::string_view& item : replaces)
      if (item.empty()) item = replaces.front();
  std::string out(text);
  for (size_t i = 0; i < finds.size(); ++i)
    if (!finds[i].empty()) out = ReplaceOccurrences(out, finds[i], replaces[i], caseSensitive, count);
  return out;
}

}  // namespace tvk
