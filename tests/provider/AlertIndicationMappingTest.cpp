// constructIndication: the class and severity an event id and severity
// give, the path of the alerting element by object type, the no-controllers
// indication, identifiers and event times.

#include <set>

#include "KRNA_RaidMonitorAlertIndication_Provider.h"
#include "ProviderTestSupport.h"

namespace {

using namespace providertest;
using corvanecimple::KRNA_RaidMonitorAlertIndication_Provider;
using cimple::KRNA_RaidMonitorAlertIndication;

int hostH1(char* name, size_t size)
{
    snprintf(name, size, "%s", "h1");
    return 0;
}

NRMEvent event(int id, int severity, int objectType = 0)
{
    NRMEvent e;
    e.eventId = id;
    e.severity = severity;
    e.objectType = objectType;
    e.text = "event text";
    return e;
}

class AlertMappingTest : public ProviderTest {
protected:
    void SetUp() override
    {
        ProviderTest::SetUp();
        corvanecimple::KRNAProvUtil::setHostNameLookup(&hostH1);
        KRNA_RaidMonitorAlertIndication_Provider::eventID = 1;
    }
    void TearDown() override
    {
        for (KRNA_RaidMonitorAlertIndication* i : made)
            cimple::destroy(i);
        ProviderTest::TearDown();
    }
    KRNA_RaidMonitorAlertIndication* build(NRMEvent e)
    {
        KRNA_RaidMonitorAlertIndication* i = KRNA_RaidMonitorAlertIndication_Provider::constructIndication(e);
        if (i)
            made.push_back(i);
        return i;
    }
    std::vector<KRNA_RaidMonitorAlertIndication*> made;
};

TEST_F(AlertMappingTest, EventIdAndSeverityGiveClassAndPerceivedSeverity)
{
    struct Case {
        int id, severity;
        const char* className;
        int perceived;
        const char* other;
    };
    const Case cases[] = {
        {344, 2, "KRNA_InitFail", 3, ""},
        {351, 2, "KRNA_InitFail", 3, ""},
        {353, 2, "KRNA_InitFail", 3, ""},
        {399, 2, "KRNA_LogicalDriveStatusChange", 6, ""},
        {399, 3, "KRNA_LogicalDriveStatusChange", 2, ""},
        {399, 1, "KRNA_LogicalDriveStatusChange", 7, ""},
        {304, 4, "KRNA_RebuildDetected", 4, ""},
        {305, 1, "KRNA_RebuildComplete", 2, ""},
        {385, 1, "KRNA_RebuildStopped", 2, ""},
        {355, 3, "KRNA_RebuildFail", 3, ""},
        {496, 4, "KRNA_DriveSecureEraseStopped", 2, ""},
        {202, 4, "KRNA_ControllerFail", 1, "Progress Event"},
        {202, 7, "KRNA_ControllerFail", 1, "Firmware Specific Event"},
        {202, 1, "KRNA_ControllerFail", 7, ""},
        {202, 5, "KRNA_ControllerFail", 0, ""},
        {512, 2, "KRNA_EnclosurePowerSupplyRemoved", 3, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.id) + "/" + std::to_string(c.severity));
        KRNA_RaidMonitorAlertIndication* i = build(event(c.id, c.severity));
        ASSERT_NE(i, nullptr);
        EXPECT_STREQ(i->meta_class->name, c.className);
        EXPECT_EQ(i->PerceivedSeverity.value, c.perceived);
        EXPECT_EQ(i->OtherSeverity.value.str(), c.other);
        EXPECT_EQ(i->AlertType.value, 5);
        EXPECT_EQ(i->AlertingElementFormat.value, 2);
        EXPECT_EQ(i->Description.value.str(), "event text");
        EXPECT_EQ(i->ProviderName.value.str(), "KRNA_RaidMonitorAlertIndication_Provider");
        EXPECT_EQ(i->SystemName.value.str(), "h1");
        EXPECT_EQ(i->SystemCreationClassName.value.str(), "KRNA_ControllerComputerSystem");
    }
}

TEST_F(AlertMappingTest, IdsOutsideTheTableGiveNothingAndUseNoNumber)
{
    for (int id : {300, 600, 0, 200, 348, 513}) {
        NRMEvent e = event(id, 2);
        EXPECT_EQ(KRNA_RaidMonitorAlertIndication_Provider::constructIndication(e), nullptr) << id;
    }
    EXPECT_EQ(KRNA_RaidMonitorAlertIndication_Provider::eventID, 1);
    EXPECT_EQ(build(event(301, 2))->IndicationIdentifier.value.str().substr(0, 2), "1-");
}

TEST_F(AlertMappingTest, OneHundredTwentyTwoIdsSelectOneHundredTwelveClasses)
{
    int ids = 0;
    std::set<std::string> classes;
    for (int id = 0; id <= 1000; ++id) {
        if (KRNA_RaidMonitorAlertIndication* i = build(event(id, 3))) {
            ++ids;
            classes.insert(i->meta_class->name);
            EXPECT_EQ(i->meta_class->super_meta_class, &KRNA_RaidMonitorAlertIndication::static_meta_class);
        }
    }
    EXPECT_EQ(ids, 122);
    EXPECT_EQ(classes.size(), 112u);
}

TEST_F(AlertMappingTest, AlertingElementIsThePathOfTheObjectTypesElement)
{
    struct Case {
        int objectType;
        const char* path;
    };
    const Case cases[] = {
        {2, "KRNA_ControllerComputerSystem.Name=\"ABC\",CreationClassName=\"KRNA_ControllerComputerSystem\""},
        {4, "KRNA_StorageVolume.SystemCreationClassName=\"KRNA_ControllerComputerSystem\",SystemName=\"h1\","
            "CreationClassName=\"KRNA_StorageVolume\",DeviceID=\"h1:ABC:2\""},
        {5, "KRNA_DiskDrive.SystemCreationClassName=\"KRNA_ControllerComputerSystem\",SystemName=\"h1\","
            "CreationClassName=\"KRNA_DiskDrive\",DeviceID=\"DSK 9:7\""},
        {6, "KRNA_EnclosureComputerSystem.Name=\"SHELF\",CreationClassName=\"KRNA_EnclosureComputerSystem\""},
        {7, "KRNA_EnclosureFan.SystemCreationClassName=\"KRNA_ControllerComputerSystem\",SystemName=\"h1\","
            "CreationClassName=\"KRNA_EnclosureFan\",DeviceID=\" FRU-1 \""},
        {8, "KRNA_EnclosurePowerSupply.SystemCreationClassName=\"KRNA_ControllerComputerSystem\",SystemName=\"h1\","
            "CreationClassName=\"KRNA_EnclosurePowerSupply\",DeviceID=\" FRU-1 \""},
        {3, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.objectType);
        NRMEvent e = event(301, 2, c.objectType);
        e.adapterSerial = " ABC ";
        e.deviceSerial = "  DSK 9 ";
        e.enclosureModel = " SHELF";
        e.fruNumber = " FRU-1 ";
        e.address.setLogicalDriveID(2);
        e.address.setDeviceID(7);
        KRNA_RaidMonitorAlertIndication* i = build(e);
        ASSERT_NE(i, nullptr);
        EXPECT_EQ(i->AlertingManagedElement.value.str(), std::string("//h1/root/krna:") + c.path);
    }
}

TEST_F(AlertMappingTest, NoControllersIndicationNamesNoElement)
{
    NRMEvent e = event(201, 3);
    e.text = "No controllers were found in this system.";
    KRNA_RaidMonitorAlertIndication* i = build(e);
    ASSERT_NE(i, nullptr);
    EXPECT_STREQ(i->meta_class->name, "KRNA_NoControllers");
    EXPECT_EQ(i->Description.value.str(), "No controllers found in the system.");
    EXPECT_EQ(i->AlertingManagedElement.value.str(), "");
    EXPECT_EQ(i->AlertingElementFormat.value, 0);
    EXPECT_EQ(i->OtherAlertingElementFormat.value.str(), "string");
    EXPECT_EQ(i->PerceivedSeverity.value, 2);
    EXPECT_EQ(i->EventID.value.str(), i->IndicationIdentifier.value.str());
}

TEST_F(AlertMappingTest, IdentifiersCountUpWithTheReadableTimeAndEventTimeHoldsPast2038)
{
    NRMEvent late = event(207, 3, 2);
    late.eventTime = static_cast<time_t>(4102444800ll); // 2100-01-01 00:00:00 UTC
    KRNA_RaidMonitorAlertIndication* first = build(late);
    KRNA_RaidMonitorAlertIndication* second = build(event(201, 3));
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->IndicationIdentifier.value.str(), "1-2024/05/06 09:00:00.000000+000");
    EXPECT_EQ(second->IndicationIdentifier.value.str(), "2-2024/05/06 09:00:00.000000+000");
    EXPECT_EQ(first->EventID.value.str(), first->IndicationIdentifier.value.str());
    EXPECT_EQ(first->IndicationTime.value.usec(), fakeClock());
    EXPECT_EQ(first->EventTime.value.usec(), 4102444800ull * 1000000ull);
    EXPECT_EQ(KRNA_RaidMonitorAlertIndication_Provider::eventID, 3);
}

} // namespace
