// The simulated controller's model and the internal API that every
// operation of the library is written against.
//
// An operation opens a Session: that takes the state file's lock, re-reads
// the state only when another process changed it, lets background
// activities progress to the present, and answers the operation's fault
// entry. The operation then reads or changes the model through the session
// and ends with finish(status), which writes a changed state back
// atomically before the lock is released.
#ifndef SIM_MODEL_H
#define SIM_MODEL_H

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "geometry.h"
#include "kx_codes.h"
#include "kx_records.h"
#include "record_json.h"

namespace sim {

// Sentinels of the controller records.
constexpr uint16_t kNone16 = KX_ID_NONE;
constexpr uint16_t kNone8 = KX_ID8_NONE;  // "no VD" in Block_Info.LDID, unused block slots
// A member slot of a VD (in its blocks) or of an array (in its disks) that
// lost its disk's configuration: it counts as failed until a rebuild fills it.
constexpr uint16_t kLostMember = kNone16;

// Status bytes the model answers with are the KX_ST_* codes of
// kx_codes.h (their texts live in the tools).

// Background activity codes (LD_Status.Bga, DG_Info.BgaType; for disks
// HD_BGA_Status.Bga) and states (BgaState / BgaStatus).
enum BgaType : uint8_t {
    BGA_NONE = 0,
    BGA_REBUILD = 1,
    BGA_SYNC = 2,
    BGA_SYNC_FIX = 4,
    BGA_FAST_INIT = 8,
    BGA_BACKGROUND_INIT = 16,
    BGA_MIGRATION = 32,
    BGA_FOREGROUND_INIT = 64,
    BGA_COPYBACK = 128,
    PD_BGA_MEDIA_PATROL = 1,
    PD_BGA_DATA_SCRUB = 2,
};
enum BgaState : uint8_t {
    BGAS_NONE = 0,
    BGAS_RUNNING = KX_BGA_RUNNING,
    BGAS_ABORTED = KX_BGA_ABORTED,
    BGAS_PAUSED = KX_BGA_PAUSED,
    BGAS_AUTO_PAUSED = KX_BGA_AUTO_PAUSED,
    BGAS_INTERRUPTED = 5,
};

// Activity rates of Adapter_Config_V2 run from 0 to this full rate; the
// tools show them in percent.
constexpr uint8_t kFullRate = 250;
inline uint32_t ratePercent(uint8_t rate) { return rate * 100u / kFullRate; }

// A controller keeps a bounded event queue: past this many events of an
// adapter the oldest give way. Sequence numbers only grow, so a reader
// sees the loss as a gap between the last number it read and the next.
constexpr size_t kEventQueueSize = 512;

// Event classes of the controller's event queue.
enum EventClass : uint16_t {
    EVC_ADAPTER = 0,
    EVC_VD = 1,
    EVC_PD = 2,
    EVC_PM = 3,
    EVC_EXPANDER = 4,
    EVC_ENCLOSURE = 8,
    EVC_BATTERY = 9,
    EVC_MISC = 12,
    EVC_ARRAY = 13,
};
enum Severity : uint8_t { SEV_INFO = 2, SEV_WARNING = 3, SEV_MAJOR = 5, SEV_CRITICAL = 6 };

// A background activity: a small state machine whose progress follows the
// wall clock. While running, percent grows from `percent` (the value when
// it last started or resumed, at `sinceMs`) by the adapter's rate for the
// activity times the adapter's bgaSpeed.
struct Bga {
    uint8_t type = BGA_NONE;
    uint8_t state = BGAS_NONE;
    double percent = 0;
    int64_t sinceMs = 0;

    bool active() const { return type != BGA_NONE && state != BGAS_NONE; }
    bool running() const { return type != BGA_NONE && state == BGAS_RUNNING; }
};

// Record overlays of one object, by record.
struct Overlays {
    std::vector<Overlay> list;
    const Overlay *find(const KXRecordDesc *d) const;
    Overlay *find(const KXRecordDesc *d);
    void apply(const KXRecordDesc *d, void *record) const;
    void dropField(const KXRecordDesc *d, const char *field);
};

// Where an object hangs in the topology (Link.Parent).
struct ParentLink {
    enum Kind : uint8_t { HBA = 255, PM = 2, EXPANDER = 3, ENCLOSURE = 12 };
    uint8_t kind = HBA;
    uint16_t id = 0;   // expander / PM / enclosure ID; unused for HBA
    uint8_t port = 0;  // PHY of the parent the object is attached to
};

struct PD {
    uint16_t id = 0;
    uint64_t sizeKiB = 0;
    std::string model, serial, firmware;
    enum Iface : uint8_t { SATA, SAS, PATA };
    uint8_t iface = SATA;
    bool ssd = false;
    enum State : uint8_t { ONLINE, OFFLINE, MISSING };
    uint8_t state = ONLINE;
    int spare = -1;  // -1 none, kGlobalSpare, else the array it is dedicated to
    bool foreign = false;
    bool smartExceeded = false;
    bool writeCache = true;
    bool smartOn = true;
    bool os = false;
    bool locate = false;
    bool partitioned = false;  // carries a partition table
    ParentLink parent;
    uint16_t enclosure = kNone16;
    Bga bga;  // media patrol / data scrub
    Overlays ov;

    static constexpr int kGlobalSpare = 0xFFFF;
    bool visible() const { return state != MISSING; }
};

struct Block {
    uint16_t id = 0;
    uint16_t pd = 0;
    uint16_t vd = kNone16;  // kNone16: free
    uint64_t startKiB = 0;
    uint64_t sizeKiB = 0;
    Overlays ov;
};

// The layout a migration moves a VD to.
struct Layout {
    uint8_t raid = 0;
    uint16_t stripe = 64;
    uint8_t parity = 0;
    uint8_t subVDs = 0;
    std::vector<uint16_t> blocks;  // member blocks in member order (kLostMember: lost)
    uint64_t sizeKiB = 0;          // 0: computed from the blocks
};

struct VD {
    uint16_t id = 0;
    std::string name;
    Layout layout;
    uint16_t array = kNone16;
    int status = -1;  // -1: derived from the member disks
    bool initialized = false;
    uint8_t cache = 0;
    bool autoRebuild = true;
    uint8_t sector = 1;
    uint8_t tandemWaterMark = 0;
    uint8_t tandemRebuildMode = 0;
    uint16_t linkedPD = kNone16;  // the hard disk a Tandem VD is linked to
    bool os = false;
    uint32_t created = 0;  // seconds since 1970
    Bga bga;
    bool hasTarget = false;
    Layout target;
    Overlay targetOv;  // LD_Info values given for the target layout
    Overlays ov;
};

// The layout an array migration moves to: its VDs are laid out anew over
// these disks when the migration completes.
struct ArrayTarget {
    uint8_t raid = 5;
    uint8_t parity = 0;
    uint8_t subVDs = 0;
    std::vector<uint16_t> pds;
};

struct Array {
    uint16_t id = 0;
    std::string name;
    uint8_t raid = 5;
    uint16_t stripe = 64;
    uint8_t parity = 0;
    uint8_t subVDs = 0;
    bool writeCache = true;
    uint64_t sizeKiB = 0;  // space the array manages; 0: all its members give
    std::vector<uint16_t> pds;  // kLostMember: a member slot whose disk was wiped
    Bga bga;
    bool hasTarget = false;
    ArrayTarget target;
    Overlays ov;
};

struct PM {
    uint16_t id = 0;
    ParentLink parent;
    uint8_t ports = 5;
    Overlays ov;
};

struct Expander {
    uint16_t id = 0;
    ParentLink parent;
    uint8_t phys = 24;
    uint16_t enclosure = kNone16;
    Overlays ov;
};

struct Enclosure {
    uint16_t id = 0;
    ParentLink parent;
    Overlays ov;
};

// A fault entry: calls of an operation (or, under kAnyOperation, of every
// operation) answer `status` without doing anything. Without a count every
// call fails; with one, the calls are counted and the `call`-th fails
// (with `onward`, that one and every later one). The count is state: it
// is stored with the rest, so calls of any process count.
struct Fault {
    uint8_t status = 0;
    uint32_t call = 0;  // 0: every call
    bool onward = false;
    uint32_t made = 0;  // calls counted so far

    bool counted() const { return call != 0; }
};
constexpr const char *kAnyOperation = "*";

// A family's share of an adapter's state (see family.h). Copied deeply
// with the adapter.
struct FamilyData {
    virtual ~FamilyData() = default;
    virtual std::unique_ptr<FamilyData> clone() const = 0;
};
template <class T>
struct FamilyDataOf : FamilyData {
    std::unique_ptr<FamilyData> clone() const override
    {
        return std::make_unique<T>(static_cast<const T &>(*this));
    }
};

class FamilySlots {
public:
    FamilySlots() = default;
    FamilySlots(const FamilySlots &o) { *this = o; }
    FamilySlots(FamilySlots &&) = default;
    FamilySlots &operator=(FamilySlots &&) = default;
    FamilySlots &operator=(const FamilySlots &o)
    {
        if (this != &o) {
            m_slots.clear();
            for (const auto &x : o.m_slots)
                m_slots[x.first] = x.second->clone();
        }
        return *this;
    }
    // The family's data, made when it is first asked for. T derives from
    // FamilyDataOf<T>; one name always holds one type.
    template <class T>
    T &get(const std::string &name)
    {
        auto &p = m_slots[name];
        if (!p)
            p = std::make_unique<T>();
        return static_cast<T &>(*p);
    }
    template <class T>
    const T *find(const std::string &name) const
    {
        auto it = m_slots.find(name);
        return it == m_slots.end() ? nullptr : static_cast<const T *>(it->second.get());
    }

private:
    std::map<std::string, std::unique_ptr<FamilyData>> m_slots;
};

struct Adapter {
    uint8_t number = 0;
    Adapter_Info info{};
    Adapter_Config_V2 config{};
    BBU_Info bbu{};
    bool hasBbu = true;
    double bgaSpeed = 1.0;  // percent per second at the full rate
    uint32_t nextSeq = 1;
    uint16_t rescanCount = 0;
    std::map<uint16_t, PD> pds;
    std::map<uint16_t, Block> blocks;
    std::map<uint16_t, VD> vds;
    std::map<uint16_t, Array> arrays;
    std::map<uint16_t, PM> pms;
    std::map<uint16_t, Expander> expanders;
    std::map<uint16_t, Enclosure> enclosures;
    std::deque<Event> events;
    std::map<std::string, Fault> faults;
    FamilySlots family;  // state of the families of family.h, by name

    bool arrayBased() const { return info.MaxDiskGroup != 0; }
    PD *findPD(uint16_t id);
    VD *findVD(uint16_t id);
    Array *findArray(uint16_t id);
    Block *findBlock(uint16_t id);

    // Queues an event with the next sequence number. Sequence numbers of an
    // adapter only grow, also across a flush of the queue.
    Event &queueEvent(uint16_t cls, uint16_t code, uint16_t device, uint8_t severity,
                      uint32_t p0 = 0, uint32_t p1 = 0, uint32_t p2 = 0, uint32_t p3 = 0);

    // Model queries shared by the operations.
    uint64_t vdSizeKiB(const Layout &l) const;
    unsigned vdMemberCount(const Layout &l) const;
    uint8_t vdStatus(const VD &vd) const;
    uint8_t pdStatusBits(const PD &pd) const;
    uint16_t pdArray(const PD &pd) const;  // array of a member or dedicated spare, else kNone16
    uint64_t pdUsedKiB(uint16_t pd) const;
    // Space an array manages (its own size, or what its smallest member
    // gives times the data disks) and what each member gives for it.
    uint64_t arrayTotalKiB(const Array &g) const;
    uint64_t arrayMemberKiB(const Array &g) const;
    uint8_t rateFor(uint8_t bgaType, bool disk) const;
    double bgaPercent(const Bga &b, uint8_t rate, int64_t nowMs) const;

    // An array's activity is told through the VDs it carries (VD event
    // codes); nothing is queued for code 0 or an array without VDs.
    void queueArrayEvent(uint16_t array, uint16_t code, uint8_t severity);

    // Status of every VD, to compare before and after a change of disks.
    std::map<uint16_t, uint8_t> vdStatuses() const;
    // Queues the VD events (offline, online, degraded) of every VD whose
    // status differs from `before`.
    void queueVdStatusChanges(const std::map<uint16_t, uint8_t> &before);

    // The largest extent of a disk that no VD's block occupies, in KiB:
    // the largest block allocateBlock could still place there.
    uint64_t largestFreeExtent(uint16_t pd) const;

    // Frees the blocks of a VD (they stay as free blocks of their disks).
    void freeBlocksOf(uint16_t vd);
    // The disks a VD's members lie on, in member order (lost members left out).
    std::vector<uint16_t> vdDisks(const VD &vd) const;
    // Starting an activity on a VD or an array stops the media patrol of its
    // member disks (the controller runs one at a time on a disk); each stop
    // is told like one by hand.
    void stopMediaPatrolOn(const std::vector<uint16_t> &pds);
    // Allocates a block of sizeKiB on a disk at its lowest free extent;
    // returns the new block's ID or kNone16 when nothing fits.
    uint16_t allocateBlock(uint16_t pd, uint64_t sizeKiB, uint16_t vd);
};

struct State {
    std::vector<Adapter> adapters;
    std::map<std::string, Fault> faults;  // for operations without an adapter
};

// --- documents ----------------------------------------------------------

// The built-in default controller.
State defaultState(int64_t nowMs);
// Reads a state document (a fixture or a state file written back).
// `anchorMs` stands for times the document leaves out (the file's mtime).
bool stateFromJson(const json &doc, int64_t anchorMs, State &out, std::string &error);
json stateToJson(const State &s);

// --- records built from the model (overlays laid over) -------------------

void buildHDInfo(const Adapter &a, const PD &pd, HD_Info &r, bool extended);
void buildHDConfig(const Adapter &a, const PD &pd, HD_Config &r);
void buildHDRaidStatus(const Adapter &a, const PD &pd, HD_RAID_Status &r);
void buildHDSmartStatus(const Adapter &a, const PD &pd, HD_SMART_Status &r);
void buildHDBgaStatus(const Adapter &a, const PD &pd, HD_BGA_Status &r, int64_t nowMs);
void buildHDFreeSpace(const Adapter &a, const PD &pd, HD_FreeSpaceInfo &r);
void buildHDBlockInfo(const Adapter &a, const PD &pd, HD_Block_Info &r);
void buildBlockInfo(const Adapter &a, const Block &b, Block_Info &r);
void buildLDInfo(const Adapter &a, const VD &vd, LD_Info &r);
void buildTargetLDInfo(const Adapter &a, const VD &vd, LD_Info &r);
void buildLDStatus(const Adapter &a, const VD &vd, LD_Status &r, int64_t nowMs);
void buildLDConfig(const Adapter &a, const VD &vd, LD_Config &r);
void buildDGInfo(const Adapter &a, const Array &g, DG_Info &r, int64_t nowMs);
void buildDGConfig(const Adapter &a, const Array &g, DG_Config &r);
void buildPMInfo(const Adapter &a, const PM &p, PM_Info &r);
void buildExpInfo(const Adapter &a, const Expander &e, Exp_Info &r);
void buildEnclosureInfo(const Adapter &a, const Enclosure &e, Enclosure_Info &r);

// First event code of the ten-code block of a VD or array activity (class
// 1 / 13); the offset in the block is the change: started, restarted,
// paused, resumed, aborted, completed, progress, failed, auto paused,
// auto resumed. Disks have one block, media patrol, from code 17.
uint16_t vdEventBase(uint8_t type);
enum BgaEventOffset : uint16_t {
    BGAE_STARTED = 0,
    BGAE_RESTARTED = 1,
    BGAE_PAUSED = 2,
    BGAE_RESUMED = 3,
    BGAE_ABORTED = 4,
    BGAE_COMPLETED = 5,
};
constexpr uint16_t kPdMediaPatrolBase = 17;
constexpr uint16_t kEndCompleted = BGAE_COMPLETED;

// Forget fixture values that described an activity the library changed.
void dropBgaOverlays(VD &vd);
void dropBgaOverlays(PD &pd);
void dropBgaOverlays(Array &g);

// An activity of `type` that starts running now.
Bga startedBga(uint8_t type, int64_t nowMs);
// The array runs an activity, or one of its VDs does: no other may start.
bool arrayBusy(const Adapter &a, const Array &g);

// Removes a VD (its activity told as stopped, its blocks freed) or an
// array (its dedicated spares become free disks), with their events.
void deleteVd(Adapter &a, uint16_t vd);
void deleteArray(Adapter &a, uint16_t array);

// Gives up the layout a migration was moving to (stopped, or the object
// deleted): blocks taken only for the new layout become free again.
void dropMigrationTarget(Adapter &a, VD &vd);
void dropMigrationTarget(Array &g);

// Rebuilds (rebuild.cpp). KX_LD_StartRebuild, KX_LD_DG_StartRebuild and
// the controller's own rebuild after a member fails all start one here,
// with the same checks, changes and events; each answers a status and
// changes nothing unless it is 0.
//
// A VD's first failed member gets a block of its size on disk `pd` (a
// free disk, a global spare, or a spare of the VD's array).
uint8_t startVdRebuild(Adapter &a, uint16_t vd, uint16_t pd, int64_t nowMs);
// The disks take the places of the array's failed members in order, in
// the array and in each of its VDs, and the array rebuilds.
uint8_t startArrayRebuild(Adapter &a, uint16_t array, const std::vector<uint16_t> &pds, int64_t nowMs);
bool redundantRaid(uint8_t raid);

// The VDs with a block on a disk and the arrays holding it.
struct MemberOf {
    std::vector<uint16_t> vds, arrays;
};
MemberOf memberOf(const Adapter &a, uint16_t pd);
// After a disk failed, went missing or was wiped: with the adapter's
// automatic rebuild on, each VD and array it was a member of (a VD of an
// array through its array) that is degraded, idle and does not have its
// own automatic rebuild off starts rebuilding onto a spare that fits.
// Returns true when one started.
bool startAutoRebuilds(Adapter &a, const MemberOf &lost, int64_t nowMs);

// Lets every background activity progress to nowMs; activities that reach
// 100 % complete (with their effect on the model and their event).
// Returns true when the model changed.
bool advance(State &s, int64_t nowMs);

int64_t nowMs();

// --- sessions -------------------------------------------------------------

std::recursive_mutex &sessionMutex();

class Session {
public:
    // `op` is the operation's name (for its fault entry); `adapter` its
    // adapter argument, or -1 for operations without one (0xFF = all
    // adapters is checked against the top-level faults and adapter 0's).
    Session(const char *op, int adapter);
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    // False when the operation must return status() at once: no state, an
    // unknown adapter, or a fault entry for this operation.
    bool ok() const { return m_status == KX_ST_OK && !m_faulted; }
    uint8_t status() const { return m_status; }

    State &state();
    Adapter &adapter();  // only when constructed with an adapter number
    int64_t now() const { return m_now; }

    // Marks the model changed; finish() then writes it back.
    void changed() { m_dirty = true; }
    // Writes a changed state back and releases the lock. Returns `status`,
    // or a failure when the change could not be stored. A session left
    // without finish() stores nothing.
    uint8_t finish(uint8_t status);

private:
    void open(const char *op, int adapter);

    std::unique_lock<std::recursive_mutex> m_guard;  // threads of this process
    uint8_t m_status = KX_ST_OK;
    bool m_faulted = false;
    bool m_dirty = false;
    bool m_locked = false;
    bool m_finished = false;
    int m_adapter = -1;
    int64_t m_now = 0;
};

// Path of the state file (ARRAYCORE_SIM_STATE or the default).
std::string statePath();
// Reads the state document of `path` (without a session); used by the
// control program and tests. Returns false with a message on failure.
bool loadStateFile(const std::string &path, State &out, std::string &error);
// Replaces the state in statePath() under the lock, without reading what
// is there (the control program's load and reset work on a bad file too).
bool replaceState(const State &s, std::string &error);

}  // namespace sim

#endif
