// ssdop [-a info|create] [-d none|enable] [-w standard|maximum]: the one
// volume of an SSD adapter, whose SSD modules together make the volume:
// shows its settings, or destroys it and makes a new one.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <unistd.h>

#include <vector>

#include "Functions/handlers.h"
#include "Public/bga.h"
#include "Public/confirm.h"
#include "Public/dispatch.h"
#include "status_text.h"
#include "Public/getopt.h"
#include "Public/globals.h"
#include "Public/ssd_module.h"
#include "kx_api.h"

namespace {

const KX_U16 kLaurelVendor = 0x1C7D, kLaurelDevice = 0x5A2F;
const KX_U8 kNoVolume = 15;      /* "data protection" when there is no VD */
const KX_U16 kStandard = 80;     /* user space of a module, percent */
const KX_U16 kMaximum = 50;
const KX_U8 kVdHasOs = 158, kDiskHasOs = 159;
const int kRestartRounds = 25;
const unsigned kFirstWait = 10, kRoundWait = 5;

struct SsdopOptions {
    bool create = false;
    bool protect = false;
    bool maximum = false;
    int seen[128] = {0};
};

/* What the adapter holds: its SSD modules and its one VD. */
struct Volume {
    std::vector<KX_U16> modules;
    bool hasVd = false;
    KX_U16 vd = 0;
    KX_U8 raid = kNoVolume;
};

OptionTake takeOption(int c, const char *arg, SsdopOptions &o)
{
    switch (c) {
    case 'a':
        if (strcasecmp(arg, "info") == 0 || strcasecmp(arg, "create") == 0) {
            o.create = strcasecmp(arg, "create") == 0;
            return OPT_TAKEN;
        }
        fprintf(stream, "-a : invalid action '%s'\n", arg);
        return OPT_REFUSED;
    case 'd':
        if (strcasecmp(arg, "none") == 0 || strcasecmp(arg, "enable") == 0) {
            o.protect = strcasecmp(arg, "enable") == 0;
            return OPT_TAKEN;
        }
        fprintf(stream, "-d : invalid data protection mode '%s'\n", arg);
        return OPT_REFUSED;
    case 'w':
        if (strcasecmp(arg, "standard") == 0 || strcasecmp(arg, "maximum") == 0) {
            o.maximum = strcasecmp(arg, "maximum") == 0;
            return OPT_TAKEN;
        }
        fprintf(stream, "-w : invalid write performance mode '%s'\n", arg);
        return OPT_REFUSED;
    default:
        return OPT_HELP;
    }
}

/* Every disk must be one of the maker's SSD modules, all with the same
   firmware; -1 when they are, else the handler's result. */
int readModules(Volume &v)
{
    KX_U8 st = listDiskIds(v.modules);
    if (st != 0) {
        fprintf(stream, "Failed to get SSD modules info (status = %d).\n", st);
        return st;
    }
    KX_U8 firstFirmware[8];
    for (size_t i = 0; i < v.modules.size(); ++i) {
        bool korvex = false;
        KX_U8 firmware[8];
        if (ssdIdentify(v.modules[i], &korvex, firmware) != 0 || !korvex) {
            fprintf(stream, "Unknown SSD module (ID %d).\n", v.modules[i]);
            return 1;
        }
        if (i == 0)
            memcpy(firstFirmware, firmware, sizeof firmware);
        else if (memcmp(firstFirmware, firmware, sizeof firmware) != 0) {
            fprintf(stream, "Firmware version are not the same between SSD modules.\n");
            return 1;
        }
    }
    if (v.modules.empty()) {
        fprintf(stream, "No SSD module is found.\n");
        return 1;
    }
    if (v.modules.size() < 3) {
        fprintf(stream, "Invalid number (%d) of SSD modules.\n", (int)v.modules.size());
        return 1;
    }
    return -1;
}

/* The VDs: at most one may exist. */
int readVolume(Volume &v)
{
    unsigned count = 0;
    KX_U8 st = pageThroughList(
        sizeof(LD_Info),
        [](RequestHeader *page) { return KX_LD_GetInfo(gCurrentAdapter, reinterpret_cast<LD_Info_Request *>(page)); },
        [&](const void *rec) {
            LD_Info info;
            memcpy(&info, rec, sizeof info);
            v.hasVd = true;
            v.vd = info.ID;
            v.raid = info.RaidMode;
            ++count;
        });
    if (st != 0) {
        fprintf(stream, "Unable to get current volume info (error %d: %s).\n", st, ErrorMessage(st));
        return st;
    }
    if (count > 1) {
        fprintf(stream, "Unable to handle system that currently has more than one volume.\n");
        return 1;
    }
    return -1;
}

int showInfo(const Volume &v)
{
    int ratio = -1; /* -1: none read yet; 0: unknown */
    for (KX_U16 id : v.modules) {
        /* Two sectors come back after the header, 1040 bytes in all. */
        SsdBuffer buf(SSD_MFG_SECTORS);
        if (!buf.ok())
            return KX_ST_NO_RESOURCE;
        KX_U8 st = ssdDiagnostic(id, SSD_ACT_READ_MFG, KX_SSD_READ, 0, &buf);
        if (st != 0) {
            fprintf(stream, "Unable to read manufacture info on SSD module %d, (error %d: %s).\n", id, st,
                    ErrorMessage(st));
            return st;
        }
        KX_U16 value;
        memcpy(&value, buf.data() + SSD_MFG_RATIO, sizeof value);
        if ((value != kStandard && value != kMaximum) || (ratio > 0 && ratio != value))
            ratio = 0;
        else if (ratio < 0)
            ratio = value;
    }
    const char *perf = ratio == kStandard  ? "Standard (uses 20% of volume capacity)"
                       : ratio == kMaximum ? "Maximum (uses 50% of volume capacity)"
                                           : "Unknown";
    const char *prot = v.raid == 0 ? "None (RAID 0)" : v.raid == 5 ? "Enable (RAID 5)" : "Unknown";
    fprintf(stream, fmt_Str, 20, "Write performance:", perf);
    fprintf(stream, fmt_Str, 20, "Data protection:", prot);
    return 0;
}

/* Both answers; -1 to go on, else the handler's result. */
int confirmDestruction()
{
    fprintf(stream, "WARNING! After creating a new volume, all current data on this SSD adapter will be destroyed.\n");
    switch (askConfirmRepeating("Are you sure you want to create a new volume? (y or n)\n")) {
    case CONFIRM_NO:
        return 0;
    case CONFIRM_EOF:
        return 1;
    case CONFIRM_YES:
        break;
    }
    fprintf(stream, "All data will be lost. Please type in 'CONFIRM' to continue.\n");
    char line[16];
    bool truncated = false;
    const bool answered = readAnswerLine(line, sizeof line, &truncated);
    if (answered && !truncated && strcmp(line, "CONFIRM") == 0)
        return -1;
    fprintf(stream, "Creating new volume is aborted.\n");
    /* End of input is no answer at all: a script sees that nothing was done. */
    return answered ? 0 : 1;
}

unsigned waitSeconds(unsigned usual)
{
    /* Tests set the waits for the modules' restart to 0. */
    const char *v = getenv("ARRAY_SSD_WAIT");
    if (!v || !*v)
        return usual;
    char *end = nullptr;
    unsigned long n = strtoul(v, &end, 10);
    return *end || n > 3600 ? usual : (unsigned)n;
}

/* The modules restart after their new setting; -1 once all are back. */
int awaitRestart(size_t before)
{
    fprintf(stream, "Restarting all SSD modules, please wait ");
    fflush(stream);
    sleep(waitSeconds(kFirstWait));
    for (int round = 1;; ++round) {
        std::vector<KX_U16> now;
        KX_U8 st = listDiskIds(now);
        if (st != 0) {
            fprintf(stream, "\nFailed to get SSD module info after restart (error %d: %s).\n", st,
                    ErrorMessage(st));
            return st;
        }
        fprintf(stream, ".");
        fflush(stream);
        if (now.size() >= before)
            break;
        if (round == kRestartRounds) {
            fprintf(stream, "\nOnly %d SSD modules are restarted, %d missing\n", (int)now.size(),
                    (int)(before - now.size()));
            return 1;
        }
        sleep(waitSeconds(kRoundWait));
    }
    fprintf(stream, " Done!\n");
    return -1;
}

int createVolume(const SsdopOptions &o, const Volume &v)
{
    if (v.hasVd) {
        KX_U16 id = v.vd;
        /* Both codes mean that the host runs from the volume. */
        KX_U8 st = KX_DiskHasOS(gCurrentAdapter, 0, 1, &id);
        if (st == kVdHasOs || st == kDiskHasOs) {
            fprintf(stream, "Current volume has running OS on it.\n");
            return kDiskHasOs;
        }
    }
    std::vector<KX_U16> ids = v.modules;
    KX_U8 st = KX_DiskHasOS(gCurrentAdapter, 1, (KX_U8)ids.size(), ids.data());
    if (st != 0) {
        fprintf(stream, "Cannot create volume because one of the SSD module has running OS on it.\n");
        return st;
    }
    int rc = confirmDestruction();
    if (rc >= 0)
        return rc;

    if (v.hasVd) {
        KX_LD_BGAControl(gCurrentAdapter, v.vd, BGA_ACT_STOP_EVERY);
        st = KX_LD_Delete(gCurrentAdapter, v.vd, 1);
        if (st != 0) {
            /* The modules still carry the volume: changing them now would
               only end in a failed create over a half-changed adapter. */
            fprintf(stream, "Unable to remove the current volume (error %d: %s).\n", st, ErrorMessage(st));
            return st;
        }
    }
    /* A module that did not take the restart request would not restart
       with the new mode: stop rather than build the volume on it. */
    for (KX_U16 id : v.modules) {
        st = KX_PD_SetHDStatus(gCurrentAdapter, id, 1);
        if (st != 0) {
            fprintf(stream, "Unable to restart SSD module %d (error %d: %s).\n", id, st, ErrorMessage(st));
            return st;
        }
    }
    const KX_U16 ratio = o.maximum ? kMaximum : kStandard;
    for (KX_U16 id : v.modules) {
        st = ssdDiagnostic(id, SSD_ACT_SET_RATIO, KX_SSD_NO_DATA, ratio, nullptr);
        if (st != 0) {
            fprintf(stream, "Unable to set write performance mode on SSD module %d, (error %d: %s)\n", id, st,
                    ErrorMessage(st));
            return st;
        }
    }
    rc = awaitRestart(v.modules.size());
    if (rc >= 0)
        return rc;

    Create_LD_Param p;
    memset(&p, 0, sizeof p);
    p.RaidMode = o.protect ? 5 : 0;
    p.HDCount = (KX_U8)v.modules.size();
    p.StripeBlockSize = 64;
    const KX_U16 features = gAdapterInfo[gCurrentAdapter].AdvancedFeatures;
    p.CachePolicy = (KX_U8)(((features >> 14) & 1) | ((features & 0x8000) ? 0 : 4));
    p.InitializationOption = 1;
    for (size_t i = 0; i < v.modules.size() && i < KX_MAX_PD_LIST; ++i)
        p.HDIDs[i] = v.modules[i];
    const char *name = o.protect ? "Redundant" : "HighPerforance";
    memcpy(p.Name, name, strlen(name));
    st = KX_LD_Create(gCurrentAdapter, &p);
    if (st != 0)
        fprintf(stream, "\nFailed to create volume (error %d: %s).\n", st, ErrorMessage(st));
    return st;
}

} // namespace

int doSsdOp(int argc, char **argv, cmd_struct *pCmdInfo)
{
    static const cli::option longopts[] = {
        {"action", cli::kRequiredArgument, nullptr, 'a'},
        {"dataprotection", cli::kRequiredArgument, nullptr, 'd'},
        {"writeperformance", cli::kRequiredArgument, nullptr, 'w'},
        {"output", cli::kRequiredArgument, nullptr, 1},
        {"help", cli::kNoArgument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    SsdopOptions o;
    int rc = runOptionLoop(argc, argv, pCmdInfo, "a:d:w:\x01:h", longopts, false, o.seen,
                           [&](int c, const char *arg) { return takeOption(c, arg, o); });
    if (rc >= 0)
        return rc;
    const Adapter_Info &info = gAdapterInfo[gCurrentAdapter];
    if (info.VenID != kLaurelVendor || info.DevID != kLaurelDevice) {
        fprintf(stream, "This command can not be performed on non-Laurel adapter.\n");
        return 1;
    }
    Volume v;
    rc = readModules(v);
    if (rc >= 0)
        return rc;
    rc = readVolume(v);
    if (rc >= 0)
        return rc;
    if (o.create)
        return createVolume(o, v);
    if (o.seen['d'] || o.seen['w']) {
        fprintf(stream, "Invalid option.\n");
        return 1;
    }
    return showInfo(v);
}
