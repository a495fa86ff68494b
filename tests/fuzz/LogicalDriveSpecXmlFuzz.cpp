// libFuzzer target: arbitrary bytes as the logical-drive document of the
// Java console. The text is parsed in place in a block of exactly its size
// (no terminator), so any read past it is caught; a malformed document ends
// in SimpleXmlException. Besides the sanitizers' findings it traps when a
// chunk appears without a "chunkType" attribute in the text to append it, or
// when the name outgrows its 31 characters.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "ExactCopy.h"
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
    const ExactCopy input(data, size);
    if (input.text() == nullptr)
        return 0;
    LogicalDriveSpec spec;
    try {
        GetLogicalDriveSpecFromXml(spec, size == 0 ? nullptr : input.text(), size);
    } catch (const SimpleXmlException& e) {
        if (e.getCharNum() >= size)
            __builtin_trap();
    }
    if (spec.chunks.size() > occurrences(data, size, "chunkType"))
        __builtin_trap();
    if (std::strlen(spec.getName()) > 31)
        __builtin_trap();
    return 0;
}
