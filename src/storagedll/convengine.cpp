#include "storagedll/convengine.h"

namespace legacyconv {

namespace {

// Typed access to the elements of a Java array.
template <class T>
struct ArrayAccess;
#define ARRAY_ACCESS(T, Name)                                                                     \
    template <>                                                                                   \
    struct ArrayAccess<T> {                                                                       \
        static T* get(JNIEnv* env, jarray a) { return env->Get##Name##ArrayElements(static_cast<T##Array>(a), nullptr); } \
        static void release(JNIEnv* env, jarray a, T* e)                                          \
        {                                                                                         \
            env->Release##Name##ArrayElements(static_cast<T##Array>(a), e, 0);                    \
        }                                                                                         \
    };
ARRAY_ACCESS(jbyte, Byte)
ARRAY_ACCESS(jchar, Char)
ARRAY_ACCESS(jint, Int)
ARRAY_ACCESS(jlong, Long)
ARRAY_ACCESS(jboolean, Boolean)
#undef ARRAY_ACCESS

// Copies the elements that pass between the Java array and the rule's C
// member, in the direction asked; the elements are released with mode 0.
template <class T>
void copyArray(JNIEnv* env, jarray array, const FieldRule& rule, const uint8_t* in, uint8_t* out)
{
    const unsigned n = elementsToCopy(rule, env->GetArrayLength(array));
    if (n == 0)
        return;
    T* elements = ArrayAccess<T>::get(env, array);
    if (!elements) {
        clearException(env);
        return;
    }
    const char type = rule.signature[1];
    for (unsigned i = 0; i < n; ++i) {
        if (in)
            elements[i] = T(asJavaType(type, cValue(rule, in, i)));
        else
            storeValue(rule, out, int64_t(elements[i]), i);
    }
    ArrayAccess<T>::release(env, array, elements);
}

// An array field: in is the record to write into Java, or out the record to
// read Java into.
void arrayField(JNIEnv* env, jobject obj, jclass cls, const FieldRule& rule, const uint8_t* in, uint8_t* out)
{
    jfieldID id = fieldId(env, cls, rule.name, rule.signature);
    if (!id)
        return;
    auto array = static_cast<jarray>(env->GetObjectField(obj, id));
    if (!array)
        return;
    switch (rule.signature[1]) {
    case 'B':
        copyArray<jbyte>(env, array, rule, in, out);
        break;
    case 'C':
        copyArray<jchar>(env, array, rule, in, out);
        break;
    case 'I':
        copyArray<jint>(env, array, rule, in, out);
        break;
    case 'J':
        copyArray<jlong>(env, array, rule, in, out);
        break;
    case 'Z':
        copyArray<jboolean>(env, array, rule, in, out);
        break;
    default:
        break;
    }
    env->DeleteLocalRef(array);
}

void setScalar(JNIEnv* env, jobject obj, jfieldID id, char type, int64_t value)
{
    value = asJavaType(type, value);
    switch (type) {
    case 'B':
        env->SetByteField(obj, id, jbyte(value));
        break;
    case 'S':
        env->SetShortField(obj, id, jshort(value));
        break;
    case 'C':
        env->SetCharField(obj, id, jchar(value));
        break;
    case 'I':
        env->SetIntField(obj, id, jint(value));
        break;
    case 'J':
        env->SetLongField(obj, id, jlong(value));
        break;
    case 'Z':
        env->SetBooleanField(obj, id, value ? JNI_TRUE : JNI_FALSE);
        break;
    default:
        break;
    }
}

int64_t getScalar(JNIEnv* env, jobject obj, jfieldID id, char type)
{
    switch (type) {
    case 'B':
        return env->GetByteField(obj, id);
    case 'S':
        return env->GetShortField(obj, id);
    case 'C':
        return env->GetCharField(obj, id);
    case 'I':
        return env->GetIntField(obj, id);
    case 'J':
        return env->GetLongField(obj, id);
    case 'Z':
        return env->GetBooleanField(obj, id) ? 1 : 0;
    default:
        return 0;
    }
}

// The nested objects of a Nested or Series rule, each by the rule's table.
void nestedObjects(JNIEnv* env, jobject obj, const FieldRule& rule, const uint8_t* in, uint8_t* out)
{
    for (unsigned i = 0; i < rule.count; ++i) {
        jobject inner = objectField(env, obj, rule, i);
        if (!inner)
            continue;
        const size_t at = rule.offset + size_t(i) * rule.stride;
        if (in)
            toJava(env, inner, *rule.table, in + at);
        else
            toC(env, inner, *rule.table, out + at);
        env->DeleteLocalRef(inner);
    }
}

void ruleToJava(JNIEnv* env, jobject obj, jclass cls, const FieldRule& rule, const uint8_t* record)
{
    switch (rule.kind) {
    case FieldKind::Scalar:
    case FieldKind::Constant:
        if (jfieldID id = fieldId(env, cls, rule.name, rule.signature))
            setScalar(env, obj, id, rule.signature[0], cValue(rule, record));
        break;
    case FieldKind::Array:
    case FieldKind::BitArray:
        arrayField(env, obj, cls, rule, record, nullptr);
        break;
    case FieldKind::Nested:
    case FieldKind::Series:
        nestedObjects(env, obj, rule, record, nullptr);
        break;
    case FieldKind::Inline:
        toJava(env, obj, *rule.table, record + rule.offset);
        break;
    case FieldKind::Text:
    case FieldKind::LongMethod:
        break;
    }
}

void ruleToC(JNIEnv* env, jobject obj, jclass cls, const FieldRule& rule, uint8_t* record)
{
    switch (rule.kind) {
    case FieldKind::Scalar:
        if (jfieldID id = fieldId(env, cls, rule.name, rule.signature))
            storeValue(rule, record, getScalar(env, obj, id, rule.signature[0]));
        break;
    case FieldKind::Array:
        arrayField(env, obj, cls, rule, nullptr, record);
        break;
    case FieldKind::Nested:
    case FieldKind::Series:
        nestedObjects(env, obj, rule, nullptr, record);
        break;
    case FieldKind::Inline:
        toC(env, obj, *rule.table, record + rule.offset);
        break;
    case FieldKind::Text: {
        jfieldID id = fieldId(env, cls, rule.name, rule.signature);
        if (!id)
            break;
        auto s = static_cast<jstring>(env->GetObjectField(obj, id));
        const char* chars = s ? env->GetStringUTFChars(s, nullptr) : nullptr;
        if (s && !chars)
            clearException(env);
        storeText(rule, record, chars);
        if (chars)
            env->ReleaseStringUTFChars(s, chars);
        if (s)
            env->DeleteLocalRef(s);
        break;
    }
    case FieldKind::LongMethod: {
        jmethodID id = methodId(env, cls, rule.name, rule.signature);
        if (!id)
            break;
        const jlong value = env->CallLongMethod(obj, id);
        if (!clearException(env))
            storeValue(rule, record, jlul(value));
        break;
    }
    case FieldKind::Constant:
    case FieldKind::BitArray:
        break;
    }
}

} // namespace

bool clearException(JNIEnv* env)
{
    if (!env->ExceptionCheck())
        return false;
    env->ExceptionClear();
    return true;
}

jfieldID fieldId(JNIEnv* env, jclass cls, const char* name, const char* sig)
{
    jfieldID id = env->GetFieldID(cls, name, sig);
    if (!id)
        clearException(env);
    return id;
}

jmethodID methodId(JNIEnv* env, jclass cls, const char* name, const char* sig)
{
    jmethodID id = env->GetMethodID(cls, name, sig);
    if (!id)
        clearException(env);
    return id;
}

jmethodID methodOf(JNIEnv* env, jobject obj, const char* name, const char* sig)
{
    jclass cls = env->GetObjectClass(obj);
    jmethodID id = methodId(env, cls, name, sig);
    env->DeleteLocalRef(cls);
    return id;
}

jobject objectField(JNIEnv* env, jobject obj, const FieldRule& rule, unsigned index)
{
    char name[64];
    const char* fieldName = rule.name;
    if (rule.kind == FieldKind::Series) {
        seriesName(rule, index, name, sizeof name);
        fieldName = name;
    }
    jclass cls = env->GetObjectClass(obj);
    jfieldID id = fieldId(env, cls, fieldName, rule.signature);
    env->DeleteLocalRef(cls);
    return id ? env->GetObjectField(obj, id) : nullptr;
}

void toJava(JNIEnv* env, jobject obj, const RecordTable& table, const uint8_t* record)
{
    if (!obj)
        return;
    jclass cls = env->GetObjectClass(obj);
    for (const FieldRule& rule : table)
        ruleToJava(env, obj, cls, rule, record);
    env->DeleteLocalRef(cls);
}

void toC(JNIEnv* env, jobject obj, const RecordTable& table, uint8_t* record)
{
    if (!obj)
        return;
    jclass cls = env->GetObjectClass(obj);
    for (const FieldRule& rule : table)
        ruleToC(env, obj, cls, rule, record);
    env->DeleteLocalRef(cls);
}

bool readHolder(JNIEnv* env, jobject holder, const HolderRule& rule, int64_t& value)
{
    if (!holder)
        return false;
    jmethodID id = methodOf(env, holder, rule.getter, rule.getterSig);
    if (!id)
        return false;
    int64_t v = 0;
    switch (rule.getterSig[2]) {
    case 'I':
        v = env->CallIntMethod(holder, id);
        break;
    case 'S':
        v = env->CallShortMethod(holder, id);
        break;
    case 'J':
        v = env->CallLongMethod(holder, id);
        break;
    case 'Z':
        v = env->CallBooleanMethod(holder, id) ? 1 : 0;
        break;
    default:
        return false;
    }
    if (clearException(env))
        return false;
    value = v;
    return true;
}

void writeHolder(JNIEnv* env, jobject holder, const HolderRule& rule, int64_t value)
{
    if (!holder)
        return;
    jmethodID id = methodOf(env, holder, rule.setter, rule.setterSig);
    if (!id)
        return;
    switch (rule.setterSig[1]) {
    case 'I':
        env->CallVoidMethod(holder, id, jint(value));
        break;
    case 'S':
        env->CallVoidMethod(holder, id, jshort(value));
        break;
    case 'J':
        env->CallVoidMethod(holder, id, jlong(value));
        break;
    case 'Z':
        env->CallVoidMethod(holder, id, value ? JNI_TRUE : JNI_FALSE);
        break;
    default:
        return;
    }
    clearException(env);
}

} // namespace legacyconv
