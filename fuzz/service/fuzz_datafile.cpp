// Any bytes as the GUI's data file: reading the schedule table, the due
// rules over its rows and the write-back must neither crash nor leak, and
// a file that does not parse must be left exactly as it was.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "DataReader.h"
#include "QTADaemon.h"

namespace {
std::string gDir;

void removeDir() {
  unlink((gDir + "/db.xml").c_str());
  unlink((gDir + "/arraywatch.log").c_str());
  rmdir(gDir.c_str());
}

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char tmpl[] = "/tmp/arraywatch-fuzz.XXXXXX";
  if (!mkdtemp(tmpl)) std::abort();
  gDir = tmpl;
  setenv("ARRAY_DB_DIR", gDir.c_str(), 1);
  std::atexit(removeDir);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string xml = gDir + "/db.xml";
  const std::string input(reinterpret_cast<const char*>(data), size);
  {
    std::ofstream out(xml, std::ios::binary | std::ios::trunc);
    out << input;
  }
  {
    QTADaemon daemon(xml, 1);
    daemon.refreshTable();
    daemon.checkBgaSchedules();
    daemon.isSchToday();
    daemon.isAccelerateStarted();
  }
  DataReader reader(xml, DataReader::STORAGE_TYPE_XML);
  DataTable* table = reader.getTable("root/BGASchedules", DataKeyNameList{"index"});
  bool parsed = table->getRowCount() > 0;
  reader.recycleTable(table);
  // No rows means nothing was written: the bytes must be untouched.
  if (!parsed && slurp(xml) != input) std::abort();
  // Keep the log from growing over a long run.
  unlink((gDir + "/arraywatch.log").c_str());
  return 0;
}
