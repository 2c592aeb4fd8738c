// "KX_LD_QuickCreate": a VD from the free disks with the GUI's defaults,
// at the most demanding RAID level they make ("Type" 1; 0 asks for RAID0),
// or ("Type" 2) a Tandem volume of the largest free SSD and the largest
// free hard disk.
#include "APIClass/ReadByID.h"
#include "DataType/StructType/StructParser.h"
#include "Operators/KXAPIOperator.h"
#include "Operators/OperatorTable.h"
#include "Operators/command/VolumeBuilder.h"
#include "kx_api.h"
#include "kx_codes.h"

namespace {
const KX_U8 kOffline = 0x08, kGlobalSpare = 0x04, kDedicatedSpare = 0x40, kForeign = 0x80, kAssigned = 0x02;
const KX_U8 kNoTandemSSD = 28;      // "SSD number is not right in the Tandem"
const KX_U8 kNoTandemHDD = 152;     // "Invalid physical disk count"
} // namespace

class VDQuickCreateOperator : public KXAPIOperator {
    KX_OPERATOR_DECLARE_NAME

    VDQuickCreateOperator() : KXAPIOperator(m_OperatorName), m_type(0), m_tandemMode(0) {}

    bool analyze(ValuesMap &params) override
    {
        if (!getAdapterID(params))
            return false;
        KX_READ_FIELD(params, "Type", m_u8, m_type);
        KX_READ_FIELD(params, "TandemMode", m_u8, m_tandemMode);
        return true;
    }

    void run() override
    {
        if (!m_hasAdapter)
            return;
        m_APIRet = m_type == 2 ? createTandem() : createFromFreeDisks();
    }

private:
    KX_U8 createFromFreeDisks()
    {
        Create_LD_Param p = kxNewVolume("NEW_VD");
        p.CachePolicy = 4;
        p.InitializationOption = 0;
        std::vector<KX_U16> members;
        for (const HD_RAID_Status &s : kxDiskRaidStatuses(m_adapterID)) {
            if (s.Status & (kOffline | kGlobalSpare | kDedicatedSpare | kForeign))
                continue;
            if (kxCheckDiskFree(m_adapterID, s.HDID) == KX_SUCCESS)
                members.push_back(s.HDID);
        }
        kxSetMembers(p, members);
        p.RaidMode = GetRaidMode(m_adapterID, m_type, p);
        p.NumParityDisk = p.RaidMode == 0x60 ? 4 : 2;
        return KX_LD_Create(m_adapterID, &p);
    }

    KX_U8 createTandem()
    {
        bool haveSSD = false, haveHDD = false;
        KX_U16 ssd = 0, hdd = 0;
        uint64_t ssdSize = 0, hddSize = 0;
        for (const HD_RAID_Status &s : kxDiskRaidStatuses(m_adapterID)) {
            if (s.Status & (kOffline | kGlobalSpare | kDedicatedSpare | kForeign | kAssigned))
                continue;
            KX_U8 free = kxCheckDiskFree(m_adapterID, s.HDID);
            if (free != KX_SUCCESS && free != KX_ST_PD_HAS_OS)
                continue;
            HD_Info info = HD_Info();
            if (kxReadByID<HDInfoRequest>(m_adapterID, s.HDID, info) != KX_SUCCESS)
                continue;
            // The first of equal sizes wins.
            const uint64_t size = kxU64Value(info.Size);
            if (info.HD_SSD_Type != 0) {
                if (!haveSSD || size > ssdSize) {
                    haveSSD = true;
                    ssd = s.HDID;
                    ssdSize = size;
                }
            } else if (!haveHDD || size > hddSize) {
                haveHDD = true;
                hdd = s.HDID;
                hddSize = size;
            }
        }
        // Without either disk the volume would be made of whatever disk 0
        // is; nothing is created then.
        if (!haveSSD)
            return kNoTandemSSD;
        if (!haveHDD)
            return kNoTandemHDD;
        Create_LD_Param p = kxNewVolume("Tandem");
        p.TandemWaterMark = 90;
        p.CachePolicy = kxTandemCachePolicy(kxCurrentAdapterInfo(m_adapterID));
        std::vector<KX_U16> members = {ssd, hdd};
        kxSetMembers(p, members);
        // Data the host runs from must survive: the safe Tandem level.
        KX_U8 os = KX_DiskHasOS(m_adapterID, 1, 2, members.data());
        p.RaidMode = (os == KX_ST_PD_HAS_OS || os == KX_ST_VD_HAS_OS) ? static_cast<KX_U8>(KX_RAID_TANDEM_SAFE) : m_tandemMode;
        return KX_LD_Create(m_adapterID, &p);
    }

    U8Parser m_u8;
    KX_U8 m_type;
    KX_U8 m_tandemMode;
};

KX_OPERATOR_NAME(VDQuickCreateOperator, "KX_LD_QuickCreate")
KX_REGISTER_OPERATOR(VDQuickCreateOperator)
