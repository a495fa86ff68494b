#ifndef DYNAMICBUFFER_H
#define DYNAMICBUFFER_H

#include <cstdint>

#include "RaidLib/Util/StorExport.h"

// Failure of a DynamicBuffer or of a ByRefArray_TC.
class STOR_EXPORT DynamicBufferException {
public:
    enum {
        ALLOC_FAILED = 1,   // a size beyond what the storage can count (an
                            // exhausted heap raises std::bad_alloc)
        PRESERVE_TOO_BIG = 2 // the bytes to keep do not fit into the new size
    };

    explicit DynamicBufferException(int32_t r) : reason(r) {}
    int32_t Reason() const { return reason; }

private:
    int32_t reason;
};

// A character buffer that either owns its storage (allocated with new[]) or
// is attached to storage that belongs to the caller. New storage is zeroed.
class STOR_EXPORT DynamicBuffer {
public:
    explicit DynamicBuffer(uint32_t n = 0);
    DynamicBuffer(void* p, uint32_t n);
    ~DynamicBuffer();

    // The storage may be attached, so a buffer is not copied.
    DynamicBuffer(const DynamicBuffer&) = delete;
    DynamicBuffer& operator=(const DynamicBuffer&) = delete;

    // Releases owned storage; afterwards the buffer holds nothing.
    void Free();
    // New owned storage of n characters; the old contents are dropped.
    // n 0 frees and returns null. Throws reason 1 when allocation fails.
    char* Alloc(uint32_t n);
    // As Alloc, keeping the first min(keep, Size()) characters. Throws
    // reason 2, changing nothing, when they do not fit into n.
    char* AllocAndPreserve(uint32_t n, uint32_t keep);
    // Uses p (n characters, not owned) as storage; null p or n 0 frees.
    char* Attach(void* p, uint32_t n);
    // As Attach, moving the first min(keep, Size()) characters into p first
    // (the areas may overlap). Throws reason 2, changing nothing, when they
    // do not fit. Returns null whenever it does not throw.
    char* AttachAndPreserve(void* p, uint32_t n, uint32_t keep);

    char* Ptr() const { return pBuffer; }
    uint32_t Size() const { return bufferSize; }
    bool OwnsBuffer() const { return ownBuffer != 0; }

private:
    uint32_t bufferSize;
    char* pBuffer;
    int32_t ownBuffer;
};

#endif
