#ifndef BUFFER_H
#define BUFFER_H

#include <cstdint>
#include <cstdio>

#include "RaidLib/Util/StorExport.h"

// An owned block of bytes with its size. pBuffer is null exactly when the
// size is 0. Allocation failures never raise: the buffer is left empty.
// New bytes are zeroed.
class STOR_EXPORT Buffer {
public:
    Buffer();
    explicit Buffer(uint32_t n);
    Buffer(uint32_t n, const unsigned char* bytes);
    Buffer(const Buffer& other);
    ~Buffer();
    Buffer& operator=(const Buffer& other);

    bool operator==(const Buffer& other) const;
    bool operator!=(const Buffer& other) const { return !(*this == other); }

    unsigned char* getAddr() const { return pBuffer; }
    unsigned char* Ptr() const { return pBuffer; }
    const unsigned char* CPtr() const { return pBuffer; }
    uint32_t getSize() const { return buffSize; }
    uint32_t Size() const { return buffSize; }
    // i must be below the size; it is not checked.
    unsigned char& operator[](uint32_t i) { return pBuffer[i]; }
    const unsigned char& operator[](uint32_t i) const { return pBuffer[i]; }
    // Byte i, or 0 when i is not below the size.
    unsigned char getByte(uint32_t i) const { return i < buffSize ? pBuffer[i] : 0; }
    bool isValidBuffer(uint32_t, const unsigned char*) const { return true; }

    // Gives the buffer n bytes and returns them (null for n 0 or when the
    // allocation fails, which leaves the buffer empty). With preserve the
    // first min(old size, n) bytes are kept.
    unsigned char* Alloc(uint32_t n, bool preserve);
    // Sets every byte to 0.
    void Clear();
    // One line per four bytes: offset, the bytes from last to first in hex
    // ("--" past the end), " : ", the same positions as printable characters.
    // Standard output when out is null.
    void Print(FILE* out) const;

private:
    void release();
    bool allocate(uint32_t n);

    unsigned char* pBuffer;
    uint32_t buffSize;
};

#endif
