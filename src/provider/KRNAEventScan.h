#ifndef KRNAEVENTSCAN_H
#define KRNAEVENTSCAN_H

// The scan of a controller's event document for the completion event of a
// controller diagnostic, on its own so that it can be fuzzed.

#include <cstddef>

namespace corvanecimple {

// Whether the document (its first length characters, parsed in a copy)
// holds an "event" element with event code 0x10000000, sub-type 3 and
// sub-code 1 (in any of the families' sub-code attributes). Each element is
// judged on its own attributes only; a malformed document ends the scan.
bool krnaEventDocumentShowsCompletion(const char* document, size_t length);

} // namespace corvanecimple

#endif
