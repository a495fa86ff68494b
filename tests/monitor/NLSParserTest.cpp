#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "monitor/NLSParser.h"
#include "monitor/StringTokenizer.h"

namespace {

const char* const TEST_CATALOGUE = MONITOR_TEST_DATA "/NLSParserTest.properties";

std::string repeat(const std::string& text, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

} // namespace

TEST(NLSParser, KeyLines)
{
    NLSParser p(TEST_CATALOGUE);
    struct Case {
        const char* key;
        const char* value;
    } cases[] = {
        {"greeting", "Hello world"},          // the first key line wins
        {"greetingX", "longer key"},          // a longer key is another key
        {"greet", ""},                        // a key is followed by a blank, a tab or "="
        {"# greeting", ""},                   // comments are never key lines
        {"spaced", "blanks and tabs"},        // blanks and tabs around "=" and the value
        {"nokey", ""},                        // a key line without "=" ends the search
        {"alone", "after the key alone"},     // a line of the key alone is no key line
        {"empty", ""},
        {"blank", ""},
        {"tight", "no blanks"},
        {"late", "value = with equals"},      // the first "=" after the key
        {"crlf", "kept\r"},
        {"last", "no final line feed"},
        {"absent", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(p.get(c.key), c.value) << c.key;
        // Every lookup reads the file again from its start.
        EXPECT_EQ(p.get(c.key), c.value) << c.key << ", again";
    }
}

TEST(NLSParser, PhrasesAndParameters)
{
    NLSParser p(TEST_CATALOGUE);
    const std::vector<std::string> p01 = {"p0", "p1"};
    std::vector<std::string> p0to10;
    for (int i = 0; i <= 10; ++i)
        p0to10.push_back("p" + std::to_string(i));
    struct Case {
        const char* key;
        std::vector<std::string> params;
        std::string text;
    } cases[] = {
        {"start", {}, "one at the start"},
        {"middle", {}, "x one y"},
        {"digit", {}, "50%a% x"},          // no phrase right after a digit
        {"unclosed", {}, "%a and more"},
        {"missing", {}, "x  y"},           // a phrase the file lacks disappears
        {"nested", {}, "x one y z"},
        {"both", {"p0"}, "one p0"},
        {"placeholders", p01, "p1p0"},     // out of order; {5} has no parameter
        {"twodigit", p0to10, "<p10}>"},    // the brace and two digits are replaced
        {"twodigit", p01, "<}>"},
        {"braceend", {"p0"}, "value {"},
        {"signed", p01, "[}][p1}]"},       // numbers read as strtol reads them
        {"absent", {"p0"}, ""},
        // Inserted parameter text is not scanned again.
        {"selfparam", {"{0}"}, "{0}{0}"},
        // A cycle ends after the most phrases one text expands.
        {"cycleA", {}, "%cycleB%"},
        {"grow", {}, repeat("x ", NLSParser::MAX_PHRASES + 1) + "%grow%"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(p.get(c.key, c.params), c.text) << c.key;

    EXPECT_EQ(p.get("placeholders", std::vector<int>{7, -3}), "-37");
}

TEST(NLSParser, FileComesAndGoes)
{
    NLSParser none;
    EXPECT_EQ(none.get("greeting"), "");

    // A missing file answers ""; once created it is used.
    NLSParser later("later.properties");
    EXPECT_EQ(later.get("a"), "");
    EXPECT_EQ(later.get("a", std::vector<std::string>{"x"}), "");
    FILE* f = fopen("later.properties", "w");
    ASSERT_NE(f, nullptr);
    fputs("a = made later\n", f);
    fclose(f);
    EXPECT_EQ(later.get("a"), "made later");

    later.resetParser(TEST_CATALOGUE);
    EXPECT_EQ(later.get("a"), "one");
    later.resetParser("");
    EXPECT_EQ(later.get("a"), "one");
    later.resetParser("gone.properties");
    EXPECT_EQ(later.get("a"), "");
}

TEST(NLSParser, NumberAndTextHelpers)
{
    struct Number {
        long value;
        int base;
        const char* digits;
    } numbers[] = {
        {255, 16, "ff"},     {-12, 10, "-12"},      {5, 1, ""},          {5, 17, ""},
        {0, 2, "0"},         {5, 2, "101"},         {-5, 2, "101"},      {-255, 16, "ff"},
        {100, 10, "100"},    {16, 17, ""},          {-1, 0, ""},         {INT_MAX, 10, "2147483647"},
        {INT_MIN, 10, "-2147483648"},               {INT_MIN, 16, "80000000"},
    };
    for (const Number& n : numbers) {
        EXPECT_EQ(NLSParser::itoa(static_cast<int>(n.value), n.base), n.digits) << n.value << " base " << n.base;
        EXPECT_EQ(NLSParser::ltoa(n.value, n.base), n.digits) << n.value << " base " << n.base;
    }
    EXPECT_EQ(NLSParser::ltoa(LONG_MIN, 10), std::to_string(LONG_MIN));
    EXPECT_EQ(NLSParser::ltoa(LONG_MAX, 10), std::to_string(LONG_MAX));

    struct Trim {
        const char* text;
        const char* trimmed;
    } trims[] = {
        {"  a b  ", "a b"}, {" \t \t", ""},  {"a \t ", "a "}, {"\t a\t", "a"},
        {" \t x", "x"},     {"a\r", "a\r"}, {"", ""},
    };
    for (const Trim& t : trims) {
        std::string text = t.text;
        EXPECT_EQ(NLSParser::trim(text), t.trimmed) << '"' << t.text << '"';
        EXPECT_EQ(text, t.trimmed);
    }

    EXPECT_EQ(NLSParser::reverse("abc"), "cba");
    EXPECT_EQ(NLSParser::reverse("a"), "a");
    EXPECT_EQ(NLSParser::reverse(""), "");
}

TEST(StringTokenizer, SplitsAtTheWholeDelimiter)
{
    struct Case {
        const char* text;
        const char* delimiter;
        std::vector<std::string> tokens;
    } cases[] = {
        {"a,,b", ",", {"a", "b"}},
        {"a, b,c", ", ", {"a", "b,c"}},
        {",a,", ",", {"a"}},
        {"abc", ",", {"abc"}},
        {"", ",", {}},
        {"a", "", {}},
    };
    for (const Case& c : cases) {
        StringTokenizer t(c.text, c.delimiter);
        EXPECT_EQ(t.countTokens(), static_cast<int>(c.tokens.size())) << c.text;
        std::vector<std::string> got;
        while (t.hasMoreTokens())
            got.push_back(t.nextToken());
        EXPECT_EQ(got, c.tokens) << c.text;
        EXPECT_EQ(t.countTokens(), 0);
        EXPECT_EQ(t.nextToken(), "");
    }
}
