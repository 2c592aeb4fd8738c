// One periodic pass of the daemon (read the schedule table, evaluate every
// row, write back the due ones, send the requests) over tables of 10 to 1000
// schedules, none of them due, with the GUI down. This is the work an idle
// daemon does every 50 seconds.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <ftw.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "QTADaemon.h"

namespace {

int removeEntry(const char* path, const struct stat*, int, struct FTW*) { return ::remove(path); }

void BM_PeriodicPass(benchmark::State& state) {
  char tmpl[] = "/tmp/arraywatch-bench.XXXXXX";
  if (!mkdtemp(tmpl)) {
    state.SkipWithError("mkdtemp failed");
    return;
  }
  const std::string dir = tmpl;
  setenv("ARRAY_DB_DIR", dir.c_str(), 1);
  std::string xml = "<?xml version=\"1.0\"?>\n<root><BGASchedules>\n";
  for (long i = 0; i < state.range(0); ++i) {
    xml += "<schedule><index>" + std::to_string(i) + "</index><settingType>" + std::to_string(i % 4) +
           "</settingType><status>2</status><bgaType>3</bgaType><settingTime>0300</settingTime>"
           "<settingDate>2</settingDate><settingDateSupplement>1</settingDateSupplement>"
           "<startTime>20200101</startTime></schedule>\n";
  }
  xml += "</BGASchedules></root>\n";
  std::ofstream(dir + "/db.xml") << xml;
  QTADaemon daemon(dir + "/db.xml", 1);
  for (auto _ : state) {
    daemon.refreshTable();
    daemon.checkBgaSchedules();
    daemon.sendBgaSchedules();
    daemon.sendEmailNotify();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  nftw(dir.c_str(), removeEntry, 8, FTW_DEPTH | FTW_PHYS);
}
BENCHMARK(BM_PeriodicPass)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
