#include <gtest/gtest.h>

#include <cstring>

#include "storagedll/bridgerec.h"
#include "storagedll/raidrec.h"
#include "storagedll/sret.h"
#include "storagedll/storrec.h"

namespace {

// Copies raw bytes over the start of a record, as the library would fill it.
template <class T>
T fromBytes(std::initializer_list<std::pair<size_t, uint8_t>> bytes) {
    T rec;
    memset(&rec, 0, sizeof rec);
    unsigned char* raw = reinterpret_cast<unsigned char*>(&rec);
    for (const auto& b : bytes) {
        raw[b.first] = b.second;
    }
    return rec;
}

struct FeatureField {
    const char* name;
    unsigned word, shift, width;
    uint32_t (_ADAPTER_FEATURES::*get)() const;
    void (_ADAPTER_FEATURES::*set)(uint32_t);
};

#define FEATURE_FIELD_ROW(name, word, shift, width) \
    {#name, word, shift, width, &_ADAPTER_FEATURES::name, &_ADAPTER_FEATURES::set_##name},
const FeatureField featureFields[] = {ADAPTER_FEATURE_FIELDS(FEATURE_FIELD_ROW)};
#undef FEATURE_FIELD_ROW

} // namespace

TEST(ApiRecords, FeatureWordDecodesFromTheLeastSignificantBit)
{
    _ADAPTER_FEATURES f = fromBytes<_ADAPTER_FEATURES>({{0, 0x21}});
    EXPECT_EQ(f.ulPosRelLevel(), 1u);
    EXPECT_EQ(f.ulPosTstLevel(), 2u);
    for (const FeatureField& field : featureFields) {
        if (field.word == 0 && strcmp(field.name, "ulPosRelLevel") != 0 &&
            strcmp(field.name, "ulPosTstLevel") != 0) {
            EXPECT_EQ((f.*field.get)(), 0u) << field.name;
        }
    }

    // Byte order within a word: byte 26 is bits 16-23 of word 6 (ulDeviceID).
    _ADAPTER_FEATURES ids = fromBytes<_ADAPTER_FEATURES>({{24, 0x14}, {25, 0x10}, {26, 0x2E}, {27, 0x01}});
    EXPECT_EQ(ids.ulVendorID(), 0x1014u);
    EXPECT_EQ(ids.ulDeviceID(), 0x012Eu);
}

TEST(ApiRecords, FeatureFieldsTileTheirWordsAndSettersWriteOnlyTheirBits)
{
    uint32_t covered[9] = {};
    for (const FeatureField& field : featureFields) {
        ASSERT_LT(field.word, 9u) << field.name;
        uint32_t mask = storrec::bitMask(field.width) << field.shift;
        EXPECT_EQ(covered[field.word] & mask, 0u) << field.name << " overlaps another field";
        covered[field.word] |= mask;

        _ADAPTER_FEATURES f;
        memset(&f, 0, sizeof f);
        (f.*field.set)(0xFFFFFFFFu);
        EXPECT_EQ((f.*field.get)(), storrec::bitMask(field.width)) << field.name;
        for (unsigned w = 0; w < 9; ++w) {
            EXPECT_EQ(f.ulFeatureWord[w], w == field.word ? mask : 0u) << field.name;
        }
    }
    for (unsigned w = 0; w < 9; ++w) {
        EXPECT_EQ(covered[w], 0xFFFFFFFFu) << "word " << w;
    }
}

TEST(ApiRecords, LogicalDriveEntryDecodes)
{
    // usUserField 0x0A62 and ucRaidCacheParam 0x85.
    _VIRT_DRV_PARMS vd = fromBytes<_VIRT_DRV_PARMS>({{0, 0x62}, {1, 0x0A}, {3, 0x85}});
    EXPECT_EQ(vd.getArrayId(), 3u);
    EXPECT_EQ(vd.getCreationDay(), 10u);
    EXPECT_EQ(vd.getCreationMonth(), 2u);
    EXPECT_EQ(vd.getRaidCode(), 5u);
    EXPECT_TRUE(vd.isWriteCacheOn());
    EXPECT_FALSE(vd.isSpanned());

    _VIRT_DRV_PARMS built;
    memset(&built, 0, sizeof built);
    built.setUserField(3, 10, 2);
    EXPECT_EQ(built.usUserField, 0x0A62);

    // The RAID-5EE sub-state is bits 0-1 of the word at byte 98; the 5E/5EE
    // variants are bits 6 and 7 of ucParams.
    _VIRT_DRV_PARMS ee = fromBytes<_VIRT_DRV_PARMS>({{6, 0x80}, {98, 0xFE}});
    EXPECT_EQ(ee.getRaid5EESubState(), 2u);
    EXPECT_TRUE(ee.isRaid5EE());
    EXPECT_FALSE(ee.isRaid5E());
}

TEST(ApiRecords, ConfigurationDecodesInitIdAndUserOptions)
{
    // ucInitId byte of channel 1 at 0xA7: initiator id 7, speed code 5.
    // Byte 31 (the top byte of the options word) at 0x02: only data scrubbing off.
    _ADAPTER_CONFIG* cfg = new _ADAPTER_CONFIG;
    memset(cfg, 0, sizeof *cfg);
    reinterpret_cast<unsigned char*>(cfg)[5] = 0xA7;
    reinterpret_cast<unsigned char*>(cfg)[31] = 0x02;

    EXPECT_EQ(cfg->getInitiatorId(1), 7u);
    EXPECT_EQ(cfg->getSpeedCode(1), 5u);
    EXPECT_EQ(cfg->getInitiatorId(0), 0u);

    const _USER_OPTS& o = cfg->sUserOpts;
    EXPECT_EQ(o.uiDataScrubDisable(), 1u);
    EXPECT_EQ(o.uiCopyBackEnabled(), 0u);
    EXPECT_EQ(o.uiHotSwapRebuild(), 0u);
    EXPECT_EQ(o.uiCluster(), 0u);
    EXPECT_EQ(o.uiBiosCompat(), 0u);
    EXPECT_EQ(o.uiAutoRearrange(), 0u);

    cfg->setInitId(2, 7, 5);
    EXPECT_EQ(cfg->ucInitId[2], 0xA7);

    // Device slot [1][2] lies at 1692 + 36 * (16 + 2).
    EXPECT_EQ(reinterpret_cast<unsigned char*>(&cfg->sDevState[1][2]) -
                  reinterpret_cast<unsigned char*>(cfg),
              1692 + 36 * 18);
    delete cfg;
}

TEST(ApiRecords, SignedBigEndianAndTextFields)
{
    _ENQUIRY_EXTENDED_BATTERY_STATUS bat =
        fromBytes<_ENQUIRY_EXTENDED_BATTERY_STATUS>({{196, 0xF6}, {198, 80}});
    EXPECT_EQ(bat.cTemperature, -10);
    EXPECT_EQ(bat.ucPercentCharged, 80);

    // The entry count of a raw event log is big-endian.
    _ADAPTER_EVENT_LOG* log = new _ADAPTER_EVENT_LOG;
    memset(log, 0, sizeof *log);
    log->ucEntryCount[2] = 0x01;
    log->ucEntryCount[3] = 0x02;
    EXPECT_EQ(log->getEntryCount(), 258u);
    log->setEntryCount(0x01020304);
    EXPECT_EQ(log->ucEntryCount[0], 0x01);
    EXPECT_EQ(log->ucEntryCount[3], 0x04);
    delete log;

    // Drive FRU entry [c][t] at 192 * c + 12 * t.
    _HDD_FRU_TABLE fru;
    EXPECT_EQ(reinterpret_cast<unsigned char*>(&fru.FruPNArray[2][5]) -
                  reinterpret_cast<unsigned char*>(&fru),
              192 * 2 + 12 * 5);

    ST_SCSI_INQUIRY_DATA inq = fromBytes<ST_SCSI_INQUIRY_DATA>({{0, 0x6D}, {7, 0x32}});
    EXPECT_EQ(inq.deviceType(), 0x0Du);
    EXPECT_EQ(inq.deviceTypeQual(), 3u);
    EXPECT_EQ(inq.commandQueue(), 1u);
    EXPECT_EQ(inq.synchronous(), 1u);
    EXPECT_EQ(inq.wide16Bit(), 1u);
    EXPECT_EQ(inq.softReset(), 0u);
}

TEST(ApiRecords, SRetCopiesAllSixFields)
{
    S_Ret zero;
    EXPECT_EQ(zero.iReturnCode, 0);
    EXPECT_EQ(zero.iSignedReturnValue, 0);

    S_Ret a(-5, 1, 2, 3, 0xFFFFFFFFu, -7);
    S_Ret b;
    b = a;
    EXPECT_EQ(b.iReturnCode, -5);
    EXPECT_EQ(b.iAPIReturnCode, 1u);
    EXPECT_EQ(b.iIOCTLReturnCode, 2u);
    EXPECT_EQ(b.iRetryNumber, 3u);
    EXPECT_EQ(b.iunSignedReturnValue, 0xFFFFFFFFu);
    EXPECT_EQ(b.iSignedReturnValue, -7);

    S_Ret c(b);
    EXPECT_EQ(c.iunSignedReturnValue, 0xFFFFFFFFu);
    c.SetValues(1, 2, 3, 4, 5, 6);
    EXPECT_EQ(c.iReturnCode, 1);
    EXPECT_EQ(c.iSignedReturnValue, 6);
}
