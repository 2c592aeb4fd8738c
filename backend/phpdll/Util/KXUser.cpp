#include "Util/KXUser.h"

#include <crypt.h>
#include <errno.h>
#include <grp.h>
#include <pwd.h>
#include <shadow.h>
#include <string.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "Util/KXTrace.h"

void kxWipe(void *p, unsigned long size)
{
    if (p)
        explicit_bzero(p, size);
}

namespace {

// "!" and "*" (and hashes that begin with "!", a password locked with
// passwd -l) can never be the result of crypt; an empty hash would let any
// password in. None of them is a password to check.
bool lockedHash(const char *hash)
{
    return hash[0] == '\0' || hash[0] == '!' || hash[0] == '*';
}

// Same length and same bytes, in a time that does not depend on where the
// first difference lies.
bool sameHash(const char *a, const char *b)
{
    size_t la = strlen(a), lb = strlen(b);
    unsigned char diff = la == lb ? 0 : 1;
    for (size_t i = 0; i < la && i < lb; ++i)
        diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0;
}

// The stored hash of user, or false when the shadow database has no entry
// (or cannot be read). The entry's strings live in buffer.
bool shadowHash(const char *user, std::vector<char> &buffer, const char *&hash)
{
    struct spwd entry;
    struct spwd *found = nullptr;
    for (size_t size = 4096; size <= (1u << 20); size *= 2) {
        buffer.assign(size, 0);
        int rc = getspnam_r(user, &entry, buffer.data(), buffer.size(), &found);
        if (rc == ERANGE)
            continue;
        if (rc != 0 || !found || !found->sp_pwdp)
            return false;
        hash = found->sp_pwdp;
        return true;
    }
    return false;
}

} // namespace

int KX_LogonUser(char *user, char *domain, char *password)
{
    (void)domain;
    kxTrace(" +++ KX_LogonUser: IN\n");
    std::vector<char> buffer;
    const char *stored = nullptr;
    if (!user || !password || !shadowHash(user, buffer, stored)) {
        kxTrace("--- KX_LogonUser: OUT getsnpam (%s) failed\n", user ? user : "");
        return 1;
    }
    int result = 1;
    if (lockedHash(stored)) {
        kxTrace("--- KX_LogonUser: OUT user (%s) failed because the account is locked\n", user);
    } else {
        // crypt_data is large and holds the password's traces: on the heap,
        // wiped before it is released.
        std::unique_ptr<struct crypt_data> data(new struct crypt_data);
        memset(data.get(), 0, sizeof *data);
        const char *hashed = crypt_r(password, stored, data.get());
        // A failure is NULL or a token beginning with "*" (unknown method,
        // malformed hash): never a match.
        if (!hashed || hashed[0] == '*')
            kxTrace("--- KX_LogonUser: OUT user (%s) failed because its password hash cannot be checked\n", user);
        else if (sameHash(hashed, stored))
            result = 0;
        else
            kxTrace("--- KX_LogonUser: OUT user (%s) failed because of bad password\n", user);
        kxWipe(data.get(), sizeof *data);
    }
    if (result == 0)
        kxTrace("--- KX_LogonUser: OUT user (%s) login successfully\n", user);
    kxWipe(buffer.data(), buffer.size());
    return result;
}

int KX_GetUserGroup(const char *user, const char *domain, _UserGroup *group)
{
    (void)domain;
    if (!group)
        return 1;
    if (!user || !getpwnam(user)) {
        *group = UnknownUser;
        return 0;
    }
    if (strcmp(user, "root") == 0) {
        *group = AdminUser;
        return 0;
    }
    struct group *root = getgrnam("root");
    if (!root) {
        *group = UnknownUser;
        return 1;
    }
    *group = ValidUser;
    for (char **member = root->gr_mem; member && *member; ++member)
        if (strcmp(*member, user) == 0)
            *group = AdminUser;
    return 0;
}

int KX_GetUserName(KX_U8 *userName, unsigned userSize, KX_U8 *domainName, unsigned domainSize)
{
    static const char kUser[] = "root";
    if (userName && userSize > 0) {
        size_t n = strnlen(kUser, userSize - 1);
        memcpy(userName, kUser, n);
        userName[n] = 0;
    }
    if (domainName && domainSize > 0)
        domainName[0] = 0;
    return 0;
}
