// Every operator through the real PHP interpreter and the built module:
// the responses to data/requests.txt over data/e2e_state.json, each
// compared byte for byte with data/golden/<name>.xml (derived from the
// fixture by data/make_golden.py), plus a failing list call.
#include <gtest/gtest.h>

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

std::string data(const std::string &name) { return readFile(std::string(RPCOPS_DATA) + "/" + name); }

// What arrayrpc() put into its result variable: the worker prints the
// module's trace lines, then "rc=<code> " and the result and a newline.
std::string responseOf(const std::string &workerOutput, std::string &rc)
{
    std::string::size_type at = workerOutput.rfind("\nrc=");
    at = at == std::string::npos ? 0 : at + 1;
    if (workerOutput.compare(at, 3, "rc=") != 0)
        return "<no answer>";
    std::string::size_type blank = workerOutput.find(' ', at);
    rc = workerOutput.substr(at + 3, blank - at - 3);
    std::string r = workerOutput.substr(blank + 1);
    if (!r.empty() && r.back() == '\n')
        r.pop_back();
    return r;
}

struct Request {
    std::string name, xml;
};

std::vector<Request> requests()
{
    std::vector<Request> out;
    std::istringstream in(data("requests.txt"));
    std::string line;
    while (std::getline(in, line)) {
        std::string::size_type blank = line.find(' ');
        if (blank == std::string::npos)
            continue;
        std::string xml = line.substr(blank + 1);
        for (std::string::size_type at; (at = xml.find("@DATA@")) != std::string::npos;)
            xml.replace(at, 6, RPCOPS_DATA);
        out.push_back({line.substr(0, blank), xml});
    }
    return out;
}

TEST(RpcOperatorsGolden, EveryRequestAnswersAsExpected)
{
    TempDir dir;
    dir.write("state.json", data("e2e_state.json"));
    PhpWorker worker(dir);
    std::vector<Request> all = requests();
    ASSERT_GE(all.size(), 45u);
    for (const Request &r : all) {
        SCOPED_TRACE(r.name);
        std::string rc;
        std::string got = responseOf(worker.request(r.xml), rc);
        EXPECT_EQ("1", rc);
        EXPECT_EQ(data("golden/" + r.name + ".xml"), got);
    }
    worker.quit();
}

TEST(RpcOperatorsGolden, FailingListCallsReportTheirStatusAndNoRecords)
{
    TempDir dir;
    // Disk RAID status and the VD list fail on the controller.
    std::string state = data("e2e_state.json");
    std::string::size_type pos = state.find("\"Adapter_Info\"");
    ASSERT_NE(std::string::npos, pos);
    state.insert(pos, "\"faults\": {\"KX_PD_GetHDRaidStatus\": 13, \"KX_LD_GetInfo\": 19},\n");
    dir.write("state.json", state);
    PhpWorker worker(dir);
    std::string rc;
    EXPECT_EQ("<KX_PD_GetHDRaidStatus type=\"function\"><RetVal type=\"U8\">13</RetVal>"
              "<RequestHeader type=\"struct  RequestHeader\"><AdapterID><![CDATA[0]]></AdapterID>"
              "<nextStartingIndex><![CDATA[65535]]></nextStartingIndex><numRequested><![CDATA[5]]></numRequested>"
              "<numReturned><![CDATA[0]]></numReturned><requestType><![CDATA[1]]></requestType>"
              "<startingIndexOrId><![CDATA[0]]></startingIndexOrId></RequestHeader></KX_PD_GetHDRaidStatus>\n",
              responseOf(worker.request("<KX_PD_GetHDRaidStatus><AdapterID>0</AdapterID><requestType>1</requestType>"
                                        "<startingIndexOrId>0</startingIndexOrId><numRequested>5</numRequested>"
                                        "</KX_PD_GetHDRaidStatus>"),
                         rc));
    // The VD list leaves the paging entries out after a failing first call.
    EXPECT_EQ("<KX_LD_GetInfo type=\"function\"><RetVal type=\"U8\">19</RetVal>"
              "<RequestHeader type=\"struct  RequestHeader\"><AdapterID><![CDATA[0]]></AdapterID>"
              "<numRequested><![CDATA[5]]></numRequested><requestType><![CDATA[1]]></requestType>"
              "<startingIndexOrId><![CDATA[0]]></startingIndexOrId></RequestHeader></KX_LD_GetInfo>\n",
              responseOf(worker.request("<KX_LD_GetInfo><AdapterID>0</AdapterID><requestType>1</requestType>"
                                        "<startingIndexOrId>0</startingIndexOrId><numRequested>5</numRequested>"
                                        "</KX_LD_GetInfo>"),
                         rc));
    worker.quit();
}

} // namespace
