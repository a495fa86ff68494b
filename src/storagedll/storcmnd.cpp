#include "storagedll/storcmnd.h"

StorageCmnd::~StorageCmnd() {}

// The storage interface is at version 0.6.0; the other fields are left alone.
int StorageCmnd::GetStorageIntfVersion(_STORAGE_VERSION& version) {
    version.ulMajor = 0;
    version.ulMinor = 6;
    version.ulMaint = 0;
    return 0;
}
