#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "RaidLib/Util/Date.h"

namespace {

// Tuesday, June 15, 2021, 13:45:30 UTC.
const time_t kNow = 1623764730;
time_t fixedClock() { return kNow; }

class DateTest : public ::testing::Test {
protected:
    void SetUp() override { previous_ = Date::setClock(fixedClock); }
    void TearDown() override { Date::setClock(previous_); }

    Date::ClockFn previous_ = nullptr;
};

struct Expect {
    unsigned month, day, year, hour, minutes, seconds;
};

void expectDate(const Date& d, const Expect& e, const char* what)
{
    EXPECT_EQ(d.getMonth(), e.month) << what;
    EXPECT_EQ(d.getDay(), e.day) << what;
    EXPECT_EQ(d.getYear(), e.year) << what;
    EXPECT_EQ(d.getHour(), e.hour) << what;
    EXPECT_EQ(d.getMinutes(), e.minutes) << what;
    EXPECT_EQ(d.getSeconds(), e.seconds) << what;
}

} // namespace

TEST_F(DateTest, ConstructorsCorrectAndNormalize)
{
    expectDate(Date(), {5, 15, 121, 13, 45, 30}, "now");
    EXPECT_EQ(Date().getTime(), static_cast<uint32_t>(kNow));

    const Date epochDay(12, 0, 50);
    expectDate(epochDay, {0, 1, 70, 13, 45, 30}, "month 12, day 0, year 50");
    EXPECT_EQ(epochDay.getTime(), 13u * 3600 + 45 * 60 + 30);

    const Date capped(12, 40, 105, 30, 75, 99);
    expectDate(capped, {11, 31, 105, 23, 59, 59}, "everything above its range");
    EXPECT_EQ(capped.getTime(), 1136073599u);

    const Date feb31(1, 31, 107);
    expectDate(feb31, {2, 3, 107, 13, 45, 30}, "February 31 is March 3");
    EXPECT_EQ(feb31.getTime(), 1172929530u);
}

TEST_F(DateTest, SettersIgnoreValuesOutOfRange)
{
    Date d;
    d.setMonth(12);
    d.setDay(0);
    d.setDay(32);
    d.setYear(69);
    d.setHour(24);
    d.setMinutes(60);
    d.setSeconds(60);
    d.setTime(0);
    d.setTime(-5);
    EXPECT_EQ(d.getTime(), static_cast<uint32_t>(kNow));
    expectDate(d, {5, 15, 121, 13, 45, 30}, "unchanged");

    d.setMonth(1);
    d.setDay(30); // February 30, 2021 is March 2
    expectDate(d, {2, 2, 121, 13, 45, 30}, "normalized by the setter");
    d.setYear(100);
    d.setHour(0);
    d.setMinutes(1);
    d.setSeconds(2);
    expectDate(d, {2, 2, 100, 0, 1, 2}, "each setter changes its field");

    d.setTime(86400);
    expectDate(d, {0, 2, 70, 0, 0, 0}, "setTime");
}

TEST_F(DateTest, ComparisonsAndText)
{
    const Date early(0, 1, 100, 0, 0, 0);
    const Date late(0, 1, 100, 0, 0, 1);
    EXPECT_TRUE(early.before(late));
    EXPECT_FALSE(early.after(late));
    EXPECT_TRUE(late.after(early));
    EXPECT_FALSE(late.before(early));
    EXPECT_TRUE(early != late);

    Date copy(late);
    EXPECT_TRUE(copy == late);
    EXPECT_FALSE(copy.before(late) || copy.after(late));
    copy = early;
    EXPECT_TRUE(copy == early);

    // Each date keeps its own record.
    Date a;
    const Date b(0, 1, 100, 0, 0, 0);
    a.setYear(110);
    EXPECT_EQ(b.getYear(), 100u);

    EXPECT_EQ(Date().toString(), "Tue Jun 15 13:45:30 2021\n");
}

TEST_F(DateTest, HourKeptAcrossDaylightSavingChange)
{
    // Now is summer time in this zone; a winter date built now must still
    // carry the hour it was given.
    const char* saved = std::getenv("TZ");
    const std::string previous = saved != nullptr ? saved : "";
    setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    tzset();

    const Date winter(0, 15, 120, 12, 0, 0);
    Date changed;
    changed.setMonth(0);
    const unsigned changedHour = changed.getHour();

    if (saved != nullptr)
        setenv("TZ", previous.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();

    expectDate(winter, {0, 15, 120, 12, 0, 0}, "January 15, 2020 12:00 local time");
    EXPECT_EQ(winter.getTime(), 1579086000u); // 11:00 UTC
    EXPECT_EQ(changedHour, 15u);              // 13:45 UTC is 15:45 in summer
}
