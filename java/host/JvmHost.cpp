#include "JvmHost.h"

#include <cstdio>

namespace jvmhost {

namespace {

JavaVM* theVm = nullptr;
bool stopped = false;

// Prints and clears a pending Java exception; true when there was one.
bool failed(JNIEnv* env, const char* what)
{
    if (!env->ExceptionCheck())
        return false;
    std::fprintf(stderr, "jvmhost: %s failed:\n", what);
    env->ExceptionDescribe();
    env->ExceptionClear();
    return true;
}

bool loadCore(JNIEnv* env)
{
    jclass loader = env->FindClass("tarnell/host/CoreLoader");
    if (failed(env, "finding tarnell.host.CoreLoader"))
        return false;
    jmethodID load = env->GetStaticMethodID(loader, "load", "(Ljava/lang/String;)V");
    if (failed(env, "finding CoreLoader.load"))
        return false;
    jstring path = env->NewStringUTF(TARNELL_CORE_PATH);
    if (failed(env, "making the library path"))
        return false;
    env->CallStaticVoidMethod(loader, load, path);
    const bool ok = !failed(env, "loading " TARNELL_CORE_PATH);
    env->DeleteLocalRef(path);
    env->DeleteLocalRef(loader);
    return ok;
}

} // namespace

JNIEnv* start(const std::string& extraClassPath, const std::vector<std::string>& options)
{
    JNIEnv* env = nullptr;
    if (theVm) {
        if (theVm->GetEnv(reinterpret_cast<void**>(&env), JNI_VERSION_1_8) == JNI_EDETACHED &&
            theVm->AttachCurrentThread(reinterpret_cast<void**>(&env), nullptr) != JNI_OK)
            return nullptr;
        return env;
    }
    if (stopped) {
        std::fprintf(stderr, "jvmhost: the JVM of this process was destroyed\n");
        return nullptr;
    }

    std::string classPath = "-Djava.class.path=" TARNELL_HOST_CLASSPATH;
    if (!extraClassPath.empty())
        classPath += ":" + extraClassPath;
    std::vector<std::string> texts{classPath};
    texts.insert(texts.end(), options.begin(), options.end());
    std::vector<JavaVMOption> vmOptions(texts.size());
    for (size_t i = 0; i < texts.size(); ++i) {
        vmOptions[i].optionString = &texts[i][0];
        vmOptions[i].extraInfo = nullptr;
    }
    JavaVMInitArgs args;
    args.version = JNI_VERSION_1_8;
    args.nOptions = static_cast<jint>(vmOptions.size());
    args.options = vmOptions.data();
    args.ignoreUnrecognized = JNI_FALSE;
    if (JNI_CreateJavaVM(&theVm, reinterpret_cast<void**>(&env), &args) != JNI_OK) {
        std::fprintf(stderr, "jvmhost: the JVM did not start\n");
        theVm = nullptr;
        return nullptr;
    }
    if (!loadCore(env))
        return nullptr;
    return env;
}

JavaVM* vm() { return theVm; }

void stop()
{
    if (!theVm)
        return;
    theVm->DestroyJavaVM();
    theVm = nullptr;
    stopped = true;
}

} // namespace jvmhost
