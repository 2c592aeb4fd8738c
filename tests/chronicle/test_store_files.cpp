// Byte-level behaviour of the two store files.
#include "store_fixture.h"

#include "AdapterFileData.h"
#include "EventFileData.h"
#include "EventHeaderFileData.h"
#include "FileData.h"
#include "KXFileStream.h"

namespace {

const size_t kSlot0 = 512;
size_t slotAt(size_t s) { return kSlot0 + 192 * s; }

class StoreFiles : public StoreDir {};

TEST_F(StoreFiles, FirstCaptureOnFreshSystemWrites704BytesEventAt520HeaderAt0)
{
    fake::addAdapter("SER-1");
    Event ev = fake::makeEvent(7, 2, 1, 3, 4);
    fake::adapter(0).queue.push_back(ev);
    QTA_APIEventToFile();

    auto b = bytes(eventFile());
    ASSERT_EQ(b.size(), 704u);
    EXPECT_EQ(std::memcmp(b.data(), "Plova Event File v0.1", 22), 0);
    for (size_t i = 22; i < 32; ++i)
        EXPECT_EQ(b[i], 0) << "magic padding at " << i;
    EXPECT_EQ(at<uint32_t>(b, 32), 1u); // NumberOfEvent
    EXPECT_EQ(at<uint32_t>(b, 36), 50000u);
    EXPECT_EQ(at<uint32_t>(b, 40), 0u);
    EXPECT_EQ(at<uint32_t>(b, 44), 1u); // End
    EXPECT_EQ(at<uint32_t>(b, 48), 0u);
    EXPECT_EQ(at<uint32_t>(b, 52 + 4), 1u);      // HD_Change (class 2)
    EXPECT_EQ(at<uint32_t>(b, 52 + 11 * 4), 1u); // Whatever_Change
    EXPECT_EQ(at<uint16_t>(b, 116), 2u);         // total_event: two per captured event
    // The event lies at slot offset 8; from 0, deleted 0.
    EXPECT_EQ(std::memcmp(b.data() + 520, &ev, sizeof ev), 0);
    EXPECT_EQ(b[520 + 64], 0);
    EXPECT_EQ(b[520 + 65], 0);
    // Header was written last: bytes 512..515 are entry 31's deep byte and padding.
    EXPECT_EQ(b[512], 0);
    EXPECT_EQ(b[513], 0);
    // Slot tail never written.
    for (size_t i = 592; i < 704; ++i)
        ASSERT_EQ(b[i], 0) << i;

    auto s = bytes(seqFile());
    ASSERT_EQ(s.size(), 40u);
    EXPECT_EQ(at<uint32_t>(s, 0), 7u);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(s.data() + 16)), "SER-1");
    EXPECT_EQ(at<uint32_t>(s, 36), 40u);
}

TEST_F(StoreFiles, Slot3OfEmptyFileZeroFillsTo1280AndKeepsEarlierBytes)
{
    writeBytes(eventFile(), {9, 8, 7});
    WritableFile f(KX_EVENT_FILE, 512, 50000);
    EventFileData rec(fake::makeEvent(3));
    ASSERT_TRUE(f.setData(rec, 3));
    f.close();
    auto b = bytes(eventFile());
    ASSERT_EQ(b.size(), 1280u);
    EXPECT_EQ(b[0], 9);
    EXPECT_EQ(b[1], 8);
    EXPECT_EQ(b[2], 7);
    for (size_t i = 3; i < slotAt(3); ++i)
        ASSERT_EQ(b[i], 0) << i;
    EXPECT_EQ(b[slotAt(3)], 1);
    EXPECT_EQ(b[slotAt(3) + 1], 1);
    EXPECT_EQ(at<uint32_t>(b, slotAt(3) + 8 + 12), 3u);
}

TEST_F(StoreFiles, SlotIndexWrapsModuloCapacity)
{
    WritableFile w(KX_EVENT_FILE, 512, 50000);
    EventFileData a(fake::makeEvent(100)), b(fake::makeEvent(101));
    ASSERT_TRUE(w.setData(a, 50000));
    ASSERT_TRUE(w.setData(b, 50001));
    w.close();
    EXPECT_EQ(bytes(eventFile()).size(), slotAt(2));
    ReadableFile r(KX_EVENT_FILE, 512, 50000);
    EventFileData got;
    ASSERT_TRUE(r.getData(got, 0));
    EXPECT_EQ(got.getEvent().kxevent.SequenceNo, 100u);
    ASSERT_TRUE(r.getData(got, 1));
    EXPECT_EQ(got.getEvent().kxevent.SequenceNo, 101u);
    ASSERT_TRUE(r.getData(got, 100001));
    EXPECT_EQ(got.getEvent().kxevent.SequenceNo, 101u);
}

TEST_F(StoreFiles, HeaderOverlapsFirstFourBytesOfSlot0)
{
    EventHeaderFileData h;
    h.getEventMap().entries[31].deep = 0x5A;
    WritableFile hf(KX_EVENT_FILE, 0, 1);
    ASSERT_TRUE(hf.setData(h, 0));
    hf.close();
    EXPECT_EQ(bytes(eventFile()).size(), 516u);
    EXPECT_EQ(bytes(eventFile())[512], 0x5A);

    WritableFile ef(KX_EVENT_FILE, 512, 50000);
    EventFileData rec(fake::makeEvent(1));
    ASSERT_TRUE(ef.setData(rec, 0));
    ef.close();
    auto b = bytes(eventFile());
    EXPECT_EQ(b[512], 1);
    EXPECT_EQ(b[513], 1);

    WritableFile hf2(KX_EVENT_FILE, 0, 1);
    ASSERT_TRUE(hf2.setData(h, 0));
    hf2.close();
    b = bytes(eventFile());
    EXPECT_EQ(b[512], 0x5A);
    EXPECT_EQ(b[513], 0);
    // The event itself (from slot offset 8) is untouched by either write.
    ReadableFile r(KX_EVENT_FILE, 512, 50000);
    EventFileData got;
    ASSERT_TRUE(r.getData(got, 0));
    EXPECT_EQ(got.getEvent().kxevent.SequenceNo, 1u);
}

TEST_F(StoreFiles, HeaderOf512To515BytesCountsAsPresentTailKeepsEmptyState)
{
    EventHeaderFileData h;
    h.getEventHeader().End = 4;
    h.getEventHeader().NumberOfEvent = 4;
    h.getEventMap().entries[31].deep = 9;
    unsigned char img[516];
    h.image(img);
    for (size_t len : {512u, 513u, 515u}) {
        writeBytes(eventFile(), std::vector<unsigned char>(img, img + len));
        EventHeaderFileData got;
        ReadableFile r(KX_EVENT_FILE, 0, 1);
        ASSERT_TRUE(r.getData(got, 0)) << len;
        EXPECT_EQ(got.getEventHeader().End, 4u);
        EXPECT_EQ(got.getEventMap().entries[31].deep, len > 512 ? 9 : 0) << len;
    }
    writeBytes(eventFile(), std::vector<unsigned char>(img, img + 511));
    EventHeaderFileData got;
    ReadableFile r(KX_EVENT_FILE, 0, 1);
    EXPECT_FALSE(r.getData(got, 0));
    EXPECT_EQ(got.getEventHeader().End, 0u);
}

TEST_F(StoreFiles, StoredClass99ReadsAsClass12Severity2Adapter0From1)
{
    ServiceEvent raw;
    std::memset(&raw, 0, sizeof raw);
    raw.kxevent.Class = 99;
    raw.kxevent.Severity = 6;
    raw.kxevent.AdapterID = 3;
    raw.kxevent.Code = 5;
    WritableFile w(KX_EVENT_FILE, 512, 50000);
    EventFileData rec(raw);
    ASSERT_TRUE(w.setData(rec, 0));
    w.close();
    ReadableFile r(KX_EVENT_FILE, 512, 50000);
    EventFileData got;
    ASSERT_TRUE(r.getData(got, 0));
    EXPECT_EQ(got.getEvent().kxevent.Class, 12);
    EXPECT_EQ(got.getEvent().kxevent.Severity, 2);
    EXPECT_EQ(got.getEvent().kxevent.AdapterID, 0);
    EXPECT_EQ(got.getEvent().from, 1);
    EXPECT_EQ(got.getEvent().kxevent.Code, 5);
    // The stored bytes keep class 99.
    EXPECT_EQ(at<uint16_t>(bytes(eventFile()), 520), 99u);
    // Class 50 is not converted.
    raw.kxevent.Class = 50;
    EventFileData rec50(raw);
    WritableFile w2(KX_EVENT_FILE, 512, 50000);
    ASSERT_TRUE(w2.setData(rec50, 1));
    w2.close();
    ASSERT_TRUE(r.getData(got, 1));
    EXPECT_EQ(got.getEvent().kxevent.Class, 50);
    EXPECT_EQ(got.getEvent().from, 0);
}

struct MapEntry {
    uint16_t start;
    uint32_t seq;
    uint8_t deep;
    bool operator==(const MapEntry &o) const { return start == o.start && seq == o.seq && deep == o.deep; }
};

std::ostream &operator<<(std::ostream &os, const MapEntry &e)
{
    return os << "{" << e.start << ", " << e.seq << ", " << int(e.deep) << "}";
}

class StoreMap : public StoreDir {
protected:
    void SetUp() override
    {
        StoreDir::SetUp();
        fake::addAdapter("MAP");
    }
    // Captures events with sequence numbers next .. next+n-1.
    void capture(int n)
    {
        fake::queueEvents(0, m_next, n);
        m_next += static_cast<KX_U32>(n);
        QTA_APIEventToFile();
    }
    MapEntry entry(int i) const
    {
        auto b = bytes(eventFile());
        size_t off = 132 + 12 * static_cast<size_t>(i);
        return {at<uint16_t>(b, off), at<uint32_t>(b, off + 4), b.at(off + 8)};
    }
    unsigned lastUpdate() const { return bytes(eventFile()).at(119); }
    unsigned totalEvent() const { return at<uint16_t>(bytes(eventFile()), 116); }
    KX_U32 m_next = 1;
};

TEST_F(StoreMap, After20EventsOneEntryOpenedAtEvent11)
{
    capture(20);
    EXPECT_EQ(totalEvent(), 40u);
    EXPECT_EQ(lastUpdate(), 1u);
    EXPECT_EQ(entry(0), (MapEntry{0, 11, 1}));
    EXPECT_EQ(entry(1), (MapEntry{22, 11, 1}));
    EXPECT_EQ(entry(2), (MapEntry{0, 0, 0}));
}

TEST_F(StoreMap, After21EventsStillTwoEntriesThe22ndOpensTheThird)
{
    capture(21);
    EXPECT_EQ(lastUpdate(), 1u);
    EXPECT_EQ(entry(2), (MapEntry{0, 0, 0}));
    capture(1);
    EXPECT_EQ(lastUpdate(), 2u);
    EXPECT_EQ(entry(2), (MapEntry{44, 22, 1}));
}

TEST_F(StoreMap, After640EventsTheMapHasBeenHalvedTwice)
{
    capture(640);
    EXPECT_EQ(totalEvent(), 1280u);
    EXPECT_EQ(lastUpdate(), 28u);
    EXPECT_EQ(entry(0), (MapEntry{0, 11, 3}));
    EXPECT_EQ(entry(1), (MapEntry{88, 44, 3}));
    EXPECT_EQ(entry(8), (MapEntry{352, 176, 3}));
    EXPECT_EQ(entry(9), (MapEntry{728, 364, 3}));
    EXPECT_EQ(entry(16), (MapEntry{352, 176, 1}));
    EXPECT_EQ(entry(17), (MapEntry{1038, 519, 1}));
    EXPECT_EQ(entry(28), (MapEntry{1280, 640, 1}));
}

TEST_F(StoreMap, EventAfterAFullLogRestartsTheLogAndStaysReadable)
{
    // Capturing 50000 events costs a few thousand syncs; a log made full by
    // its header reaches the same state: 640 real events, then End and
    // NumberOfEvent at capacity as after event 50000.
    capture(640);
    auto b = bytes(eventFile());
    const uint32_t full = 50000;
    std::memcpy(b.data() + 32, &full, 4);
    std::memcpy(b.data() + 44, &full, 4);
    writeBytes(eventFile(), b);
    m_next = 50001;
    capture(1);
    EXPECT_EQ(end(), 1u);
    EXPECT_EQ(numberOfEvent(), 1u);
    EXPECT_EQ(lastUpdate(), 0u);
    EXPECT_EQ(totalEvent(), 2u);
    EXPECT_EQ(entry(0), (MapEntry{0, 50001, 1}));
    auto all = readAll();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].kxevent.SequenceNo, 50001u);
    // The next event goes to slot 1; slot 0 keeps event 50001.
    capture(1);
    all = readAll();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].kxevent.SequenceNo, 50001u);
    EXPECT_EQ(all[1].kxevent.SequenceNo, 50002u);
    EXPECT_EQ(entry(0), (MapEntry{0, 50002, 1}));
}

// ---- sequence records and adapter identity ----------------------------

class StoreSequence : public StoreDir {
protected:
    std::string key(int record) const
    {
        auto s = bytes(seqFile());
        size_t off = 40 * static_cast<size_t>(record) + 16;
        if (off + 20 > s.size())
            return "<absent>";
        return std::string(reinterpret_cast<const char *>(s.data() + off), strnlen(reinterpret_cast<const char *>(s.data() + off), 20));
    }
    uint32_t seq(int record) const { return at<uint32_t>(bytes(seqFile()), 40 * static_cast<size_t>(record)); }
};

TEST_F(StoreSequence, KeysAreSerialElseWwnElseIndex)
{
    fake::addAdapter("ABCDEFGHIJKLMNOPQRST"); // all 20 bytes used
    fake::addAdapter("", {0x50, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07});
    fake::addAdapter();
    for (int a = 0; a < 3; ++a)
        fake::queueEvents(a, 10 + static_cast<KX_U32>(a), 1);
    QTA_APIEventToFile();
    auto s = bytes(seqFile());
    ASSERT_EQ(s.size(), 120u);
    EXPECT_EQ(key(0), "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(std::memcmp(s.data() + 40 + 16, "\x50\x01\x02\x03\x04\x05\x06\x07", 8), 0);
    for (size_t i = 40 + 24; i < 40 + 36; ++i)
        EXPECT_EQ(s[i], 0) << i;
    EXPECT_EQ(key(2), "2");
    EXPECT_EQ(seq(0), 10u);
    EXPECT_EQ(seq(1), 11u);
    EXPECT_EQ(seq(2), 12u);
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(at<uint32_t>(s, 40 * r + 36), 40u);
        for (size_t i = 4; i < 16; ++i)
            EXPECT_EQ(s[40 * r + i], 0);
    }
}

TEST_F(StoreSequence, OldEventsAreNotStoredAgainAndRecordsFollowTheAdapterIdentity)
{
    fake::addAdapter("A");
    fake::queueEvents(0, 5, 3); // 5 6 7
    QTA_APIEventToFile();
    fake::queueEvents(0, 6, 4); // 6 7 again, 8 9 new
    QTA_APIEventToFile();
    auto all = readAll();
    ASSERT_EQ(all.size(), 5u);
    for (size_t i = 0; i < all.size(); ++i)
        EXPECT_EQ(all[i].kxevent.SequenceNo, 5u + i);

    // A second adapter appears in front of the first: the first keeps its
    // record by its serial number, the newcomer starts at sequence 0.
    fake::reset();
    fake::addAdapter("B");
    fake::addAdapter("A");
    fake::queueEvents(0, 1, 1);
    fake::queueEvents(1, 9, 2); // 9 old, 10 new
    QTA_APIEventToFile();
    all = readAll();
    ASSERT_EQ(all.size(), 7u);
    EXPECT_EQ(all[5].kxevent.SequenceNo, 1u);
    EXPECT_EQ(all[6].kxevent.SequenceNo, 10u);
    EXPECT_EQ(key(0), "A");
    EXPECT_EQ(seq(0), 10u);
    EXPECT_EQ(key(1), "B");
    EXPECT_EQ(seq(1), 1u);
}

TEST_F(StoreSequence, AdaptersWithTheSameIdentityKeepARecordEach)
{
    fake::addAdapter("SAME");
    fake::addAdapter("SAME");
    fake::queueEvents(0, 100, 1);
    fake::queueEvents(1, 3, 1);
    QTA_APIEventToFile();
    fake::queueEvents(0, 101, 1);
    fake::queueEvents(1, 4, 1);
    QTA_APIEventToFile();
    EXPECT_EQ(readAll().size(), 4u);
    EXPECT_EQ(seq(0), 101u);
    EXPECT_EQ(seq(1), 4u);
}

TEST_F(StoreSequence, FailedAdapterInfoCapturesNothingAndLeavesTheQueue)
{
    fake::addAdapter("A");
    fake::queueEvents(0, 1, 3);
    fake::failGetInfo(5);
    QTA_APIEventToFile();
    EXPECT_TRUE(readAll().empty());
    EXPECT_EQ(end(), 0u);
    EXPECT_FALSE(exists(seqFile()));
}

TEST_F(StoreSequence, EleventhAdapterHasNoRecordAndNothingIsStoredForIt)
{
    for (int a = 0; a < 11; ++a) {
        fake::addAdapter("AD" + std::to_string(a));
        fake::queueEvents(a, 1, 1);
    }
    QTA_APIEventToFile();
    EXPECT_EQ(readAll().size(), 10u);
    EXPECT_EQ(bytes(seqFile()).size(), 400u);
}

} // namespace
