// The storage volumes of the three simulated families through the module as
// a CIM server loads it: the test broker drives libkrnacim through CMPI
// alone, and cim_enum prints them.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "ModuleTestSupport.h"

using namespace cimbroker;
using moduletest::hostName;
using moduletest::now;
using moduletest::text;

namespace {

const char* const CLASS = "KRNA_StorageVolume";

// The DeviceIDs of the default scenarios, in the order of an enumeration:
// the Qorl family, the Tarnell family with its sub-logical drives, Pelm.
std::vector<std::string> defaultDeviceIDs()
{
    const std::string h = hostName() + ":";
    std::vector<std::string> ids;
    for (const char* id : {"VSK0042:0", "VSK0042:1", "VSK0042:2", "VSK0042:3", "5-0-1:0", "ZQA3120045:0",
                           "ZQA3120045:1", "ZQA3120045:2", "ZQA3120045:3", "ZQA3120045:4", "0-0-0:0", "0-0-0:1",
                           "0-0-0:2", "0-0-0:3", "ZQA3120045:16", "ZQA3120045:17", "0-0-0:10", "0-0-0:11",
                           "PLM0004711:0", "PLM0004711:1", "3-0-0:0"})
        ids.push_back("\"" + h + id + "\"");
    return ids;
}

class StorageVolumeModule : public moduletest::ModuleTest {
protected:
    std::vector<Inst> enumerate() { return ModuleTest::enumerate(CLASS); }

    static std::vector<std::string> deviceIDs(const std::vector<Inst>& volumes)
    {
        std::vector<std::string> ids;
        for (const Inst& v : volumes)
            ids.push_back(text(v, "DeviceID"));
        return ids;
    }
};

TEST_F(StorageVolumeModule, EnumeratesTheVolumesOfTheThreeFamilies)
{
    const std::vector<Inst> volumes = enumerate();
    EXPECT_EQ(defaultDeviceIDs(), deviceIDs(volumes));
    ASSERT_FALSE(volumes.empty());
    const std::string h = hostName();
    EXPECT_EQ(
        "instance of KRNA_StorageVolume\n{\n"
        "    Caption = \"\";\n    Description = \"\";\n    ElementName = \"Boot\";\n"
        "    InstallDate = \"20070305143015.250000+000\";\n    Name = \"Logical Drive 0\";\n"
        "    OperationalStatus = {2};\n    StatusDescriptions = {};\n    Status = \"\";\n    EnabledState = 0;\n"
        "    OtherEnabledState = \"\";\n    RequestedState = 0;\n    EnabledDefault = 0;\n"
        "    TimeOfLastStateChange = \"00000000000000.000000:000\";\n"
        "    SystemCreationClassName = \"KRNA_ControllerComputerSystem\";\n    SystemName = \"" +
            h +
            "\";\n"
            "    CreationClassName = \"KRNA_StorageVolume\";\n    DeviceID = \"" +
            h +
            ":VSK0042:0\";\n"
            "    PowerManagementSupported = false;\n    PowerManagementCapabilities = {};\n    Availability = 0;\n"
            "    StatusInfo = 0;\n    LastErrorCode = 0;\n    ErrorDescription = \"\";\n    ErrorCleared = false;\n"
            "    OtherIdentifyingInfo = {};\n    PowerOnHours = 0;\n    TotalPowerOnHours = 0;\n"
            "    IdentifyingDescriptions = {};\n    AdditionalAvailability = {};\n    MaxQuiesceTime = 0;\n"
            "    DataOrganization = 0;\n    Purpose = \"\";\n    Access = 0;\n    ErrorMethodology = \"\";\n"
            "    BlockSize = 512;\n    NumberOfBlocks = 64000000;\n    ConsumableBlocks = 64000000;\n"
            "    IsBasedOnUnderlyingRedundancy = true;\n    SequentialAccess = false;\n    ExtentStatus = {2};\n"
            "    NoSinglePointOfFailure = true;\n    DataRedundancy = 2;\n    PackageRedundancy = 1;\n"
            "    DeltaReservation = 1;\n    Primordial = false;\n    NameFormat = 1;\n    NameNamespace = 0;\n"
            "    OtherNameNamespace = \"\";\n    OtherNameFormat = \"\";\n};\n",
        mofText(volumes[0]));
    // A Tarnell drive: MB counted in blocks, its creation date at midnight;
    // a Pelm drive: no creation time.
    EXPECT_EQ("40960000", text(volumes[5], "NumberOfBlocks"));
    EXPECT_EQ("\"20231114000000.000000+000\"", text(volumes[5], "InstallDate"));
    EXPECT_EQ("\"Logical Drive\"", text(volumes[5], "ElementName"));
    EXPECT_EQ("69632000", text(volumes[18], "NumberOfBlocks"));
    EXPECT_EQ("\"00000000000000.000000:000\"", text(volumes[18], "InstallDate"));
    // The module's log went where the test pointed it.
    EXPECT_NE(std::string::npos, testsupport::readFile("krnaprov.log").find("Found 21 Logical Drive(s)"));
}

TEST_F(StorageVolumeModule, GetsAVolumeByItsPathAndNothingElse)
{
    const std::vector<Inst> volumes = enumerate();
    ASSERT_EQ(21u, volumes.size());
    Inst got;
    ASSERT_TRUE(broker->getInstance(volumes[12].path, got).ok());
    EXPECT_EQ(mofText(volumes[12]), mofText(got));

    Path missing = volumes[12].path;
    for (auto& key : missing.keys)
        if (key.first == "DeviceID")
            key.second = Value::string(hostName() + ":0-0-0:99");
    EXPECT_EQ(CMPI_RC_ERR_NOT_FOUND, broker->getInstance(missing, got).rc);

    Named out;
    Value ret;
    EXPECT_EQ(CMPI_RC_ERR_NOT_SUPPORTED, broker->invokeMethod(volumes[12].path, "Reset", {}, out, ret).rc);
    EXPECT_EQ(CMPI_RC_ERR_NOT_SUPPORTED,
              broker->invokeMethod(volumes[12].path, "RequestStateChange",
                                   {{"RequestedState", Value::uint(CMPI_uint16, 3)}}, out, ret)
                  .rc);
}

TEST_F(StorageVolumeModule, EachFamilyIsReadAtMostOnceIn180Seconds)
{
    enumerate(); // the builders read at load, and again at their first use
    EXPECT_EQ(2u, vesksim::configurationReads());
    EXPECT_EQ(2u, pelmsim::calls("getSystemConfig").size());
    now() += 179ull * 1000000ull;
    enumerate();
    EXPECT_EQ(2u, vesksim::configurationReads());
    // A volume that goes shows with the next read.
    vesksim::Scenario scenario = vesksim::defaultScenario();
    scenario.controllers.at(1).arrays.clear();
    vesksim::reset(scenario);
    EXPECT_EQ(21u, enumerate().size());
    now() += 1000000ull;
    EXPECT_EQ(20u, enumerate().size());
    EXPECT_EQ(1u, vesksim::configurationReads());
    EXPECT_EQ(3u, pelmsim::calls("getSystemConfig").size());
}

TEST_F(StorageVolumeModule, EnumerationsOnSeveralThreads)
{
    std::vector<std::thread> threads;
    std::atomic<int> complete{0};
    for (int t = 0; t < 4; t++)
        threads.emplace_back([&] {
            for (int i = 0; i < 3; i++) {
                std::vector<Inst> out;
                if (broker->enumerateInstances(moduletest::NS, CLASS, out).ok() && deviceIDs(out) == defaultDeviceIDs())
                    complete++;
                now() += 61ull * 1000000ull; // every third request refreshes
            }
        });
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(12, complete.load());
}

TEST_F(StorageVolumeModule, CimEnumListsTheVolumes)
{
    std::string output;
    EXPECT_EQ(0, moduletest::runCimEnum(CLASS, output));
    std::vector<std::string> ids;
    for (size_t at = output.find("    DeviceID = "); at != std::string::npos;
         at = output.find("    DeviceID = ", at + 1)) {
        const size_t start = at + 15;
        ids.push_back(output.substr(start, output.find(';', start) - start));
    }
    EXPECT_EQ(defaultDeviceIDs(), ids);
}

} // namespace
