// The store under real processes: a writer killed at random moments, and a
// reader, a writer and a clearer running at once.
#include "store_fixture.h"

#include <csignal>
#include <fstream>
#include <fcntl.h>
#include <poll.h>
#include <cstring>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <ctime>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool wholeRecord(const ServiceEvent &e)
{
    const Event x = fake::makeEvent(e.kxevent.SequenceNo);
    return std::memcmp(&e.kxevent, &x, sizeof x) == 0 && e.from == 0 && e.deleted == 0;
}

// Child body: one adapter whose queue refills with bursts of 1..120 events
// of increasing sequence numbers from `first`, captured for ever (or for
// `seconds` when that is positive).
[[noreturn]] void captureLoop(KX_U32 first, unsigned seed, double seconds)
{
    fake::reset();
    fake::addAdapter("CRASH");
    std::mt19937 rng(seed);
    KX_U32 next = first;
    fake::setGenerator([&](int, std::deque<Event> &q) {
        // Every other call finds the queue drained, ending the pass.
        if (rng() % 2)
            return;
        int n = 1 + static_cast<int>(rng() % 120);
        for (int i = 0; i < n; ++i)
            q.push_back(fake::makeEvent(next++));
    });
    const time_t stop = std::time(nullptr) + static_cast<time_t>(seconds);
    while (seconds <= 0 || std::time(nullptr) < stop)
        QTA_APIEventToFile();
    _exit(0);
}

class StoreCrash : public StoreDir {
protected:
    uint32_t recordedSeq() const { return at<uint32_t>(bytes(seqFile()), 0); }

    // The event file's size and its header's End (0 without a whole
    // header), read without the rest of the file: reading up to 8 MB of log
    // on each of hundreds of trials made the test CPU-bound, and on a
    // loaded machine it then ran out of its time.
    void sizeAndEnd(uint64_t &size, uint32_t &end) const
    {
        size = 0;
        end = 0;
        struct stat st;
        if (::stat(eventFile().c_str(), &st) != 0)
            return;
        size = static_cast<uint64_t>(st.st_size);
        std::ifstream in(eventFile(), std::ios::binary);
        std::vector<unsigned char> head(48);
        in.read(reinterpret_cast<char *>(head.data()), static_cast<std::streamsize>(head.size()));
        head.resize(static_cast<size_t>(in.gcount()));
        end = at<uint32_t>(head, 44);
    }
};

TEST_F(StoreCrash, KilledWriterNeverLosesARecordedEventNorStoresOneTwice)
{
    const int kTrials = 300;
    std::mt19937 rng(12345);
    KX_U32 lastSeen = 0; // highest sequence number in the log so far
    KX_U32 prevEnd = 0;
    int killedMidway = 0;
    for (int t = 0; t < kTrials; ++t) {
        const KX_U32 base = 1000000u * static_cast<KX_U32>(t + 1);
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0)
            captureLoop(base + 1, static_cast<unsigned>(t), 0);
        usleep(static_cast<useconds_t>(rng() % 12000));
        kill(pid, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFSIGNALED(status));

        // The header counts only slots that are on disk. A writer killed
        // between creating the file and its first header write leaves it
        // empty: an empty store (never a part of a header).
        uint64_t size = 0;
        uint32_t endNow = 0;
        sizeAndEnd(size, endNow);
        ASSERT_LE(endNow, 50000u);
        if (size > 0) {
            ASSERT_GE(size, 512u + 192u * uint64_t{endNow}) << "trial " << t;
        }
        ASSERT_GE(endNow, prevEnd) << "trial " << t;

        // Every event up to the recorded sequence number is there, once,
        // whole, and in order after everything stored before.
        const uint32_t recorded = recordedSeq();
        // Room for one more than the header counts, so that an extra
        // record would show.
        auto fresh = readAll(prevEnd, endNow - prevEnd + 1);
        ASSERT_EQ(fresh.size(), endNow - prevEnd) << "trial " << t;
        KX_U32 prev = lastSeen;
        for (const ServiceEvent &e : fresh) {
            ASSERT_TRUE(wholeRecord(e)) << "trial " << t << " seq " << e.kxevent.SequenceNo;
            ASSERT_GT(e.kxevent.SequenceNo, prev) << "trial " << t;
            prev = e.kxevent.SequenceNo;
        }
        if (recorded > base) {
            ASSERT_FALSE(fresh.empty()) << "trial " << t;
            EXPECT_EQ(fresh.front().kxevent.SequenceNo, base + 1) << "trial " << t;
            // Recorded events are a prefix of what the header counts: the
            // header may have been written just before the kill.
            ASSERT_GE(prev, recorded) << "trial " << t;
            ASSERT_GE(fresh.size(), recorded - base) << "trial " << t;
        }
        if (!fresh.empty() && recorded != prev)
            ++killedMidway;
        lastSeen = prev;
        prevEnd = endNow;
        if (prevEnd > 40000) {
            QTA_ClearFile();
            ASSERT_TRUE(readAll().empty());
            prevEnd = 0;
        }
    }
    // Not a requirement, but a test that never kills between header and
    // sequence records proves little: say how often it happened.
    RecordProperty("killed_between_header_and_sequence", killedMidway);
}

TEST_F(StoreCrash, ReaderWriterAndClearerAtOnceSeeOnlyWholeRecords)
{
    // A capture writer and a clearer write as fast as they can while a
    // reader checks every header and record it gets: only class 1 events
    // are captured, so two counters of one header always move together, and
    // every record carries the pattern of its sequence number.
    fake::addAdapter("CRASH");
    pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0)
        captureLoop(1, 7, 0);

    pid_t clearer = fork();
    ASSERT_GE(clearer, 0);
    if (clearer == 0) {
        fake::reset();
        fake::addAdapter("CRASH");
        // A short pause between clears leaves the writer windows in which
        // records exist: on a loaded machine a clearer that never pauses
        // can keep the log empty for every read.
        for (;;) {
            QTA_ClearFile();
            usleep(200);
        }
    }

    pid_t reader = fork();
    ASSERT_GE(reader, 0);
    if (reader == 0) {
        std::mt19937 rng(99);
        std::vector<ServiceEvent> buf(100);
        long seen = 0;
        // 2000 rounds at least, and on until some records were read (the
        // writer may be starved for a while on a busy machine).
        for (int i = 0; i < 2000 || (seen == 0 && i < 200000); ++i) {
            // Headers are what a clear and a capture rewrite most.
            for (int h = 0; h < 2; ++h) {
                Event_ChangeCounters c;
                QTA_GetEventChangeStatus(&c);
                if (c.LD_Change != c.Whatever_Change || c.HD_Change != 0)
                    _exit(2);
            }
            KX_U32 count = static_cast<KX_U32>(1 + rng() % 100);
            const KX_U32 room = count;
            QTA_GetEvent(static_cast<KX_U32>(rng() % 400), &count, buf.data());
            if (count > room)
                _exit(3);
            for (KX_U32 k = 0; k < count; ++k)
                if (!wholeRecord(buf[k]))
                    _exit(4);
            seen += count;
        }
        _exit(seen > 0 ? 0 : 5);
    }

    int status = -1;
    ASSERT_EQ(waitpid(reader, &status, 0), reader);
    for (pid_t p : {writer, clearer}) {
        kill(p, SIGKILL);
        int st = 0;
        ASSERT_EQ(waitpid(p, &st, 0), p);
    }
    ASSERT_TRUE(WIFEXITED(status)) << "the reader died";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "2: torn counters, 3: too many records, 4: torn record, 5: nothing read";
    // Afterwards the store is whole.
    for (const ServiceEvent &e : readAll())
        ASSERT_TRUE(wholeRecord(e));
}

// True once some process holds a write lock on the gate byte of the event
// file (a writer waiting for the readers inside), polled for up to 5 s.
bool writerWaitsAtGate(int fd)
{
    for (int i = 0; i < 500; ++i) {
        struct flock fl;
        std::memset(&fl, 0, sizeof fl);
        fl.l_type = F_RDLCK;
        fl.l_whence = SEEK_SET;
        fl.l_start = 0;
        fl.l_len = 1;
        if (fcntl(fd, F_OFD_GETLK, &fl) == 0 && fl.l_type == F_WRLCK)
            return true;
        usleep(10000);
    }
    return false;
}

// Reads the stored event count in a child; the count arrives on the pipe.
pid_t countInChild(int pipeWrite)
{
    pid_t pid = fork();
    if (pid == 0) {
        KX_U32 count = 10;
        ServiceEvent buf[10];
        QTA_GetEvent(0, &count, buf);
        char r = static_cast<char>('0' + count);
        _exit(write(pipeWrite, &r, 1) == 1 ? 0 : 2);
    }
    return pid;
}

bool readable(int fd, int ms)
{
    struct pollfd p = {fd, POLLIN, 0};
    return poll(&p, 1, ms) == 1;
}

TEST_F(StoreCrash, ReadersWaitForAWriterAndAWaitingWriterGoesFirst)
{
    fake::addAdapter("LOCK");
    fake::queueEvents(0, 1, 3);
    QTA_APIEventToFile();
    int fd = open(eventFile().c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    int pipeFd[2];
    ASSERT_EQ(pipe(pipeFd), 0);

    // A writer holds the store: a reader waits for it instead of reading
    // what the writer is in the middle of.
    ASSERT_EQ(flock(fd, LOCK_EX), 0);
    pid_t reader = countInChild(pipeFd[1]);
    ASSERT_GE(reader, 0);
    EXPECT_FALSE(readable(pipeFd[0], 300)) << "a reader read while a writer held the store";
    ASSERT_EQ(flock(fd, LOCK_UN), 0);
    char r = 0;
    ASSERT_EQ(read(pipeFd[0], &r, 1), 1);
    EXPECT_EQ(r, '3');
    int status = -1;
    ASSERT_EQ(waitpid(reader, &status, 0), reader);

    // A reader is inside; a clear waits for it at the gate; a reader that
    // comes after the clear waits behind it and finds the store cleared,
    // however many readers would overlap.
    ASSERT_EQ(flock(fd, LOCK_SH), 0);
    pid_t clearer = fork();
    ASSERT_GE(clearer, 0);
    if (clearer == 0) {
        QTA_ClearFile();
        _exit(0);
    }
    ASSERT_TRUE(writerWaitsAtGate(fd));
    reader = countInChild(pipeFd[1]);
    ASSERT_GE(reader, 0);
    EXPECT_FALSE(readable(pipeFd[0], 300)) << "a reader overtook a waiting writer";
    EXPECT_EQ(end(), 3u) << "the clear ran while a reader was inside";
    ASSERT_EQ(flock(fd, LOCK_UN), 0);
    ASSERT_EQ(read(pipeFd[0], &r, 1), 1);
    EXPECT_EQ(r, '0');
    for (pid_t p : {clearer, reader}) {
        ASSERT_EQ(waitpid(p, &status, 0), p);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(end(), 0u);
    close(pipeFd[0]);
    close(pipeFd[1]);
    close(fd);
}

TEST_F(StoreCrash, SlotThatCannotBeWrittenIsNeitherCountedNorRecorded)
{
    // The file may not grow past slot 2: the fourth event of the batch
    // fails to reach the disk.
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit lim;
        lim.rlim_cur = lim.rlim_max = 512 + 192 * 3;
        if (setrlimit(RLIMIT_FSIZE, &lim) != 0)
            _exit(2);
        fake::reset();
        fake::addAdapter("FULL");
        fake::queueEvents(0, 1, 10);
        QTA_APIEventToFile();
        _exit(0);
    }
    int status = -1;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(end(), 0u);
    EXPECT_TRUE(readAll().empty());
    EXPECT_EQ(recordedSeq(), 0u);

    // With room again the next events are stored as usual.
    fake::addAdapter("FULL");
    fake::queueEvents(0, 11, 2);
    QTA_APIEventToFile();
    auto all = readAll();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].kxevent.SequenceNo, 11u);
    EXPECT_EQ(recordedSeq(), 12u);
}

} // namespace
