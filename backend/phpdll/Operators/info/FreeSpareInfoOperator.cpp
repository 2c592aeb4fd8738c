// "KX_PD_GetFreeSpaceInfo": free space on PDs, a paged list.
#include "APIClass/Requests.h"
#include "DataType/SingleType/ValueText.h"
#include "Operators/OperatorTable.h"
#include "Operators/info/RecordValues.h"
#include "Operators/request/RequestOperator.h"

class FreeSpareInfoOperator : public RequestOperator {
    KX_OPERATOR_DECLARE_NAME
    static const std::string m_structName;

    FreeSpareInfoOperator() : RequestOperator(m_OperatorName) {}
    const std::string &structName() const override { return m_structName; }

    void run() override
    {
        runList<FreeSpareInfoRequest>([](const HD_FreeSpaceInfo &r, ValuesMap &out) {
            out["AdapterID"] = kxDecimal(r.AdapterID);
            out["ID"] = kxDecimal(r.ID);
            out["isFixed"] = kxDecimal(r.isFixed);
            out["Size"] = kxDecimal(r.Size);
        });
    }
};

KX_OPERATOR_NAME(FreeSpareInfoOperator, "KX_PD_GetFreeSpaceInfo")
const std::string FreeSpareInfoOperator::m_structName = "HD_Info";
KX_REGISTER_OPERATOR(FreeSpareInfoOperator)
