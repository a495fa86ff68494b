#include <gtest/gtest.h>

#include <string>

#include "RaidLib/JavaInterface/JavaText.h"

// Which texts go to Java as modified UTF-8 (the others one char per byte).

using javatext::isModifiedUtf8;

namespace {

TEST(JavaText, ModifiedUtf8)
{
    const struct {
        std::string bytes;
        bool valid;
    } cases[] = {
        {"", true},
        {"FRU-12345678", true},
        {"FRU-1234567\xC3\xA9", true},          // eight ASCII bytes, then a two-byte form
        {"FRU-1234\xFF", false},
        {"\xC3\xA9t\xC3\xA9", true},           // two-byte forms
        {"\xE2\x82\xAC", true},                // a three-byte form
        {"\xED\xA0\x80\xED\xB0\x80", true},    // a surrogate pair, as modified UTF-8 writes it
        {"\xC0\x80", true},                    // the zero of modified UTF-8
        {"\xFF", false},
        {"AB\x80", false},                     // a continuation byte alone
        {"\xC3", false},                       // cut short
        {"\xE2\x82", false},
        {"\xC1\xBF", false},                   // overlong
        {"\xE0\x80\x80", false},
        {"\xF0\x9F\x98\x80", false},           // four-byte forms are not modified UTF-8
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.valid, isModifiedUtf8(reinterpret_cast<const unsigned char*>(c.bytes.data()), c.bytes.size()))
            << c.bytes;
}

} // namespace
