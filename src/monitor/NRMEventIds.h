#ifndef NRMEVENTIDS_H
#define NRMEVENTIDS_H

// The monitor events: one numbering for every monitor, the Tarnell family's
// own event codes and the indication provider, which picks the indication
// class by the id alone. Each event is a compile-time constant with its id,
// event name, catalogue key, usual severity and object type; the code that
// raises an event names it here, builds the text from the key and changes
// the severity where its rule says so.
//
// Ids by hundreds: 200 the queue itself; 201-299 system and adapter (299
// adapter state change); 301-399 logical drives and arrays and their tasks
// (399 logical drive state change); 401-499 physical drives and their tasks
// (499 drive state change); 501-512 enclosures, fans, temperature and power
// supplies. The state changes 299, 399 and 499 accompany the specific events
// of their object with the same text.

#include <cstdint>

#include "monitor/NRMEvent.h"

struct NRMEventDef {
    int32_t id;
    const char* name; // "" for an event without a name
    const char* key;  // catalogue key of the text; null for the overload marker
    int32_t severity;
    int32_t objectType;
};

namespace nrmevent {

// The queue's overload marker, with a fixed text instead of a key.
constexpr NRMEventDef QUEUE_OVERLOAD{200, "", nullptr, NRM_EVENT_WARNING, NRM_OBJECT_UNKNOWN};
constexpr const char* QUEUE_OVERLOAD_TEXT = "NRM Event queue overload. Discarding events.";

// Adapters. A vanished adapter is 202 too, with severity 1 from the Pelm
// monitor and 3 from the Tarnell monitor.
constexpr NRMEventDef NO_CONTROLLERS{201, "EVENT_TARNELL_STATE_NOTFOUND", "agentEventInfNoControllers",
                                     NRM_EVENT_INFORMATION, NRM_OBJECT_SYSTEM};
constexpr NRMEventDef ADAPTER_FAILED{202, "EVENT_TARNELL_STATE_FAILED", "agentEventErrController", NRM_EVENT_ERROR,
                                     NRM_OBJECT_ADAPTER};
constexpr NRMEventDef ADAPTER_REMOVED{202, "EVENT_TARNELL_STATE_FAILED", "agentEventInfControllerRemoved",
                                      NRM_EVENT_ERROR, NRM_OBJECT_ADAPTER};
constexpr NRMEventDef BATTERY_REPLACE{203, "", "agentEventErrBBCNewBattery", NRM_EVENT_ERROR, NRM_OBJECT_ADAPTER};
constexpr NRMEventDef ADAPTER_ADDED{207, "EVENT_TARNELL_STATE_ADDED", "agentEventInfControllerAdded",
                                    NRM_EVENT_INFORMATION, NRM_OBJECT_ADAPTER};
constexpr NRMEventDef ADAPTER_REPLACED{208, "EVENT_TARNELL_STATE_REPLACED", "agentEventInfControllerReplace",
                                       NRM_EVENT_INFORMATION, NRM_OBJECT_ADAPTER};
constexpr NRMEventDef VERSION_MISMATCH{210, "EVENT_TARNELL_VERSION_MISMATCH", "agentEventWrnMismatchedVersions",
                                       NRM_EVENT_WARNING, NRM_OBJECT_ADAPTER};
constexpr NRMEventDef BATTERY_OVERTEMP{211, "", "agentEventWrnBatteryOvertemp", NRM_EVENT_WARNING,
                                       NRM_OBJECT_ADAPTER};
constexpr NRMEventDef ADAPTER_OVERTEMP{213, "EVENT_TARNELL_CONTROLLER_OVERTEMP", "agentEventWrnControllerOvertemp",
                                       NRM_EVENT_WARNING, NRM_OBJECT_ADAPTER};
constexpr NRMEventDef BATTERY_LOW{214, "", "agentEventWrnBatteryLow", NRM_EVENT_WARNING, NRM_OBJECT_ADAPTER};
constexpr NRMEventDef BAD_STRIPES{215, "EVENT_TARNELL_CONTROLLER_BAD_STRIPES", "agentEventWrnBadStripes",
                                  NRM_EVENT_WARNING, NRM_OBJECT_ADAPTER};
constexpr NRMEventDef BATTERY_TEMP_NORMAL{216, "", "agentEventInfBatteryTempNormal", NRM_EVENT_INFORMATION,
                                          NRM_OBJECT_ADAPTER};
constexpr NRMEventDef BATTERY_NORMAL{217, "", "agentEventInfBatteryNormal", NRM_EVENT_INFORMATION,
                                     NRM_OBJECT_ADAPTER};
// Severity 1 when the adapter failed; as a battery companion 2 or 3.
constexpr NRMEventDef ADAPTER_STATE_CHANGE{299, "EVENT_TARNELL_STATE_CHANGE", "agentEventInfControllerStateChange",
                                           NRM_EVENT_INFORMATION, NRM_OBJECT_ADAPTER};

// Logical drives.
constexpr NRMEventDef LD_CRITICAL{301, "EVENT_TARNELL_LD_STATE_CRITICAL", "agentEventWrnLogicalCritical",
                                  NRM_EVENT_WARNING, NRM_OBJECT_LOGICAL_DRIVE};
constexpr NRMEventDef LD_BLOCKED{302, "EVENT_TARNELL_LD_STATE_BLOCKED", "agentEventErrLogicalBlocked",
                                 NRM_EVENT_ERROR, NRM_OBJECT_LOGICAL_DRIVE};
constexpr NRMEventDef LD_OFFLINE{303, "EVENT_TARNELL_LD_STATE_OFFLINE", "agentEventErrLogicalOffline",
                                 NRM_EVENT_ERROR, NRM_OBJECT_LOGICAL_DRIVE};
constexpr NRMEventDef REBUILD_STARTED{304, "EVENT_TARNELL_LD_REBUILD_STARTED", "agentEventInfRebuildDetected",
                                      NRM_EVENT_TASK, NRM_OBJECT_LOGICAL_DRIVE};
constexpr NRMEventDef REBUILD_COMPLETED{305, "EVENT_TARNELL_LD_REBUILD_COMPLETED", "agentEventInfRebuildComplete",
                                        NRM_EVENT_TASK, NRM_OBJECT_LOGICAL_DRIVE};
constexpr NRMEventDef REBUILD_FAILED{306, "EVENT_TARNELL_LD_REBUILD_FAILED", "agentEventErrRebuild",
                                     NRM_EVENT_ERROR, NRM_OBJECT_LOGICAL_DRIVE};
constexpr NRMEventDef SYNC_STARTED{307, "EVENT_TARNELL_LD_SYNCHRONIZE_STARTED", "agentEventInfSyncDetected",
                                   NRM_EVENT_TASK, NRM_OBJECT_LOGICAL_DRIVE};
constexpr NRMEventDef SYNC_COMPLETED{308, "EVENT_TARNELL_LD_SYNCHRONIZE_COMPLETED", "agentEventInfSyncComplete",
                                     NRM_EVENT_TASK, NRM_OBJECT_LOGICAL_DRIVE};
constexpr NRMEventDef SYNC_FAILED{309, "EVENT_TARNELL_LD_SYNCHRONIZE_FAILED", "agentEventErrSync",
                                  NRM_EVENT_ERROR, NRM_OBJECT_LOGICAL_DRIVE};
constexpr NRMEventDef LD_UNBLOCKED{331, "EVENT_TARNELL_CONFIGURATION_CHANGE_UNBLOCK", "agentEventInfUnblock",
                                   NRM_EVENT_INFORMATION, NRM_OBJECT_LOGICAL_DRIVE};
constexpr NRMEventDef LD_CRITICAL_REMINDER{338, "EVENT_TARNELL_LD_STATE_CRITICAL_PERIODIC",
                                           "agentEventWrnCriticalLogicalDrivePeriodic", NRM_EVENT_WARNING,
                                           NRM_OBJECT_LOGICAL_DRIVE};
constexpr NRMEventDef INIT_STARTED{342, "EVENT_TARNELL_LD_INITIALIZE_STARTED", "agentEventInfInitDetected",
                                   NRM_EVENT_TASK, NRM_OBJECT_LOGICAL_DRIVE};
constexpr NRMEventDef INIT_COMPLETED{343, "EVENT_TARNELL_LD_INITIALIZE_COMPLETED", "agentEventInfInitComplete",
                                     NRM_EVENT_TASK, NRM_OBJECT_LOGICAL_DRIVE};
constexpr NRMEventDef INIT_FAILED{344, "EVENT_TARNELL_LD_INITIALIZE_FAILED", "agentEventErrInit", NRM_EVENT_ERROR,
                                  NRM_OBJECT_LOGICAL_DRIVE};
constexpr NRMEventDef LD_NORMAL{345, "EVENT_TARNELL_LD_STATE_NORMAL", "agentEventInfLogicalOk",
                                NRM_EVENT_INFORMATION, NRM_OBJECT_LOGICAL_DRIVE};
constexpr NRMEventDef LD_ADDED{346, "EVENT_TARNELL_CONFIGURATION_CHANGE_ADD_LD", "agentEventInfAddLogDrive",
                               NRM_EVENT_INFORMATION, NRM_OBJECT_LOGICAL_DRIVE};
constexpr NRMEventDef LD_DELETED{347, "EVENT_TARNELL_CONFIGURATION_CHANGE_DELETE_LD", "agentEventInfDeleteLogDrive",
                                 NRM_EVENT_INFORMATION, NRM_OBJECT_LOGICAL_DRIVE};
constexpr NRMEventDef REBUILD_ABORTED{349, "EVENT_TARNELL_LD_REBUILD_ABORTED", "agentEventInfRebuildAborted",
                                      NRM_EVENT_TASK, NRM_OBJECT_LOGICAL_DRIVE};
constexpr NRMEventDef SYNC_ABORTED{350, "EVENT_TARNELL_LD_SYNCHRONIZE_ABORTED", "agentEventInfSyncAborted",
                                   NRM_EVENT_TASK, NRM_OBJECT_LOGICAL_DRIVE};
constexpr NRMEventDef INIT_ABORTED{351, "EVENT_TARNELL_LD_INITIALIZE_ABORTED", "agentEventInfInitAborted",
                                   NRM_EVENT_TASK, NRM_OBJECT_LOGICAL_DRIVE};
constexpr NRMEventDef REBUILD_RUNNING{372, "EVENT_TARNELL_LD_REBUILD_RUNNING", "agentEventInfRebuildPercentComplete",
                                      NRM_EVENT_TASK_RUNNING, NRM_OBJECT_LOGICAL_DRIVE};
constexpr NRMEventDef SYNC_RUNNING{373, "EVENT_TARNELL_LD_SYNCHRONIZE_RUNNING", "agentEventInfSyncPercentComplete",
                                   NRM_EVENT_TASK_RUNNING, NRM_OBJECT_LOGICAL_DRIVE};
constexpr NRMEventDef INIT_RUNNING{384, "EVENT_TARNELL_LD_INITIALIZE_RUNNING", "agentEventInfInitPercentComplete",
                                   NRM_EVENT_TASK_RUNNING, NRM_OBJECT_LOGICAL_DRIVE};
constexpr NRMEventDef REBUILD_STOPPED{385, "EVENT_TARNELL_LD_REBUILD_COMPLETED", "agentEventInfRebuildStopped",
                                      NRM_EVENT_TASK, NRM_OBJECT_LOGICAL_DRIVE};
constexpr NRMEventDef SYNC_STOPPED{386, "EVENT_TARNELL_LD_SYNCHRONIZE_COMPLETED", "agentEventInfSyncStopped",
                                   NRM_EVENT_TASK, NRM_OBJECT_LOGICAL_DRIVE};
constexpr NRMEventDef INIT_STOPPED{397, "EVENT_TARNELL_LD_INITIALIZE_COMPLETED", "agentEventInfInitStopped",
                                   NRM_EVENT_TASK, NRM_OBJECT_LOGICAL_DRIVE};
// Raised to the severity of the specific event it accompanies.
constexpr NRMEventDef LD_STATE_CHANGE{399, "EVENT_TARNELL_STATE_CHANGE_LD", "agentEventInfLogicalStateChange",
                                      NRM_EVENT_INFORMATION, NRM_OBJECT_LOGICAL_DRIVE};
// The Pelm monitor's companion of REBUILD_STARTED, with its text.
constexpr NRMEventDef REBUILD_STARTED_COMPANION{399, "EVENT_TARNELL_LD_REBUILD_STARTED",
                                                "agentEventInfRebuildDetected", NRM_EVENT_WARNING,
                                                NRM_OBJECT_LOGICAL_DRIVE};

// Physical drives. The failure and PFA keys ending in Repl go with a
// replacement phrase; the ids 404 and 405 with a FRU number.
constexpr NRMEventDef PD_FAILED{401, "EVENT_TARNELL_PD_STATE_FAILED", "agentEventErrDefunctDrive", NRM_EVENT_ERROR,
                                NRM_OBJECT_PHYSICAL_DRIVE};
constexpr NRMEventDef PD_PFA{402, "EVENT_TARNELL_PD_PFA_ERROR_YES", "agentEventWrnPFADrive", NRM_EVENT_WARNING,
                             NRM_OBJECT_PHYSICAL_DRIVE};
constexpr NRMEventDef PD_FAILED_REPLACED{403, "EVENT_TARNELL_PD_STATE_READY", "agentEventInfDefunctReplace",
                                         NRM_EVENT_INFORMATION, NRM_OBJECT_PHYSICAL_DRIVE};
constexpr NRMEventDef PD_FAILED_FRU{404, "EVENT_TARNELL_PD_STATE_FAILED", "agentEventErrDefunctDriveRepl",
                                    NRM_EVENT_ERROR, NRM_OBJECT_PHYSICAL_DRIVE};
constexpr NRMEventDef PD_PFA_FRU{405, "EVENT_TARNELL_PD_PFA_ERROR_YES", "agentEventWrnPFADriveRepl",
                                 NRM_EVENT_WARNING, NRM_OBJECT_PHYSICAL_DRIVE};
constexpr NRMEventDef PD_UNSUPPORTED{406, "EVENT_TARNELL_PD_DRV_UNSUPPORTED", "agentEventWrnUnsupportedPhysDrive",
                                     NRM_EVENT_WARNING, NRM_OBJECT_PHYSICAL_DRIVE};
constexpr NRMEventDef PD_ADDED{407, "EVENT_TARNELL_CONFIGURATION_CHANGE_ADD_PD", "agentEventInfAddDiskDrive",
                               NRM_EVENT_INFORMATION, NRM_OBJECT_PHYSICAL_DRIVE};
constexpr NRMEventDef PD_REMOVED{408, "EVENT_TARNELL_CONFIGURATION_CHANGE_REMOVE_PD", "agentEventInfDeleteDiskDrive",
                                 NRM_EVENT_INFORMATION, NRM_OBJECT_PHYSICAL_DRIVE};
constexpr NRMEventDef PD_MEDIA_ERROR{418, "EVENT_TARNELL_PD_MEDIA_ERROR", "agentEventWrnBadBlock", NRM_EVENT_WARNING,
                                     NRM_OBJECT_PHYSICAL_DRIVE};
constexpr NRMEventDef PD_BAD_BLOCK_REPAIRED{422, "EVENT_TARNELL_PD_MEDIA_ERROR", "agentEventInfBadBlockRepaired",
                                            NRM_EVENT_INFORMATION, NRM_OBJECT_PHYSICAL_DRIVE};
// One line of the SAS drive map, about the adapter.
constexpr NRMEventDef DRIVE_MAP{423, "RAID_EVENT", "agentEventInfDriveMap", NRM_EVENT_INFORMATION,
                                NRM_OBJECT_ADAPTER};
constexpr NRMEventDef SPARE_CREATED{497, "EVENT_TARNELL_PD_STATE_HOTSPARE", "agentEventInfSpareCreated",
                                    NRM_EVENT_INFORMATION, NRM_OBJECT_PHYSICAL_DRIVE};
constexpr NRMEventDef SPARE_DELETED{498, "EVENT_TARNELL_PD_STATE_READY", "agentEventInfSpareDeleted",
                                    NRM_EVENT_INFORMATION, NRM_OBJECT_PHYSICAL_DRIVE};
// Raised to the severity of the specific event it accompanies.
constexpr NRMEventDef PD_STATE_CHANGE{499, "EVENT_TARNELL_PD_STATE_CHANGE", "agentEventInfDriveStateChange",
                                      NRM_EVENT_INFORMATION, NRM_OBJECT_PHYSICAL_DRIVE};

// Enclosures, fans, temperature and power supplies.
constexpr NRMEventDef ENCLOSURE_OK{501, "EVENT_TARNELL_ENC_OK", "agentEventInfEnclOk", NRM_EVENT_INFORMATION,
                                   NRM_OBJECT_ENCLOSURE};
constexpr NRMEventDef ENCLOSURE_FAILED{502, "EVENT_TARNELL_ENC_FAILURE", "agentEventErrEnclFail", NRM_EVENT_ERROR,
                                       NRM_OBJECT_ENCLOSURE};
constexpr NRMEventDef FAN_REPLACED{503, "EVENT_TARNELL_ENC_FAN_REPLACED", "agentEventInfFanOperational",
                                   NRM_EVENT_INFORMATION, NRM_OBJECT_FAN};
constexpr NRMEventDef FAN_FAILED{504, "EVENT_TARNELL_ENC_FAN_FAILURE", "agentEventErrFanFail", NRM_EVENT_ERROR,
                                 NRM_OBJECT_FAN};
constexpr NRMEventDef FAN_INSTALLED{505, "EVENT_TARNELL_ENC_FAN_INSTALLED", "agentEventInfFanInstalled",
                                    NRM_EVENT_INFORMATION, NRM_OBJECT_FAN};
constexpr NRMEventDef FAN_REMOVED{506, "EVENT_TARNELL_ENC_FAN_REMOVED", "agentEventWrnFanRemoved", NRM_EVENT_ERROR,
                                  NRM_OBJECT_FAN};
constexpr NRMEventDef TEMP_NORMAL{507, "EVENT_TARNELL_ENC_TEMP_NORMAL", "agentEventInfTempNormal",
                                  NRM_EVENT_INFORMATION, NRM_OBJECT_ENCLOSURE};
constexpr NRMEventDef TEMP_FAILED{508, "EVENT_TARNELL_ENC_TEMP_FAILURE", "agentEventErrTempFail", NRM_EVENT_ERROR,
                                  NRM_OBJECT_ENCLOSURE};
constexpr NRMEventDef POWER_REPLACED{509, "EVENT_TARNELL_ENC_PS_REPLACED", "agentEventInfPowerOperational",
                                     NRM_EVENT_INFORMATION, NRM_OBJECT_POWER_SUPPLY};
constexpr NRMEventDef POWER_FAILED{510, "EVENT_TARNELL_ENC_PS_FAILURE", "agentEventErrPowerFail", NRM_EVENT_ERROR,
                                   NRM_OBJECT_POWER_SUPPLY};
constexpr NRMEventDef POWER_INSTALLED{511, "EVENT_TARNELL_ENC_PS_INSTALLED", "agentEventInfPowerInstalled",
                                      NRM_EVENT_INFORMATION, NRM_OBJECT_POWER_SUPPLY};
constexpr NRMEventDef POWER_REMOVED{512, "EVENT_TARNELL_ENC_PS_REMOVED", "agentEventWrnPowerRemoved",
                                    NRM_EVENT_ERROR, NRM_OBJECT_POWER_SUPPLY};

} // namespace nrmevent

#endif
