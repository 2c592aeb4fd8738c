// libFuzzer target for what a user types: the first byte picks the road,
// the rest is a shell line (split, checked and dispatched to the built-in
// commands and placeholders), an option vector for the handlers' option
// parser (NUL-separated words), or a file name for the expansion of the
// flash command.
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>
#include "Public/dispatch.h"
#include "Public/fileio.h"
#include "Public/getopt.h"
#include "Public/globals.h"
#include "Public/startup.h"
#include "Public/utils.h"

namespace {

const cli::option kLongOpts[] = {
    {"object", cli::kRequiredArgument, nullptr, 'o'},
    {"id", cli::kRequiredArgument, nullptr, 'i'},
    {"internal", cli::kNoArgument, nullptr, 'n'},
    {"raidmode", cli::kRequiredArgument, nullptr, 'r'},
    {"verbose", cli::kOptionalArgument, nullptr, 'v'},
    {"output", cli::kRequiredArgument, nullptr, 1},
    {"help", cli::kNoArgument, nullptr, 'h'},
    {nullptr, 0, nullptr, 0},
};

void optionVector(const uint8_t *data, size_t size)
{
    std::vector<std::string> words = {"cmd"};
    std::string cur;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            words.push_back(cur);
            cur.clear();
        } else {
            cur += static_cast<char>(data[i]);
        }
    }
    words.push_back(cur);
    std::vector<char *> argv;
    for (auto &w : words)
        argv.push_back(&w[0]);
    argv.push_back(nullptr);
    const int argc = static_cast<int>(words.size());
    const uint8_t flags = size > 0 ? data[0] : 0;
    const char *shortopts = (flags & 1) ? "o:i:r:v::\x01:h" : ":o:i:\x01:h";
    cli::optind = 1;
    int calls = 0;
    int c;
    while ((c = (flags & 2) ? cli::getopt_long_only(argc, argv.data(), shortopts, kLongOpts, nullptr)
                              : cli::getopt_long(argc, argv.data(), shortopts, kLongOpts, nullptr)) != -1) {
        /* Every call consumes at least one argument. */
        if (++calls > argc + 1)
            abort();
        if (cli::optarg) {
            char value[33];
            noQuoteStrncpy(value, cli::optarg, 32);
            if (isHex(value))
                (void)atohex(value);
            (void)chooseRaidMode(value);
        }
    }
    if (cli::optind < 1 || cli::optind > argc)
        abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    char dir[] = "/tmp/arrayctl-fuzz-XXXXXX";
    if (mkdtemp(dir)) {
        std::string state = std::string(dir) + "/state.json";
        setenv("ARRAYCORE_SIM_STATE", state.c_str(), 1);
    }
    stream = fopen("/dev/null", "w");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t road = data[0] % 3;
    ++data;
    --size;
    if (road == 0) {
        std::string line(reinterpret_cast<const char *>(data), size);
        line = line.substr(0, strlen(line.c_str()));
        shellExecuteLine(line.c_str());
        gCurrentAdapter = 0;
    } else if (road == 1) {
        optionVector(data, size);
    } else {
        char name[256];
        const size_t n = size < sizeof name - 1 ? size : sizeof name - 1;
        memcpy(name, data, n);
        name[n] = '\0';
        process_filename(name, sizeof name);
    }
    return 0;
}
