#ifndef TESTS_MONITOR_MONITORTESTUTIL_H
#define TESTS_MONITOR_MONITORTESTUTIL_H

// Helpers of the monitor tests: a fixed clock, a sleep that moves it on
// instead of waiting, and the debug mask, each set for the lifetime of an
// object and restored afterwards.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <thread>

#include "RaidLib/Util/Date.h"
#include "monitor/BaseRaidMonitor.h"
#include "monitor/NRMDebug.h"

namespace monitortest {

// Tue Dec  8 22:11:35 2026 UTC.
const time_t T0 = 1796767895;

// The core clock answers now() until the object dies; set() and advance()
// move it. Monitor threads read it while the test thread moves it.
class FixedClock {
public:
    explicit FixedClock(time_t t = T0) : previous_(Date::setClock(&read)) { set(t); }
    ~FixedClock() { Date::setClock(previous_); }
    FixedClock(const FixedClock&) = delete;
    FixedClock& operator=(const FixedClock&) = delete;

    static void set(time_t t) { now_.store(t); }
    static void advance(time_t seconds) { now_.fetch_add(seconds); }
    static time_t now() { return now_.load(); }

private:
    static time_t read() { return now_.load(); }
    static inline std::atomic<time_t> now_{T0};
    Date::ClockFn previous_;
};

// Every wait of the monitor code moves the fixed clock on by the time asked
// (whole seconds; the rest is carried to the next wait) and yields a
// millisecond of real time, so that a poll loop of 1-second cycles runs in
// milliseconds and still lets other threads in.
class FakeSleep {
public:
    FakeSleep() : previous_(BaseRaidMonitor::setSleepForTest(&sleep)) { slept_.store(0); }
    ~FakeSleep() { BaseRaidMonitor::setSleepForTest(previous_); }
    FakeSleep(const FakeSleep&) = delete;
    FakeSleep& operator=(const FakeSleep&) = delete;

    // The milliseconds asked for since the object was made.
    static long long slept() { return slept_.load(); }

private:
    static void sleep(long milliSec)
    {
        const long long before = slept_.fetch_add(milliSec);
        FixedClock::advance(static_cast<time_t>((before + milliSec) / 1000 - before / 1000));
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    static inline std::atomic<long long> slept_{0};
    BaseRaidMonitor::SleepFunction previous_;
};

class DebugMask {
public:
    explicit DebugMask(int32_t mask) : previous_(NRMDebugFlag.exchange(mask)) {}
    ~DebugMask() { NRMDebugFlag.store(previous_); }
    DebugMask(const DebugMask&) = delete;
    DebugMask& operator=(const DebugMask&) = delete;

private:
    int32_t previous_;
};

} // namespace monitortest

#endif
