#include "storagedll/subscmnd.h"

SubSysCmnd::~SubSysCmnd() {}

// The subsystem interface is at version 0.6.0, without version text.
int SubSysCmnd::GetSubSysIntfVersion(_STORAGE_VERSION& version) {
    version.ulMajor = 0;
    version.ulMinor = 6;
    version.ulMaint = 0;
    version.uc3MValid = 3;
    version.ucTextValid = 0;
    return 0;
}
