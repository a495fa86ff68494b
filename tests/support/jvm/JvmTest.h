#ifndef TESTS_SUPPORT_JVMTEST_H
#define TESTS_SUPPORT_JVMTEST_H

// Support of the tests that call natives of the core from a real JVM. A
// program that compiles JvmTest.cpp starts one JVM (java/host) with
// -Xcheck:jni before its first test, with the bridges' classes and
// TARNELL_TEST_CLASSPATH on its class path and the core loaded from a Java
// class, and destroys it after its last test. The sanitizer settings a JVM
// needs come with it.

#include <jni.h>

#include <ostream>
#include <string>

namespace jvmtest {

// The JNIEnv of the calling thread in the process's JVM.
JNIEnv* env();
JavaVM* vm();

// Describes and clears a pending Java exception; true when there was one.
bool takeException(JNIEnv* e);
// A test failure naming `what` when a Java exception is pending (cleared).
void expectNoException(JNIEnv* e, const std::string& what);

// Java objects (local references of the current frame).
jobject newObject(const char* className);
jstring javaString(const std::string& text);

// Fields by name (the JNI type from the value's type).
jint intField(jobject obj, const char* name);
jlong longField(jobject obj, const char* name);
void setIntField(jobject obj, const char* name, jint value);
// The String field as modified UTF-8 (embedded NULs as C0 80); "<null>" for null.
std::string stringField(jobject obj, const char* name);
// Every char of the String field, for texts that are not plain ASCII.
std::u16string charsOfStringField(jobject obj, const char* name);

// The six fields of a StorRet (of either bridge).
struct Result {
    int code = 0, api = 0, ioctl = 0, retry = 0, unsignedValue = 0, signedValue = 0;
    bool operator==(const Result& o) const
    {
        return code == o.code && api == o.api && ioctl == o.ioctl && retry == o.retry &&
               unsignedValue == o.unsignedValue && signedValue == o.signedValue;
    }
};
Result result(jobject storRet);
std::ostream& operator<<(std::ostream& out, const Result& r);

// Arguments of the Call...MethodA functions.
jvalue obj(jobject o);
jvalue i32(jint v);
jvalue i16(jshort v);
jvalue i64(jlong v);
jvalue flag(bool v);

} // namespace jvmtest

#endif
