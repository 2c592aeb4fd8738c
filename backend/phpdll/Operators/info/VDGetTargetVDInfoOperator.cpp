// "KX_LD_GetTargetLDInfo": the layout a migrating VD is moving to.
#include <cstring>

#include "DataType/SingleType/ValueText.h"
#include "DataType/StructType/StructParser.h"
#include "Operators/KXAPIOperator.h"
#include "Operators/OperatorTable.h"
#include "Operators/info/RecordValues.h"
#include "kx_api.h"

class VDGetTargetVDInfoOperator : public KXAPIOperator {
    KX_OPERATOR_DECLARE_NAME

    VDGetTargetVDInfoOperator() : KXAPIOperator(m_OperatorName), m_vdID(0)
    {
        std::memset(&m_info, 0, sizeof m_info);
    }

    bool analyze(ValuesMap &params) override
    {
        if (!getAdapterID(params))
            return false;
        KX_READ_FIELD(params, "LD_ID", m_idParser, m_vdID);
        return true;
    }
    void run() override
    {
        if (!m_hasAdapter)
            return;
        std::memset(&m_info, 0, sizeof m_info);
        m_APIRet = KX_LD_GetTargetLDInfo(m_adapterID, m_vdID, &m_info);
    }
    void buildXML() override
    {
        m_xml.addResult(m_APIRet);
        if (!m_hasAdapter)
            return;
        // The target layout has no blocks yet: no block count or size.
        ValuesMap out = kxLDInfoValues(m_info);
        out.erase("BlkCount");
        out.erase("BlockSize");
        m_xml.addRetStruct("LDInfo", out);
    }

private:
    U16Parser m_idParser;
    KX_U16 m_vdID;
    LD_Info m_info;
};

KX_OPERATOR_NAME(VDGetTargetVDInfoOperator, "KX_LD_GetTargetLDInfo")
KX_REGISTER_OPERATOR(VDGetTargetVDInfoOperator)
