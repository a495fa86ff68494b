#ifndef CONVTABLES_H
#define CONVTABLES_H

// The field tables of the legacy bridge's data converter: one per Java value
// class of com.zeq.sysmgt.storage.api that a C-API record passes through
// (convrule.h describes the rows). The converter's operations walk them with
// the engine of convengine.h; the tests walk them too.

#include "storagedll/convrule.h"

namespace legacyconv {

#pragma pack(push, 1)
// The six fields of an S_Ret in their order, as the StorRet table reads and
// writes them.
struct SRetImage {
    int32_t iReturnCode;
    uint32_t iAPIReturnCode;
    uint32_t iIOCTLReturnCode;
    uint32_t iRetryNumber;
    uint32_t iunSignedReturnValue;
    int32_t iSignedReturnValue;
};
#pragma pack(pop)
static_assert(sizeof(SRetImage) == 24, "six 32-bit fields");

#pragma pack(push, 1)
// What the RAID configuration native derives from an adapter enquiry for the
// RaidConfig object, and for each of its logical drives.
struct BatteryCacheImage {
    uint8_t installed;          // "blBatteryCacheInstalled"
    uint8_t errorCode;          // "bBatteryCacheErrorCode"
};
struct DriveFlagsImage {
    uint8_t blocked;            // "blBlocked"
    uint8_t tempWriteThrough;   // "blTempWriteThru"
};
// The task in progress as the progress native hands it to Java.
struct ProgressImage {
    uint8_t opcode;
    uint8_t virtDrive;
    uint8_t checkOption;
    uint8_t status;
    uint8_t percent;
    uint8_t subOpcodeQualifier;
    uint8_t channel;
    uint8_t target;
    uint8_t sldVirtDrive;
};
#pragma pack(pop)
static_assert(sizeof(ProgressImage) == 9, "nine bytes");

// Both directions.
extern STOR_EXPORT const RecordTable storRetTable;      // StorRet and SRetImage
extern STOR_EXPORT const RecordTable storAddrTable;     // StorAddr and _STORAGE_ADDRESS_ID
extern STOR_EXPORT const RecordTable versionTable;      // Version and _STORAGE_VERSION
extern STOR_EXPORT const RecordTable deviceSizeTable;   // DeviceSize and _DEVICE_SIZE
extern STOR_EXPORT const RecordTable arraySizeTable;    // ArraySize and _ARRAY_SIZE

// C to Java.
extern STOR_EXPORT const RecordTable adapterLimitsTable;
extern STOR_EXPORT const RecordTable dllTypeTable;
extern STOR_EXPORT const RecordTable adapterTypeTable;
extern STOR_EXPORT const RecordTable adapterStatusTable;
extern STOR_EXPORT const RecordTable maxAddrTable;
extern STOR_EXPORT const RecordTable adapterInfoTable;
extern STOR_EXPORT const RecordTable raidAdapterInfoTable;
extern STOR_EXPORT const RecordTable deviceInfoTable;
extern STOR_EXPORT const RecordTable scsiInquiryTable;
extern STOR_EXPORT const RecordTable vpdInquiryTable;
extern STOR_EXPORT const RecordTable failoverInfoTable;
extern STOR_EXPORT const RecordTable bbCacheInfoTable;
extern STOR_EXPORT const RecordTable initiatorIdsTable;
extern STOR_EXPORT const RecordTable vpdTable;
extern STOR_EXPORT const RecordTable extendedBatteryTable;
extern STOR_EXPORT const RecordTable hotPciSlotsTable;
extern STOR_EXPORT const RecordTable safteConfigTable;
extern STOR_EXPORT const RecordTable safteStatusTable;  // the first 32 bytes of _SAFTE_STATUS
extern STOR_EXPORT const RecordTable elementDescTable;
extern STOR_EXPORT const RecordTable raidConfigTable;
extern STOR_EXPORT const RecordTable userOptsTable;     // _USER_OPTS
extern STOR_EXPORT const RecordTable hardwareDescTable; // _HARDWARE_DESC
extern STOR_EXPORT const RecordTable virtDrvParmsTable; // one _VIRT_DRV_PARMS
extern STOR_EXPORT const RecordTable devStateTable;     // one _DEV_STATE
extern STOR_EXPORT const RecordTable adapterFeaturesTable;

// Java to C.
extern STOR_EXPORT const RecordTable raidEventTable;

// Written by the RAID natives themselves: the battery-backed cache fields of
// a RaidConfig (BatteryCacheImage) and its cache serial numbers
// (_ENQUIRY_BBCACHE), a logical drive's blocked and temporary write-through
// flags (DriveFlagsImage, one table each), the task in progress
// (ProgressImage), and the Quillcopy progress (_QUILLCOPY_STATUS) and status
// (_REBUILD_STATUS).
extern STOR_EXPORT const RecordTable batteryCacheTable;
extern STOR_EXPORT const RecordTable cacheSerialsTable;
extern STOR_EXPORT const RecordTable driveBlockedTable;
extern STOR_EXPORT const RecordTable driveWriteThroughTable;
extern STOR_EXPORT const RecordTable progressInfoTable;
extern STOR_EXPORT const RecordTable quillcopyProgressTable;
extern STOR_EXPORT const RecordTable quillcopyStatusTable;

// Every table above, and how many there are.
STOR_EXPORT const RecordTable* const* allTables(size_t& count);

// The logical-drive objects of a RaidConfig or VirtDrv, "oVirtDrv0" to
// "oVirtDrv7", from consecutive _VIRT_DRV_PARMS; and what an object without
// a record gets from a zeroed one (its state, 0).
extern STOR_EXPORT const FieldRule virtDrvSlots;
extern STOR_EXPORT const RecordTable virtDrvFreeSlotTable;
// The device-slot objects of a RaidConfig, "oDevState0" to "oDevState63".
extern STOR_EXPORT const FieldRule devStateSlots;

// The holder classes, read and written through methods.
struct HolderRule {
    const char* javaClass;
    const char* getter;
    const char* getterSig;
    const char* setter;
    const char* setterSig;
};
extern STOR_EXPORT const HolderRule intHolder;      // IVal
extern STOR_EXPORT const HolderRule shortHolder;    // SVal
extern STOR_EXPORT const HolderRule longHolder;     // LVal
extern STOR_EXPORT const HolderRule booleanHolder;  // BlVal

// The Java byte block ByteBlk.
#define BYTEBLK_ARRAY "byteArray"
#define BYTEBLK_TRANSFER "iBytesXferLen"
#define BYTEBLK_BLOCK "iBlockLength"

// The methods of the Java address list AddrList.
#define ADDRLIST_COUNT "getAddressCount", "()I"
#define ADDRLIST_GET "getAddress", "(I)" LEGACY_API_SIG("StorAddr")
#define ADDRLIST_ENSURE "ensureCapacity", "(I)V"
#define ADDRLIST_CLEAR "clearAllAddresses", "()V"
#define ADDRLIST_CREATE "createNewAddress", "(IIIIIIIIIIIIIIJ[C)V"

} // namespace legacyconv

#endif
