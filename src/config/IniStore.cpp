#include "config/IniStore.h"

#include <algorithm>
#include <cstdio>

#include "config/MirrorFile.h"
#include "util/FileIo.h"
#include "util/Gbk.h"
#include "util/Registry.h"
#include "util/Text.h"
#include "util/UiHooks.h"

namespace tvk {

namespace {

constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kStoredLineBreak = "┊*┊";
constexpr std::string_view kTrue = "真";
constexpr std::string_view kFalse = "假";
constexpr int kMaxAppendedHeaders = 10;

std::string HeaderOf(std::string_view name) { return "[" + std::string(name) + "]"; }

// The text between the first "[" and the next "]" that is a character of its
// own (a GBK trail byte can equal "]").
std::string HeaderName(std::string_view line) {
  size_t at = 1;
  while (at < line.size() && line[at] != ']') at += GbkCharLength(line, at);
  return std::string(line.substr(1, std::min(at, line.size()) - 1));
}

// A header line for the listings: first character "[", last character "]".
bool IsHeaderLine(std::string_view line) {
  if (line.size() < 2 || line[0] != '[' || line.back() != ']') return false;
  size_t last = 0;
  for (size_t at = 0; at < line.size(); at += GbkCharLength(line, at)) last = at;
  return last == line.size() - 1;
}

bool PassesFilters(std::string_view line, std::string_view mustContain, std::string_view mustNotContain) {
  if (!mustContain.empty() && !Contains(line, mustContain)) return false;
  if (!mustNotContain.empty() && Contains(line, mustNotContain)) return false;
  return true;
}

std::string TimeText(const IniDateTime& t) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
  return buf;
}

bool ParseTime(const std::string& text, IniDateTime& out) {
  IniDateTime t;
  char tail = 0;
  int fields = std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d%c", &t.year, &t.month, &t.day, &t.hour, &t.minute,
                           &t.second, &tail);
  if (fields != 6 || t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour < 0 || t.hour > 23 ||
      t.minute < 0 || t.minute > 59 || t.second < 0 || t.second > 59)
    return false;
  out = t;
  return true;
}

}  // namespace

IniStore::IniStore(IniText::SearchMode mode) : text_(mode) {}

IniStore::IniStore(const IniStore& other) = default;
IniStore& IniStore::operator=(const IniStore& other) = default;

IniStore::~IniStore() { Close(); }

bool IniStore::HasFile() const { return memoryFile_ || (file_ && file_->IsOpen()); }

// --- open and close ------------------------------------------------------------

void IniStore::Close() {
  FlushDeferredWrites();
  file_.reset();  // the handle closes with its last owner (copies share it)
  memoryFile_ = false;
  text_.Clear();
}

bool IniStore::Open(std::string_view fileName, bool inMemory) {
  Close();
  fileName_ = std::string(fileName);
  text_.Append(ReadFileBytes(fileName));
  if (inMemory) {
    // The memory file always equals the text, so the text itself serves as it.
    memoryFile_ = true;
    return true;
  }
  auto file = std::make_shared<MirrorFile>();
  if (file->Open(fileName)) file_ = std::move(file);
  return file_ != nullptr;
}

void IniStore::Reload() {
  text_.Clear();
  text_.Append(ReadFileBytes(fileName_));
}

bool IniStore::OpenAs(std::string_view path, Storage storage) {
  path_ = std::string(path);
  storage_ = storage;
  switch (storage) {
    case Storage::Registry: return true;
    case Storage::Memory: return Open(path, true);
    case Storage::File: return Open(path, false);
  }
  return false;
}

std::string IniStore::SelectSection(std::string_view name) {
  section_ = std::string(name);
  registryKey_ = "Tavrel软件\\" + FileTitleOf(path_) + "\\" + section_ + "\\";
  return registryKey_;
}

// --- the file mirror -------------------------------------------------------------

void IniStore::Edit(Pos at, Pos removeCount, std::string_view insert) {
  text_.Replace(at, removeCount, insert);
  if (!file_ || !file_->IsOpen()) return;
  Pos offset = at - 1;
  if (deferDepth_ > 0) {
    dirtyFrom_ = dirtyFrom_ == -1 ? offset : std::min(dirtyFrom_, offset);
    return;
  }
  if (removeCount == static_cast<Pos>(insert.size())) {
    file_->WriteAt(offset, insert);
  } else {
    // The bytes behind the change moved: the file's tail is written again.
    file_->WriteAt(offset, text_.Tail(at));
    file_->SetLength(text_.Size());
  }
}

void IniStore::FlushDeferredWrites() {
  if (dirtyFrom_ == -1) return;
  if (file_ && file_->IsOpen()) {
    file_->WriteAt(dirtyFrom_, text_.Tail(dirtyFrom_ + 1));
    file_->SetLength(text_.Size());
  }
  dirtyFrom_ = -1;
}

IniStore::DeferredFileWrites::DeferredFileWrites(IniStore& store) : store_(store) { ++store_.deferDepth_; }

IniStore::DeferredFileWrites::~DeferredFileWrites() {
  if (--store_.deferDepth_ == 0) store_.FlushDeferredWrites();
}

bool IniStore::SaveTo(std::string_view fileName) {
  std::string target(fileName.empty() ? std::string_view(fileName_) : fileName);
  // The open file already mirrors the text, and it is shared for reading only:
  // writing it through another handle would fail.
  if (target == fileName_ && file_ && file_->IsOpen()) {
    FlushDeferredWrites();
    return true;
  }
  return WriteFileBytes(target, text_.Bytes());
}

std::string IniStore::GetContent() const { return text_.Bytes(); }

void IniStore::SetContent(std::string_view text, bool append) {
  if (!append) Edit(1, text_.Size(), {});
  Edit(text_.Size() + 1, 0, text);
}

// --- the change queue --------------------------------------------------------------

int IniStore::Enqueue(ChangeKind kind, std::vector<std::string> args) {
  queue_.push_back(Change{kind, std::move(args)});
  if (busy_) return 3;
  return ApplyQueue();
}

int IniStore::ApplyQueue() {
  if (queue_.empty()) return -1;
  int first = 0;
  bool isFirst = true;
  // Changes queued while one is applied (by handlers that run inside it) are
  // applied after it, in order.
  while (!queue_.empty()) {
    busy_ = 1;
    Change change = queue_.front();
    int result = Apply(change);
    queue_.pop_front();
    busy_ = 0;
    if (isFirst) first = result, isFirst = false;
  }
  return first;
}

int IniStore::Apply(const Change& change) {
  const auto& a = change.args;
  switch (change.kind) {
    case ChangeKind::Write: return WriteValueAtOnce(a[0], a[1], a[2]);
    case ChangeKind::Delete: return DeleteEntryAtOnce(a[0], a[1]);
    case ChangeKind::RenameSection: return RenameSectionAtOnce(a[0], a[1]);
    case ChangeKind::RenameKey: return RenameKeyAtOnce(a[0], a[1], a[2]);
  }
  return -1;
}

// --- searches shared by the operations ------------------------------------------

// Delete and rename also take a header at position 2 (their header test only
// looks at the two bytes before positions from 3 on).
IniStore::Pos IniStore::FindHeaderForEdit(std::string_view section) const {
  std::string header = HeaderOf(section);
  if (text_.MatchesAt(1, header)) return 1;
  if (text_.MatchesAt(2, header)) return 2;
  return text_.FindHeaderAtLineStart(section, 3);
}

// Position of the key's first byte inside the section whose header ends at
// `headerEnd` (its "]"), or -1 when the first key line after it lies behind
// another header.
IniStore::Pos IniStore::FindKeyInSection(Pos headerEnd, std::string_view key) const {
  Pos k = text_.FindKeyLine(key, headerEnd);
  if (k == -1) return -1;
  k += 2;
  return text_.FindNextHeader(headerEnd + 1, k - 1) == -1 ? k : -1;
}

IniStore::Pos IniStore::FindNextHeader(Pos from, Pos to) const { return text_.FindNextHeader(from, to); }

// --- reads and writes ----------------------------------------------------------------

std::string IniStore::ReadValue(std::string_view section, std::string_view key, std::string_view fallback,
                                bool emptyMeansMissing) {
  ProcessPendingMessages();
  Pos p = text_.FindHeaderAtLineStart(section, 1);
  if (p == -1) return std::string(fallback);
  Pos k = FindKeyInSection(p + static_cast<Pos>(section.size()) + 1, key);
  if (k == -1) return std::string(fallback);
  Pos v = k + static_cast<Pos>(key.size()) + 1;
  Pos n = text_.FindLineBreak(v);
  std::string value = text_.Slice(v, (n == -1 ? text_.Size() + 1 : n) - v);
  if (value.empty() && emptyMeansMissing) return std::string(fallback);
  return value;
}

int IniStore::WriteValue(std::string_view section, std::string_view key, std::string_view value, bool atOnce) {
  if (!atOnce) return Enqueue(ChangeKind::Write, {std::string(section), std::string(key), std::string(value)});
  return WriteValueAtOnce(section, key, value);
}

int IniStore::WriteValueAtOnce(std::string_view section, std::string_view key, std::string_view value) {
  ProcessPendingMessages();
  int appended = 0;
  Pos p = 0;
  for (;;) {
    p = text_.FindHeaderAtLineStart(section, p);
    if (p != -1) {
      Pos e = p + static_cast<Pos>(section.size()) + 1;
      Pos k = FindKeyInSection(e, key);
      if (k != -1) {
        Pos v = k + static_cast<Pos>(key.size()) + 1;
        Pos n = text_.FindLineBreak(v);
        Edit(v, (n == -1 ? text_.Size() + 1 : n) - v, value);
        return 0;
      }
      // The key becomes the section's first line; the next pass writes its value.
      Edit(e + 1, 0, std::string(kLineBreak) + std::string(key) + "=");
      continue;
    }
    Pos n = text_.Size();
    Edit(n + 1, 0, (n >= 1 ? std::string(kLineBreak) : std::string()) + HeaderOf(section));
    if (++appended > kMaxAppendedHeaders) break;
    p = n;
  }
  ShowMessageBox("配置模块出现意外，可能导致无法正常保存！详情请咨询Tavrel。", "Tavrel：",
                 kBoxIconWarning | kBoxSystemModal);
  ShowMessageBox(text_.Bytes(), "", 0);
  return -1;
}

int IniStore::DeleteEntry(std::string_view section, std::string_view key, bool atOnce) {
  if (!atOnce) return Enqueue(ChangeKind::Delete, {std::string(section), std::string(key)});
  return DeleteEntryAtOnce(section, key);
}

int IniStore::DeleteEntryAtOnce(std::string_view section, std::string_view key) {
  ProcessPendingMessages();
  Pos p = FindHeaderForEdit(section);
  if (p == -1) return 1;
  Pos next = text_.FindNextHeader(p, text_.Size());
  Pos n = next == -1 ? text_.Size() : next - 1;
  if (key.empty()) {
    Edit(p, n - p + 1, {});
    return 0;
  }
  Pos k = text_.FindKeyLine(key, p);
  if (k == -1) return 2;
  Pos lineEnd = text_.FindLineBreak(k + 2);
  Pos end = lineEnd == -1 ? text_.Size() + 1 : lineEnd;  // first byte kept
  if (end - 1 > n) return 2;
  Edit(k, end - k, {});
  return 0;
}

int IniStore::RenameSection(std::string_view oldName, std::string_view newName, bool atOnce) {
  if (!atOnce) return Enqueue(ChangeKind::RenameSection, {std::string(oldName), std::string(newName)});
  return RenameSectionAtOnce(oldName, newName);
}

int IniStore::RenameSectionAtOnce(std::string_view oldName, std::string_view newName) {
  ProcessPendingMessages();
  Pos p = FindHeaderForEdit(oldName);
  if (p == -1) return 1;
  Edit(p + 1, static_cast<Pos>(oldName.size()), newName);
  return 0;
}

int IniStore::RenameKey(std::string_view section, std::string_view oldKey, std::string_view newKey, bool atOnce) {
  if (!atOnce)
    return Enqueue(ChangeKind::RenameKey, {std::string(section), std::string(oldKey), std::string(newKey)});
  return RenameKeyAtOnce(section, oldKey, newKey);
}

int IniStore::RenameKeyAtOnce(std::string_view section, std::string_view oldKey, std::string_view newKey) {
  ProcessPendingMessages();
  Pos p = FindHeaderForEdit(section);
  if (p == -1) return 1;
  Pos k = FindKeyInSection(p + static_cast<Pos>(section.size()) + 1, oldKey);
  if (k == -1) return 2;
  Edit(k, static_cast<Pos>(oldKey.size()), newKey);
  return 0;
}

// --- listings ----------------------------------------------------------------------

int IniStore::ListSections(std::vector<std::string>& out, std::string_view mustContain,
                           std::string_view mustNotContain) {
  out.clear();
  ProcessPendingMessages();
  if (!HasFile()) return 0;  // the listing reads the mirrored file
  FlushDeferredWrites();
  text_.ForEachLine([&](std::string_view line) {
    if (IsHeaderLine(line) && PassesFilters(line, mustContain, mustNotContain)) out.push_back(HeaderName(line));
  });
  return static_cast<int>(out.size());
}

int IniStore::ListKeys(std::vector<std::string>& out, std::string_view mustContain, std::string_view mustNotContain,
                       std::string_view sectionMustContain, std::string_view sectionMustNotContain) {
  out.clear();
  ProcessPendingMessages();
  if (!HasFile()) return 0;
  bool filterSections = !sectionMustContain.empty() || !sectionMustNotContain.empty();
  bool sectionPasses = !filterSections;
  text_.ForEachLine([&](std::string_view line) {
    if (IsHeaderLine(line)) {
      sectionPasses = PassesFilters(line, sectionMustContain, sectionMustNotContain);
      return;
    }
    size_t equals = line.find('=');
    if (equals == std::string_view::npos || !sectionPasses) return;
    if (PassesFilters(line, mustContain, mustNotContain)) out.emplace_back(line.substr(0, equals));
  });
  return static_cast<int>(out.size());
}

int IniStore::SectionsWithKey(std::string_view key, std::vector<std::string>& out) {
  out.clear();
  ProcessPendingMessages();
  std::string prefix = std::string(key) + "=";
  std::string current;
  bool inSection = false, listed = false;
  text_.ForEachLine([&](std::string_view line) {
    if (IsHeaderLine(line)) {
      current = HeaderName(line);
      inSection = true;
      listed = std::find(out.begin(), out.end(), current) != out.end();
    } else if (inSection && !listed && line.starts_with(prefix)) {
      out.push_back(current);
      listed = true;
    }
  });
  return static_cast<int>(out.size());
}

int IniStore::KeysWithValue(std::string_view value, std::vector<std::string>& out, std::string_view section) {
  out.clear();
  ProcessPendingMessages();
  bool inWantedSection = section.empty();
  text_.ForEachLine([&](std::string_view line) {
    if (IsHeaderLine(line)) {
      inWantedSection = section.empty() || HeaderName(line) == section;
      return;
    }
    size_t equals = line.find('=');
    if (!inWantedSection || equals == std::string_view::npos) return;
    std::string_view stored = line.substr(equals + 1);
    if (value.empty() ? stored.empty() : stored.starts_with(value)) out.emplace_back(line.substr(0, equals));
  });
  return static_cast<int>(out.size());
}

// --- side files ----------------------------------------------------------------------

std::string IniStore::SideFilePath(std::string_view key) const {
  return DirectoryOf(path_) + "\\inibin\\" + section_ + "-" + std::string(key) + ".ibn";
}

std::string IniStore::ReadBytesFile(std::string_view key, std::string_view fallback) {
  std::string bytes = ReadFileBytes(SideFilePath(key));
  return bytes.empty() ? std::string(fallback) : bytes;
}

bool IniStore::WriteBytesFile(std::string_view key, std::string_view bytes) {
  CreateFolder(DirectoryOf(path_) + "\\inibin");
  return WriteFileBytes(SideFilePath(key), bytes);
}

// --- typed accessors on the selected section -------------------------------------------

std::string IniStore::RegistryKeyPath() const {
  return registryKey_.empty() ? std::string() : registryKey_.substr(0, registryKey_.size() - 1);
}

bool IniStore::WriteStoredText(std::string_view key, std::string_view value) {
  if (storage_ == Storage::Registry) return RegistryWriteText(RegistryKeyPath(), key, value);
  return WriteValue(section_, key, value, false) == 0;
}

std::string IniStore::ReadStoredText(std::string_view key, std::string_view fallback) {
  if (storage_ == Storage::Registry) {
    std::string value;
    return RegistryReadText(RegistryKeyPath(), key, value) ? value : std::string(fallback);
  }
  return ReadValue(section_, key, fallback, false);
}

bool IniStore::SetText(std::string_view key, std::string_view value) {
  return WriteStoredText(key, ReplaceAll(value, kLineBreak, kStoredLineBreak));
}

std::string IniStore::GetText(std::string_view key, std::string_view fallback) {
  std::string stored = Contains(fallback, kLineBreak)
                           ? ReadStoredText(key, ReplaceAll(fallback, kLineBreak, kStoredLineBreak))
                           : ReadStoredText(key, fallback);
  if (!Contains(stored, kStoredLineBreak)) return stored;
  return ReplaceAll(stored, kStoredLineBreak, kLineBreak);
}

bool IniStore::SetNumber(std::string_view key, double value) { return WriteStoredText(key, NumberText(value)); }

double IniStore::GetNumber(std::string_view key, double fallback) {
  return ParseNumber(ReadStoredText(key, NumberText(fallback)));
}

bool IniStore::SetBool(std::string_view key, bool value) { return WriteStoredText(key, value ? kTrue : kFalse); }

bool IniStore::GetBool(std::string_view key, bool fallback) {
  return ReadStoredText(key, fallback ? kTrue : kFalse) == kTrue;
}

bool IniStore::GetBoolUnlessFalse(std::string_view key, bool fallback) {
  return ReadStoredText(key, fallback ? kTrue : kFalse) != kFalse;
}

bool IniStore::SetTime(std::string_view key, const IniDateTime& value) {
  return WriteStoredText(key, TimeText(value));
}

IniDateTime IniStore::GetTime(std::string_view key, const IniDateTime& fallback) {
  IniDateTime value = fallback;
  ParseTime(ReadStoredText(key, TimeText(fallback)), value);
  return value;
}

}  // namespace tvk
