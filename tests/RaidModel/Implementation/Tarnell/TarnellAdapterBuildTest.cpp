#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "RaidModel/Filters/FilterCollection.h"
#include "RaidModel/Implementation/Tarnell/TarnellConfigBuilder.h"
#include "RaidModel/Implementation/Tarnell/TarnellSimTree.h"
#include "RaidModel/Implementation/Tarnell/TarnellSystem.h"
#include "RaidModel/Interface/LogicalDriveSpec.h"
#include "RaidModel/Serialization/XMLWriter.h"

// The adapter factory and the configuration builder against the simulated
// controllers.

using namespace tarnelltest;

namespace {

_STORAGE_ADDRESS_ID addressOf(int capiNumber)
{
    _STORAGE_ADDRESS_ID address;
    std::memset(&address, 0, sizeof address);
    address.usAdapterID = static_cast<uint16_t>(capiNumber);
    return address;
}

std::unique_ptr<TarnellAdapter, void (*)(TarnellAdapter*)> build(int capiNumber)
{
    _STORAGE_ADDRESS_ID address = addressOf(capiNumber);
    return {TarnellAdapter::build(address), [](TarnellAdapter* a) {
                if (a) {
                    a->deleteAllChildren();
                    delete a;
                }
            }};
}

int countOf(RaidObject* root, const char* className)
{
    FilterCollection objects(root);
    objects.apply(className, false);
    return static_cast<int>(objects.size());
}

std::string documentOf(const System& system)
{
    char* text = nullptr;
    {
        XMLWriter writer(&text);
        writer.writeTree(&system);
    }
    std::string document(text ? text : "");
    delete[] text;
    return document;
}

size_t occurrences(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

using TarnellAdapterBuildTest = SimTest;

TEST_F(TarnellAdapterBuildTest, ControllerOfTheDefaultScenario)
{
    auto adapter = build(CONTROLLER_A);
    ASSERT_NE(nullptr, adapter);
    EXPECT_EQ(0u, adapter->getAdapterID());
    EXPECT_EQ(CONTROLLER_A, adapter->getTNCAdllID());
    EXPECT_EQ(TARNELL_B2, adapter->getAdapterType());
    EXPECT_STREQ("ZEQ Tarnell B2", adapter->getDeviceName());
    EXPECT_EQ(3, countOf(adapter.get(), "TarnellSCSIChannel"));
    EXPECT_EQ("ZEQHOST-A", adapter->getHostID());
    EXPECT_EQ(32, adapter->getStripeUnitSize());
    EXPECT_TRUE(adapter->getCopyBack());
    EXPECT_TRUE(adapter->getBatteryCacheInstalled());
    EXPECT_EQ(BATTERY_STATUS_OK, adapter->getBatStatus());
    ASSERT_NE(nullptr, adapter->getExtendedBatteryInfo());
    EXPECT_EQ(29, adapter->getExtendedBatteryInfo()->temperature);
    ASSERT_NE(nullptr, adapter->getAdapterVPDInfo());
    EXPECT_STRNE("", adapter->getSerialNumString());
    EXPECT_EQ(adapter->getAdapterVPDInfo()->serialNumber, adapter->getSerialNumString());
    EXPECT_EQ(64, adapter->getLimit(MAX_GLOBAL_SPARES));
    EXPECT_EQ(2, adapter->getLimit(MAX_ARRAYS));
    EXPECT_EQ(1, adapter->getFeature(FeatRaid5));

    // The enquiry command was sent as the battery-backed cache needs it.
    const auto enquiry = callsOf("ExecAdapterCmnd");
    ASSERT_FALSE(enquiry.empty());
    EXPECT_EQ(CONTROLLER_A, enquiry[0].address.usAdapterID);
    EXPECT_EQ("BB4A0117", adapter->getBBCSerialNumber());

    // Its channels, devices and logical drives are below it.
    EXPECT_EQ(18, countOf(adapter.get(), "HardDrive"));
    EXPECT_EQ(1, countOf(adapter.get(), "Enclosure"));
    EXPECT_EQ(7, countOf(adapter.get(), "LogicalDrive"));

    // The same controller keeps its model id; the second gets the next one.
    EXPECT_EQ(0u, build(CONTROLLER_A)->getAdapterID());
    EXPECT_EQ(1u, build(CONTROLLER_B)->getAdapterID());
}

TEST_F(TarnellAdapterBuildTest, EachFailureIsLoggedWithItsText)
{
    struct Case {
        const char* entry;
        const char* line; // "" : nothing logged
        bool built;
    };
    const Case cases[] = {
        {"RaidAdapterInfo", "<Fatal> Retrieving adapter information failed", false},
        {"AdapterStatus", "<Fatal> Retrieving adapter status failed", false},
        {"GetAdapterRaidConfig", "<Fatal> Retrieving adapter raid configuration failed", false},
        {"GetSupportedFeatures", "<Fatal> Retrieving adapter's supported features failed", false},
        {"CheckCodeVersions", "<Warning> Adapter version match check failed", true},
        {"GetDeviceDriverVersion", "", true},
        {"GetClusterPartnerId", "", true},
        {"ExecAdapterCmnd", "", true},
        {"GetAdapterFruData", "", true},
        {"GetExtendedBatteryData", "", true},
    };
    for (const Case& c : cases) {
        TarnellUtils::openLog();
        tarnellsim::injectFailure(c.entry, tarnellsim::RC_BUSY, CONTROLLER_A);
        auto adapter = build(CONTROLLER_A);
        tarnellsim::clearFailures();
        EXPECT_EQ(c.built, adapter != nullptr) << c.entry;
        if (*c.line)
            EXPECT_NE(std::string::npos, familyLog().find(c.line)) << c.entry;
        else
            EXPECT_EQ("", familyLog()) << c.entry;
    }

    // What the optional reads leave when they fail.
    tarnellsim::injectFailure("GetExtendedBatteryData", tarnellsim::RC_BUSY);
    tarnellsim::injectFailure("GetAdapterFruData", tarnellsim::RC_BUSY);
    tarnellsim::injectFailure("ExecAdapterCmnd", tarnellsim::RC_BUSY);
    tarnellsim::injectFailure("GetDeviceDriverVersion", tarnellsim::RC_BUSY);
    auto adapter = build(CONTROLLER_A);
    ASSERT_NE(nullptr, adapter);
    ASSERT_NE(nullptr, adapter->getExtendedBatteryInfo());
    EXPECT_EQ(0, adapter->getExtendedBatteryInfo()->percentCharged);
    ASSERT_NE(nullptr, adapter->getAdapterVPDInfo());
    EXPECT_EQ("", adapter->getAdapterVPDInfo()->serialNumber);
    EXPECT_STREQ("", adapter->getSerialNumString());
    EXPECT_EQ("", adapter->getBBCSerialNumber());
    EXPECT_FALSE(adapter->getBatteryCacheInstalled());
    EXPECT_STREQ("", adapter->getDeviceDriverVersion());

    stdoutOf([this] { withoutControllerAccess(); });
    TarnellUtils::openLog();
    std::unique_ptr<TarnellAdapter, void (*)(TarnellAdapter*)> none(nullptr, nullptr);
    stdoutOf([&] { none = build(CONTROLLER_A); });
    EXPECT_EQ(nullptr, none);
    EXPECT_EQ("", familyLog());
}

TEST_F(TarnellAdapterBuildTest, OptionalRecordsFollowTheFeatureRecord)
{
    // Controller 5: battery-backed cache release level 2, no product data.
    auto c0 = build(CONTROLLER_B);
    ASSERT_NE(nullptr, c0);
    EXPECT_EQ(nullptr, c0->getExtendedBatteryInfo());
    EXPECT_EQ(nullptr, c0->getAdapterVPDInfo());
    EXPECT_STREQ("", c0->getSerialNumString());
    EXPECT_TRUE(callsOf("GetExtendedBatteryData").empty());
    EXPECT_TRUE(callsOf("GetAdapterFruData").empty());

    // Without battery-backed cache support no command is sent.
    tarnellsim::Scenario s = tarnellsim::defaultScenario();
    s.controllers[0].features.set_ulBBCacheRelLevel(0);
    tarnellsim::reset(s);
    auto b2 = build(CONTROLLER_A);
    ASSERT_NE(nullptr, b2);
    // The cache enquiry would come before the code-version check (the
    // logical-drive build sends the same command later for its own ends).
    for (const tarnellsim::Call& call : tarnellsim::calls()) {
        if (call.name == "CheckCodeVersions")
            break;
        EXPECT_NE("ExecAdapterCmnd", call.name);
    }
    EXPECT_EQ("", b2->getBBCSerialNumber());
    EXPECT_EQ("", b2->getBBCSerialNumberConfig());
    EXPECT_FALSE(b2->getBatteryCacheInstalled());
    EXPECT_EQ(BATTERY_STATUS_NOT_INSTALLED, b2->getBatStatus());
}

// A failed physical-device build leaves the adapter with its channels only; a
// failed logical-device build leaves it with its devices.
TEST_F(TarnellAdapterBuildTest, FailedDeviceBuildsStillGiveTheAdapter)
{
    tarnellsim::injectFailure("RaidAdapterInfo", tarnellsim::RC_BUSY, CONTROLLER_A, false, 1);
    auto withoutDevices = build(CONTROLLER_A);
    ASSERT_NE(nullptr, withoutDevices);
    EXPECT_EQ(3, countOf(withoutDevices.get(), "Channel"));
    EXPECT_EQ(0, countOf(withoutDevices.get(), "PhysicalDevice"));
    EXPECT_EQ(0, countOf(withoutDevices.get(), "LogicalDrive"));
    EXPECT_TRUE(callsOf("GetVirtDevLdTable").empty()) << "no logical-device build";

    tarnellsim::injectFailure("GetVirtDevLdTable", tarnellsim::RC_BUSY, CONTROLLER_A, true);
    auto withoutDrives = build(CONTROLLER_A);
    ASSERT_NE(nullptr, withoutDrives);
    EXPECT_EQ(18, countOf(withoutDrives.get(), "HardDrive"));
    EXPECT_EQ(0, countOf(withoutDrives.get(), "LogicalDrive"));
}

TEST_F(TarnellAdapterBuildTest, AtMostFourChannels)
{
    tarnellsim::Scenario s = tarnellsim::defaultScenario();
    s.controllers[0].channelCount = 6;
    tarnellsim::reset(s);
    auto adapter = build(CONTROLLER_A);
    ASSERT_NE(nullptr, adapter);
    EXPECT_EQ(4, countOf(adapter.get(), "TarnellSCSIChannel"));
    for (int id = 0; id < 4; ++id)
        EXPECT_NE(nullptr, adapter->getChannel(id)) << id;
}

// Creation checks the level against the array the chunks form and hands the
// request to the basic or the spanned drive class.
TEST_F(TarnellAdapterBuildTest, CreationDispatchesByLevelAndArray)
{
    auto adapter = build(CONTROLLER_A);
    ASSERT_NE(nullptr, adapter);
    const Addr at(adapter->getAdapterID());
    struct Case {
        EnumRaidLevel level;
        std::vector<std::pair<int, int>> disks;
        int code;
        bool logged;
    };
    const Case cases[] = {
        {RAID10, {{0, 0}, {0, 1}, {0, 2}}, Ret::BAD_PARAM, true},   // basic array 0
        {RAID5, {{2, 0}, {2, 1}, {2, 2}, {2, 3}}, Ret::BAD_PARAM, true}, // spanned array 0
        {RAID5E0, {{0, 6}, {1, 4}}, Ret::NOT_SUPPORTED, false},     // beyond RAID50
        {RAID_UNKNOWN, {{0, 6}, {1, 4}}, Ret::NOT_SUPPORTED, false},
    };
    for (const Case& c : cases) {
        TarnellUtils::openLog();
        tarnellsim::clearCalls();
        LogicalDriveSpec spec(c.level, STRIPE_32K, "new");
        for (const auto& d : c.disks)
            spec.addChunk(d.first, d.second, 0, 2048 * 1000, 0, CHUNK_TYPE_DATA);
        EXPECT_EQ(c.code, adapter->createLogicalDrive(at, spec).getReturn()) << c.level;
        EXPECT_EQ(c.logged, familyLog().find("<Warning> Invalid RAID level specified") != std::string::npos)
            << c.level;
        EXPECT_TRUE(callsOf("CreateVirtDev").empty() && callsOf("CreateVirtDevHld").empty()) << c.level;
    }

    // A RAID-1 over the two ready disks goes to the basic drive class.
    LogicalDriveSpec spec(RAID1, STRIPE_32K, "new");
    spec.addChunk(0, 6, 0, 2048 * 1000, 0, CHUNK_TYPE_DATA);
    spec.addChunk(1, 4, 0, 2048 * 1000, 0, CHUNK_TYPE_DATA);
    EXPECT_EQ(Ret(0), adapter->createLogicalDrive(at, spec));
    EXPECT_EQ(1u, callsOf("CreateVirtDev").size());
}

// ---------------------------------------------------- configuration builder

using TarnellSystemTest = SimTest;

TEST_F(TarnellSystemTest, ControllersThatCannotBeReadAreLeftOut)
{
    tarnellsim::Scenario s = tarnellsim::defaultScenario();
    tarnellsim::Controller third = s.controllers[1];
    third.number = 7;
    s.controllers.push_back(third);
    tarnellsim::reset(s);
    tarnellsim::injectFailure("RaidAdapterInfo", tarnellsim::RC_BUSY, CONTROLLER_B, true);

    TarnellSystem system;
    Ret ret(Ret::NOT_SUPPORTED);
    system.buildChildren(nullptr, ret);
    EXPECT_EQ(Ret(Ret::NOT_SUPPORTED), ret) << "the caller's record is left alone";
    ASSERT_EQ(2u, system.getNumAdapters());
    EXPECT_EQ(CONTROLLER_A, static_cast<TarnellAdapter*>(system.getAdapter(0))->getTNCAdllID());
    EXPECT_EQ(7, static_cast<TarnellAdapter*>(system.getAdapter(1))->getTNCAdllID());
    EXPECT_EQ(2u, occurrences(documentOf(system), "<Controller "));
    EXPECT_NE(std::string::npos, familyLog().find("<Information> Number of Controllers found is 3"));
    EXPECT_NE(std::string::npos, familyLog().find("<Fatal> Retrieving adapter information failed"));
    EXPECT_EQ(3u, system.getControllerCount(nullptr, ret));
}

TEST_F(TarnellSystemTest, FailedOrEmptyEnumerationLeavesTheSystemEmpty)
{
    {
        tarnellsim::injectFailure("SupportedAdapterCount", tarnellsim::RC_BUSY);
        TarnellSystem system;
        Ret ret;
        system.buildChildren(nullptr, ret);
        EXPECT_EQ(0u, system.getNumChildren());
        EXPECT_NE(std::string::npos, familyLog().find("<Fatal> Retrieving adapter count failed"));
    }
    {
        TarnellUtils::openLog();
        tarnellsim::Scenario s = tarnellsim::defaultScenario();
        s.controllers.clear();
        tarnellsim::reset(s);
        TarnellSystem system;
        Ret ret;
        system.buildChildren(nullptr, ret);
        EXPECT_EQ(0u, system.getNumChildren());
        EXPECT_EQ("", familyLog()) << "no information line for no controllers";
        EXPECT_EQ(0, TarnellConfigBuilder::getControllerCount());
    }
    {
        tarnellsim::reset();
        stdoutOf([this] { withoutControllerAccess(); });
        TarnellSystem system;
        Ret ret;
        stdoutOf([&] { system.buildChildren(nullptr, ret); });
        EXPECT_EQ(0u, system.getNumChildren());
        int count = -1;
        stdoutOf([&] { count = TarnellConfigBuilder::getControllerCount(); });
        EXPECT_EQ(0, count);
    }
}

// Reads the library type a system was made with.
struct TypedSystem : TarnellSystem {
    explicit TypedSystem(const TarnellSystem& right) : TarnellSystem(right) {}
    EnumStorLibType type() const { return storlibType; }
};

TEST_F(TarnellSystemTest, ClassAndCopy)
{
    TarnellSystem system;
    Ret ret;
    system.buildChildren(nullptr, ret);
    ASSERT_EQ(2u, system.getNumAdapters());
    TypedSystem copy(system);
    EXPECT_EQ(0u, copy.getNumChildren());
    EXPECT_EQ(STORLIB_TARNELL, copy.type());
    EXPECT_TRUE(copy.isInstanceOf("TarnellSystem"));
    EXPECT_TRUE(copy.isInstanceOf("System"));
    EXPECT_FALSE(copy.isInstanceOf("TarnellSystemX"));
    EXPECT_STREQ("System", copy.serializedName());
}

} // namespace
