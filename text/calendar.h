#pragma once
// The proleptic Gregorian calendar as the formatter needs it, and dates as serial numbers:
// days since 1899-12-30, the time of day as the fraction (for days before that epoch the
// fraction counts forward from the day, so 1899-12-29 12:00 is -1.5).
#include <cstdint>

#include "text/variant.h"

// Year 1 to 9999, a month, a day of that month and a time of day 00:00:00 to 23:59:59.
bool IsValidDate(const Date& d);

int64_t DaysFromCivil(int64_t year, int month, int day); // days since 1970-01-01
int DaysInMonth(int64_t year, int month);

// 1 = Sunday ... 7 = Saturday.
int Weekday(const Date& d);
// 1 ... 366.
int DayOfYear(const Date& d);
// Weeks start on Sunday; the week that holds 1 January is week 1.
int WeekOfYear(const Date& d);

double SerialFromDate(const Date& d); // d must be valid
// False when the serial is not finite or names a day outside years 1 to 9999.
bool DateFromSerial(double serial, Date& d);
