#ifndef VPDDATA_H
#define VPDDATA_H

#include <cstddef>
#include <cstdint>

#include "RaidLib/Util/StorExport.h"

// Byte image of the first 73 bytes of an INQUIRY vital product data page of
// the ASCII-information kind: the page header, the ASCII length and 68
// vendor-specific bytes (not necessarily NUL-terminated).
class STOR_EXPORT VPDData {
public:
    static const unsigned VENDOR_SPECIFIC_SIZE = 68;

    // Every byte 0.
    VPDData();
    VPDData(const VPDData& right) = default;
    VPDData& operator=(const VPDData& right) = default;
    // The device type keeps its low 5 bits and the qualifier its low 3; the
    // page length and the vendor bytes not covered by vs are 0.
    VPDData(unsigned char dt, unsigned char dtq, unsigned char pc, unsigned char r, unsigned char al,
            const char* vs);

    unsigned char getDeviceType() const { return ucDeviceType; }
    unsigned char getDeviceTypeQual() const { return ucDeviceTypeQual; }
    unsigned char getPageCode() const { return ucPageCode; }
    unsigned char getReserved1() const { return ucReserved1; }
    unsigned char getPageLength() const { return ucPageLength; }
    unsigned char getAsciiLength() const { return ucAsciiLength; }
    char* getVendorSpecific() { return cVendorSpecific; }
    const char* getVendorSpecific() const { return cVendorSpecific; }

    void setDeviceType(unsigned char dt) { ucDeviceType = dt & 0x1F; }
    void setDeviceTypeQual(unsigned char dtq) { ucDeviceTypeQual = dtq & 0x07; }
    void setPageCode(unsigned char pc) { ucPageCode = pc; }
    void setReserved1(unsigned char r) { ucReserved1 = r; }
    void setPageLength(unsigned char pl) { ucPageLength = pl; }
    void setAsciiLength(unsigned char al) { ucAsciiLength = al; }
    // Copies the text without its NUL to the front of the vendor bytes, at
    // most 68 bytes; the bytes behind it keep their values. Null does nothing.
    void setVendorSpecific(const char* vs);

private:
    unsigned char ucDeviceType : 5;     // peripheral device type
    unsigned char ucDeviceTypeQual : 3; // peripheral qualifier
    unsigned char ucPageCode;
    unsigned char ucReserved1;
    unsigned char ucPageLength;
    unsigned char ucAsciiLength;
    char cVendorSpecific[VENDOR_SPECIFIC_SIZE];

    friend struct VPDDataLayout;
} __attribute__((packed));

// Checks of the byte layout.
struct VPDDataLayout {
    static_assert(sizeof(VPDData) == 73, "VPDData is 73 bytes");
    static_assert(offsetof(VPDData, ucPageCode) == 1, "page code at byte 1");
    static_assert(offsetof(VPDData, ucPageLength) == 3, "page length at byte 3");
    static_assert(offsetof(VPDData, ucAsciiLength) == 4, "ASCII length at byte 4");
    static_assert(offsetof(VPDData, cVendorSpecific) == 5, "vendor bytes at byte 5");
};

#endif
