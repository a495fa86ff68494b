#include "RaidLib/JavaInterface/JNIConversions.h"

#include "RaidLib/JavaInterface/JavaText.h"

#include <cstddef>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

using javatext::newJavaString;

namespace {

const char TADDR_CLASS[] = "com/zeq/sysmgt/raidmgr/dataproc/jni/TAddr";
const char TULADDR_CLASS[] = "com/zeq/sysmgt/raidmgr/dataproc/jni/TULAddr";
const char TSECTORRANGE_CLASS[] = "com/zeq/sysmgt/raidmgr/dataproc/jni/TSectorRange";
const char GET_DEVICE_ID_SIG[] = "()Lcom/zeq/sysmgt/raidmgr/dataproc/util/DeviceID;";

// Clears a pending Java exception; true when there was one. Every JNI call
// that may raise one is followed by this before the next JNI call.
bool clearException(JNIEnv* env)
{
    if (!env->ExceptionCheck())
        return false;
    env->ExceptionClear();
    return true;
}

// A local reference, deleted at the end of the scope.
class LocalRef {
public:
    LocalRef(JNIEnv* env, jobject ref) : env_(env), ref_(ref) {}
    ~LocalRef()
    {
        if (ref_)
            env_->DeleteLocalRef(ref_);
    }
    LocalRef(const LocalRef&) = delete;
    LocalRef& operator=(const LocalRef&) = delete;

    jobject get() const { return ref_; }
    jclass cls() const { return static_cast<jclass>(ref_); }
    explicit operator bool() const { return ref_ != nullptr; }
    // Hands the reference to the caller.
    jobject release()
    {
        jobject ref = ref_;
        ref_ = nullptr;
        return ref;
    }

private:
    JNIEnv* env_;
    jobject ref_;
};

// A new object of the class by its constructor "()V" (a local reference);
// null when the class or constructor is missing or the JVM raised.
jobject newObject(JNIEnv* env, const char* className)
{
    LocalRef cls(env, env->FindClass(className));
    if (clearException(env) || !cls)
        return nullptr;
    jmethodID constructor = env->GetMethodID(cls.cls(), "<init>", "()V");
    if (clearException(env) || !constructor)
        return nullptr;
    jobject obj = env->NewObject(cls.cls(), constructor);
    if (clearException(env))
        return nullptr;
    return obj;
}

// A Java object and its class, for reading and writing its members by name.
// A member the class does not have is skipped.
class JavaObject {
public:
    JavaObject(JNIEnv* env, jobject obj) : env_(env), obj_(obj), cls_(env, obj ? env->GetObjectClass(obj) : nullptr) {}

    jfieldID field(const char* name, const char* sig) const
    {
        if (!cls_)
            return nullptr;
        jfieldID id = env_->GetFieldID(cls_.cls(), name, sig);
        return clearException(env_) ? nullptr : id;
    }
    jmethodID method(const char* name, const char* sig) const
    {
        if (!cls_)
            return nullptr;
        jmethodID id = env_->GetMethodID(cls_.cls(), name, sig);
        return clearException(env_) ? nullptr : id;
    }

    void setInt(const char* name, jint value) const
    {
        if (jfieldID id = field(name, "I"))
            env_->SetIntField(obj_, id, value);
    }
    void setLong(const char* name, jlong value) const
    {
        if (jfieldID id = field(name, "J"))
            env_->SetLongField(obj_, id, value);
    }
    void setByte(const char* name, jbyte value) const
    {
        if (jfieldID id = field(name, "B"))
            env_->SetByteField(obj_, id, value);
    }
    void setObject(const char* name, const char* sig, jobject value) const
    {
        if (jfieldID id = field(name, sig))
            env_->SetObjectField(obj_, id, value);
    }
    bool getInt(const char* name, jint& value) const
    {
        jfieldID id = field(name, "I");
        if (id)
            value = env_->GetIntField(obj_, id);
        return id != nullptr;
    }
    bool getLong(const char* name, jlong& value) const
    {
        jfieldID id = field(name, "J");
        if (id)
            value = env_->GetLongField(obj_, id);
        return id != nullptr;
    }
    // The object a method without arguments returns (a local reference);
    // null when the method is missing or raised.
    jobject callObject(const char* name, const char* sig) const
    {
        jmethodID id = method(name, sig);
        if (!id)
            return nullptr;
        jobject result = env_->CallObjectMethod(obj_, id);
        return clearException(env_) ? nullptr : result;
    }
    // Calls a method that takes one object and returns nothing; false when
    // it is missing or raised.
    bool callWith(jmethodID id, jobject argument) const
    {
        env_->CallVoidMethod(obj_, id, argument);
        return !clearException(env_);
    }

private:
    JNIEnv* env_;
    jobject obj_;
    LocalRef cls_;
};

jint asJint(uint32_t value) { return static_cast<jint>(value); }
jlong zeroExtended(uint32_t value) { return static_cast<jlong>(static_cast<uint64_t>(value)); }

// The fields of a result class: the Java name and the record word it takes
// (every word is 32-bit); a long field takes the word zero-extended.
struct RetField {
    const char* javaName;
    size_t offset;
    bool isLong;
};
#define RET_INT(member) RetField{#member, offsetof(RET_INTERNAL_DATA, member), false}

const RetField COMMON_FIELDS[] = {RET_INT(iReturnCode),  RET_INT(iAPIReturnCode),       RET_INT(iIOCTLReturnCode),
                                  RET_INT(iRetryNumber), RET_INT(iunSignedReturnValue), RET_INT(iSignedReturnValue)};
const RetField SARVO_FIELDS[] = {RET_INT(iIOCStatus),
                                 RetField{"lIOCLogInfo", offsetof(RET_INTERNAL_DATA, ulIOCLogInfo), true},
                                 RET_INT(iSCSIState),
                                 RET_INT(iSCSIStatus),
                                 RET_INT(iSenseDataErrorCode),
                                 RET_INT(iSenseKey),
                                 RET_INT(iSenseCode)};
const RetField PELM_FIELDS[] = {RET_INT(iSenseDataErrorCode), RET_INT(iSenseKey), RET_INT(iSenseCode),
                                RET_INT(iSenseCodeQualifier)};
const RetField TOBRECK_FIELDS[] = {RET_INT(iReturnCode), RET_INT(iAPIReturnCode)};
#undef RET_INT

template <size_t N>
void setRetFields(const JavaObject& target, const Ret& ret, const RetField (&fields)[N])
{
    for (const RetField& f : fields) {
        uint32_t word;
        std::memcpy(&word, reinterpret_cast<const char*>(&ret.data) + f.offset, sizeof word);
        if (f.isLong)
            target.setLong(f.javaName, zeroExtended(word));
        else
            target.setInt(f.javaName, asJint(word));
    }
}

// A new result object of the class of that name in the jni package,
// filled by the conversion.
jobject newResult(JNIEnv* env, const char* className, Ret* ret, void (*convert)(JNIEnv*, Ret*, jobject))
{
    if (!env || !ret)
        return nullptr;
    // Named without an allocation: the natives answer with a result object
    // also when memory has run out.
    char fullName[96];
    std::snprintf(fullName, sizeof fullName, "com/zeq/sysmgt/raidmgr/dataproc/jni/%s", className);
    jobject obj = newObject(env, fullName);
    if (obj)
        convert(env, ret, obj);
    return obj;
}

void storRetFields(JNIEnv* env, Ret* ret, jobject obj) { CRettoJStorRet(env, *ret, obj); }
void fentaRetFields(JNIEnv* env, Ret* ret, jobject obj) { FentaRetToJRet(env, ret, obj); }
void gluntRetFields(JNIEnv* env, Ret* ret, jobject obj) { GluntRetToJRet(env, ret, obj); }

void setTAddrFields(const JavaObject& target, const Addr& addr)
{
    target.setInt("adapter", asJint(addr.getAdapterID()));
    target.setInt("array", asJint(addr.getArrayID()));
    target.setInt("logicalDrive", asJint(addr.getLogicalDriveID()));
    target.setInt("channel", asJint(addr.getChannelID()));
    target.setInt("device", asJint(addr.getDeviceID()));
}

// Hands count new objects of the element class, the i-th filled by
// fill(i, element), one by one to the one-argument method of the Java
// collection (whose parameter is of class parameterClass); stops at the
// first that fails.
template <class Fill>
void addEachTo(JNIEnv* env, jobject jCollection, const char* method, const char* parameterClass,
               const char* elementClass, size_t count, Fill fill)
{
    const JavaObject target(env, jCollection);
    const std::string sig = std::string("(L") + parameterClass + ";)V";
    jmethodID addId = target.method(method, sig.c_str());
    if (!addId)
        return;
    for (size_t i = 0; i < count; ++i) {
        LocalRef element(env, newObject(env, elementClass));
        if (!element)
            return;
        fill(i, element.get());
        if (!target.callWith(addId, element.get()))
            return;
    }
}

} // namespace

void JAddrtoCAddr(JNIEnv* env, jobject jAddr, Addr* addr)
{
    if (!env || !jAddr || !addr)
        return;
    const JavaObject source(env, jAddr);
    jint value;
    if (source.getInt("adapter", value))
        addr->setAdapterID(static_cast<STORID_T>(value));
    if (source.getInt("array", value))
        addr->setArrayID(static_cast<STORID_T>(value));
    if (source.getInt("logicalDrive", value))
        addr->setLogicalDriveID(static_cast<STORID_T>(value));
    if (source.getInt("channel", value))
        addr->setChannelID(static_cast<STORID_T>(value));
    if (source.getInt("device", value))
        addr->setDeviceID(static_cast<STORID_T>(value));
}

// ---------------------------------------------------------------- results

void CRettoJStorRet(JNIEnv* env, Ret ret, jobject jRet)
{
    if (env && jRet)
        setRetFields(JavaObject(env, jRet), ret, COMMON_FIELDS);
}

void CRettoJSarvoRet(JNIEnv* env, Ret* ret, jobject jRet)
{
    if (!env || !ret || !jRet)
        return;
    const JavaObject target(env, jRet);
    setRetFields(target, *ret, COMMON_FIELDS);
    setRetFields(target, *ret, SARVO_FIELDS);
}

void CRettoJPelmRet(JNIEnv* env, Ret* ret, jobject jRet)
{
    if (!env || !ret || !jRet)
        return;
    const JavaObject target(env, jRet);
    setRetFields(target, *ret, COMMON_FIELDS);
    setRetFields(target, *ret, PELM_FIELDS);
}

void CRettoJTobreckRet(JNIEnv* env, Ret* ret, jobject jRet)
{
    if (env && ret && jRet)
        setRetFields(JavaObject(env, jRet), *ret, TOBRECK_FIELDS);
}

void CRettoJYUBRet(JNIEnv* env, Ret* ret, jobject jRet)
{
    if (env && ret && jRet)
        setRetFields(JavaObject(env, jRet), *ret, COMMON_FIELDS);
}

void FentaRetToJRet(JNIEnv* env, Ret* ret, jobject& jRet) { CRettoJYUBRet(env, ret, jRet); }

void GluntRetToJRet(JNIEnv* env, Ret* ret, jobject& jRet) { CRettoJYUBRet(env, ret, jRet); }

void CRettoJGluntRet(JNIEnv* env, Ret* ret, jobject jRet) { CRettoJYUBRet(env, ret, jRet); }

jobject StorRet(JNIEnv* env, Ret* ret) { return newResult(env, "StorRet", ret, storRetFields); }
jobject SarvoRet(JNIEnv* env, Ret* ret) { return newResult(env, "SarvoRet", ret, CRettoJSarvoRet); }
jobject PelmRet(JNIEnv* env, Ret* ret) { return newResult(env, "PelmRet", ret, CRettoJPelmRet); }
jobject TobreckRet(JNIEnv* env, Ret* ret) { return newResult(env, "TobreckRet", ret, CRettoJTobreckRet); }
jobject YUBRet(JNIEnv* env, Ret* ret) { return newResult(env, "YUBRet", ret, CRettoJYUBRet); }
jobject FentaRet(JNIEnv* env, Ret* ret) { return newResult(env, "FentaRet", ret, fentaRetFields); }
jobject GluntRet(JNIEnv* env, Ret* ret) { return newResult(env, "GluntRet", ret, gluntRetFields); }

// ---------------------------------------------------------------- progress, chunks, texts

void CProgressCollectionToSingleJTProgress(JNIEnv* const& env, const Addr& addr, const ProgressCollection& tasks,
                                           const jobject& jProgress)
{
    for (const Progress& task : tasks.getCollection()) {
        if (task.getDeviceAddr().getAdapterID() == addr.getAdapterID()) {
            CProgressToJTProgress2(env, addr, task, jProgress);
            return;
        }
    }
}

void CProgressToJTProgress2(JNIEnv* const& env, const Addr& /*addr*/, const Progress& progress,
                            const jobject& jProgress)
{
    if (!env || !jProgress)
        return;
    const JavaObject target(env, jProgress);
    const Addr& device = progress.getDeviceAddr();
    target.setInt("type", progress.getType());
    target.setInt("status", progress.getStatus());
    target.setInt("adapter", asJint(device.getAdapterID()));
    target.setInt("logicalDrive", asJint(device.getLogicalDriveID()));
    target.setInt("channel", asJint(device.getChannelID()));
    target.setInt("device", asJint(device.getDeviceID()));
    target.setInt("percent", asJint(progress.getPercent()));
    target.setInt("taskID", asJint(progress.getTaskID()));
    target.setInt("taskPriority", progress.getPriority());
}

bool JVectorChunkSpecsToCLogicalDriveSpec(JNIEnv* env, const jobjectArray& jChunks, LogicalDriveSpec& spec)
{
    if (!env || !jChunks)
        return false;
    struct Element {
        STORID_T channel, device;
        BLOCK_T start, count;
        uint32_t group;
        EnumChunkType type;
    };
    std::vector<Element> elements;
    const jsize n = env->GetArrayLength(jChunks);
    for (jsize i = 0; i < n; ++i) {
        LocalRef element(env, env->GetObjectArrayElement(jChunks, i));
        if (clearException(env) || !element)
            return false;
        const JavaObject chunk(env, element.get());
        jlong start = 0, count = 0;
        jint type = CHUNK_TYPE_DATA, group = 0;
        chunk.getLong("startSector", start);
        chunk.getLong("numSector", count);
        chunk.getInt("type", type);
        chunk.getInt("group", group);
        // The sectors of this path are 32-bit numbers.
        if (start < 0 || start > INT64_C(0xFFFFFFFF) || count < 0 || count > INT64_C(0xFFFFFFFF))
            return false;
        LocalRef deviceObj(env, chunk.callObject("getDeviceID", GET_DEVICE_ID_SIG));
        if (!deviceObj)
            return false;
        const JavaObject drive(env, deviceObj.get());
        jint channel = static_cast<jint>(STORID_UNDEFINED), device = static_cast<jint>(STORID_UNDEFINED);
        drive.getInt("channelID", channel);
        drive.getInt("deviceID", device);
        elements.push_back(Element{static_cast<STORID_T>(channel), static_cast<STORID_T>(device),
                                   static_cast<BLOCK_T>(start), static_cast<BLOCK_T>(count),
                                   static_cast<uint32_t>(group), static_cast<EnumChunkType>(type)});
    }
    for (const Element& e : elements)
        spec.addChunk(e.channel, e.device, e.start, e.count, e.group, e.type);
    return true;
}

void setJavaStringBuffer(JNIEnv* env, jobject obj, const char* fieldName, const char* text)
{
    if (!env || !obj || !fieldName)
        return;
    const JavaObject target(env, obj);
    jfieldID id = target.field(fieldName, "Ljava/lang/String;");
    if (!id)
        return;
    LocalRef str(env, text ? newJavaString(env, text) : nullptr);
    env->SetObjectField(obj, id, str.get());
}

void setJavaInteger(JNIEnv* env, jobject obj, int value)
{
    if (env && obj)
        JavaObject(env, obj).setInt("value", value);
}

void JStringToCString(JNIEnv* env, jstring jStr, char* buffer, int limit)
{
    if (!buffer || limit <= 0)
        return;
    std::memset(buffer, 0, static_cast<size_t>(limit));
    if (!env || !jStr)
        return;
    const char* chars = env->GetStringUTFChars(jStr, nullptr);
    if (clearException(env) || !chars)
        return;
    std::memcpy(buffer, chars, strnlen(chars, static_cast<size_t>(limit) - 1));
    env->ReleaseStringUTFChars(jStr, chars);
}

// ---------------------------------------------------------------- conversions no native uses

void JAddrCollectiontoCAddrCollection(JNIEnv* env, jobject jCollection, AddrCollection* collection)
{
    if (!env || !jCollection || !collection)
        return;
    const JavaObject source(env, jCollection);
    jmethodID countId = source.method("getAddrCount", "()J");
    jmethodID getId = source.method("getAddr", "(I)Lcom/zeq/sysmgt/raidmgr/dataproc/jni/TAddr;");
    if (!countId || !getId)
        return;
    const jlong count = env->CallLongMethod(jCollection, countId);
    if (clearException(env))
        return;
    // The Java index is an int.
    for (jint i = 0; i < count && i < INT32_MAX; ++i) {
        LocalRef element(env, env->CallObjectMethod(jCollection, getId, i));
        if (clearException(env))
            return;
        if (!element)
            continue;
        Addr addr;
        JAddrtoCAddr(env, element.get(), &addr);
        collection->addAddr(addr);
    }
}

void CAddrtoJAddr(JNIEnv* env, Addr* addr, jobject jAddr)
{
    if (!env || !addr || !jAddr)
        return;
    const JavaObject target(env, jAddr);
    target.setInt("ulAdapter", asJint(addr->getAdapterID()));
    target.setInt("ulArray", asJint(addr->getArrayID()));
    target.setInt("ulLogicalDrive", asJint(addr->getLogicalDriveID()));
    target.setInt("ulPhysChan", asJint(addr->getChannelID()));
    target.setInt("ulPhysId", asJint(addr->getDeviceID()));
}

void CAddrCollectiontoJAddrCollection(JNIEnv* env, AddrCollection* collection, jobject jCollection)
{
    if (!env || !collection || !jCollection)
        return;
    addEachTo(env, jCollection, "addAddr", TADDR_CLASS, TULADDR_CLASS, collection->getAddrCount(),
              [&](size_t i, jobject element) {
                  Addr copy = collection->getAddr(i);
                  CAddrtoJAddr(env, &copy, element);
                  setTAddrFields(JavaObject(env, element), copy);
              });
}

void CBuffertoJBuffer(JNIEnv* env, Buffer* buffer, jobject jBuffer)
{
    if (!env || !buffer || !jBuffer)
        return;
    const JavaObject target(env, jBuffer);
    target.setInt("ulbufSize", asJint(buffer->getSize()));
    jmethodID setByte = target.method("setByte", "(IB)V");
    if (!setByte)
        return;
    for (uint32_t i = 0; i < buffer->getSize(); ++i) {
        env->CallVoidMethod(jBuffer, setByte, asJint(i), static_cast<jbyte>(buffer->getByte(i)));
        if (clearException(env))
            return;
    }
}

void CProgresstoJProgress(JNIEnv* env, Progress* progress, jobject jProgress)
{
    if (!env || !progress || !jProgress)
        return;
    const JavaObject target(env, jProgress);
    target.setInt("type", progress->getType());
    target.setInt("logicalDrive", asJint(progress->getLogicalDrive()));
    target.setInt("status", progress->getStatus());
    target.setInt("percent", asJint(progress->getPercent()));
}

void CSafteConfigtoJSafteConfig(JNIEnv*, SafteConfig*, jobject) {}

void CSafteStatustoJSafteStatus(JNIEnv*, SafteStatus*, jobject) {}

void CSectorRangetoJSectorRange(JNIEnv* env, SectorRange* range, jobject jRange)
{
    if (!env || !range || !jRange)
        return;
    const JavaObject target(env, jRange);
    target.setInt("ulLogicalDrive", asJint(range->getLogicalDrive()));
    target.setLong("ulStartLow", zeroExtended(range->getStartLow()));
    target.setLong("ulStartHigh", zeroExtended(range->getStartHigh()));
    target.setLong("ulCount", zeroExtended(range->getCount()));
}

void CVPDDatatoJVPDData(JNIEnv* env, VPDData* vpd, jobject jVpd)
{
    if (!env || !vpd || !jVpd)
        return;
    const JavaObject target(env, jVpd);
    target.setByte("bDeviceType", static_cast<jbyte>(vpd->getDeviceType()));
    target.setByte("bDeviceTypeQual", static_cast<jbyte>(vpd->getDeviceTypeQual()));
    target.setByte("bPageCode", static_cast<jbyte>(vpd->getPageCode()));
    target.setByte("bReserved1", static_cast<jbyte>(vpd->getReserved1()));
    target.setByte("bPageLength", static_cast<jbyte>(vpd->getPageLength()));
    target.setByte("bAsciiLength", static_cast<jbyte>(vpd->getAsciiLength()));

    jchar chars[VPDData::VENDOR_SPECIFIC_SIZE];
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(vpd->getVendorSpecific());
    for (unsigned i = 0; i < VPDData::VENDOR_SPECIFIC_SIZE; ++i)
        chars[i] = bytes[i];
    LocalRef array(env, env->NewCharArray(VPDData::VENDOR_SPECIFIC_SIZE));
    if (clearException(env) || !array)
        return;
    env->SetCharArrayRegion(static_cast<jcharArray>(array.get()), 0, VPDData::VENDOR_SPECIFIC_SIZE, chars);
    if (clearException(env))
        return;
    target.setObject("caVendorSpecific", "[C", array.get());
}

void CSectorCollectiontoJSectorCollection(JNIEnv* env, SectorCollection* collection, jobject jCollection)
{
    if (!env || !collection || !jCollection)
        return;
    addEachTo(env, jCollection, "addSectorRange", TSECTORRANGE_CLASS, TSECTORRANGE_CLASS,
              collection->getSectorRangeCount(), [&](size_t i, jobject element) {
                  SectorRange range = collection->getSectorRange(static_cast<uint32_t>(i));
                  CSectorRangetoJSectorRange(env, &range, element);
              });
}
