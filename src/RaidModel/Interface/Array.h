#ifndef ARRAY_H
#define ARRAY_H

#include <cstdint>
#include <vector>

#include "RaidLib/Util/Addr.h"
#include "RaidLib/Util/Progress.h"
#include "RaidLib/Util/Ret.h"
#include "RaidModel/Interface/RaidObject.h"

class Adapter;
class HardDrive;

// The group of drive space of one controller from which logical drives are
// made. The logical drives are its children, their chunks below them; every
// object added below the array carries its array id. The array operations
// answer -1 (not supported); controller families override them.
//
// The order of the virtual operations is the order of the virtual table
// that the family libraries are built against; do not reorder.
class STOR_EXPORT Array : public RaidObject {
public:
    // No controller, sizes 0, nesting level 0, array id undefined.
    Array();
    Array(Adapter* adapterIN, unsigned long arrayIDIN, BLOCK_T sizeIN, BLOCK_T freeSpaceIN, int nestedLevelIN);
    // A new node with the source's array id and fields.
    Array(const Array& right);
    ~Array() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    const char* serializedName() const override;
    // "size", "freeSpace", "nestedLevel" and "stripeSize"; no base attributes.
    void writeTo(Writer* writer) const override;
    // Stamps the array id into the descendant.
    void descendantAdded(RaidObject* pDescendantIN) override;

    virtual Ret increaseSize();
    virtual Ret modifyRaidLevel();
    virtual Ret getProgress(Progress& p);
    virtual Ret deleteArray();
    virtual Ret synchronize();

    // The array id, sizes, nesting level and stripe size; the controller,
    // the rest of the address and the tree links stay.
    Array& operator=(const Array& right);
    // Array id, sizes and nesting level.
    bool operator==(const Array& right) const;
    bool operator!=(const Array& right) const { return !(*this == right); }

    // Appends the drive of every chunk below the array, once per chunk;
    // drives is not cleared.
    void getHardDrives(std::vector<HardDrive*>& drives);

    Adapter* getAdapter() const { return adapter; }
    BLOCK_T getSize() const { return size; }
    BLOCK_T getFreeSpace() const { return freeSpace; }
    int getNestedLevel() const { return nestedLevel; }
    int getStripeSize() const { return stripeSize; }
    void setStripeSize(int sizeIN) { stripeSize = sizeIN; }

protected:
    Adapter* adapter;
    BLOCK_T size;
    BLOCK_T freeSpace;
    int32_t nestedLevel;
    int32_t stripeSize;
};

#endif
