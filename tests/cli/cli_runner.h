// Runs the real arrayctl in a scratch directory of its own: fixture state
// file, clock file, a missing SCSI generic device and no probe wait.
#ifndef CLI_RUNNER_H
#define CLI_RUNNER_H

#include <string>
#include <vector>

struct CliRun {
    std::string out;
    std::string err;
    int status = -1; /* exit status, or -1 when it did not exit normally */
};

class CliSandbox {
  public:
    /* fixtureJson: the controller state to start from ("" for none). */
    explicit CliSandbox(const std::string &fixtureJson);
    ~CliSandbox();
    const std::string &dir() const { return m_dir; }
    std::string path(const std::string &name) const { return m_dir + "/" + name; }
    /* Environment set for every run, besides the sandbox's own. */
    std::vector<std::string> extraEnv;

    CliRun run(const std::vector<std::string> &args, const std::string &input = "") const;
    /* The shell on a pseudo-terminal: waits for each prompt, types the
       next line; after the last one closes the terminal's input side by
       sending end-of-file (Ctrl-D). Returns everything the terminal
       showed. */
    CliRun runOnTerminal(const std::vector<std::string> &args,
                         const std::vector<std::string> &lines) const;

  private:
    std::vector<std::string> environment() const;
    /* In the child: run arrayctl with args in the sandbox; never returns. */
    [[noreturn]] void execInSandbox(const std::vector<std::string> &args) const;
    std::string m_dir;
    int m_auditFd = -1; // the sandbox's own log socket: audit records never reach the machine's log
};

/* Contents of a golden file, with @API@ replaced by the controller
   library's version string. */
std::string golden(const std::string &name);
std::string readFile(const std::string &path);
void writeFile(const std::string &path, const std::string &text);

#endif
