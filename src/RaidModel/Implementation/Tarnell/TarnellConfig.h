#ifndef TARNELLCONFIG_H
#define TARNELLCONFIG_H

#include "RaidModel/Interface/Config.h"

// The configuration node of a Tarnell adapter, under which its arrays hang;
// written to XML as a Config.
class STOR_EXPORT TarnellConfig : public Config {
public:
    TarnellConfig();
    TarnellConfig(const TarnellConfig& right);
    explicit TarnellConfig(int configIDIN);
    ~TarnellConfig() override;

    bool isInstanceOf(const char* type) const override;
    const char* typeName() const override;
};

#endif
