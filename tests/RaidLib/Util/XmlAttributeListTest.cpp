#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RaidLib/Util/XmlAttributeList.h"
#include "RaidLib/Util/byref-array.h"

namespace {

struct GetterCase {
    const char* value;
    int32_t asLong;
    uint32_t asULong;
    int64_t asI64;
    uint64_t asU64;
    bool asBool;
};

} // namespace

TEST(XmlAttributeList, TypedGetterTable)
{
    const GetterCase cases[] = {
        {"17", 17, 17, 17, 17, true},
        {"0", 0, 0, 0, 0, false},
        {"-1", -1, 4294967295u, -1, UINT64_MAX, false},
        {"4294967296", INT32_MAX, 4294967295u, INT32_MAX, 4294967296ULL, false},
        {"5000000000", INT32_MAX, 4294967295u, 2147483647, 5000000000ULL, false},
        {"-5000000000", INT32_MIN, 4294967295u, INT32_MIN, static_cast<uint64_t>(-5000000000LL), false},
        {"-3000000000", INT32_MIN, 1294967296u, INT32_MIN, static_cast<uint64_t>(-3000000000LL), false},
        {"0x1f", 0, 0, 0, 31, false},
        {"12.75", 12, 12, 12, 12, true},
        {" 8", 8, 8, 8, 8, false},
        {"true", 0, 0, 0, 0, true},
        {"T", 0, 0, 0, 0, true},
        {"false", 0, 0, 0, 0, false},
        {"", 0, 0, 0, 0, false},
        {"1e30", 1, 1, 1, UINT64_MAX, true},
        {"nan", 0, 0, 0, 0, false},
        {"9007199254740993", INT32_MAX, 4294967295u, INT32_MAX, 9007199254740992ULL, false},
    };
    for (const GetterCase& c : cases) {
        XmlAttributeList_C list;
        list.Append("other", "99");
        list.Append("v", c.value);
        EXPECT_EQ(list.GetLong("v"), c.asLong) << c.value;
        EXPECT_EQ(list.GetLong(1), c.asLong) << c.value;
        EXPECT_EQ(list.GetULong("v"), c.asULong) << c.value;
        EXPECT_EQ(list.GetULong(1), c.asULong) << c.value;
        EXPECT_EQ(list.GetI64("v"), c.asI64) << c.value;
        EXPECT_EQ(list.GetU64("v"), c.asU64) << c.value;
        EXPECT_EQ(list.GetU64(1), c.asU64) << c.value;
        EXPECT_EQ(list.GetBool("v"), c.asBool) << c.value;
        EXPECT_EQ(list.GetBool(1), c.asBool) << c.value;
    }
}

TEST(XmlAttributeList, AbsentEntries)
{
    XmlAttributeList_C list;
    list.Append("a", "1");
    list.Append(nullptr, "ignored");
    list.Append("b", nullptr);
    ASSERT_EQ(list.NumEntries(), 2);
    EXPECT_STREQ(list.GetValue("b"), "");
    EXPECT_TRUE(list.Exists("b"));
    EXPECT_FALSE(list.Exists("A"));
    EXPECT_FALSE(list.Exists(nullptr));

    EXPECT_STREQ(list.GetValue("missing"), "");
    EXPECT_STREQ(list.GetValue(5), "");
    EXPECT_STREQ(list.GetValue(-1), "");
    EXPECT_EQ(list.GetName(2), nullptr);
    EXPECT_EQ(list.GetName(-1), nullptr);
    EXPECT_EQ(list.GetLong("missing"), 0);
    EXPECT_EQ(list.GetULong(7), 0u);
    EXPECT_EQ(list.GetI64("missing"), 0);
    EXPECT_EQ(list.GetU64(7), 0u);
    EXPECT_FALSE(list.GetBool("missing"));

    list.Clear();
    EXPECT_EQ(list.NumEntries(), 0);
    EXPECT_FALSE(list.Exists("a"));
}

TEST(XmlAttributeList, FirstEntryOfANameWins)
{
    XmlAttributeList_C list;
    list.Append("id", "1");
    list.Append("idx", "2");
    list.Append("id", "3");
    EXPECT_EQ(list.GetULong("id"), 1u);
    EXPECT_EQ(list.GetULong("idx"), 2u);
    EXPECT_EQ(list.GetULong(2), 3u);
}

TEST(XmlAttributeList, HundredAppendsStayInOrder)
{
    std::vector<std::string> names, values;
    for (int i = 0; i < 100; ++i) {
        names.push_back("n" + std::to_string(i));
        values.push_back(std::to_string(i * 7));
    }
    for (uint32_t initial : {0u, 3u}) {
        XmlAttributeList_C list(initial, 1);
        for (int i = 0; i < 100; ++i)
            list.Append(names[i].c_str(), values[i].c_str());
        XmlAttributeList_C copy(list);
        ASSERT_EQ(copy.NumEntries(), 100);
        for (int i = 0; i < 100; ++i) {
            EXPECT_EQ(list.GetName(i), names[i].c_str());
            EXPECT_EQ(list.GetLong(names[i].c_str()), i * 7);
            EXPECT_EQ(copy.GetValue(i), values[i].c_str());
        }
    }
}

TEST(ByRefArray, CapacityFollowsTheGrowthStep)
{
    struct Rec {
        uint32_t a, b;
    };
    ByRefArray_TC<Rec> arr(10, 20); // step rounded up to 3 records
    EXPECT_EQ(arr.GetGrowBy(), 24u);
    EXPECT_EQ(arr.BufferSize(), 24u);
    EXPECT_EQ(arr.SetGrowBy(0), 8u);

    for (uint32_t i = 0; i < 4; ++i)
        ASSERT_TRUE(arr.Insert(-1, Rec{i, i}));
    EXPECT_EQ(arr.BufferSize(), 32u); // grew by one 8-byte step
    ASSERT_TRUE(arr.Insert(1, Rec{9, 9}));
    ASSERT_TRUE(arr.Insert(99, Rec{7, 7}));
    const uint32_t expected[] = {0, 9, 1, 2, 3, 7};
    ASSERT_EQ(arr.NumEntries(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(arr[i].a, expected[i]);

    // Shrinking never drops elements in use.
    EXPECT_EQ(arr.AllocTo(0), 48u);
    EXPECT_EQ(arr[5].a, 7u);

    ByRefArray_TC<Rec> other;
    other = arr;
    arr.RemoveAll();
    EXPECT_EQ(arr.AllocTo(0), 0u); // an empty array is released
    EXPECT_FALSE(arr.IsValid());
    ASSERT_EQ(other.NumEntries(), 6);
    EXPECT_EQ(other[1].a, 9u);
}
