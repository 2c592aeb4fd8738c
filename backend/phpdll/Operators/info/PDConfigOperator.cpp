// "KX_PD_GetConfig": the settings of PDs, a paged list.
#include "APIClass/Requests.h"
#include "DataType/SingleType/ValueText.h"
#include "Operators/OperatorTable.h"
#include "Operators/info/RecordValues.h"
#include "Operators/request/RequestOperator.h"

class PDConfigOperator : public RequestOperator {
    KX_OPERATOR_DECLARE_NAME
    static const std::string m_structName;

    PDConfigOperator() : RequestOperator(m_OperatorName) {}
    const std::string &structName() const override { return m_structName; }

    void run() override
    {
        runList<PDConfigRequest>([](const HD_Config &r, ValuesMap &out) {
            out["crypto"] = kxDecimal(r.crypto);
            out["DriveSpeed"] = kxDecimal(r.DriveSpeed);
            out["HDID"] = kxDecimal(r.HDID);
            out["Online"] = kxDecimal(r.Online);
            // The progress of the disk's encryption pass.
            out["Percentage"] = kxDecimal(r.AESPercentage);
            out["SMARTOn"] = kxDecimal(r.SMARTOn);
            out["WriteCacheOn"] = kxDecimal(r.WriteCacheOn);
        });
    }
};

KX_OPERATOR_NAME(PDConfigOperator, "KX_PD_GetConfig")
const std::string PDConfigOperator::m_structName = "Config";
KX_REGISTER_OPERATOR(PDConfigOperator)
