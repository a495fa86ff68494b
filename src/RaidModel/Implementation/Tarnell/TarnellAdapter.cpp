#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"

#include <cstring>
#include <mutex>

#include "RaidModel/Filters/FilterCollection.h"
#include "RaidModel/Implementation/Tarnell/DllInterface/DllP.h"
#include "RaidModel/Implementation/Tarnell/TarnellAccess.h"
#include "RaidModel/Implementation/Tarnell/TarnellTrace.h"
#include "RaidModel/Implementation/Tarnell/TarnellUtils.h"
#include "RaidModel/Serialization/Writer.h"
#include "storagedll/storintf.h"

std::vector<int> TarnellAdapter::TNCADllIDs;
int TarnellAdapter::numTarnellAdapters = 0;

namespace {

// Guards the adapter-id table, which the builds of every library object in
// the process share.
std::mutex& adapterIDLock()
{
    static std::mutex lock;
    return lock;
}

// Model names of the adapter types TARNELL_B1 (5) to TARNELL_F1 (17). Types 8
// and 9 carry the B3 and B2 names.
const char* const modelNames[] = {
    "ZEQ Tarnell B1", "ZEQ Tarnell B2", "ZEQ Tarnell C0", "ZEQ Tarnell B3", "ZEQ Tarnell B2",
    "ZEQ Tarnell C3", "ZEQ Tarnell C4", "ZEQ Tarnell D1", "ZEQ Tarnell D2", "ZEQ Tarnell E1",
    "ZEQ Tarnell E2", "ZEQ Tarnell E3", "ZEQ Tarnell F1",
};
const int FIRST_NAMED_TYPE = TARNELL_B1;
const int NUM_NAMED_TYPES = sizeof(modelNames) / sizeof(modelNames[0]);
const char* const FAMILY_NAME = "ZEQ Tarnell Family";

// Reserved space at the end of every drive of an adapter the factory builds.
const uint32_t TARNELL_RESERVED_IN_END = 272;

} // namespace

const char* TarnellAdapter::modelName(int adapterTypeIN)
{
    const int index = adapterTypeIN - FIRST_NAMED_TYPE;
    return index >= 0 && index < NUM_NAMED_TYPES ? modelNames[index] : FAMILY_NAME;
}

void TarnellAdapter::setModelName(const char* name)
{
    std::memset(deviceName, 0, sizeof(deviceName));
    std::strncpy(deviceName, name, sizeof(deviceName) - 1);
}

_VIRT_DRV_PARMS* TarnellAdapter::newLDTable(uint32_t sizeBytes)
{
    if (sizeBytes == 0)
        return nullptr;
    return reinterpret_cast<_VIRT_DRV_PARMS*>(new uint8_t[sizeBytes]());
}

void TarnellAdapter::deleteLDTable(_VIRT_DRV_PARMS* table) { delete[] reinterpret_cast<uint8_t*>(table); }

TarnellAdapter::TarnellAdapter(
    int adapterTypeIN, int adapterIDIN, int /*TNCAdllIDIN: the mapping lives in TNCADllIDs*/,
    EnumControllerStatus adapterStatusIN, char* biosVersionIN, char* firmwareVersionIN, char* driverVersionIN,
    int physicalSlotIN, bool batteryCacheInstalledIN, int bbcSizeIN, int batteryCacheErrorCodeIN, bool readAheadIN,
    bool adaptiveReadAheadIN, int stripeUnitSizeIN, std::string rebuildRateIN, bool hotSwapRebuildIN,
    bool copyBackIN, bool dataScrubbingIN, bool autoSynchronizationIN, bool clusteringIN,
    bool limitedBIOSCompatibilityIN, bool unattendedIN, int adapterModeIN, uint32_t versionMatchingIN,
    AdapterVPDInfo* vpdInfoIN, ExtendedBatteryInfo* batteryInfoIN, std::string hostIDIN,
    std::string clusterPartnerIDIN, std::string BBCSerialNumberIN, std::string BBCSerialNumberConfigIN,
    int maxLogicalDrivesIN, int maxArraysIN, int maxSpannedArraysIN, int maxChannelsIN, int maxTargetIDIN,
    int maxDevicesPerArrayIN, int maxControllersIN, int maxConfiguredDrivesIN, int maxGlobalSparesIN,
    int maxAssignedSparesPerArrayIN, _ADAPTER_FEATURES TarnellFeatureLevelsIN, TarnellAdapterFeatures* featuresIN)
    : Adapter(adapterTypeIN, static_cast<unsigned long>(adapterIDIN), adapterStatusIN, biosVersionIN,
              firmwareVersionIN, driverVersionIN, physicalSlotIN, unattendedIN, maxLogicalDrivesIN, maxArraysIN,
              maxSpannedArraysIN, maxChannelsIN, maxTargetIDIN, maxDevicesPerArrayIN, maxControllersIN),
      HLD_TNCADllIDs(),
      SLD_TNCADllIDs(),
      maxConfiguredDrives(maxConfiguredDrivesIN),
      maxGlobalSpares(maxGlobalSparesIN),
      maxAssignedSparesPerArray(maxAssignedSparesPerArrayIN),
      features(featuresIN),
      pciVendorID(0),
      pciDeviceID(0),
      pciBus(0),
      pciDevice(0),
      pciFunction(0),
      pciSubVendorID(0),
      pciSubDeviceID(0),
      channelType(SCSI),
      TarnellFeatureLevels(TarnellFeatureLevelsIN),
      hldTable(nullptr),
      sldTable(nullptr),
      hldTableSize(0),
      sldTableSize(0),
      batteryCacheInstalled(batteryCacheInstalledIN),
      batteryCacheErrorCode(batteryCacheErrorCodeIN),
      readAhead(readAheadIN),
      adaptiveReadAhead(adaptiveReadAheadIN),
      stripeUnitSize(stripeUnitSizeIN),
      rebuildRate(std::move(rebuildRateIN)),
      hotSwapRebuild(hotSwapRebuildIN),
      copyBack(copyBackIN),
      dataScrubbing(dataScrubbingIN),
      autoSynchronization(autoSynchronizationIN),
      clustering(clusteringIN),
      limitedBIOSCompatibility(limitedBIOSCompatibilityIN),
      hostID(std::move(hostIDIN)),
      clusterPartnerID(std::move(clusterPartnerIDIN)),
      unattended(unattendedIN),
      BBCSerialNumber(std::move(BBCSerialNumberIN)),
      BBCSerialNumberConfig(std::move(BBCSerialNumberConfigIN)),
      adapterMode(adapterModeIN),
      versionMatching(versionMatchingIN),
      bbcSize(bbcSizeIN),
      vpdInfo(vpdInfoIN),
      batteryInfo(batteryInfoIN)
{
    tarnellTraceConstruct("TarnellAdapter");
    reservedInBeginning = 0;
    reservedInEnd = TARNELL_RESERVED_IN_END;
    setModelName(modelName(adapterTypeIN));
}

TarnellAdapter::TarnellAdapter()
    : Adapter(),
      HLD_TNCADllIDs(),
      SLD_TNCADllIDs(),
      maxConfiguredDrives(0),
      maxGlobalSpares(0),
      maxAssignedSparesPerArray(0),
      features(nullptr),
      pciVendorID(0),
      pciDeviceID(0),
      pciBus(0),
      pciDevice(0),
      pciFunction(0),
      pciSubVendorID(0),
      pciSubDeviceID(0),
      channelType(SCSI),
      TarnellFeatureLevels(),
      hldTable(nullptr),
      sldTable(nullptr),
      hldTableSize(0),
      sldTableSize(0),
      batteryCacheInstalled(false),
      batteryCacheErrorCode(0),
      readAhead(false),
      adaptiveReadAhead(false),
      stripeUnitSize(0),
      hotSwapRebuild(false),
      copyBack(false),
      dataScrubbing(false),
      autoSynchronization(false),
      clustering(false),
      limitedBIOSCompatibility(false),
      unattended(false),
      adapterMode(0),
      versionMatching(0),
      bbcSize(0),
      vpdInfo(nullptr),
      batteryInfo(nullptr)
{
    tarnellTraceConstruct("TarnellAdapter");
    reservedInBeginning = 0;
    reservedInEnd = 0;
    setModelName(FAMILY_NAME);
}

TarnellAdapter::TarnellAdapter(const TarnellAdapter& right)
    : Adapter(right),
      HLD_TNCADllIDs(),
      SLD_TNCADllIDs(),
      maxConfiguredDrives(right.getLimit(MAX_CONFIGURED_DRIVES)),
      maxGlobalSpares(right.getLimit(MAX_GLOBAL_SPARES)),
      maxAssignedSparesPerArray(right.getLimit(MAX_ASSIGNED_SPARES_PER_ARRAY)),
      features(right.features ? new TarnellAdapterFeatures(*right.features) : nullptr),
      pciVendorID(right.pciVendorID),
      pciDeviceID(right.pciDeviceID),
      pciBus(right.pciBus),
      pciDevice(right.pciDevice),
      pciFunction(right.pciFunction),
      pciSubVendorID(right.pciSubVendorID),
      pciSubDeviceID(right.pciSubDeviceID),
      channelType(right.channelType),
      TarnellFeatureLevels(right.TarnellFeatureLevels),
      hldTable(nullptr),
      sldTable(nullptr),
      hldTableSize(0),
      sldTableSize(0),
      batteryCacheInstalled(right.batteryCacheInstalled),
      batteryCacheErrorCode(right.batteryCacheErrorCode),
      readAhead(right.readAhead),
      adaptiveReadAhead(right.adaptiveReadAhead),
      stripeUnitSize(right.stripeUnitSize),
      rebuildRate(right.rebuildRate),
      hotSwapRebuild(right.hotSwapRebuild),
      copyBack(right.copyBack),
      dataScrubbing(right.dataScrubbing),
      autoSynchronization(right.autoSynchronization),
      clustering(right.clustering),
      limitedBIOSCompatibility(right.limitedBIOSCompatibility),
      hostID(right.hostID),
      clusterPartnerID(right.clusterPartnerID),
      unattended(right.unattended),
      BBCSerialNumber(right.BBCSerialNumber),
      BBCSerialNumberConfig(right.BBCSerialNumberConfig),
      adapterMode(right.adapterMode),
      versionMatching(right.versionMatching),
      bbcSize(right.bbcSize),
      vpdInfo(right.vpdInfo ? new AdapterVPDInfo(*right.vpdInfo) : nullptr),
      batteryInfo(right.batteryInfo ? new ExtendedBatteryInfo(*right.batteryInfo) : nullptr)
{
    tarnellTraceConstruct("TarnellAdapter");
    reservedInBeginning = right.reservedInBeginning;
    reservedInEnd = right.reservedInEnd;
    if (right.hldTable && right.hldTableSize != 0) {
        hldTable = newLDTable(right.hldTableSize);
        if (hldTable) {
            std::memcpy(hldTable, right.hldTable, right.hldTableSize);
            hldTableSize = right.hldTableSize;
        }
    }
    if (right.sldTable && right.sldTableSize != 0) {
        sldTable = newLDTable(right.sldTableSize);
        if (sldTable) {
            std::memcpy(sldTable, right.sldTable, right.sldTableSize);
            sldTableSize = right.sldTableSize;
        }
    }
    std::memcpy(HLD_TNCADllIDs, right.HLD_TNCADllIDs, sizeof(HLD_TNCADllIDs));
    std::memcpy(SLD_TNCADllIDs, right.SLD_TNCADllIDs, sizeof(SLD_TNCADllIDs));
    std::memcpy(deviceName, right.deviceName, sizeof(deviceName));
}

TarnellAdapter::~TarnellAdapter()
{
    tarnellTraceDestruct("TarnellAdapter");
    delete features;
    deleteLDTable(hldTable);
    deleteLDTable(sldTable);
    delete vpdInfo;
    delete batteryInfo;
}

bool TarnellAdapter::isInstanceOf(const char* type) const
{
    return isClassName(type, "TarnellAdapter") || Adapter::isInstanceOf(type);
}

const char* TarnellAdapter::typeName() const { return "TarnellAdapter"; }

void TarnellAdapter::writeTo(Writer* writer) const
{
    if (!writer)
        return;
    Adapter::writeTo(writer);
    writer->writeInt("maxConfiguredDrives", maxConfiguredDrives);
    writer->writeInt("maxGlobalSpares", maxGlobalSpares);
    writer->writeInt("maxAssignedSparesPerArray", maxAssignedSparesPerArray);
    writer->writeInt("ReadAheadCacheMode", readAhead ? 1 : 0);
    writer->writeInt("AdaptiveReadAhead", adaptiveReadAhead ? 1 : 0);
    writer->writeInt("StripeUnitSize", stripeUnitSize);
    writer->writeString("RebuildRate", rebuildRate.c_str());
    writer->writeInt("HotSwapRebuild", hotSwapRebuild ? 1 : 0);
    writer->writeInt("CopyBack", copyBack ? 1 : 0);
    writer->writeInt("DataScrubbing", dataScrubbing ? 1 : 0);
    writer->writeInt("AutoSynchronization", autoSynchronization ? 1 : 0);
    writer->writeInt("Clustering", clustering ? 1 : 0);
    writer->writeInt("LimitedBIOSCompatibility", limitedBIOSCompatibility ? 1 : 0);
    writer->writeInt("pciVendorID", static_cast<int>(pciVendorID));
    writer->writeInt("pciDeviceID", static_cast<int>(pciDeviceID));
    writer->writeString("deviceName", deviceName);
}

int TarnellAdapter::getLimit(Limit limit) const
{
    switch (limit) {
    case MAX_CONFIGURED_DRIVES:
        return maxConfiguredDrives;
    case MAX_GLOBAL_SPARES:
        return maxGlobalSpares;
    case MAX_ASSIGNED_SPARES_PER_ARRAY:
        return maxAssignedSparesPerArray;
    default:
        return Adapter::getLimit(limit);
    }
}

void TarnellAdapter::setFeature(FeatureEnum feature, int value)
{
    if (features)
        features->setFeature(feature, value);
}

int TarnellAdapter::getFeature(FeatureEnum feature) { return features ? features->getFeature(feature) : 0; }

int TarnellAdapter::getUniqueID(int TNCAdllIDIN)
{
    std::lock_guard<std::mutex> guard(adapterIDLock());
    for (int i = 0; i < numTarnellAdapters; ++i) {
        if (TNCADllIDs[static_cast<size_t>(i)] == TNCAdllIDIN)
            return i;
    }
    TNCADllIDs.push_back(TNCAdllIDIN);
    return numTarnellAdapters++;
}

int TarnellAdapter::getTNCAdllID() const
{
    const STORID_T id = getAdapterID();
    std::lock_guard<std::mutex> guard(adapterIDLock());
    return id < static_cast<STORID_T>(numTarnellAdapters) ? TNCADllIDs[id] : -1;
}

void TarnellAdapter::setTNCAdllID(int TNCAdllIDIN)
{
    const STORID_T id = getAdapterID();
    std::lock_guard<std::mutex> guard(adapterIDLock());
    if (id < static_cast<STORID_T>(numTarnellAdapters))
        TNCADllIDs[id] = TNCAdllIDIN;
}

void TarnellAdapter::resetAdapterIDsForTest()
{
    std::lock_guard<std::mutex> guard(adapterIDLock());
    TNCADllIDs.clear();
    numTarnellAdapters = 0;
}

Channel* TarnellAdapter::getChannel(int bus)
{
    // The walk stops at the channel: the build asks once a drive, and the
    // channels are this adapter's own children, ahead of the drives below.
    return static_cast<Channel*>(FilterCollection::firstOf(
        this, "Channel", [bus](RaidObject* object) { return static_cast<int>(object->getChannelID()) == bus; }));
}

namespace {

// Model RAID levels (the index) and the controller's codes for them.
const int TNCA_RAID_CODES[] = {0, 1, 11, 3, 4, 5, 94, 52, 100, 110, 111, 150, 151, 10, 12, 9, 6, 160};
const int NUM_RAID_CODES = sizeof(TNCA_RAID_CODES) / sizeof(TNCA_RAID_CODES[0]);
const int RAID_CODE_UNKNOWN = 0x7FFFFFFF;

// A table length the controller reports that holds no entry worth keeping.
const uint32_t LD_TABLE_MIN_BYTES = 207;
// The most the family reads of a table: one entry per possible SLD index
// (a byte).
const uint32_t LD_TABLE_MAX_BYTES = 256 * sizeof(_VIRT_DRV_PARMS);

} // namespace

int TarnellAdapter::getOtherRaidDef(int raidLv, bool getTNCARaidLevel)
{
    if (getTNCARaidLevel)
        return raidLv >= 0 && raidLv < NUM_RAID_CODES ? TNCA_RAID_CODES[raidLv] : RAID_CODE_UNKNOWN;
    for (int level = 0; level < NUM_RAID_CODES; ++level) {
        if (TNCA_RAID_CODES[level] == raidLv)
            return level;
    }
    return RAID_CODE_UNKNOWN;
}

Ret TarnellAdapter::deleteLDidEntry(int hldID, int sldID, int numSpannedSegments, bool isSLD)
{
    if (!isSLD) {
        if (hldID < 0 || hldID >= NUM_HLD_IDS)
            return Ret(Ret::BAD_PARAM);
        HLD_TNCADllIDs[hldID] = 0;
        return Ret(Ret::SUCCESS);
    }
    // Computed wide so that no pair of ints can overflow into a valid slot.
    const int64_t slot = static_cast<int64_t>(hldID) * numSpannedSegments + sldID;
    if (slot < 0 || slot >= NUM_SLD_IDS)
        return Ret(Ret::BAD_PARAM);
    SLD_TNCADllIDs[slot] = 0;
    return Ret(Ret::SUCCESS);
}

namespace {

// One table of updateTables: asks its length and reads the table afresh.
// A reported length too short to hold an entry drops the table (no copy of
// an earlier read stays behind); a length beyond 256 entries is cut to
// those. A failed length query leaves the table as it was.
Ret refreshLDTable(StoreDLLIntf* store, const _STORAGE_ADDRESS_ID& address, uint32_t which,
                   _VIRT_DRV_PARMS*& table, uint32_t& tableSize, _VIRT_DRV_PARMS* (*newTable)(uint32_t),
                   void (*deleteTable)(_VIRT_DRV_PARMS*), const char* countFailed, const char* readFailed)
{
    uint32_t length = 0;
    S_Ret sret = store->GetVirtDevLdTable(address, length, nullptr, 0, which);
    if (sret.iReturnCode != 0) {
        TarnellUtils::logMessage(WARNING_INFO, countFailed);
        return Ret(Ret::CONTROLLER_FAILED);
    }
    deleteTable(table);
    table = nullptr;
    tableSize = 0;
    if (length <= LD_TABLE_MIN_BYTES)
        return Ret(Ret::SUCCESS);
    if (length > LD_TABLE_MAX_BYTES)
        length = LD_TABLE_MAX_BYTES;

    _VIRT_DRV_PARMS* fresh = newTable(length);
    uint32_t returned = length;
    sret = store->GetVirtDevLdTable(address, returned, fresh, length, which);
    if (sret.iReturnCode == 0) {
        table = fresh;
        tableSize = length;
        return Ret(Ret::SUCCESS);
    }
    deleteTable(fresh);
    TarnellUtils::logMessage(WARNING_INFO, readFailed);
    return Ret(Ret::CONTROLLER_FAILED);
}

} // namespace

Ret TarnellAdapter::updateTables(TarnellAdapter* adapter, bool sld, bool hld)
{
    if (adapter == nullptr)
        return Ret(Ret::BAD_PARAM);
    StoreDLLIntf* store = DllP::GetDLLPointer();
    _STORAGE_ADDRESS_ID address;
    if (store == nullptr || !tarnellAdapterAddress(adapter, address))
        return Ret(Ret::CONTROLLER_FAILED);

    if (sld) {
        Ret ret = refreshLDTable(store, address, LD_TABLE_SLD, adapter->sldTable, adapter->sldTableSize,
                                 newLDTable, deleteLDTable, "Retrieving adapter sld table entries count failed",
                                 "Retrieving adapter sld table failed");
        if (ret.getReturn() != Ret::SUCCESS)
            return ret;
    }
    if (hld) {
        Ret ret = refreshLDTable(store, address, LD_TABLE_HLD, adapter->hldTable, adapter->hldTableSize,
                                 newLDTable, deleteLDTable, "Retrieving adapter hld table entries count failed",
                                 "Retrieving adapter hld table failed");
        if (ret.getReturn() != Ret::SUCCESS)
            return ret;
    }
    return Ret(Ret::SUCCESS);
}
