// Placeholder operations: every entry point answers success and fills nothing.

#include "SimOps.h"

namespace tarnellsim {
namespace ops {

template <typename... T>
static void ignore(T&&...) {}

#define TARNELLSIM_STUB_SRET OpResult(RC_OK)
#define TARNELLSIM_STUB_INT 0
#define TARNELLSIM_STUB_VERS 0
#define TARNELLSIM_STUB_BOOL BOOL(1)
#define TARNELLSIM_STUB_OP(kind, name, params, args) \
    TARNELLSIM_OP_RESULT_##kind name params {        \
        ignore args;                                 \
        return TARNELLSIM_STUB_##kind;               \
    }
STORAPI_ALL_OPS(TARNELLSIM_STUB_OP)

} // namespace ops
} // namespace tarnellsim
