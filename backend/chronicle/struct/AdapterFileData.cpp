#include "AdapterFileData.h"

#include "KXFileStream.h"
#include "KXInputStream.h"

#include <cstring>

AdapterFileData::AdapterFileData() : m_SequenceNo(0), m_size(KX_SEQ_RECORD_SIZE)
{
    std::memset(m_SerialNo, 0, sizeof m_SerialNo);
}

AdapterFileData::AdapterFileData(const char *key) : AdapterFileData()
{
    if (key)
        std::memcpy(m_SerialNo, key, strnlen(key, KX_KEY_SIZE));
}

AdapterFileData::AdapterFileData(int index) : AdapterFileData()
{
    m_SerialNo[0] = static_cast<char>('0' + index);
}

bool AdapterFileData::isSame(const char *key) const
{
    return key && std::strncmp(m_SerialNo, key, KX_KEY_SIZE) == 0;
}

bool AdapterFileData::input(KXInputStream &in)
{
    const int64_t slot = in.tellg();
    KX_U32 seq;
    char key[KX_KEY_SIZE];
    if (in.read(&seq, sizeof seq) != sizeof seq)
        return false;
    in.seekg(slot + 16);
    if (in.read(key, sizeof key) != sizeof key)
        return false;
    m_SequenceNo = seq;
    std::memcpy(m_SerialNo, key, KX_KEY_SIZE);
    m_SerialNo[KX_KEY_SIZE] = '\0';
    return true;
}

bool AdapterFileData::output(KXFileStream &out)
{
    const int64_t slot = out.tellp();
    char key[KX_KEY_SIZE];
    // NUL-padded: whatever followed the key's terminator in memory stays out.
    std::memset(key, 0, sizeof key);
    std::memcpy(key, m_SerialNo, strnlen(m_SerialNo, KX_KEY_SIZE));
    return out.write(&m_SequenceNo, sizeof m_SequenceNo) && out.seekp(slot + 16) &&
           out.write(key, sizeof key) && out.write(&m_size, sizeof m_size);
}

void AdapterFileData::buildKey(const Adapter_Info &info, int index, char key[KX_KEY_SIZE + 1])
{
    std::memset(key, 0, KX_KEY_SIZE + 1);
    if (info.SerialNo[0] != 0)
        std::memcpy(key, info.SerialNo, KX_KEY_SIZE);
    else if (info.WWN[0] != 0)
        std::memcpy(key, info.WWN, sizeof info.WWN);
    else
        key[0] = static_cast<char>('0' + index);
}
