#ifndef TARNELLSIM_H
#define TARNELLSIM_H

// Control interface of the simulated controller library libtarnellapi.so.
//
// The simulator holds a set of controllers (a scenario) behind the controller
// C API. Tests link the library directly, so the core's dlopen of
// "libtarnellapi.so" finds this very copy, and drive it through the functions
// below: reset it to a scenario, inject failures into entry points, read the
// log of calls and move the simulated clock on. See README.md beside this file.
//
// Every function takes the simulator's lock; they may be called from any thread.

#include <cstdint>
#include <string>
#include <vector>

#include "storagedll/raidrec.h"

#define TARNELLSIM_EXPORT __attribute__((visibility("default")))

namespace tarnellsim {

// Return codes of the simulated library besides 0 (success). The C API passes
// them through unchanged; the family treats any of them as a failed call.
enum ResultCode : int {
    RC_OK = 0,
    RC_NO_ADAPTER = 1,       // no controller with that C-API number
    RC_NO_OBJECT = 2,        // no such device, logical drive, array or log
    RC_BAD_PARAMETER = 3,    // a malformed argument (null buffer, bad code, bad count)
    RC_INVALID_STATE = 4,    // the object cannot do that in its present state
    RC_NO_SPACE = 5,         // no free id, slot or disk space
    RC_NOT_SUPPORTED = 6,    // the controller does not offer that request
    RC_BUSY = 7,             // a task already runs on the object
    RC_CHECK_CONDITION = 8   // a pass-through command ended with sense data
};

// The failure id of the library variant whose ConstructorOK answers false.
const unsigned long CONSTRUCTOR_FAIL_ID = 0x5E1F0001ul;

// Device types of _DEV_STATE::ucParameters.
enum DeviceType : uint8_t {
    DEVTYPE_DISK = 0,
    DEVTYPE_TAPE = 1,
    DEVTYPE_ENCLOSURE = 3,
    DEVTYPE_CDROM = 5,
    DEVTYPE_OPTICAL = 7
};

// One device slot of a controller.
struct Device {
    uint8_t channel = 0;
    uint8_t target = 0;
    uint8_t type = DEVTYPE_DISK;
    uint8_t state = DEVSTATE_READY;    // _DEV_STATE::ucState code; 0: not known to the controller
    bool present = true;               // physically in the slot (a rescan finds or loses it)
    bool pfa = false;                  // predictive failure reported
    uint32_t blocks = 0;               // size in 512-byte blocks
    std::string vendor, model, firmware, serial, fru;
    bool writeCache = true;            // WCE bit of the caching mode page
    bool writeCacheChangeable = true;
    // Block-descriptor bytes of the caching mode page's answer (8: one
    // descriptor, WCE at byte 14; 0: WCE at byte 6; more than 8: extra
    // zero bytes, which can push the page beyond a 64-byte buffer).
    uint8_t modeBlockDescriptorBytes = 8;
    bool selfTest = true;              // answers the self-test capability query with 3
    bool osPartition = false;          // block 0 ends with the boot signature
    uint8_t identify = 0xFF;           // last identify code received (0xFF: none)
    // The drive's self-test log: the bytes GetDriveSelfTestLog answers (as
    // many as the caller's buffer holds), counted in 20-byte entries.
    std::vector<uint8_t> selfTestLog;
    // The device's own event log: GetPhysDevEventLog answers the entry count
    // and the entries (most significant byte first, as the adapter's logs);
    // ErasePhysDevEventLog empties it.
    std::vector<uint32_t> eventLog;
    // A disk that took over for a failed member: the slot of that member, as
    // channel * 16 + target; -1 when none. Copy-back returns the data there.
    int replacedSlot = -1;
    // SAF-TE enclosures only: the 64-byte configuration and the 28-byte status page.
    bool safteResponding = true;
    uint8_t safteConfig[64] = {};
    uint8_t safteStatus[28] = {};
};

// One extent of a logical drive. In a spanned drive, target is the SLD slot of
// a sub-logical drive and sectorCount that drive's size.
struct Chunk {
    uint8_t channel = 0;
    uint8_t target = 0;
    uint32_t startSector = 0;
    uint32_t sectorCount = 0;
};

// A logical drive: a top-level drive (number = its C-API number 0-7, the entry of
// sVirtDrv) or a sub-logical drive of a spanned drive (number = its SLD slot 0-7).
struct LogicalDrive {
    uint8_t number = 0;
    uint8_t raidCode = 0;              // bits 0-2 of ucRaidCacheParam
    bool spanned = false;              // a hierarchical (HLD) drive
    uint8_t params = 0;                // VDP_PARAM_RAID5E / VDP_PARAM_RAID5EE
    uint8_t arrayId = 0;               // basic array 0-7, or spanned array 0-3 of an HLD
    bool writeCache = false;
    uint8_t stripeCode = 6;
    uint8_t raid5eeSubState = 0;
    uint32_t sizeSectors = 0;          // data size
    uint16_t createYear = 2024;
    uint8_t createMonth = 1;
    uint8_t createDay = 1;
    std::vector<Chunk> chunks;
    bool blocked = false;              // RAID-0 drive whose array was rebuilt
    bool migrating = false;
    bool system = false;               // the controller's temporary drive of a migration
    uint8_t identify = 0xFF;           // last identify code received (0xFF: none)
    uint32_t sequence = 0;             // creation order on the controller
    // A write-cached drive whose cache the controller runs write-through for
    // the time being (the logical-drive cache enquiry reports it).
    bool tempWriteThrough = false;
};

// A task of a controller. Tasks run one at a time, in queue order.
struct Task {
    // COMPACT: the compaction of a RAID-5EE drive; only a scenario queues it.
    enum Kind : uint8_t { REBUILD, SYNCHRONIZE, INITIALIZE, MIGRATE, COPYBACK, COMPACT };
    Kind kind = REBUILD;
    uint8_t drive = 0;                 // C-API number, or SLD slot when subLogical
    bool subLogical = false;
    uint8_t channel = 0, target = 0;   // device rebuilt or copied to
    uint8_t sourceChannel = 0, sourceTarget = 0; // copy-back source
    uint8_t option = 0;                // check option sent with the request
    uint64_t totalBlocks = 0;
    uint64_t doneBlocks = 0;
    uint8_t status = TASK_STATUS_ACTIVE_30; // while queued or running; final code once ended
};

// The raw controller event logs, four-byte entries each.
struct EventLogs {
    std::vector<uint32_t> device;      // 16 per channel, one per target id
    std::vector<uint32_t> soft;
    std::vector<uint32_t> hard;
    std::vector<uint32_t> badStripe;
    std::vector<uint32_t> deadDrive;
};

// One controller of a scenario.
struct Controller {
    uint16_t number = 0;               // C-API adapter number
    uint32_t model = 0;                // EnumAdapterType code (_ADAPTER_TYPE::ulImplementation)
    uint16_t slot = 0;                 // PCI slot
    uint16_t channelCount = 0;         // at most 4 are described by the configuration
    std::string biosVersion, firmwareVersion, driverVersion;
    int32_t status = 0;                // _STORAGE_ADAPTER_STATUS::iAdapStatus
    int32_t state = 0;                 // iAdapState
    uint8_t initiatorId[4] = {7, 7, 7, 7};
    uint8_t speedCode[4] = {5, 5, 5, 5};
    std::string hostId, clusterPartnerId;
    uint32_t userOpts = 0;             // _USER_OPTS word
    uint8_t rebuildRate = REBUILD_RATE_MEDIUM;
    uint8_t nvramType = 6;
    uint8_t stripeCode = 6;            // adapter stripe unit (entry 0 of sVirtDrv)
    bool readAhead = true;
    _ADAPTER_FEATURES features = {};
    uint8_t enquiryMiscFlag = 0;       // 0x02: battery-backed cache installed
    uint8_t mordalErrorCode = 0;
    std::string bbcSerialConfigured, bbcSerialInstalled;
    int8_t batteryTemperature = 0;
    uint8_t batteryPercent = 0;
    bool batteryAbnormal = false;
    std::string vpdPartNumber, vpdSerial, vpdCardFru, vpdBatteryFru;
    uint32_t codeVersions = 0;         // what CheckCodeVersions answers: 0 the code versions match, 1 they do not
    uint32_t slotPowerState = 1;       // what GetSlotPowerState answers for any slot; SetSlotPowerState sets it
    uint16_t configUpdateCount = 0;
    std::vector<Device> devices;
    std::vector<LogicalDrive> drives;     // top-level drives
    std::vector<LogicalDrive> subDrives;  // the SLD table
    std::vector<Task> tasks;              // front runs; the others wait
    bool hasLastTask = false;
    Task lastTask;                        // the task that ended last
    EventLogs logs;
    uint32_t nextSequence = 1;

    // Test hooks that make the controller report inconsistent data. A patch
    // overwrites bytes of a reply after the controller has filled it; bytes
    // beyond the reply (or beyond the caller's buffer) are left out.
    struct BytePatch {
        uint32_t offset = 0;
        std::vector<uint8_t> bytes;
    };
    std::vector<BytePatch> configPatches;    // the _ADAPTER_CONFIG of GetAdapterRaidConfig
    std::vector<BytePatch> hldTablePatches;  // the HLD table of GetVirtDevLdTable
    std::vector<BytePatch> sldTablePatches;  // the SLD table of GetVirtDevLdTable
    // The byte length GetVirtDevLdTable reports for each table; -1: the eight
    // entries and the 4 bytes behind them (1636 bytes). The table is cut or
    // zero-padded to that length.
    int64_t hldTableLength = -1;
    int64_t sldTableLength = -1;
    // The count GetVirtDevCount answers; -1: the number of drives. The list
    // holds the drives whatever the count says.
    int32_t virtDevCount = -1;
    // Patches of the _REBUILD_STATUS that CheckProgress answers, applied
    // after the controller has filled it: a task the simulation does not run
    // (Quillcopy, compression, expansion) or a final status of the test's own.
    std::vector<BytePatch> progressPatches;
    // Patches of the answer of the enquiry command (ExecAdapterCmnd), applied
    // after the controller has filled it: enquiry bytes of the test's own.
    std::vector<BytePatch> enquiryPatches;
    // The value the three logical-drive progress queries (synchronization,
    // initialization, migration) answer; -1: the task's percentage.
    int32_t progressValue = -1;
    // The id SetSharedDeviceId stored and GetSharedDeviceId answers.
    uint8_t sharedDeviceId = 0;
    // The Quillcopy entries CheckQuillcopyProgress answers (the first four).
    struct QuillcopyEntry {
        uint8_t source = 0;
        uint8_t target = 0;
    };
    std::vector<QuillcopyEntry> quillcopies;
};

// A whole simulated system; clock is the simulated time in seconds since 1970.
struct Scenario {
    std::vector<Controller> controllers;
    uint64_t clock = 1714986000;       // 2024-05-06 09:00:00 UTC
};

// The built-in scenario: two controllers (C-API numbers 2 and 5) with
// channels, online, ready, hot-spare and dead drives, basic and spanned logical
// drives of several RAID levels, a degraded drive with a rebuild running, a
// SAF-TE enclosure and non-empty event logs (README.md describes it).
TARNELLSIM_EXPORT Scenario defaultScenario();

// A scenario of `controllers` full controllers (C-API numbers 0, 1, ...): each
// with 4 channels of 16 online disks and 8 RAID-5 logical drives of 8 disks,
// each in an array of its own; no task runs. For measurements over growing
// configurations (README.md describes it).
TARNELLSIM_EXPORT Scenario fullScenario(unsigned controllers);

// Replaces the simulated controllers and clock; clears the failures, the call
// log and the change flag.
TARNELLSIM_EXPORT void reset(const Scenario& scenario);
TARNELLSIM_EXPORT void reset();   // to defaultScenario()

// A copy of the simulated state as it is now.
TARNELLSIM_EXPORT Scenario current();

// Failure injection: the named entry point answers `code` (its S_Ret code or
// its int result; ConstructorOK answers false with `code` as failure id)
// without doing anything, for calls addressed to C-API adapter `adapter`
// (ANY_ADAPTER: any call, also those that carry no address). `every` false
// fails only the next matching call, true every one until cleared. The first
// `after` matching calls go through before the failure applies.
const int ANY_ADAPTER = -1;
TARNELLSIM_EXPORT void injectFailure(const std::string& entryPoint, int code,
                                     int adapter = ANY_ADAPTER, bool every = false,
                                     unsigned after = 0);
TARNELLSIM_EXPORT void clearFailures();

// One call of an entry point as the simulator received it. (The simulator
// reuses the entries of its log: startCall in SimState.cpp resets each member.)
struct Call {
    std::string name;
    bool hasAddress = false;
    alignas(8) _STORAGE_ADDRESS_ID address = {};  // the first address argument
    std::vector<long long> args;                  // scalar arguments passed by value, in order
    std::vector<_STORAGE_ADDRESS_ID> addressList; // further address arguments, then address lists
    int result = 0;                               // the code answered
    // The leading bytes (at most LOGGED_BYTES) of a pass-through's command
    // block, and of a buffer written to the controller: an image, a
    // configuration, blocks written, a mode page, a pass-through's write buffer.
    std::vector<uint8_t> command;
    std::vector<uint8_t> written;
};
const size_t LOGGED_BYTES = 16;

// The calls since the last reset or clearCalls, oldest first (the newest
// 20000 are kept).
TARNELLSIM_EXPORT std::vector<Call> calls();
TARNELLSIM_EXPORT std::vector<Call> calls(const std::string& entryPoint);
TARNELLSIM_EXPORT void clearCalls();

// Length reports: once the named entry point has done its work, every
// unsigned 32-bit value it hands back through a reference (returned and
// transfer lengths, and any other such output) is `length`, whatever it
// wrote into its buffers. For tests of callers that must not trust a
// reported length beyond their buffer. Cleared by reset and clearFailures.
TARNELLSIM_EXPORT void reportLength(const std::string& entryPoint, uint32_t length);

// The simulated clock. Advancing it lets the controllers' tasks progress.
TARNELLSIM_EXPORT void advanceClock(uint32_t seconds);
TARNELLSIM_EXPORT uint64_t clock();

} // namespace tarnellsim

// How often this copy of the library had its load hooks called; plain C names so
// that a test can look them up in a variant it opened itself.
extern "C" TARNELLSIM_EXPORT int TarnellSimDlInitCount(void);
extern "C" TARNELLSIM_EXPORT int TarnellSimDlTermCount(void);

#endif
