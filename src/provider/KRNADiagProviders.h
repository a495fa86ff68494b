#ifndef KRNADIAGPROVIDERS_H
#define KRNADIAGPROVIDERS_H

// The diagnostics providers of namespace "root/krna": the three diagnostic
// services with the method RunKRNADiagnostic that runs a test on a Vesk
// controller, the fixed instances around them (controllers, logs,
// settings, capabilities) and their associations, and the jobs, records
// and associations a run leaves behind for five minutes. They derive from
// no provider base, take no configuration and keep the test engine's own
// Vesk library (KRNATests). The stored instances live in one static map per
// provider class, guarded by KRNA_DiagUtils::mapLock; every read of them
// sweeps the expired ones first.

#include <cimple/cimple.h>

#include "KRNADiagUtils.h"
#include "KRNAFixedAnswers.h"
#include "KRNATests.h"
#include "KRNA_Classes.h"

namespace corvanecimple {

// Load and unload, the fixed answers and the trace lines of every
// diagnostics provider. Derived gives TRACE_PREFIX: "In ", "" or null (no trace lines).
template <class Derived, class CIMClass>
class KRNADiagProvider : public KRNAFixedAnswers<CIMClass>, public KRNAAssociationAnswers<CIMClass> {
public:
    typedef CIMClass Class;

    int load() { return cimple::LOAD_OK; }
    int unload() { return cimple::UNLOAD_OK; }

    // "<prefix><class>_Provider::<operation>\n" to the debug file, unless
    // the class writes no trace lines.
    static void trace(const char* operation)
    {
        if (Derived::TRACE_PREFIX)
            krnaDiagTrace(Derived::TRACE_PREFIX, (std::string(Class::static_meta_class.name) + "_Provider").c_str(),
                          operation);
    }
};

// A provider whose instances are built afresh for every request by
// Derived::krnaBuildMap(map, keysOnly). A get that finds nothing answers
// Derived::GET_MISS (60, or 61 to let the framework enumerate).
template <class Derived, class CIMClass>
class KRNADiagBuiltProvider : public KRNADiagProvider<Derived, CIMClass> {
    typedef KRNADiagProvider<Derived, CIMClass> Base;

public:
    static const int GET_MISS = cimple::GET_INSTANCE_NOT_FOUND;
    static constexpr const char* ENUM_OPERATION = "enum_instances";

    int enum_instances(const CIMClass*, cimple::Enum_Instances_Handler<CIMClass>* handler)
    {
        Base::trace(Derived::ENUM_OPERATION);
        cimple::Instance_Map<CIMClass> map;
        Derived::krnaBuildMap(map, false);
        for (size_t i = 0; i < map.size(); i++)
            if (CIMClass* copy = map[i]->clone())
                handler->handle(copy);
        return cimple::ENUM_INSTANCES_OK;
    }

    int get_instance(const CIMClass* model, CIMClass*& instance)
    {
        Base::trace("get_instance");
        if (Derived::GET_MISS == cimple::GET_INSTANCE_UNSUPPORTED)
            return cimple::GET_INSTANCE_UNSUPPORTED;
        cimple::Instance_Map<CIMClass> map;
        Derived::krnaBuildMap(map, false);
        const CIMClass* found = map.lookup(model);
        CIMClass* copy = found ? found->clone() : nullptr;
        if (!copy)
            return Derived::GET_MISS;
        instance = copy;
        return cimple::GET_INSTANCE_OK;
    }
};

// A provider of instances that the runs store: its static map, swept of
// expired jobs (and what carries their ids) at every read. Derived gives
// jobID(entry), the id of the job an entry belongs to.
template <class Derived, class CIMClass>
class KRNADiagStoredProvider : public KRNADiagProvider<Derived, CIMClass> {
    typedef KRNADiagProvider<Derived, CIMClass> Base;

public:
    static constexpr const char* ENUM_OPERATION = "enum_instances";

    int enum_instances(const CIMClass*, cimple::Enum_Instances_Handler<CIMClass>* handler)
    {
        cimple::Auto_Mutex lock(KRNA_DiagUtils::mapLock());
        Base::trace(Derived::ENUM_OPERATION);
        KRNA_DiagUtils::deleteExpiredInstances();
        for (size_t i = 0; i < _map.size(); i++)
            if (CIMClass* copy = _map[i]->clone())
                handler->handle(copy);
        return cimple::ENUM_INSTANCES_OK;
    }

    int get_instance(const CIMClass* model, CIMClass*& instance)
    {
        cimple::Auto_Mutex lock(KRNA_DiagUtils::mapLock());
        Base::trace("get_instance");
        KRNA_DiagUtils::deleteExpiredInstances();
        const CIMClass* found = _map.lookup(model);
        CIMClass* copy = found ? found->clone() : nullptr;
        if (!copy)
            return cimple::GET_INSTANCE_NOT_FOUND;
        instance = copy;
        return cimple::GET_INSTANCE_OK;
    }

    // Removes the first entry of the job; true when there was one.
    static bool deleteExpiredInstance(const cimple::String& jobID)
    {
        cimple::Auto_Mutex lock(KRNA_DiagUtils::mapLock());
        Derived::traceDelete();
        for (size_t i = 0; i < _map.size(); i++) {
            if (Derived::jobID(_map[i]) == jobID) {
                _map.remove(i);
                return true;
            }
        }
        return false;
    }

    static void traceDelete() { Base::trace("deleteExpiredInstance"); }

    // Stores a new entry (taken over); false when the map refused it.
    static bool store(CIMClass* entry)
    {
        cimple::Auto_Mutex lock(KRNA_DiagUtils::mapLock());
        return _map.insert(entry) == 0;
    }

    static cimple::Instance_Map<CIMClass> _map;
};

template <class Derived, class CIMClass>
cimple::Instance_Map<CIMClass> KRNADiagStoredProvider<Derived, CIMClass>::_map;

// ---- the fixed instances -------------------------------------------------------------------

// One controller of the test engine per instance, keyed by its serial number.
class KRNA_Device_Provider final : public KRNADiagBuiltProvider<KRNA_Device_Provider, cimple::KRNA_Device> {
public:
    static constexpr const char* TRACE_PREFIX = "In ";
    static void krnaBuildMap(cimple::Instance_Map<Class>& map, bool keysOnly);
};

// The three tests, and the method that runs one. The provider object holds
// the test engine, so its library exists from the provider's creation on.
class KRNA_DiagService_Provider final
    : public KRNADiagBuiltProvider<KRNA_DiagService_Provider, cimple::KRNA_DiagService> {
public:
    static constexpr const char* TRACE_PREFIX = "In ";
    static void krnaBuildMap(cimple::Instance_Map<Class>& map, bool keysOnly);

    // 1 when a controller of the current KRNA_Device instances has the
    // element's DeviceID; 0 otherwise and for null.
    static int verifyMSE(const cimple::KRNA_Device* element);
    // The reports of the three tests, appended to the record's RecordData.
    static int run1(cimple::KRNA_DiagServiceRecord* record, cimple::String deviceID);
    static int run2(cimple::KRNA_DiagServiceRecord* record, cimple::String deviceID);
    static int run3(cimple::KRNA_DiagServiceRecord* record, cimple::String deviceID);

    // Runs the test the service names on the element's controller and
    // leaves its job, records and associations behind: 0 with return value
    // 0; 130 with return value 1 (nothing made) for an element that is
    // missing or no controller, or a service that is not one of the three.
    int RunKRNADiagnostic(const cimple::KRNA_DiagService* self, const cimple::KRNA_Device* element,
                          const cimple::CIM_DiagnosticSetting* setting, const cimple::CIM_JobSettingData* jobSetting,
                          cimple::CIM_ConcreteJob*& job, cimple::Property<cimple::uint32>& returnValue);

private:
    KRNATests tests;
};

class KRNA_DiagLog_Provider final : public KRNADiagBuiltProvider<KRNA_DiagLog_Provider, cimple::KRNA_DiagLog> {
public:
    static constexpr const char* TRACE_PREFIX = "";
    static void krnaBuildMap(cimple::Instance_Map<Class>& map, bool keysOnly);
};

class KRNA_DiagSetting_Provider final
    : public KRNADiagBuiltProvider<KRNA_DiagSetting_Provider, cimple::KRNA_DiagSetting> {
public:
    static constexpr const char* TRACE_PREFIX = "";
    static void krnaBuildMap(cimple::Instance_Map<Class>& map, bool keysOnly);
};

class KRNA_DiagServiceCapabilities_Provider final
    : public KRNADiagBuiltProvider<KRNA_DiagServiceCapabilities_Provider, cimple::KRNA_DiagServiceCapabilities> {
public:
    static constexpr const char* TRACE_PREFIX = nullptr;
    static const int GET_MISS = cimple::GET_INSTANCE_UNSUPPORTED;
    static void krnaBuildMap(cimple::Instance_Map<Class>& map, bool keysOnly);
};

// ---- the static associations ---------------------------------------------------------------

class KRNA_AvailableDiagService_Provider final
    : public KRNADiagBuiltProvider<KRNA_AvailableDiagService_Provider, cimple::KRNA_AvailableDiagService> {
public:
    static constexpr const char* TRACE_PREFIX = "In ";
    static void krnaBuildMap(cimple::Instance_Map<Class>& map, bool keysOnly = false);
};

class KRNA_DiagLogForMSE_Provider final
    : public KRNADiagBuiltProvider<KRNA_DiagLogForMSE_Provider, cimple::KRNA_DiagLogForMSE> {
public:
    static constexpr const char* TRACE_PREFIX = nullptr;
    static void krnaBuildMap(cimple::Instance_Map<Class>& map, bool keysOnly = false);
};

class KRNA_DiagLogForService_Provider final
    : public KRNADiagBuiltProvider<KRNA_DiagLogForService_Provider, cimple::KRNA_DiagLogForService> {
public:
    static constexpr const char* TRACE_PREFIX = nullptr;
    static void krnaBuildMap(cimple::Instance_Map<Class>& map, bool keysOnly = false);
};

class KRNA_ElementCapabilities_Provider final
    : public KRNADiagBuiltProvider<KRNA_ElementCapabilities_Provider, cimple::KRNA_ElementCapabilities> {
public:
    static constexpr const char* TRACE_PREFIX = nullptr;
    static const int GET_MISS = cimple::GET_INSTANCE_UNSUPPORTED;
    static void krnaBuildMap(cimple::Instance_Map<Class>& map, bool keysOnly = false);
};

// ---- the runs' jobs, records and associations ----------------------------------------------

class KRNA_DiagConcreteJob_Provider final
    : public KRNADiagStoredProvider<KRNA_DiagConcreteJob_Provider, cimple::KRNA_DiagConcreteJob> {
public:
    static constexpr const char* TRACE_PREFIX = "In ";
    static cimple::String jobID(const Class* job) { return job->InstanceID.value; }

    // A new job "KRNA_<count>" started now, kept five minutes; owned by the
    // map. Null when it cannot be made.
    static cimple::KRNA_DiagConcreteJob* addNewConcreteJob();
    // Removes the first job older than its time before removal and answers
    // its id; empty when none has expired.
    static cimple::String deleteExpiredInstance();
    using KRNADiagStoredProvider::deleteExpiredInstance;

    // The job counter; wraps to 0 at 0x7FFFFFFE.
    static int count;
};

class KRNA_DiagSettingRecord_Provider final
    : public KRNADiagStoredProvider<KRNA_DiagSettingRecord_Provider, cimple::KRNA_DiagSettingRecord> {
public:
    static constexpr const char* TRACE_PREFIX = "";
    static cimple::String jobID(const Class* record) { return record->InstanceID.value; }
    static cimple::KRNA_DiagSettingRecord* addNewSettingRecord(cimple::String jobID, cimple::String serviceName,
                                                               cimple::String deviceID);
};

class KRNA_DiagServiceRecord_Provider final
    : public KRNADiagStoredProvider<KRNA_DiagServiceRecord_Provider, cimple::KRNA_DiagServiceRecord> {
public:
    static constexpr const char* TRACE_PREFIX = "";
    static cimple::String jobID(const Class* record) { return record->InstanceID.value; }
    static cimple::KRNA_DiagServiceRecord* addNewServiceRecord(cimple::String jobID, cimple::String serviceName,
                                                               cimple::String deviceID);
    // Its enumeration writes lines of its own; its sweep none.
    static void traceDelete() {}
    int enum_instances(const Class* model, cimple::Enum_Instances_Handler<Class>* handler);
};

class KRNA_OwningJobElement_Provider final
    : public KRNADiagStoredProvider<KRNA_OwningJobElement_Provider, cimple::KRNA_OwningJobElement> {
public:
    static constexpr const char* TRACE_PREFIX = "In ";
    static cimple::String jobID(const Class* association);
    static void addNewAssoc(cimple::KRNA_DiagConcreteJob* job, cimple::KRNA_DiagService* service);
};

class KRNA_AffectedJobElement_Provider final
    : public KRNADiagStoredProvider<KRNA_AffectedJobElement_Provider, cimple::KRNA_AffectedJobElement> {
public:
    static constexpr const char* TRACE_PREFIX = "In ";
    static constexpr const char* ENUM_OPERATION = "enum_instance";
    static cimple::String jobID(const Class* association);
    static void addNewAssoc(cimple::KRNA_DiagConcreteJob* job, cimple::KRNA_Device* device);
};

class KRNA_LogManagesRecord_Provider final
    : public KRNADiagStoredProvider<KRNA_LogManagesRecord_Provider, cimple::KRNA_LogManagesRecord> {
public:
    static constexpr const char* TRACE_PREFIX = "";
    static cimple::String jobID(const Class* association);
    static void addNewAssoc(cimple::KRNA_DiagServiceRecord* record, cimple::KRNA_DiagLog* log);
};

} // namespace corvanecimple

#endif
