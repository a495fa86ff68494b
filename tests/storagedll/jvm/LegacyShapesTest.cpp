#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "LegacyTest.h"
#include "TarnellSim.h"
#include "storagedll/tarnellapi.h"

// The shapes that many natives share, over the simulated C API: the
// count-and-list calls, byte-block reads and writes, the block transfer, the
// pass-through and the mode pages, with the bounds of every copy back and
// the byte blocks that are refused before any call.

using namespace legacytest;

namespace {

const int ADAPTER = 2;   // the first controller of the default scenario

std::vector<int64_t> counting(size_t n, int first)
{
    std::vector<int64_t> bytes(n);
    for (size_t i = 0; i < n; ++i)
        bytes[i] = int64_t(jbyte(first + int(i)));
    return bytes;
}

std::vector<int64_t> asJavaBytes(const void* data, size_t n)
{
    std::vector<int64_t> bytes(n);
    for (size_t i = 0; i < n; ++i)
        bytes[i] = jbyte(static_cast<const uint8_t*>(data)[i]);
    return bytes;
}

// The first n bytes, then the rest of `rest` from n on.
std::vector<int64_t> spliced(std::vector<int64_t> head, const std::vector<int64_t>& rest)
{
    for (size_t i = head.size(); i < rest.size(); ++i)
        head.push_back(rest[i]);
    return head;
}

std::vector<long long> scalars(std::initializer_list<long long> v) { return v; }

class LegacyShapes : public LegacyNativeTest {
protected:
    // The (channel, device) of every address in a Java AddrList.
    std::vector<std::pair<int, int>> addresses(jobject list)
    {
        std::vector<std::pair<int, int>> out;
        const jint n = addressCount(list);
        for (jint i = 0; i < n; ++i) {
            jobject a = listAddress(list, i);
            out.emplace_back(intField(a, "iChannelID"), intField(a, "iPhysDevID"));
            e->DeleteLocalRef(a);
        }
        return out;
    }

    static std::vector<tarnellsim::Call> callsOf(const char* entry) { return tarnellsim::calls(entry); }
};

// ---------------------------------------------------------------- count and list

TEST_F(LegacyShapes, SupportedAdapterCountWritesItsListWhateverTheCodes)
{
    struct Case {
        const char* what;
        bool controllers;
        unsigned failAfter;   // calls that go through before one fails; 2: none fails
        int indexLength;
        int code;
        int count;
        std::vector<int64_t> index;   // the leading elements; the others keep their marks
        std::vector<long long> sizes; // of the two calls
    };
    const std::vector<Case> cases = {
        {"two controllers", true, 2, 20, 0, 2, {2, 5}, {0, 80}},
        {"an index shorter than the count", true, 2, 1, 0, 2, {2}, {0, 80}},
        {"no controllers", false, 2, 20, 0, 0, {}, {0, 0}},
        // The first count stays 0: the list is empty and so is what is written.
        {"a failing first call", true, 0, 20, 0, 0, {}, {0, 0}},
        // The list of the first count, unfilled, is written all the same.
        {"a failing second call", true, 1, 20, tarnellsim::RC_BUSY, 2, {0, 0}, {0, 80}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.controllers)
            tarnellsim::reset();
        else
            tarnellsim::reset(tarnellsim::Scenario{});
        if (c.failAfter < 2)
            tarnellsim::injectFailure("SupportedAdapterCount", tarnellsim::RC_BUSY, tarnellsim::ANY_ADAPTER, false,
                                      c.failAfter);
        jobject adapters = apiObject(API_CLASS("AdapterCount"));
        setElements(adapters, "iAdapIndex", "[I", std::vector<int64_t>(size_t(c.indexLength)));
        mark(adapters, 3);
        const std::vector<int64_t> marks = elements(adapters, "iAdapIndex", "[I");
        jobject ret = storRet();
        callNative(dll, "SupportedAdapterCount", {obj(ret), obj(storAddr(0)), obj(adapters)});

        EXPECT_EQ((Result{c.code, 0, 0, 0, 0, 0}), result(ret));
        EXPECT_EQ(c.count, intField(adapters, "iAdapCount"));
        EXPECT_EQ(spliced(c.index, marks), elements(adapters, "iAdapIndex", "[I"));
        std::vector<long long> sizes;
        for (const tarnellsim::Call& call : callsOf("SupportedAdapterCount"))
            sizes.push_back(call.args.at(0));
        EXPECT_EQ(c.sizes, sizes);
        tarnellsim::clearFailures();
    }
}

TEST_F(LegacyShapes, ListNativesIntoAddressLists)
{
    struct Case {
        const char* what;
        std::function<void(tarnellsim::Scenario&)> edit;
        const char* native;
        int channel;
        int failAfter;   // -1: no failure
        int code;
        unsigned calls;
        std::vector<std::pair<int, int>> list;   // empty with unchanged: the marked entry stays
        bool unchanged;
    };
    const auto none = [](tarnellsim::Scenario&) {};
    const std::vector<Case> cases = {
        {"the devices of channel 0", none, "ChannelDeviceCount", 0, -1, 0, 2,
         {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {0, 4}, {0, 5}, {0, 6}, {0, 15}}, false},
        {"a channel without devices",
         [](tarnellsim::Scenario& s) {
             auto& d = s.controllers[0].devices;
             d.erase(std::remove_if(d.begin(), d.end(), [](const tarnellsim::Device& x) { return x.channel == 2; }),
                     d.end());
         },
         "ChannelDeviceCount", 2, -1, 0, 2, {}, false},
        {"a failing first call stops", none, "ChannelDeviceCount", 0, 0, tarnellsim::RC_BUSY, 1, {}, true},
        {"a failing second call", none, "ChannelDeviceCount", 0, 1, tarnellsim::RC_BUSY, 2, {}, true},
        {"the SAF-TE enclosure", none, "GetSafteCount", 0, -1, 0, 2, {{0, 15}}, false},
        {"a failing first SAF-TE call stops", none, "GetSafteCount", 0, 0, tarnellsim::RC_BUSY, 1, {}, true},
        {"no subsystems", none, "SupportedSubSystemCount", 0, -1, 0, 2, {}, false},
        {"a failing first subsystem call goes on", none, "SupportedSubSystemCount", 0, 0, 0, 2, {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        tarnellsim::Scenario scenario = tarnellsim::defaultScenario();
        c.edit(scenario);
        tarnellsim::reset(scenario);
        if (c.failAfter >= 0)
            tarnellsim::injectFailure(c.native, tarnellsim::RC_BUSY, tarnellsim::ANY_ADAPTER, false,
                                      unsigned(c.failAfter));
        jobject list = deviceList(ADAPTER, {{3, 9}});
        jobject ret = storRet();
        std::vector<jvalue> args{obj(ret), obj(storAddr(ADAPTER, c.channel))};
        if (std::string(c.native) == "GetSafteCount")
            args.push_back(obj(apiObject(API_CLASS("IVal"))));
        args.push_back(obj(list));
        callNative(dll, c.native, args);

        EXPECT_EQ((Result{c.code, 0, 0, 0, 0, 0}), result(ret));
        EXPECT_EQ(c.calls, callsOf(c.native).size());
        if (c.unchanged)
            EXPECT_EQ((std::vector<std::pair<int, int>>{{3, 9}}), addresses(list));
        else
            EXPECT_EQ(c.list, addresses(list));
        tarnellsim::clearFailures();
    }
}

// ---------------------------------------------------------------- byte blocks

TEST_F(LegacyShapes, ByteBlockReadsCopyBackWithinTheBufferAndTheArray)
{
    tarnellsim::Scenario scenario = tarnellsim::defaultScenario();
    scenario.controllers[0].devices[0].eventLog = {0x01020304, 0x0A0B0C0D};
    tarnellsim::reset(scenario);
    const std::vector<int64_t> marks = counting(64, 40);

    // The event log: the count and two entries, the rest of the array kept.
    jobject log = byteBlk(16, marks, 4);
    jobject ret = storRet();
    jvalue selector;
    selector.b = 1;
    callNative(dll, "GetPhysDevEventLog", {obj(ret), obj(storAddr(ADAPTER, 0, 0)), obj(log), selector});
    EXPECT_EQ(Result{}, result(ret));
    EXPECT_EQ(12, transferOf(log));
    EXPECT_EQ(spliced({0, 0, 0, 2, 1, 2, 3, 4, 10, 11, 12, 13}, marks), blockBytes(log));
    EXPECT_EQ(scalars({16, 1}), callsOf("GetPhysDevEventLog").at(0).args);

    // Lengths that the C API reports beyond the buffer (4 x 4 bytes) and
    // beyond the Java array (32 bytes): the copy stops at the smaller.
    struct Case {
        jint blockLength;
        size_t arrayLength;
        jint copied;
    };
    for (const Case& c : {Case{4, 64, 16}, Case{64, 32, 32}}) {
        SCOPED_TRACE(c.blockLength);
        tarnellsim::reportLength("GetRaidStatistics", 100000);
        const std::vector<int64_t> array = counting(c.arrayLength, 1);
        jobject stats = byteBlk(c.blockLength, array, 8);
        callNative(dll, "GetRaidStatistics", {obj(ret), obj(storAddr(ADAPTER)), obj(stats)});
        EXPECT_EQ(Result{}, result(ret));
        EXPECT_EQ(c.copied, transferOf(stats));
        // The buffer held the 8 bytes taken from the array, then zeros.
        std::vector<int64_t> expected = counting(8, 1);
        expected.resize(size_t(c.copied), 0);
        EXPECT_EQ(spliced(expected, array), blockBytes(stats));
        tarnellsim::clearFailures();
    }
}

TEST_F(LegacyShapes, ByteBlockWritesPassTheTransferLength)
{
    jobject ret = storRet();
    jobject image = byteBlk(4096, counting(1000, 7), 1000);
    callNative(dll, "UpdateAdapterFirmWare", {obj(ret), obj(storAddr(ADAPTER)), obj(image)});
    EXPECT_EQ(Result{}, result(ret));
    const tarnellsim::Call firmware = callsOf("UpdateAdapterFirmWare").at(0);
    EXPECT_EQ(scalars({1000}), firmware.args);
    EXPECT_EQ(counting(tarnellsim::LOGGED_BYTES, 7), asJavaBytes(firmware.written.data(), firmware.written.size()));
    EXPECT_EQ(1000, transferOf(image));   // nothing is copied back

    jobject config = byteBlk(64, counting(40, 3), 24);
    callNative(dll, "SetSubSystemConfig", {obj(ret), obj(storAddr(ADAPTER)), obj(config)});
    EXPECT_EQ((Result{tarnellsim::RC_NO_OBJECT, 0, 0, 0, 0, 0}), result(ret));
    EXPECT_EQ(scalars({24}), callsOf("SetSubSystemConfig").at(0).args);
}

// A block whose lengths do not fit is refused: the converter's code, the
// other fields 0, no call, no copy back.
TEST_F(LegacyShapes, BlocksThatDoNotFitAreRefusedBeforeAnyCall)
{
    struct Case {
        const char* what;
        jint blockLength;
        size_t arrayLength;
        jint transfer;
    };
    const std::vector<Case> cases = {
        {"a transfer beyond the array", 64, 16, 17},
        {"a transfer beyond the block", 2, 64, 9},
        {"a negative block length", -1, 16, 0},
        {"a negative transfer length", 4, 16, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        tarnellsim::clearCalls();
        const auto block = [&] { return byteBlk(c.blockLength, counting(c.arrayLength, 5), c.transfer); };

        jobject read = block();
        jobject ret = storRet();
        callNative(dll, "GetRaidStatistics", {obj(ret), obj(storAddr(ADAPTER)), obj(read)});
        EXPECT_EQ((Result{-2, 0, 0, 0, 0, 0}), result(ret));
        EXPECT_EQ(c.transfer, transferOf(read));
        EXPECT_EQ(counting(c.arrayLength, 5), blockBytes(read));

        callNative(dll, "UpdateDeviceFirmWare", {obj(ret), obj(storAddr(ADAPTER, 0, 0)), obj(block())});
        EXPECT_EQ((Result{-2, 0, 0, 0, 0, 0}), result(ret));

        // Block 3 of a pass-through: nothing reaches the device, and the
        // blocks that a call would copy back whatever the code stay too.
        jobject sense = byteBlk(8, counting(32, 9), 0);
        callNative(dll, "ExecDeviceCmnd",
                   {obj(ret), obj(storAddr(ADAPTER, 0, 0)), obj(byteBlk(4, {0x12, 0, 0, 0, 96, 0}, 6)),
                    obj(byteBlk(32, counting(128, 1), 0)), obj(block()), obj(sense), i64(0), i64(0), flag(true),
                    flag(true)});
        EXPECT_EQ((Result{-2, 0, 0, 0, 0, 0}), result(ret));
        EXPECT_EQ(0, transferOf(sense));
        EXPECT_EQ(counting(32, 9), blockBytes(sense));

        EXPECT_TRUE(tarnellsim::calls().empty());
    }
}

// ---------------------------------------------------------------- block transfer

TEST_F(LegacyShapes, BlockTransfersCopyBothBlocksBackWhateverTheCode)
{
    const std::vector<int64_t> data = counting(64, 20);
    const std::vector<int64_t> sense = counting(32, 90);
    const auto transfer = [&](const char* native, int channel, int device, jobject block, jobject senseBlock) {
        jobject ret = storRet();
        callNative(dll, native,
                   {obj(ret), obj(storAddr(ADAPTER, channel, device)), obj(apiObject(API_CLASS("DataAddr"))),
                    obj(block), obj(senseBlock), i64(30), i64(0), flag(false)});
        return result(ret);
    };

    // A read fills the block's buffer (its block length) with the data.
    jobject block = byteBlk(16, data, 8);
    jobject senseBlock = byteBlk(8, sense, 4);
    EXPECT_EQ(Result{}, transfer("ReadDevice", 0, 0, block, senseBlock));
    EXPECT_EQ(16, transferOf(block));
    EXPECT_EQ(spliced(std::vector<int64_t>(16, 0), data), blockBytes(block));
    EXPECT_EQ(0, transferOf(senseBlock));
    EXPECT_EQ(sense, blockBytes(senseBlock));

    // A write hands the device the bytes of the array, then the zeroed rest.
    block = byteBlk(8, data, 4);
    EXPECT_EQ(Result{}, transfer("WritePhysDisk", 0, 1, block, byteBlk(8, sense, 0)));
    const tarnellsim::Call write = callsOf("WritePhysDisk").at(0);
    EXPECT_EQ(spliced(counting(4, 20), std::vector<int64_t>(8, 0)), asJavaBytes(write.written.data(), write.written.size()));
    EXPECT_EQ(scalars({8, 8, 30, 0, 0}), write.args);

    // Failures: a dead disk makes the C API leave both lengths 0, which reach
    // Java; a call that never reaches the controller leaves them alone, so
    // each block gets its own bytes back.
    struct Failure {
        const char* native;
        int channel, device;
        int code;
        jint blockTransfer, senseTransfer;
    };
    tarnellsim::injectFailure("WriteDevice", tarnellsim::RC_BUSY);
    for (const Failure& f : {Failure{"ReadPhysDisk", 1, 2, tarnellsim::RC_INVALID_STATE, 0, 0},
                             Failure{"WriteDevice", 0, 0, tarnellsim::RC_BUSY, 8, 4}}) {
        SCOPED_TRACE(f.native);
        block = byteBlk(16, data, 8);
        senseBlock = byteBlk(8, sense, 4);
        EXPECT_EQ((Result{f.code, 0, 0, 0, 0, 0}), transfer(f.native, f.channel, f.device, block, senseBlock));
        EXPECT_EQ(f.blockTransfer, transferOf(block));
        EXPECT_EQ(data, blockBytes(block));
        EXPECT_EQ(f.senseTransfer, transferOf(senseBlock));
        EXPECT_EQ(sense, blockBytes(senseBlock));
    }
}

// ---------------------------------------------------------------- pass-through

class LegacyPassThrough : public LegacyShapes {
protected:
    struct Blocks {
        jobject command, read, write, sense;
    };

    Blocks blocks(std::vector<int64_t> command)
    {
        const jint commandLength = jint(command.size());
        command.resize(size_t(commandLength) * 4, 0);
        return {byteBlk(commandLength, command, commandLength), byteBlk(256, counting(256, 1), 0),
                byteBlk(4, counting(16, 50), 16), byteBlk(32, counting(32, 70), 0)};
    }

    Result exec(const char* native, jobject addr, const Blocks& b)
    {
        jobject ret = storRet();
        callNative(dll, native,
                   {obj(ret), obj(addr), obj(b.command), obj(b.read), obj(b.write), obj(b.sense), i64(60), i64(0),
                    flag(true), flag(true)});
        return result(ret);
    }

    // Sense data of a failed command: its key and additional sense code.
    static std::vector<int64_t> sense(int key, int asc, const std::vector<int64_t>& rest)
    {
        std::vector<int64_t> s{0x70, 0, key, 0, 0, 0, 0, 10, 0, 0, 0, 0, asc, 0, 0, 0, 0, 0};
        return spliced(s, rest);
    }
};

TEST_F(LegacyPassThrough, AdapterCommandsReturnTheReadBlockOnSuccessAndTheSenseBlockAlways)
{
    // The enquiry: block 1's block length is the command length.
    Blocks b = blocks({0x05, 0, 0});
    setIntField(b.command, "iBytesXferLen", 1);
    EXPECT_EQ(Result{}, exec("ExecAdapterCmnd", storAddr(ADAPTER), b));
    const tarnellsim::Call call = callsOf("ExecAdapterCmnd").at(0);
    EXPECT_EQ(scalars({3, 256, 4, 32, 60, 0, 1, 1}), call.args);
    EXPECT_EQ(scalars({5, 0, 0}), std::vector<long long>(call.command.begin(), call.command.end()));
    EXPECT_EQ(counting(4, 50), asJavaBytes(call.written.data(), call.written.size()));

    _ENQUIRY_BBCACHE answer{};
    uint8_t command[3] = {0x05, 0, 0};
    uint32_t readXfer = 0, writeXfer = 0, senseXfer = 0;
    ::ExecAdapterCmnd(cAddress(ADAPTER), command, 3, readXfer, writeXfer, senseXfer, &answer, sizeof answer,
                      nullptr, 0, nullptr, 0, 60, 0, 1, 1);
    ASSERT_EQ(sizeof answer, readXfer);
    EXPECT_EQ(212, transferOf(b.read));
    EXPECT_EQ(spliced(asJavaBytes(&answer, sizeof answer), counting(256, 1)), blockBytes(b.read));
    EXPECT_EQ(0, transferOf(b.sense));
    EXPECT_EQ(16, transferOf(b.write));   // block 3 is never copied back

    // An unknown command fails with sense data: block 2 stays, block 4 gets it.
    b = blocks({0x12, 0, 0, 0, 96, 0});
    EXPECT_EQ((Result{tarnellsim::RC_NOT_SUPPORTED, 0, 0, 0, 0, 0}), exec("ExecAdapterCmnd", storAddr(ADAPTER), b));
    EXPECT_EQ(0, transferOf(b.read));
    EXPECT_EQ(counting(256, 1), blockBytes(b.read));
    EXPECT_EQ(18, transferOf(b.sense));
    EXPECT_EQ(sense(0x05, 0x20, counting(32, 70)), blockBytes(b.sense));

    // The subsystem level answers "no such object" with no sense data: block 4
    // is copied back with the length 0 the call left.
    b = blocks({0x00, 0, 0, 0, 0, 0});
    setIntField(b.read, "iBytesXferLen", 5);
    setIntField(b.sense, "iBytesXferLen", 5);
    EXPECT_EQ((Result{tarnellsim::RC_NO_OBJECT, 0, 0, 0, 0, 0}), exec("ExecSubSystemCmnd", storAddr(ADAPTER), b));
    EXPECT_EQ(5, transferOf(b.read));
    EXPECT_EQ(counting(256, 1), blockBytes(b.read));
    EXPECT_EQ(0, transferOf(b.sense));
    const tarnellsim::Call subsystem = callsOf("ExecSubSystemCmnd").at(0);
    EXPECT_EQ(scalars({0, 0, 0, 0, 0, 0}), std::vector<long long>(subsystem.command.begin(), subsystem.command.end()));
}

TEST_F(LegacyPassThrough, DeviceCommandsReturnBlocksTwoToFourWhateverTheCode)
{
    // INQUIRY of a disk: 96 bytes read, the write block taken whole.
    Blocks b = blocks({0x12, 0, 0, 0, 96, 0});
    EXPECT_EQ(Result{}, exec("ExecDeviceCmnd", storAddr(ADAPTER, 0, 0), b));
    ST_SCSI_INQUIRY_DATA inquiry{};
    uint8_t command[6] = {0x12, 0, 0, 0, 96, 0};
    uint32_t readXfer = 0, writeXfer = 0, senseXfer = 0;
    ::ExecDeviceCmnd(cAddress(ADAPTER, 0, 0), command, 6, readXfer, writeXfer, senseXfer, &inquiry, sizeof inquiry, nullptr, 0, nullptr,
                     0, 60, 0, 1, 1);
    ASSERT_EQ(96u, readXfer);
    EXPECT_EQ(96, transferOf(b.read));
    EXPECT_EQ(spliced(asJavaBytes(&inquiry, 96), counting(256, 1)), blockBytes(b.read));
    EXPECT_EQ(4, transferOf(b.write));
    EXPECT_EQ(0, transferOf(b.sense));

    // The dead disk: not ready. Every block but the command comes back.
    b = blocks({0x12, 0, 0, 0, 96, 0});
    EXPECT_EQ((Result{tarnellsim::RC_CHECK_CONDITION, 0, 0, 0, 0, 0}), exec("ExecDeviceCmnd", storAddr(ADAPTER, 1, 2), b));
    EXPECT_EQ(0, transferOf(b.read));
    EXPECT_EQ(0, transferOf(b.write));
    EXPECT_EQ(18, transferOf(b.sense));
    EXPECT_EQ(sense(0x02, 0x04, counting(32, 70)), blockBytes(b.sense));

    // Lengths beyond the buffers: each copy stops at its buffer.
    tarnellsim::reportLength("ExecDeviceCmnd", 0xFFFFFFFF);
    b = blocks({0x00, 0, 0, 0, 0, 0});
    EXPECT_EQ(Result{}, exec("ExecDeviceCmnd", storAddr(ADAPTER, 0, 0), b));
    EXPECT_EQ(256, transferOf(b.read));    // the array; the buffer holds 1024
    EXPECT_EQ(16, transferOf(b.write));    // the buffer and the array
    EXPECT_EQ(32, transferOf(b.sense));    // the array; the buffer holds 128
}

// ---------------------------------------------------------------- mode pages

TEST_F(LegacyShapes, ModePagesComeBackWhateverTheCode)
{
    uint8_t page[64] = {};
    uint32_t length = 0;
    ASSERT_EQ(0, ::ReadModePageCmnd(cAddress(ADAPTER, 0, 0), length, page, sizeof page, 8).iReturnCode);
    ASSERT_EQ(32u, length);

    const std::vector<int64_t> marks = counting(64, 30);
    jobject block = byteBlk(64, marks, 0);
    jobject ret = storRet();
    callNative(dll, "ReadModePageCmnd", {obj(ret), obj(storAddr(ADAPTER, 0, 0)), obj(block), i64(8)});
    EXPECT_EQ(Result{}, result(ret));
    EXPECT_EQ(jint(length), transferOf(block));
    EXPECT_EQ(spliced(asJavaBytes(page, length), marks), blockBytes(block));

    // A page the disk does not have: the length 0 the call left reaches Java.
    block = byteBlk(64, marks, 5);
    callNative(dll, "ReadModePageCmnd", {obj(ret), obj(storAddr(ADAPTER, 0, 0)), obj(block), i64(0x1C)});
    EXPECT_EQ((Result{tarnellsim::RC_NOT_SUPPORTED, 0, 0, 0, 0, 0}), result(ret));
    EXPECT_EQ(0, transferOf(block));
    EXPECT_EQ(marks, blockBytes(block));

    // Written back: the disk takes the page as read, and the block gets it back.
    block = byteBlk(64, spliced(asJavaBytes(page, length), marks), jint(length));
    callNative(dll, "WriteModePageCmnd", {obj(ret), obj(storAddr(ADAPTER, 0, 0)), obj(block), i64(8)});
    EXPECT_EQ(Result{}, result(ret));
    const tarnellsim::Call write = callsOf("WriteModePageCmnd").at(0);
    EXPECT_EQ(scalars({64, 8}), write.args);
    EXPECT_EQ(asJavaBytes(page, tarnellsim::LOGGED_BYTES), asJavaBytes(write.written.data(), write.written.size()));
    EXPECT_EQ(64, transferOf(block));
}

} // namespace
