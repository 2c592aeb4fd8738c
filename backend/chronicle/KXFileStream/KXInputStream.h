// Read side of the store files: positioned reads straight from the file.
// Nothing is buffered across records, so a reader always sees what another
// process has written since its previous record.
#ifndef KX_INPUT_STREAM_H
#define KX_INPUT_STREAM_H

#include <cstddef>
#include <cstdint>

class KXInputStream {
public:
    KXInputStream() : m_fd(-1), m_pos(0), m_owned(true) {}
    ~KXInputStream() { close(); }
    KXInputStream(const KXInputStream &) = delete;
    KXInputStream &operator=(const KXInputStream &) = delete;

    bool open(const char *path);
    /// Reads from a descriptor that stays its owner's (close leaves it open).
    void borrow(int fd);
    void close();
    bool is_open() const { return m_fd >= 0; }

    /// File length now; -1 when not open.
    int64_t length() const;
    void seekg(int64_t offset) { m_pos = offset; }
    int64_t tellg() const { return m_pos; }

    /// Reads up to len bytes at the position and advances it by the number
    /// read, which is returned (short at the end of the file, 0 on error).
    size_t read(void *buffer, size_t len);

private:
    int m_fd;
    int64_t m_pos;
    bool m_owned;
};

#endif
