#include "util/Version.h"

#include <climits>

#include "util/Text.h"

namespace tvk {

namespace {

// The leading integer of one part: blanks, an optional sign, then decimal
// digits. Long digit runs stop growing at the int range instead of overflowing.
int PartValue(std::string_view part) {
  size_t i = 0;
  while (i < part.size() && (part[i] == ' ' || part[i] == '\t')) ++i;
  bool negative = false;
  if (i < part.size() && (part[i] == '+' || part[i] == '-')) negative = part[i++] == '-';
  long long magnitude = 0;
  const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
  for (; i < part.size() && part[i] >= '0' && part[i] <= '9'; ++i) {
    magnitude = magnitude * 10 + (part[i] - '0');
    if (magnitude >= limit) {
      magnitude = limit;
      break;
    }
  }
  return static_cast<int>(negative ? -magnitude : magnitude);
}

}  // namespace

int CompareVersions(std::string_view installed, std::string_view newest) {
  if (installed.empty()) return kVersionNotInstalled;
  std::vector<std::string> have = SplitAll(installed, ".");
  std::vector<std::string> want = SplitAll(newest, ".");
  want.resize(have.size());
  for (size_t i = 0; i < have.size(); ++i) {
    int a = PartValue(have[i]);
    int b = PartValue(want[i]);
    if (b > a) return kVersionUpdateAvailable;
    if (a > b) return kVersionUpToDate;
  }
  return kVersionUpToDate;
}

}  // namespace tvk
