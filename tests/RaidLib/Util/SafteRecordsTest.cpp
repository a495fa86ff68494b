#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "RaidLib/Util/SafteConfig.h"
#include "RaidLib/Util/SafteStatus.h"
#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidModel/Serialization/XMLWriter.h"

namespace {

std::string toXml(const RaidObject& o)
{
    char* out = nullptr;
    {
        XMLWriter w(&out);
        w.writeTree(o);
    }
    std::string s = out ? out : "";
    delete[] out;
    return s;
}

SafteConfig configOf(unsigned fans, unsigned supplies, unsigned slots, unsigned sensors)
{
    SafteConfig c;
    c.setFanCount(static_cast<uint16_t>(fans));
    c.setPowerSupplyCount(static_cast<uint16_t>(supplies));
    c.setDeviceSlotCount(static_cast<uint16_t>(slots));
    c.setTempSensorCount(static_cast<uint16_t>(sensors));
    return c;
}

} // namespace

TEST(SafteConfig, DecodesTheConfigurationBuffer)
{
    SAFTE_CONFIG raw;
    std::memset(&raw, 0xEE, sizeof(raw));
    raw.fanCount = 3;
    raw.powerSupplyCount = 2;
    raw.slotCount = 14;
    raw.doorLockInstalled = 1;
    raw.tempSensorCount = 2;
    raw.audibleAlarmInstalled = 1;
    raw.ucThermostat = 0x85;
    raw.vendorUniqueByteCount = 7;
    SafteConfig c;
    c.initFieldsFromData(&raw);
    EXPECT_EQ(3, c.getFanCount());
    EXPECT_EQ(2, c.getPowerSupplyCount());
    EXPECT_EQ(14, c.getDeviceSlotCount());
    EXPECT_EQ(1, c.getDoorLockPresent());
    EXPECT_EQ(2, c.getTempSensorCount());
    EXPECT_EQ(1, c.getAudibleAlarmPresent());
    EXPECT_EQ(7, c.getVendorUniqueBytes());
    EXPECT_TRUE(c.isCelsius());
    EXPECT_EQ(0, c.getReserved()[0]) << "reserved bytes are not taken from the buffer";
    EXPECT_EQ(3 + 2 + 14 + 2 + 5, c.getStatusLength());
}

TEST(SafteConfig, WritesAndReadsBackItsCounts)
{
    SafteConfig c = configOf(4, 2, 8, 3);
    c.setDoorLockPresent(1);
    c.setAudibleAlarmPresent(1);
    c.setCelsius(true);
    std::string xml = toXml(c);
    EXPECT_NE(std::string::npos,
              xml.find("fanCount=\"4\" powerSupplyCount=\"2\" slotCount=\"8\" doorLockPresent=\"1\" "
                       "tempSensorCount=\"3\" speakerPresent=\"1\" celsius=\"true\""))
        << xml;

    SimpleXmlParser p(&xml[0], xml.size());
    ASSERT_TRUE(p.parseNext());
    SafteConfig back(nullptr, p);
    EXPECT_EQ(4, back.getFanCount());
    EXPECT_EQ(2, back.getPowerSupplyCount());
    EXPECT_EQ(8, back.getDeviceSlotCount());
    EXPECT_EQ(1, back.getDoorLockPresent());
    EXPECT_EQ(3, back.getTempSensorCount());
    EXPECT_EQ(1, back.getAudibleAlarmPresent());
    EXPECT_TRUE(back.isCelsius());
}

TEST(SafteConfig, SpeakerPresentSetsOnlyTheAlarmCount)
{
    std::string xml = "<SafteConfig typeName=\"SafteConfig\" speakerPresent=\"1\"/>";
    SimpleXmlParser p(&xml[0], xml.size());
    ASSERT_TRUE(p.parseNext());
    SafteConfig back(nullptr, p);
    EXPECT_EQ(1, back.getAudibleAlarmPresent());
    EXPECT_EQ(0, back.getTempSensorCount());
}

TEST(SafteConfig, SetReservedStopsAtFiftySevenBytes)
{
    SafteConfig c;
    std::vector<unsigned char> text(61, 'r');
    text.back() = 0;
    c.setReserved(text.data());
    for (unsigned i = 0; i < SafteConfig::RESERVED_SIZE; ++i)
        ASSERT_EQ('r', c.getReserved()[i]) << i;
}

TEST(SafteStatus, FreshRecordAndLookups)
{
    SafteStatus s;
    EXPECT_EQ(0u, s.getSlotNumberFromDeviceID(255));
    EXPECT_EQ(0x7FFFFFFFu, s.getSlotNumberFromDeviceID(3));
    EXPECT_EQ(0x7FFFFFFFu, s.getDeviceIDFromSlotNumber(-1));
    EXPECT_EQ(0x7FFFFFFFu, s.getDeviceIDFromSlotNumber(64));
    EXPECT_EQ(255u, s.getDeviceIDFromSlotNumber(63));
    EXPECT_EQ(128, s.ucFanStatus[0]);
    EXPECT_EQ(128, s.ucDoorLockStatus);
    EXPECT_EQ(-1, s.getFanCount());
}

// A status buffer whose every byte is its own offset, so each field shows
// where it was read from.
std::vector<unsigned char> numberedBuffer(size_t n)
{
    std::vector<unsigned char> b(n);
    for (size_t i = 0; i < n; ++i)
        b[i] = static_cast<unsigned char>(i);
    return b;
}

TEST(SafteStatus, FieldsAreReadAtTheirOffsets)
{
    struct Case {
        unsigned fans, supplies, slots, sensors;
        size_t doorLock;
    } const cases[] = {
        {3, 3, 14, 2, 20},
        {40, 2, 4, 3, 46}, // 8 fans beyond the array are skipped, not lost
        {0, 0, 70, 0, 70},
    };
    for (const Case& c : cases) {
        SafteConfig config = configOf(c.fans, c.supplies, c.slots, c.sensors);
        ASSERT_EQ(c.doorLock + c.sensors + 5, config.getStatusLength());
        // Exactly as long as the configuration says: ASan catches any
        // read beyond it.
        std::vector<unsigned char> raw = numberedBuffer(config.getStatusLength());
        std::unique_ptr<unsigned char[]> data(new unsigned char[raw.size()]);
        std::memcpy(data.get(), raw.data(), raw.size());
        SafteStatus s;
        EXPECT_TRUE(s.initFieldsFromData(&config, data.get(), raw.size()));
        EXPECT_EQ(c.doorLock, s.ucDoorLockStatus) << c.fans;
        EXPECT_EQ(c.doorLock + 1, s.ucSpeakerStatus);
        if (c.sensors) {
            EXPECT_EQ(c.doorLock + 2, s.ucTempSensorStatus[0]);
        }
        EXPECT_EQ(c.doorLock + 2 + c.sensors, s.ucTempOutOfRangeFlag1);
        EXPECT_EQ(c.doorLock + 4 + c.sensors, s.ucVendorUniqueByteCount);
        if (c.supplies) {
            EXPECT_EQ(c.fans, s.ucPowerSupplyStatus[0]);
        }
        if (c.fans > 32) {
            EXPECT_EQ(31, s.ucFanStatus[31]);
        }
        EXPECT_EQ(static_cast<int>(c.fans), s.getFanCount());
    }
}

TEST(SafteStatus, ShortBufferIsNotReadPastItsEnd)
{
    // The configuration promises 255 of everything; the device sent 10 bytes.
    SafteConfig config = configOf(255, 255, 255, 255);
    std::unique_ptr<unsigned char[]> data(new unsigned char[10]);
    for (int i = 0; i < 10; ++i)
        data[i] = static_cast<unsigned char>(i);
    SafteStatus s;
    EXPECT_FALSE(s.initFieldsFromData(&config, data.get(), 10));
    EXPECT_EQ(9, s.ucFanStatus[9]);
    EXPECT_EQ(128, s.ucFanStatus[10]) << "bytes the buffer does not hold keep their values";
    EXPECT_EQ(128, s.ucDoorLockStatus);
    EXPECT_EQ(0, s.ucTempOutOfRangeFlag1);
    EXPECT_FALSE(s.initFieldsFromData(&config, nullptr, 0));
}

TEST(SafteStatus, WritesAsManyEntriesAsItsCounts)
{
    SafteStatus unknown;
    std::string xml = toXml(unknown);
    EXPECT_NE(std::string::npos, xml.find("fan31=")) << xml;
    EXPECT_EQ(std::string::npos, xml.find("fan32="));
    EXPECT_NE(std::string::npos, xml.find("powerSupply31="));
    EXPECT_NE(std::string::npos, xml.find("slot63=\"255\""));
    EXPECT_EQ(std::string::npos, xml.find("slot64="));
    EXPECT_NE(std::string::npos, xml.find("tempSensor31="));
    EXPECT_NE(std::string::npos, xml.find("tempFlags1=\"0\" tempFlags2=\"0\""));

    SafteConfig config = configOf(2, 1, 70, 0);
    std::vector<unsigned char> raw = numberedBuffer(config.getStatusLength());
    SafteStatus known;
    known.initFieldsFromData(&config, raw.data(), raw.size());
    xml = toXml(known);
    EXPECT_NE(std::string::npos, xml.find("fan0=\"0\" fan1=\"1\" powerSupply0=\"2\" slot0=\"3\"")) << xml;
    EXPECT_EQ(std::string::npos, xml.find("fan2="));
    EXPECT_NE(std::string::npos, xml.find("slot63=")) << "no count writes past its array";
    EXPECT_EQ(std::string::npos, xml.find("slot64="));
    EXPECT_EQ(std::string::npos, xml.find("tempSensor0="));
}

TEST(SafteStatus, CopyDropsTheVendorUniqueBytes)
{
    SafteStatus s;
    s.ucFanStatus[5] = 1;
    s.ucVendorUniqueByteCount = 9;
    s.ucVendorUniqueBytes[0] = 9;
    s.iSlotCount = 4;
    SafteStatus copy(s);
    EXPECT_EQ(1, copy.ucFanStatus[5]);
    EXPECT_EQ(4, copy.getSlotCount());
    EXPECT_EQ(0, copy.ucVendorUniqueByteCount);
    EXPECT_EQ(0, copy.ucVendorUniqueBytes[0]);
}
