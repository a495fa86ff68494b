#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/LogicalDrive.h"
#include "RaidModel/Interface/RaidObject.h"
#include "RaidModel/Serialization/XMLWriter.h"

namespace {

const STORID_T U = STORID_UNDEFINED;
const BLOCK_T UC = BLOCK_UNDEFINED;

std::vector<std::string> events;

// A named node of a given class that logs what the tree does to it.
class TNode : public RaidObject {
public:
    explicit TNode(const char* name, const char* kind = "TNode") : name_(name), kind_(kind) {}
    ~TNode() override { events.push_back("delete " + name_); }

    bool isInstanceOf(const char* className) const override
    {
        return (className && strcmp(className, kind_) == 0) || RaidObject::isInstanceOf(className);
    }
    const char* typeName() const override { return kind_; }
    void descendantAdded(RaidObject* d) override
    {
        events.push_back(name_ + " <- " + static_cast<TNode*>(d)->name_);
    }

    TNode* add(TNode* child)
    {
        addChild(child);
        return child;
    }
    void setAddr(const Addr& a) { myAddr2 = a; }
    XmlAttributeList_C& attributes() { return attribList; }

    const std::string name_;

private:
    const char* kind_;
};

class RaidObjectTest : public ::testing::Test {
protected:
    void SetUp() override { events.clear(); }
};

} // namespace

TEST_F(RaidObjectTest, AddedSubtreeIsAnnouncedToEveryAncestorOfTheInsertionPoint)
{
    TNode root("root");
    TNode* mid = root.add(new TNode("mid"));
    TNode* leaf = mid->add(new TNode("leaf"));

    TNode* c = new TNode("c");
    TNode* c1 = c->add(new TNode("c1"));
    c1->add(new TNode("c11"));
    c->add(new TNode("c2"));
    events.clear();

    leaf->addChild(c);
    const std::vector<std::string> expected = {
        "leaf <- c",   "mid <- c",   "root <- c",   "leaf <- c1", "mid <- c1",
        "root <- c1",  "leaf <- c11", "mid <- c11", "root <- c11", "leaf <- c2",
        "mid <- c2",   "root <- c2",
    };
    EXPECT_EQ(events, expected);
    EXPECT_EQ(c->getParent(), leaf);
    EXPECT_EQ(c->getRoot(), &root);
    root.deleteAllChildren();
}

TEST_F(RaidObjectTest, AddChildAtIndex)
{
    TNode root("root");
    TNode* a = root.add(new TNode("a"));
    TNode* b = new TNode("b");
    TNode* c = new TNode("c");
    root.addChild(b, 0);
    root.addChild(c, 7);
    root.addChild(nullptr);
    ASSERT_EQ(root.getChildCount(), 3u);
    EXPECT_EQ(root.getChild(0), b);
    EXPECT_EQ(root.getChild(1), a);
    EXPECT_EQ(root.getChild(2), c);
    EXPECT_EQ(root.getChild(-1), nullptr);
    EXPECT_EQ(root.getChild(3), nullptr);
    EXPECT_EQ(b->getParent(), &root);
    root.deleteAllChildren();
}

TEST_F(RaidObjectTest, DeleteAllChildrenDeletesBottomUpAndCounts)
{
    const uint32_t before = globalRaidObjectCounter;
    TNode root("root");
    TNode* a = root.add(new TNode("a"));
    a->add(new TNode("a1"));
    a->add(new TNode("a2"));
    root.add(new TNode("b"));
    EXPECT_EQ(globalRaidObjectCounter, before + 5);

    events.clear();
    root.deleteAllChildren();
    EXPECT_EQ(events, (std::vector<std::string>{"delete a1", "delete a2", "delete a", "delete b"}));
    EXPECT_EQ(root.getChildCount(), 0u);
    EXPECT_EQ(globalRaidObjectCounter, before + 1);

    // The destructor alone leaves the children alive.
    TNode* lone = new TNode("lone");
    TNode* kept = lone->add(new TNode("kept"));
    delete lone;
    EXPECT_EQ(globalRaidObjectCounter, before + 2);
    delete kept;
    EXPECT_EQ(globalRaidObjectCounter, before + 1);
}

TEST_F(RaidObjectTest, DeleteChild)
{
    const uint32_t before = globalRaidObjectCounter;
    TNode root("root");
    TNode* a = root.add(new TNode("a"));
    a->add(new TNode("a1"));
    TNode* b = root.add(new TNode("b"));
    TNode stranger("stranger");
    root.deleteChild(&stranger);
    EXPECT_EQ(root.getChildCount(), 2u);
    root.deleteChild(a);
    ASSERT_EQ(root.getChildCount(), 1u);
    EXPECT_EQ(root.getChild(0), b);
    EXPECT_EQ(globalRaidObjectCounter, before + 3);
    root.deleteAllChildren();
}

// A copy is a new node: sharing the children would give them two owners.
TEST_F(RaidObjectTest, CopyAndAssignmentLeaveTreeLinksAlone)
{
    const uint32_t before = globalRaidObjectCounter;
    TNode root("root");
    TNode* a = root.add(new TNode("a"));
    TNode* a1 = a->add(new TNode("a1"));
    a->setAddr(Addr(1));

    RaidObject copy(*a);
    EXPECT_EQ(copy.getParent(), nullptr);
    EXPECT_EQ(copy.getChildCount(), 0u);
    EXPECT_EQ(copy.getAddr2(), Addr2());
    EXPECT_EQ(globalRaidObjectCounter, before + 4);

    RaidObject other;
    TNode* o1 = new TNode("o1");
    other.addChild(o1);
    other = *a;
    ASSERT_EQ(other.getChildCount(), 1u);
    EXPECT_EQ(other.getChild(0), o1);
    static_cast<RaidObject&>(*a) = other;
    ASSERT_EQ(a->getChildCount(), 1u);
    EXPECT_EQ(a->getChild(0), a1);
    EXPECT_EQ(a->getParent(), &root);

    other.deleteAllChildren();
    root.deleteAllChildren();
    EXPECT_EQ(globalRaidObjectCounter, before + 3);
}

TEST_F(RaidObjectTest, ClassNamesAndGetChildren)
{
    TNode root("root");
    TNode* c0 = root.add(new TNode("c0", "Channel"));
    TNode* d = c0->add(new TNode("d", "HardDrive"));
    TNode* c1 = d->add(new TNode("c1", "Channel"));
    TNode* c2 = root.add(new TNode("c2", "Channel"));

    EXPECT_TRUE(c0->isInstanceOf("Channel"));
    EXPECT_TRUE(c0->isInstanceOf("RaidObject"));
    EXPECT_TRUE(c0->isInstanceOf("Serializable"));
    EXPECT_FALSE(c0->isInstanceOf("channel"));
    EXPECT_FALSE(c0->isInstanceOf(nullptr));

    std::vector<RaidObject*> out;
    root.getChildren(out, "Channel", false, false);
    EXPECT_EQ(out, (std::vector<RaidObject*>{c0, c2}));
    out.clear();
    root.getChildren(out, "Channel", true, true);
    EXPECT_EQ(out, (std::vector<RaidObject*>{c0, c1, c2}));
    root.getChildren(out, "Channel", true, true);
    EXPECT_EQ(out.size(), 3u);
    out.clear();
    root.getChildren(out, true, false);
    EXPECT_EQ(out, (std::vector<RaidObject*>{c0, d, c1, c2}));
    out.clear();
    root.getChildren(out, static_cast<const char*>(nullptr), true, false);
    EXPECT_TRUE(out.empty());

    EXPECT_TRUE(c1->hasAncestor(&root));
    EXPECT_TRUE(c1->hasAncestor(nullptr));
    EXPECT_FALSE(c2->hasAncestor(c0));
    EXPECT_TRUE(c0->isAncestorOf(c1));
    EXPECT_FALSE(c0->isAncestorOf(nullptr));
    root.deleteAllChildren();
}

// Long lists keep the same rule: below the first level a pointer already in
// the list, from an earlier call or this one, is not added again.
TEST_F(RaidObjectTest, GetChildrenSkipsListedObjectsInLongLists)
{
    TNode root("root");
    std::vector<RaidObject*> preOrder;
    for (int i = 0; i < 40; ++i) {
        TNode* outer = root.add(new TNode("outer", "Channel"));
        preOrder.push_back(outer);
        preOrder.push_back(outer->add(new TNode("inner", "Channel")));
    }
    std::vector<RaidObject*> out;
    root.getChildren(out, "Channel", true, true);
    EXPECT_EQ(out, preOrder);
    root.getChildren(out, "Channel", true, true);
    EXPECT_EQ(out, preOrder);
    // The first level is checked only when asked; the inner channels are
    // skipped all the same.
    root.getChildren(out, "Channel", true, false);
    ASSERT_EQ(out.size(), 120u);
    for (size_t i = 0; i < 40; ++i)
        EXPECT_EQ(out[80 + i], preOrder[2 * i]);
    root.deleteAllChildren();
}

TEST_F(RaidObjectTest, GetChildByAddressPrefersNearerAndEarlier)
{
    const Addr target(1, U, U, 2, 3, UC, U, U);
    TNode root("root");
    TNode* a = root.add(new TNode("a"));
    TNode* deepInA = a->add(new TNode("a1"))->add(new TNode("a11"));
    TNode* b = root.add(new TNode("b"));
    TNode* inB = b->add(new TNode("b1"));
    deepInA->setAddr(target);
    inB->setAddr(target);

    EXPECT_EQ(root.getChild(target, false), nullptr);
    // The first child's subtree comes before a later child's, however deep.
    EXPECT_EQ(root.getChild(target, true), deepInA);

    TNode* direct = root.add(new TNode("c"));
    direct->setAddr(target);
    EXPECT_EQ(root.getChild(target, true), direct);
    EXPECT_EQ(root.getChild(target, false), direct);

    Addr2 typed(STORLIB_TARNELL, 1, U, U, 2, 3, UC, U, U);
    EXPECT_EQ(root.getChild(typed, true), nullptr);
    inB->getAddr2().setStorLibType(STORLIB_TARNELL);
    EXPECT_EQ(root.getChild(typed, true), inB);
    root.deleteAllChildren();
}

TEST_F(RaidObjectTest, GetObject)
{
    RaidObject root;
    Adapter* ctl = new Adapter();
    root.addChild(ctl);
    ctl->getAddr2() = Addr2(STORLIB_TARNELL, 4, U, U, U, U, UC, U, U);
    LogicalDrive* ld = new LogicalDrive(ctl, 2);
    ctl->addChild(ld);
    TNode* dev = new TNode("dev");
    ctl->addChild(dev);
    dev->setAddr(Addr(4, U, U, 1, 3, UC, U, U));
    // A logical drive without a controller has none to match; one made for
    // a controller matches wherever it stands.
    LogicalDrive* loose = new LogicalDrive(nullptr, 2);
    root.addChild(loose);
    loose->getAddr2().setAdapterID(5);
    LogicalDrive* made = new LogicalDrive(ctl, 7);
    root.addChild(made);

    // From an unrelated node, whatever the address's other ids.
    EXPECT_EQ(dev->getObject(Addr(4, U, 2, U, U, UC, U, U)), ld);
    EXPECT_EQ(dev->getObject(Addr2(STORLIB_TARNELL, 4, U, 2, U, U, UC, U, U)), ld);
    EXPECT_EQ(root.getObject(Addr(5, U, 2, U, U, UC, U, U)), nullptr);
    EXPECT_EQ(root.getObject(Addr(4, U, 3, U, U, UC, U, U)), nullptr);
    EXPECT_EQ(root.getObject(Addr(4, U, 7, U, U, UC, U, U)), made);

    EXPECT_EQ(root.getObject(4, U, U, 1, 3), dev);
    EXPECT_EQ(ctl->getObject(Addr(4)), ctl);
    EXPECT_EQ(dev->getObject(Addr(4)), nullptr);
    root.deleteAllChildren();
}

TEST_F(RaidObjectTest, BaseAttributesWrittenAndRead)
{
    TNode node("n", "Chunk");
    char* doc = nullptr;
    {
        XMLWriter w(&doc);
        w.writeObject(node);
    }
    EXPECT_STREQ(doc, "<RaidObject typeName=\"Chunk\" attachmentType=\"none\"/>");

    node.setAddr(Addr(1, U, U, 2, 3, 5000000000ull, U, 0));
    node.getAddr2().setStorLibType(STORLIB_TARNELL);
    {
        XMLWriter w(&doc);
        node.writeTo(&w);
    }
    EXPECT_STREQ(doc, " typeName=\"Chunk\" attachmentType=\"none\" storlibType=\"5\" controllerID=\"1\""
                      " channelID=\"2\" deviceID=\"3\" chunkID=\"5000000000\" phyID=\"0\"");
    delete[] doc;

    const struct {
        const char* chunk;
        BLOCK_T read;
    } cases[] = {{"5000000000", 4294967295ull}, {"4000000000", 4000000000ull}};
    for (const auto& c : cases) {
        TNode read("r");
        read.attributes().Append("typeName", "Chunk");
        read.attributes().Append("storlibType", "5");
        read.attributes().Append("controllerID", "1");
        read.attributes().Append("chunkID", c.chunk);
        read.initBaseAttributes();
        EXPECT_EQ(read.getAddr2(), Addr2(STORLIB_TARNELL, 1, U, U, U, U, c.read, U, U)) << c.chunk;
    }
}
