// The encryption requests that change something and answer with the
// controller's status alone: "KX_AES_SetEntryConfig", "KX_AES_VerifyKey",
// "KX_AES_ChangePwd", "KX_AES_SetLink", "KX_AES_ClearLink",
// "KX_AES_SetPortConfig" and "KX_AES_ForcePDOnline". Keys and passwords
// go to the controller only; the records that carried them are wiped after
// the call, so they do not stay in the worker between requests.
#include "DataType/StructType/StructParser.h"
#include "Operators/KXAPIOperator.h"
#include "Operators/OperatorTable.h"
#include "Operators/aes/AESParsers.h"
#include "kx_api.h"

namespace {
// One record from one parser, one controller call with it.
template <typename Parser, typename Record>
class AESRecordOperator : public KXAPIOperator {
public:
    typedef KX_U8 (*Call)(KX_U8, Record *);
    AESRecordOperator(const std::string &name, Call call) : KXAPIOperator(name), m_call(call) {}

    bool analyze(ValuesMap &params) override
    {
        m_parser.wipe();
        if (!getAdapterID(params))
            return false;
        m_parser.parse(params);
        return true;
    }
    void run() override
    {
        if (m_hasAdapter)
            m_APIRet = m_call(m_adapterID, &m_parser.getStruct());
        m_parser.wipe();
    }

private:
    Call m_call;
    Parser m_parser;
};
} // namespace

class AESSetEntryConfigOperator : public AESRecordOperator<EntryConfigParser, AES_Entry_Config> {
    KX_OPERATOR_DECLARE_NAME
    AESSetEntryConfigOperator() : AESRecordOperator(m_OperatorName, KX_AES_SetEntryConfig) {}
};
KX_OPERATOR_NAME(AESSetEntryConfigOperator, "KX_AES_SetEntryConfig")
KX_REGISTER_OPERATOR(AESSetEntryConfigOperator)

class AESVerifyKeyOperator : public AESRecordOperator<EntryVerifyParser, AES_Entry_Verify> {
    KX_OPERATOR_DECLARE_NAME
    AESVerifyKeyOperator() : AESRecordOperator(m_OperatorName, KX_AES_VerifyKey) {}
};
KX_OPERATOR_NAME(AESVerifyKeyOperator, "KX_AES_VerifyKey")
KX_REGISTER_OPERATOR(AESVerifyKeyOperator)

class AESChangePWDOperator : public AESRecordOperator<AESChangePWDParser, AES_Change_Passwd> {
    KX_OPERATOR_DECLARE_NAME
    AESChangePWDOperator() : AESRecordOperator(m_OperatorName, KX_AES_ChangePwd) {}
};
KX_OPERATOR_NAME(AESChangePWDOperator, "KX_AES_ChangePwd")
KX_REGISTER_OPERATOR(AESChangePWDOperator)

class AESSetLinkOperator : public AESRecordOperator<EntryLinkParser, entry_link> {
    KX_OPERATOR_DECLARE_NAME
    AESSetLinkOperator() : AESRecordOperator(m_OperatorName, KX_AES_SetLink) {}
};
KX_OPERATOR_NAME(AESSetLinkOperator, "KX_AES_SetLink")
KX_REGISTER_OPERATOR(AESSetLinkOperator)

class AESSetPortConfigOperator : public AESRecordOperator<PortConfigParser, AES_Port_Config> {
    KX_OPERATOR_DECLARE_NAME
    AESSetPortConfigOperator() : AESRecordOperator(m_OperatorName, KX_AES_SetPortConfig) {}
};
KX_OPERATOR_NAME(AESSetPortConfigOperator, "KX_AES_SetPortConfig")
KX_REGISTER_OPERATOR(AESSetPortConfigOperator)

class AESClearLinkOperator : public KXAPIOperator {
    KX_OPERATOR_DECLARE_NAME
    AESClearLinkOperator() : KXAPIOperator(m_OperatorName), m_port(0) {}
    bool analyze(ValuesMap &params) override
    {
        if (!getAdapterID(params))
            return false;
        KX_READ_FIELD(params, "port_id", m_portParser, m_port);
        return true;
    }
    void run() override
    {
        if (m_hasAdapter)
            m_APIRet = KX_AES_ClearLink(m_adapterID, m_port);
    }

private:
    U8Parser m_portParser;
    KX_U8 m_port;
};
KX_OPERATOR_NAME(AESClearLinkOperator, "KX_AES_ClearLink")
KX_REGISTER_OPERATOR(AESClearLinkOperator)

// The entry record of the request goes along with the disk; "Percentage"
// is passed in tenths (95 gives 9).
class AESForcePDOnlineOperator : public KXAPIOperator {
    KX_OPERATOR_DECLARE_NAME
    AESForcePDOnlineOperator() : KXAPIOperator(m_OperatorName), m_pd(0), m_percentage(0) {}
    bool analyze(ValuesMap &params) override
    {
        m_entry.wipe();
        if (!getAdapterID(params))
            return false;
        m_entry.parse(params);
        // Disk IDs are 16-bit: read as a byte, PD 300 would name PD 44.
        KX_READ_FIELD(params, "PDID", m_pdParser, m_pd);
        KX_READ_FIELD(params, "Percentage", m_percentageParser, m_percentage);
        return true;
    }
    void run() override
    {
        if (m_hasAdapter)
            m_APIRet = KX_AES_ForcePDOnline(m_adapterID, &m_entry.getStruct(), m_pd,
                                            static_cast<KX_U8>(m_percentage / 10));
        m_entry.wipe();
    }

private:
    EntryConfigParser m_entry;
    U16Parser m_pdParser;
    U8Parser m_percentageParser;
    KX_U16 m_pd;
    KX_U8 m_percentage;
};
KX_OPERATOR_NAME(AESForcePDOnlineOperator, "KX_AES_ForcePDOnline")
KX_REGISTER_OPERATOR(AESForcePDOnlineOperator)
