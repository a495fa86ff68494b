#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "RaidLib/StorLib.h"
#include "RaidLib/StorLibTestFamily.h"
#include "RaidLib/Util/StorDebug.h"
#include "RaidModel/ModelTestUtil.h"
#include "support/TestUtil.h"

namespace {

class TestLib : public StorLib {
public:
    explicit TestLib(EnumStorLibType type) : StorLib(type) {}
    System* newSystem() override { return new modeltest::TestSystem(getStorLibType()); }
    void makeCurrent(System* s) { curSystem.Set(s); }
};

} // namespace

// A library counts as a user of its type's debug logs for its lifetime and
// lets go of its current system when it goes.
TEST(StorLib, RegistersWithTheDebugLogsAndReleasesItsSystem)
{
    const uint32_t before = globalRaidObjectCounter;
    {
        TestLib lib(STORLIB_SARVO);
        EXPECT_EQ(lib.getSystem(), nullptr);
        lib.makeCurrent(lib.newSystem());
        EXPECT_NE(lib.getSystem(), nullptr);
        EXPECT_EQ(lib.getStorLibType(), STORLIB_SARVO);
        StorErrorPrintf(STORLIB_SARVO, "StorLibTest.cpp", 1, "while registered");
    }
    EXPECT_EQ(globalRaidObjectCounter, before);
    StorErrorPrintf(STORLIB_SARVO, "StorLibTest.cpp", 2, "after");
    const std::string log = testsupport::readFile("sarvoerror.txt");
    EXPECT_NE(log.find("while registered"), std::string::npos);
    EXPECT_EQ(log.find("after"), std::string::npos);
}

// Only the first guard of the process sets up, and only its destruction
// tears down. The lock that the library's load hook made is kept.
TEST(StorLibInit, OnlyTheFirstInstanceInitializesAndFinishes)
{
    StorLibInit::resetForTest();
    osThreadLocker* loadLock = pStorLibGlobalThreadLocker;
    ASSERT_NE(loadLock, nullptr);
    {
        StorLibInit first;
        EXPECT_EQ(pStorLibGlobalThreadLocker, loadLock);
        {
            StorLibInit second;
        }
        EXPECT_EQ(pStorLibGlobalThreadLocker, loadLock);
    }
    EXPECT_EQ(pStorLibGlobalThreadLocker, nullptr);
    {
        StorLibInit later;
    }
    EXPECT_EQ(pStorLibGlobalThreadLocker, nullptr);

    // Back to the state the load hook made, for the unload hook.
    pStorLibGlobalThreadLocker = new osThreadLocker;
    doStorDebugInitialization(STORLIB_TARNELL);
}

// ------------------------------------------------------- the current system

namespace {

using storlibtest::script;

class StorLibConfigTest : public ::testing::Test {
protected:
    void SetUp() override { script().reset(); }
    void TearDown() override { script().reset(); }

    static std::string errors() { return testsupport::readFile("tarnellerror.txt"); }
    static bool contains(const std::string& text, const std::string& part)
    {
        return text.find(part) != std::string::npos;
    }
    // A buffer such as an earlier call handed out.
    static char* earlierBuffer()
    {
        char* p = new char[8];
        std::strcpy(p, "earlier");
        return p;
    }
};

} // namespace

TEST_F(StorLibConfigTest, NullTargetIsRefusedWithoutBuilding)
{
    storlibtest::ScriptedLib lib;
    Ret r = lib.getSystemConfig(nullptr);
    EXPECT_EQ(r.getReturn(), -2);
    EXPECT_EQ(r.getSignedReturn(), 0);
    EXPECT_EQ(script().builds, 0);
    EXPECT_EQ(lib.getSystem(), nullptr);
    EXPECT_TRUE(contains(errors(), "*** Bad Parameter: pXmlOUT==NULL, paramValue=0 ***"));

    EXPECT_EQ(lib.getCachedSystemConfig(nullptr).getReturn(), -2);
    EXPECT_EQ(script().builds, 0);
}

// The earlier document in the target is released (the sanitizer reports it
// otherwise); the new one is the tree's, also written to the configuration log.
TEST_F(StorLibConfigTest, HandsOutTheNewTreeAndLogsIt)
{
    storlibtest::ScriptedLib lib;
    char* xml = earlierBuffer();
    ASSERT_EQ(lib.getSystemConfig(&xml).getReturn(), 0);
    ASSERT_NE(xml, nullptr);
    const std::string doc = xml;
    EXPECT_EQ(doc, modeltest::treeText(*lib.getSystem()));
    EXPECT_TRUE(contains(doc, "<Controller"));
    EXPECT_TRUE(contains(testsupport::readFile("tarnellconfig.xml"), doc));
    EXPECT_EQ(lib.getNumAdapters(), 1u);
    EXPECT_NE(lib.getAdapter(0), nullptr);
    EXPECT_EQ(lib.getAdapter(1), nullptr);
    EXPECT_EQ(lib.freeBuffer(xml).getReturn(), 0);
    EXPECT_EQ(lib.freeBuffer(nullptr).getReturn(), 0);
}

TEST_F(StorLibConfigTest, FailedBuildStillGivesItsTreeAndDocument)
{
    storlibtest::ScriptedLib lib;
    script().buildResult = Ret(-5);
    char* xml = nullptr;
    Ret r = lib.getSystemConfig(&xml);
    EXPECT_EQ(r.getReturn(), -5);
    ASSERT_NE(xml, nullptr);
    EXPECT_TRUE(contains(xml, "<Controller"));
    EXPECT_EQ(lib.getNumAdapters(), 1u);
    lib.freeBuffer(xml);
}

// Nothing changes: the current system, the target and the object count.
TEST_F(StorLibConfigTest, MissingOrThrowingBuildLeavesTheCurrentSystem)
{
    storlibtest::ScriptedLib lib;
    ASSERT_EQ(lib.getSystemConfig().getReturn(), 0);
    System* first = lib.getSystem();
    const uint32_t objects = globalRaidObjectCounter;
    char* xml = earlierBuffer();

    script().noSystem = true;
    EXPECT_EQ(lib.getSystemConfig(&xml).getReturn(), -3);
    EXPECT_TRUE(contains(errors(), "*** Resource Error: pNewSystem = newSystem() ***"));
    EXPECT_EQ(lib.getSystemConfigWithProxy(nullptr).getReturn(), -3);

    script().noSystem = false;
    script().buildRaises = true;
    EXPECT_EQ(lib.getSystemConfig(&xml).getReturn(), -13);
    EXPECT_EQ(lib.getSystemConfig().getReturn(), -13);
    EXPECT_EQ(lib.getSystemConfigWithProxy(nullptr).getReturn(), -13);
    EXPECT_TRUE(contains(errors(), "*** Exception Caught ***"));

    EXPECT_EQ(lib.getSystem(), first);
    EXPECT_STREQ(xml, "earlier");
    EXPECT_EQ(globalRaidObjectCounter, objects);
    delete[] xml;
}

// A client's holder keeps the first tree alive across a rebuild; its
// release deletes it.
TEST_F(StorLibConfigTest, ClientHolderOutlivesARebuild)
{
    storlibtest::ScriptedLib lib;
    const uint32_t before = globalRaidObjectCounter;
    ASSERT_EQ(lib.getSystemConfig().getReturn(), 0);
    const uint32_t oneTree = globalRaidObjectCounter - before;
    RefSystem client(lib.getSystem());

    ASSERT_EQ(lib.getSystemConfig().getReturn(), 0);
    EXPECT_NE(lib.getSystem(), client.getSystem());
    EXPECT_EQ(globalRaidObjectCounter, before + 2 * oneTree);
    EXPECT_EQ(client->getNumAdapters(), 1u);

    client.Release();
    EXPECT_EQ(globalRaidObjectCounter, before + oneTree);
}

// A tree with controllers is written again as it is: no build, no
// configuration log. A tree without any is rebuilt every time.
TEST_F(StorLibConfigTest, CachedDocumentRebuildsOnlyAnEmptyTree)
{
    storlibtest::ScriptedLib lib;
    char* xml = nullptr;
    ASSERT_EQ(lib.getCachedSystemConfig(&xml).getReturn(), 0);
    EXPECT_EQ(script().builds, 1);
    const std::string first = xml;

    std::FILE* f = std::fopen("tarnellconfig.xml", "w");
    ASSERT_NE(f, nullptr);
    std::fputs("untouched", f);
    std::fclose(f);
    ASSERT_EQ(lib.getCachedSystemConfig(&xml).getReturn(), 0);
    EXPECT_EQ(script().builds, 1);
    EXPECT_EQ(std::string(xml), first);
    EXPECT_EQ(testsupport::readFile("tarnellconfig.xml"), "untouched");

    storlibtest::ScriptedLib bare;
    script().emptyTree = true;
    bare.getCachedSystemConfig(&xml);
    bare.getCachedSystemConfig(&xml);
    EXPECT_EQ(script().builds, 3);
    lib.freeBuffer(xml);
}

TEST_F(StorLibConfigTest, ControllerCountNeedsACurrentSystem)
{
    storlibtest::ScriptedLib lib;
    unsigned long count = 77;
    Ret r = lib.getControllerCount(count);
    EXPECT_EQ(r.getReturn(), -2);
    EXPECT_EQ(count, 77u);
    EXPECT_TRUE(contains(errors(), "*** Bad Parameter: curSystem==NULL, paramValue=0 ***"));
    EXPECT_EQ(lib.getNumAdapters(), 0u);
    EXPECT_EQ(lib.getAdapter(0), nullptr);

    ASSERT_EQ(lib.getSystemConfig().getReturn(), 0);
    script().buildResult = Ret(-5);
    EXPECT_EQ(lib.getControllerCount(count).getReturn(), -5);
    EXPECT_EQ(count, 1u);
}

// The family's controllers go to the proxy; the new current system stays
// empty, so addresses of the family's objects find nothing.
TEST_F(StorLibConfigTest, ProxyBuildHandsTheControllersOn)
{
    storlibtest::ScriptedLib lib;
    modeltest::TestSystem proxy;
    ASSERT_EQ(lib.getSystemConfigWithProxy(&proxy).getReturn(), 0);
    ASSERT_NE(lib.getSystem(), nullptr);
    EXPECT_EQ(lib.getNumAdapters(), 0u);
    EXPECT_EQ(proxy.getNumAdapters(), 1u);
    EXPECT_EQ(lib.syncRescan(Addr(0)).getReturn(), -12);
}
