#pragma once
// SHA-256 (FIPS 180-4), for the digest a build seals into the program: the systems the program
// starts on don't all have a SHA-256 provider (Windows 2000 and XP before SP3 lack it).
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

using Sha256Digest = std::array<uint8_t, 32>;

class Sha256 {
public:
    Sha256();
    void Update(std::span<const uint8_t> data);
    Sha256Digest Final();

private:
    void Block(const uint8_t* block);

    std::array<uint32_t, 8> m_state;
    std::array<uint8_t, 64> m_buffer = {};
    size_t m_buffered = 0;
    uint64_t m_length = 0; // bytes so far
};

Sha256Digest Sha256Of(std::span<const uint8_t> data);
