#include <gtest/gtest.h>

#include <string>

#include "RaidModel/Interface/SAS/SASConnector.h"
#include "RaidModel/Interface/SAS/SASPhy.h"
#include "RaidModel/ModelTestUtil.h"

namespace {

SASPhy* makePhy(unsigned long phyID, const char* address)
{
    return new SASPhy(phyID, address, 0x08, 0x02, 7, "5000C50012345678", 0x01, 0x0E,
                      SAS_EDGE_EXPANDER_DEVICE, SAS_NEG_RATE_30, SAS_PRG_RATE_15, SAS_PRG_RATE_30,
                      SAS_HW_RATE_15, SAS_HW_RATE_30, 4, true, 9, SAS_ROUTE_TABLE);
}

} // namespace

TEST(SASPhy, AddressesAreCutToThirtyOneCharacters)
{
    const std::string forty(40, 'A');
    SASPhy* phy = makePhy(3, forty.c_str());
    EXPECT_EQ(std::string(phy->getSASAddress()), forty.substr(0, 31));
    EXPECT_EQ(phy->getPhyID(), 3u);

    SASPhy empty(1, nullptr, 0, 0, 0, nullptr, 0, 0, SAS_NO_DEVICE, SAS_NEG_RATE_UNKNOWN,
                 SAS_PRG_RATE_NOT_PROGRAMMABLE, SAS_PRG_RATE_NOT_PROGRAMMABLE, SAS_HW_RATE_15,
                 SAS_HW_RATE_15, 0, false, 0, SAS_ROUTE_DIRECT);
    EXPECT_STREQ(empty.getSASAddress(), "");
    EXPECT_STREQ(empty.getAttachedSASaddress(), "");

    // Assignment copies the phy number and fields, not the tree or other ids.
    empty.getAddr2().setDeviceID(4);
    empty = *phy;
    EXPECT_TRUE(empty == *phy);
    EXPECT_EQ(empty.getPhyID(), 3u);
    EXPECT_EQ(empty.getDeviceID(), 4u);
    empty = empty;
    EXPECT_TRUE(empty == *phy);
    delete phy;
}

// Every field survives a write and read; the phy number does not (the
// address ids are left to the parents that stamp them), and the attributes
// of a nested element are not taken for the phy's own.
TEST(SASPhy, ElementReadsBackWithoutItsIds)
{
    SASPhy* written = makePhy(3, "5000C500AABBCCDD");
    std::string doc = modeltest::treeText(*written);
    EXPECT_NE(doc.find(" phyID=\"3\" SASaddress=\"5000C500AABBCCDD\" initiatorProtocols=\"8\""),
              std::string::npos);
    doc.replace(doc.find("/>"), 2, "><Nested pathTimeout=\"77\" routingType=\"1\"/></SASPhy>");

    modeltest::Parsed in(doc);
    ASSERT_TRUE(in.startOf("SASPhy"));
    SASPhy read(in.parser);
    EXPECT_EQ(read.getPhyID(), STORID_UNDEFINED);
    EXPECT_STREQ(read.getSASAddress(), "5000C500AABBCCDD");
    EXPECT_STREQ(read.getAttachedSASaddress(), "5000C50012345678");
    EXPECT_EQ(read.getPathTimeout(), 9);
    EXPECT_EQ(read.getRoutingType(), SAS_ROUTE_TABLE);
    EXPECT_TRUE(read.isVirtualPhy());
    read.getAddr2().setSASPhyID(3);
    EXPECT_TRUE(read == *written);
    EXPECT_TRUE(in.rest().empty());
    delete written;
}

TEST(SASPhy, AbsentAttributesReadAsZero)
{
    modeltest::Parsed in("<SASPhy SASaddress=\"1234\"/>");
    ASSERT_TRUE(in.startOf("SASPhy"));
    SASPhy read(in.parser);
    EXPECT_STREQ(read.getSASAddress(), "1234");
    EXPECT_FALSE(read.isVirtualPhy());
    EXPECT_EQ(read.getRoutingType(), SAS_ROUTE_DIRECT);
    EXPECT_EQ(read.getAttachedPhyID(), 0u);
}

TEST(SASConnector, NewConnectorWritesUndefinedNumbers)
{
    SASConnector c;
    const std::string base = " typeName=\"SASConnector\" attachmentType=\"none\"";
    const std::string fields = " laneID=\"2147483647\" SASaddress=\"\" phyID=\"2147483647\""
                               " connectorID=\"2147483647\" connectorType=\"2147483647\" connectorName=\"\"";
    EXPECT_EQ(modeltest::attributesText(c),
              base + " channelID=\"2147483647\" deviceID=\"2147483647\"" + fields);

    // An id in the address is written twice: from the address, then the field.
    c.getAddr2().setChannelID(1);
    c.channelID = 2;
    EXPECT_EQ(modeltest::attributesText(c),
              base + " channelID=\"1\" channelID=\"2\" deviceID=\"2147483647\"" + fields);
    EXPECT_EQ(c.getChannelID(), 2);
}
