// "Test_Module": providers of the test classes (TestClasses.mof), loaded by
// the tests through the test broker and CMPI alone. The providers' answers
// follow from the requests, and the method TEST_Widget.Stats reports the
// module's counters, so that the tests need nothing exported but the
// factories and cimple_module.
#include <chrono>
#include <map>
#include <string>
#include <thread>

#include "TestInstances.h"

CIMPLE_MODULE(Test_Module);

namespace cimple {

namespace {

// Named counters, kept as long as the module is loaded.
Atomic_Counter widgetLoads, widgetUnloads, widgetActive, widgetOverlaps;
Atomic_Counter linkLoads, linkUnloads;
Atomic_Counter alertLoads, alertUnloads;

const std::map<std::string, Atomic_Counter*>& counters()
{
    static const std::map<std::string, Atomic_Counter*> all = {
        {"Widget.loads", &widgetLoads}, {"Widget.unloads", &widgetUnloads}, {"Widget.overlaps", &widgetOverlaps},
        {"Link.loads", &linkLoads},     {"Link.unloads", &linkUnloads},     {"Alert.loads", &alertLoads},
        {"Alert.unloads", &alertUnloads}};
    return all;
}

// Notes requests that run inside one provider at the same time.
class Overlap_Probe {
public:
    Overlap_Probe()
    {
        if (widgetActive.inc() > 1)
            widgetOverlaps.inc();
        // Long enough for a second request to arrive if nothing keeps it out.
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    ~Overlap_Probe() { widgetActive.dec(); }
};

TEST_Widget* makeWidget(int i)
{
    TEST_Widget* w = test_widget(i == 0 ? "w1" : i == 1 ? "quote\"back\\slash" : "w3");
    switch (i) {
    case 0: {
        w->Caption.set("first widget");
        Array_uint16 status;
        status.append(2);
        w->Status.set(status);
        w->Count.set(7);
        w->Offset.set(-5);
        w->Enabled.set(true);
        w->Ratio.set(0.5f);
        w->Letter.set('A');
        Datetime installed;
        installed.set_timestamp(2009, 3, 14, 15, 9, 26, 535897, 60);
        w->Installed.set(installed);
        Array_String labels;
        labels.append("alpha");
        labels.append("beta");
        w->Labels.set(labels);
        Datetime five;
        five.set_interval(0, 0, 5, 0, 0);
        Array_Datetime times;
        times.append(five);
        w->Times.set(times);
        Array_uint8 bytes;
        bytes.append(1);
        bytes.append(255);
        w->Bytes.set(bytes);
        break;
    }
    case 1:
        // Every other property keeps its zero value.
        break;
    default:
        w->Caption.clear();
        w->Labels.clear();
        break;
    }
    return w;
}

} // namespace

// ---- TEST_Widget: three widgets, gets of its own, a method per need ---------------

class TEST_Widget_Provider {
public:
    typedef TEST_Widget Class;

    int load()
    {
        widgetLoads.inc();
        return 0;
    }
    int unload()
    {
        widgetUnloads.inc();
        return 0;
    }

    int get_instance(const TEST_Widget* model, TEST_Widget*& instance)
    {
        Overlap_Probe probe;
        for (int i = 0; i < 3; i++) {
            Ref<TEST_Widget> w(makeWidget(i));
            if (key_eq(w.ptr(), model)) {
                instance = w.steal();
                return GET_INSTANCE_OK;
            }
        }
        return GET_INSTANCE_NOT_FOUND;
    }

    int enum_instances(const TEST_Widget*, Enum_Instances_Handler<TEST_Widget>* handler)
    {
        Overlap_Probe probe;
        for (int i = 0; i < 3; i++)
            handler->handle(makeWidget(i));
        return ENUM_INSTANCES_OK;
    }

    // Answers the status its Offset names, so that every code can be driven.
    int create_instance(TEST_Widget* instance) { return static_cast<int>(instance->Offset.value); }
    int delete_instance(const TEST_Widget*) { return DELETE_INSTANCE_UNSUPPORTED; }
    int modify_instance(const TEST_Widget*, const TEST_Widget*) { return MODIFY_INSTANCE_UNSUPPORTED; }

    // Note gets Times exclamation marks, Made a copy of Target one slot on,
    // Codes {Times, 2 Times}, the return value 10 Times. On the widget "fail"
    // it fails, on "unsupported" it is not supported.
    int Poke(const TEST_Widget* self, const Property<uint16>& Times, const TEST_Gadget* Target,
             Property<String>& Note, TEST_Gadget*& Made, Property<Array_uint16>& Codes,
             Property<uint32>& return_value)
    {
        if (self->Name.value == "fail")
            return INVOKE_METHOD_FAILED;
        if (self->Name.value == "unsupported")
            return INVOKE_METHOD_UNSUPPORTED;
        uint16 times = Times.null ? 0 : Times.value;
        String note = Note.value;
        for (uint16 i = 0; i < times; i++)
            note.append('!');
        Note.set(note);
        if (Target) {
            Made = Target->clone();
            Made->Slot.set(Target->Slot.value + 1);
        }
        Array_uint16 codes;
        codes.append(times);
        codes.append(static_cast<uint16>(times * 2));
        Codes.set(codes);
        return_value.set(times * 10u);
        return INVOKE_METHOD_OK;
    }

    int Stats(const TEST_Widget*, const Property<String>& Counter, Property<uint64>& return_value)
    {
        auto it = counters().find(Counter.value.str());
        if (it == counters().end())
            return INVOKE_METHOD_FAILED;
        return_value.set(static_cast<uint64>(it->second->get()));
        return INVOKE_METHOD_OK;
    }

    // The names of the hosts the CIM server knows in Space (an up-call);
    // returns 1 when the server refused.
    int Lookup(const TEST_Widget*, const Property<String>& Space, Property<Array_String>& Names,
               Property<uint32>& return_value)
    {
        Ref<TEST_Host> model(TEST_Host::create(true));
        Instance_Enum found;
        if (cimom::enum_instances(Space.value.c_str(), model.ptr(), found) != 0) {
            return_value.set(1);
            return INVOKE_METHOD_OK;
        }
        Array_String names;
        for (; found.more(); found.next()) {
            const TEST_Host* host = cast<TEST_Host>(found());
            if (host)
                names.append(host->Name.value);
        }
        Names.set(names);
        return_value.set(0);
        return INVOKE_METHOD_OK;
    }
};

CIMPLE_INSTANCE_PROVIDER(TEST_Widget_Provider);

// ---- TEST_Gadget: gets served from its enumeration ------------------------------------

class TEST_Gadget_Provider {
public:
    typedef TEST_Gadget Class;

    int load() { return 0; }
    int unload() { return 0; }
    int get_instance(const TEST_Gadget*, TEST_Gadget*&) { return GET_INSTANCE_UNSUPPORTED; }
    int enum_instances(const TEST_Gadget*, Enum_Instances_Handler<TEST_Gadget>* handler)
    {
        handler->handle(test_gadget("g1", 1));
        handler->handle(test_gadget("g2", 2));
        return ENUM_INSTANCES_OK;
    }
    int create_instance(TEST_Gadget*) { return CREATE_INSTANCE_UNSUPPORTED; }
    int delete_instance(const TEST_Gadget*) { return DELETE_INSTANCE_UNSUPPORTED; }
    int modify_instance(const TEST_Gadget*, const TEST_Gadget*) { return MODIFY_INSTANCE_UNSUPPORTED; }
};

CIMPLE_INSTANCE_PROVIDER(TEST_Gadget_Provider);

// ---- TEST_Link: w1-g1, w1-g2, w2-g1; traversals served by the framework ---------------

class TEST_Link_Provider {
public:
    typedef TEST_Link Class;

    int load()
    {
        linkLoads.inc();
        return 0;
    }
    int unload()
    {
        linkUnloads.inc();
        return 0;
    }

    static void build(Instance_Map<TEST_Link>& map)
    {
        static const struct {
            int widget;
            const char* gadget;
            uint32 slot;
        } pairs[] = {{0, "g1", 1}, {0, "g2", 2}, {1, "g1", 1}, {0, "g1", 1}};
        uint16 weight = 1;
        // The last pair repeats the first: the map refuses it.
        for (const auto& p : pairs) {
            TEST_Link* link = TEST_Link::create(false);
            link->Owner = makeWidget(p.widget);
            link->Part = test_gadget(p.gadget, p.slot);
            link->Weight.set(weight++);
            map.insert(link);
        }
    }

    int get_instance(const TEST_Link* model, TEST_Link*& instance)
    {
        Instance_Map<TEST_Link> map;
        build(map);
        TEST_Link* found = map.lookup(model);
        if (!found)
            return GET_INSTANCE_NOT_FOUND;
        instance = found->clone();
        return GET_INSTANCE_OK;
    }

    int enum_instances(const TEST_Link*, Enum_Instances_Handler<TEST_Link>* handler)
    {
        Instance_Map<TEST_Link> map;
        build(map);
        for (size_t i = 0; i < map.size(); i++)
            handler->handle(map[i]->clone());
        return ENUM_INSTANCES_OK;
    }

    int create_instance(TEST_Link*) { return CREATE_INSTANCE_UNSUPPORTED; }
    int delete_instance(const TEST_Link*) { return DELETE_INSTANCE_UNSUPPORTED; }
    int modify_instance(const TEST_Link*, const TEST_Link*) { return MODIFY_INSTANCE_UNSUPPORTED; }
    int enum_associator_names(const Instance*, const String&, const String&, const String&,
                              Enum_Associator_Names_Handler<Instance>*)
    {
        return ENUM_ASSOCIATOR_NAMES_UNSUPPORTED;
    }
    int enum_references(const Instance*, const TEST_Link*, const String&, Enum_References_Handler<TEST_Link>*)
    {
        return ENUM_REFERENCES_UNSUPPORTED;
    }
    int enum_associators(const Instance*, const String&, const String&, const String&,
                         Enum_Associators_Handler<Instance>*)
    {
        return ENUM_ASSOCIATORS_UNSUPPORTED;
    }
};

CIMPLE_ASSOCIATION_PROVIDER(TEST_Link_Provider);

// ---- TEST_Alert: three alerts from a thread of its own when enabled --------------------

class TEST_Alert_Provider {
public:
    typedef TEST_Alert Class;

    int load()
    {
        alertLoads.inc();
        return 0;
    }
    int unload()
    {
        stop();
        alertUnloads.inc();
        return 0;
    }

    int enable_indications(Indication_Handler<TEST_Alert>* handler)
    {
        stop();
        _handler = handler;
        Thread::create_joinable(_thread, deliver, _handler);
        return ENABLE_INDICATIONS_OK;
    }

    int disable_indications()
    {
        stop();
        return DISABLE_INDICATIONS_OK;
    }

private:
    static void* deliver(void* arg)
    {
        Indication_Handler<TEST_Alert>* handler = static_cast<Indication_Handler<TEST_Alert>*>(arg);
        for (uint32 i = 1; i <= 3; i++) {
            TEST_Alert* alert = TEST_Alert::create(false);
            alert->Message.set("alert");
            alert->Sequence.set(i);
            handler->handle(alert);
        }
        // A call without an indication delivers nothing.
        handler->handle(0);
        return 0;
    }

    void stop()
    {
        void* value;
        Thread::join(_thread, value);
        delete _handler;
        _handler = 0;
    }

    Indication_Handler<TEST_Alert>* _handler = 0;
    Thread _thread;
};

CIMPLE_INDICATION_PROVIDER(TEST_Alert_Provider);

} // namespace cimple
