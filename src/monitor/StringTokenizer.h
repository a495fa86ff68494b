#ifndef STRINGTOKENIZER_H
#define STRINGTOKENIZER_H

// Splits a text at every occurrence of a delimiter string (the whole string,
// not a set of characters); empty tokens are not kept.

#include <deque>
#include <string>

#include "RaidLib/Util/StorExport.h"

class STOR_EXPORT StringTokenizer {
public:
    StringTokenizer(const std::string& text, const std::string& delimiter);

    // Tokens not yet taken.
    int countTokens() const { return static_cast<int>(tokens.size()); }
    bool hasMoreTokens() const { return !tokens.empty(); }
    // The next token, removed from the list; "" when none remain.
    std::string nextToken();

private:
    std::string text;
    std::string delimiter;
    std::deque<std::string> tokens;
};

#endif
