#include "RaidLib/Util/VPDData.h"

#include <cstring>

VPDData::VPDData()
    : ucDeviceType(0), ucDeviceTypeQual(0), ucPageCode(0), ucReserved1(0), ucPageLength(0),
      ucAsciiLength(0), cVendorSpecific()
{
}

VPDData::VPDData(unsigned char dt, unsigned char dtq, unsigned char pc, unsigned char r,
                 unsigned char al, const char* vs)
    : VPDData()
{
    setDeviceType(dt);
    setDeviceTypeQual(dtq);
    ucPageCode = pc;
    ucReserved1 = r;
    ucAsciiLength = al;
    setVendorSpecific(vs);
}

void VPDData::setVendorSpecific(const char* vs)
{
    if (!vs)
        return;
    size_t n = 0;
    while (n < VENDOR_SPECIFIC_SIZE && vs[n] != '\0')
        ++n;
    std::memcpy(cVendorSpecific, vs, n);
}
