#include "RaidModel/Serialization/XMLWriter.h"

#include <cstdio>
#include <cstring>
#include <exception>

#include "RaidModel/Interface/RaidObject.h"

Writer::~Writer() {}

namespace {

const uint32_t FIRST_BLOCK = 512;
const uint64_t DOUBLING_LIMIT = 65535;
const uint64_t GROWTH_STEP = 65536;
const uint64_t MAX_BLOCK = 0xFFFFFFFFu;

// Null for a size beyond what a block may hold; a failed allocation raises.
char* allocBlock(uint64_t size)
{
    if (size > MAX_BLOCK || size > SIZE_MAX)
        return nullptr;
    return new char[static_cast<size_t>(size)];
}

// "00" to "99", two digits a step.
const char DIGIT_PAIRS[] = "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
                           "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
                           "8081828384858687888990919293949596979899";

// Decimal digits of v, written backwards so that they end at end, two at a
// time; returns the first digit.
template <typename Unsigned> char* formatDecimal(char* end, Unsigned v)
{
    char* p = end;
    while (v >= 100) {
        const unsigned pair = static_cast<unsigned>(v % 100);
        v /= 100;
        p -= 2;
        memcpy(p, DIGIT_PAIRS + 2 * pair, 2);
    }
    if (v >= 10) {
        p -= 2;
        memcpy(p, DIGIT_PAIRS + 2 * static_cast<unsigned>(v), 2);
    } else {
        *--p = static_cast<char>('0' + v);
    }
    return p;
}

char* formatU64(char* end, uint64_t v) { return formatDecimal(end, v); }

char* formatU32(char* end, uint32_t v) { return formatDecimal(end, v); }

char* formatI32(char* end, int32_t v)
{
    if (v >= 0)
        return formatU32(end, static_cast<uint32_t>(v));
    char* p = formatU32(end, 0u - static_cast<uint32_t>(v));
    *--p = '-';
    return p;
}

// Copies n characters and returns the end of the copy. The short runs of
// attribute names and most values go by word moves of fixed size instead of
// a call to memcpy; overlapping moves cover the lengths between.
inline char* copyChars(char* to, const char* from, size_t n)
{
    if (n > 16) {
        memcpy(to, from, n);
    } else if (n >= 8) {
        memcpy(to, from, 8);
        memcpy(to + n - 8, from + n - 8, 8);
    } else if (n >= 4) {
        memcpy(to, from, 4);
        memcpy(to + n - 4, from + n - 4, 4);
    } else if (n > 0) {
        to[0] = from[0];
        to[n / 2] = from[n / 2];
        to[n - 1] = from[n - 1];
    }
    return to + n;
}

// The entity of a character the dialect escapes, or null.
inline const char* entityFor(unsigned char c, uint32_t& length)
{
    switch (c) {
    case '"':
        length = 6;
        return "&quot;";
    case '&':
        length = 5;
        return "&amp;";
    case '\'':
        length = 6;
        return "&apos;";
    case '<':
        length = 4;
        return "&lt;";
    case '>':
        length = 4;
        return "&gt;";
    default:
        return nullptr;
    }
}

// Characters that the string rule replaces: the five entities and the
// control characters 0x01-0x1F (written as "DELIM").
struct EscapeTable {
    bool special[256];
    EscapeTable()
    {
        for (int i = 0; i < 256; ++i)
            special[i] = (i >= 1 && i <= 0x1F) || i == '"' || i == '&' || i == '\'' || i == '<' ||
                         i == '>';
    }
};
const EscapeTable escapeTable;

} // namespace

XMLWriter::XMLWriter(char** out) : XMLWriter(out, 0) {}

XMLWriter::XMLWriter(char** out, uint32_t expectedLength)
    : strXMLDoc(out ? *out : nullptr),
      holdptr(out),
      buffSize(0),
      strSize(0),
      indentAmount(0),
      indentIncrement(4),
      uncaughtAtStart(std::uncaught_exceptions())
{
    formatted[0] = '\0';
    delete[] strXMLDoc;
    strXMLDoc = nullptr;
    if (holdptr)
        *holdptr = nullptr;
    // The block must be larger than the text and its terminator need (the
    // rule of reserve), so a text of the expected length stays in it.
    uint32_t capacity = grownCapacity(FIRST_BLOCK, static_cast<uint64_t>(expectedLength) + 3);
    if (capacity > FIRST_BLOCK)
        strXMLDoc = allocBlock(capacity);
    if (!strXMLDoc) {
        capacity = FIRST_BLOCK;
        strXMLDoc = allocBlock(capacity);
    }
    if (strXMLDoc) {
        strXMLDoc[0] = '\0';
        buffSize = capacity;
    }
    if (holdptr)
        *holdptr = strXMLDoc;
}

// The block belongs to the caller's variable; without one, nobody else could
// free it. A document that an exception cut short is nobody's.
XMLWriter::~XMLWriter()
{
    if (std::uncaught_exceptions() > uncaughtAtStart) {
        delete[] strXMLDoc;
        if (holdptr)
            *holdptr = nullptr;
    } else if (!holdptr) {
        delete[] strXMLDoc;
    }
}

char* XMLWriter::reserve(uint64_t length)
{
    const uint64_t need = static_cast<uint64_t>(strSize) + length + 2;
    if (buffSize > need)
        return strXMLDoc + strSize;
    return grow(need);
}

// The capacity of the block that holds a text needing need bytes, grown from
// capacity. Up to 64 KiB the capacity doubles; beyond, it grows by whole
// 64 KiB steps of about half the current capacity (at least one step), so
// that writing a large document costs amortised linear time. A writer
// without a block (its first allocation failed) starts again from 512 bytes.
// 0 when no block can be that large.
uint32_t XMLWriter::grownCapacity(uint32_t capacity, uint64_t need)
{
    if (need > MAX_BLOCK)
        return 0;
    uint64_t c = capacity != 0 ? capacity : FIRST_BLOCK;
    while (c < need) {
        if (c > DOUBLING_LIMIT) {
            uint64_t step = (c / 2) & ~(GROWTH_STEP - 1);
            c += step > GROWTH_STEP ? step : GROWTH_STEP;
        } else {
            c *= 2;
        }
    }
    return static_cast<uint32_t>(c > MAX_BLOCK ? MAX_BLOCK : c);
}

// Moves the text into a larger block; the caller's variable follows.
char* XMLWriter::grow(uint64_t need)
{
    const uint32_t c = grownCapacity(buffSize, need);
    if (c == 0)
        return nullptr;
    char* block = allocBlock(c);
    if (!block)
        return nullptr;
    if (strXMLDoc)
        memcpy(block, strXMLDoc, strSize);
    block[strSize] = '\0';
    delete[] strXMLDoc;
    strXMLDoc = block;
    if (holdptr)
        *holdptr = block;
    buffSize = c;
    return block + strSize;
}

void XMLWriter::append(const char* text, unsigned int length)
{
    if (!text && length != 0)
        return;
    char* p = reserve(length);
    if (!p)
        return;
    if (length != 0)
        memcpy(p, text, length);
    commit(length);
}

void XMLWriter::append(const char* text)
{
    if (text)
        append(text, static_cast<unsigned int>(strlen(text)));
}

void XMLWriter::append(char c) { append(&c, 1); }

char XMLWriter::GetHexDigit(char byte, int high)
{
    static const char digits[] = "0123456789abcdef";
    const unsigned char b = static_cast<unsigned char>(byte);
    return digits[high ? (b >> 4) : (b & 0x0F)];
}

void XMLWriter::writeAttribute(const char* name, const char* value, uint32_t valueLength)
{
    if (!name)
        return;
    const size_t nameLength = strlen(name);
    char* p = reserve(nameLength + valueLength + 4);
    if (!p)
        return;
    char* q = p;
    *q++ = ' ';
    q = copyChars(q, name, nameLength);
    *q++ = '=';
    *q++ = '"';
    q = copyChars(q, value, valueLength);
    *q++ = '"';
    commit(static_cast<uint32_t>(q - p));
}

void XMLWriter::writeEscaped(const char* name, const char* value)
{
    if (!name)
        return;
    if (!value)
        value = "";
    const unsigned char* v = reinterpret_cast<const unsigned char*>(value);

    // First pass: the length of the escaped value, so that the attribute is
    // appended whole (or not at all) without a temporary copy.
    uint64_t escapedLength = 0;
    size_t valueLength = 0;
    bool plain = true;
    for (; v[valueLength] != 0; ++valueLength) {
        const unsigned char c = v[valueLength];
        if (!escapeTable.special[c]) {
            ++escapedLength;
            continue;
        }
        plain = false;
        uint32_t entityLength = 5; // "DELIM"
        entityFor(c, entityLength);
        escapedLength += entityLength;
    }

    const size_t nameLength = strlen(name);
    char* p = reserve(nameLength + escapedLength + 4);
    if (!p)
        return;
    char* q = p;
    *q++ = ' ';
    q = copyChars(q, name, nameLength);
    *q++ = '=';
    *q++ = '"';
    if (plain) {
        q = copyChars(q, value, valueLength);
    } else {
        for (size_t i = 0; i < valueLength; ++i) {
            const unsigned char c = v[i];
            if (!escapeTable.special[c]) {
                *q++ = static_cast<char>(c);
                continue;
            }
            uint32_t entityLength = 0;
            const char* entity = entityFor(c, entityLength);
            if (!entity) {
                entity = "DELIM";
                entityLength = 5;
            }
            memcpy(q, entity, entityLength);
            q += entityLength;
        }
    }
    *q++ = '"';
    commit(static_cast<uint32_t>(q - p));
}

void XMLWriter::writeChar(const char* name, char value)
{
    uint32_t length = 0;
    const char* entity = entityFor(static_cast<unsigned char>(value), length);
    if (entity)
        writeAttribute(name, entity, length);
    else
        writeAttribute(name, &value, value != '\0' ? 1 : 0);
}

void XMLWriter::writeUChar(const char* name, unsigned char value)
{
    writeChar(name, static_cast<char>(value));
}

// The long forms are written as the 32-bit values the dialect's readers read,
// so that both builds write the same text.
void XMLWriter::writeLong(const char* name, long value)
{
    writeInt(name, static_cast<int32_t>(value));
}

void XMLWriter::writeULong(const char* name, unsigned long value)
{
    writeUInt(name, static_cast<uint32_t>(value));
}

void XMLWriter::writeShort(const char* name, short value) { writeInt(name, value); }

void XMLWriter::writeUShort(const char* name, unsigned short value) { writeUInt(name, value); }

void XMLWriter::writeInt(const char* name, int value)
{
    char* end = formatted + sizeof(formatted);
    char* p = formatI32(end, value);
    writeAttribute(name, p, static_cast<uint32_t>(end - p));
}

void XMLWriter::writeUInt(const char* name, unsigned int value)
{
    char* end = formatted + sizeof(formatted);
    char* p = formatU32(end, value);
    writeAttribute(name, p, static_cast<uint32_t>(end - p));
}

void XMLWriter::writeUIntHex(const char* name, unsigned int value)
{
    char* end = formatted + sizeof(formatted);
    char* p = end;
    do {
        *--p = GetHexDigit(static_cast<char>(value & 0x0F), 0);
        value >>= 4;
    } while (value != 0);
    *--p = 'x';
    *--p = '0';
    writeAttribute(name, p, static_cast<uint32_t>(end - p));
}

void XMLWriter::writeFloat(const char* name, float value)
{
    writeDouble(name, static_cast<double>(value));
}

void XMLWriter::writeDouble(const char* name, double value)
{
    // "%f" of the largest double has 309 integer digits; this holds any.
    char text[400];
    int length = snprintf(text, sizeof(text), "%f", value);
    if (length < 0)
        return;
    if (static_cast<size_t>(length) >= sizeof(text))
        length = static_cast<int>(sizeof(text) - 1);
    writeAttribute(name, text, static_cast<uint32_t>(length));
}

void XMLWriter::writeU64(const char* name, uint64_t value)
{
    char* end = formatted + sizeof(formatted);
    char* p = formatU64(end, value);
    writeAttribute(name, p, static_cast<uint32_t>(end - p));
}

void XMLWriter::writeI64(const char* name, int64_t value)
{
    char* end = formatted + sizeof(formatted);
    char* p;
    if (value >= 0) {
        p = formatU64(end, static_cast<uint64_t>(value));
    } else {
        p = formatU64(end, 0u - static_cast<uint64_t>(value));
        *--p = '-';
    }
    writeAttribute(name, p, static_cast<uint32_t>(end - p));
}

void XMLWriter::writeBlockT(const char* name, BLOCK_T value) { writeU64(name, value); }

void XMLWriter::writeBool(const char* name, bool value)
{
    if (value)
        writeAttribute(name, "true", 4);
    else
        writeAttribute(name, "false", 5);
}

void XMLWriter::writeString(const char* name, const char* value)
{
    writeEscaped(name, value);
}

// Clears bit 7 of every character of the caller's text in place, then
// writes it as a string.
void XMLWriter::writeASCIIString(const char* name, char* value)
{
    if (value) {
        for (char* p = value; *p != '\0'; ++p)
            *p = static_cast<char>(*p & 0x7F);
    }
    writeEscaped(name, value);
}

void XMLWriter::writeObject(const RaidObject* object)
{
    if (!object)
        return;
    append("<", 1);
    append(object->serializedName());
    object->writeTo(this);
    append("/>", 2);
}

void XMLWriter::writeObject(const RaidObject& object) { writeObject(&object); }

void XMLWriter::writeObject(const Addr* addr)
{
    if (!addr)
        return;
    append("<", 1);
    append(addr->serializedName());
    writeAddr(addr);
    append("/>", 2);
}

void XMLWriter::writeObject(const Addr& addr) { writeObject(&addr); }

void XMLWriter::writeObject(const Addr2* addr)
{
    if (!addr)
        return;
    append("<", 1);
    append(static_cast<const Addr*>(addr)->serializedName());
    writeAddr2(addr);
    append("/>", 2);
}

void XMLWriter::writeObject(const Addr2& addr) { writeObject(&addr); }

void XMLWriter::writeAddr(const Addr* addr)
{
    if (!addr)
        return;
    if (addr->getAdapterID() != STORID_UNDEFINED)
        writeULong("controllerID", addr->getAdapterID());
    if (addr->getArrayID() != STORID_UNDEFINED)
        writeULong("arrayID", addr->getArrayID());
    if (addr->getLogicalDriveID() != STORID_UNDEFINED)
        writeULong("logicalDriveID", addr->getLogicalDriveID());
    if (addr->getChannelID() != STORID_UNDEFINED)
        writeULong("channelID", addr->getChannelID());
    if (addr->getDeviceID() != STORID_UNDEFINED)
        writeULong("deviceID", addr->getDeviceID());
    if (addr->getChunkID() != BLOCK_UNDEFINED)
        writeBlockT("chunkID", addr->getChunkID());
    if (addr->getItemID() != STORID_UNDEFINED)
        writeULong("itemID", addr->getItemID());
    if (addr->getSASPhyID() != STORID_UNDEFINED)
        writeULong("phyID", addr->getSASPhyID());
}

void XMLWriter::writeAddrDefinedIDsOnly(const Addr& addr) { writeAddr(addr); }

void XMLWriter::writeAddr(const Addr& addr) { writeAddr(&addr); }

void XMLWriter::writeAddrAll(const Addr* addr)
{
    if (!addr)
        return;
    writeULong("controllerID", addr->getAdapterID());
    writeULong("arrayID", addr->getArrayID());
    writeULong("logicalDriveID", addr->getLogicalDriveID());
    writeULong("channelID", addr->getChannelID());
    writeULong("deviceID", addr->getDeviceID());
    writeBlockT("chunkID", addr->getChunkID());
    writeULong("itemID", addr->getItemID());
    writeULong("phyID", addr->getSASPhyID());
}

void XMLWriter::writeAddrAll(const Addr& addr) { writeAddrAll(&addr); }

void XMLWriter::writeAddr2(const Addr2* addr)
{
    if (!addr)
        return;
    if (addr->getStorLibType() != STORLIB_UNKNOWN)
        writeInt("storlibType", addr->getStorLibType());
    writeAddr(static_cast<const Addr*>(addr));
}

void XMLWriter::writeAddr2(const Addr2& addr) { writeAddr2(&addr); }

void XMLWriter::writeAddr2All(const Addr2* addr)
{
    if (!addr)
        return;
    writeInt("storlibType", addr->getStorLibType());
    writeAddrAll(static_cast<const Addr*>(addr));
}

void XMLWriter::writeAddr2All(const Addr2& addr) { writeAddr2All(&addr); }

void XMLWriter::writeIndent(uint32_t blanks, const char* tail, uint32_t tailLength)
{
    char* p = reserve(static_cast<uint64_t>(blanks) + tailLength);
    if (!p)
        return;
    memset(p, ' ', blanks);
    memcpy(p + blanks, tail, tailLength);
    commit(blanks + tailLength);
}

// Each node is written as the element of its serializedName() with the
// attributes of its writeTo(), its children indented four blanks deeper.
void XMLWriter::writeTree(const RaidObject* node)
{
    if (!node)
        return;
    writeIndent(indentAmount, "<", 1);
    const char* name = node->serializedName();
    append(name);
    node->writeTo(this);
    const int count = static_cast<int>(node->getChildCount());
    if (count == 0) {
        append("/>\n", 3);
        return;
    }
    indentAmount += indentIncrement;
    append(">\n", 2);
    for (int i = 0; i < count; ++i)
        writeTree(node->getChild(i));
    if (indentAmount != 0)
        indentAmount -= indentIncrement;
    writeIndent(indentAmount, "</", 2);
    append(name);
    append(">\n", 2);
}

void XMLWriter::writeTree(const RaidObject& root) { writeTree(&root); }

void XMLWriter::writeRawString(const char* text)
{
    if (text && *text)
        append(text);
}

void XMLWriter::addTag(const char* text) { append(text); }

void XMLWriter::writeBinary(const char* name, const char* bytes, unsigned long count)
{
    if (!name)
        return;
    if (!bytes)
        count = 0;
    const uint64_t valueLength = count != 0 ? 3 * static_cast<uint64_t>(count) - 1 : 0;
    const size_t nameLength = strlen(name);
    char* p = reserve(nameLength + valueLength + 4);
    if (!p)
        return;
    char* q = p;
    *q++ = ' ';
    memcpy(q, name, nameLength);
    q += nameLength;
    *q++ = '=';
    *q++ = '"';
    for (unsigned long i = 0; i < count; ++i) {
        if (i != 0)
            *q++ = ' ';
        *q++ = GetHexDigit(bytes[i], 1);
        *q++ = GetHexDigit(bytes[i], 0);
    }
    *q++ = '"';
    commit(static_cast<uint32_t>(q - p));
}

uint32_t XMLWriter::getBuffSize() const { return buffSize; }

uint32_t XMLWriter::getStrSize() const { return strSize; }
