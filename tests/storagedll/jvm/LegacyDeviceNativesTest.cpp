#include <functional>
#include <string>
#include <vector>

#include "LegacyTest.h"
#include "TarnellSim.h"
#include "storagedll/tarnellapi.h"

// The controller, device, enclosure, slot and self-test natives over the
// simulated C API: how Java values narrow to the C parameters, what the
// natives deliver of the default scenario's records, and the natives that
// write their outputs whatever the code.

using namespace legacytest;
using namespace legacyconv;

namespace {

const int ADAPTER = 2;   // the first controller of the default scenario
const jlong ABOVE_32_BITS = 0x100000000LL;

jvalue byteArg(jbyte b)
{
    jvalue v;
    v.j = 0;
    v.b = b;
    return v;
}

template <class Record>
std::vector<uint8_t> bytesOf(const Record& rec)
{
    const auto* b = reinterpret_cast<const uint8_t*>(&rec);
    return std::vector<uint8_t>(b, b + sizeof rec);
}

class LegacyDeviceNatives : public LegacyNativeTest {};

// The record that the C API's entry point fills for an address, as bytes.
template <class Record>
std::function<std::vector<uint8_t>(_STORAGE_ADDRESS_ID)> straight(S_Ret (*entry)(_STORAGE_ADDRESS_ID, Record&))
{
    return [entry](_STORAGE_ADDRESS_ID a) {
        Record r{};
        EXPECT_EQ(0, entry(a, r).iReturnCode);
        return bytesOf(r);
    };
}
// Of an entry point that fills a byte buffer.
template <class Record>
std::function<std::vector<uint8_t>(_STORAGE_ADDRESS_ID)> straight(S_Ret (*entry)(_STORAGE_ADDRESS_ID, uint8_t*))
{
    return [entry](_STORAGE_ADDRESS_ID a) {
        Record r{};
        EXPECT_EQ(0, entry(a, reinterpret_cast<uint8_t*>(&r)).iReturnCode);
        return bytesOf(r);
    };
}

// Java values reach the C API narrowed to the C parameters: longs to their
// low 32 bits, ints to 8 or 16 bits, booleans to 0 or 1, selector bytes
// unchanged (-1 is 255), ints into unsigned 32-bit values as their bits.
TEST_F(LegacyDeviceNatives, ArgumentsNarrowToTheirCParameters)
{
    struct Case {
        const char* native;
        std::function<std::vector<jvalue>()> args;   // after the StorRet
        std::vector<long long> sent;                  // the scalars the C API received
        bool addressed;
    };
    const auto addr = [] { return obj(storAddr(ADAPTER, 0, 0)); };
    const auto block = [](jint blockLength) { return obj(byteBlk(blockLength, std::vector<int64_t>(16, 1), 4)); };
    const jlong five = ABOVE_32_BITS + 5;
    const std::vector<Case> cases = {
        {"ExecuteAdapterDiagnostics", [&] { return std::vector<jvalue>{addr(), i64(five), i64(-1)}; },
         {5, 0xFFFFFFFFLL}, true},
        {"MaxSimultaneousDevSpinUp", [&] { return std::vector<jvalue>{addr(), i64(257), i64(five)}; }, {257, 5}, true},
        {"ExecuteDeviceDiagnostics", [&] { return std::vector<jvalue>{addr(), i64(65537), i64(five)}; },
         {65537, 5}, true},
        {"ExecuteSubSystemDiagnostics", [&] { return std::vector<jvalue>{addr(), i64(five), i64(-ABOVE_32_BITS - 2)}; },
         {5, 0xFFFFFFFELL}, true},
        {"SetAdapChanInitID", [&] { return std::vector<jvalue>{addr(), i64(five)}; }, {5}, true},
        {"SetDevXferSpeed", [&] { return std::vector<jvalue>{addr(), i64(five)}; }, {5}, true},
        {"SetBiosMappingMode", [&] { return std::vector<jvalue>{addr(), i32(257)}; }, {1}, true},
        {"DriveSelfTest", [&] { return std::vector<jvalue>{addr(), i32(65537), i32(2), i32(3)}; }, {1, 2, 3}, true},
        {"DriveSelfTest", [&] { return std::vector<jvalue>{addr(), i32(1), i32(65538), i32(3)}; }, {1, 2, 3}, true},
        {"DriveSelfTest", [&] { return std::vector<jvalue>{addr(), i32(1), i32(2), i32(65539)}; }, {1, 2, 3}, true},
        {"BatteryBackupCache", [&] { return std::vector<jvalue>{addr(), flag(true)}; }, {1}, true},
        {"BatteryBackupCache", [&] { return std::vector<jvalue>{addr(), flag(false)}; }, {0}, true},
        {"MonitorRaidStatistics", [&] { return std::vector<jvalue>{addr(), flag(true)}; }, {1}, true},
        {"MonitorSubSystemStatistics", [&] { return std::vector<jvalue>{addr(), flag(false)}; }, {0}, true},
        {"GetSlotPowerState", [&] { return std::vector<jvalue>{addr(), i32(-2)}; }, {0xFFFFFFFELL}, true},
        {"SetSlotPowerState", [&] { return std::vector<jvalue>{addr(), i32(257), flag(true)}; }, {257, 1}, true},
        {"SetHotSwapState", [&] { return std::vector<jvalue>{i32(-1), flag(false)}; }, {0xFFFFFFFFLL, 0}, false},
        {"ErasePhysDevEventLog", [&] { return std::vector<jvalue>{addr(), byteArg(-1)}; }, {255}, true},
        {"IdentifyPhysicalDrive", [&] { return std::vector<jvalue>{addr(), byteArg(-1)}; }, {255}, true},
        {"EraseSubSystemEventLog", [&] { return std::vector<jvalue>{addr(), byteArg(-128)}; }, {128}, true},
        {"GetPhysDevEventLog", [&] { return std::vector<jvalue>{addr(), block(4), byteArg(-1)}; }, {4, 255}, true},
        {"GetSubSystemEventLog", [&] { return std::vector<jvalue>{addr(), block(4), byteArg(2)}; }, {4, 2}, true},
        {"ReadModePageCmnd", [&] { return std::vector<jvalue>{addr(), block(16), i64(ABOVE_32_BITS + 8)}; },
         {16, 8}, true},
        {"ReadPhysDisk",
         [&] {
             return std::vector<jvalue>{addr(), obj(apiObject(API_CLASS("DataAddr"))), block(8), block(4),
                                        i64(five), i64(ABOVE_32_BITS * 3 + 257), flag(true)};
         },
         {8, 4, 5, 257, 1}, true},
        {"ExecDeviceCmnd",
         [&] {
             return std::vector<jvalue>{addr(),       block(2),      block(8),    block(4),    block(6),
                                        i64(five), i64(65537), flag(false), flag(true)};
         },
         {2, 8, 4, 6, 5, 65537, 0, 1}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.native);
        tarnellsim::clearCalls();
        call(c.native, c.args());
        const std::vector<tarnellsim::Call> calls = tarnellsim::calls(c.native);
        ASSERT_EQ(1u, calls.size());
        EXPECT_EQ(c.sent, calls[0].args);
        EXPECT_EQ(c.addressed, calls[0].hasAddress);
    }
}

// What the natives deliver is what the simulator's records hold, converted
// by the records' tables.
TEST_F(LegacyDeviceNatives, RecordsOfTheDefaultScenario)
{
    struct Case {
        const char* native;
        int channel, device;
        const RecordTable& table;
        std::function<std::vector<uint8_t>(_STORAGE_ADDRESS_ID)> record;   // straight from the C API
    };
    const std::vector<Case> cases = {
        {"AdapterInfo", 0, 0, adapterInfoTable, straight(::AdapterInfo)},
        {"AdapterStatus", 0, 0, adapterStatusTable, straight(::AdapterStatus)},
        {"DeviceInfo", 0, 0, deviceInfoTable, straight(::DeviceInfo)},
        {"DeviceCapacity", 0, 0, deviceSizeTable, straight(::DeviceCapacity)},
        {"GetSystemVPD", 0, 0, vpdInquiryTable, straight(::GetSystemVPD)},
        {"GetSafteConfig", 0, 15, safteConfigTable, straight(::GetSafteConfig)},
        {"GetSafteStatus", 0, 15, safteStatusTable, straight(::GetSafteStatus)},
        {"GetFailoverInfo", 0, 0, failoverInfoTable, straight<_IOCTL_FO_INFO>(::GetFailoverInfo)},
        {"GetInitiatorIDs", 0, 0, initiatorIdsTable, straight<_IOCTL_INITIATOR_IDS>(::GetInitiatorIDs)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.native);
        jobject out = apiObject(c.table.javaClass);
        mark(out, 5);
        EXPECT_EQ(Result{}, call(c.native, {obj(storAddr(ADAPTER, c.channel, c.device)), obj(out)}));
        const std::vector<uint8_t> record = c.record(cAddress(ADAPTER, c.channel, c.device));
        expectFields(out, c.table, record.data());
    }
    _ADAPTER_INFO adapter{};
    ::AdapterInfo(cAddress(ADAPTER), adapter);
    EXPECT_EQ(ADAPTER, adapter.usAdapNum);
    EXPECT_EQ(3, adapter.usAdapChanCount);

    // A few of those values by name.
    jobject safte = apiObject(API_CLASS("SafteConfig"));
    call("GetSafteConfig", {obj(storAddr(ADAPTER, 0, 15)), obj(safte)});
    EXPECT_EQ(3, scalar(safte, "sFanCount", "S"));
    EXPECT_EQ(14, scalar(safte, "sDeviceSlotCount", "S"));
    jobject ids = apiObject(API_CLASS("InitiatorIDs"));
    call("GetInitiatorIDs", {obj(storAddr(ADAPTER)), obj(ids)});
    EXPECT_EQ(3, scalar(ids, "bNumChannels", "B"));
    EXPECT_EQ((std::vector<int64_t>{7, 7, 7, 0}), elements(ids, "baInitiators", "[B"));

    // The hot-plug slots are the controllers' slots, 3 and 6.
    jobject slots = apiObject(API_CLASS("HotPCISlots"));
    mark(slots, 1);
    EXPECT_EQ(Result{}, call("FindHotPCISlots", {obj(slots)}));
    std::vector<int64_t> expected(32, 0);
    expected[3] = expected[6] = 1;
    EXPECT_EQ(expected, elements(slots, "blaHotSlots", "[Z"));

    // Counts and types into their holders.
    jobject count = apiObject(API_CLASS("IVal"));
    uint16_t devices = 0;
    ::AdapterDeviceCount(cAddress(ADAPTER), devices);
    EXPECT_EQ(Result{}, call("AdapterDeviceCount", {obj(storAddr(ADAPTER)), obj(count)}));
    EXPECT_EQ(devices, scalar(count, "value", "I"));
    jobject type = apiObject(API_CLASS("IVal"));
    EXPECT_EQ(Result{}, call("DeviceType", {obj(storAddr(ADAPTER, 0, 15)), obj(type)}));
    EXPECT_EQ(int(tarnellsim::DEVTYPE_ENCLOSURE), scalar(type, "value", "I"));
    jobject pfa = apiObject(API_CLASS("BlVal"));
    jobject info = apiObject(API_CLASS("LVal"));
    mark(info, 2);
    EXPECT_EQ(Result{}, call("PFADevice", {obj(storAddr(5, 1, 9)), obj(pfa), obj(info)}));
    EXPECT_EQ("{value=true }", describe(pfa));
    EXPECT_EQ("{value=0 }", describe(info));
}

// Without its entry point the native delivers -3 and leaves its output; the
// other entry points of that library still answer.
TEST_F(LegacyDeviceNatives, ALibraryWithoutSafteStatus)
{
    jobject variant = open(TARNELLAPI_NO_SAFTESTATUS);
    jobject status = apiObject(API_CLASS("SafteStatus"));
    mark(status, 4);
    const std::string before = describe(status);
    jobject ret = storRet();
    callNative(variant, "GetSafteStatus", {obj(ret), obj(storAddr(ADAPTER, 0, 15)), obj(status)});
    EXPECT_EQ((Result{-3, 0, 0, 0, 0, 0}), result(ret));
    EXPECT_EQ(before, describe(status));
    callNative(variant, "GetSafteConfig",
               {obj(ret), obj(storAddr(ADAPTER, 0, 15)), obj(apiObject(API_CLASS("SafteConfig")))});
    EXPECT_EQ(Result{}, result(ret));
}

// The slot's power state arrives in the signed value of the result, which
// keeps only its code besides; the state starts at 0.
TEST_F(LegacyDeviceNatives, SlotPowerStateInTheResult)
{
    struct Case {
        const char* what;
        uint32_t state;
        int adapter;
        int failure;
        Result expected;
    };
    const std::vector<Case> cases = {
        {"powered", 1, ADAPTER, 0, Result{0, 0, 0, 0, 0, 1}},
        {"all ones", 0xFFFFFFFF, ADAPTER, 0, Result{0, 0, 0, 0, 0, -1}},
        {"a failing call", 1, ADAPTER, tarnellsim::RC_BUSY, Result{tarnellsim::RC_BUSY, 0, 0, 0, 0, 0}},
        {"no such controller", 1, 9, 0, Result{tarnellsim::RC_NO_ADAPTER, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        tarnellsim::Scenario scenario = tarnellsim::defaultScenario();
        scenario.controllers[0].slotPowerState = c.state;
        tarnellsim::reset(scenario);
        if (c.failure)
            tarnellsim::injectFailure("GetSlotPowerState", c.failure);
        EXPECT_EQ(c.expected, call("GetSlotPowerState", {obj(storAddr(c.adapter)), i32(3)}));
    }
    tarnellsim::reset();
    EXPECT_EQ(Result{}, call("SetSlotPowerState", {obj(storAddr(ADAPTER)), i32(3), flag(false)}));
    EXPECT_EQ(Result{}, call("GetSlotPowerState", {obj(storAddr(ADAPTER)), i32(3)}));
}

// CheckCodeVersions writes its value whatever the code: 0 when the call set none.
TEST_F(LegacyDeviceNatives, CodeVersionsWhateverTheCode)
{
    tarnellsim::Scenario scenario = tarnellsim::defaultScenario();
    scenario.controllers[0].codeVersions = 1;
    tarnellsim::reset(scenario);
    jobject mismatch = apiObject(API_CLASS("LVal"));
    mark(mismatch, 6);
    EXPECT_EQ(Result{}, call("CheckCodeVersions", {obj(storAddr(ADAPTER)), obj(mismatch)}));
    EXPECT_EQ("{value=1 }", describe(mismatch));

    mark(mismatch, 6);
    tarnellsim::injectFailure("CheckCodeVersions", tarnellsim::RC_BUSY);
    EXPECT_EQ((Result{tarnellsim::RC_BUSY, 0, 0, 0, 0, 0}),
              call("CheckCodeVersions", {obj(storAddr(ADAPTER)), obj(mismatch)}));
    EXPECT_EQ("{value=0 }", describe(mismatch));
}

TEST_F(LegacyDeviceNatives, SelfTests)
{
    tarnellsim::Scenario scenario = tarnellsim::defaultScenario();
    std::vector<uint8_t> log(40);
    for (size_t i = 0; i < log.size(); ++i)
        log[i] = uint8_t(i + 1);
    scenario.controllers[0].devices[0].selfTestLog = log;
    tarnellsim::reset(scenario);

    // The capability query answers in the result's unsigned value.
    EXPECT_EQ((Result{0, 0, 0, 0, 3, 0}), call("DriveSelfTest", {obj(storAddr(ADAPTER, 0, 0)), i32(3), i32(0), i32(0)}));
    jobject percent = apiObject(API_CLASS("SVal"));
    EXPECT_EQ(Result{}, call("CheckDriveSelfTestProgress", {obj(storAddr(ADAPTER, 0, 0)), obj(percent)}));
    EXPECT_EQ(100, scalar(percent, "value", "S"));

    // The log: the C API fills the block length (16 of a 64-byte buffer) and
    // that much comes back, as far as the array holds it; then the count.
    struct Case {
        size_t arrayLength;
        jint copied;
    };
    for (const Case& c : {Case{64, 16}, Case{8, 8}}) {
        SCOPED_TRACE(c.arrayLength);
        jobject block = byteBlk(16, std::vector<int64_t>(c.arrayLength, -1), 0);
        jobject count = apiObject(API_CLASS("SVal"));
        EXPECT_EQ(Result{}, call("GetDriveSelfTestLog", {obj(storAddr(ADAPTER, 0, 0)), obj(block), obj(count)}));
        EXPECT_EQ(c.copied, transferOf(block));
        std::vector<int64_t> expected(c.arrayLength, -1);
        for (jint i = 0; i < c.copied; ++i)
            expected[size_t(i)] = log[size_t(i)];
        EXPECT_EQ(expected, blockBytes(block));
        EXPECT_EQ(2, scalar(count, "value", "S"));
    }
}

TEST_F(LegacyDeviceNatives, ChangeFlagAndSubsystemLevel)
{
    jobject changed = apiObject(API_CLASS("BlVal"));
    EXPECT_EQ(Result{}, call("GetAdapterChangeStatus", {obj(changed)}));
    EXPECT_EQ("{value=false }", describe(changed));
    EXPECT_EQ(Result{}, call("SetAdapChanInitID", {obj(storAddr(ADAPTER, 1)), i64(6)}));
    EXPECT_EQ(Result{}, call("GetAdapterChangeStatus", {obj(changed)}));
    EXPECT_EQ("{value=true }", describe(changed));
    EXPECT_FALSE(tarnellsim::calls("GetAdapterChangeStatus").back().hasAddress);

    jobject present = apiObject(API_CLASS("BlVal"));
    mark(present, 1);
    EXPECT_EQ(Result{}, call("IsSubSystemPresent", {obj(present)}));
    EXPECT_EQ("{value=false }", describe(present));

    _STORAGE_VERSION expected{};
    ASSERT_EQ(0, ::GetSubSysIntfVersion(expected));
    jobject version = apiObject(API_CLASS("Version"));
    EXPECT_EQ(0, callNative(dll, "cGetSubSysIntfVersion", {obj(version)}));
    expectRecord(version, versionTable, expected);

    // Devices of a subsystem: the simulated controllers have none.
    jobject size = apiObject(API_CLASS("DeviceSize"));
    mark(size, 8);
    const std::string before = describe(size);
    EXPECT_EQ((Result{tarnellsim::RC_NO_OBJECT, 0, 0, 0, 0, 0}),
              call("SubSystemDeviceCapacity", {obj(storAddr(ADAPTER)), obj(size)}));
    EXPECT_EQ(before, describe(size));
}

} // namespace
