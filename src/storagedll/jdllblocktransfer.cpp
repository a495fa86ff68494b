#include "storagedll/jdllblocktransfer.h"

#include "storagedll/jdllbyteblock.h"
#include "storagedll/storjdllcall.h"

namespace legacyjdll {

void blockTransfer(JNIEnv* env, jobject self, jobject jRet, jobject jAddr, jobject jDataAddr, jobject jBlock1,
                   jobject jBlock2, jlong first, jlong second, jboolean flag, BlockIoOp op)
{
    withInterface(env, self, jRet, jAddr, [&](StoreDLLIntf& intf, StorageDataConverter& conv,
                                               const _STORAGE_ADDRESS_ID& addr) {
        _DATA_ADDRESS data{};
        conv.DataAddrJava_TO_DTADDRcpp(env, jDataAddr, data);
        const uint32_t firstValue = conv.jlul(first);
        const uint32_t secondValue = conv.jlul(second);
        ByteBlockInput block1;
        ByteBlockInput block2;
        const int status1 = block1.fromJava(env, conv, jBlock1);
        const int status2 = block2.fromJava(env, conv, jBlock2);
        const int status = status1 != 0 ? status1 : status2;
        deliverResult(env, conv, jRet,
                      status != 0 ? codeOnly(status)
                                  : (intf.*op)(addr, data, block1.buffer, block1.blockLength, block1.transferLength,
                                               block2.transferLength, block2.buffer, block2.blockLength, firstValue,
                                               secondValue, flag != JNI_FALSE ? 1 : 0));
        if (status == 0) {
            block1.toJava(env, conv, jBlock1, block1.transferLength);
            block2.toJava(env, conv, jBlock2, block2.transferLength);
        }
    });
}

} // namespace legacyjdll
