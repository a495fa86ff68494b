#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "RaidLib/Util/StorDebug.h"
#include "support/TestUtil.h"

using testsupport::fileExists;
using testsupport::readFile;

namespace {

// 8 December 2026, 14:05:09.123 UTC (TZ=UTC in the tests).
const time_t STAMP_SECONDS = 1796738709;
const long STAMP_USEC = 123456;
const char* const DATE_LINE = "Tue 08Dec2026 (tz=0)\n";
const char* const STAMP = "14:05:09.123      JNI: ";
const std::string SKIP(19, ' ');

int fixedClock(struct timeval* tv, struct timezone* tz)
{
    tv->tv_sec = STAMP_SECONDS;
    tv->tv_usec = STAMP_USEC;
    if (tz) {
        tz->tz_minuteswest = 0;
        tz->tz_dsttime = 0;
    }
    return 0;
}

std::set<std::string> filesHere()
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator("."))
        names.insert(entry.path().filename().string());
    return names;
}

void touch(const char* name, off_t size = 0)
{
    FILE* f = fopen(name, "w");
    ASSERT_NE(f, nullptr);
    fclose(f);
    ASSERT_EQ(truncate(name, size), 0);
}

// Every log line carries the fixed time; restores the application name too.
class StorDebugLog : public ::testing::Test {
protected:
    void SetUp() override { previousClock_ = StorSetClock(&fixedClock); }
    void TearDown() override
    {
        StorSetClock(previousClock_);
        pStorLibAppName = "JNI";
    }

private:
    StorClockFunc previousClock_ = nullptr;
};

// A library type of the test's own, with its state made for the test and
// cleaned up afterwards, so that no log stays open past the test.
class OwnTypeLog : public StorDebugLog {
protected:
    static const EnumStorLibType TYPE = STORLIB_SARVO;
    void SetUp() override
    {
        StorDebugLog::SetUp();
        doStorDebugInitialization(TYPE);
    }
    void TearDown() override
    {
        doStorDebugCleanup(TYPE);
        StorDebugLog::TearDown();
    }
};

} // namespace

TEST_F(StorDebugLog, ErrorInsideTwoScopesCreatesOnlyTheErrorLog)
{
    ASSERT_TRUE(filesHere().empty());
    {
        StorDebugTracer outer(STORLIB_TARNELL, STOR_DEBUG_TRACE, "JNI: getSystemConfig()");
        StorDebugTracer inner(STORLIB_TARNELL, STOR_DEBUG_TRACE, "StorLib::getSystemConfig()");
        StorErrorPrintf(STORLIB_TARNELL, "../../../RaidLib/StorLib.cpp", 135, "*** Resource Error: %s ***",
                        "pNewSystem = newSystem()");
    }
    EXPECT_EQ(filesHere(), std::set<std::string>{"tarnellerror.txt"});
    EXPECT_EQ(readFile("tarnellerror.txt"), std::string(DATE_LINE) + STAMP + "StorLib.cpp: Line #: 135\n" + SKIP +
                                                "JNI: getSystemConfig()\n" + SKIP + "    " +
                                                "StorLib::getSystemConfig()\n" + SKIP + "        " +
                                                "*** Resource Error: pNewSystem = newSystem() ***\n");
}

TEST_F(StorDebugLog, EmptyTraceFileSwitchesTracingOn)
{
    touch("tarnelltrace.txt");
    {
        StorDebugTracer outer(STORLIB_TARNELL, STOR_DEBUG_TRACE, "Outer()");
        {
            StorDebugTracer inner(STORLIB_TARNELL, STOR_DEBUG_TRACE, "Inner()");
            // Model construction scopes write nothing but count in the indentation.
            StorDebugTracer quiet(STORLIB_TARNELL, STOR_DEBUG_TRACE_CORE_CONSTRUCT, "RaidObject::RaidObject()");
            StorTracePrintf(STORLIB_TARNELL, STOR_DEBUG_TRACE, "value %d", 7);
            StorTracePrintf(STORLIB_TARNELL, STOR_DEBUG_TRACE_LEVEL2, "level two");
        }
        // Deleting the file while a scope is open does not stop its lines.
        unlink("tarnelltrace.txt");
    }
    // Nor does it keep the file: the next scope finds no trace file.
    {
        StorDebugTracer later(STORLIB_TARNELL, STOR_DEBUG_TRACE, "Later()");
    }
    EXPECT_FALSE(fileExists("tarnelltrace.txt"));
}

TEST_F(StorDebugLog, TraceLinesAreIndentedPerScope)
{
    touch("tarnelltrace.txt");
    {
        StorDebugTracer outer(STORLIB_TARNELL, STOR_DEBUG_TRACE, "Outer()");
        {
            StorDebugTracer inner(STORLIB_TARNELL, STOR_DEBUG_TRACE, "Inner()");
            StorDebugTracer quiet(STORLIB_TARNELL, STOR_DEBUG_TRACE_CORE_CONSTRUCT, "RaidObject::RaidObject()");
            StorTracePrintf(STORLIB_TARNELL, STOR_DEBUG_TRACE, "value %d", 7);
            StorTracePrintf(STORLIB_TARNELL, STOR_DEBUG_TRACE_LEVEL2, "level two");
        }
    }
    std::string s = STAMP;
    EXPECT_EQ(readFile("tarnelltrace.txt"), std::string(DATE_LINE) + s + "Outer() IN\n" + s + "0   Inner() IN\n" + s +
                                                "0   1   2   value 7\n" + s + "0   Inner() OUT\n" + s +
                                                "Outer() OUT\n");
}
