// In-process requests over the simulated controller: a temporary
// directory with the controller state and the event store, and one
// dispatcher with every operator, as one web-server worker has.
#ifndef RPCOPS_RPC_FIXTURE_H
#define RPCOPS_RPC_FIXTURE_H

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "Parser/KXRequestHandle.h"

class RpcFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Replaces the controller state with a fixture document.
    void load(const std::string &stateJson);
    // One request; the response text (empty when the dispatcher refused).
    std::string issue(const std::string &xml);
    std::string file(const std::string &name) const { return m_dir + "/" + name; }
    void writeFile(const std::string &name, const std::string &content) const;

    std::string m_dir;
    std::unique_ptr<KXRequestHandle> m_handle;
};

// The value of the first member or scalar named name in a response, or
// "<absent>".
std::string memberOf(const std::string &response, const std::string &name);
// How many elements named name a response has.
int countOf(const std::string &response, const std::string &name);
std::string readWhole(const std::string &path);

#endif
