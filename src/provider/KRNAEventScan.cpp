// The scan of an event document for the completion event.
#include "KRNAEventScan.h"

#include <cstdint>
#include <string>

#include "RaidLib/Util/SimpleXmlParser.h"

namespace corvanecimple {

namespace {

const int32_t COMPLETION_EVENT_CODE = 0x10000000;
const int32_t COMPLETION_SUB_CODE = 0x1;
const int32_t COMPLETION_SUB_TYPE = 0x3;

// The attributes that carry an event's sub-code, one per event family.
bool isSubCodeName(const SimpleXmlParser& parser)
{
    static const char* const names[] = {"containerEventCode",     "enclosureEventCode", "batteryEventCode",
                                        "smartEventCode",         "diskSetEventCode",   "clusterEventCode",
                                        "containerScsiEventCode", "groupCode",          "generalUpdateEventCode",
                                        "taskFunctionCode"};
    for (const char* name : names)
        if (parser.nameIs(name))
            return true;
    return false;
}

} // namespace

bool krnaEventDocumentShowsCompletion(const char* document, size_t length)
{
    if (!document || length == 0)
        return false;
    // The parser writes into the text it parses: a copy.
    std::string text(document, length);
    SimpleXmlParser parser(&text[0], static_cast<unsigned long>(text.size()));
    try {
        bool more = parser.parseNext();
        while (more) {
            if (!(parser.foundStartTag() && parser.tagIs("event"))) {
                more = parser.parseNext();
                continue;
            }
            // The values of this element only: one left by an earlier
            // element must not complete a match.
            bool haveCode = false, haveSubCode = false, haveSubType = false;
            int32_t code = 0, subCode = 0, subType = 0;
            // "<event/>" ends where it starts: step past it all the same.
            bool advanced = false;
            while (more && parser.tagIs("event") && !parser.foundEndTag()) {
                advanced = true;
                if (parser.flags & SimpleXmlParser::FLAG_ATTRIBUTE) {
                    if (parser.nameIs("eventCode")) {
                        code = parser.getLONG();
                        haveCode = true;
                    } else if (parser.nameIs("subTypeCode")) {
                        subType = parser.getLONG();
                        haveSubType = true;
                    } else if (isSubCodeName(parser)) {
                        subCode = parser.getLONG();
                        haveSubCode = true;
                    }
                }
                more = parser.parseNext();
            }
            if (!advanced)
                more = parser.parseNext();
            if (haveCode && haveSubCode && haveSubType && code == COMPLETION_EVENT_CODE &&
                subCode == COMPLETION_SUB_CODE && subType == COMPLETION_SUB_TYPE)
                return true;
        }
    } catch (const SimpleXmlException&) {
        // A malformed document ends the scan.
    }
    return false;
}

} // namespace corvanecimple
