#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RaidLib/StorLib.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/SCSIChannel.h"
#include "RaidModel/Interface/System.h"
#include "RaidModel/ModelTestUtil.h"

using modeltest::TestSystem;

namespace {

Adapter* controller(EnumAdapterType model, STORID_T id)
{
    Adapter* a = new Adapter();
    a->setAdapterType(model);
    a->getAddr2().setAdapterID(id);
    return a;
}

std::vector<STORID_T> adapterIds(const System& s)
{
    std::vector<STORID_T> ids;
    for (unsigned long i = 0; i < s.getNumAdapters(); ++i)
        ids.push_back(s.getAdapter(i)->getAdapterID());
    return ids;
}

} // namespace

// Library types 7, 5, 7, 5 (ids 0..3) are listed 5, 5, 7, 7; each pair in
// arrival order; the document keeps arrival order.
TEST(System, ControllersAreListedByLibraryTypeInArrivalOrder)
{
    TestSystem system;
    system.addChild(controller(PELM, 0));
    system.addChild(controller(TARNELL_B1, 1));
    system.addChild(new SCSIChannel(nullptr, 9, 7, SPEED_SCSI320));
    // A controller added below another node still counts.
    Adapter* pelm = controller(PELM, 2);
    system.getChild(2)->addChild(pelm);
    system.addChild(controller(TARNELL_FAMILY, 3), 0);

    EXPECT_EQ(adapterIds(system), (std::vector<STORID_T>{1, 3, 0, 2}));
    EXPECT_EQ(system.getAdapter(system.getNumAdapters()), nullptr);

    const std::string doc = modeltest::treeText(system);
    EXPECT_EQ(doc.substr(0, doc.find('\n')), "<System typeName=\"System\" attachmentType=\"none\">");
    std::vector<std::string> order;
    for (size_t at = doc.find("controllerID=\""); at != std::string::npos;
         at = doc.find("controllerID=\"", at + 1))
        order.push_back(doc.substr(at + 14, 1));
    EXPECT_EQ(order, (std::vector<std::string>{"3", "0", "1", "2"}));

    system.DeleteAdapters(STORLIB_TARNELL);
    EXPECT_EQ(adapterIds(system), (std::vector<STORID_T>{0, 2}));
    EXPECT_EQ(system.getNumChildren(), 2u);
    // A controller that is no child of the system leaves the list only.
    system.DeleteAdapters(STORLIB_PELM);
    EXPECT_EQ(system.getNumAdapters(), 0u);
    EXPECT_EQ(system.getNumChildren(), 1u);
    EXPECT_EQ(system.getChild(0)->getNumChildren(), 1u);
}

TEST(System, ProxyReceivesTheChildren)
{
    TestSystem proxy(STORLIB_PELM);
    TestSystem system;
    system.setProxySystem(&proxy);
    system.addChild(controller(TARNELL_B1, 4));
    EXPECT_EQ(system.getNumChildren(), 0u);
    EXPECT_EQ(system.getNumAdapters(), 0u);
    ASSERT_EQ(proxy.getNumAdapters(), 1u);
    EXPECT_EQ(proxy.getAdapter(0)->getParent(), &proxy);

    Ret ret;
    EXPECT_EQ(system.getControllerCount(nullptr, ret), 0u);
    EXPECT_EQ(ret.getReturn(), -1);
    EXPECT_FALSE(system == proxy);
    EXPECT_TRUE(system != system);
}

// Elements of other names are not skipped as units: a controller inside one
// still belongs to the system. Reading stops at the system's end.
TEST(System, ControllerNestedInAForeignElementStillCounts)
{
    TestSystem system;
    modeltest::Parsed in(
        "<System typeName=\"System\" storlibType=\"5\">\n"
        "  <Controller typeName=\"Adapter\" storlibType=\"7\" controllerID=\"0\">"
        "<Channel typeName=\"SCSIChannel\"/></Controller>\n"
        "  <Other><Controller typeName=\"Adapter\" storlibType=\"5\" controllerID=\"1\"/></Other>\n"
        "  <Controller typeName=\"Adapter\" storlibType=\"5\" controllerID=\"2\"></Controller>\n"
        "</System>\n<Controller controllerID=\"3\"/>");
    system.buildChildren(in.parser);
    EXPECT_EQ(system.getNumChildren(), 3u);
    EXPECT_EQ(adapterIds(system), (std::vector<STORID_T>{1, 2, 0}));
    // The system's own attributes are collected, not interpreted.
    EXPECT_EQ(system.getStorLibType(), STORLIB_UNKNOWN);
    EXPECT_EQ(in.rest(), (std::vector<std::string>{"3 Controller controllerID=3", "12 Controller"}));

    TestSystem empty;
    modeltest::Parsed selfClosed("<System typeName=\"System\"/><Controller/>");
    empty.buildChildren(selfClosed.parser);
    EXPECT_EQ(empty.getNumChildren(), 0u);
}

TEST(RefSystem, LastReleaseDeletesTheTree)
{
    const uint32_t before = globalRaidObjectCounter;
    TestSystem* system = new TestSystem();
    Adapter* adapter = controller(TARNELL_B1, 0);
    system->addChild(adapter);
    adapter->addChild(new SCSIChannel(adapter, 0, 7, SPEED_SCSI320));
    EXPECT_EQ(globalRaidObjectCounter, before + 3);
    {
        RefSystem current(system);
        RefSystem client;
        client = current;
        EXPECT_EQ(client.getSystem(), system);
        current.Set(system); // the same system: no change of the count
        current.Release();
        current.Release(); // an empty holder gives up nothing
        EXPECT_TRUE(!current);
        EXPECT_EQ(globalRaidObjectCounter, before + 3);
        RefSystem copy(client);
        copy.Set(nullptr);
        EXPECT_EQ(globalRaidObjectCounter, before + 3);
        EXPECT_EQ(client->getNumAdapters(), 1u);
    }
    EXPECT_EQ(globalRaidObjectCounter, before);

    RefSystem empty;
    RefSystem copyOfEmpty(empty);
    EXPECT_EQ(copyOfEmpty.GetSystem(), nullptr);
}
