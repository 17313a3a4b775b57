// saveLog into one day file: the cost of an entry must not grow with the
// day's log, so 10,000 entries take ten times as long as 1,000.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/clock.h"
#include "print/log_file.h"

namespace {

void BM_SaveLogEntriesIntoOneDayFile(benchmark::State& state) {
  const int entries = static_cast<int>(state.range(0));
  const std::string message = "Teste Impresso Config: \\\\SERVIDOR\\COZINHA";
  platform::SettableClock clock({2026, 12, 6, 12, 0, 0});
  for (auto _ : state) {
    state.PauseTiming();
    char pattern[] = "/tmp/quelta-savelog-XXXXXX";
    std::string dir = mkdtemp(pattern);
    state.ResumeTiming();
    for (int i = 0; i < entries; ++i) print::saveLog(dir, message, clock);
    state.PauseTiming();
    std::filesystem::remove_all(dir);
    state.ResumeTiming();
  }
  state.counters["entries"] = entries;
  state.counters["per_entry_us"] = benchmark::Counter(
      static_cast<double>(entries) * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}
BENCHMARK(BM_SaveLogEntriesIntoOneDayFile)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
