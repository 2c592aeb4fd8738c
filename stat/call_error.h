#ifndef ARRAYSTAT_CALL_ERROR_H
#define ARRAYSTAT_CALL_ERROR_H

#include <string>

namespace arraystat {

// A controller call that failed, with the object it was about (-1: none).
struct CallError {
    std::string operation;
    int status = 0;
    int object = -1;
};

}  // namespace arraystat

#endif
