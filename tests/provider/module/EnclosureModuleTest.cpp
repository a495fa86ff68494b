// The enclosures of the default scenarios through the module as a CIM server
// loads it: every enclosure class through CMPI alone, and cim_enum.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ModuleTestSupport.h"

using namespace cimbroker;
using moduletest::hostName;
using moduletest::text;

namespace {

// The default scenarios have three SAF-TE enclosures, two of the Qorl
// family (one of them without SAF-TE data) and one of the Tarnell family
// (without a FRU text), and an SES-2 device of the Qorl family.
const std::vector<std::string> ELEMENT_IDS = {"\"ENC-FRU-0815\"", "\"ENC-FRU-0900\"", "\"\""};

std::vector<std::string> values(const std::vector<Inst>& instances, const char* property)
{
    std::vector<std::string> out;
    for (const Inst& i : instances)
        out.push_back(text(i, property));
    return out;
}

// The values cim_enum prints for one property of the class, in order.
std::vector<std::string> printed(const std::string& cls, const std::string& property)
{
    std::string output;
    EXPECT_EQ(0, moduletest::runCimEnum(cls, output)) << cls;
    std::vector<std::string> out;
    const std::string label = "    " + property + " = ";
    for (size_t at = output.find(label); at != std::string::npos; at = output.find(label, at + 1)) {
        const size_t start = at + label.size();
        out.push_back(output.substr(start, output.find(';', start) - start));
    }
    return out;
}

class EnclosureModule : public moduletest::ModuleTest {};

TEST_F(EnclosureModule, EveryClassListsTheEnclosuresOfTheDefaultScenarios)
{
    const std::vector<Inst> systems = enumerate("KRNA_EnclosureComputerSystem");
    EXPECT_EQ((std::vector<std::string>{"\"SAFTE SHELF 14\"", "\"JBOD SHELF\"", "\"SAFTE-14\"", "\"Z12SAS EXPANDER\""}),
              values(systems, "Name"));
    ASSERT_FALSE(systems.empty());
    EXPECT_EQ("instance of KRNA_EnclosureComputerSystem\n{\n"
              "    Caption = \"Corvane Enclosure\";\n    Description = \"Corvane Enclosure\";\n"
              "    ElementName = \"VSK0042\";\n    InstallDate = \"00000000000000.000000:000\";\n"
              "    Name = \"SAFTE SHELF 14\";\n    OperationalStatus = {2};\n    StatusDescriptions = {\"Ok\"};\n"
              "    Status = \"\";\n    EnabledState = 0;\n    OtherEnabledState = \"\";\n    RequestedState = 0;\n"
              "    EnabledDefault = 0;\n    TimeOfLastStateChange = \"00000000000000.000000:000\";\n"
              "    CreationClassName = \"KRNA_EnclosureComputerSystem\";\n    NameFormat = \"Other\";\n"
              "    PrimaryOwnerName = \"\";\n    PrimaryOwnerContact = \"\";\n    Roles = {};\n"
              "    OtherIdentifyingInfo = {\"Other\"};\n    IdentifyingDescriptions = {};\n    Dedicated = {3};\n"
              "    OtherDedicatedDescriptions = {\"Other\"};\n    ResetCapability = 0;\n"
              "    PowerManagementCapabilities = {};\n};\n",
              mofText(systems[0]));

    for (const char* cls : {"KRNA_EnclosureFan", "KRNA_EnclosurePowerSupply", "KRNA_EnclosureTempSensor"}) {
        const std::vector<Inst> elements = enumerate(cls);
        EXPECT_EQ(ELEMENT_IDS, values(elements, "DeviceID")) << cls;
        EXPECT_EQ(std::vector<std::string>(3, "\"" + hostName() + "\""), values(elements, "SystemName")) << cls;
    }
    EXPECT_EQ((std::vector<std::string>{"{2}", "{0}", "{2}"}),
              values(enumerate("KRNA_EnclosureFan"), "OperationalStatus"));
    EXPECT_EQ((std::vector<std::string>{"{\"OK\"}", "{\"Unknown\"}", "{\"OK\"}"}),
              values(enumerate("KRNA_EnclosurePowerSupply"), "StatusDescriptions"));
    for (const char* cls : {"KRNA_EnclosureFanRedundancySet", "KRNA_EnclosurePowerSupplyRedundancySet"})
        EXPECT_EQ(ELEMENT_IDS, values(enumerate(cls), "InstanceID")) << cls;
    for (const char* cls :
         {"KRNA_EnclosureFanSystemDevice", "KRNA_EnclosureFanConcreteDependency", "KRNA_EnclosureFanMemberOfCollection",
          "KRNA_EnclosurePowerSupplyAssociatedFan", "KRNA_EnclosurePowerSupplySystemDevice",
          "KRNA_EnclosureTempSensorSystemDevice"})
        EXPECT_EQ(3u, enumerate(cls).size()) << cls;
    EXPECT_TRUE(enumerate("KRNA_EnclosurePowerSupplyMemberOfCollection").empty());
}

TEST_F(EnclosureModule, GetsByPathAndAnswersNoMethod)
{
    const std::vector<Inst> cooling = enumerate("KRNA_EnclosurePowerSupplyAssociatedFan");
    ASSERT_EQ(3u, cooling.size());
    Inst got;
    ASSERT_TRUE(broker->getInstance(cooling[1].path, got).ok());
    EXPECT_EQ(mofText(cooling[1]), mofText(got));

    const std::vector<Inst> fans = enumerate("KRNA_EnclosureFan");
    ASSERT_EQ(3u, fans.size());
    ASSERT_TRUE(broker->getInstance(fans[2].path, got).ok());
    EXPECT_EQ(mofText(fans[2]), mofText(got));

    // A power supply membership is never found: the provider serves none.
    Path membership;
    membership.ns = moduletest::NS;
    membership.cls = "KRNA_EnclosurePowerSupplyMemberOfCollection";
    membership.keys = {{"Collection", Value::reference(enumerate("KRNA_EnclosurePowerSupplyRedundancySet")[0].path)},
                       {"Member", Value::reference(enumerate("KRNA_EnclosurePowerSupply")[0].path)}};
    EXPECT_EQ(CMPI_RC_ERR_NOT_FOUND, broker->getInstance(membership, got).rc);

    Named out;
    Value ret;
    EXPECT_EQ(CMPI_RC_ERR_NOT_SUPPORTED,
              broker->invokeMethod(fans[0].path, "SetSpeed", {{"DesiredSpeed", Value::uint(CMPI_uint64, 3000)}}, out,
                                   ret)
                  .rc);
    const std::vector<Inst> sets = enumerate("KRNA_EnclosureFanRedundancySet");
    ASSERT_FALSE(sets.empty());
    EXPECT_EQ(CMPI_RC_ERR_NOT_SUPPORTED, broker->invokeMethod(sets[0].path, "Failover", {}, out, ret).rc);
    const std::vector<Inst> systems = enumerate("KRNA_EnclosureComputerSystem");
    ASSERT_FALSE(systems.empty());
    EXPECT_EQ(CMPI_RC_ERR_NOT_SUPPORTED, broker->invokeMethod(systems[3].path, "SetPowerState", {}, out, ret).rc);
}

TEST_F(EnclosureModule, CimEnumListsTheEnclosures)
{
    EXPECT_EQ((std::vector<std::string>{"\"SAFTE SHELF 14\"", "\"JBOD SHELF\"", "\"SAFTE-14\"", "\"Z12SAS EXPANDER\""}),
              printed("KRNA_EnclosureComputerSystem", "Name"));
    EXPECT_EQ(ELEMENT_IDS, printed("KRNA_EnclosureTempSensor", "DeviceID"));
}

} // namespace
