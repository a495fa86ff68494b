#include "storagedll/jdlladdrlist.h"

#include "storagedll/convengine.h"

namespace legacyjdll {

int AddressListInput::fromJava(JNIEnv* env, StorageDataConverter& conv, jobject addrList, uint32_t n)
{
    count = n;
    return conv.AddrListJava_TO_PSTADDRcpp(env, addrList, list, byteSize, count);
}

uint32_t AddressListInput::countOf(JNIEnv* env, jobject addrList)
{
    if (!addrList)
        return 0;
    jmethodID id = legacyconv::methodOf(env, addrList, ADDRLIST_COUNT);
    if (!id)
        return 0;
    const jint n = env->CallIntMethod(addrList, id);
    return legacyconv::clearException(env) ? 0 : uint32_t(n);
}

} // namespace legacyjdll
