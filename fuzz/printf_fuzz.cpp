// The placeholder formatter with any format text and any values: it gives a text or raises one of
// its own errors, nothing else.
//
// Input: the first byte is the separator; the rest, split at it, is the format text followed by up
// to nine values, each a kind letter and its payload:
//   e  nothing               s  a text                a  a byte array
//   h  16-bit integer        l  32-bit integer        (decimal digits, e.g. "l-5")
//   d  a number in decimal   D  a number's 8 raw bytes (infinities and NaNs too)
//   b  a boolean ("b1")      t  a date: up to six integers, year month day hour minute second
// A value of any other kind is taken whole as a text. "|[*] of [0.00]|sJet|d2.675" is one case.
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "text/printf.h"

namespace {

template <typename Int> Int Integer(std::string_view text) {
    Int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

Date DateFrom(std::string_view text) {
    int parts[6] = {1899, 12, 30, 0, 0, 0};
    size_t at = 0;
    for (int& part : parts) {
        while (at < text.size() && text[at] != '-' && (text[at] < '0' || text[at] > '9'))
            ++at;
        if (at == text.size())
            break;
        auto [end, error] = std::from_chars(text.data() + at, text.data() + text.size(), part);
        at = end == text.data() + at ? at + 1 : static_cast<size_t>(end - text.data());
        (void)error;
    }
    return Date{parts[0], parts[1], parts[2], parts[3], parts[4], parts[5]};
}

Variant ValueFrom(std::string_view item) {
    if (item.empty())
        return std::string();
    const std::string_view payload = item.substr(1);
    switch (item[0]) {
    case 'e':
        return std::monostate{};
    case 's':
        return std::string(payload);
    case 'a':
        return ByteArray(payload.begin(), payload.end());
    case 'h':
        return Integer<int16_t>(payload);
    case 'l':
        return Integer<int32_t>(payload);
    case 'd': {
        double value = 0;
        std::from_chars(payload.data(), payload.data() + payload.size(), value);
        return value;
    }
    case 'D': {
        uint64_t bits = 0;
        std::memcpy(&bits, payload.data(), std::min<size_t>(payload.size(), sizeof bits));
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    case 'b':
        return !payload.empty() && payload[0] == '1';
    case 't':
        return DateFrom(payload);
    default:
        return std::string(item);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const char separator = static_cast<char>(data[0]);
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);

    size_t end = input.find(separator);
    const std::string format(input.substr(0, end));
    std::vector<Variant> values;
    while (end != std::string_view::npos && values.size() < 9) {
        const size_t start = end + 1;
        end = input.find(separator, start);
        values.push_back(ValueFrom(input.substr(start, end == input.npos ? end : end - start)));
    }

    try {
        const std::string text = modAPI::printf(format, values);
        // Without a placeholder or an escape the format comes back as it stands.
        if (format.find_first_of("[\\") == std::string::npos && text != format)
            std::abort();
    } catch (const RaisedError& error) {
        const bool known = (error.Number == kErrPrintfMissingBracket && error.Source == "printf") ||
                           (error.Number == kErrPrintfMissingValue && error.Source == "printf") ||
                           (error.Number == kErrPrintfScript && error.Source == "sprintf");
        if (!known)
            std::abort();
    }
    // Any other exception leaves this function, and the fuzzer reports it.
    return 0;
}
