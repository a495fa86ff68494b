#ifndef JDLLSHAPES_H
#define JDLLSHAPES_H

// The argument shapes that many StorageDLL natives share: a Java ByteBlk
// held as a C buffer for one call, and the address list of the
// count-and-list calls. The natives' table (storjdllnatives.h) builds its
// byte-block, block-transfer, pass-through and list rows from them.
//
// Both end a native before its C-API call where the Java side cannot be
// handed over: they put the code into the native's result (the other five
// fields 0) and answer true; no output is written then. Every copy back to
// Java is bounded by the length the call left, by what the native allocated
// and by the Java array.

#include <jni.h>

#include <cstdint>

#include "storagedll/sret.h"
#include "storagedll/storconv.h"

namespace legacyjdll {

// The result of a native that ends before its call: code, the rest 0.
// Always true, so that a row can write `done = refuse(ret, code)`.
bool refuse(S_Ret& ret, int code);

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

} // namespace legacyjdll

#endif
