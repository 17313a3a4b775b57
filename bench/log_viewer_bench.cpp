// The log screen's refresh without the status query: a busy day's log of
// about 1 MB read for the view, and a queue of 100 jobs spread over 5
// printers listed in printer-table order; and a runaway day log of 20 MB, of
// which the view reads only its end, with the peak of memory the refresh
// allocates. The timer's refresh runs every ten seconds; its text is set on
// the window's thread.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "config/config_file.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "service/log_viewer.h"
#include "tests/support/temp_dir.h"

// Bytes allocated through operator new now, and the most since the last
// reset: the peak memory of one refresh.
std::atomic<size_t> allocatedNow{0};
std::atomic<size_t> allocatedPeak{0};

void* operator new(size_t size) {
  void* block = std::malloc(size > 0 ? size : 1);
  if (!block) throw std::bad_alloc();
  size_t now = allocatedNow += malloc_usable_size(block);
  size_t peak = allocatedPeak.load();
  while (now > peak && !allocatedPeak.compare_exchange_weak(peak, now)) {
  }
  return block;
}
// Not inlined: the compiler would pair its free() with the new at each call.
[[gnu::noinline]] void operator delete(void* block) noexcept {
  if (block) allocatedNow -= malloc_usable_size(block);
  std::free(block);
}
[[gnu::noinline]] void operator delete(void* block, size_t) noexcept { operator delete(block); }

namespace {

const platform::LocalDateTime kDay{2026, 3, 7, 23, 0, 0};
const char* const kPrinters[] = {"Cozinha", "Bar", "Caixa", "Copa", "Terraco"};

class BusyDay {
 public:
  explicit BusyDay(size_t logSize) {
    platform::createDirectory(dir_.file("log"));
    std::string log;
    for (int i = 0; log.size() < logSize; ++i) {
      char line[160];
      std::snprintf(line, sizeof line,
                    "%02d:%02d:%02d : Pedido recebido: mesa %d, cartao %d, 4 itens, 2 "
                    "impressoras (total %d)\r\n",
                    (i / 3600) % 24, (i / 60) % 60, i % 60, i % 80, i % 300, i + 1);
      log += line;
    }
    platform::writeFileReplacing(service::dayLogPath(dir_.path(), kDay), log);
    logBytes_ = log.size();

    // 100 jobs, 20 per printer, each a ticket of 8 lines.
    std::string queue = "{";
    std::string table = "[";
    for (int p = 0; p < 5; ++p) {
      if (p) queue += ",", table += ",";
      table += std::string("{\"name\":\"") + kPrinters[p] + "\",\"tipo\":\"Generic Text\"}";
      queue += std::string("\"") + kPrinters[4 - p] + "\":{\"fila\":[";
      for (int j = 0; j < 20; ++j) {
        if (j) queue += ",";
        queue += "[{\"text\":\"Mesa: " + std::to_string(j) +
                 "\",\"tipo\":1,\"fonte\":\"14 Negrito\"},"
                 "{\"text\":\"Cartao: 7\",\"tipo\":1,\"fonte\":\"14 Negrito\"},"
                 "{\"text\":\"07/03/2026 12:30:00\",\"tipo\":2,\"fonte\":\"10\"}";
        for (int item = 0; item < 5; ++item)
          queue += ",{\"text\":\"1 ITEM 0" + std::to_string(item) +
                   " DESCRICAO\",\"tipo\":1,\"fonte\":\"14 Negrito\"}";
        queue += "]";
      }
      queue += "]}";
    }
    queue += "}";
    table += "]";
    platform::writeFileReplacing(config::appFile(dir_.path(), "fila"), queue);
    printers_ = std::make_unique<json::TJSONArray>(table);
  }

  const std::string& dir() const { return dir_.path(); }
  const json::TJSONArray& printers() const { return *printers_; }
  size_t logBytes() const { return logBytes_; }

 private:
  TempDir dir_;
  std::unique_ptr<json::TJSONArray> printers_;
  size_t logBytes_ = 0;
};

BusyDay& busyDay() {
  static BusyDay day(1024 * 1024);
  return day;
}

// The day log's part of a refresh: the view's text, and the most memory
// allocated at one time while it was made.
void dayLogView(benchmark::State& state, const BusyDay& day) {
  size_t shown = 0;
  size_t peak = 0;
  for (auto _ : state) {
    allocatedPeak = allocatedNow.load();
    const size_t before = allocatedNow;
    auto log = service::readDayLogView(day.dir(), kDay);
    peak = std::max(peak, allocatedPeak - before);
    shown = log->size();
    benchmark::DoNotOptimize(log);
  }
  state.counters["file_MB"] = static_cast<double>(day.logBytes()) / (1024 * 1024);
  state.counters["shown_MB"] = static_cast<double>(shown) / (1024 * 1024);
  state.counters["peak_MB"] = static_cast<double>(peak) / (1024 * 1024);
}

void BM_DayLog1MB(benchmark::State& state) { dayLogView(state, busyDay()); }
BENCHMARK(BM_DayLog1MB)->Unit(benchmark::kMillisecond);

void BM_DayLog20MB(benchmark::State& state) {
  static BusyDay day(20 * 1024 * 1024);
  dayLogView(state, day);
}
BENCHMARK(BM_DayLog20MB)->Unit(benchmark::kMillisecond);

void BM_Queue100JobsOn5Printers(benchmark::State& state) {
  BusyDay& day = busyDay();
  size_t lines = 0;
  for (auto _ : state) {
    auto listing = service::queueView(day.dir(), day.printers());
    lines = listing.size();
    benchmark::DoNotOptimize(listing);
  }
  state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_Queue100JobsOn5Printers)->Unit(benchmark::kMillisecond);

// Both, as one refresh does them.
void BM_Refresh(benchmark::State& state) {
  BusyDay& day = busyDay();
  for (auto _ : state) {
    auto log = service::readDayLogView(day.dir(), kDay);
    auto listing = service::queueView(day.dir(), day.printers());
    benchmark::DoNotOptimize(log);
    benchmark::DoNotOptimize(listing);
  }
}
BENCHMARK(BM_Refresh)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
