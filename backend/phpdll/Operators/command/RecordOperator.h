#ifndef KX_RECORD_OPERATOR_H
#define KX_RECORD_OPERATOR_H

#include <type_traits>
#include <utility>

#include "Operators/KXAPIOperator.h"

// A request whose parameters fill one record through a struct parser; the
// call gets the adapter number and the record. The call works on a copy,
// so what the controller writes back (a new ID, a size) stays out of the
// parser, whose record may carry over to the next request; m_record keeps
// it for the response.
template <typename Parser>
class RecordOperator : public KXAPIOperator {
public:
    typedef typename std::remove_reference<decltype(std::declval<Parser &>().getStruct())>::type Record;
    typedef KX_U8 (*Call)(KX_U8, Record *);

    RecordOperator(const std::string &requestName, Call call) : KXAPIOperator(requestName), m_call(call), m_record()
    {
    }

    bool analyze(ValuesMap &params) override
    {
        if (!getAdapterID(params))
            return false;
        m_parser.parse(params);
        return true;
    }

    void run() override
    {
        if (!m_hasAdapter)
            return;
        m_record = m_parser.getStruct();
        m_APIRet = m_call(m_adapterID, &m_record);
    }

protected:
    Call m_call;
    Parser m_parser;
    Record m_record;
};

// Declares, names and registers a record operator class without a
// response of its own.
#define KX_RECORD_OPERATOR(Class, RequestName, Parser, Call)                                       \
    class Class : public RecordOperator<Parser> {                                                  \
        KX_OPERATOR_DECLARE_NAME                                                                    \
        Class() : RecordOperator<Parser>(m_OperatorName, Call) {}                                   \
    };                                                                                              \
    KX_OPERATOR_NAME(Class, RequestName)                                                            \
    KX_REGISTER_OPERATOR(Class)

#endif
