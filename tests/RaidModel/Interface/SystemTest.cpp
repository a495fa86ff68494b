#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "RaidLib/StorLib.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/LogicalDrive.h"
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

const STORID_T U = STORID_UNDEFINED;
const BLOCK_T UC = BLOCK_UNDEFINED;

RaidObject* objectAt(RaidObject* parent, const Addr& a)
{
    RaidObject* o = new RaidObject();
    o->getAddr() = a;
    parent->addChild(o);
    return o;
}

// Asks the system's indexed lookups and the searches of RaidObject for each
// address, three times, so that the index is built and then answers.
void expectSearchAnswers(System& system, const std::vector<Addr>& addresses)
{
    for (int round = 0; round < 3; ++round) {
        for (const Addr& a : addresses) {
            const std::string where = std::to_string(a.getAdapterID()) + "/" + std::to_string(a.getLogicalDriveID()) +
                                      "/" + std::to_string(a.getDeviceID()) + " round " + std::to_string(round);
            EXPECT_EQ(system.findObject(a), system.getObject(a)) << where;
            EXPECT_EQ(system.findChild(a), system.getChild(a, true)) << where;
        }
    }
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

// The indexed lookups answer what the searches answer, in whatever order the
// two searches meet an address twice, and follow the tree when it changes.
TEST(System, IndexedLookupsAnswerAsTheSearches)
{
    TestSystem system;
    const Addr twice(4, U, U, 1, 3, UC, U, U);
    Adapter* four = controller(TARNELL_B1, 4);
    system.addChild(four);
    // getObject meets the deep one first, getChild(a, true) the nearer one.
    RaidObject* deep = objectAt(objectAt(four, Addr(4, U, U, 1, U, UC, U, U)), twice);
    RaidObject* near = objectAt(four, twice);
    four->addChild(new LogicalDrive(four, 2));
    Adapter* five = controller(TARNELL_B1, 5);
    system.addChild(five);
    // A logical drive matches by its controller, wherever it stands; one
    // without a controller matches nothing.
    five->addChild(new LogicalDrive(four, 7));
    five->addChild(new LogicalDrive(four, 2));
    LogicalDrive* loose = new LogicalDrive(nullptr, 3);
    loose->getAddr2().setAdapterID(5);
    five->addChild(loose);
    objectAt(five, Addr(4));

    std::vector<Addr> addresses = {twice, Addr(4), Addr(5), Addr(9), Addr(), Addr(4, U, 2, U, U, UC, U, U),
                                   Addr(4, U, 7, U, U, UC, U, U), Addr(5, U, 3, U, U, UC, U, U),
                                   Addr(4, U, U, 1, U, UC, U, U)};
    expectSearchAnswers(system, addresses);
    EXPECT_EQ(system.findObject(twice), deep);
    EXPECT_EQ(system.findChild(twice), near);

    // An object added ahead of the others, one deleted with its subtree, an
    // address changed in place: the answers follow.
    RaidObject* ahead = new RaidObject();
    ahead->getAddr() = twice;
    system.addChild(ahead, 0);
    expectSearchAnswers(system, addresses);
    EXPECT_EQ(system.findChild(twice), ahead);
    system.deleteChild(ahead);
    four->deleteChild(deep->getParent());
    expectSearchAnswers(system, addresses);
    near->getAddr().setDeviceID(8);
    addresses.push_back(near->getAddr());
    expectSearchAnswers(system, addresses);

    // Lookups from several threads at once.
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 50; ++i)
                for (const Addr& a : addresses) {
                    system.findObject(a);
                    system.findChild(a);
                }
        });
    for (std::thread& t : threads)
        t.join();
    system.deleteAllChildren();
    expectSearchAnswers(system, addresses);
}

// A lookup from a node through its system's index answers what that node's
// own search answers: also where the system meets the address first outside
// the node's subtree, for logical drives (looked for from the root), and for
// a node in no system's tree.
TEST(System, LookupsFromANodeAnswerAsItsSearch)
{
    TestSystem system;
    const Addr drive(4, U, U, 1, 3, UC, U, U);
    Adapter* four = controller(TARNELL_B1, 4);
    system.addChild(four);
    RaidObject* channel = objectAt(four, Addr(4, U, U, 1, U, UC, U, U));
    objectAt(channel, drive);
    four->addChild(new LogicalDrive(four, 2));
    // A node outside the adapter with other objects at the same addresses,
    // which the system meets after the adapter's.
    RaidObject* group = objectAt(&system, Addr(8));
    RaidObject* second = objectAt(group, drive);
    objectAt(group, Addr(4));
    objectAt(group, Addr(4, U, 7, U, U, UC, U, U));
    group->addChild(new LogicalDrive(four, 5));

    const Addr addresses[] = {Addr(4), Addr(8), Addr(9), drive, Addr(4, U, U, 1, U, UC, U, U),
                              Addr(4, U, 2, U, U, UC, U, U), Addr(4, U, 5, U, U, UC, U, U),
                              Addr(4, U, 7, U, U, UC, U, U)};
    RaidObject* const nodes[] = {&system, four, channel, group};
    for (int round = 0; round < 3; ++round)
        for (RaidObject* from : nodes)
            for (const Addr& a : addresses)
                EXPECT_EQ(System::findObjectFrom(from, a), from->getObject(a))
                    << a.getAdapterID() << "/" << a.getLogicalDriveID() << "/" << a.getDeviceID() << " round "
                    << round;
    EXPECT_EQ(second, System::findObjectFrom(group, drive));
    EXPECT_EQ(nullptr, System::findObjectFrom(channel, Addr(4)));

    RaidObject loose;
    RaidObject* child = objectAt(&loose, Addr(7));
    EXPECT_EQ(child, System::findObjectFrom(&loose, Addr(7)));
    EXPECT_EQ(nullptr, System::findObjectFrom(nullptr, Addr(7)));
    loose.deleteAllChildren();
    system.deleteAllChildren();
}
