#include "catalogue/EntryText.h"

namespace tvk {

namespace {
constexpr size_t kNameColumnBytes = 32;
constexpr size_t kActionCaptionBytes = 17;

std::string_view KindMark(int kind) {
  switch (kind) {
    case 1: return "[免]";
    case 2: return "[游]";
    default: return "";
  }
}
}  // namespace

std::string PadToBytes(std::string text, size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

std::string EntryNameText(const SoftwareEntry& entry) {
  std::string text = PadToBytes(std::string(KindMark(entry.kind)) + entry.name, kNameColumnBytes);
  text += entry.installedVersion.empty() ? " (未下载)" : " v" + entry.installedVersion;
  return text;
}

std::string ActionCaptionFor(int status, std::string_view latestVersion) {
  std::string version = latestVersion.empty() ? "0.0.0.0" : std::string(latestVersion);
  switch (status) {
    case 0: return "下载 v" + version;
    case 1: return "升级 v" + version;
    default: return "已是最新版本!";
  }
}

std::string ActionButtonCaption(const SoftwareEntry& entry) {
  return PadToBytes(ActionCaptionFor(entry.status, entry.latestVersion), kActionCaptionBytes);
}

}  // namespace tvk
