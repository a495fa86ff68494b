#include "storagedll/convrule.h"

#include <cstdio>
#include <cstring>

namespace legacyconv {

namespace {

uint32_t loadLE(const uint8_t* p, unsigned size)
{
    uint32_t v = 0;
    for (unsigned i = size; i-- > 0;)
        v = (v << 8) | p[i];
    return v;
}

void storeLE(uint8_t* p, unsigned size, uint32_t v)
{
    for (unsigned i = 0; i < size; ++i, v >>= 8)
        p[i] = uint8_t(v);
}

unsigned valueBits(const FieldRule& rule)
{
    return rule.width ? rule.width : 8u * rule.size;
}

uint32_t mask(unsigned bits)
{
    return bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1u;
}

const uint8_t* elementAt(const FieldRule& rule, const uint8_t* record, unsigned element)
{
    return record + rule.offset + size_t(element) * rule.stride;
}

} // namespace

uint32_t jlul(jlong value) { return uint32_t(uint64_t(value)); }

jlong uljl(uint32_t value) { return jlong(value); }

int64_t cValue(const FieldRule& rule, const uint8_t* record, unsigned element)
{
    if (rule.kind == FieldKind::Constant)
        return rule.constant;
    if (rule.kind == FieldKind::BitArray)
        return hotSlot(uint32_t(loadLE(record + rule.offset, rule.size)), jsize(element)) ? 1 : 0;
    const unsigned bits = valueBits(rule);
    const uint32_t v = (loadLE(elementAt(rule, record, element), rule.size) >> rule.shift) & mask(bits);
    if (rule.sign && bits < 64 && (v >> (bits - 1)) & 1u)
        return int64_t(v) - (int64_t(1) << bits);
    return int64_t(v);
}

void storeValue(const FieldRule& rule, uint8_t* record, int64_t value, unsigned element)
{
    uint8_t* p = record + rule.offset + size_t(element) * rule.stride;
    const uint32_t m = mask(valueBits(rule)) << rule.shift;
    const uint32_t old = loadLE(p, rule.size);
    storeLE(p, rule.size, (old & ~m) | ((uint32_t(uint64_t(value)) << rule.shift) & m));
}

int64_t asJavaType(char type, int64_t value)
{
    switch (type) {
    case 'B':
        return int8_t(uint8_t(value));
    case 'S':
        return int16_t(uint16_t(value));
    case 'C':
        return uint16_t(value);
    case 'I':
        return int32_t(uint32_t(value));
    case 'Z':
        return value != 0 ? 1 : 0;
    default:
        return value;
    }
}

unsigned elementsToCopy(const FieldRule& rule, jsize javaLength)
{
    if (javaLength <= 0)
        return 0;
    if (rule.kind == FieldKind::BitArray)
        return unsigned(javaLength);
    return unsigned(javaLength) < rule.count ? unsigned(javaLength) : rule.count;
}

void seriesName(const FieldRule& rule, unsigned i, char* out, size_t outSize)
{
    std::snprintf(out, outSize, "%s%u", rule.name, i);
}

void storeText(const FieldRule& rule, uint8_t* record, const char* text)
{
    if (rule.count == 0)
        return;
    char* area = reinterpret_cast<char*>(record + rule.offset);
    size_t n = 0;
    if (text) {
        while (n + 1 < rule.count && text[n] != '\0')
            ++n;
        std::memcpy(area, text, n);
    }
    area[n] = '\0';
}

size_t lastByte(const FieldRule& rule)
{
    switch (rule.kind) {
    case FieldKind::Constant:
        return 0;
    case FieldKind::Nested:
    case FieldKind::Inline:
        return size_t(rule.offset) + rule.table->recordSize;
    case FieldKind::Series:
        return size_t(rule.offset) + size_t(rule.count - 1) * rule.stride + rule.table->recordSize;
    case FieldKind::Text:
        return size_t(rule.offset) + rule.count;
    case FieldKind::BitArray:
        return size_t(rule.offset) + rule.size;
    default:
        return size_t(rule.offset) + size_t(rule.count - 1) * rule.stride + rule.size;
    }
}

bool hotSlot(uint32_t mask, jsize i)
{
    return i >= 0 && i < 32 && ((mask >> i) & 1u) != 0;
}

bool byteBlockSize(jint blockLength, uint64_t& blockBytes)
{
    blockBytes = 0;
    if (blockLength < 0)
        return false;
    blockBytes = 4u * uint64_t(uint32_t(blockLength));
    return true;
}

bool transferFits(jint transferLength, jsize arrayLength, uint64_t blockBytes)
{
    return transferLength >= 0 && transferLength <= arrayLength && uint64_t(uint32_t(transferLength)) <= blockBytes;
}

int checkAddressCount(int64_t count, jint listCount)
{
    if (count < 0 || count > 65535 || count > int64_t(listCount))
        return -2;
    return 0;
}

} // namespace legacyconv
