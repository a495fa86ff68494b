// Event rules of the logical drives.

#include "RaidModel/Implementation/Tarnell/TarnellEvents.h"

bool TarnellEvents::compareLDConfigs(TarnellAdapter*, TarnellAdapter*, std::string&) { return false; }

void TarnellEvents::checkLogicalDrive(TarnellAdapter*, LogicalDrive*, std::string&) {}
