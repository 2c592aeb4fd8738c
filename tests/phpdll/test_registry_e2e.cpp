// The process registry across real PHP processes sharing one (private)
// registry: who initialises the controller library, and when.
#include <gtest/gtest.h>

#include <memory>

#include "php_driver.h"

namespace {

// Unknown to the dispatcher, so nothing but the registry and the library's
// initialisation is involved.
const char kAnyRequest[] = "<KX_Registry_Probe/>";

int countOf(const std::vector<int> &table, int pid)
{
    int n = 0;
    for (int i = 1; i < 512; ++i)
        n += table[i] == pid;
    return n;
}

TEST(Registry, FirstRequestRegistersTheProcessOnce)
{
    TempDir dir;
    PhpWorker worker(dir);
    worker.readUntil("PHP module loaded");
    std::vector<int> fresh = readRegistry(dir);
    ASSERT_EQ(512u, fresh.size());
    EXPECT_EQ(1, fresh[0]);
    EXPECT_EQ(0, countOf(fresh, worker.pid()));

    for (int i = 0; i < 3; ++i)
        EXPECT_NE(std::string::npos, worker.request(kAnyRequest).find("rc=4 untouched"));
    std::vector<int> table = readRegistry(dir);
    EXPECT_EQ(2, table[0]);
    EXPECT_EQ(worker.pid(), table[1]);
    EXPECT_EQ(1, countOf(table, worker.pid()));
}

TEST(Registry, EmptyRequestDoesNotRegister)
{
    TempDir dir;
    PhpWorker worker(dir);
    worker.readUntil("PHP module loaded");
    EXPECT_NE(std::string::npos, worker.request("").find("rc=1 \n"));
    EXPECT_EQ(1, readRegistry(dir)[0]);
}

TEST(Registry, LoadingTheModuleInANewProcessClearsTheTable)
{
    TempDir dir;
    PhpWorker first(dir);
    first.readUntil("PHP module loaded");
    first.request(kAnyRequest);
    ASSERT_EQ(first.pid(), readRegistry(dir)[1]);

    PhpWorker second(dir);
    second.readUntil("PHP module loaded");
    std::vector<int> cleared = readRegistry(dir);
    EXPECT_EQ(1, cleared[0]);
    EXPECT_EQ(0, countOf(cleared, first.pid()));

    // So the first process registers (and initialises) again.
    first.request(kAnyRequest);
    std::vector<int> table = readRegistry(dir);
    EXPECT_EQ(2, table[0]);
    EXPECT_EQ(first.pid(), table[1]);
}

TEST(Registry, SixtiethProcessWrapsToSlotOne)
{
    TempDir dir;
    std::vector<std::unique_ptr<PhpWorker>> workers;
    // All load first: each load starts the table afresh.
    for (int i = 0; i < 60; ++i)
        workers.emplace_back(new PhpWorker(dir));
    for (auto &w : workers)
        w->readUntil("PHP module loaded");

    for (int i = 0; i < 59; ++i)
        workers[i]->request(kAnyRequest);
    std::vector<int> full = readRegistry(dir);
    EXPECT_EQ(60, full[0]);
    for (int i = 0; i < 59; ++i)
        EXPECT_EQ(workers[i]->pid(), full[i + 1]) << "slot " << i + 1;

    workers[59]->request(kAnyRequest);
    std::vector<int> wrapped = readRegistry(dir);
    EXPECT_EQ(2, wrapped[0]);
    EXPECT_EQ(workers[59]->pid(), wrapped[1]);
    EXPECT_EQ(0, countOf(wrapped, workers[0]->pid()));
    for (int i = 60; i < 512; ++i)
        ASSERT_EQ(0, wrapped[i]) << i;

    // A process whose slot survived the wrap is still known ...
    workers[30]->request(kAnyRequest);
    EXPECT_EQ(2, readRegistry(dir)[0]);
    // ... the one whose slot was overwritten registers again, in slot 2.
    workers[0]->request(kAnyRequest);
    std::vector<int> again = readRegistry(dir);
    EXPECT_EQ(3, again[0]);
    EXPECT_EQ(workers[0]->pid(), again[2]);
    EXPECT_EQ(0, countOf(again, workers[1]->pid()));
}

TEST(Registry, LastProcessToLeaveRemovesTheTable)
{
    TempDir dir;
    {
        PhpWorker worker(dir);
        worker.readUntil("PHP module loaded");
        worker.request(kAnyRequest);
        ASSERT_FALSE(readRegistry(dir).empty());
    }
    EXPECT_TRUE(readRegistry(dir).empty());
}

} // namespace
