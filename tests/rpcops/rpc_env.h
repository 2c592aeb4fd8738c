// The test process's own view of a test directory: it points the
// simulated controller and the event store at the same files the PHP
// processes of the test use, so that it can raise and capture events.
#ifndef RPCOPS_RPC_ENV_H
#define RPCOPS_RPC_ENV_H

#include <cstdlib>
#include <string>

inline void useTestDirectory(const std::string &dir)
{
    setenv("ARRAYCORE_SIM_STATE", (dir + "/state.json").c_str(), 1);
    setenv("ARRAY_DB_DIR", dir.c_str(), 1);
    setenv("ARRAY_CLOCK_FILE", (dir + "/clock").c_str(), 1);
}

#endif
