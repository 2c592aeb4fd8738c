#include "Parser/KXRequestHandle.h"

#include "Operators/KXAPIOperator.h"
#include "Operators/OperatorTable.h"
#include "Parser/XMLAnalyzer.h"
#include "Util/KXTrace.h"

KXRequestHandle::KXRequestHandle() : m_status(status_buildOperators)
{
    initThread();
}

KXRequestHandle::~KXRequestHandle() {}

void KXRequestHandle::initThread()
{
    m_operaters.clear();
    m_result.clear();
    m_status = status_buildOperators;
    std::size_t count = 0;
    const OperatorFactory *factories = kxOperatorFactories(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::unique_ptr<KXAPIOperator> op(factories[i]());
        const std::string name = op->getName();
        // emplace keeps the first entry of a name.
        m_operaters.emplace(name, std::move(op));
    }
    m_status = status_ready;
}

KXAPIOperator *KXRequestHandle::find(const std::string &name) const
{
    OperatorsMap::const_iterator it = m_operaters.find(name);
    return it == m_operaters.end() ? nullptr : it->second.get();
}

int KXRequestHandle::issue(const char *xml)
{
    if (m_status != status_ready)
        return m_status;
    XMLAnalyzer analyzer(xml);
    KXAPIOperator *op = find(analyzer.getRequestName());
    if (!op) {
        kxTrace("KXRequestHandle::%s UNSUPPORTED!!!!!!!!!!!!!!!\n", kxMaskSecrets(xml).c_str());
        return status_not_support;
    }
    // A missing parameter does not stop the request: the operator runs and
    // reports it in its own result code.
    op->analyze(analyzer.getMap());
    op->doOp();
    op->getReturn(m_result);
    return status_ok;
}
