#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "storagedll/bridgerec.h"
#include "storagedll/convtables.h"

// The field tables of the legacy bridge's converter and the byte rules they
// follow, without a JVM: what each Java field receives from given record
// bytes, and what a Java value leaves in the record.

using namespace legacyconv;

namespace {

const FieldRule& rule(const RecordTable& table, const std::string& name)
{
    for (const FieldRule& r : table) {
        if (name == r.name)
            return r;
    }
    ADD_FAILURE() << "no field " << name << " in " << table.javaClass;
    static const FieldRule none = constant("none", 0);
    return none;
}

// The value the Java field receives from the record.
int64_t javaValue(const RecordTable& table, const std::string& name, const std::vector<uint8_t>& record,
                  unsigned element = 0)
{
    const FieldRule& r = rule(table, name);
    const char type = r.signature[0] == '[' ? r.signature[1] : r.signature[0];
    return asJavaType(type, cValue(r, record.data(), element));
}

// The JNI signature that a Java field name's prefix calls for.
bool prefixFits(const std::string& name, const std::string& sig)
{
    auto starts = [&](const char* p) { return name.compare(0, std::strlen(p), p) == 0; };
    if (starts("bla"))
        return sig == "[Z";
    if (starts("bl"))
        return sig == "Z";
    if (starts("ba"))
        return sig == "[B";
    if (starts("ca") || starts("c"))
        return sig == "[C";
    if (starts("o"))
        return sig.size() > 2 && sig[0] == 'L' && sig.back() == ';';
    if (starts("b"))
        return sig == "B" || sig == "[B";
    if (starts("i"))
        return sig == "I" || sig == "[I";
    if (starts("s"))
        return sig == "S";
    if (starts("l"))
        return sig == "J" || sig == "[J";
    return false;
}

} // namespace

TEST(ConverterTables, StayInsideTheirRecordsAndFollowTheNamingRule)
{
    size_t count = 0;
    const RecordTable* const* tables = allTables(count);
    ASSERT_GT(count, 0u);
    for (size_t t = 0; t < count; ++t) {
        const RecordTable& table = *tables[t];
        SCOPED_TRACE(table.javaClass);
        EXPECT_EQ(0, std::strncmp(table.javaClass, LEGACY_API_PACKAGE, std::strlen(LEGACY_API_PACKAGE)));
        for (const FieldRule& r : table) {
            SCOPED_TRACE(r.name);
            EXPECT_LE(lastByte(r), table.recordSize);
            if (r.kind == FieldKind::Scalar || r.kind == FieldKind::Array) {
                EXPECT_TRUE(r.size == 1 || r.size == 2 || r.size == 4);
                EXPECT_LE(unsigned(r.shift) + (r.width ? r.width : 8u * r.size), 8u * r.size);
            }
            // The RaidEvent members, and the channel and target of the task
            // progress (short fields named as bytes), keep the console's own
            // names.
            const bool consoleNames =
                &table == &raidEventTable || (&table == &progressInfoTable && r.signature[0] == 'S');
            if (!consoleNames && r.kind != FieldKind::Inline) {
                EXPECT_TRUE(prefixFits(r.name, r.signature)) << r.signature;
            }
        }
    }
}

// Each case: a field, the record bytes that matter, the value Java gets.
struct ValueCase {
    const RecordTable* table;
    const char* field;
    std::vector<std::pair<size_t, uint8_t>> bytes;
    unsigned element;
    int64_t expected;
};

TEST(ConverterTables, JavaReceivesTheBitsTheRecordHolds)
{
    const std::vector<ValueCase> cases = {
        // 16-bit ids zero-extended, an all-ones map as a positive long.
        {&storAddrTable, "iAdapterID", {{8, 0xFF}, {9, 0xFF}}, 0, 65535},
        {&storAddrTable, "lMap", {{28, 0xFF}, {29, 0xFF}, {30, 0xFF}, {31, 0xFF}}, 0, 4294967295LL},
        {&storAddrTable, "cDllName", {{33, 0xE9}}, 1, 0xE9},
        // The enclosure maximum has no field: the subsystem's comes from 4.
        {&maxAddrTable, "iMaxSubSys", {{2, 9}, {4, 3}}, 0, 3},
        // Inquiry byte 7 = 0x62: command queueing and both wide buses.
        {&scsiInquiryTable, "bCmndQueue", {{7, 0x62}}, 0, 1},
        {&scsiInquiryTable, "bWide16Bit", {{7, 0x62}}, 0, 1},
        {&scsiInquiryTable, "bWide32Bit", {{7, 0x62}}, 0, 1},
        {&scsiInquiryTable, "bSoftReset", {{7, 0x62}}, 0, 0},
        {&scsiInquiryTable, "bLinkedCmnds", {{7, 0x62}}, 0, 0},
        {&scsiInquiryTable, "bSynchronous", {{7, 0x62}}, 0, 0},
        {&scsiInquiryTable, "bRelativeAddr", {{7, 0x62}}, 0, 0},
        {&scsiInquiryTable, "bDeviceTypeQual", {{0, 0xE3}}, 0, 7},
        {&scsiInquiryTable, "bVendorData", {{96, 0x80}}, 0, -128},
        // A temperature of 0xF6 is -10 degrees; the charge 0xC8 is 200.
        {&extendedBatteryTable, "iTemperature", {{196, 0xF6}}, 0, -10},
        {&extendedBatteryTable, "iPercentCharged", {{198, 0xC8}}, 0, 200},
        {&bbCacheInfoTable, "blUnrecoverableError", {{1, 0x20}}, 0, 1},
        {&bbCacheInfoTable, "blUnrecoverableError", {{1, 0xDF}}, 0, 0},
        {&initiatorIdsTable, "baInitiators", {{4, 0x07}, {5, 0x01}}, 0, 7},
        {&initiatorIdsTable, "baInitiators", {{12, 0x0E}}, 2, 14},
        // Page length bytes 00 10 in host order: 4096, not 16.
        {&elementDescTable, "sPageLength", {{2, 0x00}, {3, 0x10}}, 0, 4096},
        {&safteConfigTable, "sVendorUniqueBytes", {{63, 4}}, 0, 4},
        {&safteStatusTable, "bVendorUniqueBytes", {{31, 0x55}}, 4, 0x55},
        // User options 34 12 5A 81.
        {&userOptsTable, "sCfgDriveUpdateCount", {{0, 0x34}, {1, 0x12}, {2, 0x5A}, {3, 0x81}}, 0, 0x1234},
        {&userOptsTable, "bStartupDelay", {{2, 0x5A}, {3, 0x81}}, 0, 10},
        {&userOptsTable, "bConcurDriveStartCount", {{2, 0x5A}, {3, 0x81}}, 0, 5},
        {&userOptsTable, "bCopyBackEnabled", {{2, 0x5A}, {3, 0x81}}, 0, 1},
        {&userOptsTable, "bDataScrubDisable", {{2, 0x5A}, {3, 0x81}}, 0, 0},
        {&userOptsTable, "bUnused", {{2, 0x5A}, {3, 0x81}}, 0, 0},
        {&userOptsTable, "bAutoRearrange", {{2, 0x5A}, {3, 0x81}}, 0, 1},
        {&raidConfigTable, "sUserField", {{32, 0x02}, {33, 0x01}}, 0, 258},
        {&hardwareDescTable, "iNvramSize", {{20, 0x00}, {21, 0x80}}, 0, 32768},
        {&virtDrvParmsTable, "bChannel", {{12 + 12 * 3, 2}}, 3, 2},
        {&virtDrvParmsTable, "iStartSect", {{16 + 12 * 15, 0xFF}, {19 + 12 * 15, 0xFF}}, 15, int32_t(0xFF0000FF)},
        {&virtDrvParmsTable, "iReserved", {{14 + 12, 0xFF}, {15 + 12, 0xFF}}, 1, 65535},
        // Feature bytes: 2 = 0x80, 15 = 0x2B, 24-25 the vendor id.
        {&adapterFeaturesTable, "iPlatformValid", {{2, 0x80}}, 0, 1},
        {&adapterFeaturesTable, "iResv1", {{2, 0x80}}, 0, 0},
        {&adapterFeaturesTable, "iU160RelLevel", {{15, 0x2B}}, 0, 3},
        {&adapterFeaturesTable, "iU160TstLevel", {{15, 0x2B}}, 0, 5},
        {&adapterFeaturesTable, "iResv4", {{15, 0x2B}}, 0, 0},
        {&adapterFeaturesTable, "iVendorID", {{24, 0x14}, {25, 0x10}}, 0, 0x1014},
        {&adapterFeaturesTable, "iR5EETstLevel", {{19, 0x0C}}, 0, 3},
        {&adapterFeaturesTable, "lResv10", {{36 + 4 * 118 + 3, 0x80}}, 118, 0x80000000LL},
        // The fixed limits.
        {&adapterLimitsTable, "iMaxSCSIID", {}, 0, 15},
        {&adapterLimitsTable, "iMaxControllers", {}, 0, 20},
    };
    for (const ValueCase& c : cases) {
        SCOPED_TRACE(std::string(c.table->javaClass) + "." + c.field + "[" + std::to_string(c.element) + "]");
        std::vector<uint8_t> record(c.table->recordSize ? c.table->recordSize : 1);
        for (const auto& b : c.bytes)
            record.at(b.first) = b.second;
        EXPECT_EQ(c.expected, javaValue(*c.table, c.field, record, c.element));
    }
}

TEST(ConverterTables, JavaValuesKeepTheirLowBitsInTheRecord)
{
    std::vector<uint8_t> addr(sizeof(_STORAGE_ADDRESS_ID), 0xAA);
    storeValue(rule(storAddrTable, "iAdapterID"), addr.data(), 0x12345);
    storeValue(rule(storAddrTable, "lMap"), addr.data(), 0x123456789LL);
    _STORAGE_ADDRESS_ID a;
    std::memcpy(&a, addr.data(), sizeof a);
    EXPECT_EQ(0x2345, a.usAdapterID);
    EXPECT_EQ(0x23456789u, a.ulMap);
    EXPECT_EQ(0xAAAA, a.usVirtDevID);   // neighbours untouched

    EXPECT_EQ(0x23456789u, jlul(0x123456789LL));
    EXPECT_EQ(0xFFFFFFFFu, jlul(-1));
    EXPECT_EQ(4294967295LL, uljl(0xFFFFFFFFu));

    // A bit field keeps the other bits of its bytes.
    std::vector<uint8_t> opts = {0x34, 0x12, 0xFF, 0x00};
    storeValue(rule(userOptsTable, "bStartupDelay"), opts.data(), 0x13);
    EXPECT_EQ(0xF3, opts[2]);

    // Java narrowing: a byte and a short read their bits as signed.
    EXPECT_EQ(-1, asJavaType('B', 0xFF));
    EXPECT_EQ(-32768, asJavaType('S', 0x8000));
    EXPECT_EQ(0x8000, asJavaType('C', 0x8000));
    EXPECT_EQ(-1, asJavaType('I', 0xFFFFFFFFLL));
    EXPECT_EQ(1, asJavaType('Z', 0x40));
}

TEST(ConverterTables, ArraysCopyWhileBothSidesHaveElements)
{
    const FieldRule& name = rule(storAddrTable, "cDllName");
    EXPECT_EQ(3u, elementsToCopy(name, 3));
    EXPECT_EQ(8u, elementsToCopy(name, 12));
    EXPECT_EQ(0u, elementsToCopy(name, 0));
    const FieldRule& text = rule(versionTable, "baTextVersion");
    EXPECT_EQ(16u, elementsToCopy(text, 20));
    EXPECT_EQ(10u, elementsToCopy(text, 10));

    // Hot-plug slots: every element of the Java array is written, and those
    // from 32 on are false.
    const FieldRule& slots = rule(hotPciSlotsTable, "blaHotSlots");
    EXPECT_EQ(40u, elementsToCopy(slots, 40));
    const uint32_t mask5 = 0x5;
    const auto* m = reinterpret_cast<const uint8_t*>(&mask5);
    EXPECT_EQ((std::vector<int64_t>{1, 0, 1, 0}),
              (std::vector<int64_t>{cValue(slots, m, 0), cValue(slots, m, 1), cValue(slots, m, 2), cValue(slots, m, 3)}));
    const uint32_t all = 0xFFFFFFFFu;
    EXPECT_EQ(1, cValue(slots, reinterpret_cast<const uint8_t*>(&all), 31));
    EXPECT_EQ(0, cValue(slots, reinterpret_cast<const uint8_t*>(&all), 32));
    EXPECT_FALSE(hotSlot(all, -1));

    // Device state i comes from element [i / 16][i mod 16].
    const FieldRule& states = rule(raidConfigTable, "oDevState");
    char fieldName[32];
    seriesName(states, 37, fieldName, sizeof fieldName);
    EXPECT_STREQ("oDevState37", fieldName);
    EXPECT_EQ(offsetof(_ADAPTER_CONFIG, sDevState) + 2 * sizeof(_DEV_STATE[16]) + 5 * sizeof(_DEV_STATE),
              states.offset + 37u * states.stride);
    EXPECT_EQ(64u, states.count);
    EXPECT_EQ(8u, rule(raidConfigTable, "oVirtDrv").count);
}

TEST(ConverterTables, ByteBlockAndAddressCountChecks)
{
    uint64_t bytes = 0;
    EXPECT_TRUE(byteBlockSize(128, bytes));
    EXPECT_EQ(512u, bytes);
    EXPECT_TRUE(byteBlockSize(INT_MAX, bytes));
    EXPECT_EQ(4ull * INT_MAX, bytes);   // no 32-bit overflow
    EXPECT_FALSE(byteBlockSize(-1, bytes));

    struct Transfer {
        jint transfer;
        jsize array;
        uint64_t block;
        bool fits;
    };
    for (const Transfer& t : std::vector<Transfer>{{100, 100, 512, true},  {0, 0, 0, true},
                                                   {101, 100, 512, false}, {600, 1000, 512, false},
                                                   {-1, 100, 512, false},  {512, 512, 512, true}}) {
        EXPECT_EQ(t.fits, transferFits(t.transfer, t.array, t.block))
            << t.transfer << " into " << t.array << "/" << t.block;
    }

    EXPECT_EQ(0, checkAddressCount(3, 3));
    EXPECT_EQ(0, checkAddressCount(0, 0));
    EXPECT_EQ(-2, checkAddressCount(4, 3));
    EXPECT_EQ(-2, checkAddressCount(-1, 3));
    EXPECT_EQ(-2, checkAddressCount(65536, INT_MAX));
    EXPECT_EQ(0, checkAddressCount(65535, INT_MAX));
}

TEST(ConverterTables, RaidEventTextsAreCutAndTerminated)
{
    std::vector<uint8_t> record(sizeof(_RAID_EVENT), 0xEE);
    const FieldRule& text = rule(raidEventTable, "eventString");
    const FieldRule& fru = rule(raidEventTable, "fru");
    EXPECT_EQ(offsetof(_RAID_EVENT, ucEventString), text.offset);
    EXPECT_EQ(sizeof(_RAID_EVENT::ucEventString), text.count);

    const std::string longText(600, 'x');
    storeText(text, record.data(), longText.c_str());
    EXPECT_EQ(std::string(511, 'x'), std::string(reinterpret_cast<const char*>(&record[text.offset])));
    EXPECT_EQ(0xEE, record[text.offset + 512]);   // the time after the area is untouched

    storeText(fru, record.data(), nullptr);
    EXPECT_EQ(0, record[fru.offset]);
    storeText(fru, record.data(), "FRU-12");
    EXPECT_STREQ("FRU-12", reinterpret_cast<const char*>(&record[fru.offset]));
}
