#ifndef TARNELLADAPTERDECODE_H
#define TARNELLADAPTERDECODE_H

// How the settings of a Tarnell adapter are read from the C-API records of
// its controller. Each function reads one record the adapter build has filled
// and talks to no controller.

#include <cstddef>
#include <cstdint>
#include <string>

#include "RaidLib/Util/StorExport.h"
#include "RaidModel/Implementation/Tarnell/TarnellAdapterInfo.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/AdapterFeatures.h"
#include "RaidModel/Interface/Channel.h"
#include "storagedll/storops.h"

namespace TarnellDecode {

// The version texts are 16-character buffers.
const size_t VERSION_TEXT_SIZE = 16;
// The answer of the battery-backed cache enquiry command: the enquiry record,
// then the configured and the installed cache serial numbers, 8 bytes each.
const size_t BBC_ANSWER_SIZE = 212;
const size_t BBC_SERIAL_CONFIGURED_OFFSET = 196;
const size_t BBC_SERIAL_INSTALLED_OFFSET = 204;
const size_t BBC_SERIAL_SIZE = 8;
// The stripe unit size of a code the family does not know.
const int STRIPE_UNIT_UNKNOWN = 99;

// The characters of a fixed-width field up to the first zero byte, at most
// width of them.
STOR_EXPORT std::string fieldText(const uint8_t* field, size_t width);

// The version text of a record: its first ucTextValid characters (a count,
// not a flag), at most 15 so that the buffer stays terminated; the rest of the
// buffer is zero.
STOR_EXPORT void versionText(const _STORAGE_VERSION& version, char (&text)[VERSION_TEXT_SIZE]);

STOR_EXPORT EnumControllerStatus controllerStatus(int32_t adapStatus);

// The battery-backed cache size of an NVRAM type code (0 for unknown codes).
STOR_EXPORT int bbcSize(uint8_t nvramType);

// The stripe unit size in KB of a stripe code: 8, 16, 32, 64 or 99.
STOR_EXPORT int stripeUnitSize(uint8_t stripeCode);

// "RebuildRateLow", "RebuildRateMedium", "RebuildRateHigh" or "error".
STOR_EXPORT std::string rebuildRate(uint8_t rebuildRateCode);

// The settings an adapter takes from its RAID configuration.
struct ConfigSettings {
    int bbcSize = 0;
    int stripeUnitSize = 0;
    std::string rebuildRate;
    bool readAhead = false;
    bool adaptiveReadAhead = false;
    bool copyBack = false;
    bool dataScrubbing = false;
    bool hotSwapRebuild = false;
    bool clustering = false;
    bool limitedBIOSCompatibility = false;
    bool unattended = false;
    std::string hostID;
};

// The controller options of the top byte of sUserOpts into settings.
STOR_EXPORT void userOptions(const _USER_OPTS& opts, ConfigSettings& settings);
// Everything the configuration record gives: cache size, stripe unit size,
// rebuild rate, read-ahead flags, options and host id.
STOR_EXPORT ConfigSettings configSettings(const _ADAPTER_CONFIG& config);

// The host id of the configuration, empty when its first byte is zero.
STOR_EXPORT std::string hostID(const _ADAPTER_CONFIG& config);
// The cluster partner id from GetClusterPartnerId's buffer, empty when its
// first byte is zero.
STOR_EXPORT std::string clusterPartnerID(const uint8_t (&buffer)[CLUSTER_PARTNER_ID_SIZE]);

// Sets the features 0 to 44 of a capability table, in that order.
STOR_EXPORT void capabilityTable(const _ADAPTER_FEATURES& features, AdapterFeatures& table);
STOR_EXPORT bool autoSynchronization(const _ADAPTER_FEATURES& features);
STOR_EXPORT bool batteryCacheSupported(const _ADAPTER_FEATURES& features);
STOR_EXPORT bool productDataSupported(const _ADAPTER_FEATURES& features);
STOR_EXPORT bool extendedBatterySupported(const _ADAPTER_FEATURES& features);

// The two cache serial numbers of the enquiry command's answer.
struct CacheSerials {
    std::string installed;
    std::string configured;
};
STOR_EXPORT CacheSerials cacheSerials(const uint8_t (&answer)[BBC_ANSWER_SIZE]);

// Whether a battery-backed cache is installed, and its error code.
struct BatteryCacheState {
    bool installed = false;
    int errorCode = 0;
};
STOR_EXPORT BatteryCacheState batteryCache(const _ENQUIRY& enquiry);
STOR_EXPORT EnumBatteryStatus batteryStatus(bool installed, int errorCode);

// The product data of the formatted VPD, and the controller serial number.
STOR_EXPORT AdapterVPDInfo productData(const _HostVpdData& vpd);
STOR_EXPORT std::string serialNumber(const _HostVpdData& vpd);

STOR_EXPORT ExtendedBatteryInfo extendedBattery(const _ENQUIRY_EXTENDED_BATTERY_STATUS& status);

// The initiator id (bits 0-3) and transfer speed (code in bits 5-7) of a
// channel from its byte of ucInitId.
struct ChannelSettings {
    int initiatorID = 0;
    EnumSpeed speed = SPEED_SCSI20;
};
STOR_EXPORT ChannelSettings channelSettings(uint8_t initIdByte);

} // namespace TarnellDecode

#endif
