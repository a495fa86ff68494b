// The catalogue we ship beside the monitor libraries: a text for every key
// the monitors look up, each using only the parameters its key is given.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "monitor/NLSParser.h"

namespace {

// Keys with the number of parameters the monitors pass with them.
struct Key {
    const char* key;
    int params;
};

const Key PHRASE_KEYS[] = {
    {"eventArgController", 1}, {"eventArgController2", 3}, {"eventArgControllerChannel", 2},
    {"eventArgControllerLogicalDrive", 2}, {"eventArgControllerLogicalDrive2", 2},
    {"eventArgControllerScsiDevice", 3}, {"eventArgControllerSATADevice", 2},
    {"eventArgControllerSATADeviceEnclosure", 3}, {"eventArgControllerSASDeviceEnclosure", 3},
    {"eventArgControllerSASDeviceDirect", 2}, {"eventArgControllerSASDeviceWWN", 2}, {"deviceArgFRU", 1},
    {"deviceArgVendorModel", 2}, {"LD_SUB_QUICK_INIT", 0}, {"infoLogDriveRAID1E", 0}, {"infoLogDriveRAID5E", 0},
    {"infoLogDriveRAID5EE", 0}, {"RAID00", 0}, {"RAID10", 0}, {"RAID1E0", 0}, {"RAID50", 0}, {"RAID60", 0},
    {"infoLogDriveSpannedVolume", 0}, {"infoLogDriveRaidVolume", 0}, {"infoLogDriveSimpleVolume", 0},
};

// Where raisers pass different lists with one key, the shorter counts.
const Key EVENT_KEYS[] = {
    // system and adapters
    {"agentEventInfNoControllers", 0}, {"agentEventErrController", 1}, {"agentEventErrControllerFRU", 2},
    {"agentEventInfControllerRemoved", 1}, {"agentEventErrBBCNewBattery", 1}, {"agentEventErrBBCNewBatteryFRU", 1},
    {"agentEventErrBBCFailure", 1}, {"agentEventErrBBCFailureFRU", 1}, {"agentEventErrPolling", 1},
    {"agentEventErrPollingFRU", 2}, {"agentEventInfControllerAdded", 1}, {"agentEventInfControllerReplace", 1},
    {"agentEventInfControllerFailover", 1}, {"agentEventWrnMismatchedVersions", 4},
    {"agentEventWrnBatteryOvertemp", 1}, {"agentEventJobScheduler", 0}, {"agentEventWrnControllerOvertemp", 1},
    {"agentEventWrnBatteryLow", 1}, {"agentEventWrnBadStripes", 1}, {"agentEventInfBatteryTempNormal", 1},
    {"agentEventInfBatteryNormal", 1}, {"agentEventInfControllerTempNormal", 1},
    {"agentEventWrnControllerExpiration", 0}, {"agentEventInfControllerStateChange", 1},
    // logical drives and arrays
    {"agentEventWrnLogicalCritical", 1}, {"agentEventErrLogicalBlocked", 1}, {"agentEventErrLogicalOffline", 1},
    {"agentEventInfUnblock", 1}, {"agentEventWrnCriticalLogicalDrivePeriodic", 1}, {"agentEventInfLogicalOk", 1},
    {"agentEventInfAddLogDrive", 4}, {"agentEventInfDeleteLogDrive", 1}, {"agentEventInfLogicalStateChange", 1},
    {"agentEventInfArrayStateChange", 1}, {"agentEventErrArrayBlocked", 1},
    {"agentEventInfRebuildDetected", 1}, {"agentEventInfRebuildComplete", 1}, {"agentEventErrRebuild", 1},
    {"agentEventInfRebuildAborted", 1}, {"agentEventInfRebuildPreempted", 1}, {"agentEventInfRebuildStopped", 1},
    {"agentEventInfRebuildPercentComplete", 2}, {"agentEventInfSyncDetected", 1}, {"agentEventInfSyncComplete", 1},
    {"agentEventErrSync", 1}, {"agentEventInfSyncAborted", 1}, {"agentEventInfSyncPreempted", 1},
    {"agentEventInfSyncStopped", 1}, {"agentEventInfSyncPercentComplete", 2},
    {"agentEventInfSyncNoFixDetected", 1}, {"agentEventInfSyncNoFixComplete", 1}, {"agentEventErrSyncNoFix", 1},
    {"agentEventInfSyncNoFixAborted", 1}, {"agentEventInfSyncNoFixPreempted", 1},
    {"agentEventInfSyncNoFixStopped", 1}, {"agentEventInfSyncNoFixPercentComplete", 2},
    {"agentEventInfInitDetected", 1}, {"agentEventInfInitComplete", 1}, {"agentEventErrInit", 1},
    {"agentEventInfInitAborted", 1}, {"agentEventInfInitPreempted", 1}, {"agentEventInfInitStopped", 1},
    {"agentEventInfInitPercentComplete", 2}, {"agentEventInfMigrationDetected", 1},
    {"agentEventInfMigrationComplete", 1}, {"agentEventErrMigrationFail", 1},
    {"agentEventInfMigrationPreempted", 1}, {"agentEventInfMigrationStopped", 1},
    {"agentEventInfMigrationPercentComplete", 2}, {"agentEventInfCompressionDetected", 1},
    {"agentEventInfCompressComplete", 1}, {"agentEventErrCompress", 1}, {"agentEventInfCompressStopped", 1},
    {"agentEventInfCompressPercentComplete", 2}, {"agentEventInfDecompressionDetected", 1},
    {"agentEventInfDecompressComplete", 1}, {"agentEventErrDecompress", 1},
    {"agentEventInfDecompressStopped", 1}, {"agentEventInfDecompressPercentComplete", 2},
    {"agentEventInfSnapshotDetected", 1}, {"agentEventInfSnapshotComplete", 1}, {"agentEventErrSnapshot", 1},
    {"agentEventInfSnapshotPreempted", 1}, {"agentEventInfSnapshotStopped", 1},
    {"agentEventInfCompactionDetected", 1}, {"agentEventInfCompactComplete", 1}, {"agentEventErrCompact", 1},
    {"agentEventInfCompactionPreempted", 1}, {"agentEventInfCompactStopped", 1},
    {"agentEventInfCompactPercentComplete", 2}, {"agentEventInfExpansionDetected", 1},
    {"agentEventInfExpandComplete", 1}, {"agentEventErrExpand", 1}, {"agentEventInfExpansionPreempted", 1},
    {"agentEventInfExpandStopped", 1}, {"agentEventInfExpandPercentComplete", 2},
    {"agentEventInfCopyBackDetected", 1}, {"agentEventInfCopyBackComplete", 1}, {"agentEventErrCopyBack", 1},
    {"agentEventInfCopyBackPreempted", 1},
    // physical drives
    {"agentEventErrDefunctDrive", 2}, {"agentEventErrDefunctDriveRepl", 2}, {"agentEventErrDefunctDriveFRU", 3},
    {"agentEventWrnPFADrive", 2}, {"agentEventWrnPFADriveRepl", 2}, {"agentEventInfDefunctReplace", 1},
    {"agentEventWrnUnsupportedPhysDrive", 1}, {"agentEventInfAddDiskDrive", 1},
    {"agentEventInfDeleteDiskDrive", 1}, {"agentEventInfSpareCreated", 1}, {"agentEventInfSpareDeleted", 1},
    {"agentEventInfDriveStateChange", 1}, {"agentEventWrnBadBlock", 1}, {"agentEventInfBadBlockRepaired", 1},
    {"agentEventInfHDClearDetected", 1}, {"agentEventInfHDClearComplete", 1}, {"agentEventErrHDClear", 1},
    {"agentEventInfHDSyncDetected", 1}, {"agentEventInfHDSyncComplete", 1}, {"agentEventErrHDSync", 1},
    {"agentEventInfHDVerifyDetected", 1}, {"agentEventInfHDVerifyComplete", 1}, {"agentEventErrHDVerify", 1},
    {"agentEventInfHDSecureEraseDetected", 1}, {"agentEventInfHDSecureEraseComplete", 1},
    {"agentEventErrHDSecureErase", 1}, {"agentEventInfDriveMap", 5},
    // enclosures
    {"agentEventInfEnclOk", 1}, {"agentEventErrEnclFail", 1}, {"agentEventInfTempNormal", 1},
    {"agentEventErrTempFail", 1}, {"agentEventInfFanOperational", 2}, {"agentEventErrFanFail", 2},
    {"agentEventInfFanInstalled", 2}, {"agentEventWrnFanRemoved", 2}, {"agentEventInfPowerOperational", 2},
    {"agentEventErrPowerFail", 2}, {"agentEventInfPowerInstalled", 2}, {"agentEventWrnPowerRemoved", 2},
};

void checkKeys(NLSParser& catalogue, const Key* begin, const Key* end)
{
    const std::regex placeholder("\\{([0-9]+)");
    for (const Key* k = begin; k != end; ++k) {
        std::string text = catalogue.get(k->key);
        EXPECT_FALSE(text.empty()) << k->key;
        for (std::sregex_iterator m(text.begin(), text.end(), placeholder), none; m != none; ++m)
            EXPECT_LT(std::stoi((*m)[1]), k->params) << k->key << ": " << text;
        // With its parameters every placeholder is resolved.
        std::vector<std::string> params;
        for (int i = 0; i < k->params; ++i)
            params.push_back("P" + std::to_string(i));
        std::string filled = catalogue.get(k->key, params);
        EXPECT_EQ(filled.find_first_of("{}"), std::string::npos) << k->key << ": " << filled;
    }
}

} // namespace

TEST(ShippedCatalogue, EveryKeyHasATextWithinItsParameters)
{
    NLSParser catalogue(MONITOR_CATALOGUE);
    checkKeys(catalogue, std::begin(PHRASE_KEYS), std::end(PHRASE_KEYS));
    checkKeys(catalogue, std::begin(EVENT_KEYS), std::end(EVENT_KEYS));

    // One event text as the rules build it.
    NLSParser& c = catalogue;
    std::string adapter = c.get("eventArgController", {c.get("eventArgController2", {"1", " Acme RAID #S1", "3"})});
    std::string drive = c.get("eventArgControllerScsiDevice", {adapter, "2", "5"});
    EXPECT_EQ(c.get("agentEventErrDefunctDriveRepl", {drive, c.get("deviceArgFRU", {"FRU-9"})}),
              "Controller 1 Acme RAID #S1, slot 3, channel 2, device 5 has failed. Replacement part: FRU FRU-9.");
}
