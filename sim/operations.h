// Names of every operation the library exports; a fault entry must name one.
#ifndef SIM_OPERATIONS_H
#define SIM_OPERATIONS_H

namespace sim {

bool isOperationName(const char *name);

}  // namespace sim

#endif
