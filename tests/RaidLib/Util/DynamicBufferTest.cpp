#include <gtest/gtest.h>

#include <cstring>

#include "RaidLib/Util/DynamicBuffer.h"

namespace {

int reasonOf(void (*op)(DynamicBuffer&), DynamicBuffer& b)
{
    try {
        op(b);
    } catch (const DynamicBufferException& e) {
        return e.Reason();
    }
    return 0;
}

} // namespace

TEST(DynamicBuffer, AllocAndPreserveRefusesWhatDoesNotFit)
{
    DynamicBuffer b(16);
    std::memcpy(b.Ptr(), "0123456789abcdef", 16);
    char* before = b.Ptr();
    EXPECT_EQ(reasonOf([](DynamicBuffer& d) { d.AllocAndPreserve(4, 10); }, b), 2);
    EXPECT_EQ(b.Ptr(), before);
    EXPECT_EQ(b.Size(), 16u);
    EXPECT_EQ(std::memcmp(b.Ptr(), "0123456789abcdef", 16), 0);
    EXPECT_EQ(reasonOf([](DynamicBuffer& d) { d.AllocAndPreserve(0, 1); }, b), 2);
    EXPECT_EQ(b.Size(), 16u);

    // Keeping 10 of 16 into 12 fits.
    char* grown = b.AllocAndPreserve(12, 10);
    ASSERT_NE(grown, nullptr);
    EXPECT_EQ(std::memcmp(grown, "0123456789", 10), 0);
    EXPECT_TRUE(b.OwnsBuffer());

    DynamicBuffer small(3);
    std::memcpy(small.Ptr(), "xyz", 3);
    char* kept = small.AllocAndPreserve(4, 10); // only 3 to keep
    EXPECT_EQ(std::memcmp(kept, "xyz", 3), 0);
    EXPECT_EQ(small.Size(), 4u);

    EXPECT_EQ(small.AllocAndPreserve(0, 0), nullptr);
    EXPECT_EQ(small.Size(), 0u);
}

TEST(DynamicBuffer, AttachLeavesStorageToItsOwner)
{
    char outside[8] = "abcdefg";
    DynamicBuffer b(5);
    std::memcpy(b.Ptr(), "HELLO", 5);

    EXPECT_EQ(b.AttachAndPreserve(nullptr, 5, 0), nullptr);
    EXPECT_EQ(b.Size(), 5u) << "null storage and nothing to keep changes nothing";
    EXPECT_EQ(reasonOf([](DynamicBuffer& d) { d.AttachAndPreserve(nullptr, 5, 2); }, b), 2);
    EXPECT_EQ(reasonOf([](DynamicBuffer& d) {
                  static char tiny[2];
                  d.AttachAndPreserve(tiny, 2, 3);
              }, b),
              2);
    EXPECT_TRUE(b.OwnsBuffer());

    EXPECT_EQ(b.AttachAndPreserve(outside, 8, 3), nullptr);
    EXPECT_EQ(b.Ptr(), outside);
    EXPECT_FALSE(b.OwnsBuffer());
    EXPECT_EQ(std::memcmp(outside, "HELdefg", 8), 0);

    // Moving within the attached storage may overlap.
    DynamicBuffer view(outside, 8);
    view.AttachAndPreserve(outside + 1, 7, 6);
    EXPECT_EQ(std::memcmp(outside, "HHELdef", 7), 0);

    EXPECT_EQ(b.Attach(nullptr, 5), nullptr);
    EXPECT_EQ(b.Ptr(), nullptr);
    EXPECT_EQ(b.Size(), 0u);

    DynamicBuffer owned(4);
    EXPECT_EQ(owned.Attach(outside, 8), outside);
    EXPECT_FALSE(owned.OwnsBuffer());
    owned.Free();
    EXPECT_EQ(outside[0], 'H') << "attached storage is not freed";
}
