// The CMPI adapter through the test broker: the test module is loaded by its
// factory names and driven through CMPI alone, as a CIM server would.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Broker.h"

using namespace cimbroker;

namespace {

const char* const NS = "root/test";

Value S(const std::string& s) { return Value::string(s); }

Path widgetPath(const std::string& name)
{
    return {NS, "TEST_Widget", {{"CreationClassName", S("TEST_Widget")}, {"Name", S(name)}}};
}

Path gadgetPath(const std::string& name, Value slot)
{
    return {NS, "TEST_Gadget", {{"CreationClassName", S("TEST_Gadget")}, {"Name", S(name)}, {"Slot", slot}}};
}

Path gadgetPath(const std::string& name, unsigned slot) { return gadgetPath(name, Value::uint(CMPI_uint32, slot)); }

Path linkPath(const Path& owner, const Path& part)
{
    return {NS, "TEST_Link", {{"Owner", Value::reference(owner)}, {"Part", Value::reference(part)}}};
}

std::string text(const Value* v) { return v ? valueText(*v) : "(absent)"; }

class CimpleAdapter : public ::testing::Test {
protected:
    void SetUp() override
    {
        broker.reset(new Broker());
        std::string error;
        ASSERT_TRUE(broker->loadModule(CIMPLE_TEST_MODULE, &error)) << error;
    }
    void TearDown() override
    {
        // Cleans up every MI, then looks for misuse of the broker.
        broker->cleanupAll();
        for (const std::string& v : broker->violations())
            ADD_FAILURE() << v;
        broker.reset();
    }

    Status invoke(const Path& path, const std::string& method, const Named& in, Value* ret = nullptr,
                  Named* out = nullptr)
    {
        Named outArgs;
        Value value;
        Status st = broker->invokeMethod(path, method, in, out ? *out : outArgs, ret ? *ret : value);
        return st;
    }

    // A counter of the module, through TEST_Widget.Stats.
    unsigned long long stat(const std::string& counter)
    {
        Value ret;
        Status st = invoke(widgetPath("any"), "Stats", {{"Counter", S(counter)}}, &ret);
        EXPECT_TRUE(st.ok()) << st.msg;
        return ret.null ? ~0ull : ret.scalar.uint64;
    }

    std::unique_ptr<Broker> broker;
};

} // namespace

// Every property in the class's order, each type converted, strings escaped,
// a null property as NULL; names and a property list.
TEST_F(CimpleAdapter, EnumeratesInstancesInClassOrder)
{
    std::vector<Inst> widgets;
    ASSERT_TRUE(broker->enumerateInstances(NS, "TEST_Widget", widgets).ok());
    ASSERT_EQ(widgets.size(), 3u);
    EXPECT_EQ(mofText(widgets[0]), R"(instance of TEST_Widget
{
    Caption = "first widget";
    CreationClassName = "TEST_Widget";
    Name = "w1";
    Status = {2};
    Count = 7;
    Offset = -5;
    Enabled = true;
    Ratio = 0.5;
    Letter = 'A';
    Installed = "20090314150926.535897+060";
    Labels = {"alpha", "beta"};
    Times = {"00000000000500.000000:000"};
    Bytes = {1, 255};
};
)");
    EXPECT_EQ(widgets[0].path, widgetPath("w1"));
    // Created without defaults: zero values, not null.
    EXPECT_EQ(text(widgets[1].prop("Caption")), "\"\"");
    EXPECT_EQ(text(widgets[1].prop("Installed")), "\"00000000000000.000000:000\"");
    EXPECT_EQ(text(widgets[1].prop("Labels")), "{}");
    EXPECT_EQ(text(widgets[2].prop("Caption")), "NULL");
    EXPECT_EQ(text(widgets[2].prop("Labels")), "NULL");

    std::vector<Path> names;
    ASSERT_TRUE(broker->enumerateInstanceNames(NS, "TEST_Widget", names).ok());
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[1].text(), R"(root/test:TEST_Widget.CreationClassName="TEST_Widget",Name="quote\"back\\slash")");

    std::vector<std::string> props = {"count"};
    ASSERT_TRUE(broker->enumerateInstances(NS, "TEST_Widget", widgets, &props).ok());
    ASSERT_EQ(widgets[0].props.size(), 3u);
    EXPECT_EQ(widgets[0].props[0].first + widgets[0].props[1].first + widgets[0].props[2].first,
              "CreationClassNameNameCount");
}

// Text in each place a provider hands it over: a property, a key, the
// elements of a string array, an output argument. The broker takes it as a
// CIM server does and holds the provider's very bytes, as CMPI_string.
TEST_F(CimpleAdapter, TextReachesTheBrokerByteForByte)
{
    const std::string note = "Gr\xC3\xBC\xC3\x9F"
                             "e \xE2\x98\x83, a note longer than a pointer";
    std::vector<Inst> widgets;
    ASSERT_TRUE(broker->enumerateInstances(NS, "TEST_Widget", widgets).ok());
    ASSERT_EQ(widgets.size(), 3u);
    const Value* labels = widgets[0].prop("Labels");
    ASSERT_NE(labels, nullptr);
    EXPECT_EQ(labels->type, CMPI_stringA);
    ASSERT_EQ(labels->elements.size(), 2u);
    Inst got;
    ASSERT_TRUE(broker->getInstance(widgetPath("quote\"back\\slash"), got).ok());
    Named out;
    Value ret;
    ASSERT_TRUE(invoke(widgetPath("w1"), "Poke", {{"Times", Value::uint(CMPI_uint16, 2)}, {"Note", S(note)}}, &ret,
                       &out)
                    .ok());
    const struct {
        const char* what;
        const Value* value;
        std::string bytes;
    } cases[] = {
        {"property", widgets[0].prop("Caption"), "first widget"},
        {"key of an enumerated path", find(widgets[1].path.keys, "Name"), "quote\"back\\slash"},
        {"key of a gotten path", find(got.path.keys, "Name"), "quote\"back\\slash"},
        {"array element", &labels->elements[0], "alpha"},
        {"array element", &labels->elements[1], "beta"},
        {"output argument", find(out, "Note"), note + "!!"},
    };
    for (const auto& c : cases) {
        ASSERT_NE(c.value, nullptr) << c.what;
        EXPECT_EQ(c.value->type, CMPI_string) << c.what;
        EXPECT_EQ(c.value->text, c.bytes) << c.what;
    }
}

// Provider status codes as CMPI return codes; what the broker refuses, as
// a CIM status code a client knows.
TEST_F(CimpleAdapter, StatusMapping)
{
    auto create = [&](long long code) {
        Inst w;
        w.path = widgetPath("new");
        w.props = w.path.keys;
        w.props.emplace_back("Offset", Value::sint(CMPI_sint64, code));
        Path created;
        return broker->createInstance(w, created).rc;
    };
    auto poke = [&](const std::string& widget) { return invoke(widgetPath(widget), "Poke", {}).rc; };
    // A code no client knows would be noted as a violation by the broker.
    auto refused = [&](CMPIrc rc) {
        broker->refuseResults(rc);
        std::vector<Inst> widgets;
        const CMPIrc answer = broker->enumerateInstances(NS, "TEST_Widget", widgets).rc;
        broker->refuseResults(CMPI_RC_OK);
        return answer;
    };
    Inst mistyped;
    mistyped.path = widgetPath("new");
    mistyped.props = mistyped.path.keys;
    mistyped.props.emplace_back("Offset", S("x"));
    Path created;
    Inst w1;
    w1.path = widgetPath("w1");
    const struct {
        const char* what;
        CMPIrc rc;
        CMPIrc expected;
    } cases[] = {
        {"create 0", create(0), CMPI_RC_OK},
        {"create 60", create(60), CMPI_RC_ERR_NOT_FOUND},
        {"create 81", create(81), CMPI_RC_ERR_NOT_SUPPORTED},
        {"create 91", create(91), CMPI_RC_ERR_NOT_SUPPORTED},
        {"create 101", create(101), CMPI_RC_ERR_NOT_SUPPORTED},
        {"create 131", create(131), CMPI_RC_ERR_NOT_SUPPORTED},
        {"create 130", create(130), CMPI_RC_ERR_FAILED},
        {"create -1", create(-1), CMPI_RC_ERR_FAILED},
        {"create 12345", create(12345), CMPI_RC_ERR_FAILED},
        {"delete (91)", broker->deleteInstance(widgetPath("w1")).rc, CMPI_RC_ERR_NOT_SUPPORTED},
        {"modify (101)", broker->modifyInstance(w1).rc, CMPI_RC_ERR_NOT_SUPPORTED},
        {"method failed (130)", poke("fail"), CMPI_RC_ERR_FAILED},
        {"method unsupported (131)", poke("unsupported"), CMPI_RC_ERR_NOT_SUPPORTED},
        {"method unknown", invoke(widgetPath("w1"), "Prod", {}).rc, CMPI_RC_ERR_METHOD_NOT_FOUND},
        {"create, a property of another type", broker->createInstance(mistyped, created).rc,
         CMPI_RC_ERR_INVALID_PARAMETER},
        {"result refused as a type mismatch", refused(CMPI_RC_ERR_TYPE_MISMATCH), CMPI_RC_ERR_TYPE_MISMATCH},
        {"result refused with CMPI's own code", refused(CMPI_RC_ERR_INVALID_DATA_TYPE), CMPI_RC_ERR_FAILED},
        {"query", [&] {
             std::vector<Inst> out;
             return broker->execQuery(NS, "TEST_Widget", "SELECT * FROM TEST_Widget", out).rc;
         }(),
         CMPI_RC_ERR_NOT_SUPPORTED},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.rc, c.expected) << c.what << ": " << rcName(c.rc);
}

// Gets answered by the provider, served from the enumeration (61), and
// refused for paths that name no instance of the class.
TEST_F(CimpleAdapter, GetInstance)
{
    Path noName = widgetPath("w1");
    noName.keys.pop_back();
    Path numericName = widgetPath("w1");
    numericName.keys[1].second = Value::uint(CMPI_uint32, 1);
    const struct {
        const char* what;
        Path path;
        CMPIrc rc;
        const char* name;
    } cases[] = {
        {"provider finds", widgetPath("w1"), CMPI_RC_OK, "w1"},
        {"provider finds an escaped name", widgetPath("quote\"back\\slash"), CMPI_RC_OK, "quote\"back\\slash"},
        {"provider does not find", widgetPath("w9"), CMPI_RC_ERR_NOT_FOUND, nullptr},
        {"61, found", gadgetPath("g2", 2), CMPI_RC_OK, "g2"},
        {"61, key text converted", gadgetPath("g2", S("2")), CMPI_RC_OK, "g2"},
        {"61, not found", gadgetPath("g2", 1), CMPI_RC_ERR_NOT_FOUND, nullptr},
        {"61, key out of range", gadgetPath("g2", Value::sint(CMPI_sint64, -1)), CMPI_RC_ERR_INVALID_PARAMETER,
         nullptr},
        {"key missing", noName, CMPI_RC_ERR_INVALID_PARAMETER, nullptr},
        {"key of another type", numericName, CMPI_RC_ERR_INVALID_PARAMETER, nullptr},
        {"linked pair", linkPath(widgetPath("w1"), gadgetPath("g2", 2)), CMPI_RC_OK, nullptr},
        {"both ends exist, not linked", linkPath(widgetPath("quote\"back\\slash"), gadgetPath("g2", 2)),
         CMPI_RC_ERR_NOT_FOUND, nullptr},
        {"an end of another class", linkPath(gadgetPath("g1", 1), gadgetPath("g2", 2)), CMPI_RC_ERR_INVALID_PARAMETER,
         nullptr},
    };
    for (const auto& c : cases) {
        Inst got;
        Status st = broker->getInstance(c.path, got);
        EXPECT_EQ(st.rc, c.rc) << c.what << ": " << st.msg;
        if (st.ok() && c.name) {
            EXPECT_EQ(text(got.prop("Name")), valueText(S(c.name))) << c.what;
        }
        if (st.ok()) {
            EXPECT_EQ(got.path.cls, c.path.cls) << c.what;
        }
    }
}

// Associators and references, which the association provider leaves to the
// framework, from its instances w1-g1 (weight 1), w1-g2 (2), w2-g1 (3).
TEST_F(CimpleAdapter, AssociationTraversalWithFilters)
{
    const Path w1 = widgetPath("w1"), w2 = widgetPath("quote\"back\\slash"), g1 = gadgetPath("g1", 1);
    enum Op { ASSOC, ASSOC_NAMES, REFS, REF_NAMES };
    const struct {
        const char* what;
        Op op;
        Path source;
        const char* assocClass;
        const char* resultClass;
        const char* role;
        const char* resultRole;
        std::vector<std::string> expected; // Names of associators, Weights of references
    } cases[] = {
        {"associators of w1", ASSOC, w1, nullptr, nullptr, nullptr, nullptr, {"\"g1\"", "\"g2\""}},
        {"associators of g1", ASSOC, g1, nullptr, nullptr, nullptr, nullptr, {"\"w1\"", valueText(S(w2.keys[1].second.text))}},
        {"role Owner", ASSOC, w1, nullptr, nullptr, "owner", nullptr, {"\"g1\"", "\"g2\""}},
        {"role Part", ASSOC, w1, nullptr, nullptr, "Part", nullptr, {}},
        {"result role Owner", ASSOC, g1, nullptr, nullptr, nullptr, "Owner", {"\"w1\"", valueText(S(w2.keys[1].second.text))}},
        {"result role Part", ASSOC, g1, nullptr, nullptr, nullptr, "Part", {}},
        {"result class", ASSOC, w1, nullptr, "TEST_Gadget", nullptr, nullptr, {"\"g1\"", "\"g2\""}},
        {"result superclass", ASSOC, w1, nullptr, "TEST_Element", nullptr, nullptr, {"\"g1\"", "\"g2\""}},
        {"result class unrelated", ASSOC, w1, nullptr, "TEST_Widget", nullptr, nullptr, {}},
        {"association class", ASSOC, w1, "TEST_Link", nullptr, nullptr, nullptr, {"\"g1\"", "\"g2\""}},
        {"association subclass", ASSOC, w1, "TEST_SpecialLink", nullptr, nullptr, nullptr, {}},
        {"associator names of w2", ASSOC_NAMES, w2, nullptr, nullptr, nullptr, nullptr, {g1.text()}},
        {"references of g1", REFS, g1, nullptr, nullptr, nullptr, nullptr, {"1", "3"}},
        {"references, role Part", REFS, g1, nullptr, nullptr, "Part", nullptr, {"1", "3"}},
        {"references, role Owner", REFS, g1, nullptr, nullptr, "Owner", nullptr, {}},
        {"references, result class", REFS, w1, nullptr, "TEST_Link", nullptr, nullptr, {"1", "2"}},
        {"references, result class unrelated", REFS, w1, nullptr, "TEST_Alert", nullptr, nullptr, {}},
        {"reference names of w2", REF_NAMES, w2, nullptr, nullptr, nullptr, nullptr, {linkPath(w2, g1).text()}},
        {"a class the module does not know", ASSOC, {NS, "TEST_Nothing", {}}, nullptr, nullptr, nullptr, nullptr, {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> got;
        Status st;
        std::vector<Inst> insts;
        std::vector<Path> paths;
        switch (c.op) {
        case ASSOC:
            st = broker->associators("TEST_Link", c.source, c.assocClass, c.resultClass, c.role, c.resultRole, insts);
            for (const Inst& i : insts)
                got.push_back(text(i.prop("Name")));
            break;
        case ASSOC_NAMES:
            st = broker->associatorNames("TEST_Link", c.source, c.assocClass, c.resultClass, c.role, c.resultRole,
                                         paths);
            break;
        case REFS:
            st = broker->references("TEST_Link", c.source, c.resultClass, c.role, insts);
            for (const Inst& i : insts)
                got.push_back(text(i.prop("Weight")));
            break;
        case REF_NAMES:
            st = broker->referenceNames("TEST_Link", c.source, c.resultClass, c.role, paths);
            break;
        }
        for (const Path& p : paths)
            got.push_back(p.text());
        EXPECT_TRUE(st.ok()) << c.what << ": " << rcName(st.rc) << " " << st.msg;
        std::sort(got.begin(), got.end());
        std::vector<std::string> expected = c.expected;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(got, expected) << c.what;
    }
    std::vector<Inst> insts;
    Path keyless = w1;
    keyless.keys.clear();
    EXPECT_EQ(broker->associators("TEST_Link", keyless, nullptr, nullptr, nullptr, nullptr, insts).rc,
              CMPI_RC_ERR_INVALID_PARAMETER);
}

// In and out parameters, references among them; the name matched without
// regard to case; arguments that do not fit.
TEST_F(CimpleAdapter, InvokesMethods)
{
    const Named in = {{"Times", Value::uint(CMPI_uint16, 3)},
                      {"Target", Value::reference(gadgetPath("g1", 1))},
                      {"Note", S("hi")}};
    for (const char* name : {"Poke", "poke", "POKE"}) {
        Named out;
        Value ret;
        Status st = invoke(widgetPath("w1"), name, in, &ret, &out);
        ASSERT_TRUE(st.ok()) << name << ": " << st.msg;
        EXPECT_EQ(valueText(ret), "30") << name;
        EXPECT_EQ(ret.type, CMPI_uint32);
        EXPECT_EQ(text(find(out, "Note")), "\"hi!!!\"");
        EXPECT_EQ(text(find(out, "Codes")), "{3, 6}");
        ASSERT_NE(find(out, "Made"), nullptr);
        EXPECT_EQ(*find(out, "Made")->ref, gadgetPath("g1", 2));
        EXPECT_EQ(out.size(), 3u);
    }
    const struct {
        const char* what;
        Named in;
        CMPIrc rc;
        const char* ret;
    } cases[] = {
        {"no arguments", {}, CMPI_RC_OK, "0"},
        {"number as text", {{"Times", S("2")}}, CMPI_RC_OK, "20"},
        {"unknown argument ignored", {{"Loudness", S("x")}}, CMPI_RC_OK, "0"},
        {"number that is no number", {{"Times", S("x")}}, CMPI_RC_ERR_INVALID_PARAMETER, nullptr},
        {"number out of range", {{"Times", Value::uint(CMPI_uint32, 70000)}}, CMPI_RC_ERR_INVALID_PARAMETER, nullptr},
        {"reference to another class", {{"Target", Value::reference(widgetPath("w1"))}}, CMPI_RC_ERR_INVALID_PARAMETER,
         nullptr},
        {"reference without keys", {{"Target", Value::reference(Path{NS, "TEST_Gadget", {}})}},
         CMPI_RC_ERR_INVALID_PARAMETER, nullptr},
        {"reference to a class the module lacks",
         {{"Target", Value::reference(Path{NS, "TEST_Nothing", {{"Name", S("g1")}}})}}, CMPI_RC_ERR_INVALID_PARAMETER,
         nullptr},
        {"array for a scalar", {{"Times", Value::array(CMPI_uint16, {Value::uint(CMPI_uint16, 1)})}},
         CMPI_RC_ERR_INVALID_PARAMETER, nullptr},
        {"out parameter given is not read", {{"Codes", S("x")}}, CMPI_RC_OK, "0"},
    };
    for (const auto& c : cases) {
        Value ret;
        Status st = invoke(widgetPath("w1"), "Poke", c.in, &ret);
        EXPECT_EQ(st.rc, c.rc) << c.what << ": " << st.msg;
        if (c.ret) {
            EXPECT_EQ(valueText(ret), c.ret) << c.what;
        }
    }
    // On the class: a path without keys.
    EXPECT_TRUE(invoke(Path{NS, "TEST_Widget", {}}, "Poke", {}).ok());
}

// The instance, method and association MIs of one provider share one
// provider object: loaded by the first factory, unloaded by the last cleanup.
TEST_F(CimpleAdapter, FactoriesShareOneProvider)
{
    const unsigned long long loads = stat("Link.loads"), unloads = stat("Link.unloads");
    ASSERT_TRUE(broker->loadMI("TEST_Link", MIKind::Instance).ok());
    ASSERT_TRUE(broker->loadMI("TEST_Link", MIKind::Method).ok());
    ASSERT_TRUE(broker->loadMI("TEST_Link", MIKind::Association).ok());
    EXPECT_EQ(stat("Link.loads"), loads + 1);
    EXPECT_TRUE(broker->cleanupMI("TEST_Link", MIKind::Association).ok());
    EXPECT_TRUE(broker->cleanupMI("TEST_Link", MIKind::Instance).ok());
    EXPECT_EQ(stat("Link.unloads"), unloads);
    std::vector<Inst> links;
    EXPECT_TRUE(broker->enumerateInstances(NS, "TEST_Link", links).ok()); // loads the instance MI again
    EXPECT_EQ(stat("Link.loads"), loads + 1);
    EXPECT_TRUE(broker->cleanupMI("TEST_Link", MIKind::Method).ok());
    EXPECT_TRUE(broker->cleanupMI("TEST_Link", MIKind::Instance).ok());
    EXPECT_EQ(stat("Link.unloads"), unloads + 1);
    EXPECT_TRUE(broker->loadMI("TEST_Link", MIKind::Association).ok());
    EXPECT_EQ(stat("Link.loads"), loads + 2);
}

// Requests on two broker threads are served one at a time.
TEST_F(CimpleAdapter, TwoThreadsNeverOverlapInOneProvider)
{
    const unsigned long long overlaps = stat("Widget.overlaps");
    auto client = [&] {
        for (int i = 0; i < 20; i++) {
            std::vector<Inst> widgets;
            Inst w;
            EXPECT_TRUE(broker->enumerateInstances(NS, "TEST_Widget", widgets).ok());
            EXPECT_TRUE(broker->getInstance(widgetPath("w1"), w).ok());
        }
    };
    std::thread a(client), b(client);
    a.join();
    b.join();
    EXPECT_EQ(stat("Widget.overlaps"), overlaps);
}

// Indications from the provider's own thread reach the broker from a thread
// attached with a context prepared for it, in order; a call without an
// indication delivers nothing; enabling again delivers again.
TEST_F(CimpleAdapter, IndicationsFromAProviderThreadArriveAttached)
{
    EXPECT_TRUE(broker->authorizeFilter(NS, "TEST_Alert").ok());
    EXPECT_EQ(broker->mustPoll(NS, "TEST_Alert").rc, CMPI_RC_ERR_NOT_SUPPORTED);
    ASSERT_TRUE(broker->activateFilter(NS, "TEST_Alert").ok());
    for (int round = 1; round <= 2; round++) {
        ASSERT_TRUE(broker->enableIndications("TEST_Alert").ok());
        // Disabling waits for the provider's thread.
        ASSERT_TRUE(broker->disableIndications("TEST_Alert").ok());
        std::vector<Broker::Delivery> got = broker->deliveries();
        ASSERT_EQ(got.size(), 3u * round);
        for (size_t i = 0; i < got.size(); i++) {
            EXPECT_TRUE(got[i].attached) << i;
            EXPECT_EQ(got[i].ns, NS);
            EXPECT_EQ(got[i].indication.path.cls, "TEST_Alert");
            EXPECT_EQ(text(got[i].indication.prop("Sequence")), std::to_string(i % 3 + 1));
            EXPECT_EQ(text(got[i].indication.prop("Message")), "\"alert\"");
        }
    }
    EXPECT_TRUE(broker->deactivateFilter(NS, "TEST_Alert").ok());
    EXPECT_TRUE(broker->cleanupMI("TEST_Alert", MIKind::Indication).ok());
}

// cimom::enum_instances reaches the broker with the request's context: the
// fixture's instances (as the module's class), or its refusal.
TEST_F(CimpleAdapter, UpcallsToOtherNamespaces)
{
    auto host = [](const std::string& cls, const std::string& name) {
        Inst i;
        i.path = {"root/zeqag", cls, {{"CreationClassName", S(cls)}, {"Name", S(name)}}};
        i.props = i.path.keys;
        i.props.emplace_back("Extra", Value::uint(CMPI_uint8, 1));
        return i;
    };
    broker->setUpcallInstances("root/zeqag", "TEST_Host", {host("ZEQ_Host", "h1"), host("TEST_Host", "h2")});
    broker->setUpcallError("root/PG_InterOp", "TEST_Host", CMPI_RC_ERR_ACCESS_DENIED);
    const struct {
        const char* space;
        const char* ret;
        const char* names;
    } cases[] = {
        {"root/zeqag", "0", R"({"h1", "h2"})"},
        {"root/PG_InterOp", "1", "(absent)"},
        {"root/nowhere", "1", "(absent)"},
    };
    for (const auto& c : cases) {
        Named out;
        Value ret;
        const size_t before = broker->upcallCount();
        ASSERT_TRUE(invoke(widgetPath("w1"), "Lookup", {{"Space", S(c.space)}}, &ret, &out).ok());
        EXPECT_EQ(valueText(ret), c.ret) << c.space;
        EXPECT_EQ(text(find(out, "Names")), c.names) << c.space;
        EXPECT_EQ(broker->upcallCount(), before + 1) << c.space;
    }
}
