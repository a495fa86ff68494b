#ifndef VESKSIM_INTERNAL_H
#define VESKSIM_INTERNAL_H

// What the library's model asks of the simulated controllers. Every function
// takes the simulation's lock itself.

#include <cstdint>
#include <string>
#include <vector>

#include "VeskSim.h"

namespace vesksim {
namespace detail {

// A copy of the controllers for a configuration read, which it counts.
std::vector<Controller> readControllers();
uint32_t controllerCount();
// True once after failNextAllocation.
bool allocationFails();

// Records a diagnostic request and answers its scripted return code.
int diagnose(const DiagnosticCall& call);
// The scripted self-test state.
void diskDiagnosticState(EnumDiskDiagStatus& status, uint32_t& tenthsOfAPercent);
// The next event document; false when there is none.
bool readEvents(std::string& document);

} // namespace detail
} // namespace vesksim

#endif
