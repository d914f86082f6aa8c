#include "util/RegexMatcher.h"

#include <climits>
#include <cstdint>
#include <locale>
#include <regex>
#include <utility>
#include <vector>

#include "util/Gbk.h"
#include "util/Utf16.h"

namespace tvk {

//--- The dialect's character rules ----------------------------------------------
// std::wregex asks the ctype facet of its locale how to fold case and which
// characters belong to \d \w \s (and to \b's word characters). This facet gives
// the dialect's answers, the same in both builds whatever the C library's wide
// character tables say.

namespace {

// Upper-case letters first..last whose lower-case forms are delta further on.
struct CaseRange {
  char16_t first, last, delta;
};
constexpr CaseRange kCaseRanges[] = {
    {0x0041, 0x005A, 0x20},  // ASCII
    {0x00C0, 0x00D6, 0x20},  // Latin-1 (not the multiplication sign)
    {0x00D8, 0x00DE, 0x20},
    {0x0391, 0x03A1, 0x20},  // Greek
    {0x03A3, 0x03A9, 0x20},
    {0x0410, 0x042F, 0x20},  // Cyrillic
    {0x0400, 0x040F, 0x50},
    {0x2160, 0x216F, 0x10},  // Roman numerals
    {0x24B6, 0x24CF, 0x1A},  // circled letters
    {0xFF21, 0xFF3A, 0x20},  // full-width letters
};

// Latin Extended-A runs of upper/lower pairs, each pair starting at `first`.
struct PairRun {
  char16_t first, last;
};
constexpr PairRun kPairRuns[] = {{0x0100, 0x012F}, {0x0132, 0x0137}, {0x0139, 0x0148}, {0x014A, 0x0177},
                                 {0x0179, 0x017E}};

// Letters whose upper-case form lies elsewhere: y with diaeresis, final sigma,
// micro sign (the last two have no lower-case partner of their own).
struct CasePair {
  char16_t lower, upper;
};
constexpr CasePair kUpperOnly[] = {{0x00FF, 0x0178}, {0x03C2, 0x03A3}, {0x00B5, 0x039C}};

char16_t UpperOf(char16_t c) {
  for (const CasePair& pair : kUpperOnly)
    if (c == pair.lower) return pair.upper;
  for (const CaseRange& range : kCaseRanges)
    if (c >= range.first + range.delta && c <= range.last + range.delta) return static_cast<char16_t>(c - range.delta);
  for (const PairRun& run : kPairRuns)
    if (c >= run.first && c <= run.last && (c - run.first) % 2 == 1) return static_cast<char16_t>(c - 1);
  return c;
}

char16_t LowerOf(char16_t c) {
  if (c == 0x0178) return 0x00FF;  // the one pair of kUpperOnly that goes both ways
  for (const CaseRange& range : kCaseRanges)
    if (c >= range.first && c <= range.last) return static_cast<char16_t>(c + range.delta);
  for (const PairRun& run : kPairRuns)
    if (c >= run.first && c <= run.last && (c - run.first) % 2 == 0) return static_cast<char16_t>(c + 1);
  return c;
}

// wchar_t is signed and 32 bits natively, unsigned and 16 bits on Windows.
bool IsUnit(wchar_t c) { return (static_cast<char32_t>(c) >> 16) == 0; }
bool IsAscii(wchar_t c) { return static_cast<char32_t>(c) < 0x80; }

// Two letters are the same without case when their upper-case forms are, so
// the regex library's comparison of "lower-case" forms compares the lower-case
// form of the upper-case form.
wchar_t FoldCase(wchar_t c) { return IsUnit(c) ? static_cast<wchar_t>(LowerOf(UpperOf(static_cast<char16_t>(c)))) : c; }
wchar_t UpperCase(wchar_t c) { return IsUnit(c) ? static_cast<wchar_t>(UpperOf(static_cast<char16_t>(c))) : c; }

class DialectCtype : public std::ctype<wchar_t> {
 protected:
  bool do_is(mask m, wchar_t c) const override { return IsAscii(c) && std::ctype<wchar_t>::do_is(m, c); }

  const wchar_t* do_is(const wchar_t* lo, const wchar_t* hi, mask* vec) const override {
    std::ctype<wchar_t>::do_is(lo, hi, vec);
    for (; lo < hi; ++lo, ++vec)
      if (!IsAscii(*lo)) *vec = mask();
    return hi;
  }

  const wchar_t* do_scan_is(mask m, const wchar_t* lo, const wchar_t* hi) const override {
    while (lo < hi && !do_is(m, *lo)) ++lo;
    return lo;
  }

  const wchar_t* do_scan_not(mask m, const wchar_t* lo, const wchar_t* hi) const override {
    while (lo < hi && do_is(m, *lo)) ++lo;
    return lo;
  }

  wchar_t do_toupper(wchar_t c) const override { return UpperCase(c); }

  const wchar_t* do_toupper(wchar_t* lo, const wchar_t* hi) const override {
    for (; lo < hi; ++lo) *lo = UpperCase(*lo);
    return hi;
  }

  wchar_t do_tolower(wchar_t c) const override { return FoldCase(c); }

  const wchar_t* do_tolower(wchar_t* lo, const wchar_t* hi) const override {
    for (; lo < hi; ++lo) *lo = FoldCase(*lo);
    return hi;
  }
};

const std::locale& DialectLocale() {
  static const std::locale locale(std::locale::classic(), new DialectCtype);
  return locale;
}

//--- Text for the regex library ------------------------------------------------
// One wchar_t per UTF-16 unit in both builds (wchar_t is 32 bits natively), so
// regex positions are UTF-16 unit counts.

std::wstring ToRegexText(std::u16string_view units) {
  std::wstring out(units.size(), L'\0');
  for (size_t i = 0; i < units.size(); ++i) out[i] = static_cast<wchar_t>(units[i]);
  return out;
}

std::u16string FromRegexText(std::wstring::const_iterator first, std::wstring::const_iterator last) {
  std::u16string out;
  out.reserve(static_cast<size_t>(last - first));
  for (; first != last; ++first) out += static_cast<char16_t>(*first);
  return out;
}

//--- Escaping --------------------------------------------------------------------

// Each single-byte character of `text` found in `special` gets a backslash in
// front; with `wildcards`, "*" and "?" become ".*" and ".?".
std::string Escape(std::string_view text, std::string_view special, bool wildcards) {
  std::string out;
  out.reserve(text.size() * 2);
  for (size_t at = 0; at < text.size();) {
    const size_t length = GbkCharLength(text, at);
    const char c = text[at];
    if (length == 1 && wildcards && (c == '*' || c == '?')) {
      out += '.';
    } else if (length == 1 && special.find(c) != std::string_view::npos) {
      out += '\\';
    }
    out.append(text, at, length);
    at += length;
  }
  return out;
}

//--- Positions ---------------------------------------------------------------------

bool SameByte(char a, char b, bool ignoreCase) {
  if (a == b) return true;
  if (!ignoreCase) return false;
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return lower(a) == lower(b);
}

// The value at `at`, whole characters of `subject` compared (ASCII letters of
// single-byte characters without case when asked).
bool ValueAt(std::string_view subject, size_t at, std::string_view value, bool ignoreCase) {
  size_t used = 0;
  while (used < value.size()) {
    if (at >= subject.size()) return false;
    const size_t length = GbkCharLength(subject, at);
    if (used + length > value.size()) return false;
    if (length == 1) {
      if (!SameByte(subject[at], value[used], ignoreCase)) return false;
    } else if (subject.compare(at, length, value, used, length) != 0) {
      return false;
    }
    at += length;
    used += length;
  }
  return true;
}

// The 0-based byte position of `value` in `subject`, searching forward from the
// 1-based byte position equal to `firstIndex`, the match's 0-based UTF-16 index
// (that is, from the byte just before index firstIndex; from the start when it
// is 0). A character never has fewer bytes than UTF-16 units, so the match
// cannot start before byte firstIndex and the search reaches it; it takes the
// first occurrence it meets, which for a value that also ends just before the
// match's start (a repeated letter) is that earlier one. Candidates are
// character starts only, so a trail byte never passes for an ASCII character.
int FindValue(std::string_view subject, std::string_view value, size_t firstIndex, bool ignoreCase) {
  // A character is one UTF-16 unit and one or two bytes, so the match's byte
  // position is never below its UTF-16 index: the search starts there.
  const size_t from = firstIndex;
  for (size_t at = 0; at <= subject.size(); at += at < subject.size() ? GbkCharLength(subject, at) : 1) {
    if (at >= from && ValueAt(subject, at, value, ignoreCase))
      return at <= static_cast<size_t>(INT_MAX) ? static_cast<int>(at) : RegexMatcher::kPositionNotFound;
  }
  return RegexMatcher::kPositionNotFound;
}

//--- Size of the work --------------------------------------------------------------
// The regex library compiles a pattern into states (a repetition with a count
// gets one copy of its element per count) and matches depth first, one level
// of recursion per state it passes, so a match attempt can be as deep as the
// subject's length times the states of the pattern. Both are estimated from
// above here and bounded (RegexMatcher.h gives the limits).

size_t SaturatingAdd(size_t a, size_t b) { return a > SIZE_MAX - b ? SIZE_MAX : a + b; }
size_t SaturatingMultiply(size_t a, size_t b) { return b != 0 && a > SIZE_MAX / b ? SIZE_MAX : a * b; }

// Reads the decimal number at `at` (moving past it); false when there is none.
bool ReadCount(std::u16string_view pattern, size_t& at, size_t& count) {
  const size_t start = at;
  count = 0;
  while (at < pattern.size() && pattern[at] >= u'0' && pattern[at] <= u'9') {
    count = SaturatingAdd(SaturatingMultiply(count, 10), static_cast<size_t>(pattern[at] - u'0'));
    ++at;
  }
  return at > start;
}

// How many copies of its element the counted repetition at `at` ("{n}",
// "{n,}", "{n,m}") makes, moving past it; 0 when `at` holds no such repetition.
size_t CountedCopies(std::u16string_view pattern, size_t& at) {
  size_t scan = at + 1;
  size_t low = 0;
  size_t high = 0;
  if (!ReadCount(pattern, scan, low)) return 0;
  high = low;
  if (scan < pattern.size() && pattern[scan] == u',') {
    ++scan;
    if (!ReadCount(pattern, scan, high)) high = low;  // "{n,}": n copies and a loop
  }
  if (scan >= pattern.size() || pattern[scan] != u'}') return 0;
  at = scan + 1;
  return SaturatingAdd(low > high ? low : high, 1);
}

struct PatternScan {
  size_t states = 0;
  // False for a repetition of a repetition ("a**", "a{2}{3}"), which the
  // dialect rejects and the regex library would take as nested repetitions.
  bool valid = true;
};

PatternScan ScanPattern(std::u16string_view pattern) {
  struct Group {
    size_t states = 0;
    size_t last = 0;  // states of the last element, which a repetition applies to
  };
  std::vector<Group> groups(1);
  PatternScan scan;
  bool afterRepetition = false;  // the last element is a repetition
  bool lazy = false;             // ... already marked lazy by a "?"
  auto add = [&](size_t states) {
    groups.back().states = SaturatingAdd(groups.back().states, states);
    groups.back().last = states;
    afterRepetition = false;
  };
  // A repetition of the last element that makes it `states` states.
  auto repeat = [&](size_t states) {
    Group& group = groups.back();
    group.states = SaturatingAdd(group.states - group.last, states);
    group.last = states;
    afterRepetition = true;
    lazy = false;
  };
  for (size_t at = 0; at < pattern.size();) {
    const char16_t c = pattern[at];
    size_t copies = 0;  // of a counted repetition at `at`
    const bool repetition =
        c == u'*' || c == u'+' || c == u'?' || (c == u'{' && (copies = CountedCopies(pattern, at)) != 0);
    if (repetition && afterRepetition) {
      if (c == u'?' && !lazy) {
        lazy = true;
        ++at;
        continue;
      }
      scan.valid = false;
    }
    if (c == u'\\') {
      at += 2;
      add(1);
    } else if (c == u'[') {
      ++at;
      while (at < pattern.size() && pattern[at] != u']') at += pattern[at] == u'\\' ? 2 : 1;
      ++at;
      add(1);
    } else if (c == u'(') {
      ++at;
      if (at + 1 < pattern.size() && pattern[at] == u'?') at += 2;  // (?: (?= (?!
      groups.emplace_back();
      afterRepetition = false;
    } else if (c == u')') {
      ++at;
      if (groups.size() == 1) {
        add(1);
        continue;
      }
      const size_t inner = groups.back().states;
      groups.pop_back();
      add(SaturatingAdd(inner, 3));  // its start and end, and a little for the deeper nesting
    } else if (c == u'*' || c == u'?') {
      ++at;
      repeat(SaturatingAdd(groups.back().last, 2));
    } else if (c == u'+') {  // the element, then a loop over a copy of it
      ++at;
      repeat(SaturatingAdd(SaturatingMultiply(groups.back().last, 2), 2));
    } else if (copies != 0) {  // CountedCopies moved `at` past it
      repeat(SaturatingAdd(SaturatingMultiply(groups.back().last, copies), 2));
    } else {
      ++at;
      add(c == u'|' ? 2 : 1);
    }
  }
  for (const Group& group : groups) scan.states = SaturatingAdd(scan.states, group.states);
  scan.states = SaturatingAdd(scan.states, 2);
  return scan;
}

//--- Replacement text --------------------------------------------------------------

// Appends `replacement` for one match, expanding $$, $&, $`, $' and $n / $nn.
void AppendReplacement(std::wstring& out, const std::wstring& replacement, const std::wstring& subject,
                       const std::wsmatch& match) {
  const size_t groups = match.size() - 1;
  const auto begin = subject.cbegin();
  auto isDigit = [](wchar_t c) { return c >= L'0' && c <= L'9'; };
  for (size_t at = 0; at < replacement.size(); ++at) {
    const wchar_t c = replacement[at];
    if (c != L'$' || at + 1 == replacement.size()) {
      out += c;
      continue;
    }
    const wchar_t next = replacement[at + 1];
    if (next == L'$') {
      out += L'$';
      ++at;
    } else if (next == L'&') {
      out.append(match[0].first, match[0].second);
      ++at;
    } else if (next == L'`') {
      out.append(begin, match[0].first);
      ++at;
    } else if (next == L'\'') {
      out.append(match[0].second, subject.cend());
      ++at;
    } else if (isDigit(next)) {
      // Two digits when they name a group, else one digit when it does.
      size_t number = static_cast<size_t>(next - L'0');
      size_t digits = 1;
      if (at + 2 < replacement.size() && isDigit(replacement[at + 2])) {
        const size_t two = number * 10 + static_cast<size_t>(replacement[at + 2] - L'0');
        if (two >= 1 && two <= groups) {
          number = two;
          digits = 2;
        }
      }
      if (number >= 1 && number <= groups) {
        if (match[number].matched) out.append(match[number].first, match[number].second);
        at += digits;
      } else {
        out += c;
      }
    } else {
      out += c;
    }
  }
}

}  // namespace

//--- The engine and the matches ------------------------------------------------------

struct RegexMatcher::Engine {
  std::u16string pattern;
  bool ignoreCase = true;
  bool multiLine = true;
  bool global = true;
  bool compiled = false;  // false: the pattern did not compile, nothing matches
  size_t states = 0;      // ScanPattern's estimate for the pattern
  std::wregex regex;

  // Whether a subject of `units` UTF-16 units is within the matching limit.
  bool Takes(size_t units) const {
    return SaturatingMultiply(SaturatingAdd(units, 1), states) <= kMaxMatchWork;
  }

  // Calls visit(match) for each match in `text`, in order: the first only
  // unless global; after an empty match the search goes on one unit later.
  // Returns false when the pattern did not compile.
  template <class Visit>
  bool ForEachMatch(const std::wstring& text, Visit visit) const {
    if (!compiled) return false;
    const auto begin = text.cbegin();
    size_t from = 0;
    while (from <= text.size()) {
      std::wsmatch match;
      const auto flags = from > 0 ? std::regex_constants::match_prev_avail : std::regex_constants::match_default;
      if (!std::regex_search(begin + static_cast<std::ptrdiff_t>(from), text.cend(), match, regex, flags)) break;
      visit(match);
      if (!global) break;
      const size_t end = static_cast<size_t>(match[0].second - begin);
      from = match.length(0) == 0 ? end + 1 : end;
    }
    return true;
  }
};

struct RegexMatcher::MatchList {
  struct Item {
    size_t firstIndex = 0;  // UTF-16 units before the match
    std::u16string value;
    std::vector<std::u16string> subMatches;  // empty text for a group that took no part
  };
  std::vector<Item> items;

  const Item* Find(int k) const {
    return k >= 1 && static_cast<size_t>(k) <= items.size() ? &items[static_cast<size_t>(k) - 1] : nullptr;
  }
};

//--- Operations ----------------------------------------------------------------------

RegexMatcher::RegexMatcher() = default;
RegexMatcher::~RegexMatcher() = default;
RegexMatcher::RegexMatcher(const RegexMatcher& other) = default;
RegexMatcher& RegexMatcher::operator=(const RegexMatcher& other) = default;

std::string RegexMatcher::WildcardToPattern(std::string_view text) {
  try {
    return Escape(text, "\\^$+.{}[]=()-\"", true);
  } catch (...) {
    return {};
  }
}

std::string RegexMatcher::EscapeAll(std::string_view text) {
  try {
    return Escape(text, "\\^$+.{}[]=()?*|\"", false);
  } catch (...) {
    return {};
  }
}

std::string RegexMatcher::EscapeKeepAlternation(std::string_view text) {
  try {
    return Escape(text, "\\^$+.{}[]=()?*\"", false);
  } catch (...) {
    return {};
  }
}

std::string RegexMatcher::EscapeKeepGroups(std::string_view text) {
  try {
    return Escape(text, "\\^$+.{}[]=?*\"", false);
  } catch (...) {
    return {};
  }
}

bool RegexMatcher::Create(std::string_view pattern, bool ignoreCase, bool multiLine, bool global) {
  std::shared_ptr<Engine> engine;
  try {
    engine = std::make_shared<Engine>();
    engine->pattern = GbkToUtf16(pattern);
    engine->ignoreCase = ignoreCase;
    engine->multiLine = multiLine;
    engine->global = global;
  } catch (...) {
    return false;
  }
  const PatternScan scan = ScanPattern(engine->pattern);
  engine->states = scan.states;
  if (scan.valid && scan.states <= kMaxPatternStates) {
    try {
      auto flags = std::regex_constants::ECMAScript;
      if (ignoreCase) flags |= std::regex_constants::icase;
      if (multiLine) flags |= std::regex_constants::multiline;
      engine->regex.imbue(DialectLocale());
      engine->regex.assign(ToRegexText(engine->pattern), flags);
      engine->compiled = true;
    } catch (...) {
      engine->compiled = false;  // kept: the engine exists, its pattern never matches
    }
  }
  engine_ = std::move(engine);
  return true;
}

int RegexMatcher::Execute(std::string_view subject) {
  matches_.reset();
  try {
    subject_.assign(subject);
  } catch (...) {
    subject_.clear();
    return 0;
  }
  if (!engine_) return 0;
  try {
    const std::u16string units = GbkToUtf16(subject);
    if (!engine_->Takes(units.size())) return 0;
    const std::wstring text = ToRegexText(units);
    auto list = std::make_shared<MatchList>();
    const auto begin = text.cbegin();
    const bool ran = engine_->ForEachMatch(text, [&](const std::wsmatch& match) {
      MatchList::Item item;
      item.firstIndex = static_cast<size_t>(match[0].first - begin);
      item.value = FromRegexText(match[0].first, match[0].second);
      for (size_t group = 1; group < match.size(); ++group)
        item.subMatches.push_back(match[group].matched ? FromRegexText(match[group].first, match[group].second)
                                                       : std::u16string());
      list->items.push_back(std::move(item));
    });
    if (ran) matches_ = std::move(list);
  } catch (...) {
    matches_.reset();
  }
  return MatchCount();
}

std::string RegexMatcher::GetPattern() const {
  if (!engine_) return {};
  try {
    return Utf16ToGbk(engine_->pattern);
  } catch (...) {
    return {};
  }
}

std::string RegexMatcher::Replace(std::string_view subject, std::string_view replacement) const {
  if (!engine_) return {};
  try {
    const std::u16string units = GbkToUtf16(subject);
    if (!engine_->Takes(units.size())) return {};
    const std::wstring text = ToRegexText(units);
    const std::wstring with = ToRegexText(GbkToUtf16(replacement));
    std::wstring out;
    auto copied = text.cbegin();  // the subject up to here is in `out`
    const bool ran = engine_->ForEachMatch(text, [&](const std::wsmatch& match) {
      out.append(copied, match[0].first);
      AppendReplacement(out, with, text, match);
      copied = match[0].second;
    });
    if (!ran) return {};
    out.append(copied, text.cend());
    return Utf16ToGbk(FromRegexText(out.cbegin(), out.cend()));
  } catch (...) {
    return {};
  }
}

int RegexMatcher::MatchCount() const {
  if (!matches_ || matches_->items.size() > static_cast<size_t>(INT_MAX)) return 0;
  return static_cast<int>(matches_->items.size());
}

std::string RegexMatcher::MatchValue(int k) const { return MatchValueAt(k); }

std::string RegexMatcher::SubMatch(int k, int j) const { return SubMatchAt(k, j); }

int RegexMatcher::SubMatchCount() const {
  const MatchList::Item* first = matches_ ? matches_->Find(1) : nullptr;
  return first ? static_cast<int>(first->subMatches.size()) : 0;
}

std::string RegexMatcher::MatchValueAt(int k, int* position) const {
  if (position) *position = kPositionNotFound;
  const MatchList::Item* item = matches_ ? matches_->Find(k) : nullptr;
  if (!item) return {};
  try {
    std::string value = Utf16ToGbk(item->value);
    if (position && engine_) *position = FindValue(subject_, value, item->firstIndex, engine_->ignoreCase);
    return value;
  } catch (...) {
    return {};
  }
}

std::string RegexMatcher::SubMatchAt(int k, int j, int* position) const {
  if (position) *position = kPositionNotFound;
  const MatchList::Item* item = matches_ ? matches_->Find(k) : nullptr;
  if (!item || j < 1 || static_cast<size_t>(j) > item->subMatches.size()) return {};
  try {
    std::string value = Utf16ToGbk(item->subMatches[static_cast<size_t>(j) - 1]);
    if (position && engine_) *position = FindValue(subject_, value, item->firstIndex, engine_->ignoreCase);
    return value;
  } catch (...) {
    return {};
  }
}

}  // namespace tvk
