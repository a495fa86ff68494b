#include "RaidModel/Implementation/Tarnell/TarnellBasicArray.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "RaidModel/Filters/FilterCollection.h"
#include "RaidModel/Implementation/Tarnell/DllInterface/DllP.h"
#include "RaidModel/Implementation/Tarnell/TarnellAccess.h"
#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Implementation/Tarnell/TarnellTrace.h"
#include "RaidModel/Implementation/Tarnell/TarnellUtils.h"
#include "RaidModel/Interface/LogicalDrive.h"
#include "RaidModel/Interface/LogicalDriveSpec.h"
#include "storagedll/storintf.h"

namespace {

// How many drives one expansion may add.
const size_t MIN_ADDED_DRIVES = 1;
const size_t MAX_ADDED_DRIVES = 3;

typedef std::unique_ptr<_STORAGE_ADDRESS_ID[]> DriveList;

// A zeroed drive list of count entries; null when it cannot be had.
DriveList newDriveList(size_t count)
{
    return DriveList(new (std::nothrow) _STORAGE_ADDRESS_ID[count]());
}

// Fills entry with the controller address of the hard drive the chunk names
// on the adapter; false when the adapter holds no hard drive there.
bool fillDriveEntry(TarnellAdapter* adapter, const ChunkSpec& chunk, _STORAGE_ADDRESS_ID& entry)
{
    RaidObject* found = adapter->getObject(adapter->getAdapterID(), STORID_UNDEFINED, STORID_UNDEFINED,
                                           chunk.getChannelID(), chunk.getDeviceID());
    if (found == nullptr || !found->isInstanceOf("HardDrive"))
        return false;
    if (!tarnellAdapterAddress(adapter, entry))
        return false;
    entry.usChannelID = static_cast<uint16_t>(chunk.getChannelID());
    entry.usPhysDevID = static_cast<uint16_t>(chunk.getDeviceID());
    return true;
}

bool insideSpannedArray(const RaidObject* array)
{
    const RaidObject* parent = array->getParent();
    return parent != nullptr && parent->isInstanceOf("SpannedArray");
}

} // namespace

TarnellBasicArray::TarnellBasicArray() : BasicArray() { tarnellTraceConstruct("TarnellBasicArray"); }

TarnellBasicArray::TarnellBasicArray(const TarnellBasicArray& right) : BasicArray(right)
{
    tarnellTraceConstruct("TarnellBasicArray");
}

TarnellBasicArray::TarnellBasicArray(Adapter* adapterIN, int arrayIDIN, int sizeIN, int freeSpaceIN)
    : BasicArray(adapterIN, arrayIDIN, sizeIN, freeSpaceIN)
{
    tarnellTraceConstruct("TarnellBasicArray");
}

TarnellBasicArray::~TarnellBasicArray() { tarnellTraceDestruct("TarnellBasicArray"); }

bool TarnellBasicArray::isInstanceOf(const char* className) const
{
    return isClassName(className, "TarnellBasicArray") || BasicArray::isInstanceOf(className);
}

const char* TarnellBasicArray::typeName() const { return "TarnellBasicArray"; }

Ret TarnellBasicArray::increaseArrayFreeSpace(std::vector<ChunkSpec>& chunks)
{
    StoreDLLIntf* store = DllP::GetDLLPointer();
    TarnellAdapter* tarnellAdapter = asTarnellAdapter(adapter);
    _STORAGE_ADDRESS_ID arrayAddress;
    if (store == nullptr || !tarnellAdapterAddress(tarnellAdapter, arrayAddress))
        return Ret(Ret::CONTROLLER_FAILED);
    if (insideSpannedArray(this))
        return Ret(Ret::NOT_SUPPORTED);
    arrayAddress.usArrayID = static_cast<uint16_t>(getArrayID());

    // Checked at full width: a count narrowed to 16 bits first could wrap
    // into the accepted range.
    if (chunks.size() < MIN_ADDED_DRIVES || chunks.size() > MAX_ADDED_DRIVES)
        return Ret(Ret::BAD_PARAM);
    const uint16_t count = static_cast<uint16_t>(chunks.size());

    DriveList drives = newDriveList(count);
    if (!drives)
        return Ret(Ret::RESOURCE);
    for (uint16_t i = 0; i < count; ++i) {
        if (!fillDriveEntry(tarnellAdapter, chunks[i], drives[i]))
            return Ret(Ret::BAD_PARAM);
        for (uint16_t j = 0; j < i; ++j) {
            if (drives[j].usChannelID == drives[i].usChannelID || drives[j].usPhysDevID == drives[i].usPhysDevID)
                return Ret(Ret::BAD_PARAM);
        }
    }

    _ARRAY_SIZE size;
    std::memset(&size, 0, sizeof size);
    const S_Ret sret = store->IncreaseArraySize(arrayAddress, size, drives.get(), count);
    if (sret.iReturnCode != 0) {
        TarnellUtils::logMessage(WARNING_INFO, "Migration: increasing array size failed");
        return Ret(Ret::CONTROLLER_FAILED);
    }
    return Ret(Ret::SUCCESS);
}

Ret TarnellBasicArray::modifyLogicalDrive(LogicalDriveSpec& spec)
{
    StoreDLLIntf* store = DllP::GetDLLPointer();
    TarnellAdapter* tarnellAdapter = asTarnellAdapter(adapter);
    _STORAGE_ADDRESS_ID arrayAddress;
    if (store == nullptr || !tarnellAdapterAddress(tarnellAdapter, arrayAddress))
        return Ret(Ret::CONTROLLER_FAILED);
    if (insideSpannedArray(this))
        return Ret(Ret::NOT_SUPPORTED);

    FilterCollection logicalDrives(this);
    logicalDrives.apply("TarnellBasicLogicalDrive", false);
    if (logicalDrives.size() == 0)
        return Ret(Ret::CONTROLLER_FAILED);
    LogicalDrive* first = static_cast<LogicalDrive*>(logicalDrives.elementAt(0));
    const EnumRaidLevel current = first->getRaidLevel();
    for (unsigned long i = 1; i < logicalDrives.size(); ++i) {
        if (static_cast<LogicalDrive*>(logicalDrives.elementAt(static_cast<int>(i)))->getRaidLevel() != current) {
            std::printf("Array should contain all the logical drives of same raid level\n");
            std::fflush(stdout);
            return Ret(Ret::BAD_PARAM);
        }
    }
    arrayAddress.usArrayID = static_cast<uint16_t>(getArrayID());

    const EnumRaidLevel requested = spec.raidLevel;
    bool addsDrive;
    if (current == RAID5 && requested == RAID0) {
        addsDrive = false;
    } else if (current == RAID5E && requested == RAID5) {
        addsDrive = false;
    } else if (current == RAID1 && requested == RAID5) {
        addsDrive = true;
    } else if (current == RAID0 && requested == RAID5) {
        // A one-chunk RAID-0 drive cannot become RAID-5.
        FilterCollection chunksOfFirst(first);
        chunksOfFirst.apply("Chunk", false);
        if (chunksOfFirst.size() <= 1)
            return Ret(Ret::NOT_SUPPORTED);
        addsDrive = true;
    } else {
        return Ret(Ret::NOT_SUPPORTED);
    }

    DriveList drives;
    uint16_t count = 0;
    if (addsDrive) {
        if (spec.chunks.size() != 1)
            return Ret(Ret::BAD_PARAM);
        count = 1;
        drives = newDriveList(count);
        if (!drives)
            return Ret(Ret::RESOURCE);
        if (!fillDriveEntry(tarnellAdapter, spec.chunks[0], drives[0]))
            return Ret(Ret::BAD_PARAM);
    }

    const uint16_t raidCode = static_cast<uint16_t>(TarnellAdapter::getOtherRaidDef(requested, true));
    const S_Ret sret = store->ModifyArrayRaidLevel(arrayAddress, raidCode, drives.get(), count);
    if (sret.iReturnCode != 0) {
        TarnellUtils::logMessage(WARNING_INFO, "Migrating raid level failed");
        return Ret(Ret::CONTROLLER_FAILED);
    }
    return Ret(Ret::SUCCESS);
}
