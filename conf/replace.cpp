// arrayconf replace: the failed disks and what lost them, the disks that
// can take their place (and why the others cannot), the locate LEDs, the
// rebuild started and followed to its end.
#include "record_words.h"
#include "replace.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <time.h>
#include <vector>

#include "audit.h"
#include "question.h"
#include "live.h"
#include "paging.h"
#include "replace_rules.h"
#include "status_text.h"

namespace conf {

namespace {

enum { EXIT_OK = 0, EXIT_ERROR = 1, EXIT_PENDING = 2 };

const char kReplaceUsage[] =
    "usage: arrayconf replace [--adapter N] [--vd ID | --array ID]\n"
    "         [--locate PD | --locate-off [PD] | --onto PD [--as-spare] [--yes] [--wait] | --wait]\n"
    "         [--interval SECONDS]\n";

const char *raidName(unsigned mode)
{
    switch (mode) {
    case 0: return "RAID0";
    case 1: return "RAID1";
    case 5: return "RAID5";
    case 6: return "RAID6";
    case 16: return "RAID10";
    case 17: return "RAID1e";
    case 80: return "RAID50";
    case 96: return "RAID60";
    case 15: return "JBOD";
    case 10: return "tandem capacity";
    case 11: return "tandem safe";
    case 12: return "tandem hybrid";
    default: return "unknown";
    }
}

const char *pdStateWord(unsigned bits)
{
    if (bits & 0x08) return "offline";
    if (bits & 0x04) return "global spare";
    if (bits & 0x40) return "dedicated spare";
    if (bits & 0x80) return "foreign disk";
    if (bits & 0x02) return "assigned";
    if (bits & 0x01) return "free";
    return "unknown";
}

const char *bgaStateWord(unsigned s)
{
    switch (s) {
    case 1: return "running";
    case 2: return "aborted";
    case 3: return "paused";
    case 4: return "auto paused";
    case 5: return "interrupted";
    default: return "none";
    }
}

std::string sizeWords(uint64_t kib)
{
    static const char *const units[] = {"KiB", "MiB", "GiB", "TiB", "PiB"};
    double v = static_cast<double>(kib);
    unsigned u = 0;
    while (v >= 1024 && u < 4) {
        v /= 1024;
        ++u;
    }
    char buf[48];
    if (u == 0)
        std::snprintf(buf, sizeof buf, "%llu KiB", static_cast<unsigned long long>(kib));
    else
        std::snprintf(buf, sizeof buf, "%.1f %s", v, units[u]);
    return buf;
}

std::string errorWords(KX_U8 st)
{
    return std::string(ErrorMessage(st)) + " (error " + std::to_string(st) + ")";
}

struct Disk {
    HD_Info info;
    std::string state;
    uint64_t freeKiB = 0;
    std::vector<std::string> memberOf;
};

struct Activity {
    bool on = false;
    unsigned type = 0, state = 0;
    int percent = -1; /* -1: not known */
};

/* An activity as the pages show it: none unless it runs or waits. */
Activity activity(unsigned type, unsigned state, int percent)
{
    Activity a;
    if (type == 0 || state < 1 || state > 5)
        return a;
    a.on = true;
    a.type = type;
    a.state = state;
    a.percent = percent;
    return a;
}

struct Lost {
    size_t position;
    int pd; /* -1: the disk is gone (pulled) */
};

struct Target {
    bool isArray = false;
    KX_U16 id = 0;
    std::string label;
    unsigned status = 0;
    std::string statusWord;
    Activity act;
    std::vector<int> members;
    std::vector<Lost> failed;
    uint64_t memberKiB = 0;
    bool haveReference = false;
    client::DiskKind reference;
    std::vector<std::string> vds;

    bool rebuilding() const { return act.on && act.type == 1; }
    /* Degraded, not busy, and a member to replace. */
    bool rebuildable() const { return status == 1 && !act.on && !failed.empty(); }
    /* Only what lost a member or is being rebuilt concerns a replacement. */
    bool concerns() const { return !failed.empty() || rebuilding() || status != 0; }
    std::string key() const { return std::string(isArray ? "array:" : "vd:") + std::to_string(id); }
};

struct Survey {
    KX_U8 adapter = 0;
    LiveAdapter live;
    std::map<KX_U16, Disk> pds;
    std::vector<Target> targets; /* every VD and array, in ID order, arrays first */
    std::string failure;         /* a read that failed, as words */

    const Target *find(const std::string &key) const
    {
        for (const Target &t : targets)
            if (t.key() == key)
                return &t;
        return nullptr;
    }
};

template <typename Request, typename Record>
KX_U8 readAll(const LiveAdapter &live, const std::function<KX_U8(Request *)> &call,
              const std::function<void(const Record &)> &each)
{
    KX_U8 st = client::walkList<Request, Record>(live.info.MaxBufferSize, 128, call, [&](const Record &r) {
        each(r);
        return true;
    });
    return st == KX_ST_PD_MISSING ? static_cast<KX_U8>(KX_ST_OK) : st;
}

void markLost(Target &t, const std::map<KX_U16, Disk> &pds)
{
    for (size_t i = 0; i < t.members.size(); ++i) {
        const int m = t.members[i];
        auto p = m < 0 ? pds.end() : pds.find(static_cast<KX_U16>(m));
        if (p == pds.end() || p->second.state == "offline") {
            t.failed.push_back({i, p == pds.end() ? -1 : m});
            if (p != pds.end() && !t.haveReference) {
                t.reference = client::diskKind(p->second.info);
                t.haveReference = true;
            }
        }
    }
    // The lost member's kind, else that of the members still in place.
    for (int m : t.members) {
        auto p = m < 0 ? pds.end() : pds.find(static_cast<KX_U16>(m));
        if (!t.haveReference && p != pds.end()) {
            t.reference = client::diskKind(p->second.info);
            t.haveReference = true;
        }
    }
}

bool survey(KX_U8 n, Survey &s)
{
    s = Survey();
    s.adapter = n;
    ReadFailure failure;
    if (!readAdapter(n, s.live, failure)) {
        s.failure = failure.operation + " failed (error " + std::to_string(failure.status) + ": " +
                    ErrorMessage(failure.status) + ")";
        return false;
    }
    LiveAdapter &live = s.live;
    std::map<KX_U16, uint64_t> freeKiB;
    std::map<KX_U16, LD_Status> vdStatus;
    KX_U8 st = readAll<HD_FreeSpaceInfo_Request, HD_FreeSpaceInfo>(
        live, [&](HD_FreeSpaceInfo_Request *r) { return KX_PD_GetFreeSpaceInfo(n, r); },
        [&](const HD_FreeSpaceInfo &f) { freeKiB[f.ID] = kxU64Value(f.Size); });
    if (st == KX_ST_OK)
        st = readAll<LD_Status_Request, LD_Status>(
            live, [&](LD_Status_Request *r) { return KX_LD_GetStatus(n, r); },
            [&](const LD_Status &v) { vdStatus[v.LDID] = v; });
    if (st == KX_ST_OK && live.arrayBased() && live.blocks.empty())
        st = readAll<Block_Info_Request, Block_Info>(
            live, [&](Block_Info_Request *r) { return KX_BLK_GetInfo(n, r); },
            [&](const Block_Info &b) { live.blocks[b.ID] = b; });
    if (st != KX_ST_OK) {
        s.failure = "a read failed: " + errorWords(st);
        return false;
    }

    for (const auto &d : live.disks) {
        Disk disk;
        disk.info = d.second.info;
        disk.state = d.second.haveStatus ? pdStateWord(d.second.status.Status) : "unknown";
        auto f = freeKiB.find(d.first);
        disk.freeKiB = f != freeKiB.end() ? f->second : kxU64Value(d.second.info.Size);
        s.pds[d.first] = disk;
    }
    auto vdActivity = [&](KX_U16 id) {
        auto v = vdStatus.find(id);
        return v == vdStatus.end() ? Activity() : activity(v->second.Bga, v->second.BgaState, v->second.BgaPercentage);
    };

    for (const auto &g : live.arrays) {
        const DG_Info &dg = g.second;
        Target t;
        t.isArray = true;
        t.id = dg.DGID;
        t.label = "array " + std::to_string(dg.DGID) + " \"" + fieldText(dg.Name, sizeof dg.Name) + "\" (" +
                  raidName(dg.RaidMode) + ")";
        t.status = dg.Status;
        t.statusWord = infoArrayStatus(dg.Status);
        t.act = activity(dg.BgaType, dg.BgaState, -1);
        const unsigned pdCount = dg.PDCount < 128 ? dg.PDCount : 128;
        for (unsigned i = 0; i < pdCount; ++i)
            t.members.push_back(dg.PDIDs[i] == KX_ID_NONE ? -1 : dg.PDIDs[i]);
        t.memberKiB = kxU64Value(dg.SmallestAvailablePDSize);
        const unsigned slots = dg.VDSlotCount < 32 ? dg.VDSlotCount : 32;
        for (unsigned i = 0; i < slots; ++i) {
            const KX_U16 v = dg.VDIDs[i];
            auto ld = live.vds.find(v);
            if (v == KX_ID_NONE || ld == live.vds.end())
                continue;
            t.vds.push_back("VD " + std::to_string(v) + " \"" + fieldText(ld->second.Name, sizeof ld->second.Name) +
                            "\" (" + raidName(ld->second.RaidMode) + ")");
            // The array's record has no percentage: its first VD's with the same activity.
            const Activity va = vdActivity(v);
            if (t.act.on && t.act.percent < 0 && va.on && va.type == t.act.type)
                t.act.percent = va.percent;
        }
        markLost(t, s.pds);
        s.targets.push_back(t);
    }
    for (const auto &v : live.vds) {
        const LD_Info &ld = v.second;
        if (live.arrays.count(ld.DGID))
            continue; // its members are its array's: the array is what is rebuilt
        Target t;
        t.id = ld.ID;
        t.label = "VD " + std::to_string(ld.ID) + " \"" + fieldText(ld.Name, sizeof ld.Name) + "\" (" +
                  raidName(ld.RaidMode) + ")";
        t.status = ld.Status == 15 ? 0 : ld.Status;
        t.statusWord = infoVdStatusWord(ld.Status);
        t.act = vdActivity(ld.ID);
        unsigned count = ld.HDCount < 128 ? ld.HDCount : 128;
        for (unsigned i = 0; i < count; ++i) {
            auto b = live.blocks.find(ld.BlockIDs[i]);
            t.members.push_back(b == live.blocks.end() || ld.BlockIDs[i] == KX_ID_NONE ? -1 : b->second.HDID);
            if (b != live.blocks.end() && kxU64Value(b->second.Size) > t.memberKiB)
                t.memberKiB = kxU64Value(b->second.Size);
        }
        markLost(t, s.pds);
        s.targets.push_back(t);
    }
    for (const Target &t : s.targets) {
        for (int m : t.members) {
            auto p = m < 0 ? s.pds.end() : s.pds.find(static_cast<KX_U16>(m));
            if (p == s.pds.end())
                continue;
            p->second.memberOf.push_back(t.label);
            for (const std::string &vd : t.vds)
                p->second.memberOf.push_back(vd);
        }
    }
    return true;
}

std::string join(const std::vector<std::string> &v, const char *sep)
{
    std::string out;
    for (const std::string &s : v)
        out += (out.empty() ? "" : sep) + s;
    return out;
}

std::string diskLine(KX_U16 id, const Disk &d)
{
    const HD_Info &i = d.info;
    return "PD " + std::to_string(id) + ": " + client::slotText(i) + "; " + fieldText(i.Model, sizeof i.Model) +
           "; serial " + fieldText(i.SerialNo, sizeof i.SerialNo) + "; " + sizeWords(kxU64Value(i.Size)) + " (" +
           client::gbText(kxU64Value(i.Size), false) + ")";
}

bool ledLit(const Disk &d)
{
    return d.info.LocateLEDStatus != 0;
}

std::vector<std::string> whyNot(const Target &t, const Disk &d)
{
    return client::replacementWhyNot(t.memberKiB, t.haveReference ? &t.reference : nullptr, d.freeKiB, d.info);
}

std::string progressWords(const Target &t)
{
    std::string s = bgaStateWord(t.act.state);
    if (t.act.percent >= 0)
        s += ", " + std::to_string(t.act.percent) + "%";
    return s;
}

/* Prints what concerns a replacement on one adapter; true when something
   has failed or is degraded. */
bool list(const Survey &s)
{
    std::vector<KX_U16> failedPds;
    for (const auto &p : s.pds)
        if (p.second.state == "offline")
            failedPds.push_back(p.first);
    size_t missing = 0, concerned = 0;
    for (const Target &t : s.targets)
        if (t.concerns()) {
            ++concerned;
            for (const Lost &l : t.failed)
                missing += l.pd < 0 ? 1 : 0;
        }
    if (failedPds.empty() && concerned == 0)
        return false;
    std::printf("Adapter %u\n", s.adapter);
    std::puts("Failed and offline disks:");
    if (failedPds.empty())
        std::printf("  None listed%s\n",
                    missing ? ("; " + std::to_string(missing) +
                               " member disk(s) are missing (pulled): their slots are empty.").c_str()
                            : ".");
    for (KX_U16 id : failedPds) {
        const Disk &d = s.pds.at(id);
        std::printf("  %s; %s; member of %s; locate LED %s\n", diskLine(id, d).c_str(), d.state.c_str(),
                    d.memberOf.empty() ? "nothing" : join(d.memberOf, ", ").c_str(), ledLit(d) ? "on" : "off");
    }
    for (const Target &t : s.targets) {
        if (!t.concerns())
            continue;
        std::printf("%s: %s%s\n", t.label.c_str(), t.statusWord.c_str(), t.rebuilding() ? ", rebuilding" : "");
        if (!t.vds.empty())
            std::printf("  Its VDs: %s.\n", join(t.vds, ", ").c_str());
        std::vector<std::string> lost;
        for (const Lost &l : t.failed)
            lost.push_back("member " + std::to_string(l.position + 1) +
                           (l.pd < 0 ? ": disk missing (pulled)"
                                     : ": PD " + std::to_string(l.pd) + " (" +
                                           client::slotText(s.pds.at(static_cast<KX_U16>(l.pd)).info) + ")"));
        if (!lost.empty())
            std::printf("  Lost: %s.\n", join(lost, "; ").c_str());
        if (t.rebuilding())
            std::printf("  Rebuild %s\n", progressWords(t).c_str());
        if (!t.rebuildable()) {
            if (!t.rebuilding() && t.status != 1)
                std::puts("  It cannot be rebuilt: more members failed than its RAID level survives.");
            continue;
        }
        std::printf("  A replacement needs at least %s free%s.\n", client::gbText(t.memberKiB, true).c_str(),
                    t.haveReference ? (" and must be, like the member, a " + client::diskKindWords(t.reference)).c_str()
                                    : "");
        bool anyFree = false;
        for (const auto &p : s.pds) {
            if (p.second.state != "free")
                continue;
            if (!anyFree)
                std::puts("  Free disks:");
            anyFree = true;
            const std::vector<std::string> why = whyNot(t, p.second);
            std::printf("    %s; %s; locate LED %s; %s\n", diskLine(p.first, p.second).c_str(),
                        client::diskKindWords(client::diskKind(p.second.info)).c_str(), ledLit(p.second) ? "on" : "off",
                        why.empty() ? "fits" : ("no: " + join(why, "; ")).c_str());
        }
        if (!anyFree)
            std::puts("  No free disk. Insert a new disk, then run this again.");
    }
    return true;
}

/* One change, one unit of work in the audit trail. */
KX_U8 locate(KX_U8 a, KX_U16 pd, bool on)
{
    auditBegin(AuditActor{"arrayconf", "", ""},
               "adapter " + std::to_string(a) + ": replace: locate LED of PD " + std::to_string(pd) + (on ? " on" : " off"));
    const KX_U8 st = KX_LocateArrayDevice(a, 1, pd, on ? 1 : 0);
    auditEnd(st);
    return st;
}

struct Options {
    int adapter = -1;
    std::string targetKey; /* "vd:N" / "array:N", empty: the one there is */
    int locateOn = -1, locateOff = -1, onto = -1;
    bool locateOffAll = false, asSpare = false, yes = false, wait = false;
    unsigned intervalMs = 2000;
};

bool parseId(const char *text, long max, int &out)
{
    char *end = nullptr;
    errno = 0;
    const long v = std::strtol(text, &end, 10);
    if (!*text || *end || errno || v < 0 || v > max)
        return false;
    out = static_cast<int>(v);
    return true;
}

int usage(const std::string &problem)
{
    std::fprintf(stderr, "arrayconf: %s\n%s", problem.c_str(), kReplaceUsage);
    return EXIT_ERROR;
}

void sleepMs(unsigned ms)
{
    struct timespec ts = {static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

/* Follows the rebuild of target until it ends, then switches off the lit
   LEDs of the new disk (newPd, -1 for none) and of the lost members. */
int follow(Survey &s, const std::string &key, int newPd, const Options &o)
{
    const Target *t = s.find(key);
    if (!t)
        return EXIT_ERROR;
    const std::string label = t->label;
    std::vector<int> leds;
    if (newPd >= 0)
        leds.push_back(newPd);
    for (const Lost &l : t->failed)
        if (l.pd >= 0)
            leds.push_back(l.pd);
    std::string last;
    for (;;) {
        if (!survey(s.adapter, s)) {
            std::printf("adapter %u: %s\n", s.adapter, s.failure.c_str());
            return EXIT_ERROR;
        }
        t = s.find(key);
        if (!t || !t->rebuilding())
            break;
        const std::string now = "Rebuilding " + label + (newPd >= 0 ? " onto PD " + std::to_string(newPd) : "") + ": " +
                                progressWords(*t);
        if (now != last) {
            std::puts(now.c_str());
            std::fflush(stdout);
            last = now;
        }
        sleepMs(o.intervalMs);
    }
    // The disks a replacement lights: the new one, the lost ones, and, for
    // a rebuild this run did not start, the target's members now and the
    // failed disks no longer in anything (the ones it replaced).
    if (t)
        for (int m : t->members)
            if (m >= 0 && newPd < 0)
                leds.push_back(m);
    if (newPd < 0)
        for (const auto &p : s.pds)
            if (p.second.state == "offline" && p.second.memberOf.empty())
                leds.push_back(p.first);
    std::vector<std::string> off;
    std::vector<int> done;
    for (int pd : leds) {
        if (std::find(done.begin(), done.end(), pd) != done.end())
            continue;
        done.push_back(pd);
        auto p = s.pds.find(static_cast<KX_U16>(pd));
        if (p != s.pds.end() && ledLit(p->second) && locate(s.adapter, static_cast<KX_U16>(pd), false) == KX_ST_OK)
            off.push_back("PD " + std::to_string(pd));
    }
    const std::string ledsOff = off.empty() ? "." : "; the locate LEDs of " + join(off, ", ") + " are off.";
    const std::string onto = newPd >= 0 ? " onto PD " + std::to_string(newPd) : "";
    if (t && t->status == 0) {
        std::printf("The rebuild of %s%s is complete%s\n", label.c_str(), onto.c_str(), ledsOff.c_str());
        return EXIT_OK;
    }
    std::printf("The rebuild of %s%s has ended, but it is still %s%s\n", label.c_str(), onto.c_str(),
                t ? t->statusWord.c_str() : "gone", ledsOff.c_str());
    return EXIT_ERROR;
}

/* The target the options name, or the one to act on when there is one. */
const Target *chooseTarget(const Survey &s, const Options &o, bool (Target::*wanted)() const, std::string &why)
{
    if (!o.targetKey.empty()) {
        const Target *t = s.find(o.targetKey);
        if (!t)
            why = "There is no " + o.targetKey.substr(0, o.targetKey.find(':')) + " " +
                  o.targetKey.substr(o.targetKey.find(':') + 1) + ".";
        return t;
    }
    const Target *found = nullptr;
    for (const Target &t : s.targets) {
        if (!(t.*wanted)())
            continue;
        if (found) {
            why = "More than one VD or array qualifies: name one with --vd ID or --array ID.";
            return nullptr;
        }
        found = &t;
    }
    if (!found)
        why = "There is nothing to rebuild there (any more).";
    return found;
}

int onto(Survey &s, const Options &o)
{
    std::string why;
    const Target *t = chooseTarget(s, o, &Target::rebuildable, why);
    if (!t) {
        std::puts(why.c_str());
        return EXIT_ERROR;
    }
    if (!t->rebuildable()) {
        std::puts("There is nothing to rebuild there (any more).");
        return EXIT_ERROR;
    }
    const KX_U16 pd = static_cast<KX_U16>(o.onto);
    auto p = s.pds.find(pd);
    std::vector<std::string> reasons =
        p != s.pds.end() && p->second.state == "free" ? whyNot(*t, p->second) : std::vector<std::string>{"not a free disk"};
    if (!reasons.empty()) {
        std::printf("PD %u cannot take the place: %s.\n", pd, join(reasons, "; ").c_str());
        return EXIT_ERROR;
    }
    if (o.asSpare && !t->isArray) {
        std::printf("A spare is dedicated to an array; %s is rebuilt with --onto alone.\n", t->label.c_str());
        return EXIT_ERROR;
    }
    const std::string label = t->label, key = t->key();
    const bool isArray = t->isArray;
    const KX_U16 id = t->id;
    if (!o.yes) {
        const std::string q = (o.asSpare ? "Make PD " + std::to_string(pd) + " a spare of " + label
                                         : "Rebuild " + label + " onto PD " + std::to_string(pd)) +
                              "? (y or n)\n";
        const client::Answer a = client::confirm(stdout, q.c_str());
        if (a == client::Answer::End) {
            std::puts("No answer; nothing was changed.");
            return EXIT_ERROR;
        }
        if (a == client::Answer::No) {
            std::puts("Nothing was changed.");
            return EXIT_PENDING;
        }
    }
    const std::string where = "adapter " + std::to_string(s.adapter) + ": replace: ";
    // The new disk's LED shows where it sits while it is rebuilt.
    const bool litHere = !ledLit(p->second) && locate(s.adapter, pd, true) == KX_ST_OK;
    KX_U8 st;
    if (o.asSpare) {
        auditBegin(AuditActor{"arrayconf", "", ""}, where + "PD " + std::to_string(pd) + " a spare of " + label);
        st = KX_PD_FreeHD2DGSpare(s.adapter, pd, id);
        auditEnd(st);
    } else {
        auditBegin(AuditActor{"arrayconf", "", ""}, where + "rebuild " + label + " onto PD " + std::to_string(pd));
        if (isArray) {
            Rebuild_Param r;
            std::memset(&r, 0, sizeof r);
            r.ID = id;
            r.RebuildType = 0;
            r.PDCount = 1;
            r.PDIDs[0] = pd;
            st = KX_LD_DG_StartRebuild(s.adapter, &r);
        } else {
            st = KX_LD_StartRebuild(s.adapter, id, pd);
        }
        auditEnd(st);
    }
    if (st != KX_ST_OK) {
        std::printf("The controller refused %s: %s\n",
                    (o.asSpare ? "PD " + std::to_string(pd) + " as a spare of " + label
                               : "the rebuild of " + label + " onto PD " + std::to_string(pd))
                        .c_str(),
                    errorWords(st).c_str());
        if (litHere)
            locate(s.adapter, pd, false);
        return EXIT_ERROR;
    }
    if (o.asSpare) {
        std::printf("PD %u is now a spare of %s; the controller rebuilds onto it by itself when its auto rebuild "
                    "is on.\n",
                    pd, label.c_str());
        return EXIT_OK;
    }
    std::printf("Rebuild of %s onto PD %u started.\n", label.c_str(), pd);
    std::fflush(stdout);
    return o.wait ? follow(s, key, pd, o) : EXIT_OK;
}

} // namespace

int runReplace(int argc, char **argv)
{
    Options o;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        int v = 0;
        if (arg == "--adapter" && hasValue) {
            if (!parseId(argv[++i], 254, o.adapter))
                return usage(std::string("invalid adapter number ") + argv[i]);
        } else if ((arg == "--vd" || arg == "--array") && hasValue) {
            if (!parseId(argv[++i], 65534, v))
                return usage("invalid ID " + std::string(argv[i]));
            o.targetKey = arg.substr(2) + ":" + std::to_string(v);
        } else if (arg == "--locate" && hasValue) {
            if (!parseId(argv[++i], 65534, o.locateOn))
                return usage("invalid PD ID " + std::string(argv[i]));
        } else if (arg == "--locate-off") {
            if (hasValue && parseId(argv[i + 1], 65534, o.locateOff))
                ++i;
            else
                o.locateOffAll = true;
        } else if (arg == "--onto" && hasValue) {
            if (!parseId(argv[++i], 65534, o.onto))
                return usage("invalid PD ID " + std::string(argv[i]));
        } else if (arg == "--interval" && hasValue) {
            char *end = nullptr;
            const double s = std::strtod(argv[++i], &end);
            if (!*argv[i] || *end || !(s >= 0.05 && s <= 3600))
                return usage("invalid interval " + std::string(argv[i]) + " (0.05 to 3600 seconds)");
            o.intervalMs = static_cast<unsigned>(s * 1000);
        } else if (arg == "--as-spare") {
            o.asSpare = true;
        } else if (arg == "--yes") {
            o.yes = true;
        } else if (arg == "--wait") {
            o.wait = true;
        } else {
            return usage("unknown or incomplete argument " + arg);
        }
    }
    const int actions = (o.locateOn >= 0) + (o.locateOff >= 0 || o.locateOffAll) + (o.onto >= 0);
    if (actions > 1)
        return usage("one of --locate, --locate-off and --onto at a time");
    if ((o.asSpare || o.yes) && o.onto < 0)
        return usage("--as-spare and --yes go with --onto");
    if (o.wait && (o.asSpare || o.locateOn >= 0 || o.locateOff >= 0 || o.locateOffAll))
        return usage("--wait follows a rebuild: alone or with --onto");

    const KX_U8 st = KX_API_Initialize();
    if (st != KX_ST_OK) {
        std::fprintf(stderr, "arrayconf: the controller library cannot be initialized (error %d: %s)\n", st,
                     ErrorMessage(st));
        return EXIT_ERROR;
    }
    const int count = KX_Adapter_GetCount();
    if (o.adapter >= count || (actions + o.wait > 0 && count == 0)) {
        std::fprintf(stderr, "arrayconf: adapter %d is not found (%d found)\n", o.adapter < 0 ? 0 : o.adapter, count);
        KX_API_Finalize();
        return EXIT_ERROR;
    }
    int rc = EXIT_OK;
    Survey s;
    if (actions + o.wait == 0) {
        bool any = false, readAll = true;
        for (int n = 0; n < count; ++n) {
            if (o.adapter >= 0 && n != o.adapter)
                continue;
            if (!survey(static_cast<KX_U8>(n), s)) {
                std::printf("Adapter %d: not everything could be read: %s\n", n, s.failure.c_str());
                readAll = false;
                continue;
            }
            any = list(s) || any;
        }
        if (!any && readAll)
            std::puts("No disk has failed: every VD and array has all its members.");
        KX_API_Finalize();
        return !readAll ? EXIT_ERROR : any ? EXIT_PENDING : EXIT_OK;
    }
    const KX_U8 a = static_cast<KX_U8>(o.adapter < 0 ? 0 : o.adapter);
    if (!survey(a, s)) {
        std::printf("Adapter %u: not everything could be read: %s\n", a, s.failure.c_str());
        KX_API_Finalize();
        return EXIT_ERROR;
    }
    if (o.locateOn >= 0 || o.locateOff >= 0) {
        const bool on = o.locateOn >= 0;
        const KX_U16 pd = static_cast<KX_U16>(on ? o.locateOn : o.locateOff);
        const KX_U8 r = locate(a, pd, on);
        if (r == KX_ST_OK) {
            std::printf("The locate LED of PD %u is %s\n", pd, on ? "on." : "off.");
        } else {
            std::printf("The controller refused the locate LED of PD %u: %s\n", pd, errorWords(r).c_str());
            rc = EXIT_ERROR;
        }
    } else if (o.locateOffAll) {
        // Every LED a replacement lights: the failed disks' and the free ones'.
        std::vector<std::string> off;
        for (const auto &p : s.pds) {
            if (!ledLit(p.second) || (p.second.state != "offline" && p.second.state != "free"))
                continue;
            const KX_U8 r = locate(a, p.first, false);
            if (r == KX_ST_OK) {
                off.push_back("PD " + std::to_string(p.first));
            } else {
                std::printf("The controller refused the locate LED of PD %u: %s\n", p.first, errorWords(r).c_str());
                rc = EXIT_ERROR;
            }
        }
        if (off.empty() && rc == EXIT_OK)
            std::puts("No locate LED of a failed or free disk is on.");
        else if (!off.empty())
            std::printf("The locate LEDs of %s are off.\n", join(off, ", ").c_str());
    } else if (o.onto >= 0) {
        rc = onto(s, o);
    } else {
        std::string why;
        const Target *t = chooseTarget(s, o, &Target::rebuilding, why);
        if (!t || !t->rebuilding()) {
            std::puts("Nothing is being rebuilt.");
            rc = EXIT_ERROR;
        } else {
            rc = follow(s, t->key(), -1, o);
        }
    }
    KX_API_Finalize();
    return rc;
}

} // namespace conf
