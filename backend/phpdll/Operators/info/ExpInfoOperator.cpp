// "KX_PD_GetExpanderInfo": the expanders of an adapter, a paged list.
#include "APIClass/Requests.h"
#include "DataType/SingleType/ValueText.h"
#include "Operators/OperatorTable.h"
#include "Operators/info/RecordValues.h"
#include "Operators/request/RequestOperator.h"

class ExpInfoOperator : public LinkedListOperator {
    KX_OPERATOR_DECLARE_NAME
    static const std::string m_structName;

    ExpInfoOperator() : LinkedListOperator(m_OperatorName) {}
    const std::string &structName() const override { return m_structName; }

    void run() override
    {
        runLinkedList<ExpInfoRequest>([](const Exp_Info &r, ValuesMap &out) {
            out["AdapterID"] = kxDecimal(r.AdapterID);
            out["ComponentID"] = kxDecimal(r.ComponentID);
            out["ComponentRevisionID"] = kxDecimal(r.ComponentRevisionID);
            // The identity texts are one byte longer than they may be shown:
            // the last byte is room for a terminator the device may not send.
            out["ComponentVendorID"] = kxText(r.ComponentVendorID, 8);
            out["Configuring"] = kxDecimal(r.Configuring);
            out["ExpChangeCount"] = kxDecimal(r.ExpChangeCount);
            out["MaxRouteIndexes"] = kxDecimal(r.MaxRouteIndexes);
            out["PhyCount"] = kxDecimal(r.PhyCount);
            out["ProductID"] = kxText(r.ProductID, 16);
            out["ProductRev"] = kxText(r.ProductRev, 4);
            out["RouteTableConfigurable"] = kxDecimal(r.RouteTableConfigurable);
            out["VendorID"] = kxText(r.VendorID, 8);
        });
    }
};

KX_OPERATOR_NAME(ExpInfoOperator, "KX_PD_GetExpanderInfo")
const std::string ExpInfoOperator::m_structName = "ExpanderInfo";
KX_REGISTER_OPERATOR(ExpInfoOperator)
