// "KX_LD_GetStatus": status and background activity of VDs, a paged list.
#include "APIClass/Requests.h"
#include "DataType/SingleType/ValueText.h"
#include "Operators/OperatorTable.h"
#include "Operators/request/RequestOperator.h"

class VDStatusOperator : public RequestOperator {
    KX_OPERATOR_DECLARE_NAME
    static const std::string m_structName;

    VDStatusOperator() : RequestOperator(m_OperatorName) {}
    const std::string &structName() const override { return m_structName; }

    void run() override
    {
        runList<VDStatusRequest>([](const LD_Status &s, ValuesMap &out) {
            out["Bga"] = kxDecimal(s.Bga);
            out["BgaExt"] = kxDecimal(s.BgaExt);
            out["BgaPercentage"] = kxDecimal(s.BgaPercentage);
            out["BgaState"] = kxDecimal(s.BgaState);
            out["LDID"] = kxDecimal(s.LDID);
            out["Status"] = kxDecimal(s.Status);
        });
    }
};

KX_OPERATOR_NAME(VDStatusOperator, "KX_LD_GetStatus")
const std::string VDStatusOperator::m_structName = "Status";
KX_REGISTER_OPERATOR(VDStatusOperator)
