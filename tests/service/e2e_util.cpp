#include "e2e_util.h"

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sstream>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#ifndef ARRAYWATCH_GUI_DIR
#define ARRAYWATCH_GUI_DIR "gui"
#endif

int pickFreePort() {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr = {};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  socklen_t len = sizeof addr;
  getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
  close(fd);
  return ntohs(addr.sin_port);
}

int listenLoopback(int backlog, sockaddr_in* addr) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  *addr = sockaddr_in();
  addr->sin_family = AF_INET;
  addr->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof *addr;
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(addr), sizeof *addr) != 0 || listen(fd, backlog) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(addr), &len) != 0) {
    if (fd >= 0) close(fd);
    return -1;
  }
  return fd;
}

bool waitFor(const std::function<bool()>& condition, int timeoutMs) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

namespace {
bool canConnect(int port) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr = {};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = htons(static_cast<uint16_t>(port));
  bool ok = connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
  close(fd);
  return ok;
}

void redirect(int target, const std::string& path) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  if (fd >= 0) {
    dup2(fd, target);
    close(fd);
  }
}
}  // namespace

PhpServer::PhpServer(const std::string& workDir) : m_requestLog(workDir + "/requests.log") {
  // Another test may take the port between the pick and the bind: retry.
  for (int attempt = 0; attempt < 5 && m_pid < 0; ++attempt) {
    int port = pickFreePort();
    std::string listen = "127.0.0.1:" + std::to_string(port);
    pid_t pid = fork();
    if (pid == 0) {
      setenv("ARRAYWATCH_TEST_REQUEST_LOG", m_requestLog.c_str(), 1);
      redirect(1, workDir + "/php.out");
      redirect(2, workDir + "/php.out");
      execl(PHP_BIN, PHP_BIN, "-n", "-S", listen.c_str(), "-t", ARRAYWATCH_GUI_DIR, static_cast<char*>(nullptr));
      _exit(127);
    }
    bool up = waitFor([&] { return canConnect(port) || waitpid(pid, nullptr, WNOHANG) == pid; }, 5000) &&
              canConnect(port);
    if (up) {
      m_pid = pid;
      m_port = port;
    } else {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
  }
}

PhpServer::~PhpServer() {
  if (m_pid > 0) {
    kill(m_pid, SIGTERM);
    waitpid(m_pid, nullptr, 0);
  }
}

std::vector<std::string> PhpServer::requests() const {
  std::vector<std::string> lines;
  std::istringstream in(readFile(m_requestLog));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

DaemonSandbox::DaemonSandbox()
    : m_db(m_dir.path() + "/db"),
      m_envDb("ARRAY_DB_DIR", m_dir.path() + "/db"),
      m_envSim("ARRAYCORE_SIM_STATE", m_dir.path() + "/state.json"),
      m_envPort("ARRAY_GUI_PORT", "1") {
  mkdir(m_db.c_str(), 0755);
}

DaemonSandbox::~DaemonSandbox() { killDaemons(); }

void DaemonSandbox::setGuiPort(int port) { setenv("ARRAY_GUI_PORT", std::to_string(port).c_str(), 1); }

int DaemonSandbox::run(const std::string& binary, const std::string& arg, std::string* out) {
  const std::string outFile = m_dir.path() + "/run.out";
  unlink(outFile.c_str());
  pid_t pid = fork();
  if (pid == 0) {
    redirect(1, outFile);
    redirect(2, outFile);
    execl(binary.c_str(), binary.c_str(), arg.empty() ? nullptr : arg.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  if (out) *out = readFile(outFile);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int DaemonSandbox::waitForDaemon(int timeoutMs) {
  int pid = 0;
  waitFor([&] {
    std::string text = readFile(pidFile());
    pid = text.empty() ? 0 : std::atoi(text.c_str());
    return pid > 0;
  }, timeoutMs);
  if (pid > 0) rememberDaemon(pid);
  return pid;
}

bool processAlive(int pid) {
  std::string stat = readFile("/proc/" + std::to_string(pid) + "/stat");
  size_t close = stat.rfind(')');
  return close != std::string::npos && close + 2 < stat.size() && stat[close + 2] != 'Z';
}

void DaemonSandbox::killDaemons() {
  for (int pid : m_daemons) {
    // Only a process that is still one of our daemons is ended.
    if (processAlive(pid) && readFile("/proc/" + std::to_string(pid) + "/cmdline").find("arraywatch") != std::string::npos) {
      kill(pid, SIGKILL);
      waitFor([&] { return !processAlive(pid); }, 2000);
    }
  }
  m_daemons.clear();
}

long residentKiB(int pid) {
  std::istringstream in(readFile("/proc/" + std::to_string(pid) + "/status"));
  for (std::string line; std::getline(in, line);)
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  return -1;
}

int openFdCount(int pid) {
  DIR* d = opendir(("/proc/" + std::to_string(pid) + "/fd").c_str());
  if (!d) return -1;
  int n = 0;
  while (dirent* e = readdir(d))
    if (e->d_name[0] != '.') ++n;
  closedir(d);
  return n;
}
