#include "storagedll/storjdll.h"

#include <mutex>
#include <new>

#include "storagedll/convengine.h"
#include "storagedll/jdllhandles.h"
#include "storagedll/jdllshapes.h"
#include "storagedll/storjdllcall.h"
#include "storagedll/storjdllraid.h"

using legacyjdll::finishResult;
using legacyjdll::interfaceTable;
using legacyjdll::LegacyCall;
using legacyjdll::When;
using legacyjdll::writesOutputs;

namespace {

// ---------------------------------------------------------------- the converter

std::mutex convMutex;
StorageDataConverter* pConv = nullptr;

// Used only when no converter can be allocated.
StorageDataConverter spareConverter;

// ---------------------------------------------------------------- the interface object of a Java object

const char* const INDEX_FIELD = "iCppDllPtr";

jfieldID indexField(JNIEnv* env, jobject self)
{
    jclass cls = env->GetObjectClass(self);
    jfieldID id = legacyconv::fieldId(env, cls, INDEX_FIELD, "I");
    env->DeleteLocalRef(cls);
    return id;
}

jint readIndex(JNIEnv* env, jobject self)
{
    if (!self)
        return 0;
    jfieldID id = indexField(env, self);
    return id ? env->GetIntField(self, id) : 0;
}

bool writeIndex(JNIEnv* env, jobject self, jint index)
{
    jfieldID id = self ? indexField(env, self) : nullptr;
    if (!id)
        return false;
    env->SetIntField(self, id, index);
    return true;
}

} // namespace

legacyjdll::LegacyCall::LegacyCall(JNIEnv* env, jobject self) : lease(interfaceTable().hold(readIndex(env, self))) {}

// ---------------------------------------------------------------- hooks

void storJdllInit()
{
    std::lock_guard<std::mutex> hold(convMutex);
    if (!pConv)
        pConv = new (std::nothrow) StorageDataConverter;
}

void storJdllTerm()
{
    std::lock_guard<std::mutex> hold(convMutex);
    delete pConv;
    pConv = nullptr;
}

StorageDataConverter& legacyConverter()
{
    storJdllInit();
    std::lock_guard<std::mutex> hold(convMutex);
    return pConv ? *pConv : spareConverter;
}

StorageDataConverter* currentLegacyConverter()
{
    std::lock_guard<std::mutex> hold(convMutex);
    return pConv;
}

void DlInit(void) { storJdllInit(); }

void DlTerm(void) { storJdllTerm(); }

StoreDLLIntf* GetDllPointer(JNIEnv* env, jobject obj, jfieldID field)
{
    if (!env || !obj || !field)
        return nullptr;
    return interfaceTable().peek(env->GetIntField(obj, field));
}

// ---------------------------------------------------------------- natives

// The natives made from their rows; not all read every parameter.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-parameter"
#define STORAGEDLL_DEFINE_OWN(result, exportName, params, op, locals, inputs, args, outputs, when)
#define STORAGEDLL_DEFINE_CINT(result, exportName, params, op, locals, inputs, args, outputs, when)         \
    result STORAGEDLL_ENTRY(exportName)(JNIEnv * env, STORAGEDLL_UNPAREN params)                              \
    {                                                                                                         \
        LegacyCall call(env, self);                                                                           \
        if (!call.intf())                                                                                     \
            return -3;                                                                                        \
        StorageDataConverter& conv = legacyConverter();                                                       \
        STORAGEDLL_UNPAREN locals STORAGEDLL_UNPAREN inputs;                                                  \
        const int rc = call.intf()->op args;                                                                  \
        if (writesOutputs(When::when, rc)) {                                                                  \
            STORAGEDLL_UNPAREN outputs                                                                        \
        }                                                                                                     \
        return rc;                                                                                            \
    }
#define STORAGEDLL_DEFINE_SRET(result, exportName, params, op, locals, inputs, args, outputs, when)         \
    result STORAGEDLL_ENTRY(exportName)(JNIEnv * env, STORAGEDLL_UNPAREN params)                              \
    {                                                                                                         \
        LegacyCall call(env, self);                                                                           \
        StorageDataConverter& conv = legacyConverter();                                                       \
        S_Ret ret(-3, 0, 0, 0, 0, 0);                                                                         \
        if (!call.intf()) {                                                                                   \
            conv.S_Retcpp_TO_StorRetJava(env, jRet, ret);                                                     \
            return;                                                                                           \
        }                                                                                                     \
        bool done = false;                                                                                    \
        STORAGEDLL_UNPAREN locals STORAGEDLL_UNPAREN inputs;                                                  \
        if (!done)                                                                                            \
            ret = call.intf()->op args;                                                                       \
        finishResult(env, conv, jRet, ret, done ? When::NEVER : When::when, [&] { STORAGEDLL_UNPAREN outputs }); \
    }
#define STORAGEDLL_DEFINE_FIXED(result, exportName, params, op, locals, inputs, args, outputs, when)        \
    result STORAGEDLL_ENTRY(exportName)(JNIEnv * env, STORAGEDLL_UNPAREN params)                              \
    {                                                                                                         \
        StorageDataConverter& conv = legacyConverter();                                                       \
        S_Ret ret(0, 0, 0, 0, 0, 0);                                                                          \
        STORAGEDLL_UNPAREN locals STORAGEDLL_UNPAREN inputs;                                                  \
        finishResult(env, conv, jRet, ret, When::when, [&] { STORAGEDLL_UNPAREN outputs });                   \
    }
#define STORAGEDLL_DEFINE_NOTAVAIL(result, exportName, params, op, locals, inputs, args, outputs, when)     \
    result STORAGEDLL_ENTRY(exportName)(JNIEnv * env, STORAGEDLL_UNPAREN params) { return -3; }
#define STORAGEDLL_DEFINE_FUNC(result, exportName, params, op, locals, inputs, args, outputs, when)         \
    result STORAGEDLL_ENTRY(exportName)(JNIEnv * env, STORAGEDLL_UNPAREN params) { STORAGEDLL_UNPAREN args; }
#define STORAGEDLL_DEFINE(kind, result, name, exportName, params, sig, roles, op, locals, inputs, args, outputs, \
                          when)                                                                                   \
    STORAGEDLL_DEFINE_##kind(result, exportName, params, op, locals, inputs, args, outputs, when)
STORAGEDLL_NATIVES(STORAGEDLL_DEFINE)
#undef STORAGEDLL_DEFINE
#pragma GCC diagnostic pop

// A new interface object for the library name; one the Java object held
// before is released. 0, or -3 when no converter or object can be had
// (the Java object then keeps what it held).
jint STORAGEDLL_ENTRY(constructDllObject)(JNIEnv* env, jobject self, jstring jName)
{
    storJdllInit();
    if (!currentLegacyConverter())
        return -3;
    const char* name = nullptr;
    if (jName) {
        name = env->GetStringUTFChars(jName, nullptr);
        if (!name) {
            legacyconv::clearException(env);
            return -3;
        }
    }
    StoreDLLIntf* intf = new (std::nothrow) StoreDLLIntf(name);
    if (name)
        env->ReleaseStringUTFChars(jName, name);
    const jint index = interfaceTable().add(intf);
    if (index == 0) {
        delete intf;
        return -3;
    }
    const jint previous = readIndex(env, self);
    if (!writeIndex(env, self, index)) {
        interfaceTable().remove(index);
        return -3;
    }
    interfaceTable().remove(previous);
    return 0;
}

jint STORAGEDLL_ENTRY(destructDllObject)(JNIEnv* env, jobject self)
{
    interfaceTable().remove(readIndex(env, self));
    writeIndex(env, self, 0);
    return 0;
}

// The failure id goes into the LVal whatever the answer, but only when there
// is an interface object.
jboolean STORAGEDLL_ENTRY(cConstructorOK)(JNIEnv* env, jobject self, jobject jFailId)
{
    LegacyCall call(env, self);
    if (!call.intf())
        return JNI_FALSE;
    uint32_t failId = 0;
    const BOOL ok = call.intf()->ConstructorOK(failId);
    legacyConverter().ULONG_REFcpp_TO_LValJava(env, jFailId, failId);
    return (ok & 0xFF) != 0 ? JNI_TRUE : JNI_FALSE;
}
