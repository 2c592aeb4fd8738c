#include "Operators/request/RequestOperator.h"

#include "DataType/SingleType/ValueText.h"

RequestOperator::RequestOperator(const std::string &requestName) : KXAPIOperator(requestName) {}

bool RequestOperator::analyze(ValuesMap &params)
{
    m_header = params;
    if (!getAdapterID(params))
        return false;
    m_parser.parse(params);
    return true;
}

void RequestOperator::buildHeader(APIRequestHeader *h)
{
    m_header["numReturned"] = kxDecimal(h->getReturnCount());
    m_header["nextStartingIndex"] = kxDecimal(h->getNextID());
}

void RequestOperator::addRequestHeader()
{
    m_xml.addRetStruct("RequestHeader", m_header);
}

void RequestOperator::buildXML()
{
    addRequestHeader();
    addBody();
    m_bodyResult.clear();
}

void RequestOperator::addBody()
{
    for (const ValuesMap &record : m_bodyResult)
        m_xml.addRetStruct(structName(), record);
}
