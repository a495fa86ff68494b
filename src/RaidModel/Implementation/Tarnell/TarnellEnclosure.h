#ifndef TARNELLENCLOSURE_H
#define TARNELLENCLOSURE_H

#include <cstdint>

#include "RaidLib/Util/SafteConfig.h"
#include "RaidModel/Interface/Enclosure.h"
#include "storagedll/raidrec.h"

class TarnellAdapter;

// The temperature reading of an enclosure.
enum EnumOverallStatus : int32_t {
    STATUS_NORMAL = 0,
    STATUS_CRITICAL = 1,
    STATUS_FATAL = 2,
    STATUS_SYSTEM = 3,
    STATUS_UNKNOWN = 4
};
static_assert(sizeof(EnumOverallStatus) == 4, "EnumOverallStatus is 32-bit");

// A SAF-TE enclosure of a Tarnell controller. It turns the controller's two
// SAF-TE records into the model's SafteConfig and SafteStatus, decodes fans,
// power supplies and temperature into the small codes the family's event
// derivation compares, remembers whether it answered during the build, and
// starts or stops its identify indication.
class STOR_EXPORT TarnellEnclosure : public Enclosure {
public:
    // Decoded fan and power-supply codes.
    static constexpr int ELEMENT_OPERATIONAL = 1;
    static constexpr int ELEMENT_FAILED = 2;
    static constexpr int ELEMENT_NOT_INSTALLED = 3;
    static constexpr int ELEMENT_NO_DATA = 4;
    static constexpr int ELEMENT_NO_SUCH_INDEX = 5;

    TarnellEnclosure();
    // The device part, the SAF-TE validity, own copies of the source's kept
    // records (none where it has none) and the responding flag; no children.
    TarnellEnclosure(const TarnellEnclosure& right);
    TarnellEnclosure(TarnellAdapter* adapterIN, Channel* channelIN, int deviceIDIN, const char* vendorIN,
                     const char* modelIN, const char* serialNumberIN, const char* firmwareLevelIN,
                     EnumPhysicalDeviceState stateIN, bool respondingIN, const char* fruNumberIN);
    ~TarnellEnclosure() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    // Starts (true) or stops (false) the enclosure's identify indication.
    // 0; -2 when the adapter's tree holds no enclosure at this one's
    // address; -5 without controller access or when the controller refuses.
    Ret identifyDevice(bool mode) override;

    bool isResponding() const { return responding; }
    void setResponding(bool respondingIN) { responding = respondingIN; }

    // Adds a SafteConfig made from the configuration record and a
    // SafteStatus made from the first 28 bytes of the status record (the
    // packed page: 3 fans, 3 power supplies, 14 slot ids, door lock,
    // speaker, 2 temperatures, the out-of-range flags and one vendor-unique
    // byte) as children, keeps copies of both and marks the data valid. The
    // status takes its four counts from the configuration.
    void buildSafte(SAFTE_CONFIG& safteConfigIN, _SAFTE_STATUS& safteStatusIN);

    // The code of fan or power supply index (from 0): operational, failed
    // or not installed; ELEMENT_NO_DATA without SAF-TE data,
    // ELEMENT_NO_SUCH_INDEX outside the configured count.
    int getFanStatus(int index) const;
    int getPowerSupplyStatus(int index) const;
    // STATUS_FATAL when a temperature is out of range, else STATUS_NORMAL;
    // STATUS_UNKNOWN without SAF-TE data.
    EnumOverallStatus getTemperatureStatus() const;

private:
    bool responding;
};

#endif
