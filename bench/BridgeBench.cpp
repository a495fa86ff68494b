// getSystemConfig through the Java storage bridge against the same call in
// C++, on 1 and 16 full simulated controllers (4 channels of 16 disks, 8
// logical drives each).
//
// BM_Java calls the native StorDataProc.getSystemConfig() as a Java method
// through JNI and reads the String it leaves in "xmlConfigBuffer": the whole
// tree built through the C API, its XML document, and the document handed to
// Java as a String. BM_Cpp is the C++ call as config_bench measures it (tree
// and document). The JVM is started through the invocation API and loads
// the core from a Java class; the program links the simulated
// libtarnellapi.so, so the core's dlopen finds this copy. BM_HandOver
// measures the last step of the Java path alone.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "BenchMain.h"
#include "JvmHost.h"
#include "RaidLib/JavaInterface/JNIConversions.h"
#include "RaidLib/TarnellLib.h"
#include "TarnellSim.h"

namespace {

JNIEnv* env = nullptr;

void BM_Cpp(benchmark::State& state)
{
    tarnellsim::reset(tarnellsim::fullScenario(static_cast<unsigned>(state.range(0))));
    TarnellLib lib;
    char* xml = nullptr;
    size_t bytes = 0;
    for (auto _ : state) {
        if (lib.getSystemConfig(&xml).getReturn() != Ret::SUCCESS) {
            state.SkipWithError("getSystemConfig failed");
            break;
        }
        bytes = std::char_traits<char>::length(xml);
        benchmark::DoNotOptimize(xml);
    }
    lib.freeBuffer(xml);
    state.counters["xml_bytes"] = static_cast<double>(bytes);
}

void BM_Java(benchmark::State& state)
{
    tarnellsim::reset(tarnellsim::fullScenario(static_cast<unsigned>(state.range(0))));
    jclass cls = env->FindClass("com/zeq/sysmgt/raidmgr/dataproc/StorDataProc");
    jmethodID constructor = cls ? env->GetMethodID(cls, "<init>", "()V") : nullptr;
    jmethodID getSystemConfig =
        cls ? env->GetMethodID(cls, "getSystemConfig", "()Lcom/zeq/sysmgt/raidmgr/dataproc/jni/StorRet;") : nullptr;
    jfieldID buffer = cls ? env->GetFieldID(cls, "xmlConfigBuffer", "Ljava/lang/String;") : nullptr;
    jobject proc = constructor ? env->NewObject(cls, constructor) : nullptr;
    if (!proc || !getSystemConfig || !buffer || env->ExceptionCheck()) {
        env->ExceptionClear();
        state.SkipWithError("the Java classes are missing");
        return;
    }
    jfieldID code = nullptr;
    jsize chars = 0;
    for (auto _ : state) {
        jobject ret = env->CallObjectMethod(proc, getSystemConfig);
        jstring xml = static_cast<jstring>(env->GetObjectField(proc, buffer));
        if (!code && ret) {
            jclass retClass = env->GetObjectClass(ret);
            code = env->GetFieldID(retClass, "iReturnCode", "I");
            env->DeleteLocalRef(retClass);
        }
        if (!ret || !xml || env->GetIntField(ret, code) != 0) {
            state.SkipWithError("getSystemConfig failed");
            break;
        }
        chars = env->GetStringLength(xml);
        env->DeleteLocalRef(xml);
        env->DeleteLocalRef(ret);
    }
    state.counters["xml_chars"] = static_cast<double>(chars);
    env->DeleteLocalRef(proc);
    env->DeleteLocalRef(cls);
}

// The hand-over alone: the document of the C++ call made a Java String in
// "xmlConfigBuffer", as the native does after the library call.
void BM_HandOver(benchmark::State& state)
{
    tarnellsim::reset(tarnellsim::fullScenario(static_cast<unsigned>(state.range(0))));
    TarnellLib lib;
    char* xml = nullptr;
    jclass cls = env->FindClass("com/zeq/sysmgt/raidmgr/dataproc/StorDataProc");
    jmethodID constructor = cls ? env->GetMethodID(cls, "<init>", "()V") : nullptr;
    jobject proc = constructor ? env->NewObject(cls, constructor) : nullptr;
    if (!proc || lib.getSystemConfig(&xml).getReturn() != Ret::SUCCESS) {
        env->ExceptionClear();
        state.SkipWithError("no document or no Java object");
        lib.freeBuffer(xml);
        return;
    }
    for (auto _ : state)
        setJavaStringBuffer(env, proc, "xmlConfigBuffer", xml);
    lib.freeBuffer(xml);
    env->DeleteLocalRef(proc);
    env->DeleteLocalRef(cls);
}

BENCHMARK(BM_Cpp)->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Java)->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HandOver)->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    // A heap of fixed size, touched at start: the measurement does not pay
    // for the JVM growing its heap into fresh pages.
    env = jvmhost::start("", {"-Xrs", "-Xms512m", "-Xmx512m", "-XX:+AlwaysPreTouch"});
    if (!env) {
        std::fprintf(stderr, "bridge_bench: no JVM\n");
        return 1;
    }
    const int status = runBenchmarksInOwnDirectory(argc, argv, "tarnell-bridge-bench");
    jvmhost::stop();
    return status;
}
