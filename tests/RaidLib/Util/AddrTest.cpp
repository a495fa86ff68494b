#include <gtest/gtest.h>

#include "RaidLib/Util/Addr.h"
#include "RaidLib/Util/AddrCollection.h"
#include "support/TestUtil.h"

namespace {

const STORID_T U = STORID_UNDEFINED;
const BLOCK_T UC = BLOCK_UNDEFINED;

struct TypeCase {
    const char* what;
    Addr addr;
    int type;
};

} // namespace

TEST(Addr, GetTypeTable)
{
    const TypeCase cases[] = {
        {"nothing set", Addr(), 20},
        {"controller", Addr(3), 0},
        {"no controller, channel and device", Addr(U, U, U, 1, 4, UC, U, U), 20},
        {"array", Addr(3, 1, U, U, U, UC, U, U), 1},
        {"array with logical drive", Addr(3, 1, 0, U, U, UC, U, U), 20},
        {"array with phy", Addr(3, 1, U, U, U, UC, U, 0), 20},
        {"logical drive", Addr(3, U, 2, U, U, UC, U, U), 2},
        {"logical drive chunk", Addr(3, U, 2, U, U, 0, U, U), 5},
        {"logical drive with channel", Addr(3, U, 2, 1, U, UC, U, U), 20},
        {"logical drive with item", Addr(3, U, 2, U, U, UC, 0, U), 20},
        {"channel", Addr(3, U, U, 1, U, UC, U, U), 4},
        {"channel with item", Addr(3, U, U, 1, U, UC, 2, U), 4},
        {"channel with chunk and phy", Addr(3, U, U, 1, U, 5, U, 1), 4},
        {"device", Addr(3, U, U, 1, 4, UC, U, U), 3},
        {"item", Addr(3, U, U, 1, 4, UC, 2, U), 6},
        {"device phy", Addr(3, U, U, 1, 4, UC, U, 0), 7},
        {"item phy", Addr(3, U, U, 1, 4, UC, 2, 0), 7},
        {"device chunk", Addr(3, U, U, 1, 4, 9, U, U), 5},
        {"device chunk with item", Addr(3, U, U, 1, 4, 9, 2, U), 20},
        {"device chunk with phy", Addr(3, U, U, 1, 4, 9, U, 1), 20},
        {"controller phy", Addr(3, U, U, U, U, UC, U, 1), 7},
        {"device without channel", Addr(3, U, U, U, 4, UC, U, U), 20},
        {"chunk without channel", Addr(3, U, U, U, U, 0, U, U), 20},
        {"item without channel", Addr(3, U, U, U, U, UC, 1, U), 20},
    };
    for (const TypeCase& c : cases) {
        EXPECT_EQ(c.addr.getType(), c.type) << c.what;
        EXPECT_EQ(c.addr.isValid(), c.type != 20) << c.what;
    }
}

TEST(Addr, FromAddressRecord)
{
    address a = {1, 0x7FFFFFFF, 0x7FFFFFFF, 2, 3};
    Addr addr(a);
    EXPECT_EQ(addr.getType(), 3);
    EXPECT_EQ(addr.getChunkID(), UC);
    EXPECT_EQ(addr.getSASPhyID(), U);
}

TEST(Addr2, TypeDependsOnLibraryType)
{
    EXPECT_EQ(Addr2().getType(), 20);
    EXPECT_EQ(Addr2(STORLIB_UNKNOWN, 3, U, U, U, U, UC, U, U).getType(), 20);
    Addr2 lib(STORLIB_TARNELL, U, U, U, U, U, UC, U, U);
    EXPECT_EQ(lib.getType(), 10);
    EXPECT_TRUE(lib.isValid());
    EXPECT_EQ(Addr2(STORLIB_TARNELL, 3, U, 2, U, U, UC, U, U).getType(), 2);
}

TEST(Addr, CopiesKeepTheWholeChunkId)
{
    const BLOCK_T big = 0x1234567800000007ULL;
    Addr a(3, U, 2, U, U, big, U, U);
    Addr copied(a);
    Addr assigned;
    assigned = a;
    AddrCollection coll;
    coll.addAddr(a);
    EXPECT_EQ(copied.getChunkID(), big);
    EXPECT_EQ(assigned.getChunkID(), big);
    EXPECT_EQ(coll.getAddr(0).getChunkID(), big);

    Addr2 src(STORLIB_PELM, 1, U, U, 2, 3, 7, U, 5);
    Addr2 dst;
    dst = src;
    EXPECT_EQ(dst.getSASPhyID(), 5u);
    EXPECT_EQ(dst.getChunkID(), 7u);
    EXPECT_EQ(dst, src);

    // Assigning a plain address keeps the library type.
    dst = Addr(9);
    EXPECT_EQ(dst.getStorLibType(), STORLIB_PELM);
    EXPECT_EQ(dst.getAdapterID(), 9u);
    EXPECT_EQ(dst.getSASPhyID(), U);
}

TEST(Addr, EqualityCoversEveryId)
{
    Addr base(1, U, 2, U, U, 3, U, U);
    Addr other = base;
    EXPECT_EQ(base, other);
    other.setChunkID(0x100000003ULL);
    EXPECT_NE(base, other);

    Addr2 t5(STORLIB_TARNELL, 1, U, U, U, U, UC, U, U);
    Addr2 t7(STORLIB_PELM, 1, U, U, U, U, UC, U, U);
    EXPECT_TRUE(t5.IsEqual(t7));
    EXPECT_FALSE(t5.IsEqual2(t7));

    t5.clear();
    EXPECT_EQ(t5, Addr2());
}

TEST(AddrCollection, EqualityDependsOnOrder)
{
    AddrCollection a, b;
    a.addAddr(Addr(1));
    a.addAddr(Addr(2));
    b.addAddr(Addr(2));
    b.addAddr(Addr(1));
    EXPECT_NE(a, b);
    AddrCollection c(a);
    EXPECT_EQ(a, c);
    c.push_back(Addr(3));
    EXPECT_NE(a, c);
    EXPECT_EQ(c.size(), 3u);

    Addr2Collection x, y;
    x.addAddr(Addr2(STORLIB_TARNELL, 1, U, U, U, U, UC, U, U));
    y.addAddr(Addr2(STORLIB_PELM, 1, U, U, U, U, UC, U, U));
    EXPECT_NE(x, y);
    y.getAddr(0).setStorLibType(STORLIB_TARNELL); // a reference to the stored element
    EXPECT_EQ(x, y);
}

TEST(Addr, DebugDumps)
{
    Addr a(3, U, 2, U, U, 0x100000000ULL, U, U);
    EXPECT_EQ(testsupport::captureFile([&](FILE* f) { a.debug(f); }),
              "-------------------------------------------------\n"
              "Type                =CHUNK\n"
              "getAdapterID()      =3\n"
              "getArrayID()        =2147483647\n"
              "getLogicalDriveID() =2\n"
              "getChannelID()      =2147483647\n"
              "getDeviceID()       =2147483647\n"
              "getChunkID()        =4294967296\n"
              "getItemID()         =2147483647\n"
              "getSASPhyID()       =2147483647\n"
              "-------------------------------------------------\n");

    Addr2 lib(STORLIB_TARNELL, U, U, U, U, U, UC, U, U);
    const std::string dump = testsupport::captureFile([&](FILE* f) { lib.debug(f); });
    EXPECT_NE(dump.find("Type                =STORLIB\ngetStorLibType()     =5\ngetAdapterID()      =2147483647\n"),
              std::string::npos);
    Addr array(3, 1, U, U, U, UC, U, U);
    EXPECT_NE(testsupport::captureFile([&](FILE* f) { array.debug(f); }).find("Type                =???\n"),
              std::string::npos);
    EXPECT_NE(testsupport::captureFile([&](FILE* f) { Addr().debug(f); }).find("Type                =INVALID\n"),
              std::string::npos);
}
