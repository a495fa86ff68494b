#include "RaidModel/Implementation/Tarnell/TarnellCreateSupport.h"

#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Implementation/Tarnell/TarnellUtils.h"
#include "RaidModel/Interface/HardDrive.h"
#include "storagedll/storintf.h"

namespace tarnellcreate {

HardDrive* chunkHardDrive(TarnellAdapter* adapter, const ChunkSpec& chunk)
{
    if (adapter == nullptr)
        return nullptr;
    RaidObject* found = adapter->getObject(adapter->getAdapterID(), STORID_UNDEFINED, STORID_UNDEFINED,
                                           chunk.getChannelID(), chunk.getDeviceID());
    if (found == nullptr || !found->isInstanceOf("HardDrive"))
        return nullptr;
    return static_cast<HardDrive*>(found);
}

unsigned lowestFreeVirtDevID(const _STORAGE_ADDRESS_ID* list, unsigned count)
{
    if (count > MAX_VIRT_DEVS)
        count = MAX_VIRT_DEVS;
    unsigned candidate = 0;
    for (bool taken = true; taken && candidate < MAX_VIRT_DEVS;) {
        taken = false;
        for (unsigned i = 0; i < count; ++i) {
            if (list[i].usVirtDevID == candidate) {
                taken = true;
                ++candidate;
                break;
            }
        }
    }
    return candidate;
}

void deleteSubDrives(StoreDLLIntf* store, const _STORAGE_ADDRESS_ID* list, unsigned count)
{
    for (unsigned i = 0; i < count; ++i) {
        if (store->DeleteVirtDevOption(list[i], SUB_DRIVE_OPTION).iReturnCode != 0)
            TarnellUtils::logMessage(WARNING_INFO, "Deleting sub-logical drives failed");
    }
}

} // namespace tarnellcreate
