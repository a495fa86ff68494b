#ifndef TARNELLAPI_H
#define TARNELLAPI_H

// The C entry points of a library that implements the controller C API, as
// StoreDLLIntf looks them up by name: the 167 operations of the table (each
// called with exactly the arguments of the StoreDLLIntf operation of the same
// name; an S_Ret result is constructed in storage the caller provides) and the
// load hooks DlInit and DlTerm, which take no arguments. Only such a library
// includes this header; the core reaches the entry points through dlsym.

#include "storagedll/storops.h"

#define TARNELLAPI_DECLARE_ENTRY(kind, name, params, args) \
    STOR_EXPORT STORAPI_RESULT(kind) name params;

extern "C" {
STORAPI_ALL_OPS(TARNELLAPI_DECLARE_ENTRY)
STOR_EXPORT void DlInit(void);
STOR_EXPORT void DlTerm(void);
}

#undef TARNELLAPI_DECLARE_ENTRY

#endif
