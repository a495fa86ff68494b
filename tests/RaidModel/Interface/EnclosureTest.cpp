#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "RaidLib/Util/SafteConfig.h"
#include "RaidLib/Util/SafteStatus.h"
#include "RaidModel/Interface/Enclosure.h"
#include "RaidModel/Interface/EnclosureItem.h"
#include "RaidModel/Interface/SafteFan.h"
#include "RaidModel/Interface/SaftePowerSupply.h"
#include "RaidModel/Interface/SafteSlot.h"
#include "RaidModel/Interface/SafteTempSensor.h"
#include "RaidModel/ModelTestUtil.h"
#include "storagedll/raidrec.h"

using modeltest::Parsed;
using modeltest::treeText;

namespace {

// What the family's enclosure does with the two SAF-TE buffers it reads:
// decoded children for the document, owned copies for the queries.
class TestEnclosure : public Enclosure {
public:
    TestEnclosure() : Enclosure(nullptr, nullptr, 4, "ACME", "Shelf", "S1", "1.0", DRIVE_READY, "F1") {}

    void buildSafte(SAFTE_CONFIG& config, _SAFTE_STATUS& status)
    {
        SafteConfig* c = new SafteConfig;
        c->initFieldsFromData(&config);
        SafteStatus* s = new SafteStatus;
        std::memcpy(s->ucFanStatus, status.ucFanStatus, sizeof(s->ucFanStatus));
        std::memcpy(s->ucPowerSupplyStatus, status.ucPowerSupplyStatus, sizeof(s->ucPowerSupplyStatus));
        std::memcpy(s->ucSlotScsiId, status.ucSlotScsiId, sizeof(s->ucSlotScsiId));
        s->ucDoorLockStatus = status.ucDoorLockStatus;
        s->ucSpeakerStatus = status.ucSpeakerStatus;
        std::memcpy(s->ucTempSensorStatus, status.ucTempSensorStatus, sizeof(s->ucTempSensorStatus));
        s->ucTempOutOfRangeFlag1 = status.ucTempOutOfRangeFlag1;
        s->ucTempOutOfRangeFlag2 = status.ucTempOutOfRangeFlag2;
        s->iFanCount = config.fanCount;
        s->iPowerSupplyCount = config.powerSupplyCount;
        s->iSlotCount = config.slotCount;
        s->iTempSensorCount = config.tempSensorCount;
        addChild(c);
        addChild(s);
        safteConfig = new SafteConfig(*c);
        safteStatus = new SafteStatus(*s);
        safteDataValid = true;
    }
    ~TestEnclosure() override { deleteAllChildren(); }
};

struct Buffers {
    SAFTE_CONFIG config;
    _SAFTE_STATUS status;
    Buffers()
    {
        std::memset(&config, 0, sizeof(config));
        std::memset(&status, 0, sizeof(status));
        config.fanCount = 3;
        config.powerSupplyCount = 2;
        config.slotCount = 4;
        config.tempSensorCount = 1;
        status.ucFanStatus[1] = KRNA_SAFTE_FAN_STATUS_MALFUNCTIONING;
        status.ucFanStatus[31] = KRNA_SAFTE_FAN_STATUS_NOT_INSTALLED;
        status.ucPowerSupplyStatus[0] = KRNA_SAFTE_POWER_SUPPLY_STATUS_OPERATIONAL_OFF;
        std::memset(status.ucSlotScsiId, 255, sizeof(status.ucSlotScsiId));
        status.ucSlotScsiId[2] = 9;
        status.ucSlotScsiId[3] = 9;
    }
};

} // namespace

TEST(Enclosure, AnswersFromTheFamilysRecords)
{
    TestEnclosure e;
    Buffers b;
    e.buildSafte(b.config, b.status);
    EXPECT_TRUE(e.isSafteDataValid());
    EXPECT_EQ(3, e.getFanCount());
    EXPECT_EQ(2, e.getPowerSupplyCount());
    EXPECT_EQ(KRNA_SAFTE_FAN_STATUS_MALFUNCTIONING, e.getFanStatus(1));
    EXPECT_EQ(KRNA_SAFTE_FAN_STATUS_NOT_INSTALLED, e.getFanStatus(31)) << "not compared with the count";
    EXPECT_EQ(KRNA_SAFTE_FAN_STATUS_UNKNOWN, e.getFanStatus(32));
    EXPECT_EQ(KRNA_SAFTE_POWER_SUPPLY_STATUS_OPERATIONAL_OFF, e.getPowerSupplyStatus(0));
    EXPECT_EQ(KRNA_SAFTE_POWER_SUPPLY_STATUS_UNKNOWN, e.getPowerSupplyStatus(40));
    EXPECT_EQ(2u, e.getSlotNumberFromDeviceID(9));
    EXPECT_FALSE(e.isTempOutOfRange());
    e.getSafteStatus()->ucTempOutOfRangeFlag2 = 1;
    EXPECT_TRUE(e.isTempOutOfRange());
    // The records are numbered like any child, in joining order.
    EXPECT_EQ(0u, e.getChild(0)->getItemID());
    EXPECT_STREQ("SafteStatus", e.getChild(1)->typeName());
    EXPECT_EQ(1u, e.getChild(1)->getItemID());
    EXPECT_EQ(4u, e.getChild(1)->getDeviceID());
}

TEST(Enclosure, FallbackAnswersWithoutData)
{
    TestEnclosure e;
    const Enclosure& plain = e;
    EXPECT_EQ(0, plain.getFanCount());
    EXPECT_EQ(KRNA_SAFTE_FAN_STATUS_UNKNOWN, plain.getFanStatus(0));
    EXPECT_EQ(KRNA_SAFTE_POWER_SUPPLY_STATUS_UNKNOWN, plain.getPowerSupplyStatus(0));
    EXPECT_EQ(0x7FFFFFFFu, plain.getSlotNumberFromDeviceID(255));
    EXPECT_FALSE(plain.isTempOutOfRange());
    EXPECT_EQ(nullptr, plain.getSafteFan(0));
    EXPECT_EQ(Ret::NOT_SUPPORTED, e.setAlarmState(ALARM_SOUND).getReturn());
    EXPECT_EQ(ENCLOSURE, e.getDeviceType());
}

TEST(Enclosure, ItemsAreNumberedAndFiledByKind)
{
    TestEnclosure e;
    e.addChild(new SafteConfig);
    e.addChild(new SafteStatus);
    SafteFan* fan = new SafteFan(&e, SafteFan::OPERATIONAL, 0);
    EnclosureItem* lock = new EnclosureItem(&e, EnclosureItem::DOOR_LOCK, 0);
    SafteSlot* slot = new SafteSlot(&e, 5, 6, 0);
    SafteTempSensor* sensor = new SafteTempSensor(&e, 30, true, 0);
    SaftePowerSupply* psu = new SaftePowerSupply(&e, SaftePowerSupply::MALFUNCTION_ON, 0);

    EXPECT_EQ(2u, fan->getItemID());
    EXPECT_EQ(fan, e.getChild(2));
    EXPECT_EQ(fan, e.getSafteFan(0));
    EXPECT_EQ(fan, e.getEnclosureItem(0));
    EXPECT_EQ(lock, e.getOtherEnclosureItem(0));
    EXPECT_EQ(slot, e.getSafteSlot(0));
    EXPECT_EQ(sensor, e.getSafteTempSensor(0));
    EXPECT_EQ(psu, e.getSaftePowerSupply(0));
    EXPECT_EQ(nullptr, e.getOtherEnclosureItem(1));
    EXPECT_EQ(5u, e.getNumEnclosureItems());
    EXPECT_EQ(6u, psu->getItemID());
    EXPECT_EQ(4u, psu->getDeviceID());

    EXPECT_FALSE(slot->getDeviceInserted());
    EXPECT_TRUE(slot->getReadyForInsertionRemoval());
    EXPECT_TRUE(slot->getPreparedForOperation());
    sensor->setTemperature(static_cast<unsigned char>(0));
    EXPECT_EQ(-10, sensor->getTemperature());
}

TEST(Enclosure, ReadsItsConfigurationAndItemsAndPassesTheStatusOver)
{
    std::string xml =
        "<Enclosure typeName=\"Enclosure\" deviceID=\"6\" deviceType=\"3\" vendor=\"ACME\" safteDataValid=\"true\">"
        "<SafteConfig typeName=\"SafteConfig\" fanCount=\"2\"/>"
        "<SafteStatus typeName=\"SafteStatus\" fan0=\"1\"/>"
        "<Fan typeName=\"SafteFan\" itemType=\"3\" fanStatus=\"1\"/>"
        "<Fan typeName=\"SafteFan\" itemType=\"3\"/>"
        "<PowerSupply typeName=\"SaftePowerSupply\"/>"
        "<Slot typeName=\"SafteSlot\" itemNum=\"7\"/>"
        "<TempSensor typeName=\"SafteTempSensor\"/>"
        "<SASPhy typeName=\"SASPhy\"/>"
        "</Enclosure><After/>";
    Parsed p(xml);
    ASSERT_TRUE(p.startOf("Enclosure"));
    Enclosure e(nullptr, nullptr, p.parser);
    ASSERT_EQ(6u, e.getChildCount());
    EXPECT_STREQ("SafteConfig", e.getChild(0)->typeName());
    EXPECT_EQ(0u, e.getChild(0)->getItemID());
    EXPECT_EQ(6u, e.getChild(0)->getDeviceID());
    ASSERT_NE(nullptr, e.getSafteFan(1));
    EXPECT_EQ(0u, e.getSafteFan(0)->getFanNum());
    EXPECT_EQ(1u, e.getSafteFan(1)->getFanNum());
    EXPECT_EQ(1u, e.getSafteFan(0)->getItemID());
    EXPECT_EQ(2u, e.getSafteFan(1)->getItemID());
    EXPECT_EQ(SafteFan::MALFUNCTION, e.getSafteFan(0)->getFanStatus());
    // Kind attributes that are absent leave the constructed values.
    EXPECT_EQ(SafteFan::UNKNOWN, e.getSafteFan(1)->getFanStatus());
    EXPECT_EQ(SaftePowerSupply::UNKNOWN, e.getSaftePowerSupply(0)->getPowerSupplyStatus());
    EXPECT_EQ(7u, e.getSafteSlot(0)->getSlotNum());
    EXPECT_EQ(255u, e.getSafteSlot(0)->getScsiID());
    EXPECT_FALSE(e.getSafteSlot(0)->getDeviceInserted());
    EXPECT_EQ(0, e.getSafteTempSensor(0)->getTemperature());
    EXPECT_EQ(0u, e.getNumSASPhys()) << "phys of an enclosure element are passed over";

    // Read from a document: valid, but without owned records.
    EXPECT_TRUE(e.isSafteDataValid());
    EXPECT_EQ(0, e.getFanCount());
    EXPECT_EQ(KRNA_SAFTE_FAN_STATUS_UNKNOWN, e.getFanStatus(0));
    EXPECT_STREQ("ACME", e.getVendor());
    EXPECT_EQ(std::vector<std::string>{"13 After"}, p.rest());
    e.deleteAllChildren();
}

TEST(Enclosure, WrittenItemsReadBack)
{
    TestEnclosure e;
    Buffers b;
    e.buildSafte(b.config, b.status);
    SafteSlot* slot = new SafteSlot(&e, 3, 5, 0);
    ZeqFruInfo* fru = new ZeqFruInfo;
    fru->setPartNum("PN-1");
    fru->setSerialNum("SN-2");
    fru->setVendor("V-3");
    fru->setDateOfManufacture("2004-05-06");
    fru->setType("T-4");
    slot->setZeqFruInfo(fru);
    new SafteTempSensor(&e, 41, true, 0);
    const std::string xml = treeText(e);
    EXPECT_NE(std::string::npos, xml.find("safteDataValid=\"true\""));
    EXPECT_NE(std::string::npos,
              xml.find("itemType=\"1\" itemNum=\"0\" fruPartNum=\"PN-1\" fruSerialNum=\"SN-2\" "
                       "fruDateOfMfr=\"2004-05-06\" fruVendor=\"V-3\" fruType=\"T-4\" scsiID=\"3\" "
                       "deviceInserted=\"1\" readyForInsertionRemoval=\"0\" preparedForOperation=\"1\""))
        << xml;

    Parsed p(xml);
    ASSERT_TRUE(p.startOf("Enclosure"));
    Enclosure back(nullptr, nullptr, p.parser);
    SafteSlot* s = back.getSafteSlot(0);
    ASSERT_NE(nullptr, s);
    ASSERT_NE(nullptr, s->getZeqFruInfo());
    EXPECT_STREQ("PN-1", s->getZeqFruInfo()->getPartNum());
    EXPECT_STREQ("SN-2", s->getZeqFruInfo()->getSerialNum());
    EXPECT_STREQ("2004-05-06", s->getZeqFruInfo()->getDateOfManufacture());
    EXPECT_STREQ("T-4", s->getZeqFruInfo()->getType());
    EXPECT_STREQ("", s->getZeqFruInfo()->getVendor()) << "not read back";
    EXPECT_TRUE(s->getDeviceInserted());
    EXPECT_FALSE(s->getReadyForInsertionRemoval());
    EXPECT_TRUE(s->getPreparedForOperation());
    EXPECT_EQ(41, back.getSafteTempSensor(0)->getTemperature());
    EXPECT_TRUE(back.getSafteTempSensor(0)->getOutOfRange());
    EXPECT_EQ(3, static_cast<SafteConfig*>(back.getChild(0))->getFanCount());

    Enclosure copy(e);
    EXPECT_EQ(0u, copy.getChildCount());
    EXPECT_FALSE(copy.isSafteDataValid());
    EXPECT_EQ(nullptr, copy.getSafteConfig());
    EXPECT_STREQ("ACME", copy.getVendor());
    back.deleteAllChildren();
}
