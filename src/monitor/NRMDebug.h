#ifndef NRMDEBUG_H
#define NRMDEBUG_H

// The monitors' process-wide debug mask. Every monitor library exports
// NRMDebugFlag under that name and references it through the dynamic linker,
// so in a process that loads several of them the first one loaded serves the
// name and all share one mask. It is read in groups of four bits; a group is
// on while any of its bits is set. Several monitor threads read and store it,
// so it is an atomic int used with relaxed order.

#include <atomic>
#include <cstdint>

#include "RaidLib/Util/StorExport.h"

extern STOR_EXPORT std::atomic<int32_t> NRMDebugFlag;

static_assert(sizeof(std::atomic<int32_t>) == sizeof(int32_t), "the mask is a plain 32-bit int in memory");
static_assert(std::atomic<int32_t>::is_always_lock_free, "the mask needs no lock");

// The groups of the mask.
const int32_t NRM_DEBUG_ERRORS = 0xF00000; // error and information lines
const int32_t NRM_DEBUG_EVENTS = 0x0F0000; // offered events printed to the events log
const int32_t NRM_DEBUG_TRACE = 0x00F000;  // trace lines
const int32_t NRM_DEBUG_DETAIL = 0x0000F0; // detailed trace lines of the family monitors

// The debug levels of setDebugFlag and of the configuration key
// "nrm.debugMask": each switches on the groups up to its own.
enum EnumDebugNRM : int32_t {
    NRM_DEBUG_LEVEL_ERRORS = 0, // errors: 0xF00000
    NRM_DEBUG_LEVEL_EVENTS = 1, // errors and events: 0xFF0000
    NRM_DEBUG_LEVEL_ALL = 2     // every group: 0xFFFFFF
};

// True while any bit of the group is set.
inline bool nrmDebugOn(int32_t group) { return (NRMDebugFlag.load(std::memory_order_relaxed) & group) != 0; }

#endif
