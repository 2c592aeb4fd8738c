// The generated documentation against the tables it comes from: a command
// added to any table must show up in the man page and in the completion,
// and every page must render without a warning.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include <sys/wait.h>

#include "Public/dispatch.h"

namespace {

std::string slurp(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The words the completion offers as a command.
std::string completionCommands(const std::string &script)
{
    const std::string key = "compgen -W '";
    std::size_t b = script.find(key);
    if (b == std::string::npos)
        return "";
    b += key.size();
    return " " + script.substr(b, script.find('\'', b) - b) + " ";
}

struct Rows {
    cmd_struct *rows;
    unsigned short count;
};

TEST(Docs, EveryCommandOfEveryTableIsInTheManPageAndTheCompletion)
{
    const std::string page = slurp(ARRAY_DOC_DIR "/arrayctl.8");
    const std::string words = completionCommands(slurp(ARRAY_DOC_DIR "/completion"));
    ASSERT_FALSE(page.empty());
    ASSERT_FALSE(words.empty());
    const Rows tables[] = {{generalCmdTableV1, generalCmdTableV1Size()},
                           {internalCmdTableV1, internalCmdTableV1Size()},
                           {generalCmdTableV2, generalCmdTableV2Size()},
                           {internalCmdTableV2, internalCmdTableV2Size()}};
    int checked = 0;
    for (const Rows &t : tables) {
        for (unsigned i = 0; i < t.count; ++i) {
            const std::string cmd = t.rows[i].cmd;
            if (cmd == "?")
                continue;
            EXPECT_NE(page.find("\n.SS " + cmd + "\n"), std::string::npos) << cmd;
            EXPECT_NE(words.find(" " + cmd + " "), std::string::npos) << cmd;
            ++checked;
        }
    }
    EXPECT_GT(checked, 60);
}

TEST(Docs, CompletionKnowsOptionsAndObjectWords)
{
    const std::string script = slurp(ARRAY_DOC_DIR "/completion");
    // Gathered from the help pages of both tables.
    EXPECT_NE(script.find("    info) options='--help --id --object'; objects='array bbu blk exp hba pd pm spare vd' ;;\n"),
              std::string::npos);
    int rc = std::system(("bash -n " ARRAY_DOC_DIR "/completion"));
    EXPECT_EQ(rc, 0);
}

TEST(Docs, PagesRenderWithoutWarnings)
{
    std::vector<std::string> pages = {"arrayctl.8", "arrayrpc.7", "arraysim.1", "arraywatch.8"};
#ifdef ARRAY_HAVE_ARRAYSTAT
    pages.push_back("arraystat.8");
#endif
    for (const std::string &page : pages) {
        const std::string path = std::string(ARRAY_DOC_DIR "/") + page;
        ASSERT_FALSE(slurp(path).empty()) << page;
        const std::string cmd = "LC_ALL=C.UTF-8 groff -man -ww -z " + path + " 2>&1";
        FILE *p = popen(cmd.c_str(), "r");
        ASSERT_NE(p, nullptr);
        std::string out;
        char buf[256];
        while (std::fgets(buf, sizeof buf, p))
            out += buf;
        int status = pclose(p);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << page;
        EXPECT_EQ(out, "") << page;
    }
}

}  // namespace
