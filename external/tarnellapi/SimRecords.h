#ifndef TARNELLSIM_SIMRECORDS_H
#define TARNELLSIM_SIMRECORDS_H

// The C-API records as the simulated controllers fill them.

#include <string>

#include "storagedll/storops.h"

#include "SimInternal.h"

namespace tarnellsim {

// Copies text into a fixed-width field, padded with `pad` (not terminated when full).
void putText(uint8_t* field, size_t width, const std::string& text, uint8_t pad = 0);
// A version record with numbers parsed from a dotted text ("7.10.18").
void putVersion(_STORAGE_VERSION& v, const std::string& text, uint8_t valid3M = 0);
void putInterfaceVersion(_STORAGE_VERSION& v);
// An address as the library issues it: zero but for the adapter number and the
// library's name.
_STORAGE_ADDRESS_ID libraryAddress(uint16_t adapter);

void buildAdapterInfo(Controller& c, _ADAPTER_INFO& info);
void buildDriveParams(Controller& c, const LogicalDrive& d, _VIRT_DRV_PARMS& p);
void buildConfig(Controller& c, _ADAPTER_CONFIG& cfg);
void buildEnquiry(Controller& c, _ENQUIRY& e);
void buildProgress(Controller& c, _REBUILD_STATUS& r);
void buildInquiry(const Device& d, ST_SCSI_INQUIRY_DATA& q);
// The caching mode page in MODE SENSE(6) layout (header, one block descriptor,
// page 08h) for a page code of 0x08, 0x48, 0x88 or 0xC8; returns its length.
// The caching mode page in MODE SENSE(6) layout: header, the device's block
// descriptor bytes, the 20-byte page. Returns its length.
const size_t CACHING_PAGE_MAX = 4 + 255 + 20;
size_t buildCachingPage(const Device& d, uint32_t pageCode, uint8_t out[CACHING_PAGE_MAX]);
// The raw event log of a log code (1, 2, 4, 5, 9); null for any other code.
std::vector<uint32_t>* eventLog(Controller& c, unsigned code);

} // namespace tarnellsim

#endif
