#include "storagedll/storintf.h"

namespace {
#define STOREDLL_NAME(kind, name, params, args) #name,
const char* const entryNames[STORAPI_OP_COUNT] = {STORAPI_ALL_OPS(STOREDLL_NAME)};
#undef STOREDLL_NAME

#define STOREDLL_KIND(kind, name, params, args) STORAPI_KIND_##kind,
const StorApiKind entryKinds[STORAPI_OP_COUNT] = {STORAPI_ALL_OPS(STOREDLL_KIND)};
#undef STOREDLL_KIND
} // namespace

const char* StoreDLLIntf::entryName(unsigned i) {
    return i < STORAPI_OP_COUNT ? entryNames[i] : nullptr;
}

StorApiKind StoreDLLIntf::entryKind(unsigned i) {
    return i < STORAPI_OP_COUNT ? entryKinds[i] : STORAPI_KIND_SRET;
}

StoreDLLIntf::StoreDLLIntf(const char* libraryName)
    : DynamicLinkLibKrna(libraryName), usable(0), failId(0) {
    for (unsigned i = 0; i < STORAPI_OP_COUNT; ++i) {
        entryTable[i] = nullptr;
    }
    if (!isOpen()) {
        failId = STOREDLL_FAIL_NOT_OPENED;
        return;
    }
    for (unsigned i = 0; i < STORAPI_OP_COUNT; ++i) {
        entryTable[i] = reinterpret_cast<EntryProc>(LoadProcAddr(entryNames[i]));
    }
    failId = 0;
    usable = 1;
}

StoreDLLIntf::~StoreDLLIntf() {}

BOOL StoreDLLIntf::ConstructorOK(uint32_t& failIdOut) {
    if (!usable) {
        failIdOut = failId;
        return 0;
    }
    typedef BOOL (*Entry)(uint32_t&);
    Entry entry = reinterpret_cast<Entry>(entryTable[STORAPI_ConstructorOK]);
    if (entry == nullptr) {
        failIdOut = STOREDLL_FAIL_NO_CONSTRUCTOROK;
        return 0;
    }
    return entry(failIdOut);
}

// The forwarders. An S_Ret result is copied into a record of our own, so the
// caller never holds an object whose virtual operations live in the library.
#define STOREDLL_FORWARD(kind, name, params, args) STOREDLL_FORWARD_##kind(name, params, args)
#define STOREDLL_FORWARD_SRET(name, params, args)                                \
    S_Ret StoreDLLIntf::name params {                                            \
        typedef S_Ret(*Entry) params;                                            \
        Entry entry = reinterpret_cast<Entry>(entryTable[STORAPI_##name]);       \
        if (entry == nullptr) {                                                  \
            return S_Ret(-3, 0, 0, 0, 0, 0);                                     \
        }                                                                        \
        S_Ret result;                                                            \
        result = entry args;                                                     \
        return result;                                                           \
    }
#define STOREDLL_FORWARD_INT(name, params, args)                                 \
    int StoreDLLIntf::name params {                                              \
        typedef int (*Entry) params;                                             \
        Entry entry = reinterpret_cast<Entry>(entryTable[STORAPI_##name]);       \
        if (entry == nullptr) {                                                  \
            return -3;                                                           \
        }                                                                        \
        return entry args;                                                       \
    }
#define STOREDLL_FORWARD_VERS(name, params, args) STOREDLL_FORWARD_INT(name, params, args)
// ConstructorOK is written out above.
#define STOREDLL_FORWARD_BOOL(name, params, args)

STORAPI_ALL_OPS(STOREDLL_FORWARD)
