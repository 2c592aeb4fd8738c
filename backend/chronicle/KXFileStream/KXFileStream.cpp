#include "KXFileStream.h"

#include "KXOpen.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::atomic<uint64_t> gSyncCount{0};
}

KXFileStream::KXFileStream() : m_fd(-1), m_pos(0), m_syncEach(true), m_failed(false), m_unsynced(false) {}

KXFileStream::~KXFileStream() { close(); }

bool KXFileStream::open(const char *path)
{
    close();
    m_failed = false;
    m_unsynced = false;
    m_pos = 0;
    m_fd = kxOpenFile(path, O_RDWR | O_CREAT);
    return m_fd >= 0;
}

void KXFileStream::close()
{
    if (m_fd < 0)
        return;
    if (m_unsynced)
        sync();
    ::close(m_fd);
    m_fd = -1;
}

bool KXFileStream::seekp(int64_t offset)
{
    if (m_fd < 0 || offset < 0)
        return false;
    m_pos = offset;
    return true;
}

bool KXFileStream::write(const void *buffer, size_t len)
{
    if (m_fd < 0) {
        m_failed = true;
        return false;
    }
    const char *p = static_cast<const char *>(buffer);
    size_t done = 0;
    while (done < len) {
        ssize_t n = ::pwrite(m_fd, p + done, len - done, static_cast<off_t>(m_pos + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            m_failed = true;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    m_pos += static_cast<int64_t>(len);
    m_unsynced = true;
    if (m_syncEach && !sync())
        return false;
    return true;
}

int64_t KXFileStream::getTotal() const
{
    if (m_fd < 0)
        return -1;
    struct stat st;
    if (fstat(m_fd, &st) != 0)
        return -1;
    return static_cast<int64_t>(st.st_size);
}

bool KXFileStream::sync()
{
    if (m_fd < 0)
        return false;
    gSyncCount.fetch_add(1, std::memory_order_relaxed);
    if (::fsync(m_fd) != 0) {
        m_failed = true;
        return false;
    }
    m_unsynced = false;
    return true;
}

uint64_t KXFileStream::syncCount() { return gSyncCount.load(std::memory_order_relaxed); }
