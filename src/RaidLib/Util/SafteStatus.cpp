#include "RaidLib/Util/SafteStatus.h"

#include <cstdio>
#include <cstring>

#include "RaidLib/Util/SafteConfig.h"
#include "RaidLib/Util/StorDebug.h"
#include "RaidModel/Serialization/Writer.h"

SafteStatus::SafteStatus()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SafteStatus::SafteStatus()");
    clearFields();
}

SafteStatus::SafteStatus(const SafteStatus& right)
    : RaidObject(right), ucDoorLockStatus(right.ucDoorLockStatus),
      ucSpeakerStatus(right.ucSpeakerStatus), ucTempOutOfRangeFlag1(right.ucTempOutOfRangeFlag1),
      ucTempOutOfRangeFlag2(right.ucTempOutOfRangeFlag2), ucVendorUniqueByteCount(0),
      iFanCount(right.iFanCount), iPowerSupplyCount(right.iPowerSupplyCount),
      iSlotCount(right.iSlotCount), iTempSensorCount(right.iTempSensorCount)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SafteStatus::SafteStatus(SafteStatus &)");
    std::memcpy(ucFanStatus, right.ucFanStatus, sizeof(ucFanStatus));
    std::memcpy(ucPowerSupplyStatus, right.ucPowerSupplyStatus, sizeof(ucPowerSupplyStatus));
    std::memcpy(ucSlotScsiId, right.ucSlotScsiId, sizeof(ucSlotScsiId));
    std::memcpy(ucTempSensorStatus, right.ucTempSensorStatus, sizeof(ucTempSensorStatus));
    ucVendorUniqueBytes[0] = 0;
}

SafteStatus::~SafteStatus()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "SafteStatus::~SafteStatus()");
}

bool SafteStatus::isInstanceOf(const char* className) const
{
    return (className && std::strcmp(className, "SafteStatus") == 0) ||
           RaidObject::isInstanceOf(className);
}

const char* SafteStatus::typeName() const { return "SafteStatus"; }

const char* SafteStatus::serializedName() const { return "SafteStatus"; }

void SafteStatus::clearFields()
{
    std::memset(ucFanStatus, 128, sizeof(ucFanStatus));
    std::memset(ucPowerSupplyStatus, 128, sizeof(ucPowerSupplyStatus));
    std::memset(ucSlotScsiId, 255, sizeof(ucSlotScsiId));
    ucDoorLockStatus = 128;
    ucSpeakerStatus = 0;
    std::memset(ucTempSensorStatus, 0, sizeof(ucTempSensorStatus));
    ucTempOutOfRangeFlag1 = 0;
    ucTempOutOfRangeFlag2 = 0;
    ucVendorUniqueByteCount = 0;
    ucVendorUniqueBytes[0] = 0;
    iFanCount = -1;
    iPowerSupplyCount = -1;
    iSlotCount = -1;
    iTempSensorCount = -1;
}

namespace {

// A read position over a buffer of known length: a byte past the end is
// not read, and reports so.
class StatusCursor {
public:
    StatusCursor(const unsigned char* data, size_t length) : data_(data), length_(length), pos_(0) {}

    bool next(unsigned char& out)
    {
        if (pos_ >= length_) {
            pos_ = length_;
            return false;
        }
        out = data_[pos_++];
        return true;
    }
    // Reads count bytes, keeping the first capacity of them in array.
    bool run(unsigned count, unsigned char* array, unsigned capacity)
    {
        bool ok = true;
        for (unsigned i = 0; i < count; ++i) {
            unsigned char b;
            if (!next(b))
                ok = false;
            else if (i < capacity)
                array[i] = b;
        }
        return ok;
    }

private:
    const unsigned char* data_;
    size_t length_;
    size_t pos_;
};

} // namespace

bool SafteStatus::initFieldsFromData(const SafteConfig* config, const unsigned char* data,
                                     size_t length)
{
    if (!config || !data)
        return false;
    StatusCursor c(data, length);
    bool complete = c.run(config->getFanCount(), ucFanStatus, MAX_FANS);
    complete = c.run(config->getPowerSupplyCount(), ucPowerSupplyStatus, MAX_POWER_SUPPLIES) && complete;
    complete = c.run(config->getDeviceSlotCount(), ucSlotScsiId, MAX_SLOTS) && complete;
    complete = c.next(ucDoorLockStatus) && complete;
    complete = c.next(ucSpeakerStatus) && complete;
    complete = c.run(config->getTempSensorCount(), ucTempSensorStatus, MAX_TEMP_SENSORS) && complete;
    complete = c.next(ucTempOutOfRangeFlag1) && complete;
    complete = c.next(ucTempOutOfRangeFlag2) && complete;
    complete = c.next(ucVendorUniqueByteCount) && complete;
    iFanCount = config->getFanCount();
    iPowerSupplyCount = config->getPowerSupplyCount();
    iSlotCount = config->getDeviceSlotCount();
    iTempSensorCount = config->getTempSensorCount();
    return complete;
}

uint32_t SafteStatus::getSlotNumberFromDeviceID(int id) const
{
    for (int i = 0; i < MAX_SLOTS; ++i)
        if (ucSlotScsiId[i] == id)
            return static_cast<uint32_t>(i);
    return NO_SLOT;
}

uint32_t SafteStatus::getDeviceIDFromSlotNumber(int n) const
{
    if (n < 0 || n >= MAX_SLOTS)
        return NO_SLOT;
    return ucSlotScsiId[n];
}

namespace {

// Entries to write: the count, or the whole array when it is unknown,
// never more than the array holds.
int entriesToWrite(int32_t count, int capacity)
{
    return (count < 0 || count > capacity) ? capacity : count;
}

void writeArray(Writer* writer, const char* format, const unsigned char* array, int n)
{
    char name[32];
    for (int i = 0; i < n; ++i) {
        std::snprintf(name, sizeof(name), format, i);
        writer->writeInt(name, array[i]);
    }
}

} // namespace

void SafteStatus::writeTo(Writer* writer) const
{
    if (!writer)
        return;
    RaidObject::writeTo(writer);
    writeArray(writer, "fan%d", ucFanStatus, entriesToWrite(iFanCount, MAX_FANS));
    writeArray(writer, "powerSupply%d", ucPowerSupplyStatus,
               entriesToWrite(iPowerSupplyCount, MAX_POWER_SUPPLIES));
    writeArray(writer, "slot%d", ucSlotScsiId, entriesToWrite(iSlotCount, MAX_SLOTS));
    writer->writeInt("doorLock", ucDoorLockStatus);
    writer->writeInt("speaker", ucSpeakerStatus);
    writeArray(writer, "tempSensor%d", ucTempSensorStatus,
               entriesToWrite(iTempSensorCount, MAX_TEMP_SENSORS));
    writer->writeInt("tempFlags1", ucTempOutOfRangeFlag1);
    writer->writeInt("tempFlags2", ucTempOutOfRangeFlag2);
}
