// "KX_LD_GetConfig": the settings of VDs, a paged list.
#include "APIClass/Requests.h"
#include "DataType/SingleType/ValueText.h"
#include "Operators/OperatorTable.h"
#include "Operators/info/RecordValues.h"
#include "Operators/request/RequestOperator.h"

class VDConfigOperator : public RequestOperator {
    KX_OPERATOR_DECLARE_NAME
    static const std::string m_structName;

    VDConfigOperator() : RequestOperator(m_OperatorName) {}
    const std::string &structName() const override { return m_structName; }

    void run() override
    {
        runList<VDConfigRequest>([](const LD_Config &r, ValuesMap &out) {
            out["AutoRebuildOn"] = kxDecimal(r.AutoRebuildOn);
            // Reported as a 16-bit value, which reads the same in decimal.
            out["CacheMode"] = kxDecimal(static_cast<KX_U16>(r.CacheMode));
            out["TandemWaterMark"] = kxDecimal(r.TandemWaterMark);
            out["LDID"] = kxDecimal(r.LDID);
            out["Name"] = kxText(r.Name, 16);
            out["Status"] = kxDecimal(r.Status);
        });
    }
};

KX_OPERATOR_NAME(VDConfigOperator, "KX_LD_GetConfig")
const std::string VDConfigOperator::m_structName = "LDConfig";
KX_REGISTER_OPERATOR(VDConfigOperator)
