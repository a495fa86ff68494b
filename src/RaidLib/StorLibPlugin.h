#ifndef STORLIBPLUGIN_H
#define STORLIBPLUGIN_H

#include <cstdint>
#include <string>
#include <vector>

#include "RaidLib/StorLib.h"
#include "RaidLib/Util/Addr.h"
#include "RaidLib/Util/AddrCollection.h"
#include "RaidLib/Util/Buffer.h"
#include "RaidLib/Util/Progress.h"
#include "RaidLib/Util/ProgressCollection.h"
#include "RaidLib/Util/Ret.h"
#include "RaidLib/Util/SCSICommand.h"
#include "RaidLib/Util/ShMem.h"
#include "RaidLib/Util/StorEvent.h"
#include "RaidLib/Util/StorExport.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/ChunkSpec.h"
#include "RaidModel/Interface/HardDrive.h"
#include "RaidModel/Interface/LogicalDrive.h"
#include "RaidModel/Interface/LogicalDriveSpec.h"
#include "RaidModel/Interface/ModelEnums.h"
#include "RaidModel/Interface/PhysicalDevice.h"

class System;

// What identifyDevice asks of the addressed object.
enum EnumIdentifyOption : int32_t { IDENTIFY_START = 0, IDENTIFY_STOP = 1, IDENTIFY_STOP_ALL = 2 };

// Where a controller configuration comes from; setControllerConfiguration
// takes it but the controller is given only the buffer.
enum EnumConfigurationSource : int32_t {
    CONFIG_SOURCE_SINGLE_DRIVE = 0,
    CONFIG_SOURCE_ALL_DRIVES = 1,
    CONFIG_SOURCE_BUFFER = 2
};

static_assert(sizeof(EnumIdentifyOption) == 4 && sizeof(EnumConfigurationSource) == 4,
              "storage library enumerations are 32-bit");

// The management operations of a storage library. Every operation takes the
// address of an object of the current configuration tree, finds the object,
// tests its class by name, calls the object's own operation and returns its
// result record; no current system gives -2, an address that names nothing
// -12, an object of a class the operation does not accept -2, and any
// exception -13. A family library overrides the operations it carries out
// differently.
//
// The order of the virtual operations is the order of the virtual table that
// the family libraries are built against; do not reorder.
class STOR_EXPORT StorLibPlugin : public StorLib {
public:
    // Size of the buffer that getControllerLog(..., char**, ...) hands out:
    // 2 MiB and 512 bytes.
    static constexpr unsigned long CONTROLLER_LOG_BUFFER_SIZE = 2097664UL;

    explicit StorLibPlugin(EnumStorLibType storlibTypeIN);
    ~StorLibPlugin() override;

    // Builds a new current system whose controllers are handed to proxy as
    // they are added; the new system itself stays without children and no
    // XML is written.
    Ret getSystemConfigWithProxy(System* pProxySystemIN);

    virtual Ret createLogicalDrive(const Addr& addrIN, const LogicalDriveSpec& specIN);
    // The adapter's event text from startEventNumberIN on, in a new buffer
    // that replaces (and releases) the one in *xmlINOUT; on a failure
    // *xmlINOUT is left as it was.
    virtual Ret getEvents(const Addr& addrIN, unsigned long startEventNumberIN, char** xmlINOUT);
    virtual Ret getEvents(const Addr& addrIN, unsigned long startEventNumberIN,
                          std::vector<GenericRecord>& eventsINOUT);
    virtual Ret getEvents(const Addr& addrIN, StorEventCollection& eventsINOUT);
    // A controller, an enclosure or an SES-2 enclosure device.
    virtual Ret setAlarmState(const Addr& addrIN, EnumAlarmState alarmStateIN);
    // The controller's alarm state as the model holds it; the controller is
    // not asked.
    virtual Ret getAlarmState(const Addr& addrIN, EnumAlarmState& alarmStateOUT);
    virtual Ret setControllerConfiguration(const Addr& addrIN, EnumConfigurationSource sourceIN,
                                           const Buffer& bufferIN);
    virtual Ret getControllerConfiguration(const Addr& addrIN, Buffer& bufferOUT);
    // The log in a new CONTROLLER_LOG_BUFFER_SIZE buffer that replaces (and
    // releases) the one in *pBufferOUT, with the size the controller
    // reports; on a failure of the controller both targets are cleared.
    virtual Ret getControllerLog(const Addr& addrIN, EnumLogTypeRequest logTypeIN, char** pBufferOUT,
                                 unsigned long* buffSizeOUT);
    // The log into the caller's buffer of buffSizeINOUT bytes.
    virtual Ret getControllerLog(const Addr& addrIN, EnumLogTypeRequest logTypeIN, char* pBufferOUT,
                                 unsigned long& buffSizeINOUT);
    virtual Ret clearControllerLog(const Addr& addrIN, EnumLogTypeRequest logTypeIN);
    virtual Ret setDataScrubActive(const Addr& addrIN, bool bActiveIN);
    virtual Ret setDataScrubRate(const Addr& addrIN, EnumPriorityLevel priorityIN);
    virtual Ret setDataScrubRate(const Addr& addrIN, unsigned long daysIN);
    virtual Ret pauseResumeIO(const Addr& addrIN, unsigned long timeoutIN);
    // The controller is always asked without skipping: skipIN is not passed on.
    virtual Ret upgradeControllerFirmware(const Addr& addrIN, const char* pBaseFilename, bool skipIN);
    virtual Ret isControllerPaused(const Addr& addrIN, bool& bPausedOUT);
    // SATA mode first.
    virtual Ret setControllerPhysicalDriveCache(const Addr& addrIN, EnumHardDriveCacheMode sataHDCacheModeIN,
                                                EnumHardDriveCacheMode sasHDCacheModeIN);
    virtual Ret setLogicalDriveName(const Addr& addrIN, const char* nameIN);
    // Read mode first.
    virtual Ret setLogicalDriveCache(const Addr& addrIN, EnumLogicalDriveCacheMode readCacheSettingIN,
                                     EnumLogicalDriveCacheMode writeCacheSettingIN);
    // Verify, clear or secure erase of a hard drive; verify, synchronize or
    // clear of a logical drive. Any other task gives -1.
    virtual Ret startTask(const Addr& addrIN, EnumTaskType taskIN);
    // Write back enables the drive's write cache; every other mode disables it.
    virtual Ret setPhysicalDriveCache(const Addr& addrIN, EnumHardDriveCacheMode modeIN);
    // true: synchronize; false: verify.
    virtual Ret synchronizeLogicalDrive(const Addr& addrIN, bool bSynchronizeIN);
    virtual Ret initializeLogicalDrive(const Addr& addrIN, EnumInitMethod methodIN, EnumPriorityLevel priorityIN);
    virtual Ret deleteLogicalDrive(const Addr& addrIN);
    virtual Ret deleteArray(const Addr& addrIN);
    virtual Ret setStripeSize(const Addr& addrIN, EnumStripeSize stripeSizeIN);
    virtual Ret increaseLogicalDriveSize(const Addr& addrIN, const std::vector<ChunkSpec>& chunksIN,
                                         EnumPriorityLevel priorityIN);
    virtual Ret modifyLogicalDrive(const Addr& addrIN, const LogicalDriveSpec& specIN);
    virtual Ret setLogicalDriveBootable(const Addr& addrIN, bool bootableIN);
    virtual Ret setLogicalDriveState(const Addr& addrIN, EnumLogicalDeviceState stateIN);
    virtual Ret setDeviceState(const Addr& addrIN, EnumPhysicalDeviceState stateIN);
    virtual Ret createGlobalHotSpare(const Addr& addrIN);
    virtual Ret createCandidateHotSpare(const Addr& addrIN);
    // logicalDrivesIN: the logical drives the spare protects.
    virtual Ret createAssignedHotSpare(const Addr& addrIN, const AddrCollection& logicalDrivesIN);
    virtual Ret deleteHotSpare(const Addr& addrIN);
    virtual Ret deleteAssignedHotSpare(const Addr& addrIN, const AddrCollection& logicalDrivesIN);
    // A physical device, a logical drive or a channel; only IDENTIFY_START
    // starts the identification.
    virtual Ret identifyDevice(const Addr& addrIN, EnumIdentifyOption optionIN);
    virtual Ret initializeHardDrive(const Addr& addrIN);
    virtual Ret scsiPassThruCommand(const Addr& addrIN, SCSICommand& commandINOUT);
    virtual Ret downHardDrive(const Addr& addrIN, bool bForceIN);
    virtual Ret syncRescan(const Addr& addrIN);
    virtual Ret asyncRescan(const Addr& addrIN);
    // The tasks of getTasks(addrIN, ProgressCollection&) as a
    // "ProgressCollection" document, which replaces (and releases) the
    // buffer in *xmlINOUT whatever that call answers.
    virtual Ret getTasks(const Addr& addrIN, char** xmlINOUT);
    // The tasks of a controller, a hard drive or a logical drive, appended
    // to tasksINOUT.
    virtual Ret getTasks(const Addr& addrIN, ProgressCollection& tasksINOUT);
    virtual Ret setTaskPriority(const Addr& addrIN, unsigned long taskIDIN, EnumPriorityLevel priorityIN);
    virtual Ret abortTask(const Addr& addrIN, unsigned long taskIDIN);
    virtual Ret testAllSpares(const Addr& addrIN);
    // One physical device, or every device of a controller (each is asked;
    // the answer is the last one that is not a plain success).
    virtual Ret setITNexusLossTime(const Addr& addrIN, unsigned short timeIN);
    virtual Ret createSnapshot(const Addr& addrIN, const Addr& targetAddrIN, bool bBackupIN);
    virtual Ret removeSnapshot(const Addr& addrIN);
    virtual Ret setCopyBack(const Addr& addrIN, bool bEnabledIN);
    virtual Ret startDiskDiagnostic(const Addr& addrIN, EnumDiskDiagType typeIN);
    virtual Ret abortDiskDiagnostic(const Addr& addrIN);
    virtual Ret getDiskDiagnosticProgress(const Addr& addrIN, DISK_DIAGNOSTIC_STATE& stateOUT);
    virtual Ret getDiskDiagnosticResults(const Addr& addrIN, DISK_DIAGNOSTIC_STATE& stateOUT);
    virtual Ret startControllerDiagnostic(const Addr& addrIN, EnumAdapterDiagType typeIN);
    virtual Ret startBatteryCalibration(const Addr& addrIN);
    virtual Ret startHardDriveTask(const Addr& addrIN, EnumHardDriveTask taskIN);
    virtual Ret clearPPITable(const Addr& addrIN);

    // Other names of the hot-spare operations.
    Ret createGlobalSpare(const Addr& addrIN) { return createGlobalHotSpare(addrIN); }
    Ret createCandidateSpare(const Addr& addrIN) { return createCandidateHotSpare(addrIN); }
    Ret createAssignedSpare(const Addr& addrIN, const AddrCollection& logicalDrivesIN)
    {
        return createAssignedHotSpare(addrIN, logicalDrivesIN);
    }
    Ret createDedicatedSpare(const Addr& addrIN, const AddrCollection& logicalDrivesIN)
    {
        return createAssignedHotSpare(addrIN, logicalDrivesIN);
    }
    Ret createDedicatedHotSpare(const Addr& addrIN, const AddrCollection& logicalDrivesIN)
    {
        return createAssignedHotSpare(addrIN, logicalDrivesIN);
    }
    Ret deleteSpare(const Addr& addrIN) { return deleteHotSpare(addrIN); }
    Ret removeHotSpare(const Addr& addrIN) { return deleteHotSpare(addrIN); }
    Ret removeSpare(const Addr& addrIN) { return deleteHotSpare(addrIN); }
    Ret deleteAssignedSpare(const Addr& addrIN, const AddrCollection& logicalDrivesIN)
    {
        return deleteAssignedHotSpare(addrIN, logicalDrivesIN);
    }
    Ret deleteDedicatedSpare(const Addr& addrIN, const AddrCollection& logicalDrivesIN)
    {
        return deleteAssignedHotSpare(addrIN, logicalDrivesIN);
    }
    Ret deleteDedicatedHotSpare(const Addr& addrIN, const AddrCollection& logicalDrivesIN)
    {
        return deleteAssignedHotSpare(addrIN, logicalDrivesIN);
    }
    Ret removeAssignedSpare(const Addr& addrIN, const AddrCollection& logicalDrivesIN)
    {
        return deleteAssignedHotSpare(addrIN, logicalDrivesIN);
    }
    Ret removeAssignedHotSpare(const Addr& addrIN, const AddrCollection& logicalDrivesIN)
    {
        return deleteAssignedHotSpare(addrIN, logicalDrivesIN);
    }
    Ret removeDedicatedSpare(const Addr& addrIN, const AddrCollection& logicalDrivesIN)
    {
        return deleteAssignedHotSpare(addrIN, logicalDrivesIN);
    }
    Ret removeDedicatedHotSpare(const Addr& addrIN, const AddrCollection& logicalDrivesIN)
    {
        return deleteAssignedHotSpare(addrIN, logicalDrivesIN);
    }
};

#endif
