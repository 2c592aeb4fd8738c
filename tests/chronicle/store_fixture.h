// Shared by the store tests: a private data directory per test and raw
// access to the bytes of the store files.
#ifndef CHRONICLE_STORE_FIXTURE_H
#define CHRONICLE_STORE_FIXTURE_H

#include "fake_controller.h"
#include "qta_api.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

class StoreDir : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string path(const char *name) const { return m_dir + "/" + name; }
    std::string eventFile() const { return path("ar_kx_raid.ev"); }
    std::string seqFile() const { return path("ar_kx_seqnum.ev"); }

    std::vector<unsigned char> bytes(const std::string &file) const;
    void writeBytes(const std::string &file, const std::vector<unsigned char> &data) const;
    bool exists(const std::string &file) const;

    template <typename T>
    T at(const std::vector<unsigned char> &b, size_t off) const
    {
        T v{};
        if (off + sizeof v <= b.size())
            std::memcpy(&v, b.data() + off, sizeof v);
        return v;
    }

    // Header fields by their file offsets.
    uint32_t numberOfEvent() const { return at<uint32_t>(bytes(eventFile()), 32); }
    uint32_t end() const { return at<uint32_t>(bytes(eventFile()), 44); }

    std::vector<ServiceEvent> readAll(KX_U32 start = 0, KX_U32 room = 60000);
    Event_ChangeCounters counters();

    std::string m_dir;
};

#endif
