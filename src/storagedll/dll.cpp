#include "storagedll/dll.h"

#include <dlfcn.h>

#include <cerrno>
#include <cstring>
#include <new>

DlHookProc procr = nullptr;

namespace {
// procr is shared by every thread that opens or closes a library (the legacy
// Java bridge opens one per Java object, on the caller's thread): it is
// written atomically, and each thread calls the hook it looked up itself,
// never one that another thread left in procr.
void setProcr(DlHookProc hook) { __atomic_store_n(&procr, hook, __ATOMIC_RELAXED); }

// Looks up a load hook, keeping it in procr, and calls it when present.
void callHook(void* handle, const char* hookName) {
    setProcr(nullptr);
    DlHookProc hook = reinterpret_cast<DlHookProc>(dlsym(handle, hookName));
    setProcr(hook);
    if (hook != nullptr) {
        hook();
    }
}
} // namespace

DynamicLinkLibKrna::DynamicLinkLibKrna(const char* libName)
    : name(nullptr), loadCount(0), handle(nullptr), noMemory(false) {
    if (libName != nullptr) {
        size_t len = strlen(libName) + 1;
        name = new (std::nothrow) char[len];
        if (name != nullptr) {
            memcpy(name, libName, len);
        }
    }
    LoadDLL();
    noMemory = noMemory || (libName != nullptr && name == nullptr);
}

DynamicLinkLibKrna::~DynamicLinkLibKrna() {
    delete[] name;
    if (handle != nullptr) {
        dlclose(handle);
    }
}

int DynamicLinkLibKrna::LoadDLL() {
    if (handle != nullptr) {
        ++loadCount;
        return 1;
    }
    setProcr(nullptr);
    // dlopen(NULL) would hand back the main program, so without a name
    // nothing is opened.
    noMemory = false;
    if (name != nullptr) {
        handle = dlopen(name, RTLD_NOW);
        if (handle == nullptr) {
            const char* error = dlerror();
            noMemory = error != nullptr && strstr(error, strerror(ENOMEM)) != nullptr;
        }
    }
    if (handle == nullptr) {
        loadCount = 0;
        return 0;
    }
    callHook(handle, "DlInit");
    loadCount = 1;
    return 1;
}

void* DynamicLinkLibKrna::LoadProcAddr(const char* symbol) {
    if (handle == nullptr || symbol == nullptr) {
        return nullptr;
    }
    return dlsym(handle, symbol);
}

int DynamicLinkLibKrna::UnloadDLL() {
    if (handle == nullptr) {
        return 1;
    }
    if (--loadCount > 0) {
        return 1;
    }
    callHook(handle, "DlTerm");
    int rc = dlclose(handle);
    handle = nullptr;
    loadCount = 0;
    return rc == 0 ? 1 : 0;
}
