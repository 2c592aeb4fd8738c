#include "Util/KXPids.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/ipc.h>
#include <sys/sem.h>
#include <sys/shm.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const int kTableProjectId = 1;
const int kLockProjectId = 97; // 'a'

// What a SysV semaphore call wants for SETVAL; glibc leaves the union to us.
union SemArg {
    int val;
    struct semid_ds *buf;
    unsigned short *array;
};
} // namespace

std::string KXPids::keyFilePath(const char *name)
{
    const char *dir = std::getenv("ARRAYRPC_IPC_DIR");
    std::string base = (dir && *dir) ? dir : "/tmp";
    if (base.size() > 1 && base.back() == '/')
        base.pop_back();
    return base + "/" + name;
}

KXPids::KXPids()
    : m_file_handle(-1), m_pids(nullptr), m_handle(-1),
      m_tableFile(keyFilePath("kxbackend.pids")), m_lockFile(keyFilePath("kxbackend.lock"))
{
    initLock();
}

KXPids::~KXPids()
{
    if (m_file_handle < 0)
        return;
    if (m_pids && shmdt(m_pids) != 0)
        perror("KXPids share memory shmdt");
    m_pids = nullptr;
    struct shmid_ds info;
    if (shmctl(m_file_handle, IPC_STAT, &info) == 0 && info.shm_nattch == 0) {
        if (shmctl(m_file_handle, IPC_RMID, nullptr) != 0)
            perror("KXPids share memory shmctl");
    }
    // The semaphore set stays: another worker may be holding it right now.
}

bool KXPids::createFile(const std::string &path)
{
    int fd = open(path.c_str(), O_RDWR);
    if (fd < 0) {
        fd = open(path.c_str(), O_RDWR | O_CREAT, 0600);
        if (fd < 0)
            return false;
        // Every worker, whatever user it runs as, must reach the same key.
        fchmod(fd, 0777);
    }
    close(fd);
    return true;
}

void KXPids::initLock()
{
    int fd = open(m_lockFile.c_str(), O_RDONLY | O_CREAT, 0666);
    if (fd < 0) {
        perror("open file:");
        return;
    }
    close(fd);
    key_t key = ftok(m_lockFile.c_str(), kLockProjectId);
    if (key == -1) {
        perror("ftok:");
        return;
    }
    m_handle = semget(key, 1, IPC_CREAT | IPC_EXCL | 0666);
    if (m_handle >= 0) {
        SemArg arg;
        arg.val = 1;
        if (semctl(m_handle, 0, SETVAL, arg) == -1)
            perror("semctl setval error:");
        return;
    }
    m_handle = semget(key, 1, IPC_CREAT | 0666);
    if (m_handle < 0)
        perror("semget:");
}

void KXPids::lock()
{
    if (m_handle < 0)
        return;
    struct sembuf op = {0, -1, SEM_UNDO};
    if (semop(m_handle, &op, 1) == -1)
        perror("lock error:");
}

void KXPids::unlock()
{
    if (m_handle < 0)
        return;
    struct sembuf op = {0, 1, SEM_UNDO};
    if (semop(m_handle, &op, 1) == -1)
        perror("unlock error:");
}

void KXPids::createShareMemory()
{
    if (m_pids)
        return;
    createFile(m_tableFile);
    key_t key = ftok(m_tableFile.c_str(), kTableProjectId);
    if (key == -1) {
        perror("KXPids share memory ftok");
        return;
    }
    int id = shmget(key, kTableBytes, IPC_CREAT | IPC_EXCL | 0666);
    if (id >= 0)
        id = shmget(key, kTableBytes, IPC_CREAT | 0666);
    else
        id = shmget(key, kTableBytes, 0666);
    if (id < 0) {
        perror("KXPids share memory shmget");
        return;
    }
    m_file_handle = id;
    void *addr = shmat(id, nullptr, 0);
    if (addr == reinterpret_cast<void *>(-1)) {
        perror("KXPids share memory shmat");
        m_pids = nullptr;
        return;
    }
    m_pids = static_cast<int *>(addr);
    lock();
    std::memset(m_pids, 0, kTableBytes);
    m_pids[0] = 1;
    unlock();
}

bool KXPids::notexistPid()
{
    if (!m_pids)
        return true;
    const int self = static_cast<int>(getpid());
    bool found = false;
    lock();
    // Every slot of the ring is searched, not only those below the write
    // index: after the ring wraps the index is small again while the slots
    // above it still name live, initialised workers. Unused slots are zero
    // and never match a process id.
    for (int i = 1; i <= kRingSlots && !found; ++i)
        found = m_pids[i] == self;
    unlock();
    return !found;
}

void KXPids::addPid()
{
    if (!m_pids)
        return;
    lock();
    if (m_pids[0] > kRingSlots || m_pids[0] < 1)
        m_pids[0] = 1;
    m_pids[m_pids[0]] = static_cast<int>(getpid());
    m_pids[0] += 1;
    unlock();
}
