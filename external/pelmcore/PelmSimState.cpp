// The simulation's one global state: its control interface, the scripted
// changes, and what the library reads of it.

#include <algorithm>
#include <mutex>

#include "LDPathUtils.h"
#include "PelmSimInternal.h"

namespace pelmsim {

namespace {

struct State {
    std::mutex mutex;
    Scenario sc = defaultScenario();
    simsupport::FailureTable failures;
    simsupport::CallLog<Call> log;
    simsupport::AllocationHook allocation;
};

State& state()
{
    static State s;
    return s;
}

std::unique_lock<std::mutex> lock() { return std::unique_lock<std::mutex>(state().mutex); }

// The injected code of a call; 0 when it is to go ahead. With exact, only
// a failure naming this very controller matches (the per-controller parts
// of a configuration read).
int takeFailure(const char* operation, int adapter, bool exact)
{
    int code = 0;
    return state().failures.take(operation, adapter, code, exact) ? code : 0;
}

Controller* findController(uint32_t number)
{
    for (Controller& c : state().sc.controllers) {
        if (c.number == number)
            return &c;
    }
    return nullptr;
}

Drive* findDrive(Controller& c, unsigned channel, unsigned target)
{
    for (Drive& d : c.drives) {
        if (d.channel == channel && d.target == target)
            return &d;
    }
    return nullptr;
}

LogicalDrive* findLogicalDrive(Controller& c, unsigned number)
{
    for (LogicalDrive& d : c.logicalDrives) {
        if (d.number == number)
            return &d;
    }
    return nullptr;
}

std::string relativePath(EnumLDTreeKind kind, unsigned channel, unsigned target, unsigned logicalDrive)
{
    _LDTree path = {};
    path.kind = kind;
    path.channel = static_cast<uint8_t>(channel);
    path.target = static_cast<uint16_t>(target);
    path.logicalDrive = static_cast<uint16_t>(logicalDrive);
    char text[LDPathUtils::MAX_TEXT + 1];
    LDPathUtils::sPrintRelativePath(path, text, sizeof text);
    return text;
}

uint32_t append(Controller& c, Event event)
{
    event.sequence = c.nextSequence++;
    c.events.push_back(event);
    return event.sequence;
}

// The sense codes a task appends when it starts and when it ends; false for
// a task type that appends none.
struct TaskCodes {
    int start;
    int end;
    const char* startText;
    const char* endText;
};

bool taskCodes(EnumTaskType type, TaskCodes& codes)
{
    switch (type) {
    case TASK_REBUILD:
        codes = {0x10, 0x11, "Rebuild started", "Rebuild complete"};
        return true;
    case TASK_VERIFY:
    case TASK_VERIFY_NO_FIX:
        codes = {0x13, 0x14, "Synchronization started", "Synchronization complete"};
        return true;
    case TASK_CLEAR:
        codes = {0x19, 0x1a, "Initialization started", "Initialization complete"};
        return true;
    default:
        return false;
    }
}

const int QUAL_INFORMATION = 7;
const int QUAL_WARNING = 0;
const int SENSE_KEY_TASK = 1;
const int SENSE_KEY_MEDIUM_ERROR = 3;
const int STATUS_CHECK_CONDITION = 2;

void appendTaskEvent(Controller& c, const Task& task, bool start)
{
    TaskCodes codes;
    if (!taskCodes(task.type, codes))
        return;
    Event e;
    e.qual = QUAL_INFORMATION;
    e.senseKey = SENSE_KEY_TASK;
    e.additionalSenseCode = start ? codes.start : codes.end;
    e.ldPath = relativePath(LDTREE_LOGICAL_DRIVE, 0, 0, task.logicalDrive);
    e.description = start ? codes.startText : codes.endText;
    append(c, e);
}

// A rebuild that ends leaves its drive OKAY and its rebuilt disks online.
void finishTask(Controller& c, const Task& task)
{
    appendTaskEvent(c, task, false);
    if (task.type != TASK_REBUILD)
        return;
    LogicalDrive* logical = findLogicalDrive(c, task.logicalDrive);
    if (!logical)
        return;
    if (logical->state == CRITICAL)
        logical->state = OKAY;
    for (const Chunk& chunk : logical->chunks) {
        Drive* disk = findDrive(c, chunk.channel, chunk.target);
        if (disk && disk->state == DRIVE_REBUILDING)
            disk->state = DRIVE_ONLINE;
    }
}

void advanceTasks(Controller& c, uint32_t seconds)
{
    std::vector<Task> running;
    for (Task& task : c.tasks) {
        const uint64_t percent = uint64_t(task.percent) + uint64_t(task.percentPerSecond) * seconds;
        task.percent = uint32_t(std::min<uint64_t>(percent, 100));
        if (task.percent < 100)
            running.push_back(task);
        else
            finishTask(c, task);
    }
    c.tasks = running;
}

} // namespace

// ---------------------------------------------------------------- control interface

void reset(const Scenario& scenario)
{
    auto l = lock();
    State& s = state();
    s.sc = scenario;
    s.failures.clear();
    s.log.clear();
    s.allocation.take();
}

void reset() { reset(defaultScenario()); }

Scenario current()
{
    auto l = lock();
    return state().sc;
}

void injectFailure(const std::string& operation, int code, int adapter, bool every, unsigned after)
{
    auto l = lock();
    state().failures.add(operation, code, adapter, every, after);
}

void clearFailures()
{
    auto l = lock();
    state().failures.clear();
}

void failNextAllocation() { state().allocation.armNext(); }

std::vector<Call> calls()
{
    auto l = lock();
    return state().log.all();
}

std::vector<Call> calls(const std::string& operation)
{
    auto l = lock();
    return state().log.where([&](const Call& c) { return c.operation == operation; });
}

void clearCalls()
{
    auto l = lock();
    state().log.clear();
}

bool setDriveState(uint32_t controller, unsigned channel, unsigned target, EnumPhysicalDeviceState newState)
{
    auto l = lock();
    Controller* c = findController(controller);
    Drive* d = c ? findDrive(*c, channel, target) : nullptr;
    if (!d)
        return false;
    d->state = newState;
    return true;
}

bool setLogicalDriveState(uint32_t controller, unsigned logicalDrive, EnumLogicalDeviceState newState)
{
    auto l = lock();
    Controller* c = findController(controller);
    LogicalDrive* d = c ? findLogicalDrive(*c, logicalDrive) : nullptr;
    if (!d)
        return false;
    d->state = newState;
    return true;
}

bool startTask(uint32_t controller, unsigned logicalDrive, EnumTaskType type, uint32_t percent,
               uint32_t percentPerSecond)
{
    auto l = lock();
    Controller* c = findController(controller);
    if (!c || !findLogicalDrive(*c, logicalDrive))
        return false;
    for (const Task& t : c->tasks) {
        if (t.logicalDrive == logicalDrive)
            return false;
    }
    Task task;
    task.logicalDrive = static_cast<uint16_t>(logicalDrive);
    task.type = type;
    task.percent = std::min<uint32_t>(percent, 100);
    task.percentPerSecond = percentPerSecond;
    appendTaskEvent(*c, task, true);
    if (task.percent < 100)
        c->tasks.push_back(task);
    else
        finishTask(*c, task);
    return true;
}

bool mediaError(uint32_t controller, unsigned channel, unsigned target, bool repaired)
{
    auto l = lock();
    Controller* c = findController(controller);
    if (!c || !findDrive(*c, channel, target))
        return false;
    Event e;
    e.qual = repaired ? QUAL_INFORMATION : QUAL_WARNING;
    e.status = repaired ? 0 : STATUS_CHECK_CONDITION;
    e.senseKey = repaired ? SENSE_KEY_TASK : SENSE_KEY_MEDIUM_ERROR;
    e.additionalSenseCode = repaired ? 0x80 : 0x81;
    e.ldPath = relativePath(LDTREE_HARD_DRIVE, channel, target, 0);
    e.description = repaired ? "Media error repaired" : "Media error found";
    append(*c, e);
    return true;
}

bool appendEvent(uint32_t controller, const Event& event, uint32_t* sequence)
{
    auto l = lock();
    Controller* c = findController(controller);
    if (!c)
        return false;
    const uint32_t number = append(*c, event);
    if (sequence)
        *sequence = number;
    return true;
}

bool addController(const Controller& controller)
{
    auto l = lock();
    if (findController(controller.number))
        return false;
    state().sc.controllers.push_back(controller);
    return true;
}

bool removeController(uint32_t controller)
{
    auto l = lock();
    std::vector<Controller>& all = state().sc.controllers;
    auto it = std::find_if(all.begin(), all.end(), [&](const Controller& c) { return c.number == controller; });
    if (it == all.end())
        return false;
    all.erase(it);
    return true;
}

bool moveController(uint32_t controller, uint8_t pciBus, uint8_t pciDevice, uint8_t pciFunction)
{
    auto l = lock();
    Controller* c = findController(controller);
    if (!c)
        return false;
    c->pciBus = pciBus;
    c->pciDevice = pciDevice;
    c->pciFunction = pciFunction;
    return true;
}

void advanceClock(uint32_t seconds)
{
    auto l = lock();
    state().sc.clock += seconds;
    for (Controller& c : state().sc.controllers)
        advanceTasks(c, seconds);
}

uint64_t clock()
{
    auto l = lock();
    return state().sc.clock;
}

// ---------------------------------------------------------------- what the library reads

namespace detail {

bool configurationReadFails()
{
    auto l = lock();
    if (takeFailure("getSystemConfig", ANY_ADAPTER, false) == 0)
        return false;
    Call call;
    call.operation = "getSystemConfig";
    call.result = Ret::RESOURCE;
    state().log.append(call);
    return true;
}

std::vector<Controller> readControllers(int& failedCode)
{
    auto l = lock();
    failedCode = 0;
    std::vector<Controller> read;
    for (const Controller& c : state().sc.controllers) {
        const int code = takeFailure("getSystemConfig", int(c.number), true);
        if (code != 0)
            failedCode = code;
        else
            read.push_back(c);
    }
    return read;
}

uint32_t controllerCount()
{
    auto l = lock();
    return uint32_t(state().sc.controllers.size());
}

int injectedCode(const char* operation, int adapter)
{
    auto l = lock();
    return takeFailure(operation, adapter, false);
}

void logCall(const Call& call)
{
    auto l = lock();
    state().log.append(call);
}

bool allocationFails() { return state().allocation.take(); }

bool eventsOf(uint32_t controller, unsigned long from, std::vector<Event>& events)
{
    auto l = lock();
    const Controller* c = findController(controller);
    if (!c)
        return false;
    events.clear();
    for (const Event& e : c->events) {
        if (e.sequence >= from)
            events.push_back(e);
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const Event& a, const Event& b) { return a.sequence < b.sequence; });
    return true;
}

bool taskOf(uint32_t controller, unsigned logicalDrive, Task& task, bool& running)
{
    auto l = lock();
    Controller* c = findController(controller);
    if (!c || !findLogicalDrive(*c, logicalDrive))
        return false;
    running = false;
    for (const Task& t : c->tasks) {
        if (t.logicalDrive == logicalDrive) {
            task = t;
            running = true;
        }
    }
    return true;
}

} // namespace detail

} // namespace pelmsim
