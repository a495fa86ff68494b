#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "RaidModel/Filters/FilterCollection.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/SASChannel.h"
#include "RaidModel/Interface/SCSIChannel.h"
#include "RaidModel/Interface/TapeDrive.h"
#include "RaidModel/ModelTestUtil.h"

namespace {

// A family's drive class: a physical device that answers "HardDrive".
class FamilyDrive : public PhysicalDevice {
public:
    FamilyDrive(Channel* channel, unsigned long id)
        : PhysicalDevice(nullptr, channel, id, HARD_DRIVE, "", "", "", "", DRIVE_READY, "")
    {
    }
    bool isInstanceOf(const char* name) const override
    {
        return (name && std::strcmp(name, "HardDrive") == 0) || PhysicalDevice::isInstanceOf(name);
    }
};

class RejectAll : public RaidFilter {
public:
    explicit RejectAll(bool* deleted) : deleted_(deleted) {}
    ~RejectAll() override { *deleted_ = true; }
    bool filter(RaidObject*) override { return false; }

private:
    bool* deleted_;
};

class OnlyDevice : public RaidFilter {
public:
    explicit OnlyDevice(STORID_T id) : id_(id) {}
    bool filter(RaidObject* o) override { return o->getDeviceID() == id_; }

private:
    STORID_T id_;
};

// A system with two controllers of two channels each; each channel holds
// drives added in an order that is not the sorted one.
class FilterTree : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (STORID_T a = 0; a < 2; ++a) {
            Adapter* adapter = new Adapter();
            adapter->getAddr2().setAdapterID(9 - a);
            root.addChild(adapter);
            adapters.push_back(adapter);
        }
        // Controller 9: SCSI channel 3, SAS channel 1. Controller 8: SCSI 2, SAS 0.
        const STORID_T ids[4] = {3, 1, 2, 0};
        for (int i = 0; i < 4; ++i) {
            Channel* c = (i % 2 == 0) ? static_cast<Channel*>(new SCSIChannel(adapters[i / 2], ids[i], 7, SPEED_SCSI320))
                                      : static_cast<Channel*>(new SASChannel(adapters[i / 2], ids[i], SPEED_SAS300));
            adapters[i / 2]->addChild(c);
            channels.push_back(c);
        }
        channels[0]->addChild(new FamilyDrive(channels[0], 5));
        channels[0]->addChild(new FamilyDrive(channels[0], 1));
        channels[3]->addChild(new FamilyDrive(channels[3], 4));
        channels[3]->addChild(new TapeDrive(nullptr, channels[3], 2, "", "", "", "", ""));
        channels[1]->addChild(new FamilyDrive(channels[1], 0));
    }
    static std::vector<std::string> names(const FilterCollection& fc)
    {
        std::vector<std::string> out;
        for (unsigned long i = 0; i < fc.size(); ++i) {
            const RaidObject* o = fc.elementAt(static_cast<int>(i));
            std::string n = o->typeName();
            if (o->isInstanceOf("Adapter"))
                n += std::to_string(o->getAdapterID());
            else if (o->isInstanceOf("Channel"))
                n += std::to_string(o->getChannelID());
            else if (o->isInstanceOf("PhysicalDevice"))
                n += std::to_string(o->getChannelID()) + "." + std::to_string(o->getDeviceID());
            out.push_back(n);
        }
        return out;
    }

    modeltest::TestSystem root;
    std::vector<Adapter*> adapters;
    std::vector<Channel*> channels;
};

} // namespace

TEST_F(FilterTree, ListsTheTreeBreadthFirst)
{
    FilterCollection fc(&root);
    const std::vector<std::string> expected = {
        "System",        "Adapter9",      "Adapter8",      "SCSIChannel3",  "SASChannel1",
        "SCSIChannel2",  "SASChannel0",   "PhysicalDevice3.5", "PhysicalDevice3.1",
        "PhysicalDevice1.0", "PhysicalDevice0.4", "TapeDrive0.2",
    };
    EXPECT_EQ(names(fc), expected);
    EXPECT_EQ(fc.elementAt(-1), nullptr);
    EXPECT_EQ(fc.elementAt(static_cast<int>(fc.size())), nullptr);
}

TEST_F(FilterTree, ClassFiltersNarrowAndSort)
{
    FilterCollection fc(&root);
    EXPECT_EQ(names(fc.apply("HardDrive", true)),
              (std::vector<std::string>{"PhysicalDevice0.4", "PhysicalDevice1.0", "PhysicalDevice3.1",
                                        "PhysicalDevice3.5"}));
    EXPECT_EQ(names(fc.resetFilters().apply("Channel", false)),
              (std::vector<std::string>{"SCSIChannel3", "SASChannel1", "SCSIChannel2", "SASChannel0"}));
    // Two filters intersect.
    EXPECT_EQ(names(fc.apply("SCSIChannel", true)),
              (std::vector<std::string>{"SCSIChannel2", "SCSIChannel3"}));
    // No ordering belongs to "SASChannel": tree order stays.
    EXPECT_EQ(names(fc.resetFilters().apply("SASChannel", true)),
              (std::vector<std::string>{"SASChannel1", "SASChannel0"}));
    EXPECT_EQ(names(fc.resetFilters().apply("Adapter", true)),
              (std::vector<std::string>{"Adapter8", "Adapter9"}));
    EXPECT_EQ(fc.resetFilters().apply("Nothing", true).size(), 0u);
}

TEST_F(FilterTree, PredicateFiltersAreDeletedAfterUse)
{
    FilterCollection fc(&root);
    EXPECT_EQ(names(fc.apply(new OnlyDevice(2))), (std::vector<std::string>{"TapeDrive0.2"}));
    bool deleted = false;
    EXPECT_EQ(fc.resetFilters().apply(new RejectAll(&deleted)).size(), 0u);
    EXPECT_TRUE(deleted);
}

// firstOf answers the first object a collection over the same root keeps
// after the class filter that the test accepts, the root included.
TEST_F(FilterTree, FirstOfIsTheCollectionsFirstMatch)
{
    const auto channelIs = [](STORID_T id) {
        return [id](RaidObject* o) { return o->getChannelID() == id; };
    };
    const auto any = [](RaidObject*) { return true; };
    struct Case {
        RaidObject* root;
        const char* className;
        std::function<bool(RaidObject*)> test;
    };
    const Case cases[] = {
        {&root, "Channel", channelIs(2)},   {&root, "Channel", channelIs(7)},  {&root, "HardDrive", channelIs(3)},
        {&root, "PhysicalDevice", any},     {&root, "System", any},            {adapters[1], "Channel", any},
        {adapters[1], "Adapter", any},      {channels[3], "HardDrive", any},   {&root, "Nothing", any},
        {nullptr, "Channel", any},
    };
    for (const Case& c : cases) {
        FilterCollection fc(c.root);
        fc.apply(c.className, false);
        RaidObject* expected = nullptr;
        for (unsigned long i = 0; i < fc.size() && !expected; ++i)
            if (c.test(fc.elementAt(static_cast<int>(i))))
                expected = fc.elementAt(static_cast<int>(i));
        EXPECT_EQ(FilterCollection::firstOf(c.root, c.className, c.test), expected) << c.className;
    }
    EXPECT_EQ(FilterCollection::firstOf(&root, "Channel", channelIs(2)), channels[2]);
}

TEST(FilterCollection, LoneOrMissingRoot)
{
    TapeDrive lone;
    FilterCollection fc(&lone);
    EXPECT_EQ(fc.size(), 1u);
    EXPECT_EQ(fc.apply("TapeDrive", false).size(), 1u);
    EXPECT_EQ(fc.apply("Adapter", false).size(), 0u);

    FilterCollection none(nullptr);
    EXPECT_EQ(none.size(), 0u);
    EXPECT_EQ(none.resetFilters().apply("RaidObject", true).size(), 0u);
    EXPECT_EQ(none.elementAt(0), nullptr);
}

TEST(FilterCollection, DebugLinesOnStandardError)
{
    TapeDrive lone;
    universalDebugFlag = 0x30;
    testing::internal::CaptureStderr();
    {
        FilterCollection fc(&lone);
        fc.apply("TapeDrive", false);
        fc.elementAt(0);
    }
    const std::string err = testing::internal::GetCapturedStderr();
    universalDebugFlag = 0;
    EXPECT_EQ(err, "Constructing FilterCollection\n"
                   "FilterCollection::resetFilters()\n"
                   "FilterCollection::repackResultSet\n"
                   "FilterCollection::apply(TapeDrive)\n"
                   "FilterCollection::repackResultSet\n"
                   "FilterCollection::elementAt(0)\n"
                   "Destructing FilterCollection\n");
}
