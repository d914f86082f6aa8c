#include "catalogue/EntryText.h"

#include <gtest/gtest.h>

namespace tvk {
namespace {

SoftwareEntry Entry(const char* name, int kind, const char* installed, const char* latest, int status) {
  SoftwareEntry entry;
  entry.name = name;
  entry.kind = kind;
  entry.installedVersion = installed;
  entry.latestVersion = latest;
  entry.status = status;
  return entry;
}

TEST(EntryNameText, PadsMarkAndNameTo32Bytes) {
  struct Case { SoftwareEntry entry; std::string want; };
  const Case cases[] = {
      {Entry("Tavrel·", 1, "1.2", "", 2), "[免]Tavrel·" + std::string(20, ' ') + " v1.2"},  // 8-byte name
      {Entry("Tavrel·游戏", 2, "", "", 0), "[游]Tavrel·游戏" + std::string(16, ' ') + " (未下载)"},
      {Entry("Tavrel·a", 0, "", "", 0), "Tavrel·a" + std::string(23, ' ') + " (未下载)"},
      {Entry("Tavrel·a", 7, "", "", 0), "Tavrel·a" + std::string(23, ' ') + " (未下载)"},
      {Entry("Tavrel·一二三四五六七八九x", 1, "3", "", 0), "[免]Tavrel·一二三四五六七八九x  v3"},  // 31 bytes
      {Entry("Tavrel·一二三四五六七八九十", 1, "3", "", 0), "[免]Tavrel·一二三四五六七八九十 v3"},  // 32 bytes
      {Entry("Tavrel·一二三四五六七八九十百", 1, "3", "", 0), "[免]Tavrel·一二三四五六七八九十百 v3"},
  };
  for (const Case& c : cases) EXPECT_EQ(EntryNameText(c.entry), c.want) << c.entry.name;
}

TEST(ActionButtonCaption, ByStatusPaddedTo17Bytes) {
  struct Case { SoftwareEntry entry; std::string want; };
  const Case cases[] = {
      {Entry("p", 0, "", "", 0), "下载 v0.0.0.0    "},
      {Entry("p", 0, "", "1.2", 0), "下载 v1.2" + std::string(8, ' ')},
      {Entry("p", 1, "1.0", "1.2", 1), "升级 v1.2" + std::string(8, ' ')},
      {Entry("p", 0, "1.2", "1.2", 2), "已是最新版本!    "},
      {Entry("p", 0, "", "10.20.30.40.50", 0), "下载 v10.20.30.40.50"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ActionButtonCaption(c.entry), c.want);
    EXPECT_GE(ActionButtonCaption(c.entry).size(), 17u);
  }
}

}  // namespace
}  // namespace tvk
