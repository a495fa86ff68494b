// A mutex, recursive by default, and a scope guard for it.
#ifndef CIMPLE_MUTEX_H
#define CIMPLE_MUTEX_H

#include <pthread.h>

#include "config.h"

namespace cimple {

class CIMPLE_EXPORT Mutex {
public:
    explicit Mutex(bool recursive = true);
    ~Mutex();
    Mutex(const Mutex&) = delete;
    Mutex& operator=(const Mutex&) = delete;

    void lock();
    void unlock();

private:
    pthread_mutex_t _mutex;
};

class Auto_Mutex {
public:
    explicit Auto_Mutex(Mutex& m) : _m(m) { _m.lock(); }
    ~Auto_Mutex() { _m.unlock(); }
    Auto_Mutex(const Auto_Mutex&) = delete;
    Auto_Mutex& operator=(const Auto_Mutex&) = delete;

private:
    Mutex& _m;
};

} // namespace cimple

#endif
