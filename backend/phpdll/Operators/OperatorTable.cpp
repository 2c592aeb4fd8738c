#include "Operators/OperatorTable.h"

#define KX_OPERATOR(Class) KXAPIOperator *kxCreate##Class();
#include "Operators/OperatorList.h"
#undef KX_OPERATOR

namespace {
#define KX_OPERATOR(Class) &kxCreate##Class,
const OperatorFactory kFactories[] = {
#include "Operators/OperatorList.h"
};
#undef KX_OPERATOR
} // namespace

const OperatorFactory *kxOperatorFactories(std::size_t &count)
{
    count = sizeof kFactories / sizeof kFactories[0];
    return kFactories;
}
