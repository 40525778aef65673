#include "text/calendar.h"

#include <cmath>

namespace {
constexpr int64_t kSecondsPerDay = 86400;

// Days since 1970-01-01 for year/month/day, month 1 to 12.
constexpr int64_t Days(int64_t y, int m, int d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t mp = m > 2 ? m - 3 : m + 9;
    const int64_t doy = (153 * mp + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

constexpr int64_t kEpoch = Days(1899, 12, 30);
// The serial of 10000-01-01: no serial reaches past it.
constexpr int64_t kSerialLimit = Days(10000, 1, 1) - kEpoch;

void CivilFromDays(int64_t z, int64_t& y, int& m, int& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = yoe + era * 400 + (m <= 2);
}
} // namespace

int64_t DaysFromCivil(int64_t year, int month, int day) {
    return Days(year, month, day);
}

int DaysInMonth(int64_t year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

bool IsValidDate(const Date& d) {
    return d.Year >= 1 && d.Year <= 9999 && d.Month >= 1 && d.Month <= 12 && d.Day >= 1 &&
           d.Day <= DaysInMonth(d.Year, d.Month) && d.Hour >= 0 && d.Hour <= 23 && d.Minute >= 0 &&
           d.Minute <= 59 && d.Second >= 0 && d.Second <= 59;
}

int Weekday(const Date& d) {
    // 1970-01-01 was a Thursday.
    const int64_t days = DaysFromCivil(d.Year, d.Month, d.Day);
    return static_cast<int>(((days % 7) + 7 + 4) % 7) + 1;
}

int DayOfYear(const Date& d) {
    return static_cast<int>(DaysFromCivil(d.Year, d.Month, d.Day) - DaysFromCivil(d.Year, 1, 1)) +
           1;
}

int WeekOfYear(const Date& d) {
    const Date first{d.Year, 1, 1};
    return (DayOfYear(d) - 1 + Weekday(first) - 1) / 7 + 1;
}

double SerialFromDate(const Date& d) {
    const double day = static_cast<double>(DaysFromCivil(d.Year, d.Month, d.Day) - kEpoch);
    const double time = (d.Hour * 3600 + d.Minute * 60 + d.Second) / double(kSecondsPerDay);
    return day >= 0 ? day + time : day - time;
}

bool DateFromSerial(double serial, Date& d) {
    if (!std::isfinite(serial) || std::fabs(serial) >= double(kSerialLimit))
        return false;
    const double whole = std::trunc(serial);
    int64_t day = static_cast<int64_t>(whole);
    int64_t seconds = std::llround(std::fabs(serial - whole) * kSecondsPerDay);
    if (seconds >= kSecondsPerDay) {
        seconds = 0;
        day += serial < 0 ? -1 : 1;
    }
    int64_t year = 0;
    int month = 0, dayOfMonth = 0;
    CivilFromDays(day + kEpoch, year, month, dayOfMonth);
    if (year < 1 || year > 9999)
        return false;
    d = Date{static_cast<int>(year),
             month,
             dayOfMonth,
             static_cast<int>(seconds / 3600),
             static_cast<int>(seconds / 60 % 60),
             static_cast<int>(seconds % 60)};
    return true;
}
