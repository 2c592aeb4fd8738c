// Event messages and times of the GUI, and the event operators' handling
// of the page they are asked for.
#include "rpc_fixture.h"

#include <cstdlib>
#include <ctime>

#include "Operators/event/EventText.h"
#include "qta_api.h"

namespace {

ServiceEvent event(KX_U16 cls, KX_U16 code, KX_U32 time = 1700000000)
{
    ServiceEvent e;
    std::memset(&e, 0, sizeof e);
    e.kxevent.Class = cls;
    e.kxevent.Code = code;
    e.kxevent.TimeStamp = time;
    e.kxevent.Severity = 2;
    return e;
}

class EventTexts : public RpcFixture {
protected:
    void SetUp() override
    {
        RpcFixture::SetUp();
        const char *tz = getenv("TZ");
        m_tz = tz ? tz : "";
        m_hadTz = tz != nullptr;
        setenv("TZ", "Asia/Tokyo", 1);
        tzset();
    }
    void TearDown() override
    {
        if (m_hadTz)
            setenv("TZ", m_tz.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
        RpcFixture::TearDown();
    }
    std::string m_tz;
    bool m_hadTz = false;
};

TEST_F(EventTexts, AdapterDetectionIsInLocalTimeWhateverTheClock)
{
    // The hardware clock keeps local time: controller times are read as
    // universal time, except the adapter's detection.
    writeFile("clock", "# HWCLOCK=\"-u\"\nUTC=false\n");
    EXPECT_EQ("Wed Nov 15 07:13:20 2023\n", getTime(event(0, 9)));
    EXPECT_EQ("Tue Nov 14 22:13:20 2023\n", getTime(event(1, 26)));
    // The clock mode is read afresh for every event.
    writeFile("clock", "UTC=true\n");
    EXPECT_EQ("Wed Nov 15 07:13:20 2023\n", getTime(event(0, 9)));
    EXPECT_EQ("Wed Nov 15 07:13:20 2023\n", getTime(event(1, 26)));
}

TEST(EventMessages, ServiceEventsAndTheGuiWording)
{
    ServiceEvent e = event(12, 1);
    e.from = 1;
    EXPECT_EQ("Scheduled maintenance started", getMsg(e));
    e.kxevent.Code = 2;
    EXPECT_EQ("Default acceleration started", getMsg(e));
    e.kxevent.Code = 3;
    EXPECT_EQ("", getMsg(e));

    e = event(2, 0);
    e.kxevent.DeviceID = 7;
    EXPECT_EQ("Physical disk 7 is unplugged", getMsg(e));
    e = event(1, 75);
    e.kxevent.DeviceID = 5;
    e.kxevent.Params[3] = 1;
    EXPECT_EQ("Initialization data on Tandem 5 completed", getMsg(e));
    e = event(14, 2);
    EXPECT_EQ("WARNING: Unknown event class 14, code 2", getMsg(e));
}

TEST(EventMessages, FlashReadAndWriteFailuresAreTold)
{
    ServiceEvent e = event(10, 15);
    EXPECT_EQ("Normal flash write operation failed", getMsg(e));
    e.kxevent.Code = 16;
    EXPECT_EQ("Normal flash read operation failed", getMsg(e));
    e.kxevent.SenseDataLength = 2;
    e.kxevent.SenseData[0] = 0x0E;
    e.kxevent.SenseData[1] = 0xF0;
    EXPECT_EQ("Normal flash read operation failed0E F0 ", getMsg(e));
}

TEST(EventMessages, SenseBytesFollowTheTextAtMostThirty)
{
    ServiceEvent e = event(2, 3);
    e.kxevent.DeviceID = 1;
    e.kxevent.SenseDataLength = 40;
    for (int i = 0; i < 30; ++i)
        e.kxevent.SenseData[i] = static_cast<KX_U8>(i);
    std::string msg = getMsg(e);
    std::string expected = "Request to physical disk 1 is timed out";
    char pair[4];
    for (int i = 0; i < 30; ++i) {
        std::snprintf(pair, sizeof pair, "%02X ", i);
        expected += pair;
    }
    EXPECT_EQ(expected, msg);
}

class EventRequests : public RpcFixture {};

TEST_F(EventRequests, PagesAreBoundedAndKeepTheirSize)
{
    load("{\"adapters\": [{\"events\": ["
         "{\"Event\": {\"Class\": 1, \"Code\": 2, \"DeviceID\": 1, \"Severity\": 2, \"SequenceNo\": 1, \"TimeStamp\": 1}},"
         "{\"Event\": {\"Class\": 2, \"Code\": 1, \"DeviceID\": 6, \"Severity\": 2, \"SequenceNo\": 2, \"TimeStamp\": 2}},"
         "{\"Event\": {\"Class\": 13, \"Code\": 0, \"DeviceID\": 4, \"Severity\": 2, \"SequenceNo\": 3, \"TimeStamp\": 3}}"
         "]}]}");
    QTA_APIEventToFile();
    // A page far larger than any store asks for no more than the store has.
    std::string out = issue("<AR_KX_EVT_GetEvents><s>0</s><n>4000000000</n></AR_KX_EVT_GetEvents>");
    EXPECT_EQ("3", memberOf(out, "n"));
    EXPECT_EQ(3, countOf(out, "Event"));
    EXPECT_LT(out.find("Virtual Disk 1 is created"), out.find("Physical disk 6 is plugged in"));
    EXPECT_LT(out.find("Physical disk 6 is plugged in"), out.find("Array 4 is created"));
    // Two asked for; then a request with "s" alone reads pages of the
    // size the last answer reported.
    out = issue("<AR_KX_EVT_GetEvents><s>0</s><n>2</n></AR_KX_EVT_GetEvents>");
    EXPECT_EQ("2", memberOf(out, "n"));
    out = issue("<AR_KX_EVT_GetEvents><s>1</s></AR_KX_EVT_GetEvents>");
    EXPECT_EQ("2", memberOf(out, "n"));
    EXPECT_EQ("1", memberOf(out, "s"));
    EXPECT_EQ(std::string::npos, out.find("Virtual Disk 1 is created"));
    EXPECT_NE(std::string::npos, out.find("Array 4 is created"));
    // Beyond the end: nothing.
    out = issue("<AR_KX_EVT_GetEvents><s>3</s><n>10</n></AR_KX_EVT_GetEvents>");
    EXPECT_EQ("0", memberOf(out, "n"));
    EXPECT_EQ("3", memberOf(out, "s"));
    EXPECT_EQ(0, countOf(out, "Event"));
    // Count mode.
    out = issue("<AR_KX_EVT_GetEvents><s>0</s><n>0</n></AR_KX_EVT_GetEvents>");
    EXPECT_EQ("3", memberOf(out, "n"));
    EXPECT_EQ(0, countOf(out, "Event"));
}

} // namespace
