#ifndef KRNAPROVIDER_H
#define KRNAPROVIDER_H

// The base of every provider class of the module and the state they share:
// the count of loaded providers, the three family configuration builders and
// the module's two locks.
//
// Lock order, everywhere in the module: globalLock, configLock, a builder's
// mutex, a logger's mutex. A provider holds globalLock around the whole of
// one walk: getConfig, the walk and the building of instances, and the
// release of the root.

#include <cimple/Mutex.h>

class Adapter;
class RaidObject;
class StorLib;

namespace corvanecimple {

class KRNAConfigBuilder;

class KRNAProvider {
public:
    // The family bits of getConfig's mask (the module's own numbers).
    static const long QORL_FAMILY = 0x1000;
    static const long TARNELL_FAMILY = 0x1;
    static const long PELM_FAMILY = 0x100;
    static const long ALL_FAMILIES = 0x7FFFFFFF;

    // Counts one loaded provider; the first creates the missing builders,
    // each of which reads its family once. 0.
    virtual int load();
    // Counts one provider less; the one that finds the count at 1 deletes
    // the builders with their libraries. 0.
    virtual int unload();

    // A new root whose children are the current Systems of the families of
    // the mask, in the order Qorl, Tarnell, Pelm; a family without a builder
    // or a configuration is missing. Each builder refreshes its cache first
    // when it is stale or force is set. The root lists the Systems without
    // becoming their parent, so lookups that climb a tree stay in their own
    // family. The caller holds globalLock and frees the root with
    // KRNAProvUtil::deleteRaidObject (the Systems stay cached). Always true.
    static bool getConfig(RaidObject*& root, long familyMask, bool force);

    // The library of the builder that serves the adapter's family; null for
    // a null adapter or another type.
    static StorLib* getLib(Adapter* adapter);

    static int providerCount;
    static KRNAConfigBuilder* qorlConfigBuilder;
    static KRNAConfigBuilder* tarnellConfigBuilder;
    static KRNAConfigBuilder* pelmConfigBuilder;
    // Built at module load in this order, destroyed in the reverse one.
    static cimple::Mutex configLock;
    static cimple::Mutex globalLock;

protected:
    KRNAProvider() = default;
    ~KRNAProvider() = default;
};

} // namespace corvanecimple

#endif
