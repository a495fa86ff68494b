// Providers: their status codes, the operation codes by which the CMPI
// adapter reaches them, the dispatcher of each provider kind, and the
// registration of a module and its providers.
//
// A provider is a class named after its CIM class with "_Provider" appended,
// with `typedef <CIM class> Class;` and the operations of its kind:
//
//   every kind       int load(); int unload();
//                    one member function per method of the class (see below)
//   instance         int get_instance(const Class* model, Class*& instance);
//                    int enum_instances(const Class* model, Enum_Instances_Handler<Class>* handler);
//                    int create_instance(Class* instance);
//                    int delete_instance(const Class* instance);
//                    int modify_instance(const Class* model, const Class* instance);
//   association      the instance operations, and
//                    int enum_associator_names(const Instance* instance, const String& result_class,
//                        const String& role, const String& result_role,
//                        Enum_Associator_Names_Handler<Instance>* handler);
//                    int enum_associators(same, Enum_Associators_Handler<Instance>* handler);
//                    int enum_references(const Instance* instance, const Class* model, const String& role,
//                        Enum_References_Handler<Class>* handler);
//   indication       int enable_indications(Indication_Handler<Class>* handler);  (owns the handler)
//                    int disable_indications();
//
// A method M of the class with parameters P1..Pn and return type R is
//   int M(const Class* self, <P1>, ..., <Pn>, Property<R>& return_value);
// where an in parameter is `const Property<T>&` (a reference: `const C*`) and
// an out or in-out parameter `Property<T>&` (a reference: `C*&`, which the
// adapter destroys after the call).
//
// A module registers itself once and each provider in its own unit, inside
// the provider's namespace:
//   CIMPLE_MODULE(KRNA_Module);
//   CIMPLE_INSTANCE_PROVIDER(KRNA_StorageVolume_Provider);
#ifndef CIMPLE_PROVIDER_H
#define CIMPLE_PROVIDER_H

#include <cmpift.h>

#include "Handler.h"
#include "Instance.h"
#include "String.h"

namespace cimple {

// ---- status codes -----------------------------------------------------------

enum {
    LOAD_OK = 0,
    UNLOAD_OK = 0,
    TIMER_CANCEL = 50,
    GET_INSTANCE_OK = 0,
    GET_INSTANCE_NOT_FOUND = 60,
    GET_INSTANCE_UNSUPPORTED = 61,
    ENUM_INSTANCES_OK = 0,
    ENUM_INSTANCES_FAILED = -1,
    CREATE_INSTANCE_OK = 0,
    CREATE_INSTANCE_UNSUPPORTED = 81,
    DELETE_INSTANCE_OK = 0,
    DELETE_INSTANCE_UNSUPPORTED = 91,
    MODIFY_INSTANCE_OK = 0,
    MODIFY_INSTANCE_UNSUPPORTED = 101,
    ENUM_ASSOCIATOR_NAMES_OK = 0,
    ENUM_ASSOCIATOR_NAMES_UNSUPPORTED = 111,
    ENUM_REFERENCES_OK = 0,
    ENUM_REFERENCES_UNSUPPORTED = 121,
    INVOKE_METHOD_OK = 0,
    INVOKE_METHOD_FAILED = 130,
    INVOKE_METHOD_UNSUPPORTED = 131,
    ENUM_ASSOCIATORS_OK = 0,
    ENUM_ASSOCIATORS_UNSUPPORTED = 171,
    ENABLE_INDICATIONS_OK = 0,
    DISABLE_INDICATIONS_OK = 0
};

// ---- operation codes ----------------------------------------------------------

enum Operation {
    OPERATION_GET_META_CLASS = 0,         // a0: const Meta_Class** out
    OPERATION_CREATE_PROVIDER = 1,        // a0: void** out
    OPERATION_DESTROY_PROVIDER = 2,       // a0: provider
    OPERATION_LOAD = 3,                   // a0: provider
    OPERATION_UNLOAD = 4,                 // a0: provider
    OPERATION_GET_INSTANCE = 5,           // a0: provider, a1: model, a2: Instance** out
    OPERATION_ENUM_INSTANCES = 6,         // a0: provider, a1: model, a2: const Handler_Init*
    OPERATION_CREATE_INSTANCE = 7,        // a0: provider, a1: instance
    OPERATION_DELETE_INSTANCE = 8,        // a0: provider, a1: instance
    OPERATION_MODIFY_INSTANCE = 9,        // a0: provider, a1: model, a2: instance
    OPERATION_INVOKE_METHOD = 10,         // a0: provider, a1: self, a2: the method's parameters
    OPERATION_ENABLE_INDICATIONS = 11,    // a0: provider, a1: const Handler_Init*
    OPERATION_DISABLE_INDICATIONS = 12,   // a0: provider
    OPERATION_GET_REPOSITORY = 13,        // a0: const Meta_Repository** out
    OPERATION_ENUM_ASSOCIATOR_NAMES = 14, // a0: provider, a1: instance, a2-a4: const String* result class,
                                          //     role, result role, a5: const Handler_Init*
    OPERATION_ENUM_REFERENCES = 15,       // a0: provider, a1: instance, a2: model, a3: const String* role,
                                          //     a4: const Handler_Init*
    OPERATION_ENUM_ASSOCIATORS = 16       // as 14
};

struct Registration;

// The dispatcher of one provider: every other code answers -1.
typedef int (*Provider_Proc)(const Registration* registration, int operation, void* a0, void* a1, void* a2,
                             void* a3, void* a4, void* a5, void* a6, void* a7);

// ---- dispatchers -------------------------------------------------------------

template <class PROVIDER>
struct Provider_Dispatch {
    typedef typename PROVIDER::Class CLASS;

    static PROVIDER* provider(void* p) { return static_cast<PROVIDER*>(p); }
    static const Handler_Init& init(void* p) { return *static_cast<const Handler_Init*>(p); }
    static const String& str(void* p) { return *static_cast<const String*>(p); }

    // The operations every kind shares.
    static int common(int operation, void* a0, void* a1, void* a2)
    {
        switch (operation) {
        case OPERATION_GET_META_CLASS:
            *static_cast<const Meta_Class**>(a0) = &CLASS::static_meta_class;
            return 0;
        case OPERATION_CREATE_PROVIDER: {
            PROVIDER* p = new PROVIDER;
            *static_cast<void**>(a0) = p;
            return p ? 0 : -1;
        }
        case OPERATION_DESTROY_PROVIDER:
            delete provider(a0);
            return 0;
        case OPERATION_LOAD:
            return provider(a0)->load();
        case OPERATION_UNLOAD:
            return provider(a0)->unload();
        case OPERATION_INVOKE_METHOD:
            return CLASS::template invoke_method<PROVIDER>(provider(a0), static_cast<const CLASS*>(a1),
                                                           static_cast<Instance*>(a2));
        case OPERATION_GET_REPOSITORY:
            *static_cast<const Meta_Repository**>(a0) = CLASS::static_meta_class.meta_repository;
            return 0;
        default:
            return -1;
        }
    }

    static int instance(int operation, void* a0, void* a1, void* a2)
    {
        switch (operation) {
        case OPERATION_GET_INSTANCE: {
            CLASS* found = 0;
            int status = provider(a0)->get_instance(static_cast<const CLASS*>(a1), found);
            *static_cast<Instance**>(a2) = found;
            return status;
        }
        case OPERATION_ENUM_INSTANCES: {
            Enum_Instances_Handler<CLASS> handler(init(a2));
            return provider(a0)->enum_instances(static_cast<const CLASS*>(a1), &handler);
        }
        case OPERATION_CREATE_INSTANCE:
            return provider(a0)->create_instance(static_cast<CLASS*>(a1));
        case OPERATION_DELETE_INSTANCE:
            return provider(a0)->delete_instance(static_cast<const CLASS*>(a1));
        case OPERATION_MODIFY_INSTANCE:
            return provider(a0)->modify_instance(static_cast<const CLASS*>(a1), static_cast<const CLASS*>(a2));
        default:
            return common(operation, a0, a1, a2);
        }
    }

    static int association(int operation, void* a0, void* a1, void* a2, void* a3, void* a4, void* a5)
    {
        switch (operation) {
        case OPERATION_ENUM_ASSOCIATOR_NAMES: {
            Enum_Associator_Names_Handler<Instance> handler(init(a5));
            return provider(a0)->enum_associator_names(static_cast<const Instance*>(a1), str(a2), str(a3), str(a4),
                                                       &handler);
        }
        case OPERATION_ENUM_ASSOCIATORS: {
            Enum_Associators_Handler<Instance> handler(init(a5));
            return provider(a0)->enum_associators(static_cast<const Instance*>(a1), str(a2), str(a3), str(a4),
                                                  &handler);
        }
        case OPERATION_ENUM_REFERENCES: {
            Enum_References_Handler<CLASS> handler(init(a4));
            return provider(a0)->enum_references(static_cast<const Instance*>(a1), static_cast<const CLASS*>(a2),
                                                 str(a3), &handler);
        }
        default:
            return instance(operation, a0, a1, a2);
        }
    }

    static int indication(int operation, void* a0, void* a1, void* a2)
    {
        switch (operation) {
        case OPERATION_ENABLE_INDICATIONS: {
            // The provider owns the handler from here on.
            Indication_Handler<CLASS>* handler = new Indication_Handler<CLASS>(init(a1));
            if (!handler) {
                if (init(a1).release)
                    init(a1).release(init(a1).data);
                return -1;
            }
            return provider(a0)->enable_indications(handler);
        }
        case OPERATION_DISABLE_INDICATIONS:
            return provider(a0)->disable_indications();
        default:
            return common(operation, a0, a1, a2);
        }
    }
};

template <class PROVIDER>
int Instance_Provider_Proc(const Registration*, int operation, void* a0, void* a1, void* a2, void*, void*, void*,
                           void*, void*)
{
    return Provider_Dispatch<PROVIDER>::instance(operation, a0, a1, a2);
}

template <class PROVIDER>
int Association_Provider_Proc(const Registration*, int operation, void* a0, void* a1, void* a2, void* a3, void* a4,
                              void* a5, void*, void*)
{
    return Provider_Dispatch<PROVIDER>::association(operation, a0, a1, a2, a3, a4, a5);
}

template <class PROVIDER>
int Indication_Provider_Proc(const Registration*, int operation, void* a0, void* a1, void* a2, void*, void*, void*,
                             void*, void*)
{
    return Provider_Dispatch<PROVIDER>::indication(operation, a0, a1, a2);
}

// ---- registration -------------------------------------------------------------

struct Module;

struct Registration {
    enum Kind { INSTANCE = 1, ASSOCIATION = 2, INDICATION = 3 };

    const char* provider_name;
    Provider_Proc proc;
    Kind kind;
    Registration* next;
    // The CMPI adapter serving this provider while any of its MIs is in use.
    void* adapter;

    Registration(const char* name, Provider_Proc p, Kind k, Module& module);
};

// The providers of one module; each module defines one (CIMPLE_MODULE).
struct Module {
    const char* name;
    Registration* registrations;
};

inline Registration::Registration(const char* name, Provider_Proc p, Kind k, Module& module)
    : provider_name(name), proc(p), kind(k), next(0), adapter(0)
{
    // Kept in the order of registration.
    Registration** end = &module.registrations;
    while (*end)
        end = &(*end)->next;
    *end = this;
}

// The record of the module being built; private to each module.
extern Module cimple_module_record;

// ---- the CMPI adapter's factories (one provider object per registration) ------

CIMPLE_EXPORT CMPIInstanceMI* cmpi_create_instance_mi(Registration* registration, const CMPIBroker* broker,
                                                      const CMPIContext* context, CMPIStatus* status);
CIMPLE_EXPORT CMPIMethodMI* cmpi_create_method_mi(Registration* registration, const CMPIBroker* broker,
                                                  const CMPIContext* context, CMPIStatus* status);
CIMPLE_EXPORT CMPIAssociationMI* cmpi_create_association_mi(Registration* registration, const CMPIBroker* broker,
                                                            const CMPIContext* context, CMPIStatus* status);
CIMPLE_EXPORT CMPIIndicationMI* cmpi_create_indication_mi(Registration* registration, const CMPIBroker* broker,
                                                          const CMPIContext* context, CMPIStatus* status);

} // namespace cimple

// The module: its record and the exported cimple_module() that names it.
#define CIMPLE_MODULE(MODULE)                                      \
    namespace cimple {                                             \
    Module cimple_module_record = {#MODULE, 0};                    \
    }                                                              \
    extern "C" CIMPLE_EXPORT ::cimple::Module* cimple_module()       \
    {                                                              \
        return &::cimple::cimple_module_record;                      \
    }                                                              \
    static_assert(true, "")

#define CIMPLE_REGISTRATION_(PROVIDER, PROC, KIND)                                       \
    static ::cimple::Registration cimple_registration_##PROVIDER(#PROVIDER, PROC<PROVIDER>, \
                                                                ::cimple::Registration::KIND, \
                                                                ::cimple::cimple_module_record)

#define CIMPLE_FACTORY_(PROVIDER, MI, FUNCTION)                                                          \
    extern "C" CIMPLE_EXPORT CMPI##MI* PROVIDER##_Create_##MI(const CMPIBroker* mb, const CMPIContext* ctx, \
                                                              CMPIStatus* rc)                            \
    {                                                                                                    \
        return ::cimple::FUNCTION(&cimple_registration_##PROVIDER, mb, ctx, rc);                           \
    }

// An instance provider: exports <PROVIDER>_Create_InstanceMI and _MethodMI.
#define CIMPLE_INSTANCE_PROVIDER(PROVIDER)                                               \
    CIMPLE_REGISTRATION_(PROVIDER, ::cimple::Instance_Provider_Proc, INSTANCE);            \
    CIMPLE_FACTORY_(PROVIDER, InstanceMI, cmpi_create_instance_mi)                       \
    CIMPLE_FACTORY_(PROVIDER, MethodMI, cmpi_create_method_mi)                           \
    static_assert(true, "")

// An association provider: also <PROVIDER>_Create_AssociationMI.
#define CIMPLE_ASSOCIATION_PROVIDER(PROVIDER)                                            \
    CIMPLE_REGISTRATION_(PROVIDER, ::cimple::Association_Provider_Proc, ASSOCIATION);      \
    CIMPLE_FACTORY_(PROVIDER, InstanceMI, cmpi_create_instance_mi)                       \
    CIMPLE_FACTORY_(PROVIDER, MethodMI, cmpi_create_method_mi)                           \
    CIMPLE_FACTORY_(PROVIDER, AssociationMI, cmpi_create_association_mi)                 \
    static_assert(true, "")

// An indication provider: <PROVIDER>_Create_IndicationMI and _MethodMI.
#define CIMPLE_INDICATION_PROVIDER(PROVIDER)                                             \
    CIMPLE_REGISTRATION_(PROVIDER, ::cimple::Indication_Provider_Proc, INDICATION);        \
    CIMPLE_FACTORY_(PROVIDER, IndicationMI, cmpi_create_indication_mi)                   \
    CIMPLE_FACTORY_(PROVIDER, MethodMI, cmpi_create_method_mi)                           \
    static_assert(true, "")

#endif
