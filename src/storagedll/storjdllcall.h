#ifndef STORJDLLCALL_H
#define STORJDLLCALL_H

// What the StorageDLL natives share inside the core: the entry-point names,
// the declarations of every native of the table, the interface object a
// native holds while it runs, and the end of a StorRet native (the outputs
// before or after the result).

#include <jni.h>

#include "storagedll/jdllhandles.h"
#include "storagedll/jdllshapes.h"
#include "storagedll/storjdll.h"
#include "storagedll/storjdllnatives.h"

#define STORAGEDLL_ENTRY(name) Java_com_zeq_sysmgt_storage_base_StorageDLL_##name
#define STORAGEDLL_UNPAREN(...) __VA_ARGS__

// Every entry point is declared from the table, so a body written by hand
// must match its row.
#define STORAGEDLL_DECLARE(kind, result, name, exportName, params, sig, roles, op, locals, inputs, args, \
                           outputs, when)                                                                  \
    extern "C" JNIEXPORT result JNICALL STORAGEDLL_ENTRY(exportName)(JNIEnv * env, STORAGEDLL_UNPAREN params);
STORAGEDLL_NATIVES(STORAGEDLL_DECLARE)
#undef STORAGEDLL_DECLARE

namespace legacyjdll {

// What a native works with: while it runs, the interface object of its Java
// object (none for 0 or a stale index).
class LegacyCall {
public:
    LegacyCall(JNIEnv* env, jobject self);
    StoreDLLIntf* intf() const { return lease.get(); }

private:
    InterfaceLease lease;
};

// When a native writes its outputs.
enum class When { NEVER, ON_ZERO, ALWAYS, ON_ZERO_BEFORE, ON_ZERO_AFTER, ALWAYS_BEFORE, ALWAYS_AFTER };

inline bool writesOutputs(When when, int code)
{
    switch (when) {
    case When::ON_ZERO:
    case When::ON_ZERO_BEFORE:
    case When::ON_ZERO_AFTER:
        return code == 0;
    case When::ALWAYS:
    case When::ALWAYS_BEFORE:
    case When::ALWAYS_AFTER:
        return true;
    default:
        return false;
    }
}

inline bool beforeResult(When when) { return when == When::ON_ZERO_BEFORE || when == When::ALWAYS_BEFORE; }

// The end of a StorRet native: the outputs as `when` says, and the result
// into the StorRet before or after them.
template <class Outputs>
void finishResult(JNIEnv* env, StorageDataConverter& conv, jobject jRet, S_Ret& ret, When when, Outputs outputs)
{
    const bool write = writesOutputs(when, ret.iReturnCode);
    if (write && beforeResult(when))
        outputs();
    conv.S_Retcpp_TO_StorRetJava(env, jRet, ret);
    if (write && !beforeResult(when))
        outputs();
}

// The result into the StorRet.
inline void deliverResult(JNIEnv* env, StorageDataConverter& conv, jobject jRet, S_Ret ret)
{
    conv.S_Retcpp_TO_StorRetJava(env, jRet, ret);
}

// The start of a StorRet native that its row does not make: without an
// interface object the StorRet gets -3 and nothing else happens; with one,
// body(interface, converter, address) runs with the StorAddr converted.
template <class Body>
void withInterface(JNIEnv* env, jobject self, jobject jRet, jobject jAddr, Body body)
{
    LegacyCall call(env, self);
    StorageDataConverter& conv = legacyConverter();
    if (!call.intf()) {
        deliverResult(env, conv, jRet, codeOnly(-3));
        return;
    }
    _STORAGE_ADDRESS_ID addr{};
    conv.StorAddrJava_TO_STADDRcpp(env, jAddr, addr);
    body(*call.intf(), conv, addr);
}

} // namespace legacyjdll

#endif
