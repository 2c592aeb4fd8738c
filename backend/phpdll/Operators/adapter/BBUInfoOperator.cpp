// "KX_BBU_GetInfo": the state of an adapter's backup battery unit.
#include <cstring>

#include "DataType/SingleType/ValueText.h"
#include "Operators/KXAPIOperator.h"
#include "Operators/OperatorTable.h"
#include "kx_api.h"

class BBUInfoOperator : public KXAPIOperator {
    KX_OPERATOR_DECLARE_NAME

    BBUInfoOperator() : KXAPIOperator(m_OperatorName), m_read(false)
    {
        std::memset(&m_info, 0, sizeof m_info);
    }

    bool analyze(ValuesMap &params) override { return getAdapterID(params); }

    void run() override
    {
        m_read = false;
        if (!m_hasAdapter)
            return;
        std::memset(&m_info, 0, sizeof m_info);
        m_APIRet = KX_BBU_GetInfo(m_adapterID, &m_info);
        // An adapter without a battery leaves the record zero (or fails);
        // a record with nothing in it is not shown.
        const unsigned char *bytes = reinterpret_cast<const unsigned char *>(&m_info);
        for (unsigned i = 0; i < sizeof m_info && !m_read; ++i)
            m_read = bytes[i] != 0;
    }

    void buildXML() override
    {
        m_xml.addResult(m_APIRet);
        if (!m_read)
            return;
        const BBU_Info &r = m_info;
        ValuesMap out;
        out["status"] = kxDecimal(r.status);
        out["prev_status"] = kxDecimal(r.prev_status);
        out["voltage"] = kxDecimal(static_cast<KX_U32>(r.voltage));
        out["supportMaxCapacity"] = kxDecimal(r.supportMaxCapacity);
        out["supportMinCapacity"] = kxDecimal(r.supportMinCapacity);
        out["maxCapacity"] = kxDecimal(r.maxCapacity);
        out["curCapacity"] = kxDecimal(r.curCapacity);
        out["time_to_empty"] = kxDecimal(r.time_to_empty);
        out["time_to_full"] = kxDecimal(r.time_to_full);
        out["recharge_cycle"] = kxDecimal(r.recharge_cycle);
        out["featureSupport"] = kxDecimal(r.featureSupport);
        // Signed in the record: a battery below 0 degrees is reported as
        // such, not as a temperature of some 65000 degrees.
        out["temperature"] = kxDecimal(r.temperature);
        out["volt_lowerbound"] = kxDecimal(r.volt_lowerbound);
        out["volt_upperbound"] = kxDecimal(r.volt_upperbound);
        out["temp_lowerbound"] = kxDecimal(static_cast<KX_U16>(r.temp_lowerbound));
        out["temp_upperbound"] = kxDecimal(static_cast<KX_U16>(r.temp_upperbound));
        out["percentage"] = kxDecimal(r.percentage);
        out["percent_to_charge"] = kxDecimal(r.percent_to_charge);
        out["flags"] = kxDecimal(r.flags);
        m_xml.addRetStruct("BBU_Info", out);
    }

private:
    BBU_Info m_info;
    bool m_read;
};

KX_OPERATOR_NAME(BBUInfoOperator, "KX_BBU_GetInfo")
KX_REGISTER_OPERATOR(BBUInfoOperator)
