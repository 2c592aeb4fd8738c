// "AR_Module_GetInfo": the versions of the suite's own parts, as the GUI's
// about page shows them. No controller call.
#include "DataType/SingleType/ValueText.h"
#include "Operators/KXAPIOperator.h"
#include "Operators/OperatorTable.h"

namespace {
struct ModuleVersion {
    const char *element;
    KX_U32 major, minor, oem, build;
};
// Major.Minor.OEM.Build of the product, this module's PHP glue, the module
// and the service daemon.
const ModuleVersion kVersions[] = {
    {"product", 1, 0, 0, 16},
    {"php_arrayrpc", 1, 0, 0, 25},
    {"arrayrpc", 1, 2, 0, 2},
    {"arraywatch", 3, 1, 0, 1},
};
} // namespace

class ModuleGetInfoOperator : public KXAPIOperator {
    KX_OPERATOR_DECLARE_NAME

    ModuleGetInfoOperator() : KXAPIOperator(m_OperatorName) {}

    bool analyze(ValuesMap &) override { return true; }
    void run() override { m_APIRet = KX_SUCCESS; }
    void buildXML() override
    {
        m_xml.addResult(m_APIRet);
        for (const ModuleVersion &v : kVersions) {
            ValuesMap out;
            out["Build"] = kxDecimal(v.build);
            out["Major"] = kxDecimal(v.major);
            out["Minor"] = kxDecimal(v.minor);
            out["OEM"] = kxDecimal(v.oem);
            m_xml.addStructBody(m_xml.addStructNameToRoot("AR_VER_INFO", v.element), out);
        }
    }
};

KX_OPERATOR_NAME(ModuleGetInfoOperator, "AR_Module_GetInfo")
KX_REGISTER_OPERATOR(ModuleGetInfoOperator)
