#include "web/ShareLinkText.h"

#include <gtest/gtest.h>

namespace tvk {
namespace {

TEST(ExtractBetween, CutsValuesOutOfAnswers) {
  struct Case {
    const char* name;
    const char* source;
    const char* head;
    const char* tail;
    bool reverse;
    const char* want;
  };
  const Case cases[] = {
      {"quoted key", R"({"nid": "123", "x": "9"})", "''nid'': ''", "\"", false, "123"},
      {"first value wins", R"({"nid": "1"}, {"nid": "2"})", "''nid'': ''", "\"", false, "1"},
      {"unquoted keys match on the second pass", "{nid: 77, x: 1}", "''nid'': ", ",", false, "77"},
      {"case of letters ignored", R"({"DownloadUrl":"http:\/\/h\/f.rar"})", "''downloadurl'':''", "\"", false,
       "http:\\/\\/h\\/f.rar"},
      {"last path segment", "http://host/share/abc123", "/", "", true, "abc123"},
      {"URL ending in a slash", "http://host/share/", "/", "", true, ""},
      {"empty head: from the start", "abc,def", "", ",", false, "abc"},
      {"empty tail: to the end", "key=value", "=", "", false, "value"},
      {"head without tail", R"({"nid": "123)", "''nid'': ''", "\"", false, ""},
      {"missing head", "nothing here", "''nid'': ''", "\"", false, ""},
      {"fs_id up to the comma", R"({"fs_id":4455,"path":"x"})", "''fs_id'':", ",", false, "4455"},
      {"Chinese around", "名称:软件,版本:1", "名称:", ",", false, "软件"},
  };
  for (const Case& c : cases) {
    ExtractOptions options;
    options.reverse = c.reverse;
    EXPECT_EQ(ExtractBetween(c.source, c.head, c.tail, options), c.want) << c.name;
  }
}

TEST(ExtractBetween, PositionSkipAndCut) {
  std::string source = "<a>1</a><a>22</a><a>333</a>";
  int position = 0;
  ExtractOptions options;
  options.position = &position;
  EXPECT_EQ(ExtractBetween(source, "<a>", "</a>", options), "1");
  EXPECT_EQ(position, 9);  // just after the first "</a>"
  EXPECT_EQ(ExtractBetween(source, "<a>", "</a>", options), "22");
  EXPECT_EQ(ExtractBetween(source, "<a>", "</a>", options), "333");
  EXPECT_EQ(position, static_cast<int>(source.size()) + 1);
  EXPECT_EQ(ExtractBetween(source, "<a>", "</a>", options), "");
  EXPECT_EQ(position, static_cast<int>(source.size()) + 1);  // unchanged after a failure

  ExtractOptions trim;
  trim.skipAfterHead = 1;
  trim.cutBeforeTail = 1;
  EXPECT_EQ(ExtractBetween("[\"value\"]", "[", "]", trim), "value");
  trim.skipAfterHead = 10;
  EXPECT_EQ(ExtractBetween("[\"value\"]", "[", "]", trim), "");

  ExtractOptions keep;
  keep.keepQuotes = true;
  EXPECT_EQ(ExtractBetween("a''b''c", "''", "''", keep), "b");
  EXPECT_EQ(QuoteMarks("''nid'': ''"), "\"nid\": \"");
}

TEST(ExtractBetween, NeverMatchesInsideADoubleByteCharacter) {
  // 0x95 0x5C is one character whose second byte equals "\".
  std::string source = "\x95\x5C" "x\\y";
  EXPECT_EQ(ExtractBetween(source, "\\", "", {}), "y");
  EXPECT_EQ(FindIgnoreCase(source, "\\"), 3u);
}

TEST(HostPart, TakesTheHostAndItsPort) {
  struct Case {
    const char* url;
    bool rootDomain;
    bool withScheme;
    const char* want;
  };
  const Case cases[] = {
      {"http://yunpan.example.com/lk/abc", false, false, "yunpan.example.com"},
      {"http://127.0.0.1:8080/x", false, false, "127.0.0.1:8080"},
      {"host.example.com/path", false, false, "host.example.com"},
      {"http://host.example.com", false, false, "host.example.com"},
      {"http://a.b.Example.COM/x", true, false, "example.com"},
      {"http://www.example.com/x", true, false, "www.example.com"},
      {"http://pan.example.com.cn/x", true, false, "example.com.cn"},
      {"http://example.com/x", true, false, "example.com"},
      {"https://a.example.net/x", true, true, "https://example.net"},
      {"http://h/x", false, true, "http://h"},
  };
  for (const Case& c : cases) EXPECT_EQ(HostPart(c.url, c.rootDomain, c.withScheme), c.want) << c.url;
}

TEST(HasCompoundSuffix, KnowsTheSecondLevelWords) {
  struct Case { const char* host; bool want; };
  const Case cases[] = {{"a.com.cn", true}, {"b.NET.tw", true}, {"x.info.jp", true}, {"example.com", false},
                        {"comics.cn", false}, {"a.gov.uk", true}, {"", false}};
  for (const Case& c : cases) EXPECT_EQ(HasCompoundSuffix(c.host), c.want) << c.host;
}

}  // namespace
}  // namespace tvk
