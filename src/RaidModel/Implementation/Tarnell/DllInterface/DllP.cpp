#include "RaidModel/Implementation/Tarnell/DllInterface/DllP.h"

#include <cinttypes>
#include <cstdio>
#include <mutex>
#include <new>
#include <string>

#include "storagedll/storintf.h"

const char* const DllP::LIBRARY_NAME = "libtarnellapi.so";

StoreDLLIntf* DllP::pStore = nullptr;
std::atomic<int> DllP::dllPtrCount(0);

namespace {

// Guards the creation of the object and the test hooks; once an object is
// held, GetDLLPointer returns it without taking the lock.
std::mutex& creationLock()
{
    static std::mutex lock;
    return lock;
}

// The library the test hooks point the access point at; empty: LIBRARY_NAME.
std::string& libraryOverride()
{
    static std::string name;
    return name;
}

} // namespace

StoreDLLIntf* DllP::GetDLLPointer()
{
    if (dllPtrCount.load(std::memory_order_acquire) != 0)
        return pStore;

    std::lock_guard<std::mutex> guard(creationLock());
    if (dllPtrCount.load(std::memory_order_relaxed) != 0)
        return pStore;

    const std::string& name = libraryOverride();
    StoreDLLIntf* candidate = new StoreDLLIntf(name.empty() ? LIBRARY_NAME : name.c_str());
    if (candidate->outOfMemory()) {
        // Not a library that cannot be used: the request fails for want of
        // memory, and the next one tries again.
        delete candidate;
        throw std::bad_alloc();
    }
    pStore = candidate;

    uint32_t failID = 0;
    if (pStore->ConstructorOK(failID) != 0) {
        dllPtrCount.store(1, std::memory_order_release);
        return pStore;
    }

    std::printf("Dll loading failed; failID is %" PRIu32 "\n", failID);
    std::fflush(stdout);
    delete pStore;
    pStore = nullptr;
    return nullptr;
}

void DllP::resetForTest()
{
    std::lock_guard<std::mutex> guard(creationLock());
    delete pStore;
    pStore = nullptr;
    dllPtrCount.store(0, std::memory_order_release);
}

void DllP::setLibraryNameForTest(const char* name)
{
    std::lock_guard<std::mutex> guard(creationLock());
    libraryOverride() = name != nullptr ? name : "";
}
