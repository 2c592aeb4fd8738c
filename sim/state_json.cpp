// The state document: reading a fixture or state file into the model,
// writing the model back, and the built-in default controller.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>

#include "kx_record_fields.h"
#include "family.h"
#include "model.h"
#include "operations.h"

namespace sim {

namespace {

// ---- the default records of an adapter ---------------------------------

void copyText(KX_U8 *dst, size_t n, const std::string &s)
{
    std::memset(dst, 0, n);
    std::memcpy(dst, s.data(), std::min(n, s.size()));
}

void defaultAdapterRecords(Adapter &a)
{
    Adapter_Info &i = a.info;
    std::memset(&i, 0, sizeof i);
    i.DriverVersion = {5, 0, 0, 1};
    i.BIOSVersion = {1, 2, 0, 3};
    i.FirmwareVersion = {2, 1, 0, 7};
    i.BootLoaderVersion = {1, 0, 0, 2};
    i.SystemIOBusNumber = 3 + a.number;
    i.SlotNumber = 1 + a.number;
    i.InterruptLevel = 16;
    i.InterruptVector = 0x50;
    i.VenID = 0x1F3C;
    i.SubVenID = 0x1F3C;
    i.DevID = 0x9200;
    i.SubDevID = 0x0008;
    i.PortCount = 8;
    i.PortSupportType = 0x05;  // SATA and SAS
    i.Features = 0x7F;         // rebuild .. copy back
    i.AlarmSupport = 1;
    i.RevisionID = 0xB1;
    i.MaxPDPerVD = 32;
    i.StripeSizeSupported = 0x7F;  // 16K .. 1024K
    i.AdvancedFeatures = 0x0000044B;  // event sense, big stripe, bbu, multi VD, image health
    i.MaxPDPerDG = 32;
    i.MaxVDPerDG = 16;
    i.MaxParityDisks = 2;
    i.MaxDiskGroup = 8;
    i.MaxTotalBlocks = 255;
    i.MaxBlockPerPD = 16;
    i.MaxHD = 128;
    i.MaxExpander = 4;
    i.MaxPM = 4;
    i.MaxLogicalDrive = 32;
    i.LogicalDriverMode = 0x01FF;  // RAID0 .. RAID60
    const KX_U8 wwn[8] = {0x50, 0x01, 0x43, 0x80, 0x00, 0x00, 0x00, a.number};
    std::memcpy(i.WWN, wwn, 8);
    i.MaxHD_Ext = 256;
    i.MaxBufferSize = 64;
    i.MaxTotalBlocks_V2 = 1024;
    copyText(i.SerialNo, sizeof i.SerialNo, "KXSIM00000" + std::to_string(a.number));
    for (unsigned p = 0; p < 8; ++p) {
        const KX_U8 sas[8] = {0x50, 0x01, 0x43, 0x80, 0x00, 0xAB, a.number, static_cast<KX_U8>(p)};
        std::memcpy(i.PortSasAddress[p], sas, 8);
    }
    i.MaxSpeed = 3;
    i.CurrentSpeed = 3;
    i.MaxLinkWidth = 8;
    i.CurrentLinkWidth = 8;
    i.img_health = i.autoload_img_health = i.boot_loader_img_health = 1;
    i.firmware_img_health = i.boot_rom_img_health = i.hba_info_img_health = 1;
    copyText(i.ModelNumber, sizeof i.ModelNumber, "KX-9200-8i SIM");

    Adapter_Config_V2 &c = a.config;
    std::memset(&c, 0, sizeof c);
    c.AlarmOn = 1;
    c.AutoRebuildOn = 1;
    // Rates on the controller's 0-250 scale: 50 % and 30 %.
    c.BGARate = 125;
    c.PollSMARTStatus = 1;
    c.MediaPatrolRate = 75;
    c.CopyBack = 1;
    c.SyncRate = 125;
    c.InitRate = 125;
    c.RebuildRate = 125;
    c.MigrationRate = 125;
    c.CopybackRate = 125;
    std::memcpy(c.SerialNo, i.SerialNo, sizeof c.SerialNo);
    std::memcpy(c.ModelNumber, i.ModelNumber, sizeof c.ModelNumber);

    BBU_Info &b = a.bbu;
    std::memset(&b, 0, sizeof b);
    b.status = 0x09;  // OK, fully charged
    b.prev_status = 0x05;
    b.voltage = 8200;
    b.supportMaxCapacity = 3000;
    b.supportMinCapacity = 500;
    b.maxCapacity = 3000;
    b.curCapacity = 2950;
    b.time_to_empty = 120;
    b.time_to_full = 0;
    b.recharge_cycle = 12;
    b.featureSupport = 0x07;
    b.temperature = 3150;
    b.volt_lowerbound = 7000;
    b.volt_upperbound = 9000;
    b.temp_lowerbound = 0;
    b.temp_upperbound = 60;
    b.percentage = 98;
    b.percent_to_charge = 90;
}

constexpr uint64_t kDefaultDiskKiB = 976762584;  // a "1 TB" disk
constexpr uint64_t kDefaultBlockKiB = 104857600;  // 100 GiB

PD defaultPD(const Adapter &a, uint16_t id)
{
    PD pd;
    pd.id = id;
    pd.sizeKiB = kDefaultDiskKiB;
    pd.model = "KORVEX SIM1000 HDD";
    char serial[24];
    std::snprintf(serial, sizeof serial, "SIM%02u%05u", a.number, id);
    pd.serial = serial;
    pd.firmware = "SF01";
    pd.parent.kind = ParentLink::HBA;
    pd.parent.port = static_cast<uint8_t>(id % (a.info.PortCount ? a.info.PortCount : 1));
    return pd;
}

// ---- reading -------------------------------------------------------------

const char *stateWord(uint8_t s)
{
    switch (s) {
    case BGAS_RUNNING: return "running";
    case BGAS_ABORTED: return "aborted";
    case BGAS_PAUSED: return "paused";
    case BGAS_AUTO_PAUSED: return "autopaused";
    case BGAS_INTERRUPTED: return "interrupted";
    default: return "none";
    }
}

struct Reader : ValueReader {
    int64_t anchorMs;

    Reader(std::string &e, int64_t anchor) : ValueReader{e}, anchorMs(anchor) {}

    bool bga(const json &v, const std::string &where, Bga &out)
    {
        if (!v.is_object())
            return fail(where, "expected an object {type, state, percent, since}");
        Bga b;
        b.state = BGAS_RUNNING;
        b.sinceMs = anchorMs;
        for (auto it = v.begin(); it != v.end(); ++it) {
            const std::string w = where + "." + it.key();
            if (it.key() == "type") {
                if (!num(it.value(), w, 255, b.type))
                    return false;
            } else if (it.key() == "state") {
                if (it.value().is_string()) {
                    std::string s = it.value().get<std::string>();
                    uint8_t code = 0;
                    bool known = false;
                    for (uint8_t c = 0; c <= BGAS_INTERRUPTED; ++c)
                        if (s == stateWord(c)) {
                            code = c;
                            known = true;
                        }
                    if (!known)
                        return fail(w, "unknown activity state '" + s + "'");
                    b.state = code;
                } else if (!num(it.value(), w, 255, b.state)) {
                    return false;
                }
            } else if (it.key() == "percent") {
                if (!it.value().is_number() || it.value().get<double>() < 0 || it.value().get<double>() > 100)
                    return fail(w, "expected a number from 0 to 100");
                b.percent = it.value().get<double>();
            } else if (it.key() == "since") {
                if (!it.value().is_number_integer())
                    return fail(w, "expected milliseconds since 1970");
                b.sinceMs = it.value().get<int64_t>();
            } else {
                return fail(w, "unknown key of an activity");
            }
        }
        if (b.type == BGA_NONE)
            b.state = BGAS_NONE;
        out = b;
        return true;
    }

    bool parent(const json &v, const std::string &where, ParentLink &out)
    {
        if (!v.is_object())
            return fail(where, "expected an object {type, id, port}");
        for (auto it = v.begin(); it != v.end(); ++it) {
            const std::string w = where + "." + it.key();
            if (it.key() == "type") {
                std::string t;
                if (!text(it.value(), w, t))
                    return false;
                if (t == "hba")
                    out.kind = ParentLink::HBA;
                else if (t == "expander")
                    out.kind = ParentLink::EXPANDER;
                else if (t == "pm")
                    out.kind = ParentLink::PM;
                else if (t == "enclosure")
                    out.kind = ParentLink::ENCLOSURE;
                else
                    return fail(w, "unknown parent type '" + t + "' (hba, expander, pm, enclosure)");
            } else if (it.key() == "id") {
                if (!num(it.value(), w, 0xFFFE, out.id))
                    return false;
            } else if (it.key() == "port") {
                if (!num(it.value(), w, 255, out.port))
                    return false;
            } else {
                return fail(w, "unknown key of a parent link");
            }
        }
        return true;
    }

    // A key naming a controller record: compile it when it belongs to this
    // kind of object. Returns 1 handled, 0 not a record name, -1 error.
    int record(const std::string &key, const json &v, const std::string &where,
               std::initializer_list<const KXRecordDesc *> allowed, const char *kind, Overlays &ov)
    {
        const KXRecordDesc *d = kxFindRecord(key.c_str());
        if (!d)
            return 0;
        if (std::find(allowed.begin(), allowed.end(), d) == allowed.end()) {
            fail(where, std::string("record ") + key + " does not belong to " + kind);
            return -1;
        }
        Overlay o;
        if (!compileOverlay(d, v, where, o, error))
            return -1;
        ov.list.push_back(std::move(o));
        return 1;
    }

    bool objectId(const json &obj, const std::string &where, uint64_t limit, const char *limitName,
                  uint16_t &id)
    {
        if (!obj.is_object())
            return fail(where, std::string("expected an object, found ") + obj.type_name());
        if (!obj.contains("id"))
            return fail(where, "missing \"id\"");
        if (!num(obj["id"], where + ".id", 0xFFFE, id))
            return false;
        if (limit && id >= limit)
            return fail(where + ".id", "ID " + std::to_string(id) + " is out of range (" + limitName + " is " +
                                           std::to_string(limit) + ")");
        return true;
    }

    bool faults(const json &v, const std::string &where, std::map<std::string, uint8_t> &out)
    {
        if (!v.is_object())
            return fail(where, "expected an object of operation name: status");
        for (auto it = v.begin(); it != v.end(); ++it) {
            if (!isOperationName(it.key().c_str()))
                return fail(where + "." + it.key(), "unknown operation");
            uint8_t st = 0;
            if (!num(it.value(), where + "." + it.key(), 255, st))
                return false;
            out[it.key()] = st;
        }
        return true;
    }

    // ---- objects ----

    bool pd(const Adapter &a, const json &o, const std::string &w, PD &out)
    {
        uint16_t id = 0;
        uint64_t limit = std::max<uint64_t>(a.info.MaxHD_Ext, a.info.MaxHD);
        if (!objectId(o, w, limit, "MaxHD_Ext", id))
            return false;
        out = defaultPD(a, id);
        bool sizeGiven = false;
        for (auto it = o.begin(); it != o.end(); ++it) {
            const std::string &k = it.key();
            const json &v = it.value();
            const std::string kw = w + "." + k;
            int r = record(k, v, kw,
                           {&kRecord_HD_Info, &kRecord_HD_Config, &kRecord_HD_RAID_Status, &kRecord_HD_SMART_Status,
                            &kRecord_HD_BGA_Status, &kRecord_HD_FreeSpaceInfo, &kRecord_HD_Block_Info},
                           "a physical disk", out.ov);
            if (r < 0)
                return false;
            if (r > 0)
                continue;
            bool ok = true;
            if (k == "id") {
            } else if (k == "size") {
                ok = num(v, kw, UINT64_MAX, out.sizeKiB);
                sizeGiven = true;
            } else if (k == "model") {
                ok = text(v, kw, out.model);
            } else if (k == "serial") {
                ok = text(v, kw, out.serial);
            } else if (k == "firmware") {
                ok = text(v, kw, out.firmware);
            } else if (k == "interface") {
                std::string t;
                ok = text(v, kw, t);
                if (ok && t == "sata")
                    out.iface = PD::SATA;
                else if (ok && t == "sas")
                    out.iface = PD::SAS;
                else if (ok && t == "pata")
                    out.iface = PD::PATA;
                else if (ok)
                    return fail(kw, "unknown interface '" + t + "' (sata, sas, pata)");
            } else if (k == "ssd") {
                ok = boolean(v, kw, out.ssd);
            } else if (k == "state") {
                std::string t;
                ok = text(v, kw, t);
                if (ok && t == "online")
                    out.state = PD::ONLINE;
                else if (ok && t == "offline")
                    out.state = PD::OFFLINE;
                else if (ok && t == "missing")
                    out.state = PD::MISSING;
                else if (ok)
                    return fail(kw, "unknown disk state '" + t + "' (online, offline, missing)");
            } else if (k == "spare") {
                if (v.is_string() && v.get<std::string>() == "global")
                    out.spare = PD::kGlobalSpare;
                else if (v.is_null())
                    out.spare = -1;
                else {
                    uint16_t g = 0;
                    ok = num(v, kw, 0xFFFE, g);
                    out.spare = g;
                }
            } else if (k == "foreign") {
                ok = boolean(v, kw, out.foreign);
            } else if (k == "smartExceeded") {
                ok = boolean(v, kw, out.smartExceeded);
            } else if (k == "writeCache") {
                ok = boolean(v, kw, out.writeCache);
            } else if (k == "smartOn") {
                ok = boolean(v, kw, out.smartOn);
            } else if (k == "os") {
                ok = boolean(v, kw, out.os);
            } else if (k == "locate") {
                ok = boolean(v, kw, out.locate);
            } else if (k == "partitioned") {
                ok = boolean(v, kw, out.partitioned);
            } else if (k == "parent") {
                ok = parent(v, kw, out.parent);
            } else if (k == "enclosure") {
                ok = v.is_null() || num(v, kw, 0xFFFE, out.enclosure);
            } else if (k == "bga") {
                ok = bga(v, kw, out.bga);
            } else if (!familyOwnsKey("pds", k)) {
                return fail(kw, "unknown key of a physical disk");
            }
            if (!ok)
                return false;
        }
        // The disk's size may come with its HD_Info values instead.
        if (!sizeGiven)
            if (const Overlay *ov = out.ov.find(&kRecord_HD_Info))
                if (ov->source.contains("Size"))
                    out.sizeKiB = ov->source["Size"].get<uint64_t>();
        return true;
    }

    struct BlockGiven {
        bool pd = false, vd = false, start = false, size = false;
    };

    bool block(const Adapter &a, const json &o, const std::string &w, Block &out, BlockGiven &given)
    {
        uint16_t id = 0;
        uint64_t limit = std::max<uint64_t>(a.info.MaxTotalBlocks, a.info.MaxTotalBlocks_V2);
        if (!objectId(o, w, limit, "MaxTotalBlocks_V2", id))
            return false;
        out = Block();
        out.id = id;
        for (auto it = o.begin(); it != o.end(); ++it) {
            const std::string &k = it.key();
            const std::string kw = w + "." + k;
            int r = record(k, it.value(), kw, {&kRecord_Block_Info}, "a block", out.ov);
            if (r < 0)
                return false;
            if (r > 0 || k == "id")
                continue;
            bool ok = true;
            if (k == "pd") {
                ok = num(it.value(), kw, 0xFFFE, out.pd);
                given.pd = true;
            } else if (k == "vd") {
                if (it.value().is_null())
                    out.vd = kNone16;
                else
                    ok = num(it.value(), kw, 0xFFFE, out.vd);
                given.vd = true;
            } else if (k == "start") {
                ok = num(it.value(), kw, UINT64_MAX, out.startKiB);
                given.start = true;
            } else if (k == "size") {
                ok = num(it.value(), kw, UINT64_MAX, out.sizeKiB);
                given.size = true;
            } else {
                return fail(kw, "unknown key of a block");
            }
            if (!ok)
                return false;
        }
        // Without model keys the block's Block_Info values describe it.
        if (const Overlay *ov = out.ov.find(&kRecord_Block_Info)) {
            const json &s = ov->source;
            if (!given.pd && s.contains("HDID")) {
                out.pd = s["HDID"].get<uint16_t>();
                given.pd = true;
            }
            if (!given.vd && s.contains("LDID")) {
                uint16_t v = s["LDID"].get<uint16_t>();
                out.vd = (v == kNone8 || v == kNone16) ? kNone16 : v;
                given.vd = true;
            }
            if (!given.start && s.contains("StartLBA")) {
                out.startKiB = s["StartLBA"].get<uint64_t>();
                given.start = true;
            }
            if (!given.size && s.contains("Size")) {
                out.sizeKiB = s["Size"].get<uint64_t>();
                given.size = true;
            }
        }
        if (!given.pd)
            return fail(w, "block has no disk (\"pd\" or Block_Info.HDID)");
        return true;
    }

    bool layoutKey(const std::string &k, const json &v, const std::string &kw, Layout &l, bool &handled)
    {
        handled = true;
        if (k == "raid")
            return num(v, kw, 255, l.raid);
        if (k == "stripe")
            return num(v, kw, 0xFFFF, l.stripe);
        if (k == "parity")
            return num(v, kw, 255, l.parity);
        if (k == "subVDs")
            return num(v, kw, 255, l.subVDs);
        if (k == "blocks")
            return memberList(v, kw, l.blocks);
        if (k == "size")
            return num(v, kw, UINT64_MAX, l.sizeKiB);
        handled = false;
        return true;
    }

    bool vd(const Adapter &a, const json &o, const std::string &w, VD &out, bool &blocksGiven,
            std::vector<uint16_t> &pdsForAllocation)
    {
        uint16_t id = 0;
        if (!objectId(o, w, a.info.MaxLogicalDrive, "MaxLogicalDrive", id))
            return false;
        out = VD();
        out.id = id;
        out.created = static_cast<uint32_t>(anchorMs / 1000);
        blocksGiven = o.contains("blocks");
        pdsForAllocation.clear();
        for (auto it = o.begin(); it != o.end(); ++it) {
            const std::string &k = it.key();
            const json &v = it.value();
            const std::string kw = w + "." + k;
            int r = record(k, v, kw, {&kRecord_LD_Info, &kRecord_LD_Status, &kRecord_LD_Config, &kRecord_Cross_VD_Info},
                           "a virtual disk", out.ov);
            if (r < 0)
                return false;
            if (r > 0 || k == "id")
                continue;
            bool handled = false;
            if (!layoutKey(k, v, kw, out.layout, handled))
                return false;
            if (handled)
                continue;
            bool ok = true;
            if (k == "name") {
                ok = text(v, kw, out.name);
            } else if (k == "array") {
                ok = v.is_null() || num(v, kw, 0xFFFE, out.array);
            } else if (k == "pds") {
                ok = idList(v, kw, pdsForAllocation);
            } else if (k == "status") {
                uint8_t st = 0;
                ok = v.is_null() || num(v, kw, 255, st);
                out.status = v.is_null() ? -1 : st;
            } else if (k == "initialized") {
                ok = boolean(v, kw, out.initialized);
            } else if (k == "cache") {
                ok = num(v, kw, 255, out.cache);
            } else if (k == "autoRebuild") {
                ok = boolean(v, kw, out.autoRebuild);
            } else if (k == "sector") {
                ok = num(v, kw, 255, out.sector);
            } else if (k == "tandemWaterMark") {
                ok = num(v, kw, 255, out.tandemWaterMark);
            } else if (k == "tandemRebuildMode") {
                ok = num(v, kw, 255, out.tandemRebuildMode);
            } else if (k == "linkedPD") {
                ok = v.is_null() || num(v, kw, 0xFFFE, out.linkedPD);
            } else if (k == "os") {
                ok = boolean(v, kw, out.os);
            } else if (k == "created") {
                ok = num(v, kw, 0xFFFFFFFF, out.created);
            } else if (k == "bga") {
                ok = bga(v, kw, out.bga);
            } else if (k == "target") {
                ok = target(v, kw, out);
            } else if (!familyOwnsKey("vds", k)) {
                return fail(kw, "unknown key of a virtual disk");
            }
            if (!ok)
                return false;
        }
        if (!blocksGiven && !pdsForAllocation.empty() && out.layout.blocks.empty() && !o.contains("raid"))
            out.layout.raid = pdsForAllocation.size() >= 3 ? 5 : pdsForAllocation.size() == 2 ? 1 : 0;
        return true;
    }

    // Members of a VD (blocks) or an array (disks): IDs, or null for a
    // member that lost its disk's configuration.
    bool memberList(const json &v, const std::string &where, std::vector<uint16_t> &out)
    {
        if (!v.is_array())
            return fail(where, std::string("expected a list of IDs, found ") + v.type_name());
        out.clear();
        for (size_t i = 0; i < v.size(); ++i) {
            uint16_t id = kLostMember;
            if (!v[i].is_null() && !num(v[i], where + "[" + std::to_string(i) + "]", 0xFFFE, id))
                return false;
            out.push_back(id);
        }
        return true;
    }

    bool arrayTarget(const json &v, const std::string &w, Array &out)
    {
        if (!v.is_object())
            return fail(w, "expected an object describing the target layout");
        out.hasTarget = true;
        out.target.raid = out.raid;
        out.target.parity = out.parity;
        out.target.subVDs = out.subVDs;
        for (auto it = v.begin(); it != v.end(); ++it) {
            const std::string kw = w + "." + it.key();
            bool ok;
            if (it.key() == "raid")
                ok = num(it.value(), kw, 255, out.target.raid);
            else if (it.key() == "parity")
                ok = num(it.value(), kw, 255, out.target.parity);
            else if (it.key() == "subVDs")
                ok = num(it.value(), kw, 255, out.target.subVDs);
            else if (it.key() == "pds")
                ok = idList(it.value(), kw, out.target.pds);
            else
                return fail(kw, "unknown key of a target layout");
            if (!ok)
                return false;
        }
        return true;
    }

    bool target(const json &v, const std::string &w, VD &out)
    {
        if (!v.is_object())
            return fail(w, "expected an object describing the target layout");
        out.hasTarget = true;
        out.target = out.layout;
        out.target.blocks.clear();
        out.target.sizeKiB = 0;
        for (auto it = v.begin(); it != v.end(); ++it) {
            const std::string kw = w + "." + it.key();
            if (it.key() == "LD_Info") {
                if (!compileOverlay(&kRecord_LD_Info, it.value(), kw, out.targetOv, error))
                    return false;
                continue;
            }
            bool handled = false;
            if (!layoutKey(it.key(), it.value(), kw, out.target, handled))
                return false;
            if (!handled)
                return fail(kw, "unknown key of a target layout");
        }
        return true;
    }

    bool array(const Adapter &a, const json &o, const std::string &w, Array &out)
    {
        uint16_t id = 0;
        if (!a.arrayBased())
            return fail(w, "this adapter has no arrays (Adapter_Info.MaxDiskGroup is 0)");
        if (!objectId(o, w, a.info.MaxDiskGroup, "MaxDiskGroup", id))
            return false;
        out = Array();
        out.id = id;
        const json *target = nullptr;  // read last: it starts from the array's own layout
        for (auto it = o.begin(); it != o.end(); ++it) {
            const std::string &k = it.key();
            const json &v = it.value();
            const std::string kw = w + "." + k;
            int r = record(k, v, kw, {&kRecord_DG_Info, &kRecord_DG_Config}, "an array", out.ov);
            if (r < 0)
                return false;
            if (r > 0 || k == "id")
                continue;
            bool ok = true;
            if (k == "name")
                ok = text(v, kw, out.name);
            else if (k == "raid")
                ok = num(v, kw, 255, out.raid);
            else if (k == "stripe")
                ok = num(v, kw, 0xFFFF, out.stripe);
            else if (k == "parity")
                ok = num(v, kw, 255, out.parity);
            else if (k == "subVDs")
                ok = num(v, kw, 255, out.subVDs);
            else if (k == "writeCache")
                ok = boolean(v, kw, out.writeCache);
            else if (k == "size")
                ok = num(v, kw, UINT64_MAX, out.sizeKiB);
            else if (k == "pds")
                ok = memberList(v, kw, out.pds);
            else if (k == "bga")
                ok = bga(v, kw, out.bga);
            else if (k == "target")
                target = &v;
            else if (!familyOwnsKey("arrays", k))
                return fail(kw, "unknown key of an array");
            if (!ok)
                return false;
        }
        return !target || arrayTarget(*target, w + ".target", out);
    }

    template <class T>
    bool topo(const Adapter &a, const json &o, const std::string &w, uint64_t limit, const char *limitName,
              const KXRecordDesc *rec, const char *kind, T &out)
    {
        uint16_t id = 0;
        if (!objectId(o, w, limit, limitName, id))
            return false;
        (void)a;
        out = T();
        out.id = id;
        for (auto it = o.begin(); it != o.end(); ++it) {
            const std::string &k = it.key();
            const std::string kw = w + "." + k;
            int r = record(k, it.value(), kw, {rec}, kind, out.ov);
            if (r < 0)
                return false;
            if (r > 0 || k == "id")
                continue;
            if (!topoKey(k, it.value(), kw, out))
                return false;
        }
        return true;
    }

    bool topoKey(const std::string &k, const json &v, const std::string &kw, PM &out)
    {
        if (k == "parent")
            return parent(v, kw, out.parent);
        if (k == "ports")
            return num(v, kw, 255, out.ports);
        return fail(kw, "unknown key of a port multiplier");
    }

    bool topoKey(const std::string &k, const json &v, const std::string &kw, Expander &out)
    {
        if (k == "parent")
            return parent(v, kw, out.parent);
        if (k == "phys")
            return num(v, kw, 255, out.phys) && (out.phys >= 4 || fail(kw, "an expander has at least 4 PHYs"));
        if (k == "enclosure")
            return v.is_null() || num(v, kw, 0xFFFE, out.enclosure);
        return fail(kw, "unknown key of an expander");
    }

    bool topoKey(const std::string &k, const json &v, const std::string &kw, Enclosure &out)
    {
        if (k == "parent")
            return parent(v, kw, out.parent);
        if (familyOwnsKey("enclosures", k))
            return true;
        return fail(kw, "unknown key of an enclosure");
    }

    // ---- an adapter ----

    template <class T, class F>
    bool list(const json &a, const char *key, const std::string &w, std::map<uint16_t, T> &out, F parseOne)
    {
        if (!a.contains(key))
            return true;
        const json &l = a[key];
        if (!l.is_array())
            return fail(w + "." + key, std::string("expected a list, found ") + l.type_name());
        for (size_t i = 0; i < l.size(); ++i) {
            std::string iw = w + "." + key + "[" + std::to_string(i) + "]";
            T obj;
            if (!parseOne(l[i], iw, obj))
                return false;
            if (out.count(obj.id))
                return fail(iw + ".id", "duplicate ID " + std::to_string(obj.id));
            out[obj.id] = std::move(obj);
        }
        return true;
    }

    bool checkParent(const Adapter &a, const ParentLink &p, const std::string &w)
    {
        if (p.kind == ParentLink::EXPANDER && !a.expanders.count(p.id))
            return fail(w + ".parent", "no expander " + std::to_string(p.id));
        if (p.kind == ParentLink::PM && !a.pms.count(p.id))
            return fail(w + ".parent", "no port multiplier " + std::to_string(p.id));
        if (p.kind == ParentLink::ENCLOSURE && !a.enclosures.count(p.id))
            return fail(w + ".parent", "no enclosure " + std::to_string(p.id));
        return true;
    }

    bool adapter(const json &j, const std::string &w, Adapter &a)
    {
        if (!j.is_object())
            return fail(w, std::string("expected an object, found ") + j.type_name());
        defaultAdapterRecords(a);
        static const std::set<std::string> known = {
            "Adapter_Info", "Adapter_Config_V2", "BBU_Info", "bbu", "bgaSpeed", "nextSequenceNo", "rescanCount",
            "pds", "blocks", "vds", "arrays", "pms", "expanders", "enclosures", "events", "faults"};
        for (auto it = j.begin(); it != j.end(); ++it)
            if (!known.count(it.key()) && !familyOwnsKey("adapter", it.key())) {
                if (kxFindRecord(it.key().c_str()))
                    return fail(w + "." + it.key(), "record " + it.key() + " does not belong to an adapter");
                return fail(w + "." + it.key(), "unknown key of an adapter");
            }
        if (j.contains("Adapter_Info") && !applyJson(&kRecord_Adapter_Info, j["Adapter_Info"], w + ".Adapter_Info", &a.info, error))
            return false;
        if (j.contains("Adapter_Config_V2") &&
            !applyJson(&kRecord_Adapter_Config_V2, j["Adapter_Config_V2"], w + ".Adapter_Config_V2", &a.config, error))
            return false;
        if (j.contains("BBU_Info") && !applyJson(&kRecord_BBU_Info, j["BBU_Info"], w + ".BBU_Info", &a.bbu, error))
            return false;
        if (j.contains("bbu") && !boolean(j["bbu"], w + ".bbu", a.hasBbu))
            return false;
        if (j.contains("bgaSpeed")) {
            const json &v = j["bgaSpeed"];
            if (!v.is_number() || v.get<double>() < 0 || !std::isfinite(v.get<double>()))
                return fail(w + ".bgaSpeed", "expected a number of percent per second, not negative");
            a.bgaSpeed = v.get<double>();
        }
        if (j.contains("nextSequenceNo") && !num(j["nextSequenceNo"], w + ".nextSequenceNo", 0xFFFFFFFF, a.nextSeq))
            return false;
        if (j.contains("rescanCount") && !num(j["rescanCount"], w + ".rescanCount", 0xFFFF, a.rescanCount))
            return false;
        if (j.contains("faults") && !faults(j["faults"], w + ".faults", a.faults))
            return false;

        // Topology first: disks refer to it.
        if (!list(j, "enclosures", w, a.enclosures, [&](const json &o, const std::string &iw, Enclosure &e) {
                return topo(a, o, iw, 0, "", &kRecord_Enclosure_Info, "an enclosure", e);
            }))
            return false;
        if (!list(j, "expanders", w, a.expanders, [&](const json &o, const std::string &iw, Expander &e) {
                return topo(a, o, iw, a.info.MaxExpander, "MaxExpander", &kRecord_Exp_Info, "an expander", e);
            }))
            return false;
        if (!list(j, "pms", w, a.pms, [&](const json &o, const std::string &iw, PM &p) {
                return topo(a, o, iw, a.info.MaxPM, "MaxPM", &kRecord_PM_Info, "a port multiplier", p);
            }))
            return false;
        if (!list(j, "pds", w, a.pds, [&](const json &o, const std::string &iw, PD &p) { return pd(a, o, iw, p); }))
            return false;
        if (!list(j, "arrays", w, a.arrays, [&](const json &o, const std::string &iw, Array &g) { return array(a, o, iw, g); }))
            return false;

        std::map<uint16_t, BlockGiven> blockGiven;
        if (!list(j, "blocks", w, a.blocks, [&](const json &o, const std::string &iw, Block &b) {
                BlockGiven g;
                if (!block(a, o, iw, b, g))
                    return false;
                blockGiven[b.id] = g;
                return true;
            }))
            return false;

        std::map<uint16_t, bool> vdBlocksGiven;
        std::map<uint16_t, std::vector<uint16_t>> vdPds;
        if (!list(j, "vds", w, a.vds, [&](const json &o, const std::string &iw, VD &v) {
                bool given = false;
                std::vector<uint16_t> pds;
                if (!vd(a, o, iw, v, given, pds))
                    return false;
                vdBlocksGiven[v.id] = given;
                vdPds[v.id] = pds;
                return true;
            }))
            return false;

        if (!link(a, w, blockGiven, vdBlocksGiven, vdPds) || !events(j, w, a))
            return false;
        for (const Family *f : families())
            if (f->read && !f->read(*this, j, w, a))
                return false;
        return true;
    }

    // Cross references, placement of blocks and allocation of the VDs that
    // were given by their disks.
    bool link(Adapter &a, const std::string &w, std::map<uint16_t, BlockGiven> &blockGiven,
              std::map<uint16_t, bool> &vdBlocksGiven, std::map<uint16_t, std::vector<uint16_t>> &vdPds)
    {
        for (auto &e : a.expanders) {
            std::string ew = w + ".expanders(id " + std::to_string(e.first) + ")";
            if (!checkParent(a, e.second.parent, ew))
                return false;
            if (e.second.enclosure != kNone16 && !a.enclosures.count(e.second.enclosure))
                return fail(ew + ".enclosure", "no enclosure " + std::to_string(e.second.enclosure));
        }
        for (auto &p : a.pms)
            if (!checkParent(a, p.second.parent, w + ".pms(id " + std::to_string(p.first) + ")"))
                return false;
        for (auto &p : a.pds) {
            std::string pw = w + ".pds(id " + std::to_string(p.first) + ")";
            if (!checkParent(a, p.second.parent, pw))
                return false;
            if (p.second.enclosure != kNone16 && !a.enclosures.count(p.second.enclosure))
                return fail(pw + ".enclosure", "no enclosure " + std::to_string(p.second.enclosure));
            if (p.second.spare >= 0 && p.second.spare != PD::kGlobalSpare && !a.arrays.count(static_cast<uint16_t>(p.second.spare)))
                return fail(pw + ".spare", "no array " + std::to_string(p.second.spare));
        }
        for (auto &g : a.arrays) {
            std::vector<uint16_t> disks = g.second.pds;
            disks.insert(disks.end(), g.second.target.pds.begin(), g.second.target.pds.end());
            for (uint16_t id : disks)
                if (id != kLostMember && !a.pds.count(id))
                    return fail(w + ".arrays(id " + std::to_string(g.first) + ").pds", "no physical disk " + std::to_string(id));
        }

        // Blocks without a start follow the blocks before them on their disk.
        std::map<uint16_t, uint64_t> nextStart;
        for (auto &b : a.blocks) {
            std::string bw = w + ".blocks(id " + std::to_string(b.first) + ")";
            Block &blk = b.second;
            auto pit = a.pds.find(blk.pd);
            if (pit == a.pds.end())
                return fail(bw + ".pd", "no physical disk " + std::to_string(blk.pd));
            if (blk.vd != kNone16 && !a.vds.count(blk.vd))
                return fail(bw + ".vd", "no virtual disk " + std::to_string(blk.vd));
            if (!blockGiven[b.first].start)
                blk.startKiB = nextStart[blk.pd];
            if (!blockGiven[b.first].size)
                blk.sizeKiB = std::min<uint64_t>(kDefaultBlockKiB, pit->second.sizeKiB > blk.startKiB ? pit->second.sizeKiB - blk.startKiB : 0);
            if (blk.startKiB + blk.sizeKiB > pit->second.sizeKiB || blk.startKiB + blk.sizeKiB < blk.startKiB)
                return fail(bw, "block does not fit on physical disk " + std::to_string(blk.pd));
            nextStart[blk.pd] = std::max(nextStart[blk.pd], blk.startKiB + blk.sizeKiB);
        }

        for (auto &v : a.vds) {
            VD &vd = v.second;
            std::string vw = w + ".vds(id " + std::to_string(v.first) + ")";
            if (vd.array != kNone16 && !a.arrays.count(vd.array))
                return fail(vw + ".array", "no array " + std::to_string(vd.array));
            if (vdBlocksGiven[v.first]) {
                for (uint16_t b : vd.layout.blocks) {
                    if (b == kLostMember)
                        continue;
                    Block *blk = a.findBlock(b);
                    if (!blk)
                        return fail(vw + ".blocks", "no block " + std::to_string(b));
                    if (blk->vd != kNone16 && blk->vd != vd.id)
                        return fail(vw + ".blocks", "block " + std::to_string(b) + " belongs to virtual disk " +
                                                         std::to_string(blk->vd));
                    blk->vd = vd.id;
                }
            } else {
                for (auto &b : a.blocks)
                    if (b.second.vd == vd.id)
                        vd.layout.blocks.push_back(b.first);
            }
        }
        // A block may serve one VD only.
        for (auto &b : a.blocks) {
            unsigned owners = 0;
            for (auto &v : a.vds)
                owners += static_cast<unsigned>(std::count(v.second.layout.blocks.begin(), v.second.layout.blocks.end(), b.first));
            if (owners > 1)
                return fail(w + ".blocks(id " + std::to_string(b.first) + ")", "block is a member more than once");
        }

        for (auto &v : a.vds) {
            VD &vd = v.second;
            const std::vector<uint16_t> &pds = vdPds[v.first];
            if (pds.empty() || !vd.layout.blocks.empty())
                continue;
            std::string vw = w + ".vds(id " + std::to_string(v.first) + ")";
            uint64_t member = 0;
            for (size_t i = 0; i < pds.size(); ++i) {
                auto pit = a.pds.find(pds[i]);
                if (pit == a.pds.end())
                    return fail(vw + ".pds", "no physical disk " + std::to_string(pds[i]));
                uint64_t used = a.pdUsedKiB(pds[i]);
                uint64_t freeKiB = used < pit->second.sizeKiB ? pit->second.sizeKiB - used : 0;
                if (i == 0 || freeKiB < member)
                    member = freeKiB;
            }
            if (vd.layout.sizeKiB) {
                unsigned data = dataDiskCount(vd.layout.raid, static_cast<unsigned>(pds.size()), vd.layout.parity,
                                              vd.layout.subVDs);
                uint64_t perData = (vd.layout.sizeKiB + data - 1) / data;
                if (perData > member)
                    return fail(vw + ".size", "the disks have no room for " + std::to_string(vd.layout.sizeKiB) + " KiB");
                member = perData;
            }
            if (member == 0)
                return fail(vw + ".pds", "no free space on the disks");
            for (uint16_t p : pds) {
                uint16_t b = a.allocateBlock(p, member, vd.id);
                if (b == kNone16)
                    return fail(vw + ".pds", "physical disk " + std::to_string(p) + " has no room for a block of " +
                                                 std::to_string(member) + " KiB");
                vd.layout.blocks.push_back(b);
            }
        }
        // A migration's target may reuse blocks allocated just above.
        for (auto &v : a.vds)
            for (uint16_t b : v.second.target.blocks)
                if (b != kLostMember && !a.blocks.count(b))
                    return fail(w + ".vds(id " + std::to_string(v.first) + ").target.blocks",
                                "no block " + std::to_string(b));
        return true;
    }

    bool events(const json &j, const std::string &w, Adapter &a)
    {
        if (!j.contains("events"))
            return true;
        const json &l = j["events"];
        if (!l.is_array())
            return fail(w + ".events", std::string("expected a list, found ") + l.type_name());
        for (size_t i = 0; i < l.size(); ++i) {
            std::string ew = w + ".events[" + std::to_string(i) + "]";
            const json &o = l[i];
            if (!o.is_object())
                return fail(ew, "expected an object {\"Event\": {...}}");
            for (auto it = o.begin(); it != o.end(); ++it)
                if (it.key() != "Event")
                    return fail(ew + "." + it.key(), "unknown key of an event");
            Event e;
            std::memset(&e, 0, sizeof e);
            e.AdapterID = a.number;
            e.TimeStamp = static_cast<KX_U32>(anchorMs / 1000);
            e.Severity = SEV_INFO;
            json given = o.contains("Event") ? o["Event"] : json::object();
            if (!applyJson(&kRecord_Event, given, ew + ".Event", &e, error))
                return false;
            if (given.is_object() && given.contains("SequenceNo")) {
                if (e.SequenceNo >= a.nextSeq)
                    a.nextSeq = e.SequenceNo + 1;
            } else {
                e.SequenceNo = a.nextSeq++;
            }
            a.events.push_back(e);
        }
        return true;
    }
};

// ---- writing -------------------------------------------------------------

json parentJson(const ParentLink &p)
{
    json o = json::object();
    switch (p.kind) {
    case ParentLink::HBA: o["type"] = "hba"; break;
    case ParentLink::EXPANDER: o["type"] = "expander"; break;
    case ParentLink::PM: o["type"] = "pm"; break;
    default: o["type"] = "enclosure"; break;
    }
    if (p.kind != ParentLink::HBA)
        o["id"] = p.id;
    o["port"] = p.port;
    return o;
}

json bgaJson(const Bga &b)
{
    return json{{"type", b.type}, {"state", stateWord(b.state)}, {"percent", b.percent}, {"since", b.sinceMs}};
}

void putOverlays(json &o, const Overlays &ov)
{
    for (const Overlay &x : ov.list)
        o[x.desc->name] = x.source;
}

json memberJson(const std::vector<uint16_t> &ids)
{
    json out = json::array();
    for (uint16_t id : ids)
        out.push_back(id == kLostMember ? json(nullptr) : json(id));
    return out;
}

json layoutJson(const Layout &l, json o)
{
    o["raid"] = l.raid;
    o["stripe"] = l.stripe;
    o["parity"] = l.parity;
    o["subVDs"] = l.subVDs;
    o["blocks"] = memberJson(l.blocks);
    if (l.sizeKiB)
        o["size"] = l.sizeKiB;
    return o;
}

json adapterJson(const Adapter &a)
{
    json j = json::object();
    j["Adapter_Info"] = dumpRecord(&kRecord_Adapter_Info, &a.info);
    j["Adapter_Config_V2"] = dumpRecord(&kRecord_Adapter_Config_V2, &a.config);
    j["BBU_Info"] = dumpRecord(&kRecord_BBU_Info, &a.bbu);
    j["bbu"] = a.hasBbu;
    j["bgaSpeed"] = a.bgaSpeed;
    j["nextSequenceNo"] = a.nextSeq;
    j["rescanCount"] = a.rescanCount;

    json enclosures = json::array();
    for (const auto &x : a.enclosures) {
        json o{{"id", x.first}, {"parent", parentJson(x.second.parent)}};
        putOverlays(o, x.second.ov);
        enclosures.push_back(o);
    }
    json expanders = json::array();
    for (const auto &x : a.expanders) {
        json o{{"id", x.first}, {"parent", parentJson(x.second.parent)}, {"phys", x.second.phys}};
        o["enclosure"] = x.second.enclosure == kNone16 ? json(nullptr) : json(x.second.enclosure);
        putOverlays(o, x.second.ov);
        expanders.push_back(o);
    }
    json pms = json::array();
    for (const auto &x : a.pms) {
        json o{{"id", x.first}, {"parent", parentJson(x.second.parent)}, {"ports", x.second.ports}};
        putOverlays(o, x.second.ov);
        pms.push_back(o);
    }
    json pds = json::array();
    for (const auto &x : a.pds) {
        const PD &p = x.second;
        json o{{"id", p.id}, {"size", p.sizeKiB}, {"model", p.model}, {"serial", p.serial}, {"firmware", p.firmware}};
        o["interface"] = p.iface == PD::SAS ? "sas" : p.iface == PD::PATA ? "pata" : "sata";
        o["ssd"] = p.ssd;
        o["state"] = p.state == PD::OFFLINE ? "offline" : p.state == PD::MISSING ? "missing" : "online";
        if (p.spare == PD::kGlobalSpare)
            o["spare"] = "global";
        else if (p.spare >= 0)
            o["spare"] = p.spare;
        o["foreign"] = p.foreign;
        o["smartExceeded"] = p.smartExceeded;
        o["writeCache"] = p.writeCache;
        o["smartOn"] = p.smartOn;
        o["os"] = p.os;
        o["locate"] = p.locate;
        o["partitioned"] = p.partitioned;
        o["parent"] = parentJson(p.parent);
        o["enclosure"] = p.enclosure == kNone16 ? json(nullptr) : json(p.enclosure);
        if (p.bga.active())
            o["bga"] = bgaJson(p.bga);
        putOverlays(o, p.ov);
        pds.push_back(o);
    }
    json blocks = json::array();
    for (const auto &x : a.blocks) {
        const Block &b = x.second;
        json o{{"id", b.id}, {"pd", b.pd}, {"start", b.startKiB}, {"size", b.sizeKiB}};
        o["vd"] = b.vd == kNone16 ? json(nullptr) : json(b.vd);
        putOverlays(o, b.ov);
        blocks.push_back(o);
    }
    json vds = json::array();
    for (const auto &x : a.vds) {
        const VD &v = x.second;
        json o = layoutJson(v.layout, json{{"id", v.id}, {"name", v.name}});
        o["array"] = v.array == kNone16 ? json(nullptr) : json(v.array);
        if (v.status >= 0)
            o["status"] = v.status;
        o["initialized"] = v.initialized;
        o["cache"] = v.cache;
        o["autoRebuild"] = v.autoRebuild;
        o["sector"] = v.sector;
        o["tandemWaterMark"] = v.tandemWaterMark;
        o["tandemRebuildMode"] = v.tandemRebuildMode;
        if (v.linkedPD != kNone16)
            o["linkedPD"] = v.linkedPD;
        o["os"] = v.os;
        o["created"] = v.created;
        if (v.bga.active())
            o["bga"] = bgaJson(v.bga);
        if (v.hasTarget) {
            json t = layoutJson(v.target, json::object());
            if (!v.targetOv.empty())
                t["LD_Info"] = v.targetOv.source;
            o["target"] = t;
        }
        putOverlays(o, v.ov);
        vds.push_back(o);
    }
    json arrays = json::array();
    for (const auto &x : a.arrays) {
        const Array &g = x.second;
        json o{{"id", g.id}, {"name", g.name}, {"raid", g.raid}, {"stripe", g.stripe}, {"parity", g.parity},
               {"subVDs", g.subVDs}, {"writeCache", g.writeCache}, {"pds", memberJson(g.pds)}};
        if (g.sizeKiB)
            o["size"] = g.sizeKiB;
        if (g.bga.active())
            o["bga"] = bgaJson(g.bga);
        if (g.hasTarget)
            o["target"] = json{{"raid", g.target.raid}, {"parity", g.target.parity}, {"subVDs", g.target.subVDs},
                               {"pds", g.target.pds}};
        putOverlays(o, g.ov);
        arrays.push_back(o);
    }
    json events = json::array();
    for (const Event &e : a.events)
        events.push_back(json{{"Event", dumpRecord(&kRecord_Event, &e)}});

    j["enclosures"] = enclosures;
    j["expanders"] = expanders;
    j["pms"] = pms;
    j["pds"] = pds;
    j["arrays"] = arrays;
    j["blocks"] = blocks;
    j["vds"] = vds;
    j["events"] = events;
    json faults = json::object();
    for (const auto &f : a.faults)
        faults[f.first] = f.second;
    j["faults"] = faults;
    for (const Family *f : families())
        if (f->write)
            f->write(a, j);
    return j;
}

}  // namespace

bool stateFromJson(const json &doc, int64_t anchorMs, State &out, std::string &error)
{
    Reader r{error, anchorMs};
    if (!doc.is_object())
        return r.fail("document", std::string("expected an object, found ") + doc.type_name());
    for (auto it = doc.begin(); it != doc.end(); ++it)
        if (it.key() != "adapters" && it.key() != "faults")
            return r.fail(it.key(), "unknown key of the document (adapters, faults)");
    State s;
    if (doc.contains("faults") && !r.faults(doc["faults"], "faults", s.faults))
        return false;
    if (!doc.contains("adapters")) {
        // Only top-level keys given: the default controller with them.
        State d = defaultState(anchorMs);
        d.faults = s.faults;
        out = std::move(d);
        return true;
    }
    const json &list = doc["adapters"];
    if (!list.is_array())
        return r.fail("adapters", std::string("expected a list, found ") + list.type_name());
    if (list.size() > 16)
        return r.fail("adapters", "at most 16 adapters");
    for (size_t i = 0; i < list.size(); ++i) {
        Adapter a;
        a.number = static_cast<uint8_t>(i);
        if (!r.adapter(list[i], "adapters[" + std::to_string(i) + "]", a))
            return false;
        s.adapters.push_back(std::move(a));
    }
    out = std::move(s);
    return true;
}

json stateToJson(const State &s)
{
    json doc = json::object();
    json adapters = json::array();
    for (const Adapter &a : s.adapters)
        adapters.push_back(adapterJson(a));
    doc["adapters"] = adapters;
    json faults = json::object();
    for (const auto &f : s.faults)
        faults[f.first] = f.second;
    doc["faults"] = faults;
    return doc;
}

State defaultState(int64_t anchorMs)
{
    State s;
    Adapter a;
    a.number = 0;
    defaultAdapterRecords(a);

    Enclosure enc;
    enc.id = 0;
    enc.parent.kind = ParentLink::HBA;
    enc.parent.port = 0;
    a.enclosures[0] = enc;

    Expander exp;
    exp.id = 0;
    exp.parent.kind = ParentLink::HBA;
    exp.parent.port = 0;
    exp.enclosure = 0;
    a.expanders[0] = exp;

    for (uint16_t id = 0; id < 6; ++id) {
        PD pd = defaultPD(a, id);
        pd.parent.kind = ParentLink::EXPANDER;
        pd.parent.id = 0;
        pd.parent.port = static_cast<uint8_t>(id);
        pd.enclosure = 0;
        if (id == 5) {
            pd.ssd = true;
            pd.model = "KORVEX SIM480 SSD";
            pd.sizeKiB = 468851544;
        }
        a.pds[id] = pd;
    }
    a.pds[4].spare = PD::kGlobalSpare;

    Array g;
    g.id = 0;
    g.name = "array0";
    g.raid = 5;
    g.stripe = 64;
    g.pds = {0, 1, 2, 3};
    a.arrays[0] = g;

    VD vd;
    vd.id = 0;
    vd.name = "data";
    vd.array = 0;
    vd.layout.raid = 5;
    vd.layout.stripe = 64;
    vd.initialized = true;
    vd.created = static_cast<uint32_t>(anchorMs / 1000);
    a.vds[0] = vd;
    for (uint16_t p = 0; p < 4; ++p)
        a.vds[0].layout.blocks.push_back(a.allocateBlock(p, kDefaultBlockKiB, 0));

    Event &e = a.queueEvent(EVC_ADAPTER, 9, 0, SEV_INFO);
    e.TimeStamp = static_cast<KX_U32>(anchorMs / 1000);
    const char *serial = reinterpret_cast<const char *>(a.info.SerialNo);
    size_t n = strnlen(serial, sizeof a.info.SerialNo);
    std::memcpy(e.SenseData, serial, n);
    e.SenseDataLength = static_cast<KX_U8>(n);

    for (const Family *f : families())
        if (f->defaults)
            f->defaults(a);
    s.adapters.push_back(std::move(a));
    return s;
}

}  // namespace sim
