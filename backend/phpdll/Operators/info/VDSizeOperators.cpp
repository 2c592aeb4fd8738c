// "KX_LD_GetMaxSize" and "KX_LD_GetMigratedLdSize".
#include "Operators/info/VDSizeOperators.h"

#include <cstring>

#include "DataType/SingleType/ValueText.h"
#include "Operators/OperatorTable.h"
#include "Operators/info/RecordValues.h"
#include "kx_api.h"

VDSizeOperator::VDSizeOperator(const std::string &name, SizeCall call, bool withLDID)
    : KXAPIOperator(name), m_call(call), m_withLDID(withLDID)
{
    std::memset(&m_answer, 0, sizeof m_answer);
}

bool VDSizeOperator::analyze(ValuesMap &params)
{
    if (!getAdapterID(params))
        return false;
    m_parser.parse(params);
    return true;
}

void VDSizeOperator::run()
{
    if (!m_hasAdapter)
        return;
    m_answer = m_parser.getStruct();
    m_APIRet = m_call(m_adapterID, &m_answer);
}

void VDSizeOperator::buildXML()
{
    m_xml.addResult(m_APIRet);
    if (!m_hasAdapter)
        return;
    const Create_LD_Param &r = m_answer;
    ValuesMap out;
    out["CachePolicy"] = kxDecimal(r.CachePolicy);
    out["HDCount"] = kxDecimal(r.HDCount);
    out["HDIDs"] = kxNumberList16(KX_MEMBER_BYTES(r, Create_LD_Param, HDIDs), 128);
    out["InitializationOption"] = kxDecimal(r.InitializationOption);
    out["Name"] = kxText(r.Name, 16);
    out["NumParityDisk"] = kxDecimal(r.NumParityDisk);
    out["RaidMode"] = kxDecimal(r.RaidMode);
    out["RoundingScheme"] = kxDecimal(r.RoundingScheme);
    out["Size"] = kxDecimal(r.Size);
    out["SpecifiedBlkSeq"] = kxDecimal(r.SpecifiedBlkSeq);
    out["StripeBlockSize"] = kxDecimal(r.StripeBlockSize);
    out["SubLDCount"] = kxDecimal(r.SubLDCount);
    if (m_withLDID)
        out["LDID"] = kxDecimal(r.LDID);
    m_xml.addRetStruct("CreateLDParam", out);
}

class VDGetMaxSizeOperator : public VDSizeOperator {
    KX_OPERATOR_DECLARE_NAME
    VDGetMaxSizeOperator() : VDSizeOperator(m_OperatorName, KX_LD_GetMaxSize, false) {}
};
KX_OPERATOR_NAME(VDGetMaxSizeOperator, "KX_LD_GetMaxSize")
KX_REGISTER_OPERATOR(VDGetMaxSizeOperator)

class VDGetMigratedVDSizeOperator : public VDSizeOperator {
    KX_OPERATOR_DECLARE_NAME
    VDGetMigratedVDSizeOperator() : VDSizeOperator(m_OperatorName, KX_LD_GetMigratedLdSize, true) {}
};
KX_OPERATOR_NAME(VDGetMigratedVDSizeOperator, "KX_LD_GetMigratedLdSize")
KX_REGISTER_OPERATOR(VDGetMigratedVDSizeOperator)
