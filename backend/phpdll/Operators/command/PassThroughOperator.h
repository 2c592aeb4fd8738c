#ifndef KX_PASS_THROUGH_OPERATOR_H
#define KX_PASS_THROUGH_OPERATOR_H

#include <cstddef>
#include <tuple>
#include <utility>

#include "DataType/StructType/StructParser.h"
#include "Operators/KXAPIOperator.h"
#include "Operators/OperatorTable.h"

// A request that is one controller call: the adapter number followed by
// the request's parameters in the call's order. Each parameter is read
// with the parser of the call's own argument type (U16 for IDs, U8
// otherwise) and, like every operator field, keeps its value when a later
// request leaves it out.
template <typename Call>
class PassThroughOperator;

template <typename... Args>
class PassThroughOperator<KX_U8 (*)(KX_U8, Args...)> : public KXAPIOperator {
public:
    typedef KX_U8 (*Call)(KX_U8, Args...);

    template <std::size_t N>
    PassThroughOperator(const std::string &requestName, Call call, const char *const (&names)[N])
        : KXAPIOperator(requestName), m_call(call), m_values()
    {
        static_assert(N == sizeof...(Args), "one parameter name per argument of the call");
        for (std::size_t i = 0; i < N; ++i)
            m_names[i] = names[i];
    }

    bool analyze(ValuesMap &params) override
    {
        if (!getAdapterID(params))
            return false;
        readAll(params, std::index_sequence_for<Args...>());
        return true;
    }

    void run() override
    {
        if (!m_hasAdapter)
            return;
        m_APIRet = std::apply([this](Args... values) { return m_call(m_adapterID, values...); }, m_values);
    }

private:
    template <typename T>
    static void readOne(const ValuesMap &params, const char *name, DecimalParser<T> &parser, T &value)
    {
        parser.parse(findValue(params, name));
        parser.setValue(value);
    }
    template <std::size_t... I>
    void readAll(const ValuesMap &params, std::index_sequence<I...>)
    {
        (readOne(params, m_names[I], std::get<I>(m_parsers), std::get<I>(m_values)), ...);
    }

    Call m_call;
    const char *m_names[sizeof...(Args)];
    std::tuple<DecimalParser<Args>...> m_parsers;
    std::tuple<Args...> m_values;
};

// Declares, names and registers a pass-through operator class; the
// parameter names follow the call, in its argument order.
#define KX_PASS_THROUGH_OPERATOR(Class, RequestName, Call, ...)                                  \
    class Class : public PassThroughOperator<decltype(&Call)> {                                  \
        KX_OPERATOR_DECLARE_NAME                                                                  \
        Class() : PassThroughOperator<decltype(&Call)>(m_OperatorName, Call, {__VA_ARGS__}) {}    \
    };                                                                                            \
    KX_OPERATOR_NAME(Class, RequestName)                                                          \
    KX_REGISTER_OPERATOR(Class)

#endif
