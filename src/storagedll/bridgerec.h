#ifndef BRIDGEREC_H
#define BRIDGEREC_H

// Records of the controller C API that only the legacy Java controller bridge
// reads, and the records that cross the interface but whose fields nobody
// reads. The conventions of storrec.h hold. Where no reader bounds a record,
// its total size is our own choice, fixed here so that a library and its
// callers agree on it; a library writes no more than sizeof the record.

#include "storagedll/raidrec.h"
#include "storagedll/storrec.h"

#pragma pack(push, 1)

// Filled by GetDLLType.
struct _DLL_TYPE {
    uint8_t ucCmndType;
    uint8_t ucResv1;
    uint16_t usResv2;
    uint8_t ucScsiVendorId[8];
    uint8_t ucDllName[8];
    uint32_t ulArchitecture;
    uint32_t ulFamily;
    uint32_t ulImplementation;
};
typedef _DLL_TYPE DLL_TYPE;
static_assert(sizeof(_DLL_TYPE) == 32, "_DLL_TYPE is 32 bytes");
static_assert(offsetof(_DLL_TYPE, ucDllName) == 12, "ucDllName at 12");
static_assert(offsetof(_DLL_TYPE, ulArchitecture) == 20, "ulArchitecture at 20");

// Filled by GetMaxValues: the largest value of each address id, at the
// position the id has in _STORAGE_ADDRESS_ID.
struct _MAX_ADDR_VALUES {
    uint16_t usMaxSystem;
    uint16_t usMaxEnclosure;
    uint16_t usMaxSubSys;
    uint16_t usMaxLoop;
    uint16_t usMaxAdapter;
    uint16_t usMaxVirtDev;
    uint16_t usMaxArray;
    uint16_t usMaxChannel;
    uint16_t usMaxPhysDev;
    uint16_t usMaxLun;
    uint16_t usMaxResv1;
    uint16_t usMaxResv2;
    uint16_t usMaxResv3;
    uint16_t usMaxResv4;
};
typedef _MAX_ADDR_VALUES MAX_ADDR_VALUES;
static_assert(sizeof(_MAX_ADDR_VALUES) == 28, "_MAX_ADDR_VALUES is 28 bytes");
static_assert(offsetof(_MAX_ADDR_VALUES, usMaxAdapter) == offsetof(_STORAGE_ADDRESS_ID, usAdapterID),
              "limits lie at the positions of the address ids");
static_assert(offsetof(_MAX_ADDR_VALUES, usMaxResv4) == offsetof(_STORAGE_ADDRESS_ID, usResv4),
              "limits lie at the positions of the address ids");

// Standard SCSI INQUIRY data, 256 bytes. Bytes 0-7 are bit fields.
struct ST_SCSI_INQUIRY_DATA {
    uint8_t ucByte0;             // bits 0-4 device type, 5-7 qualifier
    uint8_t ucByte1;             // bits 0-6 type modifier, 7 removable medium
    uint8_t ucByte2;             // bits 0-2 ANSI, 3-5 ECMA, 6-7 ISO version
    uint8_t ucByte3;             // bits 0-3 response data format, 6 TrmIOP, 7 AERC
    uint8_t ucAdditionalLength;
    uint8_t ucByte5;
    uint8_t ucByte6;             // bit 6 EncServ
    uint8_t ucByte7;             // bits 0 SftRe, 1 CmdQue, 3 Linked, 4 Sync, 5 WBus16, 6 WBus32, 7 RelAdr
    uint8_t ucVendorId[8];
    uint8_t ucProductId[16];
    uint8_t ucProductRevLevel[4];
    uint8_t ucVendorSpecific[20];
    uint8_t ucReserved56[40];
    uint8_t ucVendorData[160];

    uint32_t deviceType() const { return storrec::getBits(ucByte0, 0, 5); }
    uint32_t deviceTypeQual() const { return storrec::getBits(ucByte0, 5, 3); }
    uint32_t deviceTypeMod() const { return storrec::getBits(ucByte1, 0, 7); }
    uint32_t removableMedia() const { return storrec::getBits(ucByte1, 7, 1); }
    uint32_t ansiVersion() const { return storrec::getBits(ucByte2, 0, 3); }
    uint32_t ecmaVersion() const { return storrec::getBits(ucByte2, 3, 3); }
    uint32_t isoVersion() const { return storrec::getBits(ucByte2, 6, 2); }
    uint32_t responseDataFormat() const { return storrec::getBits(ucByte3, 0, 4); }
    uint32_t termIoProc() const { return storrec::getBits(ucByte3, 6, 1); }
    uint32_t asyncEventNotification() const { return storrec::getBits(ucByte3, 7, 1); }
    uint32_t enclosureServices() const { return storrec::getBits(ucByte6, 6, 1); }
    uint32_t softReset() const { return storrec::getBits(ucByte7, 0, 1); }
    uint32_t commandQueue() const { return storrec::getBits(ucByte7, 1, 1); }
    uint32_t linkedCommands() const { return storrec::getBits(ucByte7, 3, 1); }
    uint32_t synchronous() const { return storrec::getBits(ucByte7, 4, 1); }
    uint32_t wide16Bit() const { return storrec::getBits(ucByte7, 5, 1); }
    uint32_t wide32Bit() const { return storrec::getBits(ucByte7, 6, 1); }
    uint32_t relativeAddr() const { return storrec::getBits(ucByte7, 7, 1); }
};
static_assert(sizeof(ST_SCSI_INQUIRY_DATA) == 256, "ST_SCSI_INQUIRY_DATA is 256 bytes");
static_assert(offsetof(ST_SCSI_INQUIRY_DATA, ucVendorId) == 8, "vendor id at 8");
static_assert(offsetof(ST_SCSI_INQUIRY_DATA, ucProductId) == 16, "product id at 16");
static_assert(offsetof(ST_SCSI_INQUIRY_DATA, ucProductRevLevel) == 32, "revision at 32");
static_assert(offsetof(ST_SCSI_INQUIRY_DATA, ucVendorSpecific) == 36, "vendor-specific at 36");
static_assert(offsetof(ST_SCSI_INQUIRY_DATA, ucVendorData) == 96, "vendor data at 96");

// Filled by DeviceInfo and SubSystemDeviceInfo.
struct _DEVICE_INFO {
    uint16_t usDevType;
    uint16_t usDevWidth;
    uint16_t usDevSpeed;
    uint16_t usDevState;
    uint16_t usSerialNumSize;
    uint16_t usResv;
    uint32_t ulDevParms;
    uint32_t ulDevFirmSize;
    _STORAGE_VERSION sDevFirmVers;
    _STORAGE_ADDRESS_ID sDevAddr;
    _DEVICE_SIZE sDevSize;
    ST_SCSI_INQUIRY_DATA sDevInq;
    uint8_t ucInqDataValid;      // non-zero: sDevInq is valid
};
typedef _DEVICE_INFO DEVICE_INFO;
static_assert(sizeof(_DEVICE_INFO) == 361, "_DEVICE_INFO is 361 bytes");
static_assert(offsetof(_DEVICE_INFO, ulDevParms) == 12, "ulDevParms at 12");
static_assert(offsetof(_DEVICE_INFO, sDevFirmVers) == 20, "sDevFirmVers at 20");
static_assert(offsetof(_DEVICE_INFO, sDevAddr) == 52, "sDevAddr at 52");
static_assert(offsetof(_DEVICE_INFO, sDevSize) == 92, "sDevSize at 92");
static_assert(offsetof(_DEVICE_INFO, sDevInq) == 104, "sDevInq at 104");
static_assert(offsetof(_DEVICE_INFO, ucInqDataValid) == 360, "ucInqDataValid at 360");

// SES element descriptor page, filled by GetSesElementDesc. Its readers take
// the page length and generation code in host order, as they are stored.
struct _ELEMENT_DESCRIPTOR_PAGE {
    uint8_t ucPageCode;
    uint8_t ucResv1;
    uint16_t usPageLength;
    uint32_t ulGenerationCode;
    uint8_t ucDescriptors[1016];
};
typedef _ELEMENT_DESCRIPTOR_PAGE ELEMENT_DESCRIPTOR_PAGE;
static_assert(sizeof(_ELEMENT_DESCRIPTOR_PAGE) == 1024, "_ELEMENT_DESCRIPTOR_PAGE is 1024 bytes");
static_assert(offsetof(_ELEMENT_DESCRIPTOR_PAGE, ucDescriptors) == 8, "descriptors at 8");

// Vital-product-data inquiry page, filled by GetSystemVPD.
struct _VPD_INQUIRY_DATA {
    uint8_t ucByte0;             // bits 0-4 device type, 5-7 qualifier
    uint8_t ucPageCode;
    uint8_t ucReserved1;
    uint8_t ucPageLength;
    uint8_t ucAsciiLength;
    uint8_t ucVendorSpecific[251];

    uint32_t deviceType() const { return storrec::getBits(ucByte0, 0, 5); }
    uint32_t deviceTypeQual() const { return storrec::getBits(ucByte0, 5, 3); }
};
typedef _VPD_INQUIRY_DATA VPD_INQUIRY_DATA;
static_assert(sizeof(_VPD_INQUIRY_DATA) == 256, "_VPD_INQUIRY_DATA is 256 bytes");
static_assert(offsetof(_VPD_INQUIRY_DATA, ucVendorSpecific) == 5, "text at 5");

// Failover information that GetFailoverInfo writes into its byte buffer.
struct _IOCTL_FO_INFO {
    uint32_t ulClusterBit;
    uint32_t ulFailoverPair;
    uint32_t ulFailoverBackup;
    uint8_t ucHostId[13];
    uint8_t ucPartnerHostId[13];
    uint8_t ucResv[2];
};
typedef _IOCTL_FO_INFO IOCTL_FO_INFO;
static_assert(sizeof(_IOCTL_FO_INFO) == 40, "_IOCTL_FO_INFO is 40 bytes");
static_assert(offsetof(_IOCTL_FO_INFO, ucHostId) == 12, "host id at 12");
static_assert(offsetof(_IOCTL_FO_INFO, ucPartnerHostId) == 25, "partner host id at 25");

// Answer of the battery-backed cache enquiry command.
struct _ENQUIRY_BBCACHE {
    _ENQUIRY sEnquiry;
    uint8_t ucConfiguredSerial[8];
    uint8_t ucInstalledSerial[8];
};
typedef _ENQUIRY_BBCACHE ENQUIRY_BBCACHE;
static_assert(sizeof(_ENQUIRY_BBCACHE) == 212, "_ENQUIRY_BBCACHE is 212 bytes");
static_assert(offsetof(_ENQUIRY_BBCACHE, ucConfiguredSerial) == 196, "configured serial at 196");
static_assert(offsetof(_ENQUIRY_BBCACHE, ucInstalledSerial) == 204, "installed serial at 204");

// Initiator ids that GetInitiatorIDs writes into its byte buffer.
struct _IOCTL_INITIATOR_IDS {
    uint8_t ucNumChannels;
    uint8_t ucResv1[3];
    uint32_t ulInitiators[4];    // low byte: the channel's initiator id
    uint8_t ucFriendlySlotNumber;
    uint8_t ucResv2[3];
    uint8_t ucAdapterType;
    uint8_t ucResv3[3];
    uint8_t ucStripeSize;
    uint8_t ucResv4[3];
};
typedef _IOCTL_INITIATOR_IDS IOCTL_INITIATOR_IDS;
static_assert(sizeof(_IOCTL_INITIATOR_IDS) == 32, "_IOCTL_INITIATOR_IDS is 32 bytes");
static_assert(offsetof(_IOCTL_INITIATOR_IDS, ulInitiators) == 4, "initiators at 4");
static_assert(offsetof(_IOCTL_INITIATOR_IDS, ucFriendlySlotNumber) == 20, "slot number at 20");
static_assert(offsetof(_IOCTL_INITIATOR_IDS, ucAdapterType) == 24, "adapter type at 24");
static_assert(offsetof(_IOCTL_INITIATOR_IDS, ucStripeSize) == 28, "stripe size at 28");

// Quillcopy progress, filled by CheckQuillcopyProgress: four 16-byte entries
// whose bytes 2 and 3 are the target and the source, in a 512-byte record.
struct _QUILLCOPY_ENTRY {
    uint8_t ucResv0;
    uint8_t ucResv1;
    uint8_t ucTarget;
    uint8_t ucSource;
    uint8_t ucResv[12];
};
struct _QUILLCOPY_STATUS {
    _QUILLCOPY_ENTRY sEntry[4];
    uint8_t ucResv[448];
};
typedef _QUILLCOPY_STATUS QUILLCOPY_STATUS;
static_assert(sizeof(_QUILLCOPY_ENTRY) == 16, "a Quillcopy entry is 16 bytes");
static_assert(sizeof(_QUILLCOPY_STATUS) == 512, "_QUILLCOPY_STATUS is 512 bytes");

// The block address of the block read and write operations, passed by value.
struct _DATA_ADDRESS {
    uint32_t ulWord[4];
};
typedef _DATA_ADDRESS DATA_ADDRESS;
static_assert(sizeof(_DATA_ADDRESS) == 16, "_DATA_ADDRESS is 16 bytes");

// A controller event as the Java console describes it; the legacy bridge
// fills it from a Java RaidEvent. Both texts are terminated inside their areas.
const unsigned RAID_EVENT_TEXT_SIZE = 512;
const unsigned RAID_EVENT_FRU_SIZE = 32;
struct _RAID_EVENT {
    uint16_t usEventType;
    uint32_t ulEventCode;
    uint8_t ucEventString[RAID_EVENT_TEXT_SIZE];
    uint32_t ulEventDateTime;   // seconds, the low 32 bits of the Java value
    uint8_t ucFru[RAID_EVENT_FRU_SIZE];
};
typedef _RAID_EVENT RAID_EVENT;
static_assert(sizeof(_RAID_EVENT) == 554, "_RAID_EVENT is 554 bytes");
static_assert(offsetof(_RAID_EVENT, ulEventCode) == 2, "event code at 2");
static_assert(offsetof(_RAID_EVENT, ucEventString) == 6, "event text at 6");
static_assert(offsetof(_RAID_EVENT, ulEventDateTime) == 518, "event time at 518");
static_assert(offsetof(_RAID_EVENT, ucFru) == 522, "FRU text at 522");

// Records that are filled by the library and passed on, but whose fields
// nobody reads: opaque bytes of a fixed size.
#define OPAQUE_API_RECORD(name, size)                          \
    struct name {                                              \
        uint8_t ucData[size];                                  \
    };                                                         \
    static_assert(sizeof(name) == size, #name " size")

OPAQUE_API_RECORD(_CONFIG_RESET_DATA, 64);
OPAQUE_API_RECORD(_ADAPTER_STATISTICS, 256);
OPAQUE_API_RECORD(_PHYSICAL_DEVICE_STATISTICS, 256);
OPAQUE_API_RECORD(_VIRTUAL_DEVICE_STATISTICS, 256);
OPAQUE_API_RECORD(_RAID_ARRAY_INFO, 64);
OPAQUE_API_RECORD(_VIRTUAL_DEVICE_INFO, 336);
OPAQUE_API_RECORD(_SUBSYSTEM_STATUS, 24);
OPAQUE_API_RECORD(_SUBSYSTEM_INFO, 176);
OPAQUE_API_RECORD(_LOOP_INFO, 32);
// Never crosses the C API; the bridge's converters for it convert nothing.
OPAQUE_API_RECORD(_VIRTUAL_DEVICE_GROUP, 64);
#undef OPAQUE_API_RECORD

#pragma pack(pop)

#endif
