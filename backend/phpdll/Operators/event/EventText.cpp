#include "Operators/event/EventText.h"

#include "evt_text.h"

namespace {
const size_t kMsgBytes = 512;
const size_t kTimeBytes = 64;
} // namespace

std::string getMsg(const ServiceEvent &event)
{
    char buf[kMsgBytes];
    const Event &e = event.kxevent;
    if (event.from != 1 && e.Class == 10 && e.Code == 16) {
        // The GUI's own wording would call a failed flash read a failed
        // write; the console's words are the right ones here, without the
        // blank that lines them up in a console block.
        size_t n = evt_describe(&e, EVT_CONSOLE, buf, sizeof buf);
        std::string text(buf, n);
        if (!text.empty() && text[0] == ' ')
            text.erase(0, 1);
        if (evt_has_sense(&e)) {
            evt_sense_text(&e, buf, sizeof buf);
            text += buf;
        }
        return text.substr(0, kMsgBytes - 1);
    }
    size_t n = evt_web_message(&event, buf, sizeof buf);
    return std::string(buf, n);
}

std::string getTime(const ServiceEvent &event)
{
    char buf[kTimeBytes];
    size_t n = evt_web_time(&event.kxevent, evt_clock_mode(nullptr), buf, sizeof buf);
    return std::string(buf, n);
}
