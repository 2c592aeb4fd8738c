#ifndef KX_OPERATOR_TABLE_H
#define KX_OPERATOR_TABLE_H

#include <cstddef>

class KXAPIOperator;

typedef KXAPIOperator *(*OperatorFactory)();

// Put at the end of an operator's file: defines the factory that the
// table in OperatorList.h refers to.
#define KX_REGISTER_OPERATOR(Class) \
    KXAPIOperator *kxCreate##Class() { return new Class; }

// The factories of every registered operator, in table order.
const OperatorFactory *kxOperatorFactories(std::size_t &count);

#endif
