#include "service_test_util.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <ftw.h>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "Schedule.h"

TempDir::TempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string tmpl = std::string(base && *base ? base : "/tmp") + "/arraywatch-test.XXXXXX";
  std::vector<char> buf(tmpl.begin(), tmpl.end());
  buf.push_back('\0');
  if (!mkdtemp(buf.data())) throw std::runtime_error("mkdtemp failed");
  m_path = buf.data();
}

TempDir::~TempDir() { removeTree(m_path); }

namespace {
int removeEntry(const char* path, const struct stat*, int, struct FTW*) { return ::remove(path); }
}  // namespace

void removeTree(const std::string& path) { nftw(path.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS); }

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

bool fileExists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

void writeFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

int countOccurrences(const std::string& text, const std::string& needle) {
  int n = 0;
  for (size_t pos = text.find(needle); pos != std::string::npos; pos = text.find(needle, pos + needle.size())) ++n;
  return n;
}

ScopedTZ::ScopedTZ(const char* tz) {
  const char* old = std::getenv("TZ");
  m_had = old != nullptr;
  if (old) m_old = old;
  setenv("TZ", tz, 1);
  tzset();
}

ScopedTZ::~ScopedTZ() {
  if (m_had) setenv("TZ", m_old.c_str(), 1);
  else unsetenv("TZ");
  tzset();
}

namespace {
time_t gFixedNow = 0;
}

FixedClock::FixedClock() { Schedule::setClock(&FixedClock::now); }
FixedClock::~FixedClock() { Schedule::setClock(nullptr); }
time_t FixedClock::now() { return gFixedNow; }

void FixedClock::set(int year, int month, int day, int hour, int minute, int second) {
  struct tm t = {};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  t.tm_isdst = -1;
  gFixedNow = mktime(&t);
}

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : m_name(name) {
  const char* old = std::getenv(name);
  m_had = old != nullptr;
  if (old) m_old = old;
  setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
  if (m_had) setenv(m_name.c_str(), m_old.c_str(), 1);
  else unsetenv(m_name.c_str());
}
