#ifndef TARNELLSPANNEDARRAY_H
#define TARNELLSPANNEDARRAY_H

#include "RaidModel/Interface/SpannedArray.h"

// The array of a Tarnell spanned logical drive: it spans the arrays that
// hold the drive's sub-logical drives. Written as a "SpannedArray" element.
class STOR_EXPORT TarnellSpannedArray : public SpannedArray {
public:
    // No adapter, array id 0, sizes 0.
    TarnellSpannedArray();
    TarnellSpannedArray(const TarnellSpannedArray& right);
    // Sizes in megabytes, widened with their sign.
    TarnellSpannedArray(Adapter* adapterIN, int arrayIDIN, int sizeIN, int freeSpaceIN);
    ~TarnellSpannedArray() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    const char* serializedName() const override;

    // Used by the configuration build.
    void setSize(BLOCK_T sizeIN) { size = sizeIN; }
    void setFreeSpace(BLOCK_T freeSpaceIN) { freeSpace = freeSpaceIN; }
};

#endif
