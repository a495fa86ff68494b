#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidLib/Util/XmlAttributeList.h"

namespace {

// The text is copied into a block of exactly its length, without a
// terminating NUL, so that any read past the end is caught.
struct Doc {
    explicit Doc(const std::string& s) : bytes(s.begin(), s.end()) {}
    char* data() { return bytes.empty() ? nullptr : bytes.data(); }
    unsigned long size() const { return bytes.size(); }
    std::vector<char> bytes;
};

std::string describe(const SimpleXmlParser& p)
{
    std::string s = std::to_string(p.flags);
    if (p.pTag != nullptr)
        s += std::string(" ") + p.pTag;
    if (p.pName != nullptr)
        s += std::string(" ") + p.pName + (p.pValue != nullptr ? "=" + std::string(p.pValue) : "");
    else if (p.pValue != nullptr)
        s += " value without name";
    return s;
}

std::vector<std::string> events(const std::string& text)
{
    Doc doc(text);
    SimpleXmlParser p(doc.data(), doc.size());
    std::vector<std::string> out;
    while (p.parseNext())
        out.push_back(describe(p));
    EXPECT_FALSE(p.parseNext()) << "the end stays the end";
    return out;
}

typedef std::vector<std::string> Events;

struct EventCase {
    const char* what;
    std::string text;
    Events expected;
};

} // namespace

TEST(SimpleXmlParser, EventTable)
{
    const EventCase cases[] = {
        {"attributes, empty element, text content", "<a x=\"1\" y='2'/><b>t</b>",
         {"3 a x=1", "2 a y=2", "12 a", "1 b", "8 b"}},
        {"empty element without attributes", "<a/>", {"13 a"}},
        {"nested, indented document", "<Sys v=\"2\">\n    <C id=\"0\"/>\n    <D/>\n</Sys>\n",
         {"3 Sys v=2", "3 C id=0", "12 C", "13 D", "8 Sys"}},
        {"start tag without attributes", "<a >text</a >", {"1 a", "8 a"}},
        {"white space around =", "<a\tx = \"1\"\r\n y\n=\n'2' >", {"3 a x=1", "2 a y=2"}},
        {"quotes of the other kind inside", "<a x='say \"hi\"' y=\"it's\"/>",
         {"3 a x=say \"hi\"", "2 a y=it's", "12 a"}},
        {"entities are not decoded", "<a x=\"&lt;&amp;&quot;\"/>", {"3 a x=&lt;&amp;&quot;", "12 a"}},
        {"empty value", "<a x=\"\"/>", {"3 a x=", "12 a"}},
        {"attribute without =", "<a b c=\"1\">", {"3 a b", "2 a c=1"}},
        {"attribute without = before >", "<a b><c/></a>", {"3 a b", "13 c", "8 a"}},
        {"attribute without = before />", "<a b/>", {"3 a b", "12 a"}},
        {"end tag with trailing text", "<a></a junk>", {"1 a", "8 a"}},
        {"no tags", "just text", {}},
        {"empty text", "", {}},
        {"ends inside a start tag name", "<a><bc", {"1 a"}},
        {"ends inside an end tag name", "<a></a", {"1 a"}},
        {"ends before the > of an end tag", "<a></a ", {"1 a"}},
        {"ends after a start tag name", "<a ", {"1 a"}},
        {"ends inside the first attribute name", "<a xy", {"1 a"}},
        {"ends inside a later attribute name", "<a x=\"1\" yz", {"3 a x=1"}},
        {"ends after an attribute name", "<a x ", {"3 a x"}},
        {"ends after =", "<a x= ", {"3 a x"}},
        {"ends inside a value", "<a x=\"12", {"3 a x"}},
        {"lone <", "<", {}},
    };
    for (const EventCase& c : cases)
        EXPECT_EQ(events(c.text), c.expected) << c.what;
}

TEST(SimpleXmlParser, NothingAttached)
{
    SimpleXmlParser none;
    EXPECT_FALSE(none.parseNext());
    EXPECT_FALSE(none.isValid());
    SimpleXmlParser null(nullptr, 10);
    EXPECT_FALSE(null.parseNext());
}

struct ErrorCase {
    const char* what;
    std::string text;
    int eventsBefore;
    char problem;
    uint32_t offset;
};

TEST(SimpleXmlParser, ErrorsGiveCharacterAndOffset)
{
    const ErrorCase cases[] = {
        {"unquoted value", "<a x=1>", 0, '1', 5},
        {"unquoted value after white space", "<r><a y=\"2\" x= 7>", 2, '7', 15},
        {"/ after the tag name", "<a/b>", 0, '/', 2},
        {"/ after attributes", "<a x=\"1\"/ >", 1, '/', 8},
        {"/ at the end of the text", "<a/", 0, '/', 2},
        {"/ after an attribute without value", "<a b/c>", 1, '/', 4},
    };
    for (const ErrorCase& c : cases) {
        Doc doc(c.text);
        SimpleXmlParser p(doc.data(), doc.size());
        int n = 0;
        try {
            while (p.parseNext())
                ++n;
            ADD_FAILURE() << c.what << ": no exception";
        } catch (const SimpleXmlException& e) {
            EXPECT_EQ(n, c.eventsBefore) << c.what;
            EXPECT_EQ(e.getProblemChar(), c.problem) << c.what;
            EXPECT_EQ(e.getCharNum(), c.offset) << c.what;
            if (c.problem == '/') {
                EXPECT_EQ(p.pTag, nullptr) << c.what;
            }
        }
    }
}

TEST(SimpleXmlParser, TextsStayTerminatedAfterLaterEvents)
{
    // Attribute names ended by ">" or "/" are terminated by a NUL that the
    // next call puts the character back over; the texts collected must still
    // read correctly after the whole document is parsed.
    Doc doc("<a b><c d/><e f g='1'/></a>");
    SimpleXmlParser p(doc.data(), doc.size());
    XmlAttributeList_C list;
    std::vector<const char*> tags;
    while (p.parseNext()) {
        if (p.foundStartTag())
            tags.push_back(p.pTag);
        if (p.pName != nullptr)
            list.Append(p.pName, p.pValue);
    }
    ASSERT_EQ(list.NumEntries(), 4);
    const char* names[] = {"b", "d", "f", "g"};
    for (int i = 0; i < 4; ++i)
        EXPECT_STREQ(list.GetName(i), names[i]);
    EXPECT_STREQ(list.GetValue("g"), "1");
    EXPECT_STREQ(list.GetValue("f"), "");
    ASSERT_EQ(tags.size(), 3u);
    EXPECT_STREQ(tags[0], "a");
    EXPECT_STREQ(tags[1], "c");
    EXPECT_STREQ(tags[2], "e");
}

TEST(SimpleXmlParser, AccessorsAndInvalidate)
{
    Doc doc("<Controller id=\"3\"><Channel/></Controller>");
    SimpleXmlParser p(doc.data(), doc.size());
    ASSERT_TRUE(p.parseNext());
    EXPECT_TRUE(p.foundStartTag());
    EXPECT_TRUE(p.tagIs("Controller"));
    EXPECT_FALSE(p.tagIs("controller"));
    EXPECT_TRUE(p.nameIs("id"));
    EXPECT_TRUE(p.valueIs("3"));
    EXPECT_EQ(p.getBuffer(), doc.data());
    EXPECT_TRUE(p.isValid());

    ASSERT_TRUE(p.parseNext());
    EXPECT_TRUE(p.foundStartTag() && p.foundSelfTerm() && p.foundEndTag());
    EXPECT_EQ(p.getName(), nullptr);

    EXPECT_FALSE(p.invalidate());
    EXPECT_FALSE(p.isValid());
    EXPECT_EQ(p.getTag(), nullptr);
    EXPECT_FALSE(p.parseNext());
}

TEST(SimpleXmlParser, ReattachRestarts)
{
    Doc first("<a b/>");
    Doc second("<z/>");
    SimpleXmlParser p(first.data(), first.size());
    ASSERT_TRUE(p.parseNext()); // "b" with a saved "/"
    p.attach(second.data(), second.size());
    ASSERT_TRUE(p.parseNext());
    EXPECT_EQ(describe(p), "13 z");
    EXPECT_FALSE(p.parseNext());
}

namespace {

struct NumberCase {
    const char* value; // null: an attribute without value
    uint32_t asUnsigned;
    int32_t asSigned;
};

} // namespace

TEST(SimpleXmlParser, NumbersAs32BitStrtoulAndStrtol)
{
    const NumberCase cases[] = {
        {"42", 42, 42},
        {"010", 10, 10},
        {"0x1f", 31, 31},
        {"0xFF", 255, 255},
        {"0X1F", 0, 0},
        {" -1", 4294967295u, -1},
        {"+7x", 7, 7},
        {"4294967295", 4294967295u, INT32_MAX},
        {"4294967296", 4294967295u, INT32_MAX},
        {"99999999999999999999", 4294967295u, INT32_MAX},
        {"-4294967295", 1, INT32_MIN},
        {"-4294967296", 4294967295u, INT32_MIN},
        {"2147483648", 2147483648u, INT32_MAX},
        {"-2147483648", 2147483648u, INT32_MIN},
        {"-2147483649", 2147483647u, INT32_MIN},
        {"0xffffffff", 4294967295u, INT32_MAX},
        {"0x100000000", 4294967295u, INT32_MAX},
        {"0x", 0, 0},
        {"", 0, 0},
        {"abc", 0, 0},
        {nullptr, 0, 0},
    };
    for (const NumberCase& c : cases) {
        const std::string text =
            c.value != nullptr ? std::string("<a v=\"") + c.value + "\"/>" : std::string("<a v/>");
        Doc doc(text);
        SimpleXmlParser p(doc.data(), doc.size());
        ASSERT_TRUE(p.parseNext());
        EXPECT_EQ(p.getULONG(), c.asUnsigned) << text;
        EXPECT_EQ(p.getLONG(), c.asSigned) << text;
    }
}
