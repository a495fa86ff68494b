// Mutex and Thread over POSIX threads.
#include <cimple/Mutex.h>
#include <cimple/Thread.h>

namespace cimple {

Mutex::Mutex(bool recursive)
{
    pthread_mutexattr_t attr;
    pthread_mutexattr_init(&attr);
    pthread_mutexattr_settype(&attr, recursive ? PTHREAD_MUTEX_RECURSIVE : PTHREAD_MUTEX_NORMAL);
    pthread_mutex_init(&_mutex, &attr);
    pthread_mutexattr_destroy(&attr);
}

Mutex::~Mutex() { pthread_mutex_destroy(&_mutex); }

void Mutex::lock() { pthread_mutex_lock(&_mutex); }

void Mutex::unlock() { pthread_mutex_unlock(&_mutex); }

int Thread::create_joinable(Thread& thread, Thread_Proc proc, void* arg)
{
    if (thread._running || !proc)
        return -1;
    if (pthread_create(&thread._thread, 0, proc, arg) != 0)
        return -1;
    thread._running = true;
    return 0;
}

int Thread::join(Thread& thread, void*& value)
{
    if (!thread._running)
        return -1;
    thread._running = false;
    return pthread_join(thread._thread, &value) == 0 ? 0 : -1;
}

} // namespace cimple
