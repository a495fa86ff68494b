#ifndef STORJDLLRAID_H
#define STORJDLLRAID_H

// The StorageDLL natives of the RAID configuration and of task progress that
// do more than one forwarding call (their rows in storjdllnatives.h call
// them), and the adapter enquiry command they share with GetBBCacheInfo.

#include <jni.h>

#include <cstdint>

namespace legacyjdll {

// The adapter enquiry: a 16-byte command, byte 0 0x05 and byte 3 the page.
const uint8_t ENQUIRY_OPCODE = 0x05;
const uint8_t ENQUIRY_PAGE_STANDARD = 0x00;      // the 196-byte _ENQUIRY
const uint8_t ENQUIRY_PAGE_CACHE_SERIALS = 0x60; // an _ENQUIRY_BBCACHE
const uint8_t ENQUIRY_PAGE_DRIVE_CACHE = 0x50;   // the enquiry, flags and cache bytes of drives 0-7
const uint32_t ENQUIRY_COMMAND_SIZE = 16;
const uint32_t ENQUIRY_REPLY_SIZE = 212;

struct AdapterEnquiry {
    explicit AdapterEnquiry(uint8_t page) : command{ENQUIRY_OPCODE, 0, 0, page} {}
    uint8_t command[ENQUIRY_COMMAND_SIZE];
    uint32_t transfer = 0;   // the three transfer counts of the C API, not read
};

// The sixteen arguments of ExecAdapterCmnd for an enquiry into reply.
#define LEGACY_ENQUIRY_ARGS(addr, enquiry, reply, replyLength)                                                  \
    (addr, (enquiry).command, legacyjdll::ENQUIRY_COMMAND_SIZE, (enquiry).transfer, (enquiry).transfer,          \
     (enquiry).transfer, reply, replyLength, nullptr, 0, nullptr, 0, 60, 1, 1, 0)

// The buffer GetClusterPartnerId fills (the C API writes at most 12 bytes).
const uint32_t PARTNER_ID_BUFFER = 13;

// GetAdapterRaidConfig (StorRet, StorAddr, RaidConfig, boolean).
void getAdapterRaidConfig(JNIEnv* env, jobject self, jobject jRet, jobject jAddr, jobject jConfig, jboolean flag);
// GetVirtDevLdTable (StorRet, StorAddr, VirtDrv, int table type).
void getVirtDevLdTable(JNIEnv* env, jobject self, jobject jRet, jobject jAddr, jobject jTable, jint type);
// CheckProgress (StorRet, StorAddr, progress object).
void checkProgress(JNIEnv* env, jobject self, jobject jRet, jobject jAddr, jobject jProgress);
// CheckQuillcopyProgress (StorRet, StorAddr, Quillcopy progress object).
void checkQuillcopyProgress(JNIEnv* env, jobject self, jobject jRet, jobject jAddr, jobject jProgress);
// GetQuillcopyStatus (StorRet, StorAddr, Quillcopy status object, int option).
void getQuillcopyStatus(JNIEnv* env, jobject self, jobject jRet, jobject jAddr, jobject jStatus, jint option);

} // namespace legacyjdll

#endif
