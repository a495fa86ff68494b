// A CIM datetime: a time stamp (a moment with the UTC offset of its local
// calendar fields) or an interval. The default value is the zero interval.
#ifndef CIMPLE_DATETIME_H
#define CIMPLE_DATETIME_H

#include "config.h"

namespace cimple {

class String;

class CIMPLE_EXPORT Datetime {
public:
    static const uint64 USEC = 1;
    static const uint64 MSEC = 1000;
    static const uint64 SEC = 1000000;
    static const uint64 MIN = 60 * SEC;
    static const uint64 HOUR = 60 * MIN;
    static const uint64 DAY = 24 * HOUR;

    Datetime() : _usec(0), _utc(0), _interval(true) {}

    // The current time (the framework clock), with the local UTC offset.
    static Datetime now();

    // Time stamps: microseconds since 1970-01-01 00:00:00 UTC; intervals: the
    // length in microseconds.
    uint64 usec() const { return _usec; }
    bool is_interval() const { return _interval; }
    bool is_timestamp() const { return !_interval; }
    // UTC offset in minutes of a time stamp's calendar fields.
    sint32 utc() const { return _utc; }

    // A time stamp from its calendar fields, read as local time of the zone
    // `utc` minutes east of UTC. Fields out of range (month 1-12, day within
    // the month, hours < 24, minutes and seconds < 60, microseconds < 10^6,
    // year 1970-9999, |utc| <= 999) are refused: false, nothing changes.
    bool set_timestamp(uint32 year, uint32 month, uint32 day, uint32 hours, uint32 minutes, uint32 seconds,
                       uint32 microseconds, sint32 utc);
    // A time stamp from microseconds since the epoch (false past year 9999).
    bool set_timestamp(uint64 usec, sint32 utc);
    bool get_timestamp(uint32& year, uint32& month, uint32& day, uint32& hours, uint32& minutes, uint32& seconds,
                       uint32& microseconds, sint32& utc) const;

    // An interval; hours < 24, minutes and seconds < 60, microseconds < 10^6
    // and days < 10^8, else false and nothing changes.
    bool set_interval(uint32 days, uint32 hours, uint32 minutes, uint32 seconds, uint32 microseconds);
    bool set_interval(uint64 usec);
    bool get_interval(uint32& days, uint32& hours, uint32& minutes, uint32& seconds, uint32& microseconds) const;

    // The 25-character CIM form ("yyyymmddhhmmss.mmmmmmsutc" or
    // "ddddddddhhmmss.mmmmmm:000"); with prettify a time stamp reads
    // "yyyy/mm/dd hh:mm:ss.mmmmmm+utc" (intervals keep the CIM form).
    void ascii(String& out, bool prettify = false) const;
    // Parses the CIM form; false (nothing changes) when it is not one.
    bool set(const char* cim_text);

    bool operator==(const Datetime& o) const
    {
        return _usec == o._usec && _interval == o._interval && (_interval || _utc == o._utc);
    }
    bool operator!=(const Datetime& o) const { return !(*this == o); }

private:
    uint64 _usec;
    sint32 _utc;
    bool _interval;
};

} // namespace cimple

#endif
