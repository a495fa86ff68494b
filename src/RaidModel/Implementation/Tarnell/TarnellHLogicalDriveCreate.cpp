// Creation of a spanned (two-level) logical drive on a Tarnell controller:
// one sub-logical drive per group of the request's chunks, then the
// hierarchical drive over them.

#include <cstdio>

#include "RaidModel/Filters/FilterCollection.h"
#include "RaidModel/Implementation/Tarnell/DllInterface/DllP.h"
#include "RaidModel/Implementation/Tarnell/TarnellAccess.h"
#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Implementation/Tarnell/TarnellBasicLogicalDrive.h"
#include "RaidModel/Implementation/Tarnell/TarnellCreateSupport.h"
#include "RaidModel/Implementation/Tarnell/TarnellHLogicalDrive.h"
#include "RaidModel/Implementation/Tarnell/TarnellSpannedArray.h"
#include "RaidModel/Implementation/Tarnell/TarnellUtils.h"
#include "RaidModel/Interface/HardDrive.h"
#include "RaidModel/Interface/LogicalDriveSpec.h"
#include "storagedll/storintf.h"

using namespace tarnellcreate;

namespace {

// Spanned-array ids are 0 to 3.
const unsigned MAX_SPANNED_ARRAYS = 4;

void refuse(const char* line)
{
    std::fputs(line, stdout);
    std::fputs("\n", stdout);
    std::fflush(stdout);
}

// Checks the request's chunks before anything reaches the controller: at
// least one, group numbers 0 to 7 with every group up to the highest
// holding a chunk, and every chunk on a hard drive of the adapter. Gives the
// number of groups and the size in blocks of the smallest drive named.
bool chunksAcceptable(TarnellAdapter* adapter, const LogicalDriveSpec& spec, unsigned& groupCount,
                      BLOCK_T& smallestDrive)
{
    if (spec.chunks.empty())
        return false;
    bool used[MAX_VIRT_DEVS] = {};
    groupCount = 0;
    bool first = true;
    for (const ChunkSpec& chunk : spec.chunks) {
        const uint32_t group = chunk.getGroupNum();
        if (group >= MAX_VIRT_DEVS)
            return false;
        used[group] = true;
        if (group + 1 > groupCount)
            groupCount = group + 1;
        const HardDrive* drive = chunkHardDrive(adapter, chunk);
        if (drive == nullptr)
            return false;
        if (first || drive->getSize() < smallestDrive)
            smallestDrive = drive->getSize();
        first = false;
    }
    for (unsigned g = 0; g < groupCount; ++g) {
        if (!used[g])
            return false;
    }
    return true;
}

// The sub-logical drives of an existing spanned array: those of the first
// hierarchical entry of the HLD table (among its first count entries) that
// names the array. False when there is no such entry, or when the entry
// claims more sub-drives than a spanned drive has or names a slot outside
// the SLD table.
bool existingSubDrives(const TarnellAdapter* adapter, const _STORAGE_ADDRESS_ID& adapterStAddr, unsigned count,
                       unsigned spannedArrayID, _STORAGE_ADDRESS_ID* subDrives, uint16_t& subCount)
{
    const _VIRT_DRV_PARMS* hldTable = adapter->getHLDTable();
    const _VIRT_DRV_PARMS* sldTable = adapter->getSLDTable();
    if (hldTable == nullptr || sldTable == nullptr)
        return false;
    unsigned hldEntries = tableEntries(adapter->getHLDTableSize());
    if (count < hldEntries)
        hldEntries = count;
    const unsigned sldEntries = tableEntries(adapter->getSLDTableSize());

    for (unsigned e = 0; e < hldEntries; ++e) {
        const _VIRT_DRV_PARMS& entry = hldTable[e];
        if (!entry.isSpanned() || entryArrayID(entry) != spannedArrayID)
            continue;
        if (entry.ucNoOfChunkUnits > MAX_VIRT_DEVS)
            return false;
        for (unsigned i = 0; i < entry.ucNoOfChunkUnits; ++i) {
            const unsigned target = entry.sChunk[i].ucTarget;
            if (target >= sldEntries)
                return false;
            subDrives[i] = adapterStAddr;
            subDrives[i].usVirtDevID = static_cast<uint16_t>(target);
            subDrives[i].usArrayID = static_cast<uint16_t>(entryArrayID(sldTable[target]));
        }
        subCount = entry.ucNoOfChunkUnits;
        return true;
    }
    return false;
}

// The lowest spanned-array id 0 to 3 that no hierarchical entry among the
// first count entries of the HLD table uses; 4 when all are used.
unsigned newSpannedArrayID(const TarnellAdapter* adapter, unsigned count)
{
    const _VIRT_DRV_PARMS* hldTable = adapter->getHLDTable();
    if (hldTable == nullptr)
        return 0;
    unsigned entries = tableEntries(adapter->getHLDTableSize());
    if (count < entries)
        entries = count;
    unsigned candidate = 0;
    for (bool taken = true; taken && candidate < MAX_SPANNED_ARRAYS;) {
        taken = false;
        for (unsigned i = 0; i < entries; ++i) {
            if (hldTable[i].isSpanned() && entryArrayID(hldTable[i]) == candidate) {
                taken = true;
                ++candidate;
                break;
            }
        }
    }
    return candidate;
}

} // namespace

Ret TarnellHLogicalDrive::createLogicalDrive(TarnellAdapter* adapter, Addr addr, LogicalDriveSpec& spec,
                                             TarnellSpannedArray* sArray)
{
    StoreDLLIntf* store = DllP::GetDLLPointer();
    _STORAGE_ADDRESS_ID adapterStAddr;
    if (store == nullptr || !tarnellAdapterAddress(adapter, adapterStAddr))
        return Ret(Ret::CONTROLLER_FAILED);
    unsigned groupCount = 0;
    BLOCK_T smallestDrive = 0;
    if (!chunksAcceptable(adapter, spec, groupCount, smallestDrive))
        return Ret(Ret::BAD_PARAM);

    uint16_t count = 0;
    if (store->GetVirtDevCount(adapterStAddr, count, nullptr, 0).iReturnCode != 0) {
        TarnellUtils::logMessage(WARNING_INFO, "Retreiving virtual device count failed");
        return Ret(Ret::CONTROLLER_FAILED);
    }
    _STORAGE_ADDRESS_ID virtDevAddrList[MAX_VIRT_DEVS] = {};
    if (store->GetVirtDevCount(adapterStAddr, count, virtDevAddrList, sizeof virtDevAddrList).iReturnCode != 0) {
        TarnellUtils::logMessage(WARNING_INFO, "Retreiving virtual device table failed");
        return Ret(Ret::CONTROLLER_FAILED);
    }

    _STORAGE_ADDRESS_ID newAddr = adapterStAddr;
    if (adapter->getSLDTable() == nullptr)
        return Ret(Ret::CONTROLLER_FAILED);

    uint32_t totalSize = 0;
    for (const ChunkSpec& chunk : spec.chunks)
        totalSize += chunkMiB(chunk);
    if (sArray != nullptr && sArray->getFreeSpace() < totalSize) {
        refuse("Cannot create logical drive; size exceeds array free space");
        return Ret(Ret::SIZE_EXCEEDED);
    }

    EnumRaidLevel subLevel;
    switch (spec.raidLevel) {
    case RAID00:
        subLevel = RAID0;
        break;
    case RAID10:
        subLevel = RAID1;
        totalSize >>= 1;
        break;
    case RAID1E0:
        subLevel = RAID1E;
        totalSize >>= 1;
        break;
    case RAID50:
        subLevel = RAID5;
        break;
    default:
        return Ret(Ret::NOT_SUPPORTED);
    }

    _STORAGE_ADDRESS_ID subDrives[MAX_VIRT_DEVS] = {};
    uint16_t subCount = 0;
    unsigned created = 0;   // sub-logical drives this call made, list entries 0 to created - 1

    if (sArray == nullptr || count == 0) {
        // One sub-logical drive per group, each over whole drives: every
        // chunk from block 0 with the size of the smallest drive named.
        LogicalDriveSpec subSpec;
        subSpec.raidLevel = subLevel;
        subSpec.stripeSize = spec.stripeSize;
        subSpec.readCacheSetting = spec.readCacheSetting;
        subSpec.writeCacheSetting = spec.writeCacheSetting;
        subSpec.initMethod = spec.initMethod;
        subSpec.taskPriority = spec.taskPriority;
        for (unsigned g = 0; g < groupCount; ++g) {
            subSpec.chunks.clear();
            for (const ChunkSpec& chunk : spec.chunks) {
                if (chunk.getGroupNum() != g)
                    continue;
                ChunkSpec placed = chunk;
                placed.setStartBlock(0);
                placed.setNumBlocks(smallestDrive);
                subSpec.chunks.push_back(placed);
            }
            subCount = static_cast<uint16_t>(g + 1);
            const Ret sub = TarnellBasicLogicalDrive::createLogicalDrive(adapter, addr, subSpec, nullptr,
                                                                         &subDrives[g], true);
            if (sub.getReturn() != Ret::SUCCESS) {
                TarnellUtils::logMessage(WARNING_INFO, "Creating hierarchical logical drive failed");
                deleteSubDrives(store, subDrives, created);
                return sub;
            }
            ++created;
        }
        newAddr.usArrayID = static_cast<uint16_t>(newSpannedArrayID(adapter, count));
    } else {
        newAddr.usArrayID = static_cast<uint16_t>(sArray->getArrayID());
        FilterCollection drives(sArray);
        drives.apply("TarnellHLogicalDrive", false);
        const auto* first = static_cast<const LogicalDrive*>(drives.elementAt(0));
        if (first != nullptr && first->getRaidLevel() != spec.raidLevel) {
            refuse("Invalid Raid Level");
            return Ret(Ret::BAD_PARAM);
        }
        if (!existingSubDrives(adapter, adapterStAddr, count, static_cast<unsigned>(sArray->getArrayID()),
                               subDrives, subCount))
            return Ret(Ret::CONTROLLER_FAILED);
    }

    newAddr.usVirtDevID = static_cast<uint16_t>(lowestFreeVirtDevID(virtDevAddrList, count));

    // RAID-50 gives each sub-logical drive's parity back.
    if (spec.raidLevel == RAID50)
        totalSize -= (totalSize / static_cast<uint32_t>(spec.chunks.size())) * subCount;

    if (store->CreateVirtDevHld(newAddr, totalSize, subCount, subDrives).iReturnCode != 0) {
        TarnellUtils::logMessage(WARNING_INFO, "Creating hierarchical logical drive failed");
        deleteSubDrives(store, subDrives, created);
        return Ret(Ret::CONTROLLER_FAILED);
    }

    newAddr.ulMap = NEW_DRIVE_MAP;
    const uint8_t writeMethod = spec.writeCacheSetting == LD_CACHE_ENABLED ? 1 : 0;
    if (store->SetWritePolicy(newAddr, writeMethod).iReturnCode != 0) {
        TarnellUtils::logMessage(WARNING_INFO, "Setting hierarchical logical drive write cache policy failed");
        return Ret(Ret::CONTROLLER_FAILED);
    }
    if (spec.initMethod == INIT_QUICK) {
        if (store->InitializeVirtDev(newAddr, 0).iReturnCode != 0) {
            TarnellUtils::logMessage(WARNING_INFO, "Initializing hierarchical logical drive failed");
            return Ret(Ret::CONTROLLER_FAILED);
        }
    } else if (spec.initMethod == INIT_NORMAL && adapter->getAutoSynchronizationEnabled() &&
               spec.raidLevel != RAID00) {
        if (store->SynchronizeVirtDev(newAddr, INITIAL_SYNC_OPTION).iReturnCode != 0) {
            TarnellUtils::logMessage(WARNING_INFO, "Synchronizing hierarchical logical drive failed");
            return Ret(Ret::CONTROLLER_FAILED);
        }
    }
    return Ret(Ret::SUCCESS);
}
