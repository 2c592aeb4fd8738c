// Runs the real arrayctl over a fixture of the simulated controller and
// compares its output byte for byte.
#ifndef INFO_GOLDEN_DRIVER_H
#define INFO_GOLDEN_DRIVER_H

#include <string>
#include <vector>

struct GoldenRun {
    int exitStatus = -1;
    std::string out;
    std::string err;
};

// A scratch directory of its own, removed again by the destructor.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir &) = delete;
    ScratchDir &operator=(const ScratchDir &) = delete;
    const std::string &path() const { return m_path; }

private:
    std::string m_path;
};

// One command of a golden file: its arguments, exit status and the exact
// standard output expected after the tool's start-up lines.
struct GoldenCommand {
    std::vector<std::string> args;
    // A fault laid on the fixture for this command only: on every adapter,
    // or on one (adapter >= 0).
    struct Fault {
        std::string op;
        int status;
        int adapter;
    };
    std::vector<Fault> faults;
    int exitStatus = 0;
    std::string expected;
    int line = 0;
};

// Golden file format, one or more commands:
//   === <arguments separated by single blanks>
//   --- rc <exit status>
//   --- fault <operation> <status> [<adapter>]   (optional, repeatable)
//   <expected output lines, each ending in a newline>
// Lines that begin with "#" before the first "===" are comments.
std::vector<GoldenCommand> parseGolden(const std::string &text);

// The fixture with the command's faults laid on every adapter.
std::string fixtureFor(const std::string &fixture, const GoldenCommand &cmd);

std::string readFile(const std::string &path);
void writeFile(const std::string &path, const std::string &data);

// Runs arrayctl with args against the state file in dir (a copy of the
// fixture), with every platform path moved into dir.
// extraEnv adds variables (name, value) to the child's environment.
GoldenRun runArrayctl(const std::string &dir, const std::vector<std::string> &args,
                      const std::vector<std::pair<std::string, std::string>> &extraEnv = {});

// What arrayctl writes on standard output before the command's own output
// when no SCSI generic device can be used.
std::string startupPrelude();

#endif
