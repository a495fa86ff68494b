// The provider framework without a broker: instances of the generated test
// classes, their meta records, the instance map, datetimes, the time seams and
// threads.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestInstances.h"

using namespace cimple;

namespace {

std::vector<std::string> featureNames(const Meta_Class& mc)
{
    std::vector<std::string> names;
    for (size_t i = 0; i < mc.num_features; i++)
        names.push_back(mc.features[i]->name);
    return names;
}

TEST_Link* link(const char* widgetName, const char* gadgetName, uint32 slot, uint16 weight)
{
    TEST_Link* l = TEST_Link::create(false);
    l->Owner = test_widget(widgetName);
    l->Part = test_gadget(gadgetName, slot);
    l->Weight.set(weight);
    return l;
}

} // namespace

// Inherited features come first, an override keeps its inherited place, and
// a narrowed reference refers to its new class.
TEST(CimpleMeta, FeaturesInClassOrder)
{
    EXPECT_EQ(featureNames(TEST_Gadget::static_meta_class),
              (std::vector<std::string>{"Caption", "CreationClassName", "Name", "Status", "Slot", "Weight"}));
    EXPECT_EQ(featureNames(TEST_SpecialLink::static_meta_class),
              (std::vector<std::string>{"Owner", "Part", "Weight", "Note"}));

    const Meta_Feature* name = find_feature(&TEST_Gadget::static_meta_class, "NAME");
    ASSERT_NE(name, nullptr);
    EXPECT_TRUE(name->flags & CIMPLE_FLAG_KEY);
    EXPECT_FALSE(find_feature(&TEST_Element::static_meta_class, "Name")->flags & CIMPLE_FLAG_KEY);
    EXPECT_EQ(find_feature(&TEST_SpecialLink::static_meta_class, "Part")->meta_class,
              &TEST_BigGadget::static_meta_class);
    EXPECT_EQ(find_feature(&TEST_Widget::static_meta_class, "poke", CIMPLE_FLAG_METHOD)->meta_class,
              &TEST_Widget_Poke_method::static_meta_class);

    EXPECT_TRUE(is_a(&TEST_BigGadget::static_meta_class, "test_element"));
    EXPECT_FALSE(is_a(&TEST_Gadget::static_meta_class, "TEST_BigGadget"));
    EXPECT_TRUE(TEST_SpecialLink::static_meta_class.flags & CIMPLE_FLAG_ASSOCIATION);
    EXPECT_EQ(find_meta_class(&cimple_meta_repository_TestClasses, "test_alert"), &TEST_Alert::static_meta_class);
}

// Without defaults every property is present, zero and not null; with them
// (the table declares none) every property is null. References start null.
TEST(CimpleInstance, CreateZeroOrNull)
{
    for (bool defaults : {false, true}) {
        Ref<TEST_Widget> w(TEST_Widget::create(defaults));
        const struct {
            const char* name;
            uint8 null;
        } nulls[] = {{"Caption", w->Caption.null},   {"CreationClassName", w->CreationClassName.null},
                     {"Status", w->Status.null},     {"Count", w->Count.null},
                     {"Offset", w->Offset.null},     {"Enabled", w->Enabled.null},
                     {"Ratio", w->Ratio.null},       {"Letter", w->Letter.null},
                     {"Installed", w->Installed.null}, {"Labels", w->Labels.null},
                     {"Times", w->Times.null},       {"Bytes", w->Bytes.null}};
        for (const auto& n : nulls)
            EXPECT_EQ(n.null != 0, defaults) << n.name;
        EXPECT_EQ(w->Count.value, 0u);
        EXPECT_EQ(w->Offset.value, 0);
        EXPECT_FALSE(w->Enabled.value);
        EXPECT_EQ(w->Ratio.value, 0.0f);
        EXPECT_EQ(w->Letter.value, 0);
        EXPECT_EQ(w->Caption.value, "");
        EXPECT_EQ(w->Labels.value.size(), 0u);
        EXPECT_TRUE(w->Installed.value == Datetime());
        EXPECT_TRUE(w->Installed.value.is_interval());
        EXPECT_EQ(w->Installed.value.usec(), 0u);
    }
    Ref<TEST_Link> l(TEST_Link::create(false));
    EXPECT_EQ(l->Owner, nullptr);
    EXPECT_EQ(l->Part, nullptr);
    EXPECT_EQ(l->meta_class, &TEST_Link::static_meta_class);
}

// A clone copies every value and the ends of an association, not sharing them.
TEST(CimpleInstance, CloneIsDeep)
{
    Ref<TEST_Widget> w(test_widget("w1"));
    w->Caption.clear();
    w->Offset.set(-9);
    Array_String labels;
    labels.append("x");
    w->Labels.set(labels);
    w->Installed.value.set_timestamp(2020, 2, 29, 23, 59, 59, 1, -300);
    w->_name_space = "root/test";
    Ref<TEST_Widget> c(w->clone());
    EXPECT_TRUE(identical(w.ptr(), c.ptr()));
    c->Labels.value[0] = "y";
    EXPECT_EQ(w->Labels.value[0], "x");
    EXPECT_FALSE(identical(w.ptr(), c.ptr()));

    Ref<TEST_Link> l(link("w1", "g1", 1, 3));
    l->Owner->_name_space = "root/other";
    Ref<TEST_Link> lc(l->clone());
    ASSERT_NE(lc->Owner, nullptr);
    EXPECT_NE(lc->Owner, l->Owner);
    EXPECT_NE(lc->Part, l->Part);
    EXPECT_TRUE(identical(l.ptr(), lc.ptr()));
    EXPECT_EQ(lc->Owner->_name_space, "root/other");
    EXPECT_EQ(clone(nullptr), nullptr);
}

// Keys compare by value; references by the keys of the instances they hold.
TEST(CimpleInstance, KeyEqualityWithReferences)
{
    struct Case {
        const char* what;
        TEST_Link* a;
        Instance* b;
        bool equal;
    } cases[] = {
        {"same ends, other weight", link("w1", "g1", 1, 1), link("w1", "g1", 1, 9), true},
        {"other owner", link("w1", "g1", 1, 1), link("w2", "g1", 1, 1), false},
        {"other slot of the part", link("w1", "g1", 1, 1), link("w1", "g1", 2, 1), false},
        {"a part missing", link("w1", "g1", 1, 1), nullptr, false},
        {"another class", link("w1", "g1", 1, 1), TEST_SpecialLink::create(false), false},
    };
    {
        TEST_Link* missing = link("w1", "g1", 1, 1);
        destroy(missing->Part);
        missing->Part = nullptr;
        cases[3].b = missing;
    }
    for (Case& c : cases) {
        EXPECT_EQ(key_eq(c.a, c.b), c.equal) << c.what;
        EXPECT_EQ(key_eq(c.b, c.a), c.equal) << c.what;
        destroy(c.a);
        destroy(c.b);
    }
    // Non-key properties do not count; key strings compare exactly.
    Ref<TEST_Gadget> a(test_gadget("g", 1)), b(test_gadget("g", 1)), upper(test_gadget("G", 1));
    b->Weight.set(7);
    b->Caption.set("other");
    EXPECT_TRUE(key_eq(a.ptr(), b.ptr()));
    EXPECT_FALSE(key_eq(a.ptr(), upper.ptr()));
}

// Model paths: keys in class order, strings and references quoted with '"'
// and '\' escaped, numbers bare.
TEST(CimpleInstance, ModelPath)
{
    Ref<TEST_Gadget> g(test_gadget("a\"b\\c", 7));
    Ref<TEST_Link> l(link("w1", "g\"1", 2, 1));
    Ref<TEST_Alert> alert(TEST_Alert::create(false));
    Ref<TEST_Link> empty(TEST_Link::create(false));
    struct {
        const Instance* inst;
        const char* path;
    } cases[] = {
        {g.ptr(), R"(TEST_Gadget.CreationClassName="TEST_Gadget",Name="a\"b\\c",Slot=7)"},
        {l.ptr(), R"(TEST_Link.Owner="TEST_Widget.CreationClassName=\"TEST_Widget\",Name=\"w1\"",)"
                  R"(Part="TEST_Gadget.CreationClassName=\"TEST_Gadget\",Name=\"g\\\"1\",Slot=2")"},
        {alert.ptr(), "TEST_Alert"},
        {empty.ptr(), R"(TEST_Link.Owner="",Part="")"},
    };
    for (const auto& c : cases) {
        String path;
        EXPECT_EQ(instance_to_model_path(c.inst, path), 0);
        EXPECT_EQ(path.str(), c.path);
    }
    String path("left");
    EXPECT_EQ(instance_to_model_path(nullptr, path), -1);
    EXPECT_EQ(path, "");
}

// Insertion order, lookup by keys, a duplicate refused and destroyed (the
// leak check sees it go), removal.
TEST(CimpleInstanceMap, KeepsOrderAndRefusesDuplicates)
{
    Instance_Map<TEST_Link> map;
    EXPECT_EQ(map.insert(link("w1", "g1", 1, 1)), 0);
    EXPECT_EQ(map.insert(link("w1", "g2", 2, 2)), 0);
    EXPECT_EQ(map.insert(link("w1", "g1", 1, 3)), -1);
    EXPECT_EQ(map.insert(nullptr), -1);
    EXPECT_EQ(map.insert(static_cast<TEST_Link*>(static_cast<Instance*>(TEST_SpecialLink::create(false)))), -1);
    ASSERT_EQ(map.size(), 2u);
    EXPECT_EQ(map[0]->Weight.value, 1);
    EXPECT_EQ(map[1]->Weight.value, 2);

    Ref<TEST_Link> model(link("w1", "g2", 2, 0));
    EXPECT_EQ(map.find(model.ptr()), 1);
    EXPECT_EQ(map.lookup(model.ptr()), map[1]);
    map.remove(0);
    EXPECT_EQ(map.find(model.ptr()), 0);
    Ref<TEST_Link> taken(map.take(0));
    EXPECT_EQ(map.size(), 0u);
    EXPECT_EQ(taken->Weight.value, 2);
    EXPECT_EQ(map.lookup(model.ptr()), nullptr);
}

// The map finds by a hash of the keys what key_eq finds: over links whose
// keys differ in a text's case, a number, a null text or reference, an empty
// text, or only in the class of an end, it refuses exactly the duplicates
// and finds the first equal entry, also after removals shifted the entries.
TEST(CimpleInstanceMap, FindsWhatKeyEqFinds)
{
    // Links 0-44 have keys of their own but where a null Part makes the
    // slot irrelevant; link v + 45 repeats the keys of link v.
    auto make = [](int v) {
        const int k = v % 45;
        TEST_Link* l = TEST_Link::create(false);
        static const char* const widgets[] = {"w1", "W1", "", nullptr};
        if (k % 5 < 4) {
            l->Owner = test_widget(widgets[k % 5] ? widgets[k % 5] : "");
            if (!widgets[k % 5])
                l->Owner->Name.clear();
        }
        const uint32 slot = static_cast<uint32>(k / 5 % 3);
        if (k / 15 == 1) {
            TEST_BigGadget* big = TEST_BigGadget::create(false);
            big->CreationClassName.set("TEST_Gadget");
            big->Name.set("g");
            big->Slot.set(slot);
            l->Part = big;
        } else if (k / 15 == 2) {
            l->Part = test_gadget("g", slot);
        }
        l->Weight.set(static_cast<uint16>(v));
        return l;
    };
    // The first entry key_eq finds equal, as the map held them by a scan.
    auto firstEqual = [](const Instance_Map<TEST_Link>& map, const TEST_Link* model) {
        for (size_t i = 0; i < map.size(); i++)
            if (key_eq(map[i], model))
                return static_cast<long>(i);
        return -1L;
    };
    Instance_Map<TEST_Link> map;
    for (int v = 0; v < 90; v++) {
        TEST_Link* l = make(v);
        const bool duplicate = firstEqual(map, l) >= 0;
        EXPECT_EQ(map.insert(l), duplicate ? -1 : 0) << v;
    }
    ASSERT_EQ(map.size(), 35u); // 5 owners without a Part, 15 with each kind of Part
    for (int removed = 0; removed < 3; removed++) {
        for (int v = 0; v < 90; v++) {
            Ref<TEST_Link> model(make(v));
            EXPECT_EQ(map.find(model.ptr()), firstEqual(map, model.ptr())) << v;
        }
        map.remove(map.size() / 2);
    }

    // take_all hands every entry over in order and leaves the map empty.
    std::vector<TEST_Link*> held;
    for (size_t i = 0; i < map.size(); i++)
        held.push_back(map[i]);
    std::vector<TEST_Link*> taken = map.take_all();
    EXPECT_EQ(taken, held);
    EXPECT_EQ(map.size(), 0u);
    Ref<TEST_Link> model(make(0));
    EXPECT_EQ(map.find(model.ptr()), -1);
    for (TEST_Link* l : taken)
        destroy(l);
}

TEST(CimpleDatetime, TextForms)
{
    Datetime stamp;
    ASSERT_TRUE(stamp.set_timestamp(2009, 3, 14, 15, 9, 26, 535897, 60));
    Datetime west;
    ASSERT_TRUE(west.set_timestamp(1999, 12, 31, 23, 0, 0, 0, -480));
    Datetime five;
    ASSERT_TRUE(five.set_interval(0, 0, 5, 0, 0));
    Datetime big;
    ASSERT_TRUE(big.set_interval(99999999, 23, 59, 59, 999999));
    struct {
        const Datetime& dt;
        const char* cim;
        const char* readable;
    } cases[] = {
        {stamp, "20090314150926.535897+060", "2009/03/14 15:09:26.535897+060"},
        {west, "19991231230000.000000-480", "1999/12/31 23:00:00.000000-480"},
        {five, "00000000000500.000000:000", "00000000000500.000000:000"},
        {big, "99999999235959.999999:000", "99999999235959.999999:000"},
        {Datetime(), "00000000000000.000000:000", "00000000000000.000000:000"},
    };
    for (const auto& c : cases) {
        String cim, readable;
        c.dt.ascii(cim);
        c.dt.ascii(readable, true);
        EXPECT_EQ(cim, c.cim);
        EXPECT_EQ(readable, c.readable);
        Datetime parsed;
        EXPECT_TRUE(parsed.set(c.cim)) << c.cim;
        EXPECT_TRUE(parsed == c.dt) << c.cim;
    }
    // The moment: 14:09:26 UTC.
    EXPECT_EQ(stamp.usec(), 1237039766535897ull);
    EXPECT_EQ(five.usec(), 300 * Datetime::SEC);
    uint32 days, hours, minutes, seconds, usec;
    ASSERT_TRUE(five.get_interval(days, hours, minutes, seconds, usec));
    EXPECT_EQ(days * 86400 + hours * 3600 + minutes * 60 + seconds, 300u);
    EXPECT_FALSE(stamp.get_interval(days, hours, minutes, seconds, usec));
}

TEST(CimpleDatetime, RefusesWhatIsNoDatetime)
{
    Datetime dt;
    dt.set_interval(1, 2, 3, 4, 5);
    const Datetime before = dt;
    const uint32 U = 0xFFFFFFFF;
    struct {
        uint32 y, mo, d, h, mi, s, us;
        sint32 utc;
    } stamps[] = {
        {2007, 3, 5, U, U, U, U, 0},   {U, U, U, U, U, U, U, 0},      {2007, 2, 29, 0, 0, 0, 0, 0},
        {2007, 13, 1, 0, 0, 0, 0, 0},  {2007, 1, 1, 24, 0, 0, 0, 0},  {2007, 1, 1, 0, 0, 0, 1000000, 0},
        {1969, 12, 31, 0, 0, 0, 0, 0}, {1970, 1, 1, 0, 0, 0, 0, 60},  {2007, 1, 1, 0, 0, 0, 0, 1000},
    };
    for (const auto& s : stamps)
        EXPECT_FALSE(dt.set_timestamp(s.y, s.mo, s.d, s.h, s.mi, s.s, s.us, s.utc)) << s.y << "-" << s.mo;
    EXPECT_FALSE(dt.set_interval(100000000, 0, 0, 0, 0));
    EXPECT_FALSE(dt.set_interval(0, 24, 0, 0, 0));
    for (const char* text : {"", "2009031415092.535897+060", "20090314150926.535897*060", "20090314150926x535897+060",
                             "20091314150926.535897+060", "00000000000500.000000:001", "0000000000050.0000000:000",
                             "20090314150926.535897+0600"})
        EXPECT_FALSE(dt.set(text)) << text;
    EXPECT_FALSE(dt.set(nullptr));
    EXPECT_TRUE(dt == before);
}

namespace {

uint64 fakeNow = 0;
uint64 fakeClock() { return fakeNow; }
void fakeSleep(uint64 usec) { fakeNow += usec; }

} // namespace

// The clock and sleep seams: five minutes of sleeping pass at once and the
// clock behind Datetime::now moves by them.
TEST(CimpleTime, SeamsMoveTheClock)
{
    fakeNow = 1237039766535897ull;
    Time::Clock_Proc oldClock = Time::set_clock(fakeClock);
    Time::Sleep_Proc oldSleep = Time::set_sleep(fakeSleep);
    Datetime start = Datetime::now();
    Time::sleep(5 * 60 * Time::SEC);
    Datetime later = Datetime::now();
    Time::set_clock(oldClock);
    Time::set_sleep(oldSleep);

    String text;
    start.ascii(text, true);
    EXPECT_EQ(text, "2009/03/14 14:09:26.535897+000"); // the tests run with TZ=UTC
    EXPECT_EQ(later.usec() - start.usec(), 300 * Datetime::SEC);
    EXPECT_NE(Time::now(), fakeNow);
}

TEST(CimpleThread, JoinsOnce)
{
    Thread t;
    void* value = nullptr;
    EXPECT_EQ(Thread::join(t, value), -1);
    ASSERT_EQ(Thread::create_joinable(t, [](void* arg) -> void* { return arg; }, &value), 0);
    EXPECT_EQ(Thread::create_joinable(t, [](void*) -> void* { return nullptr; }, nullptr), -1);
    EXPECT_EQ(Thread::join(t, value), 0);
    EXPECT_EQ(value, &value);
    EXPECT_EQ(Thread::join(t, value), -1);

    Mutex m;
    m.lock();
    m.lock(); // recursive
    m.unlock();
    m.unlock();
}
