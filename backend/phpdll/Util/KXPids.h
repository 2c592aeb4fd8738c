#ifndef KX_PIDS_H
#define KX_PIDS_H

#include <string>

// Registry of the processes that have initialised the controller library,
// shared by every web-server worker that loads the module: a 2048-byte
// System V shared-memory table of 512 ints guarded by a System V semaphore.
// Element 0 is the next slot to write (1..60), elements 1..59 hold process
// ids as a ring; the rest stay zero.
//
// The key files are /tmp/kxbackend.pids and /tmp/kxbackend.lock. The
// environment variable ARRAYRPC_IPC_DIR moves both into another directory
// (test runs that must not share one registry, a server with a private
// /tmp); it is read when the object is built.
class KXPids {
public:
    static const int kTableInts = 512;
    static const int kTableBytes = kTableInts * 4;
    static const int kRingSlots = 59;

    KXPids();
    ~KXPids();
    KXPids(const KXPids &) = delete;
    KXPids &operator=(const KXPids &) = delete;

    // Attaches the table and starts it afresh (zeroed, next slot 1), whether
    // the segment was new or not: a process that loads the module has not
    // initialised the library yet, and neither has anyone else it knows of.
    // Does nothing when the table is already attached.
    void createShareMemory();
    // Opens path read-write, creating it when missing; true when it exists.
    bool createFile(const std::string &path);
    void initLock();
    void lock();
    void unlock();
    // True when the calling process is not recorded (always true without a
    // table, so such a process initialises the library on every request).
    bool notexistPid();
    // Records the calling process in the next ring slot.
    void addPid();

    const std::string &tableKeyFile() const { return m_tableFile; }
    const std::string &lockKeyFile() const { return m_lockFile; }

    // Default key file names, or those below ARRAYRPC_IPC_DIR.
    static std::string keyFilePath(const char *name);

private:
    int m_file_handle;
    int *m_pids;
    int m_handle;
    std::string m_tableFile;
    std::string m_lockFile;
};

#endif
