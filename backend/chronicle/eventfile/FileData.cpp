#include "FileData.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

FileData::FileData(const char *fileName, int64_t start, uint32_t maxCount)
    : m_start(start), m_maxCount(maxCount ? maxCount : 1), m_isOpen(false)
{
    buildFileAndPath(fileName, m_filePathName);
}

void FileData::buildFileAndPath(const char *fileName, char path[PATH_SIZE])
{
    const char *dir = std::getenv("ARRAY_DB_DIR");
    if (!dir || !*dir)
        dir = KX_DEFAULT_DB_DIR;
    int n = std::snprintf(path, PATH_SIZE, "%s/%s", dir, fileName ? fileName : "");
    if (n < 0 || n >= PATH_SIZE)
        path[0] = '\0';
}

int64_t FileData::slotOffset(uint32_t index, uint32_t slotSize) const
{
    return m_start + static_cast<int64_t>(index % m_maxCount) * slotSize;
}

bool ReadableFile::open()
{
    if (!m_isOpen)
        m_isOpen = m_in.open(m_filePathName);
    return m_isOpen;
}

void ReadableFile::useLocked(int fd)
{
    m_in.borrow(fd);
    m_isOpen = fd >= 0;
    m_locked = true;
}

void ReadableFile::close()
{
    m_in.close();
    m_isOpen = false;
    m_locked = false;
}

bool ReadableFile::hasData(int64_t length)
{
    open();
    int64_t have = m_isOpen ? m_in.length() : -1;
    return have - length >= 0;
}

bool ReadableFile::getData(FileEnableObject &record, uint32_t index)
{
    const int64_t offset = slotOffset(index, record.getSize());
    // Under a lock the file cannot shrink between a length check and the
    // read, so a short read alone says the record is not there.
    if (m_locked ? !m_isOpen : !hasData(offset + record.getMiniSize()))
        return false;
    m_in.seekg(offset);
    return record.input(m_in);
}

bool WritableFile::open()
{
    if (!m_isOpen)
        m_isOpen = m_out.open(m_filePathName);
    return m_isOpen;
}

void WritableFile::close()
{
    m_out.close();
    m_isOpen = false;
}

bool WritableFile::externFile(int64_t length)
{
    int64_t have = m_out.getTotal();
    if (have < 0)
        return false;
    if (have >= length)
        return true;
    static const char zeros[512] = {};
    int64_t piece = sizeof zeros;
    if (!m_out.seekp(have))
        return false;
    // One sync for the whole growth, not one per piece: growing to a far
    // slot would otherwise cost thousands of syncs.
    const bool syncEach = m_out.syncEachWrite();
    m_out.setSyncEachWrite(false);
    bool ok = true;
    while (ok && have < length) {
        while (length - have < piece)
            piece /= 2;
        ok = m_out.write(zeros, static_cast<size_t>(piece));
        have += piece;
    }
    m_out.setSyncEachWrite(syncEach);
    if (ok && syncEach)
        ok = m_out.sync();
    return ok;
}

bool WritableFile::setData(FileEnableObject &record, uint32_t index)
{
    if (!open())
        return false;
    const int64_t offset = slotOffset(index, record.getSize());
    if (!externFile(offset + record.getSize()))
        return false;
    return m_out.seekp(offset) && record.output(m_out);
}
