#include "text/date_pattern.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

#include "text/calendar.h"
#include "text/pattern_lexer.h"

namespace {

constexpr const char* kDayNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                     "Thursday", "Friday", "Saturday"};
constexpr const char* kMonthNames[] = {"January",   "February", "March",    "April",
                                       "May",       "June",     "July",     "August",
                                       "September", "October",  "November", "December"};

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool IsTokenLetter(char c) {
    return c == 'd' || c == 'm' || c == 'y' || c == 'h' || c == 'n' || c == 's' || c == 'w' ||
           c == 'q' || c == 'c';
}

// True when the items from i on spell word as pattern characters, in either case.
bool Spells(const std::vector<PatternItem>& items, size_t i, std::string_view word) {
    if (items.size() - i < word.size())
        return false;
    for (size_t k = 0; k < word.size(); ++k)
        if (Lower(items[i + k].Char()) != word[k])
            return false;
    return true;
}

// The letter of the next date token from i on, or 0.
char NextToken(const std::vector<PatternItem>& items, size_t i) {
    for (; i < items.size(); ++i) {
        const char c = Lower(items[i].Char());
        if (IsTokenLetter(c))
            return c;
    }
    return 0;
}

std::string Number(int value, int width) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%0*d", width, value);
    return buf;
}

std::string ShortDate(const Date& d) {
    return Number(d.Year, 4) + "-" + Number(d.Month, 2) + "-" + Number(d.Day, 2);
}

std::string LongDate(const Date& d) {
    return std::string(kDayNames[Weekday(d) - 1]) + ", " + kMonthNames[d.Month - 1] + " " +
           std::to_string(d.Day) + ", " + Number(d.Year, 4);
}

} // namespace

std::string FormatDate(const Date& d, std::string_view pattern) {
    const auto items = LexSection(pattern);
    bool twelveHour = false;
    for (size_t i = 0; i < items.size(); ++i)
        if (Spells(items, i, "am/pm") || Spells(items, i, "a/p"))
            twelveHour = true;
    const int hour = twelveHour ? (d.Hour % 12 == 0 ? 12 : d.Hour % 12) : d.Hour;

    std::string out;
    char previous = 0;
    for (size_t i = 0; i < items.size();) {
        const char c = Lower(items[i].Char());
        if (c == 'a' && Spells(items, i, "am/pm")) {
            const bool upper = items[i].Char() == 'A';
            out += d.Hour < 12 ? (upper ? "AM" : "am") : (upper ? "PM" : "pm");
            i += 5;
            continue;
        }
        if (c == 'a' && Spells(items, i, "a/p")) {
            const bool upper = items[i].Char() == 'A';
            out += d.Hour < 12 ? (upper ? "A" : "a") : (upper ? "P" : "p");
            i += 3;
            continue;
        }
        if (!IsTokenLetter(c)) {
            out += items[i].Text;
            ++i;
            continue;
        }
        size_t run = 1;
        while (i + run < items.size() && Lower(items[i + run].Char()) == c)
            ++run;
        size_t take = 1;
        char token = c;
        switch (c) {
        case 'd':
            take = std::min<size_t>(run, 6);
            if (take == 1)
                out += std::to_string(d.Day);
            else if (take == 2)
                out += Number(d.Day, 2);
            else if (take == 3)
                out += std::string(kDayNames[Weekday(d) - 1]).substr(0, 3);
            else if (take == 4)
                out += kDayNames[Weekday(d) - 1];
            else if (take == 5)
                out += ShortDate(d);
            else
                out += LongDate(d);
            break;
        case 'm':
            take = run >= 4 ? 4 : run;
            if (take <= 2 && (previous == 'h' || NextToken(items, i + take) == 's')) {
                token = 'n';
                out += take == 1 ? std::to_string(d.Minute) : Number(d.Minute, 2);
            } else if (take <= 2) {
                out += take == 1 ? std::to_string(d.Month) : Number(d.Month, 2);
            } else if (take == 3) {
                out += std::string(kMonthNames[d.Month - 1]).substr(0, 3);
            } else {
                out += kMonthNames[d.Month - 1];
            }
            break;
        case 'y':
            take = run >= 4 ? 4 : run >= 2 ? 2 : 1;
            if (take == 4)
                out += Number(d.Year, 4);
            else if (take == 2)
                out += Number(d.Year % 100, 2);
            else
                out += std::to_string(DayOfYear(d));
            break;
        case 'h':
        case 'n':
        case 's': {
            take = std::min<size_t>(run, 2);
            const int value = c == 'h' ? hour : c == 'n' ? d.Minute : d.Second;
            out += take == 1 ? std::to_string(value) : Number(value, 2);
            break;
        }
        case 'w':
            take = std::min<size_t>(run, 2);
            out += std::to_string(take == 1 ? Weekday(d) : WeekOfYear(d));
            break;
        case 'q':
            out += std::to_string((d.Month - 1) / 3 + 1);
            break;
        default: // 'c'
            out += ToText(Variant(d));
            break;
        }
        previous = token;
        i += take;
    }
    return out;
}
