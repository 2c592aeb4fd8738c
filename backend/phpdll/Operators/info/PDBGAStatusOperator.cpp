// "KX_PD_GetBGAStatus": background activities of PDs, a paged list.
#include "APIClass/Requests.h"
#include "DataType/SingleType/ValueText.h"
#include "Operators/OperatorTable.h"
#include "Operators/info/RecordValues.h"
#include "Operators/request/RequestOperator.h"

class PDBGAStatusOperator : public RequestOperator {
    KX_OPERATOR_DECLARE_NAME
    static const std::string m_structName;

    PDBGAStatusOperator() : RequestOperator(m_OperatorName) {}
    const std::string &structName() const override { return m_structName; }

    void run() override
    {
        runList<PDBGAStatusRequest>([](const HD_BGA_Status &r, ValuesMap &out) {
            out["Bga"] = kxDecimal(r.Bga);
            out["BgaStatus"] = kxDecimal(static_cast<KX_U16>(r.BgaStatus));
            out["HDID"] = kxDecimal(r.HDID);
            out["Percentage"] = kxDecimal(r.Percentage);
            out["Status"] = kxDecimal(r.Status);
        });
    }
};

KX_OPERATOR_NAME(PDBGAStatusOperator, "KX_PD_GetBGAStatus")
const std::string PDBGAStatusOperator::m_structName = "HD_BGA_Status";
KX_REGISTER_OPERATOR(PDBGAStatusOperator)
