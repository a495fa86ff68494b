#ifndef PELMSIM_H
#define PELMSIM_H

// Control interface of the simulated Pelm controllers behind libpelmcore.
//
// The library reads its controllers from a scenario: plain data built in
// code. Tests reset it to a scenario of their own, script changes between
// the polls of a monitor (drive and logical-drive states, tasks that advance
// on a simulated clock, media errors, events, controllers that come, go or
// move to another PCI slot), make operations fail and read the log of the
// library's calls. See README.md beside this file.
//
// Every function takes the simulation's lock; they may be called from any
// thread, also while a monitor polls on another.

#include <cstdint>
#include <string>
#include <vector>

#include "FamilySim.h"
#include "RaidLib/Util/Addr.h"
#include "RaidLib/Util/Progress.h"
#include "RaidLib/Util/StorExport.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/LogicalDrive.h"
#include "SimControl.h"

namespace pelmsim {

using familysim::Channel;
using familysim::Chunk;
using familysim::Drive;
using familysim::TimeStamp;

// A logical drive; its data space is counted in MB.
struct LogicalDrive : familysim::LogicalDriveRecord {
    uint64_t sizeMB = 0;
};

// A task running on a logical drive. It gains percentPerSecond on every
// simulated second and ends at 100.
struct Task {
    uint16_t logicalDrive = 0;
    EnumTaskType type = TASK_REBUILD;
    uint32_t percent = 0;
    uint32_t percentPerSecond = 1;
    EnumPriorityLevel priority = TASK_PRIORITY_MEDIUM;
};

// One entry of a controller's event list. ldPath names the drive
// ("/c<channel>/t<target>") or logical drive ("/ld<number>") relative to the
// controller; empty for the controller itself.
struct Event {
    uint32_t sequence = 0;
    int qual = 0;
    int status = 0;
    int senseKey = 0;
    int additionalSenseCode = 0;
    std::string ldPath;
    std::string description;
};

// One controller (the fields it shares with the Vesk family's records are
// in familysim::ControllerRecord: number, PCI place, texts, versions with a
// build number in parentheses after a blank, cache, battery, channels and
// disks).
struct Controller : familysim::ControllerRecord {
    bool raid0 = true, raid1 = true, ultra160 = false; // features 0, 1 and 9
    std::vector<LogicalDrive> logicalDrives;
    std::vector<Task> tasks;               // at most one per logical drive
    std::vector<Event> events;             // ascending sequence numbers
    uint32_t nextSequence = 1;             // the number of the next event appended
};

// The whole simulation; clock is the simulated time in seconds since 1970.
struct Scenario {
    std::vector<Controller> controllers;
    uint64_t clock = 1714986000; // 2024-05-06 09:00:00 UTC
};

// The built-in scenario: two controllers with SCSI, SATA and SAS channels,
// a rebuild running on a critical logical drive and a short event list
// (README.md describes it).
STOR_EXPORT Scenario defaultScenario();

// `controllers` full controllers (numbers 0, 1, ...), each with 4 SAS
// channels of 16 online disks and 8 RAID-5 logical drives over 8 disks; no
// task runs and each event list holds one entry. For measurements.
STOR_EXPORT Scenario fullScenario(unsigned controllers);

// Replaces the controllers and the clock; clears the failures, the call log
// and a pending allocation failure.
STOR_EXPORT void reset(const Scenario& scenario);
STOR_EXPORT void reset(); // to defaultScenario()

// A copy of the simulation as it is now.
STOR_EXPORT Scenario current();

// Failure injection. The library's operation answers `code` without doing
// anything, for calls concerning controller `adapter` (ANY_ADAPTER: any
// call). `every` false fails only the next matching call; the first `after`
// matching calls go through. Operations:
//   "getEvents", "getTasks", "getPath": the code is the operation's result.
//   "getSystemConfig": with ANY_ADAPTER the read makes no new system, so
//     getSystemConfig answers -3 whatever the code and the current system
//     stays; with a controller number that controller cannot be read: it is
//     left out of the new system, whose read answers the code.
const int ANY_ADAPTER = simsupport::ANY_ADAPTER;
STOR_EXPORT void injectFailure(const std::string& operation, int code, int adapter = ANY_ADAPTER,
                               bool every = false, unsigned after = 0);
STOR_EXPORT void clearFailures();

// The next allocation the library makes for a caller fails: a new PelmLib
// (the new expression yields null) or the text of getEvents (code -3).
STOR_EXPORT void failNextAllocation();

// One operation of the library as it was called.
struct Call {
    std::string operation;   // "getSystemConfig", "getEvents", "getTasks", "getPath"
    int adapter = ANY_ADAPTER; // the controller concerned; ANY_ADAPTER for a whole read
    Addr address;            // the address asked for (getEvents, getTasks, getPath)
    unsigned long from = 0;  // getEvents: the first sequence number asked for
    int result = 0;
};

// The calls since the last reset or clearCalls, oldest first (the newest
// 20000 are kept). calls("getSystemConfig").size() counts configuration reads.
STOR_EXPORT std::vector<Call> calls();
STOR_EXPORT std::vector<Call> calls(const std::string& operation);
STOR_EXPORT void clearCalls();

// Scripted changes. Each answers false, changing nothing, when the
// controller (by number), drive or logical drive does not exist.
STOR_EXPORT bool setDriveState(uint32_t controller, unsigned channel, unsigned target, EnumPhysicalDeviceState state);
STOR_EXPORT bool setLogicalDriveState(uint32_t controller, unsigned logicalDrive, EnumLogicalDeviceState state);
// Starts a task at `percent`; a rebuild, synchronization (verify with or
// without fix) or initialization appends its sense-key-1 start event (codes
// 0x10, 0x13, 0x19). False also when a task already runs on the drive.
STOR_EXPORT bool startTask(uint32_t controller, unsigned logicalDrive, EnumTaskType type, uint32_t percent = 0,
                           uint32_t percentPerSecond = 1);
// A media error found on a disk (code 0x81), or repaired (0x80), as an event.
STOR_EXPORT bool mediaError(uint32_t controller, unsigned channel, unsigned target, bool repaired = false);
// Appends an event; its sequence number is the controller's next one (the
// given one is ignored) and is returned through `sequence` when not null.
STOR_EXPORT bool appendEvent(uint32_t controller, const Event& event, uint32_t* sequence = nullptr);
STOR_EXPORT bool addController(const Controller& controller); // false for a number in use
STOR_EXPORT bool removeController(uint32_t controller);
STOR_EXPORT bool moveController(uint32_t controller, uint8_t pciBus, uint8_t pciDevice, uint8_t pciFunction);

// The simulated clock. Running tasks advance with it; a task that reaches
// 100 % ends and appends its end event (0x11, 0x14, 0x1a). A rebuild that
// ends makes its logical drive OKAY and its rebuilding disks online.
STOR_EXPORT void advanceClock(uint32_t seconds);
STOR_EXPORT uint64_t clock();

} // namespace pelmsim

#endif
