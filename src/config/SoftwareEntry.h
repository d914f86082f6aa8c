// One product of the catalogue, as the rows, actions and downloads use it.
#pragma once

#include <string>

namespace tvk {

struct SoftwareEntry {
  std::string name;              // the product section's name, brand prefix included
  std::string latestVersion;     // "最新版本"
  std::string homePage;          // "软件主页"
  std::string downloadUrl;       // "下载地址"; downloads may replace it by the resolved URL
  std::string installedVersion;  // FileVersion of <box>\<name>\<name>.exe; empty when not installed
  int status = 0;                // CompareVersions(installedVersion, latestVersion)
  bool manualDownload = false;   // "是否打开" is "是": the link opens in the browser
  std::string tutorialUrls;      // "视频教程", several joined by "|"
  int retryCount = 0;            // owned by the download queue
  int kind = 0;                  // "软件类型": 1 free, 2 game, otherwise paid
};

}  // namespace tvk
