// The adapter and battery requests that change something and answer with
// the controller's status alone: "KX_AdapterMute", "KX_API_RescanAdapter",
// "KX_BBU_ChangePower", "KX_BBU_SetStatus", "KX_BBU_SetThreshold" and
// "KX_Flash_Erase".
#include "APIClass/APIClass.h"
#include "DataType/StructType/StructParser.h"
#include "Operators/KXAPIOperator.h"
#include "Operators/OperatorTable.h"
#include "kx_api.h"

class AdapterMuteOperator : public KXAPIOperator {
    KX_OPERATOR_DECLARE_NAME
    AdapterMuteOperator() : KXAPIOperator(m_OperatorName) {}
    bool analyze(ValuesMap &params) override { return getAdapterID(params); }
    void run() override
    {
        if (m_hasAdapter)
            m_APIRet = KX_AdapterMute(m_adapterID);
    }
};
KX_OPERATOR_NAME(AdapterMuteOperator, "KX_AdapterMute")
KX_REGISTER_OPERATOR(AdapterMuteOperator)

class AdapterRescanOperator : public KXAPIOperator {
    KX_OPERATOR_DECLARE_NAME
    AdapterRescanOperator() : KXAPIOperator(m_OperatorName) {}
    bool analyze(ValuesMap &) override { return true; }
    void run() override
    {
        m_APIRet = KX_API_RescanAdapter();
        // Adapters may have come or gone: list buffers must be sized from
        // fresh adapter records again.
        APIClass::reset();
    }
};
KX_OPERATOR_NAME(AdapterRescanOperator, "KX_API_RescanAdapter")
KX_REGISTER_OPERATOR(AdapterRescanOperator)

namespace {
// An adapter request with one U8 parameter, kept between requests.
class AdapterByteOperator : public KXAPIOperator {
public:
    typedef KX_U8 (*Call)(KX_U8, KX_U8);
    AdapterByteOperator(const std::string &name, const char *param, Call call)
        : KXAPIOperator(name), m_param(param), m_call(call), m_value(0)
    {
    }
    bool analyze(ValuesMap &params) override
    {
        if (!getAdapterID(params))
            return false;
        KX_READ_FIELD(params, m_param, m_parser, m_value);
        return true;
    }
    void run() override
    {
        if (m_hasAdapter)
            m_APIRet = m_call(m_adapterID, m_value);
    }

private:
    const char *m_param;
    Call m_call;
    U8Parser m_parser;
    KX_U8 m_value;
};
} // namespace

class BBUChangePowerOperator : public AdapterByteOperator {
    KX_OPERATOR_DECLARE_NAME
    BBUChangePowerOperator() : AdapterByteOperator(m_OperatorName, "action", KX_BBU_ChangePower) {}
};
KX_OPERATOR_NAME(BBUChangePowerOperator, "KX_BBU_ChangePower")
KX_REGISTER_OPERATOR(BBUChangePowerOperator)

class BBUStatusOperator : public AdapterByteOperator {
    KX_OPERATOR_DECLARE_NAME
    BBUStatusOperator() : AdapterByteOperator(m_OperatorName, "status", KX_BBU_SetStatus) {}
};
KX_OPERATOR_NAME(BBUStatusOperator, "KX_BBU_SetStatus")
KX_REGISTER_OPERATOR(BBUStatusOperator)

class FlashEraseOperator : public AdapterByteOperator {
    KX_OPERATOR_DECLARE_NAME
    FlashEraseOperator() : AdapterByteOperator(m_OperatorName, "Page", KX_Flash_Erase) {}
};
KX_OPERATOR_NAME(FlashEraseOperator, "KX_Flash_Erase")
KX_REGISTER_OPERATOR(FlashEraseOperator)

class BBUSetThresholdOperator : public KXAPIOperator {
    KX_OPERATOR_DECLARE_NAME
    BBUSetThresholdOperator()
        : KXAPIOperator(m_OperatorName), m_tempLower(0), m_tempUpper(0), m_volLower(0), m_volUpper(0)
    {
    }
    bool analyze(ValuesMap &params) override
    {
        if (!getAdapterID(params))
            return false;
        KX_READ_FIELD(params, "tempLowerBound", m_parser, m_tempLower);
        KX_READ_FIELD(params, "tempUpperBound", m_parser, m_tempUpper);
        KX_READ_FIELD(params, "volLowerBound", m_parser, m_volLower);
        KX_READ_FIELD(params, "volUpperBound", m_parser, m_volUpper);
        return true;
    }
    void run() override
    {
        if (!m_hasAdapter)
            return;
        // The voltage bounds only follow temperature bounds the battery
        // accepted, so a refused request leaves both pairs as they were.
        m_APIRet = KX_BBU_SetThreshold(m_adapterID, 1, m_tempLower, m_tempUpper);
        if (m_APIRet == KX_SUCCESS)
            m_APIRet = KX_BBU_SetThreshold(m_adapterID, 2, m_volLower, m_volUpper);
    }

private:
    U16Parser m_parser;
    KX_U16 m_tempLower, m_tempUpper, m_volLower, m_volUpper;
};
KX_OPERATOR_NAME(BBUSetThresholdOperator, "KX_BBU_SetThreshold")
KX_REGISTER_OPERATOR(BBUSetThresholdOperator)
