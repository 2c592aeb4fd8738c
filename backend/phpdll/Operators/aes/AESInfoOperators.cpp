// The encryption lists: "KX_AES_GetEntryConfig" (key entries) and
// "KX_AES_GetPortConfig" (ports with their linked entries). Both prefer the
// adapter's summary record (KX_AES_GetEntryInfo) and fall back to the paged
// calls when the controller does not give it.
#include <cstring>
#include <map>

#include "APIClass/ReadByID.h"
#include "APIClass/Requests.h"
#include "DataType/SingleType/ValueText.h"
#include "Operators/OperatorTable.h"
#include "Operators/request/RequestOperator.h"

namespace {
const unsigned kSummaryEntries = sizeof(((aes_entry_info *)nullptr)->entry);
const unsigned kSummaryPorts = sizeof(((aes_entry_info *)nullptr)->aes_port) / 2;
} // namespace

class AESGetEntryConfigOperator : public RequestOperator {
    KX_OPERATOR_DECLARE_NAME
    static const std::string m_structName;

    AESGetEntryConfigOperator() : RequestOperator(m_OperatorName) {}
    const std::string &structName() const override { return m_structName; }

    void run() override
    {
        m_bodyResult.clear();
        if (!m_hasAdapter) {
            m_xml.addResult(m_APIRet);
            return;
        }
        aes_entry_info info;
        std::memset(&info, 0, sizeof info);
        if (KX_AES_GetEntryInfo(m_adapterID, &info) == KX_SUCCESS) {
            for (unsigned i = 0; i < kSummaryEntries; ++i) {
                m_bodyResult.emplace_back();
                m_bodyResult.back()["entry_id"] = kxDecimal(static_cast<KX_U8>(i));
                m_bodyResult.back()["status"] = kxDecimal(info.entry[i]);
            }
            m_header["numReturned"] = kxDecimal(static_cast<KX_U16>(kSummaryEntries));
            m_header["nextStartingIndex"] = kxDecimal(static_cast<KX_U16>(KX_END_OF_LIST));
            m_APIRet = KX_SUCCESS;
            m_xml.addResult(m_APIRet);
            return;
        }
        runList<AESKeyEntryInfoRequest>([](const AES_KEY_ENTRY_INFO &r, ValuesMap &out) {
            out["entry_id"] = kxDecimal(r.id);
            out["status"] = kxDecimal(r.status);
        });
    }
};
KX_OPERATOR_NAME(AESGetEntryConfigOperator, "KX_AES_GetEntryConfig")
const std::string AESGetEntryConfigOperator::m_structName = "AES_Entry_Config";
KX_REGISTER_OPERATOR(AESGetEntryConfigOperator)

class AESGetPortConfigOperator : public RequestOperator {
    KX_OPERATOR_DECLARE_NAME
    static const std::string m_structName;

    AESGetPortConfigOperator() : RequestOperator(m_OperatorName) {}
    const std::string &structName() const override { return m_structName; }

    void run() override
    {
        std::map<KX_U8, KX_U8> links;
        if (m_hasAdapter)
            readLinks(links);
        runList<AESPortConfigRequest>([&links](const AES_Port_Config &r, ValuesMap &out) {
            std::map<KX_U8, KX_U8>::const_iterator link = links.find(r.port_id);
            out["aes_enable"] = kxDecimal(r.aes_enable);
            out["entry"] = kxDecimal(link == links.end() ? static_cast<KX_U8>(KX_ID8_NONE) : link->second);
            out["port_id"] = kxDecimal(r.port_id);
        });
    }

private:
    // Port -> linked entry (0xFF: none), from the summary record, else from
    // the paged port information.
    void readLinks(std::map<KX_U8, KX_U8> &links)
    {
        aes_entry_info info;
        std::memset(&info, 0, sizeof info);
        if (KX_AES_GetEntryInfo(m_adapterID, &info) == KX_SUCCESS) {
            for (unsigned p = 0; p < kSummaryPorts; ++p)
                links.insert(std::make_pair(info.aes_port[p][0], info.aes_port[p][1]));
            return;
        }
        AESPortInfoRequest ports(kxEveryRecord(), m_adapterID);
        for (ports.runAPI(); ports.isEnd(); ports.moveToNext())
            links.insert(std::make_pair(ports.getInstance()->id, ports.getInstance()->entry));
    }
};
KX_OPERATOR_NAME(AESGetPortConfigOperator, "KX_AES_GetPortConfig")
const std::string AESGetPortConfigOperator::m_structName = "AES_Port_Config";
KX_REGISTER_OPERATOR(AESGetPortConfigOperator)
