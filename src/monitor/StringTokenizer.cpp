#include "monitor/StringTokenizer.h"

StringTokenizer::StringTokenizer(const std::string& textIN, const std::string& delimiterIN)
    : text(textIN), delimiter(delimiterIN)
{
    if (text.empty() || delimiter.empty())
        return;
    std::string::size_type start = 0;
    while (start < text.size()) {
        std::string::size_type at = text.find(delimiter, start);
        std::string::size_type end = at == std::string::npos ? text.size() : at;
        if (end > start)
            tokens.push_back(text.substr(start, end - start));
        start = at == std::string::npos ? text.size() : at + delimiter.size();
    }
}

std::string StringTokenizer::nextToken()
{
    if (tokens.empty())
        return std::string();
    std::string token = tokens.front();
    tokens.pop_front();
    return token;
}
