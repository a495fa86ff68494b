#include <gtest/gtest.h>

#include <string>

#include "RaidModel/Implementation/Tarnell/TarnellSimTree.h"

// The Tarnell hard drive's requests against the simulated controllers; what
// was sent is read from the simulator's call log, what changed from the
// simulator's state.

using namespace tarnelltest;

namespace {

// Controller 2 of the default scenario with its ready disk 0:6 and its
// SAF-TE enclosure 0:15.
class TarnellHardDriveTest : public SimTest {
protected:
    void SetUp() override
    {
        SimTest::SetUp();
        ctl.reset(new SimController(CONTROLLER_A, TARNELL_B2));
        disk = ctl->disk(0, 6);
        ctl->enclosure(0, 15);
    }
    void TearDown() override
    {
        ctl.reset();
        SimTest::TearDown();
    }

    // The simulated disk 0:6 of controller 2.
    static tarnellsim::Device simDisk()
    {
        const tarnellsim::Scenario now = tarnellsim::current();
        for (const auto& d : now.controllers[0].devices) {
            if (d.channel == 0 && d.target == 6)
                return d;
        }
        return tarnellsim::Device();
    }

    // The default scenario with disk 0:6 changed by edit.
    template <class F>
    static void resetWithDisk(F edit)
    {
        tarnellsim::Scenario s = tarnellsim::defaultScenario();
        for (auto& d : s.controllers[0].devices) {
            if (d.channel == 0 && d.target == 6)
                edit(d);
        }
        tarnellsim::reset(s);
    }

    std::unique_ptr<SimController> ctl;
    TarnellHardDrive* disk = nullptr;
};

} // namespace

TEST_F(TarnellHardDriveTest, StatesAreSentAsTheControllersCodes)
{
    EXPECT_EQ(Ret::SUCCESS, disk->createGlobalHotSpare().getReturn());
    EXPECT_EQ(DEVSTATE_HOT_SPARE, simDisk().state);

    const struct {
        EnumPhysicalDeviceState state;
        long long code;
    } cases[] = {
        {DRIVE_READY, 0x81},    {DRIVE_ONLINE, 0x89},    {DRIVE_DEAD, 0x08},
        {DEVICE_STANDBY, 0x01}, {DRIVE_SPARE, 0x85},     {DRIVE_REBUILDING, 0x8B},
        {DRIVE_PARTITIONED_SINGLE, 0x89}, {DRIVE_EMPTY, 0x00}, {DRIVE_UNSUPPORTED, 0x00},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        tarnellsim::clearCalls();
        disk->setState(c.state);
        const auto sent = callsOf("SetPhysDevState");
        ASSERT_EQ(1u, sent.size());
        EXPECT_EQ(2, sent[0].address.usAdapterID);
        EXPECT_EQ(0, sent[0].address.usChannelID);
        EXPECT_EQ(6, sent[0].address.usPhysDevID);
        EXPECT_EQ(std::vector<long long>{c.code}, sent[0].args);
    }

    tarnellsim::injectFailure("SetPhysDevState", tarnellsim::RC_INVALID_STATE);
    EXPECT_EQ(Ret::CONTROLLER_FAILED, disk->setState(DRIVE_READY).getReturn());
    EXPECT_EQ("", familyLog());
}

TEST_F(TarnellHardDriveTest, WriteCacheIsTheWceBitOfTheCachingPage)
{
    // One 8-byte block descriptor: WCE is byte 14 of the page data.
    ASSERT_TRUE(simDisk().writeCache);
    EXPECT_EQ(Ret::SUCCESS, disk->setWriteCacheEnable(false).getReturn());
    EXPECT_FALSE(simDisk().writeCache);
    const auto reads = callsOf("ReadModePageCmnd");
    ASSERT_EQ(2u, reads.size());
    EXPECT_EQ((std::vector<long long>{64, 0x48}), reads[0].args);
    EXPECT_EQ((std::vector<long long>{64, 0x08}), reads[1].args);
    const auto writes = callsOf("WriteModePageCmnd");
    ASSERT_EQ(1u, writes.size());
    EXPECT_EQ((std::vector<long long>{32, 0x08}), writes[0].args) << "the length read, page 8";
    EXPECT_EQ(6, writes[0].address.usPhysDevID);

    EXPECT_EQ(Ret::SUCCESS, disk->setWriteCacheEnable(true).getReturn());
    EXPECT_TRUE(simDisk().writeCache);
    EXPECT_EQ("", familyLog());
}

TEST_F(TarnellHardDriveTest, WceByteFollowsTheBlockDescriptors)
{
    const struct {
        int descriptorBytes;
        int expected;
    } cases[] = {
        {0, Ret::SUCCESS},            // WCE at byte 6
        {56, Ret::SUCCESS},           // WCE at byte 62, the last but one of the buffer
        {58, Ret::CONTROLLER_FAILED}, // WCE would lie at byte 64, past the buffer
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.descriptorBytes);
        resetWithDisk([&](tarnellsim::Device& d) { d.modeBlockDescriptorBytes = uint8_t(c.descriptorBytes); });
        EXPECT_EQ(c.expected, disk->setWriteCacheEnable(false).getReturn());
        EXPECT_EQ(c.expected == Ret::SUCCESS, !simDisk().writeCache);
        EXPECT_EQ(c.expected == Ret::SUCCESS ? 1u : 0u, callsOf("WriteModePageCmnd").size());
    }
}

TEST_F(TarnellHardDriveTest, WriteCacheRefusals)
{
    // WCE cannot be changed on this disk: nothing is written, nothing logged.
    resetWithDisk([](tarnellsim::Device& d) { d.writeCacheChangeable = false; });
    EXPECT_EQ(Ret::CONTROLLER_FAILED, disk->setWriteCacheEnable(false).getReturn());
    EXPECT_EQ(1u, callsOf("ReadModePageCmnd").size());
    EXPECT_TRUE(callsOf("WriteModePageCmnd").empty());
    EXPECT_EQ("", familyLog());

    // A failed read leaves one warning.
    tarnellsim::reset();
    tarnellsim::injectFailure("ReadModePageCmnd", tarnellsim::RC_INVALID_STATE);
    EXPECT_EQ(Ret::CONTROLLER_FAILED, disk->setWriteCacheEnable(true).getReturn());
    const std::string log = familyLog();
    EXPECT_NE(std::string::npos, log.find("<Warning> Reading data from device failed\n")) << log;
    EXPECT_EQ(log.find("Reading"), log.rfind("Reading"));

    tarnellsim::injectFailure("WriteModePageCmnd", tarnellsim::RC_INVALID_STATE);
    EXPECT_EQ(Ret::CONTROLLER_FAILED, disk->setWriteCacheEnable(true).getReturn());
    EXPECT_EQ(log, familyLog()) << "a failed write is not logged";
}

TEST_F(TarnellHardDriveTest, IdentifyCodes)
{
    EXPECT_EQ(Ret::SUCCESS, disk->identifyDevice(true).getReturn());
    EXPECT_EQ(0, simDisk().identify);
    EXPECT_EQ(Ret::SUCCESS, disk->identifyDevice(false).getReturn());
    EXPECT_EQ(1, simDisk().identify);
    tarnellsim::injectFailure("IdentifyPhysicalDrive", tarnellsim::RC_NO_OBJECT);
    EXPECT_EQ(Ret::CONTROLLER_FAILED, disk->identifyDevice(false).getReturn());
    EXPECT_NE(std::string::npos, familyLog().find("<Warning> Identifying physical drive failed\n"));
}

TEST_F(TarnellHardDriveTest, TheDriveMustBeFoundAgainInItsAdaptersTree)
{
    char text[] = "X";
    // Not attached to the tree, and an address that holds an enclosure.
    TarnellHardDrive loose(ctl->adapter, ctl->channel(0), 9, 100, DRIVE_READY, text, text, text, text, false,
                           HARD_DRIVE_CACHE_MODE_WRITE_BACK, true, true, false, text, false, false);
    TarnellHardDrive atEnclosure(ctl->adapter, ctl->channel(0), 15, 100, DRIVE_READY, text, text, text, text, false,
                                 HARD_DRIVE_CACHE_MODE_WRITE_BACK, true, true, false, text, false, false);
    for (TarnellHardDrive* d : {&loose, &atEnclosure}) {
        EXPECT_EQ(Ret::BAD_PARAM, d->createGlobalHotSpare().getReturn());
        EXPECT_EQ(Ret::BAD_PARAM, d->setWriteCacheEnable(true).getReturn());
        EXPECT_EQ(Ret::BAD_PARAM, d->identifyDevice(true).getReturn());
    }
    EXPECT_TRUE(tarnellsim::calls().empty());
}

TEST_F(TarnellHardDriveTest, WithoutControllerAccessNothingChanges)
{
    TarnellHardDrive* noCacheSetting = ctl->disk(1, 4, false);
    withoutControllerAccess();
    stdoutOf([&] {
        EXPECT_EQ(Ret::CONTROLLER_FAILED, disk->setState(DRIVE_READY).getReturn());
        EXPECT_EQ(Ret::CONTROLLER_FAILED, disk->createGlobalHotSpare().getReturn());
        EXPECT_EQ(Ret::CONTROLLER_FAILED, disk->setWriteCacheEnable(false).getReturn());
        EXPECT_EQ(Ret::CONTROLLER_FAILED, disk->identifyDevice(true).getReturn());
        EXPECT_EQ(Ret::NOT_SUPPORTED, noCacheSetting->setWriteCacheEnable(true).getReturn()) << "asked first";
    });
    EXPECT_EQ(DEVSTATE_READY, simDisk().state);
}

TEST(TarnellHardDriveVendor, AcceptedVendorsAndTrim)
{
    const struct {
        const char* vendor;
        bool accepted;
    } vendors[] = {
        {"ZEQ-XJP ", true}, {"ZEQ-VRKD", true}, {" \tZEQ-TWQM", true}, {"zeq-xjp", false},
        {"ZEQ-XJPX", false}, {"NORVEX", false},  {" \t ", false},      {"", false},
    };
    char text[] = "X";
    for (const auto& v : vendors) {
        SCOPED_TRACE(v.vendor);
        TarnellHardDrive d(nullptr, nullptr, 0, 100, DRIVE_READY, const_cast<char*>(v.vendor), text, text, text,
                           false, HARD_DRIVE_CACHE_MODE_WRITE_BACK, true, true, false, text, false, false);
        EXPECT_EQ(v.accepted, TarnellHardDrive::isVendorSupported(&d));
    }
    TarnellBasicLogicalDrive notADevice;
    EXPECT_FALSE(TarnellHardDrive::isVendorSupported(&notADevice));
    EXPECT_FALSE(TarnellHardDrive::isVendorSupported(nullptr));

    const struct {
        const char* in;
        const char* out;
        const char* inAfter;
    } trims[] = {
        {" \t ABC", "ABC", " \t ABC"},
        {"ABC \t ", "ABC ", "ABC \t"}, // only the start is looked at again
        {"\t\tABC\t", "ABC", "\t\tABC\t"},
        {"  ", "", ""},
    };
    for (const auto& t : trims) {
        SCOPED_TRACE(t.in);
        std::string s = t.in;
        EXPECT_EQ(t.out, TarnellHardDrive::trim(s));
        EXPECT_EQ(t.inAfter, s) << "trailing blanks go from the caller's text";
    }
}

TEST(TarnellHardDriveObject, NamesCopiesAndChunks)
{
    char text[] = "X";
    TarnellHardDrive d(nullptr, nullptr, 3, -1, DRIVE_ONLINE, text, text, text, text, false,
                       HARD_DRIVE_CACHE_MODE_WRITE_BACK, true, true, false, text, true, false);
    EXPECT_STREQ("TarnellHardDrive", d.typeName());
    EXPECT_STREQ("HardDrive", d.serializedName());
    EXPECT_TRUE(d.isInstanceOf("TarnellHardDrive"));
    EXPECT_TRUE(d.isInstanceOf("HardDrive"));
    EXPECT_EQ(~0ull, d.getSize()) << "widened with its sign";
    d.addChunk(ChunkID{1, 0, 3});
    TarnellHardDrive copy(d);
    ASSERT_EQ(1u, copy.getChunkIDs().size());
    EXPECT_EQ(1, copy.getChunkIDs()[0].LogicalDriveID);
    EXPECT_TRUE(copy.isConfiguredSingle());
    EXPECT_FALSE(TarnellHardDrive().isConfiguredSingle());
}
