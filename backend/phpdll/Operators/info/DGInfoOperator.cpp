// "KX_DG_GetInfo": the disk groups of an adapter, a paged list.
#include "APIClass/Requests.h"
#include "DataType/SingleType/ValueText.h"
#include "Operators/OperatorTable.h"
#include "Operators/info/RecordValues.h"
#include "Operators/request/RequestOperator.h"

class DGInfoOperator : public RequestOperator {
    KX_OPERATOR_DECLARE_NAME
    static const std::string m_structName;

    DGInfoOperator() : RequestOperator(m_OperatorName) {}
    const std::string &structName() const override { return m_structName; }

    void run() override
    {
        runList<DGInfoRequest>([](const DG_Info &r, ValuesMap &out) {
            out["AdapterID"] = kxDecimal(r.AdapterID);
            out["BgaState"] = kxDecimal(r.BgaState);
            out["BgaType"] = kxDecimal(r.BgaType);
            out["BlockSize"] = kxDecimal(r.BlockSize);
            out["DGID"] = kxDecimal(r.DGID);
            out["Name"] = kxText(r.Name, 16);
            out["NumParityDisk"] = kxDecimal(r.NumParityDisk);
            out["PDBgaRunning"] = kxDecimal(r.PDBgaRunning);
            out["PDCount"] = kxDecimal(r.PDCount);
            out["PDIDs"] = kxNumberList16(KX_MEMBER_BYTES(r, DG_Info, PDIDs), 128);
            out["RaidMode"] = kxDecimal(r.RaidMode);
            out["RemainingManagedSpace"] = kxDecimal(r.RemainingManagedSpace);
            out["SmallestAvailablePDSize"] = kxDecimal(r.SmallestAvailablePDSize);
            out["SparePDCount"] = kxDecimal(r.SparePDCount);
            out["SparePDIDs"] = kxNumberList16(KX_MEMBER_BYTES(r, DG_Info, SparePDIDs), 8);
            out["Status"] = kxDecimal(r.Status);
            out["StripeBlockSize"] = kxDecimal(r.StripeBlockSize);
            out["SubVDCount"] = kxDecimal(r.SubVDCount);
            out["TotalManagedSpace"] = kxDecimal(r.TotalManagedSpace);
            out["VDIDs"] = kxNumberList16(KX_MEMBER_BYTES(r, DG_Info, VDIDs), 32);
            out["VDSlotCount"] = kxDecimal(r.VDSlotCount);
            out["VDSlotSize"] = kxNumberList64(KX_MEMBER_BYTES(r, DG_Info, VDSlotSize), 32);
        });
    }
};

KX_OPERATOR_NAME(DGInfoOperator, "KX_DG_GetInfo")
const std::string DGInfoOperator::m_structName = "DG_Info";
KX_REGISTER_OPERATOR(DGInfoOperator)
