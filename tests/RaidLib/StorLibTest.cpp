#include <gtest/gtest.h>

#include <string>

#include "RaidLib/StorLib.h"
#include "RaidLib/Util/StorDebug.h"
#include "RaidModel/ModelTestUtil.h"
#include "support/TestUtil.h"

namespace {

class TestLib : public StorLib {
public:
    explicit TestLib(EnumStorLibType type) : StorLib(type) {}
    System* newSystem() override { return new modeltest::TestSystem(getStorLibType()); }
    void makeCurrent(System* s) { curSystem.Set(s); }
};

} // namespace

// A library counts as a user of its type's debug logs for its lifetime and
// lets go of its current system when it goes.
TEST(StorLib, RegistersWithTheDebugLogsAndReleasesItsSystem)
{
    const uint32_t before = globalRaidObjectCounter;
    {
        TestLib lib(STORLIB_SARVO);
        EXPECT_EQ(lib.getSystem(), nullptr);
        lib.makeCurrent(lib.newSystem());
        EXPECT_NE(lib.getSystem(), nullptr);
        EXPECT_EQ(lib.getStorLibType(), STORLIB_SARVO);
        StorErrorPrintf(STORLIB_SARVO, "StorLibTest.cpp", 1, "while registered");
    }
    EXPECT_EQ(globalRaidObjectCounter, before);
    StorErrorPrintf(STORLIB_SARVO, "StorLibTest.cpp", 2, "after");
    const std::string log = testsupport::readFile("sarvoerror.txt");
    EXPECT_NE(log.find("while registered"), std::string::npos);
    EXPECT_EQ(log.find("after"), std::string::npos);
}

// Only the first guard of the process sets up, and only its destruction
// tears down. The lock that the library's load hook made is kept.
TEST(StorLibInit, OnlyTheFirstInstanceInitializesAndFinishes)
{
    osThreadLocker* loadLock = pStorLibGlobalThreadLocker;
    ASSERT_NE(loadLock, nullptr);
    {
        StorLibInit first;
        EXPECT_EQ(pStorLibGlobalThreadLocker, loadLock);
        {
            StorLibInit second;
        }
        EXPECT_EQ(pStorLibGlobalThreadLocker, loadLock);
    }
    EXPECT_EQ(pStorLibGlobalThreadLocker, nullptr);
    {
        StorLibInit later;
    }
    EXPECT_EQ(pStorLibGlobalThreadLocker, nullptr);

    // Back to the state the load hook made, for the unload hook.
    pStorLibGlobalThreadLocker = new osThreadLocker;
    doStorDebugInitialization(STORLIB_TARNELL);
}
