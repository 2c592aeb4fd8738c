#include "Operators/KXAPIOperator.h"

#include "DataType/SingleType/SingleTypeParser.h"

KXAPIOperator::KXAPIOperator(const std::string &requestName)
    : m_APIRet(0), m_adapterID(0), m_hasAdapter(false), m_xml(requestName)
{
}

KXAPIOperator::~KXAPIOperator() {}

void KXAPIOperator::buildXML()
{
    m_xml.addResult(m_APIRet);
}

void KXAPIOperator::getReturn(std::string &out)
{
    buildXML();
    out = m_xml.getString();
}

bool KXAPIOperator::getAdapterID(const ValuesMap &params)
{
    const std::string *text = findValue(params, "AdapterID");
    if (!text)
        text = findValue(params, "Adpter_ID");
    if (!text) {
        m_APIRet = kMissingAdapter;
        m_hasAdapter = false;
        return false;
    }
    m_adapterID = U8Parser::read(*text);
    m_hasAdapter = true;
    return true;
}
