// arraywatch's command line (start / stop), its pid file and the service
// loop. The loop's calls into the controller library and the event store
// come in through ServiceHooks, so the loop can be driven in-process by
// tests; main.cpp binds the real libraries.
#ifndef ARRAYWATCH_SERVICE_H
#define ARRAYWATCH_SERVICE_H

#include <csignal>
#include <string>

extern volatile sig_atomic_t gIsExit;

struct ServiceHooks {
  void (*initialize)();  // controller library start, before the first tick
  void (*capture)();     // event capture, once per tick
  void (*finalize)();    // controller library end, after the last tick
};

const long DEFAULT_TICK_MS = 1000;

// Exit status of the program. tickMs is the length of one loop tick; only a
// test build passes anything but DEFAULT_TICK_MS.
int arraywatchMain(int argc, char** argv, const ServiceHooks& hooks, long tickMs);

void UsageInfo(const char* program);
// 0 when the file exists, is owned by the caller's effective user, opens
// and holds a decimal number (stored in pid); 2 otherwise.
int getPidFromFile(const std::string& path, int& pid);
// Runs until gIsExit is cleared; returns 0.
int start_service(const ServiceHooks& hooks, long tickMs);
void CatchSignal(int signo);

// Whether the first entry of /proc/<pid>/cmdline names this program, i.e.
// contains the file name part of argv0.
bool isInstanceOf(const std::string& cmdlineEntry, const char* argv0);

#endif
