// One per-adapter record of ar_kx_seqnum.ev: the highest stored sequence
// number and the adapter's identity key.
#ifndef ADAPTER_FILE_DATA_H
#define ADAPTER_FILE_DATA_H

#include "EventFileRecords.h"
#include "FileEnableObject.h"

class AdapterFileData : public FileEnableObject {
public:
    AdapterFileData();
    /// From a 20-byte identity key (at most 20 characters are taken).
    explicit AdapterFileData(const char *key);
    /// From an adapter index: the key is the one character '0' + index.
    explicit AdapterFileData(int index);

    bool input(KXInputStream &in) override;
    bool output(KXFileStream &out) override;
    uint32_t getSize() const override { return KX_SEQ_RECORD_SIZE; }
    uint32_t getMiniSize() const override { return KX_SEQ_RECORD_SIZE; }

    void setSeq(KX_U32 n) { m_SequenceNo = n; }
    KX_U32 getSeq() const { return m_SequenceNo; }
    /// True when the stored sequence is below n (n is new).
    bool pass(KX_U32 n) const { return m_SequenceNo < n; }
    bool isSame(const char *key) const;
    void returnToZero() { m_SequenceNo = 0; }
    const char *getKey() const { return m_SerialNo; }

    /// The identity key of an adapter: its serial number, else its WWN,
    /// else '0' + its index in the adapter list.
    static void buildKey(const Adapter_Info &info, int index, char key[KX_KEY_SIZE + 1]);

private:
    KX_U32 m_SequenceNo;
    char m_SerialNo[KX_KEY_SIZE + 1];
    KX_U32 m_size;
};

#endif
