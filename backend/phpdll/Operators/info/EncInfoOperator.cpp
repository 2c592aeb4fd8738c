// "KX_ENC_GetEnclosureInfo": the enclosures of an adapter, a paged list.
#include "APIClass/Requests.h"
#include "DataType/SingleType/ValueText.h"
#include "Operators/OperatorTable.h"
#include "Operators/info/RecordValues.h"
#include "Operators/request/RequestOperator.h"

class EncInfoOperator : public LinkedListOperator {
    KX_OPERATOR_DECLARE_NAME
    static const std::string m_structName;

    EncInfoOperator() : LinkedListOperator(m_OperatorName) {}
    const std::string &structName() const override { return m_structName; }

    void run() override
    {
        runLinkedList<ENCInfoRequest>([](const Enclosure_Info &r, ValuesMap &out) {
            out["AdapterID"] = kxDecimal(r.AdapterID);
            out["ExpanderCount"] = kxDecimal(r.ExpanderCount);
            out["ExpanderIDs"] = kxNumberList16(KX_MEMBER_BYTES(r, Enclosure_Info, ExpanderIDs), 8);
            // As for expanders, the last byte of each identity text is
            // terminator room and never shown.
            out["LogicalID"] = kxText(r.LogicalID, 8);
            out["lun"] = kxDecimal(r.lun);
            out["path"] = kxDecimal(r.path);
            out["ProductID"] = kxText(r.ProductID, 16);
            out["RevisionLevel"] = kxText(r.RevisionLevel, 4);
            out["slice"] = kxDecimal(r.slice);
            out["Status"] = kxDecimal(r.Status);
            out["target"] = kxDecimal(r.target);
            out["VendorID"] = kxText(r.VendorID, 8);
        });
    }
};

KX_OPERATOR_NAME(EncInfoOperator, "KX_ENC_GetEnclosureInfo")
const std::string EncInfoOperator::m_structName = "Enclosure_Info";
KX_REGISTER_OPERATOR(EncInfoOperator)
