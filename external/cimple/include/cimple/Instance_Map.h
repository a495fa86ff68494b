// Instances of one class kept in insertion order and found by their keys
// through a hash of the key values, so filling a map of n instances costs n
// lookups of about one comparison each. The map owns its instances: a refused
// insertion and the map's own end destroy them. The keys of an instance the
// map holds must not change (its other properties may).
#ifndef CIMPLE_INSTANCE_MAP_H
#define CIMPLE_INSTANCE_MAP_H

#include <cstddef>
#include <unordered_map>
#include <vector>

#include "Instance.h"

namespace cimple {

class CIMPLE_EXPORT Instance_Map_Base {
public:
    explicit Instance_Map_Base(const Meta_Class* mc) : _mc(mc) {}
    ~Instance_Map_Base();
    Instance_Map_Base(const Instance_Map_Base&) = delete;
    Instance_Map_Base& operator=(const Instance_Map_Base&) = delete;

    size_t size() const { return _entries.size(); }
    Instance* get(size_t pos) const { return pos < _entries.size() ? _entries[pos] : 0; }

    // Takes the instance: 0 when it was added at the end; -1 when it is null,
    // of another class, or has the keys of an instance already held (the map
    // keeps the one it holds and destroys the new one).
    int insert(Instance* instance);
    // The position of the instance with the keys of `model`, or -1.
    long find(const Instance* model) const;
    // The instance with the keys of `model`, still owned by the map, or null.
    Instance* lookup(const Instance* model) const;
    // Removes the instance at `pos` and destroys it.
    void remove(size_t pos);
    // Removes the instance at `pos` and hands it to the caller.
    Instance* take(size_t pos);
    // Removes every instance and hands them to the caller, in order.
    std::vector<Instance*> take_all();
    // Destroys every instance.
    void clear();

private:
    const Meta_Class* _mc;
    std::vector<Instance*> _entries;
    // The positions of the entries by the hash of their keys.
    std::unordered_multimap<size_t, size_t> _index;
};

template <class T>
class Instance_Map : public Instance_Map_Base {
public:
    Instance_Map() : Instance_Map_Base(&T::static_meta_class) {}

    T* operator[](size_t pos) const { return static_cast<T*>(get(pos)); }
    int insert(T* instance) { return Instance_Map_Base::insert(instance); }
    long find(const T* model) const { return Instance_Map_Base::find(model); }
    T* lookup(const T* model) const { return static_cast<T*>(Instance_Map_Base::lookup(model)); }
    T* take(size_t pos) { return static_cast<T*>(Instance_Map_Base::take(pos)); }
    std::vector<T*> take_all()
    {
        std::vector<T*> out;
        for (Instance* instance : Instance_Map_Base::take_all())
            out.push_back(static_cast<T*>(instance));
        return out;
    }
};

} // namespace cimple

#endif
