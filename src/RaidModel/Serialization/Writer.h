#ifndef WRITER_H
#define WRITER_H

#include <cstdint>

#include "RaidLib/Util/Addr.h"
#include "RaidLib/Util/StorExport.h"

class RaidObject;

// The interface through which every model object writes its attributes.
// The order of the operations is the order of the virtual table that the
// family libraries are built against; do not reorder.
class STOR_EXPORT Writer {
public:
    virtual ~Writer();

    virtual void writeChar(const char* name, char value) = 0;
    virtual void writeUChar(const char* name, unsigned char value) = 0;

    virtual void writeLong(const char* name, long value) = 0;
    virtual void writeULong(const char* name, unsigned long value) = 0;
    virtual void writeShort(const char* name, short value) = 0;
    virtual void writeUShort(const char* name, unsigned short value) = 0;
    virtual void writeInt(const char* name, int value) = 0;
    virtual void writeUInt(const char* name, unsigned int value) = 0;
    virtual void writeUIntHex(const char* name, unsigned int value) = 0;

    virtual void writeFloat(const char* name, float value) = 0;
    virtual void writeDouble(const char* name, double value) = 0;

    virtual void writeU64(const char* name, uint64_t value) = 0;
    virtual void writeI64(const char* name, int64_t value) = 0;
    virtual void writeBlockT(const char* name, BLOCK_T value) = 0;

    virtual void writeBool(const char* name, bool value) = 0;

    virtual void writeString(const char* name, const char* value) = 0;
    virtual void writeASCIIString(const char* name, char* value) = 0;

    virtual void writeObject(const RaidObject* object) = 0;
    virtual void writeObject(const RaidObject& object) = 0;
    virtual void writeObject(const Addr* addr) = 0;
    virtual void writeObject(const Addr& addr) = 0;

    virtual void writeAddr(const Addr* addr) = 0;
    virtual void writeAddrDefinedIDsOnly(const Addr& addr) = 0;
    virtual void writeAddr(const Addr& addr) = 0;

    virtual void writeTree(const RaidObject* root) = 0;
    virtual void writeTree(const RaidObject& root) = 0;

    virtual void writeRawString(const char* text) = 0;
    virtual void writeBinary(const char* name, const char* bytes, unsigned long count) = 0;
    virtual void addTag(const char* text) = 0;
};

#endif
