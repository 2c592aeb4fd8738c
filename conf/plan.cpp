#include "plan.h"

#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <set>

#include "layout_rules.h"
#include "status_text.h"

namespace conf {

std::string fmt(const char *f, ...)
{
    char buf[512];
    va_list ap;
    va_start(ap, f);
    vsnprintf(buf, sizeof buf, f, ap);
    va_end(ap);
    return buf;
}

namespace {

const char *onOff(bool b)
{
    return b ? "on" : "off";
}

std::string kibText(uint64_t kib)
{
    return kib % 1024 == 0 ? fmt("%llu MB", static_cast<unsigned long long>(kib / 1024))
                           : fmt("%llu KiB", static_cast<unsigned long long>(kib));
}

std::string sizeText(const Size &s)
{
    return s.all ? std::string("all space") : kibText(s.kib);
}

template <typename T>
std::string idList(const std::vector<T> &ids)
{
    std::string s;
    for (T id : ids) {
        if (!s.empty())
            s += ",";
        s += id < 0 ? std::string("missing") : std::to_string(id);
    }
    return s;
}

/* The parity count a RAID6 / RAID60 layout gets when none is named. */
int effectiveParity(unsigned raid, int parity)
{
    if (raid == KX_RAID6)
        return parity < 0 ? 2 : parity;
    if (raid == KX_RAID60)
        return parity < 0 ? 4 : parity;
    return 0;
}

bool isParityLevel(unsigned raid)
{
    return raid == KX_RAID6 || raid == KX_RAID60;
}

bool sizeMatches(const Size &want, uint64_t have)
{
    return want.all || want.kib == have;
}

bool bit(KX_U32 v, int n)
{
    return (v >> n) & 1u;
}

KX_U8 cacheModeOf(const LiveAdapter &L, KX_U16 id)
{
    auto c = L.vdConfigs.find(id);
    if (c != L.vdConfigs.end())
        return c->second.CacheMode;
    auto v = L.vds.find(id);
    return v == L.vds.end() ? 0 : v->second.CacheMode;
}

class Planner {
public:
    Planner(Plan &plan, size_t ai) : m_plan(plan), m_ai(ai), m_pa(plan.adapters[ai]), m_doc(*m_pa.doc), m_live(m_pa.live)
    {
    }

    void run()
    {
        if (!checkAdapter())
            return;
        checkDisks();
        matchArrays();
        matchVds();
        matchSpares();
        deletions();
        queryPartitionTables();
        createArrays();
        createVds();
        assignSpares();
        settings();
    }

private:
    Plan &m_plan;
    size_t m_ai;
    PlanAdapter &m_pa;
    const AdapterDoc &m_doc;
    const LiveAdapter &m_live;

    std::vector<int> m_arrayKept;   /* doc array index -> live ID, or -1 */
    std::vector<int> m_vdKept;      /* doc VD index -> live ID, or -1 */
    std::vector<bool> m_spareKept;  /* doc spare index */
    std::set<KX_U16> m_keptLiveArrays, m_keptLiveVds;
    std::vector<KX_U16> m_releases; /* live spares to free */
    std::set<unsigned> m_spares;    /* disks that are spares once the releases ran */
    std::set<unsigned> m_busy;      /* disks used by what stays */
    std::set<unsigned> m_partitioned;

    void refuse(const std::string &line) { m_plan.refusals.push_back(line); }

    Step &add(StepKind kind, const std::string &text)
    {
        Step s;
        s.kind = kind;
        s.adapter = m_ai;
        s.text = fmt("adapter %u: ", m_doc.number) + text;
        m_plan.steps.push_back(s);
        return m_plan.steps.back();
    }

    const Adapter_Info &caps() const { return m_live.info; }

    bool checkAdapter()
    {
        const std::string serial = fieldText(m_live.info.SerialNo, sizeof m_live.info.SerialNo);
        if (m_doc.serial && *m_doc.serial != serial) {
            refuse(fmt("Adapter %u has serial number %s, not %s as the document says.\n", m_doc.number,
                       serial.c_str(), m_doc.serial->c_str()));
            return false;
        }
        if (!m_doc.arrays.empty() && !m_live.arrayBased()) {
            refuse("-o : array is not supported on this adapter\n");
            return false;
        }
        for (const Vd &v : m_doc.vds)
            if (v.array.empty() && m_live.arrayBased()) {
                refuse("-r, -d and -q option are not allowed in creating VD\n");
                return false;
            }
        return true;
    }

    void checkDisks()
    {
        for (const Disk &d : m_doc.disks) {
            auto it = m_live.disks.find(static_cast<KX_U16>(d.id));
            if (it == m_live.disks.end()) {
                refuse(fmt("Unable to get info of PD %u (error %d : %s)\n", d.id, KX_ST_BAD_PD,
                           ErrorMessage(KX_ST_BAD_PD)));
                continue;
            }
            const std::string serial = m_live.diskSerial(static_cast<KX_U16>(d.id));
            if (d.serial && *d.serial != serial)
                refuse(fmt("PD %u has serial number %s, not %s as the document says.\n", d.id, serial.c_str(),
                           d.serial->c_str()));
            else if (m_live.diskSize(static_cast<KX_U16>(d.id)) < d.size)
                refuse(fmt("PD %u holds %llu KiB, less than the %llu KiB the document says.\n", d.id,
                           static_cast<unsigned long long>(m_live.diskSize(static_cast<KX_U16>(d.id))),
                           static_cast<unsigned long long>(d.size)));
        }
    }

    bool sameArray(const Array &a, const DG_Info &g) const
    {
        std::vector<unsigned> disks;
        for (unsigned i = 0; i < g.PDCount && i < 128; ++i)
            disks.push_back(g.PDIDs[i]);
        return a.raid == g.RaidMode && effectiveParity(a.raid, a.parity) == effectiveParity(g.RaidMode, g.NumParityDisk) &&
               a.stripe == g.StripeBlockSize && a.disks == disks && sizeMatches(a.size, kxU64Value(g.TotalManagedSpace));
    }

    void matchArrays()
    {
        m_arrayKept.assign(m_doc.arrays.size(), -1);
        for (const auto &x : m_live.arrays) {
            const std::string name = fieldText(x.second.Name, sizeof x.second.Name);
            for (size_t i = 0; i < m_doc.arrays.size(); ++i)
                if (m_arrayKept[i] < 0 && m_doc.arrays[i].name == name && sameArray(m_doc.arrays[i], x.second)) {
                    m_arrayKept[i] = x.first;
                    m_keptLiveArrays.insert(x.first);
                    m_pa.arrayIds[name] = x.first;
                    for (unsigned d : m_doc.arrays[i].disks)
                        m_busy.insert(d);
                }
        }
    }

    bool sameVd(const Vd &v, const LD_Info &ld) const
    {
        if (v.stripe != ld.StripeBlockSize || !sizeMatches(v.size, kxU64Value(ld.Size)))
            return false;
        if (!v.array.empty()) {
            auto id = m_pa.arrayIds.find(v.array);
            return id != m_pa.arrayIds.end() && id->second == ld.DGID;
        }
        return ld.DGID == KX_ID_NONE && v.raid == ld.RaidMode &&
               effectiveParity(v.raid, v.parity) == effectiveParity(ld.RaidMode, ld.NumParityDisk) &&
               v.disks == m_live.vdDisks(ld);
    }

    void matchVds()
    {
        m_vdKept.assign(m_doc.vds.size(), -1);
        for (const auto &x : m_live.vds) {
            const std::string name = fieldText(x.second.Name, sizeof x.second.Name);
            for (size_t i = 0; i < m_doc.vds.size(); ++i)
                if (m_vdKept[i] < 0 && m_doc.vds[i].name == name && sameVd(m_doc.vds[i], x.second)) {
                    m_vdKept[i] = x.first;
                    m_keptLiveVds.insert(x.first);
                    for (int d : m_doc.vds[i].disks)
                        if (d >= 0)
                            m_busy.insert(static_cast<unsigned>(d));
                }
        }
    }

    void matchSpares()
    {
        m_spareKept.assign(m_doc.spares.size(), false);
        for (const auto &x : m_live.disks) {
            if (!x.second.haveStatus)
                continue;
            const KX_U8 st = x.second.status.Status;
            if (!(st & (KX_PD_GLOBAL_SPARE | KX_PD_DEDICATED_SPARE)))
                continue;
            bool keep = false;
            for (size_t i = 0; i < m_doc.spares.size(); ++i) {
                const Spare &s = m_doc.spares[i];
                if (s.disk != x.first)
                    continue;
                if (s.array.empty()) {
                    keep = (st & KX_PD_GLOBAL_SPARE) != 0;
                } else {
                    auto id = m_pa.arrayIds.find(s.array);
                    keep = (st & KX_PD_DEDICATED_SPARE) && id != m_pa.arrayIds.end() &&
                           id->second == x.second.status.DGID;
                }
                m_spareKept[i] = keep;
            }
            if (keep) {
                m_spares.insert(x.first);
            } else if (st & KX_PD_ASSIGNED) {
                /* A spare that stands in for a failed member cannot be
                   given back; the controller refuses it. */
                refuse(fmt("Unable to delete spare disk %u  (error %d: %s)\n", x.first, KX_ST_SPARE_IN_USE,
                           ErrorMessage(KX_ST_SPARE_IN_USE)));
                m_spares.insert(x.first);
            } else {
                m_releases.push_back(x.first);
            }
        }
    }

    void deletions()
    {
        for (KX_U16 id : m_releases) {
            const HD_RAID_Status &rs = m_live.disks.at(id).status;
            std::string role = "global";
            if (rs.Status & KX_PD_DEDICATED_SPARE) {
                auto g = m_live.arrays.find(rs.DGID);
                role = g == m_live.arrays.end() ? fmt("of array %u", rs.DGID)
                                                : "of array \"" + fieldText(g->second.Name, sizeof g->second.Name) + "\"";
            }
            add(StepKind::ReleaseSpare, fmt("release spare PD %u (%s)", id, role.c_str())).id = id;
        }
        for (const auto &x : m_live.vds) {
            if (m_keptLiveVds.count(x.first))
                continue;
            const LD_Info &ld = x.second;
            const std::string name = fieldText(ld.Name, sizeof ld.Name);
            KX_U16 id = x.first;
            if (KX_DiskHasOS(m_live.number, 0, 1, &id) == KX_ST_VD_HAS_OS)
                refuse(fmt("Failed to delete VD %u (error %d: %s).\n", x.first, KX_ST_VD_HAS_OS,
                           ErrorMessage(KX_ST_VD_HAS_OS)));
            std::string where;
            auto g = m_live.arrays.find(ld.DGID);
            if (ld.DGID != KX_ID_NONE && g != m_live.arrays.end())
                where = " in array \"" + fieldText(g->second.Name, sizeof g->second.Name) + "\"";
            Step &s = add(StepKind::DeleteVd, fmt("delete VD \"%s\"%s (ID %u, %s, %s)", name.c_str(), where.c_str(),
                                                  x.first, kxRaidName(ld.RaidMode),
                                                  kibText(kxU64Value(ld.Size)).c_str()));
            s.id = x.first;
            s.destructive = true;
            s.destroys = fmt("the data of VD \"%s\" (%s)", name.c_str(), kibText(kxU64Value(ld.Size)).c_str());
        }
        for (const auto &x : m_live.arrays) {
            if (m_keptLiveArrays.count(x.first))
                continue;
            add(StepKind::DeleteArray,
                fmt("delete array \"%s\" (ID %u)", fieldText(x.second.Name, sizeof x.second.Name).c_str(), x.first))
                .id = x.first;
        }
    }

    /* Disks that get a new role and carry a partition table: their data
       is lost, which makes the step destructive. */
    void queryPartitionTables()
    {
        std::vector<KX_U16> ids;
        auto want = [&](int d) {
            if (d >= 0 && m_live.disks.count(static_cast<KX_U16>(d)))
                ids.push_back(static_cast<KX_U16>(d));
        };
        for (size_t i = 0; i < m_doc.arrays.size(); ++i)
            if (m_arrayKept[i] < 0)
                for (unsigned d : m_doc.arrays[i].disks)
                    want(static_cast<int>(d));
        for (size_t i = 0; i < m_doc.vds.size(); ++i)
            if (m_vdKept[i] < 0)
                for (int d : m_doc.vds[i].disks)
                    want(d);
        for (size_t i = 0; i < m_doc.spares.size(); ++i)
            if (!m_spareKept[i])
                want(static_cast<int>(m_doc.spares[i].disk));
        for (size_t at = 0; at < ids.size(); at += KX_MAX_PD_LIST) {
            HD_MBR_Info mbr;
            std::memset(&mbr, 0, sizeof mbr);
            const size_t n = std::min<size_t>(KX_MAX_PD_LIST, ids.size() - at);
            mbr.HDCount = static_cast<KX_U8>(n);
            std::memcpy(mbr.HDIDs, &ids[at], n * sizeof(KX_U16));
            KX_U8 st = KX_PD_GetMBRInfo(m_live.number, &mbr);
            if (st != KX_ST_OK) {
                refuse(fmt("\nFailed to create virtual disk (error %d: %s).\n", st, ErrorMessage(st)));
                return;
            }
            for (size_t i = 0; i < n; ++i)
                if (mbr.hasMBR[i])
                    m_partitioned.insert(ids[at + i]);
        }
    }

    void markPartitioned(Step &s, const std::vector<int> &disks)
    {
        std::string lost;
        for (int d : disks)
            if (d >= 0 && m_partitioned.count(static_cast<unsigned>(d)))
                lost += (lost.empty() ? "" : ",") + std::to_string(d);
        if (lost.empty())
            return;
        s.destructive = true;
        s.destroys = "the file system on PD " + lost;
    }

    bool nameOk(const std::string &name, size_t max)
    {
        if (name.size() > max) {
            refuse(fmt("-n : length of name should be no more than %zu characters\n", max));
            return false;
        }
        for (unsigned char c : name)
            if (!(c == ' ' || c == '_' || std::isalnum(c))) {
                refuse(fmt("-n, name must be numeric, character, space or underline. Now is %s\n", name.c_str()));
                return false;
            }
        return true;
    }

    bool stripeOk(unsigned stripe, bool v2)
    {
        KX_U16 mask = caps().StripeSizeSupported ? caps().StripeSizeSupported
                                                 : client::defaultStripeMask(caps().AdvancedFeatures);
        if (client::stripeAllowed(mask, stripe))
            return true;
        refuse(fmt(v2 ? "-b : invalid stripe block size '%u'. Please refer to info -o hba command to get detail "
                        "stripe size support information.\n"
                      : "-b : invalid stripe block size '%u'.Please refer to info -o hba command to get detail "
                        "stripe size support information.\n",
                   stripe));
        return false;
    }

    bool levelOk(unsigned raid, int parity)
    {
        if (!kxRaidOffered(caps().LogicalDriverMode, raid)) {
            refuse("Specified RAID mode is not supported.\n");
            return false;
        }
        if (parity >= 0 && !isParityLevel(raid)) {
            refuse(fmt("RAID mode %s don't support the setting of parity disks.\n", kxRaidName(raid)));
            return false;
        }
        return true;
    }

    /* A disk for a new array (array true) or VD: what arrayctl's create
       checks, against the state the earlier steps leave. */
    bool diskOk(unsigned id, bool array, KX_U32 &blockSize, bool first)
    {
        const char *what = array ? "array" : "VD";
        if (id > caps().MaxHD) {
            refuse(fmt("Wrong disk %u input.\n", id));
            return false;
        }
        auto it = m_live.disks.find(static_cast<KX_U16>(id));
        if (it == m_live.disks.end())
            return false; /* refused with the disk list */
        const KX_U8 st = it->second.status.Status;
        if (array) {
            if (first)
                blockSize = it->second.info.BlockSize;
            else if (it->second.info.BlockSize != blockSize) {
                refuse(fmt("All PDs should have the same sector size, PD %u has sector size %d\n", id,
                           static_cast<int>(it->second.info.BlockSize)));
                return false;
            }
        }
        if (st & KX_PD_OFFLINE) {
            refuse(array ? fmt("Offline disk %u can not be used to create arrray.\n", id)
                         : fmt("Offline disk %u can not be used to create VD.\n", id));
            return false;
        }
        if (m_spares.count(id)) {
            refuse(fmt("Spare disk %u can not be used to create %s.\n", id, what));
            return false;
        }
        if (st & KX_PD_FOREIGN) {
            refuse(fmt("Foreign disk %u can not be used to create %s.\n", id, what));
            return false;
        }
        if (array && m_busy.count(id)) {
            refuse(fmt("\nFailed to create array (error %d: %s).\n", KX_ST_PD_ASSIGNED, ErrorMessage(KX_ST_PD_ASSIGNED)));
            return false;
        }
        return true;
    }

    bool cacheOk(const Vd &v)
    {
        const KX_U32 adv = caps().AdvancedFeatures;
        if (v.writePolicy && *v.writePolicy != WritePolicy::WriteThrough && bit(adv, 14)) {
            refuse(fmt("VD cache is not supported on adapter %u.\n", m_doc.number));
            return false;
        }
        if (v.readAhead && *v.readAhead && bit(adv, 15)) {
            refuse(fmt("VD read cache is not supported on adapter %u.\n", m_doc.number));
            return false;
        }
        if (v.writePolicy && *v.writePolicy == WritePolicy::Auto && !bit(adv, 3)) {
            refuse("'auto' cache mode is not supported\n");
            return false;
        }
        return true;
    }

    std::string cacheText(const Vd &v)
    {
        std::string s;
        if (v.writePolicy)
            s += std::string(", ") + writePolicyWord(*v.writePolicy);
        if (v.readAhead)
            s += *v.readAhead ? ", read-ahead" : ", no read-ahead";
        return s;
    }

    void createArrays()
    {
        for (size_t i = 0; i < m_doc.arrays.size(); ++i) {
            if (m_arrayKept[i] >= 0)
                continue;
            const Array &a = m_doc.arrays[i];
            bool ok = nameOk(a.name, 16) && levelOk(a.raid, a.parity);
            int parity = a.parity;
            std::string message;
            if (ok && !client::checkDiskCount(client::LayoutRules::CreateArray, a.raid, static_cast<int>(a.disks.size()),
                                              parity, caps().MaxParityDisks, message)) {
                refuse(message);
                ok = false;
            }
            ok = ok && stripeOk(a.stripe, true);
            KX_U32 blockSize = 0;
            for (size_t k = 0; ok && k < a.disks.size(); ++k)
                ok = diskOk(a.disks[k], true, blockSize, k == 0);
            for (unsigned d : a.disks)
                m_busy.insert(d);
            std::string text = fmt("create array \"%s\": %s of PD %s", a.name.c_str(), kxRaidName(a.raid),
                                   idList(a.disks).c_str());
            if (isParityLevel(a.raid))
                text += fmt(", %d parity disks", effectiveParity(a.raid, a.parity));
            text += fmt(", stripe %u KB, %s", a.stripe, sizeText(a.size).c_str());
            if (a.writeCache)
                text += fmt(", write cache %s", onOff(*a.writeCache));
            Step &s = add(StepKind::CreateArray, text);
            s.index = static_cast<int>(i);
            markPartitioned(s, std::vector<int>(a.disks.begin(), a.disks.end()));
        }
    }

    void createVds()
    {
        for (size_t i = 0; i < m_doc.vds.size(); ++i) {
            if (m_vdKept[i] >= 0)
                continue;
            const Vd &v = m_doc.vds[i];
            std::string text;
            if (!v.array.empty()) {
                bool ok = nameOk(v.name, 16) && stripeOk(v.stripe, true);
                if (ok && !v.size.all && v.size.kib < 100 * 1024) {
                    refuse("VD size should be at least 100 MB.\n");
                    ok = false;
                }
                if (ok)
                    cacheOk(v);
                text = fmt("create VD \"%s\" in array \"%s\": %s, stripe %u KB", v.name.c_str(), v.array.c_str(),
                           sizeText(v.size).c_str(), v.stripe);
            } else {
                bool ok = nameOk(v.name, 10) && levelOk(v.raid, v.parity);
                int parity = v.parity;
                std::string message;
                if (ok && !client::checkDiskCount(client::LayoutRules::CreateVd, v.raid, static_cast<int>(v.disks.size()),
                                                  parity, caps().MaxParityDisks, message)) {
                    refuse(message);
                    ok = false;
                }
                ok = ok && stripeOk(v.stripe, false);
                KX_U32 blockSize = 0;
                for (size_t k = 0; ok && k < v.disks.size(); ++k) {
                    if (v.disks[k] < 0) {
                        refuse(fmt("VD \"%s\" has a member that is missing: it cannot be made.\n", v.name.c_str()));
                        ok = false;
                    } else {
                        ok = diskOk(static_cast<unsigned>(v.disks[k]), false, blockSize, k == 0);
                    }
                }
                if (ok)
                    cacheOk(v);
                text = fmt("create VD \"%s\": %s of PD %s", v.name.c_str(), kxRaidName(v.raid), idList(v.disks).c_str());
                if (isParityLevel(v.raid))
                    text += fmt(", %d parity disks", effectiveParity(v.raid, v.parity));
                text += fmt(", stripe %u KB, %s", v.stripe, sizeText(v.size).c_str());
                for (int d : v.disks)
                    if (d >= 0)
                        m_busy.insert(static_cast<unsigned>(d));
            }
            Step &s = add(StepKind::CreateVd, text + cacheText(v));
            s.index = static_cast<int>(i);
            markPartitioned(s, v.disks);
        }
    }

    void assignSpares()
    {
        for (size_t i = 0; i < m_doc.spares.size(); ++i) {
            if (m_spareKept[i])
                continue;
            const Spare &sp = m_doc.spares[i];
            Step &s = add(StepKind::AssignSpare,
                          sp.array.empty() ? fmt("assign PD %u as global spare", sp.disk)
                                           : fmt("assign PD %u as spare of array \"%s\"", sp.disk, sp.array.c_str()));
            s.index = static_cast<int>(i);
            s.id = static_cast<KX_U16>(sp.disk);
            markPartitioned(s, {static_cast<int>(sp.disk)});
        }
    }

    void adapterSettings()
    {
        const Adapter_Config_V2 &c = m_live.config;
        const Settings &want = m_doc.settings;
        const KX_U32 adv = caps().AdvancedFeatures;
        const KX_U8 f = caps().Features;
        const KX_U8 flags[FLAG_COUNT] = {c.AlarmOn, c.AutoRebuildOn, c.PollSMARTStatus, c.CopyBack,
                                         c.InterruptCoalescing, c.ModuleConsolidate};
        const char *flagWords[FLAG_COUNT] = {"alarm", "auto rebuild", "SMART polling", "copy back",
                                             "optimize CPU efficiency", "module consolidation"};
        const bool flagRefused[FLAG_COUNT] = {caps().AlarmSupport == 0, caps().DevID <= 0x6400 || bit(adv, 24),
                                              bit(adv, 16), !bit(f, 6), !bit(adv, 5), !bit(adv, 9)};
        const char *flagRefusal[FLAG_COUNT] = {
            "Buzzer setting is not supported on adapter %u.\n", "Auto rebuild setting is not supported on adapter %u.\n",
            "Smart setting is not supported on adapter %u.\n", "Copyback is not supported on adapter %u.\n",
            "Optimize CPU efficiency setting is not supported on adapter %u.\n",
            "Module consolidate setting is not supported on adapter %u.\n"};
        const KX_U8 rates[RATE_COUNT] = {c.BGARate, c.SyncRate, c.InitRate, c.RebuildRate, c.MigrationRate,
                                         c.CopybackRate, c.MediaPatrolRate};
        const char *rateWords[RATE_COUNT] = {"background rate", "synchronization rate", "initialization rate",
                                             "rebuild rate", "migration rate", "copy back rate", "media patrol rate"};
        const bool rateRefused[RATE_COUNT] = {(f & 0x5F) == 0, !bit(f, 2), !bit(f, 1), !bit(f, 0),
                                              !bit(f, 3), !bit(f, 6), !bit(f, 4)};
        const char *rateRefusal[RATE_COUNT] = {
            "BGA rate setting is not supported on adapter %u.\n",
            "Synchronize rate setting is not supported on adapter %u.\n",
            "Initialize rate setting is not supported on adapter %u.\n",
            "Rebuild rate setting is not supported on adapter %u.\n",
            "Migration rate setting is not supported on adapter %u.\n",
            "Copyback rate setting is not supported on adapter %u.\n",
            "Media patrol rate is not supported on adapter %u.\n"};
        std::string changes;
        auto note = [&](const std::string &s) { changes += (changes.empty() ? "" : ", ") + s; };
        for (int i = 0; i < FLAG_COUNT; ++i) {
            if (!want.flags[i] || *want.flags[i] == (flags[i] == 1))
                continue;
            if (flagRefused[i])
                refuse(fmt(flagRefusal[i], m_doc.number));
            note(fmt("%s %s -> %s", flagWords[i], onOff(flags[i] == 1), onOff(*want.flags[i])));
        }
        for (int i = 0; i < RATE_COUNT; ++i) {
            if (!want.rates[i] || *want.rates[i] == rateToPercent(rates[i]))
                continue;
            if (rateRefused[i])
                refuse(fmt(rateRefusal[i], m_doc.number));
            note(fmt("%s %d%% -> %d%%", rateWords[i], rateToPercent(rates[i]), *want.rates[i]));
        }
        if (!changes.empty())
            add(StepKind::SetAdapter, "set adapter: " + changes);
    }

    void settings()
    {
        adapterSettings();
        for (size_t i = 0; i < m_doc.arrays.size(); ++i) {
            const Array &a = m_doc.arrays[i];
            if (m_arrayKept[i] < 0 || !a.writeCache)
                continue;
            auto c = m_live.arrayConfigs.find(static_cast<KX_U16>(m_arrayKept[i]));
            const bool have = c != m_live.arrayConfigs.end() && c->second.WriteCacheOn != 0;
            if (have == *a.writeCache)
                continue;
            Step &s = add(StepKind::SetArray, fmt("set array \"%s\": write cache %s -> %s", a.name.c_str(),
                                                  onOff(have), onOff(*a.writeCache)));
            s.id = static_cast<KX_U16>(m_arrayKept[i]);
            s.index = static_cast<int>(i);
        }
        for (size_t i = 0; i < m_doc.vds.size(); ++i) {
            const Vd &v = m_doc.vds[i];
            if (m_vdKept[i] < 0)
                continue;
            const KX_U16 id = static_cast<KX_U16>(m_vdKept[i]);
            const KX_U8 mode = cacheModeOf(m_live, id);
            std::string changes;
            if (v.writePolicy && static_cast<KX_U8>(*v.writePolicy) != (mode & 0x0B)) {
                const KX_U8 have = mode & 0x0B;
                const char *haveWord = have == 0 ? "write-back" : have == 1 ? "write-through" : have == 8 ? "auto" : "other";
                changes = fmt("write policy %s -> %s", haveWord, writePolicyWord(*v.writePolicy));
            }
            if (v.readAhead && *v.readAhead != ((mode & 0x04) != 0))
                changes += fmt("%sread-ahead %s -> %s", changes.empty() ? "" : ", ", onOff((mode & 0x04) != 0),
                               onOff(*v.readAhead));
            if (changes.empty())
                continue;
            cacheOk(v);
            Step &s = add(StepKind::SetVd, fmt("set VD \"%s\": %s", v.name.c_str(), changes.c_str()));
            s.id = id;
            s.index = static_cast<int>(i);
        }
        for (size_t i = 0; i < m_doc.disks.size(); ++i) {
            const Disk &d = m_doc.disks[i];
            auto it = m_live.disks.find(static_cast<KX_U16>(d.id));
            if (it == m_live.disks.end() || !it->second.haveConfig)
                continue;
            const HD_Config &c = it->second.config;
            std::string changes;
            if (d.writeCache && *d.writeCache != (c.WriteCacheOn != 0)) {
                if (m_live.arrayBased() && m_busy.count(d.id))
                    refuse(fmt("\nPD %u has been set by array. Please change property \"Write Cache\" in array.\n",
                               d.id));
                else if (bit(caps().AdvancedFeatures, 19))
                    refuse("\nThis product does not support turning disk cache settings on/off.\n");
                changes = fmt("write cache %s -> %s", onOff(c.WriteCacheOn != 0), onOff(*d.writeCache));
            }
            if (d.smart && *d.smart != (c.SMARTOn != 0))
                changes += fmt("%sSMART %s -> %s", changes.empty() ? "" : ", ", onOff(c.SMARTOn != 0), onOff(*d.smart));
            if (changes.empty())
                continue;
            Step &s = add(StepKind::SetDisk, fmt("set PD %u: %s", d.id, changes.c_str()));
            s.id = static_cast<KX_U16>(d.id);
            s.index = static_cast<int>(i);
        }
    }
};

} // namespace

const char *stepAction(StepKind k)
{
    switch (k) {
    case StepKind::ReleaseSpare: return "release_spare";
    case StepKind::DeleteVd: return "delete_vd";
    case StepKind::DeleteArray: return "delete_array";
    case StepKind::CreateArray: return "create_array";
    case StepKind::CreateVd: return "create_vd";
    case StepKind::AssignSpare: return "assign_spare";
    case StepKind::SetAdapter: return "set_adapter";
    case StepKind::SetArray: return "set_array";
    case StepKind::SetVd: return "set_vd";
    case StepKind::SetDisk: return "set_disk";
    }
    return "unknown";
}

bool Plan::destructive() const
{
    for (const Step &s : steps)
        if (s.destructive)
            return true;
    return false;
}

Plan makePlan(const Document &doc)
{
    Plan plan;
    plan.adapters.resize(doc.adapters.size());
    for (size_t i = 0; i < doc.adapters.size(); ++i) {
        PlanAdapter &pa = plan.adapters[i];
        pa.doc = &doc.adapters[i];
        ReadFailure failure;
        if (!readAdapter(static_cast<KX_U8>(pa.doc->number), pa.live, failure)) {
            plan.refusals.push_back(fmt("\nUnable to read adapter %u: %s failed (error %d: %s).\n", pa.doc->number,
                                        failure.operation.c_str(), failure.status, ErrorMessage(failure.status)));
            continue;
        }
        Planner(plan, i).run();
    }
    return plan;
}

} // namespace conf
