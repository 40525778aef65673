#pragma once
// Reads a fuzzer's input front to back: bytes, little-endian numbers and byte runs. Past the end
// every read gives zeros or nothing, so any input is a whole case.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    size_t Left() const { return m_size - m_pos; }

    uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    // The operands of "|" are evaluated in no fixed order, so each part is read on its own.
    uint16_t U16() {
        const uint16_t low = Byte();
        return static_cast<uint16_t>(low | Byte() << 8);
    }
    uint32_t U32() {
        const uint32_t low = U16();
        return low | static_cast<uint32_t>(U16()) << 16;
    }
    uint64_t U64() {
        const uint64_t low = U32();
        return low | static_cast<uint64_t>(U32()) << 32;
    }

    std::vector<uint8_t> Bytes(size_t count) {
        count = count < Left() ? count : Left();
        std::vector<uint8_t> out(m_data + m_pos, m_data + m_pos + count);
        m_pos += count;
        return out;
    }
    // A run whose length comes first, in one byte.
    std::vector<uint8_t> ShortRun() { return Bytes(Byte()); }
    std::string ShortText() {
        std::vector<uint8_t> bytes = ShortRun();
        return std::string(bytes.begin(), bytes.end());
    }
    std::vector<uint8_t> Rest() { return Bytes(Left()); }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};
