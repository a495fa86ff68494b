#include "RaidLib/Util/Date.h"

#include <atomic>
#include <climits>
#include <cstring>

namespace {

time_t systemClock() { return time(nullptr); }

// Read by threads of the monitors too; tests swap it.
std::atomic<Date::ClockFn> currentClock{systemClock};

// Years beyond what the record's int holds are capped there (mktime then
// reports the overflow).
int yearField(unsigned year) { return year > static_cast<unsigned>(INT_MAX) ? INT_MAX : static_cast<int>(year); }

} // namespace

Date::ClockFn Date::setClock(ClockFn clock)
{
    return currentClock.exchange(clock != nullptr ? clock : systemClock);
}

time_t Date::now() { return currentClock.load()(); }

Date::Date() : timer(0), currentTime() { refresh(); }

Date::Date(unsigned month, unsigned day, unsigned year) : timer(0), currentTime()
{
    refresh();
    if (month > 11)
        month = 0;
    setFromParts(month, day, year, currentTime.tm_hour, currentTime.tm_min, currentTime.tm_sec);
}

Date::Date(unsigned month, unsigned day, unsigned year, unsigned hour, unsigned minutes, unsigned seconds)
    : timer(0), currentTime()
{
    refresh();
    if (month > 11)
        month = 11;
    setFromParts(month, day, year, hour > 23 ? 23 : static_cast<int>(hour),
                 minutes > 59 ? 59 : static_cast<int>(minutes), seconds > 59 ? 59 : static_cast<int>(seconds));
}

void Date::setFromParts(unsigned month, unsigned day, unsigned year, int hour, int minutes, int seconds)
{
    if (day == 0)
        day = 1;
    if (day > 31)
        day = 31;
    if (year < 70)
        year = 70;
    currentTime.tm_mon = static_cast<int>(month);
    currentTime.tm_mday = static_cast<int>(day);
    currentTime.tm_year = yearField(year);
    currentTime.tm_hour = hour;
    currentTime.tm_min = minutes;
    currentTime.tm_sec = seconds;
    normalize(currentTime);
}

// Computes timer from the record and normalizes the record. Daylight saving
// time is left to mktime to decide for the date itself, so that the hour
// given is the hour kept. False when the record has no representable time.
bool Date::normalize(struct tm& record)
{
    record.tm_isdst = -1;
    struct tm copy = record;
    const time_t t = mktime(&copy);
    if (t == static_cast<time_t>(-1)) {
        // -1 is also one second before the epoch; only then is it a time.
        struct tm check;
        if (localtime_r(&t, &check) == nullptr || check.tm_year != copy.tm_year ||
            check.tm_mon != copy.tm_mon || check.tm_mday != copy.tm_mday || check.tm_hour != copy.tm_hour ||
            check.tm_min != copy.tm_min || check.tm_sec != copy.tm_sec) {
            timer = t;
            return false;
        }
    }
    record = copy;
    timer = t;
    return true;
}

void Date::setTime(time_t t)
{
    if (t < 1)
        return;
    struct tm record;
    if (localtime_r(&t, &record) == nullptr)
        return;
    timer = t;
    currentTime = record;
}

void Date::refresh()
{
    timer = now();
    if (localtime_r(&timer, &currentTime) == nullptr)
        std::memset(&currentTime, 0, sizeof currentTime);
}

bool Date::setField(int std::tm::*field, int value)
{
    const time_t oldTimer = timer;
    struct tm record = currentTime;
    record.*field = value;
    if (!normalize(record)) {
        timer = oldTimer;
        return false;
    }
    currentTime = record;
    return true;
}

void Date::setMonth(unsigned m)
{
    if (m < 12)
        setField(&std::tm::tm_mon, static_cast<int>(m));
}

void Date::setDay(unsigned d)
{
    if (d >= 1 && d <= 31)
        setField(&std::tm::tm_mday, static_cast<int>(d));
}

void Date::setYear(unsigned y)
{
    if (y >= 70)
        setField(&std::tm::tm_year, yearField(y));
}

void Date::setHour(unsigned h)
{
    if (h < 24)
        setField(&std::tm::tm_hour, static_cast<int>(h));
}

void Date::setMinutes(unsigned m)
{
    if (m < 60)
        setField(&std::tm::tm_min, static_cast<int>(m));
}

void Date::setSeconds(unsigned s)
{
    if (s < 60)
        setField(&std::tm::tm_sec, static_cast<int>(s));
}

std::string Date::toString() const
{
    char text[64];
    if (ctime_r(&timer, text) == nullptr)
        return std::string();
    return text;
}
