// "KX_TandemHDD_Create" and "KX_TandemHDD_GetMaxSize": Tandem volumes
// (hard disks with an SSD cache) chosen disk by disk.
#include "APIClass/ReadByID.h"
#include "DataType/SingleType/ValueText.h"
#include "DataType/StructType/CreateParsers.h"
#include "Operators/OperatorTable.h"
#include "Operators/command/RecordOperator.h"
#include "Operators/command/VolumeBuilder.h"
#include "kx_api.h"

#include <cstdio>

namespace {
const KX_U8 kBadRequest = 1;
const unsigned kVDsPerPage = 4;

// How many VDs the adapter has, paging on at the index each page reports;
// stops at a failing call or a short page.
unsigned countVDs(KX_U8 adapter)
{
    VDInfoRequest vds(kxEveryRecord(), adapter, sizeof(RequestHeader) + kVDsPerPage * sizeof(LD_Info));
    vds.runAPI();
    unsigned n = 0;
    for (; vds.isEnd(); vds.moveToNext())
        ++n;
    return n;
}

// The initialisation a Tandem level starts with; 0xFF for a KeepData the
// GUI does not send.
KX_U8 initialisationFor(KX_U8 raidMode, KX_U8 keepData)
{
    if (raidMode == 10)
        return 0;
    switch (keepData) {
    case 0: return 3;
    case 1: return 0;
    case 2: return 5;
    default: return 0xFF;
    }
}

KX_U8 createTandem(KX_U8 adapter, TandemHDDCreate *t)
{
    if (t->SSDCount == 0 || t->HDCount == 0 || t->RaidMode < 10 || t->RaidMode > 12)
        return kBadRequest;
    // The create record has room for 128 members.
    if (t->SSDCount > 128 || t->HDCount > 128 || t->SSDCount + t->HDCount > 128)
        return kBadRequest;
    const KX_U8 init = initialisationFor(t->RaidMode, t->KeepData);
    if (init == 0xFF)
        return kBadRequest;

    Create_LD_Param p = kxNewVolume("");
    p.RaidMode = t->RaidMode;
    p.InitializationOption = init;
    std::vector<KX_U16> members(t->SSDIDs, t->SSDIDs + t->SSDCount);
    members.insert(members.end(), t->HDIDs, t->HDIDs + t->HDCount);
    kxSetMembers(p, members);
    p.TandemWaterMark = t->TandemWaterMark;
    p.Size = t->Size;
    p.CachePolicy = kxTandemCachePolicy(kxCurrentAdapterInfo(adapter));
    char name[sizeof p.Name + 1];
    std::snprintf(name, sizeof name, "Tandem_%u", countVDs(adapter));
    std::memcpy(p.Name, name, std::strlen(name));
    return KX_LD_Create(adapter, &p);
}

} // namespace

KX_RECORD_OPERATOR(TandemHDDCreateOperator, "KX_TandemHDD_Create", TandemHDDCreateParser, createTandem)

class TandemHDDGetMaxSizeOperator : public RecordOperator<TandemHDDParamParser> {
    KX_OPERATOR_DECLARE_NAME

    TandemHDDGetMaxSizeOperator() : RecordOperator(m_OperatorName, KX_Tandem_GetFreeSize), m_size(0) {}

    void run() override
    {
        RecordOperator::run();
        if (!m_hasAdapter)
            return;
        // Half of what the controller reports, but never more than the disk
        // holds; a disk the controller finds no room on is offered whole.
        m_size = kxU64Value(m_record.FreeSize) / 2;
        HD_Info disk = HD_Info();
        if (kxReadByID<HDInfoRequest>(m_adapterID, m_parser.getStruct().HDID, disk) == KX_SUCCESS) {
            const uint64_t whole = kxU64Value(disk.Size);
            if (m_size == 0 || m_size > whole)
                m_size = whole;
        }
    }

    void buildXML() override
    {
        KXAPIOperator::buildXML();
        if (m_hasAdapter)
            m_xml.addValue("TandemFreeSize", kxDecimal(kxU64Make(m_size)), "U64");
    }

private:
    uint64_t m_size;
};
KX_OPERATOR_NAME(TandemHDDGetMaxSizeOperator, "KX_TandemHDD_GetMaxSize")
KX_REGISTER_OPERATOR(TandemHDDGetMaxSizeOperator)
