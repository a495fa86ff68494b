#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>

#include "RaidModel/Implementation/Tarnell/TarnellAdapterDecode.h"

namespace {

using namespace TarnellDecode;

_STORAGE_VERSION versionRecord(uint8_t textValid, const char* text)
{
    _STORAGE_VERSION v;
    std::memset(&v, 0, sizeof v);
    std::memcpy(v.ucText, text, std::min(std::strlen(text), sizeof v.ucText));
    v.ucTextValid = textValid;
    return v;
}

TEST(TarnellAdapterDecode, VersionTextTakesTextValidCharactersAndStaysTerminated)
{
    struct Case {
        uint8_t textValid;
        const char* text;
        const char* expected;
    } cases[] = {
        {5, "1.23abcdefgh", "1.23a"},
        {0, "1.23abcdefgh", ""},
        {16, "0123456789ABCDEF", "0123456789ABCDE"},   // a full field: 15 characters and the terminator
        {200, "0123456789ABCDEF", "0123456789ABCDE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.textValid));
        char text[VERSION_TEXT_SIZE];
        std::memset(text, 'X', sizeof text);
        versionText(versionRecord(c.textValid, c.text), text);
        EXPECT_EQ(0, text[VERSION_TEXT_SIZE - 1]);
        EXPECT_STREQ(c.expected, text);
    }
}

TEST(TarnellAdapterDecode, CodeTables)
{
    const struct {
        int32_t code;
        EnumControllerStatus status;
    } statuses[] = {{0, CONTROLLER_STATUS_WORKING},  {1, CONTROLLER_STATUS_UNKNOWN},
                    {-5, CONTROLLER_STATUS_INVALID_CONFIG}, {-11, CONTROLLER_STATUS_DOWN},
                    {-3, CONTROLLER_STATUS_FAILED},  {2, CONTROLLER_STATUS_FAILED}};
    for (const auto& c : statuses)
        EXPECT_EQ(c.status, controllerStatus(c.code)) << c.code;

    const int sizes[] = {0, 8, 32, 16, 32, 64, 128, 256, 512, 1024, 2048, 0};
    for (int type = 0; type < 12; ++type)
        EXPECT_EQ(sizes[type], bbcSize(static_cast<uint8_t>(type))) << type;
    EXPECT_EQ(0, bbcSize(255));

    const struct {
        uint8_t code;
        int kb;
    } stripes[] = {{3, 99}, {4, 8}, {5, 16}, {6, 32}, {7, 64}, {8, 99}, {0, 99}};
    for (const auto& c : stripes)
        EXPECT_EQ(c.kb, stripeUnitSize(c.code)) << int(c.code);

    EXPECT_EQ("RebuildRateLow", rebuildRate(1));
    EXPECT_EQ("RebuildRateMedium", rebuildRate(8));
    EXPECT_EQ("RebuildRateHigh", rebuildRate(15));
    EXPECT_EQ("error", rebuildRate(4));
    EXPECT_EQ("error", rebuildRate(0));
}

TEST(TarnellAdapterDecode, UserOptionBits)
{
    const struct {
        uint8_t byte31;
        bool copyBack, dataScrubbing, hotSwapRebuild, clustering, biosCompat, unattended;
    } cases[] = {
        {0x00, false, true, false, false, false, false},
        {0x02, false, false, false, false, false, false},   // scrub-disable bit only
        {0x01, true, true, false, false, false, false},
        {0x04, false, true, true, false, false, false},
        {0x10, false, true, false, true, false, false},
        {0x20, false, true, false, false, true, false},
        {0x80, false, true, false, false, false, true},
        {0x48, false, true, false, false, false, false},    // bits 3 and 6 are not used
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.byte31));
        _USER_OPTS opts;
        opts.ulOpts = (uint32_t(c.byte31) << 24) | 0x00FFFFFFu;   // the lower bits do not matter
        ConfigSettings s;
        userOptions(opts, s);
        EXPECT_EQ(c.copyBack, s.copyBack);
        EXPECT_EQ(c.dataScrubbing, s.dataScrubbing);
        EXPECT_EQ(c.hotSwapRebuild, s.hotSwapRebuild);
        EXPECT_EQ(c.clustering, s.clustering);
        EXPECT_EQ(c.biosCompat, s.limitedBIOSCompatibility);
        EXPECT_EQ(c.unattended, s.unattended);
    }
}

TEST(TarnellAdapterDecode, ConfigurationRecordAndHostIds)
{
    _ADAPTER_CONFIG config;
    std::memset(&config, 0, sizeof config);
    config.sHardwareDesc.ucNvramType = 2;
    config.sVirtDrv[0].ucStripeSize = 6;
    config.sVirtDrv[0].ucParams = 0x20;     // read-ahead off, adaptive read-ahead on
    config.ucRebuildRate = 15;
    std::memcpy(config.ucHostId, "\0BCDEFGHIJKL", 12);

    ConfigSettings s = configSettings(config);
    EXPECT_EQ(32, s.bbcSize);
    EXPECT_EQ(32, s.stripeUnitSize);
    EXPECT_EQ("RebuildRateHigh", s.rebuildRate);
    EXPECT_FALSE(s.readAhead);
    EXPECT_TRUE(s.adaptiveReadAhead);
    EXPECT_EQ("", s.hostID);   // a leading zero byte: no host id, whatever follows

    config.sVirtDrv[0].ucParams = 0x01;
    std::memcpy(config.ucHostId, "ABCDEFGHIJKL", 12);   // no terminator: all 12 characters
    s = configSettings(config);
    EXPECT_TRUE(s.readAhead);
    EXPECT_FALSE(s.adaptiveReadAhead);
    EXPECT_EQ("ABCDEFGHIJKL", s.hostID);

    uint8_t partner[CLUSTER_PARTNER_ID_SIZE] = {'P', 'A', 'R', 'T', 0, 'X'};
    EXPECT_EQ("PART", clusterPartnerID(partner));
    partner[0] = 0;
    EXPECT_EQ("", clusterPartnerID(partner));
}

TEST(TarnellAdapterDecode, CapabilityTableSetsFeatures0To44Only)
{
    const std::set<int> on = {FeatRaid0, FeatRaid1, FeatRaid5, FeatRaid10, FeatRaid50,
                              FeatRaid5EE, FeatRaid1E, FeatQuickInit, FeatBuildNormal,
                              FeatEnableHDDCache, FeatDataScrubbing, FeatAutoRebuild, FeatDownDrive,
                              FeatClustering, FeatMigrate, FeatSnapshot, FeatReadCacheChangeable,
                              FeatCacheSupport, FeatCopyBack};
    const struct {
        uint32_t ultra160;
        int feat160, feat320;
    } cases[] = {{0, 0, 0}, {1, 1, 0}, {2, 1, 1}, {7, 1, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ultra160);
        _ADAPTER_FEATURES features;
        std::memset(&features, 0, sizeof features);
        features.set_ulUltra160RL(c.ultra160);
        AdapterFeatures table;
        table.setAll(7);
        capabilityTable(features, table);
        for (int f = 0; f <= 44; ++f) {
            int expected = on.count(f) ? 1 : 0;
            if (f == FeatUltra160Scsi)
                expected = c.feat160;
            if (f == FeatUltra320Scsi)
                expected = c.feat320;
            EXPECT_EQ(expected, table.getFeature(static_cast<FeatureEnum>(f))) << f;
        }
        EXPECT_EQ(7, table.getFeature(Feat64BitLBA));
        EXPECT_EQ(7, table.getFeature(FeatBkgrndScrubInDays));
    }

    _ADAPTER_FEATURES features;
    std::memset(&features, 0, sizeof features);
    EXPECT_FALSE(autoSynchronization(features));
    EXPECT_FALSE(batteryCacheSupported(features));
    EXPECT_FALSE(productDataSupported(features));
    features.set_ulAutoSyncRL(1);
    features.set_ulAdapterFRURL(1);
    features.set_ulBBCacheRelLevel(2);
    EXPECT_TRUE(autoSynchronization(features));
    EXPECT_TRUE(productDataSupported(features));
    EXPECT_TRUE(batteryCacheSupported(features));
    EXPECT_FALSE(extendedBatterySupported(features));
    features.set_ulBBCacheRelLevel(3);
    EXPECT_TRUE(extendedBatterySupported(features));
}

TEST(TarnellAdapterDecode, BatteryCacheAndBatteryStatus)
{
    const struct {
        uint8_t miscFlag, errorCode;
        bool installed;
        int code;
        EnumBatteryStatus status;
    } cases[] = {
        {0x22, 1, false, 0, BATTERY_STATUS_NOT_INSTALLED},
        {0x20, 7, false, 7, BATTERY_STATUS_NOT_INSTALLED},
        {0x00, 9, false, 0, BATTERY_STATUS_NOT_INSTALLED},
        {0x02, 0, true, 0, BATTERY_STATUS_OK},
        {0x02, 17, true, 17, BATTERY_STATUS_OK},
        {0x02, 16, true, 16, BATTERY_STATUS_FAILED},
        {0x02, 26, true, 26, BATTERY_STATUS_FAILED},
        {0x02, 27, true, 27, BATTERY_STATUS_FAILED},
        {0x02, 28, true, 28, BATTERY_STATUS_FAILED},
        {0x02, 30, true, 30, BATTERY_STATUS_FAILED},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.miscFlag) << "/" << int(c.errorCode));
        _ENQUIRY enquiry;
        std::memset(&enquiry, 0, sizeof enquiry);
        enquiry.ucMiscFlag = c.miscFlag;
        enquiry.ucMordalErrorCode = c.errorCode;
        BatteryCacheState state = batteryCache(enquiry);
        EXPECT_EQ(c.installed, state.installed);
        EXPECT_EQ(c.code, state.errorCode);
        EXPECT_EQ(c.status, batteryStatus(state.installed, state.errorCode));
    }

    _ENQUIRY_EXTENDED_BATTERY_STATUS battery;
    std::memset(&battery, 0, sizeof battery);
    reinterpret_cast<uint8_t*>(&battery)[196] = 0xF6;
    battery.ucAbnormalTemperature = 2;
    battery.ucPercentCharged = 97;
    ExtendedBatteryInfo info = extendedBattery(battery);
    EXPECT_EQ(-10, info.temperature);
    EXPECT_TRUE(info.abnormalTemperature);
    EXPECT_EQ(97, info.percentCharged);
}

TEST(TarnellAdapterDecode, ProductDataAndCacheSerialTexts)
{
    _HostVpdData vpd;
    std::memset(&vpd, 0, sizeof vpd);
    std::memcpy(vpd.FormattedVpd.ucPartNum, "PN-1", 4);
    std::memcpy(vpd.FormattedVpd.ucSN, "SN0123456789ABCD", 16);    // the whole field
    std::memcpy(vpd.FormattedVpd.ucEC, "EC", 2);                   // follows the serial number
    std::memcpy(vpd.FormattedVpd.ucCardFru, "CARDFRU", 7);
    std::memcpy(vpd.FormattedVpd.ucBatteryFru, "BATFRU", 6);
    AdapterVPDInfo info = productData(vpd);
    EXPECT_EQ("CARDFRU", info.FRU);
    EXPECT_EQ("BATFRU", info.batteryFRU);
    EXPECT_EQ("SN0123456789ABCD", info.serialNumber);
    EXPECT_EQ("PN-1", info.partNumber);
    EXPECT_EQ("SN0123456789ABCD", serialNumber(vpd));

    uint8_t answer[BBC_ANSWER_SIZE] = {};
    std::memcpy(answer + 196, "CONFIG01", 8);
    std::memcpy(answer + 204, "INST", 4);
    CacheSerials serials = cacheSerials(answer);
    EXPECT_EQ("CONFIG01", serials.configured);
    EXPECT_EQ("INST", serials.installed);
}

TEST(TarnellAdapterDecode, ChannelInitiatorAndSpeed)
{
    const EnumSpeed speeds[8] = {SPEED_SCSI20,  SPEED_SCSI40,  SPEED_SCSI10,  SPEED_SCSI80,
                                 SPEED_SCSI160, SPEED_SCSI320, SPEED_OPTIMAL, SPEED_SCSI5};
    for (unsigned code = 0; code < 8; ++code) {
        // Bit 4 is not used.
        ChannelSettings c = channelSettings(static_cast<uint8_t>((code << 5) | 0x10 | 0x0C));
        EXPECT_EQ(12, c.initiatorID) << code;
        EXPECT_EQ(speeds[code], c.speed) << code;
    }
    ChannelSettings c = channelSettings(0xA7);
    EXPECT_EQ(7, c.initiatorID);
    EXPECT_EQ(SPEED_SCSI320, c.speed);
}

} // namespace
