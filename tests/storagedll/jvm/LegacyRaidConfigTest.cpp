#include <string>
#include <vector>

#include "LegacyRaidTest.h"
#include "storagedll/storjdllcall.h"

// GetAdapterRaidConfig over the simulated controllers: the calls it makes on
// the battery and the standard path, the fields it writes besides the
// configuration, the older console's classes it tolerates, and what failed
// calls leave.

using namespace legacytest;

namespace {

const char* const CONFIG_CLASS = API_CLASS("RaidConfig");
const char* const VIRT_DRV_SIG = LEGACY_API_SIG("VirtDrvParms");
const char* const DEV_STATE_SIG = LEGACY_API_SIG("DevState");
const long long ENQUIRY_ARGS_TAIL[] = {0, 0, 60, 1, 1, 0};

std::vector<int64_t> bytesOf(const std::string& text)
{
    return std::vector<int64_t>(text.begin(), text.end());
}

class LegacyRaidConfig : public LegacyRaidTest {
protected:
    jobject drive(jobject config, int i)
    {
        return objectField(config, ("oVirtDrv" + std::to_string(i)).c_str(), VIRT_DRV_SIG);
    }
    jobject slot(jobject config, int i)
    {
        return objectField(config, ("oDevState" + std::to_string(i)).c_str(), DEV_STATE_SIG);
    }

    // A marked configuration; drive i's flags set to the opposite of what
    // the tests expect of it.
    jobject markedConfig()
    {
        jobject config = apiObject(CONFIG_CLASS);
        mark(config, 3);
        for (int i = 0; i < 8; ++i) {
            jobject d = drive(config, i);
            setScalar(d, "blBlocked", "Z", i != 0 && i != 7);
            setScalar(d, "blTempWriteThru", "Z", i != 0);
            e->DeleteLocalRef(d);
        }
        return config;
    }

    Result read(jobject config, int adapter = CONTROLLER_A)
    {
        return call("GetAdapterRaidConfig", {obj(storAddr(adapter)), obj(config), flag(true)});
    }

    std::vector<int64_t> flags(jobject config, const char* name)
    {
        std::vector<int64_t> out;
        for (int i = 0; i < 8; ++i) {
            jobject d = drive(config, i);
            out.push_back(scalar(d, name, "Z"));
            e->DeleteLocalRef(d);
        }
        return out;
    }

    std::u16string fru(jobject config, int i)
    {
        jobject s = slot(config, i);
        const std::u16string text = charsOfStringField(s, "sFruNumber");
        e->DeleteLocalRef(s);
        return text;
    }

    static void expectEnquiry(const tarnellsim::Call& call, uint8_t page, long long replyLength)
    {
        std::vector<uint8_t> command(16, 0);
        command[0] = 0x05;
        command[3] = page;
        EXPECT_EQ(command, call.command);
        std::vector<long long> args{16, replyLength};
        args.insert(args.end(), std::begin(ENQUIRY_ARGS_TAIL), std::end(ENQUIRY_ARGS_TAIL));
        EXPECT_EQ(args, call.args);
    }
};

// With a battery-backed cache: the cache serials enquiry (0x60) for the
// cache fields, then the drive-cache enquiry (0x50) for the blocked and
// temporary write-through flags, then the FRU table.
TEST_F(LegacyRaidConfig, BatteryPathReadsCacheDriveFlagsAndFruNumbers)
{
    resetWith(CONTROLLER_A, [](tarnellsim::Controller& c) {
        c.drives[0].tempWriteThrough = true;
        c.enquiryPatches.push_back({66, {0x81}});
        c.devices[0].fru = "ABCDEFGHIJKL";
        c.devices[1].fru = std::string("\0XYZ", 4);
        c.devices[2].fru = "\xFF\xFEZ";
    });
    jobject config = markedConfig();
    tarnellsim::clearCalls();
    EXPECT_EQ(Result{}, read(config));

    EXPECT_EQ((std::vector<std::string>{"GetAdapterRaidConfig", "GetSupportedFeatures", "ExecAdapterCmnd",
                                        "ExecAdapterCmnd", "GetDriveFruData"}),
              callNames());
    EXPECT_EQ((std::vector<long long>{3996, 1}), argsOf("GetAdapterRaidConfig"));
    const std::vector<tarnellsim::Call> enquiries = tarnellsim::calls("ExecAdapterCmnd");
    ASSERT_EQ(2u, enquiries.size());
    expectEnquiry(enquiries[0], 0x60, 212);
    expectEnquiry(enquiries[1], 0x50, 212);

    // The configuration itself.
    EXPECT_EQ(5, scalar(config, "bNoOfVirtDrives", "B"));
    jobject third = drive(config, 3);
    EXPECT_EQ(100000 * 2048, scalar(third, "lVirtDriveSize", "J"));

    EXPECT_EQ(1, scalar(config, "blBatteryCacheInstalled", "Z"));
    EXPECT_EQ(0, scalar(config, "bBatteryCacheErrorCode", "B"));
    EXPECT_EQ(bytesOf("BB4A0117"), elements(config, "bBBCSerialCfg", "[B"));
    EXPECT_EQ(bytesOf("BB4A0117"), elements(config, "bBBCSerial", "[B"));
    // Enquiry byte 66 = 0x81: drives 0 and 7 blocked.
    EXPECT_EQ((std::vector<int64_t>{1, 0, 0, 0, 0, 0, 0, 1}), flags(config, "blBlocked"));
    // Drives 0 and 2 have write caches (0 running write-through); the others'
    // flags are not reported and stay.
    EXPECT_EQ((std::vector<int64_t>{1, 1, 0, 1, 1, 1, 1, 1}), flags(config, "blTempWriteThru"));

    // FRU part numbers of slot c x 16 + t: 12 characters, a leading zero
    // byte, bytes that are no modified UTF-8, a slot without a device.
    EXPECT_EQ(u"ABCDEFGHIJKL", fru(config, 0));
    EXPECT_EQ(u"", fru(config, 1));
    EXPECT_EQ(u"\u00FF\u00FEZ", fru(config, 2));
    EXPECT_EQ(u"", fru(config, 7));
    EXPECT_EQ(u"06P5760", fru(config, 16));
    EXPECT_EQ(u"06P5762", fru(config, 19));
}

// Without a battery-backed cache: one standard enquiry gives the cache and
// the blocked flags; the serials and the write-through flags stay.
TEST_F(LegacyRaidConfig, StandardPathSendsOneEnquiry)
{
    resetWith(CONTROLLER_A, [](tarnellsim::Controller& c) {
        c.features.set_ulBBCacheRelLevel(0);
        c.enquiryPatches.push_back({66, {0x81}});
    });
    jobject config = markedConfig();
    const std::vector<int64_t> serial = elements(config, "bBBCSerialCfg", "[B");
    const std::vector<int64_t> installed = elements(config, "bBBCSerial", "[B");
    tarnellsim::clearCalls();
    EXPECT_EQ(Result{}, read(config));

    EXPECT_EQ((std::vector<std::string>{"GetAdapterRaidConfig", "GetSupportedFeatures", "ExecAdapterCmnd",
                                        "GetDriveFruData"}),
              callNames());
    expectEnquiry(tarnellsim::calls("ExecAdapterCmnd").at(0), 0x00, 196);
    EXPECT_EQ(5, scalar(config, "bNoOfVirtDrives", "B"));
    EXPECT_EQ(1, scalar(config, "blBatteryCacheInstalled", "Z"));
    EXPECT_EQ(serial, elements(config, "bBBCSerialCfg", "[B"));
    EXPECT_EQ(installed, elements(config, "bBBCSerial", "[B"));
    EXPECT_EQ((std::vector<int64_t>{1, 0, 0, 0, 0, 0, 0, 1}), flags(config, "blBlocked"));
    EXPECT_EQ((std::vector<int64_t>{0, 1, 1, 1, 1, 1, 1, 1}), flags(config, "blTempWriteThru"));
}

TEST_F(LegacyRaidConfig, BatteryCacheFieldsFromTheEnquiry)
{
    const struct {
        uint8_t misc, code;
        int installed, errorCode;
    } rows[] = {{0x22, 1, 0, 0}, {0x02, 3, 1, 3}, {0x20, 5, 0, 5}, {0x00, 5, 0, 0}, {0x02, 0x90, 1, -112}};
    for (const auto& row : rows) {
        SCOPED_TRACE(int(row.misc));
        resetWith(CONTROLLER_A, [&](tarnellsim::Controller& c) {
            c.enquiryPatches.push_back({1, {row.misc}});
            c.enquiryPatches.push_back({67, {row.code}});
        });
        jobject config = markedConfig();
        EXPECT_EQ(Result{}, read(config));
        EXPECT_EQ(row.installed, scalar(config, "blBatteryCacheInstalled", "Z"));
        EXPECT_EQ(row.errorCode, scalar(config, "bBatteryCacheErrorCode", "B"));
        e->DeleteLocalRef(config);
    }
}

// A console whose RaidConfig lacks the serial numbers and whose logical
// drives lack the temporary write-through flag is served all the rest.
TEST_F(LegacyRaidConfig, OlderConsoleClassesAreServed)
{
    resetWith(CONTROLLER_A, [](tarnellsim::Controller& c) {
        c.drives[0].tempWriteThrough = true;
        c.enquiryPatches.push_back({66, {0x04}});
    });
    jclass console = e->FindClass("tarnelltest/legacy/OldConsole");
    ASSERT_FALSE(takeException(e));
    jmethodID make = e->GetStaticMethodID(console, "newObject", "(Ljava/lang/String;Ljava/lang/String;)Ljava/lang/Object;");
    jobject config = e->CallStaticObjectMethod(console, make, javaString(LEGACY_OLD_CLASSES),
                                               javaString("com.zeq.sysmgt.storage.api.RaidConfig"));
    ASSERT_FALSE(takeException(e));
    ASSERT_NE(nullptr, config);

    jobject ret = apiObject(API_CLASS("StorRet"));
    STORAGEDLL_ENTRY(GetAdapterRaidConfig)(e, dll, ret, storAddr(CONTROLLER_A), config, JNI_FALSE);
    EXPECT_FALSE(takeException(e));
    EXPECT_EQ(Result{}, result(ret));
    EXPECT_EQ(5, scalar(config, "bNoOfVirtDrives", "B"));
    EXPECT_EQ(1, scalar(config, "blBatteryCacheInstalled", "Z"));
    jobject third = drive(config, 3);
    EXPECT_EQ(100000 * 2048, scalar(third, "lVirtDriveSize", "J"));
    EXPECT_EQ((std::vector<int64_t>{0, 0, 1, 0, 0, 0, 0, 0}), flags(config, "blBlocked"));
    jobject first = slot(config, 0);
    EXPECT_EQ("06P5760", stringField(first, "sFruNumber"));
    jobject options = objectField(config, "oUserOpts", LEGACY_API_SIG("UserOpts"));
    EXPECT_EQ(1, scalar(options, "bCopyBackEnabled", "B"));
}

// The FRU table's failure is the result, although the configuration came.
TEST_F(LegacyRaidConfig, FailingFruTableIsReportedAfterTheConfiguration)
{
    jobject config = markedConfig();
    const std::u16string marked = fru(config, 0);
    tarnellsim::injectFailure("GetDriveFruData", tarnellsim::RC_BUSY);
    EXPECT_EQ((Result{tarnellsim::RC_BUSY, 0, 0, 0, 0, 0}), read(config));
    EXPECT_EQ(5, scalar(config, "bNoOfVirtDrives", "B"));
    EXPECT_EQ(1, scalar(config, "blBatteryCacheInstalled", "Z"));
    EXPECT_EQ(marked, fru(config, 0));
}

// A failed enquiry delivers no configuration and leaves the fields derived
// from it as they were; the other enquiry still serves its own.
TEST_F(LegacyRaidConfig, FailedEnquiriesLeaveTheirFields)
{
    // Were the cache fields written, they would read "not installed".
    resetWith(CONTROLLER_A, [](tarnellsim::Controller& c) {
        c.enquiryPatches.push_back({1, {0x00}});
        c.enquiryPatches.push_back({66, {0x81}});
    });
    const jobject reference = markedConfig();
    auto expectCacheFieldsKept = [&](jobject config) {
        EXPECT_EQ(scalar(reference, "blBatteryCacheInstalled", "Z"), scalar(config, "blBatteryCacheInstalled", "Z"));
        EXPECT_EQ(scalar(reference, "bBatteryCacheErrorCode", "B"), scalar(config, "bBatteryCacheErrorCode", "B"));
        EXPECT_EQ(elements(reference, "bBBCSerialCfg", "[B"), elements(config, "bBBCSerialCfg", "[B"));
        EXPECT_EQ(elements(reference, "bBBCSerial", "[B"), elements(config, "bBBCSerial", "[B"));
    };
    {
        SCOPED_TRACE("the cache serials enquiry fails");
        jobject config = markedConfig();
        tarnellsim::injectFailure("ExecAdapterCmnd", tarnellsim::RC_BUSY);
        EXPECT_EQ(Result{}, read(config));
        expectCacheFieldsKept(config);
        EXPECT_EQ(5, scalar(config, "bNoOfVirtDrives", "B"));
        EXPECT_EQ((std::vector<int64_t>{1, 0, 0, 0, 0, 0, 0, 1}), flags(config, "blBlocked"));
    }
    {
        SCOPED_TRACE("both enquiries fail");
        jobject config = markedConfig();
        tarnellsim::injectFailure("ExecAdapterCmnd", tarnellsim::RC_BUSY, tarnellsim::ANY_ADAPTER, true);
        EXPECT_EQ(Result{}, read(config));
        tarnellsim::clearFailures();
        expectCacheFieldsKept(config);
        EXPECT_EQ(scalar(reference, "bNoOfVirtDrives", "B"), scalar(config, "bNoOfVirtDrives", "B"));
        EXPECT_EQ(flags(reference, "blBlocked"), flags(config, "blBlocked"));
        EXPECT_EQ(flags(reference, "blTempWriteThru"), flags(config, "blTempWriteThru"));
        EXPECT_EQ(u"06P5760", fru(config, 0));   // the FRU table does not depend on them
    }
}

// A feature table that cannot be read counts as one without features: the
// standard enquiry, no FRU table.
TEST_F(LegacyRaidConfig, UnreadableFeaturesCountAsNone)
{
    jobject config = markedConfig();
    tarnellsim::injectFailure("GetSupportedFeatures", tarnellsim::RC_BUSY);
    tarnellsim::clearCalls();
    EXPECT_EQ(Result{}, read(config));
    EXPECT_EQ((std::vector<std::string>{"GetAdapterRaidConfig", "GetSupportedFeatures", "ExecAdapterCmnd"}),
              callNames());
    expectEnquiry(tarnellsim::calls("ExecAdapterCmnd").at(0), 0x00, 196);
}

} // namespace
