// The daemon under bad data files, a GUI that is down or wedged, a data
// directory that disappears, and a soak of a thousand ticks. These use the
// test build of the daemon, whose tick is shortened by ARRAYWATCH_TICK_MS,
// so that many passes fit into a few seconds.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <csignal>
#include <cstdio>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include "e2e_util.h"

namespace {

const std::string kTestDaemon = ARRAYWATCH_TESTTICK_BIN;

// The fewest descriptors seen over a few ticks: a tick under way holds the
// event store's and the controller's files open for a moment; a leak
// raises even the fewest.
int steadyFdCount(int pid) {
  int fewest = openFdCount(pid);
  for (int i = 0; i < 20; ++i) {
    usleep(3000);
    int n = openFdCount(pid);
    if (n >= 0 && n < fewest) fewest = n;
  }
  return fewest;
}

int passes(const std::string& log) { return countOccurrences(log, "QTADaemon::refreshTable+++"); }

class Robustness : public ::testing::Test {
 protected:
  DaemonSandbox box;
  ScopedEnv tick{"ARRAYWATCH_TICK_MS", "10"};  // a pass every half second

  int start() {
    EXPECT_EQ(box.run(kTestDaemon, "start"), 0);
    return box.waitForDaemon();
  }
  // Waits until the daemon has made `count` more passes, and is alive.
  bool makesPasses(int pid, int count) {
    int now = passes(box.logText());
    return waitFor([&] { return passes(box.logText()) >= now + count; }, 15000) && processAlive(pid);
  }
  void stop() { EXPECT_EQ(box.run(kTestDaemon, "stop"), 0); }
};

TEST_F(Robustness, MissingDataFile) {
  PhpServer gui(box.work());
  ASSERT_TRUE(gui.running());
  box.setGuiPort(gui.port());
  int pid = start();
  ASSERT_GT(pid, 0);
  EXPECT_TRUE(makesPasses(pid, 2));
  EXPECT_FALSE(fileExists(box.xml()));
  EXPECT_NE(box.logText().find(": xml file not exist .\n"), std::string::npos);
  // The mail request still goes out on every pass.
  EXPECT_TRUE(waitFor([&] { return gui.requests().size() >= 2; }, 5000));
  for (const std::string& r : gui.requests()) EXPECT_EQ(r.rfind("GET /Vesta/sendMailNotify.php ", 0), 0u) << r;
  stop();
}

TEST_F(Robustness, EmptyAndUnparseableDataFilesAreLeftAlone) {
  for (const std::string& content : {std::string(), std::string("<root><BGASchedules><s><index>1</index>"),
                                    std::string("\x01\x02 not xml at all \xff")}) {
    writeFile(box.xml(), content);
    int pid = start();
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(makesPasses(pid, 2));
    EXPECT_NE(box.logText().find(": read xml file error.\n"), std::string::npos);
    EXPECT_EQ(readFile(box.xml()), content);
    stop();
  }
}

TEST_F(Robustness, TenMegabyteDataFileIsNotTruncated) {
  std::string xml = "<?xml version=\"1.0\"?>\n<root>\n<Padding>";
  while (xml.size() < 10 * 1024 * 1024) xml += "<p>filler text that the GUI might keep in some other table</p>\n";
  xml += "</Padding>\n<BGASchedules>\n";
  for (int i = 0; i < 200; ++i)
    xml += "<schedule><index>" + std::to_string(i) + "</index><settingType>0</settingType><status>" +
           (i == 150 ? "0" : "2") + "</status><settingTime>0000</settingTime><settingDate>20200101</settingDate>"
           "</schedule>\n";
  xml += "</BGASchedules>\n</root>\n";
  writeFile(box.xml(), xml);
  int pid = start();
  ASSERT_GT(pid, 0);
  ASSERT_TRUE(waitFor([&] { return box.logText().find("ready to RUN!!!") != std::string::npos; }, 15000));
  EXPECT_TRUE(makesPasses(pid, 1));
  std::string after = readFile(box.xml());
  std::string expected = xml;
  const std::string row150 = "<index>150</index><settingType>0</settingType><status>0</status>";
  expected.replace(expected.find(row150), row150.size(),
                   "<index>150</index><settingType>0</settingType><status>1</status>");
  EXPECT_EQ(after.size(), expected.size());
  EXPECT_TRUE(after == expected);
  stop();
}

TEST_F(Robustness, GuiDown) {
  box.setGuiPort(pickFreePort());  // nothing listens there
  writeFile(box.xml(),
            "<root><BGASchedules><s><index>1</index><settingType>0</settingType><status>0</status>"
            "<settingDate>20200101</settingDate></s></BGASchedules></root>");
  int pid = start();
  ASSERT_GT(pid, 0);
  EXPECT_TRUE(makesPasses(pid, 3));
  // Marked before the request was tried, and not triggered again.
  EXPECT_NE(readFile(box.xml()).find("<status>1</status>"), std::string::npos);
  EXPECT_EQ(countOccurrences(box.logText(), "ready to RUN!!!"), 1);
  stop();
}

TEST_F(Robustness, GuiThatAcceptsAndNeverAnswers) {
  sockaddr_in addr;
  int fd = listenLoopback(64, &addr);
  ASSERT_GE(fd, 0);
  box.setGuiPort(ntohs(addr.sin_port));
  int pid = start();
  ASSERT_GT(pid, 0);
  // Connections pile up in the backlog unread; the passes go on.
  EXPECT_TRUE(makesPasses(pid, 4));
  stop();
  close(fd);
}

TEST_F(Robustness, DataDirectoryRemovedWhileRunning) {
  writeFile(box.xml(), "<root><BGASchedules/></root>");
  int pid = start();
  ASSERT_GT(pid, 0);
  ASSERT_TRUE(makesPasses(pid, 1));
  // Renamed away in one step: removing file by file would race with the
  // daemon creating its log and store files in between.
  const std::string gone = box.work() + "/db.gone";
  ASSERT_EQ(rename(box.db().c_str(), gone.c_str()), 0);
  removeTree(gone);
  usleep(1500 * 1000);  // three passes' worth of ticks without a directory
  EXPECT_TRUE(processAlive(pid));
  EXPECT_FALSE(fileExists(box.db()));  // the daemon does not create it
  // The pid file went with the directory; a service manager's stop still works.
  ASSERT_EQ(kill(pid, SIGTERM), 0);
  EXPECT_TRUE(waitFor([&] { return !processAlive(pid); }, 5000));
  mkdir(box.db().c_str(), 0755);
}

TEST_F(Robustness, SoakOfAThousandTicksHoldsMemoryAndDescriptors) {
  PhpServer gui(box.work());
  ASSERT_TRUE(gui.running());
  box.setGuiPort(gui.port());
  ScopedEnv fast("ARRAYWATCH_TICK_MS", "5");
  std::string xml = "<root><BGASchedules>";
  for (int i = 0; i < 30; ++i)
    xml += "<s><index>" + std::to_string(i) + "</index><settingType>" + std::to_string(i % 4) +
           "</settingType><status>2</status><settingTime>0000</settingTime><settingDate>1</settingDate>"
           "<settingDateSupplement>1</settingDateSupplement><startTime>20200101</startTime></s>";
  writeFile(box.xml(), xml + "</BGASchedules></root>");
  int pid = start();
  ASSERT_GT(pid, 0);
  // Warm up: two passes (100 ticks), then measure.
  ASSERT_TRUE(waitFor([&] { return passes(box.logText()) >= 3; }, 20000));
  long rssBefore = residentKiB(pid);
  int fdsBefore = steadyFdCount(pid);
  // 1000 more ticks: 20 more passes.
  ASSERT_TRUE(waitFor([&] { return passes(box.logText()) >= 23; }, 60000));
  long rssAfter = residentKiB(pid);
  int fdsAfter = steadyFdCount(pid);
  EXPECT_TRUE(processAlive(pid));
  EXPECT_GT(rssBefore, 0);
  EXPECT_EQ(fdsAfter, fdsBefore);
  // A leak of one table or document per pass would show as hundreds of KiB.
  EXPECT_LT(rssAfter - rssBefore, 256) << rssBefore << " KiB -> " << rssAfter << " KiB";
  EXPECT_GE(gui.requests().size(), 20u);
  stop();
}

}  // namespace
