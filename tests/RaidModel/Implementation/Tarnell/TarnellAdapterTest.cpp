#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Serialization/XMLWriter.h"

namespace {

// Reaches the logical-drive tables, which only the family's builds install.
class TableAdapter : public TarnellAdapter {
public:
    using TarnellAdapter::TarnellAdapter;
    void installTables(uint32_t hldBytes, uint32_t sldBytes)
    {
        hldTable = newLDTable(hldBytes);
        hldTableSize = hldBytes;
        sldTable = newLDTable(sldBytes);
        sldTableSize = sldBytes;
        if (sldTable)
            std::memset(sldTable, 0xA5, sldBytes);
    }
};

// A full adapter of the given model code and model id; with parts it owns a
// capability table, product data and battery data.
std::unique_ptr<TableAdapter> makeAdapter(int type, int modelID, bool withParts)
{
    char bios[] = "B100", firmware[] = "F200", driver[] = "D300";
    _ADAPTER_FEATURES levels;
    std::memset(&levels, 0, sizeof levels);
    levels.set_ulUltra160RL(2);
    AdapterVPDInfo* vpd = nullptr;
    ExtendedBatteryInfo* battery = nullptr;
    TarnellAdapterFeatures* features = nullptr;
    if (withParts) {
        vpd = new AdapterVPDInfo{"CARDFRU", "BATFRU", "SN123", "PN456"};
        battery = new ExtendedBatteryInfo{29, 97, true};
        features = new TarnellAdapterFeatures;
        features->setFeature(FeatRaid5, 1);
    }
    return std::unique_ptr<TableAdapter>(new TableAdapter(
        type, modelID, 2, CONTROLLER_STATUS_WORKING, bios, firmware, driver, 3, true, 128, 17, true, false, 32,
        "RebuildRateMedium", true, false, true, true, false, true, false, 4, 1, vpd, battery, "HOSTA", "HOSTB",
        "INST0001", "CONF0001", 8, 2, 3, 4, 15, 16, 16, 0, 64, 0, levels, features));
}

std::string elementOf(const RaidObject& o)
{
    char* text = nullptr;
    {
        XMLWriter w(&text);
        w.writeObject(o);
    }
    std::string s(text);
    delete[] text;
    return s;
}

class TarnellAdapterTest : public ::testing::Test {
protected:
    void SetUp() override { TarnellAdapter::resetAdapterIDsForTest(); }
    void TearDown() override { TarnellAdapter::resetAdapterIDsForTest(); }
};

TEST_F(TarnellAdapterTest, ModelIdsAreHandedOutInFirstSeenOrder)
{
    EXPECT_EQ(0, TarnellAdapter::getUniqueID(7));
    EXPECT_EQ(1, TarnellAdapter::getUniqueID(3));
    EXPECT_EQ(0, TarnellAdapter::getUniqueID(7));

    auto second = makeAdapter(TARNELL_B2, 1, false);
    EXPECT_EQ(3, second->getTNCAdllID());
    auto first = makeAdapter(TARNELL_B2, 0, false);
    EXPECT_EQ(7, first->getTNCAdllID());
    first->setTNCAdllID(9);
    EXPECT_EQ(9, first->getTNCAdllID());
    EXPECT_EQ(0, TarnellAdapter::getUniqueID(9));
}

TEST_F(TarnellAdapterTest, UnknownModelIdHasNoControllerNumber)
{
    TarnellAdapter::getUniqueID(7);
    auto unknown = makeAdapter(TARNELL_B2, 5, false);
    EXPECT_EQ(-1, unknown->getTNCAdllID());
    unknown->setTNCAdllID(4);                     // ignored: id 5 was never handed out
    EXPECT_EQ(-1, unknown->getTNCAdllID());
    EXPECT_EQ(1, TarnellAdapter::getUniqueID(4)); // the table did not grow

    TarnellAdapter plain;                          // no adapter id at all
    EXPECT_EQ(-1, plain.getTNCAdllID());
}

TEST_F(TarnellAdapterTest, ModelNames)
{
    const struct {
        int type;
        const char* name;
    } rows[] = {{5, "ZEQ Tarnell B1"},  {6, "ZEQ Tarnell B2"},  {7, "ZEQ Tarnell C0"},
                {8, "ZEQ Tarnell B3"},  {9, "ZEQ Tarnell B2"},  {10, "ZEQ Tarnell C3"},
                {11, "ZEQ Tarnell C4"}, {12, "ZEQ Tarnell D1"}, {13, "ZEQ Tarnell D2"},
                {14, "ZEQ Tarnell E1"}, {15, "ZEQ Tarnell E2"}, {16, "ZEQ Tarnell E3"},
                {17, "ZEQ Tarnell F1"}, {4, "ZEQ Tarnell Family"}, {18, "ZEQ Tarnell Family"},
                {32, "ZEQ Tarnell Family"}, {-1, "ZEQ Tarnell Family"}};
    for (const auto& row : rows)
        EXPECT_STREQ(row.name, makeAdapter(row.type, 0, false)->getDeviceName()) << row.type;
    EXPECT_STREQ("ZEQ Tarnell Family", TarnellAdapter().getDeviceName());
}

TEST_F(TarnellAdapterTest, ClassTests)
{
    TarnellAdapter a;
    EXPECT_TRUE(a.isInstanceOf("TarnellAdapter"));
    EXPECT_TRUE(a.isInstanceOf("Adapter"));
    EXPECT_TRUE(a.isInstanceOf("RaidObject"));
    EXPECT_FALSE(a.isInstanceOf("TarnellAdapte"));
    EXPECT_FALSE(a.isInstanceOf("TarnellAdapterX"));
    EXPECT_FALSE(a.isInstanceOf(nullptr));
    EXPECT_STREQ("TarnellAdapter", a.typeName());
    EXPECT_STREQ("Controller", a.serializedName());
}

TEST_F(TarnellAdapterTest, ElementCarriesTheFamilyAttributesAfterTheBaseOnes)
{
    auto a = makeAdapter(TARNELL_C1, 0, true);
    const std::string xml = elementOf(*a);
    const std::string tail =
        " sataHDCacheMode=\"3\" maxConfiguredDrives=\"0\" maxGlobalSpares=\"64\" "
        "maxAssignedSparesPerArray=\"0\" ReadAheadCacheMode=\"1\" AdaptiveReadAhead=\"0\" "
        "StripeUnitSize=\"32\" RebuildRate=\"RebuildRateMedium\" HotSwapRebuild=\"1\" CopyBack=\"0\" "
        "DataScrubbing=\"1\" AutoSynchronization=\"1\" Clustering=\"0\" LimitedBIOSCompatibility=\"1\" "
        "pciVendorID=\"0\" pciDeviceID=\"0\" deviceName=\"ZEQ Tarnell B3\"/>";
    ASSERT_GE(xml.size(), tail.size());
    EXPECT_EQ(tail, xml.substr(xml.size() - tail.size())) << xml;
    EXPECT_EQ(0u, xml.find("<Controller typeName=\"TarnellAdapter\"")) << xml;
}

TEST_F(TarnellAdapterTest, ConstructionLimitsAndFeatures)
{
    auto a = makeAdapter(TARNELL_B2, 0, true);
    EXPECT_EQ(0u, a->getReservedInBeginning());
    EXPECT_EQ(272u, a->getReservedInEnd());
    EXPECT_EQ(0u, TarnellAdapter().getReservedInEnd());

    EXPECT_EQ(8, a->getLimit(MAX_LOGICAL_DRIVES));
    EXPECT_EQ(2, a->getLimit(MAX_ARRAYS));
    EXPECT_EQ(0, a->getLimit(MAX_CONFIGURED_DRIVES));
    EXPECT_EQ(64, a->getLimit(MAX_GLOBAL_SPARES));
    EXPECT_EQ(0, a->getLimit(MAX_HOT_SPARES));

    // The adapter's own table, reached through the base's virtual operations.
    Adapter& base = *a;
    EXPECT_EQ(1, base.getFeature(FeatRaid5));
    base.setFeature(FeatCopyBack, 1);
    EXPECT_EQ(1, a->getTarnellAdapterFeatures()->getFeature(FeatCopyBack));

    TarnellAdapter bare;
    bare.setFeature(FeatRaid5, 1);
    EXPECT_EQ(0, bare.getFeature(FeatRaid5));
}

TEST_F(TarnellAdapterTest, CopySharesNothingAndLacksWhatTheOriginalLacks)
{
    auto bare = makeAdapter(TARNELL_B2, 0, false);
    bare->installTables(0, 0);
    TarnellAdapter bareCopy(*bare);
    EXPECT_EQ(nullptr, bareCopy.getAdapterVPDInfo());
    EXPECT_EQ(nullptr, bareCopy.getExtendedBatteryInfo());
    EXPECT_EQ(nullptr, bareCopy.getTarnellAdapterFeatures());
    EXPECT_EQ(nullptr, bareCopy.getHLDTable());
    EXPECT_EQ(nullptr, bareCopy.getSLDTable());
    EXPECT_EQ(0, bareCopy.getFeature(FeatRaid0));

    auto full = makeAdapter(TARNELL_C1, 0, true);
    full->installTables(0, 2 * sizeof(_VIRT_DRV_PARMS));
    full->getHLDdllIDs()[3] = 1;
    full->getSLDdllIDs()[63] = 1;
    std::unique_ptr<TarnellAdapter> copy(new TarnellAdapter(*full));

    ASSERT_NE(nullptr, copy->getAdapterVPDInfo());
    EXPECT_NE(full->getAdapterVPDInfo(), copy->getAdapterVPDInfo());
    EXPECT_EQ("SN123", copy->getAdapterVPDInfo()->serialNumber);
    EXPECT_EQ("PN456", copy->getAdapterVPDInfo()->partNumber);
    ASSERT_NE(nullptr, copy->getExtendedBatteryInfo());
    EXPECT_NE(full->getExtendedBatteryInfo(), copy->getExtendedBatteryInfo());
    EXPECT_EQ(29, copy->getExtendedBatteryInfo()->temperature);
    EXPECT_TRUE(copy->getExtendedBatteryInfo()->abnormalTemperature);
    ASSERT_NE(nullptr, copy->getTarnellAdapterFeatures());
    EXPECT_NE(full->getTarnellAdapterFeatures(), copy->getTarnellAdapterFeatures());
    // The capability table's copy keeps the feature levels, not the generic table.
    EXPECT_EQ(0, copy->getFeature(FeatRaid5));

    EXPECT_EQ(nullptr, copy->getHLDTable());
    ASSERT_NE(nullptr, copy->getSLDTable());
    EXPECT_NE(full->getSLDTable(), copy->getSLDTable());
    EXPECT_EQ(full->getSLDTableSize(), copy->getSLDTableSize());
    EXPECT_EQ(0, std::memcmp(full->getSLDTable(), copy->getSLDTable(), 2 * sizeof(_VIRT_DRV_PARMS)));
    EXPECT_EQ(1, copy->getHLDdllIDs()[3]);
    EXPECT_EQ(1, copy->getSLDdllIDs()[63]);

    EXPECT_EQ(64, copy->getLimit(MAX_GLOBAL_SPARES));
    EXPECT_EQ(272u, copy->getReservedInEnd());
    EXPECT_STREQ("ZEQ Tarnell B3", copy->getDeviceName());
    EXPECT_EQ("RebuildRateMedium", copy->getRebuildRate());
    EXPECT_EQ("HOSTB", copy->getClusterPartnerID());
    EXPECT_EQ("CONF0001", copy->getBBCSerialNumberConfig());
    // The family's attributes are the same (the base copy leaves the address out).
    auto familyPart = [](const std::string& xml) { return xml.substr(xml.find(" maxConfiguredDrives=")); };
    EXPECT_EQ(familyPart(elementOf(*full)), familyPart(elementOf(*copy)));

    full.reset();   // the copy outlives its original
    EXPECT_EQ("CARDFRU", copy->getAdapterVPDInfo()->FRU);
}

TEST(TarnellAdapterFeatures, CopyKeepsLevelsButNotTheGenericTable)
{
    TarnellAdapterFeatures features;
    features.setFeature(FeatRaid1, 1);
    TarnellAdapterFeatures copy(features);
    EXPECT_EQ(0, copy.getFeature(FeatRaid1));
    const TarnellFeatureLevels levels = copy.getTarnellFeatureLevels();
    const TarnellFeatureLevels zero = {};
    EXPECT_EQ(0, std::memcmp(&zero, &levels, sizeof levels));

    EXPECT_TRUE(copy.isInstanceOf("TarnellAdapterFeatures"));
    EXPECT_TRUE(copy.isInstanceOf("AdapterFeatures"));
    EXPECT_TRUE(copy.isInstanceOf("RaidObject"));
    EXPECT_FALSE(copy.isInstanceOf("tarnellAdapterFeatures"));
    EXPECT_STREQ("TarnellAdapterFeatures", copy.typeName());
    EXPECT_EQ(0u, elementOf(features).find("<AdapterFeatures ")) << elementOf(features);
}

} // namespace
