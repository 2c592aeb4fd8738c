// Paged controller lists: buffer sizing, the refill rule and the PD record
// clean-up, against the in-memory controller.
#include <gtest/gtest.h>

#include "APIClass/APIClass.h"
#include "APIClass/Requests.h"
#include "fake_controller.h"

namespace {

// Room for exactly n LD_Status records behind the paging header.
unsigned bufferFor(unsigned n) { return sizeof(RequestHeader) + n * sizeof(LD_Status); }

RequestHeader byIndex(KX_U16 start, KX_U16 count)
{
    RequestHeader h = {};
    h.requestType = KX_REQUEST_BY_INDEX;
    h.startingIndexOrId = start;
    h.numRequested = count;
    return h;
}

struct Walk {
    std::vector<KX_U16> ids;
    KX_U16 returned;
    KX_U16 next;
    KX_U8 status;
};

Walk walk(VDStatusRequest &r)
{
    Walk w;
    r.runAPI();
    for (; r.isEnd(); r.moveToNext())
        w.ids.push_back(r.getInstance()->LDID);
    w.returned = r.getReturnCount();
    w.next = r.getNextID();
    w.status = r.getAPIResult();
    return w;
}

class Paging : public ::testing::Test {
protected:
    void SetUp() override
    {
        gFake.reset();
        APIClass::reset();
    }
    void addVDs(unsigned n)
    {
        for (unsigned i = 0; i < n; ++i)
            gFake.addVD(static_cast<KX_U16>(i));
    }
    // (start, numRequested) of every list call, in order.
    std::vector<std::pair<unsigned, unsigned>> pages() const
    {
        std::vector<std::pair<unsigned, unsigned>> out;
        for (const FakeCall &c : gFake.callsNamed("KX_LD_GetStatus"))
            out.emplace_back(c.b, c.c);
        return out;
    }
};

typedef std::vector<std::pair<unsigned, unsigned>> Pages;

TEST_F(Paging, ListLargerThanTheBufferIsFetchedPageByPage)
{
    addVDs(10);
    VDStatusRequest r(byIndex(0, 10), 0, bufferFor(4));
    Walk w = walk(r);
    EXPECT_EQ((std::vector<KX_U16>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}), w.ids);
    EXPECT_EQ((Pages{{0, 4}, {4, 4}, {8, 2}}), pages());
    EXPECT_EQ(10, w.returned);
    EXPECT_EQ(KX_END_OF_LIST, w.next);
    EXPECT_EQ(0, w.status);
}

TEST_F(Paging, StopsWhenTheCallerHasWhatItAskedFor)
{
    addVDs(10);
    VDStatusRequest r(byIndex(1, 6), 0, bufferFor(4));
    Walk w = walk(r);
    EXPECT_EQ((std::vector<KX_U16>{1, 2, 3, 4, 5, 6}), w.ids);
    // The last page asks only for what is still wanted.
    EXPECT_EQ((Pages{{1, 4}, {5, 2}}), pages());
    EXPECT_EQ(6, w.returned);
    EXPECT_EQ(7, w.next); // where the GUI's next request starts
}

TEST_F(Paging, OnePageThatSatisfiesTheRequestStillReportsTheNextIndex)
{
    addVDs(10);
    VDStatusRequest r(byIndex(0, 2), 0, bufferFor(32));
    Walk w = walk(r);
    EXPECT_EQ((std::vector<KX_U16>{0, 1}), w.ids);
    EXPECT_EQ((Pages{{0, 2}}), pages());
    EXPECT_EQ(2, w.next);
}

TEST_F(Paging, ShortLastCallEndsTheList)
{
    addVDs(1);
    VDStatusRequest r(byIndex(0, 2), 0, bufferFor(32));
    Walk w = walk(r);
    EXPECT_EQ((std::vector<KX_U16>{0}), w.ids);
    EXPECT_EQ(1, w.returned);
    EXPECT_EQ(KX_END_OF_LIST, w.next);
}

TEST_F(Paging, NothingRequestedNothingReturned)
{
    addVDs(3);
    VDStatusRequest r(byIndex(0, 0), 0, bufferFor(32));
    Walk w = walk(r);
    EXPECT_TRUE(w.ids.empty());
    EXPECT_EQ(0, w.returned);
    EXPECT_EQ(1u, pages().size());
}

TEST_F(Paging, FailingFirstCallYieldsNoRecords)
{
    addVDs(3);
    gFake.failListCall = 1;
    gFake.failStatus = 19;
    VDStatusRequest r(byIndex(0, 3), 0, bufferFor(32));
    Walk w = walk(r);
    EXPECT_TRUE(w.ids.empty());
    EXPECT_EQ(19, w.status);
}

TEST_F(Paging, FailingRefillKeepsTheRecordsHandedOut)
{
    addVDs(10);
    gFake.failListCall = 2;
    gFake.failStatus = 55;
    VDStatusRequest r(byIndex(0, 10), 0, bufferFor(4));
    Walk w = walk(r);
    EXPECT_EQ((std::vector<KX_U16>{0, 1, 2, 3}), w.ids);
    EXPECT_EQ(55, w.status);
    EXPECT_EQ(4, w.returned);
    EXPECT_EQ(4, w.next); // the page that failed is where to try again
}

TEST_F(Paging, ControllerClaimingTooManyRecordsCannotMoveReadsOutOfTheBuffer)
{
    addVDs(3);
    gFake.overreport = true;
    VDStatusRequest r(byIndex(0, 100), 0, bufferFor(2));
    Walk w = walk(r);
    // Two records per page at most, whatever numReturned says.
    ASSERT_LE(w.ids.size(), 100u);
    EXPECT_EQ(0, w.ids[0]);
    EXPECT_EQ(1, w.ids[1]);
    EXPECT_LE(r.returnedInBuffer(), 2);
}

TEST_F(Paging, FindByIdStepsThroughPages)
{
    for (KX_U16 id = 10; id < 19; ++id) {
        LD_Info info;
        std::memset(&info, 0, sizeof info);
        info.ID = id;
        info.RaidMode = static_cast<KX_U8>(id * 2);
        gFake.ldInfos.push_back(info);
    }
    const unsigned twoRecords = sizeof(RequestHeader) + 2 * sizeof(LD_Info);
    VDInfoRequest r(byIndex(0, 9), 0, twoRecords);
    r.runAPI();
    ASSERT_TRUE(r.findByID(17));
    EXPECT_EQ(17, r.getInstance()->ID);
    EXPECT_EQ(34, r.getInstance()->RaidMode);
    EXPECT_EQ(4u, gFake.callsNamed("KX_LD_GetInfo").size());
    VDInfoRequest missing(byIndex(0, 9), 0, twoRecords);
    missing.runAPI();
    EXPECT_FALSE(missing.findByID(42));
}

TEST_F(Paging, BufferTooSmallForOneRecordAsksForNone)
{
    addVDs(3);
    VDStatusRequest r(byIndex(0, 3), 0, 20u);
    Walk w = walk(r);
    EXPECT_TRUE(w.ids.empty());
    ASSERT_EQ(1u, pages().size());
    EXPECT_EQ(0u, pages()[0].second);
}

TEST_F(Paging, BufferSizeComesFromTheAdapterOnceOrFromTheTable)
{
    gFake.maxBufferKiB = 0;
    EXPECT_EQ(272u, APIClass::getCount(0, VDStatusType));
    EXPECT_EQ(44048u, APIClass::getCount(0, DGType));
    EXPECT_EQ(2064u, APIClass::getCount(0, FreeSpareType));
    EXPECT_EQ(48u, APIClass::getCount(0, AESPortConfigType));
    EXPECT_EQ(1024u, APIClass::getCount(0, EventType));
    EXPECT_EQ(1u, gFake.callsNamed("KX_Adapter_GetInfo").size());

    APIClass::reset();
    gFake.maxBufferKiB = 2;
    EXPECT_EQ(2048u, APIClass::getCount(0, VDStatusType));
    EXPECT_EQ(2048u, APIClass::getCount(0, HDType));
    EXPECT_EQ(2u, gFake.callsNamed("KX_Adapter_GetInfo").size());
    // Another adapter is read on its own.
    EXPECT_EQ(2048u, APIClass::getCount(3, HDType));
    EXPECT_EQ(3u, gFake.callsNamed("KX_Adapter_GetInfo").back().adapter);
}

TEST_F(Paging, FailedAdapterReadIsNotCachedAsTheAnswer)
{
    gFake.maxBufferKiB = 4;
    gFake.adapterInfoStatus = 1;
    EXPECT_EQ(272u, APIClass::getCount(0, VDStatusType));
    gFake.adapterInfoStatus = 0;
    EXPECT_EQ(4096u, APIClass::getCount(0, VDStatusType));
}

TEST_F(Paging, BufferFromTheAdapterDecidesThePageSize)
{
    addVDs(40);
    gFake.maxBufferKiB = 0; // 272 bytes: 32 records
    VDStatusRequest r(byIndex(0, 40), 0);
    Walk w = walk(r);
    EXPECT_EQ(40u, w.ids.size());
    EXPECT_EQ((Pages{{0, 32}, {32, 8}}), pages());
}

HD_Info pd(KX_U16 id, KX_U8 hdType, const char *model)
{
    HD_Info info;
    std::memset(&info, 0, sizeof info);
    info.Link.Self.DevID = id;
    info.HDType = hdType;
    std::memcpy(info.Model, model, std::min<size_t>(std::strlen(model), sizeof info.Model));
    return info;
}

TEST(HDInfoRequest, DerivesConnectionAndDeviceTypeWhenTheControllerLeftThemZero)
{
    struct Case {
        KX_U8 hdType, connection, device;
    } cases[] = {
        {0x01, 5, 0}, {0x02, 9, 0}, {0x04, 6, 0}, {0x03, 5, 0}, {0x10, 0, 1},
        {0x20, 0, 13}, {0x08, 0, 5}, {0x30, 0, 1}, {0x00, 0, 0}, {0x11, 5, 1},
    };
    for (const Case &c : cases) {
        HD_Info info = pd(0, c.hdType, "");
        HDInfoRequest::normalize(info);
        EXPECT_EQ(c.connection, info.ConnectionType) << int(c.hdType);
        EXPECT_EQ(c.device, info.DeviceType) << int(c.hdType);
    }
    HD_Info set = pd(0, 0x01, "");
    set.ConnectionType = 2;
    set.DeviceType = 7;
    HDInfoRequest::normalize(set);
    EXPECT_EQ(2, set.ConnectionType);
    EXPECT_EQ(7, set.DeviceType);
}

TEST(HDInfoRequest, TrimsTextFieldsAndSqueezesTheModel)
{
    HD_Info info = pd(0, 0, "WDC WD5000AAKS-0   ");
    std::memcpy(info.SerialNo, "S123    ", 8);
    std::memset(info.FWVersion, ' ', sizeof info.FWVersion);
    HDInfoRequest::normalize(info);
    EXPECT_STREQ("WDCWD5000AAKS-0", reinterpret_cast<const char *>(info.Model));
    EXPECT_STREQ("S123", reinterpret_cast<const char *>(info.SerialNo));
    EXPECT_EQ(0, info.FWVersion[0]);
    for (unsigned i = 15; i < sizeof info.Model; ++i)
        ASSERT_EQ(0, info.Model[i]) << i;

    HD_Info full = pd(0, 0, "0123456789012345678901234567890123456789");
    HDInfoRequest::normalize(full);
    EXPECT_EQ(0, full.Model[39]); // the model ends within its field
    EXPECT_EQ('8', full.Model[38]);
}

TEST(HDInfoRequestList, FallsBackToThePlainCallAndCleansEveryRecord)
{
    gFake.reset();
    APIClass::reset();
    gFake.pds.push_back(pd(0, 0x01, "A B  "));
    gFake.pds.push_back(pd(1, 0x02, "C"));
    gFake.hdInfoExtStatus = 55;
    HDInfoRequest r(byIndex(0, 2), 0);
    r.runAPI();
    std::vector<std::string> models;
    for (; r.isEnd(); r.moveToNext()) {
        EXPECT_NE(0, r.getInstance()->ConnectionType);
        models.push_back(reinterpret_cast<const char *>(r.getInstance()->Model));
    }
    EXPECT_EQ((std::vector<std::string>{"AB", "C"}), models);
    EXPECT_EQ(1u, gFake.callsNamed("KX_PD_GetHDInfo_Ext").size());
    EXPECT_EQ(1u, gFake.callsNamed("KX_PD_GetHDInfo").size());
    EXPECT_EQ(0, r.getAPIResult());
}

} // namespace
