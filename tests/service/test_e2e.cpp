// The installed daemon binary, end to end: a temporary data directory, the
// simulated controller and a real PHP web server on loopback.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <csignal>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include "e2e_util.h"
#include "kx_api.h"
#include "qta_api.h"

namespace {

const std::string kDaemon = ARRAYWATCH_BIN;

// The log line of `message` from process `pid`, time stamp aside.
bool hasLine(const std::string& log, int pid, const std::string& message) {
  const std::string head = std::to_string(pid) + " - ";
  for (size_t at = log.find(head); at != std::string::npos; at = log.find(head, at + 1)) {
    if (at != 0 && log[at - 1] != '\n') continue;
    size_t colon = log.find(": ", at);
    if (colon == std::string::npos) return false;
    // The time stamp is asctime's 24 characters.
    if (colon - (at + head.size()) == 24 && log.compare(colon + 2, message.size(), message) == 0) return true;
  }
  return false;
}

int pidOfLine(const std::string& log, const std::string& message) {
  size_t at = log.find(": " + message);
  if (at == std::string::npos) return 0;
  size_t start = log.rfind('\n', at);
  start = start == std::string::npos ? 0 : start + 1;
  return std::atoi(log.c_str() + start);
}

const char kDueOnce[] =
    "<?xml version=\"1.0\"?>\n<root>\n<BGASchedules>\n"
    "<schedule><index>3</index><settingType>0</settingType><status>0</status><bgaType>2</bgaType>"
    "<settingTime>0900</settingTime><settingDate>20200101</settingDate></schedule>\n"
    "<schedule><index>4</index><settingType>0</settingType><status>0</status><bgaType>2</bgaType>"
    "<settingTime>0900</settingTime><settingDate>20990101</settingDate></schedule>\n"
    "</BGASchedules>\n</root>\n";

class DaemonE2E : public ::testing::Test {
 protected:
  DaemonSandbox box;

  int start() {
    EXPECT_EQ(box.run(kDaemon, "start"), 0);
    return box.waitForDaemon();
  }
  void stop() { EXPECT_EQ(box.run(kDaemon, "stop"), 0); }
};

TEST_F(DaemonE2E, UsageGoesToStandardOutput) {
  std::string out;
  EXPECT_EQ(box.run(kDaemon, "", &out), 0);
  EXPECT_EQ(out, "Usage:\n\t " + kDaemon + " start|stop\n");
  EXPECT_EQ(box.run(kDaemon, "restart", &out), 1);
  EXPECT_EQ(out, "Usage:\n\t " + kDaemon + " start|stop\n");
}

TEST_F(DaemonE2E, StartAndStop) {
  int pid = start();
  ASSERT_GT(pid, 0);
  EXPECT_EQ(readFile(box.pidFile()), std::to_string(pid));  // "%d", no newline
  EXPECT_TRUE(processAlive(pid));
  ASSERT_TRUE(waitFor([&] { return box.logText().find("running status is:1") != std::string::npos; }, 5000));
  std::string log = box.logText();
  int parent = pidOfLine(log, "terminate  parent process\n");
  EXPECT_GT(parent, 0);
  EXPECT_NE(parent, pid);
  EXPECT_TRUE(hasLine(log, pid, "set the processs as process group leader\n"));
  EXPECT_TRUE(hasLine(log, pid, "start arraywatch successfully,running status is:1\n"));
  EXPECT_EQ(getsid(pid), pid);  // leads a session of its own

  stop();
  log = box.logText();
  int stopper = pidOfLine(log, "stop arraywatch\n");
  EXPECT_TRUE(hasLine(log, stopper, "[" + kDaemon + "] stoping service of pid " + std::to_string(pid) + "....\n"));
  EXPECT_TRUE(hasLine(log, stopper, "DONE!\n"));
  EXPECT_TRUE(hasLine(log, pid, "Exit the service and prepare for shutdown the api\n"));
  EXPECT_TRUE(hasLine(log, pid, "app exit! remove pid file\n"));
  EXPECT_FALSE(fileExists(box.pidFile()));
  EXPECT_TRUE(waitFor([&] { return !processAlive(pid); }, 3000));
  // The stop command waited for the daemon: its DONE! follows the daemon's last line.
  EXPECT_LT(log.find("app exit! remove pid file"), log.find("DONE!"));
}

TEST_F(DaemonE2E, FirstPassSendsTheRunAndMailRequests) {
  PhpServer gui(box.work());
  ASSERT_TRUE(gui.running());
  box.setGuiPort(gui.port());
  writeFile(box.xml(), kDueOnce);
  int pid = start();
  ASSERT_GT(pid, 0);
  ASSERT_TRUE(waitFor([&] { return gui.requests().size() >= 2; }, 8000)) << readFile(box.work() + "/php.out");
  std::vector<std::string> got = gui.requests();
  const std::string headers =
      " HTTP/1.1 | Host: localhost | Accept-Encoding: gzip,deflate | Accept-Charset: utf-8;q=0.7,*;q=0.7"
      " | Accept-Language: en-us,en;q=0.5 | Content-Type: application/x-www-form-urlencoded | Accept: */*";
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0], "GET /Vesta/runBGASchedule.php?index=3" + headers);
  EXPECT_EQ(got[1], "GET /Vesta/sendMailNotify.php" + headers);
  std::string xml = readFile(box.xml());
  EXPECT_NE(xml.find("<index>3</index><settingType>0</settingType><status>1</status>"), std::string::npos) << xml;
  EXPECT_NE(xml.find("<index>4</index><settingType>0</settingType><status>0</status>"), std::string::npos) << xml;
  EXPECT_TRUE(hasLine(box.logText(), pid, "QTADaemon::checkBgaSchedules: Record 0 ready to RUN!!!\n"));
  stop();
}

TEST_F(DaemonE2E, SecondStartWhileRunningStartsNothing) {
  int pid = start();
  ASSERT_GT(pid, 0);
  std::string out;
  EXPECT_EQ(box.run(kDaemon, "start", &out), 0);
  EXPECT_EQ(out, "");
  std::string log = box.logText();
  int second = pidOfLine(log, "Warning: Pid file [");
  EXPECT_TRUE(hasLine(log, second, "Warning: Pid file [" + box.pidFile() + "] is exist!\n"));
  EXPECT_TRUE(hasLine(log, second, "The " + kDaemon + " is running,command line is " + kDaemon + ",pid is " +
                                       std::to_string(pid) + ",exit.\n"));
  EXPECT_EQ(countOccurrences(log, "set the processs as process group leader"), 1);
  EXPECT_EQ(readFile(box.pidFile()), std::to_string(pid));
  stop();
}

TEST_F(DaemonE2E, StalePidFileIsCleanedUp) {
  pid_t gone = fork();
  if (gone == 0) _exit(0);
  waitpid(gone, nullptr, 0);
  writeFile(box.pidFile(), std::to_string(gone));
  int pid = start();
  ASSERT_GT(pid, 0);
  ASSERT_NE(pid, gone);
  std::string log = box.logText();
  int starter = pidOfLine(log, "Warning: Pid file [");
  EXPECT_TRUE(hasLine(log, starter,
                      "The  process  " + std::to_string(gone) + " is not exist,remove the invalid pid file!\n"));
  EXPECT_TRUE(hasLine(log, starter, "terminate  parent process\n"));
  stop();
}

TEST_F(DaemonE2E, PidFileOfAnotherProgramIsReplaced) {
  pid_t other = fork();
  if (other == 0) {
    execl("/bin/sleep", "sleep", "30", static_cast<char*>(nullptr));
    _exit(127);
  }
  waitFor([&] { return readFile("/proc/" + std::to_string(other) + "/cmdline").rfind("sleep", 0) == 0; }, 2000);
  writeFile(box.pidFile(), std::to_string(other));
  int pid = start();
  ASSERT_GT(pid, 0);
  EXPECT_NE(pid, other);
  EXPECT_EQ(box.logText().find("is running,command line"), std::string::npos);
  stop();
  EXPECT_EQ(waitpid(other, nullptr, WNOHANG), 0);  // left alone throughout
  kill(other, SIGKILL);
  waitpid(other, nullptr, 0);
}

// A GUI whose listen queue is full: every connect waits for the daemon's
// connect timeout. A stop that arrives while the first pass waits there
// has to wait for the pass to finish.
TEST_F(DaemonE2E, StopWaitsForThePassUnderWay) {
  sockaddr_in addr;
  int wedged = listenLoopback(0, &addr);
  ASSERT_GE(wedged, 0);
  std::vector<int> fillers;
  for (int i = 0; i < 2; ++i) {
    int c = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    connect(c, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    fillers.push_back(c);
  }
  usleep(100 * 1000);
  box.setGuiPort(ntohs(addr.sin_port));
  int pid = start();
  ASSERT_GT(pid, 0);
  ASSERT_TRUE(waitFor([&] { return box.logText().find("QTADaemon::sendBgaSchedules---") != std::string::npos; }, 5000));
  stop();
  std::string log = box.logText();
  int stopper = pidOfLine(log, "stop arraywatch\n");
  EXPECT_TRUE(hasLine(log, stopper, "waiting...\n"));
  EXPECT_TRUE(hasLine(log, stopper, "DONE!\n"));
  EXPECT_LT(log.find(": waiting...\n"), log.find(": app exit! remove pid file\n"));
  EXPECT_LT(log.find(": app exit! remove pid file\n"), log.find(": DONE!\n"));
  EXPECT_FALSE(fileExists(box.pidFile()));
  for (int c : fillers) close(c);
  close(wedged);
}

TEST_F(DaemonE2E, StopWithoutDaemon) {
  EXPECT_EQ(box.run(kDaemon, "stop"), 2);
  EXPECT_NE(box.logText().find(": open [" + box.pidFile() + "] error!\n"), std::string::npos);
}

TEST_F(DaemonE2E, TermSignalEndsTheDaemonCleanly) {
  int pid = start();
  ASSERT_GT(pid, 0);
  ASSERT_TRUE(waitFor([&] { return box.logText().find("running status is:1") != std::string::npos; }, 5000));
  ASSERT_EQ(kill(pid, SIGTERM), 0);
  EXPECT_TRUE(waitFor([&] { return !fileExists(box.pidFile()); }, 5000));
  EXPECT_TRUE(waitFor([&] { return !processAlive(pid); }, 3000));
  EXPECT_TRUE(hasLine(box.logText(), pid, "Exit the service and prepare for shutdown the api\n"));
  EXPECT_TRUE(hasLine(box.logText(), pid, "app exit! remove pid file\n"));
}

TEST_F(DaemonE2E, ControllerEventsReachTheEventStore) {
  writeFile(box.simState(),
            "{\"adapters\":[{\"events\":["
            "{\"Event\":{\"Class\":1,\"Code\":26,\"DeviceID\":3,\"Params\":[40,0,0,0],\"Severity\":2}},"
            "{\"Event\":{\"Class\":3,\"Code\":7,\"DeviceID\":1,\"Params\":[1,2,3,4],\"Severity\":3}}]}]}\n");
  if (KX_Adapter_GetCount() == 0) GTEST_SKIP() << "the simulated controller reports no adapter yet";
  int pid = start();
  ASSERT_GT(pid, 0);
  ServiceEvent events[8];
  KX_U32 count = 0;
  bool found = waitFor([&] {
    count = 8;
    QTA_GetEvent(0, &count, events);
    for (KX_U32 i = 0; i < count; ++i)
      if (events[i].kxevent.Code == 7) return true;
    return false;
  }, 3000);
  EXPECT_TRUE(found) << count << " events stored";
  bool first = false;
  for (KX_U32 i = 0; i < count; ++i) first = first || (events[i].kxevent.Class == 1 && events[i].kxevent.Code == 26);
  EXPECT_TRUE(first);
  stop();
}

}  // namespace
