// Helpers shared by the daemon's tests: a temporary directory of the
// test's own, file helpers and a fixed clock for the schedule rules.
#ifndef ARRAYWATCH_SERVICE_TEST_UTIL_H
#define ARRAYWATCH_SERVICE_TEST_UTIL_H

#include <ctime>
#include <string>

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return m_path; }
  std::string file(const std::string& name) const { return m_path + "/" + name; }

 private:
  std::string m_path;
};

std::string readFile(const std::string& path);
bool fileExists(const std::string& path);
void writeFile(const std::string& path, const std::string& text);
void removeTree(const std::string& path);
int countOccurrences(const std::string& text, const std::string& needle);

// Sets TZ for this process (and tzset) for the life of the object.
class ScopedTZ {
 public:
  explicit ScopedTZ(const char* tz);
  ~ScopedTZ();

 private:
  std::string m_old;
  bool m_had;
};

// Installs a fixed clock for Schedule; the destructor restores the system
// clock. set() takes local time of the current TZ.
class FixedClock {
 public:
  FixedClock();
  ~FixedClock();
  void set(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
  static time_t now();
};

// Sets ARRAY_DB_DIR (and restores it) so the log of code under test lands
// in a test's own directory.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value);
  ~ScopedEnv();

 private:
  std::string m_name, m_old;
  bool m_had;
};

#endif
