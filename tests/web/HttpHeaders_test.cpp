#include "web/HttpHeaders.h"

#include <gtest/gtest.h>

#include "web/TextCodec.h"

namespace tvk {
namespace {

TEST(ExtraHeaders, KeepsLinesWithNameAndValueOnly) {
  struct Case {
    const char* text;
    std::vector<HeaderLine> expected;
  };
  const Case cases[] = {
      {"", {}},
      {"A: 1\r\nB: \r\nC: 2: 3", {{"A", "1"}, {"C", "2"}}},
      {"B:", {}},
      {": x", {}},
      {"X-Token: 12ab", {{"X-Token", "12ab"}}},
      {"A:1\r\nB: 2", {{"B", "2"}}},                         // no blank after the colon: not a header line
      {"A: 1\nB: 2", {{"A", "1\nB"}}},                       // a lone LF does not end a line
      {"A: 1\r\n\r\nB: 2\r\n", {{"A", "1"}, {"B", "2"}}},    // empty lines are skipped
      {"名称: 软件盒子", {{"名称", "软件盒子"}}},
  };
  for (const Case& c : cases) {
    std::vector<HeaderLine> parsed = ParseExtraHeaders(c.text);
    ASSERT_EQ(parsed.size(), c.expected.size()) << c.text;
    for (size_t i = 0; i < parsed.size(); ++i) {
      EXPECT_EQ(parsed[i].name, c.expected[i].name) << c.text;
      EXPECT_EQ(parsed[i].value, c.expected[i].value) << c.text;
    }
  }
}

TEST(RequestHeaderList, SetReplacesByNameInAnyCaseAndAddsOtherwise) {
  std::vector<HeaderLine> headers;
  SetHeader(headers, "Referer", "a");
  SetHeader(headers, "Cookie", "");
  SetHeader(headers, "referer", "b");
  ASSERT_EQ(headers.size(), 2u);
  EXPECT_EQ(headers[0].name, "Referer");
  EXPECT_EQ(headers[0].value, "b");
  ASSERT_NE(FindHeader(headers, "COOKIE"), nullptr);
  EXPECT_EQ(*FindHeader(headers, "COOKIE"), "");
  EXPECT_EQ(FindHeader(headers, "Accept"), nullptr);
}

constexpr const char* kAnswerHeaders =
    "Server: fake\r\n"
    "Set-Cookie: a=1; path=/\r\n"
    "set-cookie: lower=1; path=/\r\n"
    "Content-Type: text/html; charset=GBK\r\n"
    "Set-Cookie: b=2\r\n"
    "Set-Cookie:c=3;\r\n"
    "Content-Length: 10\r\n";

TEST(ResponseHeaders, ValueOfTheFirstHeaderOfThatName) {
  EXPECT_EQ(ResponseHeaderValue(kAnswerHeaders, "content-type"), "text/html; charset=GBK");
  EXPECT_EQ(ResponseHeaderValue(kAnswerHeaders, "Set-Cookie"), "a=1; path=/");
  EXPECT_EQ(ResponseHeaderValue(kAnswerHeaders, "Location"), "");
  EXPECT_EQ(ResponseHeaderValue("Location:   http://x/y  \r\n", "Location"), "http://x/y");
}

TEST(ResponseHeaders, SetCookieLinesAreTheExactCaseLinesWithLineBreaks) {
  EXPECT_EQ(SetCookieLinesOf(kAnswerHeaders), "Set-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\nSet-Cookie:c=3;\r\n");
  EXPECT_EQ(SetCookieLinesOf("Server: fake\r\n"), "");
  EXPECT_EQ(SetCookieLinesOf(""), "");
}

TEST(ResponseHeaders, CookieTextKeepsAttributesAndEndsWithSeparator) {
  EXPECT_EQ(CookieTextOf("Set-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\n"), "a=1; path=/; b=2; ");
  EXPECT_EQ(CookieTextOf(SetCookieLinesOf(kAnswerHeaders)), "a=1; path=/; b=2; Set-Cookie:c=3;; ");
  EXPECT_EQ(CookieTextOf(""), "");
}

TEST(ResponseHeaders, ResponseCookieReadsUpToTheNextSemicolonAnywhere) {
  struct Case {
    const char* name;
    const char* expected;
  };
  const Case cases[] = {
      {"a", "1"},
      // The next ";" is in a later line: the text between is the value.
      {"b", "2\r\nSet-Cookie:c=3"},
      {"c", "3"},       // only the form without a blank matches
      {"lower", ""},    // the marker's case must match
      {"d", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ResponseCookieOf(kAnswerHeaders, c.name), c.expected) << c.name;
  EXPECT_EQ(ResponseCookieOf("Set-Cookie: e=5\r\n", "e"), "");  // no ";" follows
}

TEST(TextBetweenCaseSensitive, FindsHeadThenTailCaseSensitively) {
  struct Case {
    const char* source;
    const char* head;
    const char* tail;
    const char* expected;
  };
  const Case cases[] = {
      {"x=[1] y=[2]", "[", "]", "1"},
      {"x=[1] y=[2]", "y=[", "]", "2"},
      {"Name=v;", "name=", ";", ""},
      {"head only", "head", "!", ""},
      {"no head", "<", ">", ""},
      {"<>", "<", ">", ""},
      {"软件=盒子;", "软件=", ";", "盒子"},
  };
  for (const Case& c : cases) EXPECT_EQ(TextBetween(c.source, c.head, c.tail), c.expected) << c.source;
}

TEST(TextBetweenCaseSensitive, OptionalValues) {
  const std::string source = "a=[first] b=[second]";
  size_t length = 99;
  size_t at = 99;
  TextBetweenOptions options;
  options.start = 5;
  options.foundLength = &length;
  options.foundAt = &at;
  EXPECT_EQ(TextBetween(source, "[", "]", options), "second");
  EXPECT_EQ(length, 6u);
  EXPECT_EQ(at, 13u);

  options.maxLength = 3;
  EXPECT_EQ(TextBetween(source, "[", "]", options), "sec");
  EXPECT_EQ(length, 6u);  // the length found, before the cut

  options.tooLongIsMissing = true;
  length = 99;
  EXPECT_EQ(TextBetween(source, "[", "]", options), "");
  EXPECT_EQ(length, 99u);  // not found: out values untouched

  options.start = source.size() + 1;
  options.tooLongIsMissing = false;
  EXPECT_EQ(TextBetween(source, "[", "]", options), "");
}

TEST(ContentType, CharsetNamesGiveEncodingNumbers) {
  struct Case {
    const char* contentType;
    int encoding;
  };
  const Case cases[] = {
      {"text/html; charset=utf-8", kEncodingUtf8},
      {"text/html; Charset=\"UTF-8\"", kEncodingUtf8},
      {"text/plain;charset=gb2312", kEncodingBoxText},
      {"text/plain; charset=GBK; format=flowed", kEncodingBoxText},
      {"text/html; charset=big5", kEncodingBig5},
      {"text/html; charset=Big5-HKSCS", kEncodingBig5Hkscs},
      {"text/plain; charset=utf-16be", kEncodingUtf16Be},
      {"text/plain", kEncodingDetect},
      {"text/plain; charset=koi8-r", kEncodingDetect},
      {"", kEncodingDetect},
  };
  for (const Case& c : cases) EXPECT_EQ(ContentTypeEncoding(c.contentType), c.encoding) << c.contentType;
}

}  // namespace
}  // namespace tvk
