// Slot files of the store: a file holds m_maxCount slots of one record
// class from offset m_start on. Slot indexes wrap modulo the slot count.
#ifndef FILE_DATA_H
#define FILE_DATA_H

#include "FileEnableObject.h"
#include "KXFileStream.h"
#include "KXInputStream.h"

#include <cstdint>

#define KX_DEFAULT_DB_DIR "/opt/korvex/storage/db"
#define KX_EVENT_FILE "ar_kx_raid.ev"
#define KX_SEQ_FILE "ar_kx_seqnum.ev"

class FileData {
public:
    enum { PATH_SIZE = 1024 };

    FileData(const char *fileName, int64_t start, uint32_t maxCount);
    virtual ~FileData() = default;

    virtual bool open() = 0;
    virtual void close() = 0;

    const char *path() const { return m_filePathName; }
    bool isOpen() const { return m_isOpen; }
    /// Offset of a slot, the index first reduced modulo the slot count.
    int64_t slotOffset(uint32_t index, uint32_t slotSize) const;

    /// Data directory (ARRAY_DB_DIR, else the installed default) + '/' +
    /// name into path. A path that does not fit leaves path empty, so
    /// nothing is opened rather than a truncated name.
    static void buildFileAndPath(const char *fileName, char path[PATH_SIZE]);

protected:
    char m_filePathName[PATH_SIZE];
    int64_t m_start;
    uint32_t m_maxCount;
    bool m_isOpen;
};

class ReadableFile : public FileData {
public:
    ReadableFile(const char *fileName, int64_t start, uint32_t maxCount)
        : FileData(fileName, start, maxCount) {}
    ~ReadableFile() override { close(); }

    bool open() override;
    void close() override;
    /// Reads through the descriptor of a held StoreLock instead of opening
    /// the file.
    void useLocked(int fd);

    /// Reads the record of slot index; false (record unchanged) when the
    /// file is missing or too short to hold it.
    bool getData(FileEnableObject &record, uint32_t index);
    /// True when the file is at least length bytes long.
    bool hasData(int64_t length);

private:
    KXInputStream m_in;
    bool m_locked = false; // reading through a StoreLock's descriptor
};

class WritableFile : public FileData {
public:
    WritableFile(const char *fileName, int64_t start, uint32_t maxCount)
        : FileData(fileName, start, maxCount) {}
    ~WritableFile() override { close(); }

    bool open() override;
    void close() override;

    /// Writes the record into slot index, growing the file with zeros up to
    /// the end of that slot first. Returns false when anything failed.
    bool setData(FileEnableObject &record, uint32_t index);
    /// Appends zero bytes until the file is length bytes long.
    bool externFile(int64_t length);

    KXFileStream &stream() { return m_out; }

private:
    KXFileStream m_out;
};

#endif
