#ifndef KRNAPROFILEPROVIDERS_H
#define KRNAPROFILEPROVIDERS_H

// The registered profiles the module implements, published in the interop
// namespace "root/PG_InterOp": one fixed instance per profile class, and the
// associations that tie them to what conforms to them (the host's computer
// system, every controller's port controller) and to each other. Nothing is
// kept between requests; none of these providers creates configuration
// builders, so the two that walk the controllers see what the inventory
// providers loaded (nothing, without them).

#include "KRNAControllerPortProviders.h"
#include "KRNAProviderPattern.h"
#include "KRNA_Classes.h"

namespace corvanecimple {

// The namespaces of the ends of the profile associations.
extern const char* const KRNA_INTEROP_NAMESPACE; // "root/PG_InterOp"
extern const char* const KRNA_HOST_NAMESPACE;    // "root/zeqag"
extern const char* const KRNA_NAMESPACE;         // "root/krna"

// The values of one profile's instance; null texts stay unset.
struct KRNAProfileRow {
    const char* instanceID;
    const char* registeredName;
    const char* caption;
    const char* description;
    const char* elementName;
    // The instance carries the interop namespace in its own path, and a get
    // that matches logs "Keys Matched".
    bool interopPath;
};

// One profile provider: Derived gives `static const KRNAProfileRow ROW`.
// A get whose key is not the instance's answers 60.
template <class Derived, class CIMClass>
class KRNAProfileProvider : public KRNAProviderCommon<Derived, CIMClass> {
    typedef KRNAProviderCommon<Derived, CIMClass> Common;

public:
    static const bool REGISTERS_WITH_BASE = false;

    // Fills a created instance with the row; keysOnly is not honoured.
    static void krnaBuildInstance(CIMClass* instance, bool keysOnly);
    // A new full instance, or null.
    static CIMClass* krnaNew();
    // The end of an association: the instance in the interop namespace.
    static CIMClass* krnaEnd();

    // Hooks at the end of the two operations; nothing here.
    static void onEnumEnd() {}
    static void onGetEnd() {}

    int enum_instances(const CIMClass*, cimple::Enum_Instances_Handler<CIMClass>* handler);
    int get_instance(const CIMClass* model, CIMClass*& instance);
};

#define KRNA_PROFILE_PROVIDER(NAME)                                                                  \
    class NAME##_Provider final : public KRNAProfileProvider<NAME##_Provider, cimple::NAME> {       \
    public:                                                                                          \
        static const KRNAProfileRow ROW;                                                             \
    }

KRNA_PROFILE_PROVIDER(KRNA_ProfileHHRRegisteredProfile);
KRNA_PROFILE_PROVIDER(KRNA_ProfileHHRCRegisteredProfile);
KRNA_PROFILE_PROVIDER(KRNA_ProfileCDMv2RegisteredProfile);
KRNA_PROFILE_PROVIDER(KRNA_ProfileDiskDriveLiteRegisteredProfile);
KRNA_PROFILE_PROVIDER(KRNA_ProfilePhysicalAssetRegisteredProfile);
KRNA_PROFILE_PROVIDER(KRNA_ProfileSoftwareInventoryRegisteredProfile);

// The indication profile also logs the end of its get and enumeration.
class KRNA_ProfileIndicationRegisteredProfile_Provider final
    : public KRNAProfileProvider<KRNA_ProfileIndicationRegisteredProfile_Provider,
                                 cimple::KRNA_ProfileIndicationRegisteredProfile> {
public:
    static const KRNAProfileRow ROW;
    static void onEnumEnd();
    static void onGetEnd();
};

#undef KRNA_PROFILE_PROVIDER

// The base of the nine profile associations: no builders unless a provider
// says otherwise, its own locking.
template <class Derived, class CIMClass>
class KRNAProfileAssociationProvider : public KRNAAssociationProvider<Derived, CIMClass> {
public:
    static const bool REGISTERS_WITH_BASE = false;
};

// The host hardware RAID profile and the host's computer system, found in
// "root/zeqag" through the CIM server; locked only while enumerating.
class KRNA_ProfileHHRRegisteredProfileElementConformsToProfileHostComputerSystem_Provider final
    : public KRNAProfileAssociationProvider<
          KRNA_ProfileHHRRegisteredProfileElementConformsToProfileHostComputerSystem_Provider,
          cimple::KRNA_ProfileHHRRegisteredProfileElementConformsToProfileHostComputerSystem> {
public:
    static bool krnaLocks(bool enumerating) { return enumerating; }
    static void krnaBuildMap(cimple::Instance_Map<Class>& map);
};

// The controller profile and every controller's port controller. It reads
// the configuration, so it counts with the base as the inventory providers
// do: its builders exist from its own load on, whatever else is loaded.
class KRNA_ProfileHHRCRegisteredProfileElementConformsToProfileControllerPortController_Provider final
    : public KRNAProfileAssociationProvider<
          KRNA_ProfileHHRCRegisteredProfileElementConformsToProfileControllerPortController_Provider,
          cimple::KRNA_ProfileHHRCRegisteredProfileElementConformsToProfileControllerPortController> {
public:
    static const bool REGISTERS_WITH_BASE = true;
    static void krnaBuildMap(cimple::Instance_Map<Class>& map);
};

// The host's computer system holds every controller's port controller; it
// counts with the base like the controller profile's conformance.
class KRNA_ProfileHostComputerSystemSystemDevicePortController_Provider final
    : public KRNAProfileAssociationProvider<KRNA_ProfileHostComputerSystemSystemDevicePortController_Provider,
                                            cimple::KRNA_ProfileHostComputerSystemSystemDevicePortController> {
public:
    static const bool REGISTERS_WITH_BASE = true;
    static void krnaBuildMap(cimple::Instance_Map<Class>& map);
};

// The host hardware RAID profile references another profile (Dependent,
// built by DependentProvider); from constants, without a lock.
template <class Derived, class CIMClass, class DependentProvider>
class KRNAReferencedProfileProvider : public KRNAProfileAssociationProvider<Derived, CIMClass> {
public:
    static bool krnaLocks(bool) { return false; }
    static void krnaBuildMap(cimple::Instance_Map<CIMClass>& map)
    {
        KRNAReferencedProfileProvider::krnaLink(map, &CIMClass::Antecedent,
                                                KRNA_ProfileHHRRegisteredProfile_Provider::krnaEnd(),
                                                &CIMClass::Dependent, DependentProvider::krnaEnd());
    }
};

#define KRNA_REFERENCED_PROFILE_PROVIDER(NAME, DEPENDENT)                                              \
    class NAME##_Provider final                                                                        \
        : public KRNAReferencedProfileProvider<NAME##_Provider, cimple::NAME, DEPENDENT##_Provider> {} \

KRNA_REFERENCED_PROFILE_PROVIDER(KRNA_ProfileHHRReferencedCDMv2Profile, KRNA_ProfileCDMv2RegisteredProfile);
KRNA_REFERENCED_PROFILE_PROVIDER(KRNA_ProfileHHRReferencedDiskDriveLiteProfile,
                                 KRNA_ProfileDiskDriveLiteRegisteredProfile);
KRNA_REFERENCED_PROFILE_PROVIDER(KRNA_ProfileHHRReferencedIndicationProfile,
                                 KRNA_ProfileIndicationRegisteredProfile);
KRNA_REFERENCED_PROFILE_PROVIDER(KRNA_ProfileHHRReferencedPhysicalAssetProfile,
                                 KRNA_ProfilePhysicalAssetRegisteredProfile);
KRNA_REFERENCED_PROFILE_PROVIDER(KRNA_ProfileHHRReferencedSoftwareInventoryProfile,
                                 KRNA_ProfileSoftwareInventoryRegisteredProfile);

#undef KRNA_REFERENCED_PROFILE_PROVIDER

// The controller profile's reference also logs a get that finds nothing.
class KRNA_ProfileHHRReferencedHHRCProfile_Provider final
    : public KRNAReferencedProfileProvider<KRNA_ProfileHHRReferencedHHRCProfile_Provider,
                                           cimple::KRNA_ProfileHHRReferencedHHRCProfile,
                                           KRNA_ProfileHHRCRegisteredProfile_Provider> {
public:
    static void onGetNotFound();
};

} // namespace corvanecimple

#endif
