#ifndef STOROS_H
#define STOROS_H

// Thin wrappers over the operating system: a recursive thread mutex, a C
// stream writer with an advisory whole-file lock, a time stamp with
// milliseconds and a millisecond sleep. None of them reports an error.

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <pthread.h>
#include <sys/time.h>

#include "RaidLib/Util/StorExport.h"

// A process-private recursive mutex: the holding thread may lock it again
// and must unlock it as often.
class STOR_EXPORT osThreadLocker {
public:
    osThreadLocker();
    ~osThreadLocker();
    osThreadLocker(const osThreadLocker&) = delete;
    osThreadLocker& operator=(const osThreadLocker&) = delete;

    void Lock();
    // True when the mutex was taken without waiting.
    bool TryLock();
    void UnLock();
    void Unlock() { UnLock(); }

private:
    pthread_mutex_t mutex;
};

// Locks a thread locker for the lifetime of the grabber; a null locker is
// remembered and nothing is locked.
class STOR_EXPORT osThreadLockerGrabber {
public:
    explicit osThreadLockerGrabber(osThreadLocker* pThreadLockerIN);
    explicit osThreadLockerGrabber(osThreadLocker& threadLockerIN);
    ~osThreadLockerGrabber();
    osThreadLockerGrabber(const osThreadLockerGrabber&) = delete;
    osThreadLockerGrabber& operator=(const osThreadLockerGrabber&) = delete;

private:
    osThreadLocker* pThreadLocker;
};

// A writer over a C stream that can take an exclusive advisory lock (flock)
// on the whole file. Every operation on a closed writer does nothing.
class STOR_EXPORT osFileWriter {
public:
    osFileWriter();
    osFileWriter(const char* pFilenameIN, const char* pModeIN);
    ~osFileWriter();
    osFileWriter(const osFileWriter&) = delete;
    osFileWriter& operator=(const osFileWriter&) = delete;

    // Opens with a C stream mode ("a+", "r+", "w+"); true when open.
    bool Open(const char* pFilenameIN, const char* pModeIN);
    void Close();
    bool IsOpen() const { return pFile != nullptr; }

    // Moves to the end of the file; returns the end offset plus one (0 when closed).
    uint64_t SeekEnd();
    int VPrintf(const char* pFormatStrIN, va_list argptr);
    int Printf(const char* pFormatStrIN, ...) __attribute__((format(printf, 2, 3)));
    // Writes the text as it is, never as a format; returns the bytes written.
    int Write(const char* pTextIN);
    void Flush();
    void Lock();
    void UnLock();

    uint64_t Size() const;
    int Fd() const { return fd; }
    // Changes with every successful Open, so that a lock guard can tell
    // whether the descriptor it locked still belongs to the same open file.
    uint32_t Generation() const { return generation; }

    static uint64_t Size(const char* pFilenameIN);
    static bool Exists(const char* pFilenameIN);
    static bool Exists(const char* pFilenameIN, uint64_t* pSizeOUT);

private:
    FILE* pFile;
    int fd;
    uint32_t generation;
};

// Holds the exclusive advisory lock of a file for its lifetime.
class STOR_EXPORT osFileLockGrabber {
public:
    // A guard made from a writer releases the lock only while that writer
    // still has the same file open: closing the file has already released
    // it, and the descriptor number may belong to another file by then.
    explicit osFileLockGrabber(osFileWriter* pWriterIN);
    explicit osFileLockGrabber(osFileWriter& writerIN);
    explicit osFileLockGrabber(int fdIN);
    explicit osFileLockGrabber(FILE* pFileIN);
    ~osFileLockGrabber();
    osFileLockGrabber(const osFileLockGrabber&) = delete;
    osFileLockGrabber& operator=(const osFileLockGrabber&) = delete;

    void Lock();
    void UnLock();

private:
    bool stillOurs() const;

    int fd;
    osFileWriter* pWriter;
    uint32_t writerGeneration;
};

const bool STOR_GMT_TIME = true;
const bool STOR_LOCAL_TIME = false;

// Source of the time of day with the time-zone record; tests install a fixed
// clock. StorSetClock(nullptr) restores the system clock; it returns the
// clock that was in use.
typedef int (*StorClockFunc)(struct timeval* pTimeOUT, struct timezone* pZoneOUT);
STOR_EXPORT StorClockFunc StorSetClock(StorClockFunc clockIN);
// The seconds of the time of day by that clock.
STOR_EXPORT time_t StorClockSeconds();

// A broken-down time stamp with milliseconds.
class STOR_EXPORT StorTimeInfo {
public:
    explicit StorTimeInfo(bool bGmtIN = STOR_LOCAL_TIME);

    // Fills every field from one reading of the clock: UTC or local time.
    void GetTime(bool bGmtIN);
    // Fills every field from a given time of day and time-zone record.
    void SetTime(const struct timeval& timeIN, const struct timezone& zoneIN, bool bGmtIN);

    // Sort key: later times give larger keys.
    uint64_t BigTime() const;

    const char* MonthStr() const;
    const char* MonthAbbrev() const;
    const char* DayOfWeekStr() const;
    const char* DayOfWeekAbbrev() const;

    uint32_t year;       // full year
    uint32_t month;      // 0 = January
    uint32_t dayOfWeek;  // 0 = Sunday
    uint32_t dayOfMonth; // 1 .. 31
    uint32_t hour;
    uint32_t minute;
    uint32_t second;
    uint32_t msecs;      // 0 .. 999
    uint32_t timeZone;   // minutes west of Greenwich
    bool bDST;
};

// Sleeps for the given milliseconds (select); a signal ends it early.
STOR_EXPORT void MilliSleep(long milliSec);

#endif
