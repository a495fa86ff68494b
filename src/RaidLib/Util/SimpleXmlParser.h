#ifndef SIMPLEXMLPARSER_H
#define SIMPLEXMLPARSER_H

#include <cstdint>
#include <cstring>

#include "RaidLib/Util/StorExport.h"

// A misplaced "/" or an unquoted attribute value: the character found and
// its offset from the start of the parsed text.
class STOR_EXPORT SimpleXmlException {
public:
    SimpleXmlException(char c, uint32_t offset) : problemChar(c), charNum(offset) {}
    char getProblemChar() const { return problemChar; }
    uint32_t getCharNum() const { return charNum; }

private:
    char problemChar;
    uint32_t charNum;
};

// Pull parser of the system's XML dialect. It works in place on a writable
// text, writing NUL over delimiters so that tag names, attribute names and
// values are NUL-terminated texts inside that text; it allocates and copies
// nothing. Every scan stops at pEnd, so the text need not be terminated.
//
// Each parseNext() produces one event, described by flags:
//   1 start tag (pTag), 2 attribute (pName, pValue; pValue null when the
//   attribute has no "=" or its value is cut off by the end of the text),
//   4 self-terminated element ("/>"), 8 end of element. A start tag with
//   attributes carries the first one (3); "<a/>" gives 13, and the "/>"
//   after attributes gives 12. Text between tags is skipped.
class STOR_EXPORT SimpleXmlParser {
public:
    enum : uint32_t {
        FLAG_START_TAG = 1,
        FLAG_ATTRIBUTE = 2,
        FLAG_SELF_TERM = 4,
        FLAG_END_TAG = 8
    };

    SimpleXmlParser();
    SimpleXmlParser(char* text, unsigned long length);

    // Starts parsing the first length characters of text, which must stay
    // writable and alive while it is parsed and its texts are used.
    void attach(char* text, unsigned long length);

    // Advances to the next event; false when the text holds none.
    // Throws SimpleXmlException on a "/" in a tag not followed by ">" and
    // on an attribute value that does not start with a quotation mark.
    bool parseNext();

    // Moves to the end of the text and forgets the current event.
    bool invalidate();

    // The current value as a 32-bit number (0 without value): hexadecimal
    // when it begins with "0x", else decimal, as 32-bit strtoul/strtol.
    uint32_t getULONG() const;
    int32_t getLONG() const;

    char* getTag() const { return pTag; }
    char* getName() const { return pName; }
    char* getValue() const { return pValue; }
    char* getBuffer() const { return pBuffer; }
    bool tagIs(const char* s) const { return pTag != nullptr && s != nullptr && std::strcmp(pTag, s) == 0; }
    bool nameIs(const char* s) const { return pName != nullptr && s != nullptr && std::strcmp(pName, s) == 0; }
    bool valueIs(const char* s) const { return pValue != nullptr && s != nullptr && std::strcmp(pValue, s) == 0; }
    bool foundStartTag() const { return (flags & FLAG_START_TAG) != 0; }
    bool foundEndTag() const { return (flags & FLAG_END_TAG) != 0; }
    bool foundSelfTerm() const { return (flags & FLAG_SELF_TERM) != 0; }
    // Attached and not yet at the end of the text.
    bool isValid() const { return pBuffer != nullptr && pParse < pEnd; }

    char* pBuffer;
    char* pEnd;
    char* pParse;
    uint32_t flags;
    char popChars[4];
    char* pTag;
    char* pName;
    char* pValue;

private:
    // Bound inside the library: called for every attribute.
    __attribute__((visibility("hidden"))) bool parseAttribute(char* p);
    [[noreturn]] __attribute__((visibility("hidden"))) void fail(char* at, char found);
};

#endif
