/*
 * Running a plan's steps, one controller change each, in order. After
 * every step the changed object is read back; a step whose change does
 * not show, like one the controller refuses, stops the run.
 */
#ifndef CONF_APPLY_H
#define CONF_APPLY_H

#include <string>

#include "plan.h"

namespace conf {

struct StepResult {
    enum State { NotRun, Done, Failed } state = NotRun;
    KX_U8 status = 0;
    std::string message; /* a failure, as arrayctl words it */
};

/* Runs one step. The plan's array IDs learn the arrays it makes. */
StepResult runStep(Plan &plan, const Step &step);

} // namespace conf

#endif /* CONF_APPLY_H */
