// The indexed searches must give exactly the results of the plain scans. These
// tests drive an indexed and a plain store through the same random texts and
// changes (texts large enough to span many chunks) and compare every result.
#include <gtest/gtest.h>

#include <random>

#include "config/IniStore.h"
#include "config/IniText.h"

namespace tvk {
namespace {

using Mode = IniText::SearchMode;

const char* const kNames[] = {"a", "b", "Tavrel·甲", "a]b", "", "s\r\nt", "最新版本"};
const char* const kKeys[] = {"k", "a", "a=b", "", "最新版本", "k ", "x\r\ny"};
const char* const kValues[] = {"1", "", "[a]", "v=w", "\r\n[b]\r\n", "\r\nk=9", "]", "\r", "\n[a]", "长值长值"};
const char* const kBreaks[] = {"\r\n", "\r\n", "\r\n", "\r\n", "\n", "\r", "\r\r\n"};

class Generator {
 public:
  explicit Generator(unsigned seed) : random_(seed) {}

  template <size_t N>
  const char* Pick(const char* const (&items)[N]) {
    return items[Below(N)];
  }
  size_t Below(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random_); }

  std::string Line() {
    switch (Below(9)) {
      case 0: case 1: return std::string("[") + Pick(kNames) + "]";
      case 2: return std::string(" [") + Pick(kNames) + "]";
      case 3: return std::string("[") + Pick(kNames);
      case 4: return "]";
      case 5: return "";
      default: return std::string(Pick(kKeys)) + "=" + Pick(kValues);
    }
  }

  std::string Text(size_t lines) {
    std::string text;
    for (size_t i = 0; i < lines; ++i) {
      if (i > 0) text += Pick(kBreaks);
      text += Line();
    }
    if (Below(2)) text += "\r\n";
    return text;
  }

 private:
  std::mt19937 random_;
};

TEST(IniTextEquivalence, SearchesMatchThePlainScan) {
  for (unsigned seed = 1; seed <= 6; ++seed) {
    Generator gen(seed);
    IniText indexed(Mode::Indexed), plain(Mode::Plain);
    std::string text = gen.Text(1500 + seed * 200);
    indexed.Append(text);
    plain.Append(text);
    for (int step = 0; step < 600; ++step) {
      IniText::Pos from = static_cast<IniText::Pos>(gen.Below(static_cast<size_t>(plain.Size()) + 3));
      const char* name = gen.Pick(kNames);
      const char* key = gen.Pick(kKeys);
      ASSERT_EQ(indexed.FindHeaderAtLineStart(name, from), plain.FindHeaderAtLineStart(name, from))
          << "seed " << seed << " header " << name << " from " << from;
      ASSERT_EQ(indexed.FindKeyLine(key, from), plain.FindKeyLine(key, from)) << "seed " << seed << " key " << key;
      ASSERT_EQ(indexed.FindLineBreak(from), plain.FindLineBreak(from)) << "seed " << seed << " from " << from;
      IniText::Pos to = from + static_cast<IniText::Pos>(gen.Below(4000));
      ASSERT_EQ(indexed.FindNextHeader(from, to), plain.FindNextHeader(from, to))
          << "seed " << seed << " next header " << from << ".." << to;
      // Random edits keep the two texts, and so the indexes, in step.
      if (step % 3 == 0) {
        IniText::Pos at = 1 + static_cast<IniText::Pos>(gen.Below(static_cast<size_t>(plain.Size()) + 1));
        IniText::Pos remove = static_cast<IniText::Pos>(gen.Below(step % 2 ? 8 : 3000));
        std::string insert = gen.Below(3) ? gen.Line() + gen.Pick(kBreaks) : gen.Text(gen.Below(40));
        indexed.Replace(at, remove, insert);
        plain.Replace(at, remove, insert);
        ASSERT_EQ(indexed.Size(), plain.Size());
      }
    }
    ASSERT_EQ(indexed.Bytes(), plain.Bytes());
    std::vector<std::string> indexedLines, plainLines;
    indexed.ForEachLine([&](std::string_view line) { indexedLines.emplace_back(line); });
    plain.ForEachLine([&](std::string_view line) { plainLines.emplace_back(line); });
    EXPECT_EQ(indexedLines, plainLines);
  }
}

TEST(IniTextEquivalence, StoreOperationsMatchThePlainStore) {
  for (unsigned seed = 11; seed <= 16; ++seed) {
    Generator gen(seed);
    IniStore indexed(Mode::Indexed), plain(Mode::Plain);
    indexed.Open("", true);
    plain.Open("", true);
    std::string text = gen.Text(1200);
    indexed.SetContent(text, false);
    plain.SetContent(text, false);
    for (int step = 0; step < 1500; ++step) {
      const char* section = gen.Pick(kNames);
      const char* key = gen.Pick(kKeys);
      const char* value = gen.Pick(kValues);
      const char* other = gen.Pick(kNames);
      int op = static_cast<int>(gen.Below(7));
      std::string context = "seed " + std::to_string(seed) + " step " + std::to_string(step) + " op " +
                            std::to_string(op);
      switch (op) {
        case 0: case 1:
          ASSERT_EQ(indexed.ReadValue(section, key, "D"), plain.ReadValue(section, key, "D")) << context;
          break;
        case 2:
          ASSERT_EQ(indexed.WriteValue(section, key, value), plain.WriteValue(section, key, value)) << context;
          break;
        case 3: {
          const char* deleted = gen.Below(4) ? key : "";
          ASSERT_EQ(indexed.DeleteEntry(section, deleted), plain.DeleteEntry(section, deleted)) << context;
          break;
        }
        case 4:
          ASSERT_EQ(indexed.RenameSection(section, other), plain.RenameSection(section, other)) << context;
          break;
        case 5: {
          const char* newKey = gen.Pick(kKeys);
          ASSERT_EQ(indexed.RenameKey(section, key, newKey), plain.RenameKey(section, key, newKey)) << context;
          break;
        }
        case 6: {
          std::vector<std::string> a, b;
          ASSERT_EQ(indexed.ListSections(a, section), plain.ListSections(b, section)) << context;
          ASSERT_EQ(a, b) << context;
          break;
        }
      }
      if (step % 50 == 0) {
        ASSERT_EQ(indexed.GetContent(), plain.GetContent()) << context;
      }
    }
    ASSERT_EQ(indexed.GetContent(), plain.GetContent());
  }
}

}  // namespace
}  // namespace tvk
