/*
 * CMPI: platform selection.
 *
 * The CMPI headers are written for one platform at a time; the includer names
 * it with exactly one CMPI_PLATFORM_* macro. On Linux with GCC or clang that is
 * CMPI_PLATFORM_LINUX_GENERIC_GNU (the `cmpi` CMake target defines it).
 */
#ifndef CMPIPL_H
#define CMPIPL_H

#if !defined(CMPI_PLATFORM_LINUX_GENERIC_GNU) && !defined(CMPI_PLATFORM_HPUX_ACC) && \
    !defined(CMPI_PLATFORM_WIN32_IX86_MSVC) && !defined(CMPI_PLATFORM_SOLARIS_SPARC_GNU) && \
    !defined(CMPI_PLATFORM_SOLARIS_SPARC_CC) && !defined(CMPI_PLATFORM_AIX_RS_IBMCXX) && \
    !defined(CMPI_PLATFORM_ZOS_ZSERIES_IBM) && !defined(CMPI_PLATFORM_TRU64_ALPHA_DECCXX) && \
    !defined(CMPI_PLATFORM_OS400_ISERIES_IBM) && !defined(CMPI_PLATFORM_DARWIN_PPC_GNU) && \
    !defined(CMPI_PLATFORM_VMS_ALPHA_DECCXX) && !defined(CMPI_PLATFORM_VMS_IA64_DECCXX)
#error "CMPI: define the platform macro (CMPI_PLATFORM_LINUX_GENERIC_GNU on Linux)"
#endif

#if !defined(CMPI_PLATFORM_LINUX_GENERIC_GNU)
#error "CMPI: these headers describe the Linux platform only"
#endif

#endif /* CMPIPL_H */
