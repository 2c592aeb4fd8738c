// The due rules of the periodic pass, at fixed clock values.
#include <gtest/gtest.h>

#include <stdio.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "DataReader.h"
#include "DataTable.h"
#include "QTADaemon.h"
#include "service_test_util.h"

namespace {

struct Row {
  std::string index, type, status, bga, time, date, supple, start;
};

std::string field(const char* name, const std::string& v) {
  return v.empty() ? std::string() : "<" + std::string(name) + ">" + v + "</" + name + ">";
}

std::string scheduleFile(const std::vector<Row>& rows) {
  std::string xml = "<?xml version=\"1.0\"?>\n<root><BGASchedules>\n";
  for (const Row& r : rows) {
    xml += "<schedule>" + field("index", r.index) + field("settingType", r.type) + field("status", r.status) +
           field("bgaType", r.bga) + field("settingTime", r.time) + field("settingDate", r.date) +
           field("settingDateSupplement", r.supple) + field("startTime", r.start) + "</schedule>\n";
  }
  return xml + "</BGASchedules></root>\n";
}

class DueRules : public ::testing::Test {
 protected:
  ScopedTZ tz{"UTC"};
  FixedClock clock;
  TempDir dir;
  ScopedEnv db{"ARRAY_DB_DIR", dir.path()};
  std::string xml = dir.file("db.xml");

  // One check over fresh rows; returns the collected request paths.
  std::vector<std::string> due(const std::vector<Row>& rows) {
    writeFile(xml, scheduleFile(rows));
    QTADaemon daemon(xml, 1);
    daemon.refreshTable();
    daemon.checkBgaSchedules();
    return std::vector<std::string>(daemon.pendingUrls().begin(), daemon.pendingUrls().end());
  }
  bool isDue(const Row& row) { return due({row}).size() == 1; }

  std::string statusOf(const std::string& index) {
    DataReader reader(xml, DataReader::STORAGE_TYPE_XML);
    std::unique_ptr<DataTable> table(reader.getTable("root/BGASchedules", DataKeyNameList{"index"}));
    for (long p = 0; p < table->getRowCount(); ++p)
      if (table->getRow(p)->getValueByName("index") == index) return table->getRow(p)->getValueByName("status");
    return "absent";
  }
};

const std::string kRun = "/Vesta/runBGASchedule.php?index=";

TEST_F(DueRules, DailyEveryThreeDaysInTheTenMinuteWindow) {
  Row daily{"1", "1", "0", "1", "0200", "3", "", "20250101"};
  for (int day : {1, 4, 7, 31}) {
    clock.set(2025, 1, day, 2, 0);
    EXPECT_TRUE(isDue(daily)) << "January " << day;
  }
  for (int day : {2, 3, 5, 6, 30}) {
    clock.set(2025, 1, day, 2, 5);
    EXPECT_FALSE(isDue(daily)) << "January " << day;
  }
  clock.set(2025, 1, 4, 2, 10);
  EXPECT_TRUE(isDue(daily));
  clock.set(2025, 1, 4, 2, 11);
  EXPECT_FALSE(isDue(daily));
  clock.set(2025, 1, 4, 1, 59);
  EXPECT_FALSE(isDue(daily));
  clock.set(2024, 12, 31, 2, 0);  // before the start date
  EXPECT_FALSE(isDue(daily));
}

TEST_F(DueRules, IntervalZeroOrOneIsEveryDay) {
  for (const char* interval : {"0", "1", ""}) {
    Row daily{"1", "1", "0", "", "0200", interval, "", "20250101"};
    clock.set(2025, 1, 2, 2, 3);
    EXPECT_TRUE(isDue(daily)) << interval;
    clock.set(2025, 1, 3, 2, 3);
    EXPECT_TRUE(isDue(daily)) << interval;
  }
}

TEST_F(DueRules, WeeklyOnMondaysOfEvenWeeks) {
  Row weekly{"2", "2", "0", "", "0930", "2", "1", "20250106"};  // 6 January 2025 is a Monday
  clock.set(2025, 1, 6, 9, 30);
  EXPECT_TRUE(isDue(weekly));
  clock.set(2025, 1, 13, 9, 30);
  EXPECT_FALSE(isDue(weekly));  // week 1
  clock.set(2025, 1, 20, 9, 35);
  EXPECT_TRUE(isDue(weekly));  // week 2
  clock.set(2025, 1, 21, 9, 35);
  EXPECT_FALSE(isDue(weekly));  // a Tuesday
  clock.set(2025, 2, 3, 9, 40);
  EXPECT_TRUE(isDue(weekly));  // week 4
  clock.set(2025, 2, 3, 9, 41);
  EXPECT_FALSE(isDue(weekly));
}

TEST_F(DueRules, MonthlyOnTheThirtyFirst) {
  Row monthly{"3", "3", "0", "", "2300", "1", "31", "20250101"};
  clock.set(2025, 1, 31, 23, 0);
  EXPECT_TRUE(isDue(monthly));
  clock.set(2025, 2, 28, 23, 0);
  EXPECT_FALSE(isDue(monthly));
  clock.set(2025, 4, 30, 23, 0);
  EXPECT_FALSE(isDue(monthly));  // April has no 31st
  clock.set(2025, 3, 31, 23, 5);
  EXPECT_TRUE(isDue(monthly));
  Row capped = monthly;
  capped.supple = "45";
  clock.set(2025, 3, 31, 23, 5);
  EXPECT_TRUE(isDue(capped));
  Row everyOther = monthly;
  everyOther.date = "2";
  EXPECT_TRUE(isDue(everyOther));  // March is month 2 from January
  clock.set(2025, 8, 31, 23, 5);
  EXPECT_FALSE(isDue(everyOther));  // month 7
  clock.set(2025, 5, 31, 23, 5);
  EXPECT_TRUE(isDue(everyOther));  // month 4
}

TEST_F(DueRules, RunOnceFromItsTimeOnward) {
  Row once{"4", "0", "0", "", "0900", "20250101", "", ""};
  clock.set(2025, 3, 1, 15, 0);
  EXPECT_TRUE(isDue(once));  // long past, not only within ten minutes
  clock.set(2025, 1, 1, 8, 59);
  EXPECT_FALSE(isDue(once));
  clock.set(2025, 1, 1, 9, 0);
  EXPECT_TRUE(isDue(once));
  Row done = once;
  done.status = "2";
  clock.set(2025, 3, 1, 15, 0);
  EXPECT_FALSE(isDue(done));
  Row triggered = once;
  triggered.status = "1";
  EXPECT_FALSE(isDue(triggered));
  EXPECT_NE(readFile(dir.file("arraywatch.log")).find("has already been triggered.\n"), std::string::npos);
}

TEST_F(DueRules, RecurringAfterARunNeedsItsStartLimit) {
  // Status 2 (has run): the schedule counts as begun once the start date
  // integer lies the type's limit behind today.
  Row daily{"5", "1", "2", "", "0200", "1", "", "20250110"};
  clock.set(2025, 1, 10, 2, 0);
  EXPECT_FALSE(isDue(daily));
  clock.set(2025, 1, 11, 2, 0);
  EXPECT_TRUE(isDue(daily));
  Row weekly{"6", "2", "2", "", "0200", "1", "5", "20250110"};  // Fridays
  clock.set(2025, 1, 10, 2, 0);
  EXPECT_FALSE(isDue(weekly));
  clock.set(2025, 1, 17, 2, 0);
  EXPECT_TRUE(isDue(weekly));
}

TEST_F(DueRules, TenIsRequestedBeforeNine) {
  clock.set(2025, 3, 1, 15, 0);
  std::vector<std::string> urls = due({{"9", "0", "0", "", "0900", "20250101", "", ""},
                                       {"10", "0", "0", "", "0900", "20250101", "", ""},
                                       {"11", "0", "0", "", "0900", "20990101", "", ""}});
  ASSERT_EQ(urls.size(), 2u);
  EXPECT_EQ(urls[0], kRun + "10");
  EXPECT_EQ(urls[1], kRun + "9");
  EXPECT_EQ(statusOf("9"), "1");
  EXPECT_EQ(statusOf("10"), "1");
  EXPECT_EQ(statusOf("11"), "0");
}

// Records the audit records sent while it lives, on a socket of its own.
class AuditLog {
 public:
  explicit AuditLog(const std::string& path) : m_env("ARRAY_AUDIT_SOCKET", path) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    snprintf(addr.sun_path, sizeof addr.sun_path, "%s", path.c_str());
    m_fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (m_fd >= 0 && bind(m_fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
      close(m_fd);
      m_fd = -1;
    }
  }
  ~AuditLog() {
    if (m_fd >= 0) close(m_fd);
  }
  std::vector<std::string> take() {
    std::vector<std::string> out;
    char buf[4096];
    ssize_t n;
    while (m_fd >= 0 && (n = recv(m_fd, buf, sizeof buf, MSG_DONTWAIT)) > 0) out.emplace_back(buf, n);
    return out;
  }

 private:
  ScopedEnv m_env;
  int m_fd = -1;
};

TEST_F(DueRules, TriggeredRowsAreWrittenBackAndNotTriggeredAgain) {
  clock.set(2025, 3, 1, 15, 0);
  AuditLog audit(dir.file("audit.sock"));
  writeFile(xml, scheduleFile({{"7", "0", "0", "", "0900", "20250101", "", ""}}));
  QTADaemon daemon(xml, 1);
  daemon.refreshTable();
  daemon.checkBgaSchedules();
  EXPECT_EQ(daemon.pendingUrls().size(), 1u);
  EXPECT_EQ(statusOf("7"), "1");
  const std::vector<std::string> records = audit.take();
  ASSERT_EQ(records.size(), 1u) << "one audit record for the schedule the daemon triggered";
  EXPECT_NE(records[0].find("arraysuite-audit["), std::string::npos) << records[0];
  EXPECT_NE(records[0].find("tool=arraywatch"), std::string::npos) << records[0];
  EXPECT_NE(records[0].find("what=\"schedule 7 triggered (activity 0)\""), std::string::npos) << records[0];
  daemon.sendBgaSchedules();  // nothing listens on port 1: dropped
  EXPECT_TRUE(daemon.pendingUrls().empty());
  daemon.refreshTable();
  daemon.checkBgaSchedules();
  EXPECT_TRUE(daemon.pendingUrls().empty());
  EXPECT_TRUE(audit.take().empty()) << "nothing triggered, nothing recorded";
}

TEST_F(DueRules, AccelerateFlagIsReportedOnce) {
  clock.set(2025, 3, 1, 15, 0);
  writeFile(xml, scheduleFile({{"8", "0", "0", "55", "0900", "20250101", "", ""}}));
  QTADaemon daemon(xml, 1);
  EXPECT_FALSE(daemon.isAccelerateStarted());
  daemon.refreshTable();
  daemon.checkBgaSchedules();
  EXPECT_TRUE(daemon.isAccelerateStarted());
  EXPECT_FALSE(daemon.isAccelerateStarted());

  writeFile(xml, scheduleFile({{"8", "0", "0", "5", "0900", "20250101", "", ""},
                               {"9", "0", "0", "55", "0900", "20990101", "", ""}}));
  daemon.refreshTable();
  daemon.checkBgaSchedules();
  EXPECT_FALSE(daemon.isAccelerateStarted());  // the 55 row was not due
}

TEST_F(DueRules, UnknownOrGarbledTypeAndStatusAreNeverDue) {
  clock.set(2025, 1, 1, 2, 0);
  EXPECT_FALSE(isDue({"1", "7", "0", "", "0200", "1", "", "20240101"}));
  EXPECT_FALSE(isDue({"1", "-", "0", "", "0200", "1", "", "20240101"}));
  // A garbled field does not take over the previous row's value.
  std::vector<std::string> urls = due({{"1", "1", "0", "", "0200", "1", "", "20240101"},
                                       {"2", "x", "y", "", "0200", "1", "", "20240101"}});
  ASSERT_EQ(urls.size(), 1u);
  EXPECT_EQ(urls[0], kRun + "1");
  EXPECT_EQ(statusOf("2"), "y");
}

TEST_F(DueRules, OnlyTheFirstCharacterOfTypeAndStatusCounts) {
  clock.set(2025, 1, 1, 2, 0);
  EXPECT_TRUE(isDue({"1", "12", "03", "", "0200", "1", "", "20240101"}));  // type 1, status 0
  EXPECT_FALSE(isDue({"1", "1", "19", "", "0200", "1", "", "20240101"}));  // status 1
}

TEST_F(DueRules, MissingFileTriggersNothing) {
  QTADaemon daemon(xml, 1);
  daemon.refreshTable();
  daemon.checkBgaSchedules();
  EXPECT_TRUE(daemon.pendingUrls().empty());
  ASSERT_NE(daemon.scheduleTable(), nullptr);
  EXPECT_EQ(daemon.scheduleTable()->getRowCount(), 0);
  EXPECT_FALSE(fileExists(xml));
}

TEST_F(DueRules, PassLogLines) {
  clock.set(2025, 3, 1, 15, 0);
  due({{"3", "0", "0", "4", "0900", "20250101", "", ""}});
  const std::string log = readFile(dir.file("arraywatch.log"));
  for (const char* line :
       {": QTADaemon::refreshTable+++\n", ": QTADaemon::refreshTable---\n", ": QTADaemon::checkBgaSchedules+++\n",
        ": +++++++QTADaemon::checkBgaSchedules: process 0 record begin++++++++\n",
        ": QTADaemon::checkBgaSchedules: record info: type:0 status:0 bga_type:4\n",
        ": QTADaemon::checkBgaSchedules: Check run only once.\n",
        ": QTADaemon::checkBgaSchedules: Record 0 ready to RUN!!!\n",
        ": -------QTADaemon::checkBgaSchedules: process 0 record end-------\n",
        ": QTADaemon::checkBgaSchedules---\n"}) {
    EXPECT_NE(log.find(line), std::string::npos) << line;
  }
}

TEST_F(DueRules, IsSchTodayLooksAtRunOnceDates) {
  clock.set(2025, 3, 1, 8, 0);
  writeFile(xml, scheduleFile({{"1", "0", "0", "", "2200", "20250301", "", ""}}));
  QTADaemon daemon(xml, 1);
  EXPECT_FALSE(daemon.isSchToday());  // no table read yet
  daemon.refreshTable();
  EXPECT_TRUE(daemon.isSchToday());
  writeFile(xml, scheduleFile({{"1", "0", "2", "", "2200", "20250301", "", ""},
                               {"2", "0", "0", "", "2200", "20250302", "", ""}}));
  daemon.refreshTable();
  EXPECT_FALSE(daemon.isSchToday());
}

TEST_F(DueRules, LoopRunsAPassEveryFiftyTicks) {
  QTADaemon daemon(xml, 1);
  const std::string logPath = dir.file("arraywatch.log");
  daemon.loop();
  EXPECT_EQ(countOccurrences(readFile(logPath), "refreshTable+++"), 1);
  EXPECT_EQ(daemon.tickCount(), 1u);
  for (int i = 0; i < 49; ++i) daemon.loop();
  EXPECT_EQ(countOccurrences(readFile(logPath), "refreshTable+++"), 1);
  EXPECT_EQ(daemon.tickCount(), 0u);
  daemon.loop();
  EXPECT_EQ(countOccurrences(readFile(logPath), "refreshTable+++"), 2);
  for (int i = 0; i < 100; ++i) daemon.loop();
  EXPECT_EQ(countOccurrences(readFile(logPath), "refreshTable+++"), 4);
}

}  // namespace
