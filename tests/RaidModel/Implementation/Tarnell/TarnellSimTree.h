#ifndef TESTS_TARNELL_TARNELLSIMTREE_H
#define TESTS_TARNELL_TARNELLSIMTREE_H

// Helpers of the tests of the Tarnell model operations: a fixture that puts
// the simulated controllers (libtarnellapi.so, linked into the test program)
// back to their default scenario with a fresh access point and family log,
// and a hand-built model tree of one simulated controller, made the way the
// family's configuration build makes it.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "RaidModel/Implementation/Tarnell/DllInterface/DllP.h"
#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Implementation/Tarnell/TarnellBasicArray.h"
#include "RaidModel/Implementation/Tarnell/TarnellBasicLogicalDrive.h"
#include "RaidModel/Implementation/Tarnell/TarnellChunk.h"
#include "RaidModel/Implementation/Tarnell/TarnellConfig.h"
#include "RaidModel/Implementation/Tarnell/TarnellEnclosure.h"
#include "RaidModel/Implementation/Tarnell/TarnellHardDrive.h"
#include "RaidModel/Implementation/Tarnell/TarnellSCSIChannel.h"
#include "RaidModel/Implementation/Tarnell/TarnellUtils.h"
#include "RaidModel/Interface/SpannedArray.h"
#include "TarnellSim.h"
#include "support/TestUtil.h"

namespace tarnelltest {

// The C-API numbers and models of the default scenario's controllers.
const int CONTROLLER_A = 2; // TARNELL_B2
const int CONTROLLER_B = 5; // TARNELL_C0

class SimTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tarnellsim::reset();
        DllP::setLibraryNameForTest(nullptr);
        DllP::resetForTest();
        TarnellAdapter::resetAdapterIDsForTest();
        TarnellUtils::openLog();
        // The access object is made now, so that the call log holds only
        // what a test sends.
        DllP::GetDLLPointer();
        tarnellsim::clearCalls();
    }
    void TearDown() override
    {
        tarnellsim::clearFailures();
        DllP::resetForTest();
        TarnellAdapter::resetAdapterIDsForTest();
        TarnellUtils::closeLog();
    }

    // From now on the controller library cannot be used: every attempt to
    // create the access object is refused (its line on standard output is
    // swallowed by quiet()).
    void withoutControllerAccess()
    {
        tarnellsim::injectFailure("ConstructorOK", 1, tarnellsim::ANY_ADAPTER, true);
        DllP::resetForTest();
    }

    static std::string familyLog() { return testsupport::readFile(TarnellUtils::LOG_FILE_NAME); }
};

// Runs f and returns what it wrote to standard output.
template <class F>
std::string stdoutOf(F f)
{
    ::testing::internal::CaptureStdout();
    f();
    return ::testing::internal::GetCapturedStdout();
}

// The model subtree of one simulated controller, built by hand: adapter,
// channels, devices, the configuration node with arrays, logical drives and
// their chunks. The tree is deleted with the object.
class SimController {
public:
    SimController(int capiNumber, int adapterType)
    {
        char bios[] = "B", firmware[] = "F", driver[] = "D";
        _ADAPTER_FEATURES levels;
        std::memset(&levels, 0, sizeof levels);
        adapter = new TarnellAdapter(adapterType, TarnellAdapter::getUniqueID(capiNumber), capiNumber,
                                     CONTROLLER_STATUS_WORKING, bios, firmware, driver, 3, false, 0, 0, true,
                                     false, 32, "RebuildRateMedium", true, true, false, true, false, false, false,
                                     0, 0, nullptr, nullptr, "", "", "", "", 8, 8, 4, 3, 16, 16, 16, 0, 8, 2,
                                     levels, nullptr);
        config = new TarnellConfig(0);
        adapter->addChild(config);
    }
    ~SimController()
    {
        adapter->deleteAllChildren();
        delete adapter;
    }
    SimController(const SimController&) = delete;
    SimController& operator=(const SimController&) = delete;

    Channel* channel(int id)
    {
        Channel* c = adapter->getChannel(id);
        if (c == nullptr) {
            c = new TarnellSCSIChannel(adapter, id, 7, SPEED_SCSI320);
            adapter->addChild(c);
        }
        return c;
    }

    TarnellHardDrive* disk(int ch, int dev, bool writeCacheSupported = true)
    {
        char vendor[] = "ZEQ-XJP", model[] = "XJ", serial[] = "S", fw[] = "F", fru[] = "R";
        Channel* c = channel(ch);
        TarnellHardDrive* d = new TarnellHardDrive(adapter, c, dev, 71132000, DRIVE_ONLINE, vendor, model, serial,
                                                   fw, false, HARD_DRIVE_CACHE_MODE_WRITE_BACK, writeCacheSupported,
                                                   true, false, fru, false, false);
        c->addChild(d);
        return d;
    }

    TarnellEnclosure* enclosure(int ch, int dev)
    {
        Channel* c = channel(ch);
        TarnellEnclosure* e =
            new TarnellEnclosure(adapter, c, dev, "ZEQ-XJP", "SAFTE-14", "E", "1.10", DRIVE_READY, false, "");
        c->addChild(e);
        return e;
    }

    // An array under the configuration node, or under parent.
    TarnellBasicArray* array(int id, RaidObject* parent = nullptr)
    {
        TarnellBasicArray* a = new TarnellBasicArray(adapter, id, 0, 0);
        (parent ? parent : config)->addChild(a);
        return a;
    }

    // A spanned array under the configuration node.
    SpannedArray* spannedArray(int id)
    {
        SpannedArray* a = new SpannedArray(adapter, id, 0, 0);
        config->addChild(a);
        return a;
    }

    // A logical drive under the array with a chunk on each (channel, device).
    TarnellBasicLogicalDrive* drive(TarnellBasicArray* a, int logicalDriveID, int TNCAdllID, EnumRaidLevel level,
                                    const std::vector<std::pair<int, int>>& chunks, bool subLogical = false)
    {
        TarnellBasicLogicalDrive* d =
            new TarnellBasicLogicalDrive(adapter, a, logicalDriveID, TNCAdllID, OKAY, level, 1000, 0, false,
                                         LD_CACHE_DISABLED, true, subLogical, false, RAID5EE_UNKNOWN);
        a->addChild(d);
        for (const auto& c : chunks)
            d->addChild(new TarnellChunk(c.first, c.second, 0, 2048, 0, 0));
        return d;
    }

    TarnellAdapter* adapter;
    TarnellConfig* config;
};

// The calls of one entry point the simulator received.
inline std::vector<tarnellsim::Call> callsOf(const char* entry) { return tarnellsim::calls(entry); }

} // namespace tarnelltest

#endif
