#ifndef RAIDREC_H
#define RAIDREC_H

// RAID configuration, size, progress, enclosure and drive records of the
// controller C API. The conventions of storrec.h hold: packed, fixed-width,
// little-endian, bit fields decoded with shifts and masks. The one big-endian
// number of these records is the entry count of a raw controller event log
// (see _ADAPTER_EVENT_LOG below).

#include "storagedll/storrec.h"

#pragma pack(push, 1)

// Controller options: one 32-bit word of bit fields.
//   X(field, first bit, width)
#define USER_OPTS_FIELDS(X)              \
    X(uiCfgDriveUpdateCount, 0, 16)      \
    X(uiStartupDelay, 16, 4)             \
    X(uiConcurDriveStartCount, 20, 4)    \
    X(uiCopyBackEnabled, 24, 1)          \
    X(uiDataScrubDisable, 25, 1)         \
    X(uiHotSwapRebuild, 26, 1)           \
    X(uiStage, 27, 1)                    \
    X(uiCluster, 28, 1)                  \
    X(uiBiosCompat, 29, 1)               \
    X(uiUnused, 30, 1)                   \
    X(uiAutoRearrange, 31, 1)

struct _USER_OPTS {
    uint32_t ulOpts;

#define USER_OPTS_ACCESSORS(name, shift, width)                                    \
    uint32_t name() const { return storrec::getBits(ulOpts, shift, width); }       \
    void set_##name(uint32_t value) { ulOpts = storrec::setBits(ulOpts, shift, width, value); }
    USER_OPTS_FIELDS(USER_OPTS_ACCESSORS)
#undef USER_OPTS_ACCESSORS
};
typedef _USER_OPTS USER_OPTS;
static_assert(sizeof(_USER_OPTS) == 4, "_USER_OPTS is 4 bytes");

struct _HARDWARE_DESC {
    uint8_t ucBoardDesc[8];
    uint8_t ucProcessor[8];
    uint8_t ucNoChanType;
    uint8_t ucNoHostIntType;
    uint8_t ucCompression;
    uint8_t ucNvramType;       // NVRAM type code: gives the battery-backed cache size
    uint32_t ulNvramSize;
};
typedef _HARDWARE_DESC HARDWARE_DESC;
static_assert(sizeof(_HARDWARE_DESC) == 24, "_HARDWARE_DESC is 24 bytes");
static_assert(offsetof(_HARDWARE_DESC, ucNvramType) == 19, "ucNvramType at 19");

// One extent of a logical drive on one physical drive.
struct _CHUNK {
    uint8_t ucChannel;
    uint8_t ucTarget;          // in an HLD: the SLD-table index of a sub-logical drive
    uint16_t usReserved;
    uint32_t ulStartSect;
    uint32_t ulNoOfSect;
};
typedef _CHUNK CHUNK;
static_assert(sizeof(_CHUNK) == 12, "_CHUNK is 12 bytes");

// Bits of _VIRT_DRV_PARMS::ucRaidCacheParam and ucParams.
const uint8_t VDP_RAID_CODE_MASK = 0x07;    // the controller's RAID code
const uint8_t VDP_SPANNED = 0x08;           // a spanned (HLD) drive
const uint8_t VDP_WRITE_CACHE_ON = 0x80;
const uint8_t VDP_PARAM_READ_AHEAD_OFF = 0x20; // entry 0 of the configuration only
const uint8_t VDP_PARAM_RAID5E = 0x40;
const uint8_t VDP_PARAM_RAID5EE = 0x80;

// One logical drive: an entry of the configuration and of the HLD and SLD tables.
struct _VIRT_DRV_PARMS {
    uint16_t usUserField;      // bits 0-4 month, 5-7 array id, 8-15 day of creation
    uint8_t ucState;           // drive state code; 0 marks a free entry
    uint8_t ucRaidCacheParam;  // RAID code, spanned and write-cache bits
    uint8_t ucNoOfChunkUnits;  // chunks in use; in an HLD its number of sub-drives
    uint8_t ucStripeSize;      // stripe size code
    uint8_t ucParams;          // RAID-5E, RAID-5EE (and adapter read-ahead) bits
    uint8_t ucYear;            // creation year minus 1900
    uint32_t ulVirtDriveSize;  // size in sectors
    _CHUNK sChunk[16];

    uint32_t getCreationMonth() const { return storrec::getBits(usUserField, 0, 5); }
    uint32_t getArrayId() const { return storrec::getBits(usUserField, 5, 3); }
    uint32_t getCreationDay() const { return storrec::getBits(usUserField, 8, 8); }
    void setUserField(uint32_t arrayId, uint32_t day, uint32_t month) {
        uint32_t v = storrec::setBits(0, 0, 5, month);
        v = storrec::setBits(v, 5, 3, arrayId);
        usUserField = static_cast<uint16_t>(storrec::setBits(v, 8, 8, day));
    }
    uint32_t getRaidCode() const { return ucRaidCacheParam & VDP_RAID_CODE_MASK; }
    bool isSpanned() const { return (ucRaidCacheParam & VDP_SPANNED) != 0; }
    bool isWriteCacheOn() const { return (ucRaidCacheParam & VDP_WRITE_CACHE_ON) != 0; }
    bool isRaid5E() const { return (ucParams & VDP_PARAM_RAID5E) != 0; }
    bool isRaid5EE() const { return (ucParams & VDP_PARAM_RAID5EE) != 0; }
    // The sub-state of a RAID-5EE drive: bits 0-1 of the 16-bit word at offset 98
    // (the reserved word of chunk 7).
    uint32_t getRaid5EESubState() const { return storrec::getBits(sChunk[7].usReserved, 0, 2); }
    void setRaid5EESubState(uint32_t v) {
        sChunk[7].usReserved = static_cast<uint16_t>(storrec::setBits(sChunk[7].usReserved, 0, 2, v));
    }
};
typedef _VIRT_DRV_PARMS VIRT_DRV_PARMS;
typedef _VIRT_DRV_PARMS* PVIRT_DRV_PARMS;
static_assert(sizeof(_VIRT_DRV_PARMS) == 204, "_VIRT_DRV_PARMS is 204 bytes");
static_assert(offsetof(_VIRT_DRV_PARMS, ulVirtDriveSize) == 8, "ulVirtDriveSize at 8");
static_assert(offsetof(_VIRT_DRV_PARMS, sChunk) == 12, "sChunk at 12");
static_assert(offsetof(_VIRT_DRV_PARMS, sChunk) + 7 * sizeof(_CHUNK) + offsetof(_CHUNK, usReserved) == 98,
              "RAID-5EE sub-state word at 98");

// Device state codes of _DEV_STATE::ucState (and of Get/SetPhysDevState).
const uint8_t DEVSTATE_NONE = 0x00;
const uint8_t DEVSTATE_STANDBY = 0x01;
const uint8_t DEVSTATE_DEAD_04 = 0x04;
const uint8_t DEVSTATE_HOT_SPARE_05 = 0x05;
const uint8_t DEVSTATE_DEAD = 0x08;
const uint8_t DEVSTATE_READY = 0x81;
const uint8_t DEVSTATE_HOT_SPARE = 0x85;
const uint8_t DEVSTATE_ONLINE = 0x89;
const uint8_t DEVSTATE_REBUILDING = 0x8B;

// Positions of the identity texts inside _DEV_STATE::ucDeviceId.
const unsigned DEVID_VENDOR = 0, DEVID_VENDOR_LEN = 8;
const unsigned DEVID_MODEL = 8, DEVID_MODEL_LEN = 8;
const unsigned DEVID_FIRMWARE = 16, DEVID_FIRMWARE_LEN = 4;
const unsigned DEVID_SERIAL = 20, DEVID_SERIAL_LEN = 8;

// One device slot of the configuration.
struct _DEV_STATE {
    uint8_t ucInitiator;
    uint8_t ucParameters;      // bits 0-4 the device type
    uint8_t ucMiscFlag;        // bit 0: predictive failure reported
    uint8_t ucState;           // device state code; 0: no device in this slot
    uint32_t ucBlockCount;     // size in blocks (a 32-bit count despite its name)
    uint8_t ucDeviceId[28];    // vendor 0-7, model 8-15, firmware 16-19, serial 20-27

    uint32_t getDeviceType() const { return storrec::getBits(ucParameters, 0, 5); }
    bool isPfaReported() const { return (ucMiscFlag & 0x01) != 0; }
};
typedef _DEV_STATE DEV_STATE;
static_assert(sizeof(_DEV_STATE) == 36, "_DEV_STATE is 36 bytes");
static_assert(offsetof(_DEV_STATE, ucBlockCount) == 4, "ucBlockCount at 4");
static_assert(offsetof(_DEV_STATE, ucDeviceId) == 8, "ucDeviceId at 8");

// Rebuild rates of _ADAPTER_CONFIG::ucRebuildRate.
const uint8_t REBUILD_RATE_LOW = 1;
const uint8_t REBUILD_RATE_MEDIUM = 8;
const uint8_t REBUILD_RATE_HIGH = 15;

// Channel and target limits of the configuration's tables.
const unsigned ACONFIG_CHANNELS = 4;
const unsigned ACONFIG_TARGETS = 16;
const unsigned ACONFIG_VIRT_DRIVES = 8;

// The controller's RAID configuration, filled by GetAdapterRaidConfig.
struct _ADAPTER_CONFIG {
    uint8_t ucNoOfVirtDrives;
    uint8_t ucDateD;
    uint8_t ucDateM;
    uint8_t ucDateY;
    uint8_t ucInitId[4];       // per channel: bits 0-3 initiator id, bits 5-7 speed code
    uint8_t ucHostId[12];      // host id text
    uint8_t ucTimeSign[8];
    _USER_OPTS sUserOpts;
    uint16_t usUserField;
    uint8_t ucRebuildRate;     // 1 low, 8 medium, 15 high
    uint8_t ucReserved;
    _HARDWARE_DESC sHardwareDesc;
    _VIRT_DRV_PARMS sVirtDrv[8];   // entry n: C-API drive number n
    _DEV_STATE sDevState[4][16];   // [channel][target id]

    // The controller's own SCSI id and the transfer speed code on a channel (0-3).
    uint32_t getInitiatorId(unsigned channel) const { return storrec::getBits(ucInitId[channel], 0, 4); }
    uint32_t getSpeedCode(unsigned channel) const { return storrec::getBits(ucInitId[channel], 5, 3); }
    void setInitId(unsigned channel, uint32_t initiatorId, uint32_t speedCode) {
        ucInitId[channel] = static_cast<uint8_t>(
            storrec::setBits(storrec::setBits(0, 0, 4, initiatorId), 5, 3, speedCode));
    }
};
typedef _ADAPTER_CONFIG ACONFIG;
typedef _ADAPTER_CONFIG* PACONFIG;
static_assert(sizeof(_ADAPTER_CONFIG) == 3996, "_ADAPTER_CONFIG is 3996 bytes");
static_assert(offsetof(_ADAPTER_CONFIG, ucInitId) == 4, "ucInitId at 4");
static_assert(offsetof(_ADAPTER_CONFIG, ucHostId) == 8, "ucHostId at 8");
static_assert(offsetof(_ADAPTER_CONFIG, ucTimeSign) == 20, "ucTimeSign at 20");
static_assert(offsetof(_ADAPTER_CONFIG, sUserOpts) == 28, "sUserOpts at 28");
static_assert(offsetof(_ADAPTER_CONFIG, usUserField) == 32, "usUserField at 32");
static_assert(offsetof(_ADAPTER_CONFIG, ucRebuildRate) == 34, "ucRebuildRate at 34");
static_assert(offsetof(_ADAPTER_CONFIG, sHardwareDesc) == 36, "sHardwareDesc at 36");
static_assert(offsetof(_ADAPTER_CONFIG, sVirtDrv) == 60, "sVirtDrv at 60");
static_assert(offsetof(_ADAPTER_CONFIG, sDevState) == 1692, "sDevState at 1692");

// Sizes passed by value to IncreaseVirtDevSizes and IncreaseArraySize.
struct _DEVICE_SIZE {
    uint32_t ulSectorCount;
    uint32_t ulSectorSize;
    uint32_t ulMultiplier;
};
typedef _DEVICE_SIZE DEVICE_SIZE;
static_assert(sizeof(_DEVICE_SIZE) == 12, "_DEVICE_SIZE is 12 bytes");

struct _ARRAY_SIZE {
    uint32_t ulSectorCount;
    uint32_t ulSectorSize;
    uint32_t ulMultiplier;
};
typedef _ARRAY_SIZE ARRAY_SIZE;
static_assert(sizeof(_ARRAY_SIZE) == 12, "_ARRAY_SIZE is 12 bytes");

struct _SIZERMAIN {
    uint8_t ucVirtDriveNumber;
    uint8_t ucVirtDriveState;
    uint8_t ucFiller1;
    uint8_t ucFiller2;
    uint32_t ulVirtDriveSize;
    uint32_t ulRemainingBlocks;
};
typedef _SIZERMAIN SIZERMAIN;
static_assert(sizeof(_SIZERMAIN) == 12, "_SIZERMAIN is 12 bytes");

// Task families of _REBUILD_STATUS::ucOpcode.
const uint8_t TASK_OPCODE_REBUILD = 0x16;     // rebuild family (see ucSubOpcodeQualifier)
const uint8_t TASK_OPCODE_SYNC = 0x0F;
const uint8_t TASK_OPCODE_QUILLCOPY = 0xCA;
const uint8_t TASK_OPCODE_MIGRATION = 0xBB;
// Rebuild-family qualifiers of ucSubOpcodeQualifier.
const uint8_t TASK_QUAL_REBUILD = 0;
const uint8_t TASK_QUAL_COMPACTION = 1;
const uint8_t TASK_QUAL_EXPANSION = 2;
const uint8_t TASK_QUAL_COPYBACK = 3;
// Migration kinds of ucLdmOption (other values: a plain migration).
const uint8_t TASK_LDM_COMPRESSION = 1;
const uint8_t TASK_LDM_DECOMPRESSION = 2;
// Values of ucStatus while a task is in progress; any other value: the last task ended.
const uint8_t TASK_STATUS_ACTIVE_30 = 0x30;
const uint8_t TASK_STATUS_ACTIVE_33 = 0x33;
const uint8_t TASK_STATUS_ACTIVE_34 = 0x34;
inline bool isTaskStatusActive(uint8_t status) {
    return status == TASK_STATUS_ACTIVE_30 || status == TASK_STATUS_ACTIVE_33 ||
           status == TASK_STATUS_ACTIVE_34;
}

// The controller's task in progress, filled by CheckProgress.
struct _REBUILD_STATUS {
    uint8_t ucOpcode;             // task family
    uint8_t ucVirtDriveNumber;    // drive the task runs on
    uint8_t ucDevChnID;           // channel of the task's physical device
    uint8_t ucDevTgtID;           // target id of that device
    uint8_t ucCheckOption;
    uint8_t ucRebuildRate;
    uint8_t ucStatus;             // 0x30, 0x33, 0x34: in progress
    uint8_t ucLdmOption;          // kind of migration
    uint8_t ucIsSLDVirtDriveId;   // non-zero: the drive is a sub-logical drive
    uint8_t ucVirtualDriveIndex;
    uint8_t ucSubOpcodeQualifier; // within the rebuild family
    uint8_t ulReserved2;          // one byte despite its name
    uint32_t ulStripeNumber;
    uint16_t usReserved3;
    uint8_t ucDevChnIDf;
    uint8_t ucDevTgtIDf;
    _SIZERMAIN sVirtualDrive[8];
};
typedef _REBUILD_STATUS REBUILD_STATUS;
static_assert(sizeof(_REBUILD_STATUS) == 116, "_REBUILD_STATUS is 116 bytes");
static_assert(offsetof(_REBUILD_STATUS, ucStatus) == 6, "ucStatus at 6");
static_assert(offsetof(_REBUILD_STATUS, ucSubOpcodeQualifier) == 10, "ucSubOpcodeQualifier at 10");
static_assert(offsetof(_REBUILD_STATUS, ulStripeNumber) == 12, "ulStripeNumber at 12");
static_assert(offsetof(_REBUILD_STATUS, ucDevChnIDf) == 18, "ucDevChnIDf at 18");
static_assert(offsetof(_REBUILD_STATUS, sVirtualDrive) == 20, "sVirtualDrive at 20");

// SAF-TE enclosure configuration, filled by GetSafteConfig: the 64-byte
// configuration buffer. A library writes no more than these 64 bytes.
struct _SAFTE_CONFIGURATION {
    uint8_t fanCount;
    uint8_t powerSupplyCount;
    uint8_t slotCount;
    uint8_t doorLockInstalled;
    uint8_t tempSensorCount;
    uint8_t audibleAlarmInstalled;
    uint8_t ucThermostat;      // bits 0-3 thermostat count, 4-6 reserved, bit 7 Celsius
    uint8_t reserved[56];
    uint8_t vendorUniqueByteCount;

    uint32_t thermostatCount() const { return storrec::getBits(ucThermostat, 0, 4); }
    uint32_t reserved6() const { return storrec::getBits(ucThermostat, 4, 3); }
    uint32_t celsius() const { return storrec::getBits(ucThermostat, 7, 1); }
};
static_assert(sizeof(_SAFTE_CONFIGURATION) == 64, "_SAFTE_CONFIGURATION is 64 bytes");
static_assert(offsetof(_SAFTE_CONFIGURATION, vendorUniqueByteCount) == 63,
              "vendorUniqueByteCount at 63");

// SAF-TE enclosure status as the C API declares it (room for 32 fans, 32 power
// supplies, 64 slots and 32 temperature sensors).
struct _SAFTE_STATUS {
    uint8_t ucFanStatus[32];
    uint8_t ucPowerSupplyStatus[32];
    uint8_t ucSlotScsiId[64];
    uint8_t ucDoorLockStatus;
    uint8_t ucSpeakerStatus;
    uint8_t ucTempSensorStatus[32];
    uint8_t ucTempOutOfRangeFlag1;
    uint8_t ucTempOutOfRangeFlag2;
    uint8_t ucVendorUniqueByteCount;
    uint8_t ucVendorUniqueBytes[1];
};
typedef _SAFTE_STATUS SAFTE_STATUS;
static_assert(sizeof(_SAFTE_STATUS) == 166, "_SAFTE_STATUS is 166 bytes");

// What every reader actually takes from a _SAFTE_STATUS: its first 28 bytes as
// the packed status page of an enclosure with 3 fans, 3 power supplies, 14
// slots and 2 temperature sensors, one byte per item. A library fills these
// positions and writes nothing beyond them (the legacy bridge reserves only 32
// bytes for the record).
struct SAFTE_STATUS_PAGE {
    uint8_t ucFanStatus[3];
    uint8_t ucPowerSupplyStatus[3];
    uint8_t ucSlotScsiId[14];
    uint8_t ucDoorLockStatus;
    uint8_t ucSpeakerStatus;
    uint8_t ucTempSensorStatus[2];
    uint8_t ucTempOutOfRangeFlag1;
    uint8_t ucTempOutOfRangeFlag2;
    uint8_t ucVendorUniqueByteCount;
    uint8_t ucVendorUniqueBytes;
};
static_assert(sizeof(SAFTE_STATUS_PAGE) == 28, "the SAF-TE status page is 28 bytes");
static_assert(offsetof(SAFTE_STATUS_PAGE, ucPowerSupplyStatus) == 3, "power supplies at 3");
static_assert(offsetof(SAFTE_STATUS_PAGE, ucSlotScsiId) == 6, "slot ids at 6");
static_assert(offsetof(SAFTE_STATUS_PAGE, ucDoorLockStatus) == 20, "door lock at 20");
static_assert(offsetof(SAFTE_STATUS_PAGE, ucTempSensorStatus) == 22, "temperatures at 22");
static_assert(offsetof(SAFTE_STATUS_PAGE, ucTempOutOfRangeFlag1) == 24, "out-of-range flags at 24");
static_assert(offsetof(SAFTE_STATUS_PAGE, ucVendorUniqueByteCount) == 26, "vendor-unique count at 26");
static_assert(sizeof(SAFTE_STATUS_PAGE) <= sizeof(_SAFTE_STATUS), "the page lies inside the record");

// FRU part numbers of the drives, filled by GetDriveFruData: [channel][target id],
// entry [c][t] at byte 192 * c + 12 * t.
struct _HDD_FRU_PN {
    uint8_t FruPN[12];
};
typedef _HDD_FRU_PN HDD_FRU_NUM;
static_assert(sizeof(_HDD_FRU_PN) == 12, "_HDD_FRU_PN is 12 bytes");

struct _HDD_FRU_TABLE {
    _HDD_FRU_PN FruPNArray[4][16];
};
typedef _HDD_FRU_TABLE FRUARRAY;
static_assert(sizeof(_HDD_FRU_TABLE) == 768, "_HDD_FRU_TABLE is 768 bytes");

// A raw controller event log as GetAdapterEventLog writes it into a 4096-byte
// buffer: the number of entries as an unsigned 32-bit value, most significant
// byte first (big-endian, unlike every other number of the C API), then up to
// 1023 entries of four bytes.
const uint32_t ADAPTER_EVENT_LOG_SIZE = 4096;
// Log codes of GetAdapterEventLog; EraseAdapterEventLog takes the code plus 0xF0.
const uint8_t EVENT_LOG_CODE_DEVICE = 1;
const uint8_t EVENT_LOG_CODE_SOFT = 2;
const uint8_t EVENT_LOG_CODE_BAD_STRIPE = 4;
const uint8_t EVENT_LOG_CODE_HARD = 5;
const uint8_t EVENT_LOG_CODE_DEAD_DRIVE = 9;
const uint8_t EVENT_LOG_ERASE_OFFSET = 0xF0;
const uint32_t ADAPTER_EVENT_LOG_MAX_ENTRIES = 1023;
struct _ADAPTER_EVENT_LOG {
    uint8_t ucEntryCount[4];   // big-endian
    uint8_t ucEntry[1023][4];

    uint32_t getEntryCount() const {
        return (uint32_t(ucEntryCount[0]) << 24) | (uint32_t(ucEntryCount[1]) << 16) |
               (uint32_t(ucEntryCount[2]) << 8) | uint32_t(ucEntryCount[3]);
    }
    void setEntryCount(uint32_t n) {
        ucEntryCount[0] = uint8_t(n >> 24);
        ucEntryCount[1] = uint8_t(n >> 16);
        ucEntryCount[2] = uint8_t(n >> 8);
        ucEntryCount[3] = uint8_t(n);
    }
};
static_assert(sizeof(_ADAPTER_EVENT_LOG) == ADAPTER_EVENT_LOG_SIZE, "a raw event log is 4096 bytes");

#pragma pack(pop)

#endif
