// libFuzzer target: arbitrary bytes through the XML pull parser. Every event
// is pulled, its texts are read, and every attribute of an element is read
// through each typed getter of the attribute list. Besides the sanitizers'
// findings it traps when a text handed out is not NUL-terminated inside the
// input, when an event lies outside it, or when parsing stops making
// progress.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "ExactCopy.h"
#include "RaidLib/Util/DynamicBuffer.h"
#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidLib/Util/XmlAttributeList.h"

namespace {

const char* gBegin;
const char* gEnd;

// A text handed out must lie inside the input and end there.
void checkText(const char* s)
{
    if (s == nullptr)
        return;
    if (s < gBegin || s >= gEnd || std::memchr(s, 0, static_cast<size_t>(gEnd - s)) == nullptr)
        __builtin_trap();
}

volatile uint64_t gSink;

void readAll(const XmlAttributeList_C& list)
{
    uint64_t sum = 0;
    const int32_t n = list.NumEntries();
    for (int32_t i = 0; i <= n; ++i) { // one past the end on purpose
        const char* name = list.GetName(i);
        const char* value = list.GetValue(i);
        if (i < n)
            checkText(name);
        sum += std::strlen(value);
        sum += static_cast<uint32_t>(list.GetLong(i)) + list.GetULong(i);
        sum += static_cast<uint64_t>(list.GetI64(i)) + list.GetU64(i) + list.GetBool(i);
        if (name != nullptr) {
            sum += list.Exists(name);
            sum += std::strlen(list.GetValue(name));
            sum += static_cast<uint32_t>(list.GetLong(name)) + list.GetULong(name);
            sum += static_cast<uint64_t>(list.GetI64(name)) + list.GetU64(name) + list.GetBool(name);
        }
    }
    gSink = gSink + sum;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const ExactCopy input(data, size);
    char* text = input.text();
    if (text == nullptr)
        return 0;
    gBegin = text;
    gEnd = text + size;

    SimpleXmlParser parser(size == 0 ? nullptr : text, size);
    XmlAttributeList_C element;                   // attributes of the current element
    XmlAttributeList_C everything(0, 16);         // every attribute of the document
    const size_t maxCalls = 3 * size + 16;
    size_t calls = 0;
    for (;;) {
        if (++calls > maxCalls)
            __builtin_trap(); // no progress
        bool more;
        try {
            more = parser.parseNext();
        } catch (const SimpleXmlException& e) {
            if (e.getCharNum() >= size)
                __builtin_trap();
            continue; // parsing may go on after an error
        }
        if (!more)
            break;
        checkText(parser.pTag);
        checkText(parser.pName);
        checkText(parser.pValue);
        if (parser.pValue != nullptr && parser.pName == nullptr)
            __builtin_trap();
        gSink = gSink + parser.getULONG() + static_cast<uint32_t>(parser.getLONG());
        if (parser.foundStartTag()) {
            readAll(element);
            element.Clear();
        }
        if (parser.pName != nullptr) {
            try {
                element.Append(parser.pName, parser.pValue);
                everything.Append(parser.pName, parser.pValue);
            } catch (const DynamicBufferException&) {
            }
        }
        if (parser.foundEndTag())
            readAll(element);
    }
    if (parser.parseNext())
        __builtin_trap(); // the end stays the end
    // Texts handed out earlier are still terminated after the whole parse.
    for (int32_t i = 0; i < everything.NumEntries(); ++i) {
        checkText(everything.GetName(i));
        if (everything.GetValue(i)[0] != '\0')
            checkText(everything.GetValue(i));
    }
    readAll(element);
    return 0;
}
