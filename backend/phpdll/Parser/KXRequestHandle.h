#ifndef KX_REQUEST_HANDLE_H
#define KX_REQUEST_HANDLE_H

#include <map>
#include <memory>
#include <string>

class KXAPIOperator;

enum RequestHandleStatus {
    status_ok = 0,
    status_failed = 1,
    status_ready = 2,
    status_buildOperators = 3,
    status_not_support = 4
};

// The per-process dispatcher: every registered operator under its request
// name, built once and reused by every request.
class KXRequestHandle {
public:
    typedef std::map<std::string, std::unique_ptr<KXAPIOperator>> OperatorsMap;

    KXRequestHandle();
    ~KXRequestHandle();
    KXRequestHandle(const KXRequestHandle &) = delete;
    KXRequestHandle &operator=(const KXRequestHandle &) = delete;

    // 0 with the response in getResult(); status_not_support (4) for a name
    // no operator serves, malformed text included; the dispatcher's state
    // while it is not ready.
    int issue(const char *xml);
    // The response of the last successful request; valid until the next.
    const std::string &getResult() const { return m_result; }

    RequestHandleStatus status() const { return m_status; }
    KXAPIOperator *find(const std::string &name) const;
    std::size_t operatorCount() const { return m_operaters.size(); }

private:
    void initThread();

    OperatorsMap m_operaters;
    RequestHandleStatus m_status;
    std::string m_result;
};

#endif
