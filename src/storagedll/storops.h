#ifndef STOROPS_H
#define STOROPS_H

// The one table of the controller C API: every operation of the three command
// interfaces in declaration order, with its result kind, exact name and
// arguments. The interface declarations, the forwarders of StoreDLLIntf, its
// entry-point names and the entry points of a library implementing the API are
// all generated from these lists, so order, names and signatures cannot drift.
//
// Each entry is X(kind, name, (parameters), (arguments)):
//   kind  SRET  returns S_Ret by value (code -3 when the entry point is missing)
//         INT   returns int (-3 when the entry point is missing)
//         VERS  returns int; the interface also gives it a version body
//         BOOL  returns the 16-bit BOOL (ConstructorOK only)
//   parameters: the typed parameter list; arguments: the same names, in order.
// A record named without & or * is passed by value; & is filled or read by the
// library; * is a buffer or array. A 32-bit "unsigned long" of the original
// platform is uint32_t here on every build.
//
// Calling conventions that callers rely on:
//  - Count and list (SupportedAdapterCount, ChannelDeviceCount, GetSafteCount,
//    GetArrayCount, GetArrayVirtDevCount, GetArrayPhysDevCount, GetVirtDevCount,
//    SupportedSubSystemCount): with a null list and size 0 only the count is
//    set; with a list and its size in bytes one 40-byte _STORAGE_ADDRESS_ID is
//    written per object, never more than the size holds, and the count is set.
//  - GetAdapterRaidConfig(address, buffer, 3996, returned length, 0) fills an
//    _ADAPTER_CONFIG.
//  - GetVirtDevLdTable(address, returned length, table, table size, which):
//    which 1 the HLD table, 2 the SLD table; with a null table and size 0 it
//    returns the table's length in bytes. Entries are _VIRT_DRV_PARMS.
//  - CheckProgress(address, status, 0) fills a _REBUILD_STATUS.
//  - GetAdapterEventLog(address, buffer, 4096, log code, returned length) writes
//    an _ADAPTER_EVENT_LOG; EraseAdapterEventLog(address, log code + 0xF0).
//  - ReadModePageCmnd / WriteModePageCmnd(address, returned length, buffer,
//    size, page code): page 8 (caching) and 0x48 (its changeable values) in
//    64-byte buffers.
//  - ExecAdapterCmnd, ExecDeviceCmnd, ExecSubSystemCmnd: after the address the
//    command block and its length, three counts the library returns, then the
//    read, write and sense buffers each followed by its length, then two
//    unsigned values and two int flags.
//  - GetClusterPartnerId writes at most 12 bytes into its buffer.

#include "storagedll/bridgerec.h"
#include "storagedll/raidrec.h"
#include "storagedll/sret.h"
#include "storagedll/storrec.h"

// Fixed sizes of the calling conventions above.
const uint32_t ADAPTER_CONFIG_SIZE = sizeof(_ADAPTER_CONFIG);   // 3996
const uint32_t VIRT_DEV_LIST_ENTRIES = 8;     // the family's fixed logical-drive list
const uint32_t LD_TABLE_HLD = 1;
const uint32_t LD_TABLE_SLD = 2;
const uint32_t MODE_PAGE_BUFFER_SIZE = 64;
const uint32_t MODE_PAGE_CACHING = 0x08;
const uint32_t MODE_PAGE_CACHING_CHANGEABLE = 0x48;
const uint32_t CLUSTER_PARTNER_ID_SIZE = 12;

// The byte-for-byte arguments of the three pass-through operations.
#define STORAPI_PASSTHROUGH_PARAMS                                                          \
    (_STORAGE_ADDRESS_ID addr, uint8_t* cmnd, uint32_t cmndLen, uint32_t& readXfer,         \
     uint32_t& writeXfer, uint32_t& senseXfer, void* readBuf, uint32_t readLen,             \
     void* writeBuf, uint32_t writeLen, void* senseBuf, uint32_t senseLen, uint32_t timeout, \
     uint32_t flags, int readFlag, int senseFlag)
#define STORAPI_PASSTHROUGH_ARGS                                                       \
    (addr, cmnd, cmndLen, readXfer, writeXfer, senseXfer, readBuf, readLen, writeBuf,  \
     writeLen, senseBuf, senseLen, timeout, flags, readFlag, senseFlag)

// The arguments of the block read and write operations.
#define STORAPI_BLOCKIO_PARAMS                                                           \
    (_STORAGE_ADDRESS_ID addr, _DATA_ADDRESS dataAddr, void* buffer, uint32_t bufferLen, \
     uint32_t& xferLen, uint32_t& status, void* senseBuf, uint32_t senseLen,             \
     uint32_t timeout, uint32_t flags, int option)
#define STORAPI_BLOCKIO_ARGS \
    (addr, dataAddr, buffer, bufferLen, xferLen, status, senseBuf, senseLen, timeout, flags, option)

// The count-and-list operations.
#define STORAPI_LIST_PARAMS \
    (_STORAGE_ADDRESS_ID addr, uint16_t& count, _STORAGE_ADDRESS_ID* list, uint32_t listSize)
#define STORAPI_LIST_ARGS (addr, count, list, listSize)

// StorageCmnd: 51 operations, declared first.
#define STORAPI_STORAGE_OPS(X)                                                                    \
    X(BOOL, ConstructorOK, (uint32_t& failId), (failId))                                          \
    X(INT, GetDLLType, (_DLL_TYPE& dllType), (dllType))                                           \
    X(INT, GetDLLVersion, (_STORAGE_VERSION& version), (version))                                 \
    X(INT, GetDLLIntfVersion, (_STORAGE_VERSION& version), (version))                             \
    X(INT, GetAddressScheme, (_STORAGE_ADDRESS_ID& addr), (addr))                                 \
    X(INT, GetMaxValues, (_MAX_ADDR_VALUES& maxValues), (maxValues))                              \
    X(INT, GetDeviceDriverVersion, (_STORAGE_ADDRESS_ID addr, _STORAGE_VERSION& version),         \
      (addr, version))                                                                            \
    X(SRET, GetAdapterChangeStatus, (int& changed), (changed))                                    \
    X(SRET, IsStoragePresent, (int& present), (present))                                          \
    X(VERS, GetStorageIntfVersion, (_STORAGE_VERSION& version), (version))                        \
    X(SRET, ExecuteAdapterDiagnostics, (_STORAGE_ADDRESS_ID addr, uint32_t test, uint32_t option), \
      (addr, test, option))                                                                       \
    X(SRET, SetAdapChanInitID, (_STORAGE_ADDRESS_ID addr, uint32_t initId), (addr, initId))       \
    X(SRET, BatteryBackupCache, (_STORAGE_ADDRESS_ID addr, int enable), (addr, enable))           \
    X(SRET, SetBiosMappingMode, (_STORAGE_ADDRESS_ID addr, uint8_t mode), (addr, mode))           \
    X(SRET, MaxSimultaneousDevSpinUp, (_STORAGE_ADDRESS_ID addr, uint32_t count, uint32_t delay), \
      (addr, count, delay))                                                                       \
    X(SRET, ExecuteDeviceDiagnostics, (_STORAGE_ADDRESS_ID addr, uint32_t test, uint32_t option), \
      (addr, test, option))                                                                       \
    X(SRET, FormatDevice, (_STORAGE_ADDRESS_ID addr), (addr))                                     \
    X(SRET, SetDevXferSpeed, (_STORAGE_ADDRESS_ID addr, uint32_t speed), (addr, speed))           \
    X(SRET, SupportedAdapterCount, STORAPI_LIST_PARAMS, STORAPI_LIST_ARGS)                        \
    X(SRET, AdapterStatus, (_STORAGE_ADDRESS_ID addr, _STORAGE_ADAPTER_STATUS& status),           \
      (addr, status))                                                                             \
    X(SRET, AdapterInfo, (_STORAGE_ADDRESS_ID addr, _ADAPTER_INFO& info), (addr, info))           \
    X(SRET, ChannelInfo, (_STORAGE_ADDRESS_ID addr, _CHANNEL_INFO& info), (addr, info))           \
    X(SRET, UpdateAdapterBios, (_STORAGE_ADDRESS_ID addr, void* image, uint32_t imageLen),        \
      (addr, image, imageLen))                                                                    \
    X(SRET, UpdateAdapterFirmWare, (_STORAGE_ADDRESS_ID addr, void* image, uint32_t imageLen),    \
      (addr, image, imageLen))                                                                    \
    X(SRET, ExecAdapterCmnd, STORAPI_PASSTHROUGH_PARAMS, STORAPI_PASSTHROUGH_ARGS)                \
    X(SRET, GetAdapterFruData, (_STORAGE_ADDRESS_ID addr, _HostVpdData& vpd), (addr, vpd))        \
    X(SRET, GetExtendedBatteryData,                                                               \
      (_STORAGE_ADDRESS_ID addr, _ENQUIRY_EXTENDED_BATTERY_STATUS& battery), (addr, battery))     \
    X(SRET, ChannelDeviceCount, STORAPI_LIST_PARAMS, STORAPI_LIST_ARGS)                           \
    X(SRET, AdapterDeviceCount, (_STORAGE_ADDRESS_ID addr, uint16_t& count), (addr, count))       \
    X(SRET, DeviceType, (_STORAGE_ADDRESS_ID addr, uint16_t& type), (addr, type))                 \
    X(SRET, GetDriveFruData, (_STORAGE_ADDRESS_ID addr, _HDD_FRU_TABLE& fru), (addr, fru))        \
    X(SRET, DeviceCapacity, (_STORAGE_ADDRESS_ID addr, _DEVICE_SIZE& size), (addr, size))         \
    X(SRET, DeviceInfo, (_STORAGE_ADDRESS_ID addr, _DEVICE_INFO& info), (addr, info))             \
    X(SRET, UpdateDeviceFirmWare, (_STORAGE_ADDRESS_ID addr, void* image, uint32_t imageLen),     \
      (addr, image, imageLen))                                                                    \
    X(SRET, PFADevice, (_STORAGE_ADDRESS_ID addr, int& pfa, uint32_t& info), (addr, pfa, info))   \
    X(SRET, ExecDeviceCmnd, STORAPI_PASSTHROUGH_PARAMS, STORAPI_PASSTHROUGH_ARGS)                 \
    X(SRET, ReadModePageCmnd,                                                                     \
      (_STORAGE_ADDRESS_ID addr, uint32_t& returnedLen, void* buffer, uint32_t bufferLen,         \
       uint32_t pageCode),                                                                        \
      (addr, returnedLen, buffer, bufferLen, pageCode))                                           \
    X(SRET, WriteModePageCmnd,                                                                    \
      (_STORAGE_ADDRESS_ID addr, uint32_t& returnedLen, void* buffer, uint32_t bufferLen,         \
       uint32_t pageCode),                                                                        \
      (addr, returnedLen, buffer, bufferLen, pageCode))                                           \
    X(SRET, ReadDevice, STORAPI_BLOCKIO_PARAMS, STORAPI_BLOCKIO_ARGS)                             \
    X(SRET, WriteDevice, STORAPI_BLOCKIO_PARAMS, STORAPI_BLOCKIO_ARGS)                            \
    X(SRET, ReadPhysDisk, STORAPI_BLOCKIO_PARAMS, STORAPI_BLOCKIO_ARGS)                           \
    X(SRET, WritePhysDisk, STORAPI_BLOCKIO_PARAMS, STORAPI_BLOCKIO_ARGS)                          \
    X(SRET, MonitorAdapterStatistics, (_STORAGE_ADDRESS_ID addr, int enable), (addr, enable))     \
    X(SRET, MonitorDeviceStatistics, (_STORAGE_ADDRESS_ID addr, int enable), (addr, enable))      \
    X(SRET, GetAdapterStatistics, (_STORAGE_ADDRESS_ID addr, _ADAPTER_STATISTICS& stats),         \
      (addr, stats))                                                                              \
    X(SRET, GetDeviceStatistics, (_STORAGE_ADDRESS_ID addr, _PHYSICAL_DEVICE_STATISTICS& stats),  \
      (addr, stats))                                                                              \
    X(SRET, GetSafteCount, STORAPI_LIST_PARAMS, STORAPI_LIST_ARGS)                                \
    X(SRET, GetSafteConfig, (_STORAGE_ADDRESS_ID addr, _SAFTE_CONFIGURATION& config),             \
      (addr, config))                                                                             \
    X(SRET, GetSafteStatus, (_STORAGE_ADDRESS_ID addr, _SAFTE_STATUS& status), (addr, status))    \
    X(SRET, GetSesElementDesc, (_STORAGE_ADDRESS_ID addr, _ELEMENT_DESCRIPTOR_PAGE& page),        \
      (addr, page))                                                                               \
    X(SRET, GetSystemVPD, (_STORAGE_ADDRESS_ID addr, _VPD_INQUIRY_DATA& vpd), (addr, vpd))

// RaidCmnd: 97 operations, declared after those of StorageCmnd.
#define STORAPI_RAID_OPS(X)                                                                       \
    X(INT, GetClusterDllVersion, (_STORAGE_ADDRESS_ID addr, _STORAGE_VERSION& version),           \
      (addr, version))                                                                            \
    X(SRET, AdapterDMATest, (_STORAGE_ADDRESS_ID addr, int option), (addr, option))               \
    X(SRET, GetAdapterPostConfig, (_STORAGE_ADDRESS_ID addr, _CONFIG_RESET_DATA& data),           \
      (addr, data))                                                                               \
    X(SRET, DriveSelfTest,                                                                        \
      (_STORAGE_ADDRESS_ID addr, uint16_t test, uint16_t option1, uint16_t option2),              \
      (addr, test, option1, option2))                                                             \
    X(SRET, CheckDriveSelfTestProgress, (_STORAGE_ADDRESS_ID addr, uint16_t& percent),            \
      (addr, percent))                                                                            \
    X(SRET, GetDriveSelfTestLog,                                                                  \
      (_STORAGE_ADDRESS_ID addr, void* buffer, uint16_t& returnedLen, uint32_t bufferLen),        \
      (addr, buffer, returnedLen, bufferLen))                                                     \
    X(SRET, IsRaidPresent, (int& present), (present))                                             \
    X(VERS, GetRaidIntfVersion, (_STORAGE_VERSION& version), (version))                           \
    X(SRET, SetRebuildPriority, (_STORAGE_ADDRESS_ID addr, uint8_t priority), (addr, priority))   \
    X(SRET, SetCopyBackMode, (_STORAGE_ADDRESS_ID addr, int enable), (addr, enable))              \
    X(SRET, SetAttendanceMode, (_STORAGE_ADDRESS_ID addr, int mode), (addr, mode))                \
    X(SRET, SetReadAheadMode, (_STORAGE_ADDRESS_ID addr, int mode), (addr, mode))                 \
    X(SRET, SetStripeSliceSize, (_STORAGE_ADDRESS_ID addr, uint32_t size), (addr, size))          \
    X(SRET, GetAdapterRaidConfig,                                                                 \
      (_STORAGE_ADDRESS_ID addr, void* buffer, uint32_t bufferLen, uint32_t& returnedLen,         \
       int flag),                                                                                 \
      (addr, buffer, bufferLen, returnedLen, flag))                                               \
    X(SRET, GetVirtDevLdTable,                                                                    \
      (_STORAGE_ADDRESS_ID addr, uint32_t& returnedLen, _VIRT_DRV_PARMS* table,                   \
       uint32_t tableSize, uint32_t which),                                                       \
      (addr, returnedLen, table, tableSize, which))                                               \
    X(SRET, ResetAdapterRaidConfig, (_STORAGE_ADDRESS_ID addr, int option), (addr, option))       \
    X(SRET, SetAdapterRaidConfig, (_STORAGE_ADDRESS_ID addr, void* buffer, uint32_t bufferLen),   \
      (addr, buffer, bufferLen))                                                                  \
    X(SRET, SetAdapterRaidConfigFromDevice, (_STORAGE_ADDRESS_ID addr, int option),               \
      (addr, option))                                                                             \
    X(SRET, SetWritePolicy, (_STORAGE_ADDRESS_ID addr, uint8_t policy), (addr, policy))           \
    X(SRET, DuplicateVirtDev, (_STORAGE_ADDRESS_ID addr, _STORAGE_ADDRESS_ID target),             \
      (addr, target))                                                                             \
    X(SRET, RaidAdapterInfo, (_STORAGE_ADDRESS_ID addr, _RAID_ADAPTER_INFO& info), (addr, info))  \
    X(SRET, GetAdapterEventLog,                                                                   \
      (_STORAGE_ADDRESS_ID addr, void* buffer, uint32_t bufferLen, uint8_t logCode,               \
       uint32_t& returnedLen),                                                                    \
      (addr, buffer, bufferLen, logCode, returnedLen))                                            \
    X(SRET, EraseAdapterEventLog, (_STORAGE_ADDRESS_ID addr, uint8_t logCode), (addr, logCode))   \
    X(SRET, CreateArray, (_STORAGE_ADDRESS_ID addr, _STORAGE_ADDRESS_ID* devices, uint16_t count), \
      (addr, devices, count))                                                                     \
    X(SRET, DeleteArray, (_STORAGE_ADDRESS_ID addr, uint16_t option), (addr, option))             \
    X(SRET, GetArrayCount, STORAPI_LIST_PARAMS, STORAPI_LIST_ARGS)                                \
    X(SRET, GetArrayVirtDevCount, STORAPI_LIST_PARAMS, STORAPI_LIST_ARGS)                         \
    X(SRET, GetArrayPhysDevCount, STORAPI_LIST_PARAMS, STORAPI_LIST_ARGS)                         \
    X(SRET, ArrayInfo, (_STORAGE_ADDRESS_ID addr, _RAID_ARRAY_INFO& info), (addr, info))          \
    X(SRET, HotSwapRebuild, (_STORAGE_ADDRESS_ID addr, int enable), (addr, enable))               \
    X(SRET, AdapterDeviceScan, (_STORAGE_ADDRESS_ID addr, uint16_t& found), (addr, found))        \
    X(SRET, SetHostConfigId, (_STORAGE_ADDRESS_ID addr, char* hostId), (addr, hostId))            \
    X(SRET, ClearClusterPartnerId, (_STORAGE_ADDRESS_ID addr), (addr))                            \
    X(SRET, SetClusterPartnerId, (_STORAGE_ADDRESS_ID addr, char* partnerId), (addr, partnerId))  \
    X(SRET, GetClusterPartnerId, (_STORAGE_ADDRESS_ID addr, char* partnerId), (addr, partnerId))  \
    X(SRET, SetSharedDeviceId, (_STORAGE_ADDRESS_ID addr, uint8_t id), (addr, id))                \
    X(SRET, GetSharedDeviceId, (_STORAGE_ADDRESS_ID& addr, uint8_t& id), (addr, id))              \
    X(SRET, GetSupportedFeatures, (_STORAGE_ADDRESS_ID addr, _ADAPTER_FEATURES* features),        \
      (addr, features))                                                                           \
    X(SRET, GetSlotPowerState, (_STORAGE_ADDRESS_ID addr, uint32_t slot, uint32_t& state),        \
      (addr, slot, state))                                                                        \
    X(SRET, SetSlotPowerState, (_STORAGE_ADDRESS_ID addr, uint32_t slot, uint32_t state),         \
      (addr, slot, state))                                                                        \
    X(SRET, FindHotPCISlots, (uint32_t& slotMask), (slotMask))                                    \
    X(SRET, SetHotSwapState, (uint32_t slot, uint32_t state), (slot, state))                      \
    X(SRET, GetFailoverInfo, (_STORAGE_ADDRESS_ID addr, uint8_t* info), (addr, info))             \
    X(SRET, BlockBadAdapter, (_STORAGE_ADDRESS_ID addr), (addr))                                  \
    X(SRET, UnblockGoodAdapter, (_STORAGE_ADDRESS_ID addr), (addr))                               \
    X(SRET, ResetNewAdapter, (_STORAGE_ADDRESS_ID addr), (addr))                                  \
    X(SRET, SetAdapterDefective, (_STORAGE_ADDRESS_ID addr), (addr))                              \
    X(SRET, GetInitiatorIDs, (_STORAGE_ADDRESS_ID addr, uint8_t* ids), (addr, ids))               \
    X(SRET, TimeStampFirmware, (_STORAGE_ADDRESS_ID addr), (addr))                                \
    X(SRET, CheckCodeVersions, (_STORAGE_ADDRESS_ID addr, uint32_t& mismatch), (addr, mismatch))  \
    X(SRET, GetVirtDevCount, STORAPI_LIST_PARAMS, STORAPI_LIST_ARGS)                              \
    X(SRET, GetFirstVirtDev, (_STORAGE_ADDRESS_ID& addr), (addr))                                 \
    X(SRET, GetLastVirtDev, (_STORAGE_ADDRESS_ID& addr), (addr))                                  \
    X(SRET, CreateVirtDev,                                                                        \
      (_STORAGE_ADDRESS_ID addr, uint16_t raidCode, uint32_t size, uint32_t stripeSize,           \
       uint16_t count, _STORAGE_ADDRESS_ID* devices, uint32_t option),                            \
      (addr, raidCode, size, stripeSize, count, devices, option))                                 \
    X(SRET, CreateVirtDevHld,                                                                     \
      (_STORAGE_ADDRESS_ID addr, uint32_t sizeMiB, uint16_t count, _STORAGE_ADDRESS_ID* drives),  \
      (addr, sizeMiB, count, drives))                                                             \
    X(SRET, DeleteVirtDev, (_STORAGE_ADDRESS_ID addr), (addr))                                    \
    X(SRET, DeleteVirtDevOption, (_STORAGE_ADDRESS_ID addr, uint8_t option), (addr, option))      \
    X(SRET, SynchronizeVirtDev, (_STORAGE_ADDRESS_ID addr, uint8_t option), (addr, option))       \
    X(SRET, CheckSynchronizeVirtDevProgress, (_STORAGE_ADDRESS_ID addr, uint16_t& percent),       \
      (addr, percent))                                                                            \
    X(SRET, InitializeVirtDev, (_STORAGE_ADDRESS_ID addr, uint8_t option), (addr, option))        \
    X(SRET, CheckInitializeVirtDevProgress, (_STORAGE_ADDRESS_ID addr, uint16_t& percent),        \
      (addr, percent))                                                                            \
    X(SRET, MigrateVirtDev, (_STORAGE_ADDRESS_ID addr, _STORAGE_ADDRESS_ID& target),              \
      (addr, target))                                                                             \
    X(SRET, CheckMigrateVirtDevProgress, (_STORAGE_ADDRESS_ID addr, uint16_t& percent),           \
      (addr, percent))                                                                            \
    X(SRET, IncreaseArraySize,                                                                    \
      (_STORAGE_ADDRESS_ID addr, _ARRAY_SIZE size, _STORAGE_ADDRESS_ID* devices, uint16_t count), \
      (addr, size, devices, count))                                                               \
    X(SRET, ModifyArrayRaidLevel,                                                                 \
      (_STORAGE_ADDRESS_ID addr, uint16_t raidCode, _STORAGE_ADDRESS_ID* devices, uint16_t count), \
      (addr, raidCode, devices, count))                                                           \
    X(SRET, IncreaseVirtDevSizes,                                                                 \
      (_STORAGE_ADDRESS_ID addr, _DEVICE_SIZE size, _STORAGE_ADDRESS_ID* devices, uint16_t count), \
      (addr, size, devices, count))                                                               \
    X(SRET, ModifyVirtDevRaidLevel,                                                               \
      (_STORAGE_ADDRESS_ID addr, uint16_t raidCode, _STORAGE_ADDRESS_ID* devices, uint16_t count), \
      (addr, raidCode, devices, count))                                                           \
    X(SRET, RestartMigration, (_STORAGE_ADDRESS_ID addr), (addr))                                 \
    X(SRET, FailActiveToPassive, (_STORAGE_ADDRESS_ID addr), (addr))                              \
    X(SRET, GetVirtDevSize, (_STORAGE_ADDRESS_ID addr, _DEVICE_SIZE& size), (addr, size))         \
    X(SRET, GetVirtDevInfo, (_STORAGE_ADDRESS_ID addr, _VIRTUAL_DEVICE_INFO& info), (addr, info)) \
    X(SRET, UnBlockVirtDev, (_STORAGE_ADDRESS_ID addr), (addr))                                   \
    X(SRET, MergeVirtDev,                                                                         \
      (_STORAGE_ADDRESS_ID addr, uint8_t groupId, int option, uint8_t flag),                      \
      (addr, groupId, option, flag))                                                              \
    X(SRET, UnMergeVirtDev, (_STORAGE_ADDRESS_ID addr, uint8_t groupId, int option),              \
      (addr, groupId, option))                                                                    \
    X(SRET, ClearMergeGroupId, (_STORAGE_ADDRESS_ID addr), (addr))                                \
    X(SRET, SetMergeGroupId, (_STORAGE_ADDRESS_ID addr, uint8_t groupId, int option),             \
      (addr, groupId, option))                                                                    \
    X(SRET, ReadVirtDevice, STORAPI_BLOCKIO_PARAMS, STORAPI_BLOCKIO_ARGS)                         \
    X(SRET, WriteVirtDevice, STORAPI_BLOCKIO_PARAMS, STORAPI_BLOCKIO_ARGS)                        \
    X(SRET, AddPhysDev, (_STORAGE_ADDRESS_ID addr, uint8_t option), (addr, option))               \
    X(SRET, RemovePhysDev, (_STORAGE_ADDRESS_ID addr), (addr))                                    \
    X(SRET, ReplacePhysDev, (_STORAGE_ADDRESS_ID addr), (addr))                                   \
    X(SRET, StartPhysDev, (_STORAGE_ADDRESS_ID addr), (addr))                                     \
    X(SRET, StopPhysDev, (_STORAGE_ADDRESS_ID addr), (addr))                                      \
    X(SRET, GetPhysDevState, (_STORAGE_ADDRESS_ID addr, uint8_t& state), (addr, state))           \
    X(SRET, SetPhysDevState, (_STORAGE_ADDRESS_ID addr, uint8_t state), (addr, state))            \
    X(SRET, ClearDeviceRaidConfig, (_STORAGE_ADDRESS_ID addr), (addr))                            \
    X(SRET, RebuildPhysDev, (_STORAGE_ADDRESS_ID addr), (addr))                                   \
    X(SRET, RebuildPhysDevToOtherDev, (_STORAGE_ADDRESS_ID addr, _STORAGE_ADDRESS_ID& target),    \
      (addr, target))                                                                             \
    X(SRET, CheckRebuildProgress,                                                                 \
      (_STORAGE_ADDRESS_ID addr, uint16_t& percent, uint8_t& state), (addr, percent, state))      \
    X(SRET, CheckProgress, (_STORAGE_ADDRESS_ID addr, _REBUILD_STATUS& status, int option),       \
      (addr, status, option))                                                                     \
    X(SRET, CheckQuillcopyProgress,                                                               \
      (_STORAGE_ADDRESS_ID addr, _QUILLCOPY_STATUS& status, int option), (addr, status, option))  \
    X(SRET, GetPhysDevEventLog,                                                                   \
      (_STORAGE_ADDRESS_ID addr, void* buffer, uint32_t bufferLen, uint8_t logCode,               \
       uint32_t& returnedLen),                                                                    \
      (addr, buffer, bufferLen, logCode, returnedLen))                                            \
    X(SRET, ErasePhysDevEventLog, (_STORAGE_ADDRESS_ID addr, uint8_t logCode), (addr, logCode))   \
    X(SRET, IdentifyPhysicalDrive, (_STORAGE_ADDRESS_ID addr, uint8_t start), (addr, start))      \
    X(SRET, MonitorRaidStatistics, (_STORAGE_ADDRESS_ID addr, int enable), (addr, enable))        \
    X(SRET, GetRaidStatistics,                                                                    \
      (_STORAGE_ADDRESS_ID addr, void* buffer, uint32_t bufferLen, uint32_t& returnedLen),        \
      (addr, buffer, bufferLen, returnedLen))                                                     \
    X(SRET, GetVirtDevStatistics, (_STORAGE_ADDRESS_ID addr, _VIRTUAL_DEVICE_STATISTICS& stats),  \
      (addr, stats))

// SubSysCmnd: 19 operations, declared last.
#define STORAPI_SUBSYS_OPS(X)                                                                     \
    X(SRET, IsSubSystemPresent, (int& present), (present))                                        \
    X(VERS, GetSubSysIntfVersion, (_STORAGE_VERSION& version), (version))                         \
    X(SRET, GetSubSystemConfig,                                                                   \
      (_STORAGE_ADDRESS_ID addr, void* buffer, uint32_t bufferLen, uint32_t& returnedLen),        \
      (addr, buffer, bufferLen, returnedLen))                                                     \
    X(SRET, SetSubSystemConfig, (_STORAGE_ADDRESS_ID addr, void* buffer, uint32_t bufferLen),     \
      (addr, buffer, bufferLen))                                                                  \
    X(SRET, ExecuteSubSystemDiagnostics,                                                          \
      (_STORAGE_ADDRESS_ID addr, uint32_t test, uint32_t option), (addr, test, option))           \
    X(SRET, SupportedSubSystemCount, STORAPI_LIST_PARAMS, STORAPI_LIST_ARGS)                      \
    X(SRET, SubSystemStatus, (_STORAGE_ADDRESS_ID addr, _SUBSYSTEM_STATUS& status),               \
      (addr, status))                                                                             \
    X(SRET, SubSystemInfo, (_STORAGE_ADDRESS_ID addr, _SUBSYSTEM_INFO& info), (addr, info))       \
    X(SRET, LoopInfo, (_STORAGE_ADDRESS_ID addr, _LOOP_INFO& info), (addr, info))                 \
    X(SRET, UpdateSubSystemBios, (_STORAGE_ADDRESS_ID addr, void* image, uint32_t imageLen),      \
      (addr, image, imageLen))                                                                    \
    X(SRET, UpdateSubSystemFirmWare, (_STORAGE_ADDRESS_ID addr, void* image, uint32_t imageLen),  \
      (addr, image, imageLen))                                                                    \
    X(SRET, GetSubSystemEventLog,                                                                 \
      (_STORAGE_ADDRESS_ID addr, void* buffer, uint32_t bufferLen, uint8_t logCode,               \
       uint32_t& returnedLen),                                                                    \
      (addr, buffer, bufferLen, logCode, returnedLen))                                            \
    X(SRET, EraseSubSystemEventLog, (_STORAGE_ADDRESS_ID addr, uint8_t logCode), (addr, logCode)) \
    X(SRET, ExecSubSystemCmnd, STORAPI_PASSTHROUGH_PARAMS, STORAPI_PASSTHROUGH_ARGS)              \
    X(SRET, SubSystemDeviceType, (_STORAGE_ADDRESS_ID addr, uint16_t& type), (addr, type))        \
    X(SRET, SubSystemDeviceCapacity, (_STORAGE_ADDRESS_ID addr, _DEVICE_SIZE& size), (addr, size)) \
    X(SRET, SubSystemDeviceInfo, (_STORAGE_ADDRESS_ID addr, _DEVICE_INFO& info), (addr, info))    \
    X(SRET, MonitorSubSystemStatistics, (_STORAGE_ADDRESS_ID addr, int enable), (addr, enable))   \
    X(SRET, GetSubSystemStatistics,                                                               \
      (_STORAGE_ADDRESS_ID addr, void* buffer, uint32_t bufferLen, uint32_t& returnedLen),        \
      (addr, buffer, bufferLen, returnedLen))

// All 167 operations in declaration order.
#define STORAPI_ALL_OPS(X) \
    STORAPI_STORAGE_OPS(X) \
    STORAPI_RAID_OPS(X)    \
    STORAPI_SUBSYS_OPS(X)

// The result type of an operation kind: STORAPI_RESULT(kind).
#define STORAPI_RESULT(kind) STORAPI_RESULT_##kind
#define STORAPI_RESULT_SRET S_Ret
#define STORAPI_RESULT_INT int
#define STORAPI_RESULT_VERS int
#define STORAPI_RESULT_BOOL BOOL

// Result kinds as values, for tables built from the lists.
enum StorApiKind { STORAPI_KIND_SRET, STORAPI_KIND_INT, STORAPI_KIND_VERS, STORAPI_KIND_BOOL };

// The position of each operation in the table: STORAPI_<name>.
#define STORAPI_ENUM_ENTRY(kind, name, params, args) STORAPI_##name,
enum StorApiIndex {
    STORAPI_ALL_OPS(STORAPI_ENUM_ENTRY)
    STORAPI_OP_COUNT
};
#undef STORAPI_ENUM_ENTRY

// The number of operations of each interface.
#define STORAPI_COUNT_ENTRY(kind, name, params, args) +1
const unsigned STORAPI_STORAGE_COUNT = 0 STORAPI_STORAGE_OPS(STORAPI_COUNT_ENTRY);
const unsigned STORAPI_RAID_COUNT = 0 STORAPI_RAID_OPS(STORAPI_COUNT_ENTRY);
const unsigned STORAPI_SUBSYS_COUNT = 0 STORAPI_SUBSYS_OPS(STORAPI_COUNT_ENTRY);
#undef STORAPI_COUNT_ENTRY

static_assert(STORAPI_OP_COUNT == 167, "the C API has 167 entry points");
static_assert(STORAPI_STORAGE_COUNT == 51, "StorageCmnd declares 51 operations");
static_assert(STORAPI_RAID_COUNT == 97, "RaidCmnd declares 97 operations");
static_assert(STORAPI_SUBSYS_COUNT == 19, "SubSysCmnd declares 19 operations");
static_assert(STORAPI_ConstructorOK == 0, "ConstructorOK is the first operation");
static_assert(STORAPI_GetStorageIntfVersion == 9, "GetStorageIntfVersion is the tenth operation");
static_assert(STORAPI_GetClusterDllVersion == 51, "RaidCmnd begins with GetClusterDllVersion");
static_assert(STORAPI_GetRaidIntfVersion == 51 + 7, "GetRaidIntfVersion is RaidCmnd's eighth");
static_assert(STORAPI_IsSubSystemPresent == 148, "SubSysCmnd begins with IsSubSystemPresent");
static_assert(STORAPI_GetSubSysIntfVersion == 149, "GetSubSysIntfVersion is SubSysCmnd's second");

#endif
