#ifndef PELMSIM_INTERNAL_H
#define PELMSIM_INTERNAL_H

// What the library's model and operations ask of the simulated controllers.
// Every function takes the simulation's lock itself.

#include <cstdint>
#include <string>
#include <vector>

#include "PelmSim.h"

namespace pelmsim {
namespace detail {

// True when the whole configuration read is made to fail; the failed read
// is logged (code -3).
bool configurationReadFails();
// A copy of the controllers for a configuration read, without those made
// to fail; the code of the last of them in failedCode (0 when none).
std::vector<Controller> readControllers(int& failedCode);
uint32_t controllerCount();

// The injected code of a call of the operation concerning the controller,
// consuming a one-shot failure; 0 when the call is to go ahead.
int injectedCode(const char* operation, int adapter);
void logCall(const Call& call);
// True once after failNextAllocation.
bool allocationFails();

// The controller's events numbered from on, ascending; false when the
// controller is gone.
bool eventsOf(uint32_t controller, unsigned long from, std::vector<Event>& events);
// The task on the logical drive (running false when none); false when the
// controller or the drive is gone.
bool taskOf(uint32_t controller, unsigned logicalDrive, Task& task, bool& running);

} // namespace detail
} // namespace pelmsim

#endif
