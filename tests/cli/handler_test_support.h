// Handlers run in-process over a state file of the simulated controller
// of their own: the test program's main, the state writer and the runner.
#ifndef HANDLER_TEST_SUPPORT_H
#define HANDLER_TEST_SUPPORT_H

#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli_test_support.h"
#include "Public/cli_types.h"

// The state file every test of the program uses.
inline std::string &handlerTestState()
{
    static std::string path;
    return path;
}

// Replaces the state whole, by rename, as a test harness writes a fixture.
inline void writeState(const std::string &text)
{
    const std::string &path = handlerTestState();
    std::ofstream(path + ".new") << text;
    ASSERT_EQ(rename((path + ".new").c_str(), path.c_str()), 0);
}

// Runs a handler as the dispatcher would, with its output stream captured.
inline int runHandler(cmd_handler h, std::vector<std::string> words, std::string &out)
{
    cmd_struct row = {words[0].c_str(), (int)words[0].size() + 1, h, "", ""};
    Words w(words);
    StreamCapture cap;
    const int rc = h(w.argc(), w.argv(), &row);
    out = cap.take();
    return rc;
}

// The main of such a program: a scratch directory (dirTemplate ends in
// XXXXXX) holds the state file while the tests run.
inline int runHandlerTests(int argc, char **argv, std::string dirTemplate)
{
    if (!mkdtemp(&dirTemplate[0]))
        return 2;
    handlerTestState() = dirTemplate + "/state.json";
    setenv("ARRAYCORE_SIM_STATE", handlerTestState().c_str(), 1);
    testing::InitGoogleTest(&argc, argv);
    const int rc = RUN_ALL_TESTS();
    std::error_code ec;
    std::filesystem::remove_all(dirTemplate, ec);
    return rc;
}

#endif
