#ifndef TESTS_TARNELL_TARNELLBUILDUTIL_H
#define TESTS_TARNELL_TARNELLBUILDUTIL_H

// Helpers of the tests of the Tarnell device builds: an adapter of one
// simulated controller with its channels made as the adapter build makes
// them, ready for the physical and logical builds, and lookups in its tree.

#include <cstring>
#include <string>
#include <vector>

#include "RaidModel/Filters/FilterCollection.h"
#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Implementation/Tarnell/TarnellSCSIChannel.h"
#include "RaidModel/Interface/LogicalDrive.h"
#include "RaidModel/Interface/PhysicalDevice.h"
#include "TarnellSimTree.h"

namespace tarnelltest {

// A TarnellAdapter of a simulated controller with channels 0 to channels - 1
// and nothing else; the tree is deleted with the object.
class BuildAdapter {
public:
    BuildAdapter(int capiNumber, int channels, int adapterType = TARNELL_B2)
    {
        char bios[] = "B", firmware[] = "F", driver[] = "D";
        _ADAPTER_FEATURES levels;
        std::memset(&levels, 0, sizeof levels);
        adapter = new TarnellAdapter(adapterType, TarnellAdapter::getUniqueID(capiNumber), capiNumber,
                                     CONTROLLER_STATUS_WORKING, bios, firmware, driver, 3, false, 0, 0, true,
                                     false, 32, "RebuildRateMedium", true, true, false, true, false, false, false,
                                     0, 0, nullptr, nullptr, "", "", "", "", 8, 2, 3, 4, 15, 16, 16, 0, 64, 0,
                                     levels, nullptr);
        for (int i = 0; i < channels; ++i)
            adapter->addChild(new TarnellSCSIChannel(adapter, i, 7, SPEED_SCSI320));
    }
    ~BuildAdapter()
    {
        adapter->deleteAllChildren();
        delete adapter;
    }
    BuildAdapter(const BuildAdapter&) = delete;
    BuildAdapter& operator=(const BuildAdapter&) = delete;

    // Both builds, as the adapter build runs them.
    void buildAll()
    {
        ASSERT_EQ(Ret(0), TarnellAdapter::buildPhysicalDevices(adapter));
        ASSERT_EQ(Ret(0), TarnellAdapter::buildLogicalDevices(adapter));
    }

    // The objects of a class below the adapter (or below root), in tree order.
    std::vector<RaidObject*> all(const char* className, RaidObject* root = nullptr) const
    {
        FilterCollection c(root ? root : adapter);
        c.apply(className, false);
        std::vector<RaidObject*> out;
        for (unsigned long i = 0; i < c.size(); ++i)
            out.push_back(c.elementAt(static_cast<int>(i)));
        return out;
    }

    // The physical device at (channel, device), or null.
    PhysicalDevice* device(int channelID, int deviceID) const
    {
        for (RaidObject* o : all("PhysicalDevice")) {
            PhysicalDevice* d = static_cast<PhysicalDevice*>(o);
            if (d->getChannel() && static_cast<int>(d->getChannel()->getChannelID()) == channelID &&
                static_cast<int>(d->getDeviceID()) == deviceID)
                return d;
        }
        return nullptr;
    }

    // The logical drive of that model id, or null.
    LogicalDrive* logicalDrive(int id) const
    {
        for (RaidObject* o : all("LogicalDrive"))
            if (static_cast<int>(o->getLogicalDriveID()) == id)
                return static_cast<LogicalDrive*>(o);
        return nullptr;
    }

    // The array of that class and id, or null.
    Array* array(const char* className, int id) const
    {
        for (RaidObject* o : all(className))
            if (static_cast<int>(o->getArrayID()) == id)
                return static_cast<Array*>(o);
        return nullptr;
    }

    TarnellAdapter* adapter;
};

// The default scenario with edits applied to one of its controllers.
template <class F>
void resetWith(int capiNumber, F edit)
{
    tarnellsim::Scenario sc = tarnellsim::defaultScenario();
    for (tarnellsim::Controller& c : sc.controllers)
        if (c.number == capiNumber)
            edit(c);
    tarnellsim::reset(sc);
}

inline bool contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

} // namespace tarnelltest

#endif
