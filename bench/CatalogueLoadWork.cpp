#include "CatalogueLoadWork.h"

#include <vector>

#include "config/CatalogueFormat.h"
#include "config/IniStore.h"
#include "util/FileIo.h"

namespace tvk::bench {

std::string ProductName(int i) { return "Tavrel·软件" + std::to_string(i); }

std::string MakeCatalogue(int products) {
  std::string text = "[盒子]\r\n下载源=BDUSS=abcdef\r\n最新版本=1.0.9.1\r\n下载地址=http://update/box.rar\r\n允许选择=是";
  for (int i = 1; i <= products; ++i) {
    std::string n = std::to_string(i);
    text += "\r\n[" + ProductName(i) + "]";
    text += "\r\n最新版本=1.2." + n;
    text += "\r\n下载地址=http://pan.example/s/1a" + n + "|k" + n;
    text += "\r\n软件主页=http://www.example.com/soft/" + n + ".html";
    if (i % 4 != 0) text += "\r\n视频教程=http://v.example.com/" + n + "|http://v2.example.com/" + n;
    text += "\r\n是否打开=否";
    text += "\r\n软件类型=" + std::to_string(i % 3);
  }
  return text;
}

int LoadCatalogue(const std::string& text, IniText::SearchMode mode, long long* checksum) {
  IniStore catalogue(mode);
  catalogue.Open("", true);
  catalogue.SetContent(text, false);
  std::vector<std::string> names = ListProductSections(catalogue, kDefaultBrand);
  long long sum = 0;
  for (const std::string& name : names) {
    SoftwareEntry entry = ReadSoftwareEntry(catalogue, name);
    sum += static_cast<long long>(entry.latestVersion.size() + entry.downloadUrl.size() + entry.homePage.size() +
                                  entry.tutorialUrls.size()) + entry.kind + entry.manualDownload;
  }
  if (checksum) *checksum = sum;
  return static_cast<int>(names.size());
}

int BrandCatalogue(const std::string& text, IniText::SearchMode mode) {
  IniStore catalogue(mode);
  catalogue.Open("", true);
  catalogue.SetContent(text, false);
  std::vector<std::string> names;
  catalogue.ListSections(names, "Tavrel·");
  int kept = 0;
  for (const std::string& name : names) {
    std::string branded = "Brand·" + name.substr(std::string("Tavrel·").size());
    catalogue.RenameSection(name, branded);
    catalogue.SelectSection(branded);
    if (catalogue.GetNumber("软件类型", 0) != 0) {
      catalogue.DeleteEntry(branded);
      continue;
    }
    catalogue.SetText("软件主页", "http://brand.example/" + std::to_string(kept));
    catalogue.SetText("视频教程", "");
    ++kept;
  }
  catalogue.DeleteEntry("盒子");
  return kept;
}

int WriteOfficialOrder(const std::string& path, int products) {
  DeleteFileAt(path);
  IniStore settings;
  settings.OpenAs(path, IniStore::Storage::File);
  settings.SelectSection("软件排序_官方顺序");
  {
    IniStore::DeferredFileWrites bulk(settings);
    for (int i = 1; i <= products; ++i) settings.SetNumber(ProductName(i), i);
  }
  return static_cast<int>(settings.GetNumber(ProductName(products)));
}

}  // namespace tvk::bench
