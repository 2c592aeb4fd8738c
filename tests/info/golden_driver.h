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
    std::vector<std::string> audit; // records sent to the run's own log socket
    bool auditHeard = false;        // that socket was bound: no record is lost
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
    // Directives of the write-side commands (see parseGolden).
    bool hasStdin = false;
    std::string stdinText;
    bool keep = false;       // run on the state the previous command left
    bool unchanged = false;  // the state file is the same file, byte for byte
    std::vector<std::pair<std::string, std::string>> stateChecks;  // JSON pointer, JSON value
    std::vector<std::pair<std::string, std::string>> env;
    bool hasErr = false;
    std::string expectedErr;
    std::vector<std::pair<std::string, std::string>> sameFiles;  // paths that must hold the same bytes
    int auditCount = -1;                  // records expected; -1: not checked
    std::vector<std::string> auditHas;    // each text in some record
    std::vector<std::string> auditLacks;  // each text in no record
};

// Golden file format, one or more commands:
//   === <arguments separated by single blanks>
//   --- rc <exit status>
//   --- fault <operation> <status> [<adapter>]   (optional, repeatable)
//   <expected output lines, each ending in a newline>
// Lines that begin with "#" before the first "===" are comments.
//
// Arguments are separated by blanks; a word in double quotes may hold
// blanks (the quotes are removed); \" and \\ stand for a quote and a
// backslash. %DIR% in arguments, stdin, expected output and expected
// standard error stands for the command's scratch directory, %DATA% for
// the golden file's own directory (input files kept beside it). Further directives, each optional:
//   --- stdin <text>           standard input (C escapes: \n \t \\ \xHH);
//                              without it standard input is /dev/null
//   --- keep                   run on the state left by the previous command
//                              instead of a fresh copy of the fixture
//   --- unchanged              afterwards the state file is the same file
//                              (inode) with the same bytes as before
//   --- state <pointer> <json> afterwards the state file's value at this
//                              JSON pointer equals <json> (repeatable)
//   --- env NAME=value         extra environment (repeatable)
//   --- stderr <text>          exact standard error (C escapes)
//   --- same <path> <path>     afterwards the two files exist and hold the
//                              same bytes (repeatable)
//   --- audit <n>              the command sent n audit records (every run
//                              has a log socket of its own in its scratch
//                              directory, never the machine's log)
//   --- audit-has <text>       some record holds the text (repeatable)
//   --- audit-lacks <text>     no record holds the text (repeatable)
std::vector<GoldenCommand> parseGolden(const std::string &text);

// Runs every command of a golden file over the fixture <base>.json (or the
// one named by a first line "#fixture: <file>") and reports each
// difference on standard error. Returns the number of failed commands.
int runGoldenFile(const std::string &goldenPath);
// C escapes of a directive's text.
std::string unescapeC(const std::string &s);

// The fixture with the command's faults laid on every adapter.
std::string fixtureFor(const std::string &fixture, const GoldenCommand &cmd);

std::string readFile(const std::string &path);
void writeFile(const std::string &path, const std::string &data);

// Runs arrayctl with args against the state file in dir (a copy of the
// fixture), with every platform path moved into dir.
// extraEnv adds variables (name, value) to the child's environment.
// stdinText, when given, is the child's standard input (else /dev/null).
GoldenRun runArrayctl(const std::string &dir, const std::vector<std::string> &args,
                      const std::vector<std::pair<std::string, std::string>> &extraEnv = {},
                      const std::string *stdinText = nullptr);

// What arrayctl writes on standard output before the command's own output
// when no SCSI generic device can be used.
std::string startupPrelude();

#endif
