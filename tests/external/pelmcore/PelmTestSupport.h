#ifndef TESTS_PELMTESTSUPPORT_H
#define TESTS_PELMTESTSUPPORT_H

// Shared by the tests of libpelmcore and of what runs over it: a library on
// the simulated controllers, its event lists read back, and the removal of
// the Pelm type's inter-process lock that a library makes.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "PelmLib.h"
#include "PelmSim.h"
#include "RaidLib/Util/IpcTestSupport.h"
#include "RaidLib/Util/SimpleXmlParser.h"
#include "support/TestUtil.h"

namespace pelmtest {

// The debug state of the Pelm library type locks with the inter-process lock
// of "/StorLock512", whose marker file and semaphore set the first library of
// a process makes when it may. A test program that did not find them at its
// start removes them at its end; it holds ipctest::FixedMarkerLock from start
// to end, so that no other test program makes or removes them meanwhile (its
// CTest cases also hold the resource lock "StorLock512", so that they do not
// wait for each other).
class LockCleanup : public ::testing::Environment {
public:
    void SetUp() override
    {
        lock.reset(new ipctest::FixedMarkerLock);
        existed = testsupport::fileExists(marker());
    }
    void TearDown() override
    {
        if (!existed) {
            ipctest::MarkerCleanup cleanup(marker());
        }
        lock.reset();
    }

private:
    static std::string marker() { return ipctest::markerPath(PELM, nullptr); }
    std::unique_ptr<ipctest::FixedMarkerLock> lock;
    bool existed = true;
};

// Registered once in every test program that includes this header.
inline ::testing::Environment* const lockCleanup = ::testing::AddGlobalTestEnvironment(new LockCleanup);

// The attributes of each "Event" element of a list, in document order.
using Attributes = std::map<std::string, std::string>;
inline std::vector<Attributes> eventsIn(const std::string& text)
{
    std::string copy = text;
    SimpleXmlParser parser(&copy[0], copy.size());
    std::vector<Attributes> events;
    bool inEvent = false;
    while (parser.parseNext()) {
        if (parser.foundStartTag()) {
            inEvent = parser.tagIs("Event");
            if (inEvent)
                events.emplace_back();
        }
        if ((parser.flags & SimpleXmlParser::FLAG_ATTRIBUTE) && inEvent)
            events.back()[parser.getName()] = parser.getValue() ? parser.getValue() : "";
    }
    return events;
}

// The Sequence attributes of a list.
inline std::vector<std::string> sequencesIn(const std::string& text)
{
    std::vector<std::string> out;
    for (const Attributes& e : eventsIn(text))
        out.push_back(e.at("Sequence"));
    return out;
}

inline Addr adapterAddr(STORID_T adapter)
{
    return Addr(adapter, STORID_UNDEFINED, STORID_UNDEFINED, STORID_UNDEFINED, STORID_UNDEFINED, BLOCK_UNDEFINED,
                STORID_UNDEFINED, STORID_UNDEFINED);
}

inline Addr logicalAddr(STORID_T adapter, STORID_T logicalDrive)
{
    Addr a = adapterAddr(adapter);
    a.setLogicalDriveID(logicalDrive);
    return a;
}

inline Addr driveAddr(STORID_T adapter, STORID_T channel, STORID_T device)
{
    Addr a = adapterAddr(adapter);
    a.setChannelID(channel);
    a.setDeviceID(device);
    return a;
}

// A fetched event list: the result and the text handed out.
struct Fetched {
    int code;
    std::string text;
};

inline Fetched fetchEvents(PelmLib& lib, STORID_T adapter, unsigned long from)
{
    char* text = nullptr;
    const int code = lib.getEvents(adapterAddr(adapter), from, &text).getReturn();
    Fetched f{code, text ? text : ""};
    delete[] text;
    return f;
}

// Every test starts from the default scenario with a library that has read it.
class PelmTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        pelmsim::reset();
        lib.reset(new PelmLib);
        ASSERT_TRUE(lib);
    }
    void TearDown() override
    {
        lib.reset();
        pelmsim::reset();
    }

    System* read()
    {
        EXPECT_EQ(0, lib->getSystemConfig().getReturn());
        return lib->getSystem();
    }

    template <class T>
    std::vector<T*> all(const char* className)
    {
        std::vector<RaidObject*> found;
        lib->getSystem()->getChildren(found, className, true, true);
        std::vector<T*> out;
        for (RaidObject* o : found)
            out.push_back(dynamic_cast<T*>(o));
        return out;
    }

    std::unique_ptr<PelmLib> lib;
};

} // namespace pelmtest

#endif
