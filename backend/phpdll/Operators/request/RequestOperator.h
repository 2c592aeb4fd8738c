#ifndef KX_REQUEST_OPERATOR_H
#define KX_REQUEST_OPERATOR_H

#include <vector>

#include "APIClass/APIRequestHeader.h"
#include "DataType/StructType/StructParser.h"
#include "Operators/KXAPIOperator.h"

// Base of the operators that answer with a paged list of controller
// records. The response is RetVal (status of the last list call), the
// "RequestHeader" struct (every request parameter echoed, plus numReturned
// and nextStartingIndex) and one struct per record.
//
// A list operator implements run() with runList<Request>() and a function
// that turns one record into its members; addBody() by default emits one
// struct per record named structName().
class RequestOperator : public KXAPIOperator {
public:
    explicit RequestOperator(const std::string &requestName);

    // Echoes every parameter; with an adapter number also reads the paging
    // parameters ("requestType", "startingIndexOrId", "numRequested").
    bool analyze(ValuesMap &params) override;
    // The "RequestHeader" struct, then addBody().
    void buildXML() override;
    virtual void addBody();
    // Element and struct type name of one record in the response.
    virtual const std::string &structName() const = 0;

    // Puts the paging results of h into the echoed header.
    void buildHeader(APIRequestHeader *h);

protected:
    void addRequestHeader();

public:
    // What the echoed header says when the first list call fails: the
    // paging entries as for any list (0 returned), or none at all (for
    // lists whose readers take their absence as "could not be read").
    enum FirstCallFailure { ReportPaging, OmitPaging };

protected:

    // The paged iteration every list operator shares: one request object,
    // one call, the records while any are left (refilling as needed), the
    // paging results and RetVal. Without an adapter number: RetVal 6 and
    // no controller call at all.
    template <typename Request, typename ToMap>
    void runList(ToMap toMap, FirstCallFailure onFailure = ReportPaging)
    {
        m_bodyResult.clear();
        if (!m_hasAdapter) {
            m_xml.addResult(m_APIRet);
            return;
        }
        Request request(m_parser.getStruct(), m_adapterID);
        request.runAPI();
        if (request.getAPIResult() != KX_SUCCESS && onFailure == OmitPaging) {
            m_APIRet = request.getAPIResult();
            m_xml.addResult(m_APIRet);
            return;
        }
        for (; request.isEnd(); request.moveToNext()) {
            m_bodyResult.emplace_back();
            toMap(*request.getInstance(), m_bodyResult.back());
        }
        buildHeader(&request);
        m_APIRet = request.getAPIResult();
        m_xml.addResult(m_APIRet);
    }

    ValuesMap m_header;
    std::vector<ValuesMap> m_bodyResult;
    RequestParser m_parser;
};

#endif
