// "KX_Adapter_SetConfig", "KX_LD_SetConfig", "KX_DG_SetConfig" and
// "KX_PD_SetConfig": settings changed in place. The parser reads the
// current record when it analyses the request; a record it could not read
// is not written back, and the request answers the failed read's status.
#include <type_traits>
#include <utility>

#include "DataType/StructType/ConfigParsers.h"
#include "Operators/KXAPIOperator.h"
#include "Operators/OperatorTable.h"
#include "kx_api.h"

namespace {

template <typename Parser>
class SetConfigOperator : public KXAPIOperator {
public:
    explicit SetConfigOperator(const std::string &requestName) : KXAPIOperator(requestName), m_record() {}

    bool analyze(ValuesMap &params) override
    {
        if (!getAdapterID(params))
            return false;
        m_parser.setAdapter(m_adapterID);
        m_parser.parse(params);
        return true;
    }

    void run() override
    {
        if (!m_hasAdapter)
            return;
        m_APIRet = m_parser.readStatus();
        if (m_APIRet != KX_SUCCESS)
            return;
        m_record = m_parser.getStruct();
        m_APIRet = write();
    }

protected:
    virtual KX_U8 write() = 0;
    Parser m_parser;
    typename std::remove_reference<decltype(std::declval<Parser &>().getStruct())>::type m_record;
};

} // namespace

class AdapterSetConfigOperator : public SetConfigOperator<AdapterConfigParser> {
    KX_OPERATOR_DECLARE_NAME
    AdapterSetConfigOperator() : SetConfigOperator(m_OperatorName) {}
    KX_U8 write() override { return KX_Adapter_SetConfig(m_adapterID, &m_record); }
};
KX_OPERATOR_NAME(AdapterSetConfigOperator, "KX_Adapter_SetConfig")
KX_REGISTER_OPERATOR(AdapterSetConfigOperator)

class VDSetConfigOperator : public SetConfigOperator<LDConfigParser> {
    KX_OPERATOR_DECLARE_NAME
    VDSetConfigOperator() : SetConfigOperator(m_OperatorName) {}
    KX_U8 write() override { return KX_LD_SetConfig(m_adapterID, m_parser.getIDValue(), &m_record); }
};
KX_OPERATOR_NAME(VDSetConfigOperator, "KX_LD_SetConfig")
KX_REGISTER_OPERATOR(VDSetConfigOperator)

class DGSetConfigOperator : public SetConfigOperator<DGConfigParser> {
    KX_OPERATOR_DECLARE_NAME
    DGSetConfigOperator() : SetConfigOperator(m_OperatorName) {}
    KX_U8 write() override { return KX_DG_SetConfig(m_adapterID, m_parser.getIDValue(), &m_record); }
};
KX_OPERATOR_NAME(DGSetConfigOperator, "KX_DG_SetConfig")
KX_REGISTER_OPERATOR(DGSetConfigOperator)

class PDSetConfigOperator : public SetConfigOperator<PDConfigParser> {
    KX_OPERATOR_DECLARE_NAME
    PDSetConfigOperator() : SetConfigOperator(m_OperatorName) {}
    KX_U8 write() override { return KX_PD_SetConfig(m_adapterID, m_parser.getIDValue(), &m_record); }
};
KX_OPERATOR_NAME(PDSetConfigOperator, "KX_PD_SetConfig")
KX_REGISTER_OPERATOR(PDSetConfigOperator)
