// A whole configuration written as the system configuration document, read
// back through System and written again. The second document differs from
// the first only by what the readers do not restore; expectedAfterReading()
// lists each of those losses.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/BasicArray.h"
#include "RaidModel/Interface/BasicLogicalDrive.h"
#include "RaidModel/Interface/CDROMDrive.h"
#include "RaidModel/Interface/Chunk.h"
#include "RaidModel/Interface/HardDrive.h"
#include "RaidModel/Interface/OtherDevice.h"
#include "RaidModel/Interface/SAS/SASConnector.h"
#include "RaidModel/Interface/SAS/SASPhy.h"
#include "RaidModel/Interface/SASChannel.h"
#include "RaidModel/Interface/SATAChannel.h"
#include "RaidModel/Interface/SCSIChannel.h"
#include "RaidModel/Interface/SpannedArray.h"
#include "RaidModel/Interface/TapeDrive.h"
#include "RaidModel/ModelTestUtil.h"

namespace {

using modeltest::TestSystem;
using modeltest::treeText;

// A family's logical drive: fills the fields that have no setter.
class FamilyLogicalDrive : public BasicLogicalDrive {
public:
    FamilyLogicalDrive(Adapter* a, Array* array, unsigned long id, EnumRaidLevel level, BLOCK_T data,
                       BLOCK_T parity)
        : BasicLogicalDrive(a, array, id, OKAY, level, data, parity, false, LD_CACHE_ENABLED_WHEN_PROTECTED,
                            false, false)
    {
        subState = LD_SUB_INITIALIZING;
        stripeSize = STRIPE_64K;
        osDiskNumber = 3 + static_cast<int32_t>(id);
        uniqueID = 0xABC0 + static_cast<uint32_t>(id);
        taskPriority = TASK_PRIORITY_HIGH;
        bTaskInProgress = true;
        raid5EEState = RAID5EE_OKAY;
        numMissingMembers = 0;
    }
    void makeSnapshot()
    {
        snapshotType = SNAPSHOT_TYPE_CHILD;
        snapshotBUMode = true;
        snapshotPartnerID = 2;
        snapshotCapacityUsed = 77;
    }
};

HardDrive* newDrive(Adapter* a, Channel* c, unsigned long id, BLOCK_T size)
{
    auto* d = new HardDrive(a, c, id, size, DRIVE_READY, const_cast<char*>("VEND"), const_cast<char*>("MODEL<&>"),
                            const_cast<char*>("SN\"1\""), const_cast<char*>("FW1"), false,
                            HARD_DRIVE_CACHE_MODE_WRITE_BACK, true, true, id == 0, const_cast<char*>("FRU"), true);
    d->setWWN0(0x11223344u + static_cast<uint32_t>(id));
    d->setWWN1(0x55667788u);
    d->setEnclosureID(1);
    d->setSlotID(id);
    c->addChild(d);
    return d;
}

SASPhy* newPhy(unsigned long id)
{
    return new SASPhy(id, "500000E012345678", 8, 0, id + 4, "500000E0AAAAAAAA", 0, 8, SAS_END_DEVICE,
                      SAS_NEG_RATE_30, SAS_PRG_RATE_15, SAS_PRG_RATE_30, SAS_HW_RATE_15, SAS_HW_RATE_30, 2,
                      false, 5, SAS_ROUTE_TABLE);
}

void addChunk(RaidObject* provider, LogicalDrive* consumer, BLOCK_T start, BLOCK_T count)
{
    consumer->addChild(new Chunk(provider, consumer, start, count, CHUNK_TYPE_DATA, 0, CHUNK_NORMAL));
}

// Two controllers of two families with channels of every kind, drives with
// SAS phys, other devices, a dedicated spare, basic and spanned arrays with
// logical drives (one spanning two second-level drives), chunks, a SAS phy
// and a SAS connector of the controller.
void buildTree(System& system)
{
    Adapter* a = new Adapter(1, 0, CONTROLLER_STATUS_WORKING, const_cast<char*>("5.2-0"),
                             const_cast<char*>("5.2-0 (B123)"), const_cast<char*>("1.1"), 3, false, 24, 24, 2, 3,
                             15, 16, 1);
    a->setSasHDCacheMode(HARD_DRIVE_CACHE_MODE_WRITE_BACK);
    a->setSataHDCacheMode(HARD_DRIVE_CACHE_MODE_WRITE_THROUGH);
    unsigned char wwn[8] = {0x50, 0x00, 0xd3, 0x10, 0x00, 0x00, 0x01, 0x02};
    a->setOnBoardExpandersWWN(1, wwn);

    auto* scsi = new SCSIChannel(a, 0, 7, SPEED_SCSI320);
    auto* sata = new SATAChannel(a, 1, SPEED_SATA300, 4);
    auto* sas = new SASChannel(a, 2, SPEED_SAS300);
    a->addChild(scsi);
    a->addChild(sata);
    a->addChild(sas);
    HardDrive* d0 = newDrive(a, scsi, 0, 4000000);
    HardDrive* d1 = newDrive(a, scsi, 1, 4000000);
    HardDrive* spare = newDrive(a, scsi, 2, 4000000);
    scsi->addChild(new CDROMDrive(a, scsi, 5, "CDV", "CDM", "CDS", "CDF", "CDR"));
    scsi->addChild(new OtherDevice(a, scsi, 6, PRINTER, "PV", "PM", "PS", "PF", "PR"));
    HardDrive* s0 = newDrive(a, sata, 0, 2000000);
    sata->addChild(new TapeDrive(a, sata, 3, "TV", "TM", "TS", "TF", "TR"));
    HardDrive* h0 = newDrive(a, sas, 8, 8000000);
    h0->addChild(newPhy(0));
    h0->addChild(newPhy(1));

    auto* basic = new BasicArray(a, 0, 8000000, 1000);
    basic->setStripeSize(64);
    a->addChild(basic);
    auto* ld0 = new FamilyLogicalDrive(a, basic, 0, RAID1, 1000000, 1000000);
    auto* ld1 = new FamilyLogicalDrive(a, basic, 1, RAID5, 2000000, 1000000);
    ld1->makeSnapshot();
    ld1->setMorphPartnerID(2);
    basic->addChild(ld0);
    basic->addChild(ld1);
    addChunk(d0, ld0, 0, 1000000);
    addChunk(d1, ld0, 0, 1000000);
    addChunk(d0, ld1, 1000000, 1000000);
    addChunk(d1, ld1, 1000000, 1000000);
    addChunk(s0, ld1, 0, 1000000);
    spare->addAssignedLogical(ld1);

    auto* spanned = new SpannedArray(a, 1, 6000000, 0);
    a->addChild(spanned);
    auto* ld2 = new FamilyLogicalDrive(a, spanned, 2, RAID10, 2000000, 2000000);
    spanned->addChild(ld2);
    auto* ld3 = new FamilyLogicalDrive(a, spanned, 3, RAID1, 1000000, 1000000);
    auto* ld4 = new FamilyLogicalDrive(a, spanned, 4, RAID1, 1000000, 1000000);
    ld2->addChild(ld3);
    ld2->addChild(ld4);
    addChunk(h0, ld3, 0, 1000000);
    addChunk(d0, ld3, 2000000, 1000000);
    addChunk(h0, ld4, 1000000, 1000000);
    addChunk(d1, ld4, 2000000, 1000000);
    addChunk(ld3, ld2, 0, 1000000);
    addChunk(ld4, ld2, 0, 1000000);

    a->addChild(newPhy(3));
    auto* connector = new SASConnector();
    connector->laneID = 1;
    a->addChild(connector);
    system.addChild(a);

    Adapter* b = new Adapter(512, 1, CONTROLLER_STATUS_WORKING, nullptr, const_cast<char*>("2.0"), nullptr, 4, true,
                             8, 8, 0, 1, 7, 8, 1);
    system.addChild(b);
    auto* bsas = new SASChannel(b, 0, SPEED_SAS600);
    b->addChild(bsas);
    HardDrive* b0 = newDrive(b, bsas, 0, 3000000);
    b0->addChild(newPhy(2));
    auto* barray = new BasicArray(b, 0, 3000000, 0);
    b->addChild(barray);
    auto* bld = new FamilyLogicalDrive(b, barray, 0, RAID0, 3000000, 0);
    barray->addChild(bld);
    addChunk(b0, bld, 0, 3000000);
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

size_t indentOf(const std::string& line) { return line.find_first_not_of(' '); }

// The first document as the reader gives it back.
std::string expectedAfterReading(const std::string& written)
{
    std::vector<std::string> lines = linesOf(written);
    std::vector<std::string> out;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string line = lines[i];
        if (line.empty())
            continue; // the end tag of an array
        const std::string body = line.substr(indentOf(line));
        // Arrays are not built from a document: their logical drives become
        // children of the controller, one level up.
        if (body.rfind("<Array ", 0) == 0) {
            const size_t depth = indentOf(line);
            size_t j = i + 1;
            for (; j < lines.size() && indentOf(lines[j]) > depth; ++j)
                lines[j].erase(0, 4);
            if (j < lines.size() && lines[j].substr(indentOf(lines[j])) == "</Array>")
                lines[j].clear();
            continue;
        }
        // The dialect decodes no entities: an escaped text is read with its
        // escapes, which are escaped once more when it is written again.
        line = std::regex_replace(line, std::regex("&"), "&amp;");
        // Other devices ("Printer" ...) and SAS connectors are not read.
        if (body.rfind("<Printer ", 0) == 0 || body.rfind("<SASConnector ", 0) == 0)
            continue;
        // A SAS phy reads no address of its own: its phy number is lost; the
        // other ids come back from the parents that stamp it.
        if (body.rfind("<SASPhy ", 0) == 0)
            line = std::regex_replace(line, std::regex(" phyID=\"[0-9]+\""), "");
        // A chunk read back has no consumer.
        if (body.rfind("<Chunk ", 0) == 0)
            line = std::regex_replace(line, std::regex(" consumerLogicalID=\"[0-9]+\""), "");
        // A drive's dedicated-spare list, enclosure and slot are not read.
        if (body.rfind("<HardDrive ", 0) == 0) {
            line = std::regex_replace(line, std::regex(" assignedTo=\"[0-9,]+\""), "");
            line = std::regex_replace(line, std::regex(" enclosureID=\"[0-9]+\""), " enclosureID=\"2147483647\"");
            line = std::regex_replace(line, std::regex(" slotID=\"[0-9]+\""), " slotID=\"2147483647\"");
        }
        // A logical drive's OS disk number, unique id, task priority, task
        // flag and migration partner are not read.
        if (body.rfind("<LogicalDrive ", 0) == 0) {
            line = std::regex_replace(line, std::regex(" osDiskNumber=\"-?[0-9]+\""), " osDiskNumber=\"0\"");
            line = std::regex_replace(line, std::regex(" uniqueID=\"[0-9]+\""), " uniqueID=\"0\"");
            line = std::regex_replace(line, std::regex(" taskPriority=\"[0-9]+\""), " taskPriority=\"0\"");
            line = std::regex_replace(line, std::regex(" bTaskInProgress=\"[a-z]+\""), " bTaskInProgress=\"false\"");
            line = std::regex_replace(line, std::regex(" morphPartnerID=\"-?[0-9]+\""), "");
        }
        // A controller's drive cache modes and expander WWNs are not read.
        if (body.rfind("<Controller ", 0) == 0) {
            line = std::regex_replace(line, std::regex(" sasHDCacheMode=\"[0-9]+\""), " sasHDCacheMode=\"3\"");
            line = std::regex_replace(line, std::regex(" sataHDCacheMode=\"[0-9]+\""), " sataHDCacheMode=\"3\"");
            line = std::regex_replace(line, std::regex(" onBoardExpanders=\"[0-9a-f,]*\""), "");
        }
        out.push_back(line);
    }
    std::string text;
    for (const std::string& line : out)
        text += line + "\n";
    return text;
}

// The document read back through System and written again.
std::string rewritten(const std::string& document)
{
    modeltest::Parsed parsed(document);
    TestSystem system;
    system.buildChildren(parsed.parser);
    return treeText(system);
}

TEST(SystemRoundTrip, SecondDocumentDiffersOnlyByWhatTheReadersDoNotRestore)
{
    const uint32_t before = globalRaidObjectCounter;
    std::string first;
    {
        TestSystem system;
        buildTree(system);
        first = treeText(system);
    }
    EXPECT_EQ(globalRaidObjectCounter, before);

    // Each loss is really there to be lost.
    for (const char* present : {"<Array ", "<Printer ", "<SASConnector ", " assignedTo=\"1\"", " consumerLogicalID=",
                                " morphPartnerID=\"2\"", " onBoardExpanders=\"5000d31000000102\"",
                                " snapshotPartnerID=\"2\"", "<CDROMDrive ", "<TapeDrive "})
        EXPECT_NE(first.find(present), std::string::npos) << present;

    const std::string second = rewritten(first);
    EXPECT_EQ(second, expectedAfterReading(first));
    // A further reading loses nothing more.
    EXPECT_EQ(rewritten(second), expectedAfterReading(second));
    EXPECT_EQ(globalRaidObjectCounter, before);

    if (const char* seedDir = std::getenv("TARNELL_SEED_DIR")) {
        std::ofstream(std::string(seedDir) + "/system-written.xml") << first;
        std::ofstream(std::string(seedDir) + "/system-reread.xml") << second;
    }
}

TEST(SystemRoundTrip, ReadBackTreeIsIndexed)
{
    std::string document;
    {
        TestSystem system;
        buildTree(system);
        document = treeText(system);
    }
    modeltest::Parsed parsed(document);
    TestSystem system;
    system.buildChildren(parsed.parser);
    ASSERT_EQ(system.getNumAdapters(), 2u);
    const Adapter* a = system.getAdapter(0);
    EXPECT_EQ(a->getStorLibType(), STORLIB_TARNELL);
    EXPECT_EQ(a->getNumChannels(), 3u);
    EXPECT_EQ(a->getNumHardDrives(), 5u);
    EXPECT_EQ(a->getNumPhysicalDevices(), 7u); // the printer is not read
    EXPECT_EQ(a->getNumLogicalDrives(), 3u);   // the two second-level drives are nested
    EXPECT_EQ(a->raidLevelSupport.size(), 1u);

    auto* spanning = static_cast<LogicalDrive*>(system.getObject(Addr(0, STORID_UNDEFINED, 2, STORID_UNDEFINED,
                                                                       STORID_UNDEFINED, BLOCK_UNDEFINED,
                                                                       STORID_UNDEFINED, STORID_UNDEFINED)));
    ASSERT_NE(spanning, nullptr);
    EXPECT_EQ(spanning->getArrayID(), 1u);
    EXPECT_EQ(spanning->getNumLogicalDriveChunks(), 2u);
    EXPECT_EQ(spanning->getNumHardDriveChunks(), 4u); // those of its second-level drives
    EXPECT_EQ(system.getAdapter(1)->getStorLibType(), STORLIB_PELM);
}

TEST(SystemRoundTrip, WrittenDocumentIsWellFormedXml)
{
    TestSystem system;
    buildTree(system);
    const std::string document = treeText(system);
    {
        std::ofstream out("system.xml");
        out << document;
        ASSERT_TRUE(out.good());
    }
    EXPECT_EQ(std::system("xmllint --noout system.xml"), 0);
}

} // namespace
