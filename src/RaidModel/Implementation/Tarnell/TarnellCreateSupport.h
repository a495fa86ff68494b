#ifndef TARNELLCREATESUPPORT_H
#define TARNELLCREATESUPPORT_H

// What the creations of basic and spanned logical drives share: the
// controller's list of its virtual devices, the choice of a free top-level
// id, the checks of a request's chunks, and bounded reads of the adapter's
// logical-drive tables. Internal to the library.

#include <cstdint>
#include <vector>

#include "RaidLib/Util/Ret.h"
#include "RaidModel/Interface/ChunkSpec.h"
#include "storagedll/raidrec.h"
#include "storagedll/storrec.h"

class HardDrive;
class StoreDLLIntf;
class TarnellAdapter;

namespace tarnellcreate {

// The controller's top-level ids are 0 to 7; its virtual-device list and
// the sub-drive list of a spanned drive hold 8 records each.
const unsigned MAX_VIRT_DEVS = 8;

// Selector of a new drive's write-policy request and of the first task.
const uint32_t NEW_DRIVE_MAP = STADDR_MAP_VIRT_DEV;
// Check option of the synchronization that a new drive starts with.
const uint8_t INITIAL_SYNC_OPTION = 0x81;
// DeleteVirtDevOption and CreateVirtDev option of a sub-logical drive.
const uint8_t SUB_DRIVE_OPTION = 2;

// The hard drive of the adapter that a chunk names (by channel and device);
// null when the adapter holds none there.
HardDrive* chunkHardDrive(TarnellAdapter* adapter, const ChunkSpec& chunk);

// The lowest top-level id 0 to 7 that none of the first count records of
// the list (never more than 8) carries; 8 when all are in use.
unsigned lowestFreeVirtDevID(const _STORAGE_ADDRESS_ID* list, unsigned count);

// The number of whole entries a logical-drive table of that many bytes
// holds.
inline unsigned tableEntries(int tableBytes)
{
    return tableBytes > 0 ? static_cast<unsigned>(tableBytes) / sizeof(_VIRT_DRV_PARMS) : 0u;
}

// The array id of a table entry: bits 5 to 7 of its user field.
inline unsigned entryArrayID(const _VIRT_DRV_PARMS& entry) { return (entry.usUserField >> 5) & 0x07u; }

// A chunk's size in MiB as the controller counts it: its blocks shifted
// right by 11, kept to 32 bits.
inline uint32_t chunkMiB(const ChunkSpec& chunk) { return static_cast<uint32_t>(chunk.getNumBlocks() >> 11); }

// Deletes the first count sub-logical drives of the list, in list order,
// logging "Deleting sub-logical drives failed" for each that stays.
void deleteSubDrives(StoreDLLIntf* store, const _STORAGE_ADDRESS_ID* list, unsigned count);

} // namespace tarnellcreate

#endif
