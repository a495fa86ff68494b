#ifndef KRNASTORAGEPATTERN_H
#define KRNASTORAGEPATTERN_H

// What the storage-side providers share (disk drives, pools, volume settings
// and concrete extents): walks below one object, the drive serial, the
// status of a drive, and the shape of an association whose two ends are
// built from one walked object.

#include <vector>

#include <cimple/cimple.h>

#include "KRNAProviderPattern.h"
#include "RaidModel/Filters/FilterCollection.h"
#include "RaidModel/Interface/HardDrive.h"

class Chunk;

namespace corvanecimple {

// Calls each(object) for every object of class cls in root's subtree that is
// a Model, in breadth-first order, unsorted.
template <class Model, class Each>
void krnaEachBelow(RaidObject* root, const char* cls, Each each)
{
    if (!root)
        return;
    FilterCollection filter(root);
    filter.apply(cls, false);
    for (unsigned long i = 0; i < filter.size(); i++) {
        if (Model* object = dynamic_cast<Model*>(filter.elementAt(static_cast<int>(i))))
            each(object);
    }
}

// Hands emit a new instance of Class for every object that forEach passes
// to the callback it is given, built by build(instance, object), until emit
// answers false or an instance cannot be created.
template <class Class, class ForEach, class Build, class Emit>
void krnaEmitEach(ForEach forEach, Build build, Emit emit)
{
    bool more = true;
    forEach([&](auto* object) {
        if (!more)
            return;
        cimple::Ref<Class> instance(Class::create(false));
        if (!instance) {
            more = false;
            return;
        }
        build(instance.ptr(), object);
        more = emit(instance.steal());
    });
}

// The drive serial: the serial number text with every blank but the first
// dropped, then trimmed.
cimple::String krnaDriveSerial(const HardDrive* drive);

// The OperationalStatus of a drive state: 6 (Error) for a dead drive, 2 (OK)
// for the other states from DRIVE_READY to DRIVE_PARTITIONED_SINGLE; none
// (empty) for every other state.
cimple::Array_uint16 krnaDriveOperationalStatus(int state);

// The hard drive that holds the chunk: its provider drive, or the drive at
// the chunk's channel and device below the chunk's own adapter (never one of
// another family's adapter with the same id); null when there is none.
HardDrive* krnaChunkDrive(Chunk* chunk);

// Marks an operation by one debug line when it starts, in place of a scope
// trace (the line is the operation's "name").
class KRNADebugLine {
public:
    explicit KRNADebugLine(const char* line);
};

// One association per object of Derived::WALKED_CLASS in the configuration:
// LeftProvider's build of the object in LeftRole, RightProvider's in
// RightRole. krnaBuildMap traces under traceNames().buildMap and calls the
// hooks onBuildMapStart and onBuildMapEnd around its walk.
template <class Derived, class Assoc, class Model, class LeftProvider, auto LeftRole, class RightProvider,
          auto RightRole>
class KRNAObjectLinkProvider : public KRNAAssociationProvider<Derived, Assoc> {
    typedef KRNAAssociationProvider<Derived, Assoc> Base;

public:
    static void onBuildMapStart() {}
    static void onBuildMapEnd() {}

    static void krnaBuildMap(cimple::Instance_Map<Assoc>& map)
    {
        typename Derived::Scope trace(Derived::traceNames().buildMap.c_str());
        Derived::onBuildMapStart();
        Base::krnaWalk(Derived::WALKED_CLASS, [&](const std::vector<RaidObject*>& objects) {
            for (RaidObject* o : objects) {
                if (Model* object = dynamic_cast<Model*>(o))
                    Base::krnaLink(map, LeftRole, krnaEnd<LeftProvider>(object), RightRole,
                                   krnaEnd<RightProvider>(object));
            }
        });
        Derived::onBuildMapEnd();
    }
};

} // namespace corvanecimple

#endif
