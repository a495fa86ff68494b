#include "storagedll/convtables.h"

#include <iterator>

#include "storagedll/bridgerec.h"

namespace legacyconv {

namespace {

// Offset and size of a record member.
#define MEMBER(record, member) offsetof(record, member), sizeof(record::member)

// Bits of a 32-bit word of bit fields: which word, first bit, width.
struct WordBits {
    unsigned word, shift, width;
};
constexpr FieldRule wordBits(const char* name, const char* sig, size_t recordOffset, WordBits b)
{
    return scalar(name, sig, recordOffset + 4 * b.word, 4, b.shift, b.width);
}
#define USER_OPT_BITS(name, shift, width) [[maybe_unused]] constexpr WordBits name{0, shift, width};
#define FEATURE_BITS(name, word, shift, width) [[maybe_unused]] constexpr WordBits name{word, shift, width};
namespace useropts {
USER_OPTS_FIELDS(USER_OPT_BITS)
}
namespace features {
ADAPTER_FEATURE_FIELDS(FEATURE_BITS)
}
#undef USER_OPT_BITS
#undef FEATURE_BITS

#define TABLE(name, javaClass, recordSize, fields) \
    const RecordTable name = {LEGACY_API_PACKAGE javaClass, uint32_t(recordSize), fields, std::size(fields)};

// ---------------------------------------------------------------- basic records

constexpr FieldRule storRetFields[] = {
    scalar("iReturnCode", "I", MEMBER(SRetImage, iReturnCode)),
    scalar("iAPIReturnCode", "I", MEMBER(SRetImage, iAPIReturnCode)),
    scalar("iIOCTLReturnCode", "I", MEMBER(SRetImage, iIOCTLReturnCode)),
    scalar("iRetryNumber", "I", MEMBER(SRetImage, iRetryNumber)),
    scalar("iunSignedReturnValue", "I", MEMBER(SRetImage, iunSignedReturnValue)),
    scalar("iSignedReturnValue", "I", MEMBER(SRetImage, iSignedReturnValue)),
};

constexpr FieldRule storAddrFields[] = {
    scalar("iSystemID", "I", MEMBER(_STORAGE_ADDRESS_ID, usSystemID)),
    scalar("iEnclosureID", "I", MEMBER(_STORAGE_ADDRESS_ID, usEnclosureID)),
    scalar("iSubSysID", "I", MEMBER(_STORAGE_ADDRESS_ID, usSubSysID)),
    scalar("iLoopID", "I", MEMBER(_STORAGE_ADDRESS_ID, usLoopID)),
    scalar("iAdapterID", "I", MEMBER(_STORAGE_ADDRESS_ID, usAdapterID)),
    scalar("iVirtDevID", "I", MEMBER(_STORAGE_ADDRESS_ID, usVirtDevID)),
    scalar("iArrayID", "I", MEMBER(_STORAGE_ADDRESS_ID, usArrayID)),
    scalar("iChannelID", "I", MEMBER(_STORAGE_ADDRESS_ID, usChannelID)),
    scalar("iPhysDevID", "I", MEMBER(_STORAGE_ADDRESS_ID, usPhysDevID)),
    scalar("iLunID", "I", MEMBER(_STORAGE_ADDRESS_ID, usLunID)),
    scalar("iResv1", "I", MEMBER(_STORAGE_ADDRESS_ID, usResv1)),
    scalar("iResv2", "I", MEMBER(_STORAGE_ADDRESS_ID, usResv2)),
    scalar("iResv3", "I", MEMBER(_STORAGE_ADDRESS_ID, usResv3)),
    scalar("iResv4", "I", MEMBER(_STORAGE_ADDRESS_ID, usResv4)),
    scalar("lMap", "J", MEMBER(_STORAGE_ADDRESS_ID, ulMap)),
    array("cDllName", "[C", MEMBER(_STORAGE_ADDRESS_ID, ucDllName)),
};

constexpr FieldRule versionFields[] = {
    scalar("iMajorVersion", "I", MEMBER(_STORAGE_VERSION, ulMajor)),
    scalar("iMinorVersion", "I", MEMBER(_STORAGE_VERSION, ulMinor)),
    scalar("iMaintVersion", "I", MEMBER(_STORAGE_VERSION, ulMaint)),
    array("baTextVersion", "[B", MEMBER(_STORAGE_VERSION, ucText)),
    scalar("b3MValid", "B", MEMBER(_STORAGE_VERSION, uc3MValid)),
    scalar("bTextValid", "B", MEMBER(_STORAGE_VERSION, ucTextValid)),
    scalar("sResv", "S", MEMBER(_STORAGE_VERSION, usResv)),
};

// _DEVICE_SIZE and _ARRAY_SIZE have the same layout.
static_assert(sizeof(_DEVICE_SIZE) == sizeof(_ARRAY_SIZE), "one layout");
constexpr FieldRule sizeFields[] = {
    scalar("lSectorCount", "J", MEMBER(_DEVICE_SIZE, ulSectorCount)),
    scalar("lSectorSize", "J", MEMBER(_DEVICE_SIZE, ulSectorSize)),
    scalar("lMultiplier", "J", MEMBER(_DEVICE_SIZE, ulMultiplier)),
};

// ---------------------------------------------------------------- adapter, channel and device records

constexpr FieldRule adapterLimitsFields[] = {
    constant("iMaxLogicalDrives", 8), constant("iMaxArrays", 8),        constant("iMaxSpannedArrays", 4),
    constant("iMaxChannels", 4),      constant("iMaxSCSIID", 15),       constant("iMaxDevicesPerArray", 16),
    constant("iMaxControllers", 20),
};

constexpr FieldRule dllTypeFields[] = {
    scalar("sCmndType", "S", MEMBER(_DLL_TYPE, ucCmndType)),
    scalar("sResv1", "S", MEMBER(_DLL_TYPE, ucResv1)),
    scalar("iResv2", "I", MEMBER(_DLL_TYPE, usResv2)),
    array("cScsiVendorId", "[C", MEMBER(_DLL_TYPE, ucScsiVendorId)),
    array("baDllName", "[B", MEMBER(_DLL_TYPE, ucDllName)),
    scalar("lArchitecture", "J", MEMBER(_DLL_TYPE, ulArchitecture)),
    scalar("lFamily", "J", MEMBER(_DLL_TYPE, ulFamily)),
    scalar("lImplementation", "J", MEMBER(_DLL_TYPE, ulImplementation)),
};

constexpr FieldRule adapterTypeFields[] = {
    scalar("sCmndType", "S", MEMBER(_ADAPTER_TYPE, ucCmndType)),
    scalar("sResv1", "S", MEMBER(_ADAPTER_TYPE, ucResv1)),
    scalar("iResv2", "I", MEMBER(_ADAPTER_TYPE, usResv2)),
    array("cScsiVendorId", "[C", MEMBER(_ADAPTER_TYPE, ucScsiVendorId)),
    scalar("lArchitecture", "J", MEMBER(_ADAPTER_TYPE, ulArchitecture)),
    scalar("lFamily", "J", MEMBER(_ADAPTER_TYPE, ulFamily)),
    scalar("lImplementation", "J", MEMBER(_ADAPTER_TYPE, ulImplementation)),
};

constexpr FieldRule adapterStatusFields[] = {
    scalar("iAdapStatus", "I", MEMBER(_STORAGE_ADAPTER_STATUS, iAdapStatus)),
    scalar("iStatusQual", "I", MEMBER(_STORAGE_ADAPTER_STATUS, iStatusQual)),
    scalar("iAdapState", "I", MEMBER(_STORAGE_ADAPTER_STATUS, iAdapState)),
    scalar("iStateQual", "I", MEMBER(_STORAGE_ADAPTER_STATUS, iStateQual)),
    scalar("lDetectedRC", "J", MEMBER(_STORAGE_ADAPTER_STATUS, ulDetectedRC)),
    scalar("lAdapMisc", "J", MEMBER(_STORAGE_ADAPTER_STATUS, ulAdapMisc)),
};

// The enclosure maximum has no Java field.
constexpr FieldRule maxAddrFields[] = {
    scalar("iMaxSystem", "I", MEMBER(_MAX_ADDR_VALUES, usMaxSystem)),
    scalar("iMaxSubSys", "I", MEMBER(_MAX_ADDR_VALUES, usMaxSubSys)),
    scalar("iMaxLoop", "I", MEMBER(_MAX_ADDR_VALUES, usMaxLoop)),
    scalar("iMaxAdapter", "I", MEMBER(_MAX_ADDR_VALUES, usMaxAdapter)),
    scalar("iMaxVirtDev", "I", MEMBER(_MAX_ADDR_VALUES, usMaxVirtDev)),
    scalar("iMaxArray", "I", MEMBER(_MAX_ADDR_VALUES, usMaxArray)),
    scalar("iMaxChannel", "I", MEMBER(_MAX_ADDR_VALUES, usMaxChannel)),
    scalar("iMaxPhysDev", "I", MEMBER(_MAX_ADDR_VALUES, usMaxPhysDev)),
    scalar("iMaxLun", "I", MEMBER(_MAX_ADDR_VALUES, usMaxLun)),
    scalar("iMaxResv1", "I", MEMBER(_MAX_ADDR_VALUES, usMaxResv1)),
    scalar("iMaxResv2", "I", MEMBER(_MAX_ADDR_VALUES, usMaxResv2)),
    scalar("iMaxResv3", "I", MEMBER(_MAX_ADDR_VALUES, usMaxResv3)),
    scalar("iMaxResv4", "I", MEMBER(_MAX_ADDR_VALUES, usMaxResv4)),
};

constexpr FieldRule adapterInfoFields[] = {
    scalar("iAdapNum", "I", MEMBER(_ADAPTER_INFO, usAdapNum)),
    scalar("iAdapLocTyp", "I", MEMBER(_ADAPTER_INFO, usAdapLocTyp)),
    scalar("iAdapLocNum", "I", MEMBER(_ADAPTER_INFO, usAdapLocNum)),
    scalar("iAdapChanCount", "I", MEMBER(_ADAPTER_INFO, usAdapChanCount)),
    scalar("lAdapBIOSSize", "J", MEMBER(_ADAPTER_INFO, ulAdapBIOSSize)),
    scalar("lAdapFirmSize", "J", MEMBER(_ADAPTER_INFO, ulAdapFirmSize)),
    nested("oAdapVers", LEGACY_API_SIG("Version"), offsetof(_ADAPTER_INFO, usAdapVers), versionTable),
    nested("oAdapBIOSVers", LEGACY_API_SIG("Version"), offsetof(_ADAPTER_INFO, usAdapBIOSVers), versionTable),
    nested("oAdapFirmVers", LEGACY_API_SIG("Version"), offsetof(_ADAPTER_INFO, usAdapFirmVers), versionTable),
    nested("oAdapType", LEGACY_API_SIG("AdapterType"), offsetof(_ADAPTER_INFO, sAdapType), adapterTypeTable),
    nested("oAdapAddr", LEGACY_API_SIG("StorAddr"), offsetof(_ADAPTER_INFO, sAdapAddr), storAddrTable),
};

// The RaidAdapterInfo object carries the AdapterInfo fields itself.
constexpr FieldRule raidAdapterInfoFields[] = {
    scalar("iVirtDevCount", "I", MEMBER(_RAID_ADAPTER_INFO, usVirtDevCount)),
    inlined(offsetof(_RAID_ADAPTER_INFO, sAdapInfo), adapterInfoTable),
};

constexpr FieldRule scsiInquiryFields[] = {
    scalar("bDeviceType", "B", 0, 1, 0, 5),
    scalar("bDeviceTypeQual", "B", 0, 1, 5, 3),
    scalar("bDeviceTypeMod", "B", 1, 1, 0, 7),
    scalar("bRemovablemedia", "B", 1, 1, 7, 1),
    scalar("bANSIVersion", "B", 2, 1, 0, 3),
    scalar("bECMAVersion", "B", 2, 1, 3, 3),
    scalar("bISOVersion", "B", 2, 1, 6, 2),
    scalar("bRestDataFor", "B", 3, 1, 0, 4),
    scalar("bTermIoProc", "B", 3, 1, 6, 1),
    scalar("bAsynEvntNot", "B", 3, 1, 7, 1),
    scalar("bAddSenseLength", "B", MEMBER(ST_SCSI_INQUIRY_DATA, ucAdditionalLength)),
    scalar("bEncSer", "B", 6, 1, 6, 1),
    scalar("bSoftReset", "B", 7, 1, 0, 1),
    scalar("bCmndQueue", "B", 7, 1, 1, 1),
    scalar("bLinkedCmnds", "B", 7, 1, 3, 1),
    scalar("bSynchronous", "B", 7, 1, 4, 1),
    scalar("bWide16Bit", "B", 7, 1, 5, 1),
    scalar("bWide32Bit", "B", 7, 1, 6, 1),
    scalar("bRelativeAddr", "B", 7, 1, 7, 1),
    array("bVendorId", "[B", MEMBER(ST_SCSI_INQUIRY_DATA, ucVendorId)),
    array("bProductId", "[B", MEMBER(ST_SCSI_INQUIRY_DATA, ucProductId)),
    array("bProductRevLevel", "[B", MEMBER(ST_SCSI_INQUIRY_DATA, ucProductRevLevel)),
    array("bVendorSpecific", "[B", MEMBER(ST_SCSI_INQUIRY_DATA, ucVendorSpecific)),
    array("bVendorData", "[B", MEMBER(ST_SCSI_INQUIRY_DATA, ucVendorData)),
};

constexpr FieldRule deviceInfoFields[] = {
    scalar("sDevType", "S", MEMBER(_DEVICE_INFO, usDevType)),
    scalar("sDevWidth", "S", MEMBER(_DEVICE_INFO, usDevWidth)),
    scalar("sDevSpeed", "S", MEMBER(_DEVICE_INFO, usDevSpeed)),
    scalar("sDevState", "S", MEMBER(_DEVICE_INFO, usDevState)),
    scalar("sSerialNumSize", "S", MEMBER(_DEVICE_INFO, usSerialNumSize)),
    scalar("sResv", "S", MEMBER(_DEVICE_INFO, usResv)),
    scalar("lDevParms", "J", MEMBER(_DEVICE_INFO, ulDevParms)),
    scalar("lDevFirmSize", "J", MEMBER(_DEVICE_INFO, ulDevFirmSize)),
    scalar("blInqDataValid", "Z", MEMBER(_DEVICE_INFO, ucInqDataValid)),
    nested("oDevFirmVers", LEGACY_API_SIG("Version"), offsetof(_DEVICE_INFO, sDevFirmVers), versionTable),
    nested("oDevAddr", LEGACY_API_SIG("StorAddr"), offsetof(_DEVICE_INFO, sDevAddr), storAddrTable),
    nested("oDevSize", LEGACY_API_SIG("DeviceSize"), offsetof(_DEVICE_INFO, sDevSize), deviceSizeTable),
    nested("oDevInq", LEGACY_API_SIG("ScsiInquiryData"), offsetof(_DEVICE_INFO, sDevInq), scsiInquiryTable),
};

constexpr FieldRule vpdInquiryFields[] = {
    scalar("bDeviceType", "B", 0, 1, 0, 5),
    scalar("bDeviceTypeQual", "B", 0, 1, 5, 3),
    scalar("bPageCode", "B", MEMBER(_VPD_INQUIRY_DATA, ucPageCode)),
    scalar("bReserved1", "B", MEMBER(_VPD_INQUIRY_DATA, ucReserved1)),
    scalar("bPageLength", "B", MEMBER(_VPD_INQUIRY_DATA, ucPageLength)),
    scalar("bAsciiLength", "B", MEMBER(_VPD_INQUIRY_DATA, ucAsciiLength)),
    array("caVendorSpecific", "[C", MEMBER(_VPD_INQUIRY_DATA, ucVendorSpecific)),
};

constexpr FieldRule failoverInfoFields[] = {
    scalar("lClusterBit", "J", MEMBER(_IOCTL_FO_INFO, ulClusterBit)),
    scalar("lFailoverPair", "J", MEMBER(_IOCTL_FO_INFO, ulFailoverPair)),
    scalar("lFailoverBackup", "J", MEMBER(_IOCTL_FO_INFO, ulFailoverBackup)),
    array("baHostId", "[B", MEMBER(_IOCTL_FO_INFO, ucHostId)),
    array("baPartnerHostId", "[B", MEMBER(_IOCTL_FO_INFO, ucPartnerHostId)),
};

constexpr FieldRule bbCacheInfoFields[] = {
    scalar("blUnrecoverableError", "Z", offsetof(_ENQUIRY_BBCACHE, sEnquiry) + offsetof(_ENQUIRY, ucMiscFlag), 1, 5, 1),
    scalar("bErrorCode", "B", offsetof(_ENQUIRY_BBCACHE, sEnquiry) + offsetof(_ENQUIRY, ucMordalErrorCode), 1),
    array("baConfiguredSerial", "[B", MEMBER(_ENQUIRY_BBCACHE, ucConfiguredSerial)),
    array("baInstalledSerial", "[B", MEMBER(_ENQUIRY_BBCACHE, ucInstalledSerial)),
};

// Each initiator id is the low byte of a 32-bit word.
constexpr FieldRule initiatorIdsFields[] = {
    scalar("bNumChannels", "B", MEMBER(_IOCTL_INITIATOR_IDS, ucNumChannels)),
    scalar("bFriendlySlotNumber", "B", MEMBER(_IOCTL_INITIATOR_IDS, ucFriendlySlotNumber)),
    scalar("bAdapterType", "B", MEMBER(_IOCTL_INITIATOR_IDS, ucAdapterType)),
    scalar("bStripeSize", "B", MEMBER(_IOCTL_INITIATOR_IDS, ucStripeSize)),
    array("baInitiators", "[B", offsetof(_IOCTL_INITIATOR_IDS, ulInitiators), 4, 1, 4),
};

constexpr FieldRule vpdFields[] = {
    scalar("bWhoAmI", "B", MEMBER(_ParsedVpd, ucWhoAmI)),
    array("bPad1", "[B", MEMBER(_ParsedVpd, ucPad1)),
    array("bPartNum", "[B", MEMBER(_ParsedVpd, ucPartNum)),
    array("bEC", "[B", MEMBER(_ParsedVpd, ucEC)),
    array("bSN", "[B", MEMBER(_ParsedVpd, ucSN)),
    array("bManufacture", "[B", MEMBER(_ParsedVpd, ucManufacture)),
    array("bCardFru", "[B", MEMBER(_ParsedVpd, ucCardFru)),
    array("bBatteryFru", "[B", MEMBER(_ParsedVpd, ucBatteryFru)),
    array("bPad2", "[B", MEMBER(_ParsedVpd, ucPad2)),
};

constexpr FieldRule extendedBatteryFields[] = {
    signedScalar("iTemperature", "I", MEMBER(_ENQUIRY_EXTENDED_BATTERY_STATUS, cTemperature)),
    scalar("iAbnormalTemperature", "I", MEMBER(_ENQUIRY_EXTENDED_BATTERY_STATUS, ucAbnormalTemperature)),
    scalar("iPercentCharged", "I", MEMBER(_ENQUIRY_EXTENDED_BATTERY_STATUS, ucPercentCharged)),
};

constexpr FieldRule hotPciSlotsFields[] = {
    bitArray("blaHotSlots", 0),
};

// ---------------------------------------------------------------- enclosure records

constexpr FieldRule safteConfigFields[] = {
    scalar("sFanCount", "S", MEMBER(_SAFTE_CONFIGURATION, fanCount)),
    scalar("sPowerSupplyCount", "S", MEMBER(_SAFTE_CONFIGURATION, powerSupplyCount)),
    scalar("sDeviceSlotCount", "S", MEMBER(_SAFTE_CONFIGURATION, slotCount)),
    scalar("sDoorLockPresent", "S", MEMBER(_SAFTE_CONFIGURATION, doorLockInstalled)),
    scalar("sTempSensorCount", "S", MEMBER(_SAFTE_CONFIGURATION, tempSensorCount)),
    scalar("sAudibleAlarmPresent", "S", MEMBER(_SAFTE_CONFIGURATION, audibleAlarmInstalled)),
    array("bReserved", "[B", offsetof(_SAFTE_CONFIGURATION, ucThermostat), 57),
    scalar("sVendorUniqueBytes", "S", MEMBER(_SAFTE_CONFIGURATION, vendorUniqueByteCount)),
};

// The packed status of 3 fans, 3 power supplies, 14 slots and 2 sensors,
// then 5 vendor-unique bytes: 32 bytes.
constexpr FieldRule safteStatusFields[] = {
    array("bFanStatus", "[B", MEMBER(SAFTE_STATUS_PAGE, ucFanStatus)),
    array("bPowerSupplyStatus", "[B", MEMBER(SAFTE_STATUS_PAGE, ucPowerSupplyStatus)),
    array("bSlotScsiId", "[B", MEMBER(SAFTE_STATUS_PAGE, ucSlotScsiId)),
    scalar("bDoorLockStatus", "B", MEMBER(SAFTE_STATUS_PAGE, ucDoorLockStatus)),
    scalar("bSpeakerStatus", "B", MEMBER(SAFTE_STATUS_PAGE, ucSpeakerStatus)),
    array("bTempSensorStatus", "[B", MEMBER(SAFTE_STATUS_PAGE, ucTempSensorStatus)),
    scalar("bTempOutOfRangeFlag1", "B", MEMBER(SAFTE_STATUS_PAGE, ucTempOutOfRangeFlag1)),
    scalar("bTempOutOfRangeFlag2", "B", MEMBER(SAFTE_STATUS_PAGE, ucTempOutOfRangeFlag2)),
    scalar("bVendorUniqueByteCount", "B", MEMBER(SAFTE_STATUS_PAGE, ucVendorUniqueByteCount)),
    array("bVendorUniqueBytes", "[B", offsetof(SAFTE_STATUS_PAGE, ucVendorUniqueBytes), 5),
};

// Page length and generation code in host order, as stored.
constexpr FieldRule elementDescFields[] = {
    scalar("bPageCode", "B", MEMBER(_ELEMENT_DESCRIPTOR_PAGE, ucPageCode)),
    scalar("bResv1", "B", MEMBER(_ELEMENT_DESCRIPTOR_PAGE, ucResv1)),
    scalar("sPageLength", "S", MEMBER(_ELEMENT_DESCRIPTOR_PAGE, usPageLength)),
    scalar("iGenerationCode", "I", MEMBER(_ELEMENT_DESCRIPTOR_PAGE, ulGenerationCode)),
    array("caVpdData", "[C", MEMBER(_ELEMENT_DESCRIPTOR_PAGE, ucDescriptors)),
};

// ---------------------------------------------------------------- the RAID configuration

constexpr FieldRule userOptsFields[] = {
    wordBits("sCfgDriveUpdateCount", "S", 0, useropts::uiCfgDriveUpdateCount),
    wordBits("bStartupDelay", "B", 0, useropts::uiStartupDelay),
    wordBits("bConcurDriveStartCount", "B", 0, useropts::uiConcurDriveStartCount),
    wordBits("bCopyBackEnabled", "B", 0, useropts::uiCopyBackEnabled),
    wordBits("bDataScrubDisable", "B", 0, useropts::uiDataScrubDisable),
    wordBits("bHotSwapRebuild", "B", 0, useropts::uiHotSwapRebuild),
    wordBits("bStage", "B", 0, useropts::uiStage),
    wordBits("bCluster", "B", 0, useropts::uiCluster),
    wordBits("bBiosCompat", "B", 0, useropts::uiBiosCompat),
    wordBits("bUnused", "B", 0, useropts::uiUnused),
    wordBits("bAutoRearrange", "B", 0, useropts::uiAutoRearrange),
};

constexpr FieldRule hardwareDescFields[] = {
    array("bBoardDesc", "[B", MEMBER(_HARDWARE_DESC, ucBoardDesc)),
    array("bProcessor", "[B", MEMBER(_HARDWARE_DESC, ucProcessor)),
    scalar("bNoChanType", "B", MEMBER(_HARDWARE_DESC, ucNoChanType)),
    scalar("bNoHostIntType", "B", MEMBER(_HARDWARE_DESC, ucNoHostIntType)),
    scalar("bCompression", "B", MEMBER(_HARDWARE_DESC, ucCompression)),
    scalar("bNvramType", "B", MEMBER(_HARDWARE_DESC, ucNvramType)),
    scalar("iNvramSize", "I", MEMBER(_HARDWARE_DESC, ulNvramSize)),
};

// The chunk arrays take member k of chunk k.
constexpr size_t CHUNKS = offsetof(_VIRT_DRV_PARMS, sChunk);
constexpr FieldRule virtDrvParmsFields[] = {
    scalar("sUserField", "S", MEMBER(_VIRT_DRV_PARMS, usUserField)),
    scalar("bState", "B", MEMBER(_VIRT_DRV_PARMS, ucState)),
    scalar("bRaidCacheParam", "B", MEMBER(_VIRT_DRV_PARMS, ucRaidCacheParam)),
    scalar("bNoOfChunkUnits", "B", MEMBER(_VIRT_DRV_PARMS, ucNoOfChunkUnits)),
    scalar("bStripeSize", "B", MEMBER(_VIRT_DRV_PARMS, ucStripeSize)),
    scalar("bParams", "B", MEMBER(_VIRT_DRV_PARMS, ucParams)),
    scalar("bYear", "B", MEMBER(_VIRT_DRV_PARMS, ucYear)),
    scalar("lVirtDriveSize", "J", MEMBER(_VIRT_DRV_PARMS, ulVirtDriveSize)),
    array("bChannel", "[B", CHUNKS + offsetof(_CHUNK, ucChannel), 16, 1, sizeof(_CHUNK)),
    array("bTarget", "[B", CHUNKS + offsetof(_CHUNK, ucTarget), 16, 1, sizeof(_CHUNK)),
    array("iStartSect", "[I", CHUNKS + offsetof(_CHUNK, ulStartSect), 16, 4, sizeof(_CHUNK)),
    array("iNoOfSect", "[I", CHUNKS + offsetof(_CHUNK, ulNoOfSect), 16, 4, sizeof(_CHUNK)),
    array("iReserved", "[I", CHUNKS + offsetof(_CHUNK, usReserved), 16, 2, sizeof(_CHUNK)),
};

// "bState" of the logical-drive table.
constexpr FieldRule virtDrvFreeSlotFields[] = {
    virtDrvParmsFields[1],
};

constexpr FieldRule devStateFields[] = {
    scalar("bInitiator", "B", MEMBER(_DEV_STATE, ucInitiator)),
    scalar("bParameters", "B", MEMBER(_DEV_STATE, ucParameters)),
    scalar("bMiscFlag", "B", MEMBER(_DEV_STATE, ucMiscFlag)),
    scalar("bState", "B", MEMBER(_DEV_STATE, ucState)),
    scalar("iBlockCount", "I", MEMBER(_DEV_STATE, ucBlockCount)),
    array("bDeviceId", "[B", MEMBER(_DEV_STATE, ucDeviceId)),
};

} // namespace

const FieldRule virtDrvSlots = series("oVirtDrv", LEGACY_API_SIG("VirtDrvParms"), 0, ACONFIG_VIRT_DRIVES,
                                      sizeof(_VIRT_DRV_PARMS), virtDrvParmsTable);

namespace {

// Device state i comes from element [i / 16][i mod 16], 36 bytes apart.
constexpr FieldRule raidConfigFields[] = {
    scalar("bNoOfVirtDrives", "B", MEMBER(_ADAPTER_CONFIG, ucNoOfVirtDrives)),
    scalar("bDateD", "B", MEMBER(_ADAPTER_CONFIG, ucDateD)),
    scalar("bDateM", "B", MEMBER(_ADAPTER_CONFIG, ucDateM)),
    scalar("bDateY", "B", MEMBER(_ADAPTER_CONFIG, ucDateY)),
    array("bInitId", "[B", MEMBER(_ADAPTER_CONFIG, ucInitId)),
    array("bHostId", "[B", MEMBER(_ADAPTER_CONFIG, ucHostId)),
    array("bTimeSign", "[B", MEMBER(_ADAPTER_CONFIG, ucTimeSign)),
    nested("oUserOpts", LEGACY_API_SIG("UserOpts"), offsetof(_ADAPTER_CONFIG, sUserOpts), userOptsTable),
    scalar("sUserField", "S", MEMBER(_ADAPTER_CONFIG, usUserField)),
    scalar("bRebuildRate", "B", MEMBER(_ADAPTER_CONFIG, ucRebuildRate)),
    scalar("bReserved", "B", MEMBER(_ADAPTER_CONFIG, ucReserved)),
    nested("oHardwareDesc", LEGACY_API_SIG("HardwareDesc"), offsetof(_ADAPTER_CONFIG, sHardwareDesc),
           hardwareDescTable),
    series("oVirtDrv", LEGACY_API_SIG("VirtDrvParms"), offsetof(_ADAPTER_CONFIG, sVirtDrv), ACONFIG_VIRT_DRIVES,
           sizeof(_VIRT_DRV_PARMS), virtDrvParmsTable),
    series("oDevState", LEGACY_API_SIG("DevState"), offsetof(_ADAPTER_CONFIG, sDevState),
           ACONFIG_CHANNELS * ACONFIG_TARGETS, sizeof(_DEV_STATE), devStateTable),
};

// Bit fields of the 32-bit feature words, by the names of the record.
#define FEATURE(name, field) wordBits(name, "I", 0, features::field)
constexpr FieldRule adapterFeaturesFields[] = {
    FEATURE("iPosRelLevel", ulPosRelLevel),
    FEATURE("iPosTstLevel", ulPosTstLevel),
    FEATURE("iBBCacheRelLevel", ulBBCacheRelLevel),
    FEATURE("iBBCacheTstLevel", ulBBCacheTstLevel),
    FEATURE("iResv1", ulResv1),
    FEATURE("iPlatformValid", ulPlatformValid),
    FEATURE("iAdapType", ulAdapType),
    FEATURE("iHARelLevel", ulHARelLevel),
    FEATURE("iHATstLevel", ulHATstLevel),
    FEATURE("iBiosDisCacheRL", ulBiosDisCacheRL),
    FEATURE("iBiosDisCacheTL", ulBiosDisCacheTL),
    FEATURE("iHardDrvFRU", ulHardDrvFRU),
    FEATURE("iOSSRelLevel", ulOSSRelLevel),
    FEATURE("iOSSTstLevel", ulOSSTstLevel),
    FEATURE("iIdDrvRL", ulIdDrvRelLvl),
    FEATURE("iIdDrvTL", ulIdDrvTstLvl),
    FEATURE("iQCRelLevel", ulQCRelLevel),
    FEATURE("iQCTstLevel", ulQCTstLevel),
    FEATURE("iU16DrvRelLvl", ulU16DRelLvl),
    FEATURE("iU16DrvTstLvl", ulU16DTstLvl),
    FEATURE("iResv2", ulResv2),
    FEATURE("iLDMRelLevel", ulLDMRelLevel),
    FEATURE("iLDMTstLevel", ulLDMTstLevel),
    FEATURE("iOSIRelLevel", ulOSIRelLevel),
    FEATURE("iOSITstLevel", ulOSITstLevel),
    FEATURE("iHSRRelLevel", ulHSRRelLevel),
    FEATURE("iHSRTstLevel", ulHSRTstLevel),
    FEATURE("iDSCRelLevel", ulDSCRelLevel),
    FEATURE("iDSCTstLevel", ulDSCTstLevel),
    FEATURE("iAutoSyncRL", ulAutoSyncRL),
    FEATURE("iAutoSyncTL", ulAutoSyncTL),
    FEATURE("iAdapRARL", ulAdapRARL),
    FEATURE("iAdapRATL", ulAdapRATL),
    FEATURE("iR5ERelLevel", ulR5ERelLevel),
    FEATURE("iR5ETstLevel", ulR5ETstLevel),
    FEATURE("iELFRelLevel", ulELFRelLevel),
    FEATURE("iELFTstLevel", ulELFTstLevel),
    FEATURE("iFFDCRelLevel", ulFFDCRelLevel),
    FEATURE("iFFDCTstLevel", ulFFDCTstLevel),
    FEATURE("ilRealTimeRL", ulRealTimeRL),
    FEATURE("ilRealTimeTL", ulRealTimeTL),
    FEATURE("iU160RelLevel", ulUltra160RL),
    FEATURE("iU160TstLevel", ulUltra160TL),
    FEATURE("iResv4", ulResv4),
    FEATURE("iVarMaxCmdRL", ulVarMaxCmdRL),
    FEATURE("iVarMaxCmdTL", ulVarMaxCmdTL),
    FEATURE("iHldRL", ulHLDRelLevel),
    FEATURE("iHldTL", ulHLDTstLevel),
    FEATURE("iResv5", ulResv5),
    FEATURE("iSSStatsRL", ulSSStatsRL),
    FEATURE("iSSStatsTL", ulSSStatsTL),
    FEATURE("iR5EERelLevel", ulR5EERelLevel),
    FEATURE("iR5EETstLevel", ulR5EETstLevel),
    FEATURE("iAdapterFRURL", ulAdapterFRURL),
    FEATURE("iAdapterFRUTL", ulAdapterFRUTL),
    FEATURE("iVendorID", ulVendorID),
    FEATURE("iDeviceID", ulDeviceID),
    FEATURE("iRevisionID", ulRevisionID),
    FEATURE("iCopyBackRL", ulCopyBackRL),
    array("lResv10", "[J", offsetof(_ADAPTER_FEATURES, ulResv10), 119, 4),
};
#undef FEATURE

constexpr FieldRule raidEventFields[] = {
    scalar("eventType", "I", MEMBER(_RAID_EVENT, usEventType)),
    scalar("eventCode", "I", MEMBER(_RAID_EVENT, ulEventCode)),
    text("eventString", MEMBER(_RAID_EVENT, ucEventString)),
    longMethod("getEventDateTime", offsetof(_RAID_EVENT, ulEventDateTime)),
    text("fru", MEMBER(_RAID_EVENT, ucFru)),
};

// ---------------------------------------------------------------- written by the RAID natives

constexpr FieldRule batteryCacheFields[] = {
    scalar("blBatteryCacheInstalled", "Z", MEMBER(BatteryCacheImage, installed)),
    scalar("bBatteryCacheErrorCode", "B", MEMBER(BatteryCacheImage, errorCode)),
};

// At most 8 bytes each, and at most the Java array's length.
constexpr FieldRule cacheSerialsFields[] = {
    array("bBBCSerialCfg", "[B", MEMBER(_ENQUIRY_BBCACHE, ucConfiguredSerial)),
    array("bBBCSerial", "[B", MEMBER(_ENQUIRY_BBCACHE, ucInstalledSerial)),
};

constexpr FieldRule driveBlockedFields[] = {
    scalar("blBlocked", "Z", MEMBER(DriveFlagsImage, blocked)),
};

constexpr FieldRule driveWriteThroughFields[] = {
    scalar("blTempWriteThru", "Z", MEMBER(DriveFlagsImage, tempWriteThrough)),
};

// Channel and target reach their short fields as 0-255.
constexpr FieldRule progressInfoFields[] = {
    scalar("bOpcode", "B", MEMBER(ProgressImage, opcode)),
    scalar("bVirtDrive", "B", MEMBER(ProgressImage, virtDrive)),
    scalar("bCheckOption", "B", MEMBER(ProgressImage, checkOption)),
    scalar("bStatus", "B", MEMBER(ProgressImage, status)),
    scalar("bPercentComplete", "B", MEMBER(ProgressImage, percent)),
    scalar("bSubOpcodeQualifier", "B", MEMBER(ProgressImage, subOpcodeQualifier)),
    scalar("bChannels", "S", MEMBER(ProgressImage, channel)),
    scalar("bScsiIDs", "S", MEMBER(ProgressImage, target)),
    scalar("bSLDVirtDrive", "B", MEMBER(ProgressImage, sldVirtDrive)),
};

// Entry k: the source at byte 16k + 3, the target at 16k + 2.
#define QUILLCOPY_ENTRY(k)                                                                                          \
    scalar("bSource" #k, "B", k * sizeof(_QUILLCOPY_ENTRY) + offsetof(_QUILLCOPY_ENTRY, ucSource), 1),              \
        scalar("bTarget" #k, "B", k * sizeof(_QUILLCOPY_ENTRY) + offsetof(_QUILLCOPY_ENTRY, ucTarget), 1)
constexpr FieldRule quillcopyProgressFields[] = {
    QUILLCOPY_ENTRY(0),
    QUILLCOPY_ENTRY(1),
    QUILLCOPY_ENTRY(2),
    QUILLCOPY_ENTRY(3),
};
#undef QUILLCOPY_ENTRY

constexpr FieldRule quillcopyStatusFields[] = {
    scalar("bOpcode", "B", MEMBER(_REBUILD_STATUS, ucOpcode)),
    scalar("bVirtDrive", "B", MEMBER(_REBUILD_STATUS, ucVirtDriveNumber)),
    scalar("bSLDVirtDrive", "B", MEMBER(_REBUILD_STATUS, ucIsSLDVirtDriveId)),
};

} // namespace

const FieldRule devStateSlots = series("oDevState", LEGACY_API_SIG("DevState"), 0, ACONFIG_CHANNELS * ACONFIG_TARGETS,
                                       sizeof(_DEV_STATE), devStateTable);

// Every table: its name, Java class, record size and rows.
#define CONVERTER_TABLES(X) \
    X(storRetTable, "StorRet", sizeof(SRetImage), storRetFields) \
    X(storAddrTable, "StorAddr", sizeof(_STORAGE_ADDRESS_ID), storAddrFields) \
    X(versionTable, "Version", sizeof(_STORAGE_VERSION), versionFields) \
    X(deviceSizeTable, "DeviceSize", sizeof(_DEVICE_SIZE), sizeFields) \
    X(arraySizeTable, "ArraySize", sizeof(_ARRAY_SIZE), sizeFields) \
    X(adapterLimitsTable, "AdapterLimits", 0, adapterLimitsFields) \
    X(dllTypeTable, "DllType", sizeof(_DLL_TYPE), dllTypeFields) \
    X(adapterTypeTable, "AdapterType", sizeof(_ADAPTER_TYPE), adapterTypeFields) \
    X(adapterStatusTable, "AdapterStatus", sizeof(_STORAGE_ADAPTER_STATUS), adapterStatusFields) \
    X(maxAddrTable, "MaxAddr", sizeof(_MAX_ADDR_VALUES), maxAddrFields) \
    X(adapterInfoTable, "AdapterInfo", sizeof(_ADAPTER_INFO), adapterInfoFields) \
    X(raidAdapterInfoTable, "RaidAdapterInfo", sizeof(_RAID_ADAPTER_INFO), raidAdapterInfoFields) \
    X(deviceInfoTable, "DeviceInfo", sizeof(_DEVICE_INFO), deviceInfoFields) \
    X(scsiInquiryTable, "ScsiInquiryData", sizeof(ST_SCSI_INQUIRY_DATA), scsiInquiryFields) \
    X(vpdInquiryTable, "VPD_INQ_DATA", sizeof(_VPD_INQUIRY_DATA), vpdInquiryFields) \
    X(failoverInfoTable, "FailoverInfo", sizeof(_IOCTL_FO_INFO), failoverInfoFields) \
    X(bbCacheInfoTable, "BBCacheInfo", sizeof(_ENQUIRY_BBCACHE), bbCacheInfoFields) \
    X(initiatorIdsTable, "InitiatorIDs", sizeof(_IOCTL_INITIATOR_IDS), initiatorIdsFields) \
    X(vpdTable, "Vpd", sizeof(_ParsedVpd), vpdFields) \
    X(extendedBatteryTable, "ExtendedBatteryData", sizeof(_ENQUIRY_EXTENDED_BATTERY_STATUS), extendedBatteryFields) \
    X(hotPciSlotsTable, "HotPCISlots", sizeof(uint32_t), hotPciSlotsFields) \
    X(safteConfigTable, "SafteConfig", sizeof(_SAFTE_CONFIGURATION), safteConfigFields) \
    X(safteStatusTable, "SafteStatus", 32, safteStatusFields) \
    X(elementDescTable, "ElementDescPage", sizeof(_ELEMENT_DESCRIPTOR_PAGE), elementDescFields) \
    X(raidConfigTable, "RaidConfig", sizeof(_ADAPTER_CONFIG), raidConfigFields) \
    X(userOptsTable, "UserOpts", sizeof(_USER_OPTS), userOptsFields) \
    X(hardwareDescTable, "HardwareDesc", sizeof(_HARDWARE_DESC), hardwareDescFields) \
    X(virtDrvParmsTable, "VirtDrvParms", sizeof(_VIRT_DRV_PARMS), virtDrvParmsFields) \
    X(virtDrvFreeSlotTable, "VirtDrvParms", sizeof(_VIRT_DRV_PARMS), virtDrvFreeSlotFields) \
    X(devStateTable, "DevState", sizeof(_DEV_STATE), devStateFields) \
    X(adapterFeaturesTable, "AdapterFeatures", sizeof(_ADAPTER_FEATURES), adapterFeaturesFields) \
    X(raidEventTable, "RaidEvent", sizeof(_RAID_EVENT), raidEventFields) \
    X(batteryCacheTable, "RaidConfig", sizeof(BatteryCacheImage), batteryCacheFields) \
    X(cacheSerialsTable, "RaidConfig", sizeof(_ENQUIRY_BBCACHE), cacheSerialsFields) \
    X(driveBlockedTable, "VirtDrvParms", sizeof(DriveFlagsImage), driveBlockedFields) \
    X(driveWriteThroughTable, "VirtDrvParms", sizeof(DriveFlagsImage), driveWriteThroughFields) \
    X(progressInfoTable, "ProgressInfo", sizeof(ProgressImage), progressInfoFields) \
    X(quillcopyProgressTable, "QuillcopyProgress", sizeof(_QUILLCOPY_STATUS), quillcopyProgressFields) \
    X(quillcopyStatusTable, "QuillcopyStatus", sizeof(_REBUILD_STATUS), quillcopyStatusFields)

CONVERTER_TABLES(TABLE)

const RecordTable* const* allTables(size_t& count)
{
#define TABLE_ADDRESS(name, javaClass, recordSize, fields) &name,
    static const RecordTable* const tables[] = {CONVERTER_TABLES(TABLE_ADDRESS)};
#undef TABLE_ADDRESS
    count = std::size(tables);
    return tables;
}

const HolderRule intHolder = {LEGACY_API_PACKAGE "IVal", "getInt", "()I", "setInt", "(I)V"};
const HolderRule shortHolder = {LEGACY_API_PACKAGE "SVal", "getShort", "()S", "setShort", "(S)V"};
const HolderRule longHolder = {LEGACY_API_PACKAGE "LVal", "getLong", "()J", "setLong", "(J)V"};
const HolderRule booleanHolder = {LEGACY_API_PACKAGE "BlVal", "getBoolean", "()Z", "setBoolean", "(Z)V"};

} // namespace legacyconv
