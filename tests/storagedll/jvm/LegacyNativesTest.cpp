#include <cstring>
#include <string>
#include <vector>

#include "LegacyTest.h"
#include "TarnellSim.h"

// The version, limit and presence natives over the simulated C API.

using namespace legacytest;

namespace {

const char* const VERSION_SIG = "(" LEGACY_API_SIG("Version") ")I";
const char* const ADDR_VERSION_SIG = "(" LEGACY_API_SIG("StorAddr") LEGACY_API_SIG("Version") ")I";

class LegacyNatives : public LegacyTest {
protected:
    jobject version() { return apiObject(API_CLASS("Version")); }

    static std::string text(const std::vector<int64_t>& chars)
    {
        std::string t;
        for (int64_t c : chars)
            t += char(c);
        return t;
    }

    // The address the simulator received with the last call of the entry point.
    static _STORAGE_ADDRESS_ID lastAddress(const char* entry)
    {
        const std::vector<tarnellsim::Call> calls = tarnellsim::calls(entry);
        EXPECT_FALSE(calls.empty()) << entry;
        return calls.empty() ? _STORAGE_ADDRESS_ID{} : calls.back().address;
    }

    static bool allZeroButAdapter(_STORAGE_ADDRESS_ID a)
    {
        a.usAdapterID = 0;
        static const _STORAGE_ADDRESS_ID zero{};
        return std::memcmp(&a, &zero, sizeof a) == 0;
    }
};

TEST_F(LegacyNatives, DllTypeAndVersionsOfTheLibrary)
{
    jobject dll = open();
    jobject type = apiObject(API_CLASS("DllType"));
    EXPECT_EQ(0, callNative(dll, "cGetDLLType", {obj(type)}));
    EXPECT_EQ(1, scalar(type, "sCmndType", "S"));
    EXPECT_EQ("ZEQ     ", text(elements(type, "cScsiVendorId", "[C")));
    EXPECT_EQ((std::vector<int64_t>{'T', 'N', 'C', 'A', 'P', 'I', 0, 0}), elements(type, "baDllName", "[B"));
    EXPECT_EQ(5, scalar(type, "lFamily", "J"));
    EXPECT_EQ(32, scalar(type, "lImplementation", "J"));

    jobject v = version();
    EXPECT_EQ(0, callNative(dll, "cGetDLLVersion", {obj(v)}));
    EXPECT_EQ(2, intField(v, "iMajorVersion"));
    EXPECT_EQ(4, intField(v, "iMinorVersion"));
    EXPECT_EQ(1, intField(v, "iMaintVersion"));
    EXPECT_STREQ("2.4.1", text(elements(v, "baTextVersion", "[B")).c_str());

    for (const char* name : {"cGetDLLIntfVersion", "cGetStorageIntfVersion"}) {
        SCOPED_TRACE(name);
        jobject iv = version();
        mark(iv, 9);
        EXPECT_EQ(0, callNative(dll, name, {obj(iv)}));
        EXPECT_EQ(0, intField(iv, "iMajorVersion"));
        EXPECT_EQ(6, intField(iv, "iMinorVersion"));
        EXPECT_EQ(3, scalar(iv, "b3MValid", "B"));
    }

    jobject max = apiObject(API_CLASS("MaxAddr"));
    EXPECT_EQ(0, callNative(dll, "cGetMaxValues", {obj(max)}));
    EXPECT_EQ(15, intField(max, "iMaxAdapter"));
    EXPECT_EQ(7, intField(max, "iMaxVirtDev"));
    EXPECT_EQ(3, intField(max, "iMaxChannel"));
    EXPECT_EQ(15, intField(max, "iMaxPhysDev"));
}

TEST_F(LegacyNatives, AFailingDllTypeLeavesItsObjectAlone)
{
    jobject dll = open();
    jobject type = apiObject(API_CLASS("DllType"));
    mark(type, 5);
    const std::string before = describe(type);
    tarnellsim::injectFailure("GetDLLType", 42);
    EXPECT_EQ(42, callNative(dll, "cGetDLLType", {obj(type)}));
    EXPECT_EQ(before, describe(type));
}

// The driver and cluster versions without an address ask about adapter 0,
// the only field of an otherwise zeroed address; with one, about it.
TEST_F(LegacyNatives, DriverAndClusterVersionsAskTheRightAdapter)
{
    jobject dll = open();
    jobject v = version();
    mark(v, 1);
    const std::string before = describe(v);
    EXPECT_EQ(tarnellsim::RC_NO_ADAPTER, callNative(dll, "cGetDeviceDriverVersion", {obj(v)}, VERSION_SIG));
    EXPECT_TRUE(allZeroButAdapter(lastAddress("GetDeviceDriverVersion")));
    EXPECT_EQ(0, int(lastAddress("GetDeviceDriverVersion").usAdapterID));
    EXPECT_EQ(tarnellsim::RC_NO_ADAPTER, callNative(dll, "cGetClusterDllVersion", {obj(v)}));
    EXPECT_TRUE(allZeroButAdapter(lastAddress("GetClusterDllVersion")));
    EXPECT_EQ(before, describe(v));

    // Controller 2 through an address; a 3-char name fills 3 of the 8 bytes.
    jobject addr = apiObject(API_CLASS("StorAddr"));
    setIntField(addr, "iAdapterID", 0x10002);   // only the low 16 bits pass
    setElements(addr, "cDllName", "[C", {'A', 'B', 'C'});
    EXPECT_EQ(0, callNative(dll, "cGetDeviceDriverVersion", {obj(addr), obj(v)}, ADDR_VERSION_SIG));
    const _STORAGE_ADDRESS_ID sent = lastAddress("GetDeviceDriverVersion");
    EXPECT_EQ(2, int(sent.usAdapterID));
    EXPECT_EQ(0, std::memcmp(sent.ucDllName, "ABC\0\0\0\0\0", 8));
    EXPECT_EQ(7, intField(v, "iMajorVersion"));
    EXPECT_EQ(12, intField(v, "iMinorVersion"));

    // With a controller 0 the address-less forms succeed.
    tarnellsim::Scenario scenario = tarnellsim::defaultScenario();
    scenario.controllers[0].number = 0;
    tarnellsim::reset(scenario);
    jobject zero = version();
    EXPECT_EQ(0, callNative(dll, "cGetDeviceDriverVersion", {obj(zero)}, VERSION_SIG));
    EXPECT_EQ(7, intField(zero, "iMajorVersion"));
    EXPECT_EQ(0, callNative(dll, "cGetClusterDllVersion", {obj(zero)}));
    EXPECT_EQ(1, intField(zero, "iMajorVersion"));
}

TEST_F(LegacyNatives, AddressSchemeIsNeverAsked)
{
    jobject dll = open();
    jobject addr = apiObject(API_CLASS("StorAddr"));
    mark(addr, 2);
    const std::string before = describe(addr);
    tarnellsim::clearCalls();
    EXPECT_EQ(-3, callNative(dll, "cGetAddressScheme", {obj(addr)}));
    EXPECT_TRUE(tarnellsim::calls().empty());
    EXPECT_EQ(before, describe(addr));
}

TEST_F(LegacyNatives, LimitsAreFixedAndWrittenWithoutALibrary)
{
    jobject ret = apiObject(API_CLASS("StorRet"));
    mark(ret, 4);
    jobject limits = apiObject(API_CLASS("AdapterLimits"));
    callNative(storageDll(), "GetLimits", {obj(ret), obj(limits)});
    EXPECT_EQ(Result{}, result(ret));
    std::vector<jint> values;
    for (const char* f : {"iMaxLogicalDrives", "iMaxArrays", "iMaxSpannedArrays", "iMaxChannels", "iMaxSCSIID",
                          "iMaxDevicesPerArray", "iMaxControllers"})
        values.push_back(intField(limits, f));
    EXPECT_EQ((std::vector<jint>{8, 8, 4, 4, 15, 16, 20}), values);
}

TEST_F(LegacyNatives, StoragePresence)
{
    jobject dll = open();
    struct Case {
        bool controllers;
        bool missingLibrary;
        Result expected;
        std::string flag;
    };
    tarnellsim::Scenario empty;
    for (const Case& c : std::vector<Case>{{true, false, Result{}, "{value=true }"},
                                           {false, false, Result{}, "{value=false }"},
                                           {true, true, Result{-3, 0, 0, 0, 0, 0}, "marked"}}) {
        SCOPED_TRACE(c.flag);
        if (c.controllers)
            tarnellsim::reset();
        else
            tarnellsim::reset(empty);
        jobject target = c.missingLibrary ? open("libtarnellapi-missing.so") : dll;
        jobject ret = apiObject(API_CLASS("StorRet"));
        jobject present = apiObject(API_CLASS("BlVal"));
        mark(ret, 1);
        mark(present, 1);
        const std::string marked = describe(present);
        callNative(target, "IsStoragePresent", {obj(ret), obj(present)});
        EXPECT_EQ(c.expected, result(ret));
        EXPECT_EQ(c.flag == "marked" ? marked : c.flag, describe(present));
    }
}

} // namespace
