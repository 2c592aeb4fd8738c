#include "golden_driver.h"

#include <fcntl.h>
#include <ftw.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>

#ifndef ARRAYCTL_PATH
#error "ARRAYCTL_PATH must name the arrayctl binary under test"
#endif

ScratchDir::ScratchDir()
{
    const char *base = getenv("TMPDIR");
    std::string templ = std::string(base && *base ? base : "/tmp") + "/info-golden-XXXXXX";
    std::vector<char> buf(templ.begin(), templ.end());
    buf.push_back('\0');
    if (!mkdtemp(buf.data()))
        throw std::runtime_error("mkdtemp failed");
    m_path = buf.data();
}

static int removeEntry(const char *path, const struct stat *, int, struct FTW *)
{
    return remove(path);
}

ScratchDir::~ScratchDir()
{
    nftw(m_path.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
}

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void writeFile(const std::string &path, const std::string &data)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << data;
}

std::string unescapeC(const std::string &s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        char c = s[++i];
        switch (c) {
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case 'r': out += '\r'; break;
        case '0': out += '\0'; break;
        case 'x':
            if (i + 2 < s.size() + 0 && isxdigit((unsigned char)s[i + 1]) && isxdigit((unsigned char)s[i + 2])) {
                out += static_cast<char>(strtol(s.substr(i + 1, 2).c_str(), nullptr, 16));
                i += 2;
            } else {
                out += 'x';
            }
            break;
        default: out += c; break;
        }
    }
    return out;
}

static std::vector<std::string> splitWords(const std::string &line)
{
    std::vector<std::string> words;
    std::string w;
    bool inWord = false, quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (c == '\\' && i + 1 < line.size() && (line[i + 1] == '"' || line[i + 1] == '\\')) {
            w += line[++i];
            inWord = true;
        } else if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (c == ' ' && !quoted) {
            if (inWord)
                words.push_back(w);
            w.clear();
            inWord = false;
        } else {
            w += c;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(w);
    return words;
}

std::vector<GoldenCommand> parseGolden(const std::string &text)
{
    std::vector<GoldenCommand> cmds;
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (line.compare(0, 4, "=== ") == 0) {
            GoldenCommand c;
            c.line = lineNo;
            c.args = splitWords(line.substr(4));
            cmds.push_back(c);
        } else if (cmds.empty()) {
            continue;  // comments before the first command
        } else if (line.compare(0, 7, "--- rc ") == 0) {
            cmds.back().exitStatus = atoi(line.c_str() + 7);
        } else if (line.compare(0, 10, "--- fault ") == 0) {
            std::istringstream words(line.substr(10));
            GoldenCommand::Fault f{"", 0, -1};
            words >> f.op >> f.status;
            if (!(words >> f.adapter))
                f.adapter = -1;
            cmds.back().faults.push_back(f);
        } else if (line.compare(0, 10, "--- stdin ") == 0 || line == "--- stdin") {
            cmds.back().hasStdin = true;
            cmds.back().stdinText = line.size() > 10 ? unescapeC(line.substr(10)) : "";
        } else if (line == "--- keep") {
            cmds.back().keep = true;
        } else if (line == "--- unchanged") {
            cmds.back().unchanged = true;
        } else if (line.compare(0, 10, "--- state ") == 0) {
            std::string rest = line.substr(10);
            size_t sp = rest.find(' ');
            cmds.back().stateChecks.emplace_back(rest.substr(0, sp), sp == std::string::npos ? "" : rest.substr(sp + 1));
        } else if (line.compare(0, 8, "--- env ") == 0) {
            std::string rest = line.substr(8);
            size_t eq = rest.find('=');
            cmds.back().env.emplace_back(rest.substr(0, eq), eq == std::string::npos ? "" : rest.substr(eq + 1));
        } else if (line.compare(0, 10, "--- audit ") == 0) {
            cmds.back().auditCount = atoi(line.c_str() + 10);
        } else if (line.compare(0, 14, "--- audit-has ") == 0) {
            cmds.back().auditHas.push_back(line.substr(14));
        } else if (line.compare(0, 16, "--- audit-lacks ") == 0) {
            cmds.back().auditLacks.push_back(line.substr(16));
        } else if (line.compare(0, 9, "--- same ") == 0) {
            std::vector<std::string> paths = splitWords(line.substr(9));
            paths.resize(2);
            cmds.back().sameFiles.emplace_back(paths[0], paths[1]);
        } else if (line.compare(0, 11, "--- stderr ") == 0 || line == "--- stderr") {
            cmds.back().hasErr = true;
            cmds.back().expectedErr = line.size() > 11 ? unescapeC(line.substr(11)) : "";
        } else {
            cmds.back().expected += line;
            cmds.back().expected += '\n';
        }
    }
    return cmds;
}

std::string fixtureFor(const std::string &fixture, const GoldenCommand &cmd)
{
    if (cmd.faults.empty())
        return fixture;
    nlohmann::json doc = nlohmann::json::parse(fixture);
    auto &adapters = doc["adapters"];
    for (size_t a = 0; a < adapters.size(); ++a)
        for (const auto &f : cmd.faults)
            if (f.adapter < 0 || (size_t)f.adapter == a)
                adapters[a]["faults"][f.op] = f.status;
    return doc.dump(1);
}

GoldenRun runArrayctl(const std::string &dir, const std::vector<std::string> &args,
                      const std::vector<std::pair<std::string, std::string>> &extraEnv,
                      const std::string *stdinText)
{
    GoldenRun r;
    const std::string outPath = dir + "/stdout", errPath = dir + "/stderr";
    const std::string inPath = stdinText ? dir + "/stdin" : std::string("/dev/null");
    if (stdinText)
        writeFile(inPath, *stdinText);
    const std::string auditPath = dir + "/audit.sock";
    unlink(auditPath.c_str());
    int auditFd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    struct sockaddr_un addr {};
    addr.sun_family = AF_UNIX;
    snprintf(addr.sun_path, sizeof addr.sun_path, "%s", auditPath.c_str());
    if (auditFd >= 0 && (auditPath.size() >= sizeof addr.sun_path ||
                         bind(auditFd, reinterpret_cast<struct sockaddr *>(&addr), sizeof addr) != 0)) {
        close(auditFd);
        auditFd = -1;
    }
    pid_t pid = fork();
    if (pid < 0)
        return r;
    if (pid == 0) {
        int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int in = open(inPath.c_str(), O_RDONLY);
        if (out < 0 || err < 0 || in < 0)
            _exit(126);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        setenv("ARRAYCORE_SIM_STATE", (dir + "/state.json").c_str(), 1);
        setenv("ARRAY_DB_DIR", dir.c_str(), 1);
        setenv("ARRAY_CLOCK_FILE", (dir + "/clock").c_str(), 1);
        setenv("ARRAY_SG_DEVICE", (dir + "/no-sg-device").c_str(), 1);
        setenv("ARRAY_SG_WAIT", "0", 1);
        setenv("TZ", "UTC", 1);
        setenv("ARRAY_AUDIT_SOCKET", auditPath.c_str(), 1);
        for (const auto &e : extraEnv)
            setenv(e.first.c_str(), e.second.c_str(), 1);
        std::vector<char *> argv;
        argv.push_back(const_cast<char *>(ARRAYCTL_PATH));
        for (const std::string &a : args)
            argv.push_back(const_cast<char *>(a.c_str()));
        argv.push_back(nullptr);
        execv(ARRAYCTL_PATH, argv.data());
        _exit(127);
    }
    int status = 0;
    if (waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        r.exitStatus = WEXITSTATUS(status);
    r.out = readFile(outPath);
    r.err = readFile(errPath);
    r.auditHeard = auditFd >= 0;
    if (auditFd >= 0) {
        char buf[8192];
        ssize_t n;
        while ((n = recv(auditFd, buf, sizeof buf, MSG_DONTWAIT)) > 0)
            r.audit.emplace_back(buf, static_cast<size_t>(n));
        close(auditFd);
    }
    unlink(auditPath.c_str());
    return r;
}

std::string startupPrelude()
{
    // The device probed at start-up does not exist in the scratch
    // directory: two failed tries, each followed by this line (the error
    // itself goes to standard error).
    return "Wait for SG driver ready.\nWait for SG driver ready.\n";
}

static std::string replaceAll(std::string s, const std::string &from, const std::string &to)
{
    for (size_t p = s.find(from); p != std::string::npos; p = s.find(from, p + to.size()))
        s.replace(p, from.size(), to);
    return s;
}

int runGoldenFile(const std::string &goldenPath)
{
    const std::string text = readFile(goldenPath);
    std::string base = goldenPath.substr(0, goldenPath.rfind('.'));
    std::string fixturePath = base + ".json";
    if (text.compare(0, 10, "#fixture: ") == 0) {
        std::string name = text.substr(10, text.find('\n') - 10);
        fixturePath = goldenPath.substr(0, goldenPath.rfind('/') + 1) + name;
    }
    const std::string fixture = readFile(fixturePath);
    const std::vector<GoldenCommand> cmds = parseGolden(text);
    if (fixture.empty() || cmds.empty()) {
        fprintf(stderr, "%s: no fixture (%s) or no command\n", goldenPath.c_str(), fixturePath.c_str());
        return 1;
    }
    int failed = 0;
    std::unique_ptr<ScratchDir> dir;
    for (const GoldenCommand &c : cmds) {
        // A fresh copy for every command unless it continues the previous
        // one's state: the simulated controller writes its state back.
        if (!c.keep || !dir) {
            dir.reset(new ScratchDir);
            writeFile(dir->path() + "/state.json", fixtureFor(fixture, c));
        }
        const std::string state = dir->path() + "/state.json";
        struct stat before {};
        stat(state.c_str(), &before);
        const std::string beforeText = readFile(state);
        const std::string data = goldenPath.substr(0, goldenPath.rfind('/'));
        auto expand = [&](const std::string &text) {
            return replaceAll(replaceAll(text, "%DIR%", dir->path()), "%DATA%", data);
        };
        std::vector<std::string> args;
        for (const std::string &a : c.args)
            args.push_back(expand(a));
        std::string in = expand(c.stdinText);
        GoldenRun r = runArrayctl(dir->path(), args, c.env, c.hasStdin ? &in : nullptr);
        std::string where = goldenPath + ":" + std::to_string(c.line) + ":";
        for (const std::string &a : c.args)
            where += " " + a;
        std::vector<std::string> problems;
        if (r.exitStatus != c.exitStatus)
            problems.push_back("exit status " + std::to_string(r.exitStatus) + ", expected " + std::to_string(c.exitStatus));
        const std::string expected = startupPrelude() + expand(c.expected);
        if (r.out != expected)
            problems.push_back("standard output differs.\n--- expected\n" + expected + "--- got\n" + r.out + "---");
        if (c.hasErr && r.err != expand(c.expectedErr))
            problems.push_back("standard error differs.\n--- expected\n" + expand(c.expectedErr) + "--- got\n" + r.err + "---");
        for (const auto &same : c.sameFiles) {
            const std::string a = expand(same.first), b = expand(same.second);
            struct stat sa {}, sb {};
            if (stat(a.c_str(), &sa) != 0 || stat(b.c_str(), &sb) != 0 || readFile(a) != readFile(b))
                problems.push_back("files " + a + " and " + b + " differ or are missing");
        }
        // Without the socket, "no record" would pass for any program.
        if ((c.auditCount >= 0 || !c.auditHas.empty() || !c.auditLacks.empty()) && !r.auditHeard)
            problems.push_back("the run's audit socket could not be bound: its records were not checked");
        if (c.auditCount >= 0 && static_cast<int>(r.audit.size()) != c.auditCount)
            problems.push_back(std::to_string(r.audit.size()) + " audit records, expected " + std::to_string(c.auditCount));
        for (const std::string &t : c.auditHas) {
            bool found = false;
            for (const std::string &rec : r.audit)
                found = found || rec.find(expand(t)) != std::string::npos;
            if (!found)
                problems.push_back("no audit record holds '" + t + "'");
        }
        for (const std::string &t : c.auditLacks)
            for (const std::string &rec : r.audit)
                if (rec.find(expand(t)) != std::string::npos)
                    problems.push_back("an audit record holds '" + t + "': " + rec);
        if (c.unchanged) {
            struct stat after {};
            stat(state.c_str(), &after);
            if (after.st_ino != before.st_ino || readFile(state) != beforeText)
                problems.push_back("the state file changed");
        }
        if (!c.stateChecks.empty()) {
            nlohmann::json doc;
            try {
                doc = nlohmann::json::parse(readFile(state));
            } catch (const std::exception &e) {
                problems.push_back(std::string("state file unreadable: ") + e.what());
            }
            for (const auto &chk : c.stateChecks) {
                try {
                    nlohmann::json want = nlohmann::json::parse(chk.second);
                    nlohmann::json got = doc.at(nlohmann::json::json_pointer(chk.first));
                    if (got != want)
                        problems.push_back("state " + chk.first + " is " + got.dump() + ", expected " + want.dump());
                } catch (const std::exception &e) {
                    problems.push_back("state " + chk.first + ": " + e.what());
                }
            }
        }
        if (!problems.empty()) {
            ++failed;
            fprintf(stderr, "FAIL %s\n", where.c_str());
            for (const std::string &p : problems)
                fprintf(stderr, "  %s\n", p.c_str());
            if (!r.err.empty() && !c.hasErr)
                fprintf(stderr, "  stderr: %s\n", r.err.c_str());
        }
    }
    return failed;
}
