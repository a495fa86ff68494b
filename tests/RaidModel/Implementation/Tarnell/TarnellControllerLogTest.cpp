#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "RaidModel/Implementation/Tarnell/TarnellSimTree.h"

// The controller event-log document and the clearing of the logs, against
// the simulated controllers.

using namespace tarnelltest;

namespace {

class TarnellControllerLogTest : public SimTest {
protected:
    void SetUp() override
    {
        SimTest::SetUp();
        ctl.reset(new SimController(CONTROLLER_A, TARNELL_B2));
    }
    void TearDown() override
    {
        ctl.reset();
        SimTest::TearDown();
    }
    TarnellAdapter& adapter() { return *ctl->adapter; }

    // Replaces the soft log of controller A.
    static void setSoftLog(const std::vector<uint32_t>& entries)
    {
        tarnellsim::Scenario s = tarnellsim::current();
        for (auto& c : s.controllers)
            if (c.number == CONTROLLER_A)
                c.logs.soft = entries;
        tarnellsim::reset(s);
    }

    std::unique_ptr<SimController> ctl;
};

const char OPENING_SOFT[] = "<eventLog controllerID=0 logType=1 entriesCount=";

TEST_F(TarnellControllerLogTest, SoftLogOfThreeEntriesGivesTheExactDocument)
{
    setSoftLog({0x000ABC01, 0xDEADBEEF, 0x00000010});
    std::vector<char> buf(4096, 'x');
    unsigned long size = buf.size();
    ASSERT_EQ(Ret(0), adapter().getControllerLog(LOG_SOFT, buf.data(), size));
    const std::string expected = std::string(OPENING_SOFT) +
                                 "0003>\n<![CDATA[\n000ABC01\nDEADBEEF\n00000010\n]]>\n</eventlog>";
    EXPECT_EQ(expected, std::string(buf.data()));
    EXPECT_EQ(expected.size(), size);
    EXPECT_EQ('\0', buf[buf.size() - 1]) << "the whole given buffer is cleared";

    const auto sent = callsOf("GetAdapterEventLog");
    ASSERT_EQ(1u, sent.size());
    EXPECT_EQ(CONTROLLER_A, sent[0].address.usAdapterID);
}

TEST_F(TarnellControllerLogTest, SmallBuffersAreRefusedWithTheSizeNeededOrCutToWhatFits)
{
    setSoftLog({1, 2, 3});
    // Opening 64 + closing 15 + terminator: 80 leaves no room for a line.
    std::vector<char> buf(200, 'x');
    unsigned long size = 80;
    EXPECT_EQ(Ret::BAD_PARAM, adapter().getControllerLog(LOG_SOFT, buf.data(), size).getReturn());
    EXPECT_EQ(64u + 15u + 9216u, size);
    EXPECT_EQ('x', buf[0]) << "buffer untouched";

    // 100 leaves room for two lines of nine characters.
    size = 100;
    ASSERT_EQ(Ret(0), adapter().getControllerLog(LOG_SOFT, buf.data(), size));
    EXPECT_EQ(std::string(OPENING_SOFT) + "0002>\n<![CDATA[\n00000001\n00000002\n]]>\n</eventlog>",
              std::string(buf.data()));
    EXPECT_EQ(97u, size);
}

TEST_F(TarnellControllerLogTest, EmptyLogGivesTheShortFormAndClearingEmptiesTheNextRead)
{
    setSoftLog({7, 8});
    ASSERT_EQ(Ret(0), adapter().clearControllerLog(LOG_SOFT));
    const auto erased = callsOf("EraseAdapterEventLog");
    ASSERT_EQ(1u, erased.size());
    ASSERT_EQ(1u, erased[0].args.size());
    EXPECT_EQ(0xF2, erased[0].args[0]);

    char buf[32];
    std::memset(buf, 'x', sizeof buf);
    unsigned long size = 11;
    EXPECT_EQ(Ret::BAD_PARAM, adapter().getControllerLog(LOG_SOFT, buf, size).getReturn());
    EXPECT_EQ(12u, size);
    EXPECT_EQ('x', buf[0]);
    size = sizeof buf;
    ASSERT_EQ(Ret(0), adapter().getControllerLog(LOG_SOFT, buf, size));
    EXPECT_STREQ("<eventlog/>", buf);
    EXPECT_EQ(12u, size);
}

TEST_F(TarnellControllerLogTest, DeviceLogHoldsSixteenLinesPerChannel)
{
    ctl->channel(0);
    ctl->channel(1);
    std::vector<char> buf(4096);
    unsigned long size = buf.size();
    ASSERT_EQ(Ret(0), adapter().getControllerLog(LOG_DEVICE, buf.data(), size));
    const std::string doc(buf.data());
    EXPECT_NE(std::string::npos, doc.find("logType=0 entriesCount=0032>")) << doc;
    EXPECT_EQ(64u + 15u + 32u * 9u, size);
}

TEST_F(TarnellControllerLogTest, UnsupportedTypesAndFailures)
{
    char buf[256];
    for (EnumLogTypeRequest type : {LOG_STRIPE_LOCK, LOG_EVENT, LOG_UART, static_cast<EnumLogTypeRequest>(42)}) {
        unsigned long size = sizeof buf;
        EXPECT_EQ(Ret::NOT_SUPPORTED, adapter().getControllerLog(type, buf, size).getReturn()) << type;
        EXPECT_EQ(Ret::NOT_SUPPORTED, adapter().clearControllerLog(type).getReturn()) << type;
    }
    EXPECT_TRUE(tarnellsim::calls().empty());

    unsigned long size = sizeof buf;
    EXPECT_EQ(Ret::BAD_PARAM, adapter().getControllerLog(LOG_SOFT, nullptr, size).getReturn());
    size = 0;
    EXPECT_EQ(Ret::BAD_PARAM, adapter().getControllerLog(LOG_SOFT, buf, size).getReturn());

    tarnellsim::injectFailure("GetAdapterEventLog", tarnellsim::RC_BUSY);
    size = sizeof buf;
    EXPECT_EQ(Ret::CONTROLLER_FAILED, adapter().getControllerLog(LOG_HARD, buf, size).getReturn());
    EXPECT_NE(std::string::npos, familyLog().find("Retrieving adapter's event log failed"));
    tarnellsim::injectFailure("EraseAdapterEventLog", tarnellsim::RC_BUSY);
    EXPECT_EQ(Ret::CONTROLLER_FAILED, adapter().clearControllerLog(LOG_HARD).getReturn());
    EXPECT_NE(std::string::npos, familyLog().find("Erasing adapter's event log failed"));

    stdoutOf([&] {
        withoutControllerAccess();
        EXPECT_EQ(Ret::CONTROLLER_FAILED, adapter().clearControllerLog(LOG_UART).getReturn());
        size = sizeof buf;
        EXPECT_EQ(Ret::CONTROLLER_FAILED, adapter().getControllerLog(LOG_SOFT, buf, size).getReturn());
    });
}

} // namespace
