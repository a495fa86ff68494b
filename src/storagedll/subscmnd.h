#ifndef SUBSCMND_H
#define SUBSCMND_H

// SubSysCmnd: the subsystem level of the controller command interfaces, the
// last link of the chain.

#include "storagedll/raidcmnd.h"

class STOR_EXPORT SubSysCmnd : public RaidCmnd {
public:
    ~SubSysCmnd() override;

    // IsSubSystemPresent first; GetSubSysIntfVersion, the second, answers 0.6.0.
    STORAPI_SUBSYS_OPS(STORCMND_DECLARE)
};

#endif
