#ifndef JDLLSHAPES_H
#define JDLLSHAPES_H

// The argument shapes that many StorageDLL natives share: a Java ByteBlk
// held as a C buffer for one call, the address list of the count-and-list
// calls, a Java AddrList and a Java String handed to the C API. The natives'
// table (storjdllnatives.h) builds its byte-block, block-transfer,
// pass-through, list and text rows from them.
//
// They end a native before its C-API call where the Java side cannot be
// handed over: they put the code into the native's result (the other five
// fields 0) and answer true; no output is written then. Every copy back to
// Java is bounded by the length the call left, by what the native allocated
// and by the Java array.

#include <jni.h>

#include <cstdint>

#include "storagedll/sret.h"
#include "storagedll/storconv.h"

namespace legacyjdll {

// An S_Ret of the code alone (the other five fields 0).
inline S_Ret codeOnly(int code) { return S_Ret(code, 0, 0, 0, 0, 0); }

// The result of a native that ends before its call: code, the rest 0.
// Always true, so that a row can write `done = refuse(ret, code)`.
bool refuse(S_Ret& ret, int code);
// The same for a converter's status that is not 0; false for 0.
inline bool refused(S_Ret& ret, int status) { return status != 0 && refuse(ret, status); }

class ByteBlock {
public:
    ByteBlock() = default;
    ~ByteBlock();
    ByteBlock(const ByteBlock&) = delete;
    ByteBlock& operator=(const ByteBlock&) = delete;

    // Reads the Java ByteBlk through the converter: a buffer of four times
    // its block length holding the first "iBytesXferLen" bytes of its array,
    // its block length and its transfer length. False when the block can be
    // handed to the C API; true when the converter refused it (-2: a length
    // that does not fit; -3: no memory), its code then in ret.
    bool read(JNIEnv* env, StorageDataConverter& conv, jobject blk, S_Ret& ret);

    void* data() const { return buffer; }
    uint8_t* bytes() const { return static_cast<uint8_t*>(buffer); }
    // Bytes the buffer holds.
    uint64_t size() const;

    // The buffer back into the ByteBlk: the transfer length as the call left
    // it (or `length`), at most what the buffer holds; the converter copies
    // no more than the array holds and sets "iBytesXferLen" to the count.
    void copyBack(JNIEnv* env, StorageDataConverter& conv, jobject blk) const;
    void copyBack(JNIEnv* env, StorageDataConverter& conv, jobject blk, uint32_t length) const;

    uint32_t blockLength = 0;   // the Java "iBlockLength"
    uint32_t transfer = 0;      // the Java "iBytesXferLen"; the C API may change it

private:
    void* buffer = nullptr;
};

// The list of a count-and-list call: a first call for the count (no list,
// size 0), a list of that many 40-byte addresses, a second call that fills it.
class AddressList {
public:
    // What a native does after a failed first call.
    enum Policy { GO_ON, STOP };

    AddressList() = default;
    ~AddressList();
    AddressList(const AddressList&) = delete;
    AddressList& operator=(const AddressList&) = delete;

    // Takes the first call's result into ret, then allocates the list for
    // the count it left (0 when it set none). True when the native ends
    // here: STOP after a failed first call (its result stays in ret), or no
    // memory (-3).
    bool first(S_Ret& ret, const S_Ret& firstResult, Policy policy);

    _STORAGE_ADDRESS_ID* entries() const { return list; }
    // The list's size in bytes, as the second call is given it.
    uint32_t bytes() const;
    // The entries that both the count and the list hold.
    uint32_t filled() const;

    // The filled entries into a Java AddrList (the converter's list form).
    void toAddrList(JNIEnv* env, StorageDataConverter& conv, jobject addrList) const;
    // The filled entries into the "iAdapCount" and "iAdapIndex" of the Java
    // object: the count, and each entry's adapter id while the array holds it.
    void toAdapterIndex(JNIEnv* env, jobject holder) const;

    uint16_t count = 0;   // the C API's count, in and out

private:
    _STORAGE_ADDRESS_ID* list = nullptr;
    uint32_t capacity = 0;
};

// A Java AddrList as a native hands it to the C API: an array of count
// 40-byte addresses, built by the converter from the list's "getAddress",
// and released with the native.
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

// A Java String as a native hands it to the C API: its modified UTF-8
// bytes, terminated, held from the virtual machine until the native ends.
class StringInput {
public:
    StringInput(JNIEnv* e, jstring s);
    StringInput(const StringInput&) = delete;
    StringInput& operator=(const StringInput&) = delete;
    ~StringInput();

    // 0; -2 for a null String; -3 when the bytes could not be had.
    int status() const { return !string ? -2 : text ? 0 : -3; }
    // The C API takes the text as char*; it reads it only.
    char* chars() const { return const_cast<char*>(text); }

private:
    JNIEnv* env;
    jstring string;
    const char* text;
};

} // namespace legacyjdll

#endif
