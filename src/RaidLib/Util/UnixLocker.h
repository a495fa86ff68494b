#ifndef UNIXLOCKER_H
#define UNIXLOCKER_H

// Lockers behind one small interface: UnixLocker excludes holders in all
// processes (a System V semaphore found through a marker file in "/"),
// UnixSemLocker is a counting semaphore private to the process.

#include <semaphore.h>

#include "RaidLib/Util/Addr.h"
#include "RaidLib/Util/StorExport.h"

class STOR_EXPORT Locker {
public:
    virtual ~Locker() = default;
    // Takes the lock, waiting as long as needed.
    virtual void getLock() = 0;
    virtual void releaseLock() = 0;
};

class STOR_EXPORT SemLocker : public Locker {
public:
    // True when the lock was taken within the given milliseconds.
    virtual bool getLockWithTimeout(long milliseconds) = 0;

protected:
    sem_t semHandle;
    int initialCount = 0;
};

// An inter-process lock: every process that builds a UnixLocker with the same
// adapter type and qualifier gets the same semaphore. The marker file
// "/StorLock<type><qualifier>" is the source of the semaphore's key; it and
// the semaphore set outlive the object. The semaphore is taken with undo, so
// the lock of a process that ends while holding it is given back.
class STOR_EXPORT UnixLocker : public Locker {
public:
    UnixLocker(EnumAdapterType type, const char* qualifier);
    ~UnixLocker() override;
    UnixLocker(const UnixLocker&) = delete;
    UnixLocker& operator=(const UnixLocker&) = delete;

    void getLock() override;
    void releaseLock() override;

    // The semaphore set's id; -1 when the locker has none and locks nothing.
    int getSemID() const { return semID; }

    // Longest marker file name, without the terminator.
    static const unsigned MAX_MARKER_NAME = 255;
    // Builds the marker file name into a buffer of MAX_MARKER_NAME + 1
    // characters (a longer qualifier is cut).
    static void markerName(EnumAdapterType type, const char* qualifier, char* pNameOUT);

private:
    int semID;
};

// A counting semaphore private to the process.
class STOR_EXPORT UnixSemLocker : public SemLocker {
public:
    explicit UnixSemLocker(long count);
    ~UnixSemLocker() override;
    UnixSemLocker(const UnixSemLocker&) = delete;
    UnixSemLocker& operator=(const UnixSemLocker&) = delete;

    void getLock() override;
    void releaseLock() override;
    // 0 returns false at once; a positive count tries that many times, one
    // millisecond apart; a negative count waits without limit.
    bool getLockWithTimeout(long milliseconds) override;
};

// The platform's inter-process locker.
typedef UnixLocker OSLocker;

#endif
