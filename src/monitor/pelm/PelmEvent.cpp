#include "monitor/pelm/PelmEvent.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "RaidLib/Util/Date.h"
#include "RaidLib/Util/SimpleXmlParser.h"

PelmEvent::PelmEvent()
    : timeStamp(Date::now()), Qual(UNSET), Status(UNSET), SenseKey(UNSET), AdditionalSenseCode(UNSET), Sequence(0)
{
}

PelmEvent::PelmEvent(int QualIN, int StatusIN, int SenseKeyIN, int AdditionalSenseCodeIN, int64_t SequenceIN,
                     std::string LDPathIN, std::string DescriptionIN)
    : timeStamp(Date::now()), Qual(QualIN), Status(StatusIN), SenseKey(SenseKeyIN),
      AdditionalSenseCode(AdditionalSenseCodeIN), Sequence(SequenceIN), LDPath(std::move(LDPathIN)),
      Description(std::move(DescriptionIN))
{
}

int PelmEvent::getSeverity() const
{
    switch (Qual) {
    case 0:
    case 2:
    case 5:
    case 8:
    case 9:
        return 2;
    case 1:
    case 3:
    case 4:
    case 6:
    case 10:
        return 1;
    default:
        return 3;
    }
}

std::string PelmEvent::toString() const
{
    const char* word;
    switch (getSeverity()) {
    case 1:
        word = "eventViewerFatal";
        break;
    case 2:
        word = "eventViewerCritical";
        break;
    case 3:
        word = "eventViewerInformation";
        break;
    default:
        word = "eventViewerUnknown";
        break;
    }
    return std::string(word) + std::string(18, ' ') + "\t\t" + Description;
}

namespace {

// A code in hexadecimal, with or without "0x"; UNSET without digits. Values
// beyond 32 bits read as 0xFFFFFFFF, as a 32-bit strtoul gives them.
int hexCode(const char* value)
{
    if (!value)
        return PelmEvent::UNSET;
    const char* digits = value;
    while (*digits == ' ' || *digits == '\t')
        ++digits;
    if (digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X'))
        digits += 2;
    if (!std::strchr("0123456789abcdefABCDEF", *digits) || *digits == '\0')
        return PelmEvent::UNSET;
    errno = 0;
    const unsigned long long read = std::strtoull(digits, nullptr, 16);
    const uint32_t code = (errno == ERANGE || read > 0xFFFFFFFFull) ? 0xFFFFFFFFu : static_cast<uint32_t>(read);
    return static_cast<int>(code);
}

// A sequence number: hexadecimal after "0x", else decimal (signed); 0
// without value or digits.
int64_t sequenceNumber(const char* value)
{
    if (!value)
        return 0;
    if (value[0] == '0' && (value[1] == 'x' || value[1] == 'X'))
        return static_cast<int64_t>(std::strtoull(value + 2, nullptr, 16) & 0x7FFFFFFFFFFFFFFFull);
    return static_cast<int64_t>(std::strtoll(value, nullptr, 10));
}

void setField(PelmEvent& event, const SimpleXmlParser& parser)
{
    const char* value = parser.getValue();
    if (parser.nameIs("Sequence"))
        event.Sequence = sequenceNumber(value);
    else if (parser.nameIs("Qual"))
        event.Qual = hexCode(value);
    else if (parser.nameIs("Status"))
        event.Status = hexCode(value);
    else if (parser.nameIs("SenseKey"))
        event.SenseKey = hexCode(value);
    else if (parser.nameIs("AdditionalSenseCode"))
        event.AdditionalSenseCode = hexCode(value);
    else if (parser.nameIs("LDPath"))
        event.LDPath = value ? value : "";
    else if (parser.nameIs("Description"))
        event.Description = value ? value : "";
}

} // namespace

PelmEventCollection::PelmEventCollection(const char* text)
{
    if (!text)
        return;
    // The parser writes into the text it parses.
    std::vector<char> copy(text, text + std::strlen(text) + 1);
    SimpleXmlParser parser(copy.data(), copy.size() - 1);
    bool inEvent = false;
    try {
        while (parser.parseNext()) {
            if (parser.foundStartTag()) {
                inEvent = parser.tagIs("Event");
                if (inEvent)
                    events.emplace_back();
            }
            if ((parser.flags & SimpleXmlParser::FLAG_ATTRIBUTE) && inEvent && parser.tagIs("Event"))
                setField(events.back(), parser);
        }
    } catch (const SimpleXmlException&) {
        // A list that is not well formed keeps the events read before.
    }
}

PelmEvent PelmEventCollection::getEvent(int index) const
{
    if (index < 0 || static_cast<size_t>(index) >= events.size())
        return PelmEvent();
    return events[static_cast<size_t>(index)];
}

void PelmEventCollection::mergeEvents(const PelmEventCollection& other) { mergeEvents(other.events); }

void PelmEventCollection::mergeEvents(const std::vector<PelmEvent>& other)
{
    // A copy first: other may be this list itself.
    const std::vector<PelmEvent> added(other);
    events.insert(events.end(), added.begin(), added.end());
}

int PelmEventCollection::compareEvents(const PelmEvent& a, const PelmEvent& b)
{
    return a.Qual == b.Qual && a.SenseKey == b.SenseKey && a.AdditionalSenseCode == b.AdditionalSenseCode &&
                   a.Sequence == b.Sequence && a.LDPath == b.LDPath && a.Description == b.Description
               ? 0
               : -1;
}

int PelmEventCollection::deleteEvent(const PelmEvent& event)
{
    for (auto it = events.begin(); it != events.end(); ++it) {
        if (compareEvents(*it, event) == 0) {
            events.erase(it);
            return 1;
        }
    }
    return 0;
}

std::vector<PelmEvent> PelmEventCollection::withSeverity(int severity) const
{
    std::vector<PelmEvent> found;
    for (const PelmEvent& e : events) {
        if (e.getSeverity() == severity)
            found.push_back(e);
    }
    return found;
}
