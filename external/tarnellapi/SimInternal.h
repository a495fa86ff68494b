#ifndef TARNELLSIM_SIMINTERNAL_H
#define TARNELLSIM_SIMINTERNAL_H

// Inside of the simulated controller library: the one global state and the
// controller logic that the entry points share. Everything here runs with the
// state's lock held (see lock()).

#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "SimControl.h"
#include "TarnellSim.h"

namespace tarnellsim {

// The outcome of one operation: its return code and the two result values of
// the C API's result record.
struct OpResult {
    int code = RC_OK;
    uint32_t unsignedValue = 0;
    int32_t signedValue = 0;
    OpResult() = default;
    OpResult(int c) : code(c) {}
};

// Where the entries of a vector are, by a key below KEYS, so that a lookup
// need not scan. It holds the first entry of each key and answers for the
// vector it was built from only: find() rebuilds it when it is not valid, the
// vector's storage or size differs, or a position no longer holds its key, and
// a key without a position is confirmed by a scan. The simulator changes no
// key of an entry, nor the set of entries, outside reset(), which marks the
// indexes not valid (a scenario assigned over one of the same size keeps the
// storage).
template <class T, size_t KEYS>
struct FirstPositionIndex {
    static constexpr uint32_t NONE = 0xFFFFFFFFu;
    static constexpr size_t keys = KEYS;
    bool valid = false;
    const T* data = nullptr;           // what the vector's data() and size() were
    size_t size = 0;
    std::vector<uint32_t> position;    // by key; NONE: no entry

    bool builtFor(const std::vector<T>& entries) const {
        return valid && data == entries.data() && size == entries.size();
    }
    // The entry with the key (below KEYS): keyOf(entry) gives an entry's key,
    // KEYS or more for one the index leaves out.
    template <class KeyOf>
    T* find(std::vector<T>& entries, size_t key, KeyOf keyOf) {
        if (!builtFor(entries)) build(entries, keyOf);
        uint32_t at = position[key];
        if (at != NONE && keyOf(entries[at]) != key) {
            build(entries, keyOf);
            at = position[key];
        }
        if (at != NONE) return &entries[at];
        // Confirmed by a scan, so that no change the index missed hides an
        // entry; that answer is rare.
        for (auto& e : entries)
            if (keyOf(e) == key) return &e;
        return nullptr;
    }

private:
    template <class KeyOf>
    void build(const std::vector<T>& entries, KeyOf keyOf) {
        valid = true;
        data = entries.data();
        size = entries.size();
        position.assign(KEYS, NONE);
        for (size_t i = 0; i < entries.size(); ++i) {
            const size_t key = keyOf(entries[i]);
            if (key < KEYS && position[key] == NONE) position[key] = uint32_t(i);
        }
    }
};

// A controller's devices by slot (channel and target below 16).
using DeviceIndex = FirstPositionIndex<Device, 256>;
// The controllers by C-API number below 256.
using ControllerIndex = FirstPositionIndex<Controller, 256>;

struct State {
    std::mutex mutex;
    Scenario sc;
    bool changed = false;            // the configuration changed since the last change query
    simsupport::FailureTable failures;
    simsupport::CallLog<Call> log;
    ControllerIndex controllerIndex;
    std::vector<DeviceIndex> deviceIndexes;    // by the controller's position in sc.controllers
    std::map<std::string, uint32_t> reportedLengths;   // reportLength
    int dlInitCount = 0;
    int dlTermCount = 0;
};

// The library's state, set up with the default scenario on first use.
State& state();
std::unique_lock<std::mutex> lock();

// Returns the injected failure code for this call, consuming a one-shot
// failure; false when the call is to go ahead.
bool takeFailure(const char* entryPoint, int adapter, int& code);
void appendCall(Call&& call);
// The entry of the call log for a call of `entryPoint`, reset to a fresh
// Call's contents with that name; commitCall() adds it to the log. The entry
// reuses the storage of a call the log no longer holds.
Call& startCall(const char* entryPoint);
void commitCall();
// The length the entry point is to report (reportLength); false when none.
bool reportedLength(const char* entryPoint, uint32_t& length);

// A slot of a device: channel * 16 + target.
inline int slotOf(unsigned channel, unsigned target) { return int(channel * 16 + target); }
using DeviceSet = std::set<std::pair<uint8_t, uint8_t>>;

Controller* findController(uint16_t number);
Device* findDevice(Controller& c, unsigned channel, unsigned target);

// Finds the devices of one controller as findDevice does, the controller's
// index looked up once: for loops over many slots. It stays usable while the
// state's controller list is not replaced (reset); changes to the
// controller's devices are seen as findDevice sees them.
class DeviceFinder {
public:
    explicit DeviceFinder(Controller& c);
    Device* find(unsigned channel, unsigned target) const {
        // The usual answer: the index is up to date and holds the slot.
        if (index && channel < 16 && target < 16 && index->builtFor(c.devices)) {
            const uint32_t at = index->position[size_t(slotOf(channel, target))];
            if (at != DeviceIndex::NONE) {
                Device& d = c.devices[at];
                if (d.channel == channel && d.target == target) return &d;
            }
        }
        return findOtherwise(channel, target);
    }
    Controller& controller() const { return c; }

private:
    Device* findOtherwise(unsigned channel, unsigned target) const;

    Controller& c;
    DeviceIndex* index;   // null: c is not a controller of the state, so it is scanned
};
LogicalDrive* topDrive(Controller& c, unsigned number);
LogicalDrive* subDrive(Controller& c, unsigned slot);

// The drive an address names: a top-level drive by usVirtDevID, or a sub-logical
// drive when usVirtDevID and usArrayID name one and no top-level drive of that
// array; sets isSub accordingly. Null when there is none.
LogicalDrive* resolveDrive(Controller& c, const _STORAGE_ADDRESS_ID& a, bool& isSub);

bool isRedundant(const LogicalDrive& d);

// Drives of basic array `id` (top-level basic drives and sub-logical drives),
// in creation order.
std::vector<LogicalDrive*> basicArrayDrives(Controller& c, unsigned id);
std::vector<LogicalDrive*> spannedArrayDrives(Controller& c, unsigned id);
DeviceSet membersOf(const LogicalDrive& d);
DeviceSet basicArrayMembers(Controller& c, unsigned id);
bool deviceIsMember(Controller& c, unsigned channel, unsigned target);
// The sub-logical drives below an HLD, in its chunk order.
std::vector<LogicalDrive*> subDrivesOf(Controller& c, const LogicalDrive& hld);

// The C-API state code of a drive (ucState), from its members' devices.
uint8_t driveStateCode(Controller& c, const LogicalDrive& d);
uint8_t driveStateCode(const DeviceFinder& devices, const LogicalDrive& d);

// Marks the configuration as changed (for GetAdapterChangeStatus and the
// configuration's update count).
void configChanged(Controller& c);

// The simulated date of now.
void currentDate(uint16_t& year, uint8_t& month, uint8_t& day);

// Controller behaviour (SimModel.cpp).
int setDeviceState(Controller& c, unsigned channel, unsigned target, uint8_t newState);
int createDrive(Controller& c, const _STORAGE_ADDRESS_ID& a, unsigned raidCode, uint32_t sizeMiB,
                const _STORAGE_ADDRESS_ID* list, unsigned count, unsigned long option);
int createSpannedDrive(Controller& c, const _STORAGE_ADDRESS_ID& a, uint32_t sizeMiB,
                       const _STORAGE_ADDRESS_ID* list, unsigned count);
int deleteTopDrive(Controller& c, unsigned number);
int deleteSubDrive(Controller& c, unsigned slot);
int deleteArray(Controller& c, unsigned id);
int resetConfig(Controller& c);
int increaseArraySize(Controller& c, unsigned arrayId, const _STORAGE_ADDRESS_ID* list, unsigned count);
int modifyArrayRaidLevel(Controller& c, unsigned arrayId, unsigned code, const _STORAGE_ADDRESS_ID* list,
                         unsigned count);
int increaseDriveSize(Controller& c, LogicalDrive& d, const _STORAGE_ADDRESS_ID* list, unsigned count);
int startTask(Controller& c, Task::Kind kind, LogicalDrive& d, bool isSub, uint8_t option);
int rebuildDevice(Controller& c, unsigned channel, unsigned target);
int rebuildToOther(Controller& c, unsigned channel, unsigned target, unsigned toChannel, unsigned toTarget);
void advanceTasks(uint32_t seconds);
// Percentage (0-100) of the first queued task of this kind on a drive; false when none.
bool taskPercent(Controller& c, Task::Kind kind, unsigned drive, bool isSub, unsigned& percent);

} // namespace tarnellsim

#endif
