// Per-adapter sequence state of one store call, over ar_kx_seqnum.ev. An
// event is new for an adapter when its SequenceNo is above the highest one
// stored for that adapter's identity (serial number, WWN or list index).
#ifndef ADAPTER_SEQUENCE_H
#define ADAPTER_SEQUENCE_H

#include "AdapterFileData.h"
#include "FileData.h"

class AdapterSequence {
public:
    enum { MAX_RECORDS = KX_SEQ_RECORDS };
    enum : KX_U32 { FREE = 0, READ = 1, CLAIMED = 2 };

    /// Loads the records of the sequence file and claims one for each of
    /// the first ten adapters present now.
    explicit AdapterSequence(int adapterCount);
    ~AdapterSequence();
    AdapterSequence(const AdapterSequence &) = delete;
    AdapterSequence &operator=(const AdapterSequence &) = delete;

    /// Accepts an event whose sequence number is new for its adapter and
    /// raises the adapter's sequence in memory; nothing is written until
    /// flush(), which the capture pass calls only after the events and
    /// the header counting them are on disk.
    bool isNoLessSequence(int adapterIndex, const Event &event);
    /// Writes the records changed since the last flush. False on failure.
    bool flush();
    /// Sets every present adapter's sequence to 0 and writes it. The
    /// argument is unused (callers pass 255).
    void setSequenceNOZero(int unused);

    /// The record slot an adapter uses, -1 for none.
    int slotOf(int adapterIndex) const;
    const AdapterFileData *record(int slot) const;

private:
    WritableFile m_seqFile;
    KX_U32 m_posStatus[MAX_RECORDS];
    AdapterFileData *m_SeqData[MAX_RECORDS];
    int m_index[MAX_RECORDS];
    bool m_dirty[MAX_RECORDS];
};

#endif
