#ifndef SRET_H
#define SRET_H

// The result record of the controller C API. The library constructs its results
// in storage that the caller provides, so the layout is part of the contract:
// the pointer to the virtual operations, then six 32-bit fields with nothing
// between them. Everything is inline so that a library implementing the C API
// can use the class without linking the core.

#include <cstddef>
#include <cstdint>

#include "RaidLib/Util/StorExport.h"

class STOR_EXPORT S_Ret {
public:
    S_Ret()
        : iReturnCode(0), iAPIReturnCode(0), iIOCTLReturnCode(0), iRetryNumber(0),
          iunSignedReturnValue(0), iSignedReturnValue(0) {}
    S_Ret(int returnCode, uint32_t apiReturnCode, uint32_t ioctlReturnCode, uint32_t retryNumber,
          uint32_t unsignedValue, int signedValue)
        : iReturnCode(returnCode), iAPIReturnCode(apiReturnCode), iIOCTLReturnCode(ioctlReturnCode),
          iRetryNumber(retryNumber), iunSignedReturnValue(unsignedValue),
          iSignedReturnValue(signedValue) {}
    S_Ret(const S_Ret& other)
        : iReturnCode(other.iReturnCode), iAPIReturnCode(other.iAPIReturnCode),
          iIOCTLReturnCode(other.iIOCTLReturnCode), iRetryNumber(other.iRetryNumber),
          iunSignedReturnValue(other.iunSignedReturnValue),
          iSignedReturnValue(other.iSignedReturnValue) {}
    S_Ret& operator=(const S_Ret& other) {
        SetValues(other.iReturnCode, other.iAPIReturnCode, other.iIOCTLReturnCode,
                  other.iRetryNumber, other.iunSignedReturnValue, other.iSignedReturnValue);
        return *this;
    }
    virtual ~S_Ret() {}

    // Overwrites the six fields in declaration order.
    virtual void SetValues(int returnCode, uint32_t apiReturnCode, uint32_t ioctlReturnCode,
                           uint32_t retryNumber, uint32_t unsignedValue, int signedValue) {
        iReturnCode = returnCode;
        iAPIReturnCode = apiReturnCode;
        iIOCTLReturnCode = ioctlReturnCode;
        iRetryNumber = retryNumber;
        iunSignedReturnValue = unsignedValue;
        iSignedReturnValue = signedValue;
    }

    // 0 success; -3 the entry point or the library is not available; any other
    // value is the library's own code.
    int32_t iReturnCode;
    uint32_t iAPIReturnCode;
    uint32_t iIOCTLReturnCode;
    uint32_t iRetryNumber;
    uint32_t iunSignedReturnValue;
    int32_t iSignedReturnValue;
};

// The class is not standard-layout (it has virtual operations), but it has no
// virtual bases, for which GCC computes offsetof reliably.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(offsetof(S_Ret, iReturnCode) == sizeof(void*), "the fields follow the vtable pointer");
static_assert(offsetof(S_Ret, iSignedReturnValue) == sizeof(void*) + 20, "six 32-bit fields, no gaps");
#pragma GCC diagnostic pop
static_assert(sizeof(S_Ret) == sizeof(void*) + 24, "S_Ret is the vtable pointer and six 32-bit fields");

#endif
