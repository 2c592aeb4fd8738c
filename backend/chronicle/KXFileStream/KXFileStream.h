// Output stream over a raw file descriptor, the only way the store writes.
#ifndef KX_FILE_STREAM_H
#define KX_FILE_STREAM_H

#include <cstddef>
#include <cstdint>

class KXFileStream {
public:
    KXFileStream();
    ~KXFileStream();
    KXFileStream(const KXFileStream &) = delete;
    KXFileStream &operator=(const KXFileStream &) = delete;

    /// Opens read-write, creating the file (mode 0777 before umask) but
    /// never truncating it. Returns false when the file cannot be opened.
    bool open(const char *path);
    /// Syncs what is not synced yet and closes; harmless when not open.
    void close();
    bool is_open() const { return m_fd >= 0; }

    bool seekp(int64_t offset);
    int64_t tellp() const { return m_pos; }

    /// Writes all len bytes at the current position and advances it. With
    /// sync-each-write on (the default) the data is on disk before the call
    /// returns. Returns false on any failure; the stream then stays failed
    /// so that a caller checking only at the end still notices.
    bool write(const void *buffer, size_t len);

    /// Length of the file, position unchanged; -1 when not open.
    int64_t getTotal() const;

    /// A capture pass writes many slots and then one header: it turns
    /// per-write syncing off and calls sync() once before the header, which
    /// keeps the slots-before-header order on disk at a fraction of the
    /// syncs.
    void setSyncEachWrite(bool on) { m_syncEach = on; }
    bool syncEachWrite() const { return m_syncEach; }
    bool sync();

    bool failed() const { return m_failed; }

    /// Number of fsync calls made by all streams of this process.
    static uint64_t syncCount();

private:
    int m_fd;
    int64_t m_pos;
    bool m_syncEach;
    bool m_failed;
    bool m_unsynced; // written since the last sync
};

#endif
