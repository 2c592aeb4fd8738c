// Eight PHP processes issue a mixed stream of requests while another
// process changes the simulated controller and captures its events: every
// request is answered, every answer is well-formed XML whose root is the
// request's name, and no process dies.
#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <tinyxml.h>
#include <unistd.h>

#include "kx_api.h"
#include "php_driver.h"
#include "qta_api.h"
#include "rpc_env.h"

namespace {

const char *const kMix[] = {
    "<KX_PD_GetHDInfo><AdapterID>0</AdapterID><requestType>1</requestType><startingIndexOrId>0</startingIndexOrId>"
    "<numRequested>5</numRequested></KX_PD_GetHDInfo>",
    "<KX_LD_GetInfo><AdapterID>0</AdapterID><requestType>1</requestType><startingIndexOrId>0</startingIndexOrId>"
    "<numRequested>5</numRequested></KX_LD_GetInfo>",
    "<AR_KX_EVT_GetEvents><s>0</s><n>25</n></AR_KX_EVT_GetEvents>",
    "<AR_KX_EVT_GetChangeCounters/>",
    "<KX_Adapter_GetInfo><AdapterID>0</AdapterID></KX_Adapter_GetInfo>",
    "<KX_BBU_GetInfo><AdapterID>0</AdapterID></KX_BBU_GetInfo>",
    "<KX_ENC_GetElementInfo><AdapterID>0</AdapterID><ENC_ID>0</ENC_ID></KX_ENC_GetElementInfo>",
    "<KX_PD_GET_SMART_INFO><AdapterID>0</AdapterID><HD_ID>1</HD_ID></KX_PD_GET_SMART_INFO>",
    "<KX_DG_GetInfo><AdapterID>0</AdapterID><requestType>1</requestType><startingIndexOrId>0</startingIndexOrId>"
    "<numRequested>4</numRequested></KX_DG_GetInfo>",
    "<KX_API_Info/>",
};
const char *const kRoots[] = {"KX_PD_GetHDInfo", "KX_LD_GetInfo", "AR_KX_EVT_GetEvents",
                              "AR_KX_EVT_GetChangeCounters", "KX_Adapter_GetInfo", "KX_BBU_GetInfo",
                              "KX_ENC_GetElementInfo", "KX_PD_GET_SMART_INFO", "KX_DG_GetInfo", "KX_API_Info"};
const int kMixSize = sizeof kMix / sizeof kMix[0];
const int kWorkers = 8;
const int kPerWorker = 500;

std::string fixture()
{
    std::ifstream in(std::string(RPCOPS_DATA) + "/e2e_state.json", std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The other process: battery thresholds and the alarm change, events are
// captured, until it is told to stop.
pid_t startChanger()
{
    pid_t pid = fork();
    if (pid != 0)
        return pid;
    for (unsigned i = 0;; ++i) {
        KX_BBU_SetThreshold(0, 1, static_cast<KX_U16>(i % 10), 60);
        if (i % 3 == 0)
            KX_AdapterMute(0);
        QTA_APIEventToFile();
        usleep(2000);
    }
}

TEST(RpcConcurrency, EightProcessesAndAChangingController)
{
    TempDir dir;
    dir.write("state.json", fixture());
    useTestDirectory(dir.path());
    pid_t changer = startChanger();
    ASSERT_GT(changer, 0);

    std::atomic<int> answered{0}, wellFormed{0};
    std::vector<std::string> failures[kWorkers];
    std::vector<std::thread> threads;
    for (int w = 0; w < kWorkers; ++w) {
        threads.emplace_back([&, w] {
            PhpWorker worker(dir);
            for (int i = 0; i < kPerWorker; ++i) {
                int k = (i + w) % kMixSize;
                std::string out = worker.request(kMix[k]);
                std::string::size_type at = out.rfind("\nrc=1 ");
                if (at == std::string::npos) {
                    failures[w].push_back(std::string("no answer to ") + kRoots[k] + ": " + out.substr(0, 200));
                    continue;
                }
                ++answered;
                TiXmlDocument doc;
                doc.Parse(out.c_str() + at + 6);
                const TiXmlElement *root = doc.RootElement();
                if (!doc.Error() && root && root->ValueStr() == kRoots[k] && root->FirstChildElement())
                    ++wellFormed;
                else
                    failures[w].push_back(std::string("bad answer to ") + kRoots[k] + ": " + out.substr(at, 200));
            }
            worker.quit();
        });
    }
    for (std::thread &t : threads)
        t.join();
    kill(changer, SIGKILL);
    int status = 0;
    waitpid(changer, &status, 0);

    for (int w = 0; w < kWorkers; ++w)
        for (const std::string &f : failures[w])
            ADD_FAILURE() << "worker " << w << ": " << f;
    EXPECT_EQ(kWorkers * kPerWorker, answered.load());
    EXPECT_EQ(kWorkers * kPerWorker, wellFormed.load());
    // The changer ran throughout: its events reached the store.
    Event_ChangeCounters c;
    QTA_GetEventChangeStatus(&c);
    EXPECT_GT(c.Whatever_Change, 0u);
}

} // namespace
