#ifndef CONVRULE_H
#define CONVRULE_H

// The field tables of the legacy Java bridge's data converter and the rules
// that turn the bytes of a C-API record into Java values and back.
//
// Each C record that reaches a Java object of com.zeq.sysmgt.storage.api is
// described by one RecordTable: the Java class, the record's size and one
// FieldRule per Java field, in the order the fields are written. One engine
// (convengine.h) walks the tables through JNI; the byte rules below make no
// JNI call, so they run without a JVM.
//
// A Java field's JNI signature decides the typed JNI call; the rule decides
// which C bytes it comes from: a little-endian value of 1, 2 or 4 bytes at an
// offset, of which the bits shift .. shift + width - 1 are taken, shifted
// down and then sign- or zero-extended. Java to C stores the Java value's low
// bits back into the same place and leaves the other bits of those bytes.

#include <jni.h>

#include <cstddef>
#include <cstdint>

#include "RaidLib/Util/StorExport.h"

// Class paths and JNI signatures of the Java value classes.
#define LEGACY_API_PACKAGE "com/zeq/sysmgt/storage/api/"
#define LEGACY_API_SIG(cls) "L" LEGACY_API_PACKAGE cls ";"

namespace legacyconv {

struct RecordTable;

enum class FieldKind : uint8_t {
    Scalar,     // one C value to or from a scalar Java field
    Constant,   // a fixed int; no C bytes
    Array,      // count C values, stride bytes apart, to or from a Java array
    Nested,     // the object in an object field, by another table from offset
    Inline,     // another table on the same Java object, from offset
    Series,     // count object fields named prefix + 0, 1, ..., stride bytes apart
    BitArray,   // a Java boolean array, element i from bit i of the 32-bit value; false from 32 on
    Text,       // Java to C: a String field into a terminated text of count bytes
    LongMethod  // Java to C: the long a "()J" method returns, its low 32 bits
};

struct FieldRule {
    const char* name;        // Java field or method; a Series' name prefix
    const char* signature;   // JNI signature of the field (of each element's field for a Series)
    FieldKind kind;
    uint16_t offset;         // first C byte
    uint8_t size;            // bytes of one C value: 1, 2 or 4
    uint8_t shift;           // first bit of the value in those bytes
    uint8_t width;           // bits of the value; 0: all of them
    bool sign;               // sign-extended; else zero-extended
    uint16_t count;          // Array: C elements; Series: objects; Text: bytes of the area
    uint16_t stride;         // Array, Series: bytes from one element to the next
    const RecordTable* table; // Nested, Inline, Series
    int32_t constant;        // Constant
};

struct RecordTable {
    const char* javaClass;   // class path with slashes
    uint32_t recordSize;     // bytes of the C record (0: none)
    const FieldRule* fields;
    size_t fieldCount;
    const FieldRule* begin() const { return fields; }
    const FieldRule* end() const { return fields + fieldCount; }
};

// Rows of the tables.
constexpr FieldRule scalar(const char* name, const char* sig, size_t offset, size_t size, unsigned shift = 0,
                           unsigned width = 0, bool sign = false)
{
    return FieldRule{name, sig, FieldKind::Scalar, uint16_t(offset), uint8_t(size), uint8_t(shift), uint8_t(width),
                     sign, 1, 0, nullptr, 0};
}
constexpr FieldRule signedScalar(const char* name, const char* sig, size_t offset, size_t size)
{
    return scalar(name, sig, offset, size, 0, 0, true);
}
constexpr FieldRule constant(const char* name, int32_t value)
{
    return FieldRule{name, "I", FieldKind::Constant, 0, 0, 0, 0, false, 0, 0, nullptr, value};
}
// count elements of size bytes each, stride bytes apart (default: packed).
constexpr FieldRule array(const char* name, const char* sig, size_t offset, size_t count, size_t size = 1,
                          size_t stride = 0)
{
    return FieldRule{name, sig, FieldKind::Array, uint16_t(offset), uint8_t(size), 0, 0, false,
                     uint16_t(count), uint16_t(stride ? stride : size), nullptr, 0};
}
constexpr FieldRule nested(const char* name, const char* sig, size_t offset, const RecordTable& table)
{
    return FieldRule{name, sig, FieldKind::Nested, uint16_t(offset), 0, 0, 0, false, 1, 0, &table, 0};
}
constexpr FieldRule inlined(size_t offset, const RecordTable& table)
{
    return FieldRule{"", "", FieldKind::Inline, uint16_t(offset), 0, 0, 0, false, 1, 0, &table, 0};
}
constexpr FieldRule series(const char* prefix, const char* sig, size_t offset, size_t count, size_t stride,
                           const RecordTable& table)
{
    return FieldRule{prefix, sig, FieldKind::Series, uint16_t(offset), 0, 0, 0, false,
                     uint16_t(count), uint16_t(stride), &table, 0};
}
constexpr FieldRule bitArray(const char* name, size_t offset)
{
    return FieldRule{name, "[Z", FieldKind::BitArray, uint16_t(offset), 4, 0, 1, false, 32, 0, nullptr, 0};
}
constexpr FieldRule text(const char* name, size_t offset, size_t areaSize)
{
    return FieldRule{name, "Ljava/lang/String;", FieldKind::Text, uint16_t(offset), 1, 0, 0, false,
                     uint16_t(areaSize), 1, nullptr, 0};
}
constexpr FieldRule longMethod(const char* name, size_t offset)
{
    return FieldRule{name, "()J", FieldKind::LongMethod, uint16_t(offset), 4, 0, 0, false, 1, 0, nullptr, 0};
}

// A Java long into an unsigned 32-bit C value: its low 32 bits.
STOR_EXPORT uint32_t jlul(jlong value);
// An unsigned 32-bit C value into a Java long, zero-extended.
STOR_EXPORT jlong uljl(uint32_t value);

// The value of element `element` of a rule (0 for a scalar) as the Java
// field receives it before its own narrowing: the bits shifted down, sign- or
// zero-extended. A Constant gives its value.
STOR_EXPORT int64_t cValue(const FieldRule& rule, const uint8_t* record, unsigned element = 0);
// Stores the low bits of a Java value into element `element` of the rule;
// the other bits of those C bytes stay.
STOR_EXPORT void storeValue(const FieldRule& rule, uint8_t* record, int64_t value, unsigned element = 0);
// The value as the Java field of that signature type holds it ('B', 'S',
// 'I', 'J', 'C', 'Z'), widened back to 64 bits: a byte or short keeps its
// low bits read as signed, an int its low 32 bits, a boolean is 0 or 1.
STOR_EXPORT int64_t asJavaType(char type, int64_t value);
// The elements that pass between a Java array of javaLength elements and
// the rule's C member: the smaller of the two counts.
STOR_EXPORT unsigned elementsToCopy(const FieldRule& rule, jsize javaLength);
// The field name of object i of a Series: the prefix and i in decimal.
STOR_EXPORT void seriesName(const FieldRule& rule, unsigned i, char* out, size_t outSize);
// A text into the rule's area: at most count - 1 bytes, then a NUL; a null
// text leaves an empty one.
STOR_EXPORT void storeText(const FieldRule& rule, uint8_t* record, const char* text);
// Bytes of the C record from the rule's first byte to its last.
STOR_EXPORT size_t lastByte(const FieldRule& rule);

// Element i of a Java boolean array of hot-plug PCI slots: bit i of the
// 32-bit slot mask; elements from 32 on are false.
STOR_EXPORT bool hotSlot(uint32_t mask, jsize i);

// The size of the C block of a Java byte block: four times its block
// length, computed in 64 bits; false for a negative block length.
STOR_EXPORT bool byteBlockSize(jint blockLength, uint64_t& blockBytes);
// Whether a transfer length fits both the Java array and the C block; a
// negative one does not.
STOR_EXPORT bool transferFits(jint transferLength, jsize arrayLength, uint64_t blockBytes);
// The address count that a caller hands to the AddrList conversion: 0 when
// it lies in 0 .. min(the list's own count, 65535), else -2.
STOR_EXPORT int checkAddressCount(int64_t count, jint listCount);

} // namespace legacyconv

#endif
