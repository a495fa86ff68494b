#ifndef XMLWRITER_H
#define XMLWRITER_H

#include <cstdint>

#include "RaidModel/Serialization/Writer.h"

// Helpers that no other library calls: bound inside this one.
#define XMLWRITER_LOCAL __attribute__((visibility("hidden")))

// Writes the system's XML dialect into one growing, NUL-terminated block that
// belongs to the caller: the caller passes the address of its own char*, and
// after every reallocation that variable points at the current block. The
// caller releases the final block with delete[]. A writer made without a
// variable (null) keeps its block and frees it when it is destroyed.
//
// Each attribute is appended whole or not at all: when the block would have
// to grow beyond 4 GiB, the attribute (or tag) is dropped and the document
// stays as it was. A failed allocation raises std::bad_alloc; a writer that
// an exception unwinds frees its block and leaves the caller's variable null,
// so no half-written document is ever left to the caller.
class STOR_EXPORT XMLWriter : public Writer {
public:
    explicit XMLWriter(char** out);
    // The same, but the first block already has the capacity that growing
    // would reach for a document of expectedLength characters: a writer
    // whose document is about as long as the previous one of its caller
    // writes it without moving it from block to block (0: as above).
    XMLWriter(char** out, uint32_t expectedLength);
    ~XMLWriter() override;
    XMLWriter(const XMLWriter&) = delete;
    XMLWriter& operator=(const XMLWriter&) = delete;

    void writeChar(const char* name, char value) override;
    void writeUChar(const char* name, unsigned char value) override;

    void writeLong(const char* name, long value) override;
    void writeULong(const char* name, unsigned long value) override;
    void writeShort(const char* name, short value) override;
    void writeUShort(const char* name, unsigned short value) override;
    void writeInt(const char* name, int value) override;
    void writeUInt(const char* name, unsigned int value) override;
    void writeUIntHex(const char* name, unsigned int value) override;

    void writeFloat(const char* name, float value) override;
    void writeDouble(const char* name, double value) override;

    void writeU64(const char* name, uint64_t value) override;
    void writeI64(const char* name, int64_t value) override;
    void writeBlockT(const char* name, BLOCK_T value) override;

    void writeBool(const char* name, bool value) override;

    void writeString(const char* name, const char* value) override;
    void writeASCIIString(const char* name, char* value) override;

    void writeObject(const RaidObject* object) override;
    void writeObject(const RaidObject& object) override;
    void writeObject(const Addr* addr) override;
    void writeObject(const Addr& addr) override;

    void writeAddr(const Addr* addr) override;
    void writeAddrDefinedIDsOnly(const Addr& addr) override;
    void writeAddr(const Addr& addr) override;

    void writeTree(const RaidObject* root) override;
    void writeTree(const RaidObject& root) override;

    void writeRawString(const char* text) override;
    void writeBinary(const char* name, const char* bytes, unsigned long count) override;
    void addTag(const char* text) override;

    virtual void writeObject(const Addr2* addr);
    virtual void writeObject(const Addr2& addr);
    virtual void writeAddrAll(const Addr* addr);
    virtual void writeAddrAll(const Addr& addr);
    virtual void writeAddr2(const Addr2* addr);
    virtual void writeAddr2(const Addr2& addr);
    virtual void writeAddr2All(const Addr2* addr);
    virtual void writeAddr2All(const Addr2& addr);
    virtual uint32_t getBuffSize() const;
    virtual uint32_t getStrSize() const;

    // Appends text unchanged.
    void append(const char* text, unsigned int length);
    void append(const char* text);
    void append(char c);

    // Lower-case hexadecimal digit of the high (high != 0) or low nibble.
    static char GetHexDigit(char byte, int high);

    // The capacity a block of the given capacity grows to for a text that
    // needs need bytes (0 when no block can hold it).
    static uint32_t grownCapacity(uint32_t capacity, uint64_t need);

private:
    // Room for length more characters behind the text (growing the block
    // when needed); null when the block cannot grow. The characters are
    // written at the returned position and made part of the text by commit().
    XMLWRITER_LOCAL char* reserve(uint64_t length);
    void commit(uint32_t length)
    {
        strSize += length;
        strXMLDoc[strSize] = '\0';
    }
    XMLWRITER_LOCAL char* grow(uint64_t need);

    // One attribute: blank, name, =, the value in double quotation marks.
    XMLWRITER_LOCAL void writeAttribute(const char* name, const char* value, uint32_t valueLength);
    XMLWRITER_LOCAL void writeEscaped(const char* name, const char* value);
    XMLWRITER_LOCAL void writeIndent(uint32_t blanks, const char* tail, uint32_t tailLength);

    char* strXMLDoc;
    char** holdptr;
    char formatted[64];
    uint32_t buffSize;
    uint32_t strSize;
    uint32_t indentAmount;
    uint32_t indentIncrement;
    int uncaughtAtStart;   // exceptions in flight when the writer was made
};

#endif
