#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "RaidLib/TarnellLib.h"
#include "RaidModel/Filters/FilterCollection.h"
#include "RaidModel/Implementation/Tarnell/TarnellCreateScenario.h"
#include "RaidModel/Implementation/Tarnell/TarnellSimTree.h"
#include "RaidModel/Implementation/Tarnell/TarnellSystem.h"

// The logical- and physical-drive operations of the Tarnell storage library
// over the simulated controllers: what reaches the controllers, what is
// refused before anything is sent, and how the model follows a create or a
// delete.

using namespace tarnelltest;

namespace {

Addr deviceAddr(STORID_T adapter, STORID_T channel, STORID_T device)
{
    return Addr(adapter, STORID_UNDEFINED, STORID_UNDEFINED, channel, device, BLOCK_UNDEFINED, STORID_UNDEFINED,
                STORID_UNDEFINED);
}

Addr driveAddr(STORID_T adapter, STORID_T logicalDrive)
{
    return Addr(adapter, STORID_UNDEFINED, logicalDrive, STORID_UNDEFINED, STORID_UNDEFINED, BLOCK_UNDEFINED,
                STORID_UNDEFINED, STORID_UNDEFINED);
}

Addr arrayAddr(STORID_T adapter, STORID_T array)
{
    return Addr(adapter, array, STORID_UNDEFINED, STORID_UNDEFINED, STORID_UNDEFINED, BLOCK_UNDEFINED,
                STORID_UNDEFINED, STORID_UNDEFINED);
}

size_t occurrences(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

class TarnellLibDriveOpsTest : public SimTest {
protected:
    // The configuration document of the controllers as they are now; the
    // library's family operations then act on the system it built.
    std::string configure()
    {
        char* xml = nullptr;
        EXPECT_EQ(Ret(0), lib.getSystemConfig(&xml));
        const std::string document(xml ? xml : "");
        lib.freeBuffer(xml);
        tarnellsim::clearCalls();
        return document;
    }

    void start(const tarnellsim::Scenario& s)
    {
        tarnellsim::reset(s);
        configure();
    }

    // The state code of the last SetPhysDevState, -1 when none was sent.
    static long long lastStateSent()
    {
        const auto sent = callsOf("SetPhysDevState");
        return sent.empty() || sent.back().args.empty() ? -1 : sent.back().args[0];
    }

    TarnellLib lib;
};

// Controller 2's drives in the default scenario: 0 RAID-5, 1 RAID-0, both on
// array 0; 4 the spanned RAID-10 drive.
TEST_F(TarnellLibDriveOpsTest, UnblockOnlyForRaid0AndRaid00Drives)
{
    tarnellsim::Scenario s = tarnellsim::defaultScenario();
    for (auto& d : s.controllers[0].drives)
        if (d.number == 4)
            d.raidCode = 0;   // the spanned drive becomes RAID-00
    start(s);

    struct Case {
        const char* label;
        Addr addr;
        EnumLogicalDeviceState state;
        int code;
    };
    const Case cases[] = {
        {"RAID-0 to okay", driveAddr(0, 1), OKAY, 0},
        {"RAID-00 to okay", driveAddr(0, 4), OKAY, 0},
        {"RAID-5 to okay", driveAddr(0, 0), OKAY, Ret::BAD_PARAM},
        {"RAID-0 to critical", driveAddr(0, 1), CRITICAL, Ret::BAD_PARAM},
        {"no such drive", driveAddr(0, 7), OKAY, Ret::BAD_PARAM},
        {"an array", arrayAddr(0, 0), OKAY, Ret::BAD_PARAM},
    };
    for (const Case& c : cases) {
        tarnellsim::clearCalls();
        EXPECT_EQ(c.code, lib.setLogicalDriveState(c.addr, c.state).getReturn()) << c.label;
        const auto sent = callsOf("UnBlockVirtDev");
        if (c.code == 0) {
            ASSERT_EQ(1u, sent.size()) << c.label;
            EXPECT_EQ(CONTROLLER_A, sent[0].address.usAdapterID) << c.label;
            EXPECT_EQ(c.addr.getLogicalDriveID(), sent[0].address.usVirtDevID) << c.label;
        } else {
            EXPECT_TRUE(tarnellsim::calls().empty()) << c.label;
        }
    }
}

// Controller 5's drive 3 is a blocked RAID-0 drive; unblocking it shows in
// the next configuration.
TEST_F(TarnellLibDriveOpsTest, UnblockedDriveIsNoLongerBlocked)
{
    configure();
    auto blocked = [] {
        for (const auto& c : tarnellsim::current().controllers)
            for (const auto& d : c.drives)
                if (c.number == CONTROLLER_B && d.number == 3)
                    return d.blocked;
        return false;
    };
    ASSERT_TRUE(blocked());
    EXPECT_EQ(Ret(0), lib.unblockLogicalDrive(driveAddr(1, 3)));
    EXPECT_FALSE(blocked());
    EXPECT_EQ(Ret::BAD_PARAM, lib.unblockLogicalDrive(deviceAddr(1, 0, 8)).getReturn());
}

TEST_F(TarnellLibDriveOpsTest, CreateAndDeleteChangeTheNextConfiguration)
{
    tarnellsim::Scenario s;
    s.controllers.push_back(blankController());
    tarnellsim::reset(s);
    ASSERT_EQ(0u, occurrences(configure(), "<LogicalDrive "));

    LogicalDriveSpec spec = requestOf(RAID0, {{0, 0, 1000 * BLOCKS_PER_MIB, 0}, {0, 1, 1000 * BLOCKS_PER_MIB, 0}});
    ASSERT_EQ(Ret(0), lib.createLogicalDrive(Addr(0), spec));
    // The model the library acts on shows the drive at once.
    FilterCollection drives(lib.getSystem());
    drives.apply("TarnellBasicLogicalDrive", false);
    ASSERT_EQ(1u, drives.size());
    LogicalDrive* created = static_cast<LogicalDrive*>(drives.elementAt(0));
    EXPECT_EQ(RAID0, created->getRaidLevel());

    // The address lies in the drive, which the rebuild after the delete
    // replaces.
    EXPECT_EQ(Ret(0), lib.deleteLogicalDrive(created->getAddr()));
    FilterCollection left(lib.getSystem());
    left.apply("LogicalDrive", false);
    EXPECT_EQ(0u, left.size());

    // A refused create leaves the configuration as it was.
    tarnellsim::clearCalls();
    LogicalDriveSpec unknownDisk = requestOf(RAID0, {{0, 12, 1000 * BLOCKS_PER_MIB, 0}});
    EXPECT_EQ(Ret::BAD_PARAM, lib.createLogicalDrive(Addr(0), unknownDisk).getReturn());
    EXPECT_EQ(Ret::BAD_PARAM, lib.createLogicalDrive(Addr(3), spec).getReturn());
    EXPECT_TRUE(callsOf("CreateVirtDev").empty());

    ASSERT_EQ(Ret(0), lib.createLogicalDrive(Addr(0), spec));
    const std::string withDrive = configure();
    EXPECT_EQ(1u, occurrences(withDrive, "<LogicalDrive "));
    EXPECT_NE(std::string::npos, withDrive.find("raidLevel=\"0\"")) << withDrive.substr(0, 200);

    FilterCollection again(lib.getSystem());
    again.apply("LogicalDrive", false);
    ASSERT_EQ(1u, again.size());
    const Addr addr = again.elementAt(0)->getAddr();
    EXPECT_EQ(Ret(0), lib.deleteLogicalDrive(addr));
    EXPECT_EQ(0u, occurrences(configure(), "<LogicalDrive "));
    EXPECT_EQ(Ret::BAD_PARAM, lib.deleteLogicalDrive(addr).getReturn());
}

// READ, WRITE and READWRITE are refused before anything is sent; the
// directions with sense data, and no transfer, go to the device with their
// flags.
TEST_F(TarnellLibDriveOpsTest, PassThroughDirectionsAndFlags)
{
    configure();
    struct Case {
        SCSICommand::EnumDirection direction;
        int code;
        long long dataIn;
        long long autoSense;
    };
    const Case cases[] = {
        {SCSICommand::READ, Ret::NOT_SUPPORTED, 0, 0},
        {SCSICommand::WRITE, Ret::NOT_SUPPORTED, 0, 0},
        {SCSICommand::READWRITE, Ret::NOT_SUPPORTED, 0, 0},
        {SCSICommand::READWITHSENSE, 0, 1, 1},
        {SCSICommand::WRITEWITHSENSE, 0, 0, 1},
        {SCSICommand::NOTRANSFER, 0, 0, 0},
    };
    for (const Case& c : cases) {
        tarnellsim::clearCalls();
        SCSICommand command;
        command.initInquiry(0);
        Buffer cdb = command.getScsiCmd();
        SCSICommand sent(cdb, c.direction);
        Buffer data(96);
        Buffer sense(32);
        sent.setReadData(data);
        sent.setSenseData(sense);
        EXPECT_EQ(c.code, lib.scsiPassThruCommand(deviceAddr(0, 1, 4), sent).getReturn()) << c.direction;
        const auto calls = callsOf("ExecDeviceCmnd");
        if (c.code != 0) {
            EXPECT_TRUE(tarnellsim::calls().empty()) << c.direction;
            continue;
        }
        ASSERT_EQ(1u, calls.size()) << c.direction;
        EXPECT_EQ(CONTROLLER_A, calls[0].address.usAdapterID);
        EXPECT_EQ(1, calls[0].address.usChannelID);
        EXPECT_EQ(4, calls[0].address.usPhysDevID);
        // Command, read, write and sense lengths, timeout, flags, data in, auto sense.
        const std::vector<long long> expected = {6, 96, 0, 32, 10, 0, c.dataIn, c.autoSense};
        EXPECT_EQ(expected, calls[0].args) << c.direction;
    }

    // The device answers INQUIRY into the read buffer.
    SCSICommand inquiry;
    inquiry.initInquiry(0);
    Buffer cdb = inquiry.getScsiCmd();
    SCSICommand withSense(cdb, SCSICommand::READWITHSENSE);
    Buffer data(96);
    withSense.setReadData(data);
    ASSERT_EQ(Ret(0), lib.scsiPassThruCommand(deviceAddr(0, 1, 4), withSense));
    EXPECT_EQ(0, std::memcmp(withSense.getReadData().getAddr() + 8, "ZEQ", 3));

    tarnellsim::injectFailure("ExecDeviceCmnd", tarnellsim::RC_CHECK_CONDITION);
    EXPECT_EQ(Ret::CONTROLLER_FAILED, lib.scsiPassThruCommand(deviceAddr(0, 1, 4), withSense).getReturn());
    EXPECT_EQ(Ret::BAD_PARAM, lib.scsiPassThruCommand(Addr(0), withSense).getReturn());
    EXPECT_EQ(Ret::BAD_PARAM, lib.scsiPassThruCommand(deviceAddr(0, 1, 12), withSense).getReturn());
}

// Bringing a dead drive back: rebuilt when a logical drive on it is critical,
// online otherwise; only a dead drive is revived.
TEST_F(TarnellLibDriveOpsTest, DeadDriveRevivedByTheStateOfItsLogicalDrives)
{
    tarnellsim::Scenario s = tarnellsim::defaultScenario();
    for (auto& d : s.controllers[0].devices)
        if (d.channel == 0 && d.target == 0)
            d.state = DEVSTATE_DEAD;   // RAID-5 drive 0 critical, RAID-0 drive 1 offline
    for (auto& d : s.controllers[1].devices)
        if (d.channel == 0 && d.target == 8)
            d.state = DEVSTATE_DEAD;   // RAID-0 drive 3 offline
    start(s);

    struct Case {
        const char* label;
        Addr addr;
        bool down;
        int code;
        long long stateSent;
    };
    const Case cases[] = {
        {"member of a critical drive", deviceAddr(0, 0, 0), false, 0, DEVSTATE_REBUILDING},
        {"member of an offline drive only", deviceAddr(1, 0, 8), false, 0, DEVSTATE_ONLINE},
        {"online drive", deviceAddr(0, 0, 1), false, Ret::NOT_SUPPORTED, -1},
        {"taken down", deviceAddr(0, 0, 1), true, 0, DEVSTATE_DEAD},
        {"no drive there", deviceAddr(0, 0, 12), false, Ret::BAD_PARAM, -1},
        {"an enclosure", deviceAddr(0, 0, 15), false, Ret::BAD_PARAM, -1},
    };
    for (const Case& c : cases) {
        tarnellsim::clearCalls();
        EXPECT_EQ(c.code, lib.downHardDrive(c.addr, c.down).getReturn()) << c.label;
        EXPECT_EQ(c.stateSent, lastStateSent()) << c.label;
    }
}

// Every operation refuses an address of the wrong kind (or of nothing) with
// -2, and the guards that come before the lookup refuse with -1; nothing is
// sent either way.
TEST_F(TarnellLibDriveOpsTest, GuardsRefuseBeforeAnythingIsSent)
{
    configure();
    const Addr adapter(0);
    const Addr raid5 = driveAddr(0, 0);
    const Addr online = deviceAddr(0, 0, 0);
    const Addr spare = deviceAddr(0, 0, 5);
    const Addr ready = deviceAddr(0, 0, 6);
    const Addr enclosure = deviceAddr(0, 0, 15);
    const Addr nothing = driveAddr(0, 7);
    const std::vector<ChunkSpec> noChunks;
    const LogicalDriveSpec spec(RAID5, STRIPE_NA, "x");
    char* document = nullptr;

    struct Case {
        const char* label;
        std::function<Ret()> call;
        int code;
    };
    const Case cases[] = {
        {"physical-drive cache", [&] { return lib.setPhysicalDriveCache(online, HARD_DRIVE_CACHE_MODE_WRITE_BACK); },
         Ret::NOT_SUPPORTED},
        {"verify without fix", [&] { return lib.synchronizeLogicalDrive(raid5, false); }, Ret::NOT_SUPPORTED},
        {"synchronize a hard drive", [&] { return lib.synchronizeLogicalDrive(online, true); }, Ret::BAD_PARAM},
        {"initialize an adapter", [&] { return lib.initializeLogicalDrive(adapter, INIT_QUICK, TASK_PRIORITY_HIGH); },
         Ret::BAD_PARAM},
        {"delete a hard drive", [&] { return lib.deleteLogicalDrive(online); }, Ret::BAD_PARAM},
        {"grow nothing", [&] { return lib.increaseLogicalDriveSize(nothing, noChunks, TASK_PRIORITY_LOW); },
         Ret::BAD_PARAM},
        {"migrate a logical drive", [&] { return lib.modifyLogicalDrive(raid5, spec); }, Ret::BAD_PARAM},
        {"state of an enclosure", [&] { return lib.setDeviceState(enclosure, DRIVE_READY); }, Ret::BAD_PARAM},
        {"identify nothing", [&] { return lib.identifyDevice(nothing, IDENTIFY_START); }, Ret::BAD_PARAM},
        {"tasks into no buffer", [&] { return lib.getTasks(raid5, &document); }, Ret::BAD_PARAM},
        {"tasks without a pointer", [&] { return lib.getTasks(raid5, static_cast<char**>(nullptr)); },
         Ret::BAD_PARAM},
        {"no task", [&] { return lib.startTask(raid5, HD_TASK_NONE); }, Ret::BAD_PARAM},
        {"verify without fix as a task", [&] { return lib.startTask(raid5, HD_TASK_VERIFY); }, Ret::NOT_SUPPORTED},
        {"secure erase", [&] { return lib.startTask(online, HD_TASK_SECURE_ERASE); }, Ret::NOT_SUPPORTED},
        {"verify-and-fix of a hard drive", [&] { return lib.startTask(online, HD_TASK_VERIFY_FIX); },
         Ret::BAD_PARAM},
        {"spare from an online drive", [&] { return lib.createGlobalSpare(online); }, Ret::BAD_PARAM},
        {"spare from a spare", [&] { return lib.createGlobalSpare(spare); }, Ret::BAD_PARAM},
        {"delete a ready drive as spare", [&] { return lib.deleteSpare(ready); }, Ret::BAD_PARAM},
        {"read cache of a drive", [&] { return lib.setAdapterReadCache(raid5, true); }, Ret::BAD_PARAM},
    };
    for (const Case& c : cases) {
        tarnellsim::clearCalls();
        EXPECT_EQ(c.code, c.call().getReturn()) << c.label;
        EXPECT_TRUE(tarnellsim::calls().empty()) << c.label;
    }
    EXPECT_EQ(nullptr, document);
}

// The requests that pass the guards reach the controller.
TEST_F(TarnellLibDriveOpsTest, AcceptedRequestsReachTheController)
{
    configure();
    const std::vector<ChunkSpec> readyDisk = {ChunkSpec(0, 6, 0, 2048, 0, CHUNK_TYPE_DATA)};
    struct Case {
        const char* label;
        std::function<Ret()> call;
        const char* entry;
        long long firstArg;
    };
    const Case cases[] = {
        {"verify-and-fix", [&] { return lib.startTask(driveAddr(0, 0), HD_TASK_VERIFY_FIX); }, "SynchronizeVirtDev",
         1},
        {"spare from a ready drive", [&] { return lib.createGlobalSpare(deviceAddr(0, 0, 6)); }, "SetPhysDevState",
         DEVSTATE_HOT_SPARE},
        {"spare back to ready", [&] { return lib.deleteSpare(deviceAddr(0, 0, 5)); }, "SetPhysDevState",
         DEVSTATE_READY},
        {"initialize", [&] { return lib.initializeLogicalDrive(driveAddr(0, 2), INIT_NORMAL, TASK_PRIORITY_LOW); },
         "InitializeVirtDev", 0},
        {"grow a logical drive",
         [&] { return lib.increaseLogicalDriveSize(driveAddr(0, 2), readyDisk, TASK_PRIORITY_LOW); },
         "IncreaseVirtDevSizes", 1},
        {"grow an array", [&] { return lib.increaseLogicalDriveSize(arrayAddr(0, 1), readyDisk, TASK_PRIORITY_LOW); },
         "IncreaseArraySize", 1},
        {"read-ahead off", [&] { return lib.setAdapterReadCache(Addr(0), false); }, "SetReadAheadMode", 0},
    };
    for (const Case& c : cases) {
        tarnellsim::reset();
        configure();
        EXPECT_EQ(Ret(0), c.call()) << c.label;
        const auto sent = callsOf(c.entry);
        ASSERT_EQ(1u, sent.size()) << c.label;
        ASSERT_FALSE(sent[0].args.empty()) << c.label;
        EXPECT_EQ(c.firstArg, sent[0].args[0]) << c.label;
    }
}

// Identify: an array names its logical drives (within a spanned array those
// on that array), an adapter its hard drives; the walk stops at the first
// drive that fails.
TEST_F(TarnellLibDriveOpsTest, IdentifyWalk)
{
    configure();
    EXPECT_EQ(Ret(0), lib.identifyDevice(arrayAddr(0, 0), IDENTIFY_START));
    EXPECT_EQ(2u, callsOf("IdentifyPhysicalDrive").size()) << "drives 0 and 1";

    // Array 3 lies in spanned array 0 and carries sub-logical drive 0 (which
    // refuses with -1: only its spanned drive identifies its disks).
    tarnellsim::clearCalls();
    EXPECT_EQ(Ret::NOT_SUPPORTED, lib.identifyDevice(arrayAddr(0, 3), IDENTIFY_STOP).getReturn());
    EXPECT_TRUE(callsOf("IdentifyPhysicalDrive").empty());

    // Every disk of controller 5 is present.
    FilterCollection hardDrives(lib.getSystem()->getAdapter(1));
    hardDrives.apply("HardDrive", false);
    ASSERT_GT(hardDrives.size(), 3u);
    tarnellsim::clearCalls();
    EXPECT_EQ(Ret(0), lib.identifyDevice(Addr(1), IDENTIFY_START));
    EXPECT_EQ(hardDrives.size(), callsOf("IdentifyPhysicalDrive").size());

    tarnellsim::clearCalls();
    tarnellsim::injectFailure("IdentifyPhysicalDrive", tarnellsim::RC_BUSY, CONTROLLER_B, false, 2);
    EXPECT_EQ(Ret::CONTROLLER_FAILED, lib.identifyDevice(Addr(1), IDENTIFY_START).getReturn());
    EXPECT_EQ(3u, callsOf("IdentifyPhysicalDrive").size());
}

TEST_F(TarnellLibDriveOpsTest, TasksOfALogicalDrive)
{
    configure();
    // Drive 3 of controller 2 is being rebuilt.
    char* document = new char[4];
    std::strcpy(document, "old");
    ASSERT_EQ(Ret(0), lib.getTasks(driveAddr(0, 3), &document));
    ASSERT_NE(nullptr, document);
    const std::string text(document);
    lib.freeBuffer(document);
    EXPECT_EQ(0u, text.find("<ProgressCollection> <Progress "));
    EXPECT_EQ(text.size() - std::strlen(" </ProgressCollection>"), text.find(" </ProgressCollection>"));

    ProgressCollection tasks;
    ASSERT_EQ(Ret(0), lib.getTasks(driveAddr(0, 3), tasks));
    ASSERT_EQ(1, tasks.getSize());
    EXPECT_EQ(Ret::BAD_PARAM, lib.getTasks(Addr(0), tasks).getReturn());
    EXPECT_EQ(1, tasks.getSize());
}

} // namespace
