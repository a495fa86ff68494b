#include "JvmTest.h"

#include <gtest/gtest.h>

#include "JvmHost.h"

// The JVM uses SIGSEGV itself (implicit null checks, safepoints): the
// sanitizer must leave that signal to it. What the JVM allocates for its own
// lifetime through its allocator is no leak of ours; a leak in a native is
// still reported, since the natives allocate with operator new and malloc.
// (Exported: the sanitizer runtime looks these up.)
extern "C" __attribute__((visibility("default"))) const char* __asan_default_options()
{
    return "handle_segv=0:allow_user_segv_handler=1";
}
extern "C" __attribute__((visibility("default"))) const char* __lsan_default_suppressions()
{
    return "leak:os::malloc\nleak:os::strdup\nleak:os::realloc\n";
}

namespace jvmtest {

namespace {

// The JVM lives from before the first test to after the last.
class JvmEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        ASSERT_NE(nullptr, jvmhost::start(TARNELL_TEST_CLASSPATH, {"-Xcheck:jni", "-Xrs", "-Xmx256m"}));
    }
    void TearDown() override { jvmhost::stop(); }
};
const ::testing::Environment* const jvmEnvironment = ::testing::AddGlobalTestEnvironment(new JvmEnvironment);

} // namespace

JNIEnv* env()
{
    JNIEnv* e = nullptr;
    if (jvmhost::vm() && jvmhost::vm()->GetEnv(reinterpret_cast<void**>(&e), JNI_VERSION_1_8) != JNI_OK)
        e = nullptr;
    return e;
}

JavaVM* vm() { return jvmhost::vm(); }

bool takeException(JNIEnv* e)
{
    if (!e->ExceptionCheck())
        return false;
    e->ExceptionDescribe();
    e->ExceptionClear();
    return true;
}

void expectNoException(JNIEnv* e, const std::string& what) { EXPECT_FALSE(takeException(e)) << what; }

jobject newObject(const char* className)
{
    JNIEnv* e = env();
    jclass cls = e->FindClass(className);
    expectNoException(e, className);
    jmethodID constructor = e->GetMethodID(cls, "<init>", "()V");
    expectNoException(e, className);
    jobject o = e->NewObject(cls, constructor);
    expectNoException(e, className);
    e->DeleteLocalRef(cls);
    return o;
}

jstring javaString(const std::string& text)
{
    jstring s = env()->NewStringUTF(text.c_str());
    expectNoException(env(), "string");
    return s;
}

namespace {

jfieldID fieldOf(jobject obj, const char* name, const char* sig)
{
    JNIEnv* e = env();
    jclass cls = e->GetObjectClass(obj);
    jfieldID id = e->GetFieldID(cls, name, sig);
    expectNoException(e, name);
    e->DeleteLocalRef(cls);
    return id;
}

} // namespace

jint intField(jobject obj, const char* name) { return env()->GetIntField(obj, fieldOf(obj, name, "I")); }

jlong longField(jobject obj, const char* name) { return env()->GetLongField(obj, fieldOf(obj, name, "J")); }

void setIntField(jobject obj, const char* name, jint value) { env()->SetIntField(obj, fieldOf(obj, name, "I"), value); }

std::string stringField(jobject obj, const char* name)
{
    JNIEnv* e = env();
    jstring s = static_cast<jstring>(e->GetObjectField(obj, fieldOf(obj, name, "Ljava/lang/String;")));
    if (!s)
        return "<null>";
    const char* chars = e->GetStringUTFChars(s, nullptr);
    expectNoException(e, name);
    std::string text(chars, static_cast<size_t>(e->GetStringUTFLength(s)));
    e->ReleaseStringUTFChars(s, chars);
    e->DeleteLocalRef(s);
    return text;
}

std::u16string charsOfStringField(jobject obj, const char* name)
{
    JNIEnv* e = env();
    jstring s = static_cast<jstring>(e->GetObjectField(obj, fieldOf(obj, name, "Ljava/lang/String;")));
    if (!s)
        return u"<null>";
    std::u16string chars(static_cast<size_t>(e->GetStringLength(s)), u'\0');
    e->GetStringRegion(s, 0, static_cast<jsize>(chars.size()), reinterpret_cast<jchar*>(&chars[0]));
    expectNoException(e, name);
    e->DeleteLocalRef(s);
    return chars;
}

Result result(jobject storRet)
{
    Result r;
    if (!storRet) {
        ADD_FAILURE() << "no StorRet";
        return r;
    }
    r.code = intField(storRet, "iReturnCode");
    r.api = intField(storRet, "iAPIReturnCode");
    r.ioctl = intField(storRet, "iIOCTLReturnCode");
    r.retry = intField(storRet, "iRetryNumber");
    r.unsignedValue = intField(storRet, "iunSignedReturnValue");
    r.signedValue = intField(storRet, "iSignedReturnValue");
    return r;
}

std::ostream& operator<<(std::ostream& out, const Result& r)
{
    return out << "{" << r.code << "," << r.api << "," << r.ioctl << "," << r.retry << "," << r.unsignedValue << ","
               << r.signedValue << "}";
}

jvalue obj(jobject o)
{
    jvalue v;
    v.l = o;
    return v;
}

jvalue i32(jint value)
{
    jvalue v;
    v.j = 0;
    v.i = value;
    return v;
}

jvalue i16(jshort value)
{
    jvalue v;
    v.j = 0;
    v.s = value;
    return v;
}

jvalue flag(bool value)
{
    jvalue v;
    v.j = 0;
    v.z = value ? JNI_TRUE : JNI_FALSE;
    return v;
}

jvalue i64(jlong value)
{
    jvalue v;
    v.j = value;
    return v;
}

} // namespace jvmtest
