// "KX_LD_GetInfo": the VDs of an adapter, a paged list.
#include "APIClass/Requests.h"
#include "DataType/SingleType/ValueText.h"
#include "Operators/OperatorTable.h"
#include "Operators/info/RecordValues.h"
#include "Operators/request/RequestOperator.h"

class VDInfoOperator : public RequestOperator {
    KX_OPERATOR_DECLARE_NAME
    static const std::string m_structName;

    VDInfoOperator() : RequestOperator(m_OperatorName) {}
    const std::string &structName() const override { return m_structName; }

    static void toMap(const LD_Info &r, ValuesMap &out) { out = kxLDInfoValues(r); }

    void run() override
    {
        m_bodyResult.clear();
        if (!m_hasAdapter) {
            m_xml.addResult(m_APIRet);
            return;
        }
        VDInfoRequest request(m_parser.getStruct(), m_adapterID);
        request.runAPI();
        m_APIRet = request.getAPIResult();
        // Unlike the other lists, a failing first call leaves the paging
        // entries out of the echoed header: the GUI reads their absence as
        // "the VD list could not be read" rather than "no VDs".
        if (m_APIRet == KX_SUCCESS) {
            for (; request.isEnd(); request.moveToNext()) {
                m_bodyResult.emplace_back();
                toMap(*request.getInstance(), m_bodyResult.back());
            }
            buildHeader(&request);
            m_APIRet = request.getAPIResult();
        }
        m_xml.addResult(m_APIRet);
    }
};

KX_OPERATOR_NAME(VDInfoOperator, "KX_LD_GetInfo")
const std::string VDInfoOperator::m_structName = "LDInfo";
KX_REGISTER_OPERATOR(VDInfoOperator)
