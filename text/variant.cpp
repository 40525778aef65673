#include "variant.h"

#include <cstdio>

#include "text/number_text.h"

namespace {
std::string DateText(const Date& d) {
    char buf[32];
    if (d.Hour == 0 && d.Minute == 0 && d.Second == 0)
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.Year, d.Month, d.Day);
    else
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", d.Year, d.Month, d.Day,
                      d.Hour, d.Minute, d.Second);
    return buf;
}
} // namespace

std::string ToText(const Variant& v) {
    struct Visitor {
        std::string operator()(std::monostate) const { return {}; }
        std::string operator()(const std::string& s) const { return s; }
        std::string operator()(int16_t i) const { return std::to_string(i); }
        std::string operator()(int32_t i) const { return std::to_string(i); }
        std::string operator()(const ByteArray& b) const { return std::string(b.begin(), b.end()); }
        std::string operator()(double d) const { return ShortestNumberText(d); }
        std::string operator()(bool b) const { return b ? "True" : "False"; }
        std::string operator()(const Date& d) const { return DateText(d); }
    };
    return std::visit(Visitor{}, v);
}
