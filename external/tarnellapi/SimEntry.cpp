// The exported C entry points, generated from the operation table: each logs
// its call (address and scalar arguments), answers an injected failure when one
// is due, and otherwise runs the simulator's operation under the lock.
// ConstructorOK and the load hooks are in SimLoad.cpp.

#include <type_traits>

#include "storagedll/tarnellapi.h"

#include "SimOps.h"

namespace tarnellsim {

namespace {

Call* g_current = nullptr;

template <typename T>
void logArg(Call& call, T&& value) {
    using V = std::remove_cv_t<std::remove_reference_t<T>>;
    if constexpr (std::is_same_v<V, _STORAGE_ADDRESS_ID>) {
        if (!call.hasAddress) {
            call.hasAddress = true;
            call.address = value;
        } else {
            call.addressList.push_back(value);
        }
    } else if constexpr (std::is_integral_v<V> && !std::is_lvalue_reference_v<T>) {
        call.args.push_back(static_cast<long long>(value));
    }
}

// Logs the arguments of an entry point with their declared types, so that
// references (outputs) and pointers are told apart from values.
template <typename F>
struct ArgLogger;
template <typename R, typename... A>
struct ArgLogger<R (*)(A...)> {
    Call& call;
    void operator()(A... a) { (logArg<A>(call, static_cast<A>(a)), ...); }
};

// Sets every unsigned 32-bit output of an entry point (reportLength).
template <typename F>
struct LengthReporter;
template <typename R, typename... A>
struct LengthReporter<R (*)(A...)> {
    uint32_t length;
    void operator()(A... a) { (report<A>(static_cast<A>(a)), ...); }
    template <typename T>
    void report(T&& value) {
        if constexpr (std::is_same_v<T, uint32_t&>) value = length;
        (void)value;
    }
};

int adapterOf(const Call& call) {
    return call.hasAddress ? int(call.address.usAdapterID) : ANY_ADAPTER;
}

struct CurrentCall {
    explicit CurrentCall(Call& c) { g_current = &c; }
    ~CurrentCall() { g_current = nullptr; }
};

S_Ret toSRet(const OpResult& r) {
    return S_Ret(r.code, 0, 0, 0, r.unsignedValue, r.signedValue);
}

} // namespace

Call& currentCall() {
    static Call scratch;
    return g_current ? *g_current : scratch;
}

} // namespace tarnellsim

#define TARNELLSIM_ENTRY(kind, op, params, args) TARNELLSIM_ENTRY_##kind(op, params, args)
#define TARNELLSIM_ENTRY_BOOL(op, params, args)
#define TARNELLSIM_ENTRY_SRET(op, params, args)                                     \
    extern "C" S_Ret op params                                                      \
        TARNELLSIM_ENTRY_BODY_SRET(op, args)
#define TARNELLSIM_ENTRY_BODY_SRET(op, args)                                        \
    {                                                                                 \
        auto lock_ = tarnellsim::lock();                                              \
        tarnellsim::Call& call_ = tarnellsim::startCall(#op);                       \
        tarnellsim::ArgLogger<decltype(&op)>{call_} args;                           \
        int code_ = 0;                                                                \
        if (tarnellsim::takeFailure(#op, tarnellsim::adapterOf(call_), code_)) {    \
            call_.result = code_;                                                     \
            tarnellsim::commitCall();                                                 \
            return S_Ret(code_, 0, 0, 0, 0, 0);                                       \
        }                                                                             \
        tarnellsim::OpResult result_;                                                 \
        {                                                                             \
            tarnellsim::CurrentCall current_(call_);                                  \
            result_ = tarnellsim::ops::op args;                                     \
        }                                                                             \
        uint32_t length_ = 0;                                                         \
        if (tarnellsim::reportedLength(#op, length_))                                 \
            tarnellsim::LengthReporter<decltype(&op)>{length_} args;                  \
        call_.result = result_.code;                                                  \
        tarnellsim::commitCall();                                                     \
        return tarnellsim::toSRet(result_);                                           \
    }
#define TARNELLSIM_ENTRY_INT(op, params, args)                                      \
    extern "C" int op params                                                        \
        TARNELLSIM_ENTRY_BODY_INT(op, args)
#define TARNELLSIM_ENTRY_VERS TARNELLSIM_ENTRY_INT
#define TARNELLSIM_ENTRY_BODY_INT(op, args)                                         \
    {                                                                                 \
        auto lock_ = tarnellsim::lock();                                              \
        tarnellsim::Call& call_ = tarnellsim::startCall(#op);                       \
        tarnellsim::ArgLogger<decltype(&op)>{call_} args;                           \
        int code_ = 0;                                                                \
        if (tarnellsim::takeFailure(#op, tarnellsim::adapterOf(call_), code_)) {    \
            call_.result = code_;                                                     \
            tarnellsim::commitCall();                                                 \
            return code_;                                                             \
        }                                                                             \
        int result_;                                                                  \
        {                                                                             \
            tarnellsim::CurrentCall current_(call_);                                  \
            result_ = tarnellsim::ops::op args;                                     \
        }                                                                             \
        call_.result = result_;                                                       \
        tarnellsim::commitCall();                                                     \
        return result_;                                                               \
    }

STORAPI_ALL_OPS(TARNELLSIM_ENTRY)
