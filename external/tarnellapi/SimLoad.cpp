// ConstructorOK and the load hooks DlInit and DlTerm. This file is compiled
// once per library variant: TARNELLSIM_CONSTRUCTOR_FAILS builds the variant
// whose ConstructorOK refuses with CONSTRUCTOR_FAIL_ID.

#include "storagedll/tarnellapi.h"

#include "SimInternal.h"

extern "C" BOOL ConstructorOK(uint32_t& failId) {
    tarnellsim::Call call;
    call.name = "ConstructorOK";
    auto l = tarnellsim::lock();
    int code = 0;
    BOOL ok = 1;
    if (tarnellsim::takeFailure("ConstructorOK", tarnellsim::ANY_ADAPTER, code)) {
        failId = uint32_t(code);
        ok = 0;
    } else {
#ifdef TARNELLSIM_CONSTRUCTOR_FAILS
        failId = uint32_t(tarnellsim::CONSTRUCTOR_FAIL_ID);
        ok = 0;
#else
        failId = 0;
#endif
    }
    call.result = ok ? 0 : int(failId);
    tarnellsim::appendCall(std::move(call));
    return ok;
}

extern "C" void DlInit(void) {
    tarnellsim::Call call;
    call.name = "DlInit";
    auto l = tarnellsim::lock();
    ++tarnellsim::state().dlInitCount;
    tarnellsim::appendCall(std::move(call));
}

extern "C" void DlTerm(void) {
    tarnellsim::Call call;
    call.name = "DlTerm";
    auto l = tarnellsim::lock();
    ++tarnellsim::state().dlTermCount;
    tarnellsim::appendCall(std::move(call));
}
