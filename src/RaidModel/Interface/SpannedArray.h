#ifndef SPANNEDARRAY_H
#define SPANNEDARRAY_H

#include "RaidModel/Interface/Array.h"

// An array of nesting level 2.
class STOR_EXPORT SpannedArray : public Array {
public:
    // Array id 0 (not undefined), sizes 0.
    SpannedArray();
    // The sizes are widened with their sign.
    SpannedArray(Adapter* adapterIN, int arrayIDIN, int sizeIN, int freeSpaceIN);
    SpannedArray(const SpannedArray& right);
    ~SpannedArray() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    const char* serializedName() const override;
};

#endif
