#include "RaidModel/Implementation/Tarnell/TarnellAdapterDecode.h"

#include <cstring>

namespace TarnellDecode {

namespace {
// Bit of ucParams of the first logical-drive entry: adaptive read-ahead is off.
const uint8_t VDP_PARAM_ADAPTIVE_READ_AHEAD_OFF = 0x01;
} // namespace

std::string fieldText(const uint8_t* field, size_t width)
{
    size_t length = 0;
    while (length < width && field[length] != 0)
        ++length;
    return std::string(reinterpret_cast<const char*>(field), length);
}

void versionText(const _STORAGE_VERSION& version, char (&text)[VERSION_TEXT_SIZE])
{
    std::memset(text, 0, sizeof(text));
    size_t count = version.ucTextValid;
    if (count > VERSION_TEXT_SIZE - 1)
        count = VERSION_TEXT_SIZE - 1;
    std::memcpy(text, version.ucText, count);
}

EnumControllerStatus controllerStatus(int32_t adapStatus)
{
    switch (adapStatus) {
    case 0:
        return CONTROLLER_STATUS_WORKING;
    case 1:
        return CONTROLLER_STATUS_UNKNOWN;
    case -5:
        return CONTROLLER_STATUS_INVALID_CONFIG;
    case -11:
        return CONTROLLER_STATUS_DOWN;
    default:
        return CONTROLLER_STATUS_FAILED;
    }
}

int bbcSize(uint8_t nvramType)
{
    // Type 2 is 32 and type 3 is 16: the codes are not in size order.
    static const int sizes[] = {0, 8, 32, 16, 32, 64, 128, 256, 512, 1024, 2048};
    return nvramType < sizeof(sizes) / sizeof(sizes[0]) ? sizes[nvramType] : 0;
}

int stripeUnitSize(uint8_t stripeCode)
{
    switch (stripeCode) {
    case 4:
        return STRIPE_8K;
    case 5:
        return STRIPE_16K;
    case 6:
        return STRIPE_32K;
    case 7:
        return STRIPE_64K;
    default:
        return STRIPE_UNIT_UNKNOWN;
    }
}

std::string rebuildRate(uint8_t rebuildRateCode)
{
    switch (rebuildRateCode) {
    case REBUILD_RATE_LOW:
        return "RebuildRateLow";
    case REBUILD_RATE_MEDIUM:
        return "RebuildRateMedium";
    case REBUILD_RATE_HIGH:
        return "RebuildRateHigh";
    default:
        return "error";
    }
}

void userOptions(const _USER_OPTS& opts, ConfigSettings& settings)
{
    settings.copyBack = opts.uiCopyBackEnabled() != 0;
    settings.dataScrubbing = opts.uiDataScrubDisable() == 0;
    settings.hotSwapRebuild = opts.uiHotSwapRebuild() != 0;
    settings.clustering = opts.uiCluster() != 0;
    settings.limitedBIOSCompatibility = opts.uiBiosCompat() != 0;
    settings.unattended = opts.uiAutoRearrange() != 0;
}

std::string hostID(const _ADAPTER_CONFIG& config)
{
    return fieldText(config.ucHostId, sizeof(config.ucHostId));
}

ConfigSettings configSettings(const _ADAPTER_CONFIG& config)
{
    ConfigSettings settings;
    const _VIRT_DRV_PARMS& first = config.sVirtDrv[0];
    settings.bbcSize = bbcSize(config.sHardwareDesc.ucNvramType);
    settings.stripeUnitSize = stripeUnitSize(first.ucStripeSize);
    settings.rebuildRate = rebuildRate(config.ucRebuildRate);
    settings.readAhead = (first.ucParams & VDP_PARAM_READ_AHEAD_OFF) == 0;
    settings.adaptiveReadAhead = (first.ucParams & VDP_PARAM_ADAPTIVE_READ_AHEAD_OFF) == 0;
    userOptions(config.sUserOpts, settings);
    settings.hostID = hostID(config);
    return settings;
}

std::string clusterPartnerID(const uint8_t (&buffer)[CLUSTER_PARTNER_ID_SIZE])
{
    return fieldText(buffer, CLUSTER_PARTNER_ID_SIZE);
}

namespace {

// The value the family gives feature i (0 to 44) of its capability table.
int capabilityOf(int feature, const _ADAPTER_FEATURES& features)
{
    switch (feature) {
    case FeatRaid0:
    case FeatRaid1:
    case FeatRaid5:
    case FeatRaid10:
    case FeatRaid50:
    case FeatRaid5EE:
    case FeatRaid1E:
    case FeatQuickInit:
    case FeatBuildNormal:
    case FeatEnableHDDCache:
    case FeatDataScrubbing:
    case FeatAutoRebuild:
    case FeatDownDrive:
    case FeatClustering:
    case FeatMigrate:
    case FeatSnapshot:
    case FeatReadCacheChangeable:
    case FeatCacheSupport:
    case FeatCopyBack:
        return 1;
    case FeatUltra160Scsi:
        return features.ulUltra160RL() != 0 ? 1 : 0;
    case FeatUltra320Scsi:
        return features.ulUltra160RL() >= 2 ? 1 : 0;
    default:
        return 0;
    }
}

} // namespace

void capabilityTable(const _ADAPTER_FEATURES& features, AdapterFeatures& table)
{
    for (int feature = FeatRaid0; feature <= FeatRaid60; ++feature)
        table.setFeature(static_cast<FeatureEnum>(feature), capabilityOf(feature, features));
}

bool autoSynchronization(const _ADAPTER_FEATURES& features) { return features.ulAutoSyncRL() != 0; }

bool batteryCacheSupported(const _ADAPTER_FEATURES& features) { return features.ulBBCacheRelLevel() != 0; }

bool productDataSupported(const _ADAPTER_FEATURES& features) { return features.ulAdapterFRURL() != 0; }

bool extendedBatterySupported(const _ADAPTER_FEATURES& features) { return features.ulBBCacheRelLevel() > 2; }

CacheSerials cacheSerials(const uint8_t (&answer)[BBC_ANSWER_SIZE])
{
    CacheSerials serials;
    serials.installed = fieldText(answer + BBC_SERIAL_INSTALLED_OFFSET, BBC_SERIAL_SIZE);
    serials.configured = fieldText(answer + BBC_SERIAL_CONFIGURED_OFFSET, BBC_SERIAL_SIZE);
    return serials;
}

BatteryCacheState batteryCache(const _ENQUIRY& enquiry)
{
    BatteryCacheState state;
    if ((enquiry.ucMiscFlag & 0x02) != 0) {
        if (enquiry.ucMordalErrorCode != 1) {
            state.installed = true;
            state.errorCode = enquiry.ucMordalErrorCode;
        }
    } else if ((enquiry.ucMiscFlag & 0x20) != 0) {
        state.errorCode = enquiry.ucMordalErrorCode;
    }
    return state;
}

EnumBatteryStatus batteryStatus(bool installed, int errorCode)
{
    if (!installed)
        return BATTERY_STATUS_NOT_INSTALLED;
    switch (errorCode) {
    case 16:
    case 26:
    case 27:
    case 28:
    case 30:
        return BATTERY_STATUS_FAILED;
    default:
        return BATTERY_STATUS_OK;
    }
}

AdapterVPDInfo productData(const _HostVpdData& vpd)
{
    const _ParsedVpd& parsed = vpd.FormattedVpd;
    AdapterVPDInfo info;
    info.FRU = fieldText(parsed.ucCardFru, sizeof(parsed.ucCardFru));
    info.batteryFRU = fieldText(parsed.ucBatteryFru, sizeof(parsed.ucBatteryFru));
    info.serialNumber = fieldText(parsed.ucSN, sizeof(parsed.ucSN));
    info.partNumber = fieldText(parsed.ucPartNum, sizeof(parsed.ucPartNum));
    return info;
}

std::string serialNumber(const _HostVpdData& vpd)
{
    return fieldText(vpd.FormattedVpd.ucSN, sizeof(vpd.FormattedVpd.ucSN));
}

ExtendedBatteryInfo extendedBattery(const _ENQUIRY_EXTENDED_BATTERY_STATUS& status)
{
    ExtendedBatteryInfo info;
    info.temperature = status.cTemperature;
    info.abnormalTemperature = status.ucAbnormalTemperature != 0;
    info.percentCharged = status.ucPercentCharged;
    return info;
}

ChannelSettings channelSettings(uint8_t initIdByte)
{
    static const EnumSpeed speeds[8] = {SPEED_SCSI20,  SPEED_SCSI40,  SPEED_SCSI10,  SPEED_SCSI80,
                                        SPEED_SCSI160, SPEED_SCSI320, SPEED_OPTIMAL, SPEED_SCSI5};
    ChannelSettings settings;
    settings.initiatorID = static_cast<int>(storrec::getBits(initIdByte, 0, 4));
    settings.speed = speeds[storrec::getBits(initIdByte, 5, 3)];
    return settings;
}

} // namespace TarnellDecode
