// The enclosure providers: every enclosure as a computer system, and the
// fan, power supply and temperature sensor of every SAF-TE enclosure with
// their redundancy sets and associations.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KRNA_EnclosureComputerSystem_Provider.h"
#include "KRNA_EnclosureFan_Providers.h"
#include "KRNA_EnclosurePowerSupply_Providers.h"
#include "KRNA_EnclosureTempSensor_Providers.h"
#include "ProviderTestSupport.h"

using namespace corvanecimple;
using namespace cimple;
using providertest::Collected;
using providertest::enumerate;
using providertest::logMessages;

namespace {

// A SAF-TE shelf in a slot: its status bytes, and the counts its
// configuration reports (-1: one per status byte).
vesksim::SafteEnclosure shelf(uint8_t channel, uint16_t target, const std::string& model, const std::string& fru,
                              std::vector<uint8_t> fans = {0}, std::vector<uint8_t> supplies = {0})
{
    vesksim::SafteEnclosure e;
    e.channel = channel;
    e.target = target;
    e.vendor = "VESKON";
    e.model = model;
    e.serial = "SH" + std::to_string(target);
    e.firmware = "1.00";
    e.fru = fru;
    e.slots = 14;
    e.tempSensors = 2;
    e.fanStatus = fans;
    e.powerSupplyStatus = supplies;
    return e;
}

vesksim::Controller controller(uint32_t number, const std::string& serial, std::vector<familysim::Channel> channels)
{
    vesksim::Controller c;
    c.number = number;
    c.pciBus = 2;
    c.pciFunction = 0;
    c.pciDevice = uint8_t(3 + number);
    c.serial = serial;
    c.channels = channels;
    return c;
}

// Only the Qorl family has controllers, those of the scenario.
void onlyQorl(const vesksim::Scenario& scenario)
{
    vesksim::reset(scenario);
    tarnellsim::reset(tarnellsim::Scenario{});
    pelmsim::reset(pelmsim::Scenario{});
}

std::vector<std::string> texts(const Property<Array_String>& p)
{
    std::vector<std::string> out;
    for (size_t i = 0; i < p.value.size(); i++)
        out.push_back(p.value[i].str());
    return out;
}

std::vector<uint16> values(const Property<Array_uint16>& p)
{
    std::vector<uint16> out;
    for (size_t i = 0; i < p.value.size(); i++)
        out.push_back(p.value[i]);
    return out;
}

// What an enumeration of the provider gives, in order.
template <class Provider>
struct Listed : Collected<typename Provider::Class> {
    Listed()
    {
        Provider provider;
        provider.load();
        status = enumerate(provider, *this);
        provider.unload();
    }
    int status = -1;
};

template <class Provider>
size_t count()
{
    return Listed<Provider>().items.size();
}

// An element device of the shelves with the FRU text "F 1 ", as the host
// "node1" scopes it.
template <class Element>
void expectElement(const Element* e, const char* cls, const char* caption)
{
    SCOPED_TRACE(cls);
    EXPECT_EQ("KRNA_ControllerComputerSystem", e->SystemCreationClassName.value.str());
    EXPECT_EQ("node1", e->SystemName.value.str());
    EXPECT_EQ(cls, e->CreationClassName.value.str());
    EXPECT_EQ("F 1 ", e->DeviceID.value.str());
    EXPECT_EQ("F 1 ", e->Name.value.str());
    EXPECT_EQ(caption, e->Caption.value.str());
    EXPECT_EQ(caption, e->Description.value.str());
}

template <class Set>
void expectSet(const Set* set, const char* caption)
{
    EXPECT_EQ("F 1 ", set->InstanceID.value.str());
    EXPECT_EQ(caption, set->Caption.value.str());
    EXPECT_EQ(caption, set->Description.value.str());
}

class EnclosureTest : public providertest::ProviderTest {};

// Two SAF-TE enclosures of one model and FRU text on two controllers, and an
// SES-2 device on the first controller's first channel.
vesksim::Scenario twoShelvesAndAnExpander()
{
    vesksim::Controller first = controller(0, "", {{0, SAS, SPEED_SAS300}, {1, SCSI, SPEED_SCSI320}});
    first.sesDevices = {{0, 8, "VESKON", "  Z12 EXPANDER ", "EX12", "0.9", "SES-FRU"}};
    first.enclosures = {shelf(1, 15, "XY   ", "F 1 ", {0, 0}, {0, 0})};
    vesksim::Controller second = controller(1, "SER1", {{0, SCSI, SPEED_SCSI320}});
    second.enclosures = {shelf(0, 14, "XY", "F 1 ", {1}, {16})};
    second.enclosures[0].safteData = false;
    vesksim::Scenario s;
    s.controllers = {first, second};
    return s;
}

TEST_F(EnclosureTest, EveryEnclosureIsAComputerSystemSafteFirst)
{
    onlyQorl(twoShelvesAndAnExpander());
    Listed<KRNA_EnclosureComputerSystem_Provider> systems;
    EXPECT_EQ(0, systems.status);
    // The SES-2 device stands nearer the root, but its pass comes second.
    ASSERT_EQ(3u, systems.items.size());
    const std::vector<std::pair<std::string, std::string>> names = {
        {"XY", "2-0-3"}, {"XY", "SER1"}, {"Z12 EXPANDER", "2-0-3"}};
    for (size_t i = 0; i < names.size(); i++) {
        const KRNA_EnclosureComputerSystem* s = systems.items[i];
        SCOPED_TRACE(i);
        EXPECT_EQ("KRNA_EnclosureComputerSystem", s->CreationClassName.value.str());
        EXPECT_EQ(names[i].first, s->Name.value.str());
        EXPECT_EQ(names[i].second, s->ElementName.value.str());
        EXPECT_EQ("Corvane Enclosure", s->Caption.value.str());
        EXPECT_EQ("Corvane Enclosure", s->Description.value.str());
        // The same status whatever the SAF-TE data says, or without any.
        EXPECT_EQ(std::vector<uint16>{2}, values(s->OperationalStatus));
        EXPECT_EQ(std::vector<std::string>{"Ok"}, texts(s->StatusDescriptions));
        EXPECT_EQ("Other", s->NameFormat.value.str());
        EXPECT_EQ(std::vector<std::string>{"Other"}, texts(s->OtherIdentifyingInfo));
        EXPECT_EQ(std::vector<uint16>{3}, values(s->Dedicated));
        EXPECT_EQ(std::vector<std::string>{"Other"}, texts(s->OtherDedicatedDescriptions));
        EXPECT_FALSE(s->OtherEnabledState.is_null());
        EXPECT_EQ(Datetime(), s->InstallDate.value);
        EXPECT_EQ(Datetime(), s->TimeOfLastStateChange.value);
        EXPECT_EQ(0, s->ResetCapability.value);
    }

    // Both shelves have the Name XY: a get answers with the first.
    KRNA_EnclosureComputerSystem_Provider provider;
    provider.load();
    Ref<KRNA_EnclosureComputerSystem> model(KRNA_EnclosureComputerSystem::create(true));
    model->CreationClassName.set("KRNA_EnclosureComputerSystem");
    model->Name.set("XY");
    KRNA_EnclosureComputerSystem* got = nullptr;
    ASSERT_EQ(0, provider.get_instance(model.ptr(), got));
    Ref<KRNA_EnclosureComputerSystem> owned(got);
    EXPECT_EQ("2-0-3", got->ElementName.value.str());
    model->Name.set("Z12 EXPANDER");
    KRNA_EnclosureComputerSystem* expander = nullptr;
    ASSERT_EQ(0, provider.get_instance(model.ptr(), expander));
    Ref<KRNA_EnclosureComputerSystem> ownedExpander(expander);
    EXPECT_TRUE(identical(expander, systems.items[2]));
    model->Name.set("XY   ");
    EXPECT_EQ(60, provider.get_instance(model.ptr(), got));
    provider.unload();
}

TEST_F(EnclosureTest, ElementsAreNamedByTheRawFruTextAndScopedByTheHost)
{
    onlyQorl(twoShelvesAndAnExpander());
    // One of each per SAF-TE enclosure, none for the SES-2 device.
    Listed<KRNA_EnclosureFan_Provider> fans;
    Listed<KRNA_EnclosurePowerSupply_Provider> supplies;
    Listed<KRNA_EnclosureTempSensor_Provider> sensors;
    Listed<KRNA_EnclosureFanRedundancySet_Provider> fanSets;
    Listed<KRNA_EnclosurePowerSupplyRedundancySet_Provider> supplySets;
    ASSERT_EQ(2u, fans.items.size());
    ASSERT_EQ(2u, supplies.items.size());
    ASSERT_EQ(2u, sensors.items.size());
    ASSERT_EQ(2u, fanSets.items.size());
    ASSERT_EQ(2u, supplySets.items.size());

    const KRNA_EnclosureFan* fan = fans.items[0];
    expectElement(fan, "KRNA_EnclosureFan", "Enclosure Fan");
    EXPECT_FALSE(fan->ActiveCooling.value);
    EXPECT_EQ(0u, fan->DesiredSpeed.value);
    EXPECT_EQ(0, fan->EnabledState.value);
    const KRNA_EnclosurePowerSupply* supply = supplies.items[0];
    expectElement(supply, "KRNA_EnclosurePowerSupply", "Enclosure Power Supply");
    EXPECT_EQ("F 1 ", supply->ElementName.value.str());
    EXPECT_FALSE(supply->IsSwitchingSupply.value);
    EXPECT_EQ(0u, supply->TotalOutputPower.value);
    const KRNA_EnclosureTempSensor* sensor = sensors.items[0];
    expectElement(sensor, "KRNA_EnclosureTempSensor", "Enclosure Temperature Sensor");
    EXPECT_EQ(0, sensor->SensorType.value);
    EXPECT_EQ("", sensor->CurrentState.value.str());

    expectSet(fanSets.items[0], "Fan Redundancy Set");
    EXPECT_EQ(0, fanSets.items[0]->RedundancyStatus.value);
    expectSet(supplySets.items[0], "Power Supply Redundancy Set");

    // The two shelves share the FRU text and so the keys: a get answers
    // with the first (the one with SAF-TE data).
    KRNA_EnclosureFan_Provider provider;
    provider.load();
    Ref<KRNA_EnclosureFan> model(fans.items[1]->clone());
    KRNA_EnclosureFan* got = nullptr;
    ASSERT_EQ(0, provider.get_instance(model.ptr(), got));
    Ref<KRNA_EnclosureFan> owned(got);
    EXPECT_TRUE(identical(got, fans.items[0]));
    EXPECT_TRUE(logMessages("Enclosure(s)").empty());
    model->DeviceID.set("F 1");
    EXPECT_EQ(60, provider.get_instance(model.ptr(), got));
    EXPECT_EQ(std::vector<std::string>{"[info]  Found 2 Enclosure(s)"}, logMessages("Enclosure(s)"));
    provider.unload();
}

TEST_F(EnclosureTest, TheFirstStatusBytesDecide)
{
    struct Case {
        std::vector<uint8_t> fans, supplies;
        int fanCount, supplyCount;
        uint8_t flag1, flag2;
        bool safte;
        std::vector<uint16> fan;
        std::vector<std::string> fanTexts;
        std::vector<uint16> supply;
        std::vector<std::string> supplyTexts;
        uint16 sensor;
        const char* sensorText;
        const char* sensorStatus;
    } cases[] = {
        {{0}, {0}, -1, -1, 0, 0, true, {2}, {"Ok"}, {0}, {"OK"}, 2, "OK", "OK"},
        {{1}, {1}, -1, -1, 0, 4, true, {6}, {"Failure"}, {0}, {"OK"}, 6, "Failure", "Error"},
        {{2}, {16}, -1, -1, 1, 0, true, {0}, {"Unknown"}, {6}, {"Failure"}, 6, "Failure", "Error"},
        {{3}, {17}, -1, -1, 0x80, 0x80, true, {6}, {"Failure"}, {6}, {"Failure"}, 6, "Failure", "Error"},
        {{128}, {32}, -1, -1, 0, 0, true, {2}, {"Ok"}, {13}, {"OK"}, 2, "OK", "OK"},
        // Only the first byte counts.
        {{0, 1, 1}, {33, 16}, -1, -1, 0, 0, true, {2}, {"Ok"}, {13}, {"OK"}, 2, "OK", "OK"},
        {{0}, {128}, -1, -1, 0, 0, true, {2}, {"Ok"}, {0}, {"OK"}, 2, "OK", "OK"},
        // A configuration that counts none still reads the first byte.
        {{1}, {16}, 0, 0, 0, 0, true, {13, 6}, {"No Contact", "Failure"}, {13, 6}, {"OK", "Failure"}, 2, "OK", "OK"},
        {{0}, {0}, 0, 0, 0, 0, true, {13, 2}, {"No Contact", "Ok"}, {13, 0}, {"OK", "OK"}, 2, "OK", "OK"},
        // No SAF-TE data at all.
        {{1}, {16}, -1, -1, 1, 1, false, {0}, {"Unknown"}, {0}, {"Unknown"}, 0, "Unknown", "Unknown"},
    };
    vesksim::Controller c = controller(0, "SN", {{0, SCSI, SPEED_SCSI320}});
    uint16_t target = 0;
    for (const Case& k : cases) {
        vesksim::SafteEnclosure e = shelf(0, target, "SHELF", "C" + std::to_string(target), k.fans, k.supplies);
        e.fanCount = k.fanCount;
        e.powerSupplyCount = k.supplyCount;
        e.tempOutOfRange1 = k.flag1;
        e.tempOutOfRange2 = k.flag2;
        e.tempSensors = target % 2 ? 0 : 2; // the sensor count is not consulted
        e.safteData = k.safte;
        c.enclosures.push_back(e);
        target++;
    }
    vesksim::Scenario s;
    s.controllers = {c};
    onlyQorl(s);
    Listed<KRNA_EnclosureFan_Provider> fans;
    Listed<KRNA_EnclosurePowerSupply_Provider> supplies;
    Listed<KRNA_EnclosureTempSensor_Provider> sensors;
    const size_t n = sizeof cases / sizeof cases[0];
    ASSERT_EQ(n, fans.items.size());
    ASSERT_EQ(n, supplies.items.size());
    ASSERT_EQ(n, sensors.items.size());
    for (size_t i = 0; i < n; i++) {
        SCOPED_TRACE("C" + std::to_string(i));
        const Case& k = cases[i];
        EXPECT_EQ("C" + std::to_string(i), fans.items[i]->DeviceID.value.str());
        EXPECT_EQ(k.fan, values(fans.items[i]->OperationalStatus));
        EXPECT_EQ(k.fanTexts, texts(fans.items[i]->StatusDescriptions));
        EXPECT_EQ(k.supply, values(supplies.items[i]->OperationalStatus));
        EXPECT_EQ(k.supplyTexts, texts(supplies.items[i]->StatusDescriptions));
        EXPECT_EQ(std::vector<uint16>{k.sensor}, values(sensors.items[i]->OperationalStatus));
        EXPECT_EQ(std::vector<std::string>{k.sensorText}, texts(sensors.items[i]->StatusDescriptions));
        EXPECT_EQ(k.sensorStatus, sensors.items[i]->Status.value.str());
        EXPECT_EQ("", fans.items[i]->Status.value.str());
    }
}

// One association per SAF-TE enclosure of the default scenarios (the first
// three instances of either end), in walk order, whose ends in the two roles
// are the enclosure's instances of the end classes, built in full.
template <class Assoc, class LeftRole, class RightRole, class Left, class Right>
void expectLinks(const std::vector<Assoc*>& links, LeftRole leftRole, const std::vector<Left*>& lefts,
                 RightRole rightRole, const std::vector<Right*>& rights)
{
    SCOPED_TRACE(Assoc::static_meta_class.name);
    ASSERT_EQ(3u, links.size());
    ASSERT_LE(links.size(), lefts.size());
    ASSERT_LE(links.size(), rights.size());
    for (size_t i = 0; i < links.size(); i++) {
        EXPECT_TRUE(identical(links[i]->*leftRole, lefts[i])) << i;
        EXPECT_TRUE(identical(links[i]->*rightRole, rights[i])) << i;
    }
}

TEST_F(EnclosureTest, OneAssociationOfEachPerEnclosureWithEndsBuiltInFull)
{
    // The default scenarios: three SAF-TE enclosures (two Qorl, one Tarnell)
    // and an SES-2 device.
    Listed<KRNA_EnclosureComputerSystem_Provider> systems;
    Listed<KRNA_EnclosureFan_Provider> fans;
    Listed<KRNA_EnclosurePowerSupply_Provider> supplies;
    Listed<KRNA_EnclosureTempSensor_Provider> sensors;
    Listed<KRNA_EnclosureFanRedundancySet_Provider> fanSets;
    ASSERT_EQ(4u, systems.items.size());
    EXPECT_EQ("SAFTE SHELF 14", systems.items[0]->Name.value.str());
    EXPECT_EQ("JBOD SHELF", systems.items[1]->Name.value.str());
    EXPECT_EQ("SAFTE-14", systems.items[2]->Name.value.str());
    EXPECT_EQ("Z12SAS EXPANDER", systems.items[3]->Name.value.str());
    ASSERT_EQ(3u, fans.items.size());
    // The Tarnell shelf has no FRU text: its elements are named by the empty text.
    EXPECT_EQ((std::vector<std::string>{"ENC-FRU-0815", "ENC-FRU-0900", ""}), providertest::deviceIDs(fans.items));
    EXPECT_EQ((std::vector<uint16>{2}), values(fans.items[2]->OperationalStatus));
    EXPECT_EQ((std::vector<uint16>{0}), values(supplies.items[2]->OperationalStatus));

    Listed<KRNA_EnclosureFanSystemDevice_Provider> fanDevices;
    Listed<KRNA_EnclosureFanConcreteDependency_Provider> fanDependencies;
    Listed<KRNA_EnclosureFanMemberOfCollection_Provider> fanMembers;
    Listed<KRNA_EnclosurePowerSupplyAssociatedFan_Provider> cooling;
    Listed<KRNA_EnclosurePowerSupplySystemDevice_Provider> supplyDevices;
    Listed<KRNA_EnclosureTempSensorSystemDevice_Provider> sensorDevices;
    expectLinks(fanDevices.items, &KRNA_EnclosureFanSystemDevice::GroupComponent, systems.items,
                &KRNA_EnclosureFanSystemDevice::PartComponent, fans.items);
    expectLinks(fanDependencies.items, &KRNA_EnclosureFanConcreteDependency::Antecedent, systems.items,
                &KRNA_EnclosureFanConcreteDependency::Dependent, fans.items);
    expectLinks(fanMembers.items, &KRNA_EnclosureFanMemberOfCollection::Collection, fanSets.items,
                &KRNA_EnclosureFanMemberOfCollection::Member, fans.items);
    // The supply's cooling is the enclosure's one fan.
    expectLinks(cooling.items, &KRNA_EnclosurePowerSupplyAssociatedFan::Antecedent, fans.items,
                &KRNA_EnclosurePowerSupplyAssociatedFan::Dependent, supplies.items);
    expectLinks(supplyDevices.items, &KRNA_EnclosurePowerSupplySystemDevice::GroupComponent, systems.items,
                &KRNA_EnclosurePowerSupplySystemDevice::PartComponent, supplies.items);
    expectLinks(sensorDevices.items, &KRNA_EnclosureTempSensorSystemDevice::GroupComponent, systems.items,
                &KRNA_EnclosureTempSensorSystemDevice::PartComponent, sensors.items);

    // A get pairs an enclosure's own ends only.
    KRNA_EnclosureFanSystemDevice_Provider provider;
    provider.load();
    Ref<KRNA_EnclosureFanSystemDevice> model(fanDevices.items[1]->clone());
    KRNA_EnclosureFanSystemDevice* got = nullptr;
    ASSERT_EQ(0, provider.get_instance(model.ptr(), got));
    Ref<KRNA_EnclosureFanSystemDevice> owned(got);
    EXPECT_TRUE(identical(got, fanDevices.items[1]));
    destroy(model->PartComponent);
    model->PartComponent = fans.items[0]->clone();
    KRNA_EnclosureFanSystemDevice* untouched = fanDevices.items[0];
    EXPECT_EQ(60, provider.get_instance(model.ptr(), untouched));
    EXPECT_EQ(fanDevices.items[0], untouched);
    provider.unload();
}

TEST_F(EnclosureTest, EnclosuresOfOneModelAndFruTextGiveOneAssociationOfEach)
{
    onlyQorl(twoShelvesAndAnExpander());
    EXPECT_EQ(1u, count<KRNA_EnclosureFanSystemDevice_Provider>());
    EXPECT_EQ(1u, count<KRNA_EnclosureFanConcreteDependency_Provider>());
    EXPECT_EQ(1u, count<KRNA_EnclosureFanMemberOfCollection_Provider>());
    EXPECT_EQ(1u, count<KRNA_EnclosurePowerSupplyAssociatedFan_Provider>());
    EXPECT_EQ(1u, count<KRNA_EnclosurePowerSupplySystemDevice_Provider>());
    EXPECT_EQ(1u, count<KRNA_EnclosureTempSensorSystemDevice_Provider>());
    // The map kept the first: the fan of the shelf with SAF-TE data.
    Listed<KRNA_EnclosureFanSystemDevice_Provider> devices;
    EXPECT_EQ((std::vector<uint16>{2}),
              values(static_cast<KRNA_EnclosureFan*>(devices.items[0]->PartComponent)->OperationalStatus));
}

TEST_F(EnclosureTest, TheSupplyMembershipIsNeverServed)
{
    KRNA_EnclosurePowerSupplyMemberOfCollection_Provider provider;
    provider.load();
    Collected<KRNA_EnclosurePowerSupplyMemberOfCollection> none;
    EXPECT_EQ(0, enumerate(provider, none));
    EXPECT_TRUE(none.items.empty());
    // Its map would link each enclosure's supply set and supply.
    Instance_Map<KRNA_EnclosurePowerSupplyMemberOfCollection> map;
    {
        Auto_Mutex global(KRNAProvider::globalLock);
        KRNA_EnclosurePowerSupplyMemberOfCollection_Provider::krnaBuildMap(map);
    }
    ASSERT_EQ(3u, map.size());
    EXPECT_EQ("ENC-FRU-0815",
              static_cast<KRNA_EnclosurePowerSupplyRedundancySet*>(map[0]->Collection)->InstanceID.value.str());
    EXPECT_EQ("ENC-FRU-0815", static_cast<KRNA_EnclosurePowerSupply*>(map[0]->Member)->DeviceID.value.str());
    Ref<KRNA_EnclosurePowerSupplyMemberOfCollection> model(map[0]->clone());
    KRNA_EnclosurePowerSupplyMemberOfCollection* untouched = nullptr;
    EXPECT_EQ(61, provider.get_instance(model.ptr(), untouched));
    EXPECT_EQ(nullptr, untouched);
    provider.unload();
}

TEST_F(EnclosureTest, WithoutSafteEnclosuresOnlyTheSesDevicesAreSystems)
{
    vesksim::Controller c = controller(0, "SN", {{0, SAS, SPEED_SAS300}});
    c.sesDevices = {{0, 8, "VESKON", "EXPANDER", "EX12", "0.9", "SES-FRU"}};
    vesksim::Scenario s;
    s.controllers = {c};
    onlyQorl(s);
    EXPECT_EQ(1u, count<KRNA_EnclosureComputerSystem_Provider>());
    EXPECT_EQ(0u, count<KRNA_EnclosureFan_Provider>());
    EXPECT_EQ(0u, count<KRNA_EnclosureFanRedundancySet_Provider>());
    EXPECT_EQ(0u, count<KRNA_EnclosurePowerSupply_Provider>());
    EXPECT_EQ(0u, count<KRNA_EnclosurePowerSupplyRedundancySet_Provider>());
    EXPECT_EQ(0u, count<KRNA_EnclosureTempSensor_Provider>());
    EXPECT_EQ(0u, count<KRNA_EnclosureFanSystemDevice_Provider>());
    EXPECT_EQ(0u, count<KRNA_EnclosurePowerSupplyAssociatedFan_Provider>());
    EXPECT_EQ(0u, count<KRNA_EnclosureTempSensorSystemDevice_Provider>());
}

TEST_F(EnclosureTest, TheSensorSystemDeviceUnloadsWithoutATraceAndTheSupplySystemDeviceCounts)
{
    KRNA_EnclosureTempSensorSystemDevice_Provider sensorDevices;
    KRNA_EnclosurePowerSupplySystemDevice_Provider supplyDevices;
    EXPECT_EQ(0, sensorDevices.load());
    EXPECT_EQ(0, supplyDevices.load());
    EXPECT_EQ(2, KRNAProvider::providerCount);
    EXPECT_EQ(0, sensorDevices.unload());
    EXPECT_EQ(1, KRNAProvider::providerCount);
    // The supply's system devices, the only provider left, still find the builders.
    Collected<KRNA_EnclosurePowerSupplySystemDevice> devices;
    EXPECT_EQ(0, enumerate(supplyDevices, devices));
    EXPECT_EQ(3u, devices.items.size());
    EXPECT_EQ(0, supplyDevices.unload());
    EXPECT_EQ(0, KRNAProvider::providerCount);
    EXPECT_EQ(nullptr, KRNAProvider::tarnellConfigBuilder);
    EXPECT_EQ(1u, logMessages("ENTERING KRNA_EnclosureTempSensorSystemDevice_Provider::load()").size());
    EXPECT_TRUE(logMessages("KRNA_EnclosureTempSensorSystemDevice_Provider::unload()").empty());
    EXPECT_EQ(2u, logMessages("KRNA_EnclosurePowerSupplySystemDevice_Provider::unload()").size());
}

} // namespace
