#ifndef TESTS_IPCTESTSUPPORT_H
#define TESTS_IPCTESTSUPPORT_H

// Helpers for the tests of the inter-process lockers and the record queue:
// unique marker names, removal of what a test leaves in "/" and in the
// System V semaphore table, and forked children, optionally in an IPC
// namespace of their own.

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <sched.h>
#include <string>
#include <sys/file.h>
#include <sys/ipc.h>
#include <sys/sem.h>
#include <sys/wait.h>
#include <unistd.h>

#include "RaidLib/Util/UnixLocker.h"

namespace ipctest {

// A qualifier no other test process uses.
inline std::string uniqueQualifier()
{
    static std::atomic<int> counter{0};
    return "-tarnelltest-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
}

inline std::string markerPath(EnumAdapterType type, const char* qualifier)
{
    char name[UnixLocker::MAX_MARKER_NAME + 1];
    UnixLocker::markerName(type, qualifier, name);
    return name;
}

// The id of the semaphore set of a marker file, -1 when there is none.
inline int semaphoreOf(const std::string& marker)
{
    key_t key = ftok(marker.c_str(), 54321);
    return key == -1 ? -1 : semget(key, 1, 0);
}

inline int semaphoreValue(int semID) { return semctl(semID, 0, GETVAL); }

// Removes the semaphore set of a marker file and the file itself when the
// guard ends.
class MarkerCleanup {
public:
    explicit MarkerCleanup(std::string marker) : marker_(std::move(marker)) {}
    ~MarkerCleanup()
    {
        int id = semaphoreOf(marker_);
        if (id >= 0)
            semctl(id, 0, IPC_RMID);
        unlink(marker_.c_str());
    }
    MarkerCleanup(const MarkerCleanup&) = delete;
    MarkerCleanup& operator=(const MarkerCleanup&) = delete;

    const std::string& path() const { return marker_; }

private:
    std::string marker_;
};

// Held by every test program while it may make or remove a marker whose name
// it cannot choose (the Pelm type's "/StorLock512"): an exclusive lock on
// the markers' directory, so that each program finds the marker as the
// others left it and removes only what it made. It creates no file.
class FixedMarkerLock {
public:
    FixedMarkerLock() : fd(open("/", O_RDONLY | O_DIRECTORY))
    {
        while (fd >= 0 && flock(fd, LOCK_EX) == -1 && errno == EINTR) {
        }
    }
    ~FixedMarkerLock()
    {
        if (fd >= 0)
            close(fd);
    }
    FixedMarkerLock(const FixedMarkerLock&) = delete;
    FixedMarkerLock& operator=(const FixedMarkerLock&) = delete;

private:
    int fd;
};

// Exit code of a child that could not get an IPC namespace of its own.
const int NO_NAMESPACE = 77;

// Starts fn in a forked child, which exits with fn's result.
inline pid_t startForked(const std::function<int()>& fn)
{
    pid_t pid = fork();
    if (pid == 0)
        _exit(fn());
    return pid;
}

// The exit code of a child; -1 when it did not end normally.
inline int waitForChild(pid_t pid)
{
    if (pid < 0)
        return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) == -1) {
        if (errno != EINTR)
            return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs fn in a forked child and returns its result.
inline int runForked(const std::function<int()>& fn) { return waitForChild(startForked(fn)); }

// As runForked, in a fresh IPC namespace: its first semaphore set has id 0,
// and every set in it disappears with its last process. NO_NAMESPACE when
// the system does not give the child one.
inline int runInFreshIpcNamespace(const std::function<int()>& fn)
{
    return runForked([&] { return unshare(CLONE_NEWIPC) == 0 ? fn() : NO_NAMESPACE; });
}

} // namespace ipctest

#endif
