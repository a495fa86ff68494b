#include "RaidLib/Util/SimpleXmlParser.h"

#include "RaidLib/Util/StrToNum32.h"

namespace {

// Character classes of the scanner.
enum : unsigned char {
    WS = 1,            // blank, tab, line feed, carriage return
    START_NAME_END = 2, // ends the name of a start tag: white space, ">", "/"
    END_NAME_END = 4,   // ends the name of an end tag: white space, ">"
    ATTR_NAME_END = 8   // ends an attribute name: white space, "=", "/", ">"
};

struct CharClasses {
    unsigned char c[256];
    constexpr CharClasses() : c()
    {
        const unsigned char ws[] = {' ', '\t', '\n', '\r'};
        for (unsigned char w : ws)
            c[w] = WS | START_NAME_END | END_NAME_END | ATTR_NAME_END;
        c[static_cast<unsigned char>('>')] = START_NAME_END | END_NAME_END | ATTR_NAME_END;
        c[static_cast<unsigned char>('/')] = START_NAME_END | ATTR_NAME_END;
        c[static_cast<unsigned char>('=')] = ATTR_NAME_END;
    }
};

constexpr CharClasses kClasses;

inline bool is(char ch, unsigned char cls)
{
    return (kClasses.c[static_cast<unsigned char>(ch)] & cls) != 0;
}

inline char* skipWhite(char* p, const char* end)
{
    while (p < end && is(*p, WS))
        ++p;
    return p;
}

inline char* scanTo(char* p, const char* end, unsigned char cls)
{
    // Four characters per bound test while at least four are left.
    while (end - p >= 4) {
        if (is(p[0], cls))
            return p;
        if (is(p[1], cls))
            return p + 1;
        if (is(p[2], cls))
            return p + 2;
        if (is(p[3], cls))
            return p + 3;
        p += 4;
    }
    while (p < end && !is(*p, cls))
        ++p;
    return p;
}

// Attribute values are short: this beats a call of memchr for them.
inline char* scanToChar(char* p, const char* end, char c)
{
    while (end - p >= 4) {
        if (p[0] == c)
            return p;
        if (p[1] == c)
            return p + 1;
        if (p[2] == c)
            return p + 2;
        if (p[3] == c)
            return p + 3;
        p += 4;
    }
    while (p < end && *p != c)
        ++p;
    return p;
}

inline char* find(char* p, const char* end, char c)
{
    return static_cast<char*>(std::memchr(p, c, static_cast<size_t>(end - p)));
}

} // namespace

SimpleXmlParser::SimpleXmlParser()
    : pBuffer(nullptr), pEnd(nullptr), pParse(nullptr), flags(0), popChars(), pTag(nullptr),
      pName(nullptr), pValue(nullptr)
{
}

SimpleXmlParser::SimpleXmlParser(char* text, unsigned long length) : SimpleXmlParser()
{
    attach(text, length);
}

void SimpleXmlParser::attach(char* text, unsigned long length)
{
    pBuffer = pParse = text;
    pEnd = text != nullptr ? text + length : nullptr;
    flags = 0;
    popChars[0] = popChars[1] = popChars[2] = popChars[3] = 0;
    pTag = pName = pValue = nullptr;
}

bool SimpleXmlParser::invalidate()
{
    pParse = pEnd;
    flags = 0;
    popChars[0] = 0;
    pTag = pName = pValue = nullptr;
    return false;
}

void SimpleXmlParser::fail(char* at, char found)
{
    pParse = at;
    throw SimpleXmlException(found, static_cast<uint32_t>(at - pBuffer));
}

bool SimpleXmlParser::parseNext()
{
    bool inTag = (flags & FLAG_ATTRIBUTE) != 0;
    pName = pValue = nullptr;
    flags = 0;
    if (pBuffer == nullptr)
        return false;
    char* p = pParse;
    const char* const end = pEnd;
    if (popChars[0] != 0) {
        *p = popChars[0];
        popChars[0] = 0;
    }
    if (p >= end)
        return false;

    for (;;) {
        if (inTag) {
            // Inside a tag whose attributes were already reported.
            p = skipWhite(p, end);
            if (p >= end) {
                pParse = p;
                return false;
            }
            if (*p == '>') {
                // Closes the tag; no event, go on to the next tag.
                *p++ = '\0';
                inTag = false;
                continue;
            }
            if (*p == '/') {
                // The "/" stays NUL even on error: it may terminate the
                // name of the attribute reported before.
                *p = '\0';
                if (p + 1 >= end || p[1] != '>') {
                    pTag = nullptr;
                    fail(p, '/');
                }
                pParse = p + 2;
                flags = FLAG_SELF_TERM | FLAG_END_TAG;
                return true;
            }
            return parseAttribute(p);
        }

        p = find(p, end, '<');
        if (p == nullptr) {
            pParse = const_cast<char*>(end);
            return false;
        }
        *p++ = '\0';

        if (p < end && *p == '/') {
            // End tag: the name, then anything up to ">".
            char* name = ++p;
            p = scanTo(p, end, END_NAME_END);
            if (p >= end) {
                pTag = nullptr;
                pParse = p;
                return false;
            }
            const char delimiter = *p;
            *p++ = '\0';
            if (delimiter != '>') {
                p = find(p, end, '>');
                if (p == nullptr) {
                    pTag = nullptr;
                    pParse = const_cast<char*>(end);
                    return false;
                }
                ++p;
            }
            pTag = name;
            pParse = p;
            flags = FLAG_END_TAG;
            return true;
        }

        // Start tag.
        char* name = p;
        p = scanTo(p, end, START_NAME_END);
        if (p >= end) {
            pTag = nullptr;
            pParse = p;
            return false;
        }
        pTag = name;
        flags = FLAG_START_TAG;
        if (is(*p, WS)) {
            *p = '\0';
            p = skipWhite(p + 1, end);
            if (p >= end) {
                pParse = p;
                return true;
            }
        }
        if (*p == '>') {
            *p = '\0';
            pParse = p + 1;
            return true;
        }
        if (*p == '/') {
            if (p + 1 >= end || p[1] != '>') {
                pTag = nullptr;
                fail(p, '/');
            }
            p[0] = p[1] = '\0';
            pParse = p + 2;
            flags |= FLAG_SELF_TERM | FLAG_END_TAG;
            return true;
        }
        // The start tag's event also carries its first attribute.
        return parseAttribute(p);
    }
}

// p is at the first character of an attribute name (not white space, not
// ">" and not "/"), before the end of the text.
bool SimpleXmlParser::parseAttribute(char* p)
{
    const char* const end = pEnd;
    char* name = p;
    p = scanTo(p, end, ATTR_NAME_END);
    if (p >= end) {
        // The name is cut off by the end of the text.
        pParse = p;
        return flags != 0;
    }
    pName = name;
    flags |= FLAG_ATTRIBUTE;
    if (is(*p, WS)) {
        *p = '\0';
        p = skipWhite(p + 1, end);
        if (p >= end) {
            pParse = p;
            return true;
        }
    }
    if (*p != '=') {
        // No value. The character here terminates the name for now and is
        // put back by the next call.
        popChars[0] = *p;
        *p = '\0';
        pParse = p;
        return true;
    }
    *p = '\0';
    p = skipWhite(p + 1, end);
    if (p >= end) {
        pParse = p;
        return true;
    }
    const char quote = *p;
    if (quote != '"' && quote != '\'')
        fail(p, quote);
    char* value = p + 1;
    char* close = scanToChar(value, end, quote);
    if (close >= end) {
        // The value is cut off by the end of the text.
        pParse = const_cast<char*>(end);
        return true;
    }
    *close = '\0';
    pValue = value;
    pParse = close + 1;
    return true;
}

uint32_t SimpleXmlParser::getULONG() const
{
    if (pValue == nullptr)
        return 0;
    return strToU32(pValue, pValue[0] == '0' && pValue[1] == 'x' ? 16 : 10);
}

int32_t SimpleXmlParser::getLONG() const
{
    if (pValue == nullptr)
        return 0;
    return strToI32(pValue, pValue[0] == '0' && pValue[1] == 'x' ? 16 : 10);
}
