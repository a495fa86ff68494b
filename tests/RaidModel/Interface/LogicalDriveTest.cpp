#include <gtest/gtest.h>

#include <string>

#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidModel/Interface/BasicLogicalDrive.h"
#include "RaidModel/Interface/Chunk.h"
#include "RaidModel/Interface/HLogicalDrive.h"
#include "RaidModel/Serialization/XMLWriter.h"

namespace {

// Gives a test the fields that a family fills.
class FamilyLogicalDrive : public BasicLogicalDrive {
public:
    using BasicLogicalDrive::BasicLogicalDrive;
    void putState(EnumLogicalDeviceState s) { state = s; }
    void setSnapshot(EnumSnapshotType type, uint32_t partner)
    {
        snapshotType = type;
        snapshotBUMode = true;
        snapshotPartnerID = partner;
        snapshotCapacityUsed = 9;
    }
};

std::string elementOf(const RaidObject& o)
{
    char* text = nullptr;
    {
        XMLWriter writer(&text);
        writer.writeObject(o);
    }
    std::string s = text ? text : "";
    delete[] text;
    return s;
}

TEST(LogicalDriveState, MergeTable)
{
    struct Case {
        EnumLogicalDeviceState current, merged, expected;
    } cases[] = {
        {OKAY, OFFLINE, OFFLINE},
        {CRITICAL_SYSTEM, OFFLINE, OFFLINE},
        {OFFLINE, CRITICAL, OFFLINE},
        {CRITICAL_MIGRATING, CRITICAL, CRITICAL_MIGRATING},
        {CRITICAL_SYSTEM, CRITICAL, CRITICAL_SYSTEM},
        {MIGRATING, CRITICAL, CRITICAL_MIGRATING},
        {SYSTEM, CRITICAL, CRITICAL_SYSTEM},
        {FREE, CRITICAL, CRITICAL},
        {DEGRADED_FAULT_TOLERANT_MIGRATING, CRITICAL, CRITICAL},
        {static_cast<EnumLogicalDeviceState>(42), CRITICAL, CRITICAL},
        {FREE, DEGRADED_FAULT_TOLERANT, DEGRADED_FAULT_TOLERANT},
        {OKAY, DEGRADED_FAULT_TOLERANT, DEGRADED_FAULT_TOLERANT},
        {MIGRATING, DEGRADED_FAULT_TOLERANT, MIGRATING},
        {OKAY, MIGRATING, MIGRATING},
        {CRITICAL, MIGRATING, CRITICAL_MIGRATING},
        {DEGRADED_FAULT_TOLERANT, MIGRATING, DEGRADED_FAULT_TOLERANT_MIGRATING},
        {FREE, MIGRATING, FREE},
        {OKAY, SYSTEM, SYSTEM},
        {CRITICAL, SYSTEM, CRITICAL_SYSTEM},
        {DEGRADED_FAULT_TOLERANT, SYSTEM, DEGRADED_FAULT_TOLERANT_SYSTEM},
        {MIGRATING, SYSTEM, MIGRATING},
        {CRITICAL, OKAY, CRITICAL},
        {OKAY, FREE, OKAY},
        {OKAY, CRITICAL_MIGRATING, OKAY},
        {OKAY, DEGRADED_FAULT_TOLERANT_SYSTEM, OKAY},
    };
    for (const Case& c : cases) {
        FamilyLogicalDrive ld;
        ld.putState(c.current);
        ld.mergeStateProperty(c.merged);
        EXPECT_EQ(ld.getState(), c.expected) << "state " << c.current << " merged with " << c.merged;
    }

    // Order does not matter for a migrating critical drive; OFFLINE sticks.
    FamilyLogicalDrive a, b, c;
    a.putState(OKAY);
    a.mergeStateProperty(MIGRATING);
    a.mergeStateProperty(CRITICAL);
    b.putState(OKAY);
    b.mergeStateProperty(CRITICAL);
    b.mergeStateProperty(MIGRATING);
    EXPECT_EQ(a.getState(), CRITICAL_MIGRATING);
    EXPECT_EQ(b.getState(), CRITICAL_MIGRATING);
    c.mergeStateProperty(OFFLINE);
    c.mergeStateProperty(CRITICAL);
    EXPECT_EQ(c.getState(), OFFLINE);
}

TEST(LogicalDriveXml, SnapshotAndMorphAttributesAreConditional)
{
    FamilyLogicalDrive plain(nullptr, nullptr, 1, OKAY, RAID5, 100, 50, false, LD_CACHE_ENABLED, false, false);
    std::string e = elementOf(plain);
    EXPECT_NE(e.find(" snapshotType=\"0\" raid5EEState="), std::string::npos) << e;
    EXPECT_EQ(e.find("snapshotPartnerID"), std::string::npos);
    EXPECT_EQ(e.find("morphPartnerID"), std::string::npos);

    FamilyLogicalDrive snap(nullptr, nullptr, 1, OKAY, RAID5, 100, 50, false, LD_CACHE_ENABLED, false, false);
    snap.setSnapshot(SNAPSHOT_TYPE_CHILD, 4);
    snap.setMorphPartnerID(6);
    e = elementOf(snap);
    EXPECT_NE(e.find(" snapshotType=\"2\" snapshotBUMode=\"true\" snapshotBUComplete=\"false\""
                     " snapshotPartnerID=\"4\" snapshotCapacityUsed=\"9\" raid5EEState="),
              std::string::npos)
        << e;
    EXPECT_NE(e.find(" morphPartnerID=\"6\""), std::string::npos) << e;

    // A snapshot element without partner reads back 0, not undefined.
    char text[] = "<LogicalDrive logicalDriveID=\"2\" snapshotType=\"1\"/>";
    SimpleXmlParser parser(text, sizeof(text) - 1);
    ASSERT_TRUE(parser.parseNext());
    BasicLogicalDrive read(nullptr, parser);
    EXPECT_EQ(read.getSnapshotType(), SNAPSHOT_TYPE_PARENT);
    EXPECT_EQ(read.getSnapshotPartnerID(), 0u);
    EXPECT_EQ(read.getLogicalDriveID(), 2u);
}

TEST(LogicalDriveXml, NestedReaderFilesChunksInBothDrives)
{
    char text[] = "<LogicalDrive typeName=\"BasicLogicalDrive\" logicalDriveID=\"1\" raidLevel=\"9\">"
                  " <LogicalDrive typeName=\"BasicLogicalDrive\" logicalDriveID=\"2\">"
                  "  <Chunk deviceID=\"0\" channelID=\"1\" startSector=\"5\" numSectors=\"6\"/>"
                  "  <Chunk deviceID=\"1\" channelID=\"1\" startSector=\"5\" numSectors=\"6\"/>"
                  " </LogicalDrive>"
                  " <LogicalDrive/>"
                  "</LogicalDrive>";
    SimpleXmlParser parser(text, sizeof(text) - 1);
    ASSERT_TRUE(parser.parseNext());
    BasicLogicalDrive outer(nullptr, parser);
    EXPECT_TRUE(parser.tagIs("LogicalDrive") && parser.foundEndTag());
    EXPECT_FALSE(parser.parseNext()); // the outer element was read to its end
    EXPECT_EQ(outer.getRaidLevel(), RAID10);
    ASSERT_EQ(outer.getNumChildren(), 2u); // the self-closed one is nested too
    const auto* inner = static_cast<const BasicLogicalDrive*>(outer.getChild(0));
    EXPECT_EQ(inner->getLogicalDriveID(), 2u);
    EXPECT_EQ(inner->getNumChildren(), 2u);
    EXPECT_EQ(inner->getNumHardDriveChunks(), 2u);
    EXPECT_EQ(outer.getNumHardDriveChunks(), 2u);
    EXPECT_EQ(outer.getNumHardDrives(), 0u); // chunks read from XML have no provider
    EXPECT_EQ(inner->getHardDriveChunk(2), nullptr);
    outer.deleteAllChildren();
}

TEST(LogicalDriveXml, DeeplyNestedLogicalDrivesAreCutOff)
{
    // Every level is a level of recursion: a document nesting 1000 levels
    // gives a tree of 33 (the drive and 32 below it), and the reader still
    // ends at the outer drive's end.
    std::string text;
    for (int i = 0; i < 1000; ++i)
        text += "<LogicalDrive logicalDriveID=\"" + std::to_string(i) + "\"><Chunk/>";
    for (int i = 0; i < 1000; ++i)
        text += "</LogicalDrive>";
    text += "<LogicalDrive/>";
    SimpleXmlParser parser(&text[0], text.size());
    ASSERT_TRUE(parser.parseNext());
    BasicLogicalDrive outer(nullptr, parser);
    EXPECT_TRUE(parser.parseNext() && parser.tagIs("LogicalDrive") && parser.foundStartTag());
    EXPECT_FALSE(parser.parseNext()); // the trailing "<LogicalDrive/>" was the last event

    int levels = 1;
    const RaidObject* deepest = &outer;
    while (deepest->getNumChildren() == 2) { // a chunk and a nested drive
        deepest = deepest->getChild(1);
        ++levels;
    }
    EXPECT_EQ(levels, 33);
    EXPECT_EQ(deepest->getLogicalDriveID(), 32u);
    EXPECT_EQ(deepest->getNumChildren(), 1u); // its chunk; the drives below it are passed over
    outer.deleteAllChildren();
}

TEST(LogicalDriveCopy, TextsAndFieldSets)
{
    FamilyLogicalDrive source(nullptr, nullptr, 7, OKAY, RAID5, 100, 50, true, LD_CACHE_ENABLED, true, false);
    source.setSnapshot(SNAPSHOT_TYPE_PARENT, 3);
    source.setMorphPartnerID(4);
    source.setHasPartitionProperty(LD_HAS_PARTITION_TRUE);

    LogicalDrive copy(source);
    EXPECT_EQ(copy.getLogicalDriveID(), 7u);
    EXPECT_STREQ(copy.getUnixMountPoint(), "none");
    EXPECT_NE(copy.getUnixMountPoint(), source.getUnixMountPoint());
    EXPECT_EQ(copy.getMorphPartnerID(), 4);
    EXPECT_TRUE(copy.hasOSPartition());
    EXPECT_EQ(copy.getNumChildren(), 0u);
    EXPECT_EQ(copy.getReadCacheMode(), LD_CACHE_NOT_SUPPORTED);

    // Assignment leaves the morph partner (not in its set) alone.
    LogicalDrive target;
    target = source;
    EXPECT_EQ(target.getLogicalDriveID(), 7u);
    EXPECT_EQ(target.getSnapshotPartnerID(), 3u);
    EXPECT_EQ(target.getMorphPartnerID(), 0x7FFFFFFF);
    EXPECT_TRUE(target == source);

    source.setHasPartitionProperty(LD_HAS_PARTITION_UNKNOWN);
    EXPECT_FALSE(source.hasOSPartition());

    HLogicalDrive h(nullptr, nullptr, 1, OKAY, RAID0, -1, 0, false, LD_CACHE_ENABLED, false, false);
    EXPECT_EQ(h.getDataSpace(), ~BLOCK_T(0));
}

} // namespace
