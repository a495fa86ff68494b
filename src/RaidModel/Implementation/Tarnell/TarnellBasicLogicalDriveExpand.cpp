// Growing a basic logical drive of a Tarnell controller by further hard
// drives; the controller carries it out as a migration.

#include <memory>
#include <new>

#include "RaidModel/Implementation/Tarnell/DllInterface/DllP.h"
#include "RaidModel/Implementation/Tarnell/TarnellAccess.h"
#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Implementation/Tarnell/TarnellBasicLogicalDrive.h"
#include "RaidModel/Implementation/Tarnell/TarnellCreateSupport.h"
#include "RaidModel/Implementation/Tarnell/TarnellUtils.h"
#include "storagedll/storintf.h"

namespace {

// How many drives one expansion may add.
const size_t MIN_ADDED_DRIVES = 1;
const size_t MAX_ADDED_DRIVES = 3;

} // namespace

Ret TarnellBasicLogicalDrive::increaseLogicalDriveSize(std::vector<ChunkSpec>& chunksIN)
{
    StoreDLLIntf* store = DllP::GetDLLPointer();
    if (store == nullptr)
        return Ret(Ret::CONTROLLER_FAILED);
    if (parent != nullptr && parent->isInstanceOf("HLogicalDrive"))
        return Ret(Ret::NOT_SUPPORTED);
    _STORAGE_ADDRESS_ID virtDevAddr;
    if (!driveAddress(virtDevAddr))
        return Ret(Ret::CONTROLLER_FAILED);
    if (chunksIN.size() < MIN_ADDED_DRIVES || chunksIN.size() > MAX_ADDED_DRIVES)
        return Ret(Ret::BAD_PARAM);
    const uint16_t hardDriveCount = static_cast<uint16_t>(chunksIN.size());

    std::unique_ptr<_STORAGE_ADDRESS_ID[]> hardDriveAddrList(new (std::nothrow) _STORAGE_ADDRESS_ID[hardDriveCount]());
    if (!hardDriveAddrList)
        return Ret(Ret::RESOURCE);

    // The new drives must be hard drives of the adapter on pairwise
    // different channels with pairwise different device ids.
    TarnellAdapter* tarnellAdapter = asTarnellAdapter(adapter);
    for (uint16_t i = 0; i < hardDriveCount; ++i) {
        const ChunkSpec& chunk = chunksIN[i];
        if (tarnellcreate::chunkHardDrive(tarnellAdapter, chunk) == nullptr)
            return Ret(Ret::BAD_PARAM);
        _STORAGE_ADDRESS_ID& entry = hardDriveAddrList[i];
        tarnellAdapterAddress(tarnellAdapter, entry);
        entry.usChannelID = static_cast<uint16_t>(chunk.getChannelID());
        entry.usPhysDevID = static_cast<uint16_t>(chunk.getDeviceID());
        for (uint16_t j = 0; j < i; ++j) {
            if (hardDriveAddrList[j].usChannelID == entry.usChannelID ||
                hardDriveAddrList[j].usPhysDevID == entry.usPhysDevID)
                return Ret(Ret::BAD_PARAM);
        }
    }

    _DEVICE_SIZE newVirtDevSize = {};
    const S_Ret sret = store->IncreaseVirtDevSizes(virtDevAddr, newVirtDevSize, hardDriveAddrList.get(), hardDriveCount);
    if (sret.iReturnCode != 0) {
        TarnellUtils::logMessage(WARNING_INFO, "Migration: increasing logical drives size failed");
        return Ret(Ret::CONTROLLER_FAILED);
    }
    return Ret(Ret::SUCCESS);
}
