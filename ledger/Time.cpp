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

std::string CTime::Format(const char* format) const
{
    struct tm t = {};
    if (!BreakDown(t))
        return std::string();
    char buffer[256];
    const size_t n = strftime(buffer, sizeof buffer, format, &t);
    return std::string(buffer, n);
}
