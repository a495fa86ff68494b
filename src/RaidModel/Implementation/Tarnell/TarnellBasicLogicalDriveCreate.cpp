// Creation of a basic logical drive on a Tarnell controller: a top-level
// drive in a new or an existing array, or a sub-logical drive of a spanned
// drive that is being built.

#include <cstdio>
#include <memory>
#include <new>

#include "RaidModel/Filters/FilterCollection.h"
#include "RaidModel/Implementation/Tarnell/DllInterface/DllP.h"
#include "RaidModel/Implementation/Tarnell/TarnellAccess.h"
#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Implementation/Tarnell/TarnellBasicArray.h"
#include "RaidModel/Implementation/Tarnell/TarnellBasicLogicalDrive.h"
#include "RaidModel/Implementation/Tarnell/TarnellCreateSupport.h"
#include "RaidModel/Implementation/Tarnell/TarnellUtils.h"
#include "RaidModel/Interface/LogicalDriveSpec.h"
#include "storagedll/storintf.h"

using namespace tarnellcreate;

namespace {

// The controller has 8 arrays; a walk of the SLD table looks at its first 8
// entries.
const unsigned MAX_CONTROLLER_ARRAYS = 8;
const unsigned SLD_WALK_ENTRIES = 8;

void refuse(const char* line)
{
    std::fputs(line, stderr);
    std::fputs("\n", stderr);
    std::fflush(stderr);
}

void refuseNoMore(const char* what)
{
    std::fprintf(stderr, "No more than %d %s can be created\n", 8, what);
    std::fflush(stderr);
}

bool isRaid5EFamily(EnumRaidLevel level) { return level == RAID5E || level == RAID5EE; }

// The chunks a request may name before anything reaches the controller: at
// least one, no more than a 16-bit count, each on a hard drive of the
// adapter, and two for RAID-5E, whose size rule divides by the count less one.
bool chunksAcceptable(TarnellAdapter* adapter, const LogicalDriveSpec& spec)
{
    const size_t count = spec.chunks.size();
    if (count == 0 || count > UINT16_MAX)
        return false;
    if (spec.raidLevel == RAID5E && count < 2)
        return false;
    for (const ChunkSpec& chunk : spec.chunks) {
        if (chunkHardDrive(adapter, chunk) == nullptr)
            return false;
    }
    return true;
}

} // namespace

uint32_t TarnellBasicLogicalDrive::calculate5EDataSize(uint32_t driveSize, int numDrives, int numFailures,
                                                        int numHotSpares)
{
    if (numFailures <= 1)
        return static_cast<uint32_t>(numDrives - numHotSpares) * driveSize;
    const uint32_t m = static_cast<uint32_t>(numDrives - numHotSpares);
    // Without a spare the rule would call itself unchanged for ever, and
    // with as many spares as drives it would divide by zero.
    if (numHotSpares <= 0 || m == 0)
        return 0;
    const uint32_t dataSize = static_cast<uint32_t>(numDrives - numFailures) * driveSize / m;
    const uint32_t dataCalc = calculate5EDataSize(driveSize, static_cast<int>(m), numFailures - numHotSpares,
                                                  numHotSpares);
    const uint32_t limit = dataSize * static_cast<uint32_t>(numDrives - 1);
    return dataCalc >= limit ? limit : (dataCalc / m) * m;
}

Ret TarnellBasicLogicalDrive::createLogicalDrive(TarnellAdapter* adapter, Addr addr, LogicalDriveSpec& spec,
                                                 TarnellBasicArray* bArray, _STORAGE_ADDRESS_ID* sldVirtDrv,
                                                 bool isSLD)
{
    (void)addr;
    StoreDLLIntf* store = DllP::GetDLLPointer();
    _STORAGE_ADDRESS_ID adapterStAddr;
    if (store == nullptr || !tarnellAdapterAddress(adapter, adapterStAddr))
        return Ret(Ret::CONTROLLER_FAILED);
    if (isSLD && sldVirtDrv == nullptr)
        return Ret(Ret::BAD_PARAM);
    if (!chunksAcceptable(adapter, spec))
        return Ret(Ret::BAD_PARAM);

    uint16_t count = 0;
    if (store->GetVirtDevCount(adapterStAddr, count, nullptr, 0).iReturnCode != 0) {
        TarnellUtils::logMessage(WARNING_INFO, "Retrieving virtual device count failed");
        return Ret(Ret::CONTROLLER_FAILED);
    }

    _STORAGE_ADDRESS_ID virtDevAddr = adapterStAddr;

    // The top-level id: the lowest the controller does not list.
    if (!isSLD && count != 0) {
        _STORAGE_ADDRESS_ID pvirtDevAddrList[MAX_VIRT_DEVS] = {};
        if (store->GetVirtDevCount(adapterStAddr, count, pvirtDevAddrList, sizeof pvirtDevAddrList).iReturnCode !=
            0) {
            TarnellUtils::logMessage(WARNING_INFO, "Retrieving virtual device table failed");
            return Ret(Ret::CONTROLLER_FAILED);
        }
        const unsigned id = lowestFreeVirtDevID(pvirtDevAddrList, count);
        if (id >= MAX_VIRT_DEVS) {
            refuseNoMore("logical drives");
            return Ret(Ret::CONTROLLER_FAILED);
        }
        virtDevAddr.usVirtDevID = static_cast<uint16_t>(id);
    }

    if (bArray != nullptr) {
        virtDevAddr.usArrayID = static_cast<uint16_t>(bArray->getArrayID());
        FilterCollection drives(bArray);
        drives.apply("TarnellBasicLogicalDrive", false);
        const auto* first = static_cast<const LogicalDrive*>(drives.elementAt(0));
        if (first != nullptr && isRaid5EFamily(first->getRaidLevel())) {
            refuse("No more logical drives can be created in this array");
            return Ret(Ret::BAD_PARAM);
        }
        if (isRaid5EFamily(spec.raidLevel)) {
            refuse("Invalid RAID level");
            return Ret(Ret::BAD_PARAM);
        }
    } else {
        // A new array: the lowest array id no used entry of the SLD table
        // carries. The walk ends at the first empty entry, which is also
        // the slot of a new sub-logical drive.
        const _VIRT_DRV_PARMS* sldTable = adapter->getSLDTable();
        if (sldTable == nullptr)
            return Ret(Ret::CONTROLLER_FAILED);
        unsigned entries = tableEntries(adapter->getSLDTableSize());
        if (entries > SLD_WALK_ENTRIES)
            entries = SLD_WALK_ENTRIES;
        unsigned candidate = 0;
        int emptyEntry = -1;
        for (bool matched = true; matched;) {
            matched = false;
            emptyEntry = -1;
            for (unsigned i = 0; i < entries; ++i) {
                if (sldTable[i].ucState == 0) {
                    emptyEntry = static_cast<int>(i);
                    break;
                }
                if (entryArrayID(sldTable[i]) == candidate) {
                    matched = true;
                    ++candidate;
                    break;
                }
            }
        }
        if (emptyEntry < 0) {
            refuseNoMore("logical drives");
            return Ret(Ret::CONTROLLER_FAILED);
        }
        if (isSLD)
            virtDevAddr.usVirtDevID = static_cast<uint16_t>(emptyEntry);
        if (candidate >= MAX_CONTROLLER_ARRAYS) {
            refuseNoMore("arrays");
            return Ret(Ret::CONTROLLER_FAILED);
        }
        virtDevAddr.usArrayID = static_cast<uint16_t>(candidate);
    }

    const uint16_t hardDriveCount = static_cast<uint16_t>(spec.chunks.size());
    std::unique_ptr<_STORAGE_ADDRESS_ID[]> hardDriveAddrList(new (std::nothrow) _STORAGE_ADDRESS_ID[hardDriveCount]());
    if (!hardDriveAddrList)
        return Ret(Ret::RESOURCE);
    uint32_t totalSize = 0;
    for (uint16_t i = 0; i < hardDriveCount; ++i) {
        const ChunkSpec& chunk = spec.chunks[i];
        hardDriveAddrList[i] = adapterStAddr;
        hardDriveAddrList[i].usChannelID = static_cast<uint16_t>(chunk.getChannelID());
        hardDriveAddrList[i].usPhysDevID = static_cast<uint16_t>(chunk.getDeviceID());
        totalSize += chunkMiB(chunk);
    }

    if (bArray != nullptr && bArray->getFreeSpace() < totalSize) {
        refuse("Cannot create logical drive; size exceeds array free space");
        return Ret(Ret::SIZE_EXCEEDED);
    }

    const uint32_t n = hardDriveCount;
    const uint32_t s = totalSize / n;
    uint32_t dataSize = 0;
    switch (spec.raidLevel) {
    case RAID0:
        dataSize = totalSize;
        break;
    case RAID1:
    case RAID1E:
        dataSize = totalSize >> 1;
        spec.raidLevel = RAID1;
        break;
    case RAID5:
        dataSize = s * (n - 1);
        break;
    case RAID5E:
        dataSize = calculate5EDataSize(s, static_cast<int>(n), 2, 1);
        break;
    case RAID5EE:
        dataSize = s * (n - 2);
        break;
    default:
        return Ret(Ret::NOT_SUPPORTED);
    }

    uint32_t sldOption = 0;
    if (isSLD) {
        *sldVirtDrv = virtDevAddr;
        sldOption = SUB_DRIVE_OPTION;
    }

    const uint16_t raidCode = static_cast<uint16_t>(TarnellAdapter::getOtherRaidDef(spec.raidLevel, true));
    const S_Ret created = store->CreateVirtDev(virtDevAddr, raidCode, dataSize, 0, hardDriveCount,
                                               hardDriveAddrList.get(), sldOption);
    hardDriveAddrList.reset();
    if (created.iReturnCode != 0) {
        TarnellUtils::logMessage(FATAL_INFO, "Creating basic logical drive failed");
        return Ret(Ret::CONTROLLER_FAILED);
    }

    TarnellAdapter::updateTables(adapter, true, true);
    if (isSLD)
        return Ret(Ret::SUCCESS);

    virtDevAddr.ulMap = NEW_DRIVE_MAP;
    const uint8_t writeMethod = spec.writeCacheSetting == LD_CACHE_ENABLED ? 1 : 0;
    if (store->SetWritePolicy(virtDevAddr, writeMethod).iReturnCode != 0) {
        TarnellUtils::logMessage(WARNING_INFO, "Setting basic logical drive write cache policy failed");
        return Ret(Ret::CONTROLLER_FAILED);
    }

    if (spec.initMethod == INIT_QUICK) {
        if (store->InitializeVirtDev(virtDevAddr, 0).iReturnCode != 0) {
            TarnellUtils::logMessage(WARNING_INFO, "Initializing basic logical drive failed");
            return Ret(Ret::CONTROLLER_FAILED);
        }
    } else if (spec.initMethod == INIT_NORMAL && adapter->getAutoSynchronizationEnabled() &&
               spec.raidLevel != RAID0) {
        if (store->SynchronizeVirtDev(virtDevAddr, INITIAL_SYNC_OPTION).iReturnCode != 0) {
            TarnellUtils::logMessage(WARNING_INFO, "Synchronizing basic logical drive failed");
            return Ret(Ret::CONTROLLER_FAILED);
        }
    }
    return Ret(Ret::SUCCESS);
}
