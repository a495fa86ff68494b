// The framework's clock and sleep, with test seams: a test replaces both so
// that minutes of waiting and expiry pass in an instant.
#ifndef CIMPLE_TIME_H
#define CIMPLE_TIME_H

#include "config.h"

namespace cimple {

struct CIMPLE_EXPORT Time {
    static const uint64 USEC = 1;
    static const uint64 MSEC = 1000;
    static const uint64 SEC = 1000000;

    typedef uint64 (*Clock_Proc)();
    typedef void (*Sleep_Proc)(uint64 usec);

    // Microseconds since 1970-01-01 00:00:00 UTC.
    static uint64 now();
    // Waits the given number of microseconds; the module's own waits use it.
    static void sleep(uint64 usec);

    // Test seams: replace the clock or the sleep (null restores the system's)
    // and answer the one replaced. Safe to call while other threads read them.
    static Clock_Proc set_clock(Clock_Proc clock);
    static Sleep_Proc set_sleep(Sleep_Proc sleep);
};

} // namespace cimple

#endif
