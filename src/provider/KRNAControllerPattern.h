#ifndef KRNACONTROLLERPATTERN_H
#define KRNACONTROLLERPATTERN_H

// The shapes the controller-side providers share, on the templates of
// KRNAProviderPattern.h:
//
// - KRNAPortInstanceProvider: one instance per port of every adapter (in
//   KRNAControllerUtil::getAdapterPorts order), filled by
//   Derived::krnaBuildInstance(instance, port, keysOnly);
// - KRNAAdapterAssociationProvider: one association per adapter, inserted by
//   Derived::krnaLinkAdapter(map, adapter); an adapter for which
//   Derived::krnaLinks(adapter) answers false has none;
// - KRNAPortAssociationProvider: one association per port of every adapter,
//   inserted by Derived::krnaLinkPort(map, adapter, port).

#include <vector>

#include "KRNAControllerUtil.h"
#include "KRNAProviderPattern.h"
#include "RaidModel/Interface/Adapter.h"

namespace corvanecimple {

template <class Derived, class CIMClass>
class KRNAPortInstanceProvider : public KRNAInstanceProvider<Derived, CIMClass, Adapter> {
public:
    static constexpr const char* WALKED_CLASS = "Adapter";

    template <class Emit>
    static void krnaEachInstance(Adapter* adapter, bool keysOnly, Emit emit)
    {
        std::vector<RaidObject*> ports;
        KRNAControllerUtil::getAdapterPorts(adapter, ports);
        for (RaidObject* port : ports) {
            cimple::Ref<CIMClass> instance(CIMClass::create(false));
            if (!instance)
                return;
            Derived::krnaBuildInstance(instance.ptr(), port, keysOnly);
            if (!emit(instance.steal()))
                return;
        }
    }
};

template <class Derived, class CIMClass>
class KRNAAdapterAssociationProvider : public KRNAAssociationProvider<Derived, CIMClass> {
    typedef KRNAAssociationProvider<Derived, CIMClass> Base;

public:
    static bool krnaLinks(Adapter*) { return true; }

    static void krnaBuildMap(cimple::Instance_Map<CIMClass>& map)
    {
        Base::krnaWalk("Adapter", [&](const std::vector<RaidObject*>& adapters) {
            for (RaidObject* o : adapters) {
                Adapter* adapter = dynamic_cast<Adapter*>(o);
                if (adapter && Derived::krnaLinks(adapter))
                    Derived::krnaLinkAdapter(map, adapter);
            }
        });
    }
};

template <class Derived, class CIMClass>
class KRNAPortAssociationProvider : public KRNAAssociationProvider<Derived, CIMClass> {
    typedef KRNAAssociationProvider<Derived, CIMClass> Base;

public:
    static void krnaBuildMap(cimple::Instance_Map<CIMClass>& map)
    {
        Base::krnaWalk("Adapter", [&](const std::vector<RaidObject*>& adapters) {
            for (RaidObject* o : adapters) {
                Adapter* adapter = dynamic_cast<Adapter*>(o);
                if (!adapter)
                    continue;
                std::vector<RaidObject*> ports;
                KRNAControllerUtil::getAdapterPorts(adapter, ports);
                for (RaidObject* port : ports)
                    Derived::krnaLinkPort(map, adapter, port);
            }
        });
    }
};

} // namespace corvanecimple

#endif
