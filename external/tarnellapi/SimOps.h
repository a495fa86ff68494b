#ifndef TARNELLSIM_SIMOPS_H
#define TARNELLSIM_SIMOPS_H

// The simulator's implementation of each C-API operation, declared from the
// operation table with the entry point's exact parameters. The entry points
// (SimEntry.cpp) log the call, apply injected failures and call these with the
// lock held.

#include "storagedll/storops.h"

#include "SimInternal.h"

namespace tarnellsim {
namespace ops {

#define TARNELLSIM_OP_RESULT_SRET OpResult
#define TARNELLSIM_OP_RESULT_INT int
#define TARNELLSIM_OP_RESULT_VERS int
#define TARNELLSIM_OP_RESULT_BOOL BOOL
#define TARNELLSIM_DECLARE_OP(kind, name, params, args) TARNELLSIM_OP_RESULT_##kind name params;
STORAPI_ALL_OPS(TARNELLSIM_DECLARE_OP)
#undef TARNELLSIM_DECLARE_OP

} // namespace ops

// The call being served (for operations that add address lists to its log entry).
Call& currentCall();

} // namespace tarnellsim

#endif
