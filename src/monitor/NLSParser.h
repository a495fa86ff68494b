#ifndef NLSPARSER_H
#define NLSPARSER_H

// Reads "key = value" text files: the message catalogue, whose texts become
// event texts, and the monitor configuration file.
//
// A line starting with "#" is a comment. A key line starts in its first
// column with the key, followed at once by a blank, a tab or "="; its value
// is the text after the first "=" at or after the end of the key, trimmed of
// blanks and tabs (a "\r" stays). The first key line of a key wins.
//
// A catalogue text may hold phrases, "%key%" at the start of the text or
// after a blank, replaced by that key's own text, and placeholders "{N}",
// replaced by the caller's parameter N (from 0).
//
// The file stays open between lookups and each lookup reads it again from its
// start; a file that cannot be opened answers "" and is tried again at the
// next lookup. A parser belongs to one thread at a time.

#include <fstream>
#include <string>
#include <vector>

#include "RaidLib/Util/StorExport.h"

class STOR_EXPORT NLSParser {
public:
    // A parser without a file: every lookup answers "".
    NLSParser();
    explicit NLSParser(std::string fileName);
    NLSParser(const NLSParser&) = delete;
    NLSParser& operator=(const NLSParser&) = delete;

    // Another file; an empty name changes nothing.
    void resetParser(std::string fileName);

    // The key's value, or "" when the file lacks the key.
    std::string get(std::string key);
    // The key's value with its phrases and then its parameters put in.
    std::string get(std::string key, const std::vector<std::string>& params);
    // As above, each number written in decimal first.
    std::string get(std::string key, const std::vector<int>& params);

    // Puts the phrases of the text in, in place. The scan goes on inside an
    // inserted text, so phrases may nest; one text expands at most
    // MAX_PHRASES of them, so a catalogue whose phrases refer to each other
    // in a cycle still ends.
    void replacePhraseStrings(std::string& text);
    // Puts the parameters in, in place. The number of a placeholder is read
    // as strtol reads it; the "{" and the two characters after it are
    // replaced by that parameter, or removed when there is none. Inserted
    // parameter text is never scanned again.
    void parse(std::string& text, const std::vector<std::string>& params);

    static const int MAX_PHRASES = 32;

    // Trims the text of blanks and tabs, in place, and returns it: trailing
    // blanks, leading blanks, trailing tabs, leading tabs, again while it
    // begins with a blank or a tab.
    static std::string trim(std::string& text);
    // The digits of the value in a base from 2 to 16 (lower case), with "-"
    // for a negative value in base 10 only; "" for any other base.
    static std::string itoa(int value, int base);
    static std::string ltoa(long value, int base);
    static std::string reverse(std::string text);

private:
    // Opens fileName afresh; true when the stream can be read.
    bool open();
    // The trimmed value of the first key line of the key; false when none.
    bool lookup(const std::string& key, std::string& valueOUT);

    std::string fileName;
    std::ifstream stream;
};

#endif
