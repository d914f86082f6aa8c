#include <windows.h>

#include <gtest/gtest.h>

#include "support/TempDir.h"
#include "util/FileIo.h"
#include "util/Version.h"
#include "util/WideText_win.h"

namespace tvk {
namespace {

using Field = std::string FileVersionInfo::*;

struct NamedField {
  const char* name;
  Field field;
};

constexpr NamedField kFields[] = {
    {"comments", &FileVersionInfo::comments},
    {"companyName", &FileVersionInfo::companyName},
    {"fileDescription", &FileVersionInfo::fileDescription},
    {"fileVersion", &FileVersionInfo::fileVersion},
    {"internalName", &FileVersionInfo::internalName},
    {"legalCopyright", &FileVersionInfo::legalCopyright},
    {"legalTrademarks", &FileVersionInfo::legalTrademarks},
    {"originalFilename", &FileVersionInfo::originalFilename},
    {"privateBuild", &FileVersionInfo::privateBuild},
    {"productName", &FileVersionInfo::productName},
    {"productVersion", &FileVersionInfo::productVersion},
    {"specialBuild", &FileVersionInfo::specialBuild},
};

std::string Fixture(const char* name) { return std::string(TVK_FIXTURES_DIR) + "\\" + name; }

// A record whose every field holds "previous " + the field's name.
FileVersionInfo PreviousRecord() {
  FileVersionInfo info;
  for (const NamedField& f : kFields) info.*f.field = std::string("previous ") + f.name;
  return info;
}

TEST(ReadFileVersion, ReadsTheTwelveStringsOfTheFirstTranslation) {
  const std::string path = Fixture("version_full.exe");
  ASSERT_TRUE(FileExists(path)) << path;
  FileVersionInfo info = PreviousRecord();
  ReadFileVersion(path, info);

  // The Chinese values come back as code page 936 text (literals here are GBK).
  const std::pair<Field, const char*> want[] = {
      {&FileVersionInfo::comments, "comments text"},
      {&FileVersionInfo::companyName, "Tavrel软件"},
      {&FileVersionInfo::fileDescription, "file description text"},
      {&FileVersionInfo::fileVersion, "1.2.3.4"},
      {&FileVersionInfo::internalName, "internal name text"},
      {&FileVersionInfo::legalCopyright, "legal copyright text"},
      {&FileVersionInfo::legalTrademarks, "legal trademarks text"},
      {&FileVersionInfo::originalFilename, "original filename text"},
      {&FileVersionInfo::privateBuild, "private build text"},
      {&FileVersionInfo::productName, "软件盒子"},
      {&FileVersionInfo::productVersion, "1.2"},
      {&FileVersionInfo::specialBuild, "special build text"},
  };
  for (size_t i = 0; i < std::size(want); ++i)
    EXPECT_EQ(info.*want[i].first, want[i].second) << kFields[i].name;
}

TEST(ReadFileVersion, ReplacesEveryFieldWhenTheFileGivesAnyString) {
  // CompanyName is the only non-empty string; FileVersion is there but empty.
  const std::string path = Fixture("version_partial.exe");
  ASSERT_TRUE(FileExists(path)) << path;
  FileVersionInfo info = PreviousRecord();
  ReadFileVersion(path, info);
  for (const NamedField& f : kFields) {
    const char* want = f.field == &FileVersionInfo::companyName ? "Partial Co" : "";
    EXPECT_EQ(info.*f.field, want) << f.name;
  }
}

TEST(ReadFileVersion, KeepsTheOtherFieldsWhenTheFileGivesNoString) {
  struct Case {
    const char* file;
    const char* why;
  };
  const Case cases[] = {
      {"version_none.exe", "no version resource"},
      {"version_secondtranslation.exe", "the first translation has no string table"},
      {"version_notranslation.exe", "no translation list"},
      {"missing.exe", "no such file"},
  };
  for (const Case& c : cases) {
    const std::string path = Fixture(c.file);
    if (std::string(c.file) != "missing.exe") {
      ASSERT_TRUE(FileExists(path)) << path;
    }
    FileVersionInfo info = PreviousRecord();
    ReadFileVersion(path, info);
    for (const NamedField& f : kFields) {
      std::string want = f.field == &FileVersionInfo::fileVersion ? "" : std::string("previous ") + f.name;
      EXPECT_EQ(info.*f.field, want) << c.why << ": " << f.name;
    }
  }
}

TEST(ReadFileVersion, ValueEndsAtItsFirstNul) {
  const std::string path = Fixture("version_embeddednul.exe");
  ASSERT_TRUE(FileExists(path)) << path;
  FileVersionInfo info;
  ReadFileVersion(path, info);
  EXPECT_EQ(info.fileVersion, "5.6");
}

TEST(ReadFileVersionString, GivesFileVersionOrEmpty) {
  struct Case {
    const char* file;
    const char* want;
  };
  const Case cases[] = {
      {"version_full.exe", "1.2.3.4"},         {"version_partial.exe", ""},
      {"version_none.exe", ""},                {"version_secondtranslation.exe", ""},
      {"version_embeddednul.exe", "5.6"},      {"missing.exe", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadFileVersionString(Fixture(c.file)), c.want) << c.file;
}

TEST(ReadFileVersionString, ReadsAFileWithAChinesePath) {
  test::TempDir dir;
  const std::string copy = dir.File("软件盒子版本.exe");
  ASSERT_TRUE(CopyFileW(Widen(Fixture("version_full.exe")).c_str(), Widen(copy).c_str(), FALSE));
  EXPECT_EQ(ReadFileVersionString(copy), "1.2.3.4");
}

}  // namespace
}  // namespace tvk
