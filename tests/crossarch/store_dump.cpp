// store_dump: drives the event store from the command line, so that one
// build can write a store and another build (of the other word size) can
// read it. dump prints the change counters and every stored record as the
// bytes the store hands back, so two builds that agree print the same.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "qta_api.h"

namespace {

void hexLine(const char *label, const void *data, size_t size)
{
    std::printf("%s", label);
    const unsigned char *p = static_cast<const unsigned char *>(data);
    for (size_t i = 0; i < size; ++i)
        std::printf("%s%02x", i % 4 ? "" : " ", p[i]);
    std::printf("\n");
}

int dump()
{
    Event_ChangeCounters counters;
    std::memset(&counters, 0, sizeof counters);
    QTA_GetEventChangeStatus(&counters);
    hexLine("counters", &counters, sizeof counters);
    ServiceEvent events[16];
    for (KX_U32 start = 0;; ) {
        KX_U32 count = sizeof events / sizeof events[0];
        QTA_GetEvent(start, &count, events);
        for (KX_U32 i = 0; i < count; ++i)
            hexLine("event", &events[i], sizeof events[i]);
        if (count == 0)
            return 0;
        start += count;
    }
}

bool number(const char *text, KX_U32 &out)
{
    char *end = nullptr;
    unsigned long long v = std::strtoull(text, &end, 0);
    if (!*text || *end || text[0] == '-' || v > 0xFFFFFFFFull)
        return false;
    out = static_cast<KX_U32>(v);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    KX_U32 seq = 0;
    if (argc == 2 && !std::strcmp(argv[1], "dump"))
        return dump();
    if (argc == 2 && !std::strcmp(argv[1], "capture")) {
        QTA_APIEventToFile();
        return 0;
    }
    if (argc == 3 && !std::strcmp(argv[1], "delete") && number(argv[2], seq)) {
        QTA_DeleteEvent(seq);
        return 0;
    }
    if (argc == 2 && !std::strcmp(argv[1], "service")) {
        // Parameters above 2^31: they must survive as unsigned words.
        QTA_AddSPEvent(1, 7, 0x80000001u, 0xFFFFFFFFu, 3, 4);
        return 0;
    }
    std::fprintf(stderr, "usage: store_dump dump | capture | delete <sequence> | service\n");
    return 2;
}
