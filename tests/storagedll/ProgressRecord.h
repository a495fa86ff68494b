#ifndef TESTS_STORAGEDLL_PROGRESSRECORD_H
#define TESTS_STORAGEDLL_PROGRESSRECORD_H

#include <cstring>

#include "storagedll/raidrec.h"

// A task-progress record of the tests: a rebuild (opcode 0x16) of drive 2,
// drive index 5, check option 0x11, migration kind 2, status 0x30, device
// 1:4; size entry 2 of 3 blocks with 2 remaining, entry 5 of 1000 with 250.
inline _REBUILD_STATUS sampleProgressRecord()
{
    _REBUILD_STATUS r;
    std::memset(&r, 0, sizeof r);
    r.ucOpcode = 0x16;
    r.ucVirtDriveNumber = 2;
    r.ucVirtualDriveIndex = 5;
    r.ucCheckOption = 0x11;
    r.ucLdmOption = 0x02;
    r.ucStatus = 0x30;
    r.ucDevChnID = 1;
    r.ucDevTgtID = 4;
    r.sVirtualDrive[2].ulVirtDriveSize = 3;
    r.sVirtualDrive[2].ulRemainingBlocks = 2;
    r.sVirtualDrive[5].ulVirtDriveSize = 1000;
    r.sVirtualDrive[5].ulRemainingBlocks = 250;
    return r;
}

#endif
