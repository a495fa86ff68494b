// Event rules of the tasks a controller runs on its drives.

#include "RaidModel/Implementation/Tarnell/TarnellEvents.h"

bool TarnellEvents::compareProgress(TarnellAdapter*, std::string&) { return false; }
