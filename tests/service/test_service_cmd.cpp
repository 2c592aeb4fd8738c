// The start/stop command line, the pid file and the service loop, driven
// in-process. Processes that stand in for a running daemon are children
// of this test, so their command line names this test binary.
#include <gtest/gtest.h>

#include <climits>
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "Service.h"
#include "service_test_util.h"

namespace {

std::string selfPath() {
  char buf[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string("test_service_unit");
}

class ServiceCmd : public ::testing::Test {
 protected:
  TempDir dir;
  ScopedEnv db{"ARRAY_DB_DIR", dir.path()};
  std::string pidFile = dir.file("arraywatch.pid");
  std::string self = selfPath();

  int run(const char* arg) {
    std::vector<char*> argv = {const_cast<char*>(self.c_str()), const_cast<char*>(arg), nullptr};
    ServiceHooks none = {nullptr, nullptr, nullptr};
    return arraywatchMain(2, argv.data(), none, DEFAULT_TICK_MS);
  }
  std::string log() { return readFile(dir.file("arraywatch.log")); }
  bool logHas(const std::string& line) { return log().find(": " + line) != std::string::npos; }
};

TEST_F(ServiceCmd, UsageLine) {
  char prog[] = "./arraywatch";
  char a[] = "start", b[] = "stop", r[] = "restart", upper[] = "START";
  ServiceHooks none = {nullptr, nullptr, nullptr};
  struct Case {
    std::vector<char*> argv;
    int status;
  } cases[] = {{{prog}, 0}, {{prog, a, b}, 0}, {{prog, r}, 1}, {{prog, upper}, 1}};
  for (Case& c : cases) {
    testing::internal::CaptureStdout();
    int status = arraywatchMain(static_cast<int>(c.argv.size()), c.argv.data(), none, DEFAULT_TICK_MS);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Usage:\n\t ./arraywatch start|stop\n");
    EXPECT_EQ(status, c.status);
  }
  EXPECT_FALSE(fileExists(dir.file("arraywatch.log")));
}

TEST_F(ServiceCmd, PidFileReading) {
  int pid = -1;
  EXPECT_EQ(getPidFromFile(pidFile, pid), 2);
  writeFile(pidFile, "");
  EXPECT_EQ(getPidFromFile(pidFile, pid), 2);
  writeFile(pidFile, "pid");
  EXPECT_EQ(getPidFromFile(pidFile, pid), 2);
  EXPECT_EQ(pid, -1);
  writeFile(pidFile, "4711");
  EXPECT_EQ(getPidFromFile(pidFile, pid), 0);
  EXPECT_EQ(pid, 4711);
  writeFile(pidFile, "  42\n");
  EXPECT_EQ(getPidFromFile(pidFile, pid), 0);
  EXPECT_EQ(pid, 42);
  if (geteuid() == 0) {
    ASSERT_EQ(chown(pidFile.c_str(), 65534, 65534), 0);
    EXPECT_EQ(getPidFromFile(pidFile, pid), 2);  // another user's file
  }
}

TEST(ServiceInstance, MatchesByProgramName) {
  EXPECT_TRUE(isInstanceOf("/usr/sbin/arraywatch", "/usr/sbin/arraywatch"));
  EXPECT_TRUE(isInstanceOf("/usr/sbin/arraywatch", "arraywatch"));
  EXPECT_TRUE(isInstanceOf("arraywatch", "/usr/sbin/arraywatch"));
  EXPECT_TRUE(isInstanceOf("./arraywatch", "/opt/bin/arraywatch"));
  EXPECT_FALSE(isInstanceOf("/bin/sleep", "/usr/sbin/arraywatch"));
  EXPECT_FALSE(isInstanceOf("", "arraywatch"));
  EXPECT_FALSE(isInstanceOf("/usr/sbin/arraywatch", "/usr/sbin/"));
}

TEST_F(ServiceCmd, StopWithoutPidFile) {
  EXPECT_EQ(run("stop"), 2);
  EXPECT_TRUE(logHas("stop arraywatch\n"));
  EXPECT_TRUE(logHas("open [" + pidFile + "] error!\n"));
  EXPECT_FALSE(logHas("DONE!"));
}

TEST_F(ServiceCmd, StopWithStalePidFile) {
  pid_t gone = fork();
  if (gone == 0) _exit(0);
  waitpid(gone, nullptr, 0);
  writeFile(pidFile, std::to_string(gone));
  EXPECT_EQ(run("stop"), 0);
  const std::string expected[] = {
      "stop arraywatch\n",
      "[" + self + "] stoping service of pid " + std::to_string(gone) + "....\n",
      "[" + self + "] send signal failed!\n",
      "The " + self + " may exit abnormally,clear the pid file!\n",
      "Clear the pid file successfully!\n",
      "DONE!\n"};
  std::string text = log();
  size_t at = 0;
  for (const std::string& line : expected) {
    size_t found = text.find(": " + line, at);
    ASSERT_NE(found, std::string::npos) << line;
    at = found;
  }
  EXPECT_FALSE(fileExists(pidFile));
}

TEST_F(ServiceCmd, StopNeverSignalsAnUnrelatedProcess) {
  pid_t other = fork();
  if (other == 0) {
    execl("/bin/sleep", "sleep", "30", static_cast<char*>(nullptr));
    _exit(127);
  }
  // Wait until the child runs sleep, so its command line is sleep's.
  for (int i = 0; i < 200 && readFile("/proc/" + std::to_string(other) + "/cmdline").rfind("sleep", 0) != 0; ++i)
    usleep(10000);
  writeFile(pidFile, std::to_string(other));
  EXPECT_EQ(run("stop"), 0);
  EXPECT_FALSE(fileExists(pidFile));
  EXPECT_TRUE(logHas("Clear the pid file successfully!\n"));
  int status = 0;
  EXPECT_EQ(waitpid(other, &status, WNOHANG), 0) << "the unrelated process was ended";
  kill(other, SIGKILL);
  waitpid(other, &status, 0);
}

volatile sig_atomic_t gChildStop = 0;
void childStop(int) { gChildStop = 1; }

// A stand-in daemon: writes its pid file, and on SIGUSR1 takes `exitDelayMs`
// before ending, removing the pid file only if asked to.
pid_t fakeDaemon(const std::string& pidFile, int exitDelayMs, bool removePidFile) {
  signal(SIGUSR1, childStop);
  pid_t child = fork();
  if (child == 0) {
    writeFile(pidFile, std::to_string(getpid()));
    while (!gChildStop) pause();
    usleep(static_cast<useconds_t>(exitDelayMs) * 1000);
    if (removePidFile) unlink(pidFile.c_str());
    _exit(0);
  }
  signal(SIGUSR1, SIG_DFL);
  for (int i = 0; i < 500 && !fileExists(pidFile); ++i) usleep(10000);
  return child;
}

TEST_F(ServiceCmd, StopWaitsUntilTheDaemonRemovedItsPidFile) {
  pid_t daemon = fakeDaemon(pidFile, 1500, true);
  ASSERT_TRUE(fileExists(pidFile));
  EXPECT_EQ(run("stop"), 0);
  EXPECT_FALSE(fileExists(pidFile));
  std::string text = log();
  size_t waiting = text.find(": waiting...\n");
  size_t done = text.find(": DONE!\n");
  EXPECT_NE(waiting, std::string::npos);
  ASSERT_NE(done, std::string::npos);
  EXPECT_LT(waiting, done);
  EXPECT_FALSE(logHas("send signal failed"));
  int status = 0;
  EXPECT_EQ(waitpid(daemon, &status, 0), daemon);
}

TEST_F(ServiceCmd, StopEndsWhenTheDaemonDiedWithoutCleaningUp) {
  pid_t daemon = fakeDaemon(pidFile, 0, false);
  ASSERT_TRUE(fileExists(pidFile));
  EXPECT_EQ(run("stop"), 0);  // returns although the pid file was never removed
  EXPECT_FALSE(fileExists(pidFile));
  EXPECT_TRUE(logHas("Clear the pid file successfully!\n"));
  EXPECT_TRUE(logHas("DONE!\n"));
  waitpid(daemon, nullptr, 0);
}

int gInit, gCapture, gFinal, gStopAfter;
void fakeInit() { ++gInit; }
void fakeFinal() { ++gFinal; }
void fakeCapture() {
  // The controller is initialised before the first capture.
  EXPECT_EQ(gInit, 1);
  if (++gCapture == gStopAfter) raise(SIGUSR1);
}
void termCapture() {
  if (++gCapture == gStopAfter) raise(SIGTERM);
}

TEST_F(ServiceCmd, ServiceLoopTicksUntilTheStopSignal) {
  gInit = gCapture = gFinal = 0;
  gStopAfter = 60;
  gIsExit = 1;
  ServiceHooks hooks = {fakeInit, fakeCapture, fakeFinal};
  EXPECT_EQ(start_service(hooks, 1), 0);
  EXPECT_EQ(gInit, 1);
  EXPECT_EQ(gCapture, 60);  // the tick under way when the signal came completed
  EXPECT_EQ(gFinal, 1);
  std::string text = log();
  EXPECT_NE(text.find(": start arraywatch successfully,running status is:1\n"), std::string::npos);
  EXPECT_NE(text.find(": Exit the service and prepare for shutdown the api\n"), std::string::npos);
  EXPECT_EQ(countOccurrences(text, "refreshTable+++"), 2);  // ticks 1 and 51

  gCapture = gFinal = 0;
  gStopAfter = 3;
  gIsExit = 1;
  ServiceHooks term = {nullptr, termCapture, fakeFinal};
  EXPECT_EQ(start_service(term, 1), 0);
  EXPECT_EQ(gCapture, 3);
  EXPECT_EQ(gFinal, 1);
  signal(SIGUSR1, SIG_DFL);
  signal(SIGTERM, SIG_DFL);
  signal(SIGINT, SIG_DFL);
}

}  // namespace
