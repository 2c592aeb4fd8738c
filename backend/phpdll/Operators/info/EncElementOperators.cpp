// "KX_ENC_GetElementInfo" and "KX_ENC_GetElementConfig": the elements of an
// enclosure (power supplies, fans, sensors, alarm, ...), by "ENC_ID".
#include <cstddef>
#include <cstring>
#include <vector>

#include "DataType/SingleType/ValueText.h"
#include "DataType/StructType/StructParser.h"
#include "Operators/KXAPIOperator.h"
#include "Operators/OperatorTable.h"
#include "kx_api.h"

namespace {
const KX_U16 kAllEnclosures = 255;
// A count byte bounds what one call can return.
const unsigned kRoom = 255;

class EnclosureOperator : public KXAPIOperator {
public:
    explicit EnclosureOperator(const std::string &name) : KXAPIOperator(name), m_encID(0) {}
    bool analyze(ValuesMap &params) override
    {
        if (!getAdapterID(params))
            return false;
        KX_READ_FIELD(params, "ENC_ID", m_idParser, m_encID);
        return true;
    }
    void buildXML() override
    {
        m_xml.addResult(m_APIRet);
        for (const ValuesMap &e : m_elements)
            m_xml.addRetStruct(structName(), e);
        m_elements.clear();
    }
    virtual const char *structName() const = 0;

protected:
    U16Parser m_idParser;
    KX_U16 m_encID;
    std::vector<ValuesMap> m_elements;
};

inline std::string bit(KX_U8 byte, unsigned n) { return kxDecimal(static_cast<KX_U8>((byte >> n) & 1)); }
inline std::string word(const KX_U8 *b) { return kxDecimal(static_cast<KX_U16>(b[0] | (b[1] << 8))); }
} // namespace

// The members of one element status record. Byte n of the element is
// counted from the element's type byte, so bytes 4 to 7 are the
// type-specific part.
void kxElementValues(const EncElementType_Info &r, KX_U16 enclosure, ValuesMap &out)
{
    const KX_U8 *b = reinterpret_cast<const KX_U8 *>(&r) + offsetof(EncElementType_Info, type);
    out["EnclosureID"] = kxDecimal(enclosure);
    out["Type"] = kxDecimal(r.type);
    out["Status"] = kxDecimal(r.status);
    out["ElementID"] = kxDecimal(r.elementID);
    switch (r.type) {
    case 2: // power supply
        out["TempWarn"] = bit(b[4], 4);
        out["HotSwap"] = bit(b[4], 3);
        out["DCOverCurrent"] = bit(b[4], 2);
        out["DCOverVoltage"] = bit(b[4], 0);
        out["DCUnderVoltage"] = bit(b[4], 1);
        break;
    case 3: // cooling fan
        out["CurSpeedcode"] = kxDecimal(b[6]);
        out["CurSpeed"] = word(b + 4);
        break;
    case 4: // temperature sensor
        out["OTFailure"] = bit(b[5], 0);
        out["OTWarning"] = bit(b[5], 1);
        out["UTFailure"] = bit(b[5], 2);
        out["UTWarning"] = bit(b[5], 3);
        out["Temperature"] = kxDecimal(b[4]);
        break;
    case 5: // door lock
        out["Unlocked"] = kxDecimal(b[4]);
        break;
    case 6: // audible alarm
        out["Mute"] = bit(b[4], 0);
        out["Remind"] = bit(b[4], 1);
        break;
    case 12: // display
        out["Character1"] = kxDecimal(b[4]);
        out["Character2"] = kxDecimal(b[5]);
        out["Mode"] = kxDecimal(b[6]);
        break;
    case 18: // voltage sensor
        out["WarnOver"] = bit(b[6], 0);
        out["WarnUnder"] = bit(b[6], 1);
        out["CritOver"] = bit(b[6], 2);
        out["CritUnder"] = bit(b[6], 3);
        out["Voltage"] = word(b + 4);
        break;
    default:
        break;
    }
}

class EncGetElementInfoOperator : public EnclosureOperator {
    KX_OPERATOR_DECLARE_NAME

    EncGetElementInfoOperator() : EnclosureOperator(m_OperatorName) {}
    const char *structName() const override { return "EncElementType_Info"; }
    void run() override
    {
        m_elements.clear();
        if (!m_hasAdapter)
            return;
        std::vector<EncElementType_Info> room(kRoom);
        std::memset(room.data(), 0, kRoom * sizeof(EncElementType_Info));
        KX_U8 count = static_cast<KX_U8>(kRoom);
        m_APIRet = KX_ENC_GetElementInfo(m_adapterID, m_encID, room.data(), &count);
        if (m_APIRet != KX_SUCCESS)
            return;
        for (unsigned i = 0; i < count && i < kRoom; ++i) {
            // Asked for every enclosure, each element names its own;
            // otherwise it belongs to the one asked for.
            KX_U16 enclosure = m_encID == kAllEnclosures ? room[i].enclosureID : m_encID;
            m_elements.emplace_back();
            kxElementValues(room[i], enclosure, m_elements.back());
        }
    }
};
KX_OPERATOR_NAME(EncGetElementInfoOperator, "KX_ENC_GetElementInfo")
KX_REGISTER_OPERATOR(EncGetElementInfoOperator)

class EncGetElementConfigOperator : public EnclosureOperator {
    KX_OPERATOR_DECLARE_NAME

    EncGetElementConfigOperator() : EnclosureOperator(m_OperatorName) {}
    const char *structName() const override { return "EncElement_Config"; }
    void run() override
    {
        m_elements.clear();
        if (!m_hasAdapter)
            return;
        std::vector<EncElement_Config> room(kRoom);
        std::memset(room.data(), 0, kRoom * sizeof(EncElement_Config));
        KX_U8 count = static_cast<KX_U8>(kRoom);
        m_APIRet = KX_ENC_GetElementConfig(m_adapterID, m_encID, room.data(), &count);
        if (m_APIRet != KX_SUCCESS)
            return;
        for (unsigned i = 0; i < count && i < kRoom; ++i) {
            const EncElement_Config &r = room[i];
            ValuesMap out;
            out["ElementID"] = kxDecimal(r.elementID);
            out["EnclosureID"] = kxDecimal(r.enclosureID);
            out["highCriticalThreshold"] = kxDecimal(r.highCriticalThreshold);
            out["highWarningThreshold"] = kxDecimal(r.highWarningThreshold);
            out["lowCriticalThreshold"] = kxDecimal(r.lowCriticalThreshold);
            out["lowWarningThreshold"] = kxDecimal(r.lowWarningThreshold);
            out["Status"] = kxDecimal(r.status);
            out["Type"] = kxDecimal(r.type);
            m_elements.push_back(out);
        }
    }
};
KX_OPERATOR_NAME(EncGetElementConfigOperator, "KX_ENC_GetElementConfig")
KX_REGISTER_OPERATOR(EncGetElementConfigOperator)
