#ifndef TARNELLBASICARRAY_H
#define TARNELLBASICARRAY_H

#include <vector>

#include "RaidModel/Interface/BasicArray.h"
#include "RaidModel/Interface/ChunkSpec.h"

class LogicalDriveSpec;

// An ordinary array of a Tarnell controller, holding basic logical drives.
// Its two operations work on the whole array through the C API and change
// no model object; the library's next build shows their result. Both refuse
// an array inside a spanned array (-1) and send nothing when they refuse.
class STOR_EXPORT TarnellBasicArray : public BasicArray {
public:
    // No adapter, array id 0, sizes 0.
    TarnellBasicArray();
    TarnellBasicArray(const TarnellBasicArray& right);
    // Sizes in megabytes, widened with their sign.
    TarnellBasicArray(Adapter* adapterIN, int arrayIDIN, int sizeIN, int freeSpaceIN);
    ~TarnellBasicArray() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;

    // Used by the configuration build; a 32-bit value is widened with its sign.
    void setSize(BLOCK_T sizeIN) { size = sizeIN; }
    void setFreeSpace(BLOCK_T freeSpaceIN) { freeSpace = freeSpaceIN; }

    // Adds the one to three hard drives the chunks name (channel and device
    // ids; the drives must differ pairwise in both) to the array; the space
    // becomes free space. 0; -1; -2 for a wrong count or drive; -3 when the
    // drive list cannot be made; -5 when there is no controller access or
    // the controller refuses.
    Ret increaseArrayFreeSpace(std::vector<ChunkSpec>& chunks);
    // Migrates the RAID level of the array's logical drives to
    // spec.raidLevel: RAID-5 to 0, 5E to 5, and 1 or 0 to 5 with the one drive
    // spec.chunks names. 0; -1 for another migration; -2 for drives of mixed
    // levels or a wrong drive; -3; -5 when there is no controller access, no
    // logical drive or the controller refuses.
    Ret modifyLogicalDrive(LogicalDriveSpec& spec);
};

#endif
