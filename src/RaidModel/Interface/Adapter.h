#ifndef ADAPTER_H
#define ADAPTER_H

#include <cstdint>
#include <string>
#include <vector>

#include "RaidLib/Util/Buffer.h"
#include "RaidLib/Util/Progress.h"
#include "RaidLib/Util/ProgressCollection.h"
#include "RaidLib/Util/Ret.h"
#include "RaidLib/Util/ShMem.h"
#include "RaidLib/Util/StorEvent.h"
#include "RaidModel/Interface/AdapterFeatures.h"
#include "RaidModel/Interface/ModelEnums.h"
#include "RaidModel/Interface/RaidObject.h"

class Channel;
class SCSIChannel;
class SASChannel;
class SATAChannel;
class HardDrive;
class LogicalDrive;
class Enclosure;
class SES2EnclosureDevice;
class PhysicalDevice;
class SASConnector;
class LogicalDriveSpec;
class SimpleXmlParser;

enum EnumControllerStatus : int32_t {
    CONTROLLER_STATUS_WORKING = 0,
    CONTROLLER_STATUS_FAILED = 1,
    CONTROLLER_STATUS_PASSIVE = 2,
    CONTROLLER_STATUS_REMOVED = 3,
    CONTROLLER_STATUS_INVALID_CONFIG = 4,
    CONTROLLER_STATUS_INACCESSIBLE = 5,
    CONTROLLER_STATUS_UNKNOWN = 6,
    CONTROLLER_STATUS_DOWN = 7,
    CONTROLLER_STATUS_DRIVER_UPDATE = 8
};

// Whether the versions of the controller's code match.
enum EnumCodeVersionStatus : int32_t {
    CODE_VERSION_MATCH = 0,
    CODE_VERSION_NO_MATCH = 1,
    CODE_VERSION_NOT_SUPPORTED = 2
};

// There is no 0.
enum EnumBatteryStatus : int32_t {
    BATTERY_STATUS_UNKNOWN = 1,
    BATTERY_STATUS_OTHER = 2,
    BATTERY_STATUS_NOT_SUPPORTED = 3,
    BATTERY_STATUS_NOT_INSTALLED = 4,
    BATTERY_STATUS_OK = 5,
    BATTERY_STATUS_FAILED = 6,
    BATTERY_STATUS_CHARGING = 7,
    BATTERY_STATUS_DISCHARGING = 8,
    BATTERY_STATUS_MAINTENANCE = 9,
    BATTERY_STATUS_CHARGING_DISABLED = 10
};

// The audible alarm of a controller or an enclosure.
enum EnumAlarmState : int32_t {
    ALARM_NOT_PRESENT = 0,
    ALARM_ENABLED = 1,
    ALARM_DISABLED = 2,
    ALARM_QUIET = 3,
    ALARM_SOUND = 4,
    ALARM_SOUND_STOP = 5
};

// There is no 2.
enum EnumBiosMode : int32_t { BIOSMENU_ON = 0, BIOSMENU_HIDE = 1, BIOSMENU_OFF = 3 };

// The controller log that getControllerLog and clearControllerLog address.
enum EnumLogTypeRequest : int32_t {
    LOG_DEVICE = 0,
    LOG_SOFT = 1,
    LOG_HARD = 2,
    LOG_STRIPE_LOCK = 3,
    LOG_BAD_STRIPE = 4,
    LOG_DEAD_DRIVE = 5,
    LOG_EVENT = 6,
    LOG_UART = 7
};

enum EnumAdapterDiagType : int32_t { ADAPTER_DIAG_DEFAULT = 0 };

// Selector of getLimit and setLimit. The base controller keeps 1 to 7; the
// others exist for the family subclasses.
enum Limit : int32_t {
    MAX_LOGICAL_DRIVES = 1,
    MAX_ARRAYS = 2,
    MAX_SPANNED_ARRAYS = 3,
    MAX_CHANNELS = 4,
    MAX_TARGET_ID = 5,
    MAX_DEVICES_PER_ARRAY = 6,
    MAX_CONTROLLERS = 7,
    MAX_HOT_SPARES = 8,
    MAX_CONFIGURED_DRIVES = 9,
    MAX_GLOBAL_SPARES = 10,
    MAX_ASSIGNED_SPARES_PER_ARRAY = 11,
    MAX_SIMPLE_VOLUMES_PER_ADAPTER = 12
};

static_assert(sizeof(EnumControllerStatus) == 4 && sizeof(EnumBatteryStatus) == 4 &&
                  sizeof(EnumAlarmState) == 4 && sizeof(Limit) == 4,
              "controller enumerations are 32-bit");

// One RAID level the controller can create.
struct RaidSupportInfo {
    EnumRaidLevel raidLevel = RAID_UNKNOWN;
    EnumStripeSize minStripeSize = STRIPE_NA;
    EnumStripeSize maxStripeSize = STRIPE_NA;
    uint32_t minMembers = 0;
    uint32_t maxMembers = 0;
    uint32_t maxDedicatedSpares = 0;
    // The levels a logical drive of this level can be changed into; its own
    // level means it can be expanded.
    std::vector<EnumRaidLevel> migrateTo;
};

// The model node of one RAID controller. It stamps its adapter id and library
// type into every object added below it and files channels, logical drives,
// physical devices and SAS connectors into typed indexes, which never own
// what they list. The management operations answer -1 (not supported) and
// change nothing; each controller family overrides those it carries out.
//
// The typed index getters are templates so that this class does not depend
// on the classes it lists: getChannel(i) gives a Channel* to a caller that
// knows Channel, and getChannel<RaidObject>(i) the plain node.
class STOR_EXPORT Adapter : public RaidObject {
public:
    static const uint32_t VERSION_SIZE = 32; // text buffers, terminator included
    static const uint32_t WWN_SIZE = 8;
    static const uint32_t NUM_EXPANDERS = 2;

    Adapter();
    Adapter(int adapterTypeIN, unsigned long adapterIDIN, EnumControllerStatus adapterStatusIN,
            char* biosVersionIN, char* firmwareVersionIN, char* driverVersionIN, int physicalSlotIN,
            bool unattendedIN, int maxLogicalDrivesIN, int maxArraysIN, int maxSpannedArraysIN,
            int maxChannelsIN, int maxTargetIDIN, int maxDevicesPerArrayIN, int maxControllersIN);
    // A new node (no parent, children, indexes, address or feature table)
    // with a copy of the controller's description.
    Adapter(const Adapter& right);
    // Reads the "Controller" element the parser stands on, with its
    // channels, logical drives and SAS phys, its feature table and its RAID
    // support list.
    explicit Adapter(SimpleXmlParser& xmlParser);
    ~Adapter() override;

    bool isInstanceOf(const char* type) const override;
    const char* typeName() const override;
    const char* serializedName() const override;
    // The attributes of the "Controller" element.
    void writeTo(Writer* writer) const override;
    // Stamps the descendant and files it in the typed indexes.
    void descendantAdded(RaidObject* pDescendantIN) override;
    // The reader of the XML constructor.
    virtual void build(SimpleXmlParser& xmlParser);

    // Model code, adapter id, status, versions and slot; nothing else.
    virtual bool operator==(const Adapter& right) const;
    bool operator!=(const Adapter& right) const { return !(*this == right); }
    // Copies the model code (and so the library type), the adapter id, the
    // status, the three versions, the slot, the alarm state and the two
    // drive cache modes; nothing else.
    Adapter& operator=(const Adapter& right);

    // Management operations; the base answers code -1 and changes nothing.
    virtual Ret getProgress(Progress& p);
    // Appends the task of getProgress(Progress&) when that succeeds.
    virtual Ret getProgress(ProgressCollection& progList);
    virtual Ret setDefective();
    virtual Ret setAttendanceMode(bool mode);
    virtual Ret deleteAllArrays();
    virtual Ret resetAdapterRaidConfig();
    virtual Ret scanForDrives(bool asynchronous);
    virtual Ret abortTask(unsigned long taskIDIN);
    virtual Ret setTaskPriority(unsigned long taskIDIN, EnumPriorityLevel taskPriorityIN);
    virtual Ret setBiosMenu(EnumBiosMode state);
    virtual Ret getEvents(std::string& xmlEvents);
    virtual Ret getEvents(unsigned long startEventNumberIN, std::string& xmlEvents);
    virtual Ret getEvents(unsigned long startEventNumberIN, std::vector<GenericRecord>& eventsINOUT);
    virtual Ret getEvents(StorEventCollection& eventList);
    virtual Ret getEvents(unsigned long startEventNumberIN, StorEventCollection& eventList);
    // MAX_LOGICAL_DRIVES to MAX_CONTROLLERS; 0 for any other selector.
    virtual int getLimit(Limit limit) const;
    // MAX_LOGICAL_DRIVES to MAX_CONTROLLERS; any other selector is ignored.
    virtual void setLimit(Limit limit, int value);
    virtual Ret createLogicalDrive(const LogicalDriveSpec& specIN);
    virtual Ret identifyDevice(bool option);
    virtual Ret getConfiguration(Buffer& bufferOUT);
    virtual Ret setConfiguration(const Buffer& bufferIN);
    virtual Ret getControllerLog(EnumLogTypeRequest logTypeIN, char* pBufferOUT, unsigned long& buffSizeINOUT);
    virtual Ret clearControllerLog(EnumLogTypeRequest logTypeIN);
    virtual Ret setDataScrubActive(bool bActiveIN);
    virtual Ret setDataScrubRate(EnumPriorityLevel priorityIN);
    virtual Ret setDataScrubRate(unsigned long daysIN);
    virtual Ret pauseResumeIO(unsigned long timeoutIN);
    virtual Ret testAllSpares();
    virtual Ret upgradeControllerFirmware(const char* pBaseFilename, bool skip);
    virtual Ret startControllerDiagnostic(EnumAdapterDiagType diagTypeIN);
    virtual Ret setCopyBack(bool bEnabledIN);
    virtual Ret startBatteryCalibration();
    virtual Ret setAlarmState(EnumAlarmState alarmStateIN);
    virtual Ret isPaused(bool& bPausedOUT);
    // SATA first.
    virtual Ret setPhysicalDriveCache(EnumHardDriveCacheMode sataHDCacheModeIN,
                                      EnumHardDriveCacheMode sasHDCacheModeIN);
    virtual Ret clearPPITable();
    virtual int getCacheMemory() const;
    virtual int getInstalledMemory() const;
    // Forwarded to the feature table; without one ignored, or 0.
    virtual void setFeature(FeatureEnum feature, int value);
    virtual int getFeature(FeatureEnum feature);

    // The model code, and the library type that follows from it.
    void setAdapterType(EnumAdapterType adapterTypeIN);
    int getAdapterType() const { return adapterType; }
    EnumControllerStatus getAdapterStatus() const { return adapterStatus; }
    void setAdapterStatus(EnumControllerStatus newStatus) { adapterStatus = newStatus; }

    // Typed indexes: the entry at a position, null when index is not below
    // the count.
    template <class T = Channel>
    T* getChannel(uint32_t index) const
    {
        return static_cast<T*>(entryAt(channelVec, index));
    }
    uint32_t getNumChannels() const { return countOf(channelVec); }
    template <class T = SCSIChannel>
    T* getSCSIChannel(uint32_t index) const
    {
        return static_cast<T*>(entryAt(scsiChannelVec, index));
    }
    uint32_t getNumSCSIChannels() const { return countOf(scsiChannelVec); }
    template <class T = SASChannel>
    T* getSASChannel(uint32_t index) const
    {
        return static_cast<T*>(entryAt(sasChannelVec, index));
    }
    uint32_t getNumSASChannels() const { return countOf(sasChannelVec); }
    template <class T = SATAChannel>
    T* getSATAChannel(uint32_t index) const
    {
        return static_cast<T*>(entryAt(sataChannelVec, index));
    }
    uint32_t getNumSATAChannels() const { return countOf(sataChannelVec); }
    template <class T = LogicalDrive>
    T* getLogicalDrive(uint32_t index) const
    {
        return static_cast<T*>(entryAt(logicalDriveVec, index));
    }
    template <class T = LogicalDrive>
    T* getLogical(uint32_t index) const
    {
        return getLogicalDrive<T>(index);
    }
    uint32_t getNumLogicalDrives() const { return countOf(logicalDriveVec); }
    uint32_t getNumLogicals() const { return countOf(logicalDriveVec); }
    template <class T = HardDrive>
    T* getHardDrive(uint32_t index) const
    {
        return static_cast<T*>(entryAt(hardDriveVec, index));
    }
    template <class T = HardDrive>
    T* getDrive(uint32_t index) const
    {
        return getHardDrive<T>(index);
    }
    uint32_t getNumHardDrives() const { return countOf(hardDriveVec); }
    uint32_t getNumDrives() const { return countOf(hardDriveVec); }
    template <class T = Enclosure>
    T* getEnclosure(uint32_t index) const
    {
        return static_cast<T*>(entryAt(enclosureVec, index));
    }
    uint32_t getNumEnclosures() const { return countOf(enclosureVec); }
    template <class T = SES2EnclosureDevice>
    T* getSES2EnclosureDevice(uint32_t index) const
    {
        return static_cast<T*>(entryAt(ses2EnclosureVec, index));
    }
    template <class T = SES2EnclosureDevice>
    T* getSES2Enclosure(uint32_t index) const
    {
        return getSES2EnclosureDevice<T>(index);
    }
    uint32_t getNumSES2EnclosureDevices() const { return countOf(ses2EnclosureVec); }
    uint32_t getNumSES2Enclosures() const { return countOf(ses2EnclosureVec); }
    template <class T = PhysicalDevice>
    T* getPhysicalDevice(uint32_t index) const
    {
        return static_cast<T*>(entryAt(allPhysicalsVec, index));
    }
    template <class T = PhysicalDevice>
    T* getDevice(uint32_t index) const
    {
        return getPhysicalDevice<T>(index);
    }
    uint32_t getNumPhysicalDevices() const { return countOf(allPhysicalsVec); }
    uint32_t getNumDevices() const { return countOf(allPhysicalsVec); }
    template <class T = PhysicalDevice>
    T* getOtherPhysicalDevice(uint32_t index) const
    {
        return static_cast<T*>(entryAt(otherPhysicalsVec, index));
    }
    template <class T = PhysicalDevice>
    T* getOtherDevice(uint32_t index) const
    {
        return getOtherPhysicalDevice<T>(index);
    }
    uint32_t getNumOtherPhysicalDevices() const { return countOf(otherPhysicalsVec); }
    uint32_t getNumOtherDevices() const { return countOf(otherPhysicalsVec); }
    template <class T = SASConnector>
    T* getSASConnector(uint32_t index) const
    {
        return static_cast<T*>(entryAt(SASConnectorVec, index));
    }
    uint32_t getNumSASConnector() const { return countOf(SASConnectorVec); }

    // Field accessors.
    char* getBiosVersion() const { return biosVersion; }
    char* getFirmwareVersion() const { return firmwareVersion; }
    char* getDeviceDriverVersion() const { return driverVersion; }
    char* getFirmwareBootVersion() const { return firmwareBootVersion; }
    const char* getStagedVersion() const { return stagedVersion; }
    const char* getDeviceVendor() const { return deviceVendor; }
    const char* getDeviceName() const { return deviceName; }
    const char* getSerialNumString() const { return serialNumString; }
    int getPhysicalSlot() const { return physicalSlot; }
    bool isUnattended() const { return unattended; }
    uint32_t getReservedInBeginning() const { return reservedInBeginning; }
    uint32_t getReservedInEnd() const { return reservedInEnd; }
    int getMaxTopLevelLogicalDrives() const { return maxTopLevelLogicalDrives; }
    EnumAlarmState getAlarmState() const { return alarmState; }
    int getMaxTotalRAIDMembers() const { return maxTotalRAIDMembers; }
    int getMaxSnapshots() const { return maxSnapshots; }
    int getMaxStripeSize() const { return maxStripeSize; }
    int getMinStripeSize() const { return minStripeSize; }
    int getMaxTargetID() const { return maxTargetID; }
    uint32_t getPciVendorID() const { return pciVendorID; }
    uint32_t getPciDeviceID() const { return pciDeviceID; }
    uint32_t getPciDevice() const { return pciDevice; }
    uint32_t getPciSubVendor() const { return pciSubVendorID; }
    uint32_t getPciSubDevice() const { return pciSubDeviceID; }
    uint32_t getPCIBus() const { return pciBus; }
    uint32_t getPCIFunction() const { return pciFunction; }
    bool IsClustered() const { return isClustered; }
    void SetClustered() { isClustered = true; }
    EnumBatteryStatus getBatStatus() const { return batStatus; }
    bool IsBatTempWarning() const { return batTempWarning; }
    bool IsBatReconditionRequired() const { return batReconditionRequired; }
    uint32_t getBatFullCapacity() const { return batFullCapacity; }
    uint32_t getBatRemainingCapacity() const { return batRemainingCapacity; }
    uint32_t getBatCurrentDraw() const { return batCurrentDraw; }
    uint32_t getBuildNum() const { return buildNum; }
    uint32_t getFwBuildNum() const { return fwBuildNum; }
    uint32_t getBiosBuildNum() const { return biosBuildNum; }
    uint32_t getDriverBuildNum() const { return driverBuildNum; }
    uint32_t getFwBootBuildNum() const { return fwBootBuildNum; }
    bool IsAsyncRescanActive() const { return asyncRescanActive; }
    // Records a pending (asynchronous) rescan.
    void setRescanPending(bool pending) { asyncRescanActive = pending; }
    bool IsDataScrubbingActive() const { return dataScrubbingActive; }
    bool IsCopyBackEnabled() const { return copyBackEnabled; }
    EnumCodeVersionStatus getVersionMatchStatus() const { return versionMatchStatus; }
    uint32_t getMaxNumPhy() const { return maxNumPhy; }
    uint32_t getMaxSasPorts() const { return maxSasPorts; }
    uint32_t getSerialNum0() const { return serialNum[0]; }
    uint32_t getSerialNum1() const { return serialNum[1]; }
    int getHSTemperature() const { return heatSensorTemperature; }
    int getHSThresholdLo() const { return heatSensorThresholdLo; }
    int getHSThresholdHi() const { return heatSensorThresholdHi; }
    uint32_t getLongSerialNum() const { return longSerialNum; }
    EnumHardDriveCacheMode getSasHDCacheMode() const { return sasHDCacheMode; }
    void setSasHDCacheMode(EnumHardDriveCacheMode m) { sasHDCacheMode = m; }
    EnumHardDriveCacheMode getSataHDCacheMode() const { return sataHDCacheMode; }
    void setSataHDCacheMode(EnumHardDriveCacheMode m) { sataHDCacheMode = m; }
    // The 8 bytes of expander WWN 0 or 1; null for any other index.
    unsigned char* getOnBoardExpandersWWN(unsigned long index);
    // Copies 8 bytes into expander WWN 0 or 1; any other index or a null
    // wwn is ignored.
    void setOnBoardExpandersWWN(unsigned long index, unsigned char* wwn);

    // The RAID levels the controller supports, in the order they were added.
    std::vector<RaidSupportInfo> raidLevelSupport;

protected:
    // A new owned, empty text buffer of VERSION_SIZE characters.
    static char* newVersionBuffer();
    // Copies at most VERSION_SIZE - 1 characters of text (null gives an
    // empty text) into an owned buffer.
    static void copyVersion(char* buffer, const char* text);

    std::vector<RaidObject*> channelVec;
    std::vector<RaidObject*> scsiChannelVec;
    std::vector<RaidObject*> sasChannelVec;
    std::vector<RaidObject*> sataChannelVec;
    std::vector<RaidObject*> hardDriveVec;
    std::vector<RaidObject*> logicalDriveVec;
    std::vector<RaidObject*> enclosureVec;
    std::vector<RaidObject*> ses2EnclosureVec;
    std::vector<RaidObject*> allPhysicalsVec;
    std::vector<RaidObject*> otherPhysicalsVec;
    std::vector<RaidObject*> SASConnectorVec;
    int32_t adapterType;
    EnumControllerStatus adapterStatus;
    char* biosVersion;
    char* firmwareVersion;
    char* driverVersion;
    char stagedVersion[VERSION_SIZE];
    int32_t physicalSlot;
    bool unattended;
    int32_t maxLogicalDrives;
    int32_t maxArrays;
    int32_t maxSpannedArrays;
    int32_t maxChannels;
    int32_t maxTargetID;
    int32_t maxDevicesPerArray;
    int32_t maxControllers;
    int32_t maxTopLevelLogicalDrives;
    uint32_t reservedInBeginning;
    uint32_t reservedInEnd;
    AdapterFeatures* features;
    int32_t maxTotalRAIDMembers;
    int32_t maxSnapshots;
    int32_t maxStripeSize;
    int32_t minStripeSize;
    char deviceVendor[VERSION_SIZE];
    char deviceName[VERSION_SIZE];
    uint32_t pciVendorID;
    uint32_t pciDevice;
    uint32_t pciDeviceID;
    uint32_t pciSubVendorID;
    uint32_t pciSubDeviceID;
    uint32_t pciBus;
    uint32_t pciFunction;
    bool isClustered;
    EnumAlarmState alarmState;
    EnumBatteryStatus batStatus;
    bool batTempWarning;
    bool batReconditionRequired;
    uint32_t batFullCapacity;
    uint32_t batRemainingCapacity;
    uint32_t batCurrentDraw;
    uint32_t buildNum;
    uint32_t fwBuildNum;
    uint32_t biosBuildNum;
    uint32_t driverBuildNum;
    bool asyncRescanActive;
    bool dataScrubbingActive;
    bool copyBackEnabled;
    EnumCodeVersionStatus versionMatchStatus;
    uint32_t maxNumPhy;
    uint32_t maxSasPorts;
    uint32_t serialNum[2];
    int32_t heatSensorTemperature;
    int32_t heatSensorThresholdLo;
    int32_t heatSensorThresholdHi;
    uint32_t longSerialNum;
    char serialNumString[VERSION_SIZE];
    char* firmwareBootVersion;
    uint32_t fwBootBuildNum;
    unsigned char onBoardExpandersWWN[NUM_EXPANDERS][WWN_SIZE];
    EnumHardDriveCacheMode sasHDCacheMode;
    EnumHardDriveCacheMode sataHDCacheMode;

private:
    // The RAID levels the controller can create, from the feature
    // attributes of its element.
    void deriveRaidLevelSupport();
    // The library type of a model code (STORLIB_UNKNOWN when it has none).
    static EnumStorLibType storLibTypeOf(int32_t adapterTypeIN);
    // Every field but the lists, the address and the version buffers, at
    // the default constructor's values.
    void setDefaults();
    static RaidObject* entryAt(const std::vector<RaidObject*>& list, uint32_t index)
    {
        return index < list.size() ? list[index] : nullptr;
    }
    static uint32_t countOf(const std::vector<RaidObject*>& list)
    {
        return static_cast<uint32_t>(list.size());
    }
};

#endif
