// Requests of a provider to the CIM server (up-calls). They are made with the
// context of the request being served, so they work only inside a provider
// operation called by the adapter; elsewhere they fail.
#ifndef CIMPLE_CIMOM_H
#define CIMPLE_CIMOM_H

#include <vector>

#include "Instance.h"

namespace cimple {

// The instances an up-call returned, walked in order; owns them.
class CIMPLE_EXPORT Instance_Enum {
public:
    Instance_Enum() : _pos(0) {}
    ~Instance_Enum();
    Instance_Enum(const Instance_Enum&) = delete;
    Instance_Enum& operator=(const Instance_Enum&) = delete;

    bool more() const { return _pos < _items.size(); }
    void next()
    {
        if (_pos < _items.size())
            _pos++;
    }
    // The current instance, still owned by the enumeration; null past the end.
    Instance* operator()() const { return more() ? _items[_pos] : 0; }
    size_t size() const { return _items.size(); }

    // Used by the adapter: adds an instance (taken over), empties the list.
    void append(Instance* instance);
    void clear();

private:
    std::vector<Instance*> _items;
    size_t _pos;
};

namespace cimom {

// The instances of the model's class (and subclasses) in `name_space`, each as
// an instance of the module's own class of that name when it derives from the
// model's class, else of the model's class with the properties it declares.
// 0, or -1 when the CIM server refused or no request is being served.
CIMPLE_EXPORT int enum_instances(const char* name_space, const Instance* model, Instance_Enum& enumerator);

} // namespace cimom
} // namespace cimple

#endif
