#ifndef TESTS_MONITOR_BOTH_BOTHMONITORS_H
#define TESTS_MONITOR_BOTH_BOTHMONITORS_H

// The interface of the both-monitors module: plain C records, so that the
// program that opens the module links no monitor library of its own and the
// module's load order alone decides which library serves the monitor core.

#include <cstdint>

extern "C" {

enum { BOTH_FAMILY_PELM = 0, BOTH_FAMILY_TARNELL = 1 };

// One event as the module took it from a monitor's queue.
struct BothEvent {
    int32_t family;
    int32_t eventId;
    int32_t severity;
    int32_t objectType;
    uint32_t adapter, array, logicalDrive, channel, device; // 0x7FFFFFFF: not set
    int32_t percentComplete;
    char text[512];
    char adapterSerial[64];
    char deviceSerial[64];
};

// What a run gives back.
struct BothRun {
    int32_t waits[2];    // the waits each monitor's loop made
    int32_t stopped[2];  // isStopped() once its loop had ended
    int32_t queued[2];   // getNumberOfEvents() before the events were taken
    int32_t events;      // the records filled
};

// Runs a Pelm and then a Tarnell monitor over their simulated controllers'
// default scenarios, in the library directory libDir (holding the message
// catalogue) with the maps file mapsFile naming it, for `cycles` poll cycles
// each on a simulated clock, with a scripted change after the first: a
// media error on Pelm disk 0/1 of controller 0, Tarnell disk 0/0 of
// controller 0 fails. Fills at most `max` events. 0, or -1 for bad arguments.
typedef int (*BothRunFunction)(const char* libDir, const char* mapsFile, int cycles, BothEvent* events, int max,
                               BothRun* run);

// The addresses the module's calls of getNumberOfEvents, getEvents and
// isStopped bind to, in that order.
typedef void (*BothBindingsFunction)(void* addresses[3]);
}

#endif
