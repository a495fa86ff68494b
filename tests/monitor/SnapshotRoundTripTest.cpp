// The snapshot of a live configuration, written and read back: the Tarnell
// library's tree over the simulated controllers (default scenario: a SAF-TE
// enclosure, logical drives below "Config", spanned drives, a dead drive, a
// blocked drive) with, added by hand, an SES-2 enclosure with SAS slots and
// SAS phys on a controller and a drive, and a task list. The tree read back
// answers what the rules read exactly as the live one does, and a snapshot
// of it writes the same file again.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <string>

#include "RaidLib/TarnellLib.h"
#include "RaidModel/Implementation/Tarnell/TarnellSimTree.h"
#include "RaidModel/Implementation/Tarnell/TarnellSystem.h"
#include "SnapshotTestUtil.h"
#include "monitor/NRMConfigBuilder.h"
#include "monitor/NRMProgress.h"
#include "monitor/NRMSystem.h"
#include "support/EnclosureTestFiles.h"
#include "support/TestUtil.h"

using namespace snapshottest;
using testsupport::Bytes;
using testsupport::SesType;
using testsupport::readFile;

namespace {

Buffer bufferOf(const Bytes& b) { return Buffer(static_cast<uint32_t>(b.size()), b.data()); }

SASPhy* newPhy(unsigned long id, const char* address)
{
    return new SASPhy(id, address, 8, 0, id + 4, "500605B0000000A1", 0, 8, SAS_END_DEVICE, SAS_NEG_RATE_30,
                      SAS_PRG_RATE_15, SAS_PRG_RATE_30, SAS_HW_RATE_15, SAS_HW_RATE_30, 3, id == 1, 5,
                      SAS_ROUTE_TABLE);
}

// An SES-2 enclosure on channel 2 of the first controller, decoded from its
// pages: two device slots with SAS phys, two power supplies (the second
// failed), two fans (the second not installed), a temperature sensor out of
// range. Its texts hold every character the writer escapes.
void addSES2Enclosure(Adapter* adapter)
{
    Channel* channel = adapter->getChannel(2);
    ASSERT_NE(channel, nullptr);
    auto* e = new SES2EnclosureDevice(adapter, channel, 14, "ACME", "Z12SAS-JBOD", "SN<1>&'2'", "0150", DRIVE_READY,
                                      "FRU\"7\"");
    const std::vector<SesType> types = {
        SesType(0x01, {0x00000001, 0x00000101}, {"Slot <0>", "Slot & 1"}),
        SesType(0x02, {0x01, 0x02}, {"PSU 'A'", "PSU \"B\""}),
        SesType(0x03, {0x01, 0x05}, {"Fan 1", "Fan 2"}),
        SesType(0x04, {0x05}, {"Temp"}),
    };
    const uint64_t drive = 0x5000C50000000A00ull;
    e->setConfigurationPage(bufferOf(testsupport::sesConfigPage(types)));
    e->setStatusPage(bufferOf(testsupport::sesStatusPage(types)));
    e->setElementDescriptorPage(bufferOf(testsupport::sesDescriptorPage(types)));
    e->setDeviceElementStatusPage(bufferOf(testsupport::sesAdditionalPage({
        testsupport::sesSasDescriptor(true, {{0, drive, 0x500605B000000001ull}, {1, drive + 1, 0}}, 4, 0),
        testsupport::sesSasDescriptor(true, {{0, drive + 0x10, 0}}, 5, 1),
    })));
    e->initSESData();
    ASSERT_TRUE(e->isSESDataValid());
    channel->addChild(e);
}

// The tasks a monitor stores with its snapshot.
void addTasks(NRMProgressCollection& tasks)
{
    auto* rebuild = new NRMProgress();
    rebuild->taskID = 7;
    rebuild->taskType = TASK_REBUILD;
    rebuild->taskState = TASK_STATE_IN_PROGRESS;
    rebuild->percentageComplete = 35;
    rebuild->address = Addr(2, STORID_UNDEFINED, 3, STORID_UNDEFINED, STORID_UNDEFINED, BLOCK_UNDEFINED,
                            STORID_UNDEFINED, STORID_UNDEFINED);
    rebuild->adapterSerial = "S<&>";
    rebuild->LDUniqueID = 0xABC;
    tasks.addChild(rebuild);
    tasks.addChild(new NRMProgress()); // nothing set
}

bool hasElement(const std::string& text, const std::string& name)
{
    for (const char* after : {" ", ">", "/"})
        if (text.find("<" + name + after) != std::string::npos)
            return true;
    return false;
}

std::string withoutLibraryType(const std::string& text)
{
    return std::regex_replace(text, std::regex(" storlibType=\"5\""), "");
}

class SnapshotRoundTrip : public tarnelltest::SimTest {};

TEST_F(SnapshotRoundTrip, ReadTreeAnswersAsTheLiveTreeAndWritesTheSameFile)
{
    const uint32_t objectsBefore = globalRaidObjectCounter;
    {
        TarnellLib lib;
        System* live = lib.getNewSystem();
        ASSERT_NE(live, nullptr);
        ASSERT_EQ(live->getNumAdapters(), 2u);
        Adapter* first = live->getAdapter(0);
        first->addChild(newPhy(0, "500605B000000100"));
        first->getHardDrive(0)->addChild(newPhy(1, "5000C50000000B01"));
        addSES2Enclosure(first);
        NRMProgressCollection tasks;
        addTasks(tasks);

        NRMConfigBuilder builder("WATCHTARNELLConfig.xml");
        builder.build(live, &tasks);
        builder.writeXML();
        EXPECT_EQ(builder.nrmSystem, nullptr);
        const std::string written = readFile("WATCHTARNELLConfig.xml");

        builder.readXML();
        ASSERT_NE(builder.nrmSystem, nullptr);
        const std::string expected = describe(live, &tasks, WITH_SES2);
        EXPECT_EQ(describe(builder.nrmSystem, storedTasks(builder.nrmSystem), WITH_SES2), expected);
        // What the rules read of the default scenario is there.
        for (const char* part : {"state 2 type 0", "blocked 1", "valid 1 fans 3 supplies 3", "task 7 6 2 35"})
            EXPECT_NE(expected.find(part), std::string::npos) << part;

        // A snapshot of the read tree gives the same file, but for the
        // library type, which a read address does not keep.
        NRMConfigBuilder again("again.xml");
        again.build(builder.nrmSystem, storedTasks(builder.nrmSystem));
        again.writeXML();
        const std::string rewritten = readFile("again.xml");
        EXPECT_NE(written, rewritten);
        EXPECT_EQ(withoutLibraryType(written), rewritten);

        if (const char* seedDir = std::getenv("TARNELL_SEED_DIR")) {
            std::ofstream(std::string(seedDir) + "/snapshot-written.xml") << written;
            std::ofstream(std::string(seedDir) + "/snapshot-rewritten.xml") << rewritten;
        }
    }
    EXPECT_EQ(globalRaidObjectCounter, objectsBefore);
}

TEST_F(SnapshotRoundTrip, WrittenSnapshotIsWellFormedXml)
{
    TarnellLib lib;
    System* live = lib.getNewSystem();
    ASSERT_NE(live, nullptr);
    live->getAdapter(0)->addChild(newPhy(0, "500605B000000100"));
    addSES2Enclosure(live->getAdapter(0));
    NRMProgressCollection tasks;
    addTasks(tasks);
    NRMConfigBuilder builder("NRMConfig.xml");
    builder.build(live, &tasks);
    builder.writeXML();

    const std::string written = readFile("NRMConfig.xml");
    for (const char* element : {"System", "Controller", "Channel", "HardDrive", "Enclosure", "SafteConfig",
                                "SafteStatus", "LogicalDrive", "ProgressCollection", "Progress"})
        EXPECT_TRUE(hasElement(written, element)) << element;
    for (const char* element : {"SESEnclosureDevice", "SESElement", "SASPhy"})
        EXPECT_EQ(hasElement(written, element), WITH_SES2) << element;
    EXPECT_EQ(std::system("xmllint --noout NRMConfig.xml"), 0);
}

} // namespace
