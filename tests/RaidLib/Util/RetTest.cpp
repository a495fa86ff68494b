#include <gtest/gtest.h>

#include "RaidLib/Util/Ret.h"
#include "support/TestUtil.h"

static_assert(sizeof(Ret) == 56, "a Ret is its fourteen words");

TEST(Ret, EqualityComparesEveryField)
{
    EXPECT_EQ(Ret(), Ret(0));
    EXPECT_NE(Ret(-1), Ret(0));

    Ret apiOnly(0);
    apiOnly.setAPIReturn(5);
    EXPECT_NE(apiOnly, Ret(0));

    Ret sense;
    sense.setSenseCodeQualifier(1);
    EXPECT_NE(sense, Ret());
}

TEST(Ret, NamedSettersWriteOnlyTheirFields)
{
    Ret r;
    r.setAPIReturn(7);
    r.setBadParam(0);
    EXPECT_EQ(r.getReturn(), -2);
    EXPECT_EQ(r.getSignedReturn(), 0);
    EXPECT_EQ(r.getAPIReturn(), 7);

    r.setBadParam(-40);
    EXPECT_EQ(r.getSignedReturn(), -40);

    struct Case {
        void (Ret::*set)();
        int code;
    } cases[] = {{&Ret::setResource, -3},
                 {&Ret::setNotInitialized, -11},
                 {&Ret::setObjectNotFound, -12},
                 {&Ret::setException, -13}};
    for (const Case& c : cases) {
        Ret x;
        x.setUnsignedReturn(9);
        (x.*c.set)();
        EXPECT_EQ(x.getReturn(), c.code);
        EXPECT_EQ(x.getUnsignedReturn(), 9u);
        x.clear();
        EXPECT_EQ(x, Ret());
    }
}

TEST(Ret, CopyAndAssignmentCarryAllFields)
{
    Ret r(-5);
    r.setIOCStatus(1);
    r.setIOCLogInfo(2);
    r.setSCSIState(3);
    r.setSCSIStatus(4);
    r.setSenseDataError(0x70);
    r.setSenseKey(5);
    r.setSenseCode(0x24);
    r.setSenseCodeQualifier(1);
    Ret copy(r);
    Ret assigned;
    assigned = r;
    EXPECT_EQ(copy, r);
    EXPECT_EQ(assigned, r);
    EXPECT_EQ(assigned.getSenseCode(), 0x24u);
}

TEST(Ret, DebugDump)
{
    Ret r(-2);
    r.setAPIReturn(1);
    r.setIOCTLReturn(2);
    r.setRetryNumber(3);
    r.setUnsignedReturn(4);
    r.setSignedReturn(5);
    r.setSenseDataError(6);
    r.setSenseKey(7);
    r.setSenseCode(8);
    r.setSenseCodeQualifier(9);
    r.setSCSIStatus(0x55); // not part of the dump
    const std::string dump = testsupport::captureFile([&](FILE* f) { r.debug(f); });
    EXPECT_EQ(dump,
              " -------------------------------------------------------------\n"
              "(DEBUG) Return structure details:\n"
              "   GetReturnCode()=0xfffffffe\n"
              "   GetAPIReturnCode()=0x1\n"
              "   GetIOCTLReturnCode()=0x2\n"
              "   GetRetryNumber()=Ox3\n"
              "   GetUnsignedReturnValue()=0x4\n"
              "   GetSignedReturnValue()=0x5\n"
              "   getSenseDataError()=0x6\n"
              "   getSenseKey()=0x7\n"
              "   getSenseCode()=0x8\n"
              "   getSenseCodeQualifier()=0x9\n"
              " --------------------------------------------------------------\n");
}
