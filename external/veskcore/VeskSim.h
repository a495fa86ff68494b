#ifndef VESKSIM_H
#define VESKSIM_H

// Control interface of the simulated Vesk controllers behind libveskcore.
//
// The library reads its controllers from a scenario: plain data built in
// code. Tests reset it to a scenario of their own, count the library's
// configuration reads and make its next allocation fail. See README.md
// beside this file.
//
// Every function takes the simulation's lock; they may be called from any
// thread.

#include <cstdint>
#include <string>
#include <vector>

#include "FamilySim.h"
#include "RaidLib/Util/StorExport.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/HardDrive.h"
#include "RaidModel/Interface/LogicalDrive.h"

namespace vesksim {

using familysim::Channel;
using familysim::Chunk;
using familysim::Drive;
using familysim::TimeStamp;

// A logical drive; its data space is counted in 512-byte blocks.
struct LogicalDrive : familysim::LogicalDriveRecord {
    uint64_t blocks = 0;
};

// An array and the logical drives made from it; sizes in 512-byte blocks.
struct Array {
    uint16_t number = 0;
    uint64_t blocks = 0;
    uint64_t freeBlocks = 0;
    std::vector<LogicalDrive> logicalDrives;
};

// A SAF-TE enclosure (processor device) in a slot of a channel. Without
// SAF-TE data it answers no configuration or status; otherwise the status
// bytes follow the SAF-TE codes (fans: 0 operational, 1 malfunctioning,
// 2 not installed, 128 unknown; power supplies: 0 on, 1 off, 16 and 17
// malfunctioning, 32 not installed, 33 installed, 128 unknown).
struct SafteEnclosure {
    uint8_t channel = 0;
    uint16_t target = 0;
    std::string vendor, model, serial, firmware, fru;
    bool safteData = true;
    uint8_t slots = 0, tempSensors = 0;
    std::vector<uint8_t> fanStatus;          // one byte per fan
    std::vector<uint8_t> powerSupplyStatus;  // one byte per power supply
    uint8_t tempOutOfRange1 = 0, tempOutOfRange2 = 0;
    // The counts the configuration reports, when they differ from the
    // number of status bytes (-1: one per byte).
    int fanCount = -1, powerSupplyCount = -1;
};

// An SES-2 enclosure services device in a slot of a (SAS) channel.
struct SesDevice {
    uint8_t channel = 0;
    uint16_t target = 0;
    std::string vendor, model, serial, firmware, fru;
};

// One controller (the fields it shares with the Pelm family's records are
// in familysim::ControllerRecord: number, PCI place, texts, versions, cache,
// battery, channels and disks). The part number, battery FRU, card version
// and FRU texts keep at most 32 characters.
struct Controller : familysim::ControllerRecord {
    std::string partNumber, batteryFRU, cardVersion, fruNumber;
    std::vector<Array> arrays;
    std::vector<SafteEnclosure> enclosures;
    std::vector<SesDevice> sesDevices;
};

struct Scenario {
    std::vector<Controller> controllers;
};

// The built-in scenario: two controllers with channels of every type,
// disks in several states, arrays with named logical drives, a SAF-TE
// enclosure, an enclosure without SAF-TE data and an SES-2 device
// (README.md describes it).
STOR_EXPORT Scenario defaultScenario();

// Replaces the controllers; clears the count of configuration reads and a
// pending allocation failure.
STOR_EXPORT void reset(const Scenario& scenario);
STOR_EXPORT void reset(); // to defaultScenario()

// A copy of the simulation as it is now.
STOR_EXPORT Scenario current();

// How many configurations the library has read since the last reset.
STOR_EXPORT unsigned configurationReads();

// The next allocation of a VeskLib fails: its new expression yields null.
STOR_EXPORT void failNextAllocation();

// ---- the diagnostics -------------------------------------------------------------------

// One diagnostic request a controller or a drive received: the operation
// ("scsiPassThruCommand", "startDiskDiagnostic", "abortDiskDiagnostic",
// "getDiskDiagnosticProgress", "getDiskDiagnosticResults",
// "startControllerDiagnostic"), the controller number, the drive's channel
// and target (0x7FFFFFFF for a controller), the kind (the command's
// direction, the test or diagnostic type) and, of a pass-through, the CDB
// and the sizes of its read, write and sense buffers.
struct DiagnosticCall {
    std::string operation;
    uint32_t controller = 0, channel = 0x7FFFFFFF, device = 0x7FFFFFFF;
    int kind = 0;
    std::vector<uint8_t> cdb;
    size_t readSize = 0, writeSize = 0, senseSize = 0;
};

// The requests received since the last reset, in order.
STOR_EXPORT std::vector<DiagnosticCall> diagnosticCalls();

// The return code of an operation (0 unless set), and of it on one drive.
STOR_EXPORT void setDiagnosticResult(const std::string& operation, int code);
STOR_EXPORT void setDriveDiagnosticResult(const std::string& operation, uint32_t channel, uint32_t device, int code);

// What the progress and results queries report of a drive's self test
// (status 0, progress 0 unless set).
STOR_EXPORT void setDiskDiagnosticState(EnumDiskDiagStatus status, uint32_t tenthsOfAPercent);

// The event lists of the controllers: each read (getEvents) answers the
// next document of the list, the last one again once all were read; an
// empty list makes every read fail. The default is one document holding
// the completion event of a controller diagnostic.
STOR_EXPORT void setEventDocuments(const std::vector<std::string>& documents);
// The event lists read since the last reset.
STOR_EXPORT unsigned eventReads();

} // namespace vesksim

#endif
