#include <string>
#include <vector>

#include "BridgeTest.h"
#include "RaidLib/Util/Date.h"
#include "RaidModel/Filters/FilterCollection.h"
#include "RaidModel/Implementation/Tarnell/TarnellCreateScenario.h"
#include "RaidModel/Interface/LogicalDrive.h"
#include "RaidModel/Interface/System.h"

// The storage natives over the Tarnell library and the simulated
// controllers, as the Java console uses them.

using namespace bridgetest;

namespace {

class StorDataProcSimTest : public BridgeTest {
protected:
    // The address of the first object of the class in the bridge's library
    // for which the test holds.
    template <class Test>
    jobject addressOf(const char* className, Test test)
    {
        FilterCollection objects(CountingLib::last->getSystem());
        objects.apply(const_cast<char*>(className), false);
        for (size_t i = 0; i < objects.size(); ++i) {
            RaidObject* o = objects.elementAt(static_cast<int>(i));
            if (test(o)) {
                const Addr& a = o->getAddr();
                return tAddr(static_cast<int>(a.getAdapterID()), static_cast<int>(a.getArrayID()),
                             static_cast<int>(a.getLogicalDriveID()), static_cast<int>(a.getChannelID()),
                             static_cast<int>(a.getDeviceID()));
            }
        }
        ADD_FAILURE() << "no " << className;
        return nullptr;
    }

    jobject adapter(int n)
    {
        return addressOf("Adapter", [n](RaidObject* o) { return static_cast<int>(o->getAddr().getAdapterID()) == n; });
    }

    std::string configuration()
    {
        EXPECT_EQ(0, callForResult(proc, "getSystemConfig", {}).code);
        return stringField(proc, "xmlConfigBuffer");
    }
};

TEST_F(StorDataProcSimTest, ConstructDLLBuildsOnceForEveryHost)
{
    EXPECT_EQ(Result{}, callForResult(nullptr, "constructDLL", {}));
    EXPECT_EQ(Result{}, callForResult(nullptr, "constructDLL", {}));
    EXPECT_EQ(1, CountingLib::created);
    EXPECT_EQ(1, CountingLib::builds);
    ASSERT_NE(nullptr, CountingLib::last);
    EXPECT_EQ(2u, CountingLib::last->getNumAdapters());
    EXPECT_EQ(CountingLib::last, GetTarnellCore("console"));

    jobject count = newObject("com/zeq/sysmgt/raidmgr/dataproc/jni/TInteger");
    EXPECT_EQ(0, callForResult(proc, "getControllerCount", {obj(count)}).code);
    EXPECT_EQ(2, intField(count, "value"));
    EXPECT_EQ(1, CountingLib::builds);
}

TEST_F(StorDataProcSimTest, ConfigurationIsTheLibrarysDocument)
{
    const std::string fromJava = configuration();
    TarnellLib lib;
    char* xml = nullptr;
    ASSERT_EQ(Ret(0), lib.getSystemConfig(&xml));
    ASSERT_NE(nullptr, xml);
    EXPECT_EQ(std::string(xml), fromJava);
    lib.freeBuffer(xml);
    EXPECT_EQ(0u, fromJava.find("<System "));
}

TEST_F(StorDataProcSimTest, ProgressAndControllerLog)
{
    configuration();
    // Drive 3 of the first controller rebuilds, at 35 %.
    jobject drive = addressOf("LogicalDrive", [](RaidObject* o) {
        return o->getAddr().getAdapterID() == 0 && o->getAddr().getLogicalDriveID() == 3;
    });
    jobject progress = newObject("com/zeq/sysmgt/raidmgr/dataproc/jni/TProgress");
    EXPECT_EQ(0, callForResult(proc, "getProgress", {obj(drive), obj(progress)}).code);
    EXPECT_EQ(TASK_REBUILD, intField(progress, "type"));
    EXPECT_EQ(TASK_STATE_IN_PROGRESS, intField(progress, "status"));
    EXPECT_EQ(35, intField(progress, "percent"));
    EXPECT_EQ(0, intField(progress, "adapter"));

    EXPECT_EQ(0, callForResult(proc, "getControllerLog", {obj(adapter(0)), i32(LOG_SOFT)}).code);
    const std::string log = stringField(proc, "xmlLogBuffer");
    EXPECT_EQ(0u, log.find("<eventLog controllerID=0 logType=1 entriesCount=0003>")) << log;
    EXPECT_NE(std::string::npos, log.find("000ABC01"));
}

// A drive of two chunks, the second taking the channel and extent of the
// first, shows in the next document; a malformed document creates nothing.
TEST_F(StorDataProcSimTest, CreateLogicalDriveFromTheConsolesDocument)
{
    tarnelltest::resetTo(tarnelltest::blankController());
    const std::string before = configuration();
    EXPECT_EQ(std::string::npos, before.find("<LogicalDrive "));

    tarnellsim::clearCalls();
    Result r = callForResult(proc, "createLogicalDrive",
                             {obj(adapter(0)), obj(javaString("<param raidLevel=5 logicalName='data'/>"))});
    EXPECT_EQ(-13, r.code);
    EXPECT_TRUE(tarnellsim::calls("CreateVirtDev").empty());

    const std::string xml = "<LogicalDrive><param raidLevel='0'/>"
                            "<ChunkSpec channelID='0' deviceID='0' startBlock='0' numBlocks='2048000' chunkType='0'/>"
                            "<ChunkSpec deviceID='1' chunkType='0'/></LogicalDrive>";
    r = callForResult(proc, "createLogicalDrive", {obj(adapter(0)), obj(javaString(xml))});
    EXPECT_EQ(Result{}, r);
    const auto sent = tarnellsim::calls("CreateVirtDev");
    ASSERT_EQ(1u, sent.size());
    EXPECT_EQ(2u, sent[0].addressList.size());

    const std::string after = configuration();
    const size_t drive = after.find("<LogicalDrive ");
    ASSERT_NE(std::string::npos, drive);
    EXPECT_EQ(std::string::npos, after.find("<LogicalDrive ", drive + 1));
    EXPECT_NE(std::string::npos, after.find("raidLevel=\"0\"", drive));
}

uint32_t fakeNow = 0;
time_t fakeClock() { return static_cast<time_t>(fakeNow); }

// The console always asks from event number 0: the poll compares the
// configurations (a drive has died in between) and still hands out no event.
TEST_F(StorDataProcSimTest, EventsNeverCarryEvents)
{
    fakeNow = 1714986000;
    struct ClockSeam {
        Date::ClockFn previous = Date::setClock(fakeClock);
        ~ClockSeam() { Date::setClock(previous); }
    } seam;
    tarnellsim::Scenario changed = tarnellsim::defaultScenario();
    for (auto& d : changed.controllers.at(0).devices)
        if (d.channel == 0 && d.target == 1)
            d.state = DEVSTATE_DEAD;

    jobject first = tAddr(0, 0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF);
    EXPECT_EQ(0, callForResult(proc, "getEvents", {obj(first)}).code);
    EXPECT_EQ("", stringField(proc, "eventsBuffer")) << "the first poll hands out the empty text";
    for (int poll = 0; poll < 3; ++poll) {
        if (poll == 1)
            tarnellsim::reset(changed);
        fakeNow += 100;
        EXPECT_EQ(0, callForResult(proc, "getEvents", {obj(first)}).code);
        const std::string events = stringField(proc, "eventsBuffer");
        EXPECT_EQ(std::string::npos, events.find("RaidEvent")) << events;
    }
    ASSERT_NE(nullptr, CountingLib::last->getOldSystem()) << "the poll compared";
}

} // namespace
