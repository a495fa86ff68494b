#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "LegacyTest.h"
#include "storagedll/convengine.h"
#include "storagedll/storconv.h"

// StorageDataConverter against the Java value classes: the tables and the
// classes agree, the engine writes and reads every rule, and the special
// converters (byte blocks, address lists, holders, logical drives, features,
// events) behave at their edges.

using namespace legacytest;
using namespace legacyconv;

namespace {

// Byte i of a record: an index pattern that gives every byte its own value.
std::vector<uint8_t> pattern(size_t size, unsigned step = 37)
{
    std::vector<uint8_t> bytes(size ? size : 1);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = uint8_t(i * step + 11);
    return bytes;
}

std::vector<uint8_t> indexPattern(size_t size)
{
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = uint8_t(i);
    return bytes;
}

uint32_t valueMask(const FieldRule& r)
{
    const unsigned bits = r.width ? r.width : 8u * r.size;
    return bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1u;
}

std::vector<int64_t> longs(std::initializer_list<int64_t> v) { return v; }

class LegacyConverter : public LegacyTest {
protected:
    StorageDataConverter conv;

    jobject objectOf(const RecordTable& table) { return apiObject(table.javaClass); }

    // Every field or method of the table exists in the class with its signature.
    void expectMembers(jclass cls, const RecordTable& table)
    {
        for (const FieldRule& r : table) {
            SCOPED_TRACE(std::string(table.javaClass) + "." + r.name + " " + r.signature);
            if (r.kind == FieldKind::Inline) {
                expectMembers(cls, *r.table);
            } else if (r.kind == FieldKind::LongMethod) {
                EXPECT_NE(nullptr, e->GetMethodID(cls, r.name, r.signature));
            } else if (r.kind == FieldKind::Series) {
                for (unsigned i = 0; i < r.count; ++i) {
                    char name[64];
                    seriesName(r, i, name, sizeof name);
                    EXPECT_NE(nullptr, e->GetFieldID(cls, name, r.signature)) << name;
                }
            } else {
                EXPECT_NE(nullptr, e->GetFieldID(cls, r.name, r.signature));
            }
            EXPECT_FALSE(takeException(e));
        }
    }

    jobject storAddr(int adapter, const std::vector<int64_t>& name)
    {
        jobject a = apiObject(API_CLASS("StorAddr"));
        setIntField(a, "iAdapterID", adapter);
        setScalar(a, "lMap", "J", 0x100000000LL + adapter);
        setElements(a, "cDllName", "[C", name);
        return a;
    }
};

TEST_F(LegacyConverter, TablesMatchTheJavaClasses)
{
    size_t count = 0;
    const RecordTable* const* tables = allTables(count);
    for (size_t t = 0; t < count; ++t) {
        jclass cls = e->FindClass(tables[t]->javaClass);
        ASSERT_FALSE(takeException(e)) << tables[t]->javaClass;
        expectMembers(cls, *tables[t]);
        e->DeleteLocalRef(cls);
    }
    for (const HolderRule* h : {&intHolder, &shortHolder, &longHolder, &booleanHolder}) {
        jclass cls = e->FindClass(h->javaClass);
        EXPECT_NE(nullptr, e->GetMethodID(cls, h->getter, h->getterSig)) << h->javaClass;
        EXPECT_NE(nullptr, e->GetMethodID(cls, h->setter, h->setterSig)) << h->javaClass;
        EXPECT_FALSE(takeException(e));
    }
    jclass block = e->FindClass(API_CLASS("ByteBlk"));
    EXPECT_NE(nullptr, e->GetFieldID(block, BYTEBLK_ARRAY, "[B"));
    EXPECT_NE(nullptr, e->GetFieldID(block, BYTEBLK_TRANSFER, "I"));
    EXPECT_NE(nullptr, e->GetFieldID(block, BYTEBLK_BLOCK, "I"));
    jclass list = e->FindClass(API_CLASS("AddrList"));
    EXPECT_NE(nullptr, e->GetMethodID(list, ADDRLIST_COUNT));
    EXPECT_NE(nullptr, e->GetMethodID(list, ADDRLIST_GET));
    EXPECT_NE(nullptr, e->GetMethodID(list, ADDRLIST_ENSURE));
    EXPECT_NE(nullptr, e->GetMethodID(list, ADDRLIST_CLEAR));
    EXPECT_NE(nullptr, e->GetMethodID(list, ADDRLIST_CREATE));
    EXPECT_FALSE(takeException(e));
}

// Every C-to-Java table onto a marked object from a patterned record, and
// every Java-to-C table from a marked object into a record.
TEST_F(LegacyConverter, TheEngineMovesEveryRule)
{
    size_t count = 0;
    const RecordTable* const* tables = allTables(count);
    for (size_t t = 0; t < count; ++t) {
        const RecordTable& table = *tables[t];
        if (&table == &raidEventTable)
            continue;
        SCOPED_TRACE(table.javaClass);
        jobject o = objectOf(table);
        mark(o, 7);
        const std::vector<uint8_t> rec = pattern(table.recordSize);
        toJava(e, o, table, rec.data());
        EXPECT_FALSE(takeException(e));
        expectFields(o, table, rec.data());
    }
    for (const RecordTable* table : {&storRetTable, &storAddrTable, &versionTable, &deviceSizeTable, &arraySizeTable}) {
        SCOPED_TRACE(table->javaClass);
        jobject o = objectOf(*table);
        mark(o, 11);
        std::vector<uint8_t> rec(table->recordSize, 0xEE);
        toC(e, o, *table, rec.data());
        for (const FieldRule& r : *table) {
            if (r.kind == FieldKind::Scalar) {
                EXPECT_EQ(scalar(o, r.name, r.signature) & valueMask(r), cValue(r, rec.data())) << r.name;
            } else {
                const std::vector<int64_t> java = elements(o, r.name, r.signature);
                for (unsigned i = 0; i < elementsToCopy(r, jsize(java.size())); ++i)
                    EXPECT_EQ(java[i] & valueMask(r), cValue(r, rec.data(), i)) << r.name << "[" << i << "]";
            }
        }
    }
}

// Offsets of the nested records, read off an index pattern (byte i = i).
TEST_F(LegacyConverter, NestedRecordsComeFromTheirOffsets)
{
    std::vector<uint8_t> raw = indexPattern(sizeof(_RAID_ADAPTER_INFO));
    _RAID_ADAPTER_INFO info;
    std::memcpy(&info, raw.data(), sizeof info);
    jobject raid = apiObject(API_CLASS("RaidAdapterInfo"));
    conv.RAID_ADAPTER_INFOcpp_TO_RaidAdapterInfoJava(e, raid, info);
    EXPECT_EQ(0xB1B0, intField(raid, "iVirtDevCount"));
    EXPECT_EQ(0x0100, intField(raid, "iAdapNum"));
    EXPECT_EQ(0x0B0A0908, longField(raid, "lAdapBIOSSize"));
    EXPECT_EQ(0x13121110, intField(objectField(raid, "oAdapVers", LEGACY_API_SIG("Version")), "iMajorVersion"));
    EXPECT_EQ(0x33323130, intField(objectField(raid, "oAdapBIOSVers", LEGACY_API_SIG("Version")), "iMajorVersion"));
    jobject type = objectField(raid, "oAdapType", LEGACY_API_SIG("AdapterType"));
    EXPECT_EQ(0x70, scalar(type, "sCmndType", "S"));
    EXPECT_EQ(0x87868584LL, longField(type, "lImplementation"));
    jobject addr = objectField(raid, "oAdapAddr", LEGACY_API_SIG("StorAddr"));
    EXPECT_EQ(0x9190, intField(addr, "iAdapterID"));
    EXPECT_EQ(0xA8, elements(addr, "cDllName", "[C")[0]);

    raw = indexPattern(sizeof(_DEVICE_INFO));
    _DEVICE_INFO device;
    std::memcpy(&device, raw.data(), sizeof device);
    jobject dev = apiObject(API_CLASS("DeviceInfo"));
    conv.DEVICE_INFOcpp_TO_DeviceInfoJava(e, dev, device);
    EXPECT_EQ(0x0100, scalar(dev, "sDevType", "S"));
    EXPECT_EQ(1, scalar(dev, "blInqDataValid", "Z"));
    EXPECT_EQ(0x17161514, intField(objectField(dev, "oDevFirmVers", LEGACY_API_SIG("Version")), "iMajorVersion"));
    EXPECT_EQ(0x3534, intField(objectField(dev, "oDevAddr", LEGACY_API_SIG("StorAddr")), "iSystemID"));
    EXPECT_EQ(0x5F5E5D5C, longField(objectField(dev, "oDevSize", LEGACY_API_SIG("DeviceSize")), "lSectorCount"));
    jobject inq = objectField(dev, "oDevInq", LEGACY_API_SIG("ScsiInquiryData"));
    EXPECT_EQ(0x6C, scalar(inq, "bAddSenseLength", "B"));
    EXPECT_EQ(0x70, elements(inq, "bVendorId", "[B")[0]);
}

TEST_F(LegacyConverter, AddressesAndVersionsAtTheirWidths)
{
    _STORAGE_ADDRESS_ID a;
    std::memset(&a, 0xEE, sizeof a);
    jobject addr = storAddr(0x12345, {'A', 'B', 'C'});
    conv.StorAddrJava_TO_STADDRcpp(e, addr, a);
    const uint16_t adapter = a.usAdapterID;
    const uint32_t map = a.ulMap;
    EXPECT_EQ(0x2345, adapter);
    EXPECT_EQ(0x00012345u, map);
    EXPECT_EQ(0, std::memcmp(a.ucDllName, "ABC\xEE\xEE\xEE\xEE\xEE", 8));   // the rest as it was
    setElements(addr, "cDllName", "[C", {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9', 'a', 0x141});
    conv.StorAddrJava_TO_STADDRcpp(e, addr, a);
    EXPECT_EQ(0, std::memcmp(a.ucDllName, "01234567", 8));

    a.usAdapterID = 65535;
    a.ulMap = 0xFFFFFFFFu;
    a.ucDllName[0] = 0xE9;
    jobject back = apiObject(API_CLASS("StorAddr"));
    conv.STADDRcpp_TO_StorAddrJava(e, back, a);
    EXPECT_EQ(65535, intField(back, "iAdapterID"));
    EXPECT_EQ(4294967295LL, longField(back, "lMap"));
    EXPECT_EQ(0xE9, elements(back, "cDllName", "[C")[0]);

    // A 20-byte text keeps its first 16; a 10-byte array gets the first 10.
    _STORAGE_VERSION v;
    std::memset(&v, 0, sizeof v);
    jobject version = apiObject(API_CLASS("Version"));
    std::vector<int64_t> twenty;
    for (int i = 0; i < 20; ++i)
        twenty.push_back('a' + i);
    setElements(version, "baTextVersion", "[B", twenty);
    conv.VersionJava_TO_VERSIONcpp(e, version, v);
    EXPECT_EQ(0, std::memcmp(v.ucText, "abcdefghijklmnop", 16));
    EXPECT_EQ(0, v.uc3MValid);
    setElements(version, "baTextVersion", "[B", std::vector<int64_t>(10, 'z'));
    conv.VERSIONcpp_TO_VersionJava(e, version, v);
    EXPECT_EQ(std::vector<int64_t>({'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j'}),
              elements(version, "baTextVersion", "[B"));

    // StorRet both ways, bit for bit.
    S_Ret ret(-5, 0xFFFFFFFFu, 2, 3, 0x80000000u, -6);
    jobject storRet = apiObject(API_CLASS("StorRet"));
    conv.S_Retcpp_TO_StorRetJava(e, storRet, ret);
    EXPECT_EQ((Result{-5, -1, 2, 3, INT32_MIN, -6}), result(storRet));
    S_Ret again;
    conv.StorRetJava_TO_S_Retcpp(e, storRet, again);
    EXPECT_EQ(0x80000000u, again.iunSignedReturnValue);
    EXPECT_EQ(0xFFFFFFFFu, again.iAPIReturnCode);
}

TEST_F(LegacyConverter, ByteBlocksIntoTheC_Api)
{
    struct Case {
        const char* what;
        int arrayLength, transfer, block;
        int expected;
        bool allocated;
    };
    const std::vector<Case> cases = {
        {"fits", 100, 100, 128, 0, true},
        {"empty", 0, 0, 0, 0, true},
        {"longer than the array", 100, 101, 128, -2, true},
        {"longer than the block", 1000, 600, 128, -2, true},
        {"negative transfer", 100, -1, 128, -2, true},
        {"negative block", 100, 10, -1, -2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        jobject blk = apiObject(API_CLASS("ByteBlk"));
        std::vector<int64_t> bytes;
        for (int i = 0; i < c.arrayLength; ++i)
            bytes.push_back(i & 0x7F);
        setElements(blk, "byteArray", "[B", bytes);
        setIntField(blk, "iBytesXferLen", c.transfer);
        setIntField(blk, "iBlockLength", c.block);
        void* buffer = new uint8_t[8];   // a block held before is released
        uint32_t blockLength = 0, transfer = 0;
        EXPECT_EQ(c.expected, conv.ByteBlkJava_TO_PVOIDcpp(e, blk, buffer, blockLength, transfer));
        EXPECT_EQ(uint32_t(c.block), blockLength);
        EXPECT_EQ(uint32_t(c.transfer), transfer);
        EXPECT_EQ(c.allocated, buffer != nullptr);
        if (c.expected == 0 && c.transfer > 0) {
            const auto* b = static_cast<const uint8_t*>(buffer);
            EXPECT_EQ(0, b[0]);
            EXPECT_EQ(99, b[99]);
            EXPECT_EQ(0, b[4 * c.block - 1]);   // the whole block is there, the rest zeroed
        }
        if (c.expected != 0 && buffer) {
            EXPECT_EQ(0, static_cast<const uint8_t*>(buffer)[1]);   // nothing copied
        }
        delete[] static_cast<uint8_t*>(buffer);
    }
    void* buffer = nullptr;
    uint32_t blockLength = 0, transfer = 0;
    EXPECT_EQ(-2, conv.ByteBlkJava_TO_PVOIDcpp(e, nullptr, buffer, blockLength, transfer));

    // 600 bytes into a 512-byte array: 512 copied and counted.
    jobject blk = apiObject(API_CLASS("ByteBlk"));
    setElements(blk, "byteArray", "[B", std::vector<int64_t>(512, 0));
    std::vector<uint8_t> data = pattern(600);
    EXPECT_EQ(0, conv.PVOIDcpp_TO_ByteBlkJava(e, blk, data.data(), 600));
    EXPECT_EQ(512, intField(blk, "iBytesXferLen"));
    const std::vector<int64_t> got = elements(blk, "byteArray", "[B");
    EXPECT_EQ(int8_t(data[511]), got[511]);
    EXPECT_EQ(-2, conv.PVOIDcpp_TO_ByteBlkJava(e, blk, nullptr, 10));
}

TEST_F(LegacyConverter, AddressListsBothWays)
{
    // C to Java: one ensureCapacity, one clearAllAddresses, one createNewAddress each.
    _STORAGE_ADDRESS_ID records[3] = {};
    for (int i = 0; i < 3; ++i) {
        records[i].usAdapterID = uint16_t(65533 + i);
        records[i].ulMap = 0xFFFFFFF0u + uint32_t(i);
        std::memcpy(records[i].ucDllName, "TNCAPI", 6);
    }
    jobject recording = apiObject("tarnelltest/legacy/RecordingAddrList");
    EXPECT_EQ(0, conv.PSTADDRcpp_TO_AddrListJava(e, recording, records, 3));
    jobject log = objectField(recording, "log", "Ljava/lang/StringBuilder;");
    jclass sb = e->GetObjectClass(log);
    auto text = static_cast<jstring>(e->CallObjectMethod(log, e->GetMethodID(sb, "toString", "()Ljava/lang/String;")));
    ASSERT_FALSE(takeException(e));
    const char* chars = e->GetStringUTFChars(text, nullptr);
    EXPECT_STREQ("ensureCapacity(3);clearAllAddresses();createNewAddress(65533,4294967280,TNCAPI..);"
                 "createNewAddress(65534,4294967281,TNCAPI..);createNewAddress(65535,4294967282,TNCAPI..);",
                 chars);
    e->ReleaseStringUTFChars(text, chars);

    // Java to C, and its refusals.
    jobject list = apiObject(API_CLASS("AddrList"));
    jmethodID add = e->GetMethodID(e->GetObjectClass(list), "addAddress", "(" LEGACY_API_SIG("StorAddr") ")V");
    for (int i = 0; i < 3; ++i) {
        e->CallVoidMethod(list, add, storAddr(i + 1, {'N'}));
        ASSERT_FALSE(takeException(e));
    }
    _STORAGE_ADDRESS_ID* out = nullptr;
    uint32_t size = 0, count = 3;
    EXPECT_EQ(0, conv.AddrListJava_TO_PSTADDRcpp(e, list, out, size, count));
    ASSERT_NE(nullptr, out);
    EXPECT_EQ(120u, size);
    EXPECT_EQ(3, int(out[2].usAdapterID));
    EXPECT_EQ(0, std::memcmp(out[2].ucDllName, "N\0\0\0\0\0\0\0", 8));   // zeroed first

    struct Refusal {
        const char* what;
        jobject list;
        uint32_t count;
        int expected;
        bool allocated;
    };
    jobject countOnly = apiObject("tarnelltest/legacy/CountOnlyList");
    setIntField(countOnly, "count", 2);
    jobject withNull = apiObject(API_CLASS("AddrList"));
    e->CallVoidMethod(withNull, add, nullptr);
    ASSERT_FALSE(takeException(e));
    for (const Refusal& r : std::vector<Refusal>{{"more than the list holds", list, 4, -2, false},
                                                 {"a negative count", list, 0xFFFFFFFFu, -2, false},
                                                 {"above 65535", list, 65536, -2, false},
                                                 {"a null element", withNull, 1, -2, true},
                                                 {"no getAddress", countOnly, 2, -9, true},
                                                 {"no getAddressCount", apiObject(API_CLASS("StorRet")), 1, -3, true},
                                                 {"no list", nullptr, 1, -2, true}}) {
        SCOPED_TRACE(r.what);
        uint32_t c = r.count;
        EXPECT_EQ(r.expected, conv.AddrListJava_TO_PSTADDRcpp(e, r.list, out, size, c));
        EXPECT_EQ(r.allocated, out != nullptr);
        EXPECT_FALSE(takeException(e));
    }
    delete[] out;
}

TEST_F(LegacyConverter, HoldersThroughTheirMethods)
{
    jobject i = apiObject(API_CLASS("IVal"));
    jobject s = apiObject(API_CLASS("SVal"));
    jobject l = apiObject(API_CLASS("LVal"));
    jobject b = apiObject(API_CLASS("BlVal"));
    conv.INT_REFcpp_TO_IValJava(e, i, -7);
    conv.USHORT_REFcpp_TO_SValJava(e, s, 0xFFFF);
    conv.ULONG_REFcpp_TO_LValJava(e, l, 0xFFFFFFFFu);
    conv.BOOL_REFcpp_TO_BlValJava(e, b, 5);
    EXPECT_EQ("{value=-7 }", describe(i));
    EXPECT_EQ("{value=-1 }", describe(s));
    EXPECT_EQ("{value=4294967295 }", describe(l));
    EXPECT_EQ("{value=true }", describe(b));

    int iv = 0, bv = 0;
    uint16_t sv = 0;
    uint32_t lv = 0;
    setScalar(l, "value", "J", 0x123456789LL);
    conv.IValJava_TO_INT_REFcpp(e, i, iv);
    conv.SValJava_TO_USHORT_REFcpp(e, s, sv);
    conv.LValJava_TO_ULONG_REFcpp(e, l, lv);
    conv.BlValJava_TO_BOOL_REFcpp(e, b, bv);
    EXPECT_EQ(-7, iv);
    EXPECT_EQ(65535, sv);
    EXPECT_EQ(0x23456789u, lv);
    EXPECT_EQ(1, bv);
    // A holder without the method leaves the target as it was.
    conv.IValJava_TO_INT_REFcpp(e, l, iv);
    EXPECT_EQ(-7, iv);
    EXPECT_FALSE(takeException(e));
}

TEST_F(LegacyConverter, HotSlotsFromTheMask)
{
    jobject slots = apiObject(API_CLASS("HotPCISlots"));
    setElements(slots, "blaHotSlots", "[Z", std::vector<int64_t>(4, 0));
    uint32_t mask = 0x5;
    conv.ULONG_SLOTMASKcpp_TO_HotPCISlotsJava(e, slots, mask);
    EXPECT_EQ(longs({1, 0, 1, 0}), elements(slots, "blaHotSlots", "[Z"));

    setElements(slots, "blaHotSlots", "[Z", std::vector<int64_t>(40, 1));
    mask = 0xFFFFFFFFu;
    conv.ULONG_SLOTMASKcpp_TO_HotPCISlotsJava(e, slots, mask);
    std::vector<int64_t> expected(40, 0);
    std::fill(expected.begin(), expected.begin() + 32, 1);
    EXPECT_EQ(expected, elements(slots, "blaHotSlots", "[Z"));
}

TEST_F(LegacyConverter, RaidConfigurationAndLogicalDrives)
{
    _ADAPTER_CONFIG config;
    std::memset(&config, 0, sizeof config);
    const uint8_t opts[4] = {0x34, 0x12, 0x5A, 0x81};
    std::memcpy(&config.sUserOpts, opts, 4);
    config.usUserField = 0x0102;
    config.sHardwareDesc.ulNvramSize = 32768;
    config.sDevState[2][5].ucState = 0x89;
    config.sDevState[2][5].ucBlockCount = 0x80000001u;
    config.sVirtDrv[7].ulVirtDriveSize = 0xFFFFFFFEu;
    jobject raid = apiObject(API_CLASS("RaidConfig"));
    conv.ACONFIGcpp_TO_RaidConfigJava(e, raid, config);
    EXPECT_EQ(258, scalar(raid, "sUserField", "S"));
    EXPECT_EQ(32768, intField(objectField(raid, "oHardwareDesc", LEGACY_API_SIG("HardwareDesc")), "iNvramSize"));
    jobject user = objectField(raid, "oUserOpts", LEGACY_API_SIG("UserOpts"));
    EXPECT_EQ(0x1234, scalar(user, "sCfgDriveUpdateCount", "S"));
    EXPECT_EQ(10, scalar(user, "bStartupDelay", "B"));
    EXPECT_EQ(5, scalar(user, "bConcurDriveStartCount", "B"));
    EXPECT_EQ(1, scalar(user, "bCopyBackEnabled", "B"));
    EXPECT_EQ(0, scalar(user, "bCluster", "B"));
    EXPECT_EQ(1, scalar(user, "bAutoRearrange", "B"));
    jobject state = objectField(raid, "oDevState37", LEGACY_API_SIG("DevState"));
    EXPECT_EQ(int8_t(0x89), scalar(state, "bState", "B"));
    EXPECT_EQ(int32_t(0x80000001u), intField(state, "iBlockCount"));
    EXPECT_EQ(0, scalar(objectField(raid, "oDevState36", LEGACY_API_SIG("DevState")), "bState", "B"));
    EXPECT_EQ(4294967294LL, longField(objectField(raid, "oVirtDrv7", LEGACY_API_SIG("VirtDrvParms")), "lVirtDriveSize"));

    // Logical drives from 3 and from 12 records; a slot without a record only
    // has its state cleared.
    std::vector<_VIRT_DRV_PARMS> drives(12);
    for (size_t i = 0; i < drives.size(); ++i) {
        std::vector<uint8_t> raw = pattern(sizeof(_VIRT_DRV_PARMS), unsigned(7 + i));
        std::memcpy(&drives[i], raw.data(), sizeof drives[i]);
        drives[i].ucState = uint8_t(0x10 + i);
    }
    for (uint32_t n : {3u, 12u}) {
        SCOPED_TRACE(n);
        jobject holder = apiObject(API_CLASS("VirtDrv"));
        mark(holder, 3);
        jobject first = objectField(holder, "oVirtDrv0", LEGACY_API_SIG("VirtDrvParms"));
        setElements(first, "bChannel", "[B", std::vector<int64_t>(4, 0));
        conv.VIRT_DRV_PARMScpp_TO_VirtDrvJava(e, holder, n, drives.data());
        EXPECT_EQ(4u, elements(first, "bChannel", "[B").size());
        for (unsigned k = 0; k < 4; ++k)
            EXPECT_EQ(int8_t(drives[0].sChunk[k].ucChannel), elements(first, "bChannel", "[B")[k]);
        for (unsigned i = 0; i < 8; ++i) {
            jobject drive = objectField(holder, ("oVirtDrv" + std::to_string(i)).c_str(), LEGACY_API_SIG("VirtDrvParms"));
            if (i < n) {
                EXPECT_EQ(0x10 + int(i), scalar(drive, "bState", "B"));
                EXPECT_EQ(int64_t(drives[i].ulVirtDriveSize), longField(drive, "lVirtDriveSize"));
            } else {
                EXPECT_EQ(0, scalar(drive, "bState", "B"));
                EXPECT_EQ(0x5A00000000LL, longField(drive, "lVirtDriveSize") & 0xFF00000000LL);   // still marked
            }
        }
    }
}

TEST_F(LegacyConverter, FeaturesOfAnOlderClass)
{
    _ADAPTER_FEATURES features;
    std::memset(&features, 0, sizeof features);
    auto* bytes = reinterpret_cast<uint8_t*>(&features);
    bytes[15] = 0x2B;
    bytes[24] = 0x14;
    bytes[28] = 0x07;
    bytes[32] = 0x02;
    features.ulResv10[0] = 0xFFFFFFFFu;
    _ADAPTER_FEATURES* p = &features;

    jobject current = apiObject(API_CLASS("AdapterFeatures"));
    conv.PADAPTER_FEATUREScpp_TO_AdapterFeaturesJava(e, current, p);
    EXPECT_EQ(3, intField(current, "iU160RelLevel"));
    EXPECT_EQ(5, intField(current, "iU160TstLevel"));
    EXPECT_EQ(0x14, intField(current, "iVendorID"));
    EXPECT_EQ(4294967295LL, elements(current, "lResv10", "[J")[0]);

    jobject old = apiObject("tarnelltest/legacy/OldAdapterFeatures");
    mark(old, 1);
    conv.PADAPTER_FEATUREScpp_TO_AdapterFeaturesJava(e, old, p);
    EXPECT_FALSE(e->ExceptionCheck());
    EXPECT_EQ(7, intField(old, "iRevisionID"));
    EXPECT_EQ(2, intField(old, "iCopyBackRL"));
    EXPECT_EQ(3, intField(old, "iU160RelLevel"));
    EXPECT_EQ(longs({4294967295LL, 0}), elements(old, "lResv10", "[J"));

    _ADAPTER_FEATURES* none = nullptr;
    EXPECT_EQ(0, conv.PADAPTER_FEATUREScpp_TO_AdapterFeaturesJava(e, current, none));
}

TEST_F(LegacyConverter, RaidEventsIntoTheirRecord)
{
    jobject event = apiObject(API_CLASS("RaidEvent"));
    setIntField(event, "eventType", 0x12345);
    setIntField(event, "eventCode", -2);
    setScalar(event, "eventDateTime", "J", 0x100000005LL);
    jfieldID textId = e->GetFieldID(e->GetObjectClass(event), "eventString", "Ljava/lang/String;");
    e->SetObjectField(event, textId, javaString(std::string(600, 'x')));
    _RAID_EVENT rec;
    std::memset(&rec, 0xEE, sizeof rec);
    EXPECT_EQ(0, conv.RaidEventJava_TO_RAID_EVENTcpp(e, event, &rec));
    const uint16_t type = rec.usEventType;
    const uint32_t code = rec.ulEventCode, time = rec.ulEventDateTime;
    EXPECT_EQ(0x2345, type);
    EXPECT_EQ(0xFFFFFFFEu, code);
    EXPECT_EQ(5u, time);
    EXPECT_EQ(std::string(511, 'x'), reinterpret_cast<const char*>(rec.ucEventString));
    EXPECT_EQ(0, rec.ucFru[0]);   // a null fru: an empty text
    EXPECT_EQ(0, conv.RaidEventJava_TO_RAID_EVENTcpp(e, event, nullptr));
}

TEST_F(LegacyConverter, EnclosureArraysOfOtherLengths)
{
    std::vector<uint8_t> raw = indexPattern(sizeof(_SAFTE_STATUS));
    _SAFTE_STATUS status;
    std::memcpy(&status, raw.data(), sizeof status);
    jobject s = apiObject(API_CLASS("SafteStatus"));
    setElements(s, "bSlotScsiId", "[B", std::vector<int64_t>(8, 0));
    conv.SAFTE_STATUScpp_TO_SafteStatusJava(e, s, status);
    EXPECT_EQ(longs({6, 7, 8, 9, 10, 11, 12, 13}), elements(s, "bSlotScsiId", "[B"));
    setElements(s, "bSlotScsiId", "[B", std::vector<int64_t>(20, -1));
    conv.SAFTE_STATUScpp_TO_SafteStatusJava(e, s, status);
    const std::vector<int64_t> slots = elements(s, "bSlotScsiId", "[B");
    EXPECT_EQ(19, slots[13]);
    EXPECT_EQ(longs({-1, -1, -1, -1, -1, -1}), std::vector<int64_t>(slots.begin() + 14, slots.end()));
}

// The operations that convert nothing leave both sides as they were.
TEST_F(LegacyConverter, ThirtyFourOperationsConvertNothing)
{
    static struct {
        alignas(8) uint8_t bytes[4096];
    } rec;
    std::memset(rec.bytes, 0x5C, sizeof rec.bytes);
    void* block = rec.bytes;
    uint32_t blockLength = 9, transfer = 8;
#define R(T) *reinterpret_cast<T*>(rec.bytes)
    const std::vector<std::function<int(jobject)>> ops = {
        [&](jobject o) { return conv.DllTypeJava_TO_DLL_TYPEcpp(e, o, R(_DLL_TYPE)); },
        [&](jobject o) { return conv.AdapterStatusJava_TO_ADAPTER__STATUScpp(e, o, R(_STORAGE_ADAPTER_STATUS)); },
        [&](jobject o) { return conv.SubSystemStatusJava_TO_SUBSYSTEM_STATUScpp(e, o, R(_SUBSYSTEM_STATUS)); },
        [&](jobject o) { return conv.MaxAddrJava_TO_MAX_ADDRcpp(e, o, R(_MAX_ADDR_VALUES)); },
        [&](jobject o) { return conv.AdapterTypeJava_TO_ADAP_TYPEcpp(e, o, R(_ADAPTER_TYPE)); },
        [&](jobject o) { return conv.AdapterInfoJava_TO_ADAPTER_INFOcpp(e, o, R(_ADAPTER_INFO)); },
        [&](jobject o) { return conv.ChannelInfoJava_TO_CHANNEL_INFOcpp(e, o, R(_CHANNEL_INFO)); },
        [&](jobject o) { return conv.RaidAdapterInfoJava_TO_RAID_ADAPTER_INFOcpp(e, o, R(_RAID_ADAPTER_INFO)); },
        [&](jobject o) { return conv.RaidArrayInfoJava_TO_RAID_ARRAY_INFOcpp(e, o, R(_RAID_ARRAY_INFO)); },
        [&](jobject o) { return conv.VirtualDeviceInfoJava_TO_VIRT_DEVICE_INFOcpp(e, o, R(_VIRTUAL_DEVICE_INFO)); },
        [&](jobject o) { return conv.LoopInfoJava_TO_LOOP_INFOcpp(e, o, R(_LOOP_INFO)); },
        [&](jobject o) { return conv.SubSystemInfoJava_TO_SUBSYSTEM_INFOcpp(e, o, R(_SUBSYSTEM_INFO)); },
        [&](jobject o) { return conv.DeviceInfoJava_TO_DEVICE_INFOcpp(e, o, R(_DEVICE_INFO)); },
        [&](jobject o) { return conv.DataAddrJava_TO_DTADDRcpp(e, o, R(_DATA_ADDRESS)); },
        [&](jobject o) { return conv.CmndBlkJava_TO_PVOIDcpp(e, o, block, blockLength, transfer); },
        [&](jobject o) { return conv.AdapterStatisticsJava_TO_ADAPTER_STATScpp(e, o, R(_ADAPTER_STATISTICS)); },
        [&](jobject o) {
            return conv.PhysicalDeviceStatisticsJava_TO_PHYS_DEV_STATScpp(e, o, R(_PHYSICAL_DEVICE_STATISTICS));
        },
        [&](jobject o) {
            return conv.VirtualDeviceStatisticsJava_TO_VIRT_DEV_STATScpp(e, o, R(_VIRTUAL_DEVICE_STATISTICS));
        },
        [&](jobject o) { return conv.VirtualDeviceGroupJava_TO_VIRT_DEV_GRPcpp(e, o, R(_VIRTUAL_DEVICE_GROUP)); },
        [&](jobject o) { return conv.ScsiInquiryDataJava_TO_SCSI_INQ_DATAcpp(e, o, R(ST_SCSI_INQUIRY_DATA)); },
        [&](jobject o) { return conv.SafteConfigJava_TO_SAFTE_CONFIGcpp(e, o, R(_SAFTE_CONFIGURATION)); },
        [&](jobject o) { return conv.SafteStatusJava_TO_SAFTE_STATUScpp(e, o, R(_SAFTE_STATUS)); },
        [&](jobject o) { return conv.SUBSYSTEM_STATUScpp_TO_SubSystemStatusJava(e, o, R(_SUBSYSTEM_STATUS)); },
        [&](jobject o) { return conv.CHANNEL_INFOcpp_TO_ChannelInfoJava(e, o, R(_CHANNEL_INFO)); },
        [&](jobject o) { return conv.RAID_ARRAY_INFOcpp_TO_RaidArrayInfoJava(e, o, R(_RAID_ARRAY_INFO)); },
        [&](jobject o) { return conv.VIRT_DEVICE_INFOcpp_TO_VirtualDeviceInfoJava(e, o, R(_VIRTUAL_DEVICE_INFO)); },
        [&](jobject o) { return conv.LOOP_INFOcpp_TO_LoopInfoJava(e, o, R(_LOOP_INFO)); },
        [&](jobject o) { return conv.SUBSYSTEM_INFOcpp_TO_SubSystemInfoJava(e, o, R(_SUBSYSTEM_INFO)); },
        [&](jobject o) { return conv.DTADDRcpp_TO_DataAddrJava(e, o, R(_DATA_ADDRESS)); },
        [&](jobject o) { return conv.PVOIDcpp_TO_CmndBlkJava(e, o, rec.bytes, 16); },
        [&](jobject o) { return conv.ADAPTER_STATScpp_TO_AdapterStatisticsJava(e, o, R(_ADAPTER_STATISTICS)); },
        [&](jobject o) {
            return conv.PHYS_DEV_STATScpp_TO_PhysicalDeviceStatisticsJava(e, o, R(_PHYSICAL_DEVICE_STATISTICS));
        },
        [&](jobject o) {
            return conv.VIRT_DEV_STATScpp_TO_VirtualDeviceStatisticsJava(e, o, R(_VIRTUAL_DEVICE_STATISTICS));
        },
        [&](jobject o) { return conv.VIRT_DEV_GRPcpp_TO_VirtualDeviceGroupJava(e, o, R(_VIRTUAL_DEVICE_GROUP)); },
    };
#undef R
    EXPECT_EQ(34u, ops.size());
    // Any Java object will do: a converter of this kind reads and writes none of it.
    jobject o = apiObject(API_CLASS("DeviceInfo"));
    mark(o, 2);
    const std::string before = describe(o);
    for (size_t i = 0; i < ops.size(); ++i) {
        EXPECT_EQ(0, ops[i](o)) << i;
        EXPECT_EQ(0, ops[i](nullptr)) << i;
    }
    EXPECT_EQ(before, describe(o));
    EXPECT_EQ(std::vector<uint8_t>(sizeof rec.bytes, 0x5C), std::vector<uint8_t>(rec.bytes, rec.bytes + sizeof rec.bytes));
    EXPECT_EQ(rec.bytes, block);
    EXPECT_EQ(9u, blockLength);
    EXPECT_EQ(8u, transfer);
}

} // namespace
