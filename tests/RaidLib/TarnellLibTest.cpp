#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "RaidLib/TarnellLib.h"
#include "RaidLib/Util/Date.h"
#include "RaidModel/Filters/FilterCollection.h"
#include "RaidModel/Implementation/Tarnell/TarnellEvents.h"
#include "RaidModel/Implementation/Tarnell/TarnellSimTree.h"
#include "RaidModel/Implementation/Tarnell/TarnellSystem.h"

// The Tarnell storage library over the simulated controllers: its systems,
// who owns them, the snapshot accessors and the method list.

using namespace tarnelltest;

namespace {

uint32_t fakeNow = 0;
time_t fakeClock() { return static_cast<time_t>(fakeNow); }

class TarnellLibTest : public SimTest {
protected:
    void SetUp() override
    {
        SimTest::SetUp();
        TarnellEvents::resetForTest();
        TarnellLib::resetPollClocksForTest();
        objectsBefore = globalRaidObjectCounter.load();
    }
    void TearDown() override
    {
        TarnellLib::resetPollClocksForTest();
        TarnellEvents::resetForTest();
        SimTest::TearDown();
    }
    uint32_t objectsBefore = 0;
};

TEST_F(TarnellLibTest, SupportsExactlyItsMethodNames)
{
    TarnellLib lib;
    for (const char* name : {"getSystem", "getControllerCount", "setAdapterReadCache", "unblockLogicalDrive",
                             "clearControllerLog", "getEvents", "createGlobalSpare", "scsiPassThruCommand"})
        EXPECT_TRUE(lib.supportsMethod(name)) << name;
    for (const char* name : {"getsystem", "GetSystem", "getSystem ", "getSyste", "addChild", "createGlobalHotSpare",
                             "", "getSystemConfig"})
        EXPECT_FALSE(lib.supportsMethod(name)) << name;
    EXPECT_FALSE(lib.supportsMethod(nullptr));
}

TEST_F(TarnellLibTest, FreshLibraryHasNoSystemToActOn)
{
    TarnellLib lib;
    EXPECT_EQ(STORLIB_TARNELL, lib.getStorLibType());
    EXPECT_EQ(nullptr, lib.getCurrentSystem());
    EXPECT_EQ(nullptr, lib.getOldSystem());
    Addr adapter(0);
    EXPECT_EQ(nullptr, lib.getCurrentObject(adapter));
    EXPECT_EQ(nullptr, lib.getOldObject(adapter));
    EXPECT_EQ(Ret::BAD_PARAM, lib.setStripeSize(adapter, STRIPE_8K).getReturn());
    EXPECT_EQ(Ret::BAD_PARAM, lib.setCopyBack(adapter, true).getReturn());
    EXPECT_EQ(Ret::BAD_PARAM, lib.deleteLogicalDrive(Addr(0, 0, 0, 0x7FFFFFFF, 0x7FFFFFFF,
                                                          0x7FFFFFFFFFFFFFFFull, 0x7FFFFFFF, 0x7FFFFFFF))
                                  .getReturn());
    EXPECT_TRUE(callsOf("SetStripeSliceSize").empty());
}

TEST_F(TarnellLibTest, ConfigurationDocumentNamesBothControllers)
{
    TarnellLib lib;
    char* xml = nullptr;
    ASSERT_EQ(Ret(0), lib.getSystemConfig(&xml));
    ASSERT_NE(nullptr, xml);
    const std::string document(xml);
    lib.freeBuffer(xml);
    EXPECT_EQ(0u, document.find("<System "));
    EXPECT_NE(std::string::npos, document.find("deviceName=\"ZEQ Tarnell B2\""));
    EXPECT_NE(std::string::npos, document.find("deviceName=\"ZEQ Tarnell C0\""));
    EXPECT_EQ(2u, lib.getNumAdapters());
    unsigned long count = 0;
    EXPECT_EQ(Ret(0), lib.getControllerCount(count));
    EXPECT_EQ(2u, count);
    EXPECT_EQ(nullptr, lib.getCurrentSystem()) << "the configuration is no snapshot";
}

// The poll clocks start with the first library of the process.
TEST_F(TarnellLibTest, PollClocksStartWithTheFirstLibrary)
{
    fakeNow = 1714986000;
    Date::ClockFn previous = Date::setClock(fakeClock);
    {
        TarnellLib first;
        fakeNow += 100;
        TarnellLib second;
    }
    Date::setClock(previous);
    EXPECT_EQ(1714986000u, TarnellLib::lastMainThreadTimeCall);
    EXPECT_EQ(1714986000u, TarnellLib::lastConfigChangeTimeCall);
    EXPECT_EQ(1714986000u, TarnellLib::lastConfigChangeTime);
    EXPECT_EQ(15u, TarnellLib::pollingRate);
    EXPECT_EQ(5u, TarnellLib::configChangePollingRate);
}

TEST_F(TarnellLibTest, SnapshotsAndTheTaskOfAController)
{
    TarnellLib lib;
    Addr nothing(9);
    EXPECT_EQ(0, lib.getLDMProgressType(nothing));
    ASSERT_NE(nullptr, lib.getCurrentSystem()) << "built for the question";
    EXPECT_EQ(2u, lib.getCurrentSystem()->getNumAdapters());

    // Drive 0 of controller 5 migrates with option 1 (compression).
    tarnellsim::Scenario s = tarnellsim::defaultScenario();
    tarnellsim::Task migration;
    migration.kind = tarnellsim::Task::MIGRATE;
    migration.drive = 0;
    migration.option = 1;
    migration.totalBlocks = 1000000;
    s.controllers[1].tasks.push_back(migration);
    tarnellsim::reset(s);
    Addr second(1);
    const uint8_t type = lib.getLDMProgressType(second);
    _REBUILD_STATUS expected;
    ASSERT_EQ(Ret(0), static_cast<TarnellAdapter*>(lib.getCurrentObject(second))->returnProgress(expected));
    EXPECT_EQ(expected.ucLdmOption, type);

    tarnellsim::injectFailure("CheckProgress", tarnellsim::RC_BUSY);
    EXPECT_EQ(0, lib.getLDMProgressType(second));

    TarnellSystem* current = lib.getCurrentSystem();
    TarnellSystem* handed = lib.getNewSystem();
    ASSERT_NE(nullptr, handed);
    EXPECT_NE(current, handed);
    EXPECT_EQ(current, lib.getCurrentSystem()) << "a snapshot exists already";
    EXPECT_EQ(2u, handed->getNumAdapters());
}

TEST_F(TarnellLibTest, NewSystemBecomesTheSnapshotWhenThereIsNone)
{
    TarnellLib lib;
    TarnellSystem* handed = lib.getNewSystem();
    ASSERT_NE(nullptr, handed);
    EXPECT_EQ(handed, lib.getCurrentSystem());
    Addr first(0);
    EXPECT_EQ(handed->getAdapter(0), lib.getCurrentObject(first));
}

// On a configuration the library built, the indexed lookups of the system
// answer for the address of every object in it, and for every logical drive
// by its controller and number, what the searches of the tree answer.
TEST_F(TarnellLibTest, IndexedLookupsOfABuiltConfigurationAnswerAsTheSearches)
{
    TarnellLib lib;
    TarnellSystem* system = lib.getNewSystem();
    ASSERT_NE(nullptr, system);
    std::vector<RaidObject*> objects;
    system->getChildren(objects, true, false);
    std::vector<Addr> addresses;
    for (RaidObject* object : objects) {
        addresses.push_back(object->getAddr());
        if (object->isInstanceOf("LogicalDrive")) {
            Addr logical(object->getAdapterID());
            logical.setLogicalDriveID(object->getLogicalDriveID());
            addresses.push_back(logical);
        }
    }
    ASSERT_GT(addresses.size(), 100u);
    for (int round = 0; round < 2; ++round) {
        for (const Addr& a : addresses) {
            EXPECT_EQ(system->findObject(a), system->getObject(a));
            EXPECT_EQ(system->findChild(a), system->getChild(a, true));
        }
    }
}

// Every system the library builds is freed once, by its one owner; a client's
// hold on the current system outlives the library.
TEST_F(TarnellLibTest, EverySystemHasOneOwnerAcrossManyRebuilds)
{
    RefSystem held;
    TarnellSystem* handed = nullptr;
    {
        tarnellSDK::StorLibSDK sdk;
        TarnellLib& lib = static_cast<TarnellLib&>(*sdk.getLibHandle());
        for (int i = 0; i < 25; ++i) {
            char* xml = nullptr;
            ASSERT_EQ(Ret(0), lib.getSystemConfig(&xml));
            lib.freeBuffer(xml);
            if (i % 5 == 0) {
                handed = lib.getNewSystem();
                Addr first(0);
                lib.getLDMProgressType(first);
            }
            if (i == 20)
                held = lib.getSystem();
        }
        ASSERT_EQ(Ret(0), lib.getSystemConfigWithProxy(nullptr));
        // A system handed to a monitor stays valid while the library lives.
        ASSERT_NE(nullptr, handed);
        EXPECT_EQ(2u, handed->getNumAdapters());
    }
    // The library is gone; the client's system is whole.
    ASSERT_NE(nullptr, held.getSystem());
    EXPECT_EQ(2u, held->getNumAdapters());
    EXPECT_TRUE(held->getAdapter(1)->isInstanceOf("TarnellAdapter"));
    held.Release();
    EXPECT_EQ(objectsBefore, globalRaidObjectCounter.load());
}

} // namespace

namespace {

// The log operations and the rescan act on the adapter of the system built
// last; without one, or for another object, they answer -2.
TEST_F(TarnellLibTest, LogAndRescanActOnTheLastSystem)
{
    TarnellLib lib;
    char buf[4096];
    unsigned long size = sizeof buf;
    EXPECT_EQ(Ret::BAD_PARAM, lib.getControllerLog(Addr(0), LOG_SOFT, buf, size).getReturn());
    EXPECT_EQ(Ret::BAD_PARAM, lib.clearControllerLog(Addr(0), LOG_SOFT).getReturn());
    EXPECT_EQ(Ret::BAD_PARAM, lib.syncRescan(Addr(0)).getReturn());
    EXPECT_TRUE(callsOf("GetAdapterEventLog").empty());

    char* xml = nullptr;
    ASSERT_EQ(Ret(0), lib.getSystemConfig(&xml));
    lib.freeBuffer(xml);
    tarnellsim::clearCalls();

    size = sizeof buf;
    ASSERT_EQ(Ret(0), lib.getControllerLog(Addr(0), LOG_SOFT, buf, size));
    EXPECT_EQ(0, std::string(buf).find("<eventLog controllerID=0 logType=1 entriesCount="));
    ASSERT_EQ(1u, callsOf("GetAdapterEventLog").size());
    EXPECT_EQ(CONTROLLER_A, callsOf("GetAdapterEventLog")[0].address.usAdapterID);

    EXPECT_EQ(Ret(0), lib.clearControllerLog(Addr(0), LOG_SOFT));
    size = sizeof buf;
    ASSERT_EQ(Ret(0), lib.getControllerLog(Addr(0), LOG_SOFT, buf, size));
    EXPECT_STREQ("<eventlog/>", buf);
    EXPECT_EQ(Ret::NOT_SUPPORTED, lib.clearControllerLog(Addr(0), LOG_UART).getReturn());
    EXPECT_EQ(Ret::BAD_PARAM, lib.clearControllerLog(Addr(9), LOG_SOFT).getReturn());
    EXPECT_EQ(Ret::BAD_PARAM, lib.syncRescan(Addr(9)).getReturn());

    ::testing::internal::CaptureStderr();
    const Ret rescan = lib.syncRescan(Addr(0));
    const std::string progress = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(Ret(0), rescan);
    EXPECT_EQ(0u, progress.find("Scanning for new or removed drives ...\nChannel #1:  "));
    EXPECT_FALSE(callsOf("GetPhysDevState").empty());
}

} // namespace

namespace {

TEST_F(TarnellLibTest, WriteCacheOfALogicalDriveAndRefusedCacheRequests)
{
    TarnellLib lib;
    char* xml = nullptr;
    ASSERT_EQ(Ret(0), lib.getSystemConfig(&xml));
    lib.freeBuffer(xml);
    tarnellsim::clearCalls();

    // A read-cache request is refused before any lookup, even of nothing.
    EXPECT_EQ(Ret::NOT_SUPPORTED,
              lib.setLogicalDriveCache(Addr(77), LD_CACHE_ENABLED, LD_CACHE_NO_CHANGE).getReturn());
    EXPECT_EQ(Ret::NOT_SUPPORTED,
              lib.setLogicalDriveCache(Addr(0), LD_CACHE_NO_CHANGE, LD_CACHE_NO_CHANGE).getReturn());
    EXPECT_TRUE(tarnellsim::calls().empty());

    FilterCollection drives(lib.getSystem());
    drives.apply("TarnellBasicLogicalDrive", false);
    ASSERT_GT(drives.size(), 0u);
    const Addr driveAddr = drives.elementAt(0)->getAddr();
    ASSERT_EQ(Ret(0), lib.setLogicalDriveCache(driveAddr, LD_CACHE_NO_CHANGE, LD_CACHE_ENABLED));
    const auto sent = callsOf("SetWritePolicy");
    ASSERT_EQ(1u, sent.size());
    EXPECT_EQ(0x200u, sent[0].address.ulMap);
    ASSERT_FALSE(sent[0].args.empty());
    EXPECT_EQ(1, sent[0].args[0]);

    EXPECT_EQ(Ret::BAD_PARAM, lib.setLogicalDriveCache(Addr(9), LD_CACHE_NO_CHANGE, LD_CACHE_ENABLED).getReturn());
}

} // namespace
