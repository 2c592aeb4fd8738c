// The command and set requests through the real PHP interpreter and the
// built module. Each scenario in data/commands is a fixture (<name>.json)
// and a transcript (<name>.transcript): request lines ("> " and the XML)
// each followed by the response expected, byte for byte; information
// requests between the commands show what each one changed. One PHP
// process runs a whole scenario, as one web-server worker would.
//
// RPCOPS_WRITE_TRANSCRIPTS=1 writes the responses the module gives into
// the transcripts instead of comparing (review the difference before
// committing it).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "php_driver.h"

namespace {

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string scenarioFile(const std::string &name) { return std::string(RPCOPS_DATA) + "/commands/" + name; }

// The worker prints the module's trace lines, then "rc=<code> ", the
// response (which ends in a newline of its own) and a newline.
std::string answerOf(const std::string &workerOutput)
{
    std::string::size_type at = workerOutput.rfind("\nrc=");
    at = at == std::string::npos ? 0 : at + 1;
    if (workerOutput.compare(at, 5, "rc=1 ") != 0)
        return "<no answer: " + workerOutput.substr(at) + ">";
    std::string r = workerOutput.substr(at + 5);
    if (r.size() < 2 || r.compare(r.size() - 2, 2, "\n\n") != 0)
        return "<no newline after: " + r + ">";
    return r.substr(0, r.size() - 2);
}

void runScenario(const std::string &name)
{
    TempDir dir;
    dir.write("state.json", readFile(scenarioFile(name + ".json")));
    const bool write = std::getenv("RPCOPS_WRITE_TRANSCRIPTS") != nullptr;
    std::istringstream in(readFile(scenarioFile(name + ".transcript")));
    std::string written, line;
    int requests = 0;
    PhpWorker worker(dir);
    while (std::getline(in, line)) {
        if (line.compare(0, 2, "> ") != 0) {
            if (line.empty() || line[0] == '#')
                written += line + "\n";
            continue;
        }
        ++requests;
        std::string got = answerOf(worker.request(line.substr(2)));
        written += line + "\n" + got + "\n";
        if (write)
            continue;
        std::string expected;
        std::getline(in, expected);
        EXPECT_EQ(expected, got) << "request " << requests << ": " << line;
    }
    worker.quit();
    EXPECT_GT(requests, 20);
    if (write)
        std::ofstream(scenarioFile(name + ".transcript"), std::ios::binary | std::ios::trunc) << written;
}

// Arrays on an array-based adapter: created (the new ID reported), sized,
// given a VD, migrated, rebuilt, deleted; spares assigned and freed;
// activities started, paused and stopped; locate LEDs; settings.
TEST(RpcCommands, ArraysDisksAndActivities) { runScenario("arrays"); }

// VDs made from disks on an adapter with Tandem levels: created,
// configured, migrated and deleted; quick create; Tandem volumes.
TEST(RpcCommands, VolumesFromDisks) { runScenario("volumes"); }

} // namespace
