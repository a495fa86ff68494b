#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "RaidModel/Implementation/Tarnell/DllInterface/DllP.h"
#include "TarnellSim.h"
#include "storagedll/storintf.h"

// The access point over the simulated controller library. The test program
// links libtarnellapi.so, so the access point's dlopen by name finds that very
// copy; the variants are opened by path.

namespace {

std::string variantPath(const char* file)
{
    return std::string(TARNELLAPI_VARIANT_DIR) + "/" + file;
}

class DllPTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tarnellsim::reset();
        DllP::setLibraryNameForTest(nullptr);
        DllP::resetForTest();
    }
    void TearDown() override
    {
        tarnellsim::clearFailures();
        DllP::setLibraryNameForTest(nullptr);
        DllP::resetForTest();
    }
};

struct UnusableCase {
    const char* label;
    std::string library;
    unsigned long failID;
};

TEST_F(DllPTest, UnusableLibraryGivesNullAndTheLineOnEveryCall)
{
    const UnusableCase cases[] = {
        {"missing library", "libtarnellapi_not_there.so", 0x77770000ul},
        {"no ConstructorOK", variantPath(TARNELLAPI_VARIANT_NO_CONSTRUCTOROK), 0x77770001ul},
        {"refusing ConstructorOK", variantPath(TARNELLAPI_VARIANT_CONSTRUCTOR_FAILS),
         tarnellsim::CONSTRUCTOR_FAIL_ID},
    };
    for (const UnusableCase& c : cases) {
        SCOPED_TRACE(c.label);
        DllP::setLibraryNameForTest(c.library.c_str());
        const std::string line = "Dll loading failed; failID is " + std::to_string(c.failID) + "\n";
        ::testing::internal::CaptureStdout();
        StoreDLLIntf* first = DllP::GetDLLPointer();
        StoreDLLIntf* second = DllP::GetDLLPointer();
        const std::string out = ::testing::internal::GetCapturedStdout();
        EXPECT_EQ(nullptr, first);
        EXPECT_EQ(nullptr, second);
        EXPECT_EQ(line + line, out);
    }
}

TEST_F(DllPTest, FailedCreationIsRetriedAndASuccessIsKeptWithoutFurtherChecks)
{
    // The first attempt is refused, the second succeeds.
    tarnellsim::injectFailure("ConstructorOK", 42);
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(nullptr, DllP::GetDLLPointer());
    EXPECT_EQ("Dll loading failed; failID is 42\n", ::testing::internal::GetCapturedStdout());

    StoreDLLIntf* store = DllP::GetDLLPointer();
    ASSERT_NE(nullptr, store);
    EXPECT_EQ(2u, tarnellsim::calls("ConstructorOK").size());

    // Held from now on: the library's changed mind is not asked again.
    tarnellsim::injectFailure("ConstructorOK", 43, tarnellsim::ANY_ADAPTER, true);
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(store, DllP::GetDLLPointer());
    EXPECT_EQ(store, DllP::GetDLLPointer());
    EXPECT_EQ("", ::testing::internal::GetCapturedStdout());
    EXPECT_EQ(2u, tarnellsim::calls("ConstructorOK").size());

    // The held object reaches the controllers.
    int present = 0;
    EXPECT_EQ(0, store->IsRaidPresent(present).iReturnCode);
}

TEST_F(DllPTest, ConcurrentFirstCallsCreateOneObject)
{
    const int threads = 8;
    std::vector<StoreDLLIntf*> seen(threads, nullptr);
    std::atomic<int> ready(0);
    std::vector<std::thread> workers;
    for (int i = 0; i < threads; ++i) {
        workers.emplace_back([&, i] {
            ready.fetch_add(1);
            while (ready.load() < threads) {
            }
            seen[i] = DllP::GetDLLPointer();
        });
    }
    for (std::thread& t : workers)
        t.join();

    ASSERT_NE(nullptr, seen[0]);
    for (StoreDLLIntf* p : seen)
        EXPECT_EQ(seen[0], p);
    EXPECT_EQ(1u, tarnellsim::calls("ConstructorOK").size());
}

} // namespace
