// "KX_Adapter_GetConfig": the settings of an adapter (or, with adapter
// number 255, of every adapter).
#include <cstring>
#include <vector>

#include "DataType/SingleType/ValueText.h"
#include "Operators/KXAPIOperator.h"
#include "Operators/OperatorTable.h"
#include "Operators/adapter/AdapterCapabilities.h"
#include "kx_api.h"

class AdapterGetConfigOperator : public KXAPIOperator {
    KX_OPERATOR_DECLARE_NAME

    AdapterGetConfigOperator() : KXAPIOperator(m_OperatorName), m_count(0) {}

    bool analyze(ValuesMap &params) override { return getAdapterID(params); }

    void run() override
    {
        m_records.clear();
        m_count = 0;
        if (!m_hasAdapter)
            return;
        m_APIRet = kxReadAdapterRecords(KX_Adapter_GetConfig, m_adapterID, m_count, m_records);
    }

    static ValuesMap members(const Adapter_Config_V2 &r)
    {
        ValuesMap out;
        out["AlarmOn"] = kxDecimal(r.AlarmOn);
        out["AutoRebuildOn"] = kxDecimal(r.AutoRebuildOn);
        out["BGARate"] = kxDecimal(r.BGARate);
        out["PollSMARTStatus"] = kxDecimal(r.PollSMARTStatus);
        out["MediaPatrolRate"] = kxDecimal(r.MediaPatrolRate);
        out["CopyBack"] = kxDecimal(r.CopyBack);
        out["SyncRate"] = kxDecimal(r.SyncRate);
        out["InitRate"] = kxDecimal(r.InitRate);
        out["RebuildRate"] = kxDecimal(r.RebuildRate);
        out["MigrationRate"] = kxDecimal(r.MigrationRate);
        out["CopybackRate"] = kxDecimal(r.CopybackRate);
        out["InterruptCoalescing"] = kxDecimal(r.InterruptCoalescing);
        out["ModuleConsolidate"] = kxDecimal(r.ModuleConsolidate);
        out["v_atapi_disable"] = kxDecimal(r.v_atapi_disable);
        out["port_phy_ctrl"] = kxNumberList(r.port_phy_ctrl, 8);
        return out;
    }

    void buildXML() override
    {
        m_xml.addResult(m_APIRet);
        if (!m_hasAdapter)
            return;
        m_xml.addValue("Count", kxDecimal(m_count), "U8");
        for (const Adapter_Config_V2 &r : m_records)
            m_xml.addStructBody(m_xml.addStructNameToRoot("Adapter_Config_V2", "AdapterInfo"), members(r));
        m_records.clear();
    }

private:
    std::vector<Adapter_Config_V2> m_records;
    KX_U8 m_count;
};

KX_OPERATOR_NAME(AdapterGetConfigOperator, "KX_Adapter_GetConfig")
KX_REGISTER_OPERATOR(AdapterGetConfigOperator)
