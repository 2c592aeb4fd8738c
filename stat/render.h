#ifndef ARRAYSTAT_RENDER_H
#define ARRAYSTAT_RENDER_H

#include <string>

#include "snapshot.h"

namespace arraystat {

// Bumped when a field changes meaning or goes away (adding one does not).
constexpr int kSchemaVersion = 2;

std::string renderJson(const Snapshot &s);
std::string renderPrometheus(const Snapshot &s);

}  // namespace arraystat

#endif
