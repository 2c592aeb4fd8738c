/* The controller library interface: records and operations. */
#ifndef ARRAYCORE_H
#define ARRAYCORE_H
#include "kx_types.h"
#include "kx_records.h"
#include "kx_api.h"
#include "kx_event_message.h"
#endif
