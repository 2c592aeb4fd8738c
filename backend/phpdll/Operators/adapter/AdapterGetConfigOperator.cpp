// "KX_Adapter_GetConfig": the settings of an adapter (or, with adapter
// number 255, of every adapter).
#include <cstring>
#include <vector>

#include "DataType/SingleType/ValueText.h"
#include "Operators/KXAPIOperator.h"
#include "Operators/OperatorTable.h"
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
        // As for the information records: room for one at least, since a
        // single-adapter call writes one whatever the count says.
        unsigned room = KX_Adapter_GetCount();
        if (room == 0)
            room = 1;
        std::vector<Adapter_Config_V2> records(room);
        std::memset(records.data(), 0, room * sizeof(Adapter_Config_V2));
        KX_U8 count = 0;
        m_APIRet = KX_Adapter_GetConfig(m_adapterID, &count, records.data());
        m_count = count;
        for (unsigned i = 0; i < count && i < room; ++i)
            m_records.push_back(records[i]);
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
