#include "config/CatalogueFormat.h"

#include <gtest/gtest.h>

#include "config/IniStore.h"

namespace tvk {
namespace {

IniStore CatalogueStore(std::string_view text) {
  IniStore store;
  store.Open("", true);
  store.SetContent(text, false);
  return store;
}

TEST(CatalogueFormat, ProductSectionsNeedTheBrandAndAMiddleDot) {
  IniStore store = CatalogueStore(
      "[盒子]\r\n最新版本=1.0\r\n[Tavrel·甲]\r\n[Tavrel乙]\r\n[其他]\r\n[前缀Tavrel·丙]\r\n[Reseller·丁]");
  EXPECT_EQ(ListProductSections(store, kDefaultBrand),
            (std::vector<std::string>{"Tavrel·甲", "前缀Tavrel·丙"}));
  EXPECT_EQ(ListProductSections(store, "Reseller"), (std::vector<std::string>{"Reseller·丁"}));
}

TEST(CatalogueFormat, NamesThatCouldLeaveTheBoxFolderAreNotProducts) {
  struct Case { const char* name; bool safe; };
  const Case cases[] = {
      {"Tavrel·软件", true},
      {"Tavrel·\x95\x5C工具", true},  // a GBK character whose trail byte is 0x5C
      {"Tavrel·\x81\x7C", true},      // trail byte 0x7C, not a "|"
      {"Tavrel·v1.2", true},
      {"Tavrel·..\\..\\Windows", false},
      {"Tavrel·a\\b", false},
      {"Tavrel·a/b", false},
      {"C:Tavrel·x", false},
      {"Tavrel·..", false},
      {"Tavrel·a|b", false},
      {"Tavrel·a?b", false},
      {"Tavrel·a*b", false},
      {"Tavrel·<x>", false},
      {"Tavrel·\"x\"", false},
      {"Tavrel·x\t", false},
      {"Tavrel·x.", false},
      {"Tavrel·x ", false},
      {"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsSafeProductName(c.name), c.safe) << c.name;
    EXPECT_EQ(IsProductSection(c.name, kDefaultBrand), c.safe) << c.name;
  }
  IniStore store = CatalogueStore("[Tavrel·..\\..\\evil]\r\n[Tavrel·好]\r\n[Tavrel·a:b]");
  EXPECT_EQ(ListProductSections(store, kDefaultBrand), (std::vector<std::string>{"Tavrel·好"}));
}

TEST(CatalogueFormat, EntryFromAProductSection) {
  IniStore store = CatalogueStore(
      "[Tavrel·甲]\r\n最新版本=1.2.3\r\n软件主页=http://home/\r\n下载地址=http://x/甲.rar\r\n"
      "视频教程=http://t/1|http://t/2\r\n是否打开=是\r\n软件类型=1.9\r\n"
      "[Tavrel·乙]\r\n是否打开=真\r\n软件类型=-2.7\r\n"
      "[Tavrel·丙]\r\n软件类型=abc");
  SoftwareEntry a = ReadSoftwareEntry(store, "Tavrel·甲");
  EXPECT_EQ(store.CurrentSection(), "Tavrel·甲");
  EXPECT_EQ(a.name, "Tavrel·甲");
  EXPECT_EQ(a.latestVersion, "1.2.3");
  EXPECT_EQ(a.homePage, "http://home/");
  EXPECT_EQ(a.downloadUrl, "http://x/甲.rar");
  EXPECT_EQ(a.tutorialUrls, "http://t/1|http://t/2");
  EXPECT_TRUE(a.manualDownload);
  EXPECT_EQ(a.kind, 1);
  EXPECT_EQ(a.retryCount, 0);
  EXPECT_EQ(a.installedVersion, "");
  EXPECT_EQ(a.status, 0);

  SoftwareEntry b = ReadSoftwareEntry(store, "Tavrel·乙");
  EXPECT_FALSE(b.manualDownload);  // only "是" asks for a manual download
  EXPECT_EQ(b.kind, -2);
  EXPECT_EQ(b.latestVersion, "");  // a key of another section is not borrowed
  EXPECT_EQ(b.homePage, "");
  EXPECT_EQ(ReadSoftwareEntry(store, "Tavrel·丙").kind, 0);
}

TEST(CatalogueFormat, InstalledVersionSetsTheStatus) {
  struct Case { const char* installed; const char* latest; int status; };
  const Case cases[] = {{"", "1.0", 0}, {"1.0", "1.1", 1}, {"1.1", "1.1", 2}, {"1.0", "", 2}, {"", "", 0}};
  for (const Case& c : cases) {
    SoftwareEntry entry;
    entry.latestVersion = c.latest;
    SetInstalledVersion(entry, c.installed);
    EXPECT_EQ(entry.installedVersion, c.installed);
    EXPECT_EQ(entry.status, c.status) << c.installed << " vs " << c.latest;
  }
}

TEST(CatalogueFormat, KeptCopyDropsTheDownloadSource) {
  struct Case { const char* text; const char* source; const char* want; };
  const Case cases[] = {
      {"[盒子]\r\n下载源=abc\r\n最新版本=1", "abc", "[盒子]\r\n\r\n最新版本=1"},
      {"[盒子]\r\n下载源=abcdef", "abc", "[盒子]\r\ndef"},
      {"[盒子]\r\n下载源=\r\n[x]\r\nk=下载源=", "", "[盒子]\r\n\r\n[x]\r\nk="},
      {"[盒子]\r\n最新版本=1", "abc", "[盒子]\r\n最新版本=1"},
  };
  for (const Case& c : cases) EXPECT_EQ(KeptCopyText(c.text, c.source), c.want) << c.text;
  EXPECT_EQ(KeptCopyFileName(kDefaultBrand), "Tavrel·软件列表.ini");
}

}  // namespace
}  // namespace tvk
