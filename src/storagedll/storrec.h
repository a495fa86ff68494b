#ifndef STORREC_H
#define STORREC_H

// Address, identity and status records of the controller C API (libtarnellapi).
//
// The byte layout of these records is a contract with the outside library, so
// every record is packed, every field has a fixed width and the sizes and key
// offsets are checked below. A 32-bit "long" of the original platform is a
// uint32_t here, on 64-bit builds as well. Multi-byte integers are
// little-endian (the host order of every platform we build for). Text fields are
// byte arrays that need not be terminated. Bit fields are 32-bit words decoded
// with shifts and masks, never with C bit-fields, so their positions do not
// depend on the compiler.
//
// This header and the other record headers of this folder stand alone: they are
// shared with the simulated controller library and pull in nothing of the core.

#include <cstddef>
#include <cstdint>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "controller records are little-endian and read in host order");

// The 16-bit truth value of the C API (ConstructorOK); non-zero means true.
typedef uint16_t BOOL;

// Bit-field helpers over a 32-bit word: bits [shift, shift + width).
namespace storrec {
constexpr uint32_t bitMask(unsigned width) {
    return width >= 32 ? 0xFFFFFFFFu : ((1u << width) - 1u);
}
constexpr uint32_t getBits(uint32_t word, unsigned shift, unsigned width) {
    return (word >> shift) & bitMask(width);
}
constexpr uint32_t setBits(uint32_t word, unsigned shift, unsigned width, uint32_t value) {
    return (word & ~(bitMask(width) << shift)) | ((value & bitMask(width)) << shift);
}
} // namespace storrec

#pragma pack(push, 1)

// ulMap selector bits of an address.
const uint32_t STADDR_MAP_ADAPTER_WIDE = 0x80000000u; // adapter-wide read-ahead and write policy
const uint32_t STADDR_MAP_VIRT_DEV = 0x200u;          // write policy of one logical drive

// The address of an object of the C API, passed by value to every addressed
// operation.
struct _STORAGE_ADDRESS_ID {
    uint16_t usSystemID;
    uint16_t usEnclosureID;
    uint16_t usSubSysID;
    uint16_t usLoopID;
    uint16_t usAdapterID;   // the controller's number in the C API
    uint16_t usVirtDevID;   // logical drive number
    uint16_t usArrayID;     // array number
    uint16_t usChannelID;   // channel number
    uint16_t usPhysDevID;   // target id of a device on its channel
    uint16_t usLunID;       // logical unit
    uint16_t usResv1;
    uint16_t usResv2;
    uint16_t usResv3;
    uint16_t usResv4;
    uint32_t ulMap;         // selector bits (STADDR_MAP_...)
    uint8_t ucDllName[8];   // name of the library that issued the address
};
typedef _STORAGE_ADDRESS_ID STADDR;
typedef _STORAGE_ADDRESS_ID* PSTADDR;
static_assert(sizeof(_STORAGE_ADDRESS_ID) == 40, "_STORAGE_ADDRESS_ID is 40 bytes");
static_assert(offsetof(_STORAGE_ADDRESS_ID, usAdapterID) == 8, "usAdapterID at 8");
static_assert(offsetof(_STORAGE_ADDRESS_ID, usVirtDevID) == 10, "usVirtDevID at 10");
static_assert(offsetof(_STORAGE_ADDRESS_ID, usArrayID) == 12, "usArrayID at 12");
static_assert(offsetof(_STORAGE_ADDRESS_ID, usChannelID) == 14, "usChannelID at 14");
static_assert(offsetof(_STORAGE_ADDRESS_ID, usPhysDevID) == 16, "usPhysDevID at 16");
static_assert(offsetof(_STORAGE_ADDRESS_ID, ulMap) == 28, "ulMap at 28");
static_assert(offsetof(_STORAGE_ADDRESS_ID, ucDllName) == 32, "ucDllName at 32");

// A version: numbers, an optional text and how many of its characters are valid.
struct _STORAGE_VERSION {
    uint32_t ulMajor;
    uint32_t ulMinor;
    uint32_t ulMaint;
    uint8_t ucText[16];
    uint8_t uc3MValid;      // 3 in the command interfaces' own version answers
    uint8_t ucTextValid;    // valid characters in ucText, 0 without text
    uint16_t usResv;
};
typedef _STORAGE_VERSION VERSION;
static_assert(sizeof(_STORAGE_VERSION) == 32, "_STORAGE_VERSION is 32 bytes");
static_assert(offsetof(_STORAGE_VERSION, ucText) == 12, "ucText at 12");
static_assert(offsetof(_STORAGE_VERSION, uc3MValid) == 28, "uc3MValid at 28");
static_assert(offsetof(_STORAGE_VERSION, ucTextValid) == 29, "ucTextValid at 29");

// Controller status, filled by AdapterStatus.
struct _STORAGE_ADAPTER_STATUS {
    int32_t iAdapStatus;    // status code of the controller
    int32_t iStatusQual;
    int32_t iAdapState;     // state of the controller (the adapter mode)
    int32_t iStateQual;
    uint32_t ulDetectedRC;
    uint32_t ulAdapMisc;
};
typedef _STORAGE_ADAPTER_STATUS ADAPTER__STATUS;
static_assert(sizeof(_STORAGE_ADAPTER_STATUS) == 24, "_STORAGE_ADAPTER_STATUS is 24 bytes");
static_assert(offsetof(_STORAGE_ADAPTER_STATUS, iAdapState) == 8, "iAdapState at 8");

struct _ADAPTER_TYPE {
    uint8_t ucCmndType;
    uint8_t ucResv1;
    uint16_t usResv2;
    uint8_t ucScsiVendorId[8];
    uint32_t ulArchitecture;
    uint32_t ulFamily;
    uint32_t ulImplementation; // the controller model code
};
typedef _ADAPTER_TYPE ADAP_TYPE;
static_assert(sizeof(_ADAPTER_TYPE) == 24, "_ADAPTER_TYPE is 24 bytes");
static_assert(offsetof(_ADAPTER_TYPE, ulImplementation) == 20, "ulImplementation at 20");

struct _ADAPTER_INFO {
    uint16_t usAdapNum;
    uint16_t usAdapLocTyp;
    uint16_t usAdapLocNum;     // location number: the physical slot
    uint16_t usAdapChanCount;  // number of channels
    uint32_t ulAdapBIOSSize;
    uint32_t ulAdapFirmSize;
    _STORAGE_VERSION usAdapVers;
    _STORAGE_VERSION usAdapBIOSVers;
    _STORAGE_VERSION usAdapFirmVers;
    _ADAPTER_TYPE sAdapType;
    _STORAGE_ADDRESS_ID sAdapAddr;
};
typedef _ADAPTER_INFO ADAPTER_INFO;
static_assert(sizeof(_ADAPTER_INFO) == 176, "_ADAPTER_INFO is 176 bytes");
static_assert(offsetof(_ADAPTER_INFO, usAdapChanCount) == 6, "usAdapChanCount at 6");
static_assert(offsetof(_ADAPTER_INFO, usAdapVers) == 16, "usAdapVers at 16");
static_assert(offsetof(_ADAPTER_INFO, usAdapBIOSVers) == 48, "usAdapBIOSVers at 48");
static_assert(offsetof(_ADAPTER_INFO, usAdapFirmVers) == 80, "usAdapFirmVers at 80");
static_assert(offsetof(_ADAPTER_INFO, sAdapType) == 112, "sAdapType at 112");
static_assert(offsetof(_ADAPTER_INFO, sAdapAddr) == 136, "sAdapAddr at 136");

// Filled by RaidAdapterInfo.
struct _RAID_ADAPTER_INFO {
    _ADAPTER_INFO sAdapInfo;
    uint16_t usVirtDevCount;   // number of logical drives
};
typedef _RAID_ADAPTER_INFO RAID_ADAPTER_INFO;
static_assert(sizeof(_RAID_ADAPTER_INFO) == 178, "_RAID_ADAPTER_INFO is 178 bytes");
static_assert(offsetof(_RAID_ADAPTER_INFO, usVirtDevCount) == 176, "usVirtDevCount at 176");

struct _CHANNEL_INFO {
    uint16_t usChanNum;
    uint16_t usChanInitID;
    uint16_t usChanType;
    uint16_t usChanWidth;
    uint16_t usChanSpeed;
    uint16_t usChanDevCount;
    uint16_t usChanDiskCount;
    uint16_t usChanDDDCount;
    uint16_t usChanSafteCount;
    uint16_t usResv;
};
typedef _CHANNEL_INFO CHANNEL_INFO;
static_assert(sizeof(_CHANNEL_INFO) == 20, "_CHANNEL_INFO is 20 bytes");

// The controller's enquiry data (also the reply of a raw enquiry command).
struct _ENQUIRY {
    uint8_t ucVirtDriveCount;
    uint8_t ucMiscFlag;          // bits 0x02 and 0x20: battery-backed cache state
    uint8_t ucSLTFlag;
    uint8_t ucBSTFlag;
    uint8_t ucPwrChgCount;
    uint8_t ucWrongAdrCount;
    uint8_t ucUnindentCount;
    uint8_t ucNVramDevChgCnt;
    uint8_t ucCodeBlkVersion[8];
    uint8_t ucBootBlkVersion[8];
    uint32_t ulDriveSize[8];
    uint8_t ucConcurrentCmdCount;
    uint8_t ucMaxPhysicalDevices;
    uint16_t usFlashRepgmCount;
    uint8_t ucDefunctDiskCount;
    uint8_t ucRebuildFlag;
    uint8_t ucOfflineVirtDriveCount;
    uint8_t ucCriticalDriveCount;
    uint16_t usConfigUpdateCount;
    uint8_t ucBlockedDriveFlag;  // bit n: top-level logical drive n is blocked
    uint8_t ucMordalErrorCode;   // battery-backed cache error code
    uint16_t usAddrDeadDisk[64];
};
typedef _ENQUIRY ENQUIRY;
typedef _ENQUIRY* PENQUIRY;
static_assert(sizeof(_ENQUIRY) == 196, "_ENQUIRY is 196 bytes");
static_assert(offsetof(_ENQUIRY, ulDriveSize) == 24, "ulDriveSize at 24");
static_assert(offsetof(_ENQUIRY, ucConcurrentCmdCount) == 56, "ucConcurrentCmdCount at 56");
static_assert(offsetof(_ENQUIRY, usConfigUpdateCount) == 64, "usConfigUpdateCount at 64");
static_assert(offsetof(_ENQUIRY, ucBlockedDriveFlag) == 66, "ucBlockedDriveFlag at 66");
static_assert(offsetof(_ENQUIRY, ucMordalErrorCode) == 67, "ucMordalErrorCode at 67");
static_assert(offsetof(_ENQUIRY, usAddrDeadDisk) == 68, "usAddrDeadDisk at 68");

// Filled by GetExtendedBatteryData.
struct _ENQUIRY_EXTENDED_BATTERY_STATUS {
    _ENQUIRY sEnquiry;
    int8_t cTemperature;           // battery temperature, signed
    uint8_t ucAbnormalTemperature; // non-zero: temperature abnormal
    uint8_t ucPercentCharged;
    uint8_t ucReserved;
};
typedef _ENQUIRY_EXTENDED_BATTERY_STATUS ENQUIRY_EXTENDED_BATTERY_STATUS;
static_assert(sizeof(_ENQUIRY_EXTENDED_BATTERY_STATUS) == 200,
              "_ENQUIRY_EXTENDED_BATTERY_STATUS is 200 bytes");
static_assert(offsetof(_ENQUIRY_EXTENDED_BATTERY_STATUS, cTemperature) == 196, "cTemperature at 196");
static_assert(offsetof(_ENQUIRY_EXTENDED_BATTERY_STATUS, ucPercentCharged) == 198,
              "ucPercentCharged at 198");

// The firmware feature levels of a controller, filled by GetSupportedFeatures:
// nine 32-bit words of bit fields, then 119 reserved words. Each field has a
// getter of its own name and a setter set_<name>; bits count from the least
// significant bit of each word.
//   X(field, word, first bit, width)
#define ADAPTER_FEATURE_FIELDS(X)        \
    X(ulPosRelLevel, 0, 0, 4)            \
    X(ulPosTstLevel, 0, 4, 4)            \
    X(ulBBCacheRelLevel, 0, 8, 4)        \
    X(ulBBCacheTstLevel, 0, 12, 4)       \
    X(ulResv1, 0, 16, 7)                 \
    X(ulPlatformValid, 0, 23, 1)         \
    X(ulAdapType, 0, 24, 8)              \
    X(ulHARelLevel, 1, 0, 4)             \
    X(ulHATstLevel, 1, 4, 4)             \
    X(ulBiosDisCacheRL, 1, 8, 2)         \
    X(ulBiosDisCacheTL, 1, 10, 2)        \
    X(ulHardDrvFRU, 1, 12, 2)            \
    X(ulOSSRelLevel, 1, 14, 2)           \
    X(ulOSSTstLevel, 1, 16, 2)           \
    X(ulIdDrvRelLvl, 1, 18, 2)           \
    X(ulIdDrvTstLvl, 1, 20, 2)           \
    X(ulQCRelLevel, 1, 22, 2)            \
    X(ulQCTstLevel, 1, 24, 2)            \
    X(ulU16DRelLvl, 1, 26, 2)            \
    X(ulU16DTstLvl, 1, 28, 2)            \
    X(ulResv2, 1, 30, 2)                 \
    X(ulLDMRelLevel, 2, 0, 4)            \
    X(ulLDMTstLevel, 2, 4, 4)            \
    X(ulOSIRelLevel, 2, 8, 2)            \
    X(ulOSITstLevel, 2, 10, 2)           \
    X(ulHSRRelLevel, 2, 12, 2)           \
    X(ulHSRTstLevel, 2, 14, 2)           \
    X(ulDSCRelLevel, 2, 16, 2)           \
    X(ulDSCTstLevel, 2, 18, 2)           \
    X(ulAutoSyncRL, 2, 20, 2)            \
    X(ulAutoSyncTL, 2, 22, 2)            \
    X(ulAdapRARL, 2, 24, 2)              \
    X(ulAdapRATL, 2, 26, 2)              \
    X(ulR5ERelLevel, 2, 28, 2)           \
    X(ulR5ETstLevel, 2, 30, 2)           \
    X(ulELFRelLevel, 3, 0, 8)            \
    X(ulELFTstLevel, 3, 8, 8)            \
    X(ulFFDCRelLevel, 3, 16, 2)          \
    X(ulFFDCTstLevel, 3, 18, 2)          \
    X(ulRealTimeRL, 3, 20, 2)            \
    X(ulRealTimeTL, 3, 22, 2)            \
    X(ulUltra160RL, 3, 24, 3)            \
    X(ulUltra160TL, 3, 27, 3)            \
    X(ulResv4, 3, 30, 2)                 \
    X(ulVarMaxCmdRL, 4, 0, 2)            \
    X(ulVarMaxCmdTL, 4, 2, 2)            \
    X(ulHLDRelLevel, 4, 4, 2)            \
    X(ulHLDTstLevel, 4, 6, 2)            \
    X(ulResv5, 4, 8, 4)                  \
    X(ulSSStatsRL, 4, 12, 2)             \
    X(ulSSStatsTL, 4, 14, 2)             \
    X(ulResv5_16, 4, 16, 2)              \
    X(ulResv5_18, 4, 18, 2)              \
    X(ulResv5_20, 4, 20, 2)              \
    X(ulResv5_22, 4, 22, 2)              \
    X(ulR5EERelLevel, 4, 24, 2)          \
    X(ulR5EETstLevel, 4, 26, 2)          \
    X(ulResv5_28, 4, 28, 2)              \
    X(ulResv5_30, 4, 30, 2)              \
    X(ulAdapterFRURL, 5, 0, 2)           \
    X(ulAdapterFRUTL, 5, 2, 2)           \
    X(ulResv6a, 5, 4, 28)                \
    X(ulVendorID, 6, 0, 16)              \
    X(ulDeviceID, 6, 16, 16)             \
    X(ulRevisionID, 7, 0, 8)             \
    X(ulResv8, 7, 8, 24)                 \
    X(ulCopyBackRL, 8, 0, 2)             \
    X(ulResv9, 8, 2, 30)

struct _ADAPTER_FEATURES {
    uint32_t ulFeatureWord[9];
    uint32_t ulResv10[119];

#define ADAPTER_FEATURE_ACCESSORS(name, word, shift, width)                            \
    uint32_t name() const { return storrec::getBits(ulFeatureWord[word], shift, width); } \
    void set_##name(uint32_t value) {                                                  \
        ulFeatureWord[word] = storrec::setBits(ulFeatureWord[word], shift, width, value); \
    }
    ADAPTER_FEATURE_FIELDS(ADAPTER_FEATURE_ACCESSORS)
#undef ADAPTER_FEATURE_ACCESSORS
};
typedef _ADAPTER_FEATURES ADAPTER_FEATURES;
static_assert(sizeof(_ADAPTER_FEATURES) == 512, "_ADAPTER_FEATURES is 512 bytes");
static_assert(offsetof(_ADAPTER_FEATURES, ulResv10) == 36, "reserved words from 36");

// Vital product data of a controller, filled by GetAdapterFruData.
struct _FILEHDR {
    uint32_t signature;
    uint32_t imageType;
};
typedef _FILEHDR FILEHDR;
static_assert(sizeof(_FILEHDR) == 8, "_FILEHDR is 8 bytes");

struct _TKFR0HDR {
    uint32_t imageSize;
    uint32_t checksum;
    uint8_t text[128];
    uint8_t version[31];
    uint8_t subplatform;
    uint32_t platform[4];
};
typedef _TKFR0HDR TKFR0HDR;
static_assert(sizeof(_TKFR0HDR) == 184, "_TKFR0HDR is 184 bytes");
static_assert(offsetof(_TKFR0HDR, version) == 136, "version at 136");
static_assert(offsetof(_TKFR0HDR, platform) == 168, "platform at 168");

struct _VpdShadow {
    uint8_t Shadow[256];
};
typedef _VpdShadow VPD_SHADOW;
static_assert(sizeof(_VpdShadow) == 256, "_VpdShadow is 256 bytes");

struct _ParsedVpd {
    uint8_t ucWhoAmI;
    uint8_t ucPad1[15];
    uint8_t ucPartNum[16];      // part number
    uint8_t ucEC[16];
    uint8_t ucSN[16];           // serial number
    uint8_t ucManufacture[16];
    uint8_t ucCardFru[16];      // FRU number of the card
    uint8_t ucBatteryFru[16];   // FRU number of the battery
    uint8_t ucPad2[80];
};
typedef _ParsedVpd PARSED_VPD;
static_assert(sizeof(_ParsedVpd) == 192, "_ParsedVpd is 192 bytes");
static_assert(offsetof(_ParsedVpd, ucPartNum) == 16, "ucPartNum at 16");
static_assert(offsetof(_ParsedVpd, ucSN) == 48, "ucSN at 48");
static_assert(offsetof(_ParsedVpd, ucCardFru) == 80, "ucCardFru at 80");
static_assert(offsetof(_ParsedVpd, ucBatteryFru) == 96, "ucBatteryFru at 96");

struct _HostVpdData {
    _FILEHDR FileHeader;
    _TKFR0HDR TkfrHeader;
    _VpdShadow EntireVpdImage;
    _ParsedVpd FormattedVpd;
    uint8_t ucVpdIsParsed;
    uint8_t ucPad2[383];
};
typedef _HostVpdData HOST_VPD_DATA;
static_assert(sizeof(_HostVpdData) == 1024, "_HostVpdData is 1024 bytes");
static_assert(offsetof(_HostVpdData, TkfrHeader) == 8, "TkfrHeader at 8");
static_assert(offsetof(_HostVpdData, EntireVpdImage) == 192, "EntireVpdImage at 192");
static_assert(offsetof(_HostVpdData, FormattedVpd) == 448, "FormattedVpd at 448");
static_assert(offsetof(_HostVpdData, ucVpdIsParsed) == 640, "ucVpdIsParsed at 640");

#pragma pack(pop)

#endif
