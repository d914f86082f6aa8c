#include "web/TextCodec.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "support/TempDir.h"
#include "util/FileIo.h"
#include "util/UiHooks.h"

namespace tvk {
namespace {

using namespace std::string_view_literals;

// Shows bytes as hex, so that a failing case says which bytes differ.
std::string Hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char byte : bytes) {
    if (!out.empty()) out += ' ';
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0xF];
  }
  return out;
}

//--- Charset detection --------------------------------------------------------

TEST(IsUtf8Text, AcceptsOneToThreeByteSequencesWithSomeNonAscii) {
  struct Case { std::string_view bytes; bool want; };
  const Case cases[] = {
      {""sv, false},
      {"plain ascii"sv, false},
      {"\xE4\xB8\xAD"sv, true},                // 中
      {"a\xC3\xA9z"sv, true},                  // é between letters
      {"\xC0\x80"sv, true},                    // only the shape counts
      {"\xED\xA0\x80"sv, true},                // likewise
      {"\xE4\xB8"sv, false},                   // cut short
      {"\xC3"sv, false},
      {"\x80"sv, false},                       // a trail byte alone
      {"\xE4\xB8\xAD\xFF"sv, false},
      {"\xF0\x9F\x98\x80"sv, false},           // four-byte sequences count as malformed
      {"中文"sv, false},                        // GBK bytes
  };
  for (const Case& c : cases) EXPECT_EQ(IsUtf8Text(c.bytes), c.want) << Hex(c.bytes);
}

TEST(MetaCharset, LooksOnlyAtMetaTagsOfThePresentHeadSection) {
  struct Case { const char* html; bool found; int charset; };
  const Case cases[] = {
      {"<head><meta charset=utf-8></head>", true, kMetaUtf8},
      {"<HEAD><META CHARSET=\"UTF-8\"></HEAD>", true, kMetaUtf8},
      {"<head><meta charset='utf-8'></head>", true, kMetaUtf8},
      {"<meta charset=utf-8>", true, kMetaUtf8},  // no head section: the whole text
      {"<head><title>t</title></head><meta charset=utf-8>", false, 0},
      {"<head></head><meta charset=utf-8>", false, 0},
      {"<head><meta name=a><meta charset=utf-8></head>", true, kMetaUtf8},
      {"<head><meta><meta charset=utf-8></head>", true, kMetaUtf8},
      {"<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=big5\"></head>", true, kMetaBig5},
      {"<meta charset=Big5-HKSCS>", true, kMetaBig5},  // the Big5 list comes first
      {"<meta charset=\"Big5-HKSCS\">", true, kMetaBig5Hkscs},
      {"<meta charset='big5-hkscs'>", true, kMetaBig5Hkscs},
      {"<meta charset=gbk>", false, 0},
      {"<meta charset=utf8>", false, 0},
      {"<meta charset=utf-8", false, 0},  // the tag never ends
      {"<body>charset=utf-8</body>", false, 0},
      {"", false, 0},
  };
  for (const Case& c : cases) {
    int charset = 0;
    EXPECT_EQ(MetaCharset(c.html, charset), c.found) << c.html;
    if (c.found) {
      EXPECT_EQ(charset, c.charset) << c.html;
    }
  }
}

//--- Page decoding ------------------------------------------------------------

TEST(DecodeBytes, DetectsOrUsesTheCharsetAndGivesBoxText) {
  struct Case { std::string_view bytes; int encoding; std::string_view want; int detected; };
  const Case cases[] = {
      // A byte-order mark wins over any meta tag and is dropped.
      {"\xEF\xBB\xBF<head><meta charset=big5></head>\xE4\xB8\xAD\xE6\x96\x87"sv, kEncodingDetect,
       "<head><meta charset=big5></head>中文"sv, kEncodingUtf8},
      {"\xFF\xFE\x2D\x4E\x87\x65"sv, kEncodingDetect, "中文"sv, kEncodingUtf16Le},
      {"\xFE\xFF\x4E\x2D\x65\x87"sv, kEncodingDetect, "中文"sv, kEncodingUtf16Be},
      // A four-byte sequence keeps IsUtf8Text out: these decode by the meta tag alone.
      {"<head><meta charset=utf-8></head>\xF0\x9F\x98\x80"sv, kEncodingDetect,
       "<head><meta charset=utf-8></head>\x94\x39\xFC\x36"sv, kEncodingUtf8},
      {"<meta charset=utf-8>\xF0\x9F\x98\x80"sv, kEncodingDetect, "<meta charset=utf-8>\x94\x39\xFC\x36"sv,
       kEncodingUtf8},
      {"<head></head><meta charset=utf-8>\xF0\x9F\x98\x80"sv, kEncodingDetect,
       "<head></head><meta charset=utf-8>\xF0\x9F\x98\x80"sv, kEncodingBoxText},
      {"<head><meta content=\"text/html; charset=big5\"></head>\xA4\xA4\xA4\xE5"sv, kEncodingDetect,
       "<head><meta content=\"text/html; charset=big5\"></head>中文"sv, kEncodingBig5},
      {"<meta charset=\"Big5-HKSCS\">\xC1\x63\xC5\xE9"sv, kEncodingDetect, "<meta charset=\"Big5-HKSCS\">繁體"sv,
       kEncodingBig5Hkscs},
      // No mark, no meta tag: UTF-8 by its shape, else the bytes as they are.
      {"\xE8\xBD\xAF\xE4\xBB\xB6"sv, kEncodingDetect, "软件"sv, kEncodingUtf8},
      {"<p>软件中文</p>"sv, kEncodingDetect, "<p>软件中文</p>"sv, kEncodingBoxText},
      {"<p>plain</p>"sv, kEncodingDetect, "<p>plain</p>"sv, kEncodingBoxText},
      {""sv, kEncodingDetect, ""sv, kEncodingBoxText},
      {"\xEF\xBB\xBF"sv, kEncodingDetect, ""sv, kEncodingUtf8},  // a mark and nothing else
      // The charset told by the caller.
      {"\xE4\xB8\xAD"sv, kEncodingBoxText, "\xE4\xB8\xAD"sv, kEncodingBoxText},
      {"\xEF\xBB\xBF\xE4\xB8\xAD"sv, kEncodingUtf8, "中"sv, kEncodingUtf8},
      {"\xE4\xB8\xAD"sv, kEncodingUtf8, "中"sv, kEncodingUtf8},
      {"\x2D\x4E\x87\x65"sv, kEncodingUtf16Le, "中文"sv, kEncodingUtf16Le},  // no mark: nothing skipped
      {"\xFF\xFE\x2D\x4E"sv, kEncodingUtf16Le, "中"sv, kEncodingUtf16Le},
      {"\xFE\xFF\x4E\x2D"sv, kEncodingUtf16Be, "中"sv, kEncodingUtf16Be},
      {"\xC1\x63\xC5\xE9"sv, kEncodingBig5, "繁體"sv, kEncodingBig5},
      {"\xA4\xA4"sv, kEncodingBig5Hkscs, "中"sv, kEncodingBig5Hkscs},
      {"a\xFF" "b"sv, kEncodingUtf8, "a\x84\x31\xA4\x37" "b"sv, kEncodingUtf8},  // U+FFFD in GB18030
      {"abc"sv, 9, "abc"sv, kEncodingBoxText},
  };
  for (const Case& c : cases) {
    int detected = -1;
    EXPECT_EQ(Hex(DecodeSource({}, c.encoding, c.bytes, {}, &detected)), Hex(c.want)) << Hex(c.bytes);
    EXPECT_EQ(detected, c.detected) << Hex(c.bytes);
    EXPECT_EQ(DecodeBytes(c.bytes, c.encoding), c.want) << Hex(c.bytes);
  }
}

TEST(DecodeSource, ReadsTheFileElseTheBytesElseTheText) {
  test::TempDir dir;
  const std::string page = dir.File("页面.htm");
  ASSERT_TRUE(WriteFileBytes(page, "\xEF\xBB\xBF\xE8\xBD\xAF\xE4\xBB\xB6"));
  int detected = -1;
  EXPECT_EQ(DecodeSource(page, kEncodingDetect, "ignored", "ignored", &detected), "软件");
  EXPECT_EQ(detected, kEncodingUtf8);

  detected = 7;
  EXPECT_EQ(DecodeSource(dir.File("missing.htm"), kEncodingDetect, "\xE4\xB8\xAD", {}, &detected), "");
  EXPECT_EQ(detected, 7);

  const std::string empty = dir.File("empty.htm");
  ASSERT_TRUE(WriteFileBytes(empty, ""));
  EXPECT_EQ(DecodeSource(empty, kEncodingDetect, {}, {}, &detected), "");
  EXPECT_EQ(detected, kEncodingBoxText);

  EXPECT_EQ(DecodeSource({}, kEncodingDetect, {}, "\xE4\xB8\xAD", &detected), "中");
  EXPECT_EQ(detected, kEncodingUtf8);
  EXPECT_EQ(DecodeSource({}, kEncodingDetect, "\xE6\x96\x87", "\xE4\xB8\xAD"), "文");
}

//--- Charset conversion -------------------------------------------------------

TEST(ConvertCharset, ConvertsBetweenNamedCharsets) {
  struct Case { std::string_view bytes; const char* from; const char* to; std::string_view want; };
  const Case cases[] = {
      {"\xE4\xB8\xAD\xE6\x96\x87"sv, "UTF-8", "GB18030", "中文"sv},
      {"\xE4\xB8\xAD"sv, "utf-8", "gb18030", "中"sv},  // names in any case
      {"\xC3\xA9"sv, "UTF-8", "GB18030", "\xA8\xA6"sv},
      {"\xC3\x80"sv, "UTF-8", "GB18030", "\x81\x30\x86\x38"sv},          // À: four bytes
      {"\xED\x95\x9C"sv, "UTF-8", "GB18030", "\x83\x36\x84\x33"sv},      // Hangul
      {"\xF0\x9F\x98\x80"sv, "UTF-8", "GB18030", "\x94\x39\xFC\x36"sv},  // beyond U+FFFF
      {"\xE2\x82\xAC"sv, "UTF-8", "GB18030", "\xA2\xE3"sv},              // euro sign
      {"\xE2\x82\xAC"sv, "UTF-8", "GBK", "\x80"sv},
      {"\xE1\xB8\xBF"sv, "UTF-8", "GB18030", "\xA8\xBC"sv},              // U+1E3F
      {"\xEE\x9F\x87"sv, "UTF-8", "GB18030", "\x81\x35\xF4\x37"sv},      // U+E7C7
      {"\xEF\xB8\x90"sv, "UTF-8", "GB18030", "\xA6\xD9"sv},              // U+FE10
      {"\xE2\xBA\x81"sv, "UTF-8", "GB18030", "\xFE\x50"sv},              // U+2E81
      {"\x81\x30\x86\x38"sv, "GB18030", "UTF-8", "\xC3\x80"sv},
      {"\xFE\x51"sv, "GB18030", "UTF-8", "\xF0\xA0\x82\x87"sv},          // U+20087
      {"\x90\x30\x81\x30"sv, "GB18030", "UTF-8", "\xF0\x90\x80\x80"sv},  // U+10000
      {"\x80"sv, "GB18030", "UTF-8", "\xEF\xBF\xBD"sv},                  // not a GB18030 code
      // Code page 936, with its private-use characters for the user-defined areas.
      {"中"sv, "GBK", "UTF-8", "\xE4\xB8\xAD"sv},
      {"\x80"sv, "CP936", "UTF-8", "\xE2\x82\xAC"sv},
      {"\xAA\xA1"sv, "GBK", "UTF-8", "\xEE\x80\x80"sv},    // U+E000
      {"\xA1\x40"sv, "GBK", "UTF-8", "\xEE\x93\x86"sv},    // U+E4C6
      {"\xFE\x50"sv, "GB2312", "UTF-8", "\xEE\xA0\x95"sv}, // U+E815
      {"\xEF\xA3\xB5"sv, "UTF-8", "GBK", "?"sv},           // U+F8F5: Windows would write 0xFF
      {"\xC3\x80"sv, "UTF-8", "GBK", "?"sv},
      // Big5 (code page 950), also for Big5-HKSCS.
      {"\xA4\xA4\xA4\xE5"sv, "BIG5", "GB18030", "中文"sv},
      {"\xC1\x63\xC5\xE9"sv, "Big5-HKSCS", "GB18030", "繁體"sv},
      {"\xFA\x40"sv, "BIG5", "UTF-8", "\xEE\x80\x80"sv},   // U+E000
      {"\x81\x40"sv, "BIG5", "UTF-8", "\xEE\xBA\xB8"sv},   // U+EEB8
      {"\xF9\xF9"sv, "BIG5", "UTF-8", "\xE2\x95\x90"sv},   // U+2550, which also has A2A4
      {"\xE2\x95\x90"sv, "UTF-8", "BIG5", "\xF9\xF9"sv},
      {"\xE5\x8D\x81"sv, "UTF-8", "BIG5", "\xA4\x51"sv},   // U+5341, which also has A2CC
      // UTF-16 both ways; marks are dropped on input and never written.
      {"\x2D\x4E"sv, "UTF-16LE", "GB18030", "中"sv},
      {"\xFF\xFE\x2D\x4E"sv, "UTF-16LE", "GB18030", "中"sv},
      {"\xFE\xFF\x4E\x2D"sv, "UTF-16BE", "GB18030", "中"sv},
      {"中"sv, "GB18030", "UTF-16LE", "\x2D\x4E"sv},
      {"中"sv, "GB18030", "UTF-16BE", "\x4E\x2D"sv},
      {"中"sv, "GBK", "UTF-8", "\xE4\xB8\xAD"sv},
      {"\xEF\xBB\xBF\xE4\xB8\xAD"sv, "UTF-8", "GB18030", "中"sv},
      {"\x3D\xD8\x00\xDE"sv, "UTF-16LE", "UTF-8", "\xF0\x9F\x98\x80"sv},  // a surrogate pair
      // Malformed input: each bad sequence becomes U+FFFD.
      {"\xE4\xB8" "A"sv, "UTF-8", "UTF-8", "\xEF\xBF\xBD" "A"sv},
      {"\xF0\x9F\x98"sv, "UTF-8", "UTF-8", "\xEF\xBF\xBD"sv},
      {"\xC0\xAF"sv, "UTF-8", "UTF-8", "\xEF\xBF\xBD\xEF\xBF\xBD"sv},
      {"\xED\xA0\x80"sv, "UTF-8", "UTF-8", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"sv},
      {"\xE4\xB8" "A"sv, "UTF-8", "GB18030", "\x84\x31\xA4\x37" "A"sv},
      {"a\xD6"sv, "GBK", "UTF-8", "a\xEF\xBF\xBD"sv},
      {"\xFF中"sv, "GBK", "UTF-8", "\xEF\xBF\xBD\xE4\xB8\xAD"sv},
      {"\xA4\xA4\x81\x30\xA4"sv, "BIG5", "UTF-8", "\xE4\xB8\xAD\xEF\xBF\xBD" "0\xEF\xBF\xBD"sv},
      {"\x2D\x4E\x41"sv, "UTF-16LE", "UTF-8", "\xE4\xB8\xAD\xEF\xBF\xBD"sv},  // odd last byte
      {"\x00\xD8\x41\x00"sv, "UTF-16LE", "UTF-8", "\xEF\xBF\xBD" "A"sv},     // lone surrogate
      // Failures.
      {"abc"sv, "latin1", "UTF-8", ""sv},
      {"abc"sv, "UTF-8", "", ""sv},
      {""sv, "UTF-8", "GB18030", ""sv},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Hex(ConvertCharset(c.bytes, c.from, c.to)), Hex(c.want)) << c.from << " > " << c.to << ": " << Hex(c.bytes);
}

std::string Utf16Le(uint32_t codePoint) {
  std::string out;
  auto unit = [&](uint32_t u) {
    out += static_cast<char>(u & 0xFF);
    out += static_cast<char>(u >> 8);
  };
  if (codePoint < 0x10000) {
    unit(codePoint);
  } else {
    unit(0xD800 + ((codePoint - 0x10000) >> 10));
    unit(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
  }
  return out;
}

std::string FourByteCode(uint32_t number) {
  return {static_cast<char>(0x81 + number / 12600), static_cast<char>(0x30 + number / 1260 % 10),
          static_cast<char>(0x81 + number / 10 % 126), static_cast<char>(0x30 + number % 10)};
}

TEST(ConvertCharset, Gb18030CodesAndCharactersMatchOneToOne) {
  // Each character follows an "A", so that U+FEFF is not taken for a byte-order mark.
  const std::string lead = Utf16Le('A');
  int fourByteCodes = 0;
  for (uint32_t codePoint = 0x80; codePoint <= 0xFFFF; ++codePoint) {
    if (codePoint >= 0xD800 && codePoint <= 0xDFFF) continue;
    const std::string character = lead + Utf16Le(codePoint);
    const std::string code = ConvertCharset(character, "UTF-16LE", "GB18030");
    if (code == "A?") continue;  // the few private-use characters that GB18030 took back
    ASSERT_TRUE(code.size() == 3 || code.size() == 5) << std::hex << codePoint;
    if (code.size() == 5) ++fourByteCodes;
    ASSERT_EQ(Hex(ConvertCharset(code, "GB18030", "UTF-16LE")), Hex(character)) << std::hex << codePoint;
  }
  EXPECT_EQ(fourByteCodes, 39420 - 18);  // all four-byte codes of the BMP but 18 unassigned ones

  for (uint32_t number = 0; number < 39420; ++number) {
    const std::string code = "A" + FourByteCode(number);
    const std::string character = ConvertCharset(code, "GB18030", "UTF-16LE");
    if (character == lead + "\xFD\xFF") continue;  // unassigned
    ASSERT_EQ(Hex(ConvertCharset(character, "UTF-16LE", "GB18030")), Hex(code)) << number;
  }
  for (uint32_t codePoint : {0x10000u, 0x1F600u, 0x2A6D6u, 0x10FFFFu}) {
    const std::string code = ConvertCharset(Utf16Le(codePoint), "UTF-16LE", "GB18030");
    EXPECT_EQ(Hex(code), Hex(FourByteCode(189000 + codePoint - 0x10000))) << std::hex << codePoint;
  }
}

// FNV-1a over a sequence of conversion results.
class Fingerprint {
 public:
  void Add(std::string_view bytes) {
    for (unsigned char byte : bytes) hash_ = (hash_ ^ byte) * 1099511628211ull;
    hash_ = (hash_ ^ 0x100) * 1099511628211ull;  // ends one result
  }
  uint64_t value() const { return hash_; }

 private:
  uint64_t hash_ = 14695981039346656037ull;
};

// The whole mapping of each East Asian charset, in both directions, as one
// number. The expected numbers are those of glibc's GBK, BIG5 and GB18030
// completed with the private-use characters of Windows' code pages 936 and 950
// (a table compared code by code against Wine's), so both builds must match.
TEST(ConvertCharset, EastAsianTablesAreTheSameOnEveryBuild) {
  struct Case { const char* charset; uint64_t decode; uint64_t encode; };
  const Case cases[] = {
      {"GBK", 8240359328774247259u, 4729421338585505453u},
      {"BIG5", 13251292288113927728u, 11154264293989297736u},
      {"GB18030", 4731815602824052584u, 14573924679998273889u},
  };
  for (const Case& c : cases) {
    Fingerprint decode;
    for (unsigned byte = 0; byte <= 0xFF; ++byte)
      decode.Add(ConvertCharset(std::string(1, static_cast<char>(byte)), c.charset, "UTF-16LE"));
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead)
      for (unsigned trail = 0x30; trail <= 0xFF; ++trail)
        decode.Add(ConvertCharset(std::string{static_cast<char>(lead), static_cast<char>(trail)}, c.charset,
                                  "UTF-16LE"));
    Fingerprint encode;
    for (uint32_t codePoint = 1; codePoint <= 0xFFFF; ++codePoint)
      if (codePoint < 0xD800 || codePoint > 0xDFFF)
        encode.Add(ConvertCharset(Utf16Le(codePoint), "UTF-16LE", c.charset));
    EXPECT_EQ(decode.value(), c.decode) << c.charset;
    EXPECT_EQ(encode.value(), c.encode) << c.charset;
  }
}

//--- URL escaping -------------------------------------------------------------

TEST(UrlEscape, EscapesEveryByteButLettersDigitsAndDotUnderscoreHyphen) {
  struct Case { const char* text; bool asUtf8, keepQuerySeparators, escapeEverything; const char* want; };
  const Case cases[] = {
      {"a b.c", true, false, false, "a%20b.c"},
      {"", true, false, false, ""},
      {"", false, false, false, ""},
      {"中", true, false, false, "%E4%B8%AD"},
      {"中", false, false, false, "%D6%D0"},
      {"體", false, false, false, "%F3w"},  // the trail byte 0x77 is the letter w
      {"/Tavrel软件/", true, false, false, "%2FTavrel%E8%BD%AF%E4%BB%B6%2F"},
      {"a=1&b=2", true, true, false, "a=1&b=2"},
      {"a=1&b=2", true, false, false, "a%3D1%26b%3D2"},
      {"x.y_z-w~", false, false, false, "x.y_z-w%7E"},
      {"100%", false, false, false, "100%25"},
      {"ab.1", false, false, true, "%61%62%2E%31"},
      {"a&b", true, true, true, "%61&%62"},
      {"\n\x7F", false, false, false, "%0A%7F"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(UrlEscape(c.text, c.asUtf8, c.keepQuerySeparators, c.escapeEverything), c.want) << c.text;
}

class MessagePumpCount : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMessagePumpHook([this] { ++count; });
  }
  void TearDown() override { SetMessagePumpHook(nullptr); }
  int count = 0;
};

TEST_F(MessagePumpCount, UrlEscapeLetsMessagesRunAfterEachEscapedByte) {
  UrlEscape("a b/c", false, false, false);
  EXPECT_EQ(count, 2);
  count = 0;
  UrlEscape("中", true, false, false);
  EXPECT_EQ(count, 4);  // three UTF-8 bytes and the terminator
}

TEST_F(MessagePumpCount, IsUtf8TextLetsMessagesRunThroughLongInput) {
  const std::string text(100000, 'a');
  EXPECT_FALSE(IsUtf8Text(text));
  EXPECT_GT(count, 1);
  EXPECT_LT(count, 1000);
}

TEST(Utf8Bytes, KeepsTheTerminatorUnlessDropped) {
  struct Case { std::string_view text; bool drop; std::string_view want; };
  const Case cases[] = {
      {"中"sv, false, "\xE4\xB8\xAD\0"sv},
      {"中"sv, true, "\xE4\xB8\xAD"sv},
      {""sv, false, "\0"sv},
      {""sv, true, ""sv},
      {"软件"sv, true, "\xE8\xBD\xAF\xE4\xBB\xB6"sv},
      {"\xAA\xA1"sv, true, "\xEE\x80\x80"sv},  // user-defined area: U+E000
      {"a\xD6"sv, true, "a\xEF\xBF\xBD"sv},     // a lead byte alone
  };
  for (const Case& c : cases) EXPECT_EQ(Hex(Utf8Bytes(c.text, c.drop)), Hex(c.want)) << Hex(c.text);
}

//--- Text helpers -------------------------------------------------------------

TEST(TextBetweenMarkers, TakesTheTextBetweenAndMovesPastTheTail) {
  struct Case { const char* text; const char* head; const char* tail; size_t pos; const char* want; size_t posAfter; };
  const Case cases[] = {
      {"<a>x</a>", "<a>", "</a>", 0, "x", 8},
      {"<A>x</A>", "<a>", "</a>", 0, "x", 8},
      {"<a>x</a><a>y</a>", "<a>", "</a>", 8, "y", 16},
      {"<a>x</a><a>y</a>", "<a>", "</a>", 1, "y", 16},
      {"[]", "[", "]", 0, "", 2},
      {"abc", "", "c", 0, "ab", 3},
      {"abc", "", "c", 1, "b", 3},
      {"abc", "a", "", 0, "bc", 3},
      {"abc", "", "", 0, "abc", 3},
      {"體Wx>", "w", ">", 0, "x", 5},  // the trail byte 0x77 of 體 is no "w"
      {"<a>x", "<a>", "</a>", 0, "", 0},
      {"x</a>", "<a>", "</a>", 0, "", 0},
      {"ab", "a", "b", 5, "", 5},
  };
  for (const Case& c : cases) {
    size_t pos = c.pos;
    EXPECT_EQ(TextBetweenMarkers(c.text, c.head, c.tail, pos), c.want) << c.text << " from " << c.pos;
    EXPECT_EQ(pos, c.posAfter) << c.text << " from " << c.pos;
  }
}

TEST(ContainsAnyPattern, AnyOrAllPatternsIgnoringCase) {
  struct Case { const char* text; const char* patterns; bool any; bool want; };
  const Case cases[] = {
      {"content=\"charset=UTF-8\"", "charset=utf-8[fg]nothing", true, true},
      {"content=\"charset=UTF-8\"", "charset=utf-8[fg]nothing", false, false},
      {"ab", "A[fg]B", false, true},
      {"ab", "x[fg]y", true, false},
      {"中文", "文", true, true},
      {"體", "w", true, false},  // a trail byte is not a character
      {"ab", "", true, false},
      {"ab", "", false, true},
      {"ab", "[fg][fg]", true, false},
      {"", "a", true, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ContainsAnyPattern(c.text, c.patterns, c.any), c.want) << c.text << " / " << c.patterns;
}

TEST(ReplaceList, ReplacesEachFindItemInTurn) {
  struct Case {
    const char* text; const char* find; const char* replacements;
    bool caseSensitive, fillEmpty; const char* separator; int count; const char* want;
  };
  const Case cases[] = {
      {"a-b.c", "-|.", "+|*", true, false, "|", 0, "a+b*c"},
      {"aAa", "a", "x", true, false, "|", 0, "xAx"},
      {"aAa", "a", "x", false, false, "|", 0, "xxx"},
      {"abc", "a|b|c", "1", true, false, "|", 0, "1"},      // missing replacements are empty
      {"abc", "a|b|c", "1", true, true, "|", 0, "111"},     // ... or the first one
      {"abc", "a|b|c", "1||3", true, true, "|", 0, "113"},
      {"abc", "a|b", "1|2|3", true, false, "|", 0, "12c"},  // extra replacements are dropped
      {"aaa", "a", "b", true, false, "|", 2, "bba"},
      {"aaa", "a", "b", true, false, "|", -1, "bbb"},
      {"a,b", "a;b", "1;2", true, false, ";", 0, "1,2"},
      {"ab", "a|b", "1|2", true, false, "", 0, "12"},       // empty separator: "|"
      {"ab", "a|1", "1|2", true, false, "|", 0, "2b"},      // items apply one after another
      {"aaa", "aa", "a", true, false, "|", 0, "aa"},        // no rescan of the replacement
      {"abc", "", "x", true, false, "|", 0, "abc"},
      {"體w", "w", "x", true, false, "|", 0, "體x"},
      {"\x81\x7C" "a", "\x81\x7C|a", "X|Y", true, false, "|", 0, "XY"},  // 0x7C as a trail byte
  };
  for (const Case& c : cases)
    EXPECT_EQ(ReplaceList(c.text, c.find, c.replacements, c.caseSensitive, c.fillEmpty, c.separator, c.count), c.want)
        << c.text << " / " << c.find;
}

}  // namespace
}  // namespace tvk
