#pragma once
// A value as callers hand it to the formatter and the registry class: nothing, a text, a 16-bit
// or 32-bit integer, a byte array, or another scalar (a floating-point number, a boolean, a
// date) that converts to text.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

struct Date {
    int Year = 1899, Month = 12, Day = 30;
    int Hour = 0, Minute = 0, Second = 0;
    bool operator==(const Date&) const = default;
};

using ByteArray = std::vector<uint8_t>;

using Variant =
    std::variant<std::monostate, std::string, int16_t, int32_t, ByteArray, double, bool, Date>;

inline bool IsEmpty(const Variant& v) { return std::holds_alternative<std::monostate>(v); }

// Text form of a value: texts unchanged, integers and numbers in invariant decimal form (point as
// separator, shortest form that reads back exactly), booleans "True"/"False", dates as
// yyyy-mm-dd with " hh:nn:ss" when the time is not midnight, byte arrays as their bytes taken as
// 8-bit characters, nothing as "".
std::string ToText(const Variant& v);
