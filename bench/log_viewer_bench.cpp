// The log screen's refresh without the status query: a busy day's log of
// about 1 MB read and split into lines, and a queue of 100 jobs spread over
// 5 printers listed in printer-table order. It runs every ten seconds on the
// window's thread, so it has to stay well below a frame's worth of time.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "platform/clock.h"
#include "platform/files.h"
#include "routing/config_file.h"
#include "service/log_viewer.h"
#include "tests/support/temp_dir.h"

namespace {

const platform::LocalDateTime kDay{2026, 3, 7, 23, 0, 0};
const char* const kPrinters[] = {"Cozinha", "Bar", "Caixa", "Copa", "Terraco"};

class BusyDay {
 public:
  BusyDay() {
    platform::createDirectory(dir_.file("log"));
    std::string log;
    for (int i = 0; log.size() < 1024 * 1024; ++i) {
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
    platform::writeFileReplacing(routing::appFile(dir_.path(), "fila"), queue);
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
  static BusyDay day;
  return day;
}

void BM_DayLog1MB(benchmark::State& state) {
  BusyDay& day = busyDay();
  size_t lines = 0;
  for (auto _ : state) {
    auto log = service::readDayLog(day.dir(), kDay);
    lines = log->size();
    benchmark::DoNotOptimize(log);
  }
  state.counters["lines"] = static_cast<double>(lines);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * day.logBytes()));
}
BENCHMARK(BM_DayLog1MB)->Unit(benchmark::kMillisecond);

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
    auto log = service::readDayLog(day.dir(), kDay);
    auto listing = service::queueView(day.dir(), day.printers());
    benchmark::DoNotOptimize(log);
    benchmark::DoNotOptimize(listing);
  }
}
BENCHMARK(BM_Refresh)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
