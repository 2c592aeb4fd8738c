#include "store_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

void StoreDir::SetUp()
{
    char tmpl[] = "/tmp/chronicle-test-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    m_dir = tmpl;
    setenv("ARRAY_DB_DIR", m_dir.c_str(), 1);
    fake::reset();
}

void StoreDir::TearDown()
{
    std::string cmd = "rm -rf '" + m_dir + "'";
    if (std::system(cmd.c_str()) != 0)
        ADD_FAILURE() << "cannot remove " << m_dir;
    unsetenv("ARRAY_DB_DIR");
    fake::reset();
}

std::vector<unsigned char> StoreDir::bytes(const std::string &file) const
{
    std::ifstream in(file, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void StoreDir::writeBytes(const std::string &file, const std::vector<unsigned char> &data) const
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(data.data()), static_cast<std::streamsize>(data.size()));
}

bool StoreDir::exists(const std::string &file) const
{
    struct stat st;
    return ::stat(file.c_str(), &st) == 0;
}

std::vector<ServiceEvent> StoreDir::readAll(KX_U32 start, KX_U32 room)
{
    std::vector<ServiceEvent> out(room);
    KX_U32 count = room;
    QTA_GetEvent(start, &count, out.data());
    EXPECT_LE(count, room);
    out.resize(count);
    return out;
}

Event_ChangeCounters StoreDir::counters()
{
    Event_ChangeCounters c;
    std::memset(&c, 0xEE, sizeof c);
    QTA_GetEventChangeStatus(&c);
    return c;
}
