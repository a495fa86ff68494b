#include "storagedll/jdllshapes.h"

#include <algorithm>
#include <new>

#include "storagedll/convengine.h"

namespace legacyjdll {

namespace {

// The fields of the object that SupportedAdapterCount fills.
const char* const ADAP_COUNT = "iAdapCount";
const char* const ADAP_INDEX = "iAdapIndex";

} // namespace

bool refuse(S_Ret& ret, int code)
{
    ret = codeOnly(code);
    return true;
}

// ---------------------------------------------------------------- ByteBlock

ByteBlock::~ByteBlock() { delete[] bytes(); }

bool ByteBlock::read(JNIEnv* env, StorageDataConverter& conv, jobject blk, S_Ret& ret)
{
    return refused(ret, conv.ByteBlkJava_TO_PVOIDcpp(env, blk, buffer, blockLength, transfer));
}

uint64_t ByteBlock::size() const
{
    uint64_t n = 0;
    return buffer && legacyconv::byteBlockSize(jint(blockLength), n) ? n : 0;
}

void ByteBlock::copyBack(JNIEnv* env, StorageDataConverter& conv, jobject blk) const
{
    copyBack(env, conv, blk, transfer);
}

void ByteBlock::copyBack(JNIEnv* env, StorageDataConverter& conv, jobject blk, uint32_t length) const
{
    conv.PVOIDcpp_TO_ByteBlkJava(env, blk, buffer, uint32_t(std::min<uint64_t>(length, size())));
}

// ---------------------------------------------------------------- AddressList

AddressList::~AddressList() { delete[] list; }

bool AddressList::first(S_Ret& ret, const S_Ret& firstResult, Policy policy)
{
    ret = firstResult;
    if (policy == STOP && ret.iReturnCode != 0)
        return true;
    capacity = count;
    list = new (std::nothrow) _STORAGE_ADDRESS_ID[capacity]();
    if (!list) {
        capacity = 0;
        return refuse(ret, -3);
    }
    return false;
}

uint32_t AddressList::bytes() const { return capacity * uint32_t(sizeof(_STORAGE_ADDRESS_ID)); }

uint32_t AddressList::filled() const { return std::min<uint32_t>(count, capacity); }

void AddressList::toAddrList(JNIEnv* env, StorageDataConverter& conv, jobject addrList) const
{
    conv.PSTADDRcpp_TO_AddrListJava(env, addrList, list, filled());
}

void AddressList::toAdapterIndex(JNIEnv* env, jobject holder) const
{
    if (!holder)
        return;
    jclass cls = env->GetObjectClass(holder);
    jfieldID countId = legacyconv::fieldId(env, cls, ADAP_COUNT, "I");
    jfieldID indexId = legacyconv::fieldId(env, cls, ADAP_INDEX, "[I");
    env->DeleteLocalRef(cls);
    const uint32_t n = filled();
    if (countId)
        env->SetIntField(holder, countId, jint(n));
    auto index = indexId ? static_cast<jintArray>(env->GetObjectField(holder, indexId)) : nullptr;
    if (!index)
        return;
    const uint32_t m = std::min<uint32_t>(n, uint32_t(env->GetArrayLength(index)));
    if (m > 0) {
        jint* ids = env->GetIntArrayElements(index, nullptr);
        if (ids) {
            for (uint32_t i = 0; i < m; ++i)
                ids[i] = jint(list[i].usAdapterID);
            env->ReleaseIntArrayElements(index, ids, 0);
        } else {
            legacyconv::clearException(env);
        }
    }
    env->DeleteLocalRef(index);
}

// ---------------------------------------------------------------- AddressListInput

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

// ---------------------------------------------------------------- StringInput

StringInput::StringInput(JNIEnv* e, jstring s)
    : env(e), string(s), text(s ? e->GetStringUTFChars(s, nullptr) : nullptr)
{
    if (s && !text)
        legacyconv::clearException(e);
}

StringInput::~StringInput()
{
    if (text)
        env->ReleaseStringUTFChars(string, text);
}

} // namespace legacyjdll
