#include "registry/value_data.h"

std::string TextFromStringData(const ByteArray& data) {
    size_t length = data.size();
    if (length > 0 && data[length - 1] == 0) {
        --length;
    }
    return std::string(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(length));
}

std::string TextFromMultiStringData(const ByteArray& data) {
    std::string text;
    size_t start = 0;
    while (start < data.size()) {
        size_t end = start;
        while (end < data.size() && data[end] != 0) {
            ++end;
        }
        if (end == start) {
            break; // the empty string that ends the list
        }
        text.append(data.begin() + static_cast<std::ptrdiff_t>(start),
                    data.begin() + static_cast<std::ptrdiff_t>(end));
        text.push_back('\0');
        start = end + 1;
    }
    return text;
}

std::optional<int32_t> IntegerFromDwordData(const ByteArray& data, bool bigEndian) {
    if (data.size() != 4) {
        return std::nullopt;
    }
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        uint8_t byte = bigEndian ? data[static_cast<size_t>(i)] : data[static_cast<size_t>(3 - i)];
        value = (value << 8) | byte;
    }
    return static_cast<int32_t>(value);
}

ByteArray DwordData(int32_t value) {
    auto bits = static_cast<uint32_t>(value);
    return {static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8),
            static_cast<uint8_t>(bits >> 16), static_cast<uint8_t>(bits >> 24)};
}

bool HasEnvironmentReference(const std::string& text) {
    size_t first = text.find('%');
    return first != std::string::npos && text.find('%', first + 2) != std::string::npos;
}
