// "KX_PD_RCT_GetCount", "KX_PD_GetRCT" and "KX_PD_GET_SMART_INFO": what a
// disk knows about its own health. Each takes the disk's ID as "HD_ID".
#include <cstdio>
#include <cstring>
#include <vector>

#include "DataType/SingleType/ValueText.h"
#include "DataType/StructType/StructParser.h"
#include "Operators/KXAPIOperator.h"
#include "Operators/OperatorTable.h"
#include "kx_api.h"

namespace {
// The disk ID of a request, kept between requests like every field.
class DiskOperator : public KXAPIOperator {
public:
    explicit DiskOperator(const std::string &name) : KXAPIOperator(name), m_hdID(0) {}
    bool analyze(ValuesMap &params) override
    {
        if (!getAdapterID(params))
            return false;
        KX_READ_FIELD(params, "HD_ID", m_idParser, m_hdID);
        return true;
    }

protected:
    U16Parser m_idParser;
    KX_U16 m_hdID;
};
} // namespace

class PDGetRCTCountOperater : public DiskOperator {
    KX_OPERATOR_DECLARE_NAME

    PDGetRCTCountOperater() : DiskOperator(m_OperatorName), m_count(0) {}
    void run() override
    {
        if (m_hasAdapter)
            m_APIRet = KX_PD_RCT_GetCount(m_adapterID, m_hdID, &m_count);
    }
    void buildXML() override
    {
        m_xml.addResult(m_APIRet);
        if (m_hasAdapter)
            m_xml.addValue("Count", kxDecimal(m_count), "U32");
    }

private:
    KX_U32 m_count;
};
KX_OPERATOR_NAME(PDGetRCTCountOperater, "KX_PD_RCT_GetCount")
KX_REGISTER_OPERATOR(PDGetRCTCountOperater)

class PDGetRCTOperator : public DiskOperator {
    KX_OPERATOR_DECLARE_NAME

    // Room for the largest table a disk keeps.
    static const KX_U32 kRoom = 512;

    PDGetRCTOperator() : DiskOperator(m_OperatorName) {}
    void run() override
    {
        m_entries.clear();
        if (!m_hasAdapter)
            return;
        std::vector<RCT_Entry> room(kRoom);
        std::memset(room.data(), 0, kRoom * sizeof(RCT_Entry));
        KX_U32 count = kRoom;
        m_APIRet = KX_PD_GetRCT(m_adapterID, m_hdID, &count, room.data());
        if (m_APIRet != KX_SUCCESS)
            return;
        for (KX_U32 i = 0; i < count && i < kRoom; ++i)
            m_entries.push_back(room[i]);
    }
    void buildXML() override
    {
        m_xml.addResult(m_APIRet);
        for (const RCT_Entry &e : m_entries) {
            ValuesMap out;
            out["flag"] = kxDecimal(e.flag);
            out["lba"] = kxDecimal(e.lba);
            out["sec"] = kxDecimal(e.sec);
            m_xml.addRetStruct("Record", out);
        }
        m_entries.clear();
    }

private:
    std::vector<RCT_Entry> m_entries;
};
KX_OPERATOR_NAME(PDGetRCTOperator, "KX_PD_GetRCT")
KX_REGISTER_OPERATOR(PDGetRCTOperator)

// The raw value of a SMART attribute: its six bytes, least significant
// first, as twelve upper-case hexadecimal digits.
std::string kxSmartRawValue(const KX_U8 raw[6])
{
    unsigned long long value = 0;
    for (int i = 5; i >= 0; --i)
        value = (value << 8) | raw[i];
    char text[16];
    std::snprintf(text, sizeof text, "%012llX", value);
    return text;
}

class PDGetSMARTOperator : public DiskOperator {
    KX_OPERATOR_DECLARE_NAME

    static const KX_U16 kAttributes = 30;
    // Reading SMART data of a disk that cannot deliver it takes the
    // controller long; a disk that failed once is not asked again until
    // another disk fails.
    static const KX_U8 kKnownFailure = 31;

    PDGetSMARTOperator() : DiskOperator(m_OperatorName), m_lastFailed(255) {}
    void run() override
    {
        m_attributes.clear();
        if (!m_hasAdapter)
            return;
        if (m_hdID == m_lastFailed) {
            m_APIRet = kKnownFailure;
            return;
        }
        std::vector<unsigned char> buffer(sizeof(RequestHeader) + kAttributes * sizeof(SMART_INFO), 0);
        SMART_INFO_Request *request = reinterpret_cast<SMART_INFO_Request *>(buffer.data());
        request->header.requestType = KX_REQUEST_BY_INDEX;
        request->header.startingIndexOrId = 0;
        request->header.numRequested = kAttributes;
        m_APIRet = KX_PD_GET_SMART_INFO(m_adapterID, m_hdID, request);
        if (m_APIRet != KX_SUCCESS) {
            m_lastFailed = m_hdID;
            return;
        }
        KX_U16 n = request->header.numReturned;
        if (n > kAttributes)
            n = kAttributes;
        const unsigned char *records = buffer.data() + sizeof(RequestHeader);
        for (KX_U16 i = 0; i < n; ++i) {
            SMART_INFO a;
            std::memcpy(&a, records + i * sizeof a, sizeof a);
            ValuesMap out;
            out["ID"] = kxDecimal(a.Id);
            out["AttributeName"] = kxText(a.AttributeName, 32);
            out["StatusFlags1"] = kxDecimal(a.StatusFlags1);
            out["StatusFlags2"] = kxDecimal(a.StatusFlags2);
            out["CurrentValue"] = kxDecimal(a.CurrentValue);
            out["WorstValue"] = kxDecimal(a.WorstValue);
            out["ThresholdValue"] = kxDecimal(a.ThresholdValue);
            out["RawValue"] = kxSmartRawValue(a.RawValue);
            m_attributes.push_back(out);
        }
    }
    void buildXML() override
    {
        m_xml.addResult(m_APIRet);
        for (const ValuesMap &a : m_attributes)
            m_xml.addRetStruct("SMARTInfo", a);
        m_attributes.clear();
    }

private:
    KX_U16 m_lastFailed;
    std::vector<ValuesMap> m_attributes;
};
KX_OPERATOR_NAME(PDGetSMARTOperator, "KX_PD_GET_SMART_INFO")
KX_REGISTER_OPERATOR(PDGetSMARTOperator)
