// The registered profiles and the diagnostics through the module as a CIM
// server loads it: the seven profiles with their conformance and reference
// associations, the host's computer system found through the CIM server, and
// a diagnostic run through RunKRNADiagnostic with what it leaves behind, by
// the test broker and by cim_enum.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "ModuleTestSupport.h"
#include "support/TestUtil.h"

using namespace cimbroker;
using moduletest::hostName;
using moduletest::text;

namespace {

const char* const INTEROP = "root/PG_InterOp";

const char* const HHR_CONFORMANCE = "KRNA_ProfileHHRRegisteredProfileElementConformsToProfileHostComputerSystem";
const char* const HHRC_CONFORMANCE =
    "KRNA_ProfileHHRCRegisteredProfileElementConformsToProfileControllerPortController";
const char* const SYSTEM_DEVICE = "KRNA_ProfileHostComputerSystemSystemDevicePortController";

Inst computerSystem(const std::string& cls, const std::string& name)
{
    Inst i;
    i.path = {"root/zeqag", cls,
              {{"CreationClassName", Value::string(cls)}, {"Name", Value::string(name)}}};
    i.props = i.path.keys;
    return i;
}

Path serviceNamed(const std::string& name)
{
    return {moduletest::NS, "KRNA_DiagService",
            {{"SystemCreationClassName", Value::string("PG_ComputerSystem")},
             {"SystemName", Value::string("localhost")},
             {"CreationClassName", Value::string("KRNA_DiagService")},
             {"Name", Value::string(name)}}};
}

Path deviceNamed(const std::string& id)
{
    return {moduletest::NS, "KRNA_Device",
            {{"SystemCreationClassName", Value::string("PG_ComputerSystem")},
             {"SystemName", Value::string("localhost")},
             {"CreationClassName", Value::string("KRNA_Device")},
             {"DeviceID", Value::string(id)}}};
}

class ProfileModule : public moduletest::ModuleTest {
protected:
    std::vector<Inst> enumerateIn(const char* ns, const std::string& cls)
    {
        std::vector<Inst> out;
        Status st = broker->enumerateInstances(ns, cls, out);
        EXPECT_TRUE(st.ok()) << cls << ": " << rcName(st.rc);
        return out;
    }

    Status runDiagnostic(const std::string& method, const Path& service, const std::string& device, Value& ret)
    {
        Named out;
        return broker->invokeMethod(service, method, {{"ManagedElement", Value::reference(deviceNamed(device))}},
                                    out, ret);
    }
};

TEST_F(ProfileModule, EachProfileClassHasItsOneInstance)
{
    struct Row {
        const char* cls;
        const char* id;
        const char* name;
        const char* caption;
    } rows[] = {
        {"KRNA_ProfileHHRRegisteredProfile", "KRNA:HHRRegisteredProfile", "HHR Profile", "\"HostHardwareRAID\""},
        {"KRNA_ProfileHHRCRegisteredProfile", "KRNA:HHRCRegisteredProfile", "HHRC Profile", "\" HHRC\""},
        {"KRNA_ProfileCDMv2RegisteredProfile", "KRNA:CDMv2RegisteredProfile", "CDMv2 Profile", "\"\""},
        {"KRNA_ProfileDiskDriveLiteRegisteredProfile", "KRNA:DiskDriveLiteRegisteredProfile",
         "DiskDriveLite Profile", "\"\""},
        {"KRNA_ProfileIndicationRegisteredProfile", "KRNA:IndicationRegisteredProfile", "Indication Profile",
         "\"\""},
        {"KRNA_ProfilePhysicalAssetRegisteredProfile", "KRNA:PhysicalAssetRegisteredProfile",
         "PhysicalAsset Profile", "\"\""},
        {"KRNA_ProfileSoftwareInventoryRegisteredProfile", "KRNA:SoftwareInventoryRegisteredProfile",
         "SoftwareInventory Profile", "\"\""},
    };
    for (const Row& r : rows) {
        std::vector<Inst> all = enumerateIn(INTEROP, r.cls);
        ASSERT_EQ(1u, all.size()) << r.cls;
        EXPECT_EQ(std::string("\"") + r.id + "\"", text(all[0], "InstanceID"));
        EXPECT_EQ(std::string("\"") + r.name + "\"", text(all[0], "RegisteredName"));
        EXPECT_EQ(r.caption, text(all[0], "Caption"));
        EXPECT_EQ("11", text(all[0], "RegisteredOrganization"));
        EXPECT_EQ("\"1.0.0\"", text(all[0], "RegisteredVersion"));

        // A get with its key answers it, with another key "not found".
        Inst got;
        EXPECT_TRUE(broker->getInstance(all[0].path, got).ok()) << r.cls;
        Path other = all[0].path;
        other.keys[0].second = Value::string("KRNA:Other");
        EXPECT_EQ(CMPI_RC_ERR_NOT_FOUND, broker->getInstance(other, got).rc) << r.cls;
        EXPECT_EQ(CMPI_RC_ERR_NOT_SUPPORTED, broker->createInstance(all[0], other).rc);
        EXPECT_EQ(CMPI_RC_ERR_NOT_SUPPORTED, broker->modifyInstance(all[0]).rc);
        EXPECT_EQ(CMPI_RC_ERR_NOT_SUPPORTED, broker->deleteInstance(all[0].path).rc);
    }
    EXPECT_NE(std::string::npos, testsupport::readFile("krnaprov.log").find("Keys Matched get_instance() \n"));
}

// The associations that walk the controllers read the configuration
// themselves: each answers in full as the first request of the process.
TEST_F(ProfileModule, TheHostSystemConformsAndHoldsEveryPortController)
{
    broker->setUpcallInstances("root/zeqag", "CIM_ComputerSystem",
                               {computerSystem("ZEQXJP_Fan", hostName()),
                                computerSystem("ZEQXJP_ComputerSystem", hostName())});
    std::vector<Inst> conforms = enumerateIn(INTEROP, HHR_CONFORMANCE);
    ASSERT_EQ(1u, conforms.size());
    const Value* element = conforms[0].prop("ManagedElement");
    ASSERT_TRUE(element && element->ref);
    EXPECT_EQ("root/zeqag", element->ref->ns);
    EXPECT_EQ(INTEROP, conforms[0].prop("ConformantStandard")->ref->ns);
    Inst got;
    EXPECT_TRUE(broker->getInstance(conforms[0].path, got).ok());

    std::vector<Inst> devices = enumerateIn(INTEROP, SYSTEM_DEVICE);
    const size_t controllers = enumerate("KRNA_ControllerPortController").size();
    ASSERT_GT(controllers, 1u);
    ASSERT_EQ(controllers, devices.size());
    std::set<std::string> groups;
    for (const Inst& d : devices) {
        groups.insert(d.prop("GroupComponent")->ref->text());
        EXPECT_EQ(moduletest::NS, d.prop("PartComponent")->ref->ns);
    }
    EXPECT_EQ(1u, groups.size());
    EXPECT_EQ(controllers, enumerateIn(INTEROP, HHRC_CONFORMANCE).size());
}

TEST_F(ProfileModule, WithoutTheHostAgentTheHostSideIsEmpty)
{
    broker->setUpcallError("root/zeqag", "CIM_ComputerSystem", CMPI_RC_ERR_INVALID_NAMESPACE);
    const size_t conforming = enumerateIn(INTEROP, HHRC_CONFORMANCE).size();
    EXPECT_TRUE(enumerateIn(INTEROP, HHR_CONFORMANCE).empty());
    EXPECT_TRUE(enumerateIn(INTEROP, SYSTEM_DEVICE).empty());
    EXPECT_EQ(enumerate("KRNA_ControllerPortController").size(), conforming);
}

TEST_F(ProfileModule, TheHostProfileReferencesTheOtherFive)
{
    const char* const classes[] = {"KRNA_ProfileHHRReferencedHHRCProfile", "KRNA_ProfileHHRReferencedCDMv2Profile",
                                   "KRNA_ProfileHHRReferencedDiskDriveLiteProfile",
                                   "KRNA_ProfileHHRReferencedIndicationProfile",
                                   "KRNA_ProfileHHRReferencedPhysicalAssetProfile",
                                   "KRNA_ProfileHHRReferencedSoftwareInventoryProfile"};
    for (const char* cls : classes) {
        std::vector<Inst> all = enumerateIn(INTEROP, cls);
        ASSERT_EQ(1u, all.size()) << cls;
        Inst got;
        EXPECT_TRUE(broker->getInstance(all[0].path, got).ok()) << cls;
        // Another profile of the dependent's class.
        Path other = all[0].path;
        for (auto& key : other.keys) {
            if (key.first != "Dependent")
                continue;
            Path dependent = *key.second.ref;
            dependent.keys[0].second = Value::string("KRNA:Other");
            key.second = Value::reference(dependent);
        }
        EXPECT_EQ(CMPI_RC_ERR_NOT_FOUND, broker->getInstance(other, got).rc) << cls;

        // Associators are served by the framework from the enumeration.
        std::vector<Inst> ends;
        ASSERT_TRUE(broker->associators(cls, *all[0].prop("Antecedent")->ref, cls, nullptr, nullptr, nullptr, ends)
                        .ok());
        ASSERT_EQ(1u, ends.size()) << cls;
        EXPECT_EQ(all[0].prop("Dependent")->ref->cls, ends[0].path.cls);
    }
    EXPECT_NE(std::string::npos, testsupport::readFile("krnaprov.log")
                                     .find("Exiting - (KRNA_ProfileHHRReferencedHHRCProfile_Provider) "
                                           "get_instance() - Not Found\n"));
}

TEST_F(ProfileModule, ARunLeavesItsJobAndRecordBehind)
{
    const std::vector<Inst> devices = enumerate("KRNA_Device");
    ASSERT_FALSE(devices.empty());
    EXPECT_EQ("\"VSK0042\"", text(devices[0], "DeviceID"));
    const size_t jobsBefore = enumerate("KRNA_DiagConcreteJob").size();

    Value ret;
    // The method's name is compared without regard to case.
    ASSERT_TRUE(runDiagnostic("runkrnadiagnostic", serviceNamed("TestAdapterInfo"), "VSK0042", ret).ok());
    EXPECT_EQ("0", valueText(ret));
    const std::vector<Inst> jobs = enumerate("KRNA_DiagConcreteJob");
    ASSERT_EQ(jobsBefore + 1, jobs.size());
    EXPECT_EQ("7", text(jobs.back(), "JobState"));
    const std::vector<Inst> records = enumerate("KRNA_DiagServiceRecord");
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(text(jobs.back(), "InstanceID"), text(records.back(), "InstanceID"));
    EXPECT_NE(std::string::npos, text(records.back(), "RecordData").find("Device Location : PCI slot"));

    // The job is found from the service through the owning-job association.
    std::vector<Inst> owned;
    ASSERT_TRUE(broker->associators("KRNA_OwningJobElement", serviceNamed("TestAdapterInfo"), nullptr, nullptr,
                                    nullptr, nullptr, owned)
                    .ok());
    EXPECT_FALSE(owned.empty());

    // Refused: a service name in other case, a controller that is none.
    EXPECT_EQ(CMPI_RC_ERR_FAILED, runDiagnostic("RunKRNADiagnostic", serviceNamed("selfdrivetest"), "VSK0042", ret).rc);
    EXPECT_EQ(CMPI_RC_ERR_FAILED, runDiagnostic("RunKRNADiagnostic", serviceNamed("TestAdapterInfo"), "NONE", ret).rc);
    EXPECT_EQ(jobsBefore + 1, enumerate("KRNA_DiagConcreteJob").size());
    Named out;
    EXPECT_EQ(CMPI_RC_ERR_NOT_SUPPORTED,
              broker->invokeMethod(serviceNamed("TestAdapterInfo"), "StartService", {}, out, ret).rc);

    // Five minutes later everything is gone.
    moduletest::now() += 301ull * 1000000ull;
    EXPECT_TRUE(enumerate("KRNA_DiagConcreteJob").empty());
    EXPECT_TRUE(enumerate("KRNA_LogManagesRecord").empty());
}

TEST_F(ProfileModule, CimEnumRunsATestAndListsItsRecord)
{
    const std::string service = "KRNA_DiagService.SystemCreationClassName=\"PG_ComputerSystem\","
                                "SystemName=\"localhost\",CreationClassName=\"KRNA_DiagService\","
                                "Name=\"TestAdapterTest\"";
    const std::string element = "ManagedElement=KRNA_Device.SystemCreationClassName=\"PG_ComputerSystem\","
                                "SystemName=\"localhost\",CreationClassName=\"KRNA_Device\",DeviceID=\"VSK0042\"";
    std::string output;
    ASSERT_EQ(0, moduletest::runCimEnum("--invoke '" + service + "' RunKRNADiagnostic '" + element +
                                            "' --list KRNA_DiagServiceRecord",
                                        output))
        << output;
    EXPECT_EQ(0u, output.find("ReturnValue = 0;\n")) << output;
    EXPECT_NE(std::string::npos, output.find("RecordData = \"Adapter Test Successful\\n\";")) << output;
    EXPECT_EQ(2, moduletest::runCimEnum("--invoke 'KRNA_DiagService.Name=\"x' RunKRNADiagnostic", output));

    ASSERT_EQ(0, moduletest::runCimEnum("--namespace root/PG_InterOp KRNA_ProfileHHRRegisteredProfile", output));
    EXPECT_NE(std::string::npos, output.find("InstanceID = \"KRNA:HHRRegisteredProfile\";")) << output;
}

} // namespace
