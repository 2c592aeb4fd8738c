// "KX_Adapter_GetCount": the number of adapters, reported as RetVal.
#include "Operators/KXAPIOperator.h"
#include "Operators/OperatorTable.h"
#include "kx_api.h"

class AdapterCountOperator : public KXAPIOperator {
    KX_OPERATOR_DECLARE_NAME

    AdapterCountOperator() : KXAPIOperator(m_OperatorName) {}

    bool analyze(ValuesMap &params) override
    {
        // Read like every request's adapter number, but the count is the
        // same whichever adapter is named, and also without one.
        getAdapterID(params);
        return true;
    }
    void run() override { m_APIRet = KX_Adapter_GetCount(); }
};

KX_OPERATOR_NAME(AdapterCountOperator, "KX_Adapter_GetCount")
KX_REGISTER_OPERATOR(AdapterCountOperator)
