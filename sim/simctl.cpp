// arraysim: the control program of the simulated controller, for demos and
// manual testing. It works on the same state file as the library, under
// the same lock.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "model.h"
#include "operations.h"

using namespace sim;

namespace {

const char kUsage[] =
    "usage: arraysim [-f state-file] [-a adapter] <command> [arguments]\n"
    "\n"
    "commands:\n"
    "  show                      summary of the controller state\n"
    "  dump                      the state document (JSON)\n"
    "  load <fixture>            replace the state with a fixture\n"
    "  reset                     replace the state with the default controller\n"
    "  pull <pd>                 pull a disk out\n"
    "  insert <pd>               put a pulled or failed disk back\n"
    "  fail <pd>                 make a disk fail (offline)\n"
    "  event <class> <code> [<device> [<severity> [<p0> [<p1> [<p2> [<p3>]]]]]]\n"
    "                            queue an event\n"
    "  fault <operation> <status> [<n> [onward]]\n"
    "                            make every call of an operation return status, or\n"
    "                            only its n-th call from now (onward: and every later one)\n"
    "  fault any <status> <n> [onward]\n"
    "                            the same for the n-th call of any operation\n"
    "  clear-fault <operation>|any  remove a fault\n"
    "\n"
    "The state file is ARRAYCORE_SIM_STATE, default /var/lib/arraycore-sim/state.json.\n";

bool number(const char *text, unsigned long max, unsigned long &out)
{
    if (!text || !*text)
        return false;
    char *end = nullptr;
    unsigned long v = std::strtoul(text, &end, 0);
    if (*end || v > max || text[0] == '-')
        return false;
    out = v;
    return true;
}

int usageError(const char *what)
{
    std::fprintf(stderr, "arraysim: %s\n%s", what, kUsage);
    return 2;
}

std::string faultText(const std::string &op, const Fault &f)
{
    std::string t = (op == kAnyOperation ? std::string("any operation") : op) + " returns " + std::to_string(f.status);
    if (f.counted())
        t += " on call " + std::to_string(f.call) + (f.onward ? " and later" : "") + " (" + std::to_string(f.made) +
             " made)";
    return t;
}

const char *pdState(const PD &pd)
{
    return pd.state == PD::OFFLINE ? "offline" : pd.state == PD::MISSING ? "missing" : "online";
}

void show(const State &s)
{
    std::printf("state: %s\n", statePath().c_str());
    for (const Adapter &a : s.adapters) {
        std::printf("adapter %u: %.20s, serial %.20s, %s\n", a.number,
                    reinterpret_cast<const char *>(a.info.ModelNumber),
                    reinterpret_cast<const char *>(a.info.SerialNo),
                    a.arrayBased() ? "array based" : "without arrays");
        for (const auto &p : a.pds) {
            const PD &pd = p.second;
            std::printf("  PD %u: %s, %llu KiB, %s%s", pd.id, pdState(pd),
                        static_cast<unsigned long long>(pd.sizeKiB), pd.model.c_str(), pd.ssd ? " (SSD)" : "");
            uint8_t bits = a.pdStatusBits(pd);
            if (bits & KX_PD_GLOBAL_SPARE)
                std::printf(", global spare");
            else if (bits & KX_PD_DEDICATED_SPARE)
                std::printf(", spare of array %d", pd.spare);
            else if (bits & KX_PD_ASSIGNED)
                std::printf(", assigned");
            else if (bits & KX_PD_FREE)
                std::printf(", free");
            if (pd.bga.active())
                std::printf(", activity %u state %u", pd.bga.type, pd.bga.state);
            std::printf("\n");
        }
        for (const auto &v : a.vds) {
            const VD &vd = v.second;
            std::printf("  VD %u \"%s\": RAID code %u, %llu KiB, status %u, blocks", vd.id, vd.name.c_str(),
                        vd.layout.raid, static_cast<unsigned long long>(a.vdSizeKiB(vd.layout)), a.vdStatus(vd));
            for (uint16_t b : vd.layout.blocks)
                std::printf(" %u", b);
            if (vd.array != kNone16)
                std::printf(", array %u", vd.array);
            if (vd.bga.active())
                std::printf(", activity %u state %u at %.0f%%", vd.bga.type, vd.bga.state,
                            a.bgaPercent(vd.bga, a.rateFor(vd.bga.type, false), nowMs()));
            std::printf("\n");
        }
        for (const auto &g : a.arrays) {
            std::printf("  array %u \"%s\": RAID code %u, PDs", g.first, g.second.name.c_str(), g.second.raid);
            for (uint16_t p : g.second.pds)
                std::printf(" %u", p);
            std::printf("\n");
        }
        std::printf("  blocks: %zu, expanders: %zu, port multipliers: %zu, enclosures: %zu, battery: %s\n",
                    a.blocks.size(), a.expanders.size(), a.pms.size(), a.enclosures.size(),
                    a.hasBbu ? "yes" : "no");
        std::printf("  events: %zu queued, next sequence number %u\n", a.events.size(), a.nextSeq);
        if (a.faults.empty())
            std::printf("  faults: none\n");
        for (const auto &f : a.faults)
            std::printf("  fault: %s\n", faultText(f.first, f.second).c_str());
    }
    for (const auto &f : s.faults)
        std::printf("fault: %s\n", faultText(f.first, f.second).c_str());
}

// Changes one disk's presence, with the events a controller raises.
int changeDisk(Adapter &a, uint16_t id, PD::State to, Session &s)
{
    PD *pd = a.findPD(id);
    if (!pd) {
        std::fprintf(stderr, "arraysim: adapter %u has no PD %u\n", a.number, id);
        return 1;
    }
    if (pd->state == to) {
        std::printf("PD %u is already %s\n", id, pdState(*pd));
        return 0;
    }
    auto before = a.vdStatuses();
    const uint8_t from = pd->state;
    pd->state = to;
    if (to == PD::MISSING)
        a.queueEvent(EVC_PD, 0, id, SEV_WARNING);  // plugged out
    else if (to == PD::OFFLINE)
        a.queueEvent(EVC_PD, 2, id, SEV_MAJOR);  // set down
    else if (from == PD::MISSING)
        a.queueEvent(EVC_PD, 1, id, SEV_INFO);  // plugged in
    else
        a.queueEvent(EVC_PD, 54, id, SEV_INFO);  // usable again
    a.queueVdStatusChanges(before);
    if (to != PD::ONLINE)
        startAutoRebuilds(a, memberOf(a, id), s.now());
    s.changed();
    std::printf("PD %u is %s\n", id, pdState(*pd));
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    int i = 1;
    unsigned long adapter = 0;
    while (i < argc && argv[i][0] == '-') {
        std::string opt = argv[i];
        if ((opt == "-f" || opt == "-a") && i + 1 < argc) {
            if (opt == "-f")
                setenv("ARRAYCORE_SIM_STATE", argv[i + 1], 1);
            else if (!number(argv[i + 1], 255, adapter))
                return usageError("-a needs an adapter number");
            i += 2;
        } else if (opt == "-h" || opt == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        } else {
            return usageError(("unknown option " + opt).c_str());
        }
    }
    if (i >= argc)
        return usageError("no command");
    std::string cmd = argv[i++];
    std::vector<const char *> args(argv + i, argv + argc);
    std::string error;

    if (cmd == "load" || cmd == "reset") {
        State st;
        if (cmd == "load") {
            if (args.size() != 1)
                return usageError("load needs one fixture file");
            if (!loadStateFile(args[0], st, error)) {
                std::fprintf(stderr, "arraysim: %s: %s\n", args[0], error.c_str());
                return 1;
            }
        } else {
            if (!args.empty())
                return usageError("reset takes no arguments");
            st = defaultState(nowMs());
        }
        if (!replaceState(st, error)) {
            std::fprintf(stderr, "arraysim: %s: %s\n", statePath().c_str(), error.c_str());
            return 1;
        }
        std::printf("%s: %s\n", statePath().c_str(), cmd == "load" ? "fixture loaded" : "default controller");
        return 0;
    }

    bool needsAdapter = cmd != "show" && cmd != "dump";
    Session s("arraysim", needsAdapter ? static_cast<int>(adapter) : -1);
    if (s.status() == KX_ST_BAD_ADAPTER) {
        std::fprintf(stderr, "arraysim: no adapter %lu\n", adapter);
        return 1;
    }
    if (s.status() != KX_ST_OK)
        return 1;  // the library has said why on standard error

    if (cmd == "show" && args.empty()) {
        show(s.state());
        return s.finish(KX_ST_OK);
    }
    if (cmd == "dump" && args.empty()) {
        std::printf("%s\n", stateToJson(s.state()).dump(1, ' ', false, json::error_handler_t::replace).c_str());
        return s.finish(KX_ST_OK);
    }
    if (!needsAdapter)
        return usageError((cmd + " takes no arguments").c_str());
    Adapter &a = s.adapter();
    unsigned long v = 0;
    if (cmd == "pull" || cmd == "insert" || cmd == "fail") {
        if (args.size() != 1 || !number(args[0], 0xFFFE, v))
            return usageError((cmd + " needs a PD id").c_str());
        PD::State to = cmd == "pull" ? PD::MISSING : cmd == "fail" ? PD::OFFLINE : PD::ONLINE;
        int rc = changeDisk(a, static_cast<uint16_t>(v), to, s);
        return s.finish(KX_ST_OK) == KX_ST_OK ? rc : 1;
    }
    if (cmd == "event") {
        if (args.size() < 2 || args.size() > 8)
            return usageError("event needs a class and a code");
        unsigned long f[8] = {0, 0, 0, SEV_INFO, 0, 0, 0, 0};
        const unsigned long max[8] = {0xFFFF, 0xFFFF, 0xFFFF, 7, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
        for (size_t k = 0; k < args.size(); ++k)
            if (!number(args[k], max[k], f[k]))
                return usageError("event: bad number");
        Event &e = a.queueEvent(static_cast<uint16_t>(f[0]), static_cast<uint16_t>(f[1]), static_cast<uint16_t>(f[2]),
                                static_cast<uint8_t>(f[3]), static_cast<uint32_t>(f[4]), static_cast<uint32_t>(f[5]),
                                static_cast<uint32_t>(f[6]), static_cast<uint32_t>(f[7]));
        std::printf("event %u queued\n", e.SequenceNo);
        s.changed();
        return s.finish(KX_ST_OK) == KX_ST_OK ? 0 : 1;
    }
    if (cmd == "fault" || cmd == "clear-fault") {
        const bool any = !args.empty() && (std::strcmp(args[0], "any") == 0 || std::strcmp(args[0], kAnyOperation) == 0);
        if (args.empty() || (!any && !isOperationName(args[0])))
            return usageError("name an operation of the library, such as KX_PD_GetHDInfo_Ext, or any");
        const std::string key = any ? kAnyOperation : args[0];
        if (cmd == "fault") {
            Fault f;
            if (args.size() < 2 || args.size() > 4 || !number(args[1], 255, v))
                return usageError("fault needs an operation and a status from 0 to 255");
            f.status = static_cast<uint8_t>(v);
            if (args.size() >= 3) {
                if (!number(args[2], 0xFFFFFFFF, v) || v == 0)
                    return usageError("the call to fail is counted from 1");
                f.call = static_cast<uint32_t>(v);
            } else if (any) {
                return usageError("fault any needs the call to fail");
            }
            if (args.size() == 4) {
                if (std::strcmp(args[3], "onward") != 0)
                    return usageError("after the call only \"onward\" may follow");
                f.onward = true;
            }
            a.faults[key] = f;
        } else {
            if (args.size() != 1)
                return usageError("clear-fault needs an operation");
            a.faults.erase(key);
        }
        s.changed();
        return s.finish(KX_ST_OK) == KX_ST_OK ? 0 : 1;
    }
    return usageError(("unknown command " + cmd).c_str());
}
