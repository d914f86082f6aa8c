#include "config/IniStore.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"
#include "util/FileIo.h"
#include "util/UiHooks.h"

namespace tvk {
namespace {

using Mode = IniText::SearchMode;

class IniStoreTest : public ::testing::TestWithParam<Mode> {
 protected:
  // An in-memory store holding `text`.
  IniStore Store(std::string_view text) {
    IniStore store(GetParam());
    store.Open("", true);
    store.SetContent(text, false);
    return store;
  }
};

std::string ModeName(const ::testing::TestParamInfo<Mode>& mode) {
  return mode.param == Mode::Indexed ? "Indexed" : "Plain";
}

INSTANTIATE_TEST_SUITE_P(BothSearches, IniStoreTest, ::testing::Values(Mode::Indexed, Mode::Plain), ModeName);

TEST_P(IniStoreTest, ReadValueFollowsTheHeaderAndKeyRules) {
  struct Case {
    const char* name;
    const char* text;
    const char* section;
    const char* key;
    const char* want;  // "<default>" when the default comes back
  };
  const Case cases[] = {
      {"plain hit", "[s]\r\na=1\r\nb=2", "s", "b", "2"},
      {"value runs to the end of the text", "[s]\r\na=xyz", "s", "a", "xyz"},
      {"key only in a later section", "[s]\r\nx=1\r\n[t]\r\na=2", "s", "a", "<default>"},
      {"only the first header of a name", "[s]\r\nx=1\r\n[s]\r\na=2", "s", "a", "<default>"},
      {"only the first key line", "[s]\r\na=1\r\na=2", "s", "a", "1"},
      {"header after blanks is no header", " [s]\r\na=1", "s", "a", "<default>"},
      {"bracketed name inside a value", "[t]\r\nv=[s]\r\na=1", "s", "a", "<default>"},
      {"blank before = is another key", "[s]\r\na =1\r\na=2", "s", "a", "2"},
      {"blank key never matches the bare key", "[s]\r\na =1", "s", "a", "<default>"},
      {"LF-only line ends hold no keys", "[s]\na=1\nb=2", "s", "a", "<default>"},
      {"case-sensitive keys", "[s]\r\nA=1", "s", "a", "<default>"},
      {"case-sensitive sections", "[S]\r\na=1", "s", "a", "<default>"},
      {"header line with text after the bracket", "[s]junk\r\na=1", "s", "a", "1"},
      {"key may hold =", "[s]\r\na=b=c", "s", "a=b", "c"},
      {"empty value", "[s]\r\na=\r\nb=1", "s", "a", ""},
      {"a non-header [ line does not end the section", "[s]\r\n[x\r\na=1", "s", "a", "1"},
      {"a [..] line ends the section", "[s]\r\n[x]\r\na=1", "s", "a", "<default>"},
      {"header at the very end without CR LF", "[s]\r\na=1\r\n[t]", "t", "a", "<default>"},
      {"Chinese names", "[Tavrel·软件]\r\n最新版本=1.0\r\n软件类型=1", "Tavrel·软件", "软件类型", "1"},
      {"missing section", "[s]\r\na=1", "q", "a", "<default>"},
      {"empty text", "", "s", "a", "<default>"},
  };
  for (const Case& c : cases) {
    IniStore store = Store(c.text);
    std::string want = std::string(c.want) == "<default>" ? "D" : c.want;
    EXPECT_EQ(store.ReadValue(c.section, c.key, "D"), want) << c.name;
  }
}

TEST_P(IniStoreTest, EmptyMeansMissingGivesTheDefaultForAnEmptyValue) {
  IniStore store = Store("[s]\r\na=");
  EXPECT_EQ(store.ReadValue("s", "a", "D", true), "D");
  EXPECT_EQ(store.ReadValue("s", "a", "D", false), "");
}

TEST_P(IniStoreTest, WriteValueProducesExactBytes) {
  struct Step { const char* section; const char* key; const char* value; };
  struct Case {
    const char* name;
    const char* text;
    std::vector<Step> steps;
    const char* want;
  };
  const Case cases[] = {
      {"new key becomes the section's first line", "[s]\r\na=1", {{"s", "b", "2"}}, "[s]\r\nb=2\r\na=1"},
      {"empty store: no trailing line end", "", {{"s", "k", "v"}}, "[s]\r\nk=v"},
      {"second section appended", "", {{"s", "k", "v"}, {"t", "x", "y"}}, "[s]\r\nk=v\r\n[t]\r\nx=y"},
      {"value replaced in place", "[s]\r\na=1\r\nb=2", {{"s", "a", "long value"}}, "[s]\r\na=long value\r\nb=2"},
      {"last value replaced", "[s]\r\na=1", {{"s", "a", ""}}, "[s]\r\na="},
      {"key of a later section is not reused", "[s]\r\nx=1\r\n[t]\r\na=2", {{"s", "a", "3"}},
       "[s]\r\na=3\r\nx=1\r\n[t]\r\na=2"},
      {"text without line end gets CR LF before the header", "x", {{"s", "k", "v"}}, "x\r\n[s]\r\nk=v"},
      {"header after blanks is appended anew", " [s]", {{"s", "k", "v"}}, " [s]\r\n[s]\r\nk=v"},
  };
  for (const Case& c : cases) {
    IniStore store = Store(c.text);
    for (const Step& step : c.steps) EXPECT_EQ(store.WriteValue(step.section, step.key, step.value), 0) << c.name;
    EXPECT_EQ(store.GetContent(), c.want) << c.name;
  }
}

TEST_P(IniStoreTest, DeleteEntry) {
  struct Case {
    const char* name;
    const char* text;
    const char* section;
    const char* key;
    int result;
    const char* want;
  };
  const Case cases[] = {
      {"whole section up to the next header", "[a]\r\nx=1\r\n[b]\r\ny=2\r\n[c]\r\nz=3", "b", "", 0,
       "[a]\r\nx=1\r\n[c]\r\nz=3"},
      {"last section to the end of the text", "[a]\r\nx=1\r\n[b]\r\ny=2", "b", "", 0, "[a]\r\nx=1\r\n"},
      {"only section", "[a]\r\nx=1", "a", "", 0, ""},
      {"key line without its own line end", "[a]\r\nx=1\r\ny=2\r\n[b]", "a", "x", 0, "[a]\r\ny=2\r\n[b]"},
      {"last key of the text", "[a]\r\nx=1\r\ny=2", "a", "y", 0, "[a]\r\nx=1"},
      {"key in a later section is missing here", "[a]\r\nx=1\r\n[b]\r\ny=2", "a", "y", 2,
       "[a]\r\nx=1\r\n[b]\r\ny=2"},
      {"missing section", "[a]\r\nx=1", "q", "", 1, "[a]\r\nx=1"},
      {"header at position 2 is taken", "#[a]\r\nx=1", "a", "x", 0, "#[a]"},
  };
  for (const Case& c : cases) {
    IniStore store = Store(c.text);
    EXPECT_EQ(store.DeleteEntry(c.section, c.key), c.result) << c.name;
    EXPECT_EQ(store.GetContent(), c.want) << c.name;
  }
}

TEST_P(IniStoreTest, RenameSectionAndKey) {
  IniStore store = Store("[a]\r\nx=1\r\n[b]\r\nx=2");
  EXPECT_EQ(store.RenameSection("b", "Tavrel·新"), 0);
  EXPECT_EQ(store.RenameKey("Tavrel·新", "x", "yy"), 0);
  EXPECT_EQ(store.GetContent(), "[a]\r\nx=1\r\n[Tavrel·新]\r\nyy=2");
  EXPECT_EQ(store.RenameSection("q", "r"), 1);
  EXPECT_EQ(store.RenameKey("q", "x", "y"), 1);
  EXPECT_EQ(store.RenameKey("a", "yy", "z"), 2);  // yy lives in the next section only
  EXPECT_EQ(store.ReadValue("Tavrel·新", "yy"), "2");
}

TEST_P(IniStoreTest, TypedAccessors) {
  IniStore store = Store("");
  store.SelectSection("s");
  EXPECT_TRUE(store.SetText("two", "line1\r\nline2"));
  EXPECT_EQ(store.ReadValue("s", "two"), "line1┊*┊line2");
  EXPECT_EQ(store.GetText("two"), "line1\r\nline2");
  EXPECT_EQ(store.GetText("missing", "a\r\nb"), "a\r\nb");

  EXPECT_TRUE(store.SetNumber("n", 42));
  EXPECT_TRUE(store.SetNumber("f", 1.9));
  EXPECT_EQ(store.ReadValue("s", "n"), "42");
  EXPECT_DOUBLE_EQ(store.GetNumber("f"), 1.9);
  EXPECT_DOUBLE_EQ(store.GetNumber("missing", 7), 7);
  EXPECT_TRUE(store.SetText("word", "abc"));
  EXPECT_DOUBLE_EQ(store.GetNumber("word", 5), 0);

  struct BoolCase { const char* stored; bool get; bool unlessFalse; };
  const BoolCase bools[] = {{"真", true, true}, {"假", false, false}, {"是", false, true}, {"1", false, true}, {"", false, true}};
  for (const BoolCase& c : bools) {
    store.SetText("b", c.stored);
    EXPECT_EQ(store.GetBool("b", true), c.get) << c.stored;
    EXPECT_EQ(store.GetBoolUnlessFalse("b", false), c.unlessFalse) << c.stored;
  }
  EXPECT_TRUE(store.GetBoolUnlessFalse("absent", true));
  EXPECT_FALSE(store.GetBoolUnlessFalse("absent", false));
  EXPECT_TRUE(store.SetBool("flag", true));
  EXPECT_EQ(store.ReadValue("s", "flag"), "真");

  IniDateTime when{2026, 12, 11, 13, 5, 9};
  EXPECT_TRUE(store.SetTime("t", when));
  EXPECT_EQ(store.GetTime("t"), when);
  store.SetText("t", "garbage");
  EXPECT_EQ(store.GetTime("t", when), when);
}

TEST_P(IniStoreTest, ListSectionsFiltersWholeHeaderLines) {
  IniStore store = Store("[盒子]\r\na=1\r\n[Tavrel·甲]\r\n x=[no]\r\n[Tavrel·乙]\r\n[Tavrel乙]\r\n[x]y]\r\n[]");
  std::vector<std::string> names;
  EXPECT_EQ(store.ListSections(names), 6);
  EXPECT_EQ(names, (std::vector<std::string>{"盒子", "Tavrel·甲", "Tavrel·乙", "Tavrel乙", "x", ""}));
  EXPECT_EQ(store.ListSections(names, "Tavrel·"), 2);
  EXPECT_EQ(names, (std::vector<std::string>{"Tavrel·甲", "Tavrel·乙"}));
  EXPECT_EQ(store.ListSections(names, "Tavrel", "乙"), 1);
  EXPECT_EQ(names, (std::vector<std::string>{"Tavrel·甲"}));
  EXPECT_EQ(store.ListSections(names, "[x]"), 1);  // the brackets belong to the line
}

TEST_P(IniStoreTest, ListSectionsNeedsAnOpenFile) {
  IniStore store(GetParam());
  std::vector<std::string> names{"stale"};
  EXPECT_EQ(store.ListSections(names), 0);
  EXPECT_TRUE(names.empty());
}

TEST_P(IniStoreTest, SearchStyleListings) {
  IniStore store = Store("[a]\r\nk=1\r\nm=\r\n[b]\r\nm=10\r\nk=2\r\nk=3\r\nnokey\r\n[c]\r\nz=1");
  std::vector<std::string> out;
  EXPECT_EQ(store.SectionsWithKey("k", out), 2);
  EXPECT_EQ(out, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(store.KeysWithValue("1", out), 3);
  EXPECT_EQ(out, (std::vector<std::string>{"k", "m", "z"}));
  EXPECT_EQ(store.KeysWithValue("", out), 1);
  EXPECT_EQ(out, (std::vector<std::string>{"m"}));
  EXPECT_EQ(store.KeysWithValue("1", out, "b"), 1);
  EXPECT_EQ(out, (std::vector<std::string>{"m"}));
  EXPECT_EQ(store.ListKeys(out), 6);  // lines without "=" hold no key
  EXPECT_EQ(store.ListKeys(out, "k="), 3);
  EXPECT_EQ(store.ListKeys(out, "", "", "[b]"), 3);
  EXPECT_EQ(out, (std::vector<std::string>{"m", "k", "k"}));
  EXPECT_EQ(store.ListKeys(out, "", "1", "", "[a]"), 2);
  EXPECT_EQ(out, (std::vector<std::string>{"k", "k"}));
}

TEST_P(IniStoreTest, ChangesRequestedInsideAChangeAreAppliedAfterItInOrder) {
  IniStore store = Store("[s]\r\na=0");
  std::vector<int> nestedResults;
  bool injected = false;
  SetMessagePumpHook([&] {
    // A handler that runs while the first change is being applied.
    if (!store.IsBusy() || injected) return;
    injected = true;
    nestedResults.push_back(store.WriteValue("s", "b", "2"));
    nestedResults.push_back(store.WriteValue("s", "b", "3"));
    nestedResults.push_back(store.DeleteEntry("s", "a"));
    // Reads see the text as it is between two edits.
    EXPECT_EQ(store.ReadValue("s", "a"), "0");
  });
  EXPECT_EQ(store.WriteValue("s", "a", "1"), 0);
  SetMessagePumpHook(nullptr);
  EXPECT_EQ(nestedResults, (std::vector<int>{3, 3, 3}));
  EXPECT_EQ(store.GetContent(), "[s]\r\nb=3");
  EXPECT_FALSE(store.IsBusy());
  EXPECT_EQ(store.ApplyQueue(), -1);
}

TEST_P(IniStoreTest, SelectSectionBuildsTheRegistryPrefix) {
  IniStore store(GetParam());
  store.OpenAs("C:\\盒子\\Tavrel·软件盒子.ini", IniStore::Storage::Registry);
  EXPECT_EQ(store.SelectSection("基本配置"), "Tavrel软件\\Tavrel·软件盒子\\基本配置\\");
  EXPECT_EQ(store.CurrentSection(), "基本配置");
}

TEST_P(IniStoreTest, FileModeMirrorsEveryChangeIntoTheFile) {
  test::TempDir dir;
  std::string path = dir.File("设置.ini");
  ASSERT_TRUE(WriteFileBytes(path, "[s]\r\na=1"));
  IniStore store(GetParam());
  ASSERT_TRUE(store.OpenAs(path, IniStore::Storage::File));
  EXPECT_EQ(store.GetPath(), path);
  auto fileEqualsText = [&] { return ReadFileBytes(path) == store.GetContent(); };
  store.SelectSection("s");
  store.SetText("a", "22");  // same position, longer
  EXPECT_TRUE(fileEqualsText());
  store.SetText("a", "33");  // same length
  EXPECT_TRUE(fileEqualsText());
  store.SetNumber("b", 5);
  EXPECT_TRUE(fileEqualsText());
  store.DeleteEntry("s", "a");
  EXPECT_TRUE(fileEqualsText());
  EXPECT_EQ(ReadFileBytes(path), "[s]\r\nb=5");
  store.SetContent("[n]", true);
  EXPECT_EQ(ReadFileBytes(path), "[s]\r\nb=5[n]");
  store.SetContent("[x]\r\ny=1", false);
  EXPECT_EQ(ReadFileBytes(path), "[x]\r\ny=1");
  EXPECT_TRUE(store.SaveTo());
  std::string copyPath = dir.File("copy.ini");
  EXPECT_TRUE(store.SaveTo(copyPath));
  EXPECT_EQ(ReadFileBytes(copyPath), "[x]\r\ny=1");

  // Close empties the text; an in-memory reopen of a file leaves the file alone.
  store.Close();
  EXPECT_EQ(store.GetContent(), "");
  ASSERT_TRUE(store.Open(path, true));
  store.WriteValue("x", "y", "changed");
  EXPECT_EQ(ReadFileBytes(path), "[x]\r\ny=1");
  store.Reload();
  EXPECT_EQ(store.GetContent(), "[x]\r\ny=1");
}

TEST_P(IniStoreTest, MissingFileIsCreatedEmpty) {
  test::TempDir dir;
  std::string path = dir.File("new.ini");
  IniStore store(GetParam());
  EXPECT_TRUE(store.Open(path, false));
  EXPECT_TRUE(FileExists(path));
  EXPECT_EQ(store.GetContent(), "");
  store.WriteValue("s", "k", "v");
  EXPECT_EQ(ReadFileBytes(path), "[s]\r\nk=v");
}

TEST_P(IniStoreTest, DeferredWritesReachTheFileOnceAtTheEnd) {
  test::TempDir dir;
  std::string path = dir.File("bulk.ini");
  IniStore store(GetParam());
  ASSERT_TRUE(store.Open(path, false));
  store.SelectSection("软件排序_官方顺序");
  {
    IniStore::DeferredFileWrites batch(store);
    for (int i = 1; i <= 50; ++i) store.SetNumber("Tavrel·P" + std::to_string(i), i);
    EXPECT_EQ(ReadFileBytes(path), "");
  }
  EXPECT_EQ(ReadFileBytes(path), store.GetContent());
  EXPECT_EQ(store.GetNumber("Tavrel·P7"), 7);
}

TEST_P(IniStoreTest, CopiesShareTheFileAndOutliveTheOriginal) {
  test::TempDir dir;
  std::string path = dir.File("shared.ini");
  auto original = std::make_unique<IniStore>(GetParam());
  ASSERT_TRUE(original->Open(path, false));
  original->WriteValue("s", "a", "1");
  IniStore copy(*original);
  original.reset();  // closing the original must not close the copy's file
  EXPECT_EQ(copy.ReadValue("s", "a"), "1");
  copy.WriteValue("s", "a", "2");
  EXPECT_EQ(ReadFileBytes(path), "[s]\r\na=2");
}

TEST_P(IniStoreTest, SideFilesLiveInTheInibinFolder) {
  test::TempDir dir;
  IniStore store(GetParam());
  store.OpenAs(dir.File("box.ini"), IniStore::Storage::Memory);
  store.SelectSection("sec");
  EXPECT_EQ(store.ReadBytesFile("blob", "fallback"), "fallback");
  std::string bytes("\x00\x01\xFF" "abc", 6);
  EXPECT_TRUE(store.WriteBytesFile("blob", bytes));
  EXPECT_EQ(ReadFileBytes(dir.File("inibin") + "/sec-blob.ibn"), bytes);
  EXPECT_EQ(store.ReadBytesFile("blob", "fallback"), bytes);
  EXPECT_TRUE(store.WriteBytesFile("empty", ""));
  EXPECT_EQ(store.ReadBytesFile("empty", "fallback"), "fallback");
}

}  // namespace
}  // namespace tvk
