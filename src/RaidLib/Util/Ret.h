#ifndef RET_H
#define RET_H

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "RaidLib/Util/StorExport.h"

// The plain data of a result record: fourteen 32-bit words, no gaps.
struct RET_INTERNAL_DATA {
    int32_t iReturnCode;
    int32_t iAPIReturnCode;
    int32_t iIOCTLReturnCode;
    int32_t iRetryNumber;
    uint32_t iunSignedReturnValue;
    int32_t iSignedReturnValue;
    uint32_t iIOCStatus;
    uint32_t ulIOCLogInfo;
    uint32_t iSCSIState;
    uint32_t iSCSIStatus;
    uint32_t iSenseDataErrorCode;
    uint32_t iSenseKey;
    uint32_t iSenseCode;
    uint32_t iSenseCodeQualifier;
};
static_assert(sizeof(RET_INTERNAL_DATA) == 56, "RET_INTERNAL_DATA is fourteen 32-bit words");
static_assert(offsetof(RET_INTERNAL_DATA, iSenseCodeQualifier) == 52, "no gaps in RET_INTERNAL_DATA");

// The result record every model and storage library operation returns by value.
// Codes: 0 success, -1 not supported, -2 bad parameter, -3 resource error,
// -5 controller call failed, -6 enclosure download status not 0, -8 size exceeds
// what is available, -9 controller interface unavailable, -10 enclosure firmware
// download failed, -11 not initialized, -12 object not found, -13 exception caught.
class STOR_EXPORT Ret {
public:
    enum {
        SUCCESS = 0,
        NOT_SUPPORTED = -1,
        BAD_PARAM = -2,
        RESOURCE = -3,
        CONTROLLER_FAILED = -5,
        DOWNLOAD_STATUS = -6,
        SIZE_EXCEEDED = -8,
        INTERFACE_UNAVAILABLE = -9,
        DOWNLOAD_FAILED = -10,
        NOT_INITIALIZED = -11,
        OBJECT_NOT_FOUND = -12,
        EXCEPTION_CAUGHT = -13
    };

    Ret();
    Ret(int code);
    Ret(const Ret& other);
    Ret& operator=(const Ret& other);

    void clear();

    bool operator==(const Ret& other) const;
    bool operator!=(const Ret& other) const { return !(*this == other); }

    int getReturn() const { return data.iReturnCode; }
    void setReturn(int v) { data.iReturnCode = v; }
    int getAPIReturn() const { return data.iAPIReturnCode; }
    void setAPIReturn(int v) { data.iAPIReturnCode = v; }
    int getIOCTLReturn() const { return data.iIOCTLReturnCode; }
    void setIOCTLReturn(int v) { data.iIOCTLReturnCode = v; }
    int getRetryNumber() const { return data.iRetryNumber; }
    void setRetryNumber(int v) { data.iRetryNumber = v; }
    uint32_t getUnsignedReturn() const { return data.iunSignedReturnValue; }
    void setUnsignedReturn(uint32_t v) { data.iunSignedReturnValue = v; }
    int getSignedReturn() const { return data.iSignedReturnValue; }
    void setSignedReturn(int v) { data.iSignedReturnValue = v; }
    uint32_t getIOCStatus() const { return data.iIOCStatus; }
    void setIOCStatus(uint32_t v) { data.iIOCStatus = v; }
    uint32_t getIOCLogInfo() const { return data.ulIOCLogInfo; }
    void setIOCLogInfo(uint32_t v) { data.ulIOCLogInfo = v; }
    uint32_t getSCSIState() const { return data.iSCSIState; }
    void setSCSIState(uint32_t v) { data.iSCSIState = v; }
    uint32_t getSCSIStatus() const { return data.iSCSIStatus; }
    void setSCSIStatus(uint32_t v) { data.iSCSIStatus = v; }
    uint32_t getSenseDataError() const { return data.iSenseDataErrorCode; }
    void setSenseDataError(uint32_t v) { data.iSenseDataErrorCode = v; }
    uint32_t getSenseKey() const { return data.iSenseKey; }
    void setSenseKey(uint32_t v) { data.iSenseKey = v; }
    uint32_t getSenseCode() const { return data.iSenseCode; }
    void setSenseCode(uint32_t v) { data.iSenseCode = v; }
    uint32_t getSenseCodeQualifier() const { return data.iSenseCodeQualifier; }
    void setSenseCodeQualifier(uint32_t v) { data.iSenseCodeQualifier = v; }

    // Named setters; each writes only the fields it names. The offending value
    // is kept as the original 32-bit platform kept a long: its low 32 bits.
    void setBadParam(long value);
    void setResource();
    void setNotInitialized();
    void setObjectNotFound();
    void setException();

    void debug(FILE* out) const;

    RET_INTERNAL_DATA data;
};

#endif
