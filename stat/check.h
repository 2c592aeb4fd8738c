// The check plugin (arraystat --check, or the name check_arraysuite): one
// verdict over a snapshot for Nagios, Icinga, Naemon and Checkmk, after
// the monitoring-plugins guidelines: one status line, performance data
// after '|', exit 0 OK, 1 WARNING, 2 CRITICAL, 3 UNKNOWN. A controller that
// could not be read is never OK.
#ifndef ARRAYSTAT_CHECK_H
#define ARRAYSTAT_CHECK_H

#include <string>

#include "snapshot.h"

namespace arraystat {

enum CheckState { CHECK_OK = 0, CHECK_WARNING = 1, CHECK_CRITICAL = 2, CHECK_UNKNOWN = 3 };

// A threshold range of the guidelines: "10" (alert outside 0..10), "10:"
// (below 10), "~:10" (above 10), "10:20" (outside), "@10:20" (inside).
struct Range {
    bool set = false;
    bool inside = false;  // '@': alert when inside
    bool lowInf = false, highInf = true;
    double low = 0, high = 0;
    std::string text;
    bool alerts(double v) const;
};
bool parseRange(const std::string &text, Range &out);

struct CheckOptions {
    Range warning, critical;  // disk temperatures, degrees Celsius
    double smartMaxAge = 7200;  // seconds
};

struct CheckResult {
    CheckState state = CHECK_OK;
    std::string output;  // the status line, perfdata and long text, ending in a newline
};

CheckResult evaluate(const Snapshot &s, const CheckOptions &opts);

}  // namespace arraystat

#endif
