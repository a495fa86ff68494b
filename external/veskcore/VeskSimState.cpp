// The simulation's one global state and its control interface.

#include <algorithm>
#include <map>
#include <mutex>
#include <tuple>

#include "SimControl.h"
#include "VeskSimInternal.h"

namespace vesksim {

namespace {

// An event list holding the completion event of a controller diagnostic.
std::string completionEvent()
{
    return "<events>\n"
           "<event eventCode=\"0x10000000\" subTypeCode=\"3\" generalUpdateEventCode=\"1\"/>\n"
           "</events>\n";
}

struct State {
    std::mutex mutex;
    Scenario sc = defaultScenario();
    unsigned reads = 0;
    simsupport::AllocationHook allocation;
    std::vector<DiagnosticCall> calls;
    std::map<std::string, int> results;
    std::map<std::tuple<std::string, uint32_t, uint32_t>, int> driveResults;
    EnumDiskDiagStatus diagStatus = EnumDiskDiagStatus(0);
    uint32_t diagTenths = 0;
    std::vector<std::string> events = {completionEvent()};
    unsigned eventReads = 0;
};

State& state()
{
    static State s;
    return s;
}

std::unique_lock<std::mutex> lock() { return std::unique_lock<std::mutex>(state().mutex); }

} // namespace

void reset(const Scenario& scenario)
{
    auto l = lock();
    state().sc = scenario;
    state().reads = 0;
    state().allocation.take();
    state().calls.clear();
    state().results.clear();
    state().driveResults.clear();
    state().diagStatus = EnumDiskDiagStatus(0);
    state().diagTenths = 0;
    state().events = {completionEvent()};
    state().eventReads = 0;
}

void reset() { reset(defaultScenario()); }

Scenario current()
{
    auto l = lock();
    return state().sc;
}

unsigned configurationReads()
{
    auto l = lock();
    return state().reads;
}

void failNextAllocation() { state().allocation.armNext(); }

std::vector<DiagnosticCall> diagnosticCalls()
{
    auto l = lock();
    return state().calls;
}

void setDiagnosticResult(const std::string& operation, int code)
{
    auto l = lock();
    state().results[operation] = code;
}

void setDriveDiagnosticResult(const std::string& operation, uint32_t channel, uint32_t device, int code)
{
    auto l = lock();
    state().driveResults[std::make_tuple(operation, channel, device)] = code;
}

void setDiskDiagnosticState(EnumDiskDiagStatus status, uint32_t tenthsOfAPercent)
{
    auto l = lock();
    state().diagStatus = status;
    state().diagTenths = tenthsOfAPercent;
}

void setEventDocuments(const std::vector<std::string>& documents)
{
    auto l = lock();
    state().events = documents;
}

unsigned eventReads()
{
    auto l = lock();
    return state().eventReads;
}

namespace detail {

std::vector<Controller> readControllers()
{
    auto l = lock();
    ++state().reads;
    return state().sc.controllers;
}

uint32_t controllerCount()
{
    auto l = lock();
    return uint32_t(state().sc.controllers.size());
}

bool allocationFails() { return state().allocation.take(); }

int diagnose(const DiagnosticCall& call)
{
    auto l = lock();
    state().calls.push_back(call);
    auto drive = state().driveResults.find(std::make_tuple(call.operation, call.channel, call.device));
    if (drive != state().driveResults.end())
        return drive->second;
    auto any = state().results.find(call.operation);
    return any == state().results.end() ? 0 : any->second;
}

void diskDiagnosticState(EnumDiskDiagStatus& status, uint32_t& tenthsOfAPercent)
{
    auto l = lock();
    status = state().diagStatus;
    tenthsOfAPercent = state().diagTenths;
}

bool readEvents(std::string& document)
{
    auto l = lock();
    const unsigned read = state().eventReads++;
    if (state().events.empty())
        return false;
    document = state().events[std::min<size_t>(read, state().events.size() - 1)];
    return true;
}

} // namespace detail

} // namespace vesksim
