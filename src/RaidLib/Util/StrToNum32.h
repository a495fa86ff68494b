#ifndef STRTONUM32_H
#define STRTONUM32_H

#include <cstdint>

// Text to number conversions with the results that strtoul and strtol give
// where long is 32 bits: leading white space and a sign are accepted,
// conversion stops at the first character that is not a digit of the base,
// a text without digits gives 0. Unsigned: an overflowing magnitude gives
// 4294967295, a negative text wraps modulo 2^32. Signed: overflow gives
// INT32_MAX or INT32_MIN. Base is 10 or 16 (16 skips a "0x" or "0X" prefix).
// A null text gives 0.
uint32_t strToU32(const char* text, int base);
int32_t strToI32(const char* text, int base);

#endif
