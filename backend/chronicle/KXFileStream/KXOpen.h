// open(2) for the store files: close-on-exec, retried when a signal
// interrupts it, created with mode 0777 (before umask) when O_CREAT is
// given. Returns the descriptor or -1.
#ifndef KX_OPEN_H
#define KX_OPEN_H

#include <cerrno>
#include <fcntl.h>

inline int kxOpenFile(const char *path, int flags)
{
    if (!path || !*path)
        return -1;
    int fd;
    do {
        fd = ::open(path, flags | O_CLOEXEC, 0777);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

#endif
