#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "LegacyRaidTest.h"
#include "../ProgressRecord.h"
#include "storagedll/storjdllcall.h"

// The RAID natives over the simulated controllers: logical-drive tables,
// lists, address-list and byte-block inputs, cluster, FRU, battery and
// feature data, the widths of the values passed, and task progress.

using namespace legacytest;

namespace {

const char* const VIRT_DRV_SIG = LEGACY_API_SIG("VirtDrvParms");
const long long ENQUIRY_ARGS[] = {16, 212, 0, 0, 60, 1, 1, 0};

std::vector<int64_t> bytesOf(const std::string& text, size_t size)
{
    std::vector<int64_t> out(text.begin(), text.end());
    out.resize(size, 0);
    return out;
}

jobject holder(const char* cls) { return apiObject(cls); }

class LegacyRaidNatives : public LegacyRaidTest {
protected:
    jobject drive(jobject table, int i)
    {
        return objectField(table, ("oVirtDrv" + std::to_string(i)).c_str(), VIRT_DRV_SIG);
    }

    // The nine fields of a ProgressInfo in their order.
    static std::vector<int64_t> progressOf(jobject p)
    {
        std::vector<int64_t> out;
        for (const char* f : {"bOpcode", "bVirtDrive", "bCheckOption", "bStatus", "bPercentComplete",
                              "bSubOpcodeQualifier"})
            out.push_back(scalar(p, f, "B"));
        out.push_back(scalar(p, "bChannels", "S"));
        out.push_back(scalar(p, "bScsiIDs", "S"));
        out.push_back(scalar(p, "bSLDVirtDrive", "B"));
        return out;
    }

    // The calls a RecordingAddrList received.
    std::string recorded(jobject list)
    {
        jobject log = objectField(list, "log", "Ljava/lang/StringBuilder;");
        jclass cls = e->GetObjectClass(log);
        auto text = static_cast<jstring>(e->CallObjectMethod(log, e->GetMethodID(cls, "toString", "()Ljava/lang/String;")));
        expectNoException(e, "toString");
        const char* chars = e->GetStringUTFChars(text, nullptr);
        const std::string out(chars);
        e->ReleaseStringUTFChars(text, chars);
        return out;
    }
};

// Tables of 207 bytes or less hold no entry; 208 one; 4 + 204 n bytes n.
TEST_F(LegacyRaidNatives, LogicalDriveTablesBySize)
{
    const struct {
        int64_t length;
        int entries;
    } cases[] = {{207, 0}, {100, 0}, {208, 1}, {616, 3}, {-1, 8}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        LocalFrame frame;
        resetWith(CONTROLLER_A, [&](tarnellsim::Controller& ctl) { ctl.hldTableLength = c.length; });
        jobject table = apiObject(API_CLASS("VirtDrv"));
        mark(table, 5);
        tarnellsim::clearCalls();
        EXPECT_EQ(Result{}, call("GetVirtDevLdTable", {obj(storAddr(CONTROLLER_A)), obj(table), i32(1)}));

        const std::vector<tarnellsim::Call> sent = tarnellsim::calls("GetVirtDevLdTable");
        ASSERT_EQ(c.entries ? 2u : 1u, sent.size());
        EXPECT_EQ((std::vector<long long>{0, 1}), sent[0].args);
        if (c.entries) {
            EXPECT_EQ((std::vector<long long>{c.length < 0 ? 1636 : c.length, 1}), sent[1].args);
        }
        const uint32_t sizes[] = {20000, 12000, 30000, 100000, 68000};
        for (int i = 0; i < 8; ++i) {
            jobject d = drive(table, i);
            if (i < c.entries) {
                EXPECT_EQ(i < 5 ? int64_t(sizes[i]) * 2048 : 0, scalar(d, "lVirtDriveSize", "J")) << i;
            } else {
                EXPECT_EQ(0, scalar(d, "bState", "B")) << i;
                EXPECT_EQ(0x5A00000000LL, scalar(d, "lVirtDriveSize", "J") & 0xFF00000000LL) << i;   // marked
            }
        }
    }

    // A second call that fails is the result; no entry is written.
    jobject table = apiObject(API_CLASS("VirtDrv"));
    mark(table, 5);
    const std::string before = describe(table);
    tarnellsim::injectFailure("GetVirtDevLdTable", tarnellsim::RC_BUSY, tarnellsim::ANY_ADAPTER, false, 1);
    EXPECT_EQ((Result{tarnellsim::RC_BUSY, 0, 0, 0, 0, 0}),
              call("GetVirtDevLdTable", {obj(storAddr(CONTROLLER_A)), obj(table), i32(2)}));
    EXPECT_EQ(before, describe(table));
}

// Count and list: two calls, the list of the first call's count; an empty
// count still makes the second call; a failing first call is alone.
TEST_F(LegacyRaidNatives, ListsOfArraysDrivesAndDevices)
{
    jobject arrays = apiObject("tarnelltest/legacy/RecordingAddrList");
    EXPECT_EQ(Result{}, call("GetArrayCount", {obj(storAddr(CONTROLLER_A)), obj(arrays)}));
    EXPECT_EQ(6, addressCount(arrays));   // basic arrays 0-4, spanned array 0

    jobject drives = apiObject(API_CLASS("AddrList"));
    EXPECT_EQ(Result{}, call("GetArrayVirtDevCount", {obj(storAddr(CONTROLLER_A)), obj(drives)}));
    ASSERT_EQ(2, addressCount(drives));
    EXPECT_EQ(1, intField(listAddress(drives, 1), "iVirtDevID"));

    jobject devices = apiObject(API_CLASS("AddrList"));
    EXPECT_EQ(Result{}, call("GetArrayPhysDevCount", {obj(storAddr(CONTROLLER_A, 0, 0, 0, 2)), obj(devices)}));
    ASSERT_EQ(3, addressCount(devices));
    EXPECT_EQ(1, intField(listAddress(devices, 2), "iChannelID"));
    EXPECT_EQ(3, intField(listAddress(devices, 2), "iPhysDevID"));

    jobject virtDevs = apiObject(API_CLASS("AddrList"));
    EXPECT_EQ(Result{}, call("GetVirtDevCount", {obj(storAddr(CONTROLLER_B)), obj(virtDevs)}));
    EXPECT_EQ(4, addressCount(virtDevs));

    // A controller without logical drives has no arrays.
    resetWith(CONTROLLER_B, [](tarnellsim::Controller& c) {
        c.drives.clear();
        c.subDrives.clear();
    });
    jobject none = apiObject("tarnelltest/legacy/RecordingAddrList");
    tarnellsim::clearCalls();
    EXPECT_EQ(Result{}, call("GetArrayCount", {obj(storAddr(CONTROLLER_B)), obj(none)}));
    const std::vector<tarnellsim::Call> sent = tarnellsim::calls("GetArrayCount");
    ASSERT_EQ(2u, sent.size());
    EXPECT_EQ((std::vector<long long>{0}), sent[1].args);   // a list of 0 bytes
    EXPECT_EQ("ensureCapacity(0);clearAllAddresses();", recorded(none));

    jobject untouched = apiObject("tarnelltest/legacy/RecordingAddrList");
    tarnellsim::clearCalls();
    tarnellsim::injectFailure("GetVirtDevCount", tarnellsim::RC_NO_ADAPTER);
    EXPECT_EQ((Result{tarnellsim::RC_NO_ADAPTER, 0, 0, 0, 0, 0}),
              call("GetVirtDevCount", {obj(storAddr(CONTROLLER_A)), obj(untouched)}));
    EXPECT_EQ(1u, tarnellsim::calls("GetVirtDevCount").size());
    EXPECT_EQ("", recorded(untouched));
}

// Address-list inputs: the count from the Java int or from the list itself;
// a list that cannot be built is the result and nothing is called.
TEST_F(LegacyRaidNatives, AddressListInputs)
{
    // CreateArray: the list's own count.
    tarnellsim::clearCalls();
    call("CreateArray", {obj(storAddr(CONTROLLER_B)), obj(deviceList(CONTROLLER_B, {{1, 10}, {1, 11}, {0, 7}}))});
    const std::vector<tarnellsim::Call> created = tarnellsim::calls("CreateArray");
    ASSERT_EQ(1u, created.size());
    EXPECT_EQ((std::vector<long long>{3}), created[0].args);
    ASSERT_EQ(3u, created[0].addressList.size());
    EXPECT_EQ(11, int(created[0].addressList[1].usPhysDevID));

    jobject countOnly = apiObject("tarnelltest/legacy/CountOnlyList");
    setIntField(countOnly, "count", 2);
    EXPECT_EQ((Result{-9, 0, 0, 0, 0, 0}), call("CreateArray", {obj(storAddr(CONTROLLER_B)), obj(countOnly)}));
    EXPECT_EQ((Result{-9, 0, 0, 0, 0, 0}),
              call("IncreaseArraySize", {obj(storAddr(CONTROLLER_B)), obj(apiObject(API_CLASS("ArraySize"))),
                                         obj(countOnly), i32(2)}));
    // A count beyond the list's own.
    EXPECT_EQ((Result{-2, 0, 0, 0, 0, 0}),
              call("ModifyArrayRaidLevel",
                   {obj(storAddr(CONTROLLER_B)), i32(5), obj(deviceList(CONTROLLER_B, {{1, 10}})), i32(2)}));
    EXPECT_EQ(1u, tarnellsim::calls("CreateArray").size());
    EXPECT_TRUE(tarnellsim::calls("IncreaseArraySize").empty());
    EXPECT_TRUE(tarnellsim::calls("ModifyArrayRaidLevel").empty());

    // An empty list with count 0 is called with count 0.
    call("ModifyArrayRaidLevel", {obj(storAddr(CONTROLLER_B)), i32(0x10005), obj(apiObject(API_CLASS("AddrList"))),
                                  i32(0)});
    EXPECT_EQ((std::vector<long long>{5, 0}), argsOf("ModifyArrayRaidLevel"));
    // ModifyVirtDevRaidLevel counts the list.
    call("ModifyVirtDevRaidLevel",
         {obj(storAddr(CONTROLLER_B, 0, 0, 2)), i32(1), obj(deviceList(CONTROLLER_B, {{1, 10}, {1, 11}}))});
    EXPECT_EQ((std::vector<long long>{1, 2}), argsOf("ModifyVirtDevRaidLevel"));

    // CreateVirtDev: each value at its width; the drive is made.
    const Result made = call("CreateVirtDev",
                             {obj(storAddr(CONTROLLER_B, 0, 0, 4, 5)), i32(0x10001), i64(0x100000000LL + 8000),
                              i64(0x200000000LL + 64), i32(2), obj(deviceList(CONTROLLER_B, {{1, 10}, {1, 11}})),
                              i32(int32_t(0x80000000u))},
                             "(" LEGACY_API_SIG("StorRet") LEGACY_API_SIG("StorAddr") "IJJI" LEGACY_API_SIG(
                                 "AddrList") "I)V");
    EXPECT_EQ((std::vector<long long>{1, 8000, 64, 2, 0x80000000LL}), argsOf("CreateVirtDev"));
    EXPECT_EQ(0, made.code);
    jobject drives = apiObject(API_CLASS("AddrList"));
    EXPECT_EQ(Result{}, call("GetVirtDevCount", {obj(storAddr(CONTROLLER_B)), obj(drives)}));
    EXPECT_EQ(5, addressCount(drives));
}

// Byte blocks in and out: the event log into a ByteBlk, a configuration
// whose transfer exceeds its array never reaches the controller.
TEST_F(LegacyRaidNatives, ByteBlocks)
{
    jobject log = byteBlk(64, std::vector<int64_t>(256, 0x77), 0);
    EXPECT_EQ(Result{}, call("GetAdapterEventLog", {obj(storAddr(CONTROLLER_A)), obj(log), i32(0x102)}));
    EXPECT_EQ((std::vector<long long>{64, 2}), argsOf("GetAdapterEventLog"));   // block length, log 2
    EXPECT_EQ(16, intField(log, "iBytesXferLen"));
    const std::vector<int64_t> bytes = elements(log, "byteArray", "[B");
    EXPECT_EQ((std::vector<int64_t>{0, 0, 0, 3, 0x00, 0x0A, -0x44, 0x01}),
              std::vector<int64_t>(bytes.begin(), bytes.begin() + 8));
    EXPECT_EQ(0x77, bytes[16]);

    tarnellsim::clearCalls();
    jobject config = byteBlk(1000, std::vector<int64_t>(10, 1), 20);
    EXPECT_EQ((Result{-2, 0, 0, 0, 0, 0}), call("SetAdapterRaidConfig", {obj(storAddr(CONTROLLER_A)), obj(config)}));
    EXPECT_TRUE(tarnellsim::calls().empty());

    jobject whole = byteBlk(1000, std::vector<int64_t>(4000, 0), 3996);
    call("SetAdapterRaidConfig", {obj(storAddr(CONTROLLER_A)), obj(whole)});
    EXPECT_EQ((std::vector<long long>{3996}), argsOf("SetAdapterRaidConfig"));
}

// Host and partner ids as modified UTF-8 texts; the partner id comes back
// through a ByteBlk whatever the result.
TEST_F(LegacyRaidNatives, ClusterIds)
{
    EXPECT_EQ(Result{}, call("SetHostConfigId", {obj(storAddr(CONTROLLER_A)), obj(javaString("HOST-B"))}));
    EXPECT_EQ("HOST-B", tarnellsim::current().controllers[0].hostId);
    EXPECT_EQ(Result{}, call("SetHostConfigId", {obj(storAddr(CONTROLLER_A)), obj(javaString(""))}));
    EXPECT_EQ("", tarnellsim::current().controllers[0].hostId);
    tarnellsim::clearCalls();
    EXPECT_EQ((Result{-2, 0, 0, 0, 0, 0}), call("SetHostConfigId", {obj(storAddr(CONTROLLER_A)), obj(nullptr)}));
    EXPECT_TRUE(tarnellsim::calls().empty());

    EXPECT_EQ(Result{}, call("SetClusterPartnerId", {obj(storAddr(CONTROLLER_A)), obj(javaString("PARTNER-B"))}));
    jobject shortBlock = byteBlk(0, std::vector<int64_t>(8, 0x55), 0);
    EXPECT_EQ(Result{}, call("GetClusterPartnerId", {obj(storAddr(CONTROLLER_A)), obj(shortBlock)}));
    EXPECT_EQ(bytesOf("PARTNER-", 8), elements(shortBlock, "byteArray", "[B"));
    EXPECT_EQ(8, intField(shortBlock, "iBytesXferLen"));
    jobject longBlock = byteBlk(0, std::vector<int64_t>(16, 0x55), 0);
    EXPECT_EQ(Result{}, call("GetClusterPartnerId", {obj(storAddr(CONTROLLER_A)), obj(longBlock)}));
    std::vector<int64_t> expected = bytesOf("PARTNER-B", 13);
    expected.insert(expected.end(), 3, 0x55);
    EXPECT_EQ(expected, elements(longBlock, "byteArray", "[B"));
    EXPECT_EQ(13, intField(longBlock, "iBytesXferLen"));

    // A failing call hands on zeros, never what the stack held.
    tarnellsim::injectFailure("GetClusterPartnerId", tarnellsim::RC_BUSY);
    EXPECT_EQ((Result{tarnellsim::RC_BUSY, 0, 0, 0, 0, 0}),
              call("GetClusterPartnerId", {obj(storAddr(CONTROLLER_A)), obj(longBlock)}));
    expected.assign(13, 0);
    expected.insert(expected.end(), 3, 0x55);
    EXPECT_EQ(expected, elements(longBlock, "byteArray", "[B"));
    EXPECT_EQ(Result{}, call("ClearClusterPartnerId", {obj(storAddr(CONTROLLER_A))}));
    EXPECT_EQ("", tarnellsim::current().controllers[0].clusterPartnerId);
}

// The shared device id passes its low 8 bits and comes back 0-255; it and
// the adapter data write the address back whatever the result.
TEST_F(LegacyRaidNatives, SharedIdFruAndBatteryData)
{
    jobject id = holder(API_CLASS("IVal"));
    setIntField(id, "value", 0x1FF);
    EXPECT_EQ(Result{}, call("SetSharedDeviceId", {obj(storAddr(CONTROLLER_A)), obj(id)}));
    EXPECT_EQ((std::vector<long long>{0xFF}), argsOf("SetSharedDeviceId"));
    jobject got = holder(API_CLASS("IVal"));
    jobject addr = storAddr(0x10000 + CONTROLLER_A);
    EXPECT_EQ(Result{}, call("GetSharedDeviceId", {obj(addr), obj(got)}));
    EXPECT_EQ(255, intField(got, "value"));
    EXPECT_EQ(CONTROLLER_A, intField(addr, "iAdapterID"));   // its own 40-byte form

    jobject failedAddr = storAddr(0x10000 + CONTROLLER_A);
    mark(got, 4);
    tarnellsim::injectFailure("GetSharedDeviceId", tarnellsim::RC_BUSY);
    EXPECT_EQ((Result{tarnellsim::RC_BUSY, 0, 0, 0, 0, 0}), call("GetSharedDeviceId", {obj(failedAddr), obj(got)}));
    EXPECT_EQ(CONTROLLER_A, intField(failedAddr, "iAdapterID"));
    EXPECT_EQ(0, intField(got, "value"));

    // The product data: the formatted part of the record only.
    jobject vpd = apiObject(API_CLASS("Vpd"));
    EXPECT_EQ(Result{}, call("GetAdapterFruData", {obj(storAddr(CONTROLLER_A)), obj(vpd)}));
    EXPECT_EQ(bytesOf("ZQ-71P8519", 16), elements(vpd, "bPartNum", "[B"));
    EXPECT_EQ(bytesOf("71P8648", 16), elements(vpd, "bBatteryFru", "[B"));
    EXPECT_EQ(1, scalar(vpd, "bWhoAmI", "B"));
    mark(vpd, 6);
    EXPECT_EQ((Result{tarnellsim::RC_NOT_SUPPORTED, 0, 0, 0, 0, 0}),
              call("GetAdapterFruData", {obj(storAddr(CONTROLLER_B)), obj(vpd)}));
    EXPECT_EQ(0, scalar(vpd, "bWhoAmI", "B"));
    EXPECT_EQ(bytesOf("", 16), elements(vpd, "bPartNum", "[B"));

    jobject battery = apiObject(API_CLASS("ExtendedBatteryData"));
    EXPECT_EQ(Result{}, call("GetExtendedBatteryData", {obj(storAddr(CONTROLLER_A)), obj(battery)}));
    EXPECT_EQ(29, intField(battery, "iTemperature"));
    EXPECT_EQ(97, intField(battery, "iPercentCharged"));

    // The battery-backed cache through the enquiry command.
    jobject cache = apiObject(API_CLASS("BBCacheInfo"));
    tarnellsim::clearCalls();
    EXPECT_EQ(Result{}, call("GetBBCacheInfo", {obj(storAddr(CONTROLLER_B)), obj(cache)}));
    const std::vector<tarnellsim::Call> sent = tarnellsim::calls("ExecAdapterCmnd");
    ASSERT_EQ(1u, sent.size());
    EXPECT_EQ((std::vector<uint8_t>{0x05, 0, 0, 0x60, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), sent[0].command);
    EXPECT_EQ(std::vector<long long>(std::begin(ENQUIRY_ARGS), std::end(ENQUIRY_ARGS)), sent[0].args);
    EXPECT_EQ(bytesOf("BB5C0042", 8), elements(cache, "baInstalledSerial", "[B"));

    jobject features = apiObject(API_CLASS("AdapterFeatures"));
    EXPECT_EQ(Result{}, call("GetSupportedFeatures", {obj(storAddr(CONTROLLER_A)), obj(features)}));
    EXPECT_EQ(3, intField(features, "iBBCacheRelLevel"));
    EXPECT_EQ(0x1D5A, intField(features, "iVendorID"));
}

// Values pass at the widths of the C parameters, and 8- and 16-bit results
// reach their holders with the same bits.
TEST_F(LegacyRaidNatives, NarrowingAndWidening)
{
    const struct {
        const char* name;
        std::vector<jvalue> args;   // after the StorRet and the address
        const char* entry;
        std::vector<long long> sent;
    } inputs[] = {
        {"MergeVirtDev", {i32(258), flag(true), i32(3)}, "MergeVirtDev", {2, 1, 3}},
        {"UnMergeVirtDev", {i32(511), flag(false)}, "UnMergeVirtDev", {255, 0}},
        {"SetMergeGroupId", {i32(0x1FE), flag(true)}, "SetMergeGroupId", {0xFE, 1}},
        {"SetPhysDevState", {i32(0x18B)}, "SetPhysDevState", {0x8B}},
        {"AddPhysDev", {i32(0x101)}, "AddPhysDev", {1}},
        {"SetRebuildPriority", {i32(256)}, "SetRebuildPriority", {0}},
        {"SetStripeSliceSize", {i64(0x100000040LL)}, "SetStripeSliceSize", {0x40}},
        {"SetCopyBackMode", {flag(true)}, "SetCopyBackMode", {1}},
        {"SetReadAheadMode", {flag(false)}, "SetReadAheadMode", {0}},
        {"SetWritePolicy", {i32(0x301)}, "SetWritePolicy", {1}},
        {"SynchronizeVirtDev", {i32(257)}, "SynchronizeVirtDev", {1}},
        {"DeleteArray", {i32(0x10005)}, "DeleteArray", {5}},
        {"DeleteVirtDevOption", {i32(0x1FF)}, "DeleteVirtDevOption", {0xFF}},
        {"EraseAdapterEventLog", {i32(0x1F2)}, "EraseAdapterEventLog", {0xF2}},
        {"CreateVirtDevHld", {i64(0x300000010LL), i32(0), obj(apiObject(API_CLASS("AddrList")))},
         "CreateVirtDevHld", {0x10, 0}},
    };
    for (const auto& in : inputs) {
        SCOPED_TRACE(in.name);
        std::vector<jvalue> args{obj(storAddr(CONTROLLER_B, 1, 9, 3))};
        args.insert(args.end(), in.args.begin(), in.args.end());
        call(in.name, args);
        EXPECT_EQ(in.sent, argsOf(in.entry));
    }

    // A ready device's state 0x81 reads 129; the rebuilding one's 0x8B as the
    // second value of the rebuild progress, 139.
    jobject state = holder(API_CLASS("SVal"));
    EXPECT_EQ(Result{}, call("GetPhysDevState", {obj(storAddr(CONTROLLER_A, 0, 6)), obj(state)}));
    EXPECT_EQ(129, scalar(state, "value", "S"));
    jobject progress = holder(API_CLASS("SVal"));
    jobject second = holder(API_CLASS("SVal"));
    EXPECT_EQ(Result{}, call("CheckRebuildProgress", {obj(storAddr(CONTROLLER_A, 1, 3)), obj(progress), obj(second)}));
    EXPECT_EQ(35, scalar(progress, "value", "S"));
    EXPECT_EQ(139, scalar(second, "value", "S"));

    // A progress value with its top bit set: the short of the same bits.
    resetWith(CONTROLLER_A, [](tarnellsim::Controller& c) { c.progressValue = 0x8001; });
    for (const char* name : {"CheckSynchronizeVirtDevProgress", "CheckInitializeVirtDevProgress",
                             "CheckMigrateVirtDevProgress"}) {
        SCOPED_TRACE(name);
        jobject value = holder(API_CLASS("SVal"));
        EXPECT_EQ(Result{}, call(name, {obj(storAddr(CONTROLLER_A, 0, 0, 2)), obj(value)}));
        EXPECT_EQ(-32767, scalar(value, "value", "S"));
    }
    jobject kept = holder(API_CLASS("SVal"));
    setScalar(kept, "value", "S", 17);
    tarnellsim::injectFailure("CheckMigrateVirtDevProgress", tarnellsim::RC_BUSY);
    EXPECT_EQ((Result{tarnellsim::RC_BUSY, 0, 0, 0, 0, 0}),
              call("CheckMigrateVirtDevProgress", {obj(storAddr(CONTROLLER_A, 0, 0, 2)), obj(kept)}));
    EXPECT_EQ(17, scalar(kept, "value", "S"));

    // The device scan's count, zero-extended.
    jobject found = holder(API_CLASS("IVal"));
    EXPECT_EQ(Result{}, call("AdapterDeviceScan", {obj(storAddr(CONTROLLER_A)), obj(found)}));
    EXPECT_EQ(1, intField(found, "value"));
}

// First and last logical drive of an array: the address in and out, and the
// StorRet written on success too.
TEST_F(LegacyRaidNatives, FirstAndLastDriveOfAnArray)
{
    for (const auto& c : {std::make_pair("GetFirstVirtDev", 0), std::make_pair("GetLastVirtDev", 1)}) {
        SCOPED_TRACE(c.first);
        jobject addr = storAddr(CONTROLLER_A, 0, 0, 7, 0);
        EXPECT_EQ(Result{}, call(c.first, {obj(addr)}));
        EXPECT_EQ(c.second, intField(addr, "iVirtDevID"));
    }
    jobject missing = storAddr(CONTROLLER_A, 0, 0, 7, 6);
    EXPECT_EQ((Result{tarnellsim::RC_NO_OBJECT, 0, 0, 0, 0, 0}), call("GetFirstVirtDev", {obj(missing)}));
    EXPECT_EQ(7, intField(missing, "iVirtDevID"));
}

// The block transfer of a logical drive: both blocks come back whatever the
// result; a block that cannot be converted stops the transfer.
TEST_F(LegacyRaidNatives, BlockTransferOfALogicalDrive)
{
    const std::vector<int64_t> input(32, 0x55);
    jobject first = byteBlk(8, input, 32);
    jobject second = byteBlk(2, std::vector<int64_t>(8, 0x66), 4);
    jobject data = apiObject(API_CLASS("DataAddr"));
    const std::vector<jvalue> args{obj(storAddr(CONTROLLER_A, 0, 0, 0)), obj(data), obj(first), obj(second),
                                   i64(0x100000007LL), i64(9), flag(true)};
    EXPECT_EQ(Result{}, call("ReadVirtDevice", args));
    // Block length 8, the two longs' low 32 bits, the flag.
    EXPECT_EQ((std::vector<long long>{8, 2, 7, 9, 1}), argsOf("ReadVirtDevice"));
    std::vector<int64_t> read = input;
    std::fill(read.begin(), read.begin() + 8, 0);
    EXPECT_EQ(read, elements(first, "byteArray", "[B"));
    EXPECT_EQ(8, intField(first, "iBytesXferLen"));
    EXPECT_EQ(0, intField(second, "iBytesXferLen"));

    // A failing call: each block gets its own bytes back.
    jobject again = byteBlk(8, input, 32);
    jobject other = byteBlk(2, std::vector<int64_t>(8, 0x66), 4);
    tarnellsim::injectFailure("WriteVirtDevice", tarnellsim::RC_BUSY);
    EXPECT_EQ((Result{tarnellsim::RC_BUSY, 0, 0, 0, 0, 0}),
              call("WriteVirtDevice", {obj(storAddr(CONTROLLER_A, 0, 0, 0)), obj(data), obj(again), obj(other),
                                       i64(0), i64(0), flag(false)}));
    EXPECT_EQ(input, elements(again, "byteArray", "[B"));
    EXPECT_EQ(32, intField(again, "iBytesXferLen"));
    EXPECT_EQ(4, intField(other, "iBytesXferLen"));

    // A transfer beyond its array: nothing is called or written.
    jobject tooLong = byteBlk(8, input, 33);
    const std::string before = describe(tooLong);
    tarnellsim::clearCalls();
    EXPECT_EQ((Result{-2, 0, 0, 0, 0, 0}),
              call("WriteVirtDevice", {obj(storAddr(CONTROLLER_A, 0, 0, 0)), obj(data), obj(tooLong), obj(other),
                                       i64(0), i64(0), flag(false)}));
    EXPECT_TRUE(tarnellsim::calls().empty());
    EXPECT_EQ(before, describe(tooLong));
}

tarnellsim::Controller::BytePatch patchOf(const _REBUILD_STATUS& r)
{
    const uint8_t* p = reinterpret_cast<const uint8_t*>(&r);
    return {0, std::vector<uint8_t>(p, p + sizeof r)};
}

TEST_F(LegacyRaidNatives, ProgressOfTheRunningTask)
{
    // Opcode, drive, check option, status, percentage, qualifier, channel,
    // target, sub-logical drive.
    const struct {
        const char* what;
        uint32_t model;
        std::function<void(_REBUILD_STATUS&)> edit;
        std::vector<int64_t> expected;
    } cases[] = {
        {"implementation 7: the drive index, 1000/250", 7, [](_REBUILD_STATUS&) {},
         {0x16, 2, 0x11, 0x30, 75, 0, 1, 4, 0}},
        {"implementation 3: the drive number, 3/2", 3, [](_REBUILD_STATUS&) {},
         {0x16, 2, 0x11, 0x30, 33, 0, 1, 4, 0}},
        {"size 0", 7, [](_REBUILD_STATUS& r) { r.sVirtualDrive[5].ulVirtDriveSize = 0; },
         {0x16, 2, 0x11, 0x30, 0, 0, 1, 4, 0}},
        {"migration", 7, [](_REBUILD_STATUS& r) { r.ucOpcode = 0xBB; }, {-69, 2, 0x02, 0x30, 75, 0, 1, 4, 0}},
        {"channel 200, a sub-logical drive", 7,
         [](_REBUILD_STATUS& r) {
             r.ucDevChnID = 200;
             r.ucDevTgtID = 255;
             r.ucIsSLDVirtDriveId = 1;
         },
         {0x16, 2, 0x11, 0x30, 75, 0, 200, 255, 1}},
        {"an index beyond the size table", 7, [](_REBUILD_STATUS& r) { r.ucVirtualDriveIndex = 8; },
         {0x16, 2, 0x11, 0x30, 0, 0, 1, 4, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        _REBUILD_STATUS r = sampleProgressRecord();
        c.edit(r);
        resetWith(CONTROLLER_B, [&](tarnellsim::Controller& ctl) {
            ctl.model = c.model;
            ctl.progressPatches.push_back(patchOf(r));
        });
        jobject progress = apiObject(API_CLASS("ProgressInfo"));
        mark(progress, 2);
        EXPECT_EQ(Result{}, call("CheckProgress", {obj(storAddr(CONTROLLER_B)), obj(progress)}));
        EXPECT_EQ(c.expected, progressOf(progress));
    }

    // A class without "bSLDVirtDrive" gets the other eight fields.
    resetWith(CONTROLLER_B, [](tarnellsim::Controller& ctl) { ctl.progressPatches.push_back(patchOf(sampleProgressRecord())); });
    jobject older = apiObject("tarnelltest/legacy/OldProgressInfo");
    jobject ret = apiObject(API_CLASS("StorRet"));
    STORAGEDLL_ENTRY(CheckProgress)(e, dll, ret, storAddr(CONTROLLER_B), older);
    EXPECT_FALSE(takeException(e));
    EXPECT_EQ(Result{}, result(ret));
    EXPECT_EQ(75, scalar(older, "bPercentComplete", "B"));
    EXPECT_EQ(4, scalar(older, "bScsiIDs", "S"));

    // Without the adapter information the progress is not asked.
    jobject progress = apiObject(API_CLASS("ProgressInfo"));
    mark(progress, 2);
    const std::string before = describe(progress);
    tarnellsim::clearCalls();
    tarnellsim::injectFailure("RaidAdapterInfo", tarnellsim::RC_BUSY);
    EXPECT_EQ((Result{tarnellsim::RC_BUSY, 0, 0, 0, 0, 0}),
              call("CheckProgress", {obj(storAddr(CONTROLLER_B)), obj(progress)}));
    EXPECT_TRUE(tarnellsim::calls("CheckProgress").empty());
    EXPECT_EQ(before, describe(progress));
}

// The default scenario's rebuild of drive 3 onto 1:3, followed as it runs.
TEST_F(LegacyRaidNatives, RunningRebuildEndToEnd)
{
    jobject progress = apiObject(API_CLASS("ProgressInfo"));
    EXPECT_EQ(Result{}, call("CheckProgress", {obj(storAddr(CONTROLLER_A)), obj(progress)}));
    EXPECT_EQ((std::vector<long long>{0}), argsOf("CheckProgress"));
    EXPECT_EQ((std::vector<int64_t>{0x16, 3, 0, 0x30, 35, 0, 1, 3, 0}), progressOf(progress));

    tarnellsim::advanceClock(600);   // 50 MiB a second of 100000 MiB
    EXPECT_EQ(Result{}, call("CheckProgress", {obj(storAddr(CONTROLLER_A)), obj(progress)}));
    EXPECT_EQ(65, scalar(progress, "bPercentComplete", "B"));
    jobject percent = holder(API_CLASS("SVal"));
    jobject state = holder(API_CLASS("SVal"));
    EXPECT_EQ(Result{}, call("CheckRebuildProgress", {obj(storAddr(CONTROLLER_A, 1, 3)), obj(percent), obj(state)}));
    EXPECT_EQ(65, scalar(percent, "value", "S"));
}

TEST_F(LegacyRaidNatives, QuillcopyProgressAndStatus)
{
    resetWith(CONTROLLER_A, [](tarnellsim::Controller& c) {
        c.quillcopies.push_back({0x10, 0x21});
        c.quillcopies.push_back({0x12, 0xF3});
    });
    jobject copies = apiObject(API_CLASS("QuillcopyProgress"));
    mark(copies, 8);
    EXPECT_EQ(Result{}, call("CheckQuillcopyProgress", {obj(storAddr(CONTROLLER_A)), obj(copies)}));
    EXPECT_EQ((std::vector<long long>{2}), argsOf("CheckQuillcopyProgress"));
    const char* const fields[] = {"bSource0", "bTarget0", "bSource1", "bTarget1",
                                  "bSource2", "bTarget2", "bSource3", "bTarget3"};
    const int64_t values[] = {0x10, 0x21, 0x12, -13, 0, 0, 0, 0};
    for (size_t i = 0; i < 8; ++i)
        EXPECT_EQ(values[i], scalar(copies, fields[i], "B")) << fields[i];

    mark(copies, 8);
    const std::string before = describe(copies);
    tarnellsim::injectFailure("CheckQuillcopyProgress", tarnellsim::RC_BUSY);
    EXPECT_EQ((Result{tarnellsim::RC_BUSY, 0, 0, 0, 0, 0}),
              call("CheckQuillcopyProgress", {obj(storAddr(CONTROLLER_A)), obj(copies)}));
    EXPECT_EQ(before, describe(copies));

    // The status through the general progress entry point, the caller's option.
    jobject status = apiObject(API_CLASS("QuillcopyStatus"));
    EXPECT_EQ(Result{}, call("GetQuillcopyStatus", {obj(storAddr(CONTROLLER_A)), obj(status), i32(0x1234)}));
    EXPECT_EQ((std::vector<long long>{0x1234}), argsOf("CheckProgress"));
    EXPECT_EQ(0x16, scalar(status, "bOpcode", "B"));
    EXPECT_EQ(3, scalar(status, "bVirtDrive", "B"));
    EXPECT_EQ(0, scalar(status, "bSLDVirtDrive", "B"));
}

// Queries whose records reach Java, and those whose records do not.
TEST_F(LegacyRaidNatives, DriveArrayAndAdapterQueries)
{
    jobject size = apiObject(API_CLASS("DeviceSize"));
    EXPECT_EQ(Result{}, call("GetVirtDevSize", {obj(storAddr(CONTROLLER_A, 0, 0, 3)), obj(size)}));
    EXPECT_EQ(100000 * 2048, scalar(size, "lSectorCount", "J"));

    jobject info = apiObject(API_CLASS("RaidAdapterInfo"));
    EXPECT_EQ(Result{}, call("RaidAdapterInfo", {obj(storAddr(CONTROLLER_A)), obj(info)}));
    EXPECT_EQ(5, intField(info, "iVirtDevCount"));

    EXPECT_EQ(Result{}, call("GetVirtDevInfo", {obj(storAddr(CONTROLLER_A, 0, 0, 3)),
                                                obj(apiObject(API_CLASS("VirtualDeviceInfo")))}));
    EXPECT_EQ(Result{}, call("ArrayInfo", {obj(storAddr(CONTROLLER_A)), obj(apiObject(API_CLASS("RaidArrayInfo")))}));
    EXPECT_EQ((Result{tarnellsim::RC_NO_OBJECT, 0, 0, 0, 0, 0}),
              call("ArrayInfo", {obj(storAddr(CONTROLLER_A, 0, 0, 0, 7)), obj(apiObject(API_CLASS("RaidArrayInfo")))}));

    jobject present = holder(API_CLASS("BlVal"));
    EXPECT_EQ(Result{}, call("IsRaidPresent", {obj(present)}));
    EXPECT_EQ(1, scalar(present, "value", "Z"));
    jobject version = apiObject(API_CLASS("Version"));
    EXPECT_EQ(0, callNative(dll, "cGetRaidIntfVersion", {obj(version)}));
}

} // namespace
