#ifndef SESPAGES_H
#define SESPAGES_H

// The SES-2 diagnostic pages as the SES-2 enclosure reads and builds them,
// and their decoding. Multi-byte numbers in the pages are big-endian. Every
// read is bounded by the stored page: a page shorter than its contents
// imply is reported as truncated, never read past.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "RaidLib/Util/StorExport.h"

enum EnumSESPageCodes : int32_t {
    KRNA_SES_PAGE_SUPPORTED_DIAGNOSTICS = 0,
    KRNA_SES_PAGE_CONFIGURATION = 1,
    KRNA_SES_PAGE_ENCLOSURE_CONTROL = 2,
    KRNA_SES_PAGE_ENCLOSURE_STATUS = 2,
    KRNA_SES_PAGE_HELP_TEXT = 3,
    KRNA_SES_PAGE_STRING_OUT = 4,
    KRNA_SES_PAGE_STRING_IN = 4,
    KRNA_SES_PAGE_THRESHOLD_OUT = 5,
    KRNA_SES_PAGE_THRESHOLD_IN = 5,
    KRNA_SES_PAGE_ARRAY_CONTROL = 6,
    KRNA_SES_PAGE_ARRAY_STATUS = 6,
    KRNA_SES_PAGE_ELEMENT_DESCRIPTOR = 7,
    KRNA_SES_PAGE_SHORT_ENCLOSURE_STATUS = 8,
    KRNA_SES_PAGE_ENCLOSURE_BUSY = 9,
    KRNA_SES_PAGE_DEVICE_ELEMENT_STATUS = 10,
    KRNA_SES_PAGE_SUBENCLOSURE_HELP_TEXT = 11,
    KRNA_SES_PAGE_SUBENCLOSURE_STRING_OUT = 12,
    KRNA_SES_PAGE_SUBENCLOSURE_STRING_IN = 12,
    KRNA_SES_PAGE_SUPPORTED_SES_DIAGNOSTICS = 13,
    KRNA_SES_PAGE_DOWNLOAD_MICROCODE_CONTROL = 14,
    KRNA_SES_PAGE_DOWNLOAD_MICROCODE_STATUS = 14,
    KRNA_SES_PAGE_SUBENCLOSURE_NICKNAME_CONTROL = 15,
    KRNA_SES_PAGE_SUBENCLOSURE_NICKNAME_STATUS = 15,
    KRNA_SES_PAGE_VENDOR_SPECIFIC_SES_PAGE_0 = 16,
    KRNA_SES_PAGE_VENDOR_PAGE_A0 = 160
};

// The element status code: the low four bits of an element's first byte.
enum EnumSESStatusCodes : int32_t {
    KRNA_SES_STATUS_UNSUPPORTED = 0,
    KRNA_SES_STATUS_OK = 1,
    KRNA_SES_STATUS_CRITICAL = 2,
    KRNA_SES_STATUS_NONCRITICAL = 3,
    KRNA_SES_STATUS_UNRECOVERABLE = 4,
    KRNA_SES_STATUS_NOT_INSTALLED = 5,
    KRNA_SES_STATUS_UNKNOWN = 6,
    KRNA_SES_STATUS_NOT_AVAILABLE = 7
};

enum EnumSESAdditionalElementDescriptorTypes : int32_t {
    KRNA_SES_DESCRIPTOR_TYPE_DEVICE = 0,
    KRNA_SES_DESCRIPTOR_TYPE_EXPANDER = 1
};

// Element type codes acted on.
enum : uint8_t {
    SES_ELEMENT_DEVICE_SLOT = 0x01,
    SES_ELEMENT_POWER_SUPPLY = 0x02,
    SES_ELEMENT_COOLING = 0x03,
    SES_ELEMENT_TEMPERATURE_SENSOR = 0x04,
    SES_ELEMENT_AUDIBLE_ALARM = 0x06,
    SES_ELEMENT_ENCLOSURE = 0x0E,
    SES_ELEMENT_ARRAY_DEVICE_SLOT = 0x17,
    SES_ELEMENT_VENDOR_83 = 0x83 // not made into an object
};

// Protocol identifiers of the additional element status.
enum : int32_t { SES_PROTOCOL_SAS = 6, SES_PROTOCOL_NONE = 15 };

// One type descriptor header of the Configuration page, in page order.
struct KRNA_SES_TYPE_DESCRIPTOR_HEADER {
    uint8_t ElementType;
    uint8_t NumberOfPossibleElements;
    uint8_t SubEnclosureID;
    uint8_t TypeDescriptorTextLength;
};
static_assert(sizeof(KRNA_SES_TYPE_DESCRIPTOR_HEADER) == 4, "type descriptor header is 4 bytes");

// The fixed head of an enclosure descriptor of the Configuration page.
struct KRNA_SES2_ENCLOSURE_DESCRIPTOR {
    uint8_t ProcessIDs; // bits 0-2 process count, 4-6 relative process id
    uint8_t SubEnclosureID;
    uint8_t NumberOfElementTypesSupported;
    uint8_t EnclosureDescriptorLength; // bytes after this one
    uint8_t EnclosureLogicalID[8];
    uint8_t EnclosureVendorID[8];
    uint8_t ProductID[16];
    uint8_t ProductRevisionLevel[4];
};
static_assert(sizeof(KRNA_SES2_ENCLOSURE_DESCRIPTOR) == 40, "enclosure descriptor head is 40 bytes");

// A 4-byte status element of the Enclosure Status page.
struct KRNA_SES_ELEMENT_STATUS {
    uint8_t CommonStatus; // bits 0-3 the element status code
    uint8_t Status1;
    uint8_t Status2;
    uint8_t Status3;
};
static_assert(sizeof(KRNA_SES_ELEMENT_STATUS) == 4, "element status is 4 bytes");

// A phy descriptor of the SAS additional element status.
struct KRNA_SES2_SAS_PHY_DESCRIPTOR {
    uint8_t DeviceType; // bits 4-6
    uint8_t Reserved1;
    uint8_t InitiatorPorts; // bit 1 SMP, 2 STP, 3 SSP
    uint8_t TargetPorts;    // bit 0 SATA device, 1 SMP, 2 STP, 3 SSP, 7 SATA port selector
    uint8_t AttachedSASAddress[8];
    uint8_t SASAddress[8];
    uint8_t PhyIdentifier;
    uint8_t Reserved21[7];
};
static_assert(sizeof(KRNA_SES2_SAS_PHY_DESCRIPTOR) == 28, "phy descriptor is 28 bytes");

// A status descriptor of the Download Microcode Status page.
struct KRNA_SES_DOWNLOAD_MICROCODE_STATUS_DESCRIPTOR {
    uint8_t Reserved0;
    uint8_t SubEnclosureID;
    uint8_t Status;
    uint8_t AdditionalStatus;
    uint8_t MaximumSize[4];
    uint8_t Reserved8[3];
    uint8_t ExpectedBufferID;
    uint8_t ExpectedBufferOffset[4];
};
static_assert(sizeof(KRNA_SES_DOWNLOAD_MICROCODE_STATUS_DESCRIPTOR) == 16,
              "download microcode status descriptor is 16 bytes");

// Bit masks of the control elements of the Enclosure Control page.
enum : uint8_t {
    SES_CONTROL_SELECT = 0x80,            // byte 0
    SES_CONTROL_DISABLE = 0x20,           // byte 0
    SES_SPEAKER_SET_CRITICAL_TONE = 0x02, // byte 3
    SES_SPEAKER_SET_MUTED = 0x40,         // byte 3
    SES_SLOT_REQUEST_IDENTIFY = 0x02,     // byte 2 of a device or array device slot
    SES_ENCLOSURE_REQUEST_IDENTIFY = 0x80 // byte 1 of the enclosure element
};

// What the Configuration page says: the enclosure logical identifier of the
// first enclosure descriptor, the type descriptor headers over all
// subenclosures and the type descriptor texts.
struct STOR_EXPORT SESConfiguration {
    char enclosureLogicalID[17];
    std::vector<KRNA_SES_TYPE_DESCRIPTOR_HEADER> headers;
    std::vector<std::string> texts;
    SESConfiguration() : enclosureLogicalID() {}
};

// Decodes a Configuration page (code 1), appending its headers and texts to
// out. False when the page's code is not 1 (out unchanged). Sets truncated
// when the page ends before its descriptors, headers or texts do: the
// headers and texts that lie wholly inside the page are kept.
STOR_EXPORT bool decodeSESConfigurationPage(const unsigned char* page, size_t size,
                                            SESConfiguration& out, bool& truncated);

// Decodes a Supported Diagnostic Pages page (code 0) into out (emptied
// first): the listed page codes that lie inside the page. False for a page
// shorter than 5 bytes or of another code.
STOR_EXPORT bool decodeSESSupportedPages(const unsigned char* page, size_t size,
                                         std::vector<uint8_t>& out);

// One SAS phy descriptor of a slot's additional element status.
struct SESPhyData {
    uint8_t phyIdentifier;
    unsigned char sasAddress[8];
    unsigned char attachedSASAddress[8];
};

// One element as the pages describe it.
struct SESElementData {
    uint8_t type;
    uint32_t status; // byte 0 in bits 0-7 ... byte 3 in bits 24-31
    std::string descriptor;
    // The slot has an additional element status descriptor, with its
    // protocol identifier.
    bool hasAdditional;
    int32_t protocolIdentifier;
    // The SAS fields, when the protocol identifier is 6.
    bool notAllPhys;
    bool eip;
    bool invalid;
    uint32_t elementIndex;
    uint32_t descriptorType;
    uint32_t bayNumber;
    uint32_t numPhy;
    std::vector<SESPhyData> phys;
};

// Walks the elements that the headers describe through the Enclosure
// Status page and, when given (non-null), the Element Descriptor and
// Additional Element Status pages, handing each individual element to sink
// in page order (the overall elements are skipped). Returns true when the
// walk completed; false when the status or additional element status page
// ends before the elements do, or a descriptor runs past its page: the walk
// stops there. Texts of an Element Descriptor page that run past its
// declared length (or past the stored page) are left empty, as are all
// texts after them.
STOR_EXPORT bool decodeSESElements(const std::vector<KRNA_SES_TYPE_DESCRIPTOR_HEADER>& headers,
                                   const unsigned char* statusPage, size_t statusSize,
                                   const unsigned char* descriptorPage, size_t descriptorSize,
                                   const unsigned char* additionalPage, size_t additionalSize,
                                   const std::function<void(const SESElementData&)>& sink);

// The number made of all decimal digits of the first maxChars characters of
// text, in order; 0 without digits. A number above 0x7FFFFFFF is capped at
// 0x7FFFFFFF.
STOR_EXPORT uint32_t sesDigitsNumber(const char* text, size_t maxChars);

// True when the first 24 characters of a descriptor text, in lower case,
// contain "slot ", "bay " or "disk #".
STOR_EXPORT bool sesDescriptorNamesSlot(const char* text);

// The 8 bytes of a SAS address as 16 upper-case hex digits.
STOR_EXPORT void sesFormatSASAddress(const unsigned char* bytes, char out[17]);

// Size of the Enclosure Control page for these headers: 8 bytes of head and
// a 4-byte control element for each type's overall element and each of its
// possible elements.
STOR_EXPORT uint32_t sesControlPageSize(const std::vector<KRNA_SES_TYPE_DESCRIPTOR_HEADER>& headers);

// Offset in the Enclosure Control page of individual control element n of
// the type of header index typeIndex; 0 when there is no such element.
STOR_EXPORT uint32_t sesControlElementOffset(const std::vector<KRNA_SES_TYPE_DESCRIPTOR_HEADER>& headers,
                                             size_t typeIndex, uint32_t n);

#endif
