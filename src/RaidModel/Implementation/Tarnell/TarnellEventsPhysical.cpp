// Event rules of the hard drives.

#include "RaidModel/Implementation/Tarnell/TarnellEvents.h"

bool TarnellEvents::comparePhyDriveConfigs(TarnellAdapter*, TarnellAdapter*, std::string&) { return false; }

void TarnellEvents::checkPhyDrive(TarnellAdapter*, TarnellHardDrive*, std::string&) {}
