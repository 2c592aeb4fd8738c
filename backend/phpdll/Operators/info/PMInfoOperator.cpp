// "KX_PD_GetPMInfo": the port multipliers of an adapter, a paged list.
#include "APIClass/Requests.h"
#include "DataType/SingleType/ValueText.h"
#include "Operators/OperatorTable.h"
#include "Operators/info/RecordValues.h"
#include "Operators/request/RequestOperator.h"

class PMInfoOperator : public LinkedListOperator {
    KX_OPERATOR_DECLARE_NAME
    static const std::string m_structName;

    PMInfoOperator() : LinkedListOperator(m_OperatorName) {}
    const std::string &structName() const override { return m_structName; }

    void run() override
    {
        runLinkedList<PMInfoRequest>([](const PM_Info &r, ValuesMap &out) {
            out["AdapterID"] = kxDecimal(r.AdapterID);
            out["DeviceId"] = kxDecimal(r.DeviceId);
            out["NumberOfPorts"] = kxDecimal(r.NumberOfPorts);
            out["PMSpecRevision"] = kxDecimal(r.PMSpecRevision);
            out["ProductRevision"] = kxDecimal(r.ProductRevision);
            out["VendorId"] = kxDecimal(r.VendorId);
        });
    }
};

KX_OPERATOR_NAME(PMInfoOperator, "KX_PD_GetPMInfo")
const std::string PMInfoOperator::m_structName = "PM_Info";
KX_REGISTER_OPERATOR(PMInfoOperator)
