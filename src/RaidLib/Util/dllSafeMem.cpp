// The global allocation operators of one deliverable; see dllSafeMem.h.
// Build with DLLSAFE_DELETER_NAME set to the deliverable's deleter name.

#include "RaidLib/Util/dllSafeMem.h"

#include <cstdint>
#include <cstdlib>
#include <new>

#include "RaidLib/Util/StorExport.h"

#ifndef DLLSAFE_DELETER_NAME
#define DLLSAFE_DELETER_NAME dllSafeDeleteTarnellCore
#endif

extern "C" {

// The library's own deleter. Blocks record this hidden name's address, which
// no other library can interpose, so the header always names this library
// even where two libraries export the same deleter name.
__attribute__((visibility("hidden"))) void dllSafeOwnDeleter(void* pBlockIN) noexcept { free(pBlockIN); }

// The exported name of the same function.
STOR_EXPORT void DLLSAFE_DELETER_NAME(void* pBlockIN) noexcept __attribute__((alias("dllSafeOwnDeleter")));

} // extern "C"

namespace {

void* dllSafeAllocate(std::size_t size)
{
    if (size > SIZE_MAX - DLLSAFE_HEADER_SIZE)
        return nullptr;
    void* block = malloc(size + DLLSAFE_HEADER_SIZE);
    if (!block)
        return nullptr;
    static_cast<DllSafeHeader*>(block)->deleter = &dllSafeOwnDeleter;
    return static_cast<unsigned char*>(block) + DLLSAFE_HEADER_SIZE;
}

void* dllSafeAllocateOrThrow(std::size_t size)
{
    void* p = dllSafeAllocate(size);
    if (!p)
        throw std::bad_alloc();
    return p;
}

void dllSafeRelease(void* p)
{
    if (!p)
        return;
    DllSafeHeader* header = reinterpret_cast<DllSafeHeader*>(static_cast<unsigned char*>(p) - DLLSAFE_HEADER_SIZE);
    header->deleter(header);
}

} // namespace

// Exported, so that the dynamic linker binds the whole process to one pair and
// every block that reaches a release operator carries the header. The plain
// forms raise std::bad_alloc when the heap is exhausted, as the language and
// its library expect of them; the nothrow forms answer null.
STOR_EXPORT void* operator new(std::size_t size) { return dllSafeAllocateOrThrow(size); }
STOR_EXPORT void* operator new[](std::size_t size) { return dllSafeAllocateOrThrow(size); }
STOR_EXPORT void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return dllSafeAllocate(size); }
STOR_EXPORT void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return dllSafeAllocate(size); }

STOR_EXPORT void operator delete(void* p) noexcept { dllSafeRelease(p); }
STOR_EXPORT void operator delete[](void* p) noexcept { dllSafeRelease(p); }
STOR_EXPORT void operator delete(void* p, std::size_t) noexcept { dllSafeRelease(p); }
STOR_EXPORT void operator delete[](void* p, std::size_t) noexcept { dllSafeRelease(p); }
STOR_EXPORT void operator delete(void* p, const std::nothrow_t&) noexcept { dllSafeRelease(p); }
STOR_EXPORT void operator delete[](void* p, const std::nothrow_t&) noexcept { dllSafeRelease(p); }
