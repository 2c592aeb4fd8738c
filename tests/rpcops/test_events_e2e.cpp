// The road of an event: queued in the simulated controller, captured into
// the store with QTA_APIEventToFile (here by the test process, as the
// daemon would), read back through the PHP module.
#include <gtest/gtest.h>

#include <regex>

#include "php_driver.h"
#include "qta_api.h"
#include "rpc_env.h"

namespace {

std::string responseOf(const std::string &out)
{
    std::string::size_type at = out.rfind("\nrc=1 ");
    if (at == std::string::npos)
        return "<no answer>";
    std::string r = out.substr(at + 6);
    if (!r.empty() && r.back() == '\n')
        r.pop_back();
    return r;
}

// Ten events of adapter 0, sequence 1 to 10, one second apart from
// 2023-11-14 22:13:20 UTC; the first is the adapter's detection with its
// serial number in the sense bytes.
std::string eventFixture()
{
    std::string events;
    for (int i = 0; i < 10; ++i) {
        std::string e;
        if (i == 0)
            e = "{\"Class\": 0, \"Code\": 9, \"DeviceID\": 0, \"Severity\": 2, \"SenseDataLength\": 6,"
                " \"SenseData\": [75, 88, 48, 48, 49, 50]";
        else if (i == 1)
            e = "{\"Class\": 2, \"Code\": 0, \"DeviceID\": 3, \"Severity\": 3, \"SenseDataLength\": 2,"
                " \"SenseData\": [171, 1]";
        else
            e = "{\"Class\": 1, \"Code\": 26, \"DeviceID\": 3, \"Severity\": 2, \"Params\": [" +
                std::to_string(10 * i) + ", 0, 0, 0]";
        e += ", \"SequenceNo\": " + std::to_string(i + 1) + ", \"TimeStamp\": " + std::to_string(1700000000 + i) + "}";
        events += (i ? ", " : "") + std::string("{\"Event\": ") + e + "}";
    }
    return "{\"adapters\": [{\"events\": [" + events + "]}]}";
}

std::string eventStruct(int cls, int severity, const std::string &msg, const std::string &time)
{
    return "<Event type=\"struct  Event\"><AdapterID><![CDATA[0]]></AdapterID><Class><![CDATA[" + std::to_string(cls) +
           "]]></Class><Msg><![CDATA[" + msg + "]]></Msg><Severity><![CDATA[" + std::to_string(severity) +
           "]]></Severity><Time><![CDATA[" + time + "]]></Time></Event>";
}

const char kCount[] = "<AR_KX_EVT_GetEvents><s>0</s><n>0</n></AR_KX_EVT_GetEvents>";
const char kPage[] = "<AR_KX_EVT_GetEvents><s>0</s><n>25</n><e>4</e></AR_KX_EVT_GetEvents>";
const char kCounters[] = "<AR_KX_EVT_GetChangeCounters/>";

std::string counters(int adapter, int hd, int ld, int misc, int total)
{
    auto c = [](const char *n, int v) {
        return std::string("<") + n + "><![CDATA[" + std::to_string(v) + "]]></" + n + ">";
    };
    return "<AR_KX_EVT_GetChangeCounters type=\"function\"><RetVal type=\"U8\">0</RetVal><Event type=\"struct  Event\">" +
           c("ARRAY_Change", 0) + c("Adapter_Change", adapter) + c("BAT_Change", 0) + c("BSL_Change", 0) +
           c("CACHE_Change", 0) + c("ENCL_Change", 0) + c("Expander_Change", 0) + c("FLASH_Change", 0) +
           c("HD_Change", hd) + c("LD_Change", ld) + c("MDD_Change", 0) + c("MISC_Change", misc) + c("PM_Change", 0) +
           c("SAS_Change", 0) + c("Whatever_Change", total) + "</Event></AR_KX_EVT_GetChangeCounters>\n";
}

TEST(RpcEvents, CapturedEventsReadBackWithTheirMessagesAndTimes)
{
    TempDir dir;
    dir.write("state.json", eventFixture());
    useTestDirectory(dir.path());
    PhpWorker worker(dir);

    // An empty store: count mode answers what it was asked.
    EXPECT_EQ("<AR_KX_EVT_GetEvents type=\"function\"><RetVal type=\"U8\">0</RetVal><n type=\"U32\"><![CDATA[0]]></n>"
              "<s type=\"U32\"><![CDATA[0]]></s></AR_KX_EVT_GetEvents>\n",
              responseOf(worker.request(kCount)));

    QTA_APIEventToFile();

    EXPECT_EQ("<AR_KX_EVT_GetEvents type=\"function\"><RetVal type=\"U8\">0</RetVal><n type=\"U32\"><![CDATA[10]]></n>"
              "<s type=\"U32\"><![CDATA[0]]></s></AR_KX_EVT_GetEvents>\n",
              responseOf(worker.request(kCount)));

    // Ten stored, 25 asked for: ten, oldest first. The processes run with
    // TZ=UTC, so local and universal time read the same here.
    std::string expected = "<AR_KX_EVT_GetEvents type=\"function\"><RetVal type=\"U8\">0</RetVal>"
                           "<n type=\"U32\"><![CDATA[10]]></n><s type=\"U32\"><![CDATA[0]]></s>";
    expected += eventStruct(0, 2, "Adapter 0 with serial number KX0012 is detected", "Tue Nov 14 22:13:20 2023\n");
    expected += eventStruct(2, 3, "Physical disk 3 is unplugged" "AB 01 ", "Tue Nov 14 22:13:21 2023\n");
    for (int i = 2; i < 10; ++i)
        expected += eventStruct(1, 2, "Consistency check on Virtual Disk 3 is " + std::to_string(10 * i) + "% done",
                                "Tue Nov 14 22:13:2" + std::to_string(i) + " 2023\n");
    expected += "</AR_KX_EVT_GetEvents>\n";
    EXPECT_EQ(expected, responseOf(worker.request(kPage)));

    // A page further on, and a request without "n": the page size of the
    // previous request stays.
    std::string later = responseOf(worker.request("<AR_KX_EVT_GetEvents><s>8</s></AR_KX_EVT_GetEvents>"));
    EXPECT_NE(std::string::npos, later.find("<n type=\"U32\"><![CDATA[2]]></n><s type=\"U32\"><![CDATA[8]]></s>"));
    EXPECT_EQ(2u, std::count(later.begin(), later.end(), '%'));

    EXPECT_EQ(counters(1, 1, 8, 0, 10), responseOf(worker.request(kCounters)));

    // A capture finds nothing new: the store is unchanged.
    QTA_APIEventToFile();
    EXPECT_EQ(counters(1, 1, 8, 0, 10), responseOf(worker.request(kCounters)));

    // An event the simulated controller raises itself.
    EXPECT_NE(std::string::npos,
              worker.request("<KX_AdapterMute><AdapterID>0</AdapterID></KX_AdapterMute>").find("rc=1 <KX_AdapterMute"));
    QTA_APIEventToFile();
    std::string page = responseOf(worker.request("<AR_KX_EVT_GetEvents><s>10</s><n>5</n></AR_KX_EVT_GetEvents>"));
    EXPECT_NE(std::string::npos, page.find("<Class><![CDATA[12]]></Class><Msg><![CDATA[Adapter buzzer set to mute]]></Msg>"))
        << page;

    // A service event.
    QTA_AddSPEvent(1, 1, 0, 0, 0, 0);
    page = responseOf(worker.request("<AR_KX_EVT_GetEvents><s>11</s><n>5</n></AR_KX_EVT_GetEvents>"));
    std::regex service("<n type=\"U32\"><!\\[CDATA\\[1\\]\\]></n>.*<Event type=\"struct  Event\"><AdapterID><!\\[CDATA\\[0\\]\\]>"
                       "</AdapterID><Class><!\\[CDATA\\[12\\]\\]></Class><Msg><!\\[CDATA\\[Scheduled maintenance started"
                       "\\]\\]></Msg><Severity><!\\[CDATA\\[2\\]\\]></Severity><Time><!\\[CDATA\\[[A-Z][a-z]{2} [A-Z][a-z]{2} "
                       "[ 0-9]\\d \\d\\d:\\d\\d:\\d\\d \\d{4}\n\\]\\]></Time></Event>");
    EXPECT_TRUE(std::regex_search(page, service)) << page;

    // Reset: every counter back to zero, nothing to read.
    EXPECT_EQ("<AR_KX_EVT_Reset type=\"function\"><RetVal type=\"U8\">0</RetVal></AR_KX_EVT_Reset>\n",
              responseOf(worker.request("<AR_KX_EVT_Reset/>")));
    EXPECT_EQ(counters(0, 0, 0, 0, 0), responseOf(worker.request(kCounters)));
    EXPECT_EQ("<AR_KX_EVT_GetEvents type=\"function\"><RetVal type=\"U8\">0</RetVal><n type=\"U32\"><![CDATA[0]]></n>"
              "<s type=\"U32\"><![CDATA[0]]></s></AR_KX_EVT_GetEvents>\n",
              responseOf(worker.request(kPage)));
    worker.quit();
}

} // namespace
