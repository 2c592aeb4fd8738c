// The shared library as the daemon and the web module load it, over the
// simulated controller: events queued by a fixture reach the store once.
#include "arraycore.h"
#include "qta_api.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

class StoreOverSim : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/chronicle-sim-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        m_dir = tmpl;
        std::ofstream(m_dir + "/state.json") <<
            R"({"adapters":[)"
            R"({"Adapter_Info":{"SerialNo":"SIM-A"},"events":[)"
            R"({"Event":{"Class":2,"Code":1,"DeviceID":3,"Severity":2,"SequenceNo":10}},)"
            R"({"Event":{"Class":1,"Code":2,"DeviceID":0,"Severity":2,"SequenceNo":11}}]},)"
            R"({"Adapter_Info":{"SerialNo":"SIM-B"},"events":[)"
            R"({"Event":{"Class":9,"Code":0,"Severity":2,"SequenceNo":5}}]}]})";
        setenv("ARRAYCORE_SIM_STATE", (m_dir + "/state.json").c_str(), 1);
        setenv("ARRAY_DB_DIR", m_dir.c_str(), 1);
        ASSERT_EQ(KX_API_Initialize(), 0);
    }
    void TearDown() override
    {
        KX_API_Finalize();
        std::string cmd = "rm -rf '" + m_dir + "'";
        if (std::system(cmd.c_str()) != 0)
            ADD_FAILURE() << "cannot remove " << m_dir;
    }
    std::vector<ServiceEvent> readAll()
    {
        std::vector<ServiceEvent> out(100);
        KX_U32 n = 100;
        QTA_GetEvent(0, &n, out.data());
        out.resize(n);
        return out;
    }
    std::string m_dir;
};

TEST_F(StoreOverSim, CaptureDrainsEveryAdapterOnce)
{
    ASSERT_EQ(KX_Adapter_GetCount(), 2);
    // message reads the queue without taking from it.
    Event_Message msgs[50];
    KX_U8 count = 0;
    ASSERT_EQ(KX_EVT_GetEventMessage(0, 50, &count, msgs), 0);
    ASSERT_EQ(count, 2);
    EXPECT_STREQ(msgs[0].msg, " Physical disk 3 is plugged in");

    QTA_APIEventToFile();
    auto all = readAll();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].kxevent.SequenceNo, 10u);
    EXPECT_EQ(all[1].kxevent.SequenceNo, 11u);
    EXPECT_EQ(all[2].kxevent.SequenceNo, 5u);
    Event_ChangeCounters c;
    QTA_GetEventChangeStatus(&c);
    EXPECT_EQ(c.HD_Change, 1u);
    EXPECT_EQ(c.LD_Change, 1u);
    EXPECT_EQ(c.BAT_Change, 1u);
    EXPECT_EQ(c.Whatever_Change, 3u);

    QTA_APIEventToFile();
    EXPECT_EQ(readAll().size(), 3u);
    QTA_ClearFile();
    EXPECT_TRUE(readAll().empty());
}

} // namespace
