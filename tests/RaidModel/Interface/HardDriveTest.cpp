#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/BasicLogicalDrive.h"
#include "RaidModel/Interface/Chunk.h"
#include "RaidModel/Interface/HardDrive.h"
#include "RaidModel/Interface/SCSIChannel.h"
#include "RaidModel/Serialization/XMLWriter.h"

namespace {

// A controller whose drive reserves a test can set.
class ReservingAdapter : public Adapter {
public:
    ReservingAdapter(uint32_t atStart, uint32_t atEnd)
    {
        reservedInBeginning = atStart;
        reservedInEnd = atEnd;
    }
};

using Extents = std::vector<std::pair<BLOCK_T, BLOCK_T>>;

Extents extentsOf(const FreeSpaceVector& v)
{
    Extents out;
    for (const FreeSpace& e : v)
        out.emplace_back(e.startSector, e.numSectors);
    return out;
}

// A drive of the given size on channel 0 of a controller, deleted with its
// chunks at the end of the test.
struct DriveFixture {
    explicit DriveFixture(BLOCK_T size, uint32_t reserveStart = 0, uint32_t reserveEnd = 0)
        : adapter(reserveStart, reserveEnd), channel(&adapter, 0, 7, SPEED_SCSI320),
          drive(new HardDrive(&adapter, &channel, 2, size, DRIVE_READY, nullptr, nullptr, nullptr, nullptr,
                              false, HARD_DRIVE_CACHE_MODE_WRITE_BACK, true, true, false, nullptr, true))
    {
        channel.addChild(drive);
    }
    ~DriveFixture() { channel.deleteAllChildren(); }
    void chunk(BLOCK_T start, BLOCK_T count)
    {
        drive->addChild(new Chunk(drive, nullptr, start, count, CHUNK_TYPE_DATA, 0, CHUNK_NORMAL));
    }

    ReservingAdapter adapter;
    SCSIChannel channel;
    HardDrive* drive;
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

TEST(FreeSpace, ChunkSplitsTheDriveAndTheLargestExtentIsCached)
{
    DriveFixture f(1000);
    f.chunk(100, 200);
    f.drive->InitFreeSpace(0);
    const FreeSpaceVector& free = f.drive->getFreeSpace();
    EXPECT_EQ(extentsOf(free), (Extents{{0, 100}, {300, 700}}));
    EXPECT_EQ(free.BigFreeStartSector(), 300u);
    EXPECT_EQ(free.BigFreeNumSectors(), 700u);
    EXPECT_EQ(free.TotalFreeSectors(), 800u);

    struct Case {
        BLOCK_T want, start, count;
    } cases[] = {{150, 300, 700}, {100, 0, 100}, {800, 0, 0}, {0, 300, 700}};
    for (const Case& c : cases) {
        BLOCK_T start = 12345, count = c.want;
        free.FindAdequate(start, count);
        EXPECT_EQ(start, c.start) << "want " << c.want;
        EXPECT_EQ(count, c.count) << "want " << c.want;
    }
}

TEST(FreeSpace, ControllerReservesAreSubtracted)
{
    DriveFixture start(1000, 64, 0);
    start.drive->InitFreeSpace(0);
    EXPECT_EQ(extentsOf(start.drive->getFreeSpace()), (Extents{{64, 936}}));

    DriveFixture both(1000, 64, 100);
    both.drive->InitFreeSpace(0);
    EXPECT_EQ(extentsOf(both.drive->getFreeSpace()), (Extents{{64, 836}}));

    // A reserve at the end larger than the drive subtracts nothing there.
    DriveFixture tooLarge(1000, 0, 5000);
    tooLarge.drive->InitFreeSpace(0);
    EXPECT_EQ(extentsOf(tooLarge.drive->getFreeSpace()), (Extents{{0, 1000}}));
}

TEST(FreeSpace, RepeatedInitFreeSpaceNeverExceedsTheDrive)
{
    DriveFixture f(1000);
    f.chunk(100, 200);
    f.drive->InitFreeSpace(0);
    const Extents first = extentsOf(f.drive->getFreeSpace());
    f.drive->InitFreeSpace(0);
    EXPECT_EQ(extentsOf(f.drive->getFreeSpace()), first);
    EXPECT_EQ(f.drive->getFreeSpace().TotalFreeSectors(), 800u);
}

TEST(FreeSpace, SubtractionEdges)
{
    // A used-up extent stays as (0, 0) and is never a fit.
    FreeSpaceVector v;
    v.SetNumSectors(1000);
    v.SubtractUsedSpace(0, 1000);
    EXPECT_EQ(extentsOf(v), (Extents{{0, 0}}));
    BLOCK_T start = 7, count = 1;
    v.FindAdequate(start, count);
    EXPECT_EQ(std::make_pair(start, count), std::make_pair(BLOCK_T(0), BLOCK_T(0)));

    // Equal sizes: the earlier extent is the fit and the cached one.
    FreeSpaceVector eq;
    eq.SetNumSectors(300);
    eq.SubtractUsedSpace(100, 100); // (0,100), (200,100)
    EXPECT_EQ(eq.BigFreeStartSector(), 0u);
    start = 0;
    count = 50;
    eq.FindAdequate(start, count);
    EXPECT_EQ(start, 0u);

    // A count of 0 changes nothing, not even the cache.
    eq.SubtractUsedSpace(0, 0);
    EXPECT_EQ(extentsOf(eq), (Extents{{0, 100}, {200, 100}}));
    EXPECT_EQ(eq.BigFreeNumSectors(), 100u);

    // A range up to the last 64-bit sector neither wraps nor splits.
    FreeSpaceVector whole; // one extent of every sector
    whole.SubtractUsedSpace(~BLOCK_T(0) - 9, 100);
    EXPECT_EQ(extentsOf(whole), (Extents{{0, ~BLOCK_T(0) - 9}}));
}

TEST(HardDriveSpare, DedicatedSpareOfTwoLogicalDrives)
{
    DriveFixture f(1000);
    BasicLogicalDrive ld3(nullptr, nullptr, 3, OKAY, RAID1, 100, 100, false, LD_CACHE_ENABLED, false, false);
    BasicLogicalDrive ld5(nullptr, nullptr, 5, OKAY, RAID1, 100, 100, false, LD_CACHE_ENABLED, false, false);

    f.drive->addAssignedLogical(&ld3);
    f.drive->addAssignedLogical(&ld5);
    ASSERT_EQ(f.drive->getSpareListSize(), 2);
    const std::string element = elementOf(*f.drive);
    EXPECT_NE(element.find(" spareType=\"2\" assignedTo=\"3,5\" enclosureID="), std::string::npos) << element;
    EXPECT_EQ(f.drive->getState(), DRIVE_SPARE);

    // Once more with the same logical drive: nothing changes.
    f.drive->addAssignedLogical(&ld3);
    EXPECT_EQ(elementOf(*f.drive), element);
    EXPECT_EQ(f.drive->getNumAssignedLogicalDrives(), 2u);
    EXPECT_EQ(f.drive->getNumChunks(), 2u);
    EXPECT_EQ(ld3.getNumAssignedSpares(), 1u);
    ASSERT_EQ(ld3.getNumChildren(), 1u);
    const Chunk* onLd = static_cast<const Chunk*>(ld3.getChild(0));
    EXPECT_EQ(onLd->getStartSector(), 128u);
    EXPECT_EQ(onLd->getNumSector(), 1000u - 128u);
    EXPECT_EQ(onLd->getChunkType(), CHUNK_TYPE_SPARE);
    EXPECT_EQ(f.drive->getChunk(0)->getStartSector(), 128u);

    ld3.deleteAllChildren();
    ld5.deleteAllChildren();
}

TEST(HardDriveSpare, DeadOrTinyDrives)
{
    // A dead drive stays dead; a drive of 128 sectors or fewer has no
    // range to cover and gets no spare chunks (no wrap-around).
    DriveFixture f(100);
    f.drive->setStateProperty(DRIVE_DEAD);
    BasicLogicalDrive ld(nullptr, nullptr, 1, OKAY, RAID1, 100, 100, false, LD_CACHE_ENABLED, false, false);
    f.drive->addAssignedLogical(&ld);
    EXPECT_EQ(f.drive->getState(), DRIVE_DEAD);
    EXPECT_EQ(f.drive->getSpareType(), SPARE_DEDICATED);
    EXPECT_EQ(f.drive->getNumChunks(), 0u);
    EXPECT_EQ(ld.getNumChildren(), 0u);
    EXPECT_EQ(ld.getNumAssignedSpares(), 1u);
    EXPECT_EQ(f.drive->getSpareListSize(), 1);

    // No spare list, no attribute.
    DriveFixture plain(1000);
    EXPECT_EQ(elementOf(*plain.drive).find("assignedTo"), std::string::npos);
}

TEST(HardDriveXml, ReadBackKeepsChunksAndForgetsEnclosureAndSlot)
{
    char text[] = "<HardDrive typeName=\"HardDrive\" deviceID=\"4\" size=\"5000000000\" spareType=\"1\""
                  " enclosureID=\"2\" slotID=\"3\" isCandidateSpare=\"1\">"
                  "<Chunk deviceID=\"4\" chunkID=\"10\" startSector=\"10\" numSectors=\"20\"/>"
                  "<Junk><Chunk deviceID=\"9\" startSector=\"40\" numSectors=\"5\"/></Junk>"
                  "</HardDrive><Chunk startSector=\"99\"/>";
    SimpleXmlParser parser(text, sizeof(text) - 1);
    ASSERT_TRUE(parser.parseNext());
    HardDrive drive(nullptr, nullptr, parser);
    EXPECT_EQ(drive.getDeviceID(), 4u);
    EXPECT_EQ(drive.getSize(), 5000000000ull);
    EXPECT_EQ(drive.getSpareType(), SPARE_GLOBAL);
    EXPECT_TRUE(drive.getCandidateSpare());
    EXPECT_EQ(drive.getEnclosureID(), 0x7FFFFFFFu);
    EXPECT_EQ(drive.getSlotID(), 0x7FFFFFFFu);
    ASSERT_EQ(drive.getNumChunks(), 2u);
    EXPECT_EQ(drive.getChunk(1)->getDeviceID(), 4u); // stamped by the drive
    EXPECT_EQ(drive.getChunk(1)->getStartSector(), 40u);
    drive.deleteAllChildren();
}

} // namespace
