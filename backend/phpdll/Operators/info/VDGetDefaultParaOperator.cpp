// "KX_LD_GetDefaultPara": the cache settings the GUI proposes for a new VD.
#include <cstring>

#include "DataType/SingleType/ValueText.h"
#include "Operators/KXAPIOperator.h"
#include "Operators/OperatorTable.h"
#include "kx_api.h"

// Write cache is proposed off on adapters that have no cache protection
// (AdvancedFeatures bit 3 without bit 14), read-ahead (4) unless bit 15
// says the adapter has none. On failure the values stay as they were.
extern "C" KX_U8 KX_AR_VD_GetDefaultPara(KX_U8 adapter, KX_U8 *writeCache, KX_U8 *readCache)
{
    Adapter_Info info;
    std::memset(&info, 0, sizeof info);
    KX_U8 count = 1;
    KX_U8 status = KX_Adapter_GetInfo(adapter, &count, &info);
    if (status != KX_SUCCESS)
        return status;
    *writeCache = ((info.AdvancedFeatures & 0x8) && !(info.AdvancedFeatures & 0x4000)) ? 0 : 1;
    *readCache = (info.AdvancedFeatures & 0x8000) ? 0 : 4;
    return status;
}

class VDGetDefaultParaOperator : public KXAPIOperator {
    KX_OPERATOR_DECLARE_NAME

    VDGetDefaultParaOperator() : KXAPIOperator(m_OperatorName), m_writeCache(0), m_readCache(0) {}

    bool analyze(ValuesMap &params) override { return getAdapterID(params); }
    void run() override
    {
        if (m_hasAdapter)
            m_APIRet = KX_AR_VD_GetDefaultPara(m_adapterID, &m_writeCache, &m_readCache);
    }
    void buildXML() override
    {
        m_xml.addResult(m_APIRet);
        if (!m_hasAdapter)
            return;
        m_xml.addValue("WriteCache", kxDecimal(m_writeCache), "U8");
        m_xml.addValue("ReadCache", kxDecimal(m_readCache), "U8");
    }

private:
    KX_U8 m_writeCache;
    KX_U8 m_readCache;
};

KX_OPERATOR_NAME(VDGetDefaultParaOperator, "KX_LD_GetDefaultPara")
KX_REGISTER_OPERATOR(VDGetDefaultParaOperator)
