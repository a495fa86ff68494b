#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "RaidModel/Interface/Adapter.h"
#include "monitor/NRMEvent.h"
#include "MonitorTestUtil.h"

using monitortest::FixedClock;
using monitortest::T0;

namespace {

const int32_t U = NRM_UNSET;

// An adapter whose identification fields the test chooses.
class IdAdapter : public Adapter {
public:
    IdAdapter(const char* serial, uint32_t bus, uint32_t function, uint32_t device)
    {
        std::memset(serialNumString, 0, sizeof serialNumString);
        std::strncpy(serialNumString, serial, sizeof serialNumString - 1);
        pciBus = bus;
        pciFunction = function;
        pciDevice = device;
    }
};

Addr addressOf(int32_t adapter, int32_t channel, int32_t device, int32_t logicalDrive)
{
    Addr a;
    a.setAdapterID(static_cast<STORID_T>(adapter));
    a.setChannelID(static_cast<STORID_T>(channel));
    a.setDeviceID(static_cast<STORID_T>(device));
    a.setLogicalDriveID(static_cast<STORID_T>(logicalDrive));
    return a;
}

} // namespace

TEST(NRMEvent, ToStringLines)
{
    FixedClock clock;
    const std::string at = "Tue Dec  8 22:11:35 2026";
    struct Case {
        int32_t id, severity, objectType, adapter, channel, device, logicalDrive;
        const char* text;
        const char* line; // after the time
    } cases[] = {
        {U, U, 0, U, U, U, U, "", " | --- | UNKN | ---:A--C--S--L--- | "},
        {202, 1, 2, 0, U, U, U, "failed", " | ERR | KRNA | 202:A00C--S--L--- | failed"},
        {7, 2, 1, 1, 5, 3, 12, "x", " | WRN | SYS  | 007:A01C05S03L012 | x"},
        {1000, 3, 3, 123, 100, 7, 1234, "", " | INF | ARR  | 1000:A123C100S07L1234 | "},
        {-1, 4, 4, -1, -2, -3, -4, "", " | INF | LDRV | -01:A-1C-2S-3L-04 | "},
        {399, 5, 5, U, U, U, U, "a | b", " | INF | PDRV | 399:A--C--S--L--- | a | b"},
        {501, 6, 6, U, U, U, U, "", " | INF | ENCL | 501:A--C--S--L--- | "},
        {504, 7, 7, U, U, U, U, "", " | INF | FAN  | 504:A--C--S--L--- | "},
        {510, 8, 8, U, U, U, U, "", " | --- | PWSP | 510:A--C--S--L--- | "},
        {510, 0, 9, U, U, U, U, "", " | --- | UNKN | 510:A--C--S--L--- | "},
        {510, -1, -1, U, U, U, U, "", " | --- | UNKN | 510:A--C--S--L--- | "},
    };
    for (const Case& c : cases) {
        NRMEvent e(c.id, c.severity, c.text, "name");
        e.objectType = c.objectType;
        e.address = addressOf(c.adapter, c.channel, c.device, c.logicalDrive);
        EXPECT_EQ(e.toString(), at + c.line) << "id " << c.id << " severity " << c.severity;
    }

    // The epoch; a time ctime cannot write leaves the time out.
    NRMEvent e;
    e.eventTime = 0;
    EXPECT_EQ(e.toString(), "Thu Jan  1 00:00:00 1970 | --- | UNKN | ---:A--C--S--L--- | ");
    if (sizeof(time_t) == 8) {
        e.eventTime = static_cast<time_t>(INT64_C(1) << 60);
        EXPECT_EQ(e.toString(), " | --- | UNKN | ---:A--C--S--L--- | ");
    }
}

TEST(NRMEvent, ConstructorsSetTheirFieldsAndUnsetTheRest)
{
    FixedClock clock;
    Addr unset;
    Addr given = addressOf(1, 2, 3, 4);

    NRMEvent d;
    NRMEvent four(401, 1, "text", "EVENT_NAME");
    NRMEvent ten(402, 2, "text10", given, 5, 6, 7, "serial", "name10", "fru");
    struct Expect {
        const NRMEvent& e;
        int32_t id, severity;
        const char *text, *eventName, *fru, *adapterSerial;
        const Addr& address;
        int32_t ld, fan, ps;
    } expected[] = {
        {d, U, U, "", "", "", "", unset, U, U, U},
        {four, 401, 1, "text", "EVENT_NAME", "", "", unset, U, U, U},
        // fruNumber is the last argument, adapterSerial the eighth.
        {ten, 402, 2, "text10", "name10", "fru", "serial", given, 5, 6, 7},
    };
    for (const Expect& x : expected) {
        SCOPED_TRACE(x.e.eventId);
        EXPECT_EQ(x.e.eventTime, T0);
        EXPECT_EQ(x.e.eventId, x.id);
        EXPECT_EQ(x.e.severity, x.severity);
        EXPECT_EQ(x.e.text, x.text);
        EXPECT_EQ(x.e.objectType, 0);
        EXPECT_TRUE(x.e.address == x.address);
        EXPECT_EQ(x.e.fruNumber, x.fru);
        EXPECT_EQ(x.e.logicalDriveNumber, x.ld);
        EXPECT_EQ(x.e.fanNumber, x.fan);
        EXPECT_EQ(x.e.powerSupplyNumber, x.ps);
        EXPECT_EQ(x.e.adapterSerial, x.adapterSerial);
        EXPECT_EQ(x.e.eventName, x.eventName);
        EXPECT_EQ(x.e.percentComplete, 0);
        EXPECT_EQ(x.e.deviceSerial, "");
        EXPECT_EQ(x.e.enclosureModel, "");
    }
}

TEST(NRMEvent, ResetUnsetsAllButDriveSerialAndEnclosureModel)
{
    FixedClock clock;
    NRMEvent e(402, 2, "text", addressOf(1, 2, 3, 4), 5, 6, 7, "serial", "name", "fru");
    e.objectType = 5;
    e.percentComplete = 40;
    e.deviceSerial = "drive";
    e.enclosureModel = "model";
    FixedClock::set(T0 + 60);

    e.reset();

    EXPECT_EQ(e.eventTime, T0 + 60);
    EXPECT_EQ(e.eventId, U);
    EXPECT_EQ(e.severity, U);
    EXPECT_EQ(e.text, "");
    EXPECT_EQ(e.objectType, 0);
    EXPECT_TRUE(e.address == Addr());
    EXPECT_EQ(e.fruNumber, "");
    EXPECT_EQ(e.logicalDriveNumber, U);
    EXPECT_EQ(e.fanNumber, U);
    EXPECT_EQ(e.powerSupplyNumber, U);
    EXPECT_EQ(e.adapterSerial, "");
    EXPECT_EQ(e.eventName, "");
    EXPECT_EQ(e.percentComplete, 0);
    EXPECT_EQ(e.deviceSerial, "drive");
    EXPECT_EQ(e.enclosureModel, "model");
}

TEST(NRMEvent, AdapterSerialIsTheSerialTextOrBusFunctionDevice)
{
    struct Case {
        const char* serial;
        uint32_t bus, function, device;
        const char* expected;
    } cases[] = {
        {"SER-0042", 3, 0, 14, "SER-0042"},
        {"", 3, 0, 14, "3-0-14"},
        {"", 0, 0, 0, "0-0-0"},
        {"", 255, 7, 31, "255-7-31"},
    };
    for (const Case& c : cases) {
        IdAdapter adapter(c.serial, c.bus, c.function, c.device);
        NRMEvent e;
        e.setAdapterSerial(&adapter);
        EXPECT_EQ(e.adapterSerial, c.expected);
    }

    NRMEvent e;
    e.adapterSerial = "kept";
    e.setAdapterSerial(nullptr);
    EXPECT_EQ(e.adapterSerial, "kept");
}
