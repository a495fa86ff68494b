#include "FailingAllocator.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <execinfo.h>
#include <initializer_list>
#include <new>

#include "RaidLib/Util/StorDebug.h"

namespace {

typedef void* (*NewFn)(std::size_t);
typedef void* (*NothrowNewFn)(std::size_t, const std::nothrow_t&);
typedef void (*DeleteFn)(void*);

const bool WIDE = sizeof(std::size_t) == 8;

// The core library's own operators.
struct CoreHeap {
    NewFn opNew;
    NewFn opNewArray;
    NothrowNewFn nothrowNew;
    NothrowNewFn nothrowNewArray;
    DeleteFn opDelete;
    DeleteFn opDeleteArray;
};

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "FailingAllocator: %s\n", what);
    std::abort();
}

// A name that the core library itself defines, looked up in that library.
void* coreSymbol(void* core, const char* path, const char* name)
{
    void* sym = dlsym(core, name);
    Dl_info info;
    if (!sym || !dladdr(sym, &info) || !info.dli_fname || std::strcmp(info.dli_fname, path) != 0)
        fail(name);
    return sym;
}

CoreHeap lookUpCoreHeap()
{
    Dl_info info;
    if (!dladdr(reinterpret_cast<void*>(&doStorDebugInitialization), &info) || !info.dli_fname)
        fail("the core library is not loaded");
    void* core = dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD);
    if (!core)
        fail("the core library cannot be opened");
    const char* path = info.dli_fname;
    CoreHeap heap;
    heap.opNew = reinterpret_cast<NewFn>(coreSymbol(core, path, WIDE ? "_Znwm" : "_Znwj"));
    heap.opNewArray = reinterpret_cast<NewFn>(coreSymbol(core, path, WIDE ? "_Znam" : "_Znaj"));
    heap.nothrowNew =
        reinterpret_cast<NothrowNewFn>(coreSymbol(core, path, WIDE ? "_ZnwmRKSt9nothrow_t" : "_ZnwjRKSt9nothrow_t"));
    heap.nothrowNewArray =
        reinterpret_cast<NothrowNewFn>(coreSymbol(core, path, WIDE ? "_ZnamRKSt9nothrow_t" : "_ZnajRKSt9nothrow_t"));
    heap.opDelete = reinterpret_cast<DeleteFn>(coreSymbol(core, path, "_ZdlPv"));
    heap.opDeleteArray = reinterpret_cast<DeleteFn>(coreSymbol(core, path, "_ZdaPv"));
    // The unwinder that backtrace loads on its first call is loaded now.
    void* frames[2];
    backtrace(frames, 2);
    return heap;
}

const CoreHeap& coreHeap()
{
    static const CoreHeap heap = lookUpCoreHeap();
    return heap;
}

std::atomic<unsigned long> seen{0};
std::atomic<unsigned long> target{0};
std::atomic<bool> armed{false};
std::atomic<bool> happened{false};

bool endsWith(const char* text, const char* tail)
{
    const size_t n = std::strlen(text);
    const size_t m = std::strlen(tail);
    return n >= m && std::strcmp(text + n - m, tail) == 0;
}

bool startsWith(const char* text, const char* head) { return std::strncmp(text, head, std::strlen(head)) == 0; }

// The language and C runtimes and the sanitizers: a request made there is
// made for the frame that called into them.
bool isRuntime(const char* base)
{
    for (const char* name : {"libstdc++.so", "libc.so", "libgcc_s.so", "libm.so", "libasan.so", "libubsan.so",
                             "libtsan.so", "ld-linux"}) {
        if (startsWith(base, name))
            return true;
    }
    return false;
}

// The build's libraries whose requests may fail.
bool isFailingLibrary(const char* base)
{
    for (const char* name : {"libtarnellcore.so", "libwatchtarnell.so", "libwatchpelm.so", "libwatchqorl.so",
                             "libpelmcore.so", "libveskcore.so", "libkrnacim.so", "libcimple.so"}) {
        if (endsWith(base, name))
            return true;
    }
    return false;
}

// Whether the request being served comes from one of those libraries: the
// first frame outside the runtimes after the operator's own frame decides.
// (The operators are exported, so their frames carry their names.)
bool requestedByLibrary()
{
    void* frames[32];
    const int n = backtrace(frames, 32);
    bool inOperator = false;
    for (int i = 0; i < n; ++i) {
        Dl_info info;
        if (!dladdr(frames[i], &info) || !info.dli_fname)
            return false;
        if (!inOperator) {
            inOperator = info.dli_sname && startsWith(info.dli_sname, "_Zn");
            continue;
        }
        const char* slash = std::strrchr(info.dli_fname, '/');
        const char* base = slash ? slash + 1 : info.dli_fname;
        if (!isRuntime(base))
            return isFailingLibrary(base);
    }
    return false;
}

// Whether this request is the one to fail.
bool failThis()
{
    const unsigned long n = seen.fetch_add(1, std::memory_order_relaxed) + 1;
    if (!armed.load(std::memory_order_relaxed) || n < target.load(std::memory_order_relaxed))
        return false;
    if (!requestedByLibrary())
        return false;
    bool expected = true;
    if (!armed.compare_exchange_strong(expected, false))
        return false;
    happened = true;
    return true;
}

// More than any heap can give: the core's operators fail as on exhaustion.
const std::size_t IMPOSSIBLE = SIZE_MAX;

} // namespace

namespace allocfail {

void failAt(unsigned long n)
{
    coreHeap();
    happened = false;
    target = n;
    seen = 0;
    armed = true;
}

void startCount()
{
    armed = false;
    happened = false;
    seen = 0;
}

bool disarm()
{
    armed = false;
    return happened.load();
}

unsigned long count() { return seen.load(); }

} // namespace allocfail

// The program's operators, which every library of the process binds to.
#define ALLOCFAIL_EXPORT __attribute__((visibility("default")))

ALLOCFAIL_EXPORT void* operator new(std::size_t size) { return coreHeap().opNew(failThis() ? IMPOSSIBLE : size); }

ALLOCFAIL_EXPORT void* operator new[](std::size_t size)
{
    return coreHeap().opNewArray(failThis() ? IMPOSSIBLE : size);
}

ALLOCFAIL_EXPORT void* operator new(std::size_t size, const std::nothrow_t& tag) noexcept
{
    return coreHeap().nothrowNew(failThis() ? IMPOSSIBLE : size, tag);
}

ALLOCFAIL_EXPORT void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept
{
    return coreHeap().nothrowNewArray(failThis() ? IMPOSSIBLE : size, tag);
}

ALLOCFAIL_EXPORT void operator delete(void* p) noexcept { coreHeap().opDelete(p); }
ALLOCFAIL_EXPORT void operator delete[](void* p) noexcept { coreHeap().opDeleteArray(p); }
ALLOCFAIL_EXPORT void operator delete(void* p, std::size_t) noexcept { coreHeap().opDelete(p); }
ALLOCFAIL_EXPORT void operator delete[](void* p, std::size_t) noexcept { coreHeap().opDeleteArray(p); }
ALLOCFAIL_EXPORT void operator delete(void* p, const std::nothrow_t&) noexcept { coreHeap().opDelete(p); }
ALLOCFAIL_EXPORT void operator delete[](void* p, const std::nothrow_t&) noexcept { coreHeap().opDeleteArray(p); }
