#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "RaidLib/Util/Date.h"
#include "RaidModel/Implementation/Tarnell/TarnellUtils.h"
#include "support/TestUtil.h"

namespace {

time_t fixedNow = 0;
time_t fixedClock() { return fixedNow; }

// 2026-12-08 09:05:07 UTC (the tests run with TZ=UTC).
time_t morningOf8December2026(int hour, int minute, int second)
{
    struct tm t = {};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 8;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return timegm(&t);
}

// A fresh family log in the test's directory, at a fixed time.
class TarnellLogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fixedNow = morningOf8December2026(9, 5, 7);
        previousClock = Date::setClock(fixedClock);
        TarnellUtils::openLog();
    }
    void TearDown() override
    {
        TarnellUtils::closeLog();
        Date::setClock(previousClock);
    }
    Date::ClockFn previousClock = nullptr;
};

TEST_F(TarnellLogTest, LinesCarryTimeTwoBlanksTagAndText)
{
    TarnellUtils::logMessage(INFORMATION_INFO, "Number of Controllers found is 2");
    TarnellUtils::logMessage(WARNING_INFO, "Adapter version match check failed");
    TarnellUtils::logMessage(FATAL_INFO, "Retrieving adapter status failed");
    TarnellUtils::logMessage(DEBUG_INFO, "debug");
    TarnellUtils::logMessage(static_cast<LOG_TYPE>(7), "no tag");
    fixedNow = morningOf8December2026(9, 0, 1);
    TarnellUtils::logMessage(WARNING_INFO, "later");

    EXPECT_EQ("12/8/2026 9:5:7  <Information> Number of Controllers found is 2\n"
              "12/8/2026 9:5:7  <Warning> Adapter version match check failed\n"
              "12/8/2026 9:5:7  <Fatal> Retrieving adapter status failed\n"
              "12/8/2026 9:5:7  <Debug> debug\n"
              "12/8/2026 9:5:7  no tag\n"
              "12/8/2026 9:0:1  <Warning> later\n",
              testsupport::readFile("TARNELLlog.txt"));
    EXPECT_EQ("12/8/2026 9:0:1 ", TarnellUtils::getCurrentTime());
}

TEST_F(TarnellLogTest, OpeningAgainEmptiesTheLog)
{
    TarnellUtils::logMessage(WARNING_INFO, "first run");
    TarnellUtils::openLog();
    TarnellUtils::logMessage(WARNING_INFO, "second run");
    EXPECT_EQ("12/8/2026 9:5:7  <Warning> second run\n", testsupport::readFile("TARNELLlog.txt"));
}

TEST_F(TarnellLogTest, UnopenableLogSwitchesLoggingOffSilently)
{
    TarnellUtils::closeLog();
    ASSERT_EQ(0, remove("TARNELLlog.txt"));
    ASSERT_EQ(0, mkdir("TARNELLlog.txt", 0755));   // a directory in the file's place
    TarnellUtils::openLog();
    EXPECT_FALSE(TarnellUtils::isLogOpen());
    TarnellUtils::logMessage(FATAL_INFO, "lost");
    struct stat st;
    ASSERT_EQ(0, stat("TARNELLlog.txt", &st));
    EXPECT_TRUE(S_ISDIR(st.st_mode));
}

TEST_F(TarnellLogTest, ConcurrentWritersDoNotInterleaveLines)
{
    const int threads = 4;
    const int perThread = 200;
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([t] {
            const std::string text(100, static_cast<char>('a' + t));
            for (int i = 0; i < perThread; ++i)
                TarnellUtils::logMessage(WARNING_INFO, text);
        });
    }
    for (std::thread& w : workers)
        w.join();

    const std::string log = testsupport::readFile("TARNELLlog.txt");
    const std::string prefix = "12/8/2026 9:5:7  <Warning> ";
    size_t pos = 0;
    int lines = 0;
    while (pos < log.size()) {
        size_t end = log.find('\n', pos);
        ASSERT_NE(std::string::npos, end);
        const std::string line = log.substr(pos, end - pos);
        ASSERT_EQ(prefix.size() + 100, line.size()) << line;
        ASSERT_EQ(prefix, line.substr(0, prefix.size()));
        ASSERT_EQ(std::string(100, line[prefix.size()]), line.substr(prefix.size()));
        ++lines;
        pos = end + 1;
    }
    EXPECT_EQ(threads * perThread, lines);
}

} // namespace
