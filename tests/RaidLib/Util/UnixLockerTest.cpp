#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

#include "RaidLib/Util/IpcTestSupport.h"
#include "RaidLib/Util/StorOS.h"
#include "RaidLib/Util/UnixLocker.h"
#include "support/TestUtil.h"

using namespace ipctest;

namespace {

const EnumAdapterType TYPE = UNKNOWN_ADAPTER;

// Two processes take one lock: the first holds it a while and marks its
// release in a pipe; the second may get the lock only after that mark.
// Returns 0 when they excluded each other; run inside a forked child.
int processesExclude(const std::string& qualifier, bool expectSetZero)
{
    UnixLocker first(TYPE, qualifier.c_str());
    if (first.getSemID() < 0)
        return 10;
    if (expectSetZero && first.getSemID() != 0)
        return 11;
    int released[2];
    if (pipe(released) != 0)
        return 12;
    first.getLock();

    pid_t second = startForked([&] {
        UnixLocker same(TYPE, qualifier.c_str());
        same.getLock();
        fcntl(released[0], F_SETFL, O_NONBLOCK);
        char mark = 0;
        bool afterRelease = read(released[0], &mark, 1) == 1 && mark == 'r';
        same.releaseLock();
        return afterRelease ? 0 : 13;
    });
    MilliSleep(100);
    bool marked = write(released[1], "r", 1) == 1;
    first.releaseLock();
    int result = waitForChild(second);
    return marked ? result : 14;
}

} // namespace

TEST(UnixLocker, SameMarkerExcludesOtherMarkerDoesNot)
{
    std::string q = uniqueQualifier();
    MarkerCleanup cleanup(markerPath(TYPE, q.c_str()));
    MarkerCleanup otherCleanup(markerPath(TYPE, (q + "x").c_str()));

    UnixLocker first(TYPE, q.c_str());
    UnixLocker second(TYPE, q.c_str());
    UnixLocker other(TYPE, (q + "x").c_str());
    ASSERT_GE(first.getSemID(), 0);
    EXPECT_EQ(second.getSemID(), first.getSemID());
    EXPECT_TRUE(testsupport::fileExists(cleanup.path()));

    // The first lock on a new set is taken at once; another holder waits for
    // its release.
    first.getLock();
    EXPECT_EQ(semaphoreValue(first.getSemID()), 0);
    std::atomic<bool> secondHolds{false};
    std::thread waiter([&] {
        second.getLock();
        secondHolds = true;
        second.releaseLock();
    });
    MilliSleep(50);
    EXPECT_FALSE(secondHolds);
    // Another marker is another lock.
    ASSERT_NE(other.getSemID(), first.getSemID());
    EXPECT_EQ(semaphoreValue(other.getSemID()), 1);
    other.getLock();
    other.releaseLock();
    first.releaseLock();
    waiter.join();
    EXPECT_TRUE(secondHolds);
    EXPECT_EQ(semaphoreValue(first.getSemID()), 1);
}

TEST(UnixLocker, NullAndEmptyQualifierShareTheMarker)
{
    // A type of this process's own keeps the marker name unique.
    EnumAdapterType ownType = static_cast<EnumAdapterType>(-static_cast<int>(getpid()));
    MarkerCleanup cleanup(markerPath(ownType, nullptr));
    EXPECT_EQ(markerPath(ownType, ""), cleanup.path());

    UnixLocker unnamed(ownType, nullptr);
    UnixLocker empty(ownType, "");
    ASSERT_GE(unnamed.getSemID(), 0);
    EXPECT_EQ(empty.getSemID(), unnamed.getSemID());
    EXPECT_EQ(cleanup.path(), "/StorLock-" + std::to_string(getpid()));
}

TEST(UnixLocker, DeletingLeavesMarkerAndSemaphore)
{
    std::string q = uniqueQualifier();
    MarkerCleanup cleanup(markerPath(TYPE, q.c_str()));
    int id;
    {
        UnixLocker locker(TYPE, q.c_str());
        id = locker.getSemID();
        ASSERT_GE(id, 0);
    }
    EXPECT_TRUE(testsupport::fileExists(cleanup.path()));
    EXPECT_EQ(semaphoreOf(cleanup.path()), id);

    // A later locker reopens the set with the value it holds.
    UnixLocker again(TYPE, q.c_str());
    EXPECT_EQ(again.getSemID(), id);
    EXPECT_EQ(semaphoreValue(id), 1);
}

TEST(UnixLocker, ForkedProcessesExcludeEachOther)
{
    std::string q = uniqueQualifier();
    MarkerCleanup cleanup(markerPath(TYPE, q.c_str()));
    EXPECT_EQ(runForked([&] { return processesExclude(q, false); }), 0);
}

TEST(UnixLocker, SetWithIdZeroLocks)
{
    std::string q = uniqueQualifier();
    MarkerCleanup cleanup(markerPath(TYPE, q.c_str()));
    int result = runInFreshIpcNamespace([&] { return processesExclude(q, true); });
    if (result == NO_NAMESPACE)
        GTEST_SKIP() << "no IPC namespace of its own for the test (unshare needs privileges here)";
    EXPECT_EQ(result, 0);
}

TEST(UnixLocker, LockOfAnEndedProcessIsGivenBack)
{
    std::string q = uniqueQualifier();
    MarkerCleanup cleanup(markerPath(TYPE, q.c_str()));
    UnixLocker locker(TYPE, q.c_str());
    ASSERT_GE(locker.getSemID(), 0);

    EXPECT_EQ(runForked([&] {
                  UnixLocker held(TYPE, q.c_str());
                  held.getLock();
                  return semaphoreValue(held.getSemID()); // ends holding it
              }),
              0);
    ASSERT_EQ(semaphoreValue(locker.getSemID()), 1);
    locker.getLock();
    locker.releaseLock();
}

TEST(UnixLocker, WithoutAKeyLocksNothingAndSaysWhy)
{
    // Neither creatable nor present: no key, no semaphore.
    std::string q = uniqueQualifier() + "/no/such/dir";
    ::testing::internal::CaptureStderr();
    UnixLocker locker(TYPE, q.c_str());
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(locker.getSemID(), -1);
    EXPECT_NE(err.find("File open failed: "), std::string::npos) << err;
    EXPECT_NE(err.find("key for lock unavailable: "), std::string::npos) << err;
    locker.getLock();
    locker.getLock();
    locker.releaseLock();
}

TEST(UnixSemLocker, TimedAcquireTriesOncePerMillisecond)
{
    UnixSemLocker sem(1);
    EXPECT_FALSE(sem.getLockWithTimeout(0)); // even when free
    EXPECT_TRUE(sem.getLockWithTimeout(1));

    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(sem.getLockWithTimeout(1));
    EXPECT_FALSE(sem.getLockWithTimeout(20));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(21));

    std::thread releaser([&] {
        MilliSleep(30);
        sem.releaseLock();
    });
    EXPECT_TRUE(sem.getLockWithTimeout(-1)); // no limit
    releaser.join();
    sem.releaseLock();
    sem.getLock();
    sem.releaseLock();
}

TEST(UnixSemLocker, CountAdmitsThatManyHolders)
{
    UnixSemLocker sem(2);
    sem.getLock();
    EXPECT_TRUE(sem.getLockWithTimeout(1));
    EXPECT_FALSE(sem.getLockWithTimeout(1));
    sem.releaseLock();
    EXPECT_TRUE(sem.getLockWithTimeout(1));
    sem.releaseLock();
    sem.releaseLock();
}
