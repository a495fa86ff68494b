#include <gtest/gtest.h>

#include <cstring>

#include "RaidLib/Util/Buffer.h"
#include "support/TestUtil.h"

namespace {

const unsigned char kBytes[] = {1, 2, 3, 4};

void expectBytes(const Buffer& b, std::initializer_list<unsigned> bytes, const char* what)
{
    ASSERT_EQ(b.getSize(), bytes.size()) << what;
    ASSERT_EQ(b.Ptr() == nullptr, bytes.size() == 0) << what;
    uint32_t i = 0;
    for (unsigned v : bytes)
        EXPECT_EQ(b.getByte(i++), v) << what << " byte " << i - 1;
}

} // namespace

TEST(Buffer, EmptyForms)
{
    expectBytes(Buffer(), {}, "default");
    expectBytes(Buffer(0), {}, "size 0");
    expectBytes(Buffer(4, nullptr), {}, "null bytes");
    expectBytes(Buffer(0, kBytes), {}, "no bytes");
    expectBytes(Buffer(Buffer()), {}, "copy of empty");
    EXPECT_EQ(Buffer().getByte(0), 0);
    EXPECT_TRUE(Buffer() == Buffer(0));
    expectBytes(Buffer(3), {0, 0, 0}, "new bytes are zeroed");
}

TEST(Buffer, AllocKeepsWhatWasAsked)
{
    Buffer b(4, kBytes);
    expectBytes(b, {1, 2, 3, 4}, "copy of the caller's bytes");
    EXPECT_EQ(b.getByte(4), 0);

    b.Alloc(8, true);
    expectBytes(b, {1, 2, 3, 4, 0, 0, 0, 0}, "grown with preserve");
    b.Alloc(2, true);
    expectBytes(b, {1, 2}, "shrunk with preserve");
    b.Alloc(8, false);
    expectBytes(b, {0, 0, 0, 0, 0, 0, 0, 0}, "without preserve");
    EXPECT_EQ(b.Alloc(0, true), nullptr);
    expectBytes(b, {}, "size 0 empties");

    Buffer c(4, kBytes);
    c.Clear();
    expectBytes(c, {0, 0, 0, 0}, "cleared");
}

TEST(Buffer, CopyAssignmentAndEquality)
{
    const Buffer four(4, kBytes);
    Buffer target(4);
    unsigned char* block = target.Ptr();
    target = four;
    EXPECT_EQ(target.Ptr(), block) << "same size reuses the block";
    EXPECT_TRUE(target == four);
    EXPECT_NE(target.Ptr(), four.Ptr());

    target = Buffer();
    expectBytes(target, {}, "assigning an empty buffer empties");

    Buffer larger(9);
    larger = four;
    expectBytes(larger, {1, 2, 3, 4}, "different size takes a new block");
    larger = larger;
    expectBytes(larger, {1, 2, 3, 4}, "self-assignment");

    Buffer copy(four);
    copy[3] = 9;
    EXPECT_TRUE(copy != four);
    EXPECT_FALSE(Buffer(3) == Buffer(4));
}

TEST(Buffer, PrintDumpsGroupsOfFourFromTheLastByte)
{
    const unsigned char bytes[] = {0x41, 0x42, 0x43, 0x44, 0x00};
    const Buffer b(5, bytes);
    EXPECT_EQ(testsupport::captureFile([&](FILE* f) { b.Print(f); }),
              "0000: 44434241 : DCBA\n"
              "0004: ------00 :     \n");
    const Buffer empty;
    EXPECT_EQ(testsupport::captureFile([&](FILE* f) { empty.Print(f); }), "0000: -------- :     \n");
}
