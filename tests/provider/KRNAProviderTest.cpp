// The provider base with the module's builders, count and locks, and the
// three family configuration builders with their 180-second cache.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "KRNAConfigBuilder.h"
#include "KRNAProvUtil.h"
#include "KRNAProvider.h"
#include "ProviderTestSupport.h"
#include "RaidLib/StorLib.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/Chunk.h"
#include "RaidModel/Interface/LogicalDrive.h"
#include "RaidModel/Interface/System.h"

using namespace corvanecimple;
using providertest::advanceSeconds;
using providertest::logMessages;

namespace {

// ---- the builders ---------------------------------------------------------------------

struct Family {
    const char* name;
    std::function<KRNAConfigBuilder*()> create;
    std::function<size_t()> reads;
    const char* systemClass;
};

const Family families[] = {
    {"KRNAQorlConfigBuilder", [] { return new KRNAQorlConfigBuilder; }, providertest::qorlReads, "VeskSystem"},
    {"KRNATarnellConfigBuilder", [] { return new KRNATarnellConfigBuilder; }, providertest::tarnellReads,
     "TarnellSystem"},
    {"KRNAPelmConfigBuilder", [] { return new KRNAPelmConfigBuilder; }, providertest::pelmReads, "PelmSystem"},
};

class KRNAConfigBuilderTest : public providertest::ProviderTest {};

// The cache lines of a builder: "Stale" or "Fresh" for each getConfig.
std::vector<std::string> cacheLines(const std::string& builder)
{
    std::vector<std::string> out;
    for (const std::string& m : logMessages("(" + builder + ") Cache is "))
        out.push_back(m.find("Stale - Refreshing") != std::string::npos ? "Stale" : "Fresh");
    return out;
}

TEST_F(KRNAConfigBuilderTest, ReadsAtConstructionAgainAtFirstUseThenEvery180Seconds)
{
    for (const Family& f : families) {
        SCOPED_TRACE(f.name);
        const size_t before = f.reads();
        std::unique_ptr<KRNAConfigBuilder> builder(f.create());
        EXPECT_EQ(before + 1, f.reads());
        ASSERT_NE(nullptr, builder->getLib());
        EXPECT_TRUE(builder->isCacheStale()); // first use

        RefSystem first, second, third;
        EXPECT_TRUE(builder->getConfig(first, false));
        EXPECT_EQ(before + 2, f.reads());
        EXPECT_FALSE(builder->isCacheStale());
        advanceSeconds(179);
        EXPECT_TRUE(builder->getConfig(second, false));
        EXPECT_EQ(before + 2, f.reads());
        ASSERT_NE(nullptr, first.getSystem());
        EXPECT_EQ(first.getSystem(), second.getSystem());
        EXPECT_TRUE(first.getSystem()->isInstanceOf(f.systemClass));
        EXPECT_EQ(builder->getLib()->getSystem(), first.getSystem());

        advanceSeconds(1); // 180 seconds: stale
        EXPECT_TRUE(builder->getConfig(third, false));
        EXPECT_EQ(before + 3, f.reads());
        EXPECT_NE(first.getSystem(), third.getSystem()); // the older one lives on in our reference
        EXPECT_EQ(builder->getLib()->getSystem(), third.getSystem());

        advanceSeconds(-1); // the clock went back: stale
        EXPECT_TRUE(builder->getConfig(third, false));
        EXPECT_EQ(before + 4, f.reads());
        EXPECT_TRUE(builder->getConfig(third, true)); // forced on a fresh cache
        EXPECT_EQ(before + 5, f.reads());
        EXPECT_TRUE(builder->getConfig(third, false));
        EXPECT_EQ(before + 5, f.reads());
        EXPECT_EQ((std::vector<std::string>{"Stale", "Fresh", "Stale", "Stale", "Stale", "Fresh"}),
                  cacheLines(f.name));
        builder.reset();
        EXPECT_EQ(1u, logMessages(std::string("(") + f.name + ") Deleting").size() +
                          logMessages(std::string("(") + f.name + ") delete").size());
    }
    // The Qorl builder's fresh line has no line end in its format; it still ends one.
    EXPECT_EQ(std::vector<std::string>(2, "[debug] (KRNAQorlConfigBuilder) Cache is Fresh"),
              logMessages("(KRNAQorlConfigBuilder) Cache is Fresh"));
}

TEST_F(KRNAConfigBuilderTest, LinesOfLifeAndDeath)
{
    { KRNAQorlConfigBuilder qorl; }
    { KRNATarnellConfigBuilder tarnell; }
    { KRNAPelmConfigBuilder pelm; }
    std::vector<std::string> lines;
    for (const std::string& m : logMessages("ConfigBuilder"))
        lines.push_back(m);
    EXPECT_EQ((std::vector<std::string>{
                  "[debug] ENTERING KRNAQorlConfigBuilder()",
                  "[debug] (KRNAQorlConfigBuilder) Created VeskLib",
                  "[debug] EXITING KRNAQorlConfigBuilder()",
                  "[debug] ENTERING ~KRNAQorlConfigBuilder()",
                  "[debug] (KRNAQorlConfigBuilder) Deleting VeskLib",
                  "[debug] EXITING ~KRNAQorlConfigBuilder()",
                  "[debug] ENTERING KRNATarnellConfigBuilder()",
                  "[debug] (KRNATarnellConfigBuilder) Created TarnellLib",
                  "[debug] EXITING KRNATarnellConfigBuilder()",
                  "[debug] ENTERING ~KRNATarnellConfigBuilder()",
                  "[debug] (KRNATarnellConfigBuilder) delete tarnellLib",
                  "[debug] EXITING ~KRNATarnellConfigBuilder()",
                  "[debug] ENTERING KRNAPelmConfigBuilder()",
                  "[debug] (KRNAPelmConfigBuilder) Created PelmLib",
                  "[debug] EXITING KRNAPelmConfigBuilder()",
                  "[debug] ENTERING ~KRNAPelmConfigBuilder()",
                  "[debug] (KRNAPelmConfigBuilder) Deleting PelmLib",
                  "[debug] EXITING ~KRNAPelmConfigBuilder()",
              }),
              lines);
}

TEST_F(KRNAConfigBuilderTest, WithoutItsLibraryABuilderIsNeverReady)
{
    struct Case {
        std::function<void()> failNext;
        std::function<KRNAConfigBuilder*()> create;
        const char* failed;
        const char* notReady;
    } cases[] = {
        {vesksim::failNextAllocation, families[0].create, "(KRNAQorlConfigBuilder) ERROR: FAILED to create VeskLib",
         "(KRNAQorlConfigBuilder) ERROR: getConfig qorlLib is NOT ready"},
        {[] { pelmsim::failNextAllocation(); }, families[2].create,
         "(KRNAPelmConfigBuilder) ERROR: FAILED to create PelmLib",
         "(KRNAPelmConfigBuilder) ERROR: getConfig pelmLib is NOT ready"},
    };
    for (const Case& c : cases) {
        c.failNext();
        std::unique_ptr<KRNAConfigBuilder> builder(c.create());
        EXPECT_EQ(nullptr, builder->getLib());
        RefSystem ref;
        advanceSeconds(600);
        EXPECT_FALSE(builder->getConfig(ref, true));
        EXPECT_EQ(nullptr, ref.getSystem());
        EXPECT_EQ(1u, logMessages(c.failed).size());
        EXPECT_EQ(1u, logMessages(c.notReady).size());
    }
    EXPECT_TRUE(logMessages("Deleting").empty());
}

// ---- the provider base ------------------------------------------------------------------

class KRNAProviderTest : public providertest::ProviderTest {
protected:
    // The families of the root's children for the mask, told by their
    // builders' current Systems; none names the root as its parent. The
    // root is freed.
    std::vector<std::string> familiesOf(long mask)
    {
        RaidObject* root = nullptr;
        EXPECT_TRUE(KRNAProvider::getConfig(root, mask, false));
        std::vector<std::string> names;
        if (!root)
            return names;
        const struct {
            KRNAConfigBuilder* builder;
            const char* name;
        } builders[] = {{KRNAProvider::qorlConfigBuilder, "Qorl"},
                        {KRNAProvider::tarnellConfigBuilder, "Tarnell"},
                        {KRNAProvider::pelmConfigBuilder, "Pelm"}};
        for (unsigned long i = 0; i < root->getChildCount(); i++) {
            RaidObject* system = root->getChild(static_cast<int>(i));
            EXPECT_EQ(nullptr, system->getParent());
            std::string name = "?";
            for (const auto& b : builders)
                if (b.builder && b.builder->getLib() && b.builder->getLib()->getSystem() == system)
                    name = b.name;
            names.push_back(name);
        }
        KRNAProvUtil::deleteRaidObject(root);
        return names;
    }
};

TEST_F(KRNAProviderTest, TheMaskSelectsFamiliesInTheOrderQorlTarnellPelm)
{
    base.load();
    const size_t qorl = providertest::qorlReads(), tarnell = providertest::tarnellReads(),
                 pelm = providertest::pelmReads();
    EXPECT_TRUE(familiesOf(0).empty());
    EXPECT_TRUE(logMessages("Cache is").empty()); // no builder was asked
    EXPECT_EQ(qorl, providertest::qorlReads());
    struct Case {
        long mask;
        std::vector<std::string> types;
    } cases[] = {
        {KRNAProvider::ALL_FAMILIES, {"Qorl", "Tarnell", "Pelm"}},
        {0x1, {"Tarnell"}},
        {0x1100, {"Qorl", "Pelm"}},
        {0x101, {"Tarnell", "Pelm"}},
        {0x1000, {"Qorl"}},
        {0x2, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.types, familiesOf(c.mask)) << std::hex << c.mask;
    // Each family was read once more, at its builder's first use.
    EXPECT_EQ(qorl + 1, providertest::qorlReads());
    EXPECT_EQ(tarnell + 1, providertest::tarnellReads());
    EXPECT_EQ(pelm + 1, providertest::pelmReads());
}

TEST_F(KRNAProviderTest, RequestsWithin180SecondsShareTheCachedSystems)
{
    base.load();
    auto systems = [] {
        RaidObject* root = nullptr;
        KRNAProvider::getConfig(root, KRNAProvider::ALL_FAMILIES, false);
        std::vector<RaidObject*> out = root->getChildren();
        KRNAProvUtil::deleteRaidObject(root);
        return out;
    };
    const std::vector<RaidObject*> first = systems();
    ASSERT_EQ(3u, first.size());
    advanceSeconds(100);
    EXPECT_EQ(first, systems());
    advanceSeconds(80);
    const std::vector<RaidObject*> refreshed = systems();
    ASSERT_EQ(3u, refreshed.size());
    for (size_t i = 0; i < 3; i++)
        EXPECT_NE(first[i], refreshed[i]);
}

TEST_F(KRNAProviderTest, AFamilyWhoseLibraryWasNotCreatedIsLeftOut)
{
    vesksim::failNextAllocation();
    base.load();
    EXPECT_EQ((std::vector<std::string>{"Tarnell", "Pelm"}), familiesOf(KRNAProvider::ALL_FAMILIES));
    EXPECT_EQ(1u, logMessages("getConfig qorlLib is NOT ready").size());
}

TEST_F(KRNAProviderTest, LoadsCountAndTheLastUnloadDeletesTheBuilders)
{
    EXPECT_EQ(0, base.load());
    EXPECT_EQ(0, base.load());
    EXPECT_EQ(1u, logMessages("(KRNAProvider) load() Loading Config builders.").size());
    EXPECT_EQ(1u, logMessages("(KRNAProvider) load() - Config builders are already initialized").size());
    KRNAConfigBuilder* qorl = KRNAProvider::qorlConfigBuilder;
    EXPECT_EQ(0, base.unload());
    EXPECT_EQ(1, KRNAProvider::providerCount);
    EXPECT_EQ(qorl, KRNAProvider::qorlConfigBuilder);
    EXPECT_TRUE(logMessages("Deleting").empty());

    EXPECT_EQ(0, base.unload());
    EXPECT_EQ(0, KRNAProvider::providerCount);
    EXPECT_EQ(nullptr, KRNAProvider::qorlConfigBuilder);
    EXPECT_EQ(nullptr, KRNAProvider::tarnellConfigBuilder);
    EXPECT_EQ(nullptr, KRNAProvider::pelmConfigBuilder);
    EXPECT_EQ((std::vector<std::string>{"[debug] (KRNAProvider) Deleting qorlConfigBuilder",
                                        "[debug] (KRNAProvider) Deleting tarnellConfigBuilder",
                                        "[debug] (KRNAProvider) Deleting pelmConfigBuilder"}),
              logMessages("(KRNAProvider) Deleting"));

    EXPECT_EQ(0, base.unload());
    EXPECT_EQ(-1, KRNAProvider::providerCount);
    EXPECT_EQ(1u, logMessages("(KRNAProvider) unload() - Config builders already deleted").size());
    // Without builders a request finds no family.
    EXPECT_TRUE(familiesOf(KRNAProvider::ALL_FAMILIES).empty());
}

TEST_F(KRNAProviderTest, LookupsThatClimbToTheRootStayInTheirFamily)
{
    // A Pelm chunk names a disk its controller lacks; the Qorl controller with
    // the same adapter id has one at that place.
    pelmsim::Scenario scenario = pelmsim::defaultScenario();
    pelmsim::Controller& pelm = scenario.controllers.at(0);
    ASSERT_EQ(0u, pelm.number);
    pelm.drives.erase(std::remove_if(pelm.drives.begin(), pelm.drives.end(),
                                     [](const pelmsim::Drive& d) { return d.channel == 0 && d.target == 1; }),
                      pelm.drives.end());
    pelmsim::reset(scenario);
    base.load();
    RaidObject* root = nullptr;
    KRNAProvider::getConfig(root, KRNAProvider::ALL_FAMILIES, false);
    std::vector<RaidObject*> chunks;
    root->getChildren(chunks, "Chunk", true, true);
    Chunk* orphan = nullptr;
    for (RaidObject* o : chunks) {
        Chunk* chunk = static_cast<Chunk*>(o);
        EXPECT_NE(root, chunk->getRoot());
        const LogicalDrive* drive = dynamic_cast<const LogicalDrive*>(chunk->getParent());
        if (chunk->getRoot()->isInstanceOf("PelmSystem") && drive && drive->getAdapter()->getAdapterID() == 0 &&
            chunk->getChannelID() == 0 && chunk->getDeviceID() == 1) {
            orphan = chunk;
        } else if (RaidObject* disk = chunk->getPhysicalDevice()) {
            EXPECT_EQ(chunk->getRoot(), disk->getRoot());
        }
    }
    ASSERT_NE(nullptr, orphan);
    EXPECT_EQ(nullptr, orphan->getPhysicalDevice());
    KRNAProvUtil::deleteRaidObject(root);
}

TEST_F(KRNAProviderTest, GetLibNamesTheLibraryOfTheAdaptersFamily)
{
    EXPECT_EQ(nullptr, KRNAProvider::getLib(nullptr));
    base.load();
    RaidObject* root = nullptr;
    KRNAProvider::getConfig(root, KRNAProvider::ALL_FAMILIES, false);
    KRNAConfigBuilder* builders[] = {KRNAProvider::qorlConfigBuilder, KRNAProvider::tarnellConfigBuilder,
                                     KRNAProvider::pelmConfigBuilder};
    for (unsigned long i = 0; i < root->getChildCount(); i++) {
        std::vector<RaidObject*> adapters;
        root->getChild(static_cast<int>(i))->getChildren(adapters, "Adapter", true, true);
        ASSERT_FALSE(adapters.empty());
        for (RaidObject* a : adapters)
            EXPECT_EQ(builders[i]->getLib(), KRNAProvider::getLib(static_cast<Adapter*>(a)));
    }
    KRNAProvUtil::deleteRaidObject(root);
}

} // namespace
