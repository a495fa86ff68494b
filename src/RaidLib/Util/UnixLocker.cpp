#include "RaidLib/Util/UnixLocker.h"

#include <cerrno>
#include <cstdio>
#include <sys/ipc.h>
#include <sys/sem.h>

#include "RaidLib/Util/StorOS.h"

namespace {

const int PROJECT_ID = 54321;

// The argument of semctl, which the program has to declare itself.
union SemArg {
    int val;
    struct semid_ds* buf;
    unsigned short* array;
};

void semAdd(int semID, short delta)
{
    struct sembuf op;
    op.sem_num = 0;
    op.sem_op = delta;
    // Undo: a process that ends while holding the lock gives it back.
    op.sem_flg = SEM_UNDO;
    while (semop(semID, &op, 1) == -1 && errno == EINTR) {
    }
}

} // namespace

void UnixLocker::markerName(EnumAdapterType type, const char* qualifier, char* pNameOUT)
{
    snprintf(pNameOUT, MAX_MARKER_NAME + 1, "/StorLock%d%s", static_cast<int>(type), qualifier ? qualifier : "");
}

UnixLocker::UnixLocker(EnumAdapterType type, const char* qualifier) : semID(-1)
{
    char name[MAX_MARKER_NAME + 1];
    markerName(type, qualifier, name);

    FILE* marker = fopen(name, "w+");
    if (marker)
        fclose(marker);
    else
        perror("File open failed");

    key_t key = ftok(name, PROJECT_ID);
    if (key == -1) {
        perror("key for lock unavailable");
        return;
    }

    // Any id from 0 up is a set; only -1 is a failure.
    int id = semget(key, 1, IPC_CREAT | IPC_EXCL | 0777);
    if (id >= 0) {
        SemArg arg;
        arg.val = 1;
        if (semctl(id, 0, SETVAL, arg) == -1)
            perror("set value for semaphore failed");
        semID = id;
        return;
    }
    semID = semget(key, 1, IPC_CREAT | 0777);
}

UnixLocker::~UnixLocker() = default;

void UnixLocker::getLock()
{
    if (semID >= 0)
        semAdd(semID, -1);
}

void UnixLocker::releaseLock()
{
    if (semID >= 0)
        semAdd(semID, 1);
}

UnixSemLocker::UnixSemLocker(long count)
{
    initialCount = static_cast<int>(count);
    sem_init(&semHandle, 0, static_cast<unsigned>(count < 0 ? 0 : count));
}

UnixSemLocker::~UnixSemLocker() { sem_destroy(&semHandle); }

void UnixSemLocker::getLock()
{
    while (sem_wait(&semHandle) == -1 && errno == EINTR) {
    }
}

void UnixSemLocker::releaseLock() { sem_post(&semHandle); }

bool UnixSemLocker::getLockWithTimeout(long milliseconds)
{
    if (milliseconds == 0)
        return false;
    for (long tries = 0;;) {
        if (sem_trywait(&semHandle) == 0)
            return true;
        MilliSleep(1);
        if (milliseconds > 0 && ++tries >= milliseconds)
            return false;
    }
}
