// libFuzzer target: arbitrary bytes read as a system configuration document
// through the System reader (controllers, channels, devices, logical drives,
// chunks, SAS phys), the tree written back as XML, and everything released.
// Besides the sanitizers' findings (overruns, leaks, undefined behaviour) it
// traps when the tree loses objects or a written document cannot be read
// again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "ExactCopy.h"
#include "RaidLib/Util/DynamicBuffer.h"
#include "RaidLib/Util/Ret.h"
#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidModel/Interface/System.h"
#include "RaidModel/Serialization/XMLWriter.h"

namespace {

// A family's system that reads no controllers of its own.
class FuzzSystem : public System {
public:
    FuzzSystem() : System(STORLIB_TARNELL) {}
    using System::buildChildren;
    void buildChildren(StorLib*, Ret& ret) override { ret.setReturn(0); }
    uint32_t getControllerCount(StorLib* lib, Ret& ret) override { return System::getControllerCount(lib, ret); }
};

// Reads text (length bytes, not terminated) into a new system and writes it
// back; the written document, or null when the text is not readable.
char* readAndWrite(char* text, size_t length)
{
    FuzzSystem system;
    SimpleXmlParser parser(length == 0 ? nullptr : text, length);
    try {
        system.buildChildren(parser);
    } catch (const SimpleXmlException&) {
        return nullptr; // what was read so far goes with the system
    } catch (const DynamicBufferException&) {
        return nullptr;
    }
    char* document = nullptr;
    {
        XMLWriter writer(&document);
        writer.writeTree(system);
    }
    return document;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const uint32_t liveBefore = globalRaidObjectCounter;

    char* written;
    {
        const ExactCopy input(data, size);
        if (input.text() == nullptr)
            return 0;
        written = readAndWrite(input.text(), size);
    }

    // What the writer gives is a document of the dialect: reading it again
    // never fails.
    if (written != nullptr) {
        char* again = readAndWrite(written, std::strlen(written));
        if (again == nullptr)
            __builtin_trap();
        delete[] again;
        delete[] written;
    }

    if (globalRaidObjectCounter != liveBefore)
        __builtin_trap(); // an object outlived its tree
    return 0;
}
