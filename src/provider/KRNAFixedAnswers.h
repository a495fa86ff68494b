#ifndef KRNAFIXEDANSWERS_H
#define KRNAFIXEDANSWERS_H

// What every provider of the module answers to the operations it does not
// carry out (the timer, create, delete and modify, every extrinsic method
// of the module's classes, and of an association the three traversals,
// which the framework then serves from the enumeration), and the insertion
// of an association of two ends into a map.

#include <cimple/cimple.h>

namespace corvanecimple {

// An extrinsic method that no provider carries out: whatever its
// parameters, it answers "not supported" and touches nothing.
#define KRNA_UNSUPPORTED_METHOD(NAME)                 \
    template <class... Parameters>                    \
    int NAME(const Parameters&...)                    \
    {                                                 \
        return ::cimple::INVOKE_METHOD_UNSUPPORTED;   \
    }

template <class CIMClass>
class KRNAFixedAnswers {
public:
    int timer(cimple::uint64&) { return cimple::TIMER_CANCEL; }

    int create_instance(CIMClass*) { return cimple::CREATE_INSTANCE_UNSUPPORTED; }
    int delete_instance(const CIMClass*) { return cimple::DELETE_INSTANCE_UNSUPPORTED; }
    int modify_instance(const CIMClass*, const CIMClass*) { return cimple::MODIFY_INSTANCE_UNSUPPORTED; }

    // Every extrinsic method the module's classes declare.
    KRNA_UNSUPPORTED_METHOD(RequestStateChange)
    KRNA_UNSUPPORTED_METHOD(SetPowerState)
    KRNA_UNSUPPORTED_METHOD(Reset)
    KRNA_UNSUPPORTED_METHOD(EnableDevice)
    KRNA_UNSUPPORTED_METHOD(OnlineDevice)
    KRNA_UNSUPPORTED_METHOD(QuiesceDevice)
    KRNA_UNSUPPORTED_METHOD(SaveProperties)
    KRNA_UNSUPPORTED_METHOD(RestoreProperties)
    KRNA_UNSUPPORTED_METHOD(IsCompatible)
    KRNA_UNSUPPORTED_METHOD(ConnectorPower)
    KRNA_UNSUPPORTED_METHOD(SetSpeed)
    KRNA_UNSUPPORTED_METHOD(Failover)
    KRNA_UNSUPPORTED_METHOD(LockMedia)
    KRNA_UNSUPPORTED_METHOD(GetSupportedSizes)
    KRNA_UNSUPPORTED_METHOD(GetSupportedSizeRange)
    KRNA_UNSUPPORTED_METHOD(StartService)
    KRNA_UNSUPPORTED_METHOD(StopService)
    KRNA_UNSUPPORTED_METHOD(RunDiagnostic)
    KRNA_UNSUPPORTED_METHOD(RunTest)
    KRNA_UNSUPPORTED_METHOD(ClearResults)
    KRNA_UNSUPPORTED_METHOD(DiscontinueTest)
    KRNA_UNSUPPORTED_METHOD(BISTExecution)
    KRNA_UNSUPPORTED_METHOD(ClearLog)
    KRNA_UNSUPPORTED_METHOD(KillJob)
    KRNA_UNSUPPORTED_METHOD(VerifyOKToApplyToMSE)
    KRNA_UNSUPPORTED_METHOD(ApplyToMSE)
    KRNA_UNSUPPORTED_METHOD(VerifyOKToApplyToCollection)
    KRNA_UNSUPPORTED_METHOD(ApplyToCollection)
    KRNA_UNSUPPORTED_METHOD(VerifyOKToApplyIncrementalChangeToMSE)
    KRNA_UNSUPPORTED_METHOD(ApplyIncrementalChangeToMSE)
    KRNA_UNSUPPORTED_METHOD(VerifyOKToApplyIncrementalChangeToCollection)
    KRNA_UNSUPPORTED_METHOD(ApplyIncrementalChangeToCollection)
};

#undef KRNA_UNSUPPORTED_METHOD

template <class CIMClass>
class KRNAAssociationAnswers {
public:
    int enum_associator_names(const cimple::Instance*, const cimple::String&, const cimple::String&,
                              const cimple::String&, cimple::Enum_Associator_Names_Handler<cimple::Instance>*)
    {
        return cimple::ENUM_ASSOCIATOR_NAMES_UNSUPPORTED;
    }
    int enum_references(const cimple::Instance*, const CIMClass*, const cimple::String&,
                        cimple::Enum_References_Handler<CIMClass>*)
    {
        return cimple::ENUM_REFERENCES_UNSUPPORTED;
    }
    int enum_associators(const cimple::Instance*, const cimple::String&, const cimple::String&,
                         const cimple::String&, cimple::Enum_Associators_Handler<cimple::Instance>*)
    {
        return cimple::ENUM_ASSOCIATORS_UNSUPPORTED;
    }
};

// One association of the two ends (both taken over) into the map. The map
// destroys an association it refuses (a duplicate of one it holds) with its
// ends; a missing end inserts nothing. A role may be a reference member that
// the class inherits (a narrowed reference stays in the schema class's
// struct). fill(association) sets its other properties before it goes into
// the map.
template <class Association, class LeftEnd, class LeftOwner, class RightEnd, class RightOwner, class Left,
          class Right, class Fill = void (*)(Association*)>
void krnaInsertAssociation(cimple::Instance_Map<Association>& map, LeftEnd* LeftOwner::*leftRole, Left* left,
                           RightEnd* RightOwner::*rightRole, Right* right,
                           Fill fill = [](Association*) {})
{
    Association* association = Association::create(false);
    if (!association || !left || !right) {
        cimple::destroy(association);
        cimple::destroy(left);
        cimple::destroy(right);
        return;
    }
    association->*leftRole = left;
    association->*rightRole = right;
    fill(association);
    map.insert(association);
}

} // namespace corvanecimple

#endif
