// 64-bit file offsets and sizes in the 32-bit build as well.
#ifndef _FILE_OFFSET_BITS
#define _FILE_OFFSET_BITS 64
#endif

#include "RaidLib/Util/StorOS.h"

#include <atomic>
#include <cstring>
#include <ctime>
#include <sys/file.h>
#include <sys/select.h>
#include <sys/stat.h>
#include <unistd.h>

// ---------------------------------------------------------------- mutex

osThreadLocker::osThreadLocker()
{
    pthread_mutexattr_t attr;
    pthread_mutexattr_init(&attr);
    pthread_mutexattr_settype(&attr, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutex_init(&mutex, &attr);
    pthread_mutexattr_destroy(&attr);
}

osThreadLocker::~osThreadLocker() { pthread_mutex_destroy(&mutex); }

void osThreadLocker::Lock() { pthread_mutex_lock(&mutex); }

bool osThreadLocker::TryLock() { return pthread_mutex_trylock(&mutex) == 0; }

void osThreadLocker::UnLock() { pthread_mutex_unlock(&mutex); }

osThreadLockerGrabber::osThreadLockerGrabber(osThreadLocker* pThreadLockerIN) : pThreadLocker(pThreadLockerIN)
{
    if (pThreadLocker)
        pThreadLocker->Lock();
}

osThreadLockerGrabber::osThreadLockerGrabber(osThreadLocker& threadLockerIN) : pThreadLocker(&threadLockerIN)
{
    pThreadLocker->Lock();
}

osThreadLockerGrabber::~osThreadLockerGrabber()
{
    if (pThreadLocker)
        pThreadLocker->UnLock();
}

// ---------------------------------------------------------------- file writer

osFileWriter::osFileWriter() : pFile(nullptr), fd(-1), generation(0) {}

osFileWriter::osFileWriter(const char* pFilenameIN, const char* pModeIN) : pFile(nullptr), fd(-1), generation(0)
{
    Open(pFilenameIN, pModeIN);
}

osFileWriter::~osFileWriter() { Close(); }

bool osFileWriter::Open(const char* pFilenameIN, const char* pModeIN)
{
    if (pFile || !pFilenameIN || !pModeIN)
        return pFile != nullptr;
    pFile = fopen(pFilenameIN, pModeIN);
    if (!pFile)
        return false;
    fd = fileno(pFile);
    ++generation;
    return true;
}

void osFileWriter::Close()
{
    if (!pFile)
        return;
    fclose(pFile);
    pFile = nullptr;
    fd = -1;
}

uint64_t osFileWriter::SeekEnd()
{
    if (!pFile)
        return 0;
    fseeko(pFile, 0, SEEK_END);
    off_t end = ftello(pFile);
    return end < 0 ? 0 : static_cast<uint64_t>(end) + 1;
}

int osFileWriter::VPrintf(const char* pFormatStrIN, va_list argptr)
{
    if (!pFile || !pFormatStrIN)
        return 0;
    return vfprintf(pFile, pFormatStrIN, argptr);
}

int osFileWriter::Printf(const char* pFormatStrIN, ...)
{
    va_list args;
    va_start(args, pFormatStrIN);
    int n = VPrintf(pFormatStrIN, args);
    va_end(args);
    return n;
}

int osFileWriter::Write(const char* pTextIN)
{
    if (!pFile || !pTextIN)
        return 0;
    size_t len = strlen(pTextIN);
    return static_cast<int>(fwrite(pTextIN, 1, len, pFile));
}

void osFileWriter::Flush()
{
    if (pFile)
        fflush(pFile);
}

void osFileWriter::Lock()
{
    if (pFile)
        flock(fd, LOCK_EX);
}

void osFileWriter::UnLock()
{
    if (pFile)
        flock(fd, LOCK_UN);
}

uint64_t osFileWriter::Size() const
{
    struct stat st;
    if (!pFile || fstat(fd, &st) != 0)
        return 0;
    return static_cast<uint64_t>(st.st_size);
}

uint64_t osFileWriter::Size(const char* pFilenameIN)
{
    uint64_t size = 0;
    Exists(pFilenameIN, &size);
    return size;
}

bool osFileWriter::Exists(const char* pFilenameIN) { return Exists(pFilenameIN, nullptr); }

bool osFileWriter::Exists(const char* pFilenameIN, uint64_t* pSizeOUT)
{
    struct stat st;
    if (!pFilenameIN || stat(pFilenameIN, &st) != 0)
        return false;
    if (pSizeOUT)
        *pSizeOUT = static_cast<uint64_t>(st.st_size);
    return true;
}

// ---------------------------------------------------------------- file lock guard

osFileLockGrabber::osFileLockGrabber(osFileWriter* pWriterIN)
    : fd(pWriterIN ? pWriterIN->Fd() : -1), pWriter(pWriterIN),
      writerGeneration(pWriterIN ? pWriterIN->Generation() : 0)
{
    Lock();
}

osFileLockGrabber::osFileLockGrabber(osFileWriter& writerIN)
    : fd(writerIN.Fd()), pWriter(&writerIN), writerGeneration(writerIN.Generation())
{
    Lock();
}

osFileLockGrabber::osFileLockGrabber(int fdIN) : fd(fdIN), pWriter(nullptr), writerGeneration(0) { Lock(); }

osFileLockGrabber::osFileLockGrabber(FILE* pFileIN)
    : fd(pFileIN ? fileno(pFileIN) : -1), pWriter(nullptr), writerGeneration(0)
{
    Lock();
}

osFileLockGrabber::~osFileLockGrabber() { UnLock(); }

bool osFileLockGrabber::stillOurs() const
{
    if (fd == -1)
        return false;
    if (!pWriter)
        return true;
    return pWriter->IsOpen() && pWriter->Fd() == fd && pWriter->Generation() == writerGeneration;
}

void osFileLockGrabber::Lock()
{
    if (stillOurs())
        flock(fd, LOCK_EX);
}

void osFileLockGrabber::UnLock()
{
    if (stillOurs())
        flock(fd, LOCK_UN);
}

// ---------------------------------------------------------------- time

namespace {

const char* const monthStr[12] = {"January", "February", "March",     "April",   "May",      "June",
                                  "July",    "August",   "September", "October", "November", "December"};
const char* const monthAbbrev[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const dowStr[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const dowAbbrev[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

int systemClock(struct timeval* pTimeOUT, struct timezone* pZoneOUT) { return gettimeofday(pTimeOUT, pZoneOUT); }

std::atomic<StorClockFunc> currentClock{&systemClock};

} // namespace

StorClockFunc StorSetClock(StorClockFunc clockIN)
{
    return currentClock.exchange(clockIN ? clockIN : &systemClock);
}

time_t StorClockSeconds()
{
    // The system clock's seconds without reading the time stamp counter: the
    // trace layer asks once per scope, and time() reads the seconds the
    // kernel keeps (a few nanoseconds against some tens for gettimeofday).
    const StorClockFunc clock = currentClock.load();
    if (clock == &systemClock)
        return time(nullptr);
    struct timeval now;
    memset(&now, 0, sizeof now);
    clock(&now, nullptr);
    return now.tv_sec;
}

StorTimeInfo::StorTimeInfo(bool bGmtIN)
    : year(0), month(0), dayOfWeek(0), dayOfMonth(0), hour(0), minute(0), second(0), msecs(0), timeZone(0),
      bDST(false)
{
    GetTime(bGmtIN);
}

void StorTimeInfo::GetTime(bool bGmtIN)
{
    // Date and milliseconds come from the same reading, so a stamp taken
    // across a second boundary cannot pair one second with the other's
    // milliseconds.
    struct timeval now;
    struct timezone zone;
    memset(&now, 0, sizeof now);
    memset(&zone, 0, sizeof zone);
    currentClock.load()(&now, &zone);
    SetTime(now, zone, bGmtIN);
}

void StorTimeInfo::SetTime(const struct timeval& timeIN, const struct timezone& zoneIN, bool bGmtIN)
{
    time_t seconds = timeIN.tv_sec;
    struct tm fields;
    memset(&fields, 0, sizeof fields);
    if (bGmtIN)
        gmtime_r(&seconds, &fields);
    else
        localtime_r(&seconds, &fields);

    year = static_cast<uint32_t>(fields.tm_year + 1900);
    month = static_cast<uint32_t>(fields.tm_mon);
    dayOfWeek = static_cast<uint32_t>(fields.tm_wday);
    dayOfMonth = static_cast<uint32_t>(fields.tm_mday);
    hour = static_cast<uint32_t>(fields.tm_hour);
    minute = static_cast<uint32_t>(fields.tm_min);
    second = static_cast<uint32_t>(fields.tm_sec);
    long usec = timeIN.tv_usec;
    if (usec < 0)
        usec = 0;
    msecs = static_cast<uint32_t>(usec / 1000);
    if (msecs > 999)
        msecs = 999;
    timeZone = static_cast<uint32_t>(zoneIN.tz_minuteswest);
    bDST = zoneIN.tz_dsttime != 0;
}

uint64_t StorTimeInfo::BigTime() const
{
    return (static_cast<uint64_t>(year & 0xFFFFu) << 48) | (static_cast<uint64_t>(month & 0xFu) << 44) |
           (static_cast<uint64_t>(dayOfMonth & 0xFFu) << 36) | (static_cast<uint64_t>(hour & 0xFFu) << 28) |
           (static_cast<uint64_t>(minute & 0xFFu) << 20) | (static_cast<uint64_t>(second & 0xFFu) << 12) |
           static_cast<uint64_t>(msecs & 0xFFFu);
}

const char* StorTimeInfo::MonthStr() const { return month < 12 ? monthStr[month] : "???"; }

const char* StorTimeInfo::MonthAbbrev() const { return month < 12 ? monthAbbrev[month] : "???"; }

const char* StorTimeInfo::DayOfWeekStr() const { return dayOfWeek < 7 ? dowStr[dayOfWeek] : "???"; }

const char* StorTimeInfo::DayOfWeekAbbrev() const { return dayOfWeek < 7 ? dowAbbrev[dayOfWeek] : "???"; }

// ---------------------------------------------------------------- sleep

void MilliSleep(long milliSec)
{
    if (milliSec <= 0)
        return;
    struct timeval timeout;
    timeout.tv_sec = milliSec / 1000;
    timeout.tv_usec = (milliSec % 1000) * 1000;
    select(0, nullptr, nullptr, nullptr, &timeout);
}
