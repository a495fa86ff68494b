#ifndef JDLLADDRLIST_H
#define JDLLADDRLIST_H

// A Java AddrList as a native hands it to the C API: an array of count
// 40-byte addresses, built by the converter from the list's "getAddress",
// and released with the native.

#include <jni.h>

#include <cstdint>

#include "storagedll/storconv.h"

namespace legacyjdll {

class AddressListInput {
public:
    AddressListInput() = default;
    AddressListInput(const AddressListInput&) = delete;
    AddressListInput& operator=(const AddressListInput&) = delete;
    ~AddressListInput() { delete[] list; }

    // count addresses of the list: 0, or the converter's -2 (a count beyond
    // the list's own or 65535), -3 (no "getAddressCount", no memory) or -9
    // (no "getAddress"). Only a list of status 0 may reach the C API.
    int fromJava(JNIEnv* env, StorageDataConverter& conv, jobject addrList, uint32_t count);
    // The list's own number of addresses ("getAddressCount"); 0 for a list
    // without that method or whose method throws, and for a null list.
    static uint32_t countOf(JNIEnv* env, jobject addrList);

    // The count as the C API takes it.
    uint16_t count16() const { return uint16_t(count); }

    _STORAGE_ADDRESS_ID* list = nullptr;
    uint32_t byteSize = 0;
    uint32_t count = 0;
};

} // namespace legacyjdll

#endif
