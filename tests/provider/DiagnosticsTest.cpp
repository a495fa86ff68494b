// The diagnostics: the test engine over the Vesk stand-in, the service's
// runs and their reports, the stored jobs, records and associations with
// their expiry, the fixed instances and the static associations.
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "KRNADiagProviders.h"
#include "ProviderTestSupport.h"
#include "VeskLib.h"

using namespace corvanecimple;
using providertest::Collected;
using providertest::enumerate;
using providertest::splitLines;

namespace {

vesksim::Drive drive(uint8_t channel, uint16_t target, EnumPhysicalDeviceState state, const std::string& serial,
                     bool pfa = false)
{
    vesksim::Drive d;
    d.channel = channel;
    d.target = target;
    d.state = state;
    d.blocks = 1000;
    d.vendor = "VEND";
    d.model = "MODEL-" + serial;
    d.serial = serial;
    d.pfa = pfa;
    return d;
}

// A controller with one SCSI and one SAS channel and the drives given.
vesksim::Controller controller(uint32_t number, const std::string& serial, std::vector<vesksim::Drive> drives)
{
    vesksim::Controller c;
    c.number = number;
    c.pciBus = static_cast<uint8_t>(4 + number);
    c.slot = 3 + static_cast<int>(number);
    c.name = "VESK TEST";
    c.serial = serial;
    c.biosVersion = "B1.2";
    c.driverVersion = "D3.4";
    vesksim::Channel scsi;
    scsi.number = 0;
    scsi.type = SCSI;
    vesksim::Channel sas;
    sas.number = 1;
    sas.type = SAS;
    c.channels = {scsi, sas};
    c.drives = std::move(drives);
    return c;
}

void useControllers(std::vector<vesksim::Controller> controllers)
{
    vesksim::Scenario s;
    s.controllers = std::move(controllers);
    vesksim::reset(s);
}

cimple::KRNA_Device* device(const std::string& id)
{
    cimple::KRNA_Device* d = cimple::KRNA_Device::create(false);
    d->DeviceID.set(id);
    d->CreationClassName.set("KRNA_Device");
    d->SystemCreationClassName.set("PG_ComputerSystem");
    d->SystemName.set("localhost");
    return d;
}

cimple::KRNA_DiagService* service(const std::string& name)
{
    cimple::KRNA_DiagService* s = cimple::KRNA_DiagService::create(false);
    s->Name.set(name);
    s->CreationClassName.set("KRNA_DiagService");
    s->SystemCreationClassName.set("PG_ComputerSystem");
    s->SystemName.set("localhost");
    return s;
}

class DiagnosticsTest : public providertest::ProviderTest {
protected:
    void SetUp() override
    {
        ProviderTest::SetUp();
        resetDiagnostics();
    }
    void TearDown() override
    {
        resetDiagnostics();
        ProviderTest::TearDown();
    }

    // The engine's library and the maps of the runs belong to the process:
    // every test starts without them.
    static void resetDiagnostics()
    {
        delete KRNATests::storlib;
        KRNATests::storlib = KRNATests::qorllib = nullptr;
        KRNATests::system = nullptr;
        KRNATests::controllerCount = KRNATests::storlibCount = 0;
        KRNA_DiagConcreteJob_Provider::_map.clear();
        KRNA_DiagSettingRecord_Provider::_map.clear();
        KRNA_DiagServiceRecord_Provider::_map.clear();
        KRNA_OwningJobElement_Provider::_map.clear();
        KRNA_AffectedJobElement_Provider::_map.clear();
        KRNA_LogManagesRecord_Provider::_map.clear();
        KRNA_DiagConcreteJob_Provider::count = 0;
    }

    // Runs the test on the controller: the status, with the return value.
    int run(const std::string& test, const std::string& deviceID, cimple::uint32* returnValue = nullptr)
    {
        KRNA_DiagService_Provider provider;
        cimple::Ref<cimple::KRNA_DiagService> self(service(test));
        cimple::Ref<cimple::KRNA_Device> element(device(deviceID));
        cimple::CIM_ConcreteJob* job = nullptr;
        cimple::Property<cimple::uint32> rv;
        const int status = provider.RunKRNADiagnostic(self.ptr(), element.ptr(), nullptr, nullptr, job, rv);
        EXPECT_EQ(nullptr, job);
        if (returnValue)
            *returnValue = rv.value;
        return status;
    }

    // The report of the latest run.
    static std::string lastReport()
    {
        const auto& map = KRNA_DiagServiceRecord_Provider::_map;
        return map.size() ? map[map.size() - 1]->RecordData.value.str() : "(no record)";
    }

    template <class Provider>
    static size_t count()
    {
        Provider provider;
        Collected<typename Provider::Class> out;
        EXPECT_EQ(0, enumerate(provider, out));
        return out.items.size();
    }

    static std::vector<size_t> storedCounts()
    {
        return {count<KRNA_DiagConcreteJob_Provider>(), count<KRNA_DiagSettingRecord_Provider>(),
                count<KRNA_DiagServiceRecord_Provider>(), count<KRNA_OwningJobElement_Provider>(),
                count<KRNA_AffectedJobElement_Provider>(), count<KRNA_LogManagesRecord_Provider>()};
    }
};

const std::string FENTA_TYPE = std::to_string(FENTA);

// ---- the engine --------------------------------------------------------------------------------

TEST_F(DiagnosticsTest, DefaultSelfTestSendsSendDiagnosticThroughTheDrive)
{
    useControllers({controller(0, "S0", {drive(1, 5, DRIVE_ONLINE, "D5")})});
    KRNATests tests;
    HardDrive* d = KRNATests::GetHardDriveFromDeviceId(5);
    ASSERT_NE(nullptr, d);
    vesksim::setDriveDiagnosticResult("scsiPassThruCommand", 1, 5, 7);
    EXPECT_EQ(7, KRNATests::BriskStartDriveSelfTest(d, DISK_DIAG_DEFAULT_SELF_TEST).getReturn());
    // Another kind goes to the library, addressed by adapter, channel, device.
    EXPECT_EQ(0, KRNATests::BriskStartDriveSelfTest(d, EnumDiskDiagType(1)).getReturn());
    EXPECT_EQ(-2, KRNATests::BriskStartDriveSelfTest(nullptr, DISK_DIAG_DEFAULT_SELF_TEST).getReturn());

    const std::vector<vesksim::DiagnosticCall> calls = vesksim::diagnosticCalls();
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ("scsiPassThruCommand", calls[0].operation);
    EXPECT_EQ(std::vector<uint8_t>({0x1D, 0x04, 0x00, 0x00, 0x00, 0x00}), calls[0].cdb);
    EXPECT_EQ(4, calls[0].kind); // READWITHSENSE
    EXPECT_EQ(255u, calls[0].readSize);
    EXPECT_EQ(255u, calls[0].senseSize);
    EXPECT_EQ(0u, calls[0].writeSize);
    EXPECT_EQ("startDiskDiagnostic", calls[1].operation);
    EXPECT_EQ(1, calls[1].kind);
    EXPECT_EQ(0u, calls[1].controller);
    EXPECT_EQ(1u, calls[1].channel);
    EXPECT_EQ(5u, calls[1].device);
}

TEST_F(DiagnosticsTest, LookupsTakeTheFirstAdapterAndProgressIsInWholePercent)
{
    useControllers({controller(0, "S0", {drive(0, 2, DRIVE_DEAD, "first")}),
                    controller(1, "S1", {drive(0, 2, DRIVE_ONLINE, "second")})});
    KRNATests tests;
    ASSERT_EQ(2, KRNATests::controllerCount);
    EXPECT_STREQ("first", KRNATests::GetHardDriveFromDeviceId(2)->getSerialNumber());
    EXPECT_EQ(DRIVE_DEAD, KRNATests::BriskDiskStatus(2));
    EXPECT_EQ(DRIVE_EMPTY, KRNATests::BriskDiskStatus(9));
    EXPECT_EQ(CONTROLLER_STATUS_UNKNOWN, KRNATests::BriskAdapterStatusInfo(7));
    EXPECT_EQ(-2, KRNATests::BriskStartControllerDiagnostic(7, ADAPTER_DIAG_DEFAULT).getReturn());

    VeskHardDrive* d = dynamic_cast<VeskHardDrive*>(KRNATests::GetHardDriveFromDeviceId(2));
    ASSERT_NE(nullptr, d);
    vesksim::setDiskDiagnosticState(EnumDiskDiagStatus(2), 999);
    int percent = -1;
    EXPECT_EQ(EnumDiskDiagStatus(2), KRNATests::BriskGetDriveSelfTestProgress(d, &percent));
    EXPECT_EQ(99, percent);
    EXPECT_EQ(EnumDiskDiagStatus(2), KRNATests::BriskGetDriveSelfTestProgress(d, nullptr));
    EXPECT_EQ(EnumDiskDiagStatus(2), KRNATests::BriskGetDriveSelfTestResults(d));
    // A failing library reports status 0, not what the record held before.
    vesksim::setDiagnosticResult("getDiskDiagnosticResults", -1);
    EXPECT_EQ(EnumDiskDiagStatus(0), KRNATests::BriskGetDriveSelfTestResults(d));

    // A controller added later is not seen: the library is kept.
    useControllers({controller(0, "S0", {}), controller(1, "S1", {}), controller(2, "S2", {})});
    KRNATests again;
    EXPECT_EQ(2u, KRNATests::getAdapters().size());
    EXPECT_EQ(nullptr, KRNATests::GetAdapterFromId(2));
}

TEST_F(DiagnosticsTest, EventDocumentsAreJudgedElementByElement)
{
    struct Case {
        const char* document;
        bool found;
    } cases[] = {
        {"<events><event eventCode=\"0x10000000\" subTypeCode=\"3\" smartEventCode=\"1\"/></events>", true},
        {"<events><event eventCode=\"268435456\" subTypeCode=\"0x3\" taskFunctionCode=\"0x1\"/></events>", true},
        {"<events><event eventCode=\"0x20\" subTypeCode=\"1\" groupCode=\"2\"/>"
         "<event eventCode=\"0x10000000\" subTypeCode=\"3\" batteryEventCode=\"1\"/></events>",
         true},
        // The second element lacks the sub-code: it does not inherit the first's.
        {"<events><event eventCode=\"0x5\" subTypeCode=\"3\" smartEventCode=\"1\"/>"
         "<event eventCode=\"0x10000000\" subTypeCode=\"3\"/></events>",
         false},
        {"<events><event eventCode=\"0x10000000\" subTypeCode=\"3\" otherCode=\"1\"/></events>", false},
        {"<events><event eventCode=\"0x10000000\" subTypeCode=\"2\" smartEventCode=\"1\"/></events>", false},
        {"<events><event/><event eventCode=\"0x10000000\" subTypeCode=\"3\" smartEventCode=\"1\"/></events>",
         true},
        {"<events><event eventCode=0x10000000/></events>", false},
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.found, KRNATests::eventDocumentShowsCompletion(c.document, strlen(c.document))) << c.document;
}

TEST_F(DiagnosticsTest, EventVerificationReadsUpToOneHundredTimes)
{
    useControllers({controller(0, "S0", {})});
    KRNATests tests;
    const std::string other = "<events><event eventCode=\"0x20\" subTypeCode=\"3\" smartEventCode=\"1\"/></events>";
    const std::string done = "<events><event eventCode=\"0x10000000\" subTypeCode=\"3\" smartEventCode=\"1\"/></events>";

    vesksim::setEventDocuments({other, other, done});
    EXPECT_EQ(1, KRNATests::BriskVerifyEvents(0));
    EXPECT_EQ(3u, vesksim::eventReads());

    vesksim::reset(vesksim::current());
    vesksim::setEventDocuments({other});
    EXPECT_EQ(0, KRNATests::BriskVerifyEvents(0));
    EXPECT_EQ(100u, vesksim::eventReads());

    vesksim::reset(vesksim::current());
    vesksim::setEventDocuments({});
    EXPECT_EQ(0, KRNATests::BriskVerifyEvents(0));
    EXPECT_EQ(0, KRNATests::BriskVerifyEvents(5));
}

TEST_F(DiagnosticsTest, TwoThreadsCreateOneLibrary)
{
    useControllers({controller(0, "S0", {})});
    std::thread a([] { KRNATests t; });
    std::thread b([] { KRNATests t; });
    a.join();
    b.join();
    EXPECT_EQ(1, KRNATests::storlibCount);
    EXPECT_EQ(1u, vesksim::configurationReads());
}

TEST_F(DiagnosticsTest, AFailedCreationIsTriedAgain)
{
    vesksim::failNextAllocation();
    { KRNATests t; }
    EXPECT_EQ(0, KRNATests::storlibCount);
    EXPECT_TRUE(KRNATests::getAdapters().empty());
    { KRNATests t; }
    EXPECT_EQ(1, KRNATests::storlibCount);
}

// ---- the service's runs ------------------------------------------------------------------------

TEST_F(DiagnosticsTest, AdapterInfoReportsDrivesWithAPredictiveFailureOrNotReady)
{
    useControllers({controller(0, "S0", {drive(0, 0, DRIVE_ONLINE, "OK0"), drive(1, 1, DRIVE_DEAD, "BAD1", true)})});
    cimple::uint32 rv = 9;
    ASSERT_EQ(0, run("TestAdapterInfo", "S0", &rv));
    EXPECT_EQ(0u, rv);
    EXPECT_EQ("Device Location : PCI slot 3 \n"
              "Controller Type : " + FENTA_TYPE + " \n"
              "Physical Drive Count:   2 \n"
              "Adapter Status : Operating correctly \n"
              "SCSI Channel Count : 1 \n"
              "SATA Channel Count : 0 \n"
              "IDE Channel Count : 0 \n"
              "FIBRE Channel Count : 0 \n"
              "SAS Channel Count : 1 \n"
              "BIOS Version : B1.2 \n"
              "Driver Version : D3.4 \n"
              "PFA Error Detected for Hard Drive: ** -Vendor : VEND \n"
              "-Model Number : MODEL-BAD1 \n"
              "-Serial Number : BAD1 \n"
              "Following Hard Drive is not Ready or Online: ** -Vendor : VEND  \n"
              "-Model Number : MODEL-BAD1 \n"
              "-Serial Number : BAD1 \n",
              lastReport());
}

TEST_F(DiagnosticsTest, SelfDriveTestCountsFailuresAndAdaptersWithoutDrives)
{
    auto stopped = controller(1, "S1", {});
    stopped.status = CONTROLLER_STATUS_FAILED;
    useControllers({controller(0, "S0", {drive(0, 0, DRIVE_ONLINE, "A"), drive(0, 1, DRIVE_ONLINE, "B")}), stopped});
    vesksim::setDriveDiagnosticResult("scsiPassThruCommand", 0, 1, 3);
    ASSERT_EQ(0, run("SelfDriveTest", "S0"));
    const std::vector<std::string> report = splitLines(lastReport());
    ASSERT_EQ(11u, report.size());
    EXPECT_EQ("Total Number of Hard Drives : 2 ", report[0]);
    EXPECT_EQ("-Drive Self Test Result for Disk 0 : SuccessFul ", report[4]);
    EXPECT_EQ("-Serial Number : B ", report[7]);
    EXPECT_EQ("-Drive Self Test Result for Disk 1 : Failed ", report[8]);
    EXPECT_EQ("Test Successful for 1 Hard Drive(s) ", report[9]);
    EXPECT_EQ("Test Failed for 1 Hard Drive(s) ", report[10]);

    ASSERT_EQ(0, run("SelfDriveTest", "S1"));
    EXPECT_EQ("Controller Not Functional \n"
              "Total Number of Hard Drives : 0 \n"
              "Test Successful for 0 Hard Drive(s) \n"
              "Test Failed for 0 Hard Drive(s) \n",
              lastReport());
}

TEST_F(DiagnosticsTest, AdapterTestIsJudgedByTheCompletionEvent)
{
    useControllers({controller(0, "S0", {})});
    ASSERT_EQ(0, run("TestAdapterTest", "S0"));
    EXPECT_EQ("Adapter Test Successful\n", lastReport());
    const std::vector<vesksim::DiagnosticCall> calls = vesksim::diagnosticCalls();
    ASSERT_EQ(1u, calls.size());
    EXPECT_EQ("startControllerDiagnostic", calls[0].operation);

    vesksim::setEventDocuments({"<events/>"});
    vesksim::setDiagnosticResult("startControllerDiagnostic", -1);
    cimple::uint32 rv = 9;
    ASSERT_EQ(0, run("TestAdapterTest", "S0", &rv));
    EXPECT_EQ(0u, rv);
    EXPECT_EQ("Adapter Test Stopped\n", lastReport());
}

TEST_F(DiagnosticsTest, RefusedRunsLeaveNothing)
{
    useControllers({controller(0, "S0", {})});
    struct Case {
        const char* test;
        const char* device;
    } cases[] = {{"selfdrivetest", "S0"}, {"Unknown", "S0"}, {"TestAdapterInfo", "NOPE"}};
    for (const Case& c : cases) {
        cimple::uint32 rv = 0;
        EXPECT_EQ(130, run(c.test, c.device, &rv)) << c.test << " " << c.device;
        EXPECT_EQ(1u, rv);
    }
    // A call without its element is refused, not dereferenced.
    KRNA_DiagService_Provider provider;
    cimple::Ref<cimple::KRNA_DiagService> self(service("TestAdapterInfo"));
    cimple::CIM_ConcreteJob* job = nullptr;
    cimple::Property<cimple::uint32> rv;
    EXPECT_EQ(130, provider.RunKRNADiagnostic(self.ptr(), nullptr, nullptr, nullptr, job, rv));
    EXPECT_EQ(1u, rv.value);
    EXPECT_EQ(std::vector<size_t>({0, 0, 0, 0, 0, 0}), storedCounts());
}

TEST_F(DiagnosticsTest, RunsLeaveAJobWithFiveCompanions)
{
    useControllers({controller(0, "S0", {})});
    ASSERT_EQ(0, run("SelfDriveTest", "S0"));
    ASSERT_EQ(0, run("SelfDriveTest", "S0"));
    EXPECT_EQ(std::vector<size_t>({2, 2, 2, 2, 2, 2}), storedCounts());

    const auto& jobs = KRNA_DiagConcreteJob_Provider::_map;
    EXPECT_EQ("KRNA_0", jobs[0]->InstanceID.value.str());
    EXPECT_EQ("KRNA_1", jobs[1]->InstanceID.value.str());
    EXPECT_EQ(7, jobs[1]->JobState.value);
    EXPECT_EQ(100, jobs[1]->PercentComplete.value);
    const auto& logs = KRNA_LogManagesRecord_Provider::_map;
    EXPECT_EQ("SelfDriveTest", static_cast<cimple::KRNA_DiagLog*>(logs[1]->Log)->InstanceID.value.str());
    const auto* record = static_cast<cimple::KRNA_DiagServiceRecord*>(logs[1]->Record);
    EXPECT_EQ("KRNA_1", record->InstanceID.value.str());
    EXPECT_EQ(lastReport(), record->RecordData.value.str());
    const auto* setting = KRNA_DiagSettingRecord_Provider::_map[0];
    EXPECT_EQ("SelfDriveTest", setting->ServiceName.value.str());
    EXPECT_EQ("S0", setting->ManagedElementName.value.str());
    EXPECT_EQ("en_US_WIN", setting->Locale.value.str());

    // The counter wraps before 0x7FFFFFFE.
    resetDiagnostics();
    KRNA_DiagConcreteJob_Provider::count = 0x7FFFFFFD;
    ASSERT_EQ(0, run("TestAdapterInfo", "S0"));
    ASSERT_EQ(0, run("TestAdapterInfo", "S0"));
    EXPECT_EQ("KRNA_2147483645", jobs[0]->InstanceID.value.str());
    EXPECT_EQ("KRNA_0", jobs[1]->InstanceID.value.str());
}

TEST_F(DiagnosticsTest, RunsWriteTheirDebugLines)
{
    useControllers({controller(0, "S0", {})});
    ASSERT_EQ(0, run("TestAdapterInfo", "S0"));
    EXPECT_EQ(std::vector<std::string>({"In KRNA_DiagService_Provider::RunKRNADiagnostic",
                                        "In KRNA_DiagService_Provider::verifyMSE",
                                        "In KRNA_Device_Provider::krnaBuildMap",
                                        "In KRNA_DiagConcreteJob_Provider::deleteExpiredInstance",
                                        "In KRNA_DiagConcreteJob_Provider::addNewConcreteJob",
                                        "KRNA_DiagSettingRecord_Provider::addNewSettingRecord",
                                        "KRNA_DiagServiceRecord_Provider::addNewServiceRecord",
                                        "In KRNA_DiagService_Provider::run1",
                                        "KRNA_DiagLog_Provider::krnaBuildMap",
                                        "KRNA_LogManagesRecord_Provider::addNewAssoc",
                                        "In KRNA_OwningJobElement_Provider::addNewAssoc",
                                        "In KRNA_AffectedJobElement_Provider::addNewAssoc"}),
              splitLines(testsupport::readFile("KRNA_Debug.log")));
}

// ---- expiry ------------------------------------------------------------------------------------

TEST_F(DiagnosticsTest, AJobExpiresAfterFiveMinutesWithItsCompanions)
{
    useControllers({controller(0, "S0", {})});
    ASSERT_EQ(0, run("TestAdapterInfo", "S0"));
    providertest::advanceSeconds(299);
    EXPECT_EQ(std::vector<size_t>({1, 1, 1, 1, 1, 1}), storedCounts());
    providertest::advanceSeconds(1);
    EXPECT_EQ(std::vector<size_t>({1, 1, 1, 1, 1, 1}), storedCounts());
    providertest::advanceSeconds(1);
    EXPECT_EQ(1u, KRNA_DiagConcreteJob_Provider::_map.size()); // kept until a read sweeps
    EXPECT_EQ(std::vector<size_t>({0, 0, 0, 0, 0, 0}), storedCounts());
}

TEST_F(DiagnosticsTest, ASweepRemovesEveryExpiredJobOldestFirst)
{
    useControllers({controller(0, "S0", {})});
    ASSERT_EQ(0, run("TestAdapterInfo", "S0"));
    providertest::advanceSeconds(10);
    ASSERT_EQ(0, run("TestAdapterInfo", "S0"));
    providertest::advanceSeconds(100);
    ASSERT_EQ(0, run("TestAdapterInfo", "S0"));
    // A job whose companions are gone already is removed all the same.
    KRNA_LogManagesRecord_Provider::_map.clear();
    providertest::advanceSeconds(250);
    KRNA_DiagUtils::deleteExpiredInstances();
    EXPECT_EQ(1u, KRNA_DiagConcreteJob_Provider::_map.size());
    EXPECT_EQ(std::vector<size_t>({1, 1, 1, 1, 1, 0}), storedCounts());
    EXPECT_EQ("KRNA_2", KRNA_DiagServiceRecord_Provider::_map[0]->InstanceID.value.str());
}

TEST_F(DiagnosticsTest, RunsAndReadsOnSeveralThreadsKeepTheMapsConsistent)
{
    useControllers({controller(0, "S0", {drive(0, 0, DRIVE_ONLINE, "A")})});
    KRNATests tests;
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; t++)
        threads.emplace_back([this] {
            for (int i = 0; i < 5; i++)
                EXPECT_EQ(0, run("SelfDriveTest", "S0"));
        });
    threads.emplace_back([] {
        for (int i = 0; i < 10; i++) {
            count<KRNA_DiagServiceRecord_Provider>();
            count<KRNA_LogManagesRecord_Provider>();
            providertest::advanceSeconds(40);
        }
    });
    for (std::thread& t : threads)
        t.join();
    const std::vector<size_t> counts = storedCounts();
    for (size_t n : counts)
        EXPECT_EQ(counts[0], n);
    providertest::advanceSeconds(400);
    EXPECT_EQ(std::vector<size_t>({0, 0, 0, 0, 0, 0}), storedCounts());
}

// ---- the fixed instances and associations ----------------------------------------------------------

TEST_F(DiagnosticsTest, FixedAssociationsPairEveryControllerWithEveryTest)
{
    struct Case {
        size_t controllers;
        std::vector<size_t> counts; // available services, logs for MSE, logs for service, capabilities
    } cases[] = {{0, {0, 0, 3, 3}}, {1, {3, 3, 3, 3}}, {2, {6, 6, 3, 3}}};
    for (const Case& c : cases) {
        resetDiagnostics();
        std::vector<vesksim::Controller> controllers;
        for (size_t i = 0; i < c.controllers; i++)
            controllers.push_back(controller(static_cast<uint32_t>(i), "S" + std::to_string(i), {}));
        useControllers(controllers);
        EXPECT_EQ(c.counts, std::vector<size_t>({count<KRNA_AvailableDiagService_Provider>(),
                                                 count<KRNA_DiagLogForMSE_Provider>(),
                                                 count<KRNA_DiagLogForService_Provider>(),
                                                 count<KRNA_ElementCapabilities_Provider>()}))
            << c.controllers << " controllers";
        EXPECT_EQ(c.controllers, count<KRNA_Device_Provider>());
    }
    // All the first controller's tests come before the second's, in order.
    KRNA_AvailableDiagService_Provider provider;
    Collected<cimple::KRNA_AvailableDiagService> out;
    enumerate(provider, out);
    ASSERT_EQ(6u, out.items.size());
    EXPECT_EQ("SelfDriveTest", static_cast<cimple::KRNA_DiagService*>(out.items[1]->ServiceProvided)->Name.value.str());
    EXPECT_EQ("S0", static_cast<cimple::KRNA_Device*>(out.items[2]->UserOfService)->DeviceID.value.str());
    EXPECT_EQ("S1", static_cast<cimple::KRNA_Device*>(out.items[3]->UserOfService)->DeviceID.value.str());
}

TEST_F(DiagnosticsTest, FixedInstancesAnswerGetsByKey)
{
    useControllers({controller(0, "", {})});
    KRNA_Device_Provider devices;
    Collected<cimple::KRNA_Device> found;
    enumerate(devices, found);
    ASSERT_EQ(1u, found.items.size());
    EXPECT_EQ("", found.items[0]->DeviceID.value.str());
    EXPECT_EQ(" Corvane Raid Controller", found.items[0]->Description.value.str());

    KRNA_DiagServiceCapabilities_Provider capabilities;
    cimple::Ref<cimple::KRNA_DiagServiceCapabilities> model(cimple::KRNA_DiagServiceCapabilities::create(false));
    model->InstanceID.set("SelfDriveTest");
    cimple::KRNA_DiagServiceCapabilities* out = nullptr;
    EXPECT_EQ(61, capabilities.get_instance(model.ptr(), out));

    KRNA_DiagSetting_Provider settings;
    Collected<cimple::KRNA_DiagSetting> all;
    enumerate(settings, all);
    ASSERT_EQ(3u, all.items.size());
    for (const auto* s : all.items)
        EXPECT_EQ(300u, s->ResultPersistence.value);

    KRNA_DiagLog_Provider logs;
    cimple::Ref<cimple::KRNA_DiagLog> logModel(cimple::KRNA_DiagLog::create(false));
    logModel->InstanceID.set("SelfDriveTest");
    cimple::KRNA_DiagLog* log = nullptr;
    ASSERT_EQ(0, logs.get_instance(logModel.ptr(), log));
    cimple::Ref<cimple::KRNA_DiagLog> owned(log);
    EXPECT_EQ("Diagnostic Log For SelfDriveTest", log->Caption.value.str());
    logModel->InstanceID.set("Other");
    cimple::KRNA_DiagLog* none = nullptr;
    EXPECT_EQ(60, logs.get_instance(logModel.ptr(), none));
    EXPECT_EQ(nullptr, none);
}

} // namespace
