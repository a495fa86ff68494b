#include "RaidLib/Util/StrToNum32.h"

namespace {

// Magnitude and sign of the number at the start of text, the magnitude
// capped just above 32 bits so that it never overflows.
struct Scanned {
    uint64_t magnitude;
    bool negative;
};

const uint64_t kCap = 0x100000000ULL;

inline int digitValue(unsigned char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c |= 0x20;
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 10;
    return 99;
}

Scanned scan(const char* p, int base)
{
    Scanned s = {0, false};
    if (p == nullptr)
        return s;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        ++p;
    if (*p == '+' || *p == '-') {
        s.negative = *p == '-';
        ++p;
    }
    if (base == 16 && p[0] == '0' && (p[1] | 0x20) == 'x' && digitValue(static_cast<unsigned char>(p[2])) < 16)
        p += 2;
    for (int d; (d = digitValue(static_cast<unsigned char>(*p))) < base; ++p) {
        s.magnitude = s.magnitude * static_cast<unsigned>(base) + static_cast<unsigned>(d);
        if (s.magnitude >= kCap)
            s.magnitude = kCap;
    }
    return s;
}

} // namespace

uint32_t strToU32(const char* text, int base)
{
    const Scanned s = scan(text, base);
    if (s.magnitude >= kCap)
        return UINT32_MAX;
    const uint32_t m = static_cast<uint32_t>(s.magnitude);
    return s.negative ? 0u - m : m;
}

int32_t strToI32(const char* text, int base)
{
    const Scanned s = scan(text, base);
    if (s.negative)
        return s.magnitude >= 0x80000000ULL ? INT32_MIN : -static_cast<int32_t>(s.magnitude);
    return s.magnitude > 0x7FFFFFFFULL ? INT32_MAX : static_cast<int32_t>(s.magnitude);
}
