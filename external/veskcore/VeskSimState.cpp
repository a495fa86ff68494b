// The simulation's one global state and its control interface.

#include <mutex>

#include "SimControl.h"
#include "VeskSimInternal.h"

namespace vesksim {

namespace {

struct State {
    std::mutex mutex;
    Scenario sc = defaultScenario();
    unsigned reads = 0;
    simsupport::AllocationHook allocation;
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

} // namespace detail

} // namespace vesksim
