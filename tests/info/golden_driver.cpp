#include "golden_driver.h"

#include <fcntl.h>
#include <ftw.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include <fstream>
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
            std::istringstream words(line.substr(4));
            std::string w;
            while (words >> w)
                c.args.push_back(w);
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
                      const std::vector<std::pair<std::string, std::string>> &extraEnv)
{
    GoldenRun r;
    const std::string outPath = dir + "/stdout", errPath = dir + "/stderr";
    pid_t pid = fork();
    if (pid < 0)
        return r;
    if (pid == 0) {
        int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int in = open("/dev/null", O_RDONLY);
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
    return r;
}

std::string startupPrelude()
{
    // The device probed at start-up does not exist in the scratch
    // directory: two failed tries, each followed by this line (the error
    // itself goes to standard error).
    return "Wait for SG driver ready.\nWait for SG driver ready.\n";
}
