// The module's logger and scope tracer, and the provider utilities.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "KRNALogger.h"
#include "KRNAProvUtil.h"
#include "ProviderTestSupport.h"
#include "VeskAdapter.h"
#include "VeskSim.h"

using corvanecimple::KRNAProvUtil;
using providertest::logLines;
using providertest::logMessages;

namespace {

class KRNALoggerTest : public providertest::ProviderTest {};

// The lines of a log file without their time ("[info]  text").
std::vector<std::string> messagesOf(const std::string& file)
{
    std::vector<std::string> out;
    for (const std::string& line : providertest::splitLines(testsupport::readFile(file)))
        out.push_back(line.substr(line.find("] ") + 2));
    return out;
}

TEST_F(KRNALoggerTest, WritesTheTimeTheTagAndOneLineEndPerLine)
{
    KRNALogger logger("krnaprov.log", KRNALogger::DEBUG_FLAG);
    logger.debug("with %s\n", "line end");
    logger.info("without line end %d", 7);
    logger.log(7, "odd severity\n");
    logger.warn("%s", "the format decides\n");
    const std::vector<std::string> lines = logLines();
    ASSERT_EQ(5u, lines.size());
    const std::regex stamp(R"(\[[A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9]\d \d\d:\d\d:\d\d \d{4}\] .*)");
    for (size_t i = 0; i < 4; i++)
        EXPECT_TRUE(std::regex_match(lines[i], stamp)) << lines[i];
    EXPECT_EQ("[debug] with line end", lines[0].substr(lines[0].find("] ") + 2));
    EXPECT_EQ("[info]  without line end 7", lines[1].substr(lines[1].find("] ") + 2));
    EXPECT_EQ("[unknown] odd severity", lines[2].substr(lines[2].find("] ") + 2));
    // The expanded text's line end does not count: the format lacks one.
    EXPECT_EQ("[warn]  the format decides", lines[3].substr(lines[3].find("] ") + 2));
    EXPECT_EQ("", lines[4]); // the text's own line end
}

TEST_F(KRNALoggerTest, SkipsSeveritiesBelowItsLevel)
{
    struct Case {
        int level;
        std::vector<std::string> written;
    } cases[] = {
        {KRNALogger::DEBUG_FLAG, {"d", "i", "w", "e", "f", "l1"}},
        {KRNALogger::INFO_FLAG, {"i", "w", "e", "f", "l1"}},
        {KRNALogger::FATAL_FLAG, {"f"}},
    };
    for (const Case& c : cases) {
        std::remove("krnaprov.log");
        KRNALogger logger("krnaprov.log", c.level);
        logger.debug("d");
        logger.info("i");
        logger.warn("w");
        logger.error("e");
        logger.fatal("f");
        logger.log(KRNALogger::INFO_FLAG, "l1");
        logger.log(KRNALogger::DEBUG_FLAG - 1, "below");
        std::vector<std::string> written;
        for (const std::string& line : logLines())
            written.push_back(line.substr(line.rfind(' ') + 1));
        EXPECT_EQ(c.written, written) << "level " << c.level;
    }
}

TEST_F(KRNALoggerTest, TracerWritesEnteringAndExiting)
{
    {
        KRNADebugTrace trace("Thing::work()");
        KRNADebugTrace unnamed(nullptr);
    }
    EXPECT_EQ((std::vector<std::string>{"[debug] ENTERING Thing::work()", "[debug] EXITING Thing::work()"}),
              logMessages("Thing::work()"));
    EXPECT_EQ(1u, logMessages("EXITING").size());
}

TEST_F(KRNALoggerTest, MapsLinesGiveTheLogPath)
{
    struct Case {
        const char* line;
        const char* dir;
    } cases[] = {
        {"7f1c2a000000-7f1c2a010000 r--p 00000000 08:01 1234 /opt/x/lib/libkrnacim.so\n", "/opt/x/logs/krnalogs/"},
        {"7f1c2a000000-7f1c2a010000 r--p 00000000 08:01 1234 /libdir/libkrnacim.so", "/logs/krnalogs/"},
        // Fewer than two '/': no parent directory to write in.
        {"7f1c2a000000-7f1c2a010000 r--p 00000000 08:01 1234 /libkrnacim.so\n", ""},
        {"7f1c2a000000-7f1c2a010000 r--p 00000000 08:01 1234 libkrnacim.so\n", ""},
        {"7f1c2a000000-7f1c2a010000 r--p 00000000 08:01 1234 /a/b r-xp /libkrnacim.so\n", ""},
    };
    for (const Case& c : cases) {
        std::string dir, path;
        const bool found = KRNALogger::pathFromMapsLine(c.line, "krnaprov.log", dir, path);
        EXPECT_EQ(std::string(c.dir), dir) << c.line;
        EXPECT_EQ(found ? std::string(c.dir) + "krnaprov.log" : std::string(), path) << c.line;
        EXPECT_EQ(found, *c.dir != '\0') << c.line;
    }
}

TEST_F(KRNALoggerTest, WithoutItsPlaceEveryLineIsDropped)
{
    KRNALogger::setLogDirectory(nullptr);
    // The test program is not the module: "/proc/self/maps" names no libkrnacim.
    KRNALogger logger("krnaprov.log", KRNALogger::DEBUG_FLAG);
    EXPECT_EQ("", logger.getPath());
    logger.error("dropped");
    KRNALogger::setLogDirectory(providertest::currentDirectory().c_str());
    EXPECT_EQ(providertest::currentDirectory() + "/krnaprov.log", logger.getPath());
    EXPECT_TRUE(logLines().empty());
}

TEST_F(KRNALoggerTest, CopiesWriteWhereTheOriginalDoesAndFollowTheSeam)
{
    KRNALogger original("krnaprov.log", KRNALogger::WARN_FLAG);
    KRNALogger copy(original);
    KRNALogger assigned(KRNALogger::DEBUG_FLAG);
    assigned = original;
    copy.info("skipped by the copied level");
    copy.warn("from the copy");
    assigned.error("from the assigned");
    EXPECT_EQ((std::vector<std::string>{"[warn]  from the copy", "[error] from the assigned"}), logMessages("from"));
    mkdir("elsewhere", 0755);
    KRNALogger::setLogDirectory((providertest::currentDirectory() + "/elsewhere").c_str());
    EXPECT_EQ(providertest::currentDirectory() + "/elsewhere/krnaprov.log", copy.getPath());
    EXPECT_EQ(providertest::currentDirectory() + "/elsewhere/krnaprov.log", assigned.getPath());
}

TEST_F(KRNALoggerTest, LinesOfTwoLoggersOnTwoThreadsNeverMix)
{
    KRNALogger first("krnaprov.log", KRNALogger::DEBUG_FLAG);
    KRNALogger second("krnaprov.log", KRNALogger::DEBUG_FLAG);
    const std::string longText(300, 'x');
    const int perThread = 200;
    auto writer = [&](KRNALogger& logger, char name) {
        for (int i = 0; i < perThread; i++)
            logger.info("%c %d %s", name, i, longText.c_str());
    };
    std::thread a(writer, std::ref(first), 'A');
    std::thread b(writer, std::ref(second), 'B');
    a.join();
    b.join();
    const std::regex whole(R"(\[.{24}\] \[info\]  [AB] \d+ x{300})");
    int count[2] = {0, 0};
    for (const std::string& line : logLines()) {
        ASSERT_TRUE(std::regex_match(line, whole)) << line;
        count[line.find("]  A ") != std::string::npos ? 0 : 1]++;
    }
    EXPECT_EQ(perThread, count[0]);
    EXPECT_EQ(perThread, count[1]);
}

// The logger keeps its file open, yet a line after the file was moved away
// (a rotation), removed or rolled over goes to a new file at the path.
TEST_F(KRNALoggerTest, FollowsItsFileWhenItIsMovedOrRemoved)
{
    KRNALogger logger("krnaprov.log", KRNALogger::DEBUG_FLAG);
    logger.info("one");
    ASSERT_EQ(0, rename("krnaprov.log", "moved.log"));
    logger.info("two");
    EXPECT_EQ(std::vector<std::string>{"[info]  one"}, messagesOf("moved.log"));
    EXPECT_EQ(std::vector<std::string>{"[info]  two"}, messagesOf("krnaprov.log"));
    ASSERT_EQ(0, remove("krnaprov.log"));
    logger.info("three");
    logger._rollover();
    logger.info("four");
    EXPECT_EQ(std::vector<std::string>{"[info]  three"}, messagesOf("krnaprov.log.1"));
    EXPECT_EQ(std::vector<std::string>{"[info]  four"}, messagesOf("krnaprov.log"));
}

// A file that cannot be opened drops the lines of the next second (of the
// framework's clock) without another try; a new place is tried at once.
TEST_F(KRNALoggerTest, AFileThatCannotBeOpenedIsTriedAgainAfterASecond)
{
    const std::string later = providertest::currentDirectory() + "/later";
    KRNALogger::setLogDirectory(later.c_str());
    KRNALogger logger("krnaprov.log", KRNALogger::DEBUG_FLAG);
    logger.info("dropped: no directory");
    ASSERT_EQ(0, mkdir(later.c_str(), 0755));
    logger.info("dropped: the failure is remembered");
    providertest::fakeNow() += cimple::Time::SEC - 1;
    logger.info("dropped: still within the second");
    providertest::fakeNow() += 1;
    logger.info("written");
    EXPECT_EQ(std::vector<std::string>{"[info]  written"}, messagesOf(later + "/krnaprov.log"));

    KRNALogger::setLogDirectory((later + "/missing").c_str());
    logger.info("dropped");
    KRNALogger::setLogDirectory(providertest::currentDirectory().c_str());
    logger.info("at once");
    EXPECT_EQ(std::vector<std::string>{"[info]  at once"}, logMessages("at once"));
}

// ---- utilities ------------------------------------------------------------------

TEST_F(KRNALoggerTest, TextsAreCompressedAndTrimmed)
{
    struct Case {
        const char* text;
        const char* compressed;
        const char* trimmed;
    } cases[] = {
        {"AB  CD EF", "AB CDEF", "AB  CD EF"},
        {"  ab c  ", " abc", "ab c"},
        {"   ", " ", ""},
        {"", "", ""},
        {"plain", "plain", "plain"},
        {"\tx ", "\tx ", "\tx"},
    };
    for (const Case& c : cases) {
        cimple::String compressed(c.text), trimmed(c.text);
        KRNAProvUtil::compressString(compressed);
        KRNAProvUtil::trim_String(trimmed);
        EXPECT_EQ(c.compressed, compressed.str()) << '"' << c.text << '"';
        EXPECT_EQ(c.trimmed, trimmed.str()) << '"' << c.text << '"';
    }
}

TEST_F(KRNALoggerTest, AdapterUniqueIdIsTheSerialOrThePciPlace)
{
    struct Case {
        const char* serial;
        uint8_t bus, device, function;
        const char* id;
        const char* serialText;
    } cases[] = {
        {"SN12345", 2, 0, 5, "SN12345", "SN12345"},
        {" SN 1 ", 2, 0, 5, " SN 1 ", "SN 1"}, // the id is not trimmed
        {"", 3, 14, 0, "3-0-14", ""},
        {"", 255, 31, 7, "255-7-31", ""},
    };
    for (const Case& c : cases) {
        vesksim::Controller controller;
        controller.serial = c.serial;
        controller.pciBus = c.bus;
        controller.pciDevice = c.device;
        controller.pciFunction = c.function;
        VeskAdapter adapter(controller);
        char id[KRNAProvUtil::UNIQUE_ID_SIZE] = "untouched";
        KRNAProvUtil::getAdapterUniqueID(&adapter, id);
        EXPECT_STREQ(c.id, id);
        cimple::String serial;
        KRNAProvUtil::getAdapterSerialNumberString(&adapter, serial);
        EXPECT_EQ(c.serialText, serial.str());
    }
    char id[8] = "same";
    KRNAProvUtil::getAdapterUniqueID(nullptr, id);
    EXPECT_STREQ("same", id);
    KRNAProvUtil::deleteRaidObject(nullptr);
}

int failingLookup(char*, size_t) { return 12; }

int longName(char* name, size_t size)
{
    // As gethostname does when the name does not fit: cut, no terminator.
    memset(name, 'h', size);
    return 0;
}

TEST_F(KRNALoggerTest, HostName)
{
    struct Case {
        KRNAProvUtil::HostNameLookup lookup;
        int result;
        std::string name;
        const char* logged;
    } cases[] = {
        {providertest::fixedHostName, 0, "node1", "[debug] (KRNAProvUtil::getSystemName) result = 0 name = node1"},
        {failingLookup, -1, "localhost", "[error] (KRNAProvUtil::getSystemName()) gethostname FAILED (12)"},
        {longName, 0, std::string(KRNAProvUtil::HOST_NAME_SIZE - 1, 'h'), nullptr},
    };
    for (const Case& c : cases) {
        std::remove("krnaprov.log");
        KRNAProvUtil::setHostNameLookup(c.lookup);
        char name[KRNAProvUtil::HOST_NAME_SIZE];
        EXPECT_EQ(c.result, KRNAProvUtil::getSystemName(name, sizeof name));
        EXPECT_EQ(c.name, std::string(name));
        if (c.logged) {
            EXPECT_EQ(std::vector<std::string>{c.logged}, logMessages("(KRNAProvUtil::getSystemName"));
        }
    }
}

// Within a request's scope the host name is looked up once, and every call
// still answers and logs as a lookup of its own would; the next request looks
// it up again.
TEST_F(KRNALoggerTest, HostNameIsLookedUpOncePerRequest)
{
    providertest::hostNameLookups() = 0;
    KRNAProvUtil::setHostNameLookup(providertest::countedHostName);
    char name[KRNAProvUtil::HOST_NAME_SIZE];
    for (int request = 1; request <= 2; request++) {
        KRNAProvUtil::HostNameScope scope;
        for (int i = 0; i < 3; i++) {
            KRNAProvUtil::HostNameScope nested;
            memset(name, 'x', sizeof name);
            EXPECT_EQ(0, KRNAProvUtil::getSystemName(name, sizeof name));
            EXPECT_STREQ("node1", name);
        }
        EXPECT_EQ(request, providertest::hostNameLookups().load());
    }
    EXPECT_EQ(6u, logMessages("(KRNAProvUtil::getSystemName) result = 0 name = node1").size());
    EXPECT_EQ(6u, logMessages("EXITING KRNAProvUtil::getSystemName()").size());

    // A failed lookup fails every call of its request alike.
    KRNAProvUtil::setHostNameLookup(failingLookup);
    {
        KRNAProvUtil::HostNameScope scope;
        for (int i = 0; i < 2; i++) {
            EXPECT_EQ(-1, KRNAProvUtil::getSystemName(name, sizeof name));
            EXPECT_STREQ("localhost", name);
        }
    }
    EXPECT_EQ(2u, logMessages("gethostname FAILED (12)").size());
    // Outside a request every call looks the name up.
    KRNAProvUtil::setHostNameLookup(providertest::countedHostName);
    KRNAProvUtil::getSystemName(name, sizeof name);
    KRNAProvUtil::getSystemName(name, sizeof name);
    EXPECT_EQ(4, providertest::hostNameLookups().load());
}

} // namespace
