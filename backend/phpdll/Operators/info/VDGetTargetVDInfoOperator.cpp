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
        const LD_Info &r = m_info;
        ValuesMap out;
        out["AdapterID"] = kxDecimal(r.AdapterID);
        out["BGAStatus"] = kxDecimal(r.BGAStatus);
        out["BlockIDs"] = kxNumberList16(KX_MEMBER_BYTES(r, LD_Info, BlockIDs), 128);
        out["CacheMode"] = kxDecimal(r.CacheMode);
        out["DGID"] = kxDecimal(r.DGID);
        out["HDCount"] = kxDecimal(r.HDCount);
        out["ID"] = kxDecimal(r.ID);
        out["Name"] = kxText(r.Name, 16);
        out["NumParityDisk"] = kxDecimal(r.NumParityDisk);
        out["RaidMode"] = kxDecimal(r.RaidMode);
        out["SectorCoefficient"] = kxDecimal(r.SectorCoefficient);
        out["Size"] = kxDecimal(r.Size);
        out["Status"] = kxDecimal(r.Status);
        out["StripeBlockSize"] = kxDecimal(r.StripeBlockSize);
        out["SubLDCount"] = kxDecimal(r.SubLDCount);
        m_xml.addRetStruct("LDInfo", out);
    }

private:
    U16Parser m_idParser;
    KX_U16 m_vdID;
    LD_Info m_info;
};

KX_OPERATOR_NAME(VDGetTargetVDInfoOperator, "KX_LD_GetTargetLDInfo")
KX_REGISTER_OPERATOR(VDGetTargetVDInfoOperator)
