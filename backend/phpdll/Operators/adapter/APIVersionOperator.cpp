// "KX_API_Version": the controller library's version text. The text itself
// is the answer, in place of a result code.
#include "Operators/KXAPIOperator.h"
#include "Operators/OperatorTable.h"
#include "kx_api.h"

class APIVersionOperator : public KXAPIOperator {
    KX_OPERATOR_DECLARE_NAME

    APIVersionOperator() : KXAPIOperator(m_OperatorName) {}

    bool analyze(ValuesMap &) override { return true; }
    void run() override
    {
        const char *version = KX_API_Version();
        m_version = version ? version : "";
    }
    void buildXML() override { m_xml.addValue("RetVal", m_version, "string"); }

private:
    std::string m_version;
};

KX_OPERATOR_NAME(APIVersionOperator, "KX_API_Version")
KX_REGISTER_OPERATOR(APIVersionOperator)
