#include "storagedll/jdllbyteblock.h"

#include <algorithm>

#include "storagedll/convrule.h"

namespace legacyjdll {

ByteBlockInput::~ByteBlockInput() { delete[] static_cast<uint8_t*>(buffer); }

int ByteBlockInput::fromJava(JNIEnv* env, StorageDataConverter& conv, jobject block)
{
    const int status = conv.ByteBlkJava_TO_PVOIDcpp(env, block, buffer, blockLength, transferLength);
    bufferBytes = 0;
    if (buffer && !legacyconv::byteBlockSize(jint(blockLength), bufferBytes))
        bufferBytes = 0;
    return status;
}

void ByteBlockInput::toJava(JNIEnv* env, StorageDataConverter& conv, jobject block, uint32_t length) const
{
    if (buffer)
        conv.PVOIDcpp_TO_ByteBlkJava(env, block, buffer, uint32_t(std::min<uint64_t>(length, bufferBytes)));
}

} // namespace legacyjdll
