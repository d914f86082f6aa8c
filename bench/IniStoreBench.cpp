// Catalogue loads of 100, 1,000 and 10,000 products: the indexed store against
// a plain re-scan of the text for every read.
#include <benchmark/benchmark.h>

#include "CatalogueLoadWork.h"

namespace {

using tvk::IniText;

void LoadIndexed(benchmark::State& state) {
  std::string text = tvk::bench::MakeCatalogue(static_cast<int>(state.range(0)));
  long long checksum = 0;
  for (auto _ : state) benchmark::DoNotOptimize(tvk::bench::LoadCatalogue(text, IniText::SearchMode::Indexed, &checksum));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(LoadIndexed)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity();

void LoadPlainRescan(benchmark::State& state) {
  std::string text = tvk::bench::MakeCatalogue(static_cast<int>(state.range(0)));
  long long checksum = 0;
  for (auto _ : state) benchmark::DoNotOptimize(tvk::bench::LoadCatalogue(text, IniText::SearchMode::Plain, &checksum));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(LoadPlainRescan)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity()->Iterations(1);

void BrandIndexed(benchmark::State& state) {
  std::string text = tvk::bench::MakeCatalogue(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(tvk::bench::BrandCatalogue(text, IniText::SearchMode::Indexed));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BrandIndexed)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity();

void WriteOfficialOrder(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(tvk::bench::WriteOfficialOrder("ini_store_bench.ini", static_cast<int>(state.range(0))));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(WriteOfficialOrder)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace

BENCHMARK_MAIN();
