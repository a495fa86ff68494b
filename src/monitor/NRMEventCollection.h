#ifndef NRMEVENTCOLLECTION_H
#define NRMEVENTCOLLECTION_H

// The bounded first-in-first-out queue of events between a monitor's poll
// thread, which offers events, and the thread that takes them out (the
// indication provider's delivery thread).
//
// An event whose severity is above the queue's level is printed but not
// queued. A full queue makes room by dropping a slice of its oldest events
// and turning the oldest survivor into an overload marker (event 200), so an
// offered event is never refused. While the event group of NRMDebugFlag is on
// every offered event is printed to the events log.
//
// The queue locks itself with a process-private mutex, held for one change at
// a time: the poll thread can append between two events taken out.

#include <atomic>
#include <cstdio>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "RaidLib/Util/StorExport.h"
#include "monitor/NRMEvent.h"

class STOR_EXPORT NRMEventCollection {
public:
    static const int MIN_SIZE = 200;

    // A capacity below MIN_SIZE becomes MIN_SIZE, a level outside 5 to 7
    // becomes 5. The events log is opened for appending when the path is not
    // empty; a log that cannot be opened is not written.
    NRMEventCollection(std::string logFileName, int maxSize, EnumEventType level);
    ~NRMEventCollection();
    NRMEventCollection(const NRMEventCollection&) = delete;
    NRMEventCollection& operator=(const NRMEventCollection&) = delete;

    // Offers a copy of the event.
    void addEvent(NRMEvent& event);
    // Prints an event of the text alone; its severity is unset, so it is never
    // queued.
    void addEvent(const char* text);

    // Removes and returns the n oldest events, oldest first; all of them when
    // n is larger than the queue, none when n is 0 or less.
    std::vector<NRMEvent> getEvents(int n);
    std::vector<NRMEvent> getAllEvents();
    // Drops the n oldest events; 0, or more than are queued, drops them all.
    void flushEvents(int n);
    int getNumberOfEvents();

    // Takes a capacity above MIN_SIZE that differs from the current one. A
    // capacity below the number queued drops nothing now; the next queued
    // event makes room.
    void setMaxSize(int size);
    // Takes a level from 1 to 7; false for any other value.
    bool setEventTypeLevel(EnumEventType level);
    EnumEventType getEventTypeLevel() const { return eventTypeLevel.load(std::memory_order_relaxed); }

    // Writes the event's line and an empty line to the events log while the
    // event group of NRMDebugFlag is on.
    void printEvent(NRMEvent event);

private:
    // Takes up to n events from the front, one hold of the lock each.
    std::vector<NRMEvent> takeOldest(int n);

    std::deque<NRMEvent> events;
    int maxSize;
    std::mutex locker;
    std::atomic<EnumEventType> eventTypeLevel;
    std::string logFileName;
    FILE* logFile;
};

// A monitor holds its queue through a pointer, but the operations the
// provider module binds by name reach into it from whichever monitor library
// serves them: the layout is the same in every monitor library.
#if defined(__x86_64__)
static_assert(sizeof(NRMEventCollection) == 176, "NRMEventCollection size");
#elif defined(__i386__)
static_assert(sizeof(NRMEventCollection) == 100, "NRMEventCollection size");
#else
#error "the NRMEventCollection layout is pinned for x86-64 and i386 only"
#endif

#endif
