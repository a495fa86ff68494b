// A joinable thread.
#ifndef CIMPLE_THREAD_H
#define CIMPLE_THREAD_H

#include <pthread.h>

#include "config.h"

namespace cimple {

typedef void* (*Thread_Proc)(void* arg);

class CIMPLE_EXPORT Thread {
public:
    Thread() : _thread(), _running(false) {}
    ~Thread() {}
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // Starts proc(arg) on a new thread; 0, or -1 when no thread could be made
    // or `thread` still holds one that was not joined.
    static int create_joinable(Thread& thread, Thread_Proc proc, void* arg);
    // Waits for the thread and takes its result; 0, or -1 when `thread` holds
    // no started, unjoined thread (so a second join is harmless).
    static int join(Thread& thread, void*& value);

private:
    pthread_t _thread;
    bool _running;
};

} // namespace cimple

#endif
