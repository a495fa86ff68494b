#ifndef TARNELLADAPTER_H
#define TARNELLADAPTER_H

// The controller node of the Tarnell family: an Adapter that also carries
// what the family reads from its controller through the C API (cache,
// rebuild, cluster and BIOS settings, the battery-backed cache, vital product
// data, extended battery data, the firmware feature record and the adapter's
// own capability table), the in-use marks of its model logical-drive ids and
// the controller's logical-drive tables.
//
// The model adapter id (the adapter id of the address) and the controller's
// number in the C API differ: the model id is an index handed out in
// first-seen order by getUniqueID, and the process-wide table behind it turns
// it back into the C-API number for every controller request.

#include <cstdint>
#include <string>
#include <vector>

#include "RaidLib/Util/RaidEvent.h"
#include "RaidLib/Util/Ret.h"
#include "RaidModel/Implementation/Tarnell/TarnellAdapterFeatures.h"
#include "RaidModel/Implementation/Tarnell/TarnellAdapterInfo.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/Channel.h"
#include "RaidModel/Interface/ChunkSpec.h"
#include "storagedll/raidrec.h"
#include "storagedll/storrec.h"

class Array;
class LogicalDriveSpec;
class Progress;
class ProgressCollection;
class TarnellBasicLogicalDrive;
class TarnellConfig;
class TarnellHLogicalDrive;
class TarnellSpannedArray;

class STOR_EXPORT TarnellAdapter : public Adapter {
public:
    static const int NUM_HLD_IDS = 8;   // top-level logical-drive ids 0-7
    static const int NUM_SLD_IDS = 64;  // sub-logical-drive slots, model ids 8-71

    TarnellAdapter(int adapterTypeIN, int adapterIDIN, int TNCAdllIDIN, EnumControllerStatus adapterStatusIN,
                   char* biosVersionIN, char* firmwareVersionIN, char* driverVersionIN, int physicalSlotIN,
                   bool batteryCacheInstalledIN, int bbcSizeIN, int batteryCacheErrorCodeIN, bool readAheadIN,
                   bool adaptiveReadAheadIN, int stripeUnitSizeIN, std::string rebuildRateIN,
                   bool hotSwapRebuildIN, bool copyBackIN, bool dataScrubbingIN, bool autoSynchronizationIN,
                   bool clusteringIN, bool limitedBIOSCompatibilityIN, bool unattendedIN, int adapterModeIN,
                   uint32_t versionMatchingIN, AdapterVPDInfo* vpdInfoIN, ExtendedBatteryInfo* batteryInfoIN,
                   std::string hostIDIN, std::string clusterPartnerIDIN, std::string BBCSerialNumberIN,
                   std::string BBCSerialNumberConfigIN, int maxLogicalDrivesIN, int maxArraysIN,
                   int maxSpannedArraysIN, int maxChannelsIN, int maxTargetIDIN, int maxDevicesPerArrayIN,
                   int maxControllersIN, int maxConfiguredDrivesIN, int maxGlobalSparesIN,
                   int maxAssignedSparesPerArrayIN, _ADAPTER_FEATURES TarnellFeatureLevelsIN,
                   TarnellAdapterFeatures* featuresIN);
    // An adapter without capability table, product or battery data.
    TarnellAdapter();
    // Shares no memory with right; what right lacks (capability table,
    // product data, battery data, tables) the copy lacks too.
    TarnellAdapter(const TarnellAdapter& right);
    TarnellAdapter& operator=(const TarnellAdapter&) = delete;
    ~TarnellAdapter() override;

    bool isInstanceOf(const char* type) const override;
    const char* typeName() const override;
    // The Adapter attributes, then the family's 16 (flags as 0 or 1).
    void writeTo(Writer* writer) const override;
    // The family limits MAX_CONFIGURED_DRIVES, MAX_GLOBAL_SPARES and
    // MAX_ASSIGNED_SPARES_PER_ARRAY; the others as Adapter answers them.
    int getLimit(Limit limit) const override;
    // The generic table of the adapter's own capability table; without one
    // setFeature is ignored and getFeature answers 0.
    void setFeature(FeatureEnum feature, int value) override;
    int getFeature(FeatureEnum feature) override;

    // The C-API number of this adapter's controller; -1 when the adapter id
    // was never handed out by getUniqueID (then no request may be sent).
    int getTNCAdllID() const;
    // Records the C-API number of this adapter's model id; ignored for an id
    // that was never handed out.
    void setTNCAdllID(int TNCAdllIDIN);

    // The model adapter id of a C-API adapter number: the index at which the
    // number was first seen in the process.
    static int getUniqueID(int TNCAdllIDIN);
    // For tests only: forget every number seen.
    static void resetAdapterIDsForTest();

    // The channel below this adapter whose channel id is bus, or null. It
    // hides Adapter's getChannel by index; Adapter::getChannel still gives that.
    Channel* getChannel(int bus);

    bool getBatteryCacheInstalled() const { return batteryCacheInstalled; }
    int getBatteryCacheErrorCode() const { return batteryCacheErrorCode; }
    int getBBCSize() const { return bbcSize; }
    bool getReadAhead() const { return readAhead; }
    bool getAdaptiveReadAhead() const { return adaptiveReadAhead; }
    int getStripeUnitSize() const { return stripeUnitSize; }
    std::string getRebuildRate() const { return rebuildRate; }
    bool getHotSwapRebuild() const { return hotSwapRebuild; }
    bool getCopyBack() const { return copyBack; }
    bool getDataScrubbing() const { return dataScrubbing; }
    bool getAutoSynchronizationEnabled() const { return autoSynchronization; }
    bool getClustering() const { return clustering; }
    bool getLimitedBIOSCompatibility() const { return limitedBIOSCompatibility; }
    std::string getHostID() const { return hostID; }
    std::string getClusterPartnerID() const { return clusterPartnerID; }
    std::string getBBCSerialNumber() const { return BBCSerialNumber; }
    std::string getBBCSerialNumberConfig() const { return BBCSerialNumberConfig; }
    bool getUnattended() const { return unattended; }
    int getAdapterMode() const { return adapterMode; }
    uint32_t getVersionMatching() const { return versionMatching; }
    AdapterVPDInfo* getAdapterVPDInfo() const { return vpdInfo; }
    ExtendedBatteryInfo* getExtendedBatteryInfo() const { return batteryInfo; }
    EnumChannelType getChannelType() const { return channelType; }
    TarnellAdapterFeatures* getTarnellAdapterFeatures() const { return features; }
    _VIRT_DRV_PARMS* getHLDTable() const { return hldTable; }
    _VIRT_DRV_PARMS* getSLDTable() const { return sldTable; }
    int getHLDTableSize() const { return static_cast<int>(hldTableSize); }
    int getSLDTableSize() const { return static_cast<int>(sldTableSize); }
    int* getHLDdllIDs() { return HLD_TNCADllIDs; }
    int* getSLDdllIDs() { return SLD_TNCADllIDs; }

    // With getTNCARaidLevel true the controller's code of a model RAID level,
    // with false the model RAID level of a controller code; 0x7FFFFFFF for
    // any value outside the family's table.
    static int getOtherRaidDef(int raidLv, bool getTNCARaidLevel);

    // Gives a model logical-drive id back: clears the in-use mark of
    // top-level id hldID (isSLD false) or of sub-logical slot
    // hldID * numSpannedSegments + sldID (isSLD true). -2 and nothing cleared
    // when the index lies outside the marks.
    Ret deleteLDidEntry(int hldID, int sldID, int numSpannedSegments, bool isSLD);

    // Re-reads the adapter's copies of the controller's SLD table (sld), then
    // of its HLD table (hld), without touching the model tree. A reported
    // length of at most 207 bytes leaves no table; at most 256 entries are
    // read. 0; -2 for a null adapter; -5 without controller access (nothing
    // read) and, with a warning in the family log, when a read fails: a
    // failed length query keeps that table, a failed table read leaves it
    // absent.
    static Ret updateTables(TarnellAdapter* adapter, bool sld, bool hld);

    // The model name of an adapter type ("ZEQ Tarnell Family" for codes
    // without a name of their own).
    static const char* modelName(int adapterTypeIN);

    // ---- Physical device build (TarnellPhysicalBuild.cpp)

    // Builds one device object per occupied slot of the controller's
    // configuration on the adapter's channels (at most 4): hard drives with
    // their write-cache, self-test and OS-partition facts, tape, CD-ROM and
    // optical drives, SAF-TE enclosures; printers, changers and other types
    // get none. A device whose channel object is missing is skipped with a
    // warning in the family log. 0; -2 for a null adapter; -5 when the
    // controller cannot be reached or its adapter data cannot be read
    // (nothing built then).
    static Ret buildPhysicalDevices(TarnellAdapter* adapter);
    // True when block 0 of the drive at (channelID, deviceID) reads without
    // status bytes and ends with the boot signature 55 AA.
    bool calculateHasOsPartition(int channelID, int deviceID);

    // ---- Logical device build (TarnellLogicalBuild.cpp)

    // Builds the logical half of the adapter's subtree afresh: empties (or
    // makes) its TarnellConfig, refreshes the SLD and HLD tables, then builds
    // every listed logical drive with its arrays and chunks and computes the
    // array sizes. 0; -2 for a null adapter; -5 when a controller read fails
    // (with a warning in the family log; what was built so far stays).
    static Ret buildLogicalDevices(TarnellAdapter* adapter);
    // One spanned drive (C-API number) with its spanned array and
    // sub-logical drives; null when nothing of the drive is added.
    static TarnellHLogicalDrive* getHLogicalDriveConfig(TarnellAdapter* adapter, int number,
                                                        _VIRT_DRV_PARMS record, _ADAPTER_CONFIG* config,
                                                        TarnellConfig* pConfig);
    // One basic drive with its array and chunks. With a null sArray a
    // top-level drive (number: its C-API number), attached to its array;
    // otherwise a sub-logical drive of sArray (number: its SLD index,
    // logicalDriveID: the id its spanned drive allocated), left to the
    // caller. A free sub-logical entry gives a FREE placeholder without an
    // array. Null when nothing is to be added.
    static TarnellBasicLogicalDrive* getLogicalDriveConfig(TarnellAdapter* adapter, int number,
                                                           _VIRT_DRV_PARMS record, _ADAPTER_CONFIG* config,
                                                           TarnellSpannedArray* sArray, TarnellConfig* pConfig,
                                                           int logicalDriveID);
    // The model logical-drive id, marked in use: hldID (0-7) for a top-level
    // drive; 8 + hldID * numSpannedSegments + sldID (slots 0-63) for a
    // sub-logical drive. -1 outside those ranges.
    int getNextUnqLDid(int hldID, int sldID, int numSpannedSegments, bool isSLD);
    // The existing array whose hard drives are exactly those of the chunk
    // specs, through reqArray: null with 0 when the specs name no drive that
    // carries a chunk; null with -2 (and a warning in the family log) when
    // the specs cover that array's drives only in part or differ from them.
    // No specs: 0 and reqArray untouched. A null reqArray gives -2.
    Ret returnArray(ChunkSpecCollection& chSpecColl, Array** reqArray);
    // For tests only: clear the blocked-drive flags of every adapter.
    static void resetBlockedDrivesForTest();

    // ---- The adapter of one controller, read through the C API.

    // A new adapter of the controller at the C-API address (which is not
    // changed) with its settings, capability table, at most 4 channels and
    // its physical and logical devices; the caller owns it. Null without
    // controller access or when one of the controller's essential records
    // cannot be read (with a line in the family log); nothing is left
    // allocated then.
    static TarnellAdapter* build(_STORAGE_ADDRESS_ID& address);

    // PCI ids of the family's controllers, written as "pciVendorID" and
    // "pciDeviceID".
    static const unsigned int TARNELL_PCI_VENDOR_ID = 0x1E5A;
    static const unsigned int TARNELL_PCI_DEVICE_ID = 0x0B20;

    // ---- Operations of the adapter.

    // The task in progress on the first of the adapter's logical drives that
    // reports one; TASK_NONE and TASK_STATE_NONE with code 0 when none does.
    Ret getProgress(Progress& progress) override;
    using Adapter::getProgress;
    // Whether the controller firmware offers a feature (by the family's
    // feature id); false for ids the family does not know.
    bool supports(int feature) const;
    // Read-ahead on or off; 0 without a request when it already is so.
    Ret setReadAheadMode(bool enable);
    // The adapter-wide write-cache policy.
    Ret setWriteCacheEnable(bool enable);
    // Copy-back on or off; 0 without a request when it already is so.
    Ret setCopyBack(bool enable) override;
    // The stripe size by its code 4 to 7 (8 to 64 KB); -1, nothing sent, for
    // any other value.
    Ret setStripeSize(EnumStripeSize stripeSizeIN);
    // Fills the record with the controller's task progress; on a failure it
    // holds nothing new.
    Ret returnProgress(_REBUILD_STATUS& rbldStatus);
    // Creates a logical drive of RAID level 0 to 7 (basic) or 8 to 11
    // (spanned) over the chunks of spec, on the array they already form or
    // on a new one: -1 for any other level, -2 when the chunks form an array
    // of the other kind.
    Ret createLogicalDrive(Addr addr, LogicalDriveSpec& spec);
    using Adapter::createLogicalDrive;

    // ---- Rescan (TarnellRescan.cpp)

    // Synchronous rescan: every target id of every channel of the controller
    // that holds no drive is offered the ready state (a new drive takes it),
    // every ready drive is taken down and set ready again (a removed one
    // refuses); progress and the two counts go to standard error. 0; -1 for
    // an asynchronous request (nothing done); -5 without controller access
    // or when the controller cannot be read.
    Ret scanForDrives(bool asynchronous) override;

    // ---- The controller's event logs (TarnellControllerLog.cpp)

    // Writes one of the controller's logs (device, soft, hard, bad-stripe,
    // dead-drive) into the buffer as the controller event-log document,
    // cut to the lines that fit; buffSizeINOUT then holds its length
    // (12, with the terminator, for the empty form "<eventlog/>"). -2 for a
    // null buffer or size 0, and when the buffer is too small (then
    // buffSizeINOUT holds a size that is enough, the buffer untouched); -1
    // for other log types (nothing sent); -5 when the controller cannot be
    // reached or the read fails.
    Ret getControllerLog(EnumLogTypeRequest logTypeIN, char* pBufferOUT, unsigned long& buffSizeINOUT) override;
    // Erases one of those logs; -1 for other log types, -5 as above.
    Ret clearControllerLog(EnumLogTypeRequest logTypeIN) override;

protected:
    // The logical-drive tables are byte blocks of the length the controller
    // reports, made and released only with these two.
    static _VIRT_DRV_PARMS* newLDTable(uint32_t sizeBytes);
    static void deleteLDTable(_VIRT_DRV_PARMS* table);

    int HLD_TNCADllIDs[NUM_HLD_IDS];
    int SLD_TNCADllIDs[NUM_SLD_IDS];
    int maxConfiguredDrives;
    int maxGlobalSpares;
    int maxAssignedSparesPerArray;
    // The adapter's own capability table and PCI ids; the Adapter members of
    // the same names keep what the Adapter constructor gave them.
    TarnellAdapterFeatures* features;
    unsigned int pciVendorID;
    unsigned int pciDeviceID;
    unsigned int pciBus;
    unsigned int pciDevice;
    unsigned int pciFunction;
    unsigned int pciSubVendorID;
    unsigned int pciSubDeviceID;
    EnumChannelType channelType;
    _ADAPTER_FEATURES TarnellFeatureLevels;   // the controller's firmware feature record
    _VIRT_DRV_PARMS* hldTable;
    _VIRT_DRV_PARMS* sldTable;
    uint32_t hldTableSize;
    uint32_t sldTableSize;
    bool batteryCacheInstalled;
    int batteryCacheErrorCode;
    bool readAhead;
    bool adaptiveReadAhead;
    int stripeUnitSize;
    std::string rebuildRate;
    bool hotSwapRebuild;
    bool copyBack;
    bool dataScrubbing;
    bool autoSynchronization;
    bool clustering;
    bool limitedBIOSCompatibility;
    std::string hostID;
    std::string clusterPartnerID;
    bool unattended;
    std::string BBCSerialNumber;
    std::string BBCSerialNumberConfig;
    int adapterMode;
    uint32_t versionMatching;
    int bbcSize;
    AdapterVPDInfo* vpdInfo;
    ExtendedBatteryInfo* batteryInfo;

private:
    friend class TarnellEvents;

    void setModelName(const char* name);
    // C-API adapter numbers by model adapter id, and how many were handed out.
    static std::vector<int> TNCADllIDs;
    static int numTarnellAdapters;
    // The family's event ring (TarnellEvents): the slots, the slot of the
    // newest event (-1 while none was added) and how often it wrapped.
    static RaidEvent eventsBuffer[32];
    static int currentEvtPtr;
    static int eventCycleCount;
};

#endif
