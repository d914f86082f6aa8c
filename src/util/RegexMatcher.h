// Regular expressions in the JScript/VBScript dialect over the box's code page
// 936 text: turns user wildcards into a pattern, makes an engine from a pattern
// and three flags, runs it over a subject and reads the matches, their
// sub-matches and their byte positions in the subject.
//
// The engine is std::wregex (ECMAScript grammar, the dialect's own) over the
// subject converted to UTF-16 (util/Utf16.h), one UTF-16 unit per regex
// character in both builds, so positions count UTF-16 units as the dialect's
// do. Case folding and the classes \d \w \s \b follow the dialect: letters fold
// in ASCII, Latin-1, Latin Extended-A, Greek, Cyrillic, the Roman numerals,
// circled and full-width letters; the classes hold ASCII characters only. A
// global search goes on one unit after an empty match, and a repetition of a
// repetition ("a**") is an error, as in the dialect. Where the regex library
// still differs, a pattern that the dialect takes never matches here: octal
// escapes and \1 with no group 1, \cX, a "{" that starts no count, a repeated
// lookahead; and a back reference to a group that took no part fails instead
// of matching empty. "." stops at CR as well as LF (the dialect's
// documents name only LF); U+2028 and U+2029 are no line breaks.
//
// Limits: the regex library compiles a pattern into states (a counted
// repetition copies its element once per count) and matches depth first, by
// recursion, so one match attempt can go as deep as the subject's length times
// the pattern's states. Both are estimated from above: a pattern of more than
// kMaxPatternStates states never matches, and a subject longer than
// kMaxMatchWork / states - 1 UTF-16 units gives no matches (a wildcard query
// such as 文.*器 takes subjects of over a thousand units). The bound keeps
// the deepest attempt under a quarter of a 2 MB stack (the Windows main
// thread's), measured in both builds. A pattern with nested repetitions can
// still take exponential time on a subject that almost matches, as in the
// dialect.
//
// Match and sub-match numbers are 1-based. No operation throws: failures are
// empty texts and zero counts.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace tvk {

class RegexMatcher {
 public:
  static constexpr size_t kMaxPatternStates = 8000;
  static constexpr size_t kMaxMatchWork = 8000;
  // Result of MatchValueAt/SubMatchAt when the value is not in the subject.
  static constexpr int kPositionNotFound = -2;

  RegexMatcher();

  // 0: releases the engine and the matches.
  ~RegexMatcher();

  // 1: the copy shares the engine and the matches and copies the subject (a
  // later Create or Execute on either replaces only its own references).
  RegexMatcher(const RegexMatcher& other);
  RegexMatcher& operator=(const RegexMatcher& other);

  // 2: a pattern from a user's wildcard query: \ ^ $ + . { } [ ] = ( ) - and "
  // are escaped, "*" becomes ".*", "?" becomes ".?", "|" stays an alternation.
  // Characters are whole GBK characters: a trail byte is never escaped.
  static std::string WildcardToPattern(std::string_view text);

  // 3: escapes \ ^ $ + . { } [ ] = ( ) ? * | and ", so the pattern matches the
  // text literally.
  static std::string EscapeAll(std::string_view text);

  // 4: as EscapeAll, but "|" stays an alternation.
  static std::string EscapeKeepAlternation(std::string_view text);

  // 5: as EscapeAll, but "(", ")" and "|" keep their meaning.
  static std::string EscapeKeepGroups(std::string_view text);

  // 6: makes a new engine with the pattern and the flags (multi-line: "^" and
  // "$" also match at line breaks; global: Execute finds every match and
  // Replace replaces every match, else only the first). Returns false when no
  // engine was made (out of memory). A pattern that does not compile (or has
  // more than kMaxPatternStates states) still makes an engine, which then never
  // matches: Execute gives 0 and Replace an empty text.
  bool Create(std::string_view pattern, bool ignoreCase = true, bool multiLine = true, bool global = true);

  // 7: runs the engine over `subject`, keeps its matches and the subject, and
  // returns MatchCount(). Gives 0 (and no matches) without an engine, with a
  // pattern that did not compile or a subject over the limit (see above).
  int Execute(std::string_view subject);

  // 8: the engine's pattern (as it reads back through UTF-16); empty without
  // an engine.
  std::string GetPattern() const;

  // 9: `subject` with the engine's matches (the first, or all with global)
  // replaced by `replacement`, in which $$ is "$", $& the match, $` the text
  // before it, $' the text after it and $1..$99 a sub-match (a number with no
  // such sub-match stays as written). Empty without an engine, with a pattern
  // that did not compile or a subject over the limit (see above).
  std::string Replace(std::string_view subject, std::string_view replacement) const;

  // 10: the number of matches of the last Execute; 0 before one.
  int MatchCount() const;

  // 11: the text of match k; empty when there is no match k.
  std::string MatchValue(int k) const;

  // 12: the text of sub-match j of match k; empty when there is none or when
  // that group took no part in the match.
  std::string SubMatch(int k, int j) const;

  // 13: the number of sub-matches (capturing groups) of the first match; 0 when
  // there is no match.
  int SubMatchCount() const;

  // 14: as MatchValue; when `position` is given, it receives the 0-based byte
  // position of the value in the subject of the last Execute, found by a search
  // for the value from the byte position the match's UTF-16 index names (see
  // RegexMatcher.cpp), ignoring ASCII case when the engine ignores case;
  // kPositionNotFound when the search finds nothing or there is no match k.
  std::string MatchValueAt(int k, int* position = nullptr) const;

  // 15: as SubMatch; `position` as for MatchValueAt, the search for the
  // sub-match's value starting from the same place as for its match.
  std::string SubMatchAt(int k, int j, int* position = nullptr) const;

 private:
  struct Engine;
  struct MatchList;

  std::shared_ptr<const Engine> engine_;
  std::shared_ptr<const MatchList> matches_;
  std::string subject_;
};

}  // namespace tvk
