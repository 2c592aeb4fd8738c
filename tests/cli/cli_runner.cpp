#include "cli_runner.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include "kx_api.h"

extern char **environ;

namespace {

const char kSgDevice[] = "/nonexistent-arrayctl/sg0";

std::vector<char *> cArgs(const std::vector<std::string> &v)
{
    std::vector<char *> out;
    for (const auto &s : v)
        out.push_back(const_cast<char *>(s.c_str()));
    out.push_back(nullptr);
    return out;
}

int exitStatus(pid_t pid)
{
    int st = 0;
    while (waitpid(pid, &st, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
}

double now()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

} // namespace

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void writeFile(const std::string &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string golden(const std::string &name)
{
    std::string text = readFile(std::string(CLI_GOLDEN_DIR) + "/" + name);
    const char *api = KX_API_Version();
    const std::string version = api ? api : "";
    for (size_t at; (at = text.find("@API@")) != std::string::npos;)
        text.replace(at, 5, version);
    return text;
}

CliSandbox::CliSandbox(const std::string &fixtureJson)
{
    const char *base = getenv("TMPDIR");
    std::string templ = std::string(base && *base ? base : "/tmp") + "/arrayctl-e2e-XXXXXX";
    if (mkdtemp(&templ[0]))
        m_dir = templ;
    if (!fixtureJson.empty())
        writeFile(path("state.json"), fixtureJson);
    writeFile(path("clock"), "UTC=true\n");
    sockaddr_un addr {};
    addr.sun_family = AF_UNIX;
    snprintf(addr.sun_path, sizeof addr.sun_path, "%s", path("audit.sock").c_str());
    m_auditFd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (m_auditFd >= 0 && bind(m_auditFd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0) {
        close(m_auditFd);
        m_auditFd = -1;
    }
}

CliSandbox::~CliSandbox()
{
    if (m_auditFd >= 0)
        close(m_auditFd);
    std::error_code ec;
    if (!m_dir.empty())
        std::filesystem::remove_all(m_dir, ec);
}

std::vector<std::string> CliSandbox::environment() const
{
    std::vector<std::string> env = {
        "ARRAYCORE_SIM_STATE=" + path("state.json"),
        "ARRAY_DB_DIR=" + m_dir,
        "ARRAY_CLOCK_FILE=" + path("clock"),
        std::string("ARRAY_SG_DEVICE=") + kSgDevice,
        "ARRAY_SG_WAIT=0",
        "ARRAY_AUDIT_SOCKET=" + path("audit.sock"),
        "HOME=" + m_dir,
        "INPUTRC=/dev/null",
        "TERM=dumb",
        "PATH=/usr/bin:/bin",
        "LC_ALL=C",
    };
    for (const auto &e : extraEnv) {
        const std::string name = e.substr(0, e.find('=') + 1);
        bool replaced = false;
        for (auto &have : env)
            if (have.compare(0, name.size(), name) == 0) {
                have = e;
                replaced = true;
            }
        if (!replaced)
            env.push_back(e);
    }
    return env;
}

void CliSandbox::execInSandbox(const std::vector<std::string> &args) const
{
    std::vector<std::string> argv = {CLI_BINARY};
    argv.insert(argv.end(), args.begin(), args.end());
    const std::vector<std::string> env = environment();
    if (chdir(m_dir.c_str()) != 0)
        _exit(126);
    auto a = cArgs(argv);
    auto e = cArgs(env);
    execve(CLI_BINARY, a.data(), e.data());
    _exit(127);
}

CliRun CliSandbox::run(const std::vector<std::string> &args, const std::string &input) const
{
    CliRun r;
    int in[2], out[2], err[2];
    if (pipe(in) || pipe(out) || pipe(err))
        return r;
    pid_t pid = fork();
    if (pid == 0) {
        dup2(in[0], 0);
        dup2(out[1], 1);
        dup2(err[1], 2);
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]})
            close(fd);
        execInSandbox(args);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);
    signal(SIGPIPE, SIG_IGN);
    size_t written = 0;
    if (input.empty()) {
        close(in[1]);
        in[1] = -1;
    }
    pollfd fds[3];
    bool outOpen = true, errOpen = true;
    const double deadline = now() + 20;
    while ((outOpen || errOpen) && now() < deadline) {
        int n = 0;
        int outAt = -1, errAt = -1, inAt = -1;
        if (outOpen) { fds[n] = {out[0], POLLIN, 0}; outAt = n++; }
        if (errOpen) { fds[n] = {err[0], POLLIN, 0}; errAt = n++; }
        if (in[1] >= 0) { fds[n] = {in[1], POLLOUT, 0}; inAt = n++; }
        if (poll(fds, n, 1000) <= 0)
            continue;
        char buf[4096];
        if (outAt >= 0 && fds[outAt].revents) {
            ssize_t k = read(out[0], buf, sizeof buf);
            if (k > 0) r.out.append(buf, k); else outOpen = false;
        }
        if (errAt >= 0 && fds[errAt].revents) {
            ssize_t k = read(err[0], buf, sizeof buf);
            if (k > 0) r.err.append(buf, k); else errOpen = false;
        }
        if (inAt >= 0 && fds[inAt].revents) {
            ssize_t k = write(in[1], input.data() + written, input.size() - written);
            if (k > 0) written += k;
            if (k <= 0 || written == input.size()) {
                close(in[1]);
                in[1] = -1;
            }
        }
    }
    if (in[1] >= 0)
        close(in[1]);
    close(out[0]);
    close(err[0]);
    if (outOpen || errOpen)
        kill(pid, SIGKILL);
    r.status = exitStatus(pid);
    return r;
}

CliRun CliSandbox::runOnTerminal(const std::vector<std::string> &args,
                                 const std::vector<std::string> &lines) const
{
    CliRun r;
    winsize ws = {24, 200, 0, 0};
    int master = -1;
    pid_t pid = forkpty(&master, nullptr, nullptr, &ws);
    if (pid < 0)
        return r;
    if (pid == 0) {
        execInSandbox(args);
    }
    size_t next = 0;
    bool sentEof = false;
    const double deadline = now() + 20;
    size_t promptsSeen = 0;
    while (now() < deadline) {
        pollfd p = {master, POLLIN, 0};
        if (poll(&p, 1, 1000) <= 0)
            continue;
        char buf[4096];
        ssize_t k = read(master, buf, sizeof buf);
        if (k <= 0)
            break; /* EIO: the shell closed the terminal */
        r.out.append(buf, k);
        /* Type only at a fresh prompt, so nothing is echoed twice. */
        size_t prompts = 0;
        for (size_t at = 0; (at = r.out.find("> ", at)) != std::string::npos; at += 2)
            ++prompts;
        if (prompts > promptsSeen && r.out.size() >= 2 &&
            r.out.compare(r.out.size() - 2, 2, "> ") == 0) {
            promptsSeen = prompts;
            if (next < lines.size()) {
                std::string line = lines[next++] + "\r";
                if (write(master, line.data(), line.size()) < 0)
                    break;
            } else if (!sentEof) {
                sentEof = true;
                if (write(master, "\x04", 1) < 0)
                    break;
            }
        }
    }
    close(master);
    r.status = exitStatus(pid);
    return r;
}
