#ifndef JDLLRULES_H
#define JDLLRULES_H

// Rules of the legacy bridge's RAID natives that need no JVM: the size of a
// logical-drive table, the battery-backed cache fields of an enquiry, and
// the percentage of a task and the image of a progress record.

#include <cstddef>
#include <cstdint>

#include "RaidLib/Util/StorExport.h"
#include "storagedll/convtables.h"
#include "storagedll/raidrec.h"

namespace legacyjdll {

using legacyconv::BatteryCacheImage;
using legacyconv::DriveFlagsImage;
using legacyconv::ProgressImage;

// A logical-drive table is fetched only when its reported length is above
// this (it holds no entry otherwise); a longer one is read up to 256 entries.
const uint32_t LD_TABLE_FETCH_ABOVE = 207;
const uint32_t LD_TABLE_HEADER = 4;
const uint32_t LD_TABLE_MAX_BYTES = LD_TABLE_HEADER + 256 * sizeof(_VIRT_DRV_PARMS);

// The entries of a table of `reported` bytes, (reported - 4) / 204, never
// more than `allocated` bytes hold.
STOR_EXPORT uint32_t ldTableEntries(uint32_t reported, uint32_t allocated);

// The battery-backed cache fields of an enquiry: installed when bit 0x02 of
// the miscellaneous flag is set and the error code is not 1; the error code
// passes when the cache is installed or bit 0x20 is set, else 0.
STOR_EXPORT BatteryCacheImage batteryCache(const _ENQUIRY& enquiry);

// The percentage of a task: (size - remaining) x 100 / size, the difference
// a signed 32-bit value, computed exactly and truncated toward zero; 0 for a
// size of 0 and for a result outside -32768 .. 32767. Not clamped to 0-100.
STOR_EXPORT int32_t percentComplete(uint32_t size, uint32_t remaining);

// The progress record as Java gets it. The size entry is the one that
// ucVirtualDriveIndex names on an adapter whose implementation code is
// above 6, else the one that ucVirtDriveNumber names; an index of 8 or more
// names none (0 percent). A migration (opcode 0xBB) reports its ucLdmOption
// as the check option.
STOR_EXPORT ProgressImage progressImage(const _REBUILD_STATUS& status, uint32_t implementation);

} // namespace legacyjdll

#endif
