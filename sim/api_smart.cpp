// SMART operations: the attribute table, the reassigned-sector table, and
// commands sent to a disk through the ATA and SCSI pass-through.
//
// Both pass-through operations end in one ATA command interpreter, so a
// command behaves the same whichever way it is sent. It knows SMART RETURN
// STATUS and SMART EXECUTE OFF-LINE IMMEDIATE (short and extended
// self-test, abort); every other command, and every SCSI command other
// than TEST UNIT READY and the ATA PASS-THROUGH blocks, is answered with
// 19 (Not supported), the SCSI ones with CHECK CONDITION and ILLEGAL
// REQUEST sense as a disk would.
#include "api.h"
#include "fam_smart.h"

using namespace sim;

namespace {

// The register image of KX_PassThrough_ATA: written to the disk in this
// order, read back after the command (error in place of the features,
// status in place of the command).
enum AtaReg { ATA_FEATURES, ATA_COUNT, ATA_LBA_LOW, ATA_LBA_MID, ATA_LBA_HIGH, ATA_DEVICE, ATA_COMMAND };
static_assert(KX_ATA_REGISTER_BYTES == ATA_COMMAND + 1, "one register per byte");

constexpr uint8_t kAtaSmart = 0xB0;
constexpr uint8_t kSmartReturnStatus = 0xDA;
constexpr uint8_t kSmartExecuteOffline = 0xD4;
constexpr uint8_t kSmartSignatureMid = 0x4F, kSmartSignatureHigh = 0xC2;
// What SMART RETURN STATUS leaves in LBA mid/high of a disk past a threshold.
constexpr uint8_t kSmartExceededMid = 0xF4, kSmartExceededHigh = 0x2C;
constexpr uint8_t kAtaStatusReady = 0x50;  // DRDY | DSC
// Sub-commands of SMART EXECUTE OFF-LINE IMMEDIATE (in LBA low).
constexpr uint8_t kOfflineShort = 1, kOfflineExtended = 2, kOfflineAbort = 0x7F;

bool isSas(const PD &pd)
{
    return pd.iface == PD::SAS;
}

// Runs one ATA command on a disk; regs in, registers after the command
// out (only when it succeeds). Sets `changed` when the model changed.
uint8_t runAta(Adapter &a, PD &pd, KX_U8 *regs, bool &changed)
{
    if (isSas(pd))
        return KX_ST_NOT_SUPPORTED;  // not an ATA device
    if (regs[ATA_COMMAND] != kAtaSmart)
        return KX_ST_NOT_SUPPORTED;
    if (regs[ATA_LBA_MID] != kSmartSignatureMid || regs[ATA_LBA_HIGH] != kSmartSignatureHigh)
        return KX_ST_INVALID_PARAM;  // a disk aborts SMART commands without the signature
    if (!pd.smartOn)
        return KX_ST_NOT_SUPPORTED;  // SMART is switched off on the disk
    switch (regs[ATA_FEATURES]) {
    case kSmartReturnStatus:
        if (smartThresholdExceeded(a, pd)) {
            regs[ATA_LBA_MID] = kSmartExceededMid;
            regs[ATA_LBA_HIGH] = kSmartExceededHigh;
        }
        break;
    case kSmartExecuteOffline: {
        uint8_t test;
        switch (regs[ATA_LBA_LOW]) {
        case kOfflineShort: test = SELFTEST_SHORT; break;
        case kOfflineExtended: test = SELFTEST_EXTENDED; break;
        case kOfflineAbort: test = SELFTEST_NONE; break;
        default: return KX_ST_NOT_SUPPORTED;
        }
        smartData(a).disks[pd.id].selfTest = test;
        changed = true;
        break;
    }
    default:
        return KX_ST_NOT_SUPPORTED;
    }
    regs[ATA_FEATURES] = 0;  // error register: none
    regs[ATA_COMMAND] = kAtaStatusReady;
    return KX_ST_OK;
}

// SCSI status and fixed-format sense of a refused command.
constexpr uint8_t kScsiCheckCondition = 0x02;
constexpr uint8_t kSenseIllegalRequest = 0x05;
constexpr uint8_t kAscInvalidOpcode = 0x20, kAscInvalidField = 0x24;

void illegalRequest(SCSI_PassThrough &req, uint8_t asc)
{
    req.ScsiStatus = kScsiCheckCondition;
    std::memset(req.Sense, 0, sizeof req.Sense);
    req.Sense[0] = 0x70;  // current error, fixed format
    req.Sense[2] = kSenseIllegalRequest;
    req.Sense[7] = 10;    // additional length
    req.Sense[12] = asc;
    req.SenseLength = 18;
}

// ATA PASS-THROUGH (12) and (16) carry the task file at these CDB offsets
// (SAT); the 16-byte form's extended bytes are not needed by the commands
// the disks know.
struct AtaCdb {
    uint8_t length, features, count, lbaLow, lbaMid, lbaHigh, device, command;
};
constexpr AtaCdb kAta12 = {12, 3, 4, 5, 6, 7, 8, 9};
constexpr AtaCdb kAta16 = {16, 4, 6, 8, 10, 12, 13, 14};

// ATA status return descriptor (descriptor-format sense) with the
// registers after the command, for a CDB that asks for them (CK_COND).
void ataReturn(SCSI_PassThrough &req, const KX_U8 *regs)
{
    std::memset(req.Sense, 0, sizeof req.Sense);
    req.Sense[0] = 0x72;
    req.Sense[7] = 14;
    uint8_t *d = req.Sense + 8;
    d[0] = 0x09;
    d[1] = 12;
    d[3] = regs[ATA_FEATURES];
    d[5] = regs[ATA_COUNT];
    d[7] = regs[ATA_LBA_LOW];
    d[9] = regs[ATA_LBA_MID];
    d[11] = regs[ATA_LBA_HIGH];
    d[12] = regs[ATA_DEVICE];
    d[13] = regs[ATA_COMMAND];
    req.SenseLength = 22;
}

uint8_t runScsi(Adapter &a, PD &pd, SCSI_PassThrough &req, bool &changed)
{
    req.ScsiStatus = 0;
    req.SenseLength = 0;
    const uint8_t opcode = req.Cdb[0];
    if (opcode == 0x00)  // TEST UNIT READY
        return KX_ST_OK;
    const AtaCdb *layout = opcode == 0xA1 ? &kAta12 : opcode == 0x85 ? &kAta16 : nullptr;
    if (!layout) {
        illegalRequest(req, kAscInvalidOpcode);
        return KX_ST_NOT_SUPPORTED;
    }
    if (req.CdbLength != layout->length || req.DataLength != 0) {
        // Commands that move data need a buffer this request has not got.
        illegalRequest(req, kAscInvalidField);
        return KX_ST_INVALID_PARAM;
    }
    KX_U8 regs[KX_ATA_REGISTER_BYTES] = {
        req.Cdb[layout->features], req.Cdb[layout->count],  req.Cdb[layout->lbaLow], req.Cdb[layout->lbaMid],
        req.Cdb[layout->lbaHigh],  req.Cdb[layout->device], req.Cdb[layout->command],
    };
    uint8_t st = runAta(a, pd, regs, changed);
    if (st != KX_ST_OK) {
        illegalRequest(req, kAscInvalidField);
        return st;
    }
    if (req.Cdb[2] & 0x20)  // CK_COND
        ataReturn(req, regs);
    return KX_ST_OK;
}

}  // namespace

SIM_EXPORT KX_U8 KX_PD_GET_SMART_INFO(KX_U8 adapter, KX_U16 hdId, SMART_INFO_Request *request)
{
    SIM_GUARD({
        Session s("KX_PD_GET_SMART_INFO", adapter);
        if (!s.ok())
            return s.status();
        if (adapter == 0xFF)
            return KX_ST_INVALID_PARAM;
        if (!request)
            return KX_ST_INVALID_PARAM;
        RequestHeader &h = request->header;
        h.numReturned = 0;
        h.nextStartingIndex = KX_END_OF_LIST;
        PD *pd = s.adapter().findPD(hdId);
        if (!pd || !pd->visible())
            return KX_ST_BAD_PD;
        if (!pd->smartOn)
            return KX_ST_NOT_SUPPORTED;
        SMART_INFO *out = listRecords<SMART_INFO>(request);
        const std::vector<SMART_INFO> all = smartAttributes(s.adapter(), *pd);
        unsigned written = 0;
        for (size_t i = h.startingIndexOrId; i < all.size(); ++i) {
            if (written == h.numRequested) {
                h.nextStartingIndex = static_cast<KX_U16>(i);
                break;
            }
            std::memcpy(&out[written++], &all[i], sizeof all[i]);
        }
        h.numReturned = static_cast<KX_U16>(written);
        return s.finish(KX_ST_OK);
    })
}

SIM_EXPORT KX_U8 KX_PD_RCT_GetCount(KX_U8 adapter, KX_U16 hdId, KX_U32 *count)
{
    SIM_GUARD({
        Session s("KX_PD_RCT_GetCount", adapter);
        if (!s.ok())
            return s.status();
        if (adapter == 0xFF)
            return KX_ST_INVALID_PARAM;
        if (!count)
            return KX_ST_INVALID_PARAM;
        PD *pd = s.adapter().findPD(hdId);
        if (!pd || !pd->visible())
            return KX_ST_BAD_PD;
        *count = static_cast<KX_U32>(reassignedSectors(*pd).size());
        return s.finish(KX_ST_OK);
    })
}

SIM_EXPORT KX_U8 KX_PD_GetRCT(KX_U8 adapter, KX_U16 hdId, KX_U32 *count, RCT_Entry *entries)
{
    SIM_GUARD({
        Session s("KX_PD_GetRCT", adapter);
        if (!s.ok())
            return s.status();
        if (adapter == 0xFF)
            return KX_ST_INVALID_PARAM;
        if (!count || (*count && !entries))
            return KX_ST_INVALID_PARAM;
        PD *pd = s.adapter().findPD(hdId);
        if (!pd || !pd->visible())
            return KX_ST_BAD_PD;
        std::vector<RCT_Entry> all = reassignedSectors(*pd);
        KX_U32 n = 0;
        for (; n < all.size() && n < *count; ++n)
            std::memcpy(&entries[n], &all[n], sizeof all[n]);
        *count = n;
        return s.finish(KX_ST_OK);
    })
}

SIM_EXPORT KX_U8 KX_PassThrough_ATA(KX_U8 adapter, KX_U8 *regs, KX_U16 hdId)
{
    SIM_GUARD(return onAdapter("KX_PassThrough_ATA", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        if (!regs)
            return KX_ST_INVALID_PARAM;
        PD *pd = a.findPD(hdId);
        if (!pd || !pd->visible())
            return KX_ST_BAD_PD;
        // The caller's registers change only when the command succeeds.
        KX_U8 work[KX_ATA_REGISTER_BYTES];
        std::memcpy(work, regs, sizeof work);
        bool changed = false;
        uint8_t st = runAta(a, *pd, work, changed);
        if (changed)
            s.changed();
        if (st == KX_ST_OK)
            std::memcpy(regs, work, sizeof work);
        return st;
    });)
}

SIM_EXPORT KX_U8 KX_PassThrough_SCSI(KX_U8 adapter, KX_U16 hdId, SCSI_PassThrough *request)
{
    SIM_GUARD(return onAdapter("KX_PassThrough_SCSI", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        if (!request)
            return KX_ST_INVALID_PARAM;
        PD *pd = a.findPD(hdId);
        if (!pd || !pd->visible())
            return KX_ST_BAD_PD;
        bool changed = false;
        uint8_t st = runScsi(a, *pd, *request, changed);
        if (changed)
            s.changed();
        return st;
    });)
}
