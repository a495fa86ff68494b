#ifndef CONFIG_H
#define CONFIG_H

#include <cstdint>

#include "RaidLib/Util/Ret.h"
#include "RaidModel/Interface/RaidObject.h"

class HardDrive;

// A controller's configuration with its id. The configuration operations
// answer -1 (not supported) here; the controller family overrides them.
// Written as "Config" with only "configID"; never read back.
class STOR_EXPORT Config : public RaidObject {
public:
    Config();
    explicit Config(int configIDIN);
    // A new node with the source's id.
    Config(const Config& right);
    ~Config() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    const char* serializedName() const override;
    void writeTo(Writer* writer) const override;
    virtual Ret restoreConfig(HardDrive& disk);
    virtual Ret resetConfig();
    virtual Ret setConfigId(int id);

    Config& operator=(const Config& right);
    bool operator==(const Config& right) const { return configID == right.configID; }
    bool operator!=(const Config& right) const { return !(*this == right); }

    int32_t getConfigID() const { return configID; }

protected:
    int32_t configID;
};

#endif
