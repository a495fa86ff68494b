// The family event codes of the Tarnell library: the message key of each
// code (with its FRU variant) and the category of object it is about.
#include <cstdint>

#include "monitor/tarnell/TarnellRaidMonitor.h"

namespace {

// UNCHANGED: the code keeps the category of the code translated before.
const int UNCHANGED = 0;

struct CodeRow {
    uint32_t code;
    const char* key;
    const char* fruKey; // null: the key serves with a FRU number too
    int category;
    int fruCategory; // 0: the category serves with a FRU number too
};

const CodeRow CODE_ROWS[] = {
    {0, "RefreshError", nullptr, UNCHANGED, 0},
    {201, "agentEventInfNoControllers", nullptr, 3, 0},
    {202, "agentEventErrController", "agentEventErrControllerFRU", 3, 0},
    {203, "agentEventErrBBCNewBattery", "agentEventErrBBCNewBatteryFRU", 8, 9},
    {204, "agentEventErrBBCFailure", "agentEventErrBBCFailureFRU", 8, 9},
    {205, "agentEventErrPolling", nullptr, 3, 0},
    {206, "eventConfigError", "agentEventErrPollingFRU", 3, 0},
    {207, "agentEventInfControllerAdded", nullptr, 3, 0},
    {208, "agentEventInfControllerReplace", nullptr, 3, 0},
    {209, "agentEventInfControllerFailover", nullptr, 3, 0},
    {210, "agentEventWrnMismatchedVersions", nullptr, 3, 0},
    {211, "agentEventWrnBatteryOvertemp", nullptr, 8, 0},
    {212, "agentEventJobScheduler", nullptr, UNCHANGED, 0},
    {213, "agentEventWrnControllerOvertemp", nullptr, 3, 0},
    {214, "agentEventWrnBatteryLow", nullptr, 3, 0},
    {215, "agentEventWrnBadStripes", nullptr, 2, 0},
    {216, "agentEventInfBatteryTempNormal", nullptr, 8, 0},
    {217, "agentEventInfBatteryNormal", nullptr, 8, 0},
    {218, "agentEventInfControllerTempNormal", nullptr, 3, 0},
    {219, "agentEventWrnControllerExpiration", nullptr, 10, 0},
    {299, "agentEventInfControllerStateChange", nullptr, 3, 0},
    {301, "agentEventWrnLogicalCritical", nullptr, 2, 0},
    {302, "agentEventErrLogicalBlocked", nullptr, 2, 0},
    {303, "agentEventErrLogicalOffline", nullptr, 2, 0},
    {304, "agentEventInfRebuildDetected", nullptr, 2, 0},
    {305, "agentEventInfRebuildComplete", nullptr, 2, 0},
    {306, "agentEventErrRebuild", nullptr, 2, 0},
    {307, "agentEventInfSyncDetected", nullptr, 2, 0},
    {308, "agentEventInfSyncComplete", nullptr, 2, 0},
    {309, "agentEventErrSync", nullptr, 2, 0},
    {310, "agentEventInfMigrationDetected", nullptr, 2, 0},
    {311, "agentEventInfMigrationComplete", nullptr, 2, 0},
    {312, "agentEventErrMigrationFail", nullptr, 2, 0},
    {313, "agentEventInfCompressionDetected", nullptr, 2, 0},
    {314, "agentEventInfCompressComplete", nullptr, 2, 0},
    {315, "agentEventErrCompress", nullptr, 2, 0},
    {316, "agentEventInfDecompressionDetected", nullptr, 2, 0},
    {317, "agentEventInfDecompressComplete", nullptr, 2, 0},
    {318, "agentEventErrDecompress", nullptr, 2, 0},
    {319, "agentEventInfSnapshotDetected", nullptr, 2, 0},
    {320, "agentEventInfSnapshotComplete", nullptr, 2, 0},
    {321, "agentEventErrSnapshot", nullptr, 2, 0},
    {322, "agentEventInfRebuildDetected", nullptr, 7, 0},
    {323, "agentEventInfRebuildComplete", nullptr, 7, 0},
    {324, "agentEventErrRebuild", nullptr, 7, 0},
    {325, "agentEventInfSyncDetected", nullptr, 7, 0},
    {326, "agentEventInfSyncComplete", nullptr, 7, 0},
    {327, "agentEventErrSync", nullptr, 7, 0},
    {328, "agentEventInfSnapshotDetected", nullptr, 7, 0},
    {329, "agentEventInfSnapshotComplete", nullptr, 7, 0},
    {330, "agentEventErrSnapshot", nullptr, 7, 0},
    {331, "agentEventInfUnblock", nullptr, 2, 0},
    {332, "agentEventInfCompactionDetected", nullptr, 2, 0},
    {333, "agentEventInfCompactComplete", nullptr, 2, 0},
    {334, "agentEventErrCompact", nullptr, 2, 0},
    {335, "agentEventInfExpansionDetected", nullptr, 2, 0},
    {336, "agentEventInfExpandComplete", nullptr, 2, 0},
    {337, "agentEventErrExpand", nullptr, 2, 0},
    {338, "agentEventWrnCriticalLogicalDrivePeriodic", nullptr, 2, 0},
    {339, "agentEventInfCopyBackDetected", nullptr, 2, 0},
    {340, "agentEventInfCopyBackComplete", nullptr, 2, 0},
    {341, "agentEventErrCopyBack", nullptr, 2, 0},
    {342, "agentEventInfInitDetected", nullptr, 2, 0},
    {343, "agentEventInfInitComplete", nullptr, 2, 0},
    {344, "agentEventErrInit", nullptr, 2, 0},
    {345, "agentEventInfLogicalOk", nullptr, 2, 0},
    {346, "agentEventInfAddLogDrive", nullptr, 2, 0},
    {347, "agentEventInfDeleteLogDrive", nullptr, 2, 0},
    {348, "agentEventInfSnapshotPreempted", nullptr, 2, 0},
    {349, "agentEventInfRebuildAborted", nullptr, 2, 0},
    {350, "agentEventInfSyncAborted", nullptr, 2, 0},
    {351, "agentEventInfInitAborted", nullptr, 2, 0},
    {352, "agentEventInfSyncNoFixAborted", nullptr, 2, 0},
    {353, "agentEventInfInitPreempted", nullptr, 2, 0},
    {354, "agentEventInfSyncPreempted", nullptr, 2, 0},
    {355, "agentEventInfRebuildPreempted", nullptr, 2, 0},
    {356, "agentEventInfMigrationPreempted", nullptr, 2, 0},
    {357, "agentEventInfCopyBackPreempted", nullptr, 2, 0},
    {358, "agentEventInfCompactionPreempted", nullptr, 2, 0},
    {359, "agentEventInfExpansionPreempted", nullptr, 2, 0},
    {360, "agentEventInfSyncNoFixPreempted", nullptr, 2, 0},
    {398, "agentEventInfArrayStateChange", nullptr, 7, 0},
    {399, "agentEventInfLogicalStateChange", nullptr, 2, 0},
    {401, "agentEventErrDefunctDrive", nullptr, 1, 0},
    {402, "agentEventWrnPFADrive", nullptr, 1, 0},
    {403, "agentEventInfDefunctReplace", nullptr, 12, 0},
    {404, "agentEventErrDefunctDrive", "agentEventErrDefunctDriveFRU", 1, 0},
    {405, "agentEventWrnPFADriveRepl", nullptr, 1, 0},
    {406, "agentEventWrnUnsupportedPhysDrive", nullptr, 1, 0},
    {407, "agentEventInfAddDiskDrive", nullptr, 1, 0},
    {408, "agentEventInfDeleteDiskDrive", nullptr, 1, 0},
    {409, "agentEventInfHDClearDetected", nullptr, 1, 0},
    {410, "agentEventInfHDClearComplete", nullptr, 1, 0},
    {411, "agentEventErrHDClear", nullptr, 1, 0},
    {412, "agentEventInfHDSyncDetected", nullptr, 1, 0},
    {413, "agentEventInfHDSyncComplete", nullptr, 1, 0},
    {414, "agentEventErrHDSync", nullptr, 1, 0},
    {415, "agentEventInfHDVerifyDetected", nullptr, 1, 0},
    {416, "agentEventInfHDVerifyComplete", nullptr, 1, 0},
    {417, "agentEventErrHDVerify", nullptr, 1, 0},
    {418, "agentEventWrnBadBlock", nullptr, 1, 0},
    {419, "agentEventInfHDSecureEraseDetected", nullptr, 1, 0},
    {420, "agentEventInfHDSecureEraseComplete", nullptr, 1, 0},
    {421, "agentEventErrHDSecureErase", nullptr, 1, 0},
    {422, "agentEventInfBadBlockRepaired", nullptr, 1, 0},
    {423, "agentEventInfDriveMap", nullptr, 1, 0},
    {497, "agentEventInfSpareCreated", nullptr, 12, 0},
    {498, "agentEventInfSpareDeleted", nullptr, 12, 0},
    {499, "agentEventInfDriveStateChange", nullptr, 1, 0},
    {500, "agentEventErrArrayBlocked", nullptr, 2, 0},
    {501, "agentEventInfEnclOk", nullptr, 4, 0},
    {502, "agentEventErrEnclFail", nullptr, 4, 0},
    {503, "agentEventInfFanOperational", nullptr, 5, 0},
    {504, "agentEventErrFanFail", nullptr, 5, 0},
    {505, "agentEventInfFanInstalled", nullptr, 5, 0},
    {506, "agentEventWrnFanRemoved", nullptr, 5, 0},
    {507, "agentEventInfTempNormal", nullptr, 11, 0},
    {508, "agentEventErrTempFail", nullptr, 11, 0},
    {509, "agentEventInfPowerOperational", nullptr, 6, 0},
    {510, "agentEventErrPowerFail", nullptr, 6, 0},
    {511, "agentEventInfPowerInstalled", nullptr, 6, 0},
    {512, "agentEventWrnPowerRemoved", nullptr, 6, 0},
    {601, "notEventTestEvent", nullptr, UNCHANGED, 0},
};

static_assert(sizeof CODE_ROWS / sizeof CODE_ROWS[0] == 123, "one row per family code with a key");

} // namespace

std::string TarnellRaidMonitor::getEventDescription(int code, int, bool fru)
{
    logDebugGroup(NRM_DEBUG_TRACE, " In getEventDescription (switch) Event code is   = %d.\n", code);
    const uint32_t wanted = static_cast<uint32_t>(code);
    for (const CodeRow& row : CODE_ROWS) {
        if (row.code != wanted)
            continue;
        const int category = fru && row.fruCategory != 0 ? row.fruCategory : row.category;
        if (category != UNCHANGED)
            eventCategory = category;
        return fru && row.fruKey ? row.fruKey : row.key;
    }
    logDebugGroup(NRM_DEBUG_TRACE, " Event code is unknown (default case) = %d.\n", code);
    return "UnknownTarnellError";
}
