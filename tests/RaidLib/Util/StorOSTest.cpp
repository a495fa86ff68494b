#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

#include "RaidLib/Util/StorOS.h"
#include "support/TestUtil.h"

namespace {

// Another open file description of the same file tries the lock without
// waiting: true when nobody holds it.
bool lockIsFree(const char* path)
{
    int probe = open(path, O_RDONLY);
    if (probe < 0)
        return false;
    bool free = flock(probe, LOCK_EX | LOCK_NB) == 0;
    close(probe);
    return free;
}

// A fixed clock for the time tests, counting its readings.
struct timeval fixedTime;
int clockReadings;

int fixedClock(struct timeval* tv, struct timezone* tz)
{
    ++clockReadings;
    *tv = fixedTime;
    if (tz) {
        tz->tz_minuteswest = -60;
        tz->tz_dsttime = 1;
    }
    return 0;
}

class FixedClock {
public:
    FixedClock(time_t seconds, long usec)
    {
        fixedTime.tv_sec = seconds;
        fixedTime.tv_usec = usec;
        clockReadings = 0;
        previous_ = StorSetClock(&fixedClock);
    }
    ~FixedClock() { StorSetClock(previous_); }

private:
    StorClockFunc previous_;
};

StorTimeInfo utcAt(time_t seconds, long usec)
{
    FixedClock clock(seconds, usec);
    return StorTimeInfo(STOR_GMT_TIME);
}

const time_t JAN_1_2026 = 1767225600; // 2026-01-01 00:00:00 UTC

} // namespace

TEST(osThreadLocker, RecursiveHoldBlocksOtherThreadsUntilLastUnlock)
{
    osThreadLocker locker;
    locker.Lock();
    locker.Lock();

    auto otherThreadGets = [&] {
        bool got = false;
        std::thread t([&] {
            got = locker.TryLock();
            if (got)
                locker.UnLock();
        });
        t.join();
        return got;
    };
    EXPECT_FALSE(otherThreadGets());
    locker.UnLock();
    EXPECT_FALSE(otherThreadGets());
    locker.UnLock();
    EXPECT_TRUE(otherThreadGets());

    {
        osThreadLockerGrabber grab(locker);
        EXPECT_FALSE(otherThreadGets());
    }
    EXPECT_TRUE(otherThreadGets());
    osThreadLockerGrabber nothing(static_cast<osThreadLocker*>(nullptr));
}

TEST(osFileWriter, ClosedWriterDoesNothing)
{
    osFileWriter w;
    EXPECT_FALSE(w.IsOpen());
    EXPECT_EQ(w.SeekEnd(), 0u);
    EXPECT_EQ(w.Size(), 0u);
    EXPECT_EQ(w.Printf("%d", 1), 0);
    EXPECT_EQ(w.Write("x"), 0);
    w.Flush();
    w.Lock();
    w.UnLock();
    w.Close();

    EXPECT_FALSE(w.Open("missing/dir/file.txt", "r+"));
    EXPECT_FALSE(w.IsOpen());
    EXPECT_FALSE(testsupport::fileExists("missing"));

    // A lock guard of a closed writer holds and releases nothing.
    osFileLockGrabber none(w);
    osFileLockGrabber noWriter(static_cast<osFileWriter*>(nullptr));
    osFileLockGrabber noStream(static_cast<FILE*>(nullptr));
}

TEST(osFileWriter, WritesSizesAndExistence)
{
    uint64_t size = 77;
    EXPECT_FALSE(osFileWriter::Exists("absent.txt", &size));
    EXPECT_EQ(size, 77u);
    EXPECT_FALSE(osFileWriter::Exists(nullptr));
    EXPECT_EQ(osFileWriter::Size("absent.txt"), 0u);
    EXPECT_EQ(osFileWriter::Size(nullptr), 0u);

    osFileWriter w("log.txt", "w+");
    ASSERT_TRUE(w.IsOpen());
    EXPECT_EQ(w.Printf("%s-%d", "a", 5), 3);
    // Text handed to Write is never a format.
    EXPECT_EQ(w.Write("%s%n%d"), 6);
    w.Flush();
    EXPECT_EQ(w.Size(), 9u);
    EXPECT_EQ(w.SeekEnd(), 10u);
    EXPECT_TRUE(osFileWriter::Exists("log.txt", &size));
    EXPECT_EQ(size, 9u);
    w.Close();
    EXPECT_EQ(testsupport::readFile("log.txt"), "a-5%s%n%d");
}

TEST(osFileLockGrabber, HoldsTheLockForItsScope)
{
    osFileWriter w("locked.txt", "w+");
    {
        osFileLockGrabber grab(w);
        EXPECT_FALSE(lockIsFree("locked.txt"));
    }
    EXPECT_TRUE(lockIsFree("locked.txt"));
    {
        osFileLockGrabber grab(w.Fd());
        EXPECT_FALSE(lockIsFree("locked.txt"));
    }
    EXPECT_TRUE(lockIsFree("locked.txt"));
}

TEST(osFileLockGrabber, WriterClosedInScopeLeavesReusedDescriptorAlone)
{
    osFileWriter first("first.txt", "w+");
    osFileWriter second;
    {
        osFileLockGrabber grab(first);
        int fd = first.Fd();
        first.Close(); // releases the lock
        EXPECT_TRUE(lockIsFree("first.txt"));

        // The freed descriptor number now belongs to another file, locked by
        // its own writer.
        ASSERT_TRUE(second.Open("second.txt", "w+"));
        ASSERT_EQ(second.Fd(), fd);
        second.Lock();
    }
    EXPECT_FALSE(lockIsFree("second.txt"));
    second.UnLock();
    EXPECT_TRUE(lockIsFree("second.txt"));
}

TEST(StorTimeInfo, NamesAndOutOfRangeIndexes)
{
    StorTimeInfo t = utcAt(JAN_1_2026 + 3 * 86400, 0); // Sunday 4 January
    EXPECT_STREQ(t.MonthStr(), "January");
    EXPECT_STREQ(t.MonthAbbrev(), "Jan");
    EXPECT_STREQ(t.DayOfWeekStr(), "Sunday");
    EXPECT_STREQ(t.DayOfWeekAbbrev(), "Sun");
    t.month = 11;
    t.dayOfWeek = 6;
    EXPECT_STREQ(t.MonthStr(), "December");
    EXPECT_STREQ(t.DayOfWeekAbbrev(), "Sat");
    t.month = 12;
    t.dayOfWeek = 7;
    EXPECT_STREQ(t.MonthStr(), "???");
    EXPECT_STREQ(t.MonthAbbrev(), "???");
    EXPECT_STREQ(t.DayOfWeekStr(), "???");
    EXPECT_STREQ(t.DayOfWeekAbbrev(), "???");
}

TEST(StorTimeInfo, OneClockReadingGivesDateAndMilliseconds)
{
    // The last microsecond of 2026: date, time and milliseconds all come from
    // this one reading.
    FixedClock clock(JAN_1_2026 + 365 * 86400 - 1, 999999);
    StorTimeInfo t(STOR_GMT_TIME);
    EXPECT_EQ(clockReadings, 1);
    EXPECT_EQ(t.year, 2026u);
    EXPECT_EQ(t.month, 11u);
    EXPECT_EQ(t.dayOfMonth, 31u);
    EXPECT_EQ(t.dayOfWeek, 4u);
    EXPECT_EQ(t.hour, 23u);
    EXPECT_EQ(t.minute, 59u);
    EXPECT_EQ(t.second, 59u);
    EXPECT_EQ(t.msecs, 999u);
    EXPECT_EQ(static_cast<int32_t>(t.timeZone), -60);
    EXPECT_TRUE(t.bDST);

    StorTimeInfo local(STOR_LOCAL_TIME); // TZ=UTC in the tests
    EXPECT_EQ(local.BigTime(), t.BigTime());
}

TEST(StorTimeInfo, BigTimePacksFieldsInOrder)
{
    StorTimeInfo first = utcAt(JAN_1_2026, 0);
    EXPECT_EQ(first.BigTime(), (2026ULL << 48) | (1ULL << 36));

    StorTimeInfo last = utcAt(JAN_1_2026 + 365 * 86400 - 1, 999000);
    EXPECT_EQ(last.BigTime(), (2026ULL << 48) | (11ULL << 44) | (31ULL << 36) | (23ULL << 28) | (59ULL << 20) |
                                  (59ULL << 12) | 999ULL);

    // Each later instant gives a larger key.
    const time_t steps[][2] = {{0, 1000}, {1, 0}, {60, 0}, {3600, 0}, {86400, 0}, {31 * 86400, 0}};
    for (const auto& step : steps) {
        StorTimeInfo later = utcAt(JAN_1_2026 + 40 * 86400 + step[0], static_cast<long>(step[1]));
        StorTimeInfo earlier = utcAt(JAN_1_2026 + 40 * 86400, 0);
        EXPECT_GT(later.BigTime(), earlier.BigTime()) << step[0] << "s " << step[1] << "us";
    }
    EXPECT_GT(utcAt(JAN_1_2026 + 365 * 86400, 0).BigTime(), last.BigTime());
}

TEST(MilliSleep, WaitsTheGivenMilliseconds)
{
    using clock = std::chrono::steady_clock;
    auto start = clock::now();
    MilliSleep(0);
    MilliSleep(-5);
    EXPECT_LT(clock::now() - start, std::chrono::milliseconds(50));

    start = clock::now();
    MilliSleep(120);
    auto waited = clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(120));
    EXPECT_LT(waited, std::chrono::milliseconds(900));
}
