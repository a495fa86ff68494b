// libFuzzer target: arbitrary bytes as the logical-drive document of the
// Java console. The text is parsed in place in a block of exactly its size
// (no terminator), so any read past it is caught; a malformed document ends
// in SimpleXmlException. Besides the sanitizers' findings it traps when a
// chunk appears without a "chunkType" attribute in the text to append it, or
// when the name outgrows its 31 characters.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "RaidLib/JavaInterface/StorDataProc.h"
#include "RaidLib/Util/SimpleXmlParser.h"

namespace {

size_t occurrences(const uint8_t* data, size_t size, const char* word)
{
    const size_t n = std::strlen(word);
    size_t count = 0;
    for (size_t i = 0; i + n <= size; ++i)
        count += std::memcmp(data + i, word, n) == 0;
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    char* text = static_cast<char*>(std::malloc(size == 0 ? 1 : size));
    if (text == nullptr)
        return 0;
    if (size != 0)
        std::memcpy(text, data, size);
    LogicalDriveSpec spec;
    try {
        GetLogicalDriveSpecFromXml(spec, size == 0 ? nullptr : text, size);
    } catch (const SimpleXmlException& e) {
        if (e.getCharNum() >= size)
            __builtin_trap();
    }
    if (spec.chunks.size() > occurrences(data, size, "chunkType"))
        __builtin_trap();
    if (std::strlen(spec.getName()) > 31)
        __builtin_trap();
    std::free(text);
    return 0;
}
