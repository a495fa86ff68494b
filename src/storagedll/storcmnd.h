#ifndef STORCMND_H
#define STORCMND_H

// StorageCmnd: the storage level of the controller command interfaces, the
// first link of the chain StorageCmnd <- RaidCmnd <- SubSysCmnd. Every operation
// is pure virtual except the interface's own version query.

#include "RaidLib/Util/StorExport.h"
#include "storagedll/storops.h"

// Declares one operation of an interface from its table entry.
#define STORCMND_DECLARE(kind, name, params, args) STORCMND_DECLARE_##kind(name, params)
#define STORCMND_DECLARE_SRET(name, params) virtual S_Ret name params = 0;
#define STORCMND_DECLARE_INT(name, params) virtual int name params = 0;
#define STORCMND_DECLARE_BOOL(name, params) virtual BOOL name params = 0;
// The version query of the interface being declared has a body.
#define STORCMND_DECLARE_VERS(name, params) virtual int name params;

class STOR_EXPORT StorageCmnd {
public:
    virtual ~StorageCmnd();

    // ConstructorOK first; GetStorageIntfVersion, the tenth, answers 0.6.0.
    STORAPI_STORAGE_OPS(STORCMND_DECLARE)
};

#endif
