#ifndef KRNACONTROLLERIDENTITYPROVIDERS_H
#define KRNACONTROLLERIDENTITYPROVIDERS_H

// The software every controller runs: its BIOS, driver and firmware as
// software identities, one of each per adapter, all three keyed by the
// adapter's unique id (told apart by class), each linked to the controller's
// computer system. The builds fill everything, keys-only or not.

#include <cimple/cimple.h>

#include "KRNAControllerPattern.h"
#include "KRNAControllerSystemProviders.h"
#include "KRNA_Classes.h"

namespace corvanecimple {

// The version text of a Pelm adapter split into the version and the build in
// parentheses: "4.1 (123)" is 4.1 and 123.
struct KRNAPelmVersion {
    // Without a "(" followed later by a ")" the whole text is the version
    // and there is no build text. Otherwise the version is the text before
    // the first "(", less one blank that ends it, and the build text is what
    // stands between the first "(" and the last ")".
    explicit KRNAPelmVersion(const char* text);

    bool split;
    cimple::String version;
    cimple::String build;
    // The build text as a decimal number (strtol: leading digits; none is 0).
    long buildNumber() const;
};

// What tells the three identities apart.
struct KRNAIdentityKind {
    const char* caption;
    const char* description;
    cimple::uint16 classification;
    const char* classificationDescription;
    uint32_t (Adapter::*buildNumber)() const;
    char* (Adapter::*version)() const;
    bool pelmParsing; // the version and build of a Pelm adapter come from its version text
};

// Fills the identity of the kind for the adapter.
void krnaBuildSoftwareIdentity(cimple::CIM_SoftwareIdentity* instance, Adapter* adapter, const KRNAIdentityKind& kind);

class KRNA_ControllerBIOSSoftwareIdentity_Provider final
    : public KRNAInstanceProvider<KRNA_ControllerBIOSSoftwareIdentity_Provider,
                                  cimple::KRNA_ControllerBIOSSoftwareIdentity, Adapter> {
public:
    static constexpr const char* WALKED_CLASS = "Adapter";
    static void krnaBuildInstance(cimple::KRNA_ControllerBIOSSoftwareIdentity* instance, Adapter* adapter,
                                  bool keysOnly);
};

class KRNA_ControllerDriverSoftwareIdentity_Provider final
    : public KRNAInstanceProvider<KRNA_ControllerDriverSoftwareIdentity_Provider,
                                  cimple::KRNA_ControllerDriverSoftwareIdentity, Adapter> {
public:
    static constexpr const char* WALKED_CLASS = "Adapter";
    static void krnaBuildInstance(cimple::KRNA_ControllerDriverSoftwareIdentity* instance, Adapter* adapter,
                                  bool keysOnly);
};

class KRNA_ControllerFirmwareSoftwareIdentity_Provider final
    : public KRNAInstanceProvider<KRNA_ControllerFirmwareSoftwareIdentity_Provider,
                                  cimple::KRNA_ControllerFirmwareSoftwareIdentity, Adapter> {
public:
    static constexpr const char* WALKED_CLASS = "Adapter";
    static void krnaBuildInstance(cimple::KRNA_ControllerFirmwareSoftwareIdentity* instance, Adapter* adapter,
                                  bool keysOnly);

    static void onEnumStart(unsigned long adapters);
    static void onGetStart(unsigned long adapters);
    static void onGetMatch();
    static void onGetFound();
};

// Each identity (Antecedent) with its controller's computer system (Dependent).
class KRNA_ControllerElementBIOSIdentity_Provider final
    : public KRNAAdapterAssociationProvider<KRNA_ControllerElementBIOSIdentity_Provider,
                                            cimple::KRNA_ControllerElementBIOSIdentity> {
public:
    static void krnaLinkAdapter(cimple::Instance_Map<Class>& map, Adapter* adapter);
};

class KRNA_ControllerElementDriverIdentity_Provider final
    : public KRNAAdapterAssociationProvider<KRNA_ControllerElementDriverIdentity_Provider,
                                            cimple::KRNA_ControllerElementDriverIdentity> {
public:
    static void krnaLinkAdapter(cimple::Instance_Map<Class>& map, Adapter* adapter);
};

class KRNA_ControllerElementFirmwareIdentity_Provider final
    : public KRNAAdapterAssociationProvider<KRNA_ControllerElementFirmwareIdentity_Provider,
                                            cimple::KRNA_ControllerElementFirmwareIdentity> {
public:
    static void krnaLinkAdapter(cimple::Instance_Map<Class>& map, Adapter* adapter);
};

} // namespace corvanecimple

#endif
