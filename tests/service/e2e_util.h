// Helpers of the end-to-end tests: a real PHP web server on a free
// loopback port, and running the daemon binary in a data directory of the
// test's own.
#ifndef ARRAYWATCH_E2E_UTIL_H
#define ARRAYWATCH_E2E_UTIL_H

#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

#include "service_test_util.h"

int pickFreePort();
// A socket listening on a free loopback port, never accepting; -1 on failure.
// *addr receives its address.
struct sockaddr_in;
int listenLoopback(int backlog, sockaddr_in* addr);
bool waitFor(const std::function<bool()>& condition, int timeoutMs);

// php -S 127.0.0.1:<port> serving tests/service/gui; every request is
// appended to requestLog().
class PhpServer {
 public:
  explicit PhpServer(const std::string& workDir);
  ~PhpServer();
  bool running() const { return m_pid > 0; }
  int port() const { return m_port; }
  const std::string& requestLog() const { return m_requestLog; }
  std::vector<std::string> requests() const;

 private:
  pid_t m_pid = -1;
  int m_port = 0;
  std::string m_requestLog;
};

// One data directory (ARRAY_DB_DIR), one simulated controller state and the
// GUI port, set in this process's environment for the life of the object so
// the binaries it runs and the event store calls of the test agree.
class DaemonSandbox {
 public:
  DaemonSandbox();
  ~DaemonSandbox();

  std::string db() const { return m_db; }
  std::string xml() const { return m_db + "/db.xml"; }
  std::string pidFile() const { return m_db + "/arraywatch.pid"; }
  std::string logText() const { return readFile(m_db + "/arraywatch.log"); }
  std::string simState() const { return m_dir.path() + "/state.json"; }
  std::string work() const { return m_dir.path(); }
  void setGuiPort(int port);

  // Runs binary with one argument and waits for it; returns its exit status
  // (-1 when it did not exit normally). Its output goes to files.
  int run(const std::string& binary, const std::string& arg, std::string* out = nullptr);
  // Reads the daemon's pid from the pid file once it is there; 0 on timeout.
  int waitForDaemon(int timeoutMs = 5000);
  // Ends every daemon this sandbox started that still runs.
  void killDaemons();
  void rememberDaemon(int pid) { m_daemons.push_back(pid); }

 private:
  TempDir m_dir;
  std::string m_db;
  std::vector<int> m_daemons;
  ScopedEnv m_envDb, m_envSim, m_envPort;
};

bool processAlive(int pid);
long residentKiB(int pid);
int openFdCount(int pid);

#endif
