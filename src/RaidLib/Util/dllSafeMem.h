#ifndef DLLSAFEMEM_H
#define DLLSAFEMEM_H

// Per-library heap ownership. Every deliverable compiles dllSafeMem.cpp and so
// defines the global allocation operators and a deleter of its own, exported
// under the deliverable's name (DLLSAFE_DELETER_NAME; dllSafeDeleteTarnellCore
// for the core library). Each block carries, in a 16-byte header in front of
// the caller's bytes, the address of the deleter of the library that made it,
// and every release operator hands the block to that deleter, so a block is
// always released by the library that allocated it.
//
// When memory is exhausted the plain operators raise std::bad_alloc and the
// nothrow forms return null: code that can do without a block asks with
// new (std::nothrow) and tests the result; any other failed allocation
// unwinds to the operation's boundary, which reports it as its error.

#include <cstddef>

typedef void (*DllSafeDeleter)(void* pBlockIN);

// The header in front of every block: the deleter's address, padded to 16
// bytes so that the caller's bytes stay aligned for any type.
struct DllSafeHeader {
    DllSafeDeleter deleter;
    unsigned char padding[16 - sizeof(DllSafeDeleter)];
};
static_assert(sizeof(DllSafeHeader) == 16, "the block header is 16 bytes");

const std::size_t DLLSAFE_HEADER_SIZE = sizeof(DllSafeHeader);

#endif
