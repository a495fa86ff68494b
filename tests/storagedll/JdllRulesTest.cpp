#include <gtest/gtest.h>

#include <cstring>

#include "ProgressRecord.h"
#include "storagedll/jdllrules.h"

// The rules of the legacy bridge's RAID natives that need no JVM; they give
// the same answers in both builds.

using namespace legacyjdll;

namespace {

TEST(JdllRules, PercentCompleteExactlyWithoutClamping)
{
    const struct {
        uint32_t size, remaining;
        int32_t percent;
    } cases[] = {
        {1000, 250, 75},
        {3, 2, 33},
        {0, 0, 0},                         // no size
        {100, 71, 29},                     // exact where floating point can come out one lower
        {100, 0, 100},
        {100, 150, -50},                   // more remaining than the size: negative, not clamped
        {4000000000u, 0, -7},              // the difference read as a signed 32-bit value:
        {4000000000u, 1000000000u, -32},   // a large one turns negative
        {10, 0xFFFFF000u, 0},              // 41060: beyond 16 bits
        {1000, 0x80000000u, 0},            // -214748264: beyond 16 bits
        {1, 0xFFFFFF00u, 25700},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.percent, percentComplete(c.size, c.remaining)) << c.size << " " << c.remaining;
}

// Implementation codes above 6 take the size entry of ucVirtualDriveIndex,
// the others that of ucVirtDriveNumber; an index of 8 or more none.
TEST(JdllRules, ProgressImageChoosesItsSizeEntry)
{
    const _REBUILD_STATUS r = sampleProgressRecord();
    const struct {
        uint32_t implementation;
        uint8_t index, number;
        uint8_t percent;
    } cases[] = {{7, 5, 2, 75}, {0xFFFFFFFF, 5, 2, 75}, {6, 5, 2, 33}, {0, 5, 2, 33},
                 {7, 8, 2, 0},  {6, 5, 0xFF, 0},       {7, 0xFF, 2, 0}};
    for (const auto& c : cases) {
        _REBUILD_STATUS s = r;
        s.ucVirtualDriveIndex = c.index;
        s.ucVirtDriveNumber = c.number;
        EXPECT_EQ(c.percent, progressImage(s, c.implementation).percent) << c.implementation << " " << int(c.index);
    }

    _REBUILD_STATUS sub = r;
    sub.ucSubOpcodeQualifier = 3;
    sub.ucDevChnID = 200;
    sub.ucIsSLDVirtDriveId = 1;
    const ProgressImage image = progressImage(sub, 7);
    EXPECT_EQ(0x16, image.opcode);
    EXPECT_EQ(2, image.virtDrive);
    EXPECT_EQ(0x11, image.checkOption);
    EXPECT_EQ(0x30, image.status);
    EXPECT_EQ(3, image.subOpcodeQualifier);
    EXPECT_EQ(200, image.channel);
    EXPECT_EQ(4, image.target);
    EXPECT_EQ(1, image.sldVirtDrive);

    _REBUILD_STATUS migration = r;
    migration.ucOpcode = 0xBB;
    EXPECT_EQ(0x02, progressImage(migration, 7).checkOption);

    // A negative percentage keeps its low 8 bits.
    _REBUILD_STATUS behind = r;
    behind.sVirtualDrive[5].ulRemainingBlocks = 1500;
    EXPECT_EQ(uint8_t(-50), progressImage(behind, 7).percent);
}

TEST(JdllRules, LogicalDriveTableEntries)
{
    const struct {
        uint32_t reported, allocated, entries;
    } cases[] = {
        {0, 0, 0},       {3, 1000, 0},      {207, 207, 0},      {208, 208, 1},  {616, 616, 3},
        {1636, 1636, 8}, {1632, 1632, 7},   {1636, 208, 1},     {LD_TABLE_MAX_BYTES, LD_TABLE_MAX_BYTES, 256},
        {0xFFFFFFFF, LD_TABLE_MAX_BYTES, 256},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.entries, ldTableEntries(c.reported, c.allocated)) << c.reported << " " << c.allocated;
}

TEST(JdllRules, BatteryCacheFromTheEnquiry)
{
    const struct {
        uint8_t misc, code;
        uint8_t installed, errorCode;
    } cases[] = {
        {0x22, 1, 0, 0}, {0x02, 1, 0, 0}, {0x02, 3, 1, 3}, {0x02, 0, 1, 0}, {0x02, 0x90, 1, 0x90},
        {0x20, 5, 0, 5}, {0x00, 5, 0, 0}, {0xDD, 7, 0, 0},
    };
    for (const auto& c : cases) {
        _ENQUIRY e;
        std::memset(&e, 0, sizeof e);
        e.ucMiscFlag = c.misc;
        e.ucMordalErrorCode = c.code;
        const BatteryCacheImage image = batteryCache(e);
        EXPECT_EQ(c.installed, image.installed) << int(c.misc) << " " << int(c.code);
        EXPECT_EQ(c.errorCode, image.errorCode) << int(c.misc) << " " << int(c.code);
    }
}

} // namespace
