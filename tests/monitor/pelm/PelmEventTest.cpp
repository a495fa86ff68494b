// The Pelm event list: parsing the library's text into events, the
// severity of the qualifier and the one-line form.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MonitorTestUtil.h"
#include "monitor/pelm/PelmEvent.h"

namespace {

struct ParseCase {
    const char* name;
    const char* text;
    // Per event: Qual, Status, SenseKey, AdditionalSenseCode, Sequence, LDPath, Description.
    std::vector<PelmEvent> expected;
};

const int U = PelmEvent::UNSET;

PelmEvent ev(int qual, int status, int key, int code, int64_t sequence, const char* path = "",
             const char* description = "")
{
    return PelmEvent(qual, status, key, code, sequence, path, description);
}

std::string show(const PelmEvent& e)
{
    return std::to_string(e.Qual) + "/" + std::to_string(e.Status) + "/" + std::to_string(e.SenseKey) + "/" +
           std::to_string(e.AdditionalSenseCode) + " #" + std::to_string(e.Sequence) + " '" + e.LDPath + "' '" +
           e.Description + "'";
}

std::vector<std::string> show(const std::vector<PelmEvent>& events)
{
    std::vector<std::string> out;
    for (const PelmEvent& e : events)
        out.push_back(show(e));
    return out;
}

TEST(PelmEventCollection, ParsesTheEventList)
{
    const ParseCase cases[] = {
        {"hex with and without 0x",
         "<EventList><Event Sequence=\"0x10\" Qual=\"0x7\" Status=\"2\" SenseKey=\"0x1\" "
         "AdditionalSenseCode=\"0x81\"/><Event Sequence=\"10\" AdditionalSenseCode=\"81\" Qual='A'/></EventList>",
         {ev(7, 2, 1, 0x81, 16), ev(10, U, U, 0x81, 10)}},
        {"texts unchanged, unknown attributes ignored, last duplicate wins",
         "<Event Sequence=\"3\" LDPath=\"/ld1\" Description=\"Rebuild &amp; more\" Other=\"x\" "
         "Qual=\"1\" Qual=\"0x9\"/>",
         {ev(9, U, U, U, 3, "/ld1", "Rebuild &amp; more")}},
        {"end-tagged events; nested attributes not read; other elements skipped",
         "<Root><Info Sequence=\"99\"/><Event Sequence=\"1\"><Detail Sequence=\"7\" SenseKey=\"3\"/></Event>"
         "<Group><Event Sequence=\"2\" SenseKey=\"2\"></Event></Group></Root>",
         {ev(U, U, U, U, 1), ev(U, U, 2, U, 2)}},
        {"missing or non-hex codes stay unset, a missing Sequence is 0",
         "<Event Qual=\"zz\" Status=\"\" SenseKey=\"0x\" AdditionalSenseCode=\"0x1g\"/>",
         {ev(U, U, U, 1, 0)}},
        {"sequence numbers above 2^31 read in full",
         "<Event Sequence=\"4294967295\"/><Event Sequence=\"0x80000001\"/><Event Sequence=\"-5\"/>",
         {ev(U, U, U, U, 4294967295ll), ev(U, U, U, U, 0x80000001ll), ev(U, U, U, U, -5)}},
        {"a malformed list keeps what was read before the fault",
         "<Event Sequence=\"1\"/><Event Sequence=\"2\" Qual=3/><Event Sequence=\"4\"/>", {ev(U, U, U, U, 1), ev(U, U, U, U, 2)}},
        {"a stray slash", "<Event Sequence=\"5\" / ><Event Sequence=\"6\"/>", {ev(U, U, U, U, 5)}},
        {"no events", "<EventList></EventList>", {}},
        {"empty", "", {}},
        {"cut off", "<EventList><Event Sequence=\"8\" Qual=\"0x", {ev(U, U, U, U, 8)}},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string text = c.text;
        EXPECT_EQ(show(PelmEventCollection(text.c_str()).getAllEvents()), show(c.expected));
    }
    EXPECT_EQ(PelmEventCollection(nullptr).getNumberOfEvents(), 0);
}

TEST(PelmEventCollection, ParsesACopyAndStampsTheParseTime)
{
    monitortest::FixedClock clock;
    char text[] = "<Event Sequence=\"1\" Description=\"x\"/>";
    const std::string before = text;
    PelmEventCollection list(text);
    EXPECT_EQ(before, text);
    ASSERT_EQ(list.getNumberOfEvents(), 1);
    EXPECT_EQ(list.getEvent(0).timeStamp, monitortest::T0);
}

TEST(PelmEvent, SeverityFollowsTheQualifier)
{
    const struct {
        int qual;
        int severity;
    } cases[] = {{0, 2}, {1, 1}, {2, 2}, {3, 1}, {4, 1}, {5, 2}, {6, 1}, {7, 3},
                 {8, 2}, {9, 2}, {10, 1}, {11, 3}, {-1, 3}, {U, 3}};
    for (const auto& c : cases)
        EXPECT_EQ(ev(c.qual, 0, 0, 0, 1).getSeverity(), c.severity) << "Qual " << c.qual;
}

TEST(PelmEvent, OneLineFormHasTheSeverityWordAndText)
{
    const std::string gap = std::string(18, ' ') + "\t\t";
    EXPECT_EQ(ev(1, 0, 0, 0, 1, "", "Disk failed").toString(), "eventViewerFatal" + gap + "Disk failed");
    EXPECT_EQ(ev(0, 0, 0, 0, 1, "", "Media").toString(), "eventViewerCritical" + gap + "Media");
    EXPECT_EQ(ev(7, 0, 0, 0, 1, "", "Started").toString(), "eventViewerInformation" + gap + "Started");
}

TEST(PelmEventCollection, ListOperations)
{
    PelmEventCollection list;
    list.addEvent(ev(1, 0, 0, 0, 1, "/ld0", "a"));
    list.addEvent(ev(0, 0, 3, 0x81, 2, "/c0/t1", "b"));
    list.addEvent(ev(7, 0, 1, 0x10, 3, "/ld0", "c"));
    list.mergeEvents(list);
    EXPECT_EQ(list.getNumberOfEvents(), 6);
    EXPECT_EQ(list.getFatalEvents().size(), 2u);
    EXPECT_EQ(list.getWarningEvents().size(), 2u);
    EXPECT_EQ(list.getInformationEvents().size(), 2u);
    EXPECT_EQ(list.getEvent(6).Sequence, 0); // outside the list

    // Status and the time stamp are not compared.
    PelmEvent other = ev(0, 5, 3, 0x81, 2, "/c0/t1", "b");
    other.timeStamp = 1;
    EXPECT_EQ(PelmEventCollection::compareEvents(other, list.getEvent(1)), 0);
    other.Description = "B";
    EXPECT_EQ(PelmEventCollection::compareEvents(other, list.getEvent(1)), -1);
    EXPECT_EQ(list.deleteEvent(ev(0, 9, 3, 0x81, 2, "/c0/t1", "b")), 1);
    EXPECT_EQ(list.getNumberOfEvents(), 5);
    EXPECT_EQ(list.getEvent(1).Sequence, 3);
    EXPECT_EQ(list.deleteEvent(ev(0, 0, 3, 0x81, 99)), 0);
}

} // namespace
