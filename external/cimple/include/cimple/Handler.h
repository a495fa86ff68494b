// Handlers through which a provider hands instances to the CIM server: the
// results of an enumeration or association traversal, and indications. A
// handler takes over every instance given to it. The adapter makes them; a
// provider only calls handle(), and deletes an Indication_Handler it was given
// once it no longer delivers.
#ifndef CIMPLE_HANDLER_H
#define CIMPLE_HANDLER_H

#include "Instance.h"

namespace cimple {

// What a handler forwards to: a delivery function with its data, and a
// release function called when the handler ends.
struct Handler_Init {
    bool (*proc)(Instance* instance, void* data);
    void* data;
    void (*release)(void* data);
};

class CIMPLE_EXPORT Instance_Handler_Base {
public:
    explicit Instance_Handler_Base(const Handler_Init& init) : _init(init) {}
    ~Instance_Handler_Base();
    Instance_Handler_Base(const Instance_Handler_Base&) = delete;
    Instance_Handler_Base& operator=(const Instance_Handler_Base&) = delete;

protected:
    // Hands the instance on; a call without an instance delivers nothing.
    bool deliver(Instance* instance);

private:
    Handler_Init _init;
};

template <class T>
class Instance_Handler : public Instance_Handler_Base {
public:
    explicit Instance_Handler(const Handler_Init& init) : Instance_Handler_Base(init) {}
    // Takes the instance over; false when it could not be passed on.
    bool handle(T* instance) { return deliver(instance); }
};

template <class T>
using Enum_Instances_Handler = Instance_Handler<T>;
template <class T>
using Enum_References_Handler = Instance_Handler<T>;
template <class T>
using Enum_Associators_Handler = Instance_Handler<T>;
template <class T>
using Enum_Associator_Names_Handler = Instance_Handler<T>;
template <class T>
using Indication_Handler = Instance_Handler<T>;

} // namespace cimple

#endif
