#include "config/CatalogueFormat.h"

#include "config/IniStore.h"
#include "util/Gbk.h"
#include "util/Text.h"
#include "util/Version.h"

namespace tvk {

std::string ProductSectionMark(std::string_view brandInUse) { return std::string(brandInUse) + "·"; }

bool IsSafeProductName(std::string_view name) {
  if (name.empty() || Contains(name, "..")) return false;
  for (size_t at = 0; at < name.size(); at += GbkCharLength(name, at)) {
    if (GbkCharLength(name, at) == 2) continue;  // trail bytes may look like "\" or "|"
    auto byte = static_cast<unsigned char>(name[at]);
    if (byte < 0x20) return false;
    switch (byte) {
      case '\\': case '/': case ':': case '*': case '?': case '"': case '<': case '>': case '|':
        return false;
    }
  }
  // Windows drops trailing dots and blanks: "a." would name the folder of "a".
  // (Neither byte can be a trail byte.)
  return name.back() != '.' && name.back() != ' ';
}

bool IsProductSection(std::string_view section, std::string_view brandInUse) {
  return Contains(section, ProductSectionMark(brandInUse)) && IsSafeProductName(section);
}

std::vector<std::string> ListProductSections(IniStore& catalogue, std::string_view brandInUse) {
  std::vector<std::string> names;
  catalogue.ListSections(names, ProductSectionMark(brandInUse));
  std::erase_if(names, [&](const std::string& name) { return !IsProductSection(name, brandInUse); });
  return names;
}

SoftwareEntry ReadSoftwareEntry(IniStore& catalogue, std::string_view name) {
  catalogue.SelectSection(name);
  SoftwareEntry entry;
  entry.name = std::string(name);
  entry.latestVersion = catalogue.GetText("最新版本", "");
  entry.homePage = catalogue.GetText("软件主页", "");
  entry.downloadUrl = catalogue.GetText("下载地址", "");
  entry.manualDownload = catalogue.GetText("是否打开", "") == kYes;
  entry.tutorialUrls = catalogue.GetText("视频教程", "");
  entry.kind = TruncateToInt(catalogue.GetNumber("软件类型", 0));
  return entry;
}

void SetInstalledVersion(SoftwareEntry& entry, std::string installedVersion) {
  entry.installedVersion = std::move(installedVersion);
  entry.status = CompareVersions(entry.installedVersion, entry.latestVersion);
}

std::string KeptCopyText(std::string_view text, std::string_view downloadSource) {
  return ReplaceAll(text, std::string(kDownloadSourceKey) + "=" + std::string(downloadSource), "");
}

std::string KeptCopyFileName(std::string_view brandInUse) { return std::string(brandInUse) + "·软件列表.ini"; }

}  // namespace tvk
