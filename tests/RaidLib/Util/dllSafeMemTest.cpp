#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <dlfcn.h>
#include <new>
#include <string>

#include "RaidLib/Util/StorDebug.h"
#include "RaidLib/Util/dllSafeMem.h"

// The tests call each library's own operators, looked up in that library, so
// they hold in every build: in the sanitizer build the sanitizer's operators
// serve the process's new and delete expressions.

namespace {

typedef void* (*NewFn)(std::size_t);
typedef void* (*NothrowNewFn)(std::size_t, const std::nothrow_t&);
typedef void (*DeleteFn)(void*);

const bool WIDE = sizeof(std::size_t) == 8;
const char* const NEW_NAME = WIDE ? "_Znwm" : "_Znwj";
const char* const NEW_ARRAY_NAME = WIDE ? "_Znam" : "_Znaj";
const char* const NOTHROW_NEW_NAME = WIDE ? "_ZnwmRKSt9nothrow_t" : "_ZnwjRKSt9nothrow_t";
const char* const NOTHROW_NEW_ARRAY_NAME = WIDE ? "_ZnamRKSt9nothrow_t" : "_ZnajRKSt9nothrow_t";

// The heap operators and deleter of one loaded library.
struct HeapLib {
    void* handle = nullptr;
    NewFn opNew = nullptr;
    NewFn opNewArray = nullptr;
    NothrowNewFn nothrowNew = nullptr;
    NothrowNewFn nothrowNewArray = nullptr;
    DeleteFn opDelete = nullptr;
    DeleteFn opDeleteArray = nullptr;
    DllSafeDeleter deleter = nullptr;

    HeapLib(const char* path, int flags, const char* deleterName)
    {
        handle = dlopen(path, flags);
        if (!handle)
            return;
        opNew = reinterpret_cast<NewFn>(own(path, NEW_NAME));
        opNewArray = reinterpret_cast<NewFn>(own(path, NEW_ARRAY_NAME));
        nothrowNew = reinterpret_cast<NothrowNewFn>(own(path, NOTHROW_NEW_NAME));
        nothrowNewArray = reinterpret_cast<NothrowNewFn>(own(path, NOTHROW_NEW_ARRAY_NAME));
        opDelete = reinterpret_cast<DeleteFn>(own(path, "_ZdlPv"));
        opDeleteArray = reinterpret_cast<DeleteFn>(own(path, "_ZdaPv"));
        deleter = reinterpret_cast<DllSafeDeleter>(own(path, deleterName));
    }
    ~HeapLib()
    {
        if (handle)
            dlclose(handle);
    }
    bool complete() const
    {
        return opNew && opNewArray && nothrowNew && nothrowNewArray && opDelete && opDeleteArray && deleter;
    }

private:
    // A symbol defined by this library itself, not one of its dependencies.
    void* own(const char* path, const char* name)
    {
        void* sym = dlsym(handle, name);
        Dl_info info;
        if (!sym || !dladdr(sym, &info) || !info.dli_fname || std::string(info.dli_fname) != path)
            return nullptr;
        return sym;
    }
};

std::string corePath()
{
    Dl_info info;
    if (!dladdr(reinterpret_cast<void*>(&doStorDebugInitialization), &info) || !info.dli_fname)
        return "";
    return info.dli_fname;
}

// The header in front of a block that an operator handed out. Its address is
// computed as a number: the compiler knows only the block and would take the
// header for a read before it.
DllSafeDeleter headerOf(void* p)
{
    const uintptr_t header = reinterpret_cast<uintptr_t>(p) - DLLSAFE_HEADER_SIZE;
    return reinterpret_cast<const DllSafeHeader*>(header)->deleter;
}

bool aligned16(const void* p) { return reinterpret_cast<uintptr_t>(p) % 16 == 0; }

void* recordedBlock;
void recordingDeleter(void* block) { recordedBlock = block; }

} // namespace

class DllSafeMem : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(core.complete()) << "core library operators not found in " << path;
        ASSERT_TRUE(libA.complete()) << dlerror();
        ASSERT_TRUE(libB.complete()) << dlerror();
    }

    std::string path = corePath();
    HeapLib core{path.c_str(), RTLD_NOW | RTLD_NOLOAD, "dllSafeDeleteTarnellCore"};
    HeapLib libA{DLLSAFE_TEST_LIB_A, RTLD_NOW | RTLD_LOCAL, "dllSafeDeleteTestA"};
    HeapLib libB{DLLSAFE_TEST_LIB_B, RTLD_NOW | RTLD_LOCAL, "dllSafeDeleteTestB"};
};

TEST_F(DllSafeMem, BlocksNameTheAllocatingLibrarysDeleter)
{
    EXPECT_NE(libA.deleter, libB.deleter);
    EXPECT_NE(libA.deleter, core.deleter);

    struct Case {
        HeapLib* from;
        HeapLib* to;
        bool array;
    } cases[] = {{&libA, &libB, false}, {&libB, &libA, true}, {&core, &libA, false}, {&libA, &core, true}};
    for (const Case& c : cases) {
        void* p = (c.array ? c.from->opNewArray : c.from->opNew)(40);
        ASSERT_NE(p, nullptr);
        EXPECT_TRUE(aligned16(p));
        EXPECT_EQ(headerOf(p), c.from->deleter);
        memset(p, 0x5A, 40);
        // Released by the other library: it hands the block to the allocating
        // library's deleter (a wrong release would trip the sanitizer).
        (c.array ? c.to->opDeleteArray : c.to->opDelete)(p);
    }
}

TEST_F(DllSafeMem, ReleaseHandsTheWholeBlockToTheHeadersDeleter)
{
    alignas(16) unsigned char block[DLLSAFE_HEADER_SIZE + 8] = {};
    reinterpret_cast<DllSafeHeader*>(block)->deleter = &recordingDeleter;
    for (DeleteFn release : {libA.opDelete, libA.opDeleteArray, core.opDelete, core.opDeleteArray}) {
        recordedBlock = nullptr;
        release(block + DLLSAFE_HEADER_SIZE);
        EXPECT_EQ(recordedBlock, block);
    }

    recordedBlock = nullptr;
    core.opDelete(nullptr);
    core.opDeleteArray(nullptr);
    EXPECT_EQ(recordedBlock, nullptr);
}

TEST_F(DllSafeMem, ZeroByteBlocksAreDistinctAndAligned)
{
    void* a = core.opNew(0);
    void* b = core.opNew(0);
    void* c = core.opNewArray(0);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    ASSERT_NE(c, nullptr);
    EXPECT_NE(a, b);
    EXPECT_NE(b, c);
    EXPECT_TRUE(aligned16(a) && aligned16(b) && aligned16(c));
    core.opDelete(a);
    core.opDelete(b);
    core.opDeleteArray(c);
}

// A request no heap can give, as on exhaustion: the plain forms raise
// std::bad_alloc, as the language's library expects of them; the nothrow
// forms answer null.
TEST_F(DllSafeMem, ExhaustionRaisesFromThePlainFormsAndYieldsNullFromTheNothrowForms)
{
    // Sizes whose header would wrap the size type.
    for (std::size_t n : {SIZE_MAX, SIZE_MAX - DLLSAFE_HEADER_SIZE + 1}) {
        for (HeapLib* lib : {&core, &libA}) {
            EXPECT_THROW(lib->opNew(n), std::bad_alloc);
            EXPECT_THROW(lib->opNewArray(n), std::bad_alloc);
            void* p = reinterpret_cast<void*>(1);
            EXPECT_NO_THROW(p = lib->nothrowNew(n, std::nothrow));
            EXPECT_EQ(p, nullptr);
            p = reinterpret_cast<void*>(1);
            EXPECT_NO_THROW(p = lib->nothrowNewArray(n, std::nothrow));
            EXPECT_EQ(p, nullptr);
        }
    }
}

TEST(DllSafeMemExpression, ProcessAllocatesThroughTheCoreLibrary)
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "the sanitizer's own operators serve this process's new expressions";
#else
    DllSafeDeleter core = reinterpret_cast<DllSafeDeleter>(dlsym(RTLD_DEFAULT, "dllSafeDeleteTarnellCore"));
    ASSERT_NE(core, nullptr);
    int* n = new int(5);
    char* text = new char[3];
    EXPECT_EQ(headerOf(n), core);
    EXPECT_EQ(headerOf(text), core);
    delete n;
    delete[] text;
#endif
}
