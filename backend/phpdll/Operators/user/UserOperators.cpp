// The web GUI's log-on and roles: "KX_LogonUser", "KX_GetUserGroup" and
// "KX_GetUserName". They address no adapter and never call the controller.
#include <cstring>

#include "DataType/SingleType/SecretText.h"
#include "Operators/KXAPIOperator.h"
#include "Operators/OperatorTable.h"
#include "Util/KXTrace.h"
#include "Util/KXUser.h"

namespace {
const unsigned kFieldSize = 128;

// A text field as a C string: its bytes up to the first zero, never past
// the field (a text as long as the field has no terminating zero).
struct FieldString {
    char text[kFieldSize + 1];
    explicit FieldString(const char (&field)[kFieldSize])
    {
        std::size_t n = strnlen(field, kFieldSize);
        std::memcpy(text, field, n);
        text[n] = 0;
    }
    ~FieldString() { kxWipe(text, sizeof text); }
};
} // namespace

class UserLogon : public KXAPIOperator {
    KX_OPERATOR_DECLARE_NAME

    UserLogon() : KXAPIOperator(m_OperatorName), m_fits(true) { clear(); }

    // A name or password that does not fit its field is refused rather
    // than cut: cut, a password whose first 128 characters are right would
    // log on.
    bool analyze(ValuesMap &params) override
    {
        clear();
        m_fits = kxReadSecretText(params, "lpszUsername", m_user.lpszUsername, kFieldSize) != kSecretTooLong;
        kxReadSecretText(params, "lpszDomain", m_user.lpszDomain, kFieldSize);
        if (kxReadSecretText(params, "lpszPassword", m_user.lpszPassword, kFieldSize) == kSecretTooLong)
            m_fits = false;
        return true;
    }

    void run() override
    {
        if (!m_fits) {
            kxTrace(" +++ KX_LogonUser: IN\n");
            kxTrace("--- KX_LogonUser: OUT user name or password longer than %u characters\n", kFieldSize);
            m_APIRet = 1;
        } else {
            FieldString user(m_user.lpszUsername), domain(m_user.lpszDomain), password(m_user.lpszPassword);
            m_APIRet = static_cast<KX_U8>(KX_LogonUser(user.text, domain.text, password.text));
        }
        clear();
    }

private:
    void clear() { kxWipe(&m_user, sizeof m_user); }

    struct {
        char lpszUsername[kFieldSize];
        char lpszDomain[kFieldSize];
        char lpszPassword[kFieldSize];
        _UserGroup UG;
    } m_user;
    bool m_fits;
};
KX_OPERATOR_NAME(UserLogon, "KX_LogonUser")
KX_REGISTER_OPERATOR(UserLogon)

class GetUserGroup : public KXAPIOperator {
    KX_OPERATOR_DECLARE_NAME

    GetUserGroup() : KXAPIOperator(m_OperatorName), m_fits(true), m_group(UnknownUser)
    {
        std::memset(m_username, 0, sizeof m_username);
        std::memset(m_domain, 0, sizeof m_domain);
    }

    bool analyze(ValuesMap &params) override
    {
        std::memset(m_username, 0, sizeof m_username);
        std::memset(m_domain, 0, sizeof m_domain);
        // Cut, a long name could name another account.
        m_fits = kxReadSecretText(params, "lpszUsername", m_username, kFieldSize) != kSecretTooLong;
        kxReadSecretText(params, "lpszDomain", m_domain, kFieldSize);
        return true;
    }

    void run() override
    {
        m_group = UnknownUser;
        if (!m_fits) {
            m_APIRet = 1;
            return;
        }
        FieldString user(m_username), domain(m_domain);
        m_APIRet = static_cast<KX_U8>(KX_GetUserGroup(user.text, domain.text, &m_group));
    }

    void buildXML() override
    {
        KXAPIOperator::buildXML();
        m_xml.addValue("UserGroup", m_group == AdminUser ? "Administrator" : "ValidUser", "string");
    }

private:
    char m_username[kFieldSize];
    char m_domain[kFieldSize];
    bool m_fits;
    _UserGroup m_group;
};
KX_OPERATOR_NAME(GetUserGroup, "KX_GetUserGroup")
KX_REGISTER_OPERATOR(GetUserGroup)

class GetUserName : public KXAPIOperator {
    KX_OPERATOR_DECLARE_NAME

    GetUserName() : KXAPIOperator(m_OperatorName)
    {
        std::memset(m_userName, 0, sizeof m_userName);
        std::memset(m_domainName, 0, sizeof m_domainName);
    }
    bool analyze(ValuesMap &) override { return true; }
    void run() override
    {
        m_APIRet = static_cast<KX_U8>(KX_GetUserName(m_userName, sizeof m_userName, m_domainName, sizeof m_domainName));
    }
    void buildXML() override
    {
        KXAPIOperator::buildXML();
        m_xml.addValue("UserName", reinterpret_cast<const char *>(m_userName), "string");
        m_xml.addValue("DomainName", reinterpret_cast<const char *>(m_domainName), "string");
    }

private:
    KX_U8 m_userName[kFieldSize];
    KX_U8 m_domainName[kFieldSize];
};
KX_OPERATOR_NAME(GetUserName, "KX_GetUserName")
KX_REGISTER_OPERATOR(GetUserName)
