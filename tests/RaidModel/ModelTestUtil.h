#ifndef TESTS_RAIDMODEL_MODELTESTUTIL_H
#define TESTS_RAIDMODEL_MODELTESTUTIL_H

// Helpers of the model tests: documents written by the XMLWriter as text, and
// a parser over a private copy of a text.

#include <string>
#include <vector>

#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidModel/Interface/RaidObject.h"
#include "RaidModel/Interface/System.h"
#include "RaidModel/Serialization/XMLWriter.h"

namespace modeltest {

// The document writeTree gives for node.
inline std::string treeText(const RaidObject& node)
{
    char* doc = nullptr;
    {
        XMLWriter w(&doc);
        w.writeTree(node);
    }
    std::string text = doc ? doc : "";
    delete[] doc;
    return text;
}

// The attributes writeTo gives for node.
inline std::string attributesText(const RaidObject& node)
{
    char* doc = nullptr;
    {
        XMLWriter w(&doc);
        node.writeTo(&w);
    }
    std::string text = doc ? doc : "";
    delete[] doc;
    return text;
}

// A parser over its own copy of a text, which lives as long as the object.
class Parsed {
public:
    explicit Parsed(const std::string& text) : bytes(text.begin(), text.end())
    {
        parser.attach(bytes.data(), bytes.size());
    }
    // Advances to the first start event of the tag; false when there is none.
    bool startOf(const char* tag)
    {
        while (parser.parseNext()) {
            if (parser.tagIs(tag) && parser.foundStartTag())
                return true;
        }
        return false;
    }
    // The events left, as "flags tag[ name=value]".
    std::vector<std::string> rest()
    {
        std::vector<std::string> events;
        while (parser.parseNext()) {
            std::string e = std::to_string(parser.flags) + " " + (parser.pTag ? parser.pTag : "");
            if (parser.pName)
                e += std::string(" ") + parser.pName + "=" + (parser.pValue ? parser.pValue : "");
            events.push_back(e);
        }
        return events;
    }

    std::vector<char> bytes;
    SimpleXmlParser parser;
};

// A family's system that reads no controllers of its own.
class TestSystem : public System {
public:
    explicit TestSystem(EnumStorLibType type = STORLIB_TARNELL) : System(type) {}
    using System::buildChildren;
    void buildChildren(StorLib*, Ret& ret) override { ret.setReturn(0); }
    uint32_t getControllerCount(StorLib* lib, Ret& ret) override
    {
        return System::getControllerCount(lib, ret);
    }
};

} // namespace modeltest

#endif
