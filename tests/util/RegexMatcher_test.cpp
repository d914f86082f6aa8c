#include "util/RegexMatcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "util/Utf16.h"

namespace tvk {
namespace {

// Code page 936 characters whose trail byte is an ASCII regex character.
const std::string kTrailBackslash = "\x81\x5C";  // 乗
const std::string kTrailBar = "\x81\x7C";        // 亅
const std::string kTrailBracket = "\x8C\x5B";    // 孾
const std::string kTrailBrace = "\x8C\x7B";      // 寋

struct Flags {
  bool ignoreCase = true;
  bool multiLine = true;
  bool global = true;
};
constexpr Flags kDefaults{};
constexpr Flags kCaseSensitive{false, true, true};
constexpr Flags kSingleLine{true, false, true};
constexpr Flags kFirstOnly{true, true, false};

RegexMatcher Made(const std::string& pattern, Flags flags = kDefaults) {
  RegexMatcher matcher;
  EXPECT_TRUE(matcher.Create(pattern, flags.ignoreCase, flags.multiLine, flags.global)) << pattern;
  return matcher;
}

std::vector<std::string> MatchValues(const RegexMatcher& matcher) {
  std::vector<std::string> values;
  for (int k = 1; k <= matcher.MatchCount(); ++k) values.push_back(matcher.MatchValue(k));
  return values;
}

using Texts = std::vector<std::string>;

//--- Conversion ---------------------------------------------------------------------

TEST(GbkUtf16, ValidTextRoundTripsOneUnitPerCharacter) {
  const std::string texts[] = {"", "abc", "中文编辑器", "a中b文c", "＊－　ＡＢ", "€", kTrailBackslash + kTrailBar};
  for (const std::string& text : texts) {
    const std::u16string units = GbkToUtf16(text);
    EXPECT_EQ(Utf16ToGbk(units), text) << text;
  }
  EXPECT_EQ(GbkToUtf16("中文编辑器"), u"中文编辑器");
  EXPECT_EQ(GbkToUtf16("a中b"), u"a中b");
  EXPECT_EQ(Utf16ToGbk(u"软件盒子"), "软件盒子");
}

TEST(GbkUtf16, PlatformMappingsOutsideTheStandardTable) {
  struct Case {
    std::string bytes;
    char16_t unit;
  };
  const Case cases[] = {
      {"\x80", 0x20AC},     {"\xFF", 0xF8F5},                          // single bytes
      {"\xAA\xA1", 0xE000}, {"\xAF\xFE", 0xE233},                      // first user-defined area
      {"\xF8\xA1", 0xE234}, {"\xFE\xFE", 0xE4C5},                      // second
      {"\xA1\x40", 0xE4C6}, {"\xA1\x7E", 0xE504}, {"\xA1\x80", 0xE505},  // third: no trail byte 0x7F
      {"\xA7\xA0", 0xE765},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GbkToUtf16(c.bytes), std::u16string(1, c.unit)) << std::hex << static_cast<int>(c.unit);
    EXPECT_EQ(Utf16ToGbk(std::u16string(1, c.unit)), c.bytes) << std::hex << static_cast<int>(c.unit);
  }
}

TEST(GbkUtf16, InvalidInputBecomesQuestionMarks) {
  struct Case {
    std::string bytes;
    std::u16string want;
  };
  const Case cases[] = {
      {"a\x81", u"a?"},       // lead byte at the end
      {"\x81\x20z", u"?z"},   // a lead byte takes the next byte with it
      {"\x81\x7F", u"?"},
  };
  for (const Case& c : cases) EXPECT_EQ(GbkToUtf16(c.bytes), c.want);
  EXPECT_EQ(Utf16ToGbk(std::u16string(1, char16_t{0xD800}) + u"a"), "?a");  // lone surrogate
}

//--- Escaping ---------------------------------------------------------------------

TEST(RegexMatcherEscape, EachOperationEscapesItsOwnSet) {
  struct Case {
    std::string text;
    std::string wildcard, all, keepAlternation, keepGroups;
  };
  const Case cases[] = {
      {"a\\b", "a\\\\b", "a\\\\b", "a\\\\b", "a\\\\b"},
      {"(x)", "\\(x\\)", "\\(x\\)", "\\(x\\)", "(x)"},
      {"a|b", "a|b", "a\\|b", "a|b", "a|b"},
      {"(a|b)", "\\(a|b\\)", "\\(a\\|b\\)", "\\(a|b\\)", "(a|b)"},
      {"文*器", "文.*器", "文\\*器", "文\\*器", "文\\*器"},
      {"a.b?", "a\\.b.?", "a\\.b\\?", "a\\.b\\?", "a\\.b\\?"},
      {"^$+{}[]=", "\\^\\$\\+\\{\\}\\[\\]\\=", "\\^\\$\\+\\{\\}\\[\\]\\=", "\\^\\$\\+\\{\\}\\[\\]\\=",
       "\\^\\$\\+\\{\\}\\[\\]\\="},
      {"-\"", "\\-\\\"", "-\\\"", "-\\\"", "-\\\""},
      {"", "", "", "", ""},
      // Trail bytes are parts of their characters, never escaped.
      {kTrailBackslash + kTrailBar + kTrailBracket + kTrailBrace, kTrailBackslash + kTrailBar + kTrailBracket + kTrailBrace,
       kTrailBackslash + kTrailBar + kTrailBracket + kTrailBrace,
       kTrailBackslash + kTrailBar + kTrailBracket + kTrailBrace,
       kTrailBackslash + kTrailBar + kTrailBracket + kTrailBrace},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RegexMatcher::WildcardToPattern(c.text), c.wildcard) << c.text;
    EXPECT_EQ(RegexMatcher::EscapeAll(c.text), c.all) << c.text;
    EXPECT_EQ(RegexMatcher::EscapeKeepAlternation(c.text), c.keepAlternation) << c.text;
    EXPECT_EQ(RegexMatcher::EscapeKeepGroups(c.text), c.keepGroups) << c.text;
  }
}

TEST(RegexMatcherEscape, EscapedTextMatchesItselfLiterally) {
  const std::string texts[] = {
      "\\^$+.{}[]=()?*|\"-", "a(b)c", "[x]{2}", "1+1=2", "C:\\软件\\盒子.exe", "ab|cd", "\"引号\"",
      kTrailBackslash + "(" + kTrailBar + ")" + kTrailBracket + kTrailBrace,
  };
  for (const std::string& text : texts) {
    RegexMatcher matcher = Made(RegexMatcher::EscapeAll(text), kCaseSensitive);
    ASSERT_EQ(matcher.Execute("<" + text + ">"), 1) << text;
    EXPECT_EQ(matcher.MatchValue(1), text);
  }
}

TEST(RegexMatcherEscape, WildcardsFindNames) {
  struct Case {
    const char* query;
    const char* name;
    bool found;
  };
  const Case cases[] = {
      {"文*器", "中文编辑器", true},  {"文*器", "器文", false},     {"a.b?", "xa.bz", true},
      {"a.b?", "a.b", true},         {"a.b?", "axb", false},      {"(x)", "(x)", true},
      {"(x)", "x", false},           {"录*|截图", "屏幕截图", true}, {"录*|截图", "录音机", true},
      {"c:\\*", "C:\\tools", true},  {"1+1", "11", false},        {"*", "", true},
  };
  for (const Case& c : cases) {
    RegexMatcher matcher = Made(RegexMatcher::WildcardToPattern(c.query));
    EXPECT_EQ(matcher.Execute(c.name) > 0, c.found) << c.query << " in " << c.name;
  }
}

//--- Create, Execute and the matches ---------------------------------------------

TEST(RegexMatcher, WithoutCreateEverythingIsEmpty) {
  RegexMatcher matcher;
  int position = 0;
  EXPECT_EQ(matcher.GetPattern(), "");
  EXPECT_EQ(matcher.Execute("abc"), 0);
  EXPECT_EQ(matcher.MatchCount(), 0);
  EXPECT_EQ(matcher.MatchValue(1), "");
  EXPECT_EQ(matcher.SubMatch(1, 1), "");
  EXPECT_EQ(matcher.SubMatchCount(), 0);
  EXPECT_EQ(matcher.MatchValueAt(1, &position), "");
  EXPECT_EQ(position, RegexMatcher::kPositionNotFound);
  EXPECT_EQ(matcher.Replace("abc", "x"), "");
}

TEST(RegexMatcher, GetPatternReadsBackTheEnginePattern) {
  RegexMatcher matcher;
  ASSERT_TRUE(matcher.Create("文.*器"));
  EXPECT_EQ(matcher.GetPattern(), "文.*器");
  ASSERT_TRUE(matcher.Create(""));
  EXPECT_EQ(matcher.GetPattern(), "");
  ASSERT_TRUE(matcher.Create("a\x81"));  // as the text comes back through UTF-16
  EXPECT_EQ(matcher.GetPattern(), "a?");
}

TEST(RegexMatcher, ExecuteFindsTheMatchesInOrder) {
  struct Case {
    const char* name;
    std::string pattern;
    Flags flags;
    std::string subject;
    Texts want;
  };
  const Case cases[] = {
      {"wildcard query", "文.*器", kDefaults, "中文编辑器", {"文编辑器"}},
      {"global", "a", kDefaults, "banana", {"a", "a", "a"}},
      {"first only", "a", kFirstOnly, "banana", {"a"}},
      {"no match", "x", kDefaults, "banana", {}},
      {"Chinese alternation", "编辑|器", kDefaults, "编辑器", {"编辑", "器"}},
      {"ignore case", "abc", kDefaults, "xABCx", {"ABC"}},
      {"case sensitive", "abc", kCaseSensitive, "xABCx", {}},
      {"full-width letters", "ａｂ", kDefaults, "ＡＢ", {"ＡＢ"}},
      {"Greek", "αβ", kDefaults, "ΑΒ", {"ΑΒ"}},
      {"Cyrillic", "яё", kDefaults, "ЯЁ", {"ЯЁ"}},
      {"Roman numerals", "ⅱ", kDefaults, "Ⅱ", {"Ⅱ"}},
      {"full-width, case sensitive", "ａ", kCaseSensitive, "Ａ", {}},
      {"full-width range", "[ａ-ｚ]+", kDefaults, "xＱＲ", {"ＱＲ"}},
      {"multi-line start", "^b", kDefaults, "a\r\nb", {"b"}},
      {"multi-line end", "a$", kDefaults, "a\r\nb", {"a"}},
      {"single-line start", "^b", kSingleLine, "a\r\nb", {}},
      {"single-line end", "a$", kSingleLine, "a\nb", {}},
      {"every line", "^\\w", kDefaults, "ab\ncd\ref", {"a", "c", "e"}},
      // U+FF0A and U+FF0D end in the bytes of LF and CR but are no line breaks.
      {"full-width asterisk", "^x", kDefaults, "＊x", {}},
      {"full-width hyphen", "^x", kDefaults, "－x", {}},
      {"dot stops at line breaks", "a.b", kDefaults, "a\nb a\rb a b", {"a b"}},
      {"word characters are ASCII", "\\w+", kDefaults, "软件abc_1盒", {"abc_1"}},
      {"digits are ASCII", "\\d", kDefaults, "１2", {"2"}},
      {"blanks are ASCII", "\\s", kDefaults, "　\t", {"\t"}},
      {"word boundary after Chinese", "\\bab", kDefaults, "中ab", {"ab"}},
      {"class of Chinese", "[编器]+", kDefaults, "编辑器", {"编", "器"}},
      {"empty matches step on", "a*", kDefaults, "baa", {"", "aa", ""}},
      {"empty alternative first", "|a", kDefaults, "a", {"", ""}},
      {"empty pattern", "", kDefaults, "ab", {"", "", ""}},
      {"lookahead", "a(?=b)", kDefaults, "ac ab", {"a"}},
      {"back reference", "(.)\\1", kDefaults, "abbc文文", {"bb", "文文"}},
      {"lazy", "<.+?>", kDefaults, "<a><b>", {"<a>", "<b>"}},
      {"lazy count", "a{1,2}?", kDefaults, "aaa", {"a", "a", "a"}},
      {"lazy option", "ab??", kDefaults, "ab", {"a"}},
      {"unicode escape", "\\u6587", kDefaults, "中文", {"文"}},
      {"identity escapes", "\\=\\-\\\"", kDefaults, "=-\"", {"=-\""}},
  };
  for (const Case& c : cases) {
    RegexMatcher matcher = Made(c.pattern, c.flags);
    EXPECT_EQ(matcher.Execute(c.subject), static_cast<int>(c.want.size())) << c.name;
    EXPECT_EQ(MatchValues(matcher), c.want) << c.name;
  }
}

TEST(RegexMatcher, InvalidPatternsMakeAnEngineThatNeverMatches) {
  const char* patterns[] = {"(", ")", "[a", "a{2,1}", "*a", "\\", "(?<x>a)", "[b-a]",
                            // a repetition of a repetition (the regex library would take these)
                            "a**", "a+*", "a?+", "a*??", "a{2}{3}", "(a)*{2}"};
  for (const char* pattern : patterns) {
    RegexMatcher matcher;
    EXPECT_TRUE(matcher.Create(pattern)) << pattern;
    EXPECT_EQ(matcher.GetPattern(), pattern);
    EXPECT_EQ(matcher.Execute("a(ab)[a{2,1}*"), 0) << pattern;
    EXPECT_EQ(matcher.MatchValue(1), "") << pattern;
    EXPECT_EQ(matcher.Replace("a(b", "x"), "") << pattern;
  }
}

TEST(RegexMatcher, ExecuteReplacesTheMatchesOfTheLastRun) {
  RegexMatcher matcher = Made("a.");
  ASSERT_EQ(matcher.Execute("ab ac"), 2);
  EXPECT_EQ(matcher.Execute("ad"), 1);
  EXPECT_EQ(matcher.MatchValue(1), "ad");
  EXPECT_EQ(matcher.MatchValue(2), "");
  EXPECT_EQ(matcher.Execute("xyz"), 0);
  EXPECT_EQ(matcher.MatchValue(1), "");
  // A new engine leaves the matches of the old one in place.
  ASSERT_EQ(matcher.Execute("ab"), 1);
  ASSERT_TRUE(matcher.Create("z"));
  EXPECT_EQ(matcher.MatchValue(1), "ab");
}

TEST(RegexMatcher, MatchNumbersOutsideTheListAreEmpty) {
  RegexMatcher matcher = Made("(a)(b)?");
  ASSERT_EQ(matcher.Execute("ab a"), 2);
  const int numbers[] = {0, -1, 3, 1000};
  for (int k : numbers) {
    EXPECT_EQ(matcher.MatchValue(k), "") << k;
    EXPECT_EQ(matcher.SubMatch(k, 1), "") << k;
  }
  for (int j : numbers) EXPECT_EQ(matcher.SubMatch(1, j), "") << j;
}

TEST(RegexMatcher, SubMatchesAreTheGroupsOfEachMatch) {
  RegexMatcher matcher = Made("(\\w+)@(\\w+)|(#)");
  ASSERT_EQ(matcher.Execute("x@y 软件 ab@cd #"), 3);
  EXPECT_EQ(matcher.SubMatchCount(), 3);
  struct Case {
    int k, j;
    const char* want;
  };
  const Case cases[] = {
      {1, 1, "x"}, {1, 2, "y"}, {1, 3, ""},  // a group that took no part is empty
      {2, 1, "ab"}, {2, 2, "cd"}, {3, 1, ""}, {3, 3, "#"},
  };
  for (const Case& c : cases) EXPECT_EQ(matcher.SubMatch(c.k, c.j), c.want) << c.k << "," << c.j;

  EXPECT_EQ(matcher.Execute("none"), 0);
  EXPECT_EQ(matcher.SubMatchCount(), 0);  // no first match to count in
  ASSERT_TRUE(matcher.Create("a"));
  EXPECT_EQ(matcher.Execute("a"), 1);
  EXPECT_EQ(matcher.SubMatchCount(), 0);
}

//--- Byte positions ----------------------------------------------------------------

TEST(RegexMatcher, PositionsAreBytesFoundFromTheMatchIndex) {
  struct Case {
    const char* name;
    std::string pattern;
    Flags flags;
    std::string subject;
    int k;
    std::string value;
    int position;
  };
  const Case cases[] = {
      {"first character", "中", kDefaults, "中文", 1, "中", 0},
      {"after Chinese", "器", kDefaults, "中文编辑器", 1, "器", 8},
      {"ASCII between Chinese", "b", kDefaults, "中a文b", 1, "b", 5},
      {"second match", "文", kDefaults, "文a文", 2, "文", 3},
      {"repeated word", "ab", kDefaults, "xab ab", 2, "ab", 4},
      // The search starts at the match's index: an equal value just before it
      // is not taken for it.
      {"adjacent repeats", "a", kDefaults, "aaa", 2, "a", 1},
      {"adjacent repeats, later", "a", kDefaults, "aaa", 3, "a", 2},
      {"other case first", "a", kDefaults, "Aa", 2, "a", 1},
      {"case sensitive", "a", kCaseSensitive, "Aa", 1, "a", 1},
      // Only whole characters are candidates: the trail byte 0x5C is no "\".
      {"trail byte", "\\\\", kDefaults, kTrailBackslash + "\\", 1, "\\", 2},
      {"trail byte, ignoring case", "[|]", kDefaults, kTrailBar + "x|", 1, "|", 3},
      // The value came back through UTF-16 changed: not in the subject.
      {"changed by conversion", ".$", kDefaults, "ab\x81", 1, "?", RegexMatcher::kPositionNotFound},
      {"no such match", "b", kDefaults, "abc", 2, "", RegexMatcher::kPositionNotFound},
  };
  for (const Case& c : cases) {
    RegexMatcher matcher = Made(c.pattern, c.flags);
    matcher.Execute(c.subject);
    int position = 12345;
    EXPECT_EQ(matcher.MatchValueAt(c.k, &position), c.value) << c.name;
    EXPECT_EQ(position, c.position) << c.name;
    EXPECT_EQ(matcher.MatchValueAt(c.k), c.value) << c.name;  // the position is optional
  }
}

TEST(RegexMatcher, SubMatchPositionsSearchFromTheMatch) {
  RegexMatcher matcher = Made("(b)文(b)|(z)");
  ASSERT_EQ(matcher.Execute("ab中b文b"), 1);
  struct Case {
    int k, j;
    const char* value;
    int position;
  };
  const Case cases[] = {
      {1, 1, "b", 4},  // the match starts at unit 3, byte 4: the search from byte 3 finds it
      {1, 2, "b", 4},  // the same value: found at the same place, not at byte 7
      {1, 3, "", 4},   // an empty value: at the first character start from byte 3
      {1, 4, "", RegexMatcher::kPositionNotFound},
      {2, 1, "", RegexMatcher::kPositionNotFound},
  };
  for (const Case& c : cases) {
    int position = 12345;
    EXPECT_EQ(matcher.SubMatchAt(c.k, c.j, &position), c.value) << c.k << "," << c.j;
    EXPECT_EQ(position, c.position) << c.k << "," << c.j;
  }
}

//--- Replace -------------------------------------------------------------------------

TEST(RegexMatcher, ReplaceUsesTheFlagsAndTheReplacementRules) {
  struct Case {
    const char* name;
    std::string pattern;
    Flags flags;
    std::string subject, replacement, want;
  };
  const Case cases[] = {
      {"every match", "a", kDefaults, "banana", "o", "bonono"},
      {"first only", "a", kFirstOnly, "banana", "o", "bonana"},
      {"ignore case", "ABC", kDefaults, "xabcx", "-", "x-x"},
      {"case sensitive", "ABC", kCaseSensitive, "xabcx", "-", "xabcx"},
      {"Chinese", "软件", kDefaults, "好软件，软件", "工具", "好工具，工具"},
      {"groups swapped", "(\\w+)@(\\w+)", kDefaults, "x@y", "$2@$1", "y@x"},
      {"special forms", "b", kDefaults, "abc", "[$`|$&|$'|$$]", "a[a|b|c|$]c"},
      {"text before is from the start", "b", kDefaults, "abab", "<$`>", "a<a>a<aba>"},
      {"no such group stays", "(a)", kDefaults, "a", "$2$0$", "$2$0$"},
      {"two digits when they name a group", "(a)", kDefaults, "a", "$10 $01", "a0 a"},
      {"group that took no part", "(a)|(b)", kDefaults, "a", "[$2]", "[]"},
      {"empty matches", "x*", kDefaults, "ab", "-", "-a-b-"},
      {"no match keeps the subject", "z", kDefaults, "中文", "-", "中文"},
      {"line starts", "^", kDefaults, "a\nb", "> ", "> a\n> b"},
  };
  for (const Case& c : cases) {
    RegexMatcher matcher = Made(c.pattern, c.flags);
    EXPECT_EQ(matcher.Replace(c.subject, c.replacement), c.want) << c.name;
    EXPECT_EQ(matcher.MatchCount(), 0) << c.name;  // Replace keeps no matches
  }
}

//--- Copies ----------------------------------------------------------------------------

TEST(RegexMatcher, CopiesShareEngineAndMatchesUntilEitherChanges) {
  RegexMatcher original = Made("a(.)");
  ASSERT_EQ(original.Execute("xab ac"), 2);
  RegexMatcher copy(original);
  EXPECT_EQ(copy.GetPattern(), "a(.)");
  EXPECT_EQ(MatchValues(copy), (Texts{"ab", "ac"}));
  int position = 0;
  EXPECT_EQ(copy.SubMatchAt(2, 1, &position), "c");
  EXPECT_EQ(position, 5);  // the copy has the subject too

  ASSERT_EQ(copy.Execute("ad"), 1);
  ASSERT_TRUE(copy.Create("z"));
  EXPECT_EQ(MatchValues(original), (Texts{"ab", "ac"}));
  EXPECT_EQ(original.GetPattern(), "a(.)");
  EXPECT_EQ(original.MatchValueAt(2, &position), "ac");
  EXPECT_EQ(position, 4);

  RegexMatcher assigned;
  assigned = original;
  EXPECT_EQ(assigned.Execute("aq"), 1);
  EXPECT_EQ(assigned.MatchValue(1), "aq");
  EXPECT_EQ(original.MatchCount(), 2);
}

//--- Limits -------------------------------------------------------------------------------

// The longest run of "a" that `matcher` still matches whole, between 1 and `most`.
size_t LongestMatchedRun(RegexMatcher& matcher, size_t most) {
  size_t good = 0;
  size_t bad = most + 1;
  while (bad - good > 1) {
    const size_t mid = good + (bad - good) / 2;
    const std::string run(mid, 'a');
    if (matcher.Execute(run) == 1 && matcher.MatchValue(1) == run)
      good = mid;
    else
      bad = mid;
  }
  return good;
}

TEST(RegexMatcherLimits, LongSubjectsStopAtTheLimitInsteadOfExhaustingTheStack) {
  // Each pattern matches any run of "a" whole; the deeper its groups, the
  // shorter the subjects it takes. Up to the limit every length works.
  const char* patterns[] = {"^a*$", "^.*$", "^(a)*$", "^(?:(a)|b)*$", "^((((((a))))))*$", "^(?:a|b|c)+$"};
  for (const char* pattern : patterns) {
    RegexMatcher matcher = Made(pattern);
    const size_t longest = LongestMatchedRun(matcher, RegexMatcher::kMaxMatchWork);
    EXPECT_GE(longest, 200u) << pattern;
    EXPECT_LT(longest, RegexMatcher::kMaxMatchWork) << pattern;
    EXPECT_EQ(matcher.Execute(std::string(longest + 1, 'a')), 0) << pattern;
    EXPECT_EQ(matcher.Replace(std::string(longest + 1, 'a'), "x"), "") << pattern;
    EXPECT_EQ(matcher.Replace(std::string(longest, 'a'), "x"), "x") << pattern;
  }
}

TEST(RegexMatcherLimits, CountedRepetitionsCountTheirCopies) {
  struct Case {
    const char* pattern;
    bool takes;  // within the limit for a short subject
  };
  const Case cases[] = {
      {"a{3}", true}, {"a{2,100}", true}, {"a{9000}", false}, {"(a{100}){100}", false}, {"a{99999999999999999999}", false},
  };
  for (const Case& c : cases) {
    RegexMatcher matcher = Made(c.pattern);
    EXPECT_EQ(matcher.Execute("aaa") > 0, c.takes) << c.pattern;
    EXPECT_EQ(matcher.GetPattern(), c.pattern);
  }
}

TEST(RegexMatcherLimits, LongPatternsWithinTheLimitCompile) {
  std::string alternatives;
  for (int i = 99; i >= 0; --i) alternatives += "文" + std::to_string(i) + "|";
  alternatives += "end";
  RegexMatcher matcher = Made(alternatives);
  EXPECT_EQ(matcher.Execute("x文42y end"), 2);
  EXPECT_EQ(MatchValues(matcher), (Texts{"文42", "end"}));

  std::string nested = "a";
  for (int i = 0; i < 1000; ++i) nested = "(?:" + nested + ")";
  RegexMatcher deep = Made(nested);
  EXPECT_EQ(deep.Execute("a"), 1);
  EXPECT_EQ(deep.MatchValue(1), "a");
}

}  // namespace
}  // namespace tvk
