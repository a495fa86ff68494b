#include <gtest/gtest.h>

#include <string>

#include "RaidLib/Util/SESElements.h"
#include "RaidModel/Interface/SAS/SASPhy.h"
#include "RaidModel/ModelTestUtil.h"

using modeltest::Parsed;
using modeltest::treeText;

namespace {

SASPhy* newPhy(unsigned long id, const char* address)
{
    return new SASPhy(id, address, 0, 0, 0, "5000000000000099", 0, 0, SAS_NO_DEVICE, SAS_NEG_RATE_UNKNOWN,
                      SAS_PRG_RATE_NOT_PROGRAMMABLE, SAS_PRG_RATE_NOT_PROGRAMMABLE, SAS_HW_RATE_30,
                      SAS_HW_RATE_30, 0, false, 0, SAS_ROUTE_DIRECT);
}

} // namespace

TEST(SESElements, SlotAddressFromTheStatusWord)
{
    const struct {
        uint32_t status;
        uint32_t slot;
    } cases[] = {{0x00000501, 5}, {6, 0x7FFFFFFF}, {0x00000306, 3}, {0xFF00FF01, 0xFF}};
    for (const auto& c : cases)
        EXPECT_EQ(c.slot, SESDevice(c.status, "", 15).getSlotAddress()) << c.status;
}

TEST(SESElements, TypeTestsNameOnlyTheElementClasses)
{
    SESElement plain(1, "", 3);
    SESDevice device(1, "", 15);
    SESArrayDevice array(1, "", 15);
    SESDeviceSAS deviceSAS(1, "", false, false, false, 0, KRNA_SES_DESCRIPTOR_TYPE_DEVICE, 0, 0);
    SESArrayDeviceSAS arraySAS(1, "", false, false, false, 0, KRNA_SES_DESCRIPTOR_TYPE_DEVICE, 0, 0);
    const struct {
        const RaidObject* o;
        const char* name;
        bool is;
    } cases[] = {
        {&plain, "SESElement", true},          {&plain, "RaidObject", false},
        {&plain, "Serializable", false},       {&device, "SESElement", true},
        {&device, "SESArrayDevice", false},    {&deviceSAS, "SESDevice", true},
        {&deviceSAS, "SESDeviceSAS", true},    {&deviceSAS, "RaidObject", false},
        {&array, "SESDevice", false},          {&arraySAS, "SESDevice", false},
        {&arraySAS, "SESArrayDevice", true},   {&arraySAS, "SESElement", true},
        {&arraySAS, "SESDeviceSAS", false},    {&plain, nullptr, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.is, c.o->isInstanceOf(c.name)) << c.o->typeName() << " " << (c.name ? c.name : "null");
    EXPECT_EQ(0x17, array.getType());
    EXPECT_EQ(6, deviceSAS.getProtocolIdentifier());
    EXPECT_STREQ("SESElement", arraySAS.serializedName());
}

TEST(SESElements, PhysTakeTheElementsItemNumber)
{
    SESDeviceSAS e(0x0101, "Slot 1", false, true, false, 3, KRNA_SES_DESCRIPTOR_TYPE_DEVICE, 7, 1);
    e.getAddr2().setItemID(4);
    SASPhy* phy = newPhy(0, "5000C50000000001");
    e.addChild(phy);
    EXPECT_EQ(4u, phy->getItemID());
    EXPECT_EQ(phy, e.getSASPhy(0));
    EXPECT_EQ(nullptr, e.getSASPhy(1));
    EXPECT_EQ(1u, e.getNumSASPhys());
    e.deleteAllChildren();
}

TEST(SESElements, SASElementWrittenAndReadBack)
{
    SESArrayDeviceSAS e(0x00000901, "Bay 09", true, true, true, 12, KRNA_SES_DESCRIPTOR_TYPE_EXPANDER, 9, 2);
    const unsigned char address[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    e.setPhy0(address);
    e.addChild(newPhy(0, "5000C50000000001"));
    e.addChild(newPhy(1, "5000C50000000002"));
    const std::string xml = treeText(e);
    EXPECT_NE(std::string::npos, xml.find("typeName=\"SESArrayDeviceSAS\"")) << xml;
    EXPECT_EQ(0u, xml.find("<SESElement "));

    Parsed p(xml);
    ASSERT_TRUE(p.startOf("SESElement"));
    SESArrayDeviceSAS back(p.parser);
    EXPECT_EQ(0x00000901u, back.getStatus());
    EXPECT_STREQ("Bay 09", back.getDescriptor());
    EXPECT_EQ(0x17, back.getType());
    EXPECT_EQ(6, back.getProtocolIdentifier());
    EXPECT_TRUE(back.isNotAllPhys());
    EXPECT_TRUE(back.isEIP());
    EXPECT_TRUE(back.isInvalid());
    EXPECT_EQ(12u, back.getElementIndex());
    EXPECT_EQ(KRNA_SES_DESCRIPTOR_TYPE_EXPANDER, back.getDescriptorType());
    EXPECT_EQ(9u, back.getBayNumber());
    ASSERT_EQ(2u, back.getNumSASPhys());
    EXPECT_STREQ("5000C50000000002", back.getSASPhy(1)->getSASAddress());
    EXPECT_EQ(0u, back.getNumPhy()) << "not written";
    EXPECT_EQ(0, back.getPhy0()[0]) << "not written";
    e.deleteAllChildren();
    back.deleteAllChildren();
}

TEST(SESElements, AbsentStatusReadsAsConstructed)
{
    std::string plainXml = "<SESElement typeName=\"SESElement\" elementType=\"4\"/>";
    Parsed p1(plainXml);
    ASSERT_TRUE(p1.startOf("SESElement"));
    SESElement plain(p1.parser);
    EXPECT_EQ(0u, plain.getStatus());
    EXPECT_EQ(4, plain.getType());

    std::string sasXml = "<SESElement typeName=\"SESDeviceSAS\"><Other status=\"1\"/></SESElement>";
    Parsed p2(sasXml);
    ASSERT_TRUE(p2.startOf("SESElement"));
    SESDeviceSAS sas(p2.parser);
    EXPECT_EQ(6u, sas.getStatus());
    EXPECT_EQ(0x7FFFFFFFu, sas.getSlotAddress());
    EXPECT_EQ(15, sas.getProtocolIdentifier());
    EXPECT_EQ(1, sas.getType());
    EXPECT_EQ(std::vector<std::string>{}, p2.rest()) << "the reader consumed its element";
}
