#include "RaidModel/Interface/Adapter.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "RaidLib/Util/StorDebug.h"
#include "RaidLib/Util/TextCopy.h"
#include "RaidModel/Serialization/Writer.h"

namespace {

char* emptyVersion() { return new char[Adapter::VERSION_SIZE](); }

// The four version buffers of a new adapter, all or none: a failed
// allocation leaves none behind.
void newVersionBuffers(char*& bios, char*& firmware, char*& driver, char*& boot)
{
    std::unique_ptr<char[]> b(emptyVersion());
    std::unique_ptr<char[]> f(emptyVersion());
    std::unique_ptr<char[]> d(emptyVersion());
    boot = emptyVersion();
    bios = b.release();
    firmware = f.release();
    driver = d.release();
}

} // namespace

char* Adapter::newVersionBuffer() { return emptyVersion(); }

void Adapter::copyVersion(char* buffer, const char* text) { copyText(buffer, VERSION_SIZE, text); }

void Adapter::setDefaults()
{
    adapterType = 0;
    adapterStatus = CONTROLLER_STATUS_WORKING;
    memset(stagedVersion, 0, sizeof(stagedVersion));
    physicalSlot = 0;
    unattended = false;
    maxLogicalDrives = 0;
    maxArrays = 0;
    maxSpannedArrays = 0;
    maxChannels = 0;
    maxTargetID = 0;
    maxDevicesPerArray = 0;
    maxControllers = 0;
    maxTopLevelLogicalDrives = 0;
    reservedInBeginning = 0;
    reservedInEnd = 0;
    features = nullptr;
    maxTotalRAIDMembers = 0;
    maxSnapshots = 0;
    maxStripeSize = 0;
    minStripeSize = 0;
    memset(deviceVendor, 0, sizeof(deviceVendor));
    memset(deviceName, 0, sizeof(deviceName));
    pciVendorID = 0;
    pciDevice = 0;
    pciDeviceID = 0;
    pciSubVendorID = 0;
    pciSubDeviceID = 0;
    pciBus = 0;
    pciFunction = 0;
    isClustered = false;
    alarmState = ALARM_NOT_PRESENT;
    batStatus = BATTERY_STATUS_UNKNOWN;
    batTempWarning = false;
    batReconditionRequired = true;
    batFullCapacity = 0;
    batRemainingCapacity = 0;
    batCurrentDraw = 0;
    buildNum = 0;
    fwBuildNum = 0;
    biosBuildNum = 0;
    driverBuildNum = 0;
    asyncRescanActive = false;
    dataScrubbingActive = false;
    copyBackEnabled = false;
    versionMatchStatus = CODE_VERSION_NOT_SUPPORTED;
    maxNumPhy = 0;
    maxSasPorts = 0;
    serialNum[0] = 0;
    serialNum[1] = 0;
    heatSensorTemperature = 0;
    heatSensorThresholdLo = 0;
    heatSensorThresholdHi = 0;
    longSerialNum = 0;
    memset(serialNumString, 0, sizeof(serialNumString));
    fwBootBuildNum = 0;
    memset(onBoardExpandersWWN, 0, sizeof(onBoardExpandersWWN));
    sasHDCacheMode = HARD_DRIVE_CACHE_MODE_NOT_SUPPORTED;
    sataHDCacheMode = HARD_DRIVE_CACHE_MODE_NOT_SUPPORTED;
}

Adapter::Adapter()
    : biosVersion(nullptr), firmwareVersion(nullptr), driverVersion(nullptr), firmwareBootVersion(nullptr)
{
    StorDebugTracer tracer(myAddr2.getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "Adapter::Adapter()");
    setDefaults();
    newVersionBuffers(biosVersion, firmwareVersion, driverVersion, firmwareBootVersion);
}

Adapter::Adapter(int adapterTypeIN, unsigned long adapterIDIN, EnumControllerStatus adapterStatusIN,
                 char* biosVersionIN, char* firmwareVersionIN, char* driverVersionIN, int physicalSlotIN,
                 bool unattendedIN, int maxLogicalDrivesIN, int maxArraysIN, int maxSpannedArraysIN,
                 int maxChannelsIN, int maxTargetIDIN, int maxDevicesPerArrayIN, int maxControllersIN)
    : biosVersion(nullptr), firmwareVersion(nullptr), driverVersion(nullptr), firmwareBootVersion(nullptr)
{
    // Opened before the model code is set: traced under a new node's type.
    StorDebugTracer tracer(myAddr2.getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "Adapter::Adapter(int adapterTypeIN, ...)");
    setDefaults();
    setAdapterType(static_cast<EnumAdapterType>(adapterTypeIN));
    myAddr2.setAdapterID(static_cast<STORID_T>(adapterIDIN));
    adapterStatus = adapterStatusIN;
    physicalSlot = physicalSlotIN;
    maxLogicalDrives = maxLogicalDrivesIN;
    maxArrays = maxArraysIN;
    maxSpannedArrays = maxSpannedArraysIN;
    maxChannels = maxChannelsIN;
    maxTargetID = maxTargetIDIN;
    maxDevicesPerArray = maxDevicesPerArrayIN;
    maxControllers = maxControllersIN;
    unattended = unattendedIN;
    newVersionBuffers(biosVersion, firmwareVersion, driverVersion, firmwareBootVersion);
    copyVersion(biosVersion, biosVersionIN);
    copyVersion(firmwareVersion, firmwareVersionIN);
    copyVersion(driverVersion, driverVersionIN);
}

Adapter::Adapter(const Adapter& right)
    : RaidObject(right),
      biosVersion(nullptr),
      firmwareVersion(nullptr),
      driverVersion(nullptr),
      firmwareBootVersion(nullptr)
{
    StorDebugTracer tracer(myAddr2.getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "Adapter::Adapter(const Adapter &)");
    setDefaults();
    adapterType = right.adapterType;
    adapterStatus = right.adapterStatus;
    physicalSlot = right.physicalSlot;
    unattended = right.unattended;
    reservedInBeginning = right.reservedInBeginning;
    reservedInEnd = right.reservedInEnd;
    maxTopLevelLogicalDrives = right.maxTopLevelLogicalDrives;
    maxSnapshots = right.maxSnapshots;
    maxStripeSize = right.maxStripeSize;
    minStripeSize = right.minStripeSize;
    newVersionBuffers(biosVersion, firmwareVersion, driverVersion, firmwareBootVersion);
    copyVersion(biosVersion, right.biosVersion);
    copyVersion(firmwareVersion, right.firmwareVersion);
    copyVersion(driverVersion, right.driverVersion);
    memcpy(deviceVendor, right.deviceVendor, sizeof(deviceVendor));
    memcpy(deviceName, right.deviceName, sizeof(deviceName));
    pciVendorID = right.pciVendorID;
    pciDevice = right.pciDevice;
    pciDeviceID = right.pciDeviceID;
    pciSubVendorID = right.pciSubVendorID;
    pciSubDeviceID = right.pciSubDeviceID;
    pciBus = right.pciBus;
    pciFunction = right.pciFunction;
    isClustered = right.isClustered;
    batStatus = right.batStatus;
    batTempWarning = right.batTempWarning;
    batReconditionRequired = right.batReconditionRequired;
    batFullCapacity = right.batFullCapacity;
    batRemainingCapacity = right.batRemainingCapacity;
    batCurrentDraw = right.batCurrentDraw;
    buildNum = right.buildNum;
    fwBuildNum = right.fwBuildNum;
    biosBuildNum = right.biosBuildNum;
    driverBuildNum = right.driverBuildNum;
    asyncRescanActive = right.asyncRescanActive;
    dataScrubbingActive = right.dataScrubbingActive;
    copyBackEnabled = right.copyBackEnabled;
    versionMatchStatus = right.versionMatchStatus;
    maxNumPhy = right.maxNumPhy;
    maxSasPorts = right.maxSasPorts;
    serialNum[0] = right.serialNum[0];
    serialNum[1] = right.serialNum[1];
    alarmState = right.alarmState;
    heatSensorTemperature = right.heatSensorTemperature;
    heatSensorThresholdLo = right.heatSensorThresholdLo;
    heatSensorThresholdHi = right.heatSensorThresholdHi;
    memcpy(serialNumString, right.serialNumString, sizeof(serialNumString));
    memcpy(onBoardExpandersWWN, right.onBoardExpandersWWN, sizeof(onBoardExpandersWWN));
    sasHDCacheMode = right.sasHDCacheMode;
    sataHDCacheMode = right.sataHDCacheMode;
}

Adapter::~Adapter()
{
    StorDebugTracer tracer(myAddr2.getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "Adapter::~Adapter()");
    delete[] biosVersion;
    delete[] firmwareVersion;
    delete[] driverVersion;
    delete[] firmwareBootVersion;
    delete features;
}

bool Adapter::isInstanceOf(const char* type) const
{
    return isClassName(type, "Adapter") || RaidObject::isInstanceOf(type);
}

const char* Adapter::typeName() const { return "Adapter"; }

const char* Adapter::serializedName() const { return "Controller"; }

bool Adapter::operator==(const Adapter& right) const
{
    auto sameText = [](const char* a, const char* b) { return strcmp(a ? a : "", b ? b : "") == 0; };
    return adapterType == right.adapterType && getAdapterID() == right.getAdapterID() &&
           adapterStatus == right.adapterStatus && sameText(biosVersion, right.biosVersion) &&
           sameText(firmwareVersion, right.firmwareVersion) &&
           sameText(driverVersion, right.driverVersion) && physicalSlot == right.physicalSlot;
}

Adapter& Adapter::operator=(const Adapter& right)
{
    if (this == &right)
        return *this;
    setAdapterType(static_cast<EnumAdapterType>(right.adapterType));
    myAddr2.setAdapterID(right.getAdapterID());
    adapterStatus = right.adapterStatus;
    copyVersion(biosVersion, right.biosVersion);
    copyVersion(firmwareVersion, right.firmwareVersion);
    copyVersion(driverVersion, right.driverVersion);
    physicalSlot = right.physicalSlot;
    alarmState = right.alarmState;
    sasHDCacheMode = right.sasHDCacheMode;
    sataHDCacheMode = right.sataHDCacheMode;
    return *this;
}

EnumStorLibType Adapter::storLibTypeOf(int32_t adapterTypeIN)
{
    if ((adapterTypeIN >= TARNELL_A1 && adapterTypeIN <= TARNELL_F1) || adapterTypeIN == TARNELL_FAMILY)
        return STORLIB_TARNELL;
    switch (adapterTypeIN) {
    case SARVO1020:
    case SARVO1030:
    case SARVO1064:
        return STORLIB_SARVO;
    case PELM:
        return STORLIB_PELM;
    case MAVRIN:
        return STORLIB_MAVRIN;
    case DWOLK:
        return STORLIB_ORSEL;
    case FENTA:
        return STORLIB_VESK;
    case TOBRECK:
        return STORLIB_TOBRECK;
    case YUB:
        return STORLIB_YUB;
    case GLUNT:
        return STORLIB_GLUNT;
    default:
        return STORLIB_UNKNOWN;
    }
}

void Adapter::setAdapterType(EnumAdapterType adapterTypeIN)
{
    adapterType = adapterTypeIN;
    myAddr2.setStorLibType(storLibTypeOf(adapterTypeIN));
}

void Adapter::descendantAdded(RaidObject* pDescendantIN)
{
    RaidObject* d = pDescendantIN;
    if (!d)
        return;
    d->getAddr2().setAdapterID(getAdapterID());
    d->getAddr2().setStorLibType(getStorLibType());

    if (d->isInstanceOf("Channel")) {
        channelVec.push_back(d);
        if (d->isInstanceOf("SCSIChannel"))
            scsiChannelVec.push_back(d);
        else if (d->isInstanceOf("SASChannel"))
            sasChannelVec.push_back(d);
        else if (d->isInstanceOf("SATAChannel"))
            sataChannelVec.push_back(d);
    } else if (d->isInstanceOf("LogicalDrive")) {
        // A logical drive nested in another one is not a top-level drive.
        const RaidObject* p = d->getParent();
        if (!(p && p->isInstanceOf("LogicalDrive")))
            logicalDriveVec.push_back(d);
    } else if (d->isInstanceOf("PhysicalDevice")) {
        allPhysicalsVec.push_back(d);
        if (d->isInstanceOf("HardDrive"))
            hardDriveVec.push_back(d);
        else if (d->isInstanceOf("Enclosure"))
            enclosureVec.push_back(d);
        else if (d->isInstanceOf("SES2EnclosureDevice"))
            ses2EnclosureVec.push_back(d);
        else
            otherPhysicalsVec.push_back(d);
    } else if (d->isInstanceOf("SASConnector")) {
        SASConnectorVec.push_back(d);
    }
}

void Adapter::writeTo(Writer* writer) const
{
    if (!writer)
        return;
    RaidObject::writeTo(writer);
    writer->writeInt("controllerType", adapterType);
    writer->writeInt("controllerStatus", adapterStatus);
    writer->writeString("biosVersion", biosVersion);
    writer->writeString("firmwareVersion", firmwareVersion);
    writer->writeString("driverVersion", driverVersion);
    writer->writeString("firmwareBootVersion", firmwareBootVersion);
    writer->writeInt("physicalSlot", physicalSlot);
    writer->writeBool("unattended", unattended);
    writer->writeInt("maxLogicalDrives", maxLogicalDrives);
    writer->writeInt("maxArrays", maxArrays);
    writer->writeInt("maxSpannedArrays", maxSpannedArrays);
    writer->writeInt("maxChannels", maxChannels);
    writer->writeInt("maxID", maxTargetID);
    writer->writeInt("maxDevicesPerArray", maxDevicesPerArray);
    writer->writeInt("maxControllers", maxControllers);
    writer->writeULong("buildNum", buildNum);
    writer->writeULong("firmwareBuildNum", fwBuildNum);
    writer->writeULong("biosBuildNum", biosBuildNum);
    writer->writeULong("driverBuildNum", driverBuildNum);
    writer->writeInt("alarmState", alarmState);
    writer->writeInt("sasHDCacheMode", sasHDCacheMode);
    writer->writeInt("sataHDCacheMode", sataHDCacheMode);

    // The WWNs of the expanders present (not all zero), comma-separated.
    char expanders[NUM_EXPANDERS * (2 * WWN_SIZE + 1)] = "";
    size_t length = 0;
    for (uint32_t e = 0; e < NUM_EXPANDERS; ++e) {
        const unsigned char* wwn = onBoardExpandersWWN[e];
        bool present = false;
        for (uint32_t i = 0; i < WWN_SIZE; ++i)
            present = present || wwn[i] != 0;
        if (!present)
            continue;
        if (length != 0)
            expanders[length++] = ',';
        for (uint32_t i = 0; i < WWN_SIZE; ++i) {
            snprintf(expanders + length, sizeof(expanders) - length, "%02x", wwn[i]);
            length += 2;
        }
    }
    if (length != 0)
        writer->writeString("onBoardExpanders", expanders);
}

unsigned char* Adapter::getOnBoardExpandersWWN(unsigned long index)
{
    return index < NUM_EXPANDERS ? onBoardExpandersWWN[index] : nullptr;
}

void Adapter::setOnBoardExpandersWWN(unsigned long index, unsigned char* wwn)
{
    if (index < NUM_EXPANDERS && wwn)
        memcpy(onBoardExpandersWWN[index], wwn, WWN_SIZE);
}

int Adapter::getLimit(Limit limit) const
{
    switch (limit) {
    case MAX_LOGICAL_DRIVES:
        return maxLogicalDrives;
    case MAX_ARRAYS:
        return maxArrays;
    case MAX_SPANNED_ARRAYS:
        return maxSpannedArrays;
    case MAX_CHANNELS:
        return maxChannels;
    case MAX_TARGET_ID:
        return maxTargetID;
    case MAX_DEVICES_PER_ARRAY:
        return maxDevicesPerArray;
    case MAX_CONTROLLERS:
        return maxControllers;
    default:
        return 0;
    }
}

void Adapter::setLimit(Limit limit, int value)
{
    switch (limit) {
    case MAX_LOGICAL_DRIVES:
        maxLogicalDrives = value;
        break;
    case MAX_ARRAYS:
        maxArrays = value;
        break;
    case MAX_SPANNED_ARRAYS:
        maxSpannedArrays = value;
        break;
    case MAX_CHANNELS:
        maxChannels = value;
        break;
    case MAX_TARGET_ID:
        maxTargetID = value;
        break;
    case MAX_DEVICES_PER_ARRAY:
        maxDevicesPerArray = value;
        break;
    case MAX_CONTROLLERS:
        maxControllers = value;
        break;
    default:
        break;
    }
}

void Adapter::setFeature(FeatureEnum feature, int value)
{
    if (features)
        features->setFeature(feature, value);
}

int Adapter::getFeature(FeatureEnum feature) { return features ? features->getFeature(feature) : 0; }

Ret Adapter::getProgress(ProgressCollection& progList)
{
    Progress p;
    Ret ret = getProgress(p);
    if (ret.getReturn() == 0)
        progList.add(p);
    return ret;
}

// The operations that only a controller family carries out.
Ret Adapter::getProgress(Progress&) { return Ret(Ret::NOT_SUPPORTED); }
Ret Adapter::setDefective() { return Ret(Ret::NOT_SUPPORTED); }
Ret Adapter::setAttendanceMode(bool) { return Ret(Ret::NOT_SUPPORTED); }
Ret Adapter::deleteAllArrays() { return Ret(Ret::NOT_SUPPORTED); }
Ret Adapter::resetAdapterRaidConfig() { return Ret(Ret::NOT_SUPPORTED); }
Ret Adapter::scanForDrives(bool) { return Ret(Ret::NOT_SUPPORTED); }
Ret Adapter::abortTask(unsigned long) { return Ret(Ret::NOT_SUPPORTED); }
Ret Adapter::setTaskPriority(unsigned long, EnumPriorityLevel) { return Ret(Ret::NOT_SUPPORTED); }
Ret Adapter::setBiosMenu(EnumBiosMode) { return Ret(Ret::NOT_SUPPORTED); }
Ret Adapter::getEvents(std::string&) { return Ret(Ret::NOT_SUPPORTED); }
Ret Adapter::getEvents(unsigned long, std::string&) { return Ret(Ret::NOT_SUPPORTED); }
Ret Adapter::getEvents(unsigned long, std::vector<GenericRecord>&) { return Ret(Ret::NOT_SUPPORTED); }
Ret Adapter::getEvents(StorEventCollection&) { return Ret(Ret::NOT_SUPPORTED); }
Ret Adapter::getEvents(unsigned long, StorEventCollection&) { return Ret(Ret::NOT_SUPPORTED); }
Ret Adapter::createLogicalDrive(const LogicalDriveSpec&) { return Ret(Ret::NOT_SUPPORTED); }
Ret Adapter::identifyDevice(bool) { return Ret(Ret::NOT_SUPPORTED); }
Ret Adapter::getConfiguration(Buffer&) { return Ret(Ret::NOT_SUPPORTED); }
Ret Adapter::setConfiguration(const Buffer&) { return Ret(Ret::NOT_SUPPORTED); }
Ret Adapter::getControllerLog(EnumLogTypeRequest, char*, unsigned long&) { return Ret(Ret::NOT_SUPPORTED); }
Ret Adapter::clearControllerLog(EnumLogTypeRequest) { return Ret(Ret::NOT_SUPPORTED); }
Ret Adapter::setDataScrubActive(bool) { return Ret(Ret::NOT_SUPPORTED); }
Ret Adapter::setDataScrubRate(EnumPriorityLevel) { return Ret(Ret::NOT_SUPPORTED); }
Ret Adapter::setDataScrubRate(unsigned long) { return Ret(Ret::NOT_SUPPORTED); }
Ret Adapter::pauseResumeIO(unsigned long) { return Ret(Ret::NOT_SUPPORTED); }
Ret Adapter::testAllSpares() { return Ret(Ret::NOT_SUPPORTED); }
Ret Adapter::upgradeControllerFirmware(const char*, bool) { return Ret(Ret::NOT_SUPPORTED); }
Ret Adapter::startControllerDiagnostic(EnumAdapterDiagType) { return Ret(Ret::NOT_SUPPORTED); }
Ret Adapter::setCopyBack(bool) { return Ret(Ret::NOT_SUPPORTED); }
Ret Adapter::startBatteryCalibration() { return Ret(Ret::NOT_SUPPORTED); }
Ret Adapter::setAlarmState(EnumAlarmState) { return Ret(Ret::NOT_SUPPORTED); }
Ret Adapter::isPaused(bool&) { return Ret(Ret::NOT_SUPPORTED); }
Ret Adapter::setPhysicalDriveCache(EnumHardDriveCacheMode, EnumHardDriveCacheMode) { return Ret(Ret::NOT_SUPPORTED); }
Ret Adapter::clearPPITable() { return Ret(Ret::NOT_SUPPORTED); }
int Adapter::getCacheMemory() const { return 0; }
int Adapter::getInstalledMemory() const { return 0; }
