#include "Service.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <signal.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include "Log.h"
#include "QTADaemon.h"
#include "ServicePaths.h"

volatile sig_atomic_t gIsExit = 1;

namespace {
enum CmdlineResult { CMDLINE_OK, CMDLINE_NO_PROCESS, CMDLINE_UNREADABLE };

// Reads at most size-1 bytes of /proc/<pid>/<what> into buffer, NUL-ended.
// Returns the byte count, or -1 when the file does not open.
long readProcFile(int pid, const char* what, char* buffer, size_t size, std::string* path) {
  char name[64];
  std::snprintf(name, sizeof name, "/proc/%d/%s", pid, what);
  if (path) *path = name;
  FILE* f = std::fopen(name, "r");
  if (!f) return -1;
  size_t n = std::fread(buffer, 1, size - 1, f);
  std::fclose(f);
  buffer[n] = '\0';
  return static_cast<long>(n);
}

CmdlineResult readCmdlineEntry(int pid, std::string* path, std::string* entry) {
  char buffer[1024];
  long got = readProcFile(pid, "cmdline", buffer, sizeof buffer, path);
  if (got < 0) return ::access(path->c_str(), F_OK) != 0 ? CMDLINE_NO_PROCESS : CMDLINE_UNREADABLE;
  size_t n = static_cast<size_t>(got);
  // The first entry, up to its NUL (or a blank, as a word read would stop).
  size_t len = 0;
  while (len < n && buffer[len] != '\0' && buffer[len] != ' ' && buffer[len] != '\t' && buffer[len] != '\n') ++len;
  entry->assign(buffer, len);
  return CMDLINE_OK;
}

// Alive and not a zombie: a daemon that has exited but is not yet reaped
// will never remove its pid file.
bool processExists(int pid) {
  if (pid <= 0 || (::kill(pid, 0) != 0 && errno != EPERM)) return false;
  char buffer[512];
  if (readProcFile(pid, "stat", buffer, sizeof buffer, nullptr) < 0) return true;
  const char* close = std::strrchr(buffer, ')');
  char state = (close && close[1] == ' ') ? close[2] : '?';
  return state != 'Z' && state != 'X';
}

// A pid file naming a live process that is not an arraywatch (the pid was
// reused after a crash) must never get our stop signal: SIGUSR1 would end
// that unrelated process.
bool isOurProcess(int pid, const char* argv0) {
  std::string path, entry;
  switch (readCmdlineEntry(pid, &path, &entry)) {
    case CMDLINE_NO_PROCESS:
      return false;
    case CMDLINE_UNREADABLE:
      return true;  // cannot tell; let the signal decide as it always did
    case CMDLINE_OK:
      break;
  }
  return isInstanceOf(entry, argv0);
}

void installHandler(int signo) {
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_handler = CatchSignal;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: the signal must cut the tick's sleep short.
  ::sigaction(signo, &action, nullptr);
}

void sleepTick(long tickMs) {
  timespec ts;
  ts.tv_sec = tickMs / 1000;
  ts.tv_nsec = (tickMs % 1000) * 1000000L;
  ::nanosleep(&ts, nullptr);
}

int runStop(const char* argv0) {
  const std::string pidPath = ServicePaths::pidFilePath();
  LogPrintf("stop arraywatch\n");
  int pid = 0;
  if (getPidFromFile(pidPath, pid) != 0) {
    LogPrintf("open [%s] error!\n", pidPath.c_str());
    return 2;
  }
  LogPrintf("[%s] stoping service of pid %d....\n", argv0, pid);
  int status = 0;
  bool sent = pid > 0 && isOurProcess(pid, argv0) && ::kill(pid, SIGUSR1) == 0;
  if (sent) {
    while (::access(pidPath.c_str(), F_OK) == 0) {
      // A daemon that died without cleaning up (killed outright) would
      // otherwise keep this loop waiting for ever.
      if (!processExists(pid)) {
        if (::unlink(pidPath.c_str()) == 0) LogPrintf("Clear the pid file successfully!\n");
        break;
      }
      LogPrintf("waiting...\n");
      ::sleep(1);
    }
  } else {
    LogPrintf("[%s] send signal failed!\n", argv0);
    LogPrintf("The %s may exit abnormally,clear the pid file!\n", argv0);
    if (::unlink(pidPath.c_str()) != 0) {
      LogPrintf("app exit! rm pid failed!\n");
      status = 2;
    } else {
      LogPrintf("Clear the pid file successfully!\n");
    }
  }
  LogPrintf("DONE!\n");
  return status;
}

int runStart(const char* argv0, const ServiceHooks& hooks, long tickMs) {
  const std::string pidPath = ServicePaths::pidFilePath();
  int pid = 0;
  if (getPidFromFile(pidPath, pid) == 0) {
    LogPrintf("Warning: Pid file [%s] is exist!\n", pidPath.c_str());
    if (pid == static_cast<int>(::getpid())) {
      LogPrintf("Warning: Pid of main process is %u, no other process exists\n", static_cast<unsigned>(pid));
    } else {
      std::string path, entry;
      switch (readCmdlineEntry(pid, &path, &entry)) {
        case CMDLINE_NO_PROCESS:
          LogPrintf("The  process  %d is not exist,remove the invalid pid file!\n", pid);
          break;
        case CMDLINE_UNREADABLE:
          LogPrintf("Open cmdlind file %s failed!\n", path.c_str());
          break;
        case CMDLINE_OK:
          if (isInstanceOf(entry, argv0)) {
            LogPrintf("The %s is running,command line is %s,pid is %u,exit.\n", argv0, entry.c_str(),
                      static_cast<unsigned>(pid));
            return 0;
          }
          break;
      }
    }
    if (::unlink(pidPath.c_str()) != 0) LogPrintf("Remove pid failed!\n");
  }

  pid_t child = ::fork();
  if (child < 0) return 1;
  if (child > 0) {
    LogPrintf("terminate  parent process\n");
    return 0;
  }
  LogPrintf("set the processs as process group leader\n");
  ::setsid();
  int status = 0;
  FILE* f = std::fopen(pidPath.c_str(), "w");
  if (!f || std::fprintf(f, "%d", static_cast<int>(::getpid())) < 0) status = 2;
  if (f && std::fclose(f) != 0) status = 2;

  start_service(hooks, tickMs);

  LogPrintf("app exit! remove pid file\n");
  if (::unlink(pidPath.c_str()) != 0) {
    LogPrintf("app exit! remove pid file failed!\n");
    status = 2;
  }
  return status;
}
}  // namespace

void CatchSignal(int signo) {
  (void)signo;
  gIsExit = 0;
}

void UsageInfo(const char* program) { std::printf("Usage:\n\t %s start|stop\n", program); }

int getPidFromFile(const std::string& path, int& pid) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || st.st_uid != ::geteuid()) return 2;
  FILE* f = std::fopen(path.c_str(), "r");
  if (!f) return 2;
  int value = 0;
  int got = std::fscanf(f, "%d", &value);
  std::fclose(f);
  if (got != 1) return 2;
  pid = value;
  return 0;
}

bool isInstanceOf(const std::string& cmdlineEntry, const char* argv0) {
  if (!argv0 || !*argv0) return false;
  // Compare by file name: an instance started as /usr/sbin/arraywatch and a
  // start by the bare name (or the other way round) are the same program,
  // and two daemons would both write the event store.
  const char* name = std::strrchr(argv0, '/');
  name = name ? name + 1 : argv0;
  if (!*name) return false;
  return cmdlineEntry.find(name) != std::string::npos;
}

int start_service(const ServiceHooks& hooks, long tickMs) {
  // A service manager's stop (SIGTERM) or a Ctrl-C in a foreground test
  // ends the daemon as cleanly as the stop command does.
  installHandler(SIGUSR1);
  installHandler(SIGTERM);
  installHandler(SIGINT);
  std::unique_ptr<QTADaemon> daemon(new QTADaemon());
  LogPrintf("start arraywatch successfully,running status is:%u\n", static_cast<unsigned>(gIsExit));
  if (hooks.initialize) hooks.initialize();
  while (gIsExit) {
    sleepTick(tickMs > 0 ? tickMs : DEFAULT_TICK_MS);
    if (hooks.capture) hooks.capture();
    daemon->loop();
  }
  LogPrintf("Exit the service and prepare for shutdown the api\n");
  if (hooks.finalize) hooks.finalize();
  daemon.reset();
  return 0;
}

int arraywatchMain(int argc, char** argv, const ServiceHooks& hooks, long tickMs) {
  gIsExit = 1;
  const char* program = argc > 0 && argv[0] ? argv[0] : "arraywatch";
  if (argc != 2) {
    UsageInfo(program);
    return 0;
  }
  if (std::strcmp(argv[1], "stop") == 0) return runStop(program);
  if (std::strcmp(argv[1], "start") == 0) return runStart(program, hooks, tickMs);
  UsageInfo(program);
  return 1;
}
