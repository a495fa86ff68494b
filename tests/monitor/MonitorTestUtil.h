#ifndef TESTS_MONITOR_MONITORTESTUTIL_H
#define TESTS_MONITOR_MONITORTESTUTIL_H

// Helpers of the monitor tests: a fixed clock and the debug mask, each set
// for the lifetime of an object and restored afterwards.

#include <cstdint>
#include <ctime>

#include "RaidLib/Util/Date.h"
#include "monitor/NRMDebug.h"

namespace monitortest {

// Tue Dec  8 22:11:35 2026 UTC.
const time_t T0 = 1796767895;

// The core clock answers now() until the object dies; set() moves it.
class FixedClock {
public:
    explicit FixedClock(time_t t = T0) : previous_(Date::setClock(&read)) { set(t); }
    ~FixedClock() { Date::setClock(previous_); }
    FixedClock(const FixedClock&) = delete;
    FixedClock& operator=(const FixedClock&) = delete;

    static void set(time_t t) { now_ = t; }

private:
    static time_t read() { return now_; }
    static inline time_t now_ = T0;
    Date::ClockFn previous_;
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
