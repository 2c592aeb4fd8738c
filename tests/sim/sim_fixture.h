// A private state file per test, and small helpers around the C API.
#ifndef TESTS_SIM_FIXTURE_H
#define TESTS_SIM_FIXTURE_H

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <dirent.h>
#include <unistd.h>

#include "arraycore.h"

class SimTest : public ::testing::Test {
protected:
    std::string m_dir;
    std::string m_path;

    void SetUp() override
    {
        char tmpl[] = "/tmp/arraycore-simtest.XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        m_dir = tmpl;
        m_path = m_dir + "/state.json";
        setenv("ARRAYCORE_SIM_STATE", m_path.c_str(), 1);
    }

    void TearDown() override
    {
        if (DIR *d = opendir(m_dir.c_str())) {
            while (struct dirent *e = readdir(d))
                if (std::strcmp(e->d_name, ".") && std::strcmp(e->d_name, ".."))
                    unlink((m_dir + "/" + e->d_name).c_str());
            closedir(d);
        }
        rmdir(m_dir.c_str());
        unsetenv("ARRAYCORE_SIM_STATE");
    }

    // Writes a fixture the way a test harness would: whole, by rename.
    void writeFixture(const std::string &text)
    {
        std::string tmp = m_path + ".fixture";
        {
            std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
            out << text;
        }
        ASSERT_EQ(rename(tmp.c_str(), m_path.c_str()), 0);
    }

    std::string readState() const
    {
        std::ifstream in(m_path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
};

// A list request buffer with a guard area after the record array, so that
// a test sees any write beyond numRequested records.
template <class Rec>
struct ListBuffer {
    static constexpr size_t kGuard = 256;
    std::vector<unsigned char> bytes;
    explicit ListBuffer(uint16_t numRequested)
    {
        bytes.assign(sizeof(RequestHeader) + numRequested * sizeof(Rec) + kGuard, 0xAB);
        RequestHeader *h = header();
        std::memset(h, 0, sizeof *h);
        h->numRequested = numRequested;
        h->requestType = KX_REQUEST_BY_INDEX;
    }
    RequestHeader *header() { return reinterpret_cast<RequestHeader *>(bytes.data()); }
    Rec &at(size_t i) { return reinterpret_cast<Rec *>(bytes.data() + sizeof(RequestHeader))[i]; }
    template <class Req>
    Req *as() { return reinterpret_cast<Req *>(bytes.data()); }
    void clearRecords()
    {
        std::memset(bytes.data() + sizeof(RequestHeader), 0xAB, bytes.size() - sizeof(RequestHeader));
    }
    bool guardIntact(size_t fromRecord) const
    {
        for (size_t i = sizeof(RequestHeader) + fromRecord * sizeof(Rec); i < bytes.size(); ++i)
            if (bytes[i] != 0xAB)
                return false;
        return true;
    }
};

// Takes every queued event of adapter 0, oldest first.
inline std::vector<Event> drainEvents()
{
    std::vector<Event> all;
    Event buf[50];
    KX_U8 n = 0;
    do {
        EXPECT_EQ(KX_EVT_GetEvent(0, 50, &n, buf), 0);
        all.insert(all.end(), buf, buf + n);
    } while (n == 50);
    return all;
}

// One record of adapter 0 by ID, through a list call that must succeed.
template <class Rec, class Req>
Rec readById(KX_U8 (*call)(KX_U8, Req *), uint16_t id)
{
    ListBuffer<Rec> b(1);
    b.header()->requestType = KX_REQUEST_BY_ID;
    b.header()->startingIndexOrId = id;
    EXPECT_EQ(call(0, b.template as<Req>()), 0);
    return b.at(0);
}

inline std::string textOf(const KX_U8 *p, size_t n)
{
    size_t len = strnlen(reinterpret_cast<const char *>(p), n);
    return std::string(reinterpret_cast<const char *>(p), len);
}

#endif
