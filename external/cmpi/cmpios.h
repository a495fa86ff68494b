/*
 * CMPI: what the operating system contributes - thread, mutex and condition
 * handle types of the broker's OS services table, and how a module exports
 * its factory functions.
 */
#ifndef CMPIOS_H
#define CMPIOS_H

#include "cmpipl.h"

#include <pthread.h>
#include <time.h>

/* Handles of the OS services: opaque pointers, but thread keys are the
 * platform's own key type. */
#define CMPI_THREAD_TYPE void*
#define CMPI_THREAD_RETURN void*
#define CMPI_THREAD_KEY_TYPE pthread_key_t
#define CMPI_MUTEX_TYPE void*
#define CMPI_COND_TYPE void*

/* Start routine of a thread made by the broker: no calling-convention keyword. */
typedef CMPI_THREAD_RETURN (*CMPIThreadStart)(void* parm);

/* A module's entry points stay visible when the module is built with hidden
 * default visibility, and carry C names when compiled as C++. */
#define CMPI_EXPORT __attribute__((visibility("default")))
#ifdef __cplusplus
#define CMPI_EXTERN_C extern "C" CMPI_EXPORT
#else
#define CMPI_EXTERN_C CMPI_EXPORT
#endif

#endif /* CMPIOS_H */
