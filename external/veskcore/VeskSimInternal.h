#ifndef VESKSIM_INTERNAL_H
#define VESKSIM_INTERNAL_H

// What the library's model asks of the simulated controllers. Every function
// takes the simulation's lock itself.

#include <cstdint>
#include <vector>

#include "VeskSim.h"

namespace vesksim {
namespace detail {

// A copy of the controllers for a configuration read, which it counts.
std::vector<Controller> readControllers();
uint32_t controllerCount();
// True once after failNextAllocation.
bool allocationFails();

} // namespace detail
} // namespace vesksim

#endif
