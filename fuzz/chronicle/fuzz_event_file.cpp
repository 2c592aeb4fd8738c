// libFuzzer target for the event store's readers: any bytes as the two
// store files, then every call that reads them (and the delete, which
// reads, rewrites slots and the header). A crash, a sanitizer report or a
// page larger than the room given is a finding.
//
// Input: byte 0 picks how many of the following bytes form the sequence
// file (0..255); the rest is the event file.
#include "fake_controller.h"
#include "qta_api.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

std::string gDir;

void removeDir()
{
    std::string cmd = "rm -rf '" + gDir + "'";
    if (std::system(cmd.c_str()) != 0)
        std::fprintf(stderr, "cannot remove %s\n", gDir.c_str());
}

void writeFile(const std::string &path, const uint8_t *data, size_t size)
{
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f)
        std::abort();
    if (size)
        std::fwrite(data, 1, size, f);
    std::fclose(f);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    char tmpl[] = "/tmp/chronicle-fuzz-XXXXXX";
    if (!mkdtemp(tmpl))
        std::abort();
    gDir = tmpl;
    std::atexit(removeDir);
    setenv("ARRAY_DB_DIR", tmpl, 1);
    fake::reset();
    fake::addAdapter("FUZZ");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    size_t seqLen = data[0];
    if (seqLen > size - 1)
        seqLen = size - 1;
    writeFile(gDir + "/ar_kx_seqnum.ev", data + 1, seqLen);
    writeFile(gDir + "/ar_kx_raid.ev", data + 1 + seqLen, size - 1 - seqLen);

    static ServiceEvent page[64];
    for (KX_U32 start : {0u, 1u, 7u, 49999u, 50000u, 0xFFFFFFFFu}) {
        KX_U32 count = 64;
        QTA_GetEvent(start, &count, page);
        if (count > 64)
            std::abort();
    }
    Event_ChangeCounters counters;
    QTA_GetEventChangeStatus(&counters);
    KX_U32 seq = 0;
    if (size >= 5)
        std::memcpy(&seq, data + size - 4, 4);
    QTA_DeleteEvent(seq);
    KX_U32 count = 64;
    QTA_GetEvent(0, &count, page);
    if (count > 64)
        std::abort();
    return 0;
}
