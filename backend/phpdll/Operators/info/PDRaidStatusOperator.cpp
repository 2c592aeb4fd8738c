// "KX_PD_GetHDRaidStatus": the RAID role of PDs, a paged list.
#include "APIClass/Requests.h"
#include "DataType/SingleType/ValueText.h"
#include "Operators/OperatorTable.h"
#include "Operators/info/RecordValues.h"
#include "Operators/request/RequestOperator.h"

class PDRaidStatusOperator : public RequestOperator {
    KX_OPERATOR_DECLARE_NAME
    static const std::string m_structName;

    PDRaidStatusOperator() : RequestOperator(m_OperatorName) {}
    const std::string &structName() const override { return m_structName; }

    void run() override
    {
        runList<PDRaidStatusRequest>([](const HD_RAID_Status &r, ValuesMap &out) {
            out["DGID"] = kxDecimal(r.DGID);
            out["HDID"] = kxDecimal(r.HDID);
            out["Status"] = kxDecimal(r.Status);
        });
    }
};

KX_OPERATOR_NAME(PDRaidStatusOperator, "KX_PD_GetHDRaidStatus")
const std::string PDRaidStatusOperator::m_structName = "Status";
KX_REGISTER_OPERATOR(PDRaidStatusOperator)
