// The simulator's global state and its control interface.

#include <ctime>
#include <functional>

#include "SimInternal.h"

namespace tarnellsim {

namespace {

struct GlobalState : State {
    GlobalState() { sc = defaultScenario(); }
};

} // namespace

namespace {

State& makeState() {
    static GlobalState s;
    return s;
}

} // namespace

State& state() {
    // A reference set up once, so that each call is a guard test and a load
    // (the state's set-up stays out of this function's way).
    static State& s = makeState();
    return s;
}

std::unique_lock<std::mutex> lock() {
    return std::unique_lock<std::mutex>(state().mutex);
}

bool takeFailure(const char* entryPoint, int adapter, int& code) {
    simsupport::FailureTable& failures = state().failures;
    if (failures.empty()) return false;   // the usual case: nothing to compare the name with
    return failures.take(entryPoint, adapter, code);
}

void appendCall(Call&& call) {
    state().log.append(std::move(call));
}

Call& startCall(const char* entryPoint) {
    // An entry the log used before: each member as a fresh Call has it, the
    // storage of the string and the vectors kept.
    Call& call = state().log.next();
    call.name.assign(entryPoint);
    call.hasAddress = false;
    call.address = _STORAGE_ADDRESS_ID();
    call.args.clear();
    call.addressList.clear();
    call.result = 0;
    call.command.clear();
    call.written.clear();
    return call;
}

void commitCall() {
    state().log.commit();
}

bool reportedLength(const char* entryPoint, uint32_t& length) {
    const auto& lengths = state().reportedLengths;
    if (lengths.empty()) return false;    // the usual case: no key to make from the name
    auto it = lengths.find(entryPoint);
    if (it == lengths.end()) return false;
    length = it->second;
    return true;
}

namespace {

Controller* scanControllers(std::vector<Controller>& controllers, uint16_t number) {
    for (auto& c : controllers)
        if (c.number == number) return &c;
    return nullptr;
}

size_t numberOf(const Controller& c) { return c.number; }

// findController when the index is not up to date or does not hold the number.
[[gnu::noinline]] Controller* findControllerOtherwise(State& s, uint16_t number) {
    std::vector<Controller>& controllers = s.sc.controllers;
    if (number >= ControllerIndex::keys) return scanControllers(controllers, number);
    return s.controllerIndex.find(controllers, number, numberOf);
}

// A device's slot; DeviceIndex::keys for one beyond the index.
size_t slotKey(const Device& d) {
    return d.channel < 16 && d.target < 16 ? size_t(slotOf(d.channel, d.target)) : DeviceIndex::keys;
}

} // namespace

Controller* findController(uint16_t number) {
    State& s = state();
    std::vector<Controller>& controllers = s.sc.controllers;
    const ControllerIndex& index = s.controllerIndex;
    if (number < ControllerIndex::keys && index.builtFor(controllers)) {
        const uint32_t at = index.position[number];
        if (at != ControllerIndex::NONE && controllers[at].number == number) return &controllers[at];
    }
    return findControllerOtherwise(s, number);
}

DeviceFinder::DeviceFinder(Controller& controller) : c(controller), index(nullptr) {
    State& s = state();
    const Controller* first = s.sc.controllers.data();
    const Controller* last = first + s.sc.controllers.size();
    std::less<const Controller*> before;
    if (before(&c, first) || !before(&c, last)) return;   // not a controller of the state
    const size_t which = size_t(&c - first);
    // Sized for every controller at once, so that no later finder moves the
    // index this one holds.
    if (s.deviceIndexes.size() <= which) s.deviceIndexes.resize(s.sc.controllers.size());
    index = &s.deviceIndexes[which];
}

Device* DeviceFinder::findOtherwise(unsigned channel, unsigned target) const {
    if (index && channel < 16 && target < 16)
        return index->find(c.devices, size_t(slotOf(channel, target)), slotKey);
    // Beyond the index, or not a controller of the state.
    for (auto& d : c.devices)
        if (d.channel == channel && d.target == target) return &d;
    return nullptr;
}

Device* findDevice(Controller& c, unsigned channel, unsigned target) {
    return DeviceFinder(c).find(channel, target);
}

LogicalDrive* topDrive(Controller& c, unsigned number) {
    for (auto& d : c.drives)
        if (d.number == number) return &d;
    return nullptr;
}

LogicalDrive* subDrive(Controller& c, unsigned slot) {
    for (auto& d : c.subDrives)
        if (d.number == slot) return &d;
    return nullptr;
}

LogicalDrive* resolveDrive(Controller& c, const _STORAGE_ADDRESS_ID& a, bool& isSub) {
    unsigned arrayId = a.usArrayID & 0x7FFFu;
    LogicalDrive* top = topDrive(c, a.usVirtDevID);
    LogicalDrive* sub = subDrive(c, a.usVirtDevID);
    isSub = false;
    if (top && top->arrayId == arrayId) return top;
    if (sub && sub->arrayId == arrayId) {
        isSub = true;
        return sub;
    }
    return top;
}

void configChanged(Controller& c) {
    state().changed = true;
    ++c.configUpdateCount;
}

void currentDate(uint16_t& year, uint8_t& month, uint8_t& day) {
    time_t t = time_t(state().sc.clock);
    struct tm tm;
    gmtime_r(&t, &tm);
    year = uint16_t(tm.tm_year + 1900);
    month = uint8_t(tm.tm_mon + 1);
    day = uint8_t(tm.tm_mday);
}

// ---------------------------------------------------------------- control interface

void reset(const Scenario& scenario) {
    auto l = lock();
    State& s = state();
    s.sc = scenario;
    s.controllerIndex.valid = false;
    s.deviceIndexes.clear();
    s.changed = false;
    s.failures.clear();
    s.reportedLengths.clear();
    s.log.clear();
}

void reset() {
    reset(defaultScenario());
}

Scenario current() {
    auto l = lock();
    return state().sc;
}

void injectFailure(const std::string& entryPoint, int code, int adapter, bool every, unsigned after) {
    auto l = lock();
    state().failures.add(entryPoint, code, adapter, every, after);
}

void clearFailures() {
    auto l = lock();
    state().failures.clear();
    state().reportedLengths.clear();
}

void reportLength(const std::string& entryPoint, uint32_t length) {
    auto l = lock();
    state().reportedLengths[entryPoint] = length;
}

std::vector<Call> calls() {
    auto l = lock();
    return state().log.all();
}

std::vector<Call> calls(const std::string& entryPoint) {
    auto l = lock();
    return state().log.where([&](const Call& c) { return c.name == entryPoint; });
}

void clearCalls() {
    auto l = lock();
    state().log.clear();
}

void advanceClock(uint32_t seconds) {
    auto l = lock();
    state().sc.clock += seconds;
    advanceTasks(seconds);
}

uint64_t clock() {
    auto l = lock();
    return state().sc.clock;
}

} // namespace tarnellsim

extern "C" int TarnellSimDlInitCount(void) {
    auto l = tarnellsim::lock();
    return tarnellsim::state().dlInitCount;
}

extern "C" int TarnellSimDlTermCount(void) {
    auto l = tarnellsim::lock();
    return tarnellsim::state().dlTermCount;
}
