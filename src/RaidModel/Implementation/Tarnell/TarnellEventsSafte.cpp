// Event rules of the SAF-TE enclosures.

#include "RaidModel/Implementation/Tarnell/TarnellEvents.h"

bool TarnellEvents::compareSafteConfigs(TarnellAdapter*, TarnellAdapter*, std::string&) { return false; }

void TarnellEvents::checkSafte(TarnellAdapter*, std::string&) {}
