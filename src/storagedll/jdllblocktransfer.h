#ifndef JDLLBLOCKTRANSFER_H
#define JDLLBLOCKTRANSFER_H

// The block-transfer natives: (StorRet, StorAddr, DataAddr, ByteBlk,
// ByteBlk, long, long, boolean), one read or write of a device's blocks
// through the two byte blocks; both blocks go back to Java whatever the
// result.

#include <jni.h>

#include "storagedll/storintf.h"

namespace legacyjdll {

typedef S_Ret(StoreDLLIntf::*BlockIoOp) STORAPI_BLOCKIO_PARAMS;

// The operation gets the address, a zeroed data address (its Java class
// carries nothing), block 1's buffer, block length and transfer length, block
// 2's transfer length, buffer and block length, the two longs' low 32 bits
// and the flag as 0 or 1. After the StorRet each block is copied back with
// its transfer length as the call left it, never more than its buffer holds.
// A block that cannot be converted (no memory, a transfer longer than its
// array or block) is the result (-3 or -2): the operation is not called and
// neither block is touched.
void blockTransfer(JNIEnv* env, jobject self, jobject jRet, jobject jAddr, jobject jDataAddr, jobject jBlock1,
                   jobject jBlock2, jlong first, jlong second, jboolean flag, BlockIoOp op);

} // namespace legacyjdll

#endif
