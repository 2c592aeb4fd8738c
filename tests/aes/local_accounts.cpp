#include "local_accounts.h"

#include <crypt.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>

namespace {

const char kPrefix[] = "kxaes";
const char kUseradd[] = "/usr/sbin/useradd";
const char kUserdel[] = "/usr/sbin/userdel";

int runQuietly(std::vector<std::string> args)
{
    pid_t pid = fork();
    if (pid == 0) {
        int null = open("/dev/null", O_RDWR);
        dup2(null, 0);
        dup2(null, 1);
        dup2(null, 2);
        std::vector<char *> argv;
        for (std::string &a : args)
            argv.push_back(&a[0]);
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// useradd and userdel give up while another of them holds the lock of the
// password or group file (status 1 or 10), as when tests of other
// processes add their accounts at the same time: try again, a bounded
// number of times.
int runWithRetry(const std::vector<std::string> &args)
{
    int rc = -1;
    for (int attempt = 0; attempt < 100; ++attempt) {
        rc = runQuietly(args);
        if (rc != 1 && rc != 10)
            return rc;
        struct timespec wait = {0, 50 * 1000 * 1000};
        nanosleep(&wait, nullptr);
    }
    return rc;
}

// Accounts of earlier runs whose process is gone.
void removeLeftovers()
{
    std::ifstream passwd("/etc/passwd");
    std::string line;
    std::vector<std::string> stale;
    while (std::getline(passwd, line)) {
        std::string name = line.substr(0, line.find(':'));
        if (name.compare(0, sizeof kPrefix - 1, kPrefix) != 0)
            continue;
        long pid = std::strtol(name.c_str() + sizeof kPrefix - 1, nullptr, 10);
        if (pid <= 0 || (kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH))
            stale.push_back(name);
    }
    for (const std::string &name : stale)
        runWithRetry({kUserdel, "-f", name});
}

} // namespace

bool LocalAccounts::available(std::string &why)
{
    if (geteuid() != 0) {
        why = "needs root: it creates local accounts and reads shadow entries";
        return false;
    }
    if (access(kUseradd, X_OK) != 0 || access(kUserdel, X_OK) != 0) {
        why = "needs useradd and userdel";
        return false;
    }
    return true;
}

std::string LocalAccounts::hashOf(const std::string &password)
{
    std::unique_ptr<struct crypt_data> data(new struct crypt_data);
    std::memset(data.get(), 0, sizeof *data);
    const char *h = crypt_r(password.c_str(), "$6$kxaestestsalt$", data.get());
    return h && h[0] != '*' ? h : "";
}

LocalAccounts::LocalAccounts() : m_prefix(kPrefix + std::to_string(getpid()) + "_")
{
    removeLeftovers();
}

LocalAccounts::~LocalAccounts()
{
    for (const std::string &name : m_names)
        runWithRetry({kUserdel, "-f", name});
}

std::string LocalAccounts::add(const std::string &tag, const std::string &hash, const std::string &groups)
{
    const std::string name = m_prefix + tag;
    std::vector<std::string> args = {kUseradd, "-M", "-s", "/usr/sbin/nologin", "-p", hash};
    if (!groups.empty()) {
        args.push_back("-G");
        args.push_back(groups);
    }
    args.push_back(name);
    // Remembered before it exists: a useradd that got half way is undone too.
    m_names.push_back(name);
    return runWithRetry(args) == 0 ? name : std::string();
}

std::string LocalAccounts::unknown() const { return m_prefix + "nobody"; }
