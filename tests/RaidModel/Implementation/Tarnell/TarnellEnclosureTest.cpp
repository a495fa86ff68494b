#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "RaidLib/Util/SafteStatus.h"
#include "RaidModel/Implementation/Tarnell/TarnellSimTree.h"
#include "storagedll/storintf.h"

// The Tarnell enclosure: its SAF-TE objects from the controller's two
// records, the decoded readings, and identify against the simulated
// controllers.

using namespace tarnelltest;

namespace {

// Records as the controller returns them: counts in the configuration, the
// packed status page at the front of the status record.
struct Records {
    SAFTE_CONFIG config;
    _SAFTE_STATUS status;
    Records(uint8_t fans, uint8_t powerSupplies)
    {
        std::memset(&config, 0, sizeof config);
        std::memset(&status, 0, sizeof status);
        config.fanCount = fans;
        config.powerSupplyCount = powerSupplies;
        config.slotCount = 14;
        config.tempSensorCount = 2;
    }
    SAFTE_STATUS_PAGE& page() { return *reinterpret_cast<SAFTE_STATUS_PAGE*>(&status); }
};

std::unique_ptr<TarnellEnclosure> enclosureWith(Records& r)
{
    std::unique_ptr<TarnellEnclosure> e(
        new TarnellEnclosure(nullptr, nullptr, 15, "ZEQ-XJP", "SAFTE-14", "E", "1.10", DRIVE_READY, false, ""));
    e->buildSafte(r.config, r.status);
    return e;
}

void release(TarnellEnclosure& e) { e.deleteAllChildren(); }

class TarnellEnclosureTest : public SimTest {};

} // namespace

TEST_F(TarnellEnclosureTest, BuildsFromTheControllersRecords)
{
    // The records of the simulated enclosure 0:15 of controller 2.
    _STORAGE_ADDRESS_ID address;
    std::memset(&address, 0, sizeof address);
    address.usAdapterID = CONTROLLER_A;
    address.usChannelID = 0;
    address.usPhysDevID = 15;
    _SAFTE_CONFIGURATION config;
    _SAFTE_STATUS status;
    std::memset(&status, 0, sizeof status);
    ASSERT_EQ(0, DllP::GetDLLPointer()->GetSafteConfig(address, config).iReturnCode);
    ASSERT_EQ(0, DllP::GetDLLPointer()->GetSafteStatus(address, status).iReturnCode);
    SAFTE_CONFIG buffer;
    std::memcpy(&buffer, &config, sizeof buffer);

    SimController ctl(CONTROLLER_A, TARNELL_B2);
    TarnellEnclosure* e = ctl.enclosure(0, 15);
    EXPECT_FALSE(e->isSafteDataValid());
    EXPECT_EQ(TarnellEnclosure::ELEMENT_NO_DATA, e->getFanStatus(0));
    EXPECT_EQ(TarnellEnclosure::ELEMENT_NO_DATA, e->getPowerSupplyStatus(0));
    EXPECT_EQ(STATUS_UNKNOWN, e->getTemperatureStatus());

    e->buildSafte(buffer, status);
    e->setResponding(true);
    EXPECT_TRUE(e->isResponding());
    EXPECT_TRUE(e->isSafteDataValid());
    ASSERT_EQ(2u, e->getChildCount());
    EXPECT_STREQ("SafteConfig", e->getChild(0)->serializedName());
    EXPECT_STREQ("SafteStatus", e->getChild(1)->serializedName());
    EXPECT_EQ(1u, e->getChild(1)->getItemID());

    const SafteStatus* kept = e->getSafteStatus();
    ASSERT_NE(nullptr, kept);
    EXPECT_NE(static_cast<const RaidObject*>(kept), e->getChild(1)) << "a copy of its own";
    EXPECT_EQ(3, kept->getFanCount());
    EXPECT_EQ(14, kept->getSlotCount());
    EXPECT_EQ(2, kept->getTempSensorCount());
    EXPECT_EQ(14, kept->ucSlotScsiId[13]);
    EXPECT_EQ(255, kept->ucSlotScsiId[14]) << "past the page: cleared";
    EXPECT_EQ(0x30, kept->ucTempSensorStatus[1]);
    EXPECT_EQ(1, static_cast<SafteStatus*>(e->getChild(1))->getVendorUniqueByteCount());
    EXPECT_EQ(TarnellEnclosure::ELEMENT_OPERATIONAL, e->getFanStatus(2));
    EXPECT_EQ(TarnellEnclosure::ELEMENT_NOT_INSTALLED, e->getPowerSupplyStatus(2));
    EXPECT_EQ(STATUS_NORMAL, e->getTemperatureStatus());
}

TEST(TarnellEnclosureReadings, FansPowerSuppliesAndTemperature)
{
    Records r(2, 3);
    r.page().ucFanStatus[0] = 0x03; // bit 0 decides first
    r.page().ucFanStatus[1] = 0x80;
    r.page().ucFanStatus[2] = 0x01; // a third byte beyond the two fans
    r.page().ucPowerSupplyStatus[0] = 0x21;
    r.page().ucPowerSupplyStatus[1] = 0x11;
    r.page().ucPowerSupplyStatus[2] = 0x01;
    auto e = enclosureWith(r);
    EXPECT_EQ(2, e->getFanStatus(0));
    EXPECT_EQ(1, e->getFanStatus(1));
    EXPECT_EQ(5, e->getFanStatus(2));
    EXPECT_EQ(5, e->getFanStatus(-1));
    EXPECT_EQ(3, e->getPowerSupplyStatus(0));
    EXPECT_EQ(2, e->getPowerSupplyStatus(1));
    EXPECT_EQ(1, e->getPowerSupplyStatus(2));
    EXPECT_EQ(5, e->getPowerSupplyStatus(3));
    EXPECT_EQ(STATUS_NORMAL, e->getTemperatureStatus());
    release(*e);

    // More fans than the page holds: their bytes stay cleared.
    Records five(5, 1);
    five.page().ucPowerSupplyStatus[0] = 0x20;
    five.page().ucTempOutOfRangeFlag2 = 0x04;
    auto f = enclosureWith(five);
    EXPECT_EQ(1, f->getFanStatus(3));
    EXPECT_EQ(1, f->getFanStatus(4));
    EXPECT_EQ(3, f->getPowerSupplyStatus(0));
    EXPECT_EQ(STATUS_FATAL, f->getTemperatureStatus());

    // A copy keeps the readings after its source has gone.
    std::unique_ptr<TarnellEnclosure> copy(new TarnellEnclosure(*f));
    release(*f);
    f.reset();
    EXPECT_TRUE(copy->isSafteDataValid());
    EXPECT_EQ(0u, copy->getChildCount());
    EXPECT_EQ(3, copy->getPowerSupplyStatus(0));
    EXPECT_EQ(STATUS_FATAL, copy->getTemperatureStatus());
    EXPECT_STREQ("TarnellEnclosure", copy->typeName());
    EXPECT_STREQ("Enclosure", copy->serializedName());
    EXPECT_TRUE(copy->isInstanceOf("Enclosure"));
}

TEST_F(TarnellEnclosureTest, IdentifyCodes)
{
    SimController ctl(CONTROLLER_A, TARNELL_B2);
    TarnellEnclosure* e = ctl.enclosure(0, 15);
    auto simIdentify = [] {
        const tarnellsim::Scenario now = tarnellsim::current();
        for (const auto& d : now.controllers[0].devices) {
            if (d.channel == 0 && d.target == 15)
                return int(d.identify);
        }
        return -1;
    };
    EXPECT_EQ(Ret::SUCCESS, e->identifyDevice(true).getReturn());
    EXPECT_EQ(5, simIdentify());
    EXPECT_EQ(Ret::SUCCESS, e->identifyDevice(false).getReturn());
    EXPECT_EQ(6, simIdentify());
    ASSERT_EQ(2u, callsOf("IdentifyPhysicalDrive").size());
    EXPECT_EQ(15, callsOf("IdentifyPhysicalDrive")[0].address.usPhysDevID);

    tarnellsim::injectFailure("IdentifyPhysicalDrive", tarnellsim::RC_NOT_SUPPORTED);
    EXPECT_EQ(Ret::CONTROLLER_FAILED, e->identifyDevice(true).getReturn());
    EXPECT_NE(std::string::npos, familyLog().find("<Warning> Identifying enclosure device failed\n"));

    // Not in its adapter's tree at its own address.
    tarnellsim::clearCalls();
    TarnellEnclosure loose(ctl.adapter, ctl.channel(0), 14, "V", "M", "S", "F", DRIVE_READY, false, "");
    EXPECT_EQ(Ret::BAD_PARAM, loose.identifyDevice(true).getReturn());
    EXPECT_TRUE(tarnellsim::calls().empty());

    const std::string log = familyLog();
    withoutControllerAccess();
    stdoutOf([&] { EXPECT_EQ(Ret::CONTROLLER_FAILED, e->identifyDevice(true).getReturn()); });
    EXPECT_EQ(log, familyLog()) << "nothing logged";
}
