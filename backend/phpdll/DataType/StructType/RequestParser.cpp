#include "DataType/StructType/StructParser.h"

void RequestParser::parse(ValuesMap &params)
{
    KX_READ_FIELD(params, "requestType", m_requestType, m_struct.requestType);
    KX_READ_FIELD(params, "startingIndexOrId", m_startingIndexOrId, m_struct.startingIndexOrId);
    KX_READ_FIELD(params, "numRequested", m_numRequested, m_struct.numRequested);
}
