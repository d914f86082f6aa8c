// Timing harness for catalogue loads, for builds where Google Benchmark is not
// at hand (the Windows build under Wine). Prints the median of several runs.
//
//   ini_store_timing [--plain] [runs]
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <time.h>
#endif

#include "CatalogueLoadWork.h"

namespace {

double NowMs() {
#ifdef _WIN32
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
#else
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
#endif
}

template <class Work>
double MedianMs(int runs, Work work) {
  std::vector<double> times;
  for (int r = 0; r < runs; ++r) {
    double start = NowMs();
    work();
    times.push_back(NowMs() - start);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  using tvk::IniText;
  bool plain = false;
  int runs = 5;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--plain") == 0) plain = true;
    else runs = std::max(1, std::atoi(argv[i]));
  }
  std::printf("%-8s %10s %14s %14s %14s\n", "products", "bytes", "load ms", "branded ms", "order file ms");
  for (int products : {100, 1000, 10000}) {
    std::string text = tvk::bench::MakeCatalogue(products);
    long long checksum = 0;
    double load = MedianMs(runs, [&] { tvk::bench::LoadCatalogue(text, IniText::SearchMode::Indexed, &checksum); });
    double branded = MedianMs(runs, [&] { tvk::bench::BrandCatalogue(text, IniText::SearchMode::Indexed); });
    double order = MedianMs(runs, [&] { tvk::bench::WriteOfficialOrder("ini_store_timing.ini", products); });
    std::printf("%-8d %10zu %14.2f %14.2f %14.2f\n", products, text.size(), load, branded, order);
    if (plain) {
      double plainLoad =
          MedianMs(products >= 10000 ? 1 : runs, [&] { tvk::bench::LoadCatalogue(text, IniText::SearchMode::Plain, &checksum); });
      std::printf("%-8d %10s %14.2f   (plain re-scan for every read)\n", products, "", plainLoad);
    }
  }
  return 0;
}
