// Instances of the test classes with their keys set, made alike by the test
// module and the framework's tests.
#ifndef CIMPLE_TEST_INSTANCES_H
#define CIMPLE_TEST_INSTANCES_H

#include "TestClasses.h"

namespace cimple {

inline TEST_Widget* test_widget(const char* name)
{
    TEST_Widget* w = TEST_Widget::create(false);
    w->CreationClassName.set("TEST_Widget");
    w->Name.set(name);
    return w;
}

inline TEST_Gadget* test_gadget(const char* name, uint32 slot)
{
    TEST_Gadget* g = TEST_Gadget::create(false);
    g->CreationClassName.set("TEST_Gadget");
    g->Name.set(name);
    g->Slot.set(slot);
    g->Weight.set(slot * 1.5);
    return g;
}

} // namespace cimple

#endif
