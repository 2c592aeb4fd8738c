// Running the built module in the real PHP interpreter: one-shot scripts
// and long-lived interactive workers, each with its own controller state
// and its own process registry (ARRAYRPC_IPC_DIR) inside a temporary
// directory of the test.
#ifndef PHPDLL_PHP_DRIVER_H
#define PHPDLL_PHP_DRIVER_H

#include <string>
#include <sys/types.h>
#include <vector>

class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string &path() const { return m_path; }
    std::string file(const std::string &name) const { return m_path + "/" + name; }
    void write(const std::string &name, const std::string &content) const;

private:
    std::string m_path;
};

struct PhpResult {
    std::string out;
    std::string err;
    int status = -1; // exit status, or -1 when killed
};

// Environment of every PHP process of a test: the controller state file
// and the registry's key files live in dir.
std::vector<std::string> phpEnvironment(const TempDir &dir);

// php -n -d extension=<module> -r <code>
PhpResult runPhp(const TempDir &dir, const std::string &code,
                 const std::vector<std::string> &extraArgs = {});

// A PHP worker that reads request lines from its standard input: each line
// is passed to arrayrpc() and answered with "rc=<code> <response>" and a
// line "END". The line "quit" ends it.
class PhpWorker {
public:
    explicit PhpWorker(const TempDir &dir);
    ~PhpWorker();
    PhpWorker(const PhpWorker &) = delete;
    PhpWorker &operator=(const PhpWorker &) = delete;

    pid_t pid() const { return m_pid; }
    // Everything the worker printed up to and including a line equal to
    // marker (without it), or what came before end of output.
    std::string readUntil(const std::string &marker);
    // Sends one request and returns what the worker printed for it.
    std::string request(const std::string &xml);
    void quit();

private:
    pid_t m_pid;
    int m_in;
    int m_out;
    std::string m_buffer;
};

// The registry table of dir's key file, as the workers see it; empty when
// no segment exists.
std::vector<int> readRegistry(const TempDir &dir);

#endif
