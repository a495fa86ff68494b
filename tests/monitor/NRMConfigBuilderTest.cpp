// The configuration builder: its tree's life cycle, the empty snapshots, and
// what becomes of damaged snapshot files and of writes that fail.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "RaidLib/TarnellLib.h"
#include "RaidModel/Implementation/Tarnell/TarnellSimTree.h"
#include "RaidModel/Implementation/Tarnell/TarnellSystem.h"
#include "SnapshotTestUtil.h"
#include "monitor/NRMConfigBuilder.h"
#include "monitor/NRMProgress.h"
#include "monitor/NRMSystem.h"
#include "support/TestUtil.h"

using namespace snapshottest;
using testsupport::readFile;

namespace {

const char* const FILE_NAME = "WATCHTARNELLConfig.xml";

// The names in the directory that begin with prefix.
std::vector<std::string> filesNamed(const std::string& prefix, const std::string& directory = ".")
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        const std::string name = entry.path().filename().string();
        if (name.compare(0, prefix.size(), prefix) == 0)
            names.push_back(name);
    }
    return names;
}

TEST(NRMConfigBuilder, EmptySnapshots)
{
    NRMConfigBuilder builder(FILE_NAME);
    EXPECT_EQ(builder.nrmSystem, nullptr);

    // Nothing to copy: the root holds an empty task list, its only child.
    builder.build(nullptr, nullptr);
    ASSERT_NE(builder.nrmSystem, nullptr);
    ASSERT_EQ(builder.nrmSystem->getNumChildren(), 1u);
    EXPECT_TRUE(builder.nrmSystem->getChild(0)->isInstanceOf("ProgressCollection"));
    EXPECT_EQ(builder.nrmSystem->getChild(0)->getNumChildren(), 0u);
    builder.writeXML();
    EXPECT_EQ(builder.nrmSystem, nullptr);
    EXPECT_EQ(readFile(FILE_NAME), "<System>\n    <ProgressCollection/>\n</System>\n");

    // Without a tree an empty "System" is written.
    builder.writeXML();
    EXPECT_EQ(readFile(FILE_NAME), "<System/>\n");

    // Each of these reads as a root without children; so does a missing file.
    for (const char* text : {"", "<System/>", "<System></System>", "<System>\n</System>\n", "text\n<System/>"}) {
        SCOPED_TRACE(text);
        ASSERT_NE(readSnapshot(builder, text), nullptr);
        EXPECT_EQ(builder.nrmSystem->getNumChildren(), 0u);
    }
    std::filesystem::remove(FILE_NAME);
    builder.readXML();
    ASSERT_NE(builder.nrmSystem, nullptr);
    EXPECT_EQ(builder.nrmSystem->getNumChildren(), 0u);

    // No file name: nothing is written or read.
    NRMConfigBuilder nameless("");
    nameless.build(nullptr, nullptr);
    nameless.writeXML();
    nameless.readXML();
    ASSERT_NE(nameless.nrmSystem, nullptr);
    EXPECT_EQ(nameless.nrmSystem->getNumChildren(), 0u);
    EXPECT_EQ(std::filesystem::directory_iterator("."), std::filesystem::directory_iterator());
}

TEST(NRMConfigBuilder, ResetTakesAnotherFile)
{
    NRMConfigBuilder builder("first.xml");
    builder.resetConfigFile("second.xml");
    builder.writeXML();
    EXPECT_FALSE(testsupport::fileExists("first.xml"));
    EXPECT_EQ(readFile("second.xml"), "<System/>\n");
}

class NRMConfigBuilderFiles : public tarnelltest::SimTest {
protected:
    // The snapshot of the default scenario's two controllers with the given
    // number of tasks, as written.
    std::string writeLiveSnapshot(NRMConfigBuilder& builder, int taskCount = 1)
    {
        NRMProgressCollection tasks;
        for (int i = 0; i < taskCount; ++i)
            tasks.addChild(new NRMProgress());
        builder.build(lib.getNewSystem(), &tasks);
        builder.writeXML();
        return readFile(builder.configFileName);
    }

    TarnellLib lib;
};

// A damaged snapshot is no snapshot: whatever it held, the root has no
// children, nothing leaks, and the builder reads a good file afterwards.
TEST_F(NRMConfigBuilderFiles, DamagedFilesReadAsNoSnapshot)
{
    NRMConfigBuilder builder(FILE_NAME);
    const std::string good = writeLiveSnapshot(builder);
    ASSERT_GT(good.size(), 1000u);
    const uint32_t objectsBefore = globalRaidObjectCounter;

    std::vector<std::string> damaged;
    // Cut anywhere before the end of "System": every 37th byte, and each of
    // the last ones.
    const size_t end = good.rfind("</System>") + 8;
    for (size_t cut = 0; cut < end; cut += cut + 40 < end ? 97 : 1)
        damaged.push_back(good.substr(0, cut));
    // Garbage, and documents the parser refuses.
    std::mt19937 random(24);
    for (size_t length : {1, 100, 5000}) {
        std::string bytes(length, '\0');
        for (char& c : bytes)
            c = static_cast<char>(random());
        damaged.push_back(bytes);
    }
    damaged.push_back("<System><Controller controllerID=1/></System>");
    damaged.push_back("<System><Controller/x></System>");
    const size_t line = good.find('\n', good.size() / 2) + 1;
    damaged.push_back(good.substr(0, line) + "<Channel channelID=\"0\" /!>" + good.substr(line));

    for (const std::string& text : damaged) {
        SCOPED_TRACE(text.size());
        ASSERT_NE(readSnapshot(builder, text), nullptr);
        ASSERT_EQ(builder.nrmSystem->getNumChildren(), 0u);
    }
    builder.readXML();
    ASSERT_EQ(builder.nrmSystem->getNumChildren(), 0u) << "the last text is not read a second time";

    // A directory in the file's place.
    std::filesystem::remove(FILE_NAME);
    std::filesystem::create_directory(FILE_NAME);
    builder.readXML();
    ASSERT_NE(builder.nrmSystem, nullptr);
    EXPECT_EQ(builder.nrmSystem->getNumChildren(), 0u);
    std::filesystem::remove(FILE_NAME);

    EXPECT_EQ(readSnapshot(builder, good)->getNumAdapters(), 2u);
    // A good file read, then lost: its text is not parsed again.
    std::filesystem::remove(FILE_NAME);
    builder.readXML();
    EXPECT_EQ(builder.nrmSystem->getNumChildren(), 0u);

    builder.writeXML();
    EXPECT_EQ(globalRaidObjectCounter, objectsBefore);
}

// Runs f with files limited to limit bytes; a write beyond gives an error
// instead of the signal.
template <class F>
void withFileSizeLimit(rlim_t limit, F f)
{
    rlimit previous;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    rlimit limited = previous;
    limited.rlim_cur = limit;
    void (*handler)(int) = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    f();
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, handler);
}

// A write that fails leaves the previous snapshot whole and no other file;
// the tree is gone all the same.
TEST_F(NRMConfigBuilderFiles, FailedWriteKeepsThePreviousSnapshot)
{
    NRMConfigBuilder builder(FILE_NAME);
    const std::string previous = writeLiveSnapshot(builder);

    for (rlim_t limit : {0, 100, 4096}) {
        SCOPED_TRACE(limit);
        withFileSizeLimit(limit, [this, &builder] { writeLiveSnapshot(builder, 2); });
        EXPECT_EQ(builder.nrmSystem, nullptr);
        EXPECT_EQ(readFile(FILE_NAME), previous);
        EXPECT_EQ(filesNamed(FILE_NAME), std::vector<std::string>{FILE_NAME});
    }
    // Within the limit the new snapshot replaces the old one.
    std::string replaced;
    withFileSizeLimit(previous.size() + 4096, [&] { replaced = writeLiveSnapshot(builder, 2); });
    EXPECT_GT(replaced.size(), previous.size());
    EXPECT_EQ(replaced.substr(0, 1000), previous.substr(0, 1000));

    // The snapshot's name taken by a directory: the rename is refused.
    NRMConfigBuilder blocked("blocked");
    std::filesystem::create_directory("blocked");
    blocked.build(nullptr, nullptr);
    blocked.writeXML();
    EXPECT_EQ(blocked.nrmSystem, nullptr);
    EXPECT_TRUE(std::filesystem::is_directory("blocked"));
    EXPECT_EQ(filesNamed("blocked"), std::vector<std::string>{"blocked"});
}

// The same text as last written leaves the file alone; another text, or a
// file that was removed, replaced or changed since, is written again whole.
TEST_F(NRMConfigBuilderFiles, UnchangedSnapshotLeavesItsFileAlone)
{
    const auto inode = [] {
        struct stat st {};
        return stat(FILE_NAME, &st) == 0 ? st.st_ino : ino_t(0);
    };
    NRMConfigBuilder builder(FILE_NAME);
    const std::string one = writeLiveSnapshot(builder);
    const ino_t written = inode();
    EXPECT_TRUE(writeLiveSnapshot(builder) == one);
    EXPECT_EQ(inode(), written) << "the same text is not written again";

    const std::string two = writeLiveSnapshot(builder, 2);
    EXPECT_FALSE(two == one);
    EXPECT_NE(inode(), written);

    const std::vector<std::pair<const char*, std::function<void()>>> changes = {
        {"removed", [] { std::filesystem::remove(FILE_NAME); }},
        {"written over in place", [&] { writeText(FILE_NAME, std::string(two.size(), 'x')); }},
        {"replaced by a copy", [&] {
             writeText("copy.xml", two);
             std::filesystem::rename("copy.xml", FILE_NAME);
         }},
        {"its mode changed", [] { chmod(FILE_NAME, 0600); }},
    };
    for (const auto& [what, change] : changes) {
        SCOPED_TRACE(what);
        change();
        const ino_t before = inode();
        EXPECT_TRUE(writeLiveSnapshot(builder, 2) == two);
        EXPECT_NE(inode(), before);
        const ino_t rewritten = inode();
        EXPECT_TRUE(writeLiveSnapshot(builder, 2) == two);
        EXPECT_EQ(inode(), rewritten);
    }

    // Another file name forgets the text written to the first.
    builder.resetConfigFile("second.xml");
    writeLiveSnapshot(builder, 2);
    builder.resetConfigFile(FILE_NAME);
    const ino_t before = inode();
    EXPECT_TRUE(writeLiveSnapshot(builder, 2) == two);
    EXPECT_NE(inode(), before);
}

// A writer killed while it wrote leaves its temporary file beside the
// snapshot: the reading at the next start removes the files of writers that
// have gone, and only those.
TEST_F(NRMConfigBuilderFiles, ReadingRemovesTheFilesOfWritersThatHaveGone)
{
    std::filesystem::create_directory("lib");
    NRMConfigBuilder builder(std::string("lib/") + FILE_NAME);
    writeLiveSnapshot(builder);
    // A process that has ended.
    const pid_t gone = fork();
    ASSERT_GE(gone, 0);
    if (gone == 0)
        _exit(0);
    ASSERT_EQ(waitpid(gone, nullptr, 0), gone);

    const std::string temporary = std::string(FILE_NAME) + ".tmp";
    const std::string ofGone = temporary + std::to_string(gone);
    const std::vector<std::string> removed = {ofGone + "-0", ofGone + "-17"};
    const std::vector<std::string> kept = {
        temporary + std::to_string(getpid()) + "-3",  // this process's own
        temporary + std::to_string(getppid()) + "-0", // of a process that runs
        temporary + "0-0", ofGone, ofGone + "-", ofGone + "-1x", temporary + "x" + std::to_string(gone) + "-0",
        "Other.xml.tmp" + std::to_string(gone) + "-0"};
    for (const std::vector<std::string>* names : {&removed, &kept})
        for (const std::string& name : *names)
            writeText("lib/" + name, "<System><Contr");

    builder.readXML();
    ASSERT_NE(builder.nrmSystem, nullptr);
    EXPECT_EQ(builder.nrmSystem->getNumAdapters(), 2u);
    std::vector<std::string> expected = kept;
    expected.push_back(FILE_NAME);
    std::sort(expected.begin(), expected.end());
    std::vector<std::string> left = filesNamed("", "lib");
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, expected);
}

} // namespace
