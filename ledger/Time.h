#pragma once
// Calendar time as the checkbook file stores it: a signed 32-bit count of
// seconds since 1970-01-01 00:00 UTC, broken down and built in local time.

#include <cstdint>
#include <functional>
#include <string>

class CTime
{
public:
    CTime() = default;
    explicit CTime(int64_t seconds) : m_time(Clamp(seconds)) {}
    // Local time; out-of-range fields are normalised the way mktime does
    // (31 February becomes 3 March), daylight saving left to the platform.
    CTime(int year, int month, int day, int hour, int minute, int second);

    static CTime GetCurrentTime();

    int32_t GetTime() const { return m_time; }
    int GetYear() const;
    int GetMonth() const;  // 1..12
    int GetDay() const;    // 1..31
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;  // 1 = Sunday .. 7 = Saturday

    // strftime on the local break-down.
    std::string Format(const char* format) const;

    // The local calendar date as a count of days since 1 January 1970, so
    // two times compare by the day they fall on, whatever the zone.
    int64_t GetDayNumber() const;
    // The same time of day on the calendar day `days` later (earlier when
    // negative). A fixed number of seconds would slip a day across a
    // daylight-saving change; a time the clocks skip that day moves on as
    // the platform normalises it.
    CTime AddDays(int days) const;

    CTime operator+(int64_t seconds) const { return CTime(int64_t(m_time) + seconds); }
    CTime operator-(int64_t seconds) const { return CTime(int64_t(m_time) - seconds); }
    int64_t operator-(CTime other) const { return int64_t(m_time) - other.m_time; }
    bool operator==(CTime o) const { return m_time == o.m_time; }
    bool operator!=(CTime o) const { return m_time != o.m_time; }
    bool operator<(CTime o) const { return m_time < o.m_time; }
    bool operator<=(CTime o) const { return m_time <= o.m_time; }
    bool operator>(CTime o) const { return m_time > o.m_time; }
    bool operator>=(CTime o) const { return m_time >= o.m_time; }

    static constexpr int64_t kDay = 86400;

private:
    // Times past the 32-bit range saturate rather than wrap into the past.
    static int32_t Clamp(int64_t seconds);
    bool BreakDown(struct tm& out) const;

    int32_t m_time = 0;
};

// The one clock every "now" in the program is read from; tests replace it.
namespace Clock
{
using Source = std::function<int64_t()>;
int64_t Now();
void Set(Source source);  // an empty source restores the system clock
}
