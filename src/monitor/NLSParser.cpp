#include "monitor/NLSParser.h"

#include <cstdlib>
#include <ios>
#include <utility>

NLSParser::NLSParser() = default;

NLSParser::NLSParser(std::string fileNameIN) : fileName(std::move(fileNameIN))
{
    if (!fileName.empty())
        open();
}

void NLSParser::resetParser(std::string fileNameIN)
{
    if (fileNameIN.empty())
        return;
    fileName = std::move(fileNameIN);
    open();
}

bool NLSParser::open()
{
    if (stream.is_open())
        stream.close();
    stream.clear();
    if (fileName.empty())
        return false;
    stream.open(fileName, std::ios::in);
    return stream.is_open() && stream.good();
}

std::string NLSParser::get(std::string key)
{
    std::string value;
    lookup(key, value);
    return value;
}

bool NLSParser::lookup(const std::string& key, std::string& valueOUT)
{
    valueOUT.clear();
    stream.clear();
    stream.seekg(0);
    // A file that was missing or has failed is opened again, so that a
    // catalogue created after the parser is still found.
    if ((!stream.is_open() || stream.fail()) && !open())
        return false;

    // The stream reports a failed read, which would otherwise end the search
    // as if the key were missing: a line that cannot be stored for want of
    // memory passes on as std::bad_alloc (not an empty text), a file that
    // cannot be read ends the search.
    stream.exceptions(std::ios::badbit);
    std::string line;
    try {
        while (std::getline(stream, line)) {
            if (!line.empty() && line[0] == '#')
                continue;
            if (line.size() <= key.size() || line.compare(0, key.size(), key) != 0)
                continue;
            char after = line[key.size()];
            if (after != ' ' && after != '\t' && after != '=')
                continue;
            // The first key line ends the search, with or without a value.
            std::string::size_type equals = line.find('=', key.size());
            if (equals != std::string::npos) {
                valueOUT = line.substr(equals + 1);
                trim(valueOUT);
            }
            return true;
        }
    } catch (const std::ios_base::failure&) {
    }
    return false;
}

std::string NLSParser::get(std::string key, const std::vector<std::string>& params)
{
    std::string text;
    if (!lookup(key, text) || text.empty())
        return std::string();
    trim(text);
    replacePhraseStrings(text);
    parse(text, params);
    return text;
}

std::string NLSParser::get(std::string key, const std::vector<int>& params)
{
    std::vector<std::string> texts;
    texts.reserve(params.size());
    for (int value : params)
        texts.push_back(itoa(value, 10));
    return get(std::move(key), texts);
}

void NLSParser::replacePhraseStrings(std::string& text)
{
    std::string::size_type pos = 0;
    for (int expanded = 0; expanded < MAX_PHRASES;) {
        pos = text.find('%', pos);
        if (pos == std::string::npos)
            return;
        // A phrase opens at the start of the text or after a blank only, so
        // "50%" stays as it is.
        if (pos != 0 && text[pos - 1] != ' ') {
            ++pos;
            continue;
        }
        std::string::size_type close = text.find('%', pos + 1);
        if (close == std::string::npos) {
            ++pos;
            continue;
        }
        std::string value = get(text.substr(pos + 1, close - pos - 1));
        trim(value);
        // The scan goes on at the start of the inserted text.
        text.replace(pos, close - pos + 1, value);
        ++expanded;
    }
}

void NLSParser::parse(std::string& text, const std::vector<std::string>& params)
{
    std::string::size_type pos = 0;
    while ((pos = text.find('{', pos)) != std::string::npos) {
        if (pos + 1 == text.size())
            return;
        long number = strtol(text.c_str() + pos + 1, nullptr, 10);
        text.erase(pos, 3);
        unsigned long index = static_cast<unsigned long>(number);
        if (index < params.size()) {
            text.insert(pos, params[index]);
            pos += params[index].size();
        } else {
            ++pos;
        }
    }
}

std::string NLSParser::trim(std::string& text)
{
    auto stripBack = [&text](char c) {
        std::string::size_type last = text.find_last_not_of(c);
        text.erase(last == std::string::npos ? 0 : last + 1);
    };
    auto stripFront = [&text](char c) { text.erase(0, text.find_first_not_of(c)); };
    do {
        stripBack(' ');
        stripFront(' ');
        stripBack('\t');
        stripFront('\t');
    } while (!text.empty() && (text[0] == ' ' || text[0] == '\t'));
    return text;
}

namespace {

// Remainders are taken as they come and made positive, so the most negative
// value needs no negation.
template <typename T>
std::string digitsOf(T value, int base)
{
    if (base < 2 || base > 16)
        return std::string();
    static const char digits[] = "0123456789abcdef";
    std::string text;
    T rest = value;
    do {
        T remainder = rest % base;
        text += digits[remainder < 0 ? -remainder : remainder];
        rest /= base;
    } while (rest != 0);
    if (value < 0 && base == 10)
        text += '-';
    return NLSParser::reverse(text);
}

} // namespace

std::string NLSParser::itoa(int value, int base) { return digitsOf(value, base); }

std::string NLSParser::ltoa(long value, int base) { return digitsOf(value, base); }

std::string NLSParser::reverse(std::string text) { return std::string(text.rbegin(), text.rend()); }
