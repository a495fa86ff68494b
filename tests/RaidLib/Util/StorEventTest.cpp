#include <gtest/gtest.h>

#include <string>

#include "RaidLib/Util/StorEvent.h"
#include "RaidModel/Serialization/XMLWriter.h"

namespace {

std::string xmlOf(const StorEvent& e)
{
    char* text = nullptr;
    {
        XMLWriter w(&text);
        e.StorEventToXML(w);
    }
    std::string s(text);
    delete[] text;
    return s;
}

StorEvent eventWith(uint32_t number, const char* value)
{
    StorEvent e;
    e.eventNumber = number;
    e.eventInfo.Append("text", value);
    e.eventInfo.Append("n", "1");
    return e;
}

} // namespace

TEST(StorEvent, Element)
{
    StorEvent e;
    EXPECT_EQ(xmlOf(e), "<event eventNumber=\"0\"/>\n");
    EXPECT_STREQ(e.pEventType, "");
    EXPECT_EQ(e.pSubType, pEmpty);
    EXPECT_EQ(e.subType, 0x7FFFFFFF);

    e.eventNumber = 12;
    e.eventInfo.Append("msg", "a \"b\"");
    e.eventInfo.Append("code", "7");
    EXPECT_EQ(xmlOf(e), "<event eventNumber=\"12\" msg=\"a &quot;b&quot;\" code=\"7\"/>\n");
}

// Each record owns its attribute list: growing, inserting, removing and
// copying the collection must copy records as objects (a bytewise copy frees
// the lists twice, which the sanitizers report).
TEST(StorEventCollection, HoldsRecordsThatOwnMemory)
{
    StorEventCollection c(1, 1, 64);
    EXPECT_EQ(c.eventBuffer.Size(), 64u);
    EXPECT_EQ(c.BufferSize(), sizeof(StorEvent));
    for (uint32_t i = 0; i < 5; ++i)
        c.InsertBack(eventWith(i, "x"));
    c.InsertFront(eventWith(99, "front"));
    EXPECT_EQ(c.NumEvents(), 6);
    EXPECT_EQ(c.BufferSize(), 6 * sizeof(StorEvent));
    EXPECT_TRUE(c.Remove(2));
    EXPECT_FALSE(c.Remove(6));
    EXPECT_TRUE(c.Replace(0, eventWith(50, "replaced")));
    EXPECT_EQ(c.NumEvents(), 5);

    ByValueArray_TC<StorEvent> copy(c);
    c.RemoveAll();
    c.OptimizeAlloc();
    ASSERT_EQ(copy.NumEntries(), 5);
    const uint32_t expected[] = {50, 0, 2, 3, 4};
    for (int32_t i = 0; i < copy.NumEntries(); ++i) {
        EXPECT_EQ(copy[i].eventNumber, expected[i]);
        EXPECT_EQ(copy[i].eventInfo.NumEntries(), 2);
    }
    EXPECT_STREQ(copy[0].eventInfo.GetValue("text"), "replaced");
    EXPECT_EQ(xmlOf(copy[1]), "<event eventNumber=\"0\" text=\"x\" n=\"1\"/>\n");
}

TEST(StorEventCollection, SizesThatCannotBeCountedFailAsAllocation)
{
    try {
        StorEventCollection c(0xFFFFFFFFu, 1, 0);
        FAIL() << "no exception";
    } catch (const DynamicBufferException& e) {
        EXPECT_EQ(e.Reason(), DynamicBufferException::ALLOC_FAILED);
    }
}
