#include "KXInputStream.h"

#include "KXOpen.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool KXInputStream::open(const char *path)
{
    close();
    m_pos = 0;
    m_owned = true;
    m_fd = kxOpenFile(path, O_RDONLY);
    return m_fd >= 0;
}

void KXInputStream::borrow(int fd)
{
    close();
    m_pos = 0;
    m_owned = false;
    m_fd = fd;
}

void KXInputStream::close()
{
    if (m_fd >= 0 && m_owned)
        ::close(m_fd);
    m_fd = -1;
}

int64_t KXInputStream::length() const
{
    if (m_fd < 0)
        return -1;
    struct stat st;
    if (fstat(m_fd, &st) != 0)
        return -1;
    return static_cast<int64_t>(st.st_size);
}

size_t KXInputStream::read(void *buffer, size_t len)
{
    if (m_fd < 0 || m_pos < 0)
        return 0;
    char *p = static_cast<char *>(buffer);
    size_t done = 0;
    while (done < len) {
        ssize_t n = ::pread(m_fd, p + done, len - done, static_cast<off_t>(m_pos + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
    m_pos += static_cast<int64_t>(done);
    return done;
}
