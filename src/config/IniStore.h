// IniStore: the box's sections-and-keys text store (settings file, catalogue
// text, catalogue-side branding text).
//
// The store keeps the whole text and answers every read by searching it for
// byte patterns; every change goes to the text and, at the same offset, to the
// open file, so that the file always holds exactly the text's bytes. Text
// rules: lines end with CR LF; a header "[name]" counts only at the start of
// the text or after CR LF; only the first header of a name is used and only the
// first key line inside it; new keys become the section's first line; new
// sections are appended; no final line end is ever added.
//
// Re-entrancy: every operation first lets pending window messages run (through
// ProcessPendingMessages), before it holds any position in the text, so a
// handler that runs there may use the store. Changes that are not made "at
// once" go through a queue: while one is being applied, new ones wait (their
// call returns 3) and are applied after it, in order.
//
// Operations are declared in the store's slot order. Failures give empty,
// zero or default results; nothing throws.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "config/IniText.h"

namespace tvk {

class MirrorFile;

struct IniDateTime {
  int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0;
  bool operator==(const IniDateTime&) const = default;
};

class IniStore {
 public:
  using Pos = IniText::Pos;
  enum class Storage { File = 0, Memory = 1, Registry = 2 };

  explicit IniStore(IniText::SearchMode mode = IniText::SearchMode::Indexed);
  IniStore(const IniStore& other);  // deep copy; the copy shares the open file
  IniStore& operator=(const IniStore& other);
  ~IniStore();

  // Closes the file (if any) and empties the text.
  void Close();
  // Loads the file into the text (missing or unreadable: empty), then mirrors
  // it into a memory file or into the file itself, opened for writing (created
  // when missing). Returns whether a file (or memory file) is open.
  bool Open(std::string_view fileName, bool inMemory);
  // Loads the named file into the text again; the open file is not touched.
  void Reload();
  // Applies the queued changes in order. Returns the first one's result, or -1
  // when the queue is empty.
  int ApplyQueue();
  // Sets key=value in the section, adding the key or section when missing.
  // Returns 0 when written, 3 when queued behind a change in progress, -1 when
  // the section could not be found again after appending it.
  int WriteValue(std::string_view section, std::string_view key, std::string_view value, bool atOnce = false);
  // The key's value in the section, or `fallback` when either is missing (or
  // the value is empty and emptyMeansMissing is set).
  std::string ReadValue(std::string_view section, std::string_view key, std::string_view fallback = {},
                        bool emptyMeansMissing = false);
  // Position of the "[" of a header of another section between a and b, or -1.
  Pos FindNextHeader(Pos from, Pos to) const;
  // Sections that hold a line for `key`, each once, in text order. Returns the count.
  int SectionsWithKey(std::string_view key, std::vector<std::string>& out);
  // Keys of the lines whose value begins with `value` (an empty value: lines
  // with an empty value), only inside `section` when one is given.
  int KeysWithValue(std::string_view value, std::vector<std::string>& out, std::string_view section = {});
  // Writes the text to the named file (empty: the open file). Returns success.
  bool SaveTo(std::string_view fileName = {});
  // Names of the header lines of the file ("[" ... "]" lines), skipping lines
  // that lack `mustContain` or hold `mustNotContain` (whole-line byte tests).
  // Returns the count; 0 when no file is open.
  int ListSections(std::vector<std::string>& out, std::string_view mustContain = {},
                   std::string_view mustNotContain = {});
  // Keys (text before the first "=") of the non-header lines, filtered by the
  // whole line like ListSections, and by the header line of their section.
  int ListKeys(std::vector<std::string>& out, std::string_view mustContain = {}, std::string_view mustNotContain = {},
               std::string_view sectionMustContain = {}, std::string_view sectionMustNotContain = {});
  // Deletes a key line, or the whole section when key is empty. Returns 0 when
  // deleted, 1 when the section is missing, 2 when the key is, 3 when queued.
  int DeleteEntry(std::string_view section, std::string_view key = {}, bool atOnce = false);
  // Returns 0 when renamed, 1 when the section is missing, 3 when queued.
  int RenameSection(std::string_view oldName, std::string_view newName, bool atOnce = false);
  // Returns 0 when renamed, 1 when the section is missing, 2 when the key is, 3 when queued.
  int RenameKey(std::string_view section, std::string_view oldKey, std::string_view newKey, bool atOnce = false);
  std::string GetContent() const;
  // Replaces the text (or appends to it), in the file as well.
  void SetContent(std::string_view text, bool append);
  void SetMark() { mark_ = true; }
  // Opens the store on `path`: File and Memory as Open does; Registry keeps
  // values in the registry and opens nothing.
  bool OpenAs(std::string_view path, Storage storage);
  // Makes `name` the section of the accessors below. Returns the registry key
  // prefix of that section.
  std::string SelectSection(std::string_view name);
  // Bytes kept in a side file next to the store's file, or `fallback` when
  // the side file is missing or empty.
  std::string ReadBytesFile(std::string_view key, std::string_view fallback = {});
  bool WriteBytesFile(std::string_view key, std::string_view bytes);
  // Text values; CR LF inside a value is stored as "┊*┊".
  bool SetText(std::string_view key, std::string_view value);
  std::string GetText(std::string_view key, std::string_view fallback = {});
  bool SetNumber(std::string_view key, double value);
  // A value that is not a number reads as 0.
  double GetNumber(std::string_view key, double fallback = 0);
  // Booleans are stored as "真" and "假"; only "真" reads as true.
  bool SetBool(std::string_view key, bool value);
  bool GetBool(std::string_view key, bool fallback = false);
  // True unless the stored text is "假".
  bool GetBoolUnlessFalse(std::string_view key, bool fallback = true);
  bool SetTime(std::string_view key, const IniDateTime& value);
  IniDateTime GetTime(std::string_view key, const IniDateTime& fallback = {});
  std::string GetPath() const { return path_; }

  // While one of these lives, changes reach the file only when it ends (or at
  // Close, SaveTo and ListSections): a bulk update of many keys then writes
  // the file once instead of once per change.
  class DeferredFileWrites {
   public:
    explicit DeferredFileWrites(IniStore& store);
    ~DeferredFileWrites();
    DeferredFileWrites(const DeferredFileWrites&) = delete;
    DeferredFileWrites& operator=(const DeferredFileWrites&) = delete;

   private:
    IniStore& store_;
  };

  bool HasFile() const;
  bool IsBusy() const { return busy_ != 0; }
  const std::string& CurrentSection() const { return section_; }
  Storage CurrentStorage() const { return storage_; }
  const std::string& FileName() const { return fileName_; }

 private:
  enum class ChangeKind { Write = 0, Delete = 1, RenameSection = 2, RenameKey = 3 };
  struct Change {
    ChangeKind kind;
    std::vector<std::string> args;
  };

  int Enqueue(ChangeKind kind, std::vector<std::string> args);
  int Apply(const Change& change);
  int WriteValueAtOnce(std::string_view section, std::string_view key, std::string_view value);
  int DeleteEntryAtOnce(std::string_view section, std::string_view key);
  int RenameSectionAtOnce(std::string_view oldName, std::string_view newName);
  int RenameKeyAtOnce(std::string_view section, std::string_view oldKey, std::string_view newKey);
  Pos FindHeaderForEdit(std::string_view section) const;
  Pos FindKeyInSection(Pos headerEnd, std::string_view key) const;
  void Edit(Pos at, Pos removeCount, std::string_view insert);
  void FlushDeferredWrites();
  std::string SideFilePath(std::string_view key) const;
  std::string RegistryKeyPath() const;
  bool WriteStoredText(std::string_view key, std::string_view value);
  std::string ReadStoredText(std::string_view key, std::string_view fallback);

  IniText text_;
  std::shared_ptr<MirrorFile> file_;
  bool memoryFile_ = false;
  std::string fileName_;
  int busy_ = 0;
  std::deque<Change> queue_;
  bool mark_ = false;
  std::string path_;
  std::string section_;
  Storage storage_ = Storage::File;
  std::string registryKey_;
  int deferDepth_ = 0;
  Pos dirtyFrom_ = -1;  // 0-based file offset from which the file is stale, -1 when current
};

}  // namespace tvk
