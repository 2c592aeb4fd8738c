// "KX_BLK_GetInfo": the blocks of an adapter, a paged list.
#include "APIClass/Requests.h"
#include "DataType/SingleType/ValueText.h"
#include "Operators/OperatorTable.h"
#include "Operators/info/RecordValues.h"
#include "Operators/request/RequestOperator.h"

class BlkInfoOperator : public RequestOperator {
    KX_OPERATOR_DECLARE_NAME
    static const std::string m_structName;

    BlkInfoOperator() : RequestOperator(m_OperatorName) {}
    const std::string &structName() const override { return m_structName; }

    void run() override
    {
        runList<BLKInfoRequest>([](const Block_Info &r, ValuesMap &out) {
            out["BlockSize"] = kxDecimal(r.BlockSize);
            out["Flags"] = kxDecimal(r.Flags);
            out["HDID"] = kxDecimal(r.HDID);
            out["ID"] = kxDecimal(r.ID);
            out["LDID"] = kxDecimal(r.LDID);
            out["ReservedSpaceForMigration"] = kxDecimal(r.ReservedSpaceForMigration);
            out["Size"] = kxDecimal(r.Size);
            out["StartLBA"] = kxDecimal(r.StartLBA);
            out["Status"] = kxDecimal(r.Status);
        });
    }
};

KX_OPERATOR_NAME(BlkInfoOperator, "KX_BLK_GetInfo")
const std::string BlkInfoOperator::m_structName = "blockInfo";
KX_REGISTER_OPERATOR(BlkInfoOperator)
