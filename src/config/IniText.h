// The text held by an IniStore, with the searches that the store's operations
// are defined by. Positions count from 1; a search that finds nothing gives -1.
//
// A settings file or catalogue can hold tens of thousands of sections, and the
// store answers every read by searching the text. To keep a read independent of
// the text's size, the text is kept as a list of chunks of whole lines (every
// chunk but the last ends with CR LF) plus an index from section names, keys and
// line shapes to the chunks that hold such lines: a search visits only chunks
// that can match, and an edit re-indexes only the chunks it touches. Results are
// those of the plain left-to-right scans; SearchMode::Plain keeps the text in one
// piece and answers every search by such a scan (tests compare the two).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tvk {

class IniText {
 public:
  using Pos = std::int64_t;
  enum class SearchMode { Indexed, Plain };

  explicit IniText(SearchMode mode = SearchMode::Indexed);
  IniText(const IniText& other);
  IniText& operator=(const IniText& other);
  ~IniText();

  SearchMode Mode() const { return mode_; }
  Pos Size() const { return size_; }
  std::string Bytes() const;
  // Up to `count` bytes from `from`, clipped to the text.
  std::string Slice(Pos from, Pos count) const;
  // The bytes from `from` to the end.
  std::string Tail(Pos from) const;
  bool MatchesAt(Pos at, std::string_view pattern) const;

  // Replaces `removeCount` bytes at `at` by `insert` (at = Size() + 1 appends).
  void Replace(Pos at, Pos removeCount, std::string_view insert);
  void Append(std::string_view bytes) { Replace(size_ + 1, 0, bytes); }
  void Clear();

  // First occurrence of `pattern` at or after `from` (0 and 1 both mean the start).
  Pos Find(std::string_view pattern, Pos from) const;
  // Position of the CR of the first CR LF at or after `from`.
  Pos FindLineBreak(Pos from) const;
  // First p >= from where "[" name "]" starts and p is 1 or follows CR LF.
  Pos FindHeaderAtLineStart(std::string_view name, Pos from) const;
  // First p >= from where CR LF key "=" starts (p is the CR).
  Pos FindKeyLine(std::string_view key, Pos from) const;
  // Whether a header of another section lies between a and b: the position of
  // its "[" or -1. A header here is a line that starts with "[", ends with "]"
  // and is followed by CR LF.
  Pos FindNextHeader(Pos a, Pos b) const;

  // Calls `visit` for every line, without its CR LF, in text order.
  void ForEachLine(const std::function<void(std::string_view line)>& visit) const;

 private:
  struct Chunk;

  Pos PlainFindHeader(std::string_view name, Pos from) const;
  // The first header line (as FindNextHeader defines it) whose CR LF before
  // it starts at or after `from`, with the position of its closing "]".
  struct HeaderLine {
    Pos start = -1;
    Pos close = -1;
  };
  HeaderLine NextHeaderLine(Pos from) const;
  Pos PlainFindNextHeader(Pos a, Pos b) const;
  Pos FindCloseBracketLineEnd(Pos from) const;

  // Calls `match(chunk, lineStartOffset)` for the lines at or after `minStart`
  // of the chunks listed under `key`, in text order, until it returns true;
  // returns the position of that line's start or -1.
  template <class Match>
  Pos FirstListedLine(std::uint64_t key, Pos minStart, Match match) const;

  size_t ChunkIndexAt(Pos pos) const;  // chunk holding position pos (1..Size())
  Pos ChunkStart(size_t index) const;  // 0-based offset of the chunk's first byte
  void InvalidateStartsFrom(size_t index);

  void Index(Chunk& chunk);
  void Unindex(Chunk& chunk);
  void Reindex(Chunk& chunk);
  void ListUnder(std::uint64_t key, Chunk& chunk);
  void UnlistUnder(std::uint64_t key, Chunk& chunk);
  void Renumber(size_t from);
  void Rebuild(std::string_view bytes);

  SearchMode mode_;
  Pos size_ = 0;
  std::vector<std::unique_ptr<Chunk>> chunks_;  // never empty
  mutable std::vector<Pos> starts_;
  mutable size_t startsValid_ = 0;
  mutable size_t lastChunk_ = 0;
  std::unordered_map<std::uint64_t, std::vector<Chunk*>> index_;

  // A read asks for the same header several times in a row (one search per
  // key of a section): the last answers are kept until the text changes.
  std::uint64_t generation_ = 0;
  struct HeaderMemo {
    std::uint64_t generation = ~0ull;
    std::string name;
    Pos from = 0;
    Pos result = -1;
  };
  mutable HeaderMemo headerMemo_;
  struct NextHeaderMemo {
    std::uint64_t generation = ~0ull;
    Pos from = 0;
    HeaderLine line;
  };
  mutable NextHeaderMemo nextHeaderMemo_;
};

}  // namespace tvk
