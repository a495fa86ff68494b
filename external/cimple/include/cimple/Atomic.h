// A 32-bit counter changed and read atomically from several threads.
#ifndef CIMPLE_ATOMIC_H
#define CIMPLE_ATOMIC_H

#include <atomic>

#include "config.h"

namespace cimple {

class Atomic_Counter {
public:
    explicit Atomic_Counter(sint32 n = 0) : _n(n) {}
    Atomic_Counter(const Atomic_Counter&) = delete;
    Atomic_Counter& operator=(const Atomic_Counter&) = delete;

    // Answer the new value.
    sint32 inc() { return _n.fetch_add(1) + 1; }
    sint32 dec() { return _n.fetch_sub(1) - 1; }
    sint32 get() const { return _n.load(); }
    void set(sint32 n) { _n.store(n); }

private:
    std::atomic<sint32> _n;
};

} // namespace cimple

#endif
