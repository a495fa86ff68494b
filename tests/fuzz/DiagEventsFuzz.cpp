// libFuzzer target: arbitrary documents through the diagnostics' scan of a
// controller's event list for the completion event. Besides the sanitizers'
// findings it traps when the scan claims a match in a document that cannot
// hold one (no "event" element name in it), or when the same document
// scanned twice gives two answers (the scan must work on its own copy).
#include <cstddef>
#include <cstdint>
#include <string>

#include "ExactCopy.h"
#include "provider/KRNAEventScan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Exactly the input, without a terminator: a read past it is caught.
    ExactCopy input(data, size);
    if (input.text() == nullptr)
        return 0;
    const bool found = corvanecimple::krnaEventDocumentShowsCompletion(input.text(), size);
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (found && text.find("event") == std::string::npos)
        __builtin_trap();
    if (found != corvanecimple::krnaEventDocumentShowsCompletion(input.text(), size))
        __builtin_trap();
    return 0;
}
