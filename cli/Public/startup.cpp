#include "Public/startup.h"

#include <errno.h>
#include <fcntl.h>
#include <scsi/sg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <sys/ioctl.h>
#include <unistd.h>
#include <vector>
#include "kx_api.h"
#include "Public/dispatch.h"
#include "Public/globals.h"
#include "Public/utils.h"

namespace {

const char *envOr(const char *name, const char *fallback)
{
    const char *v = getenv(name);
    return v && *v ? v : fallback;
}

unsigned sgWaitSeconds()
{
    const char *v = getenv("ARRAY_SG_WAIT");
    if (!v || !*v || !isNumber(v) || strlen(v) > 6)
        return 5;
    return static_cast<unsigned>(strtoul(v, nullptr, 10));
}

/* The first occurrence of key in line counts unless a '#' stands right
   in front of it or the whole line is a comment. */
bool lineSets(const char *line, const char *key)
{
    const char *p = line;
    while (*p == ' ' || *p == '\t')
        ++p;
    if (*p == '#')
        return false;
    const char *hit = strstr(line, key);
    return hit && (hit == line || hit[-1] != '#');
}

} // namespace

int UTCStatus_Init(const char *path)
{
    FILE *f = fopen(path, "r");
    if (!f)
        return 2;
    char line[1024];
    int status = 2;
    while (status == 2 && fgets(line, sizeof line, f)) {
        if (lineSets(line, "HWCLOCK=\"-u\""))
            status = 0;
        else if (lineSets(line, "HWCLOCK=\"--localtime\""))
            status = 1;
    }
    if (status == 2) {
        rewind(f);
        while (status == 2 && fgets(line, sizeof line, f)) {
            if (lineSets(line, "UTC=true"))
                status = 0;
            else if (lineSets(line, "UTC=false"))
                status = 1;
        }
    }
    fclose(f);
    return status;
}

bool probeSgDriver(const char *device, unsigned waitSeconds)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        /* O_NONBLOCK: a device node that never answers must not stall
           start-up. */
        int fd = open(device, O_RDONLY | O_NONBLOCK);
        if (fd < 0) {
            char message[256];
            snprintf(message, sizeof message, "cli :error opening SG device %s", device);
            fflush(stream);
            perror(message);
        } else {
            int version = 0;
            const bool answered = ioctl(fd, SG_GET_VERSION_NUM, &version) >= 0;
            close(fd);
            if (answered && version >= 30000) {
                fprintf(stream, "SG driver version %d.%d.%d.\n", version / 10000,
                        (version % 10000) / 100, version % 100);
                return true;
            }
            fprintf(stdout, "cli: %s doesn't seem to be an new sg device\n", device);
        }
        fprintf(stream, "Wait for SG driver ready.\n");
        fflush(stream);
        if (waitSeconds)
            sleep(waitSeconds);
    }
    return false;
}

int cliMain(int argc, char **argv)
{
    stream = stdout;
    std::vector<char *> args(argv + 1, argv + (argc > 0 ? argc : 1));

    if (!args.empty() && isNumber(args[0])) {
        /* The adapter table has 16 slots; a larger number would index
           past it in every handler. */
        const char *digits = args[0];
        while (digits[0] == '0' && digits[1])
            ++digits;
        const unsigned long n = strlen(digits) > 2 ? 1000 : strtoul(digits, nullptr, 10);
        if (n >= CLI_MAX_ADAPTERS) {
            fprintf(stderr, "Adapter %s does not exist.\n", args[0]);
            return 1;
        }
        gCurrentAdapter = static_cast<KX_U8>(n);
        args.erase(args.begin());
    }

    /* "-output <file>": the word is rewritten to "-\x01utput" so that every
       handler's parser reads it as option code 1 and ignores it, and the
       file name stays behind as a plain argument. */
    int outputAt = -1;
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        if (strcasecmp(args[i], "-output") != 0)
            continue;
        FILE *f = fopen(args[i + 1], "a");
        if (!f) {
            fprintf(stderr, "Unable to open output file '%s': %s\n", args[i + 1], strerror(errno));
            return 1;
        }
        stream = f;
        args[i][1] = '\x01';
        outputAt = static_cast<int>(i);
        break;
    }
    /* In front of the command word the pair names no option of it. */
    if (outputAt == 0)
        args.erase(args.begin(), args.begin() + 2);

    if (KX_API_Initialize() != 0) {
        fprintf(stream, "KX_API_Initialize() failed!\n");
        if (stream != stdout)
            fclose(stream);
        return 1;
    }

    KX_U8 count = KX_Adapter_GetCount();
    gUTCStatus = UTCStatus_Init(envOr("ARRAY_CLOCK_FILE", "/etc/sysconfig/clock"));
    if (count == 0)
        fprintf(stream, "No adapter is found.\n");
    probeSgDriver(envOr("ARRAY_SG_DEVICE", "/dev/sg0"), sgWaitSeconds());
    if (count > CLI_MAX_ADAPTERS) {
        fprintf(stream, "CLI supports %d adapters!\n", CLI_MAX_ADAPTERS);
        count = CLI_MAX_ADAPTERS;
    }
    gNumAdaptersFound = count;
    for (KX_U8 a = 0; a < count; ++a) {
        KX_U8 filled = 0;
        KX_Adapter_GetInfo(a, &filled, &gAdapterInfo[a]);
    }
    chooseCmdTables(gCurrentAdapter);

    int result = 0;
    if (args.empty()) {
        result = runShell();
    } else {
        args.push_back(nullptr);
        result = cmdDispatcher(static_cast<int>(args.size() - 1), args.data());
    }

    KX_API_Finalize();
    fflush(stdout);
    if (stream != stdout)
        fclose(stream);
    stream = stdout;
    return result & 0xFF;
}
