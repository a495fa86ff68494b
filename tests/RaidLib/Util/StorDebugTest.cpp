#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "RaidLib/Util/IpcTestSupport.h"
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
    // A scope before the file exists writes nothing and creates nothing.
    {
        StorDebugTracer before(STORLIB_TARNELL, STOR_DEBUG_TRACE, "Before()");
    }
    EXPECT_TRUE(filesHere().empty());

    touch("tarnelltrace.txt");
    {
        StorDebugTracer outer(STORLIB_TARNELL, STOR_DEBUG_TRACE, "Outer()");
        {
            StorDebugTracer inner(STORLIB_TARNELL, STOR_DEBUG_TRACE, "Inner()");
            // Construction scopes write nothing but count in the indentation.
            StorDebugTracer quiet(STORLIB_TARNELL, STOR_DEBUG_TRACE_CORE_CONSTRUCT, "RaidObject::RaidObject()");
            StorTracePrintf(STORLIB_TARNELL, STOR_DEBUG_TRACE, "value %d", 7);
            StorTracePrintf(STORLIB_TARNELL, STOR_DEBUG_TRACE_LEVEL2, "level two");
            StorErrorPrintf(STORLIB_TARNELL, "Adapter.cpp", 12, "echo %s", "this");
        }
        // Deleting the file while a scope is open does not stop its lines.
        unlink("tarnelltrace.txt");
        StorTracePrintf(STORLIB_TARNELL, STOR_DEBUG_TRACE, "after unlink");
    }
    // The next outermost scope finds no file and creates none.
    {
        StorDebugTracer later(STORLIB_TARNELL, STOR_DEBUG_TRACE, "Later()");
    }
    EXPECT_EQ(filesHere(), std::set<std::string>{"tarnellerror.txt"});
}

// A scope that writes no line of its own (a model object's construction
// outside any library call) looks for the trace file at most once a second
// per thread: a file made in the second of a look that found none is found
// in the next second, or by another thread, or by a scope that writes lines.
TEST_F(StorDebugLog, QuietScopesLookForTheTraceFileOnceASecondPerThread)
{
    static time_t seconds = STAMP_SECONDS + 100;
    StorSetClock([](struct timeval* tv, struct timezone*) {
        tv->tv_sec = seconds;
        tv->tv_usec = 0;
        return 0;
    });
    const auto quietScope = [](const char* line) {
        StorDebugTracer quiet(STORLIB_TARNELL, STOR_DEBUG_TRACE_CORE_CONSTRUCT, "RaidObject::RaidObject()");
        StorTracePrintf(STORLIB_TARNELL, STOR_DEBUG_TRACE, "%s", line);
    };
    quietScope("before the file");
    touch("tarnelltrace.txt");
    quietScope("same second");
    std::thread([&] { quietScope("other thread"); }).join();
    quietScope("again in that second");
    ++seconds;
    quietScope("a second later");
    quietScope("later in the next second");
    const std::string trace = readFile("tarnelltrace.txt");
    for (const char* line : {"before the file", "same second", "again in that second"})
        EXPECT_EQ(trace.find(line), std::string::npos) << line;
    for (const char* line : {"other thread", "a second later", "later in the next second"})
        EXPECT_NE(trace.find(line), std::string::npos) << line;

    // A scope with lines of its own looks every time.
    unlink("tarnelltrace.txt");
    quietScope("gone");
    touch("tarnelltrace.txt");
    {
        StorDebugTracer call(STORLIB_TARNELL, STOR_DEBUG_TRACE, "Call()");
    }
    EXPECT_NE(readFile("tarnelltrace.txt").find("Call() IN"), std::string::npos);
}

TEST_F(StorDebugLog, TraceLinesAreIndentedPerScope)
{
    touch("tarnelltrace.txt");
    {
        // An outermost scope with other flags opens the file but writes no line.
        StorDebugTracer quietOuter(STORLIB_TARNELL, STOR_DEBUG_TRACE_IMPL_CONSTRUCT, "TarnellLib::TarnellLib()");
    }
    {
        StorDebugTracer outer(STORLIB_TARNELL, STOR_DEBUG_TRACE, "Outer()");
        {
            StorDebugTracer inner(STORLIB_TARNELL, STOR_DEBUG_TRACE, "Inner()");
            StorDebugTracer quiet(STORLIB_TARNELL, STOR_DEBUG_TRACE_CORE_CONSTRUCT, "RaidObject::RaidObject()");
            StorTracePrintf(STORLIB_TARNELL, STOR_DEBUG_TRACE, "value %d", 7);
            StorTracePrintf(STORLIB_TARNELL, STOR_DEBUG_TRACE_LEVEL2, "level two");
            StorErrorPrintf(STORLIB_TARNELL, "Adapter.cpp", 12, "echo %s", "this");
        }
    }
    std::string s = STAMP;
    EXPECT_EQ(readFile("tarnelltrace.txt"), std::string(DATE_LINE) + s + "Outer() IN\n" + s + "0   Inner() IN\n" + s +
                                                "0   1   2   value 7\n" + s + "0   1   2   echo this\n" + s +
                                                "0   Inner() OUT\n" + s + "Outer() OUT\n");
}

TEST_F(StorDebugLog, IndentationStepsByDepth)
{
    touch("tarnelltrace.txt");
    std::vector<std::unique_ptr<StorDebugTracer>> scopes;
    std::string expected;
    for (int depth = 0; depth <= 66; ++depth) {
        StorTracePrintf(STORLIB_TARNELL, STOR_DEBUG_TRACE, "depth %d", depth);
        scopes.push_back(
            std::make_unique<StorDebugTracer>(STORLIB_TARNELL, STOR_DEBUG_TRACE_CORE_CONSTRUCT, "Quiet()"));
    }
    while (!scopes.empty())
        scopes.pop_back();

    std::string log = readFile("tarnelltrace.txt");
    // The step character of each level, as the line at depth level + 1 shows it.
    struct Case {
        int level;
        char step;
    } cases[] = {{0, '0'},  {9, '9'},  {10, 'a'}, {35, 'z'}, {36, 'A'},
                 {61, 'Z'}, {62, '|'}, {63, '|'}, {64, '|'}, {65, '|'}};
    for (const Case& c : cases) {
        std::string marker = "depth " + std::to_string(c.level + 1) + "\n";
        size_t end = log.find(marker);
        ASSERT_NE(end, std::string::npos) << marker;
        size_t start = log.rfind('\n', end) + 1;
        std::string line = log.substr(start, end - start);
        ASSERT_EQ(line.size(), strlen(STAMP) + 4 * (c.level + 1)) << line;
        EXPECT_EQ(line.substr(strlen(STAMP) + 4 * c.level), std::string(1, c.step) + "   ") << c.level;
    }
}

TEST_F(StorDebugLog, SizeLimitsOfTraceAndErrorLogs)
{
    struct Case {
        off_t traceSize;
        bool traced;
    } cases[] = {{0xA00000 - 1, true}, {0xA00000, false}};
    for (const Case& c : cases) {
        touch("tarnelltrace.txt", c.traceSize);
        {
            StorDebugTracer scope(STORLIB_TARNELL, STOR_DEBUG_TRACE, "Scope()");
        }
        EXPECT_EQ(osFileWriter::Size("tarnelltrace.txt") > static_cast<uint64_t>(c.traceSize), c.traced)
            << c.traceSize;
    }

    // An error log just below its limit takes one more entry; after that the
    // entries go only to the trace.
    touch("tarnelltrace.txt");
    touch("tarnellerror.txt", 0x100000 - 1);
    StorErrorPrintf(STORLIB_TARNELL, "a.cpp", 1, "first");
    uint64_t grown = osFileWriter::Size("tarnellerror.txt");
    EXPECT_GT(grown, 0x100000u - 1);
    {
        StorDebugTracer scope(STORLIB_TARNELL, STOR_DEBUG_TRACE, "Scope()");
        StorErrorPrintf(STORLIB_TARNELL, "a.cpp", 2, "second");
    }
    EXPECT_EQ(osFileWriter::Size("tarnellerror.txt"), grown);
    EXPECT_NE(readFile("tarnelltrace.txt").find("0   second\n"), std::string::npos);
}

TEST_F(StorDebugLog, ConfigurationLogHoldsTheLastTextVerbatim)
{
    StorConfigPrintf(STORLIB_TARNELL, "<System name=\"first\"/>");
    const char* text = "<System note=\"100% %s %n %d\"/>";
    StorConfigPrintf(STORLIB_TARNELL, text);
    EXPECT_EQ(filesHere(), std::set<std::string>{"tarnellconfig.xml"});
    EXPECT_EQ(readFile("tarnellconfig.xml"), std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n"
                                                         "<!-- Tue 08Dec2026 (tz=0) -->\n"
                                                         "<!-- 14:05:09.123      JNI: -->\n") +
                                                 text + "\n");
}

TEST_F(OwnTypeLog, EventLogWrittenWhileItExistsUpToItsLimit)
{
    const char* name = "sarvoevents.txt";
    StorEventPrintf(TYPE, "<RaidEvent/>");
    EXPECT_TRUE(filesHere().empty());

    touch(name, 0xA00000 - 2);
    StorEventPrintf(TYPE, "%s"); // verbatim: now exactly at the limit
    EXPECT_EQ(osFileWriter::Size(name), 0xA00000u);
    StorEventPrintf(TYPE, "<E/>"); // still written, now above it
    EXPECT_EQ(osFileWriter::Size(name), 0xA00000u + 4);
    StorEventPrintf(TYPE, "<dropped/>");
    StorEventPrintf(TYPE, "<dropped/>");

    std::string log = readFile(name);
    const std::string limitLine = "<!-- File size limit exceeded.  Event logging stopped. -->\n";
    EXPECT_EQ(log.substr(0xA00000 - 2), "%s<E/>" + limitLine);
}

// An untyped call (a model object whose address has no type yet) logs under
// the innermost open scope of its thread, so that building a family's tree
// under that family's scope never takes the default type's mutex as well.
TEST_F(OwnTypeLog, UntypedCallsLogUnderTheInnermostOpenScope)
{
    {
        StorDebugTracer outer(TYPE, STOR_DEBUG_TRACE, "Outer()");
        StorErrorPrintf(STORLIB_UNKNOWN, "a.cpp", 1, "inside sarvo");
        {
            StorDebugTracer inner(STORLIB_TARNELL, STOR_DEBUG_TRACE, "Inner()");
            StorErrorPrintf(STORLIB_UNKNOWN, "a.cpp", 2, "inside tarnell");
        }
        StorErrorPrintf(STORLIB_UNKNOWN, "a.cpp", 3, "back in sarvo");
    }
    StorErrorPrintf(STORLIB_UNKNOWN, "a.cpp", 4, "no scope");
    std::string sarvo = readFile("sarvoerror.txt");
    std::string tarnell = readFile("tarnellerror.txt");
    EXPECT_NE(sarvo.find("inside sarvo"), std::string::npos);
    EXPECT_NE(sarvo.find("back in sarvo"), std::string::npos);
    EXPECT_NE(tarnell.find("inside tarnell"), std::string::npos);
    EXPECT_NE(tarnell.find("no scope"), std::string::npos);
    EXPECT_EQ(sarvo.find("no scope"), std::string::npos);
}

TEST_F(StorDebugLog, LogCallsChooseTheirType)
{
    // Types 0 and 14 log under the default (Tarnell) type.
    StorErrorPrintf(STORLIB_UNKNOWN, "a.cpp", 1, "type zero");
    StorErrorPrintf(STORLIB_LAST_INDEX, "a.cpp", 2, "type fourteen");
    std::string tarnell = readFile("tarnellerror.txt");
    EXPECT_NE(tarnell.find("type zero"), std::string::npos);
    EXPECT_NE(tarnell.find("type fourteen"), std::string::npos);

    // Types 3 and 4 have states of their own but write under "unk".
    for (EnumStorLibType reserved : {STORLIB_RESERVED1, STORLIB_RESERVED2}) {
        doStorDebugInitialization(reserved);
        StorConfigPrintf(reserved, "<x/>");
        StorErrorPrintf(reserved, "a.cpp", 3, "reserved %d", static_cast<int>(reserved));
        doStorDebugCleanup(reserved);
    }
    EXPECT_EQ(filesHere(), (std::set<std::string>{"tarnellerror.txt", "unkerror.txt", "unkconfig.xml"}));
    std::string unk = readFile("unkerror.txt");
    EXPECT_NE(unk.find("reserved 3"), std::string::npos);
    EXPECT_NE(unk.find("reserved 4"), std::string::npos);

    // A type without a state logs nothing.
    StorErrorPrintf(STORLIB_TOBRECK, "a.cpp", 4, "nobody");
    StorConfigPrintf(STORLIB_TOBRECK, "<x/>");
    StorDebugTracer scope(STORLIB_TOBRECK, STOR_DEBUG_TRACE, "Nobody()");
    EXPECT_FALSE(fileExists("tobreckerror.txt"));
    EXPECT_FALSE(fileExists("tobreckconfig.xml"));
}

TEST_F(StorDebugLog, NamesAndApplicationNameInEntries)
{
    pStorLibAppName = "LONGAPPLICATION";
    touch("tarnelltrace.txt");
    {
        StorDebugTracer unnamed(STORLIB_TARNELL, STOR_DEBUG_TRACE, nullptr);
        StorErrorPrintf(STORLIB_TARNELL, nullptr, 5, "null file");
    }
    struct Case {
        const char* file;
        const char* shown;
    } cases[] = {{"C:\\src\\Adapter.cpp", "Adapter.cpp"},
                 {"../../../RaidLib/StorLib.cpp", "StorLib.cpp"},
                 {"dir\\odd/Plain.cpp", "Plain.cpp"},
                 {"Whole.cpp", "Whole.cpp"}};
    for (const Case& c : cases)
        StorErrorPrintf(STORLIB_TARNELL, c.file, 9, "x");

    const std::string stamp = "14:05:09.123 LONGAPPL: ";
    std::string trace = readFile("tarnelltrace.txt");
    EXPECT_EQ(trace, std::string(DATE_LINE) + stamp + "?\?\?() IN\n" + stamp + "0   null file\n" + stamp +
                         "?\?\?() OUT\n");
    std::string errors = readFile("tarnellerror.txt");
    EXPECT_NE(errors.find(stamp + "???: Line #: 5\n" + SKIP + "?\?\?()\n" + SKIP + "    null file\n"),
              std::string::npos)
        << errors;
    for (const Case& c : cases)
        EXPECT_NE(errors.find(stamp + c.shown + ": Line #: 9\n" + SKIP + "x\n"), std::string::npos) << c.file;
}

TEST_F(StorDebugLog, StatesLiveWhileCounted)
{
    doStorDebugInitialization(STORLIB_SARVO);
    doStorDebugInitialization(STORLIB_SARVO);
    doStorDebugCleanup(STORLIB_SARVO);
    StorErrorPrintf(STORLIB_SARVO, "a.cpp", 1, "still counted");
    EXPECT_TRUE(fileExists("sarvoerror.txt"));
    doStorDebugCleanup(STORLIB_SARVO);
    unlink("sarvoerror.txt");
    StorErrorPrintf(STORLIB_SARVO, "a.cpp", 2, "gone");
    EXPECT_FALSE(fileExists("sarvoerror.txt"));
    // Extra cleanups and types out of range change nothing.
    doStorDebugCleanup(STORLIB_SARVO);
    doStorDebugInitialization(STORLIB_LAST_INDEX);
    doStorDebugCleanup(STORLIB_LAST_INDEX);

    // The Vesk type's first cleanup keeps its state.
    doStorDebugInitialization(STORLIB_VESK);
    doStorDebugCleanup(STORLIB_VESK);
    StorErrorPrintf(STORLIB_VESK, "a.cpp", 3, "kept");
    EXPECT_TRUE(fileExists("veskerror.txt"));
}

TEST_F(StorDebugLog, CleanupWaitsForScopesStillOpen)
{
    doStorDebugInitialization(STORLIB_SARVO);
    touch("sarvotrace.txt");
    std::atomic<bool> inScope{false};
    std::atomic<bool> cleanedUp{false};
    std::thread worker([&] {
        StorDebugTracer scope(STORLIB_SARVO, STOR_DEBUG_TRACE, "Worker()");
        inScope = true;
        while (!cleanedUp)
            std::this_thread::yield();
        StorErrorPrintf(STORLIB_SARVO, "w.cpp", 1, "inside after cleanup");
    });
    while (!inScope)
        std::this_thread::yield();
    doStorDebugCleanup(STORLIB_SARVO); // the last user: deleted when the scope ends
    cleanedUp = true;
    worker.join();

    StorErrorPrintf(STORLIB_SARVO, "m.cpp", 2, "after the scope");
    std::string errors = readFile("sarvoerror.txt");
    EXPECT_NE(errors.find("inside after cleanup"), std::string::npos);
    EXPECT_EQ(errors.find("after the scope"), std::string::npos);
    std::string trace = readFile("sarvotrace.txt");
    EXPECT_NE(trace.find("Worker() OUT\n"), std::string::npos) << trace;
}

// Scopes pin their state without the table's lock: states made and deleted
// on one thread while others open and close nested scopes and log in them
// are never used once deleted (the sanitizer lanes see any such use), and
// the counts end balanced, so the last cleanup deletes the state.
TEST_F(StorDebugLog, ScopesKeepTheirStateWhileOtherThreadsDeleteIt)
{
    std::atomic<bool> done{false};
    const auto work = [&] {
        while (!done) {
            StorDebugTracer outer(STORLIB_SARVO, STOR_DEBUG_TRACE, "Outer()");
            StorDebugTracer quiet(STORLIB_SARVO, STOR_DEBUG_TRACE_CORE_CONSTRUCT, "Quiet()");
            StorDebugTracer untyped(STORLIB_UNKNOWN, STOR_DEBUG_TRACE_CORE_CONSTRUCT, "Untyped()");
            StorTracePrintf(STORLIB_SARVO, STOR_DEBUG_TRACE, "inside");
        }
    };
    std::thread first(work);
    std::thread second(work);
    for (int i = 0; i < 300; ++i) {
        doStorDebugInitialization(STORLIB_SARVO);
        if (i % 2 == 0)
            std::this_thread::yield();
        doStorDebugCleanup(STORLIB_SARVO);
    }
    done = true;
    first.join();
    second.join();
    StorErrorPrintf(STORLIB_SARVO, "a.cpp", 1, "no state left");
    EXPECT_FALSE(fileExists("sarvoerror.txt"));
    doStorDebugInitialization(STORLIB_SARVO);
    StorErrorPrintf(STORLIB_SARVO, "a.cpp", 2, "a new state");
    doStorDebugCleanup(STORLIB_SARVO);
    EXPECT_TRUE(fileExists("sarvoerror.txt"));
}

TEST_F(StorDebugLog, ScopesOfOneTypeRunOneThreadAtATime)
{
    std::atomic<bool> firstInside{false};
    std::atomic<bool> firstLeft{false};
    std::atomic<bool> overlapped{false};
    std::thread first([&] {
        StorDebugTracer scope(STORLIB_TARNELL, STOR_DEBUG_TRACE, "First()");
        firstInside = true;
        MilliSleep(60);
        firstLeft = true;
    });
    while (!firstInside)
        std::this_thread::yield();
    {
        StorDebugTracer other(STORLIB_SARVO, STOR_DEBUG_TRACE, "OtherType()"); // no state: never waits
        StorDebugTracer scope(STORLIB_TARNELL, STOR_DEBUG_TRACE, "Second()");
        overlapped = !firstLeft;
    }
    first.join();
    EXPECT_FALSE(overlapped);
}

TEST_F(StorDebugLog, OutermostPelmScopesHoldTheInterProcessLock)
{
    // The Pelm type's lock is the set of "/StorLock512": a namespace of its
    // own keeps the test off any real set of that name.
    ipctest::FixedMarkerLock markerLock;
    const std::string marker = ipctest::markerPath(PELM, nullptr);
    bool markerExisted = fileExists(marker);
    int result = ipctest::runInFreshIpcNamespace([&] {
        doStorDebugInitialization(STORLIB_PELM);
        int id = ipctest::semaphoreOf(marker);
        if (id < 0)
            return 10;
        int before = ipctest::semaphoreValue(id);
        int outerHeld = -1;
        int innerHeld = -1;
        {
            StorDebugTracer outer(STORLIB_PELM, STOR_DEBUG_TRACE, "Outer()");
            outerHeld = ipctest::semaphoreValue(id);
            StorDebugTracer inner(STORLIB_PELM, STOR_DEBUG_TRACE, "Inner()"); // does not wait for itself
            innerHeld = ipctest::semaphoreValue(id);
        }
        int after = ipctest::semaphoreValue(id);
        doStorDebugCleanup(STORLIB_PELM);
        return before == 1 && outerHeld == 0 && innerHeld == 0 && after == 1 ? 0 : 11;
    });
    if (!markerExisted)
        unlink(marker.c_str());
    if (result == ipctest::NO_NAMESPACE)
        GTEST_SKIP() << "no IPC namespace of its own for the test (unshare needs privileges here)";
    EXPECT_EQ(result, 0);
}
