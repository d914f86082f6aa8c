#include "util/Version.h"

#include <gtest/gtest.h>

namespace tvk {
namespace {

struct CompareCase {
  const char* installed;
  const char* newest;
  int want;
};

void ExpectComparisons(const CompareCase* begin, const CompareCase* end) {
  for (const CompareCase* c = begin; c != end; ++c)
    EXPECT_EQ(CompareVersions(c->installed, c->newest), c->want)
        << "installed \"" << c->installed << "\" newest \"" << c->newest << "\"";
}

TEST(CompareVersions, ComparesPartsNumericallyOverTheInstalledLength) {
  const CompareCase cases[] = {
      {"", "1.0", kVersionNotInstalled},
      {"", "", kVersionNotInstalled},
      {"1.0", "1.0", kVersionUpToDate},
      {"1.0", "1.1", kVersionUpdateAvailable},
      {"1.1", "1.0", kVersionUpToDate},
      {"1", "2", kVersionUpdateAvailable},
      {"2.0", "1.9", kVersionUpToDate},
      {"1.10", "1.9", kVersionUpToDate},         // numbers, not text
      {"1.9", "1.10", kVersionUpdateAvailable},
      {"1.5", "1.05", kVersionUpToDate},
      {"0", "0", kVersionUpToDate},
      {"0", "1", kVersionUpdateAvailable},
      // The newest version is cut to the installed one's parts...
      {"1.2", "1.2.5", kVersionUpToDate},
      {"1.2", "1.2.0.1", kVersionUpToDate},
      {"1.2", "1.3.0.1", kVersionUpdateAvailable},
      // ...or padded with zero parts.
      {"1.2.0.0", "1.3", kVersionUpdateAvailable},
      {"1.2.0", "1.2", kVersionUpToDate},
      {"1.2.1", "1.2", kVersionUpToDate},
      {"1.2.-1", "1.2", kVersionUpdateAvailable},
      {"2.0", "", kVersionUpToDate},
      {"0.0", "", kVersionUpToDate},
      {"-1", "", kVersionUpdateAvailable},
  };
  ExpectComparisons(std::begin(cases), std::end(cases));
}

TEST(CompareVersions, PartValueIsTheLeadingInteger) {
  const CompareCase cases[] = {
      {"1. 2", "1.3", kVersionUpdateAvailable},  // leading blanks are skipped
      {"1.\t3", "1.2", kVersionUpToDate},
      {"1 .2", "1.3", kVersionUpdateAvailable},  // "1 " is 1
      {"1.+3", "1.2", kVersionUpToDate},         // "+3" is 3
      {"1.-1", "1.0", kVersionUpdateAvailable},  // "-1" is -1
      {"1.-0", "1.0", kVersionUpToDate},
      {"1.- 5", "1.0", kVersionUpToDate},        // no digits right after the sign: 0
      {"1. -5", "1.0", kVersionUpdateAvailable},
      {"1.+-5", "1.0", kVersionUpToDate},        // one sign only: 0
      {"1.3beta", "1.2", kVersionUpToDate},      // digits up to the first other character
      {"1.2a", "1.2b", kVersionUpToDate},
      {"1.beta", "1.0", kVersionUpToDate},       // no digits: 0
      {"1.beta", "1.1", kVersionUpdateAvailable},
      {"版本2", "1", kVersionUpdateAvailable},
      {"1,9", "1.3", kVersionUpToDate},          // only "." separates parts: "1,9" is 1
      {".", "0.1", kVersionUpdateAvailable},      // two empty parts
      {".", "0.0", kVersionUpToDate},
      {"1..2", "1.0.3", kVersionUpdateAvailable},
      {"1..2", "1.1", kVersionUpdateAvailable},
  };
  ExpectComparisons(std::begin(cases), std::end(cases));
}

TEST(CompareVersions, LongDigitRunsSaturateAtTheIntRange) {
  const CompareCase cases[] = {
      {"99999999999999999999999999", "1", kVersionUpToDate},
      {"1", "99999999999999999999999999", kVersionUpdateAvailable},
      {"2147483647", "2147483646", kVersionUpToDate},
      {"2147483646", "2147483647", kVersionUpdateAvailable},
      {"2147483648", "2147483647", kVersionUpToDate},  // both clamp to the same value
      {"2147483647", "99999999999999999999", kVersionUpToDate},
      {"4294967297", "2", kVersionUpToDate},           // no wrap-around to 1
      {"-99999999999999999999", "0", kVersionUpdateAvailable},
      {"-2147483648", "-2147483647", kVersionUpdateAvailable},
      {"-2147483649", "-2147483648", kVersionUpToDate},
      {"0", "-99999999999999999999", kVersionUpToDate},
  };
  ExpectComparisons(std::begin(cases), std::end(cases));
}

}  // namespace
}  // namespace tvk
