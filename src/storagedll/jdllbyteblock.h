#ifndef JDLLBYTEBLOCK_H
#define JDLLBYTEBLOCK_H

// A Java ByteBlk as a native hands it to the C API: the block that the
// converter allocates (four times "iBlockLength" bytes, the first
// "iBytesXferLen" of them from the Java array), its block length and its
// transfer length; and the copy back into the ByteBlk. The block is released
// with the native.

#include <jni.h>

#include <cstdint>

#include "storagedll/storconv.h"

namespace legacyjdll {

class ByteBlockInput {
public:
    ByteBlockInput() = default;
    ByteBlockInput(const ByteBlockInput&) = delete;
    ByteBlockInput& operator=(const ByteBlockInput&) = delete;
    ~ByteBlockInput();

    // The block from the ByteBlk: 0, or the converter's -2 (a transfer that
    // fits neither the array nor the block, a negative length) or -3 (no
    // memory). Only a block of status 0 may reach the C API.
    int fromJava(JNIEnv* env, StorageDataConverter& conv, jobject block);
    // The block's first `length` bytes back into the ByteBlk, never more
    // than the block holds (nor than the Java array, which takes the count
    // copied as its "iBytesXferLen"). Nothing without a block.
    void toJava(JNIEnv* env, StorageDataConverter& conv, jobject block, uint32_t length) const;

    void* buffer = nullptr;
    uint32_t blockLength = 0;
    uint32_t transferLength = 0;

private:
    uint64_t bufferBytes = 0;
};

} // namespace legacyjdll

#endif
