#ifndef DATE_H
#define DATE_H

#include <cstdint>
#include <ctime>
#include <string>

#include "RaidLib/Util/StorExport.h"

// A point in time in seconds with its own broken-down local time.
// Months count 0-11, years from 1900.
class STOR_EXPORT Date {
public:
    // The source of the current time; tests replace it. Returns the one before.
    typedef time_t (*ClockFn)();
    static ClockFn setClock(ClockFn clock);
    // Seconds since the epoch by that source.
    static time_t now();

    // Now.
    Date();
    // Today's time of day on the given date. Out-of-range values are
    // corrected: month above 11 becomes 0, day 0 becomes 1 and above 31
    // becomes 31, a year below 70 becomes 70; the result is normalized
    // (February 31 is March 3 or 2).
    Date(unsigned month, unsigned day, unsigned year);
    // The given date and time; as above except that a month above 11
    // becomes 11, and hour, minutes and seconds are capped at 23, 59, 59.
    Date(unsigned month, unsigned day, unsigned year, unsigned hour, unsigned minutes, unsigned seconds);

    bool operator==(const Date& d) const { return timer == d.timer; }
    bool operator!=(const Date& d) const { return timer != d.timer; }
    bool before(const Date& d) const { return timer < d.timer; }
    bool after(const Date& d) const { return timer > d.timer; }

    uint32_t getTime() const { return static_cast<uint32_t>(timer); }
    unsigned getMonth() const { return static_cast<unsigned>(currentTime.tm_mon); }
    unsigned getDay() const { return static_cast<unsigned>(currentTime.tm_mday); }
    unsigned getYear() const { return static_cast<unsigned>(currentTime.tm_year); }
    unsigned getHour() const { return static_cast<unsigned>(currentTime.tm_hour); }
    unsigned getMinutes() const { return static_cast<unsigned>(currentTime.tm_min); }
    unsigned getSeconds() const { return static_cast<unsigned>(currentTime.tm_sec); }

    // t below 1 is ignored.
    void setTime(time_t t);
    // Now, as the default constructor.
    void refresh();

    // Each changes one field and renormalizes; a value outside its range
    // (month 0-11, day 1-31, year 70 and above, hour 0-23, minutes and
    // seconds 0-59) is ignored.
    void setMonth(unsigned m);
    void setDay(unsigned d);
    void setYear(unsigned y);
    void setHour(unsigned h);
    void setMinutes(unsigned m);
    void setSeconds(unsigned s);

    // The ctime text: "Wed Jun 30 21:49:08 1993\n".
    std::string toString() const;

private:
    void setFromParts(unsigned month, unsigned day, unsigned year, int hour, int minutes, int seconds);
    bool normalize(struct tm& record);
    bool setField(int std::tm::*field, int value);

    time_t timer;
    struct tm currentTime;
};

#endif
