#ifndef BASICARRAY_H
#define BASICARRAY_H

#include "RaidModel/Interface/Array.h"

// An array of nesting level 1.
class STOR_EXPORT BasicArray : public Array {
public:
    // Array id 0 (not undefined), sizes 0.
    BasicArray();
    // The sizes are widened with their sign.
    BasicArray(Adapter* adapterIN, int arrayIDIN, int sizeIN, int freeSpaceIN);
    BasicArray(const BasicArray& right);
    ~BasicArray() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    const char* serializedName() const override;
};

#endif
