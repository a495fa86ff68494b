// Owns one instance and destroys it when it goes out of scope.
#ifndef CIMPLE_REF_H
#define CIMPLE_REF_H

#include "Instance.h"

namespace cimple {

template <class T>
class Ref {
public:
    Ref() : _p(0) {}
    explicit Ref(T* p) : _p(p) {}
    ~Ref() { destroy(_p); }
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    Ref(Ref&& o) : _p(o._p) { o._p = 0; }
    Ref& operator=(Ref&& o)
    {
        if (this != &o)
            reset(o.steal());
        return *this;
    }

    T* operator->() const { return _p; }
    T& operator*() const { return *_p; }
    T* ptr() const { return _p; }
    explicit operator bool() const { return _p != 0; }

    // Gives up the instance without destroying it.
    T* steal()
    {
        T* p = _p;
        _p = 0;
        return p;
    }
    void reset(T* p = 0)
    {
        if (p != _p)
            destroy(_p);
        _p = p;
    }

private:
    T* _p;
};

} // namespace cimple

#endif
