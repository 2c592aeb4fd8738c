// In-process checks of the list pager and of the option handling of info
// and status: what a controller that answers oddly, or an odd argument,
// does to the listing. The pager is driven by scripted pages, never by a
// controller library.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "Functions/handlers.h"
#include "Public/globals.h"
#include "info_list.h"

namespace {

// Sends the tool's output stream to a temporary file for one test.
class Captured {
public:
    Captured() : m_old(stream), m_file(tmpfile()) { stream = m_file; }
    ~Captured()
    {
        stream = m_old;
        fclose(m_file);
    }
    std::string text()
    {
        fflush(m_file);
        std::string s;
        rewind(m_file);
        int c;
        while ((c = fgetc(m_file)) != EOF)
            s += (char)c;
        return s;
    }

private:
    FILE *m_old;
    FILE *m_file;
};

const InfoListKind kKind = {
    8, 4, "HEAD\n", "none\n", "Total:", "fail %d (error %d: %s)\n", "fail all (error %d: %s)\n", 0,
    nullptr,
};

struct Page {
    KX_U8 status;
    unsigned returned;
    KX_U16 next;
};

// A scripted controller: answers page after page from the list and
// records each request header it was given.
struct Script {
    std::vector<Page> pages;
    std::vector<RequestHeader> asked;
    size_t at = 0;
    // One page at a time: an initializer-list assignment of the vector
    // trips a false -Wnonnull of GCC 12 at -O2.
    void script(std::initializer_list<Page> l)
    {
        for (const Page &p : l)
            pages.push_back(p);
    }
    KX_U8 call(RequestHeader *h)
    {
        asked.push_back(*h);
        if (at >= pages.size())
            return 99;
        const Page &p = pages[at++];
        h->numReturned = (KX_U16)p.returned;
        h->nextStartingIndex = p.next;
        KX_U8 *rec = reinterpret_cast<KX_U8 *>(h + 1);
        unsigned n = p.returned < h->numRequested ? p.returned : h->numRequested;
        for (unsigned i = 0; i < n; ++i)
            memset(rec + 8 * i, (int)(h->startingIndexOrId + i), 8);
        return p.status;
    }
};

int list(Script &s, bool all, KX_U16 id, std::vector<int> &seen, KX_U16 maxBuffer = 0)
{
    return infoPagedList(
        maxBuffer, kKind, all, id, id, [&s](RequestHeader *h) { return s.call(h); },
        [&seen](const void *rec) {
            seen.push_back(*static_cast<const KX_U8 *>(rec));
            return 0;
        });
}

TEST(InfoPager, FollowsNextIndexAndEndsWithTotal)
{
    Captured out;
    Script s;
    s.script({{0, 4, 4}, {0, 2, 0xFFFF}});
    std::vector<int> seen;
    EXPECT_EQ(list(s, true, 0, seen), 0);
    ASSERT_EQ(s.asked.size(), 2u);
    EXPECT_EQ(s.asked[0].requestType, 1);
    EXPECT_EQ(s.asked[0].startingIndexOrId, 0);
    EXPECT_EQ(s.asked[0].numRequested, 4);
    EXPECT_EQ(s.asked[1].startingIndexOrId, 4);
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(out.text(), "HEAD\nTotal:               6\n\n");
}

TEST(InfoPager, CountBeyondThePageIsNotRead)
{
    Captured out;
    Script s;
    s.script({{0, 500, 0xFFFF}});  // claims far more than was asked for
    std::vector<int> seen;
    EXPECT_EQ(list(s, true, 0, seen), 0);
    EXPECT_EQ(seen.size(), 4u);
}

TEST(InfoPager, ListThatDoesNotMoveForwardStops)
{
    Captured out;
    Script s;
    s.script({{0, 4, 4}, {0, 4, 4}, {0, 4, 2}, {0, 4, 8}});
    std::vector<int> seen;
    EXPECT_EQ(list(s, true, 0, seen), 0);
    // The second page points back at itself: no third request.
    EXPECT_EQ(s.asked.size(), 2u);
    EXPECT_EQ(seen.size(), 8u);
}

TEST(InfoPager, OneObjectTakesOnePageWhateverNextSays)
{
    Captured out;
    Script s;
    s.script({{0, 1, 7}, {0, 1, 8}});
    std::vector<int> seen;
    EXPECT_EQ(list(s, false, 7, seen), 0);
    ASSERT_EQ(s.asked.size(), 1u);
    EXPECT_EQ(s.asked[0].requestType, 2);
    EXPECT_EQ(s.asked[0].startingIndexOrId, 7);
    EXPECT_EQ(s.asked[0].numRequested, 1);
    // No total line for one object.
    EXPECT_EQ(out.text(), "HEAD\n");
}

TEST(InfoPager, FailureOnALaterPageKeepsWhatWasShownAndDropsTheTotal)
{
    Captured out;
    Script s;
    s.script({{0, 4, 4}, {19, 0, 0xFFFF}});
    std::vector<int> seen;
    EXPECT_EQ(list(s, true, 0, seen), 19);
    EXPECT_EQ(seen.size(), 4u);
    EXPECT_EQ(out.text(), "HEAD\nfail all (error 19: Not supported)\n");
}

TEST(InfoPager, EmptyFirstPageAndFailureForOneObject)
{
    {
        Captured out;
        Script s;
        s.script({{0, 0, 0xFFFF}});
        std::vector<int> seen;
        EXPECT_EQ(list(s, true, 0, seen), 0);
        EXPECT_EQ(out.text(), "none\n");
    }
    {
        Captured out;
        Script s;
        s.script({{9, 0, 0xFFFF}});
        std::vector<int> seen;
        EXPECT_EQ(list(s, false, 3, seen), 9);
        EXPECT_EQ(out.text(), "fail 3 (error 9: Invalid physical disk id)\n");
    }
}

TEST(InfoPager, RecordHandlerCanEndTheListing)
{
    Captured out;
    Script s;
    s.script({{0, 4, 4}, {0, 4, 0xFFFF}});
    int calls = 0;
    int rc = infoPagedList(
        0, kKind, true, 0, 0, [&s](RequestHeader *h) { return s.call(h); },
        [&calls](const void *) { return ++calls == 2 ? 9 : 0; });
    EXPECT_EQ(rc, 9);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(s.asked.size(), 1u);
    EXPECT_EQ(out.text(), "HEAD\n");
}

TEST(InfoPager, PageSizeFromMaxBufferSize)
{
    Captured out;
    Script s;
    s.script({{0, 0, 0xFFFF}});
    std::vector<int> seen;
    list(s, true, 0, seen, 1);
    ASSERT_EQ(s.asked.size(), 1u);
    EXPECT_EQ(s.asked[0].numRequested, (1024 - 16) / 8);
}

int callHandler(int (*handler)(int, char **, cmd_struct *), const char *word,
                std::vector<std::string> args)
{
    static cmd_struct row = {"info", 5, nullptr, "page\n", ":short"};
    row.cmd = word;
    std::vector<char *> argv;
    std::string w = word;
    argv.push_back(&w[0]);
    for (std::string &a : args)
        argv.push_back(&a[0]);
    argv.push_back(nullptr);
    return handler((int)argv.size() - 1, argv.data(), &row);
}

TEST(InfoOptions, EmptyOrHugeIdsAreRejectedBeforeAnyQuery)
{
    {
        Captured out;
        EXPECT_EQ(callHandler(doInfo, "info", {"-o", "vd", "-i", ""}), 1);
        EXPECT_EQ(out.text(), "-i : id should be a number\n");
    }
    {
        Captured out;
        EXPECT_EQ(callHandler(doInfo, "info", {"-o", "vd", "-i", "4294967551"}), 1);
        EXPECT_EQ(out.text(), "-i : invalid id 4294967551\n");
    }
    {
        Captured out;
        EXPECT_EQ(callHandler(doStatus, "status", {"-o", "pd", "-i", ""}), 1);
        EXPECT_EQ(out.text(), "-i : id is not a number\n");
    }
    {
        // 65536 would wrap around to disk 0.
        Captured out;
        EXPECT_EQ(callHandler(doStatus, "status", {"-o", "pd", "-i", "65536"}), 1);
        EXPECT_EQ(out.text(), "-i : invalid id 65536\n");
    }
    {
        Captured out;
        EXPECT_EQ(callHandler(doInfo, "info", {"-o", "pd", "-h"}), 0);
        EXPECT_EQ(out.text(), "Description:shortpage\n");
    }
}

} // namespace
