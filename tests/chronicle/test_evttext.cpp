// Event texts: every message table, both dialects, the labelled block, the
// time rule and the clock-mode scan.
#include "evt_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <unistd.h>

namespace {

Event ev(KX_U16 cls, KX_U16 code, KX_U16 dev = 0, KX_U32 p0 = 0, KX_U32 p1 = 0, KX_U32 p2 = 0, KX_U32 p3 = 0)
{
    Event e;
    std::memset(&e, 0, sizeof e);
    e.Class = cls;
    e.Code = code;
    e.DeviceID = dev;
    e.Params[0] = p0;
    e.Params[1] = p1;
    e.Params[2] = p2;
    e.Params[3] = p3;
    e.Severity = 2;
    return e;
}

std::string con(const Event &e)
{
    char buf[256];
    evt_describe(&e, EVT_CONSOLE, buf, sizeof buf);
    return buf;
}

std::string web(const Event &e)
{
    char buf[512];
    evt_describe(&e, EVT_WEB, buf, sizeof buf);
    return buf;
}

struct Row {
    KX_U16 code;
    const char *text;
};

// Rows whose text takes no argument, or the DeviceID given.
void checkRows(KX_U16 cls, const Row *rows, size_t n, KX_U16 dev = 0)
{
    for (size_t i = 0; i < n; ++i) {
        Event e = ev(cls, rows[i].code, dev);
        EXPECT_EQ(con(e), std::string(" ") + rows[i].text) << "class " << cls << " code " << rows[i].code;
    }
}

TEST(EventText, SeverityLabels)
{
    const char *want[] = {"[UNKNOWN]", "[OTHER]", "[INFO]", "[WARNING]", "[MINOR]", "[MAJOR]", "[CRITICAL]", "[FATAL]"};
    for (unsigned s = 0; s < 8; ++s)
        EXPECT_STREQ(evt_severity_label(s), want[s]);
    EXPECT_STREQ(evt_severity_label(8), "[UNDEFINED]");
    EXPECT_STREQ(evt_severity_label(255), "[UNDEFINED]");
}

TEST(EventText, AdapterClass)
{
    const Row rows[] = {
        {0, "SMART has been enabled"},
        {1, "SMART has been disabled"},
        {2, "Buzzer has been enabled"},
        {3, "Buzzer has been disabled"},
        {4, "Auto-rebuild has been enabled"},
        {5, "Auto-rebuild has been disabled"},
        {6, "Media patrol rate has been changed"},
        {7, "Copy back has been enabled"},
        {8, "Copy back has been disabled"},
        {10, "Battery backup unit found an ECC error"},
        {12, "Auto starts flush dirty data"},
        {13, "Auto finish flush dirty data"},
        {14, "Page data has an ECC error and can not be flushed"},
        {15, "Adapter 3 run as non-cache mode, cause: lacks enough memory"},
        {16, "Adapter 3 removed"},
        {17, "Adapter 3 detected"},
        {18, "Adapter 3 event time synchronization success"},
    };
    checkRows(0, rows, sizeof rows / sizeof rows[0], 3);
    EXPECT_EQ(con(ev(0, 11, 0, 100, 42)), " Auto dirty data flushed 42/100");
    Event lost = ev(0, 0xFFFF, 0, 0, 0, 77);
    lost.SequenceNo = 80;
    EXPECT_EQ(con(lost), " Event(s) lost. Current seqNum 80, last seqNum 77");
    EXPECT_EQ(con(ev(0, 9, 2)), " Adapter 2 is detected, serial number not available");
    EXPECT_EQ(con(ev(0, 19)), "Unknown adapter event code 19");
    // Web wording.
    EXPECT_EQ(web(ev(0, 16, 3)), "Adapter 3 has been removed");
    EXPECT_EQ(web(ev(0, 17, 3)), "Adapter 3 is detected");
    EXPECT_EQ(web(ev(0, 0)), "SMART has been enabled");
}

TEST(EventText, AdapterDetectedTakesTheSerialFromTheSenseBytes)
{
    Event e = ev(0, 9, 1);
    const char serial[] = "KX123456789";
    std::memcpy(e.SenseData, serial, sizeof serial - 1);
    e.SenseDataLength = 11;
    EXPECT_EQ(con(e), " Adapter 1 with serial number KX123456789 is detected");
    EXPECT_FALSE(evt_has_sense(&e));
    // A serial filling all 30 bytes without a terminator stays inside them.
    std::memset(e.SenseData, 'S', sizeof e.SenseData);
    e.Reserved2 = 'X';
    EXPECT_EQ(con(e), " Adapter 1 with serial number " + std::string(30, 'S') + " is detected");
}

TEST(EventText, VirtualDiskClass)
{
    EXPECT_EQ(con(ev(1, 0, 4)), " Virtual Disk 4 is offline");
    EXPECT_EQ(con(ev(1, 0, 4, 0, 0, 0, 1)), " Tandem 4 is offline");
    EXPECT_EQ(con(ev(1, 1, 4)), " Virtual Disk 4 is online");
    EXPECT_EQ(con(ev(1, 2, 4, 0, 0, 0, 1)), " Tandem 4 is created");
    EXPECT_EQ(con(ev(1, 3, 4)), " Virtual Disk 4 is deleted");
    EXPECT_EQ(con(ev(1, 4, 4, 0, 0, 0, 1)), " Virtual Disk 4 is degraded");
    EXPECT_EQ(con(ev(1, 5, 4)), " Virtual Disk 4 lost a redundancy disk");
    EXPECT_EQ(con(ev(1, 6, 4, 0, 0, 0, 1)), " Cache mode on Tandem 4 has been changed");
    EXPECT_EQ(con(ev(1, 7, 4)), " Synchronization on Virtual Disk 4 succeeded");
    EXPECT_EQ(con(ev(1, 8, 4)), " Synchronization on Virtual Disk 4 failed ");
    EXPECT_EQ(con(ev(1, 9, 4, 2)), " virtual disk 4 has been imported into disk array 2");
    EXPECT_EQ(con(ev(1, 100, 4, 0x1, 0x2345)), " Consistency check/fix on virtual disk 4 found inconsistent LBA 0x100002345");
    EXPECT_EQ(con(ev(1, 100, 4, 0, 0xabc)), " Consistency check/fix on virtual disk 4 found inconsistent LBA 0xabc");
    EXPECT_EQ(con(ev(1, 10)), "Unknown VD event code 10");
    EXPECT_EQ(con(ev(1, 101)), "Unknown VD event code 101");
    EXPECT_EQ(con(ev(1, 19)), "Unknown VD event code 19");
}

TEST(EventText, DeletedVirtualDiskNamesItselfFromTheParameters)
{
    Event e = ev(1, 3, 4);
    std::memcpy(e.Params, "backup", 6);
    EXPECT_EQ(con(e), " Virtual Disk backup is deleted");
    EXPECT_EQ(web(e), "Virtual Disk 4 is deleted");
    // Sixteen name bytes without a terminator: the name stops at them, even
    // though the sense length byte follows.
    std::memcpy(e.Params, "ABCDEFGHIJKLMNO", 15);
    reinterpret_cast<char *>(e.Params)[15] = 'P';
    e.SenseDataLength = 'Z';
    EXPECT_EQ(con(e), " Virtual Disk ABCDEFGHIJKLMNOP is deleted");
}

TEST(EventText, BackgroundActivityBlocks)
{
    const char *endings[] = {"started", "restarted", "paused", "resumed", "aborted",
                             "completed", "is 40% done", "failed", "is auto paused", "is auto resumed"};
    const struct {
        KX_U16 base;
        const char *subject;
    } blocks[] = {
        {20, "Consistency check on Virtual Disk 3"},
        {30, "Consistency fix on Virtual Disk 3"},
        {40, "Fast initialization on Virtual Disk 3"},
        {50, "Background initialization on virtual disk 3"},
        {60, "Foreground initialization on virtual disk 3"},
        {70, "Rebuild disk on virtual disk 3"},
        {80, "Migration on virtual disk 3"},
        {90, "Copy back on virtual disk 3"},
    };
    for (const auto &b : blocks)
        for (KX_U16 off = 0; off < 10; ++off) {
            std::string ending = endings[off];
            if ((b.base == 50 || b.base == 60) && off >= 8)
                ending = off == 8 ? "auto paused" : "auto resumed";
            EXPECT_EQ(con(ev(1, b.base + off, 3, 40)), " " + std::string(b.subject) + " " + ending)
                << "code " << b.base + off;
        }
    EXPECT_EQ(con(ev(1, 26, 3, 40, 0, 0, 0)), " Consistency check on Virtual Disk 3 is 40% done");
    EXPECT_EQ(con(ev(1, 36, 3, 7, 0, 0, 1)), " Consistency fix on Tandem 3 is 7% done");
}

TEST(EventText, TandemInitializationSubjectOnRebuildEndings)
{
    // Console: offsets 0, 3, 4, 5, 7 only.
    EXPECT_EQ(con(ev(1, 75, 5, 0, 0, 0, 1)), " Initialization data on Tandem 5 completed");
    EXPECT_EQ(con(ev(1, 70, 5, 0, 0, 0, 1)), " Initialization data on Tandem 5 started");
    EXPECT_EQ(con(ev(1, 73, 5, 0, 0, 0, 1)), " Initialization data on Tandem 5 resumed");
    EXPECT_EQ(con(ev(1, 74, 5, 0, 0, 0, 1)), " Initialization data on Tandem 5 aborted");
    EXPECT_EQ(con(ev(1, 77, 5, 0, 0, 0, 1)), " Initialization data on Tandem 5 failed");
    EXPECT_EQ(con(ev(1, 76, 5, 9, 0, 0, 1)), " Rebuild disk on virtual disk 5 is 9% done");
    EXPECT_EQ(con(ev(1, 71, 5, 0, 0, 0, 1)), " Rebuild disk on virtual disk 5 restarted");
    EXPECT_EQ(con(ev(1, 75, 5)), " Rebuild disk on virtual disk 5 completed");
    // Web: every offset but 2.
    EXPECT_EQ(web(ev(1, 76, 5, 9, 0, 0, 1)), "Initialization data on Tandem 5 is 9% done");
    EXPECT_EQ(web(ev(1, 71, 5, 0, 0, 0, 1)), "Initialization data on Tandem 5 restarted");
    EXPECT_EQ(web(ev(1, 78, 5, 0, 0, 0, 1)), "Initialization data on Tandem 5 is auto paused");
    EXPECT_EQ(web(ev(1, 79, 5, 0, 0, 0, 1)), "Initialization data on Tandem 5 is auto resumed");
    EXPECT_EQ(web(ev(1, 72, 5, 0, 0, 0, 1)), "Rebuild disk on virtual disk 5 paused");
    EXPECT_EQ(web(ev(1, 4, 5, 0, 0, 0, 1)), "Tandem 5 is degraded");
    EXPECT_EQ(web(ev(1, 4, 5)), "Virtual Disk 5 is degraded");
}

TEST(EventText, PhysicalDiskClass)
{
    const Row rows[] = {
        {0, "Physical disk 6 is plugged out"},
        {1, "Physical disk 6 is plugged in"},
        {2, "Physical disk 6 is set down"},
        {3, "Request to physical disk 6 is timed out"},
        {4, "Physical disk 6 read write error."},
        {5, "Physical disk 6  S.M.A.R.T started"},
        {6, "Physical disk 6 error being fixed"},
        {9, "Physical disk 6 has been assigned as spare drive"},
        {10, "Physical disk 6 has been unset as spare drive"},
        {11, "SMART has over threshold on physical disk 6"},
        {12, "SMART polling failed on physical disk 6"},
        {13, "Bad block table on physical disk 6 is 80% full"},
        {14, "Bad block table on physical disk 6 is full"},
        {15, "Bad block reassigned on physical disk 6"},
        {16, "Cache mode of physical disk 6 has been changed"},
        {54, "Physical disk 6 has been set as free disk"},
        {55, "Physical disk 6 offline caused by plain disk on AES enabled port"},
        {56, "Physical disk 6 offline caused by crypto disk on AES disable port"},
        {57, "Physical disk 6 offline caused by cipher is mismatch between disk and port"},
        {59, "Spare disk information changed"},
    };
    checkRows(2, rows, sizeof rows / sizeof rows[0], 6);
    EXPECT_EQ(con(ev(2, 17, 6)), " Media Patrol on physical disk 6 started");
    EXPECT_EQ(con(ev(2, 23, 6, 55)), " Media Patrol on physical disk 6 is 55% done");
    EXPECT_EQ(con(ev(2, 25, 6)), " Media Patrol on physical disk 6 is auto paused");
    EXPECT_EQ(con(ev(2, 26, 6)), " Media Patrol on physical disk 6 is auto resumed");
    EXPECT_EQ(con(ev(2, 36, 6, 0x28, 0x3, 0x11, 0x4)),
              " Command [0x28] on physical disk 6 failed. Sense key=0x3, ASC=0x11, ASCQ=0x4");
    EXPECT_EQ(con(ev(2, 37, 6, 0x1, 0x10, 8, 0xff)),
              " Bad Sector is detected on disk 6 at LBA 0x100000010, count=8, flag=0x000000ff.");
    EXPECT_EQ(con(ev(2, 38, 6, 0, 0x10, 8, 0)),
              " Bad Sector is fixed on disk 6 at LBA 0x000000010, count=8, flag=0x00000000.");
    EXPECT_EQ(con(ev(2, 59, 6, 0x1203, 2)), " Spare disk 3 used by disk array 2");
    EXPECT_EQ(con(ev(2, 60, 6, 0, 0x20, 4)), " Bad Sector is detected on reading disk 6 at LBA 0x000000020, count=4.");
    EXPECT_EQ(con(ev(2, 61, 6, 2, 0x20, 4)), " Bad Sector is detected on writing disk 6 at LBA 0x200000020, count=4.");
    EXPECT_EQ(con(ev(2, 7)), "Unknown PD event code 7");
    EXPECT_EQ(con(ev(2, 27)), "Unknown PD event code 27");
    EXPECT_EQ(web(ev(2, 0, 6)), "Physical disk 6 is unplugged");
}

TEST(EventText, ClassesWithoutCodesOfTheirOwn)
{
    EXPECT_EQ(con(ev(3, 4)), " Unknown PM event class: code = 4");
    EXPECT_EQ(con(ev(5, 4)), " Unknown MDD event class: code = 4");
    EXPECT_EQ(con(ev(6, 4)), " Unknown BSL event class: code = 4");
    EXPECT_EQ(con(ev(7, 4)), " Unknown SAS event class: code = 4");
    EXPECT_EQ(con(ev(8, 4)), " Unknown Enclosure event class: code = 4");
    EXPECT_EQ(con(ev(11, 4)), " Unknown Cache event class: code = 4");
    EXPECT_EQ(web(ev(11, 4)), "Unknown Cache event class: code = 4");
}

TEST(EventText, ExpanderClass)
{
    EXPECT_EQ(con(ev(4, 0, 2)), " Expander 2 is plugged in");
    EXPECT_EQ(con(ev(4, 1, 2)), " Expander 2 is plugged out");
    EXPECT_EQ(web(ev(4, 1, 2)), "Expander 2 is unplugged");
    EXPECT_EQ(con(ev(4, 2, 2)), "Unknown expander event code 2");
}

TEST(EventText, BatteryClass)
{
    const Row rows[] = {
        {0, "Battery present"},
        {1, "Battery not present"},
        {2, "New battery detecte"},
        {3, "Battery needs to be replaced"},
        {4, "Battery has been replaced"},
        {5, "Battery is removed"},
        {6, "Battery relearn started"},
        {7, "Battery relearn in progress"},
        {8, "Battery relearn completed"},
        {9, "Battery relearn timed out"},
        {10, "Battery relearn pending: Battery is under charge"},
        {11, "Battery relearn postponed"},
        {12, "Battery relearn will start in 4 days"},
        {13, "Battery relearn will start in 2 days"},
        {14, "Battery relearn will start in 1 day"},
        {15, "Battery relearn will start in 5 hours"},
        {16, "Battery is discharging"},
        {17, "Battery started charging"},
        {18, "Battery completed charging"},
        {19, "Battery/charger problems detected"},
        {20, "Battery capacity is below threshold"},
        {21, "Battery capacity is above threshold"},
        {22, "Battery temperature is low"},
        {23, "Battery temperature back to normal"},
        {24, "Battery temperature is high"},
        {25, "Battery voltage is low"},
        {26, "Battery voltage back to normal"},
        {27, "Battery voltage is high"},
        {28, "Battery status is abnormal, VDs with auto-cache are now in write through mode"},
        {29, "Battery status back to normal, VDs with auto-cache are now in write back mode"},
        {30, "Battery stop charging"},
        {31, "Battery stop discharging"},
        {32, "Battery change charge threshold"},
        {33, "Battery change voltage warning threshold"},
        {34, "Battery change temperature warning threshold"},
    };
    checkRows(9, rows, sizeof rows / sizeof rows[0]);
    EXPECT_EQ(con(ev(9, 35)), "Unknown battery event code 35");
}

TEST(EventText, FlashClass)
{
    const Row rows[] = {
        {1, "Flash Erase Failed"},
        {3, "Flash Recover Failed"},
        {15, "Normal flash write operation failed"},
        {16, "Normal flash read operation failed"},
        {17, "Update image succeeded"},
        {18, "Backup image succeeded"},
        {19, "Update image failed"},
        {20, "Backup image failed"},
        {21, "Image generation invalid"},
        {22, "Dual Images generation both invalid"},
        {23, "Image Header corrupted (Signature invalid)"},
        {24, "Image Data in Flash is invalid"},
        {25, "Image Data and Header are all invalid"},
    };
    checkRows(10, rows, sizeof rows / sizeof rows[0]);
    EXPECT_EQ(con(ev(10, 2)), " Unknown Flash event class: code = 2");
    EXPECT_EQ(web(ev(10, 16)), "Normal flash write operation failed");
}

TEST(EventText, MiscellaneousClass)
{
    const Row rows[] = {
        {7, "Shutdown command received from host"},
        {16, "Physical disk missing from virtual disk 8 configuration at boot"},
        {17, "Virtual disk 8 missing drives and went offline at boot"},
        {18, "Virtual disk 8 missing at boot"},
        {19, "Previous configuration completely missing at boot"},
        {20, "Physical disk 8 too small to be used for auto-rebuild"},
        {21, "Physical disk 8 too small to be used for copy back"},
        {28, "Adapter buzzer set to mute"},
    };
    checkRows(12, rows, sizeof rows / sizeof rows[0], 8);
    const Row rates[] = {
        {1, "Background activity rate changed to 30%"},
        {22, "Synchronization rate has been changed to 30%"},
        {23, "Initialization rate has been changed to 30%"},
        {24, "Rebuild rate has been changed to 30%"},
        {25, "Migration rate has been changed to 30%"},
        {26, "Copyback rate has been changed to 30%"},
        {27, "Media patrol rate has been changed to 30%"},
    };
    for (const Row &r : rates)
        EXPECT_EQ(con(ev(12, r.code, 8, 30)), std::string(" ") + r.text);
    EXPECT_EQ(con(ev(12, 5, 0, 2, 0xBEEF, 1)), " Multi-bit ECC error: count = 2, address = 0xBEEF, module ID = 1");
    EXPECT_EQ(con(ev(12, 6, 0, 9)), " Single-bit ECC error: count = 9");
    EXPECT_EQ(con(ev(12, 2)), " Unknown miscellaneous event: code = 2");
}

TEST(EventText, ArrayClassAndEnvironmentClass)
{
    EXPECT_EQ(con(ev(13, 0, 1)), " Array 1 is created");
    EXPECT_EQ(con(ev(13, 1, 1)), " Array 1 is deleted");
    EXPECT_EQ(con(ev(13, 2, 1)), "");

    Event e = ev(15, 0, 2);
    e.AdapterID = 1;
    const char *want[] = {
        "Adapter 1 temperature check pass",
        "Adapter 1 is high temperature",
        "Adapter 1 is critical temperature, immediate action requested",
        "Adapter 1 Fan 2 check pass",
        "Adapter 1 Defective fan 2 found",
        "Adapter 1 Absent fan 2 found",
        "Adapter 1 power supply 2 alert",
        "Adapter 1 power supply 2 is optimal",
        "Adapter 1 mute is pressed",
        "Adapter 1 identification is pressed",
        "Adapter 1 identification is on",
        "Adapter 1 identification is off",
        "Adapter 1 intrusion is opened",
        "Adapter 1 intrusion is closed",
        "Adapter 1 become low power status",
        "Adapter 1 become idle status",
    };
    for (KX_U16 c = 0; c < 16; ++c) {
        e.Code = c;
        EXPECT_EQ(con(e), std::string(" ") + want[c]) << c;
    }
    e.Code = 16;
    EXPECT_EQ(con(e), "");
    e.Code = 0;
    EXPECT_EQ(web(e), "Adapter 1 Temperature check pass");
}

TEST(EventText, UnknownClasses)
{
    EXPECT_EQ(con(ev(14, 2)), "WARNING: Unknown event class 14, code 2");
    EXPECT_EQ(con(ev(16, 0)), "WARNING: Unknown event class 16, code 0");
    EXPECT_EQ(web(ev(200, 65535)), "WARNING: Unknown event class 200, code 65535");
}

TEST(EventText, SmallBuffersAreNeverOverrun)
{
    char buf[8];
    std::memset(buf, 'x', sizeof buf);
    size_t n = evt_describe(&(const Event &)ev(9, 28), EVT_CONSOLE, buf, 5);
    EXPECT_EQ(n, 4u);
    EXPECT_STREQ(buf, " Bat");
    EXPECT_EQ(buf[5], 'x');
    EXPECT_EQ(evt_describe(nullptr, EVT_CONSOLE, buf, sizeof buf), 0u);
    EXPECT_EQ(buf[0], '\0');
    char block[40];
    Event e = ev(9, 28);
    n = evt_format_block(&e, 0, block, sizeof block);
    EXPECT_EQ(n, sizeof block - 1);
    EXPECT_EQ(std::strlen(block), sizeof block - 1);
}

// ---- the labelled block and times ---------------------------------------

class EventBlock : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char *tz = std::getenv("TZ");
        m_tz = tz ? tz : "";
        m_hadTz = tz != nullptr;
        // A zone far from UTC, so that local and universal time differ.
        setenv("TZ", "JST-9", 1);
        tzset();
    }
    void TearDown() override
    {
        if (m_hadTz)
            setenv("TZ", m_tz.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    std::string m_tz;
    bool m_hadTz = false;
};

TEST_F(EventBlock, BlockLayoutWithSenseLine)
{
    Event e = ev(1, 26, 3, 40);
    e.SequenceNo = 3000000000u;
    e.Severity = 3;
    e.TimeStamp = 1700000000; // Tue Nov 14 22:13:20 2023 UTC
    e.SenseDataLength = 3;
    e.SenseData[0] = 0x70;
    e.SenseData[1] = 0x0a;
    e.SenseData[2] = 0xff;
    char buf[1024];
    evt_format_block(&e, EVT_CLOCK_LOCAL, buf, sizeof buf);
    EXPECT_EQ(std::string(buf), "Sequence:     3000000000\n"
                                "Time:         Tue Nov 14 22:13:20 2023\n"
                                "Level:        [WARNING]\n"
                                "Description:  Consistency check on Virtual Disk 3 is 40% done\n"
                                "Sense Code :  70 0A FF \n"
                                "\n");
}

TEST_F(EventBlock, ClockModeDecidesUniversalOrLocalTime)
{
    Event e = ev(9, 0);
    e.TimeStamp = 1700000000;
    char t[200];
    evt_console_time(&e, EVT_CLOCK_LOCAL, t, sizeof t);
    EXPECT_STREQ(t, "Tue Nov 14 22:13:20 2023");
    evt_console_time(&e, EVT_CLOCK_UTC, t, sizeof t);
    EXPECT_STREQ(t, "Wed Nov 15 07:13:20 2023");
    evt_console_time(&e, EVT_CLOCK_UNKNOWN, t, sizeof t);
    EXPECT_STREQ(t, "Wed Nov 15 07:13:20 2023");
    evt_web_time(&e, EVT_CLOCK_LOCAL, t, sizeof t);
    EXPECT_STREQ(t, "Tue Nov 14 22:13:20 2023\n");
    e.TimeStamp = 1700000000 + 86400 * 3; // single-digit day: blank padded
    evt_console_time(&e, EVT_CLOCK_LOCAL, t, sizeof t);
    EXPECT_STREQ(t, "Fri Nov 17 22:13:20 2023");
    e.TimeStamp = 1701388800; // Dec  1 00:00:00 UTC
    evt_console_time(&e, EVT_CLOCK_LOCAL, t, sizeof t);
    EXPECT_STREQ(t, "Fri Dec  1 00:00:00 2023");
    // The controller's stamp is unsigned 32-bit: past 2038 on every target.
    e.TimeStamp = 0xFFFFFFFFu;
    evt_console_time(&e, EVT_CLOCK_LOCAL, t, sizeof t);
    EXPECT_STREQ(t, "Sun Feb  7 06:28:15 2106");
}

TEST_F(EventBlock, AdapterDetectedIsLocalTimeAndPrintsNoSenseLine)
{
    Event e = ev(0, 9, 0);
    e.TimeStamp = 1700000000;
    e.SequenceNo = 1;
    std::memcpy(e.SenseData, "SN42", 4);
    e.SenseDataLength = 4;
    char buf[1024];
    evt_format_block(&e, EVT_CLOCK_LOCAL, buf, sizeof buf);
    EXPECT_EQ(std::string(buf), "Sequence:     1\n"
                                "Time:         Wed Nov 15 07:13:20 2023\n"
                                "Level:        [INFO]\n"
                                "Description:  Adapter 0 with serial number SN42 is detected\n"
                                "\n");
    FILE *out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    evt_fprintf(out, &e, EVT_CLOCK_LOCAL);
    EXPECT_EQ(e.SenseDataLength, 0);
    std::fclose(out);
}

TEST_F(EventBlock, SenseLengthAbove30PrintsThirtyPairsAndIsLowered)
{
    Event e = ev(2, 36, 1);
    e.SenseDataLength = 40;
    for (int i = 0; i < 30; ++i)
        e.SenseData[i] = static_cast<KX_U8>(i);
    char sense[128];
    evt_sense_text(&e, sense, sizeof sense);
    std::string want;
    for (int i = 0; i < 30; ++i) {
        char p[4];
        std::snprintf(p, sizeof p, "%02X ", i);
        want += p;
    }
    EXPECT_EQ(std::string(sense), want);
    FILE *out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    evt_fprintf(out, &e, EVT_CLOCK_UTC);
    std::rewind(out);
    char buf[2048] = {};
    size_t n = std::fread(buf, 1, sizeof buf - 1, out);
    std::fclose(out);
    EXPECT_NE(std::string(buf, n).find("Sense Code :  " + want + "\n\n"), std::string::npos);
    EXPECT_EQ(e.SenseDataLength, 30);
}

TEST(EventWebMessage, ServiceEventsAndSenseBytes)
{
    ServiceEvent s;
    std::memset(&s, 0, sizeof s);
    s.from = 1;
    s.kxevent.Class = 12;
    char buf[512];
    s.kxevent.Code = 1;
    evt_web_message(&s, buf, sizeof buf);
    EXPECT_STREQ(buf, "Scheduled maintenance started");
    s.kxevent.Code = 2;
    evt_web_message(&s, buf, sizeof buf);
    EXPECT_STREQ(buf, "Default acceleration started");
    s.kxevent.Code = 3;
    evt_web_message(&s, buf, sizeof buf);
    EXPECT_STREQ(buf, "");

    s.from = 0;
    s.kxevent = ev(2, 4, 7);
    s.kxevent.SenseDataLength = 2;
    s.kxevent.SenseData[0] = 0xAB;
    s.kxevent.SenseData[1] = 0x01;
    evt_web_message(&s, buf, sizeof buf);
    EXPECT_STREQ(buf, "Physical disk 7 read write error.AB 01 ");
}

// ---- clock mode ---------------------------------------------------------

class ClockFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/chronicle-clock-XXXXXX";
        int fd = mkstemp(tmpl);
        ASSERT_GE(fd, 0);
        close(fd);
        m_path = tmpl;
    }
    void TearDown() override { unlink(m_path.c_str()); }
    int modeOf(const std::string &text)
    {
        FILE *f = std::fopen(m_path.c_str(), "w");
        std::fputs(text.c_str(), f);
        std::fclose(f);
        return evt_clock_mode(m_path.c_str());
    }
    std::string m_path;
};

TEST_F(ClockFile, HwclockLinesDecideFirst)
{
    EXPECT_EQ(modeOf("ZONE=x\nHWCLOCK=\"-u\"\n"), EVT_CLOCK_UTC);
    EXPECT_EQ(modeOf("HWCLOCK=\"--localtime\"\nUTC=true\n"), EVT_CLOCK_LOCAL);
    EXPECT_EQ(modeOf("UTC=true\nHWCLOCK=\"--localtime\"\n"), EVT_CLOCK_LOCAL);
    EXPECT_EQ(modeOf("HWCLOCK=\"-u\"\nHWCLOCK=\"--localtime\"\n"), EVT_CLOCK_UTC);
}

TEST_F(ClockFile, CommentedHwclockFallsBackToTheUtcLine)
{
    EXPECT_EQ(modeOf("#HWCLOCK=\"-u\"\nUTC=false\n"), EVT_CLOCK_LOCAL);
    EXPECT_EQ(modeOf("#HWCLOCK=\"--localtime\"\nUTC=true\n"), EVT_CLOCK_UTC);
    EXPECT_EQ(modeOf("#UTC=true\n"), EVT_CLOCK_UNKNOWN);
    EXPECT_EQ(modeOf("  # HWCLOCK=\"-u\"\nUTC=false\n"), EVT_CLOCK_LOCAL);
    EXPECT_EQ(modeOf(""), EVT_CLOCK_UNKNOWN);
    EXPECT_EQ(evt_clock_mode("/nonexistent/clock"), EVT_CLOCK_UNKNOWN);
}

TEST_F(ClockFile, EnvironmentNamesTheDefaultFile)
{
    modeOf("UTC=false\n");
    setenv("ARRAY_CLOCK_FILE", m_path.c_str(), 1);
    EXPECT_EQ(evt_clock_mode(nullptr), EVT_CLOCK_LOCAL);
    unsetenv("ARRAY_CLOCK_FILE");
}

} // namespace
