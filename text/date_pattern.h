#pragma once
// Date patterns (letters in either case; separators such as ":", "/", "-" and spaces, and every
// other character, are shown as they stand):
//   d dd         day of the month, 1 / 01        ddd dddd   Sun / Sunday (English names)
//   ddddd        the date as yyyy-mm-dd          dddddd     Sunday, January 1, 2023
//   m mm         month, 1 / 01 (minutes right after an hour or right before a second)
//   mmm mmmm     Jan / January                   q          quarter, 1 to 4
//   yy yyyy      year, 23 / 2023                 y          day of the year, 1 to 366
//   w            weekday, 1 = Sunday to 7        ww         week of the year (weeks start on
//                                                           Sunday, the week of 1 January is 1)
//   h hh         hour, 0-23 (1-12 with AM/PM)    n nn       minute
//   s ss         second                          c          the date in its plain text form
//   AM/PM am/pm A/P a/p   a 12-hour clock with that marker
#include <string>
#include <string_view>

#include "text/variant.h"

// d must be valid (IsValidDate).
std::string FormatDate(const Date& d, std::string_view pattern);
