#ifndef KX_EVENT_TEXT_H
#define KX_EVENT_TEXT_H

#include <string>

#include "kx_records.h"

// The message the GUI shows for a stored event (service events included),
// followed directly by the event's sense bytes.
std::string getMsg(const ServiceEvent &event);
// The event's time in asctime's form, newline included; the host clock
// mode is read afresh for every event.
std::string getTime(const ServiceEvent &event);

#endif
