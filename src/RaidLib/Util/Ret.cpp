#include "RaidLib/Util/Ret.h"

#include <cstring>

Ret::Ret() { clear(); }

Ret::Ret(int code)
{
    clear();
    data.iReturnCode = code;
}

Ret::Ret(const Ret& other) : data(other.data) {}

Ret& Ret::operator=(const Ret& other)
{
    data = other.data;
    return *this;
}

void Ret::clear() { std::memset(&data, 0, sizeof(data)); }

bool Ret::operator==(const Ret& other) const
{
    return std::memcmp(&data, &other.data, sizeof(data)) == 0;
}

void Ret::setBadParam(long value)
{
    data.iReturnCode = BAD_PARAM;
    data.iSignedReturnValue = static_cast<int32_t>(static_cast<uint32_t>(value));
}

void Ret::setResource() { data.iReturnCode = RESOURCE; }
void Ret::setNotInitialized() { data.iReturnCode = NOT_INITIALIZED; }
void Ret::setObjectNotFound() { data.iReturnCode = OBJECT_NOT_FOUND; }
void Ret::setException() { data.iReturnCode = EXCEPTION_CAUGHT; }

void Ret::debug(FILE* out) const
{
    fprintf(out, " -------------------------------------------------------------\n");
    fprintf(out, "(DEBUG) Return structure details:\n");
    fprintf(out, "   GetReturnCode()=0x%x\n", static_cast<unsigned>(data.iReturnCode));
    fprintf(out, "   GetAPIReturnCode()=0x%x\n", static_cast<unsigned>(data.iAPIReturnCode));
    fprintf(out, "   GetIOCTLReturnCode()=0x%x\n", static_cast<unsigned>(data.iIOCTLReturnCode));
    fprintf(out, "   GetRetryNumber()=Ox%x\n", static_cast<unsigned>(data.iRetryNumber));
    fprintf(out, "   GetUnsignedReturnValue()=0x%x\n", data.iunSignedReturnValue);
    fprintf(out, "   GetSignedReturnValue()=0x%x\n", static_cast<unsigned>(data.iSignedReturnValue));
    fprintf(out, "   getSenseDataError()=0x%x\n", data.iSenseDataErrorCode);
    fprintf(out, "   getSenseKey()=0x%x\n", data.iSenseKey);
    fprintf(out, "   getSenseCode()=0x%x\n", data.iSenseCode);
    fprintf(out, "   getSenseCodeQualifier()=0x%x\n", data.iSenseCodeQualifier);
    fprintf(out, " --------------------------------------------------------------\n");
}
