// Event rules of the controller as a whole.

#include "RaidModel/Implementation/Tarnell/TarnellEvents.h"

bool TarnellEvents::compareAdapterConfigs(TarnellAdapter*, TarnellAdapter*, std::string&) { return false; }
