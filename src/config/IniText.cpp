#include "config/IniText.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace tvk {

namespace {

// Chunks are cut at line starts once they grow past kMaxChunk bytes, into
// pieces of about kChunkTarget bytes (a longer single line stays whole).
constexpr size_t kChunkTarget = 1024;
constexpr size_t kMaxChunk = 2 * kChunkTarget;

// What a chunk is listed under: a hash of the kind of line and, for headers and
// keys, the name. Equal hashes of different names only cost a wasted visit:
// every candidate line is checked against the actual bytes.
enum class LineKind : std::uint64_t { Header = 1, Key = 2, Bracket = 3, CloseBracket = 4 };

constexpr std::uint64_t kFnvPrime = 1099511628211ull;

std::uint64_t Seed(LineKind kind) { return 14695981039346656037ull ^ (static_cast<std::uint64_t>(kind) * 0x9E3779B97F4A7C15ull); }

std::uint64_t Mix(std::uint64_t hash, unsigned char byte) { return (hash ^ byte) * kFnvPrime; }

std::uint64_t HashOf(LineKind kind, std::string_view name) {
  std::uint64_t hash = Seed(kind);
  for (unsigned char byte : name) hash = Mix(hash, byte);
  return hash;
}

bool HasCrLf(std::string_view text) { return text.find("\r\n") != std::string_view::npos; }

bool EndsWithCrLf(const std::string& text) {
  return text.size() >= 2 && text[text.size() - 2] == '\r' && text.back() == '\n';
}

}  // namespace

struct IniText::Chunk {
  // A line listed under a key: the hash and the offset of the line's start.
  struct LineKey {
    std::uint64_t hash;
    std::uint32_t offset;
    bool operator<(const LineKey& other) const {
      return hash != other.hash ? hash < other.hash : offset < other.offset;
    }
    bool operator==(const LineKey& other) const = default;
  };

  std::string text;
  std::vector<std::uint32_t> lineStarts;  // offsets of the lines that start here
  std::vector<LineKey> lineKeys;          // sorted by hash, then offset
  std::vector<std::uint64_t> keys;        // the distinct hashes of lineKeys, sorted
  size_t order = 0;                       // index in chunks_

  void ScanLines() {
    lineStarts.clear();
    lineStarts.push_back(0);
    for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 2)
      if (at + 2 < text.size()) lineStarts.push_back(static_cast<std::uint32_t>(at + 2));
  }

  // Offset of the CR that ends line `k`, or text.size() when it has no line end.
  size_t LineEnd(size_t k) const {
    if (k + 1 < lineStarts.size()) return lineStarts[k + 1] - 2;
    return EndsWithCrLf(text) ? text.size() - 2 : text.size();
  }
  bool LineHasBreak(size_t k) const { return k + 1 < lineStarts.size() || EndsWithCrLf(text); }

  // Lists every line under what it could match: "[" lines, each header name
  // it starts with (one per "]"), each key it starts with (one per "="), and
  // lines that end with "]" before their CR LF. Then derives the distinct keys.
  void CollectKeys() {
    lineKeys.clear();
    lineKeys.reserve(lineStarts.size() * 2 + 4);
    for (size_t k = 0; k < lineStarts.size(); ++k) {
      size_t start = lineStarts[k], end = LineEnd(k);
      if (start == end) continue;
      auto line = static_cast<std::uint32_t>(start);
      std::string_view content(text.data() + start, end - start);
      // Names end at a "]" and keys at a "=": hash no further than the last one.
      if (content[0] == '[') {
        lineKeys.push_back({Seed(LineKind::Bracket), line});
        size_t lastBracket = content.rfind(']');
        std::uint64_t hash = Seed(LineKind::Header);
        for (size_t at = 1; lastBracket != std::string_view::npos && at <= lastBracket; ++at) {
          if (content[at] == ']') lineKeys.push_back({hash, line});
          hash = Mix(hash, static_cast<unsigned char>(content[at]));
        }
      }
      size_t lastEquals = content.rfind('=');
      std::uint64_t hash = Seed(LineKind::Key);
      for (size_t at = 0; lastEquals != std::string_view::npos && at <= lastEquals; ++at) {
        if (content[at] == '=') lineKeys.push_back({hash, line});
        hash = Mix(hash, static_cast<unsigned char>(content[at]));
      }
      if (LineHasBreak(k) && text[end - 1] == ']') lineKeys.push_back({Seed(LineKind::CloseBracket), line});
    }
    std::sort(lineKeys.begin(), lineKeys.end());
    lineKeys.erase(std::unique(lineKeys.begin(), lineKeys.end()), lineKeys.end());
  }

  std::vector<std::uint64_t> DistinctKeys() const {
    std::vector<std::uint64_t> distinct;
    for (const LineKey& entry : lineKeys)
      if (distinct.empty() || distinct.back() != entry.hash) distinct.push_back(entry.hash);
    return distinct;
  }
};

IniText::IniText(SearchMode mode) : mode_(mode) {
  chunks_.push_back(std::make_unique<Chunk>());
  chunks_[0]->ScanLines();
}

IniText::IniText(const IniText& other) : IniText(other.mode_) { Rebuild(other.Bytes()); }

IniText& IniText::operator=(const IniText& other) {
  if (this != &other) {
    mode_ = other.mode_;
    Rebuild(other.Bytes());
  }
  return *this;
}

IniText::~IniText() = default;

void IniText::Rebuild(std::string_view bytes) {
  Clear();
  Append(bytes);
}

void IniText::Clear() {
  ++generation_;
  index_.clear();
  chunks_.clear();
  chunks_.push_back(std::make_unique<Chunk>());
  chunks_[0]->ScanLines();
  size_ = 0;
  starts_.clear();
  startsValid_ = 0;
}

std::string IniText::Bytes() const {
  std::string all;
  all.reserve(static_cast<size_t>(size_));
  for (const auto& chunk : chunks_) all += chunk->text;
  return all;
}

std::string IniText::Slice(Pos from, Pos count) const {
  std::string out;
  if (from < 1) from = 1;
  if (from > size_ || count <= 0) return out;
  count = std::min(count, size_ - from + 1);
  size_t index = ChunkIndexAt(from);
  size_t offset = static_cast<size_t>(from - 1 - ChunkStart(index));
  while (count > 0 && index < chunks_.size()) {
    const std::string& text = chunks_[index]->text;
    size_t take = std::min(static_cast<size_t>(count), text.size() - offset);
    out.append(text, offset, take);
    count -= static_cast<Pos>(take);
    offset = 0;
    ++index;
  }
  return out;
}

std::string IniText::Tail(Pos from) const { return Slice(from, size_); }

bool IniText::MatchesAt(Pos at, std::string_view pattern) const {
  if (at < 1 || at - 1 + static_cast<Pos>(pattern.size()) > size_) return false;
  size_t index = ChunkIndexAt(at);
  size_t offset = static_cast<size_t>(at - 1 - ChunkStart(index));
  while (!pattern.empty()) {
    const std::string& text = chunks_[index]->text;
    size_t take = std::min(pattern.size(), text.size() - offset);
    if (text.compare(offset, take, pattern.substr(0, take)) != 0) return false;
    pattern.remove_prefix(take);
    offset = 0;
    ++index;
  }
  return true;
}

// --- positions of chunks ---------------------------------------------------

IniText::Pos IniText::ChunkStart(size_t index) const {
  if (starts_.size() != chunks_.size()) starts_.resize(chunks_.size());
  while (startsValid_ <= index) {
    size_t k = startsValid_;
    starts_[k] = k == 0 ? 0 : starts_[k - 1] + static_cast<Pos>(chunks_[k - 1]->text.size());
    ++startsValid_;
  }
  return starts_[index];
}

size_t IniText::ChunkIndexAt(Pos pos) const {
  Pos offset = pos - 1;
  if (offset < 0 || offset >= size_) return chunks_.size();
  // Searches mostly stay in the chunk of the previous one.
  if (lastChunk_ < startsValid_ && starts_[lastChunk_] <= offset &&
      offset < starts_[lastChunk_] + static_cast<Pos>(chunks_[lastChunk_]->text.size()))
    return lastChunk_;
  // Extend the known starts until they cover the offset, then search them.
  if (starts_.size() != chunks_.size()) starts_.resize(chunks_.size());
  while (startsValid_ < chunks_.size() &&
         (startsValid_ == 0 ||
          starts_[startsValid_ - 1] + static_cast<Pos>(chunks_[startsValid_ - 1]->text.size()) <= offset))
    ChunkStart(startsValid_);
  auto begin = starts_.begin(), end = starts_.begin() + static_cast<std::ptrdiff_t>(startsValid_);
  size_t index = static_cast<size_t>(std::upper_bound(begin, end, offset) - begin) - 1;
  // Empty chunks share their start with the next one: take the one that holds bytes.
  while (chunks_[index]->text.empty()) ++index;
  lastChunk_ = index;
  return index;
}

void IniText::InvalidateStartsFrom(size_t index) {
  startsValid_ = std::min(startsValid_, index);
  starts_.resize(chunks_.size());
}

// --- the index ---------------------------------------------------------------

void IniText::ListUnder(std::uint64_t key, Chunk& chunk) {
  auto& list = index_[key];
  auto at = std::lower_bound(list.begin(), list.end(), chunk.order,
                             [](const Chunk* c, size_t order) { return c->order < order; });
  list.insert(at, &chunk);
}

void IniText::UnlistUnder(std::uint64_t key, Chunk& chunk) {
  auto found = index_.find(key);
  if (found == index_.end()) return;
  auto& list = found->second;
  auto at = std::lower_bound(list.begin(), list.end(), chunk.order,
                             [](const Chunk* c, size_t order) { return c->order < order; });
  if (at != list.end() && *at == &chunk) list.erase(at);
  if (list.empty()) index_.erase(found);
}

void IniText::Index(Chunk& chunk) {
  chunk.ScanLines();
  chunk.CollectKeys();
  chunk.keys = chunk.DistinctKeys();
  for (std::uint64_t key : chunk.keys) ListUnder(key, chunk);
}

void IniText::Unindex(Chunk& chunk) {
  for (std::uint64_t key : chunk.keys) UnlistUnder(key, chunk);
  chunk.keys.clear();
}

// Re-lists a chunk whose text changed in place: only keys that came or went
// touch the lists, so changing a value costs about the size of the chunk.
void IniText::Reindex(Chunk& chunk) {
  chunk.ScanLines();
  chunk.CollectKeys();
  std::vector<std::uint64_t> fresh = chunk.DistinctKeys();
  std::vector<std::uint64_t> gone, added;
  std::set_difference(chunk.keys.begin(), chunk.keys.end(), fresh.begin(), fresh.end(), std::back_inserter(gone));
  std::set_difference(fresh.begin(), fresh.end(), chunk.keys.begin(), chunk.keys.end(), std::back_inserter(added));
  for (std::uint64_t key : gone) UnlistUnder(key, chunk);
  for (std::uint64_t key : added) ListUnder(key, chunk);
  chunk.keys = std::move(fresh);
}

void IniText::Renumber(size_t from) {
  for (size_t k = from; k < chunks_.size(); ++k) chunks_[k]->order = k;
}

// --- editing -------------------------------------------------------------------

void IniText::Replace(Pos at, Pos removeCount, std::string_view insert) {
  Pos offset = std::clamp<Pos>(at - 1, 0, size_);
  removeCount = std::clamp<Pos>(removeCount, 0, size_ - offset);
  if (removeCount == 0 && insert.empty()) return;
  ++generation_;

  if (mode_ == SearchMode::Plain) {
    chunks_[0]->text.replace(static_cast<size_t>(offset), static_cast<size_t>(removeCount), insert);
    size_ = static_cast<Pos>(chunks_[0]->text.size());
    return;
  }

  size_t first = offset == size_ ? chunks_.size() - 1 : ChunkIndexAt(offset + 1);
  size_t last = removeCount > 0 ? ChunkIndexAt(offset + removeCount) : first;
  Chunk& chunk = *chunks_[first];
  size_t local = static_cast<size_t>(offset - ChunkStart(first));

  // Take the following chunks in while the edit reaches into them or the
  // chunk no longer ends with CR LF (chunks hold whole lines).
  size_t absorbedEnd = last + 1;
  for (size_t k = first + 1; k < absorbedEnd; ++k) {
    Unindex(*chunks_[k]);
    chunk.text += chunks_[k]->text;
  }
  chunk.text.replace(local, static_cast<size_t>(removeCount), insert);
  while (absorbedEnd < chunks_.size() && !EndsWithCrLf(chunk.text)) {
    Unindex(*chunks_[absorbedEnd]);
    chunk.text += chunks_[absorbedEnd]->text;
    ++absorbedEnd;
  }
  size_ += static_cast<Pos>(insert.size()) - removeCount;

  // Cut an oversized chunk into pieces at line starts.
  std::vector<std::unique_ptr<Chunk>> pieces;
  if (chunk.text.size() > kMaxChunk) {
    std::string all = std::move(chunk.text);
    size_t pieceStart = 0;
    size_t scan = 0;
    std::vector<std::string> parts;
    while ((scan = all.find("\r\n", scan)) != std::string::npos) {
      scan += 2;
      if (scan - pieceStart >= kChunkTarget && scan < all.size()) {
        parts.push_back(all.substr(pieceStart, scan - pieceStart));
        pieceStart = scan;
      }
    }
    parts.push_back(all.substr(pieceStart));
    chunk.text = std::move(parts[0]);
    for (size_t k = 1; k < parts.size(); ++k) {
      pieces.push_back(std::make_unique<Chunk>());
      pieces.back()->text = std::move(parts[k]);
    }
  }

  chunks_.erase(chunks_.begin() + static_cast<std::ptrdiff_t>(first + 1),
                chunks_.begin() + static_cast<std::ptrdiff_t>(absorbedEnd));
  size_t piecesCount = pieces.size();
  chunks_.insert(chunks_.begin() + static_cast<std::ptrdiff_t>(first + 1), std::make_move_iterator(pieces.begin()),
                 std::make_move_iterator(pieces.end()));

  if (chunk.text.empty() && chunks_.size() > 1) {
    Unindex(chunk);
    chunks_.erase(chunks_.begin() + static_cast<std::ptrdiff_t>(first));
    Renumber(first);
    InvalidateStartsFrom(first);
    return;
  }
  if (absorbedEnd != first + 1 || piecesCount > 0) Renumber(first + 1);
  Reindex(chunk);
  for (size_t k = first + 1; k <= first + piecesCount; ++k) Index(*chunks_[k]);
  InvalidateStartsFrom(first + 1);
}

// --- searching -----------------------------------------------------------------

IniText::Pos IniText::Find(std::string_view pattern, Pos from) const {
  if (from < 1) from = 1;
  if (pattern.empty()) return from <= size_ ? from : -1;
  if (chunks_.size() == 1) {
    size_t hit = chunks_[0]->text.find(pattern, static_cast<size_t>(from - 1));
    return hit == std::string::npos ? -1 : static_cast<Pos>(hit) + 1;
  }
  // Rare with chunks (only patterns that span lines come here): scan a copy.
  std::string tail = Tail(from);
  size_t hit = tail.find(pattern);
  return hit == std::string::npos ? -1 : from + static_cast<Pos>(hit);
}

IniText::Pos IniText::FindLineBreak(Pos from) const {
  if (from < 1) from = 1;
  for (size_t index = ChunkIndexAt(from); index < chunks_.size(); ++index) {
    const std::string& text = chunks_[index]->text;
    Pos start = ChunkStart(index);
    size_t offset = from - 1 > start ? static_cast<size_t>(from - 1 - start) : 0;
    size_t hit = text.find("\r\n", offset);
    if (hit != std::string::npos) return start + static_cast<Pos>(hit) + 1;
    // A CR at the chunk's end cannot pair with the next chunk: chunks end with CR LF.
  }
  return -1;
}

template <class Match>
IniText::Pos IniText::FirstListedLine(std::uint64_t key, Pos minStart, Match match) const {
  if (minStart < 1) minStart = 1;
  if (minStart > size_) return -1;
  auto found = index_.find(key);
  if (found == index_.end()) return -1;
  const auto& list = found->second;
  size_t firstChunk = ChunkIndexAt(minStart);
  auto it = std::lower_bound(list.begin(), list.end(), firstChunk,
                             [](const Chunk* c, size_t order) { return c->order < order; });
  for (; it != list.end(); ++it) {
    const Chunk& chunk = **it;
    Pos start = ChunkStart(chunk.order);
    auto lines = std::equal_range(chunk.lineKeys.begin(), chunk.lineKeys.end(), Chunk::LineKey{key, 0},
                                  [](const Chunk::LineKey& a, const Chunk::LineKey& b) { return a.hash < b.hash; });
    for (auto line = lines.first; line != lines.second; ++line) {
      if (start + line->offset + 1 < minStart) continue;
      if (match(chunk, line->offset)) return start + line->offset + 1;
    }
  }
  return -1;
}

IniText::Pos IniText::PlainFindHeader(std::string_view name, Pos from) const {
  std::string pattern = "[" + std::string(name) + "]";
  for (Pos p = Find(pattern, from); p != -1; p = Find(pattern, p + 1))
    if (p == 1 || (p >= 3 && MatchesAt(p - 2, "\r\n"))) return p;
  return -1;
}

IniText::Pos IniText::FindHeaderAtLineStart(std::string_view name, Pos from) const {
  if (mode_ == SearchMode::Plain || HasCrLf(name)) return PlainFindHeader(name, from);
  if (headerMemo_.generation == generation_ && headerMemo_.from == from && headerMemo_.name == name)
    return headerMemo_.result;
  Pos result = FirstListedLine(HashOf(LineKind::Header, name), from, [&](const Chunk& chunk, size_t offset) {
    std::string_view line = std::string_view(chunk.text).substr(offset);
    return line.size() >= name.size() + 2 && line[0] == '[' && line.substr(1, name.size()) == name &&
           line[name.size() + 1] == ']';
  });
  headerMemo_ = HeaderMemo{generation_, std::string(name), from, result};
  return result;
}

IniText::Pos IniText::FindKeyLine(std::string_view key, Pos from) const {
  if (mode_ == SearchMode::Plain || HasCrLf(key)) return Find("\r\n" + std::string(key) + "=", from);
  // The key's line starts two bytes after the CR, and never at position 1.
  Pos lineStart = FirstListedLine(HashOf(LineKind::Key, key), std::max<Pos>(from, 1) + 2,
                                  [&](const Chunk& chunk, size_t offset) {
                                    std::string_view line = std::string_view(chunk.text).substr(offset);
                                    return line.size() > key.size() && line.substr(0, key.size()) == key &&
                                           line[key.size()] == '=';
                                  });
  return lineStart == -1 ? -1 : lineStart - 2;
}

IniText::Pos IniText::PlainFindNextHeader(Pos a, Pos b) const {
  for (;;) {
    a = Find("\r\n[", a);
    if (a == -1 || a >= b) return -1;
    a += 2;
    Pos c = Find("]\r\n", a);
    if (c > b) return -1;
    if (c == -1) continue;
    if (Slice(a, c - a + 1).find("\r\n") == std::string::npos) return a;
  }
}

// First "]" at or after `from` that is followed by CR LF.
IniText::Pos IniText::FindCloseBracketLineEnd(Pos from) const {
  if (from < 1) from = 1;
  if (from > size_) return -1;
  Pos result = -1;
  // The line that holds `from` may end after it: start at its chunk's first line.
  Pos chunkFirstByte = ChunkStart(ChunkIndexAt(from)) + 1;
  FirstListedLine(Seed(LineKind::CloseBracket), chunkFirstByte, [&](const Chunk& chunk, size_t offset) {
    size_t k = static_cast<size_t>(std::lower_bound(chunk.lineStarts.begin(), chunk.lineStarts.end(), offset) -
                                   chunk.lineStarts.begin());
    size_t end = chunk.LineEnd(k);
    if (!chunk.LineHasBreak(k) || end == offset || chunk.text[end - 1] != ']') return false;
    Pos bracket = ChunkStart(chunk.order) + static_cast<Pos>(end);  // "]" is at offset end - 1
    if (bracket < from) return false;
    result = bracket;
    return true;
  });
  return result;
}

IniText::HeaderLine IniText::NextHeaderLine(Pos from) const {
  if (nextHeaderMemo_.generation == generation_ && nextHeaderMemo_.from == from) return nextHeaderMemo_.line;
  HeaderLine found;
  for (Pos at = std::max<Pos>(from, 1);;) {
    // The next line that starts with "[" and follows a CR LF at or after `at`.
    Pos s = FirstListedLine(Seed(LineKind::Bracket), at + 2, [](const Chunk& chunk, size_t offset) {
      return offset < chunk.text.size() && chunk.text[offset] == '[';
    });
    if (s == -1) break;
    if (s < 3) {  // position 1 follows no CR LF
      at = s;
      continue;
    }
    Pos c = FindCloseBracketLineEnd(s);
    if (c == -1) break;
    if (FindLineBreak(s) == c + 1) {
      found = HeaderLine{s, c};
      break;
    }
    at = s;
  }
  nextHeaderMemo_ = NextHeaderMemo{generation_, from, found};
  return found;
}

// The scan stops early at a "[" line whose next "]" CR LF lies beyond b; every
// later header's "]" lies beyond it too, so the answer is the first header
// after a, provided its line starts before b and its "]" is not beyond b.
IniText::Pos IniText::FindNextHeader(Pos a, Pos b) const {
  if (mode_ == SearchMode::Plain) return PlainFindNextHeader(a, b);
  HeaderLine line = NextHeaderLine(a);
  if (line.start == -1 || line.start - 2 >= b || line.close > b) return -1;
  return line.start;
}

void IniText::ForEachLine(const std::function<void(std::string_view line)>& visit) const {
  std::string pending;  // a line that runs across chunks (only without CR LF at a chunk's end)
  for (const auto& chunk : chunks_) {
    std::string_view text = chunk->text;
    size_t at = 0;
    for (size_t hit; (hit = text.find("\r\n", at)) != std::string_view::npos; at = hit + 2) {
      if (pending.empty()) {
        visit(text.substr(at, hit - at));
      } else {
        pending.append(text.substr(at, hit - at));
        visit(pending);
        pending.clear();
      }
    }
    pending.append(text.substr(at));
  }
  if (!pending.empty()) visit(pending);
}

}  // namespace tvk
