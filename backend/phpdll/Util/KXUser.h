#ifndef KX_USER_H
#define KX_USER_H

#include "kx_types.h"

// Accounts of the server itself, for the web GUI's log-on and roles.
enum _UserGroup { AdminUser = 1, ValidUser = 2, UnknownUser = 3 };

// 0 when password is the account's password in the shadow database, else
// 1 (unknown user, locked account, hash that cannot be checked, wrong
// password). domain is not used. Writes its trace lines to standard output;
// they name the user, never the password. Needs root to read shadow
// entries.
int KX_LogonUser(char *user, char *domain, char *password);

// The role of a user: AdminUser for root and the members listed in group
// "root", ValidUser for other known users, UnknownUser for an unknown one
// (result 0). Without a group "root": UnknownUser and result 1. domain is
// not used.
int KX_GetUserGroup(const char *user, const char *domain, _UserGroup *group);

// The user name is always "root" and the domain name empty; both are cut to
// their buffers and terminated. Returns 0.
int KX_GetUserName(KX_U8 *userName, unsigned userSize, KX_U8 *domainName, unsigned domainSize);

// Clears memory that held a secret; unlike memset it is never left out
// because the memory is not read again.
void kxWipe(void *p, unsigned long size);

#endif
