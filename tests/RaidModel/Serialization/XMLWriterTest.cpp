#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>
#include <string>

#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidModel/Interface/RaidObject.h"
#include "RaidModel/Serialization/XMLWriter.h"

namespace {

const STORID_T U = STORID_UNDEFINED;
const BLOCK_T UC = BLOCK_UNDEFINED;

// The document one writer produces; the block is the caller's to free.
std::string write(const std::function<void(XMLWriter&)>& body)
{
    char* doc = nullptr;
    {
        XMLWriter w(&doc);
        body(w);
    }
    std::string text = doc ? doc : "<null>";
    delete[] doc;
    return text;
}

// A node with its own element name and one attribute of its own.
class Node : public RaidObject {
public:
    Node(const char* element, int n) : element_(element), n_(n) {}
    const char* serializedName() const override { return element_; }
    const char* typeName() const override { return "Node"; }
    void writeTo(Writer* w) const override
    {
        RaidObject::writeTo(w);
        w->writeInt("n", n_);
    }

private:
    const char* element_;
    int n_;
};

} // namespace

TEST(XMLWriter, FreshWriterPublishesEmptyTextAndFreesPreviousBlock)
{
    char* doc = new char[16];
    strcpy(doc, "old");
    {
        XMLWriter w(&doc);
        ASSERT_NE(doc, nullptr);
        EXPECT_STREQ(doc, "");
        EXPECT_EQ(w.getBuffSize(), 512u);
        EXPECT_EQ(w.getStrSize(), 0u);
    }
    EXPECT_STREQ(doc, "");
    delete[] doc; // the old block was freed by the writer (ASan would report a leak)

    // Without a caller's variable the writer frees its own block.
    XMLWriter alone(nullptr);
    alone.writeString("s", std::string(2000, 's').c_str());
    EXPECT_EQ(alone.getStrSize(), 2005u);
}

TEST(XMLWriter, GrowthKeepsCallersPointerOnTheBlock)
{
    char* doc = nullptr;
    XMLWriter w(&doc);
    const std::string text509(509, 'x');
    w.append(text509.c_str());
    EXPECT_EQ(w.getBuffSize(), 512u);
    char* first = doc;

    // Need equals the capacity: a new block of the same size.
    w.append('y');
    EXPECT_EQ(w.getBuffSize(), 512u);
    EXPECT_NE(doc, first);
    char* second = doc;

    w.append('z');
    EXPECT_EQ(w.getBuffSize(), 1024u);
    EXPECT_NE(doc, second);
    EXPECT_EQ(w.getStrSize(), 511u);
    EXPECT_EQ(std::string(doc), text509 + "yz");

    // A large document grows in whole 64 KiB steps past 64 KiB, in few moves.
    int moves = 0;
    char* last = doc;
    const std::string chunk(1000, 'a');
    for (int i = 0; i < 8000; ++i) {
        w.append(chunk.c_str(), static_cast<unsigned int>(chunk.size()));
        if (doc != last) {
            ++moves;
            last = doc;
            if (w.getBuffSize() > 65536) {
                EXPECT_EQ(w.getBuffSize() % 65536, 0u) << w.getBuffSize();
            }
        }
    }
    EXPECT_EQ(w.getStrSize(), 511u + 8000000u);
    EXPECT_EQ(strlen(doc), w.getStrSize());
    EXPECT_LT(moves, 25);
    delete[] doc;
}

TEST(XMLWriter, GrowthRule)
{
    const struct {
        uint32_t capacity;
        uint64_t need;
        uint32_t grown;
    } cases[] = {
        {512, 512, 512},          // need equal to capacity: same size again
        {512, 513, 1024},
        {512, 40000, 65536},
        {65536, 65537, 131072},   // one 64 KiB step
        {131072, 131073, 196608},
        {262144, 262145, 393216}, // about half the capacity, in 64 KiB steps
        {0, 10, 512},             // a writer without a block starts again at 512
        {0, 700, 1024},
        {512, 0x100000000ull, 0}, // larger than any block
    };
    for (const auto& c : cases)
        EXPECT_EQ(XMLWriter::grownCapacity(c.capacity, c.need), c.grown)
            << c.capacity << " " << c.need;
}

// Told the length of its caller's previous document, a writer starts in the
// block that growing would reach for that length: a document as long is
// written in that one block, a longer one grows on from it.
TEST(XMLWriter, FirstBlockSizedForThePreviousDocument)
{
    const struct {
        uint32_t expected;
        uint32_t first;
    } cases[] = {{0, 512}, {509, 512}, {510, 1024}, {100000, 131072}};
    for (const auto& c : cases) {
        char* doc = new char[8];
        XMLWriter w(&doc, c.expected);
        EXPECT_EQ(w.getBuffSize(), c.first) << c.expected;
        EXPECT_STREQ(doc, "");
        const char* block = doc;
        const std::string text(c.expected, 'x');
        w.append(text.c_str());
        EXPECT_EQ(doc, block) << c.expected;
        EXPECT_EQ(std::string(doc), text);
        w.append("more");
        EXPECT_EQ(std::string(doc), text + "more");
        EXPECT_EQ(w.getBuffSize(), XMLWriter::grownCapacity(c.first, c.expected + 6)) << c.expected;
        delete[] doc;
    }
}

TEST(XMLWriter, StringEscapes)
{
    const struct {
        const char* value;
        const char* written;
    } cases[] = {
        {"a<b&c\"d", "a&lt;b&amp;c&quot;d"},
        {"it's >", "it&apos;s &gt;"},
        {"tab\there\r\n", "tabDELIMhereDELIMDELIM"},
        {"\x01\x1f\x20\x7f", "DELIMDELIM \x7f"},
        {"caf\xe9", "caf\xe9"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(write([&](XMLWriter& w) { w.writeString("v", c.value); }),
                  std::string(" v=\"") + c.written + "\"")
            << c.value;
    }
}

TEST(XMLWriter, AsciiStringClearsBit7InCallersText)
{
    char value[] = "caf\xe9<";
    EXPECT_EQ(write([&](XMLWriter& w) { w.writeASCIIString("v", value); }), " v=\"cafi&lt;\"");
    EXPECT_STREQ(value, "cafi<");
}

TEST(XMLWriter, CharacterRule)
{
    EXPECT_EQ(write([](XMLWriter& w) {
                  w.writeChar("a", '<');
                  w.writeChar("b", '\t');
                  w.writeChar("c", '\0');
                  w.writeUChar("d", static_cast<unsigned char>('&'));
                  w.writeChar("e", 'Q');
              }),
              " a=\"&lt;\" b=\"\t\" c=\"\" d=\"&amp;\" e=\"Q\"");
}

TEST(XMLWriter, NumberForms)
{
    const struct {
        std::function<void(XMLWriter&)> write;
        const char* value;
    } cases[] = {
        {[](XMLWriter& w) { w.writeInt("x", INT_MIN); }, "-2147483648"},
        {[](XMLWriter& w) { w.writeUInt("x", 4294967295u); }, "4294967295"},
        {[](XMLWriter& w) { w.writeShort("x", -5); }, "-5"},
        {[](XMLWriter& w) { w.writeUShort("x", 65535); }, "65535"},
        {[](XMLWriter& w) { w.writeLong("x", -1L); }, "-1"},
        {[](XMLWriter& w) { w.writeULong("x", 0xFFFFFFFFUL); }, "4294967295"},
        {[](XMLWriter& w) { w.writeULong("x", static_cast<unsigned long>(-1L)); }, "4294967295"},
        {[](XMLWriter& w) { w.writeUIntHex("x", 255); }, "0xff"},
        {[](XMLWriter& w) { w.writeUIntHex("x", 0); }, "0x0"},
        {[](XMLWriter& w) { w.writeU64("x", 0); }, "0"},
        {[](XMLWriter& w) { w.writeU64("x", UINT64_MAX); }, "18446744073709551615"},
        {[](XMLWriter& w) { w.writeI64("x", -1); }, "-1"},
        {[](XMLWriter& w) { w.writeI64("x", INT64_MIN); }, "-9223372036854775808"},
        {[](XMLWriter& w) { w.writeBlockT("x", 5000000000ull); }, "5000000000"},
        {[](XMLWriter& w) { w.writeBool("x", false); }, "false"},
        {[](XMLWriter& w) { w.writeBool("x", true); }, "true"},
        {[](XMLWriter& w) { w.writeFloat("x", 1.5f); }, "1.500000"},
        {[](XMLWriter& w) { w.writeDouble("x", -0.25); }, "-0.250000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(write(c.write), std::string(" x=\"") + c.value + "\"");
}

TEST(XMLWriter, LongTextsAreWrittenWhole)
{
    const std::string name(100, 'n');
    const std::string doc = write([&](XMLWriter& w) { w.writeDouble(name.c_str(), 1e300); });
    char expected[400];
    snprintf(expected, sizeof(expected), "%f", 1e300);
    EXPECT_EQ(doc, " " + name + "=\"" + expected + "\"");
}

TEST(XMLWriter, Binary)
{
    const char bytes[] = {0x01, static_cast<char>(0xAB), 0x20};
    EXPECT_EQ(write([&](XMLWriter& w) { w.writeBinary("b", bytes, 3); }), " b=\"01 ab 20\"");
    EXPECT_EQ(write([&](XMLWriter& w) { w.writeBinary("b", bytes, 0); }), " b=\"\"");
}

TEST(XMLWriter, Addresses)
{
    const Addr undefined;
    EXPECT_EQ(write([&](XMLWriter& w) { w.writeAddr(undefined); }), "");
    EXPECT_EQ(write([&](XMLWriter& w) { w.writeAddrAll(undefined); }),
              " controllerID=\"2147483647\" arrayID=\"2147483647\" logicalDriveID=\"2147483647\""
              " channelID=\"2147483647\" deviceID=\"2147483647\""
              " chunkID=\"9223372036854775807\" itemID=\"2147483647\" phyID=\"2147483647\"");

    const Addr chunk(1, U, U, 2, 3, 4, U, U);
    EXPECT_EQ(write([&](XMLWriter& w) { w.writeObject(chunk); }),
              "<Addr controllerID=\"1\" channelID=\"2\" deviceID=\"3\" chunkID=\"4\"/>");

    const Addr2 untyped(STORLIB_UNKNOWN, 1, U, 0, U, U, UC, U, U);
    EXPECT_EQ(write([&](XMLWriter& w) { w.writeAddr2(untyped); }),
              " controllerID=\"1\" logicalDriveID=\"0\"");
    const Addr2 typed(STORLIB_TARNELL, U, U, U, U, U, UC, 7, 8);
    EXPECT_EQ(write([&](XMLWriter& w) { w.writeObject(typed); }),
              "<Addr storlibType=\"5\" itemID=\"7\" phyID=\"8\"/>");
    EXPECT_EQ(write([&](XMLWriter& w) { w.writeAddr2All(untyped); }).rfind(
                  " storlibType=\"0\" controllerID=\"1\" arrayID=\"2147483647\" logicalDriveID=\"0\"", 0),
              0u);
}

TEST(XMLWriter, RawTextAndTags)
{
    EXPECT_EQ(write([](XMLWriter& w) {
                  w.addTag("<P>");
                  w.writeRawString(nullptr);
                  w.writeRawString("");
                  w.writeRawString("a&b");
                  w.addTag("</P>");
              }),
              "<P>a&b</P>");
}

TEST(XMLWriter, TreeIndentation)
{
    Node root("System", 0);
    Node* controller = new Node("Controller", 1);
    Node* channel = new Node("Channel", 2);
    Node* drive = new Node("HardDrive", 3);
    Node* array = new Node("Array", 4);
    channel->addChild(drive);
    controller->addChild(channel);
    controller->addChild(array);
    root.addChild(controller);
    channel->getAddr2().setChannelID(0);

    const std::string base = " typeName=\"Node\" attachmentType=\"none\"";
    EXPECT_EQ(write([&](XMLWriter& w) { w.writeTree(root); }),
              "<System" + base + " n=\"0\">\n"
              "    <Controller" + base + " n=\"1\">\n"
              "        <Channel" + base + " channelID=\"0\" n=\"2\">\n"
              "            <HardDrive" + base + " n=\"3\"/>\n"
              "        </Channel>\n"
              "        <Array" + base + " n=\"4\"/>\n"
              "    </Controller>\n"
              "</System>\n");
    EXPECT_EQ(write([&](XMLWriter& w) { w.writeTree(drive); }), "<HardDrive" + base + " n=\"3\"/>\n");
    EXPECT_EQ(write([&](XMLWriter& w) { w.writeObject(*array); }), "<Array" + base + " n=\"4\"/>");
    root.deleteAllChildren();
}

// What the writer writes, the parser reads: every element and attribute, with
// the escapes left as they were written.
TEST(XMLWriter, DocumentReadsBackThroughTheParser)
{
    Node root("System", 0);
    Node* controller = new Node("Controller", 1);
    root.addChild(controller);
    controller->addChild(new Node("Channel", 2));
    char* doc = nullptr;
    {
        XMLWriter w(&doc);
        w.writeTree(root);
    }
    std::string text(doc);
    delete[] doc;
    // An attribute with escapes at the end of the root's start tag.
    const std::string extra = write([](XMLWriter& w) { w.writeString("s", "a<'b'>\t&\""); });
    text.insert(text.find(">\n"), extra);

    std::vector<char> bytes(text.begin(), text.end());
    SimpleXmlParser p(bytes.data(), bytes.size());
    std::vector<std::string> events;
    while (p.parseNext()) {
        std::string e = std::to_string(p.flags) + " " + p.pTag;
        if (p.pName)
            e += std::string(" ") + p.pName + "=" + (p.pValue ? p.pValue : "<none>");
        events.push_back(e);
    }
    const std::vector<std::string> expected = {
        "3 System typeName=Node", "2 System attachmentType=none", "2 System n=0",
        "2 System s=a&lt;&apos;b&apos;&gt;DELIM&amp;&quot;",
        "3 Controller typeName=Node", "2 Controller attachmentType=none", "2 Controller n=1",
        "3 Channel typeName=Node", "2 Channel attachmentType=none", "2 Channel n=2", "12 Channel",
        "8 Controller", "8 System",
    };
    EXPECT_EQ(events, expected);
    root.deleteAllChildren();
}
