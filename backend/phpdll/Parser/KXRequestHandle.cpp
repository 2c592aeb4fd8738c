#include "Parser/KXRequestHandle.h"

#include "Operators/KXAPIOperator.h"
#include <stdlib.h>

#include "Operators/OperatorTable.h"
#include "Parser/XMLAnalyzer.h"
#include "Util/KXTrace.h"
#include "audit.h"

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

namespace {

// The page that calls the module names the logged-on account and the
// client's address in the environment (ARRAY_AUDIT_USER, ARRAY_AUDIT_FROM):
// the module itself runs as the web server's account.
AuditActor auditActor()
{
    AuditActor actor;
    actor.tool = "arrayrpc";
    const char *user = getenv("ARRAY_AUDIT_USER");
    const char *from = getenv("ARRAY_AUDIT_FROM");
    actor.user = user && *user ? user : "-";
    actor.from = from && *from ? from : "-";
    return actor;
}

// The request and its parameters, secrets masked as in the trace.
std::string auditWhat(const std::string &request, const ValuesMap &params)
{
    std::string what = request;
    for (const auto &p : params)
        what += " " + p.first + "=" + (kxIsSecretName(p.first) ? std::string("********") : p.second);
    return what.size() > 1024 ? what.substr(0, 1024) + "..." : what;
}

} // namespace

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
    auditBegin(auditActor(), auditWhat(analyzer.getRequestName(), analyzer.getMap()));
    op->doOp();
    auditEnd(op->result());
    op->getReturn(m_result);
    return status_ok;
}
