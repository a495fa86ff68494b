#include <gtest/gtest.h>

#include <dlfcn.h>

#include <atomic>
#include <climits>
#include <set>
#include <thread>
#include <vector>

#include "TarnellSim.h"
#include "storagedll/jdllhandles.h"
#include "storagedll/storjdll.h"

// The table of the legacy bridge's interface objects and the converter's
// load hooks, without a JVM.

using legacyjdll::InterfaceLease;
using legacyjdll::InterfaceTable;

namespace {

// An interface object that opened nothing and counts its deletion.
class CountingIntf : public StoreDLLIntf {
public:
    explicit CountingIntf(std::atomic<int>& deleted) : StoreDLLIntf(nullptr), deletedCount(deleted) {}
    ~CountingIntf() override { ++deletedCount; }

private:
    std::atomic<int>& deletedCount;
};

} // namespace

TEST(InterfaceTable, IndexesAreNeverHandedOutTwice)
{
    std::atomic<int> deleted{0};
    InterfaceTable table;
    const jint first = table.add(new CountingIntf(deleted));
    const jint second = table.add(new CountingIntf(deleted));
    EXPECT_GT(first, 0);
    EXPECT_GT(second, first);
    EXPECT_NE(nullptr, table.peek(first));
    EXPECT_NE(table.peek(first), table.peek(second));

    table.remove(first);
    EXPECT_EQ(1, deleted);
    EXPECT_EQ(nullptr, table.peek(first));    // stale
    EXPECT_FALSE(table.hold(first));
    table.remove(first);                       // a second removal finds nothing
    EXPECT_EQ(1, deleted);

    const jint third = table.add(new CountingIntf(deleted));
    EXPECT_GT(third, second);
    for (jint unknown : {0, -1, third + 1, INT_MAX})
        EXPECT_FALSE(table.hold(unknown)) << unknown;
    EXPECT_EQ(2u, table.size());
    EXPECT_EQ(0, table.add(nullptr));
}

TEST(InterfaceTable, AnObjectHeldWhenRemovedGoesWithItsLastLease)
{
    std::atomic<int> deleted{0};
    InterfaceTable table;
    const jint index = table.add(new CountingIntf(deleted));
    InterfaceLease first = table.hold(index);
    InterfaceLease second = table.hold(index);
    ASSERT_TRUE(first);
    StoreDLLIntf* intf = first.get();

    table.remove(index);
    EXPECT_EQ(0, deleted);
    EXPECT_FALSE(table.hold(index));           // no new holder
    EXPECT_EQ(nullptr, table.peek(index));
    EXPECT_EQ(intf, second.get());             // the holders keep theirs

    InterfaceLease moved = std::move(first);
    EXPECT_FALSE(first);
    first = InterfaceLease();
    EXPECT_EQ(0, deleted);
    second = InterfaceLease();
    EXPECT_EQ(0, deleted);
    moved = InterfaceLease();
    EXPECT_EQ(1, deleted);
    EXPECT_EQ(0u, table.size());
}

TEST(InterfaceTable, RefusesWhenEveryIndexIsUsed)
{
    std::atomic<int> deleted{0};
    InterfaceTable table;
    table.setNextIndexForTest(INT_MAX);
    EXPECT_EQ(INT_MAX, table.add(new CountingIntf(deleted)));
    CountingIntf* refused = new CountingIntf(deleted);
    EXPECT_EQ(0, table.add(refused));
    delete refused;   // not taken over
    EXPECT_EQ(1u, table.size());
}

TEST(InterfaceTable, DestructionDeletesWhatIsLeft)
{
    std::atomic<int> deleted{0};
    {
        InterfaceTable table;
        table.add(new CountingIntf(deleted));
        table.add(new CountingIntf(deleted));
    }
    EXPECT_EQ(2, deleted);
}

// Threads add, hold and remove at once: every index is unique, no object is
// deleted while held, and each is deleted exactly once.
TEST(InterfaceTable, ThreadsHoldWhileOthersRemove)
{
    std::atomic<int> deleted{0};
    InterfaceTable table;
    const int rounds = 200;
    const jint shared = table.add(new CountingIntf(deleted));
    std::vector<std::vector<jint>> added(4);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < rounds; ++i) {
                const jint own = table.add(new CountingIntf(deleted));
                added[t].push_back(own);
                {
                    InterfaceLease lease = table.hold(shared);
                    if (lease) {
                        EXPECT_EQ(nullptr, lease.get()->getName());   // still a live object
                    }
                    if (t == 0 && i == rounds / 2)
                        table.remove(shared);
                }
                InterfaceLease mine = table.hold(own);
                EXPECT_TRUE(mine);
                table.remove(own);
                EXPECT_TRUE(mine.get() != nullptr);
            }
        });
    }
    for (std::thread& th : threads)
        th.join();
    EXPECT_FALSE(table.hold(shared));
    std::set<jint> all{shared};
    for (const auto& list : added)
        all.insert(list.begin(), list.end());
    EXPECT_EQ(size_t(4 * rounds + 1), all.size());
    EXPECT_EQ(4 * rounds + 1, deleted);
    EXPECT_EQ(0u, table.size());
}

// The core's DlInit and DlTerm manage its own converter; the simulated C
// API's hooks of the same names are not called by them.
TEST(LegacyHooks, DlInitAndDlTermOfTheCore)
{
    void* core = dlopen("libtarnellcore.so", RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(nullptr, core);
    auto dlInit = reinterpret_cast<void (*)()>(dlsym(core, "DlInit"));
    auto dlTerm = reinterpret_cast<void (*)()>(dlsym(core, "DlTerm"));
    ASSERT_NE(nullptr, dlInit);
    ASSERT_NE(nullptr, dlTerm);

    dlTerm();
    EXPECT_EQ(nullptr, currentLegacyConverter());
    const int simInits = TarnellSimDlInitCount();
    const int simTerms = TarnellSimDlTermCount();
    dlInit();
    StorageDataConverter* conv = currentLegacyConverter();
    ASSERT_NE(nullptr, conv);
    dlInit();
    EXPECT_EQ(conv, currentLegacyConverter());
    uint32_t failId = 7;
    EXPECT_EQ(1, conv->ConstructorOK(failId));
    EXPECT_EQ(0u, failId);

    dlTerm();
    EXPECT_EQ(nullptr, currentLegacyConverter());
    dlTerm();
    EXPECT_EQ(simInits, TarnellSimDlInitCount());
    EXPECT_EQ(simTerms, TarnellSimDlTermCount());
    dlclose(core);
}
