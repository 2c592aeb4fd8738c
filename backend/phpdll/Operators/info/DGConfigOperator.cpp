// "KX_DG_GetConfig": the settings of disk groups, a paged list.
#include "APIClass/Requests.h"
#include "DataType/SingleType/ValueText.h"
#include "Operators/OperatorTable.h"
#include "Operators/info/RecordValues.h"
#include "Operators/request/RequestOperator.h"

class DGConfigOperator : public RequestOperator {
    KX_OPERATOR_DECLARE_NAME
    static const std::string m_structName;

    DGConfigOperator() : RequestOperator(m_OperatorName) {}
    const std::string &structName() const override { return m_structName; }

    void run() override
    {
        runList<DGConfigRequest>([](const DG_Config &r, ValuesMap &out) {
            out["DGID"] = kxDecimal(r.DGID);
            out["Name"] = kxText(r.Name, 16);
            out["WriteCacheOn"] = kxDecimal(r.WriteCacheOn);
        });
    }
};

KX_OPERATOR_NAME(DGConfigOperator, "KX_DG_GetConfig")
const std::string DGConfigOperator::m_structName = "DG_Config";
KX_REGISTER_OPERATOR(DGConfigOperator)
