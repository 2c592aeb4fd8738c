// "KX_Flash_Option" (write or back up a flash image), "KX_BIN_Version" and
// "KX_BIOS_Version" (the versions inside image files).
#include <cstdio>
#include <cstring>

#include "DataType/SingleType/ValueText.h"
#include "DataType/StructType/StructParser.h"
#include "Operators/KXAPIOperator.h"
#include "Operators/OperatorTable.h"
#include "Operators/adapter/FlashTransfer.h"
#include "kx_api.h"

namespace {
// Identifiers in image headers are shown the way their vendors print them.
std::string hexText(KX_U16 v)
{
    char text[8];
    std::snprintf(text, sizeof text, "%x", static_cast<unsigned>(v));
    return text;
}

// The file path of a request, kept between requests like every field and
// cut to the length the flash functions take.
const std::string::size_type kMaxPath = 128;
void readPath(const ValuesMap &params, std::string &path)
{
    if (const std::string *p = findValue(params, "filepath"))
        path = p->substr(0, kMaxPath);
}
} // namespace

class FlashOptionOperator : public KXAPIOperator {
    KX_OPERATOR_DECLARE_NAME
    FlashOptionOperator() : KXAPIOperator(m_OperatorName), m_actions(0), m_type(0) {}
    bool analyze(ValuesMap &params) override
    {
        if (!getAdapterID(params))
            return false;
        readPath(params, m_path);
        KX_READ_FIELD(params, "Actions", m_parser, m_actions);
        KX_READ_FIELD(params, "Type", m_parser, m_type);
        return true;
    }
    void run() override
    {
        if (m_hasAdapter)
            m_APIRet = KX_Flash_Option(m_adapterID, m_actions, m_type, m_path.c_str());
    }

private:
    std::string m_path;
    U8Parser m_parser;
    KX_U8 m_actions, m_type;
};
KX_OPERATOR_NAME(FlashOptionOperator, "KX_Flash_Option")
KX_REGISTER_OPERATOR(FlashOptionOperator)

class BINVersionOperator : public KXAPIOperator {
    KX_OPERATOR_DECLARE_NAME
    BINVersionOperator() : KXAPIOperator(m_OperatorName), m_type(0), m_subId(0)
    {
        std::memset(&m_version, 0, sizeof m_version);
    }
    bool analyze(ValuesMap &params) override
    {
        // The adapter number is read for the GUI's sake; a header is read
        // from the file alone.
        getAdapterID(params);
        readPath(params, m_path);
        KX_READ_FIELD(params, "Type", m_parser, m_type);
        return true;
    }
    void run() override
    {
        KX_U8 type = m_type;
        m_subId = 0xFFFF;
        std::memset(&m_version, 0, sizeof m_version);
        m_APIRet = KX_Flash_GetHeaderInfo(m_path.c_str(), &type, &m_version, &m_subId);
    }
    void buildXML() override
    {
        m_xml.addResult(m_APIRet);
        TiXmlElement *info = m_xml.addStructNameToRoot("BINVersion", "BINInfo");
        ValuesMap version;
        version["VerBuild"] = kxDecimal(m_version.BuildNumber);
        version["VerMajor"] = kxDecimal(m_version.MajorVersion);
        version["VerMinor"] = kxDecimal(m_version.MinorVersion);
        version["VerOEM"] = kxDecimal(m_version.RevisionNumber);
        m_xml.addStructBody(m_xml.addStructNameToSub(info, "Version_Info", "BINVersion"), version);
        ValuesMap members;
        members["DevID"] = hexText(m_subId);
        m_xml.addStructBody(info, members);
    }

private:
    std::string m_path;
    U8Parser m_parser;
    KX_U8 m_type;
    Version_Info_CIM m_version;
    KX_U16 m_subId;
};
KX_OPERATOR_NAME(BINVersionOperator, "KX_BIN_Version")
KX_REGISTER_OPERATOR(BINVersionOperator)

class BIOSVersionOperator : public KXAPIOperator {
    KX_OPERATOR_DECLARE_NAME
    BIOSVersionOperator() : KXAPIOperator(m_OperatorName) { std::memset(&m_info, 0, sizeof m_info); }
    bool analyze(ValuesMap &params) override
    {
        readPath(params, m_path);
        return true;
    }
    void run() override
    {
        std::memset(&m_info, 0, sizeof m_info);
        m_APIRet = KX_BIOS_Version(m_path.c_str(), &m_info);
    }
    void buildXML() override
    {
        m_xml.addResult(m_APIRet);
        TiXmlElement *info = m_xml.addStructNameToRoot("BIOS_Version", "BIOSInfo");
        ValuesMap version;
        version["BuildNumber"] = kxDecimal(m_info.BIOSVersion.BuildNumber);
        version["MajorVersion"] = kxDecimal(m_info.BIOSVersion.MajorVersion);
        version["MinorVersion"] = kxDecimal(m_info.BIOSVersion.MinorVersion);
        version["RevisionNumber"] = kxDecimal(m_info.BIOSVersion.RevisionNumber);
        m_xml.addStructBody(m_xml.addStructNameToSub(info, "Version_Info", "BIOSVersion"), version);
        ValuesMap members;
        members["DevID"] = hexText(m_info.DevID);
        members["VenID"] = hexText(m_info.VenID);
        m_xml.addStructBody(info, members);
    }

private:
    std::string m_path;
    BIOS_Version m_info;
};
KX_OPERATOR_NAME(BIOSVersionOperator, "KX_BIOS_Version")
KX_REGISTER_OPERATOR(BIOSVersionOperator)
