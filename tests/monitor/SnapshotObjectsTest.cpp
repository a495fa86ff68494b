// The snapshot classes themselves: their class names and elements, the
// SAF-TE readings of a stored enclosure with their bounds, the copies of a
// controller's logical drives and of the task list.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "RaidLib/Util/SafteConfig.h"
#include "RaidLib/Util/SafteStatus.h"
#include "RaidModel/Interface/BasicArray.h"
#include "RaidModel/Interface/BasicLogicalDrive.h"
#include "RaidModel/Interface/Config.h"
#include "RaidModel/ModelTestUtil.h"
#include "SnapshotTestUtil.h"
#include "monitor/NRMAdapter.h"
#include "monitor/NRMChannel.h"
#include "monitor/NRMEnclosure.h"
#include "monitor/NRMHardDrive.h"
#include "monitor/NRMLogicalDrive.h"
#include "monitor/NRMProgress.h"
#include "monitor/NRMSASPhy.h"
#include "monitor/NRMSES2Enclosure.h"
#include "monitor/NRMSystem.h"

using namespace snapshottest;
using modeltest::treeText;

namespace {

struct TreeDeleter {
    void operator()(RaidObject* o) const
    {
        o->deleteAllChildren();
        delete o;
    }
};
using Tree = std::unique_ptr<RaidObject, TreeDeleter>;

TEST(SnapshotObjects, ClassNamesAndElements)
{
    struct Names {
        Tree object;
        std::vector<const char*> is;
        std::vector<const char*> isNot;
        const char* typeName;
        const char* element;
    };
    Names names[] = {
        {Tree(new NRMSystem(STORLIB_UNKNOWN)), {"NRMSystem", "System", "RaidObject"}, {"Adapter"}, "System", "System"},
        {Tree(new NRMAdapter()), {"NRMAdapter", "Adapter", "RaidObject"}, {"System"}, "Adapter", "Controller"},
        {Tree(new NRMChannel(nullptr)), {"NRMChannel", "Channel"}, {"SCSIChannel"}, "Channel", "Channel"},
        {Tree(new NRMHardDrive(nullptr, nullptr)), {"NRMHardDrive", "HardDrive", "PhysicalDevice"}, {"Enclosure"},
         "HardDrive", "HardDrive"},
        {Tree(new NRMEnclosure(nullptr, nullptr)), {"NRMEnclosure", "Enclosure", "PhysicalDevice"}, {"HardDrive"},
         "Enclosure", "Enclosure"},
        {Tree(new NRMSafteConfig()), {"NRMSafteConfig"}, {"SafteConfig", "RaidObject"}, "RaidObject", "SafteConfig"},
        {Tree(new NRMSafteStatus()), {"NRMSafteStatus"}, {"SafteStatus", "RaidObject"}, "RaidObject", "SafteStatus"},
        {Tree(new NRMLogicalDrive(nullptr)), {"NRMLogicalDrive", "LogicalDrive", "RaidObject"}, {"Array"},
         "LogicalDrive", "LogicalDrive"},
        {Tree(new NRMProgress()), {"Progress"}, {"NRMProgress", "RaidObject"}, "Progress", "Progress"},
        {Tree(new NRMProgressCollection()), {"ProgressCollection"}, {"NRMProgressCollection", "RaidObject"},
         "ProgressCollection", "ProgressCollection"},
#ifndef MONITOR_WITHOUT_SES2
        {Tree(new NRMSES2Enclosure(nullptr, nullptr)), {"NRMSES2Enclosure", "SES2EnclosureDevice", "PhysicalDevice"},
         {"Enclosure"}, "SES2EnclosureDevice", "SESEnclosureDevice"},
        {Tree(new NRMSESElement()), {"NRMSESElement", "SESElement"}, {"RaidObject", "SESDevice"}, "SESElement",
         "SESElement"},
        {Tree(new NRMSASPhy()), {"NRMSASPhy", "SASPhy", "RaidObject"}, {"PhysicalDevice"}, "SASPhy", "SASPhy"},
#endif
    };
    for (const Names& n : names) {
        SCOPED_TRACE(n.element);
        for (const char* name : n.is)
            EXPECT_TRUE(n.object->isInstanceOf(name)) << name;
        for (const char* name : n.isNot)
            EXPECT_FALSE(n.object->isInstanceOf(name)) << name;
        EXPECT_FALSE(n.object->isInstanceOf(nullptr));
        EXPECT_STREQ(n.object->typeName(), n.typeName);
        EXPECT_STREQ(n.object->serializedName(), n.element);
    }

    // A snapshot root is never read from a storage library.
    NRMSystem root(STORLIB_UNKNOWN);
    Ret ret(Ret::SUCCESS);
    root.buildChildren(nullptr, ret);
    EXPECT_EQ(root.getNumChildren(), 0u);
    EXPECT_EQ(root.getControllerCount(nullptr, ret), 0u);
}

// A live enclosure with the SAF-TE records the test chooses.
class LiveEnclosure : public Enclosure {
public:
    LiveEnclosure(bool valid, bool withConfig, bool withStatus)
        : Enclosure(nullptr, nullptr, 15, "V", "SAFTE-14", "S", "1.10", DRIVE_READY, "R")
    {
        safteDataValid = valid;
        if (withConfig) {
            safteConfig = new SafteConfig();
            safteConfig->setFanCount(3);
            safteConfig->setPowerSupplyCount(2);
            safteConfig->setDeviceSlotCount(6);
        }
        if (withStatus) {
            safteStatus = new SafteStatus();
            safteStatus->ucFanStatus[1] = KRNA_SAFTE_FAN_STATUS_MALFUNCTIONING;
            safteStatus->ucFanStatus[31] = KRNA_SAFTE_FAN_STATUS_NOT_INSTALLED;
            safteStatus->ucPowerSupplyStatus[0] = KRNA_SAFTE_POWER_SUPPLY_STATUS_OPERATIONAL_ON;
            safteStatus->ucSlotScsiId[0] = 4;
            safteStatus->ucSlotScsiId[63] = 9;
            safteStatus->ucTempOutOfRangeFlag2 = 0x10;
        }
    }
};

// What the SAF-TE accessors of a stored enclosure answer, at and beyond
// their bounds.
std::string readings(const NRMEnclosure& e)
{
    std::string s = std::to_string(e.getFanCount()) + " " + std::to_string(e.getPowerSupplyCount()) + " " +
                    std::to_string(e.isTempOutOfRange()) + " |";
    for (unsigned short n : {0, 1, 31, 32, 65535})
        s += " " + std::to_string(e.getFanStatus(n)) + "/" + std::to_string(e.getPowerSupplyStatus(n));
    s += " |";
    for (int slot : {-1, 0, 1, 63, 64})
        s += " " + std::to_string(e.getDeviceIDFromSlotNumber(slot));
    s += " |";
    for (int id : {4, 9, 255, -1})
        s += " " + std::to_string(e.getSlotNumberFromDeviceID(id));
    return s;
}

TEST(SnapshotObjects, SafteReadingsOfAStoredEnclosure)
{
    const std::string none = "0 0 0 | 128/128 128/128 128/128 128/128 128/128 | 2147483647 2147483647 2147483647 "
                             "2147483647 2147483647 | 2147483647 2147483647 2147483647 2147483647";
    struct Case {
        bool valid, withConfig, withStatus;
        bool stored;
        unsigned long children;
        std::string readings;
    };
    const Case cases[] = {
        {true, true, true, true, 2,
         "3 2 1 | 128/0 1/128 2/128 128/128 128/128 | 2147483647 4 255 9 2147483647 | 0 63 1 2147483647"},
        {false, true, true, false, 0, none},
        {true, true, false, false, 1, none},
        {true, false, true, false, 1, none},
        {true, false, false, false, 0, none},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.valid) + std::to_string(c.withConfig) + std::to_string(c.withStatus));
        LiveEnclosure live(c.valid, c.withConfig, c.withStatus);
        Tree tree(new NRMEnclosure(nullptr, nullptr));
        auto* e = static_cast<NRMEnclosure*>(tree.get());
        e->build(&live);
        EXPECT_EQ(e->nrmSafteDataValid, c.stored);
        EXPECT_FALSE(e->isSafteDataValid());
        EXPECT_EQ(e->getNumChildren(), c.children);
        EXPECT_EQ(readings(*e), c.readings);

        // A copy holds copies of the records, and no children.
        NRMEnclosure copy(*e);
        EXPECT_EQ(copy.nrmSafteDataValid, c.stored);
        EXPECT_EQ(copy.getNumChildren(), 0u);
        EXPECT_EQ(readings(copy), c.readings);
        if (c.stored) {
            EXPECT_NE(copy.nrmSafteConfig, e->nrmSafteConfig);
            EXPECT_NE(copy.nrmSafteStatus, e->nrmSafteStatus);
        } else {
            EXPECT_EQ(copy.nrmSafteConfig, nullptr);
            EXPECT_EQ(copy.nrmSafteStatus, nullptr);
        }
    }

    // The status record answers the same bounds itself.
    NRMSafteStatus fresh;
    EXPECT_EQ(fresh.getFanStatus(0), 0x80);
    EXPECT_EQ(fresh.getPowerSupplyStatus(31), 0x80);
    EXPECT_EQ(fresh.getDeviceIDFromSlotNumber(0), 0xFFu);
    EXPECT_EQ(fresh.getDeviceIDFromSlotNumber(64), NRMSafteStatus::NO_SLOT);
    EXPECT_EQ(fresh.getDeviceIDFromSlotNumber(-1), NRMSafteStatus::NO_SLOT);
    EXPECT_EQ(fresh.getSlotNumberFromDeviceID(0), NRMSafteStatus::NO_SLOT);
    EXPECT_FALSE(fresh.isTempOutOfRange());
    fresh.fanStatus[31] = 1;
    fresh.tempFlags1 = 1;
    EXPECT_EQ(fresh.getFanStatus(31), 1);
    EXPECT_EQ(fresh.getFanStatus(32), 0x80);
    EXPECT_TRUE(fresh.isTempOutOfRange());
}

// Logical drives below a "Config", at every level, give the same controller
// snapshot as the same drives held directly.
TEST(SnapshotObjects, LogicalDrivesBelowConfigAreFlattened)
{
    auto drive = [](Adapter* a, Array* array, unsigned long id, EnumLogicalDeviceState state) {
        return new BasicLogicalDrive(a, array, id, state, RAID1, 1000, 1000, id == 2, LD_CACHE_DISABLED, false,
                                     false);
    };
    Tree configured(new Adapter());
    auto* a = static_cast<Adapter*>(configured.get());
    a->getAddr2().setAdapterID(3);
    auto* config = new Config(0);
    a->addChild(config);
    auto* array0 = new BasicArray(a, 0, 0, 0);
    auto* array1 = new BasicArray(a, 1, 0, 0);
    config->addChild(array0);
    config->addChild(array1);
    LogicalDrive* spanning = drive(a, array0, 0, OKAY);
    array0->addChild(spanning);
    spanning->addChild(drive(a, array0, 1, CRITICAL));
    array1->addChild(drive(a, array1, 2, OFFLINE));

    Tree direct(new Adapter());
    auto* b = static_cast<Adapter*>(direct.get());
    b->getAddr2().setAdapterID(3);
    const EnumLogicalDeviceState states[] = {OKAY, CRITICAL, OFFLINE};
    for (unsigned long id = 0; id < 3; ++id) {
        LogicalDrive* l = drive(b, nullptr, id, states[id]);
        l->getAddr2().setArrayID(id == 2 ? 1 : 0);
        b->addChild(l);
    }

    Tree fromConfig(new NRMAdapter());
    Tree fromDirect(new NRMAdapter());
    static_cast<NRMAdapter*>(fromConfig.get())->build(a);
    static_cast<NRMAdapter*>(fromDirect.get())->build(b);
    EXPECT_EQ(treeText(*fromConfig), treeText(*fromDirect));

    auto* snapshot = static_cast<NRMAdapter*>(fromConfig.get());
    ASSERT_EQ(snapshot->getNumLogicalDrives(), 3u);
    for (uint32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(snapshot->getLogicalDrive(i)->getAdapter(), snapshot);
        EXPECT_EQ(snapshot->getLogicalDrive(i)->getState(), states[i]);
    }
    EXPECT_TRUE(snapshot->getLogicalDrive(2)->getBlockedAccess());
}

NRMProgress* task(uint32_t id, const char* serial)
{
    auto* p = new NRMProgress();
    p->taskID = id;
    p->taskType = TASK_VERIFY;
    p->taskState = TASK_STATE_COMPLETE;
    p->percentageComplete = 100;
    p->address.setAdapterID(1);
    p->address.setLogicalDriveID(id);
    p->adapterSerial = serial;
    p->LDUniqueID = id + 100;
    return p;
}

TEST(SnapshotObjects, TaskListsAreCopiedAndAppended)
{
    const uint32_t objectsBefore = globalRaidObjectCounter;
    {
        std::unique_ptr<NRMProgress> original(task(5, "S5"));
        const std::string record = treeText(*original);
        NRMProgress copied(*original);
        NRMProgress assigned;
        assigned = *original;
        NRMProgress built;
        built.build(original.get());
        built.build(nullptr);
        for (const NRMProgress* p : {&copied, &assigned, &built})
            EXPECT_EQ(treeText(*p), record);
        EXPECT_EQ(treeText(NRMProgress()),
                  "<Progress taskID=\"2147483647\" taskType=\"2147483647\" taskState=\"2147483647\" "
                  "percentageComplete=\"2147483647\" adapterSerial=\"\" LDUniqueID=\"0\"/>\n");

        NRMProgressCollection source;
        source.addChild(task(1, "A"));
        source.addChild(new NRMSafteConfig()); // not a task: not copied
        source.addChild(task(2, "B"));
        NRMProgressCollection list;
        list.addChild(task(9, "Z"));
        list = source;
        list.build(&source);
        list.build(nullptr);
        std::vector<uint32_t> ids;
        for (NRMProgress* p : all<NRMProgress>(&list, "Progress"))
            ids.push_back(p->taskID);
        EXPECT_EQ(ids, (std::vector<uint32_t>{9, 1, 2, 1, 2}));
        NRMProgressCollection copy(source);
        EXPECT_EQ(copy.getNumChildren(), 2u);
        EXPECT_EQ(treeText(*copy.getChild(1)), treeText(*source.getChild(2)));
    }
    // Each collection deleted its records.
    EXPECT_EQ(globalRaidObjectCounter, objectsBefore);
}

} // namespace
