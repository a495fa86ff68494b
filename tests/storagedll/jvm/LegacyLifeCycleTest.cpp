#include <dlfcn.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "LegacyTest.h"
#include "TarnellSim.h"
#include "storagedll/jdllhandles.h"
#include "storagedll/storjdll.h"

// The life cycle of StorageDLL objects: their interface objects, the
// converter they share, and their use from several threads.

using namespace legacytest;

namespace {

const char* const VERSION_SIG = "(" LEGACY_API_SIG("Version") ")I";

class LegacyLifeCycle : public LegacyTest {
protected:
    // cConstructorOK's answer and the failure id it leaves in a marked LVal.
    std::pair<jlong, std::string> constructorOK(jobject dll)
    {
        jobject failId = apiObject(API_CLASS("LVal"));
        mark(failId, 3);
        const jlong ok = callNative(dll, "cConstructorOK", {obj(failId)});
        return {ok, describe(failId)};
    }

    static std::string lval(long long value) { return "{value=" + std::to_string(value) + " }"; }

    jint dllType(jobject dll) { return jint(callNative(dll, "cGetDLLType", {obj(apiObject(API_CLASS("DllType")))})); }
};

TEST_F(LegacyLifeCycle, ConstructorOKTellsWhetherTheLibraryCanBeUsed)
{
    struct Case {
        const char* library;
        bool usable;
        long long failId;
    };
    const std::vector<Case> cases = {
        {"libtarnellapi.so", true, 0},
        {"libtarnellapi-missing.so", false, 0x77770000},
        {nullptr, false, 0x77770000},   // a null name opens nothing
        {TARNELLAPI_NO_CONSTRUCTOROK, false, 0x77770001},
        {TARNELLAPI_CONSTRUCTOR_FAILS, false, tarnellsim::CONSTRUCTOR_FAIL_ID},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.library ? c.library : "(null)");
        jobject dll = open(c.library);
        EXPECT_NE(0, dllIndex(dll));
        const auto answer = constructorOK(dll);
        EXPECT_EQ(c.usable ? 1 : 0, answer.first);
        EXPECT_EQ(lval(c.failId), answer.second);
    }
    // A library that did not open answers -3 for every entry point.
    EXPECT_EQ(-3, dllType(open("libtarnellapi-missing.so")));
}

TEST_F(LegacyLifeCycle, DestructTwiceAndConstructAgain)
{
    legacyjdll::InterfaceTable& table = legacyjdll::interfaceTable();
    const size_t live = table.size();
    jobject dll = open();
    const jint first = dllIndex(dll);
    EXPECT_EQ(live + 1, table.size());
    EXPECT_EQ(table.peek(first), GetDllPointer(e, dll, e->GetFieldID(e->GetObjectClass(dll), "iCppDllPtr", "I")));
    EXPECT_NE(nullptr, table.peek(first));

    // A second construction replaces the interface object and releases the first.
    EXPECT_EQ(0, callNative(dll, "constructDllObject", {obj(javaString("libtarnellapi.so"))}));
    const jint second = dllIndex(dll);
    EXPECT_GT(second, first);
    EXPECT_EQ(live + 1, table.size());
    jobject stale = storageDll();
    setDllIndex(stale, first);
    EXPECT_EQ(-3, dllType(stale));
    EXPECT_EQ(nullptr, GetDllPointer(e, stale, e->GetFieldID(e->GetObjectClass(stale), "iCppDllPtr", "I")));
    EXPECT_EQ(0, dllType(dll));

    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(0, callNative(dll, "destructDllObject", {}));
        EXPECT_EQ(0, dllIndex(dll));
        EXPECT_EQ(live, table.size());
    }
    EXPECT_EQ(-3, dllType(dll));
    EXPECT_FALSE(constructorOK(dll).first);
}

TEST_F(LegacyLifeCycle, ObjectsShareOneConverterThatOutlivesDlTerm)
{
    jobject first = open();
    StorageDataConverter* conv = currentLegacyConverter();
    ASSERT_NE(nullptr, conv);
    jobject second = open();
    EXPECT_EQ(conv, currentLegacyConverter());
    EXPECT_EQ(0, callNative(first, "destructDllObject", {}));
    EXPECT_EQ(0, dllType(second));
    EXPECT_EQ(conv, currentLegacyConverter());

    // The core's own DlTerm (a host's last call): natives called afterwards
    // get a new converter.
    void* core = dlopen("libtarnellcore.so", RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(nullptr, core);
    reinterpret_cast<void (*)()>(dlsym(core, "DlTerm"))();
    dlclose(core);
    EXPECT_EQ(nullptr, currentLegacyConverter());
    jobject limits = apiObject(API_CLASS("AdapterLimits"));
    jobject ret = apiObject(API_CLASS("StorRet"));
    mark(ret, 1);
    callNative(storageDll(), "GetLimits", {obj(ret), obj(limits)});
    EXPECT_EQ(Result{}, result(ret));
    EXPECT_EQ(20, intField(limits, "iMaxControllers"));
    EXPECT_NE(nullptr, currentLegacyConverter());
    EXPECT_EQ(0, dllType(second));
}

// Threads construct, use and destruct objects of their own while others
// use a shared object that the test thread destructs and constructs anew.
TEST_F(LegacyLifeCycle, ThreadsUseTheirObjectsAndOneSharedOne)
{
    jobject shared = e->NewGlobalRef(open());
    std::atomic<bool> done{false};
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            JNIEnv* te = nullptr;
            if (vm()->AttachCurrentThread(reinterpret_cast<void**>(&te), nullptr) != JNI_OK) {
                ++failures;
                return;
            }
            for (int i = 0; i < 25 || !done; ++i) {
                te->PushLocalFrame(64);
                if (t % 2 == 0) {
                    jobject own = storageDll();
                    const bool ok = callNative(own, "constructDllObject", {obj(javaString("libtarnellapi.so"))}) == 0 &&
                                    dllType(own) == 0 &&
                                    callNative(own, "cGetDLLVersion", {obj(apiObject(API_CLASS("Version")))},
                                               VERSION_SIG) == 0;
                    callNative(own, "destructDllObject", {});
                    failures += ok ? 0 : 1;
                } else {
                    const jint rc = dllType(shared);
                    failures += (rc == 0 || rc == -3) ? 0 : 1;
                }
                te->PopLocalFrame(nullptr);
                if (i > 2000)
                    break;
            }
            vm()->DetachCurrentThread();
        });
    }
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(0, callNative(shared, "destructDllObject", {}));
        EXPECT_EQ(0, callNative(shared, "constructDllObject", {obj(javaString("libtarnellapi.so"))}));
    }
    done = true;
    for (std::thread& th : threads)
        th.join();
    EXPECT_EQ(0, failures);
    callNative(shared, "destructDllObject", {});
    e->DeleteGlobalRef(shared);
}

} // namespace
