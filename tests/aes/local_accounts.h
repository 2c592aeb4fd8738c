// Throw-away local accounts for log-on tests: made with useradd, removed
// with userdel when the object goes (also when a test fails), and the
// leftovers of earlier runs that died removed first. Names carry the
// creating process's ID, so tests running at the same time never touch
// each other's accounts. Needs root.
#ifndef AES_LOCAL_ACCOUNTS_H
#define AES_LOCAL_ACCOUNTS_H

#include <string>
#include <vector>

class LocalAccounts {
public:
    LocalAccounts();
    ~LocalAccounts();
    LocalAccounts(const LocalAccounts &) = delete;
    LocalAccounts &operator=(const LocalAccounts &) = delete;

    // True when accounts can be made here (root, useradd present).
    static bool available(std::string &why);
    // A SHA-512 hash of password, as the shadow database keeps it.
    static std::string hashOf(const std::string &password);

    // Adds an account with this stored hash (taken as it stands: "!", "*",
    // "" and anything else), in the extra groups given; returns its name,
    // or "" on failure.
    std::string add(const std::string &tag, const std::string &hash, const std::string &groups = "");
    // A name that no account has.
    std::string unknown() const;

private:
    std::string m_prefix;
    std::vector<std::string> m_names;
};

#endif
