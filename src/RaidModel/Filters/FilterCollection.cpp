#include "RaidModel/Filters/FilterCollection.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "RaidModel/Interface/PhysicalDevice.h"
#include "RaidModel/Interface/RaidObject.h"

STOR_EXPORT uint32_t universalDebugFlag = 0;

namespace {

const uint32_t DEBUG_CONSTRUCT = 0x10;
const uint32_t DEBUG_DESTRUCT = 0x20;
const uint32_t DEBUG_ANY = 0xF0;

struct SortRule {
    const char* className;
    RaidObjectComparator comparator;
};

const SortRule sortRules[] = {
    {"Adapter", compareAdapters},
    {"PhysicalDevice", comparePhysicalDevices},
    {"CDROMDrive", comparePhysicalDevices},
    {"Enclosure", comparePhysicalDevices},
    {"HardDrive", comparePhysicalDevices},
    {"OtherDevice", comparePhysicalDevices},
    {"TapeDrive", comparePhysicalDevices},
    {"Array", compareArrays},
    {"BasicArray", compareArrays},
    {"SpannedArray", compareArrays},
    {"LogicalDrive", compareLogicalDrives},
    {"BasicLogicalDrive", compareLogicalDrives},
    {"HLogicalDrive", compareLogicalDrives},
    {"Chunk", compareChunks},
    {"Channel", compareChannels},
    {"EthernetInterface", compareChannels},
    {"iScsiInterface", compareChannels},
    {"FibreInterface", compareChannels},
    {"SATAChannel", compareChannels},
    {"SCSIChannel", compareChannels},
};

RaidObjectComparator comparatorFor(const char* className)
{
    for (const SortRule& rule : sortRules) {
        if (std::strcmp(rule.className, className) == 0)
            return rule.comparator;
    }
    return nullptr;
}

// The channel id of the channel a device is attached to; a device without
// a channel, or an object that is no device, sorts as on an undefined channel.
STORID_T deviceChannelID(const RaidObject* o)
{
    const PhysicalDevice* device = dynamic_cast<const PhysicalDevice*>(o);
    if (device && device->getChannel())
        return device->getChannel()->getChannelID();
    return STORID_UNDEFINED;
}

} // namespace

RaidFilter::~RaidFilter() {}

bool compareAdapters(const RaidObject* left, const RaidObject* right)
{
    return left->getAdapterID() < right->getAdapterID();
}

bool compareArrays(const RaidObject* left, const RaidObject* right)
{
    return left->getArrayID() < right->getArrayID();
}

bool compareLogicalDrives(const RaidObject* left, const RaidObject* right)
{
    return left->getLogicalDriveID() < right->getLogicalDriveID();
}

bool compareChannels(const RaidObject* left, const RaidObject* right)
{
    return left->getChannelID() < right->getChannelID();
}

bool compareChunks(const RaidObject* left, const RaidObject* right)
{
    if (left->getChannelID() != right->getChannelID())
        return left->getChannelID() < right->getChannelID();
    return left->getDeviceID() < right->getDeviceID();
}

bool comparePhysicalDevices(const RaidObject* left, const RaidObject* right)
{
    const STORID_T leftChannel = deviceChannelID(left);
    const STORID_T rightChannel = deviceChannelID(right);
    if (leftChannel != rightChannel)
        return leftChannel < rightChannel;
    return left->getDeviceID() < right->getDeviceID();
}

FilterCollection::FilterCollection(RaidObject* rootIN) : root(rootIN)
{
    if (universalDebugFlag & DEBUG_CONSTRUCT)
        std::fprintf(stderr, "Constructing FilterCollection\n");
    resetFilters();
}

FilterCollection::~FilterCollection()
{
    if (universalDebugFlag & DEBUG_DESTRUCT)
        std::fprintf(stderr, "Destructing FilterCollection\n");
}

FilterCollection& FilterCollection::resetFilters()
{
    if (universalDebugFlag & DEBUG_ANY)
        std::fprintf(stderr, "FilterCollection::resetFilters()\n");
    resultSet.clear();
    if (root) {
        // Each entry's children go behind the current end, level by level.
        resultSet.push_back(root);
        for (size_t i = 0; i < resultSet.size(); ++i) {
            const RaidObject* node = resultSet[i];
            for (unsigned long c = 0; c < node->getChildCount(); ++c)
                resultSet.push_back(node->getChild(static_cast<int>(c)));
        }
    }
    repackResultSet();
    return *this;
}

FilterCollection& FilterCollection::apply(const char* className, bool sortIN)
{
    if (universalDebugFlag & DEBUG_ANY)
        std::fprintf(stderr, "FilterCollection::apply(%s)\n", className ? className : "(null)");
    for (RaidObject*& entry : resultSet) {
        if (entry && !entry->isInstanceOf(className))
            entry = nullptr;
    }
    repackResultSet();
    if (sortIN && className)
        sort(comparatorFor(className));
    return *this;
}

FilterCollection& FilterCollection::apply(RaidFilter* filter)
{
    if (universalDebugFlag & DEBUG_ANY)
        std::fprintf(stderr, "FilterCollection::apply(RaidFilter*)\n");
    if (!filter)
        return *this;
    for (RaidObject*& entry : resultSet) {
        if (entry && !filter->filter(entry))
            entry = nullptr;
    }
    delete filter;
    repackResultSet();
    return *this;
}

FilterCollection& FilterCollection::sort(RaidObjectComparator comparator)
{
    if (comparator && !resultSet.empty())
        std::sort(resultSet.begin(), resultSet.end(), comparator);
    return *this;
}

unsigned long FilterCollection::size() const
{
    if (universalDebugFlag & DEBUG_ANY)
        std::fprintf(stderr, "FilterCollection::size\n");
    return static_cast<unsigned long>(resultSet.size());
}

RaidObject* FilterCollection::elementAt(int i) const
{
    if (universalDebugFlag & DEBUG_ANY)
        std::fprintf(stderr, "FilterCollection::elementAt(%d)\n", i);
    if (i < 0 || static_cast<size_t>(i) >= resultSet.size())
        return nullptr;
    return resultSet[static_cast<size_t>(i)];
}

RaidObject* FilterCollection::firstOf(RaidObject* root, const char* className,
                                      const std::function<bool(RaidObject*)>& test)
{
    if (!root)
        return nullptr;
    if (root->isInstanceOf(className) && test(root))
        return root;
    // Level by level, each child tested as its parent's children are read:
    // the order of the collection, and no level below the object's is
    // listed (a channel among an adapter's children is found without
    // listing the drives below the channels before it).
    std::vector<RaidObject*> level{root};
    std::vector<RaidObject*> next;
    while (!level.empty()) {
        next.clear();
        for (RaidObject* parent : level) {
            for (unsigned long c = 0; c < parent->getChildCount(); ++c) {
                RaidObject* child = parent->getChild(static_cast<int>(c));
                if (!child)
                    continue;
                if (child->isInstanceOf(className) && test(child))
                    return child;
                next.push_back(child);
            }
        }
        level.swap(next);
    }
    return nullptr;
}

void FilterCollection::repackResultSet()
{
    if (universalDebugFlag & DEBUG_ANY)
        std::fprintf(stderr, "FilterCollection::repackResultSet\n");
    // In place: the entries kept move forward in their order, and nothing
    // is allocated.
    resultSet.erase(std::remove(resultSet.begin(), resultSet.end(), nullptr), resultSet.end());
}
