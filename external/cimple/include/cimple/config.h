// Basic definitions of the provider framework: the CIM scalar types, export
// markers and small helpers shared by every header.
#ifndef CIMPLE_CONFIG_H
#define CIMPLE_CONFIG_H

#include <cstddef>
#include <cstdint>

// libcimple's interface; a provider module hides everything else.
#define CIMPLE_EXPORT __attribute__((visibility("default")))

namespace cimple {

typedef bool boolean;
typedef uint8_t uint8;
typedef int8_t sint8;
typedef uint16_t uint16;
typedef int16_t sint16;
typedef uint32_t uint32;
typedef int32_t sint32;
typedef uint64_t uint64;
typedef int64_t sint64;
typedef float real32;
typedef double real64;
typedef uint16_t char16;

// CIM names compare without regard to case (ASCII letters).
CIMPLE_EXPORT bool eqi(const char* a, const char* b);

} // namespace cimple

#endif
