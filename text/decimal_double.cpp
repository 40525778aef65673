#include "text/decimal_double.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace {

// A nonnegative integer of any size: 32-bit limbs, least significant first, no leading zero limb.
class BigInt {
public:
    BigInt() = default;
    explicit BigInt(uint64_t v) {
        for (; v != 0; v >>= 32)
            m_limbs.push_back(static_cast<uint32_t>(v));
    }

    void MulSmall(uint32_t factor) {
        uint64_t carry = 0;
        for (auto& limb : m_limbs) {
            const uint64_t product = static_cast<uint64_t>(limb) * factor + carry;
            limb = static_cast<uint32_t>(product);
            carry = product >> 32;
        }
        if (carry != 0)
            m_limbs.push_back(static_cast<uint32_t>(carry));
    }

    void AddSmall(uint32_t addend) {
        uint64_t carry = addend;
        for (size_t i = 0; carry != 0 && i < m_limbs.size(); ++i) {
            const uint64_t sum = static_cast<uint64_t>(m_limbs[i]) + carry;
            m_limbs[i] = static_cast<uint32_t>(sum);
            carry = sum >> 32;
        }
        if (carry != 0)
            m_limbs.push_back(static_cast<uint32_t>(carry));
    }

    void MulPow5(unsigned n) {
        static constexpr uint32_t kPow5[] = {1,       5,        25,        125,       625,
                                             3125,    15625,    78125,     390625,    1953125,
                                             9765625, 48828125, 244140625, 1220703125};
        for (; n >= 13; n -= 13)
            MulSmall(kPow5[13]);
        MulSmall(kPow5[n]);
    }

    // Times a factor of up to 64 bits: its two halves, the upper one shifted into place.
    void MulLarge(uint64_t factor) {
        BigInt upper = *this;
        upper.MulSmall(static_cast<uint32_t>(factor >> 32));
        upper.ShiftLeft(32);
        MulSmall(static_cast<uint32_t>(factor));
        uint64_t carry = 0;
        m_limbs.resize(std::max(m_limbs.size(), upper.m_limbs.size()), 0);
        for (size_t i = 0; i < m_limbs.size(); ++i) {
            const uint64_t sum = static_cast<uint64_t>(m_limbs[i]) +
                                 (i < upper.m_limbs.size() ? upper.m_limbs[i] : 0) + carry;
            m_limbs[i] = static_cast<uint32_t>(sum);
            carry = sum >> 32;
        }
        if (carry != 0)
            m_limbs.push_back(static_cast<uint32_t>(carry));
        while (!m_limbs.empty() && m_limbs.back() == 0)
            m_limbs.pop_back();
    }

    void ShiftLeft(unsigned bits) {
        if (m_limbs.empty())
            return;
        if (const unsigned rest = bits % 32; rest != 0) {
            uint32_t carry = 0;
            for (auto& limb : m_limbs) {
                const uint32_t out = limb >> (32 - rest);
                limb = limb << rest | carry;
                carry = out;
            }
            if (carry != 0)
                m_limbs.push_back(carry);
        }
        m_limbs.insert(m_limbs.begin(), bits / 32, 0);
    }

    unsigned BitLength() const {
        if (m_limbs.empty())
            return 0;
        unsigned bits = static_cast<unsigned>(m_limbs.size() - 1) * 32;
        for (uint32_t top = m_limbs.back(); top != 0; top >>= 1)
            ++bits;
        return bits;
    }

    // The value as close as a double comes, times 2^-scale: the top 64 bits, rounded once.
    double Approximate(int& scale) const {
        const unsigned length = BitLength();
        scale = length > 64 ? static_cast<int>(length - 64) : 0;
        uint64_t top = 0;
        for (unsigned bit = length; bit-- > static_cast<unsigned>(scale);)
            top = top << 1 | ((m_limbs[bit / 32] >> (bit % 32)) & 1);
        return static_cast<double>(top);
    }

    friend int Compare(const BigInt& a, const BigInt& b) {
        if (a.m_limbs.size() != b.m_limbs.size())
            return a.m_limbs.size() < b.m_limbs.size() ? -1 : 1;
        for (size_t i = a.m_limbs.size(); i-- > 0;)
            if (a.m_limbs[i] != b.m_limbs[i])
                return a.m_limbs[i] < b.m_limbs[i] ? -1 : 1;
        return 0;
    }

private:
    std::vector<uint32_t> m_limbs;
};

// A positive double as an integer times a power of two: x = Mantissa x 2^Exponent.
struct Binary {
    uint64_t Mantissa;
    int Exponent;
};

// The stored significand and its power of two, so that an odd Mantissa is an odd double: 53 bits
// for normal numbers, fewer below them, where the exponent stays at that of the smallest double.
Binary Decompose(double x) {
    int e = 0;
    std::frexp(x, &e);
    const int exponent = std::max(e - 53, -1074);
    return {static_cast<uint64_t>(std::ldexp(x, -exponent)), exponent};
}

// The point halfway between two neighbouring binary numbers, as K x 2^Exponent.
Binary Halfway(Binary a, Binary b) {
    const int common = std::min(a.Exponent, b.Exponent);
    return {(a.Mantissa << (a.Exponent - common)) + (b.Mantissa << (b.Exponent - common)),
            common - 1};
}

// The decimal number digits x 10^exponent, kept exactly as Scaled x 2^exponent / Divisor: the
// powers of five go into Scaled where the exponent is positive, into Divisor where negative.
class Decimal {
public:
    Decimal(std::string_view digits, long exponent) : m_exponent(exponent) {
        for (size_t i = 0; i < digits.size(); i += 9) {
            const std::string_view chunk = digits.substr(i, 9);
            uint32_t value = 0, scale = 1;
            for (char c : chunk) {
                value = value * 10 + static_cast<uint32_t>(c - '0');
                scale *= 10;
            }
            m_scaled.MulSmall(scale);
            m_scaled.AddSmall(value);
        }
        if (exponent >= 0)
            m_scaled.MulPow5(static_cast<unsigned>(exponent));
        else
            m_divisor.MulPow5(static_cast<unsigned>(-exponent));
    }

    // A double within a few units of the last place of the number.
    double Approximate() const {
        int scale = 0;
        const double top = m_scaled.Approximate(scale);
        if (m_exponent >= 0)
            return std::ldexp(top, scale + static_cast<int>(m_exponent));
        int divisorScale = 0;
        const double bottom = m_divisor.Approximate(divisorScale);
        return std::ldexp(top / bottom, scale - divisorScale + static_cast<int>(m_exponent));
    }

    // The sign of this number minus k x 2^e.
    int CompareWith(Binary k) const {
        BigInt left = m_scaled, right = m_divisor;
        right.MulLarge(k.Mantissa);
        if (m_exponent > k.Exponent)
            left.ShiftLeft(static_cast<unsigned>(m_exponent - k.Exponent));
        else
            right.ShiftLeft(static_cast<unsigned>(k.Exponent - m_exponent));
        return Compare(left, right);
    }

private:
    BigInt m_scaled;
    BigInt m_divisor{1}; // 5^-exponent where the exponent is negative
    long m_exponent;
};

} // namespace

double DecimalToDouble(std::string_view digits, long exponent) {
    constexpr double kLargest = std::numeric_limits<double>::max();
    constexpr double kSmallest = std::numeric_limits<double>::denorm_min();
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    const Decimal number(digits, exponent);
    double x = number.Approximate();
    if (!(x >= kSmallest))
        x = kSmallest;
    if (x > kLargest)
        x = kLargest;
    // Moves a unit at a time until the number lies between the points halfway to both
    // neighbours; from a start a few units off, a few steps do it.
    for (int step = 0; step < 64; ++step) {
        const Binary here = Decompose(x);
        const bool odd = here.Mantissa % 2 != 0;
        // Above the largest double the next step would be 2^1024.
        const Binary above =
            x == kLargest ? Binary{1, 1024} : Decompose(std::nextafter(x, kInfinity));
        int c = number.CompareWith(Halfway(here, above));
        if (c > 0 || (c == 0 && odd)) {
            if (x == kLargest)
                return kInfinity;
            x = std::nextafter(x, kInfinity);
            continue;
        }
        const Binary below =
            x == kSmallest ? Binary{0, here.Exponent} : Decompose(std::nextafter(x, 0.0));
        c = number.CompareWith(Halfway(below, here));
        if (c < 0 || (c == 0 && odd)) {
            if (x == kSmallest)
                return 0;
            x = std::nextafter(x, 0.0);
            continue;
        }
        return x;
    }
    return x;
}
