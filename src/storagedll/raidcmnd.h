#ifndef RAIDCMND_H
#define RAIDCMND_H

// RaidCmnd: the RAID level of the controller command interfaces.

#include "storagedll/storcmnd.h"

class STOR_EXPORT RaidCmnd : public StorageCmnd {
public:
    ~RaidCmnd() override;

    // GetClusterDllVersion first; GetRaidIntfVersion, the eighth, answers 0.6.0.
    STORAPI_RAID_OPS(STORCMND_DECLARE)
};

#endif
