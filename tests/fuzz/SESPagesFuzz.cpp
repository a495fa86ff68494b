// libFuzzer target: arbitrary SES-2 diagnostic pages through an SES-2
// enclosure. The input holds up to four pages (Configuration, Enclosure
// Status, Element Descriptor, Additional Element Status), each behind a
// 16-bit little-endian length; they are stored with the setters, decoded
// with initSESData, and the queries and control pages are run over what was
// made. Every control page handed to the hook is read whole.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "RaidLib/Util/Buffer.h"
#include "RaidLib/Util/SESElements.h"
#include "RaidLib/Util/StorDebug.h"
#include "RaidModel/Interface/SES2EnclosureDevice.h"

namespace {

volatile uint32_t gSink;

class FuzzEnclosure : public SES2EnclosureDevice {
public:
    Ret sendDiagnosticPage(EnumSESPageCodes, unsigned char* page, unsigned long size) override
    {
        uint32_t sum = 0;
        for (unsigned long i = 0; i < size; ++i)
            sum += page[i];
        gSink = sum;
        return Ret(0);
    }
    ~FuzzEnclosure() override { deleteAllChildren(); }
};

Buffer nextPage(const uint8_t*& data, size_t& size)
{
    if (size < 2)
        return Buffer();
    size_t n = static_cast<size_t>(data[0]) | static_cast<size_t>(data[1]) << 8;
    data += 2;
    size -= 2;
    if (n > size)
        n = size;
    Buffer page(static_cast<uint32_t>(n), data);
    data += n;
    size -= n;
    return page;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzEnclosure e;
    e.setConfigurationPage(nextPage(data, size));
    e.setStatusPage(nextPage(data, size));
    e.setElementDescriptorPage(nextPage(data, size));
    e.setDeviceElementStatusPage(nextPage(data, size));
    e.initSESData();

    uint32_t sum = e.getFanCount() + e.getPowerSupplyCount() + e.getFanStatus(0) + e.getPowerSupplyStatus(1);
    sum += static_cast<uint32_t>(e.getCelciusTemperature()) + e.isTempOutOfRange();
    for (unsigned long i = 0; i < e.getNumSESElements(); ++i) {
        SESElement* element = e.getSESElement(i);
        sum += static_cast<uint32_t>(std::strlen(element->getDescriptor()));
        if (i < 4)
            e.blinkElement(true, *element);
    }
    for (unsigned long i = 0; SESDeviceSAS* slot = e.getSESDeviceSAS(i); ++i)
        sum += slot->getNumSASPhys() + slot->getPhy1()[7];
    e.setAlarmState(ALARM_SOUND);
    gSink = sum;
    return 0;
}
