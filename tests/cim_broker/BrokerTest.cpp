// The test broker is as strict as a real CIM server, through its CMPI
// tables and over the classes of the framework's test module: text read as
// servers read it, arrays of one type, values checked against the class
// table, statuses a client can receive, up-call items marked as one server
// marks them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Objects.h"

using namespace cimbroker;

namespace {

const char* const NS = "root/test";

// A CMPI_chars value as providers hand it: the text itself.
const CMPIValue* chars(const char* s) { return reinterpret_cast<const CMPIValue*>(s); }

std::string textOf(const CMPIData& d)
{
    if (d.type != CMPI_string || !d.value.string)
        return "(not a CMPI_string)";
    return d.value.string->ft->getCharPtr(d.value.string, nullptr);
}

class StrictBroker : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(broker.loadModule(CIMPLE_TEST_MODULE, &error)) << error;
    }

    const CMPIBroker* mb() const { return broker.cmpi(); }
    CMPIObjectPath* path(const char* cls) { return mb()->eft->newObjectPath(mb(), NS, cls, nullptr); }
    CMPIInstance* instance(const char* cls) { return mb()->eft->newInstance(mb(), path(cls), nullptr); }
    CMPIString* string(const char* s) { return mb()->eft->newString(mb(), s, nullptr); }
    CMPIArray* array(CMPIType type, CMPIType elementType, CMPIValue element)
    {
        CMPIArray* a = mb()->eft->newArray(mb(), 1, type, nullptr);
        a->ft->setElementAt(a, 0, &element, elementType);
        return a;
    }

    Broker broker;
};

// The fake method MI below answers this and notes the statuses of what it
// hands back.
CMPIrc g_answer = CMPI_RC_OK;
std::vector<CMPIrc> g_got;

CMPIStatus fakeInvoke(CMPIMethodMI*, const CMPIContext*, const CMPIResult* rs, const CMPIObjectPath*, const char*,
                      const CMPIArgs*, CMPIArgs* out)
{
    CMPIValue n;
    n.uint16 = 2;
    g_got = {out->ft->addArg(out, "Note", chars("a note"), CMPI_chars).rc,
             out->ft->addArg(out, "note", &n, CMPI_uint16).rc,
             out->ft->addArg(out, "Times", &n, CMPI_uint16).rc,
             out->ft->addArg(out, "Loudness", &n, CMPI_uint16).rc,
             rs->ft->returnData(rs, chars("30"), CMPI_chars).rc};
    CMPIValue ret;
    ret.uint32 = 30;
    g_got.push_back(rs->ft->returnData(rs, &ret, CMPI_uint32).rc);
    rs->ft->returnDone(rs);
    return CMPIStatus{g_answer, nullptr};
}

} // namespace

// Char pointers are the text itself; every read hands text back as a
// CMPIString.
TEST_F(StrictBroker, ReadsCharsAsThePointerAndHandsTextBackAsString)
{
    RequestScope scope(&broker);
    CMPIInstance* ci = instance("TEST_Widget");
    ASSERT_EQ(ci->ft->setProperty(ci, "Caption", chars("a caption"), CMPI_chars).rc, CMPI_RC_OK);
    CMPIObjectPath* op = path("TEST_Widget");
    ASSERT_EQ(op->ft->addKey(op, "Name", chars("w1"), CMPI_chars).rc, CMPI_RC_OK);
    CMPIArgs* args = mb()->eft->newArgs(mb(), nullptr);
    ASSERT_EQ(args->ft->addArg(args, "Note", chars("a note"), CMPI_chars).rc, CMPI_RC_OK);
    CMPIArray* labels = mb()->eft->newArray(mb(), 1, CMPI_chars, nullptr);
    ASSERT_EQ(labels->ft->setElementAt(labels, 0, chars("a label"), CMPI_chars).rc, CMPI_RC_OK);
    EXPECT_EQ(labels->ft->getSimpleType(labels, nullptr), CMPI_string);

    EXPECT_EQ(textOf(ci->ft->getProperty(ci, "Caption", nullptr)), "a caption");
    EXPECT_EQ(textOf(op->ft->getKey(op, "Name", nullptr)), "w1");
    EXPECT_EQ(textOf(args->ft->getArg(args, "Note", nullptr)), "a note");
    EXPECT_EQ(textOf(labels->ft->getElementAt(labels, 0, nullptr)), "a label");
}

// An array takes elements of the type it was made with, and nothing else.
TEST_F(StrictBroker, AnArrayTakesElementsOfItsOwnTypeOnly)
{
    RequestScope scope(&broker);
    CMPIValue text;
    text.string = string("text");
    CMPIValue number;
    number.uint16 = 7;
    const struct {
        const char* what;
        CMPIType arrayType, elementType;
        const CMPIValue* element;
        CMPIrc rc;
    } cases[] = {
        {"string into string", CMPI_string, CMPI_string, &text, CMPI_RC_OK},
        {"chars into string", CMPI_string, CMPI_chars, chars("text"), CMPI_RC_ERR_TYPE_MISMATCH},
        {"chars into chars", CMPI_chars, CMPI_chars, chars("text"), CMPI_RC_OK},
        {"string into chars", CMPI_chars, CMPI_string, &text, CMPI_RC_ERR_TYPE_MISMATCH},
        {"uint16 into uint16", CMPI_uint16, CMPI_uint16, &number, CMPI_RC_OK},
        {"uint16 into uint32", CMPI_uint32, CMPI_uint16, &number, CMPI_RC_ERR_TYPE_MISMATCH},
    };
    for (const auto& c : cases) {
        CMPIArray* a = mb()->eft->newArray(mb(), 1, c.arrayType, nullptr);
        EXPECT_EQ(a->ft->setElementAt(a, 0, c.element, c.elementType).rc, c.rc) << c.what;
    }
}

// Properties and keys as the class table has them: each of its type (text
// as chars or string, a null of its type or of none), known to the class, a
// key where the class has one; no instance of a class the table lacks.
TEST_F(StrictBroker, ValuesAreCheckedAgainstTheClassTable)
{
    RequestScope scope(&broker);
    CMPIValue u16, u32, text, labels, numbers, ref;
    u16.uint16 = 1;
    u32.uint32 = 1;
    text.string = string("text");
    labels.array = array(CMPI_string, CMPI_string, text);
    numbers.array = array(CMPI_uint16, CMPI_uint16, u16);
    ref.ref = path("TEST_Widget");
    auto set = [&](const char* cls, const char* name, const CMPIValue* v, CMPIType t) {
        CMPIInstance* ci = instance(cls);
        return ci->ft->setProperty(ci, name, v, t).rc;
    };
    auto key = [&](const char* cls, const char* name, const CMPIValue* v, CMPIType t) {
        CMPIObjectPath* op = path(cls);
        return op->ft->addKey(op, name, v, t).rc;
    };
    const struct {
        const char* what;
        CMPIrc rc, expected;
    } cases[] = {
        {"uint32 as uint32", set("TEST_Widget", "Count", &u32, CMPI_uint32), CMPI_RC_OK},
        {"uint32 as uint16", set("TEST_Widget", "Count", &u16, CMPI_uint16), CMPI_RC_ERR_TYPE_MISMATCH},
        {"null uint32", set("TEST_Widget", "Count", nullptr, CMPI_uint32), CMPI_RC_OK},
        {"null of no type", set("TEST_Widget", "Count", nullptr, CMPI_null), CMPI_RC_OK},
        {"null of another type", set("TEST_Widget", "Count", nullptr, CMPI_string), CMPI_RC_ERR_TYPE_MISMATCH},
        {"string as chars", set("TEST_Widget", "Caption", chars("c"), CMPI_chars), CMPI_RC_OK},
        {"string as string", set("TEST_Widget", "Caption", &text, CMPI_string), CMPI_RC_OK},
        {"string as uint16", set("TEST_Widget", "Caption", &u16, CMPI_uint16), CMPI_RC_ERR_TYPE_MISMATCH},
        {"datetime as text", set("TEST_Widget", "Installed", chars("00000000000000.000000:000"), CMPI_chars),
         CMPI_RC_ERR_TYPE_MISMATCH},
        {"string array", set("TEST_Widget", "Labels", &labels, CMPI_stringA), CMPI_RC_OK},
        {"string array as one string", set("TEST_Widget", "Labels", &text, CMPI_string), CMPI_RC_ERR_TYPE_MISMATCH},
        {"string array of numbers", set("TEST_Widget", "Labels", &numbers, CMPI_stringA), CMPI_RC_ERR_TYPE_MISMATCH},
        {"uint16 array of strings", set("TEST_Widget", "Status", &labels, CMPI_uint16A), CMPI_RC_ERR_TYPE_MISMATCH},
        {"reference", set("TEST_Link", "Owner", &ref, CMPI_ref), CMPI_RC_OK},
        {"reference as text", set("TEST_Link", "Owner", &text, CMPI_string), CMPI_RC_ERR_TYPE_MISMATCH},
        {"property the class lacks", set("TEST_Widget", "Weight", &u16, CMPI_uint16), CMPI_RC_ERR_NO_SUCH_PROPERTY},
        {"key", key("TEST_Widget", "Name", chars("w1"), CMPI_chars), CMPI_RC_OK},
        {"key of another type", key("TEST_Widget", "Name", &u32, CMPI_uint32), CMPI_RC_ERR_TYPE_MISMATCH},
        {"property that is no key", key("TEST_Widget", "Count", &u32, CMPI_uint32), CMPI_RC_ERR_NO_SUCH_PROPERTY},
        {"key of a class the table lacks", key("TEST_Nothing", "Name", &u32, CMPI_uint32), CMPI_RC_OK},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.rc, c.expected) << c.what << ": " << rcName(c.rc);
    CMPIStatus st = {CMPI_RC_OK, nullptr};
    EXPECT_EQ(mb()->eft->newInstance(mb(), path("TEST_Nothing"), &st), nullptr);
    EXPECT_EQ(st.rc, CMPI_RC_ERR_INVALID_CLASS);
}

// A method's output arguments and return value as its class declares them;
// the MI's status a CIM status code, anything else refused and noted.
TEST_F(StrictBroker, MethodOutputsAndStatusesAreChecked)
{
    static CMPIMethodMIFT ft = {CMPICurrentVersion, CMPICurrentVersion, "fake",
                                [](CMPIMethodMI*, const CMPIContext*, CMPIBoolean) { return CMPIStatus{}; },
                                fakeInvoke};
    static CMPIMethodMI mi = {nullptr, &ft};
    broker.internals().mis[{"test_widget", static_cast<int>(MIKind::Method)}] = &mi;
    const Path w1 = {NS, "TEST_Widget", {}};
    Named out;
    Value ret;

    g_answer = CMPI_RC_OK;
    ASSERT_TRUE(broker.invokeMethod(w1, "Poke", {}, out, ret).ok());
    EXPECT_EQ(g_got, (std::vector<CMPIrc>{CMPI_RC_OK, CMPI_RC_ERR_TYPE_MISMATCH, CMPI_RC_ERR_NO_SUCH_PROPERTY,
                                          CMPI_RC_ERR_NO_SUCH_PROPERTY, CMPI_RC_ERR_TYPE_MISMATCH, CMPI_RC_OK}));
    EXPECT_EQ(valueText(ret), "30");
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(valueText(out[0].second), "\"a note\"");

    // A method the class lacks hands nothing back.
    ASSERT_TRUE(broker.invokeMethod(w1, "Prod", {}, out, ret).ok());
    EXPECT_EQ(g_got, (std::vector<CMPIrc>{CMPI_RC_ERR_NO_SUCH_PROPERTY, CMPI_RC_ERR_NO_SUCH_PROPERTY,
                                          CMPI_RC_ERR_NO_SUCH_PROPERTY, CMPI_RC_ERR_NO_SUCH_PROPERTY,
                                          CMPI_RC_ERR_TYPE_MISMATCH, CMPI_RC_ERR_TYPE_MISMATCH}));

    const struct {
        CMPIrc answer, rc;
        bool noted;
    } statuses[] = {
        {CMPI_RC_ERR_METHOD_NOT_FOUND, CMPI_RC_ERR_METHOD_NOT_FOUND, false},
        {CMPI_RC_ERR_INVALID_DATA_TYPE, CMPI_RC_ERR_FAILED, true},
        {static_cast<CMPIrc>(131), CMPI_RC_ERR_FAILED, true},
        {CMPI_RC_DO_NOT_UNLOAD, CMPI_RC_ERR_FAILED, true},
    };
    for (const auto& s : statuses) {
        g_answer = s.answer;
        const size_t before = broker.violations().size();
        EXPECT_EQ(broker.invokeMethod(w1, "Poke", {}, out, ret).rc, s.rc) << s.answer;
        EXPECT_EQ(broker.violations().size(), before + (s.noted ? 1 : 0)) << s.answer;
    }
}

// The items of an up-call's instance enumeration are marked null, as one
// real server marks them, and each holds its instance.
TEST_F(StrictBroker, UpcallItemsAreMarkedNullAndHoldTheirInstance)
{
    Inst host;
    host.path = {"root/zeqag", "TEST_Host", {{"Name", Value::string("h1")}}};
    host.props = host.path.keys;
    broker.setUpcallInstances("root/zeqag", "TEST_Host", {host});
    RequestScope scope(&broker);
    CMPIObjectPath* op = mb()->eft->newObjectPath(mb(), "root/zeqag", "TEST_Host", nullptr);
    CMPIEnumeration* en = mb()->bft->enumerateInstances(mb(), scope.ctx(), op, nullptr, nullptr);
    ASSERT_NE(en, nullptr);
    ASSERT_TRUE(en->ft->hasNext(en, nullptr));
    CMPIData d = en->ft->getNext(en, nullptr);
    EXPECT_EQ(d.type, CMPI_instance);
    EXPECT_TRUE(d.state & CMPI_nullValue);
    ASSERT_NE(d.value.inst, nullptr);
    EXPECT_EQ(textOf(d.value.inst->ft->getProperty(d.value.inst, "Name", nullptr)), "h1");
    EXPECT_TRUE(broker.violations().empty());
}
