#include "Time.h"

#include <climits>
#include <ctime>

namespace
{
Clock::Source& ClockSource()
{
    static Clock::Source source;
    return source;
}
}

int64_t Clock::Now()
{
    const Source& source = ClockSource();
    return source ? source() : int64_t(std::time(nullptr));
}

void Clock::Set(Source source)
{
    ClockSource() = std::move(source);
}

int32_t CTime::Clamp(int64_t seconds)
{
    if (seconds > INT32_MAX)
        return INT32_MAX;
    if (seconds < INT32_MIN)
        return INT32_MIN;
    return int32_t(seconds);
}

CTime::CTime(int year, int month, int day, int hour, int minute, int second)
{
    struct tm t = {};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    const time_t made = mktime(&t);
    m_time = Clamp(int64_t(made));
}

CTime CTime::GetCurrentTime()
{
    return CTime(Clock::Now());
}

bool CTime::BreakDown(struct tm& out) const
{
    const time_t value = m_time;
    return localtime_r(&value, &out) != nullptr;
}

int CTime::GetYear() const
{
    struct tm t = {};
    return BreakDown(t) ? t.tm_year + 1900 : 1970;
}

int CTime::GetMonth() const
{
    struct tm t = {};
    return BreakDown(t) ? t.tm_mon + 1 : 1;
}

int CTime::GetDay() const
{
    struct tm t = {};
    return BreakDown(t) ? t.tm_mday : 1;
}

int CTime::GetHour() const
{
    struct tm t = {};
    return BreakDown(t) ? t.tm_hour : 0;
}

int CTime::GetMinute() const
{
    struct tm t = {};
    return BreakDown(t) ? t.tm_min : 0;
}

int CTime::GetSecond() const
{
    struct tm t = {};
    return BreakDown(t) ? t.tm_sec : 0;
}

int CTime::GetDayOfWeek() const
{
    struct tm t = {};
    return BreakDown(t) ? t.tm_wday + 1 : 1;
}

namespace
{
// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t year, int month, int day)
{
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}
}

int64_t CTime::GetDayNumber() const
{
    struct tm t = {};
    if (!BreakDown(t))
        return int64_t(m_time) / kDay;
    return DaysFromCivil(int64_t(t.tm_year) + 1900, t.tm_mon + 1, t.tm_mday);
}

CTime CTime::AddDays(int days) const
{
    struct tm t = {};
    if (!BreakDown(t))
        return *this + int64_t(days) * kDay;
    return CTime(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday + days, t.tm_hour, t.tm_min, t.tm_sec);
}

std::string CTime::Format(const char* format) const
{
    struct tm t = {};
    if (!BreakDown(t))
        return std::string();
    char buffer[256];
    const size_t n = strftime(buffer, sizeof buffer, format, &t);
    return std::string(buffer, n);
}
