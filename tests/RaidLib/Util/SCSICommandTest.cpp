#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "RaidLib/Util/SCSICommand.h"
#include "RaidLib/Util/VPDData.h"

namespace {

std::vector<unsigned> bytesOf(const Buffer& b)
{
    std::vector<unsigned> v;
    for (uint32_t i = 0; i < b.getSize(); ++i)
        v.push_back(b[i]);
    return v;
}

struct BuilderCase {
    const char* name;
    std::function<void(SCSICommand&)> build;
    std::vector<unsigned> cdb;
    SCSICommand::EnumDirection direction;
    uint32_t readSize;
    uint32_t writeSize;
    uint32_t senseSize;
};

} // namespace

// Every builder, on a command that an earlier builder left with other
// buffers: the bytes of the CDB, the direction and the sizes of the buffers
// it uses (the others keep what they had).
TEST(SCSICommand, BuildersLayOutTheirCommandBlocks)
{
    const SCSICommand::EnumDirection R = SCSICommand::READWITHSENSE;
    const SCSICommand::EnumDirection W = SCSICommand::WRITEWITHSENSE;
    const SCSICommand::EnumDirection N = SCSICommand::NOTRANSFER;
    // Left by the earlier builder: readData 7, writeData 3 bytes.
    const uint32_t oldRead = 7, oldWrite = 3;
    const std::vector<BuilderCase> cases = {
        {"inquiry 0", [](SCSICommand& c) { c.initInquiry(0); },
         {0x12, 0, 0, 0, 0xFF, 0}, R, 255, oldWrite, 255},
        {"inquiry 0x80", [](SCSICommand& c) { c.initInquiry(0x80); },
         {0x12, 1, 0x80, 0, 0xFF, 0}, R, 255, oldWrite, 255},
        {"inquiry 0x83 508 evpd", [](SCSICommand& c) { c.initInquiry(0x83, 0x1FC, true); },
         {0x12, 1, 0x83, 0x01, 0xFC, 0}, R, 508, oldWrite, 508},
        {"inquiry 0 36", [](SCSICommand& c) { c.initInquiry(0, 36, false); },
         {0x12, 0, 0, 0, 0x24, 0}, R, 36, oldWrite, 36},
        {"inquiry evpd without page", [](SCSICommand& c) { c.initInquiry(0, 36, true); },
         {0x12, 1, 0, 0, 0x24, 0}, R, 36, oldWrite, 36},
        {"test unit ready", [](SCSICommand& c) { c.initTestUnitReady(); },
         {0, 0, 0, 0, 0, 0}, N, oldRead, oldWrite, 255},
        {"mode sense", [](SCSICommand& c) { c.initModeSense(0x3F); },
         {0x1A, 0x08, 0x3F, 0, 0xFF, 0}, R, 255, oldWrite, 255},
        {"mode select", [](SCSICommand& c) { c.initModeSelect(12, nullptr); },
         {0x15, 0x11, 0, 0, 0x0C, 0}, W, oldRead, 12, 255},
        {"read fua", [](SCSICommand& c) { c.initRead(258, 8, true); },
         {0x28, 0x08, 0, 0, 0x01, 0x02, 0, 0, 0x08, 0}, R, 4096, oldWrite, 255},
        {"read", [](SCSICommand& c) { c.initRead(0x01020304, 0x1234, false); },
         {0x28, 0, 0x01, 0x02, 0x03, 0x04, 0, 0x12, 0x34, 0}, R, 0x1234 * 512, oldWrite, 255},
        {"write fua", [](SCSICommand& c) { c.initWrite(0xA0B0C0D0, 2, nullptr, true); },
         {0x2A, 0x08, 0xA0, 0xB0, 0xC0, 0xD0, 0, 0, 0x02, 0}, W, oldRead, 1024, 255},
        {"read SES", [](SCSICommand& c) { c.initReadSES(2, 0x400); },
         {0x1C, 0x01, 0x02, 0x04, 0x00, 0x00}, R, 1024, oldWrite, 255},
    };
    for (const BuilderCase& tc : cases) {
        SCSICommand cmd;
        cmd.initRead(1, 1, true); // a 10-byte CDB the next builder must clear
        Buffer oldReadData(oldRead), oldWriteData(oldWrite), oldSense(9);
        oldReadData[0] = 0xEE;
        oldWriteData[0] = 0xEE;
        cmd.setReadData(oldReadData);
        cmd.setWriteData(oldWriteData);
        cmd.setSenseData(oldSense);

        tc.build(cmd);
        EXPECT_EQ(bytesOf(cmd.getScsiCmd()), tc.cdb) << tc.name;
        EXPECT_EQ(cmd.getScsiCmdSize(), tc.cdb.size()) << tc.name;
        EXPECT_EQ(cmd.getDirection(), tc.direction) << tc.name;
        EXPECT_EQ(cmd.getReadData().getSize(), tc.readSize) << tc.name;
        EXPECT_EQ(cmd.getWriteData().getSize(), tc.writeSize) << tc.name;
        EXPECT_EQ(cmd.getSenseData().getSize(), tc.senseSize) << tc.name;
        // A buffer the builder sized is cleared; one it did not use is kept.
        const Buffer& read = cmd.getReadData();
        const Buffer& write = cmd.getWriteData();
        EXPECT_EQ(read.getByte(0), tc.readSize == oldRead ? 0xEE : 0) << tc.name;
        EXPECT_EQ(write.getByte(0), tc.writeSize == oldWrite ? 0xEE : 0) << tc.name;
        EXPECT_EQ(std::vector<unsigned>(tc.senseSize, 0), bytesOf(cmd.getSenseData())) << tc.name;
    }
}

TEST(SCSICommand, WriteDataComesFromTheCallersBytes)
{
    unsigned char page[4] = {1, 2, 3, 4};
    SCSICommand select;
    select.initModeSelect(4, page);
    EXPECT_EQ(bytesOf(select.getWriteData()), (std::vector<unsigned>{1, 2, 3, 4}));

    std::vector<unsigned char> block(512, 0x5A);
    SCSICommand write;
    write.initWrite(0, 1, block.data(), false);
    ASSERT_EQ(write.getWriteData().getSize(), 512u);
    EXPECT_EQ(std::memcmp(write.getWriteData().getAddr(), block.data(), 512), 0);
}

TEST(SCSICommand, MaxTransferLengthFollowsTheDirection)
{
    SCSICommand cmd;
    cmd.initRead(0, 2, false);
    EXPECT_EQ(cmd.getMaxTransferLength(), 1024u);
    cmd.initModeSelect(12, nullptr);
    EXPECT_EQ(cmd.getMaxTransferLength(), 12u);
    // Whatever buffers earlier builders left, no data phase moves nothing.
    cmd.initTestUnitReady();
    EXPECT_EQ(cmd.getMaxTransferLength(), 0u);

    Buffer cdb(6);
    SCSICommand both(cdb, SCSICommand::READWRITE);
    Buffer r(10), w(30);
    both.setReadData(r);
    both.setWriteData(w);
    EXPECT_EQ(both.getMaxTransferLength(), 30u);
    EXPECT_TRUE(both.IsRead());
    EXPECT_TRUE(both.IsWrite());

    SCSICommand copy(both);
    EXPECT_EQ(copy.getWriteData().getSize(), 30u);
    EXPECT_EQ(copy.getScsiCmdSize(), 6u);
}

TEST(VPDData, ByteZeroHoldsTypeAndQualifier)
{
    VPDData v(0x0D, 0, 0x80, 0, 4, const_cast<char*>("ABCD"));
    v.setDeviceTypeQual(0x0B);
    const unsigned char* raw = reinterpret_cast<const unsigned char*>(&v);
    EXPECT_EQ(raw[0], 0x6D);
    EXPECT_EQ(v.getDeviceType(), 0x0D);
    EXPECT_EQ(v.getDeviceTypeQual(), 0x03);
    v.setDeviceType(0xFF);
    EXPECT_EQ(raw[0], 0x7F);
    EXPECT_EQ(raw[1], 0x80);
    EXPECT_EQ(raw[4], 4);
    EXPECT_EQ(std::memcmp(raw + 5, "ABCD", 4), 0);
}

TEST(VPDData, VendorTextStopsAtSixtyEightBytes)
{
    VPDData v;
    const std::string longText(100, 'x');
    v.setVendorSpecific(longText.c_str());
    EXPECT_EQ(std::string(v.getVendorSpecific(), 68), std::string(68, 'x'));

    // A shorter text overwrites only its own bytes.
    v.setVendorSpecific("ab");
    EXPECT_EQ(std::string(v.getVendorSpecific(), 4), "abxx");

    VPDData copy(v);
    EXPECT_EQ(std::memcmp(&copy, &v, sizeof(VPDData)), 0);
}
