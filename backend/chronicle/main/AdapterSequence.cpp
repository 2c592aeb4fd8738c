#include "AdapterSequence.h"

#include "arraycore.h"

#include <new>
#include <vector>

AdapterSequence::AdapterSequence(int adapterCount) : m_seqFile(KX_SEQ_FILE, 0, MAX_RECORDS)
{
    for (int i = 0; i < MAX_RECORDS; ++i) {
        m_index[i] = -1;
        m_posStatus[i] = FREE;
        m_SeqData[i] = nullptr;
        m_dirty[i] = false;
    }

    int numRead = 0;
    {
        ReadableFile in(KX_SEQ_FILE, 0, MAX_RECORDS);
        while (numRead < MAX_RECORDS) {
            AdapterFileData *rec = new (std::nothrow) AdapterFileData();
            if (!rec)
                return;
            if (!in.getData(*rec, static_cast<uint32_t>(numRead))) {
                delete rec;
                break;
            }
            m_SeqData[numRead] = rec;
            m_posStatus[numRead] = READ;
            ++numRead;
        }
    }

    if (adapterCount <= 0)
        return;
    std::vector<Adapter_Info> infos;
    try {
        infos.resize(static_cast<size_t>(adapterCount));
    } catch (...) {
        return;
    }
    KX_U8 got = 0;
    if (KX_Adapter_GetInfo(0xFF, &got, infos.data()) != 0)
        return;
    const int present = got < adapterCount ? got : adapterCount;

    for (int a = 0; a < present && a < MAX_RECORDS; ++a) {
        char key[KX_KEY_SIZE + 1];
        AdapterFileData::buildKey(infos[static_cast<size_t>(a)], a, key);
        int slot = -1;
        // Only records not yet claimed in this call: two adapters reporting
        // the same identity keep a record each instead of sharing one.
        for (int s = 0; s < MAX_RECORDS && slot < 0; ++s)
            if (m_posStatus[s] == READ && m_SeqData[s]->isSame(key))
                slot = s;
        if (slot < 0) {
            for (int i = 0; i < MAX_RECORDS && slot < 0; ++i) {
                int s = (numRead + i) % MAX_RECORDS;
                if (m_posStatus[s] != CLAIMED)
                    slot = s;
            }
            if (slot < 0)
                continue;
            AdapterFileData *rec = new (std::nothrow) AdapterFileData(key);
            if (!rec)
                return;
            delete m_SeqData[slot];
            m_SeqData[slot] = rec;
        }
        m_posStatus[slot] = CLAIMED;
        m_index[a] = slot;
    }
}

AdapterSequence::~AdapterSequence()
{
    for (AdapterFileData *rec : m_SeqData)
        delete rec;
}

int AdapterSequence::slotOf(int adapterIndex) const
{
    return adapterIndex >= 0 && adapterIndex < MAX_RECORDS ? m_index[adapterIndex] : -1;
}

const AdapterFileData *AdapterSequence::record(int slot) const
{
    return slot >= 0 && slot < MAX_RECORDS ? m_SeqData[slot] : nullptr;
}

bool AdapterSequence::isNoLessSequence(int adapterIndex, const Event &event)
{
    int slot = slotOf(adapterIndex);
    if (slot < 0 || !m_SeqData[slot])
        return false;
    if (!m_SeqData[slot]->pass(event.SequenceNo))
        return false;
    m_SeqData[slot]->setSeq(event.SequenceNo);
    m_dirty[slot] = true;
    return true;
}

bool AdapterSequence::flush()
{
    bool any = false;
    for (bool d : m_dirty)
        any = any || d;
    if (!any)
        return true;
    if (!m_seqFile.open())
        return false;
    m_seqFile.stream().setSyncEachWrite(false);
    bool ok = true;
    for (int s = 0; s < MAX_RECORDS; ++s) {
        if (!m_dirty[s])
            continue;
        ok = m_seqFile.setData(*m_SeqData[s], static_cast<uint32_t>(s)) && ok;
        m_dirty[s] = false;
    }
    ok = m_seqFile.stream().sync() && ok;
    m_seqFile.close();
    return ok;
}

void AdapterSequence::setSequenceNOZero(int)
{
    for (int a = 0; a < MAX_RECORDS; ++a) {
        int slot = m_index[a];
        if (slot < 0 || !m_SeqData[slot])
            continue;
        m_SeqData[slot]->returnToZero();
        m_dirty[slot] = true;
    }
    flush();
}
