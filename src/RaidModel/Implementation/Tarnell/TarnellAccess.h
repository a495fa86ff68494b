#ifndef TARNELLACCESS_H
#define TARNELLACCESS_H

// What every controller request of a Tarnell model object starts from: the
// object's adapter as a TarnellAdapter and a C-API address that names its
// controller.

#include "RaidLib/Util/StorExport.h"
#include "storagedll/storrec.h"

class Adapter;
class TarnellAdapter;

// The adapter as a TarnellAdapter; null when there is none or it belongs to
// another family.
STOR_EXPORT TarnellAdapter* asTarnellAdapter(Adapter* adapter);

// A zeroed address whose usAdapterID is the adapter's C-API number. False,
// and the address untouched, when the adapter is null or its C-API number is
// unknown: then no request may be sent for it.
STOR_EXPORT bool tarnellAdapterAddress(const TarnellAdapter* adapter, _STORAGE_ADDRESS_ID& address);

#endif
