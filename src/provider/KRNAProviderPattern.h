#ifndef KRNAPROVIDERPATTERN_H
#define KRNAPROVIDERPATTERN_H

// The pattern every inventory provider of the module follows, as class
// templates over the provider class (Derived), its CIM class and, for an
// instance provider, the model class whose objects make its instances.
//
// An instance provider
//
//   class KRNA_Thing_Provider final
//       : public KRNAInstanceProvider<KRNA_Thing_Provider, KRNA_Thing, LogicalDrive> {
//   public:
//       static constexpr const char* WALKED_CLASS = "LogicalDrive";
//       static void krnaBuildInstance(KRNA_Thing* instance, LogicalDrive* drive, bool keysOnly);
//   };
//   CIMPLE_INSTANCE_PROVIDER(KRNA_Thing_Provider);
//
// enumerates one instance per object of the walked class in the tree of
// KRNAProvider::getConfig (family by family, Qorl, Tarnell, Pelm, and in
// breadth-first order within a family), all under globalLock. A provider that
// walks several classes one after the other declares walkedClasses (a list
// of class names) in place of WALKED_CLASS; one that makes several instances
// of an object, or none, declares krnaEachInstance (see below); one whose
// enumeration leaves objects out that get_instance finds declares
// krnaEnumerates; one that logs around its walk declares the hooks it needs
// (onEnumStart, onEnumEnd, onEnumInstances, onGetStart, onGetMatch,
// onGetFound, onGetNotFound).
//
// An association provider
//
//   class KRNA_Link_Provider final : public KRNAAssociationProvider<KRNA_Link_Provider, KRNA_Link> {
//   public:
//       static void krnaBuildMap(cimple::Instance_Map<KRNA_Link>& map);
//   };
//   CIMPLE_ASSOCIATION_PROVIDER(KRNA_Link_Provider);
//
// builds a fresh map for each request under globalLock (unless krnaLocks
// says otherwise; krnaWalk gives the
// objects of the tree, krnaEnd builds an end as its own provider does,
// krnaLink inserts one association of two ends) and answers from it after
// the lock is released.
//
// Deviations: a provider whose load and unload must not count with
// KRNAProvider declares `static const bool REGISTERS_WITH_BASE = false;`; one
// without a timer declares `int timer(cimple::uint64&) = delete;`; one with
// answers of its own (get_instance 61, say) declares that operation. One
// whose operations trace under other names declares a public
// `static const TraceNames& traceNames()`; one that marks its operations
// otherwise than by a scope trace declares a public Scope class, built on
// the operation's name for the length of the operation.

#include <cimple/cimple.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "KRNAFixedAnswers.h"
#include "KRNALogger.h"
#include "KRNAProvUtil.h"
#include "KRNAProvider.h"
#include "RaidModel/Filters/FilterCollection.h"
#include "RaidModel/Interface/RaidObject.h"

namespace corvanecimple {

// What every provider of the pattern shares: load and unload, and the fixed
// answers.
template <class Derived, class CIMClass>
class KRNAProviderCommon : public KRNAProvider, public KRNAFixedAnswers<CIMClass> {
public:
    typedef CIMClass Class;

    // Counts with KRNAProvider unless Derived says otherwise.
    static const bool REGISTERS_WITH_BASE = true;

    // What marks an operation: here its scope trace.
    typedef KRNADebugTrace Scope;

    int load() override
    {
        typename Derived::Scope trace(Derived::traceNames().load.c_str());
        if (Derived::REGISTERS_WITH_BASE)
            KRNAProvider::load();
        return cimple::LOAD_OK;
    }

    int unload() override
    {
        typename Derived::Scope trace(Derived::traceNames().unload.c_str());
        if (Derived::REGISTERS_WITH_BASE)
            KRNAProvider::unload();
        return cimple::UNLOAD_OK;
    }

    // The scope names of the operations: "<class>_Provider::load()" and so on
    // (buildMap: an association's krnaBuildMap, where it traces one).
    struct TraceNames {
        std::string load, unload, enumInstances, getInstance, buildMap;
    };
    static const TraceNames& traceNames()
    {
        static const TraceNames names = [] {
            const std::string prefix = std::string(Class::static_meta_class.name) + "_Provider::";
            return TraceNames{prefix + "load()", prefix + "unload()", prefix + "enum_instances()",
                              prefix + "get_instance()", prefix + "krnaBuildMap()"};
        }();
        return names;
    }

protected:
    // Calls each(objects) with the objects of the walked class in this
    // request's configuration tree, family by family (Qorl, Tarnell, Pelm)
    // and within a family in breadth-first order, then frees the root. The
    // caller holds globalLock.
    //
    // Each family's System is filtered on its own: one breadth-first pass
    // over the whole root would put the shallower objects of a later family
    // first (the Pelm logical drives stand right below their controllers,
    // those of the other families below arrays).
    template <class Each>
    static void krnaWalk(const char* walkedClass, Each each)
    {
        krnaWalk(std::vector<const char*>{walkedClass}, each);
    }

    // The same over several classes, one pass each in the order given (all
    // families' objects of the first class, then of the second ...), over
    // one configuration tree.
    template <class Each>
    static void krnaWalk(const std::vector<const char*>& walkedClasses, Each each)
    {
        RaidObject* config = nullptr;
        KRNAProvider::getConfig(config, KRNAProvider::ALL_FAMILIES, false);
        // The root goes however the walk ends.
        std::unique_ptr<RaidObject, void (*)(RaidObject*)> root(config, KRNAProvUtil::deleteRaidObject);
        std::vector<RaidObject*> objects;
        for (const char* walkedClass : walkedClasses) {
            for (unsigned long i = 0; root && i < root->getChildCount(); i++) {
                FilterCollection family(root->getChild(static_cast<int>(i)));
                family.apply(walkedClass, false);
                for (unsigned long j = 0; j < family.size(); j++)
                    objects.push_back(family.elementAt(static_cast<int>(j)));
            }
        }
        each(objects);
    }
};

// An end of an association: a new instance of the end provider's class,
// built in full from the model object; null when it cannot be created.
template <class EndProvider, class Object>
typename EndProvider::Class* krnaEnd(Object* object)
{
    cimple::Ref<typename EndProvider::Class> instance(EndProvider::Class::create(false));
    if (instance)
        EndProvider::krnaBuildInstance(instance.ptr(), object, false);
    return instance.steal();
}

template <class Derived, class CIMClass, class Model>
class KRNAInstanceProvider : public KRNAProviderCommon<Derived, CIMClass> {
    typedef KRNAProviderCommon<Derived, CIMClass> Common;

public:
    typedef CIMClass Class;

    // The instances of one object, handed to emit one by one until it
    // answers false: here one, built by Derived::krnaBuildInstance.
    template <class Emit>
    static void krnaEachInstance(Model* object, bool keysOnly, Emit emit)
    {
        cimple::Ref<Class> instance(Class::create(false));
        if (!instance)
            return;
        Derived::krnaBuildInstance(instance.ptr(), object, keysOnly);
        emit(instance.steal());
    }

    // The classes walked: the one class of Derived.
    static std::vector<const char*> walkedClasses() { return {Derived::WALKED_CLASS}; }

    // Whether the enumeration lists the object's instances (get_instance
    // looks at every object): here all.
    static bool krnaEnumerates(Model*) { return true; }

    // Hooks around the walks; nothing here. onEnumInstances follows
    // onEnumEnd with the number of instances handed out.
    static void onEnumStart(unsigned long) {}
    static void onEnumEnd(unsigned long) {}
    static void onEnumInstances(unsigned long) {}
    static void onGetStart(unsigned long) {}
    static void onGetMatch() {}
    static void onGetFound() {}
    static void onGetNotFound(unsigned long) {}

    int enum_instances(const Class*, cimple::Enum_Instances_Handler<Class>* handler)
    {
        typename Derived::Scope trace(Derived::traceNames().enumInstances.c_str());
        KRNAProvUtil::HostNameScope hostName;
        cimple::Auto_Mutex global(KRNAProvider::globalLock);
        unsigned long found = 0, handed = 0;
        Common::krnaWalk(Derived::walkedClasses(), [&](const std::vector<RaidObject*>& objects) {
            found = objects.size();
            Derived::onEnumStart(found);
            for (RaidObject* o : objects) {
                Model* object = dynamic_cast<Model*>(o);
                if (!object || !Derived::krnaEnumerates(object))
                    continue;
                Derived::krnaEachInstance(object, false, [&](Class* instance) {
                    handler->handle(instance);
                    handed++;
                    return true;
                });
            }
            Derived::onEnumEnd(found);
            Derived::onEnumInstances(handed);
        });
        return cimple::ENUM_INSTANCES_OK;
    }

    // The instance whose keys are the model's; 60, instance untouched, when
    // none has them.
    int get_instance(const Class* model, Class*& instance)
    {
        typename Derived::Scope trace(Derived::traceNames().getInstance.c_str());
        KRNAProvUtil::HostNameScope hostName;
        cimple::Auto_Mutex global(KRNAProvider::globalLock);
        Class* match = nullptr;
        Common::krnaWalk(Derived::walkedClasses(), [&](const std::vector<RaidObject*>& objects) {
            Derived::onGetStart(objects.size());
            for (size_t i = 0; i < objects.size() && !match; i++) {
                Model* object = dynamic_cast<Model*>(objects[i]);
                if (object)
                    match = matchingInstance(object, model);
            }
            if (!match)
                Derived::onGetNotFound(objects.size());
        });
        if (!match)
            return cimple::GET_INSTANCE_NOT_FOUND;
        instance = match;
        Derived::onGetFound();
        return cimple::GET_INSTANCE_OK;
    }

private:
    // The full instance of the object whose keys are the model's, or null:
    // candidates are built keys only and compared, the match is built again
    // in full.
    static Class* matchingInstance(Model* object, const Class* model)
    {
        long position = -1, index = 0;
        Derived::krnaEachInstance(object, true, [&](Class* candidate) {
            cimple::Ref<Class> owned(candidate);
            if (cimple::key_eq(candidate, model))
                position = index;
            index++;
            return position < 0;
        });
        if (position < 0)
            return nullptr;
        Derived::onGetMatch();
        Class* full = nullptr;
        index = 0;
        Derived::krnaEachInstance(object, false, [&](Class* built) {
            if (index++ == position) {
                full = built;
                return false;
            }
            cimple::destroy(built);
            return true;
        });
        return full;
    }
};

template <class Derived, class CIMClass>
class KRNAAssociationProvider : public KRNAProviderCommon<Derived, CIMClass>,
                                public KRNAAssociationAnswers<CIMClass> {
    typedef KRNAProviderCommon<Derived, CIMClass> Common;

public:
    typedef CIMClass Class;

    // Whether the map of an enumeration (or of a get) is built under
    // globalLock: always here.
    static bool krnaLocks(bool) { return true; }
    // Called when a get finds no association with the model's references.
    static void onGetNotFound() {}

    // The association in the map of this request with the model's
    // references; 60, instance untouched, when none has them.
    int get_instance(const Class* model, Class*& instance)
    {
        typename Derived::Scope trace(Derived::traceNames().getInstance.c_str());
        KRNAProvUtil::HostNameScope hostName;
        cimple::Instance_Map<Class> map;
        buildMap(map, false);
        const Class* found = map.lookup(model);
        if (!found) {
            Derived::onGetNotFound();
            return cimple::GET_INSTANCE_NOT_FOUND;
        }
        Class* copy = found->clone();
        if (!copy)
            return cimple::GET_INSTANCE_NOT_FOUND;
        instance = copy;
        return cimple::GET_INSTANCE_OK;
    }

    // Every association of the map, in insertion order, handed out after
    // globalLock is released. The map goes with the request, so its own
    // instances go out in place of copies.
    int enum_instances(const Class*, cimple::Enum_Instances_Handler<Class>* handler)
    {
        typename Derived::Scope trace(Derived::traceNames().enumInstances.c_str());
        KRNAProvUtil::HostNameScope hostName;
        cimple::Instance_Map<Class> map;
        buildMap(map, true);
        for (Class* association : map.take_all())
            handler->handle(association);
        return cimple::ENUM_INSTANCES_OK;
    }


protected:
    // One association of the two ends (both taken over) into the map. The
    // map destroys an association it refuses (a duplicate of one it holds)
    // with its ends. A role may be a reference member that the class
    // inherits (a narrowed reference stays in the schema class's struct).
    template <class LeftEnd, class LeftOwner, class RightEnd, class RightOwner, class Left, class Right>
    static void krnaLink(cimple::Instance_Map<Class>& map, LeftEnd* LeftOwner::*leftRole, Left* left,
                         RightEnd* RightOwner::*rightRole, Right* right)
    {
        krnaLink(map, leftRole, left, rightRole, right, [](Class*) {});
    }

    // The same, fill(association) setting its other properties before it
    // goes into the map.
    template <class LeftEnd, class LeftOwner, class RightEnd, class RightOwner, class Left, class Right, class Fill>
    static void krnaLink(cimple::Instance_Map<Class>& map, LeftEnd* LeftOwner::*leftRole, Left* left,
                         RightEnd* RightOwner::*rightRole, Right* right, Fill fill)
    {
        static_assert(std::is_base_of<LeftOwner, Class>::value && std::is_base_of<RightOwner, Class>::value,
                      "the roles are references of the association class");
        krnaInsertAssociation(map, leftRole, left, rightRole, right, fill);
    }

private:
    static void buildMap(cimple::Instance_Map<Class>& map, bool enumerating)
    {
        if (!Derived::krnaLocks(enumerating)) {
            Derived::krnaBuildMap(map);
            return;
        }
        cimple::Auto_Mutex global(KRNAProvider::globalLock);
        Derived::krnaBuildMap(map);
    }
};

} // namespace corvanecimple

#endif
