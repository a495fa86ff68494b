// The logical half of a Tarnell adapter's subtree: the configuration node,
// basic arrays with their logical drives and chunks, spanned arrays with their
// hierarchical drives over sub-logical drives, the array sizes, and the
// adapter's copies of the controller's SLD and HLD tables. Also the family's
// logical-drive id scheme and the lookup of an existing array by its drives.
//
// Everything the controller reports is checked before it is used as an index
// or a divisor: at most 8 listed drives numbered 0-7, at most 16 chunk entries
// per record, SLD indexes inside the SLD table, chunk positions inside the
// 4 x 16 device table.

#include <array>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <utility>
#include <vector>

#include "RaidModel/Filters/FilterCollection.h"
#include "RaidModel/Implementation/Tarnell/DllInterface/DllP.h"
#include "RaidModel/Implementation/Tarnell/TarnellAccess.h"
#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Implementation/Tarnell/TarnellBasicArray.h"
#include "RaidModel/Implementation/Tarnell/TarnellBasicLogicalDrive.h"
#include "RaidModel/Implementation/Tarnell/TarnellChunk.h"
#include "RaidModel/Implementation/Tarnell/TarnellConfig.h"
#include "RaidModel/Implementation/Tarnell/TarnellHLogicalDrive.h"
#include "RaidModel/Implementation/Tarnell/TarnellHardDrive.h"
#include "RaidModel/Implementation/Tarnell/TarnellSpannedArray.h"
#include "RaidModel/Implementation/Tarnell/TarnellUtils.h"
#include "RaidModel/Interface/Channel.h"
#include "storagedll/storintf.h"

namespace {

// Blocked-drive flags by model adapter id and top-level drive number, as the
// controller's enquiry last reported them; shared by every adapter and by
// builds on any thread, so reached under their lock. A controller's row is
// made when its first flags are read; made once and never destroyed, as a
// build may still run on another thread while the process exits.
const unsigned BLOCKED_DRIVES = 8;
struct BlockedFlags {
    std::mutex lock;
    std::map<STORID_T, std::array<BOOL, BLOCKED_DRIVES>> rows;
};

BlockedFlags& virtDriveBlocked()
{
    static BlockedFlags* flags = new BlockedFlags;
    return *flags;
}

// The chunk entries a record holds.
const unsigned RECORD_CHUNKS = sizeof(static_cast<_VIRT_DRV_PARMS*>(nullptr)->sChunk) / sizeof(_CHUNK);

// Sizes are sector counts in units of 2048 sectors (MiB).
const unsigned SECTORS_PER_MIB_SHIFT = 11;
const uint32_t SECTORS_PER_MIB = 2048;

// The spanned-array bit of an array id in a GetLastVirtDev address.
const uint16_t SPANNED_ARRAY_BIT = 0x8000;

// The enquiry command of the blocked-drive refresh and its answer's length.
const uint8_t ENQUIRY_COMMAND = 0x05;
const uint32_t ENQUIRY_COMMAND_LENGTH = 16;
const uint32_t ENQUIRY_ANSWER_LENGTH = 212;

unsigned chunkCount(const _VIRT_DRV_PARMS& record)
{
    return record.ucNoOfChunkUnits < RECORD_CHUNKS ? record.ucNoOfChunkUnits : RECORD_CHUNKS;
}

EnumLogicalDeviceState driveState(uint8_t code)
{
    switch (code) {
    case 2:
        return OFFLINE;
    case 3:
        return OKAY;
    case 4:
        return CRITICAL;
    case 5:
        return MIGRATING;
    case 6:
        return SYSTEM;
    case 20:
        return CRITICAL_MIGRATING;
    case 36:
        return CRITICAL_SYSTEM;
    default:
        return FREE;
    }
}

EnumLogicalDriveCacheMode writeCacheOf(const _VIRT_DRV_PARMS& record)
{
    return record.isWriteCacheOn() ? LD_CACHE_ENABLED : LD_CACHE_DISABLED;
}

int dataSpaceOf(const _VIRT_DRV_PARMS& record)
{
    return static_cast<int>(record.ulVirtDriveSize >> SECTORS_PER_MIB_SHIFT);
}

// The parity share of a striped-parity level: data ÷ (members − parity
// members); 0 when the record names too few members to divide by.
int parityOver(int dataSpace, unsigned members, unsigned parityMembers)
{
    return members > parityMembers ? dataSpace / static_cast<int>(members - parityMembers) : 0;
}

// Level and parity space of a basic drive (top level or sub-logical).
void basicLevel(const _VIRT_DRV_PARMS& record, int dataSpace, EnumRaidLevel& level, int& parity)
{
    const unsigned n = chunkCount(record);
    switch (record.getRaidCode()) {
    case 1:
        level = n < 3 ? RAID1 : RAID1E;
        parity = dataSpace;
        break;
    case 5:
        if (record.isRaid5EE()) {
            level = RAID5EE;
            parity = parityOver(dataSpace, n, 2);
        } else {
            level = record.isRaid5E() ? RAID5E : RAID5;
            parity = parityOver(dataSpace, n, 1);
        }
        break;
    default:
        level = RAID0;
        parity = 0;
        break;
    }
}

// Level and parity space of a spanned drive; m is the chunk count of its
// first sub-logical drive's record (0 without one).
void spannedLevel(const _VIRT_DRV_PARMS& record, unsigned m, int dataSpace, EnumRaidLevel& level, int& parity)
{
    switch (record.getRaidCode()) {
    case 0:
        level = RAID00;
        parity = 0;
        break;
    case 1:
        level = m > 2 ? RAID1E0 : RAID10;
        parity = dataSpace;
        break;
    case 2:
        level = RAID1E0;
        parity = 0;
        break;
    case 5:
        level = record.isRaid5E() ? RAID5E0 : RAID50;
        parity = parityOver(dataSpace, m, 1);
        break;
    default:
        level = RAID_UNKNOWN;
        parity = 0;
        break;
    }
}

EnumRaid5EEState raid5EEStateOf(const _VIRT_DRV_PARMS& record, EnumRaidLevel level)
{
    if (level != RAID5EE)
        return RAID5EE_UNKNOWN;
    switch (record.getRaid5EESubState()) {
    case 0:
        return RAID5EE_OKAY;
    case 1:
        return RAID5EE_COMPACTED;
    case 2:
        return RAID5EE_COMPACTING;
    default:
        return RAID5EE_EXPANDING;
    }
}

// Entry index of a logical-drive table of tableBytes bytes, copied out; false
// when the table does not hold that entry whole.
bool tableEntry(const _VIRT_DRV_PARMS* table, uint32_t tableBytes, unsigned index, _VIRT_DRV_PARMS& entry)
{
    if (table == nullptr || index >= tableBytes / sizeof(_VIRT_DRV_PARMS))
        return false;
    std::memcpy(&entry, reinterpret_cast<const uint8_t*>(table) + index * sizeof(_VIRT_DRV_PARMS), sizeof entry);
    return true;
}

// Whether the array's last drive is the given top-level or spanned drive.
bool isLastInArray(StoreDLLIntf* store, const _STORAGE_ADDRESS_ID& adapterAddress, uint16_t arrayID, int number)
{
    _STORAGE_ADDRESS_ID address = adapterAddress;
    address.usArrayID = arrayID;
    return store->GetLastVirtDev(address).iReturnCode == 0 && address.usVirtDevID == number;
}

// The first object of the class under the adapter with that array id.
template <class T>
T* findArray(TarnellAdapter* adapter, const char* className, STORID_T arrayID)
{
    return static_cast<T*>(FilterCollection::firstOf(
        adapter, className, [arrayID](RaidObject* object) { return object->getArrayID() == arrayID; }));
}

// Sends the controller's enquiry, as every basic drive's build does; only
// the build of a RAID-0 drive (rewrite) takes the adapter's row of
// blocked-drive flags from it. Nothing changes when the enquiry fails or the
// adapter has no row.
void refreshBlockedDrives(StoreDLLIntf* store, const _STORAGE_ADDRESS_ID& adapterAddress, STORID_T adapterID,
                          bool rewrite)
{
    uint8_t command[ENQUIRY_COMMAND_LENGTH];
    std::memset(command, 0, sizeof command);
    command[0] = ENQUIRY_COMMAND;
    std::unique_ptr<uint8_t[]> answer(new uint8_t[ENQUIRY_ANSWER_LENGTH]());
    uint32_t readCount = 0;
    uint32_t writeCount = 0;
    uint32_t statusCount = 0;
    const S_Ret sret = store->ExecAdapterCmnd(adapterAddress, command, ENQUIRY_COMMAND_LENGTH, readCount, writeCount,
                                              statusCount, answer.get(), ENQUIRY_ANSWER_LENGTH, nullptr, 0, nullptr, 0, 60,
                                              1, 1, 0);
    if (rewrite && sret.iReturnCode == 0) {
        static_assert(sizeof(_ENQUIRY) <= ENQUIRY_ANSWER_LENGTH, "the enquiry leads the answer");
        _ENQUIRY enquiry;
        std::memcpy(&enquiry, answer.get(), sizeof enquiry);
        BlockedFlags& flags = virtDriveBlocked();
        std::lock_guard<std::mutex> hold(flags.lock);
        std::array<BOOL, BLOCKED_DRIVES>& row = flags.rows[adapterID];
        for (unsigned i = 0; i < BLOCKED_DRIVES; ++i)
            row[i] = static_cast<BOOL>((enquiry.ucBlockedDriveFlag >> i) & 1u);
    }
}

bool isBlocked(STORID_T adapterID, int logicalDriveID)
{
    // Sub-logical drives (ids 8 and above) have no flag of their own.
    if (logicalDriveID < 0 || static_cast<unsigned>(logicalDriveID) >= BLOCKED_DRIVES)
        return false;
    BlockedFlags& flags = virtDriveBlocked();
    std::lock_guard<std::mutex> hold(flags.lock);
    const auto row = flags.rows.find(adapterID);
    return row != flags.rows.end() && row->second[static_cast<unsigned>(logicalDriveID)] != 0;
}

// Block count of the device a chunk lies on; false when the chunk's channel
// or device id (signed bytes) lies outside the configuration's device table.
bool chunkBlockCount(const _ADAPTER_CONFIG& config, const Chunk* chunk, uint32_t& blocks)
{
    const int channelID = static_cast<int8_t>(chunk->getChannelID());
    const int deviceID = static_cast<int8_t>(chunk->getDeviceID());
    if (channelID < 0 || static_cast<unsigned>(channelID) >= ACONFIG_CHANNELS || deviceID < 0 ||
        static_cast<unsigned>(deviceID) >= ACONFIG_TARGETS)
        return false;
    blocks = config.sDevState[channelID][deviceID].ucBlockCount;
    return true;
}

std::vector<Chunk*> chunksOf(const RaidObject* drive)
{
    std::vector<Chunk*> chunks;
    for (RaidObject* child : drive->getChildren()) {
        if (child != nullptr && child->isInstanceOf("Chunk"))
            chunks.push_back(static_cast<Chunk*>(child));
    }
    return chunks;
}

// Size and free space of one basic array from its measuring drive: the last
// drive of the array or a sub-logical drive in it.
void sizeBasicArray(TarnellAdapter* adapter, TarnellBasicArray* array, const _ADAPTER_CONFIG& config)
{
    FilterCollection inArray(array);
    inArray.apply("TarnellBasicLogicalDrive", false);
    // The whole adapter is listed only for an array without drives of its own.
    FilterCollection inAdapter(inArray.size() == 0 ? adapter : nullptr);
    FilterCollection* drives = &inArray;
    if (inArray.size() == 0) {
        inAdapter.apply("TarnellBasicLogicalDrive", false);
        drives = &inAdapter;
    }

    uint32_t least = 0;
    bool measured = false;
    std::vector<Chunk*> chunks;
    bool raid5E = false;
    for (unsigned long i = 0; i < drives->size(); ++i) {
        TarnellBasicLogicalDrive* drive =
            static_cast<TarnellBasicLogicalDrive*>(drives->elementAt(static_cast<int>(i)));
        // A free sub-logical placeholder has no array.
        if (drive == nullptr || drive->getArray() == nullptr || drive->getArray()->getArrayID() != array->getArrayID())
            continue;
        if (!drive->getLastDriveInArray() && !drive->isSubLogicalDrive())
            continue;
        if (drive->getRaidLevel() == RAID5EE || drive->getRaidLevel() == RAID5E)
            raid5E = true;
        chunks = chunksOf(drive);
        for (const Chunk* chunk : chunks) {
            uint32_t blocks = 0;
            if (!chunkBlockCount(config, chunk, blocks))
                continue;
            if (least == 0 || least > blocks)
                least = blocks;
            measured = true;
        }
    }

    // Without a drive to measure, or drives smaller than the reserved space,
    // the array has no usable size.
    const uint64_t reserved =
        static_cast<uint64_t>(adapter->getReservedInBeginning()) + adapter->getReservedInEnd();
    if (!measured || chunks.empty() || least <= reserved) {
        array->setSize(0);
        array->setFreeSpace(0);
        return;
    }
    least -= static_cast<uint32_t>(reserved);
    const uint32_t n = static_cast<uint32_t>(chunks.size());
    const uint32_t sizeMiB = (least / SECTORS_PER_MIB) * n;
    if (raid5E) {
        array->setFreeSpace(0);
        array->setSize(sizeMiB);
        return;
    }
    const uint32_t total = n * least;
    const uint32_t used = static_cast<uint32_t>(chunks.front()->getStartSector() + chunks.front()->getNumSector()) * n;
    array->setSize(sizeMiB);
    array->setFreeSpace(used < total ? (total - used) / SECTORS_PER_MIB : 0);
}

// Size and free space of one spanned array from its basic arrays and drives.
void sizeSpannedArray(TarnellSpannedArray* spanned)
{
    FilterCollection arrays(spanned);
    arrays.apply("TarnellBasicArray", false);
    uint32_t least = 0;
    for (unsigned long i = 0; i < arrays.size(); ++i) {
        const Array* array = static_cast<Array*>(arrays.elementAt(static_cast<int>(i)));
        const uint32_t size = static_cast<uint32_t>(array->getSize());
        if (i == 0 || size < least)
            least = size;
    }
    FilterCollection drives(spanned);
    drives.apply("TarnellHLogicalDrive", false);
    uint32_t used = 0;
    for (unsigned long i = 0; i < drives.size(); ++i) {
        const LogicalDrive* drive = static_cast<LogicalDrive*>(drives.elementAt(static_cast<int>(i)));
        used += static_cast<uint32_t>(drive->getDataSpace() + drive->getParitySpace());
    }
    const uint32_t size = static_cast<uint32_t>(arrays.size()) * least;
    spanned->setSize(size);
    spanned->setFreeSpace(used < size ? size - used : 0);
}

} // namespace

void TarnellAdapter::resetBlockedDrivesForTest()
{
    BlockedFlags& flags = virtDriveBlocked();
    std::lock_guard<std::mutex> hold(flags.lock);
    flags.rows.clear();
}

int TarnellAdapter::getNextUnqLDid(int hldID, int sldID, int numSpannedSegments, bool isSLD)
{
    if (!isSLD) {
        if (hldID < 0 || hldID >= NUM_HLD_IDS)
            return -1;
        HLD_TNCADllIDs[hldID] = 1;
        return hldID;
    }
    // Computed wide so that no pair of ints can overflow into a valid slot.
    const int64_t slot = static_cast<int64_t>(hldID) * numSpannedSegments + sldID;
    if (slot < 0 || slot >= NUM_SLD_IDS)
        return -1;
    SLD_TNCADllIDs[slot] = 1;
    return static_cast<int>(slot) + NUM_HLD_IDS;
}

Ret TarnellAdapter::buildLogicalDevices(TarnellAdapter* adapter)
{
    if (adapter == nullptr)
        return Ret(Ret::BAD_PARAM);
    StoreDLLIntf* store = DllP::GetDLLPointer();
    _STORAGE_ADDRESS_ID address;
    if (store == nullptr || !tarnellAdapterAddress(adapter, address))
        return Ret(Ret::CONTROLLER_FAILED);

    // The one configuration node, emptied of the previous build.
    TarnellConfig* pConfig = nullptr;
    {
        FilterCollection configs(adapter);
        configs.apply("TarnellConfig", false);
        pConfig = static_cast<TarnellConfig*>(configs.elementAt(0));
    }
    if (pConfig == nullptr) {
        pConfig = new TarnellConfig(0);
        adapter->addChild(pConfig);
    } else {
        pConfig->deleteAllChildren();
    }
    // The hard drives list the chunks of the drives built now, not those of
    // drives an earlier build made (ids may since name other drives).
    {
        FilterCollection disks(adapter);
        disks.apply("TarnellHardDrive", false);
        for (unsigned long i = 0; i < disks.size(); ++i)
            static_cast<TarnellHardDrive*>(disks.elementAt(static_cast<int>(i)))->clearChunkIDs();
    }

    Ret ret = updateTables(adapter, true, true);
    if (ret.getReturn() != Ret::SUCCESS)
        return ret;

    uint16_t count = 0;
    store->GetVirtDevCount(address, count, nullptr, 0);
    _ADAPTER_CONFIG config;
    std::memset(&config, 0, sizeof config);
    uint32_t configLength = 0;
    if (store->GetAdapterRaidConfig(address, &config, ADAPTER_CONFIG_SIZE, configLength, 0).iReturnCode != 0) {
        TarnellUtils::logMessage(WARNING_INFO, "Retrieving adapter raid configuration failed");
        return Ret(Ret::CONTROLLER_FAILED);
    }
    if (count == 0)
        return Ret(Ret::SUCCESS);

    _STORAGE_ADDRESS_ID list[VIRT_DEV_LIST_ENTRIES];
    std::memset(list, 0, sizeof list);
    if (store->GetVirtDevCount(address, count, list, sizeof list).iReturnCode != 0) {
        TarnellUtils::logMessage(WARNING_INFO, "Retrieving virtual device info failed");
        return Ret(Ret::CONTROLLER_FAILED);
    }
    // At most the 8 entries the list holds; numbers the configuration has no
    // record for, and numbers listed twice (a count beyond the entries the
    // controller wrote leaves zeroed ones), are passed over.
    const unsigned listed = count < VIRT_DEV_LIST_ENTRIES ? count : VIRT_DEV_LIST_ENTRIES;
    bool built[ACONFIG_VIRT_DRIVES] = {};
    for (unsigned j = 0; j < listed; ++j) {
        const unsigned number = list[j].usVirtDevID;
        if (number >= ACONFIG_VIRT_DRIVES || built[number])
            continue;
        built[number] = true;
        const _VIRT_DRV_PARMS& record = config.sVirtDrv[number];
        if (record.isSpanned())
            getHLogicalDriveConfig(adapter, static_cast<int>(number), record, &config, pConfig);
        else
            getLogicalDriveConfig(adapter, static_cast<int>(number), record, &config, nullptr, pConfig, 0);
    }

    FilterCollection basicArrays(adapter);
    basicArrays.apply("TarnellBasicArray", false);
    for (unsigned long i = 0; i < basicArrays.size(); ++i)
        sizeBasicArray(adapter, static_cast<TarnellBasicArray*>(basicArrays.elementAt(static_cast<int>(i))), config);
    FilterCollection spannedArrays(adapter);
    spannedArrays.apply("TarnellSpannedArray", false);
    for (unsigned long i = 0; i < spannedArrays.size(); ++i)
        sizeSpannedArray(static_cast<TarnellSpannedArray*>(spannedArrays.elementAt(static_cast<int>(i))));
    return Ret(Ret::SUCCESS);
}

TarnellHLogicalDrive* TarnellAdapter::getHLogicalDriveConfig(TarnellAdapter* adapter, int number,
                                                             _VIRT_DRV_PARMS record, _ADAPTER_CONFIG* config,
                                                             TarnellConfig* pConfig)
{
    StoreDLLIntf* store = DllP::GetDLLPointer();
    _STORAGE_ADDRESS_ID address;
    if (adapter == nullptr || pConfig == nullptr || store == nullptr || !tarnellAdapterAddress(adapter, address))
        return nullptr;
    if (record.ucState == 0) {
        // A free entry keeps its id marked and adds nothing.
        adapter->getNextUnqLDid(number, 0, 0, false);
        return nullptr;
    }
    if (adapter->sldTable == nullptr)
        return nullptr;

    const EnumLogicalDriveCacheMode writeCache = writeCacheOf(record);
    const int dataSpace = dataSpaceOf(record);
    const unsigned segments = chunkCount(record);
    unsigned m = 0;
    _VIRT_DRV_PARMS first;
    if (segments != 0 && tableEntry(adapter->sldTable, adapter->sldTableSize, record.sChunk[0].ucTarget, first))
        m = chunkCount(first);
    EnumRaidLevel level = RAID_UNKNOWN;
    int parity = 0;
    spannedLevel(record, m, dataSpace, level, parity);

    const STORID_T arrayID = record.getArrayId();
    TarnellSpannedArray* spanned = findArray<TarnellSpannedArray>(adapter, "TarnellSpannedArray", arrayID);
    if (spanned == nullptr) {
        spanned = new TarnellSpannedArray(adapter, static_cast<int>(arrayID), 0, 0);
        spanned->setStripeSize(adapter->stripeUnitSize);
        pConfig->addChild(spanned);
    }

    // The sub-logical drives are the caller's until their spanned drive
    // takes them.
    std::vector<OwnedSubtree<TarnellBasicLogicalDrive>> subDrives;
    for (unsigned i = 0; i < segments; ++i) {
        const unsigned sld = record.sChunk[i].ucTarget;
        const int id = adapter->getNextUnqLDid(number, static_cast<int>(sld), static_cast<int>(segments), true);
        _VIRT_DRV_PARMS sldRecord;
        if (!tableEntry(adapter->sldTable, adapter->sldTableSize, sld, sldRecord))
            continue;   // an index the controller's table does not hold
        OwnedSubtree<TarnellBasicLogicalDrive> drive(
            getLogicalDriveConfig(adapter, static_cast<int>(sld), sldRecord, config, spanned, pConfig, id));
        if (drive != nullptr)
            subDrives.push_back(std::move(drive));
    }

    const EnumLogicalDeviceState state = driveState(record.ucState);
    const bool last = isLastInArray(store, address, static_cast<uint16_t>(SPANNED_ARRAY_BIT | arrayID), number);
    const int id = adapter->getNextUnqLDid(number, 0, 0, false);
    if (id == -1)
        return nullptr;
    TarnellHLogicalDrive* hld = new TarnellHLogicalDrive(adapter, spanned, id, number, state, level, dataSpace, parity,
                                                         false, writeCache, last, false);
    spanned->addChild(hld);
    for (OwnedSubtree<TarnellBasicLogicalDrive>& drive : subDrives)
        hld->addChild(drive.release());
    return hld;
}

TarnellBasicLogicalDrive* TarnellAdapter::getLogicalDriveConfig(TarnellAdapter* adapter, int number,
                                                                _VIRT_DRV_PARMS record, _ADAPTER_CONFIG* /*config*/,
                                                                TarnellSpannedArray* sArray, TarnellConfig* pConfig,
                                                                int logicalDriveID)
{
    StoreDLLIntf* store = DllP::GetDLLPointer();
    _STORAGE_ADDRESS_ID address;
    if (adapter == nullptr || store == nullptr || !tarnellAdapterAddress(adapter, address))
        return nullptr;
    const bool subLogical = sArray != nullptr;
    if (!subLogical && pConfig == nullptr)
        return nullptr;

    if (record.ucState == 0) {
        const int id = subLogical ? logicalDriveID : adapter->getNextUnqLDid(number, 0, 0, false);
        if (id == -1 || !subLogical)
            return nullptr;
        // A free sub-logical entry: a placeholder that its spanned drive shows.
        return new TarnellBasicLogicalDrive(adapter, nullptr, id, number, FREE, RAID_UNKNOWN, 0, 0, false,
                                            LD_CACHE_DISABLED, false, false, false, RAID5EE_UNKNOWN);
    }

    const EnumLogicalDriveCacheMode writeCache = writeCacheOf(record);
    const int dataSpace = dataSpaceOf(record);
    EnumRaidLevel level = RAID0;
    int parity = 0;
    basicLevel(record, dataSpace, level, parity);
    const STORID_T arrayID = record.getArrayId();

    TarnellBasicArray* array = findArray<TarnellBasicArray>(adapter, "TarnellBasicArray", arrayID);
    if (array == nullptr) {
        array = new TarnellBasicArray(adapter, static_cast<int>(arrayID), 0, 0);
        array->setStripeSize(adapter->stripeUnitSize);
        if (subLogical) {
            sArray->addChild(array);
            // The spanned array stamps its own id into everything below it;
            // the array of a sub-logical drive keeps the id of its record, by
            // which the drives and the array sizes find it.
            array->getAddr2().setArrayID(arrayID);
        } else {
            pConfig->addChild(array);
        }
    }

    const EnumLogicalDeviceState state = driveState(record.ucState);
    const bool last = !subLogical && isLastInArray(store, address, static_cast<uint16_t>(arrayID), number);
    const EnumRaid5EEState raid5EEState = raid5EEStateOf(record, level);

    // Only a RAID-0 drive can be blocked; only its build refreshes the flags.
    refreshBlockedDrives(store, address, adapter->getAdapterID(), level == RAID0);

    const int id = subLogical ? logicalDriveID : adapter->getNextUnqLDid(number, 0, 0, false);
    if (id == -1)
        return nullptr;
    // The flags are refreshed only by a RAID-0 build, so for any other level
    // they may be those of a blocked RAID-0 drive that once had this number.
    const bool blocked = level == RAID0 && isBlocked(adapter->getAdapterID(), id);

    // A sub-logical drive stays the caller's; it is owned here until handed out.
    OwnedSubtree<TarnellBasicLogicalDrive> made(new TarnellBasicLogicalDrive(
        adapter, array, id, number, state, level, dataSpace, parity, blocked, writeCache, last, subLogical, false,
        raid5EEState));
    TarnellBasicLogicalDrive* drive = made.get();
    drive->setCreateTimeStamp(record.ucYear + 1900, record.usUserField & 0x1F, record.usUserField >> 8);
    if (!subLogical)
        array->addChild(made.release());

    // The hard drives in tree order with the channel and device each sits
    // at; every one at a chunk's place lists the chunk.
    struct Place {
        TarnellHardDrive* drive;
        STORID_T channelID;
        STORID_T deviceID;
    };
    std::vector<Place> places;
    {
        FilterCollection hardDrives(adapter);
        hardDrives.apply("TarnellHardDrive", false);
        for (unsigned long h = 0; h < hardDrives.size(); ++h) {
            TarnellHardDrive* hardDrive = static_cast<TarnellHardDrive*>(hardDrives.elementAt(static_cast<int>(h)));
            if (const Channel* channel = hardDrive->getChannel())
                places.push_back(Place{hardDrive, channel->getChannelID(), hardDrive->getDeviceID()});
        }
    }
    const int group = subLogical ? static_cast<int>(arrayID) : 0;
    for (unsigned i = 0; i < chunkCount(record); ++i) {
        const _CHUNK& entry = record.sChunk[i];
        drive->addChild(new TarnellChunk(entry.ucChannel, entry.ucTarget, static_cast<int>(entry.ulStartSect),
                                         static_cast<int>(entry.ulNoOfSect), entry.usReserved, group));
        for (const Place& place : places) {
            if (place.deviceID == entry.ucTarget && place.channelID == entry.ucChannel)
                place.drive->addChunk(ChunkID{id, entry.ucChannel, entry.ucTarget});
        }
    }
    made.release();
    return drive;
}

Ret TarnellAdapter::returnArray(ChunkSpecCollection& chSpecColl, Array** reqArray)
{
    if (reqArray == nullptr)
        return Ret(Ret::BAD_PARAM);
    if (chSpecColl.empty())
        return Ret(Ret::SUCCESS);

    auto named = [&chSpecColl](const RaidObject* chunk) {
        for (const ChunkSpec& spec : chSpecColl) {
            if (spec.getChannelID() == chunk->getChannelID() && spec.getDeviceID() == chunk->getDeviceID())
                return true;
        }
        return false;
    };

    RaidObject* anchor = nullptr;
    {
        FilterCollection chunks(this);
        chunks.apply("TarnellChunk", false);
        for (unsigned long i = 0; i < chunks.size() && anchor == nullptr; ++i) {
            RaidObject* chunk = chunks.elementAt(static_cast<int>(i));
            if (chunk != nullptr && named(chunk))
                anchor = chunk;
        }
    }
    RaidObject* drive = anchor != nullptr ? anchor->getParent() : nullptr;
    RaidObject* holder = drive != nullptr ? drive->getParent() : nullptr;
    if (holder == nullptr) {
        *reqArray = nullptr;   // the drives lie in no array
        return Ret(Ret::SUCCESS);
    }

    // A top-level drive's array is its parent; a sub-logical drive's spanned
    // array is its spanned drive's parent, and that drive holds all chunks.
    RaidObject* answer = holder;
    RaidObject* reference = drive;
    if (!holder->isInstanceOf("TarnellBasicArray")) {
        answer = holder->getParent();
        reference = holder;
    }
    if (answer == nullptr || !answer->isInstanceOf("Array")) {
        *reqArray = nullptr;
        return Ret(Ret::SUCCESS);
    }

    FilterCollection chunks(reference);
    chunks.apply("TarnellChunk", false);
    if (chunks.size() != chSpecColl.size()) {
        TarnellUtils::logMessage(WARNING_INFO, "Number of harddrives not matching the ones in the existing Array");
        *reqArray = nullptr;
        return Ret(Ret::BAD_PARAM);
    }
    for (unsigned long i = 0; i < chunks.size(); ++i) {
        if (!named(chunks.elementAt(static_cast<int>(i)))) {
            TarnellUtils::logMessage(WARNING_INFO,
                                     "HardDrives mentioned, do not match with the ones, in the existing Array");
            *reqArray = nullptr;
            return Ret(Ret::BAD_PARAM);
        }
    }
    *reqArray = static_cast<Array*>(answer);
    return Ret(Ret::SUCCESS);
}
