#ifndef FILTERCOLLECTION_H
#define FILTERCOLLECTION_H

#include <cstdint>
#include <functional>
#include <vector>

#include "RaidLib/Util/StorExport.h"

class RaidObject;

// Bits that switch diagnostic lines on the standard error stream on; 0 at
// load. 0x10 and 0x20 announce construction and destruction.
extern STOR_EXPORT uint32_t universalDebugFlag;

// A client's predicate: true keeps the object. A collection that is given a
// filter deletes it after use.
class STOR_EXPORT RaidFilter {
public:
    virtual bool filter(RaidObject* object) = 0;
    virtual ~RaidFilter();
};

// True when the first object must come before the second.
typedef bool (*RaidObjectComparator)(const RaidObject* left, const RaidObject* right);

// Orderings by address, all unsigned: adapter id; array id; logical-drive
// id; channel id; channel id then device id; and, for physical devices, the
// channel id of the device's channel, then the device id.
STOR_EXPORT bool compareAdapters(const RaidObject* left, const RaidObject* right);
STOR_EXPORT bool compareArrays(const RaidObject* left, const RaidObject* right);
STOR_EXPORT bool compareLogicalDrives(const RaidObject* left, const RaidObject* right);
STOR_EXPORT bool compareChannels(const RaidObject* left, const RaidObject* right);
STOR_EXPORT bool compareChunks(const RaidObject* left, const RaidObject* right);
STOR_EXPORT bool comparePhysicalDevices(const RaidObject* left, const RaidObject* right);

// The objects of a tree: on creation the root and every object below it in
// breadth-first order; filters drop the objects that do not pass, keeping
// the order of the rest, and a sort orders them by address. The collection
// owns none of the objects, takes no reference on the tree and must not
// outlive it; the tree must not change while the collection is used.
class STOR_EXPORT FilterCollection {
public:
    // A null root gives an empty collection.
    explicit FilterCollection(RaidObject* rootIN);
    virtual ~FilterCollection();
    FilterCollection(const FilterCollection&) = delete;
    FilterCollection& operator=(const FilterCollection&) = delete;

    // Keeps the objects the filter accepts, then deletes the filter.
    virtual FilterCollection& apply(RaidFilter* filter);
    // Keeps the instances of the class (or of a class derived from it); with
    // sort, orders them by the comparator that belongs to that exact class
    // name, where there is one.
    virtual FilterCollection& apply(const char* className, bool sort);
    // Nothing for a null comparator.
    virtual FilterCollection& sort(RaidObjectComparator comparator);
    // Starts again from the whole tree.
    virtual FilterCollection& resetFilters();

    unsigned long size() const;
    // Null when i is not an index of the result.
    RaidObject* elementAt(int i) const;
    // Removes the entries a filter has dropped (nulls), keeping the order.
    void repackResultSet();

    // The first instance of the class that test accepts, in the order of a
    // collection over root; null for none. The tree is walked only as far as
    // that object.
    static RaidObject* firstOf(RaidObject* root, const char* className, const std::function<bool(RaidObject*)>& test);

private:
    RaidObject* root;
    std::vector<RaidObject*> resultSet;
};

#endif
