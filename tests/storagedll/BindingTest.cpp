#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstring>
#include <memory>
#include <tuple>
#include <type_traits>
#include <vector>

#include "TarnellSim.h"
#include "storagedll/storintf.h"

// The binding over the simulated controller library. The test program links
// libtarnellapi.so, so opening it by name finds that copy; the variants are
// opened by path (TARNELLAPI_VARIANT_DIR).

namespace {

const char* const apiLibrary = "libtarnellapi.so";

std::string variantPath(const char* file) {
    return std::string(TARNELLAPI_VARIANT_DIR) + "/" + file;
}

// A recognisable address, so the call log can show that it arrived unchanged.
_STORAGE_ADDRESS_ID patternAddress() {
    _STORAGE_ADDRESS_ID a;
    memset(&a, 0, sizeof a);
    a.usSystemID = 1;
    a.usAdapterID = 5;
    a.usVirtDevID = 3;
    a.usArrayID = 2;
    a.usChannelID = 1;
    a.usPhysDevID = 9;
    a.ulMap = 0x80000200u;
    memcpy(a.ucDllName, "PATTERN", 8);
    return a;
}

// Arguments for any operation: addresses get the pattern, references and
// buffers zeroed storage of their own, scalars 0.
class Args {
public:
    template <class P>
    P make() {
        using T = std::remove_cv_t<std::remove_reference_t<P>>;
        if constexpr (std::is_same<T, _STORAGE_ADDRESS_ID>::value) {
            _STORAGE_ADDRESS_ID* a = store(sizeof(T));
            *a = patternAddress();
            return *a;
        } else if constexpr (std::is_lvalue_reference<P>::value) {
            return *reinterpret_cast<T*>(block(sizeof(T)));
        } else if constexpr (std::is_pointer<P>::value) {
            return reinterpret_cast<P>(block(65536));
        } else if constexpr (std::is_integral<T>::value) {
            // Each scalar a value of its own, so the call log shows their order.
            T value = static_cast<T>(nextScalar++);
            scalars.push_back(static_cast<long long>(value));
            return value;
        } else {
            T value;
            memset(&value, 0, sizeof value);
            return value;
        }
    }

    // The integral values handed out so far, in order.
    std::vector<long long> scalars;

private:
    _STORAGE_ADDRESS_ID* store(size_t n) { return reinterpret_cast<_STORAGE_ADDRESS_ID*>(block(n)); }
    unsigned char* block(size_t n) {
        blocks.emplace_back(new unsigned char[n < 4096 ? 4096 : n]());
        return blocks.back().get();
    }
    std::vector<std::unique_ptr<unsigned char[]>> blocks;
    long long nextScalar = 11;
};

// Calls an operation with made-up arguments; answers its int result or its
// S_Ret code, and the scalar arguments it was given.
template <class R, class... P>
int callOperation(StoreDLLIntf& intf, R (StoreDLLIntf::*op)(P...), std::vector<long long>& scalars) {
    Args args;
    std::tuple<P...> values{args.make<P>()...};   // made left to right
    scalars = args.scalars;
    R result = std::apply([&](auto&... a) { return (intf.*op)(a...); }, values);
    if constexpr (std::is_same<R, S_Ret>::value) {
        return result.iReturnCode;
    } else {
        return int(result);
    }
}

struct Operation {
    const char* name;
    StorApiKind kind;
    int (*call)(StoreDLLIntf&, std::vector<long long>&);
};

#define BINDING_OPERATION_ROW(kind, name, params, args) \
    {#name, STORAPI_KIND_##kind,                       \
     [](StoreDLLIntf& intf, std::vector<long long>& scalars) {                 \
         return callOperation(intf, &StoreDLLIntf::name, scalars);               \
     }},
const Operation operations[] = {STORAPI_ALL_OPS(BINDING_OPERATION_ROW)};
#undef BINDING_OPERATION_ROW

class Binding : public ::testing::Test {
protected:
    void SetUp() override { tarnellsim::reset(); }
    void TearDown() override { tarnellsim::reset(); }
};

} // namespace

TEST_F(Binding, EveryForwarderReachesTheEntryPointOfItsName)
{
    StoreDLLIntf intf(apiLibrary);
    uint32_t failId = 1;
    ASSERT_NE(intf.ConstructorOK(failId), 0);

    static_assert(sizeof(operations) / sizeof(operations[0]) == STORAPI_OP_COUNT, "one row per operation");
    const _STORAGE_ADDRESS_ID pattern = patternAddress();
    for (unsigned i = 0; i < STORAPI_OP_COUNT; ++i) {
        const Operation& op = operations[i];
        ASSERT_STREQ(op.name, StoreDLLIntf::entryName(i));
        ASSERT_TRUE(intf.hasEntry(i)) << op.name;
        if (op.kind == STORAPI_KIND_BOOL) {
            continue;   // ConstructorOK: below
        }
        // A code of its own per operation: a forwarder wired to another entry
        // point, or answering through the wrong result kind, shows another code.
        const int code = 1000 + int(i);
        tarnellsim::clearCalls();
        tarnellsim::injectFailure(op.name, code);
        std::vector<long long> scalars;
        EXPECT_EQ(op.call(intf, scalars), code) << op.name;

        std::vector<tarnellsim::Call> log = tarnellsim::calls();
        ASSERT_EQ(log.size(), 1u) << op.name;
        EXPECT_EQ(log[0].name, op.name);
        EXPECT_EQ(log[0].result, code) << op.name;
        EXPECT_EQ(log[0].args, scalars) << op.name;
        if (log[0].hasAddress) {
            EXPECT_EQ(memcmp(&log[0].address, &pattern, sizeof pattern), 0) << op.name;
        }
    }
    tarnellsim::clearFailures();

    tarnellsim::injectFailure("ConstructorOK", 0x1234);
    failId = 0;
    EXPECT_EQ(intf.ConstructorOK(failId), 0);
    EXPECT_EQ(failId, 0x1234u);
}

TEST_F(Binding, ResultsAndArgumentsPassBothWays)
{
    StoreDLLIntf intf(apiLibrary);

    // Count and list: the count alone, then the list.
    _STORAGE_ADDRESS_ID zero;
    memset(&zero, 0, sizeof zero);
    uint16_t count = 0;
    S_Ret r = intf.SupportedAdapterCount(zero, count, nullptr, 0);
    ASSERT_EQ(r.iReturnCode, 0);
    ASSERT_GT(count, 0);
    std::vector<_STORAGE_ADDRESS_ID> list(count);
    uint16_t listed = 0;
    r = intf.SupportedAdapterCount(zero, listed, list.data(), uint32_t(count * sizeof(_STORAGE_ADDRESS_ID)));
    ASSERT_EQ(r.iReturnCode, 0);
    EXPECT_EQ(listed, count);

    // A record filled by reference, for the address the list gave.
    _RAID_ADAPTER_INFO info;
    memset(&info, 0, sizeof info);
    r = intf.RaidAdapterInfo(list[0], info);
    EXPECT_EQ(r.iReturnCode, 0);
    EXPECT_EQ(info.sAdapInfo.sAdapAddr.usAdapterID, list[0].usAdapterID);

    std::vector<tarnellsim::Call> log = tarnellsim::calls("RaidAdapterInfo");
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].address.usAdapterID, list[0].usAdapterID);

    // An int operation.
    _STORAGE_VERSION v;
    memset(&v, 0, sizeof v);
    EXPECT_EQ(intf.GetDeviceDriverVersion(list[0], v), 0);
}

TEST_F(Binding, OpeningCallsDlInitOnceAndDestructionSkipsDlTerm)
{
    const int inits = TarnellSimDlInitCount();
    const int terms = TarnellSimDlTermCount();
    void* self = dlopen(apiLibrary, RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(self, nullptr);
    void* dlInit = dlsym(self, "DlInit");
    dlclose(self);

    {
        StoreDLLIntf intf(apiLibrary);
        EXPECT_EQ(TarnellSimDlInitCount(), inits + 1);
        EXPECT_EQ(reinterpret_cast<void*>(procr), dlInit);
        EXPECT_EQ(intf.getLoadCount(), 1);

        uint32_t failId = 0;
        EXPECT_NE(intf.ConstructorOK(failId), 0);
        int present = 0;
        EXPECT_EQ(intf.IsRaidPresent(present).iReturnCode, 0);
        EXPECT_EQ(TarnellSimDlInitCount(), inits + 1);
    }
    EXPECT_EQ(TarnellSimDlInitCount(), inits + 1);
    EXPECT_EQ(TarnellSimDlTermCount(), terms);
}

TEST_F(Binding, UnloadCountsDownAndTheLastCallsDlTerm)
{
    const int inits = TarnellSimDlInitCount();
    const int terms = TarnellSimDlTermCount();
    StoreDLLIntf intf(apiLibrary);

    EXPECT_EQ(intf.LoadDLL(), 1);   // already open: only counts
    EXPECT_EQ(intf.getLoadCount(), 2);
    EXPECT_EQ(TarnellSimDlInitCount(), inits + 1);

    EXPECT_EQ(intf.UnloadDLL(), 1);
    EXPECT_TRUE(intf.isOpen());
    EXPECT_EQ(intf.getLoadCount(), 1);
    EXPECT_EQ(TarnellSimDlTermCount(), terms);

    EXPECT_EQ(intf.UnloadDLL(), 1);
    EXPECT_FALSE(intf.isOpen());
    EXPECT_EQ(TarnellSimDlTermCount(), terms + 1);

    EXPECT_EQ(intf.UnloadDLL(), 1);   // closed: nothing more
    EXPECT_EQ(TarnellSimDlTermCount(), terms + 1);
}

TEST_F(Binding, LibraryVariants)
{
    // Without GetSafteStatus: only that operation answers -3.
    {
        StoreDLLIntf intf(variantPath(TARNELLAPI_VARIANT_NO_SAFTE_STATUS).c_str());
        uint32_t failId = 1;
        ASSERT_NE(intf.ConstructorOK(failId), 0);
        EXPECT_FALSE(intf.hasEntry(STORAPI_GetSafteStatus));
        for (unsigned i = 0; i < STORAPI_OP_COUNT; ++i) {
            EXPECT_EQ(intf.hasEntry(i), i != STORAPI_GetSafteStatus) << StoreDLLIntf::entryName(i);
        }
        _STORAGE_ADDRESS_ID a;
        memset(&a, 0, sizeof a);
        _SAFTE_STATUS status;
        memset(&status, 0x5A, sizeof status);
        EXPECT_EQ(intf.GetSafteStatus(a, status).iReturnCode, -3);
        EXPECT_EQ(status.ucFanStatus[0], 0x5A);
        _SAFTE_CONFIGURATION config;
        memset(&config, 0, sizeof config);
        EXPECT_NE(intf.GetSafteConfig(a, config).iReturnCode, -3);
    }
    // Without ConstructorOK: usable for what it has, but not OK.
    {
        StoreDLLIntf intf(variantPath(TARNELLAPI_VARIANT_NO_CONSTRUCTOROK).c_str());
        uint32_t failId = 0;
        EXPECT_EQ(intf.ConstructorOK(failId), 0);
        EXPECT_EQ(failId, 0x77770001u);
        int present = 0;
        EXPECT_NE(intf.IsRaidPresent(present).iReturnCode, -3);
    }
    // A ConstructorOK that answers false passes its own id through.
    {
        StoreDLLIntf intf(variantPath(TARNELLAPI_VARIANT_CONSTRUCTOR_FAILS).c_str());
        uint32_t failId = 0;
        EXPECT_EQ(intf.ConstructorOK(failId), 0);
        EXPECT_EQ(failId, uint32_t(tarnellsim::CONSTRUCTOR_FAIL_ID));
    }
    // Without DlInit and DlTerm: opens normally, no hook is found.
    {
        StoreDLLIntf intf(variantPath(TARNELLAPI_VARIANT_NO_HOOKS).c_str());
        EXPECT_EQ(procr, nullptr);
        uint32_t failId = 1;
        EXPECT_NE(intf.ConstructorOK(failId), 0);
        EXPECT_EQ(intf.UnloadDLL(), 1);
        EXPECT_EQ(procr, nullptr);
        EXPECT_FALSE(intf.isOpen());
    }
}

TEST_F(Binding, EachOpeningOfAVariantCallsItsOwnDlInitOnce)
{
    // Held open here (dlopen calls no hook) so the counters stay readable.
    const std::string path = variantPath(TARNELLAPI_VARIANT_NO_SAFTE_STATUS);
    void* held = dlopen(path.c_str(), RTLD_NOW);
    ASSERT_NE(held, nullptr);
    typedef int (*Counter)(void);
    Counter initCount = reinterpret_cast<Counter>(dlsym(held, "TarnellSimDlInitCount"));
    Counter termCount = reinterpret_cast<Counter>(dlsym(held, "TarnellSimDlTermCount"));
    ASSERT_NE(initCount, nullptr);
    ASSERT_NE(termCount, nullptr);
    const int inits = initCount();
    const int terms = termCount();
    {
        StoreDLLIntf first(path.c_str());
        EXPECT_EQ(initCount(), inits + 1);
        StoreDLLIntf second(path.c_str());
        EXPECT_EQ(initCount(), inits + 2);
    }
    EXPECT_EQ(initCount(), inits + 2);
    EXPECT_EQ(termCount(), terms);
    dlclose(held);
}
