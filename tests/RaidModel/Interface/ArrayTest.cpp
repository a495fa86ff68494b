#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/BasicArray.h"
#include "RaidModel/Interface/BasicLogicalDrive.h"
#include "RaidModel/Interface/Chunk.h"
#include "RaidModel/Interface/HardDrive.h"
#include "RaidModel/Interface/SCSIChannel.h"
#include "RaidModel/Interface/SpannedArray.h"
#include "RaidModel/Serialization/XMLWriter.h"

namespace {

TEST(Array, StampsDescendantsAndListsTheDrivesOfItsChunks)
{
    Adapter* adapter = new Adapter(1, 3, CONTROLLER_STATUS_WORKING, nullptr, nullptr, nullptr, 0, false, 0, 0,
                                   0, 0, 0, 0, 0);
    auto* channel = new SCSIChannel(adapter, 1, 7, SPEED_SCSI320);
    adapter->addChild(channel);
    auto* drive = new HardDrive(adapter, channel, 4, 1000, DRIVE_READY, nullptr, nullptr, nullptr, nullptr,
                                false, HARD_DRIVE_CACHE_MODE_WRITE_BACK, false, false, false, nullptr, false);
    channel->addChild(drive);
    auto* array = new BasicArray(adapter, 2, 2000, 0);
    adapter->addChild(array);
    auto* ld1 = new BasicLogicalDrive(adapter, array, 0, OKAY, RAID0, 100, 0, false, LD_CACHE_ENABLED, false, false);
    auto* ld2 = new BasicLogicalDrive(adapter, array, 1, OKAY, RAID0, 100, 0, false, LD_CACHE_ENABLED, false, false);
    array->addChild(ld1);
    array->addChild(ld2);
    ld1->addChild(new Chunk(drive, ld1, 0, 100, CHUNK_TYPE_DATA, 0, CHUNK_NORMAL));
    ld2->addChild(new Chunk(drive, ld2, 100, 100, CHUNK_TYPE_DATA, 0, CHUNK_NORMAL));
    // A chunk whose drive the controller does not have, and one of a
    // logical drive: neither names a drive.
    ld2->addChild(new Chunk(9u, 9u, 0, 10, 0, 0, CHUNK_TYPE_DATA, CHUNK_NORMAL));
    ld2->addChild(new Chunk(ld1, ld2, 0, 10, CHUNK_TYPE_DATA, 0, CHUNK_NORMAL));

    EXPECT_EQ(ld1->getArrayID(), 2u);
    EXPECT_EQ(ld2->getChild(0)->getArrayID(), 2u);
    EXPECT_EQ(ld2->getChild(0)->getAdapterID(), 3u);
    EXPECT_EQ(drive->getState(), DRIVE_ONLINE);
    EXPECT_EQ(ld2->getNumHardDrives(), 1u);
    EXPECT_EQ(ld2->getNumLogicalDrives(), 1u);

    std::vector<HardDrive*> drives{nullptr};
    array->getHardDrives(drives);
    EXPECT_EQ(drives, (std::vector<HardDrive*>{nullptr, drive, drive}));

    char* text = nullptr;
    {
        XMLWriter writer(&text);
        writer.writeObject(*array);
    }
    EXPECT_STREQ(text, "<Array size=\"2000\" freeSpace=\"0\" nestedLevel=\"1\" stripeSize=\"0\"/>");
    delete[] text;

    adapter->deleteAllChildren();
    delete adapter;
}

TEST(Array, ConstructorsAndComparison)
{
    Array plain;
    EXPECT_EQ(plain.getArrayID(), 0x7FFFFFFFu);
    EXPECT_EQ(plain.getNestedLevel(), 0);
    BasicArray basic;
    EXPECT_EQ(basic.getArrayID(), 0u);
    EXPECT_EQ(basic.getNestedLevel(), 1);
    SpannedArray spanned(nullptr, 1, -1, 0);
    EXPECT_EQ(spanned.getSize(), ~BLOCK_T(0));
    EXPECT_EQ(spanned.getNestedLevel(), 2);
    EXPECT_TRUE(spanned.isInstanceOf("Array"));
    EXPECT_STREQ(spanned.serializedName(), "Array");

    Adapter other;
    SpannedArray same(&other, 1, -1, 0);
    same.setStripeSize(64);
    EXPECT_TRUE(same == spanned); // controller and stripe size are not compared
    SpannedArray copy(same);
    EXPECT_EQ(copy.getStripeSize(), 64);
    EXPECT_EQ(copy.getArrayID(), 1u);
}

} // namespace
