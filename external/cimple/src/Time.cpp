// The framework clock and sleep, replaceable by tests.
#include <cimple/Time.h>

#include <atomic>
#include <cerrno>
#include <ctime>

namespace cimple {

namespace {

uint64 system_clock()
{
    struct timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<uint64>(ts.tv_sec) * Time::SEC + static_cast<uint64>(ts.tv_nsec) / 1000;
}

void system_sleep(uint64 usec)
{
    struct timespec ts;
    ts.tv_sec = static_cast<time_t>(usec / Time::SEC);
    ts.tv_nsec = static_cast<long>(usec % Time::SEC) * 1000;
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

std::atomic<Time::Clock_Proc> g_clock(system_clock);
std::atomic<Time::Sleep_Proc> g_sleep(system_sleep);

} // namespace

uint64 Time::now() { return g_clock.load()(); }

void Time::sleep(uint64 usec) { g_sleep.load()(usec); }

Time::Clock_Proc Time::set_clock(Clock_Proc clock) { return g_clock.exchange(clock ? clock : system_clock); }

Time::Sleep_Proc Time::set_sleep(Sleep_Proc sleep) { return g_sleep.exchange(sleep ? sleep : system_sleep); }

} // namespace cimple
