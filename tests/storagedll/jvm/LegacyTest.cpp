#include "LegacyTest.h"

#include <stdexcept>
#include <type_traits>

#include "TarnellSim.h"
#include "storagedll/storjdllnatives.h"

namespace legacytest {

namespace {

const char* const DLL_CLASS = "com/zeq/sysmgt/storage/base/StorageDLL";
const char* const MARKS_CLASS = "tarnelltest/legacy/Marks";

jfieldID fieldIdOf(jobject obj, const char* name, const char* sig)
{
    JNIEnv* e = env();
    jclass cls = e->GetObjectClass(obj);
    jfieldID id = e->GetFieldID(cls, name, sig);
    expectNoException(e, std::string(name) + " " + sig);
    e->DeleteLocalRef(cls);
    return id;
}

jmethodID marksMethod(jclass& cls, const char* name, const char* sig)
{
    JNIEnv* e = env();
    cls = e->FindClass(MARKS_CLASS);
    expectNoException(e, MARKS_CLASS);
    jmethodID m = e->GetStaticMethodID(cls, name, sig);
    expectNoException(e, name);
    return m;
}

// A new Java array of the values, each narrowed to the element type (a
// boolean: true for any value but 0).
template <class T, class A>
A newArray(JNIEnv* e, A (JNIEnv::*make)(jsize), void (JNIEnv::*set)(A, jsize, jsize, const T*),
           const std::vector<int64_t>& values)
{
    std::vector<T> elements;
    for (int64_t v : values)
        elements.push_back(std::is_same<T, jboolean>::value ? T(v != 0) : T(v));
    A a = (e->*make)(jsize(values.size()));
    if (a && !elements.empty())
        (e->*set)(a, 0, jsize(elements.size()), elements.data());
    return a;
}

} // namespace

std::vector<std::string> NativeRow::parameters() const
{
    std::vector<std::string> types;
    for (size_t i = 1; signature[i] != ')';) {
        size_t end = i;
        while (signature[end] == '[')
            ++end;
        end = signature[end] == 'L' ? signature.find(';', end) + 1 : end + 1;
        types.push_back(signature.substr(i, end - i));
        i = end;
    }
    return types;
}

const std::vector<NativeRow>& nativeRows()
{
#define LEGACYTEST_ROW(kind, result, name, exportName, params, sig, roles, op, locals, inputs, args, outputs, when) \
    NativeRow{#kind, #name, #exportName, sig, roles, #op, #inputs, #when},
    static const std::vector<NativeRow> rows{STORAGEDLL_NATIVES(LEGACYTEST_ROW)};
#undef LEGACYTEST_ROW
    return rows;
}

const NativeRow& nativeRow(const std::string& name, const std::string& signature)
{
    for (const NativeRow& row : nativeRows()) {
        if (row.name == name && (signature.empty() || row.signature == signature))
            return row;
    }
    throw std::invalid_argument("no native " + name + signature);
}

jobject apiObject(const char* className) { return newObject(className); }

jobject storageDll() { return newObject(DLL_CLASS); }

jlong callNative(jobject dll, const NativeRow& row, const std::vector<jvalue>& args)
{
    JNIEnv* e = env();
    jclass cls = e->FindClass(DLL_CLASS);
    expectNoException(e, DLL_CLASS);
    jmethodID m = e->GetMethodID(cls, row.name.c_str(), row.signature.c_str());
    expectNoException(e, row.name + row.signature);
    e->DeleteLocalRef(cls);
    if (!m)
        return 0;
    jlong out = 0;
    switch (row.resultType()) {
    case 'I':
        out = e->CallIntMethodA(dll, m, args.data());
        break;
    case 'Z':
        out = e->CallBooleanMethodA(dll, m, args.data());
        break;
    default:
        e->CallVoidMethodA(dll, m, args.data());
        break;
    }
    expectNoException(e, "call of " + row.name);
    return out;
}

jlong callNative(jobject dll, const std::string& name, const std::vector<jvalue>& args, const std::string& signature)
{
    return callNative(dll, nativeRow(name, signature), args);
}

int64_t scalar(jobject obj, const char* name, const char* sig)
{
    JNIEnv* e = env();
    jfieldID id = fieldIdOf(obj, name, sig);
    if (!id)
        return INT64_MIN;
    switch (sig[0]) {
    case 'B':
        return e->GetByteField(obj, id);
    case 'S':
        return e->GetShortField(obj, id);
    case 'C':
        return e->GetCharField(obj, id);
    case 'I':
        return e->GetIntField(obj, id);
    case 'J':
        return e->GetLongField(obj, id);
    case 'Z':
        return e->GetBooleanField(obj, id);
    default:
        ADD_FAILURE() << "no scalar signature " << sig;
        return INT64_MIN;
    }
}

void setScalar(jobject obj, const char* name, const char* sig, int64_t value)
{
    JNIEnv* e = env();
    jfieldID id = fieldIdOf(obj, name, sig);
    if (!id)
        return;
    switch (sig[0]) {
    case 'B':
        e->SetByteField(obj, id, jbyte(value));
        break;
    case 'S':
        e->SetShortField(obj, id, jshort(value));
        break;
    case 'C':
        e->SetCharField(obj, id, jchar(value));
        break;
    case 'I':
        e->SetIntField(obj, id, jint(value));
        break;
    case 'J':
        e->SetLongField(obj, id, jlong(value));
        break;
    case 'Z':
        e->SetBooleanField(obj, id, value ? JNI_TRUE : JNI_FALSE);
        break;
    default:
        ADD_FAILURE() << "no scalar signature " << sig;
    }
}

jobject objectField(jobject obj, const char* name, const char* sig)
{
    jfieldID id = fieldIdOf(obj, name, sig);
    return id ? env()->GetObjectField(obj, id) : nullptr;
}

std::vector<int64_t> elements(jobject obj, const char* name, const char* sig)
{
    JNIEnv* e = env();
    auto array = static_cast<jarray>(objectField(obj, name, sig));
    std::vector<int64_t> out;
    if (!array)
        return out;
    const jsize n = e->GetArrayLength(array);
    for (jsize i = 0; i < n; ++i) {
        switch (sig[1]) {
        case 'B': {
            jbyte v;
            e->GetByteArrayRegion(static_cast<jbyteArray>(array), i, 1, &v);
            out.push_back(v);
            break;
        }
        case 'C': {
            jchar v;
            e->GetCharArrayRegion(static_cast<jcharArray>(array), i, 1, &v);
            out.push_back(v);
            break;
        }
        case 'I': {
            jint v;
            e->GetIntArrayRegion(static_cast<jintArray>(array), i, 1, &v);
            out.push_back(v);
            break;
        }
        case 'J': {
            jlong v;
            e->GetLongArrayRegion(static_cast<jlongArray>(array), i, 1, &v);
            out.push_back(v);
            break;
        }
        case 'Z': {
            jboolean v;
            e->GetBooleanArrayRegion(static_cast<jbooleanArray>(array), i, 1, &v);
            out.push_back(v);
            break;
        }
        default:
            ADD_FAILURE() << "no array signature " << sig;
            return out;
        }
    }
    e->DeleteLocalRef(array);
    return out;
}

void setElements(jobject obj, const char* name, const char* sig, const std::vector<int64_t>& values)
{
    JNIEnv* e = env();
    jarray array = nullptr;
    switch (sig[1]) {
    case 'B':
        array = newArray<jbyte>(e, &JNIEnv::NewByteArray, &JNIEnv::SetByteArrayRegion, values);
        break;
    case 'C':
        array = newArray<jchar>(e, &JNIEnv::NewCharArray, &JNIEnv::SetCharArrayRegion, values);
        break;
    case 'I':
        array = newArray<jint>(e, &JNIEnv::NewIntArray, &JNIEnv::SetIntArrayRegion, values);
        break;
    case 'Z':
        array = newArray<jboolean>(e, &JNIEnv::NewBooleanArray, &JNIEnv::SetBooleanArrayRegion, values);
        break;
    default:
        ADD_FAILURE() << "setElements: no array signature " << sig;
        return;
    }
    jfieldID id = fieldIdOf(obj, name, sig);
    if (id)
        e->SetObjectField(obj, id, array);
    e->DeleteLocalRef(array);
}

void expectFields(jobject o, const legacyconv::RecordTable& table, const uint8_t* rec)
{
    using namespace legacyconv;
    for (const FieldRule& r : table) {
        SCOPED_TRACE(std::string(table.javaClass) + "." + r.name);
        switch (r.kind) {
        case FieldKind::Scalar:
        case FieldKind::Constant:
            EXPECT_EQ(asJavaType(r.signature[0], cValue(r, rec)), scalar(o, r.name, r.signature));
            break;
        case FieldKind::Array:
        case FieldKind::BitArray: {
            const std::vector<int64_t> got = elements(o, r.name, r.signature);
            ASSERT_FALSE(got.empty());
            for (unsigned i = 0; i < elementsToCopy(r, jsize(got.size())); ++i)
                EXPECT_EQ(asJavaType(r.signature[1], cValue(r, rec, i)), got[i]) << "element " << i;
            break;
        }
        case FieldKind::Nested:
        case FieldKind::Series:
            for (unsigned i = 0; i < r.count; ++i) {
                char name[64];
                seriesName(r, i, name, sizeof name);
                jobject inner = objectField(o, r.kind == FieldKind::Series ? name : r.name, r.signature);
                ASSERT_NE(nullptr, inner);
                expectFields(inner, *r.table, rec + r.offset + size_t(i) * r.stride);
                env()->DeleteLocalRef(inner);
            }
            break;
        case FieldKind::Inline:
            expectFields(o, *r.table, rec + r.offset);
            break;
        case FieldKind::Text:
        case FieldKind::LongMethod:
            break;
        }
    }
}

jobject storAddr(int adapter, int channel, int device, int virtDev, int array)
{
    jobject a = apiObject(API_CLASS("StorAddr"));
    setIntField(a, "iAdapterID", adapter);
    setIntField(a, "iChannelID", channel);
    setIntField(a, "iPhysDevID", device);
    setIntField(a, "iVirtDevID", virtDev);
    setIntField(a, "iArrayID", array);
    return a;
}

jobject deviceList(int adapter, const std::vector<std::pair<int, int>>& devices)
{
    JNIEnv* e = env();
    jobject list = apiObject(API_CLASS("AddrList"));
    jclass cls = e->GetObjectClass(list);
    jmethodID add = e->GetMethodID(cls, "addAddress", "(" LEGACY_API_SIG("StorAddr") ")V");
    for (const auto& d : devices) {
        jobject a = storAddr(adapter, d.first, d.second);
        e->CallVoidMethod(list, add, a);
        expectNoException(e, "addAddress");
        e->DeleteLocalRef(a);
    }
    e->DeleteLocalRef(cls);
    return list;
}

jint addressCount(jobject list)
{
    JNIEnv* e = env();
    jclass cls = e->GetObjectClass(list);
    jmethodID m = e->GetMethodID(cls, "getAddressCount", "()I");
    e->DeleteLocalRef(cls);
    const jint n = e->CallIntMethod(list, m);
    expectNoException(e, "getAddressCount");
    return n;
}

jobject listAddress(jobject list, int i)
{
    JNIEnv* e = env();
    jclass cls = e->GetObjectClass(list);
    jmethodID m = e->GetMethodID(cls, "getAddress", "(I)" LEGACY_API_SIG("StorAddr"));
    e->DeleteLocalRef(cls);
    jobject a = e->CallObjectMethod(list, m, jint(i));
    expectNoException(e, "getAddress");
    return a;
}

_STORAGE_ADDRESS_ID cAddress(int adapter, int channel, int device)
{
    _STORAGE_ADDRESS_ID a{};
    a.usAdapterID = uint16_t(adapter);
    a.usChannelID = uint16_t(channel);
    a.usPhysDevID = uint16_t(device);
    return a;
}

jobject byteBlk(jint blockLength, const std::vector<int64_t>& bytes, jint transfer)
{
    jobject b = apiObject(API_CLASS("ByteBlk"));
    setElements(b, "byteArray", "[B", bytes);
    setIntField(b, "iBlockLength", blockLength);
    setIntField(b, "iBytesXferLen", transfer);
    return b;
}

std::vector<int64_t> blockBytes(jobject blk) { return elements(blk, "byteArray", "[B"); }

jint transferOf(jobject blk) { return intField(blk, "iBytesXferLen"); }

jint dllIndex(jobject dll) { return intField(dll, "iCppDllPtr"); }

void setDllIndex(jobject dll, jint index) { setIntField(dll, "iCppDllPtr", index); }

void mark(jobject obj, int seed)
{
    JNIEnv* e = env();
    jclass cls = nullptr;
    jmethodID m = marksMethod(cls, "mark", "(Ljava/lang/Object;I)V");
    e->CallStaticVoidMethod(cls, m, obj, jint(seed));
    expectNoException(e, "Marks.mark");
    e->DeleteLocalRef(cls);
}

std::string describe(jobject obj)
{
    JNIEnv* e = env();
    jclass cls = nullptr;
    jmethodID m = marksMethod(cls, "describe", "(Ljava/lang/Object;)Ljava/lang/String;");
    auto s = static_cast<jstring>(e->CallStaticObjectMethod(cls, m, obj));
    expectNoException(e, "Marks.describe");
    e->DeleteLocalRef(cls);
    if (!s)
        return "<null>";
    const char* chars = e->GetStringUTFChars(s, nullptr);
    std::string text(chars);
    e->ReleaseStringUTFChars(s, chars);
    e->DeleteLocalRef(s);
    return text;
}

void LegacyTest::SetUp()
{
    tarnellsim::reset();
    e = env();
    ASSERT_NE(nullptr, e) << "no JVM";
    ASSERT_EQ(0, e->PushLocalFrame(512));
}

void LegacyTest::TearDown()
{
    if (e) {
        for (jobject dll : opened)
            callNative(dll, "destructDllObject", {});
        e->PopLocalFrame(nullptr);
    }
    tarnellsim::clearFailures();
}

jobject LegacyTest::open(const char* library)
{
    jobject dll = storageDll();
    jstring name = library ? javaString(library) : nullptr;
    EXPECT_EQ(0, callNative(dll, "constructDllObject", {obj(name)}));
    opened.push_back(dll);
    return dll;
}

void LegacyNativeTest::SetUp()
{
    LegacyTest::SetUp();
    dll = open();
}

jobject LegacyNativeTest::storRet()
{
    jobject r = apiObject(API_CLASS("StorRet"));
    mark(r, 77);
    return r;
}

Result LegacyNativeTest::call(const std::string& native, std::vector<jvalue> args, const std::string& signature)
{
    jobject ret = storRet();
    args.insert(args.begin(), obj(ret));
    callNative(dll, native, args, signature);
    return result(ret);
}

} // namespace legacytest
