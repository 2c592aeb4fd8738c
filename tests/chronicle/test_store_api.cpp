// The exported functions over whole capture / read / delete / clear cycles.
#include "store_fixture.h"

#include "KXFileStream.h"

#include <sys/stat.h>

namespace {

class StoreApi : public StoreDir {};

TEST_F(StoreApi, NoAdaptersWritesNothingNotEvenTheHeader)
{
    QTA_APIEventToFile();
    EXPECT_FALSE(exists(eventFile()));
    EXPECT_FALSE(exists(seqFile()));
}

TEST_F(StoreApi, IdlePassWritesAndSyncsNothing)
{
    fake::addAdapter("A");
    fake::queueEvents(0, 1, 2);
    QTA_APIEventToFile();
    auto before = bytes(eventFile());
    auto seqBefore = bytes(seqFile());
    struct stat st1;
    ASSERT_EQ(stat(eventFile().c_str(), &st1), 0);
    const uint64_t syncs = KXFileStream::syncCount();

    QTA_APIEventToFile(); // queue empty
    fake::queueEvents(0, 1, 2); // only events already stored
    QTA_APIEventToFile();

    EXPECT_EQ(KXFileStream::syncCount(), syncs);
    EXPECT_EQ(bytes(eventFile()), before);
    EXPECT_EQ(bytes(seqFile()), seqBefore);
    struct stat st2;
    ASSERT_EQ(stat(eventFile().c_str(), &st2), 0);
    EXPECT_EQ(st1.st_mtim.tv_sec, st2.st_mtim.tv_sec);
    EXPECT_EQ(st1.st_mtim.tv_nsec, st2.st_mtim.tv_nsec);
}

TEST_F(StoreApi, ThreeStoredEventsReadFromStartAndPastTheEnd)
{
    fake::addAdapter("A");
    fake::queueEvents(0, 1, 3);
    QTA_APIEventToFile();
    std::vector<ServiceEvent> buf(10);
    KX_U32 count = 10;
    QTA_GetEvent(0, &count, buf.data());
    ASSERT_EQ(count, 3u);
    for (KX_U32 i = 0; i < 3; ++i) {
        EXPECT_EQ(buf[i].kxevent.SequenceNo, i + 1);
        EXPECT_EQ(buf[i].from, 0);
        EXPECT_EQ(buf[i].deleted, 0);
    }
    count = 10;
    QTA_GetEvent(3, &count, buf.data());
    EXPECT_EQ(count, 0u);
    count = 2;
    QTA_GetEvent(1, &count, buf.data());
    ASSERT_EQ(count, 2u);
    EXPECT_EQ(buf[0].kxevent.SequenceNo, 2u);
    count = 0;
    QTA_GetEvent(0, &count, buf.data());
    EXPECT_EQ(count, 0u);
    count = 10;
    QTA_GetEvent(0xFFFFFFFFu, &count, buf.data());
    EXPECT_EQ(count, 0u);
}

TEST_F(StoreApi, SeverityAbove7IsSkippedWithoutCountingTowardsTheRoom)
{
    fake::addAdapter("A");
    auto &q = fake::adapter(0).queue;
    q.push_back(fake::makeEvent(1, 1, 2, 7));
    q.push_back(fake::makeEvent(2, 1, 2, 8));
    q.push_back(fake::makeEvent(3, 1, 2, 255));
    q.push_back(fake::makeEvent(4, 1, 2, 0));
    QTA_APIEventToFile();
    std::vector<ServiceEvent> buf(2);
    KX_U32 count = 2;
    QTA_GetEvent(0, &count, buf.data());
    ASSERT_EQ(count, 2u);
    EXPECT_EQ(buf[0].kxevent.SequenceNo, 1u);
    EXPECT_EQ(buf[1].kxevent.SequenceNo, 4u);
    // Hidden from readers, but stored and counted.
    EXPECT_EQ(counters().Whatever_Change, 4u);
}

TEST_F(StoreApi, ChangeCountersFollowTheClassTable)
{
    fake::addAdapter("A");
    // One event of each class 0..16 and one legacy class.
    for (KX_U16 c = 0; c <= 16; ++c)
        fake::adapter(0).queue.push_back(fake::makeEvent(c + 1u, c));
    QTA_APIEventToFile();
    Event_ChangeCounters c = counters();
    EXPECT_EQ(c.Adapter_Change, 2u); // classes 0 and 15
    EXPECT_EQ(c.LD_Change, 1u);
    EXPECT_EQ(c.HD_Change, 1u);
    EXPECT_EQ(c.PM_Change, 1u);
    EXPECT_EQ(c.Expander_Change, 1u);
    EXPECT_EQ(c.MDD_Change, 1u);
    EXPECT_EQ(c.BSL_Change, 1u);
    EXPECT_EQ(c.SAS_Change, 1u);
    EXPECT_EQ(c.ENCL_Change, 1u);
    EXPECT_EQ(c.BAT_Change, 1u);
    EXPECT_EQ(c.FLASH_Change, 1u);
    EXPECT_EQ(c.CACHE_Change, 1u);
    EXPECT_EQ(c.MISC_Change, 1u);
    EXPECT_EQ(c.ARRAY_Change, 1u);
    EXPECT_EQ(c.Accelerator_Change, 0u);
    EXPECT_EQ(c.Whatever_Change, 17u);
}

TEST_F(StoreApi, NoStoreReadsAsEmpty)
{
    Event_ChangeCounters c = counters();
    const Event_ChangeCounters zero{};
    EXPECT_EQ(std::memcmp(&c, &zero, sizeof c), 0);
    EXPECT_TRUE(readAll().empty());
}

TEST_F(StoreApi, ClearEmptiesTheLogAndTheNextCaptureStoresEverythingAgain)
{
    fake::addAdapter("A");
    fake::queueEvents(0, 1, 5);
    QTA_APIEventToFile();
    const size_t sizeBefore = bytes(eventFile()).size();
    QTA_ClearFile();
    EXPECT_TRUE(readAll().empty());
    Event_ChangeCounters c = counters();
    const Event_ChangeCounters zero{};
    EXPECT_EQ(std::memcmp(&c, &zero, sizeof c), 0);
    auto b = bytes(eventFile());
    EXPECT_EQ(b.size(), sizeBefore); // old slots stay on disk
    EXPECT_EQ(at<uint32_t>(b, 44), 0u);
    EXPECT_EQ(at<uint32_t>(b, 36), 50000u);
    EXPECT_EQ(std::memcmp(b.data(), "Plova Event File v0.1", 22), 0);
    for (size_t i = 116; i < 516; ++i)
        ASSERT_EQ(b[i], 0) << i;
    EXPECT_EQ(at<uint32_t>(bytes(seqFile()), 0), 0u);

    fake::queueEvents(0, 1, 2); // sequence numbers start over after a reset
    QTA_APIEventToFile();
    auto all = readAll();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].kxevent.SequenceNo, 1u);
}

TEST_F(StoreApi, DeleteMarksUncountsAndHidesTheEvent)
{
    fake::addAdapter("A");
    fake::addAdapter("B");
    fake::queueEvents(0, 1, 4, 2); // class 2
    fake::queueEvents(1, 3, 1, 9); // same sequence number 3 on another adapter
    QTA_APIEventToFile();
    ASSERT_EQ(counters().Whatever_Change, 5u);
    QTA_DeleteEvent(3);
    Event_ChangeCounters c = counters();
    EXPECT_EQ(c.Whatever_Change, 3u);
    EXPECT_EQ(c.HD_Change, 3u);
    EXPECT_EQ(c.BAT_Change, 0u);
    auto all = readAll();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].kxevent.SequenceNo, 1u);
    EXPECT_EQ(all[1].kxevent.SequenceNo, 2u);
    EXPECT_EQ(all[2].kxevent.SequenceNo, 4u);
    // Paging counts events not deleted: the third one is sequence 4.
    all = readAll(2, 5);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].kxevent.SequenceNo, 4u);
    EXPECT_TRUE(readAll(3, 5).empty());
    // Deleted flag on disk, rest of the record unchanged.
    auto b = bytes(eventFile());
    EXPECT_EQ(b[512 + 192 * 2 + 8 + 65], 1);
    EXPECT_EQ(at<uint16_t>(b, 512 + 192 * 2 + 8), 2u);
    EXPECT_EQ(at<uint32_t>(b, 32), 5u); // NumberOfEvent unchanged
    EXPECT_EQ(at<uint32_t>(b, 44), 5u); // End unchanged

    // Deleting again changes nothing.
    QTA_DeleteEvent(3);
    EXPECT_EQ(counters().Whatever_Change, 3u);
}

TEST_F(StoreApi, DeleteAfterClearLeavesTheOldSlotsAndTheZeroCountersAlone)
{
    fake::addAdapter("A");
    fake::queueEvents(0, 1, 3);
    QTA_APIEventToFile();
    QTA_ClearFile();
    auto before = bytes(eventFile());
    QTA_DeleteEvent(2);
    EXPECT_EQ(counters().Whatever_Change, 0u);
    EXPECT_EQ(counters().LD_Change, 0u);
    EXPECT_EQ(bytes(eventFile()), before);
}

TEST_F(StoreApi, DeleteMovesTheMapEntriesFromTheMatchingOne)
{
    fake::addAdapter("A");
    fake::queueEvents(0, 1, 40);
    QTA_APIEventToFile();
    // Entries: 0 {0,11,1}, 1 {22,11,1}, 2 {44,22,1}, 3 {66,33,1}; last_update 3.
    QTA_DeleteEvent(35);
    auto b = bytes(eventFile());
    auto start = [&](int e) { return at<uint16_t>(b, 132 + 12 * e); };
    auto seq = [&](int e) { return at<uint32_t>(b, 132 + 12 * e + 4); };
    // First entry with 35 < seq + 20 is entry 2 (11 + 20 = 31 is not, 22 + 20 is).
    EXPECT_EQ(start(0), 0u);
    EXPECT_EQ(seq(0), 11u);
    EXPECT_EQ(start(1), 22u);
    EXPECT_EQ(seq(1), 11u);
    EXPECT_EQ(start(2), 45u);
    EXPECT_EQ(seq(2), 23u);
    EXPECT_EQ(start(3), 66u); // last_update itself is not moved
    EXPECT_EQ(seq(3), 33u);
}

TEST_F(StoreApi, ServiceEventCapturesFirstThenReadsBackAsClass12From1)
{
    fake::addAdapter("A");
    fake::queueEvents(0, 1, 2);
    QTA_AddSPEvent(1, 1, 10, 20, 30, 40);
    EXPECT_EQ(fake::adapter(0).flushes, 1);
    auto all = readAll();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].kxevent.SequenceNo, 1u);
    const ServiceEvent &sp = all[2];
    EXPECT_EQ(sp.kxevent.Class, 12);
    EXPECT_EQ(sp.kxevent.Severity, 2);
    EXPECT_EQ(sp.kxevent.AdapterID, 0);
    EXPECT_EQ(sp.from, 1);
    EXPECT_EQ(sp.kxevent.Code, 1);
    EXPECT_EQ(sp.kxevent.Params[3], 40u);
    EXPECT_EQ(sp.kxevent.SequenceNo, 0u);
    auto b = bytes(eventFile());
    EXPECT_EQ(at<uint16_t>(b, 512 + 192 * 2 + 8), 99u);
    EXPECT_EQ(b[512 + 192 * 2 + 8 + 64], 1); // from as given
    EXPECT_EQ(counters().MISC_Change, 1u);
    EXPECT_EQ(counters().Whatever_Change, 3u);
    EXPECT_EQ(at<uint16_t>(b, 116), 5u); // 2 + 2 captured, 1 service
}

TEST_F(StoreApi, ServiceEventsAtTheLastSlotDoNotOverwriteEachOther)
{
    // A header that has used 49999 slots.
    std::vector<unsigned char> img(516, 0);
    std::memcpy(img.data(), "Plova Event File v0.1", 22);
    uint32_t v = 49999;
    std::memcpy(img.data() + 32, &v, 4);
    std::memcpy(img.data() + 44, &v, 4);
    v = 50000;
    std::memcpy(img.data() + 36, &v, 4);
    writeBytes(eventFile(), img);
    QTA_AddSPEvent(0, 7, 0, 0, 0, 0);
    QTA_AddSPEvent(0, 8, 0, 0, 0, 0);
    auto b = bytes(eventFile());
    EXPECT_EQ(at<uint16_t>(b, 512 + 192 * 49999u + 8 + 2), 7u);
    EXPECT_EQ(at<uint16_t>(b, 512 + 8 + 2), 8u);
    EXPECT_EQ(at<uint32_t>(b, 44), 1u);
}

TEST_F(StoreApi, GarbageAndShortFilesReadAsEmptyAndCaptureRecovers)
{
    std::vector<unsigned char> junk(4000);
    for (size_t i = 0; i < junk.size(); ++i)
        junk[i] = static_cast<unsigned char>(i * 131 + 7);
    writeBytes(eventFile(), junk);
    writeBytes(seqFile(), std::vector<unsigned char>(junk.begin(), junk.begin() + 77));
    auto got = readAll(0, 100);
    EXPECT_LE(got.size(), 100u);
    Event_ChangeCounters c;
    QTA_GetEventChangeStatus(&c);
    QTA_DeleteEvent(0x07070707);

    // A header claiming a full log with the map index out of range.
    std::vector<unsigned char> img(516, 0xFF);
    writeBytes(eventFile(), img);
    EXPECT_TRUE(readAll(0, 10).size() <= 10);
    fake::addAdapter("A");
    fake::queueEvents(0, 1, 3);
    QTA_APIEventToFile();
    auto all = readAll();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[2].kxevent.SequenceNo, 3u);

    for (size_t len : {0u, 1u, 100u, 511u}) {
        writeBytes(eventFile(), std::vector<unsigned char>(junk.begin(), junk.begin() + len));
        EXPECT_TRUE(readAll().empty()) << len;
    }
}

TEST_F(StoreApi, UnwritableStoreLeavesTheControllerQueueAlone)
{
    setenv("ARRAY_DB_DIR", (m_dir + "/missing").c_str(), 1);
    fake::addAdapter("A");
    fake::queueEvents(0, 1, 3);
    QTA_APIEventToFile();
    EXPECT_EQ(fake::adapter(0).queue.size(), 3u);
    EXPECT_EQ(fake::getEventCalls(), 0);
    setenv("ARRAY_DB_DIR", m_dir.c_str(), 1);
    QTA_APIEventToFile();
    EXPECT_EQ(readAll().size(), 3u);
}

TEST_F(StoreApi, FailedGetEventEndsThatAdapterOnly)
{
    fake::addAdapter("A").getEventStatus = 4;
    fake::addAdapter("B");
    fake::queueEvents(0, 1, 2);
    fake::queueEvents(1, 1, 2);
    QTA_APIEventToFile();
    auto all = readAll();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(fake::adapter(0).queue.size(), 2u);
}

TEST_F(StoreApi, BurstLargerThanOneBatchIsStoredInOrder)
{
    fake::addAdapter("A");
    fake::queueEvents(0, 1000, 137);
    QTA_APIEventToFile();
    auto all = readAll();
    ASSERT_EQ(all.size(), 137u);
    for (size_t i = 0; i < all.size(); ++i)
        ASSERT_EQ(all[i].kxevent.SequenceNo, 1000u + i);
    EXPECT_EQ(at<uint32_t>(bytes(seqFile()), 0), 1136u);
}

} // namespace
