// CIM datetimes: time stamps and intervals, their calendar fields and text.
#include <cimple/Datetime.h>
#include <cimple/String.h>
#include <cimple/Time.h>

#include <cstdlib>
#include <ctime>

namespace cimple {

namespace {

const uint64 MAX_DAYS = 100000000; // eight digits of days in an interval

// Days from 1970-01-01 to the given proleptic Gregorian date.
sint64 days_from_civil(sint64 y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const sint64 era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<sint64>(doe) - 719468;
}

void civil_from_days(sint64 z, uint32& y, uint32& m, uint32& d)
{
    z += 719468;
    const sint64 era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<uint32>(static_cast<sint64>(yoe) + era * 400 + (m <= 2));
}

unsigned days_in_month(uint32 y, uint32 m)
{
    static const unsigned days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return m == 2 && leap ? 29 : days[m - 1];
}

// The first microsecond after 9999-12-31 23:59:59.999999 UTC.
const uint64 END_USEC = static_cast<uint64>(days_from_civil(10000, 1, 1)) * Datetime::DAY;

// Writes v in decimal, with zeros in front to at least `width` digits (as
// printf's %0*u does, without its cost); returns the end.
char* put_digits(char* p, uint64 v, int width)
{
    char reversed[24];
    int n = 0;
    do {
        reversed[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v);
    while (n < width)
        reversed[n++] = '0';
    while (n > 0)
        *p++ = reversed[--n];
    return p;
}

// Reads exactly n decimal digits.
bool digits(const char* s, int n, uint32& value)
{
    value = 0;
    for (int i = 0; i < n; i++) {
        if (s[i] < '0' || s[i] > '9')
            return false;
        value = value * 10 + static_cast<uint32>(s[i] - '0');
    }
    return true;
}

} // namespace

Datetime Datetime::now()
{
    uint64 usec = Time::now();
    time_t secs = static_cast<time_t>(usec / SEC);
    struct tm local;
    sint32 utc = 0;
    if (localtime_r(&secs, &local))
        utc = static_cast<sint32>(local.tm_gmtoff / 60);
    Datetime dt;
    if (!dt.set_timestamp(usec, utc))
        dt.set_timestamp(usec, 0);
    return dt;
}

bool Datetime::set_timestamp(uint32 year, uint32 month, uint32 day, uint32 hours, uint32 minutes, uint32 seconds,
                             uint32 microseconds, sint32 utc)
{
    if (year < 1970 || year > 9999 || month < 1 || month > 12 || day < 1 || day > days_in_month(year, month) ||
        hours > 23 || minutes > 59 || seconds > 59 || microseconds >= SEC || utc < -999 || utc > 999)
        return false;
    // The fields are local time of the zone `utc` minutes east of UTC.
    sint64 local = (days_from_civil(year, month, day) * 86400 + hours * 3600 + minutes * 60 + seconds) *
                       static_cast<sint64>(SEC) +
                   microseconds;
    sint64 instant = local - static_cast<sint64>(utc) * static_cast<sint64>(MIN);
    if (instant < 0)
        return false;
    _usec = static_cast<uint64>(instant);
    _utc = utc;
    _interval = false;
    return true;
}

bool Datetime::set_timestamp(uint64 usec, sint32 utc)
{
    if (usec >= END_USEC || utc < -999 || utc > 999)
        return false;
    _usec = usec;
    _utc = utc;
    _interval = false;
    return true;
}

bool Datetime::get_timestamp(uint32& year, uint32& month, uint32& day, uint32& hours, uint32& minutes,
                             uint32& seconds, uint32& microseconds, sint32& utc) const
{
    if (_interval)
        return false;
    sint64 local = static_cast<sint64>(_usec) + static_cast<sint64>(_utc) * static_cast<sint64>(MIN);
    if (local < 0)
        local = 0;
    sint64 secs = local / static_cast<sint64>(SEC);
    civil_from_days(secs / 86400, year, month, day);
    sint64 rest = secs % 86400;
    hours = static_cast<uint32>(rest / 3600);
    minutes = static_cast<uint32>(rest / 60 % 60);
    seconds = static_cast<uint32>(rest % 60);
    microseconds = static_cast<uint32>(local % static_cast<sint64>(SEC));
    utc = _utc;
    return true;
}

bool Datetime::set_interval(uint32 days, uint32 hours, uint32 minutes, uint32 seconds, uint32 microseconds)
{
    if (days >= MAX_DAYS || hours > 23 || minutes > 59 || seconds > 59 || microseconds >= SEC)
        return false;
    _usec = days * DAY + hours * HOUR + minutes * MIN + seconds * SEC + microseconds;
    _utc = 0;
    _interval = true;
    return true;
}

bool Datetime::set_interval(uint64 usec)
{
    if (usec / DAY >= MAX_DAYS)
        return false;
    _usec = usec;
    _utc = 0;
    _interval = true;
    return true;
}

bool Datetime::get_interval(uint32& days, uint32& hours, uint32& minutes, uint32& seconds,
                            uint32& microseconds) const
{
    if (!_interval)
        return false;
    days = static_cast<uint32>(_usec / DAY);
    hours = static_cast<uint32>(_usec / HOUR % 24);
    minutes = static_cast<uint32>(_usec / MIN % 60);
    seconds = static_cast<uint32>(_usec / SEC % 60);
    microseconds = static_cast<uint32>(_usec % SEC);
    return true;
}

void Datetime::ascii(String& out, bool prettify) const
{
    // "%08u%02u%02u%02u.%06u:000" for an interval; "%04u%02u%02u%02u%02u%02u.
    // %06u%c%03d" for a time stamp, or with prettify "%04u/%02u/%02u %02u:%02u:
    // %02u.%06u%c%03d".
    char buf[64];
    char* p = buf;
    if (_interval) {
        uint32 days, hours, minutes, seconds, usec;
        get_interval(days, hours, minutes, seconds, usec);
        p = put_digits(p, days, 8);
        p = put_digits(p, hours, 2);
        p = put_digits(p, minutes, 2);
        p = put_digits(p, seconds, 2);
        *p++ = '.';
        p = put_digits(p, usec, 6);
        for (const char* tail = ":000"; *tail; tail++)
            *p++ = *tail;
    } else {
        uint32 year, month, day, hours, minutes, seconds, usec;
        sint32 utc;
        get_timestamp(year, month, day, hours, minutes, seconds, usec, utc);
        const uint32 fields[] = {year, month, day, hours, minutes, seconds};
        for (int i = 0; i < 6; i++) {
            if (i > 0 && prettify)
                *p++ = "// ::"[i - 1];
            p = put_digits(p, fields[i], i == 0 ? 4 : 2);
        }
        *p++ = '.';
        p = put_digits(p, usec, 6);
        *p++ = utc < 0 ? '-' : '+';
        p = put_digits(p, static_cast<uint32>(utc < 0 ? -utc : utc), 3);
    }
    out.assign(buf, static_cast<size_t>(p - buf));
}

bool Datetime::set(const char* s)
{
    if (!s)
        return false;
    size_t n = 0;
    while (n < 26 && s[n])
        n++;
    if (n != 25 || s[14] != '.')
        return false;
    uint32 a, b, c, d, usec, tail;
    if (!digits(s + 8, 2, b) || !digits(s + 10, 2, c) || !digits(s + 12, 2, d) || !digits(s + 15, 6, usec) ||
        !digits(s + 22, 3, tail))
        return false;
    Datetime dt;
    if (s[21] == ':') {
        if (!digits(s, 8, a) || tail != 0 || !dt.set_interval(a, b, c, d, usec))
            return false;
    } else if (s[21] == '+' || s[21] == '-') {
        uint32 year, month;
        if (!digits(s, 4, year) || !digits(s + 4, 2, month) || !digits(s + 6, 2, a))
            return false;
        sint32 utc = static_cast<sint32>(tail) * (s[21] == '-' ? -1 : 1);
        if (!dt.set_timestamp(year, month, a, b, c, d, usec, utc))
            return false;
    } else {
        return false;
    }
    *this = dt;
    return true;
}

} // namespace cimple
