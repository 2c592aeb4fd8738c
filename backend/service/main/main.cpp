// arraywatch: the suite's service daemon.
#include <cstdlib>

#include "Service.h"
#include "kx_api.h"
#include "qta_api.h"

namespace {
void initializeController() { KX_API_Initialize(); }
void finalizeController() { KX_API_Finalize(); }
void captureEvents() { QTA_APIEventToFile(); }

long tickLength() {
#ifdef ARRAYWATCH_TEST_BUILD
  // Only the test build honours a shorter tick, so that a soak of a
  // thousand ticks takes seconds; the installed daemon ticks once a second.
  const char* env = std::getenv("ARRAYWATCH_TICK_MS");
  if (env) {
    long ms = std::strtol(env, nullptr, 10);
    if (ms > 0 && ms <= DEFAULT_TICK_MS) return ms;
  }
#endif
  return DEFAULT_TICK_MS;
}
}  // namespace

int main(int argc, char** argv) {
  const ServiceHooks hooks = {initializeController, captureEvents, finalizeController};
  return arraywatchMain(argc, argv, hooks, tickLength());
}
