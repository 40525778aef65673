#pragma once
// A strict JSON reader for tests that check a program's JSON output: the whole grammar of
// RFC 8259 (no trailing commas, no comments, no leading zeros, escapes as listed, no raw control
// characters in strings, UTF-8 well-formed) and nothing more. Object members keep their order.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace json {

struct Value {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string text;                                   // the string, or a number as written
    std::vector<Value> items;                           // array
    std::vector<std::pair<std::string, Value>> members; // object, in order

    bool IsNull() const { return kind == Kind::Null; }
    // The member of that name; nullptr when there is none (or this is no object).
    const Value* Find(std::string_view name) const {
        for (const auto& [key, value] : members)
            if (key == name)
                return &value;
        return nullptr;
    }
    const Value& operator[](std::string_view name) const {
        static const Value missing;
        const Value* v = Find(name);
        return v ? *v : missing;
    }
    std::vector<std::string> Keys() const {
        std::vector<std::string> keys;
        for (const auto& member : members)
            keys.push_back(member.first);
        return keys;
    }
};

class Reader {
public:
    explicit Reader(std::string_view text) : m_s(text) {}

    // The document, or nothing when it is not valid JSON; Error() says where.
    std::optional<Value> Document() {
        Value v;
        Skip();
        if (!ParseValue(v, 0))
            return std::nullopt;
        Skip();
        if (m_i != m_s.size())
            return Fail("text after the value");
        return v;
    }
    const std::string& Error() const { return m_error; }

private:
    static constexpr int kMaxDepth = 64;

    std::nullopt_t Fail(const std::string& why) {
        if (m_error.empty())
            m_error = why + " at byte " + std::to_string(m_i);
        return std::nullopt;
    }
    bool Failed(const std::string& why) {
        Fail(why);
        return false;
    }
    void Skip() {
        while (m_i < m_s.size() &&
               (m_s[m_i] == ' ' || m_s[m_i] == '\t' || m_s[m_i] == '\n' || m_s[m_i] == '\r'))
            ++m_i;
    }
    bool Literal(std::string_view word) {
        if (m_s.substr(m_i, word.size()) != word)
            return Failed("unknown literal");
        m_i += word.size();
        return true;
    }
    bool ParseValue(Value& v, int depth) {
        if (depth > kMaxDepth)
            return Failed("nesting too deep");
        if (m_i >= m_s.size())
            return Failed("value expected");
        const char c = m_s[m_i];
        if (c == '{')
            return ParseObject(v, depth);
        if (c == '[')
            return ParseArray(v, depth);
        if (c == '"') {
            v.kind = Value::Kind::String;
            return ParseString(v.text);
        }
        if (c == 't' || c == 'f') {
            v.kind = Value::Kind::Bool;
            v.boolean = c == 't';
            return Literal(c == 't' ? "true" : "false");
        }
        if (c == 'n') {
            v.kind = Value::Kind::Null;
            return Literal("null");
        }
        return ParseNumber(v);
    }
    bool ParseObject(Value& v, int depth) {
        v.kind = Value::Kind::Object;
        ++m_i;
        Skip();
        if (m_i < m_s.size() && m_s[m_i] == '}') {
            ++m_i;
            return true;
        }
        for (;;) {
            Skip();
            if (m_i >= m_s.size() || m_s[m_i] != '"')
                return Failed("member name expected");
            std::string key;
            if (!ParseString(key))
                return false;
            Skip();
            if (m_i >= m_s.size() || m_s[m_i] != ':')
                return Failed("':' expected");
            ++m_i;
            Skip();
            Value member;
            if (!ParseValue(member, depth + 1))
                return false;
            v.members.emplace_back(std::move(key), std::move(member));
            Skip();
            if (m_i < m_s.size() && m_s[m_i] == ',') {
                ++m_i;
                continue;
            }
            if (m_i < m_s.size() && m_s[m_i] == '}') {
                ++m_i;
                return true;
            }
            return Failed("',' or '}' expected");
        }
    }
    bool ParseArray(Value& v, int depth) {
        v.kind = Value::Kind::Array;
        ++m_i;
        Skip();
        if (m_i < m_s.size() && m_s[m_i] == ']') {
            ++m_i;
            return true;
        }
        for (;;) {
            Skip();
            Value item;
            if (!ParseValue(item, depth + 1))
                return false;
            v.items.push_back(std::move(item));
            Skip();
            if (m_i < m_s.size() && m_s[m_i] == ',') {
                ++m_i;
                continue;
            }
            if (m_i < m_s.size() && m_s[m_i] == ']') {
                ++m_i;
                return true;
            }
            return Failed("',' or ']' expected");
        }
    }
    static bool Digit(char c) { return c >= '0' && c <= '9'; }
    bool ParseNumber(Value& v) {
        const size_t start = m_i;
        if (m_i < m_s.size() && m_s[m_i] == '-')
            ++m_i;
        if (m_i >= m_s.size() || !Digit(m_s[m_i]))
            return Failed("value expected");
        if (m_s[m_i] == '0') {
            ++m_i;
        } else {
            while (m_i < m_s.size() && Digit(m_s[m_i]))
                ++m_i;
        }
        if (m_i < m_s.size() && m_s[m_i] == '.') {
            ++m_i;
            if (m_i >= m_s.size() || !Digit(m_s[m_i]))
                return Failed("digit expected after the point");
            while (m_i < m_s.size() && Digit(m_s[m_i]))
                ++m_i;
        }
        if (m_i < m_s.size() && (m_s[m_i] == 'e' || m_s[m_i] == 'E')) {
            ++m_i;
            if (m_i < m_s.size() && (m_s[m_i] == '+' || m_s[m_i] == '-'))
                ++m_i;
            if (m_i >= m_s.size() || !Digit(m_s[m_i]))
                return Failed("digit expected in the exponent");
            while (m_i < m_s.size() && Digit(m_s[m_i]))
                ++m_i;
        }
        v.kind = Value::Kind::Number;
        v.text = std::string(m_s.substr(start, m_i - start));
        v.number = std::stod(v.text);
        return true;
    }
    static void AppendUtf8(std::string& out, uint32_t cp) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | cp >> 6);
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | cp >> 12);
            out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | cp >> 18);
            out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    bool Hex4(uint32_t& value) {
        if (m_i + 4 > m_s.size())
            return Failed("four hex digits expected");
        value = 0;
        for (int k = 0; k < 4; ++k) {
            const char c = m_s[m_i++];
            value <<= 4;
            if (Digit(c))
                value |= static_cast<uint32_t>(c - '0');
            else if (c >= 'a' && c <= 'f')
                value |= static_cast<uint32_t>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                value |= static_cast<uint32_t>(c - 'A' + 10);
            else
                return Failed("hex digit expected");
        }
        return true;
    }
    // Length of the well-formed UTF-8 sequence at m_i, 0 when there is none.
    size_t Utf8Length() const {
        const auto b = [&](size_t k) {
            return m_i + k < m_s.size() ? static_cast<unsigned char>(m_s[m_i + k]) : 0u;
        };
        const unsigned c = b(0);
        const auto cont = [&](size_t k, unsigned lo = 0x80, unsigned hi = 0xBF) {
            return b(k) >= lo && b(k) <= hi;
        };
        if (c >= 0xC2 && c <= 0xDF)
            return cont(1) ? 2 : 0;
        if (c >= 0xE0 && c <= 0xEF) {
            const unsigned lo = c == 0xE0 ? 0xA0 : 0x80, hi = c == 0xED ? 0x9F : 0xBF;
            return cont(1, lo, hi) && cont(2) ? 3 : 0;
        }
        if (c >= 0xF0 && c <= 0xF4) {
            const unsigned lo = c == 0xF0 ? 0x90 : 0x80, hi = c == 0xF4 ? 0x8F : 0xBF;
            return cont(1, lo, hi) && cont(2) && cont(3) ? 4 : 0;
        }
        return 0;
    }
    bool ParseString(std::string& out) {
        ++m_i; // the opening quote
        for (;;) {
            if (m_i >= m_s.size())
                return Failed("unterminated string");
            const auto c = static_cast<unsigned char>(m_s[m_i]);
            if (c == '"') {
                ++m_i;
                return true;
            }
            if (c < 0x20)
                return Failed("raw control character in a string");
            if (c >= 0x80) {
                const size_t n = Utf8Length();
                if (n == 0)
                    return Failed("malformed UTF-8");
                out += m_s.substr(m_i, n);
                m_i += n;
                continue;
            }
            if (c != '\\') {
                out += static_cast<char>(c);
                ++m_i;
                continue;
            }
            if (++m_i >= m_s.size())
                return Failed("unterminated escape");
            const char e = m_s[m_i++];
            switch (e) {
            case '"':
            case '\\':
            case '/':
                out += e;
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                uint32_t cp = 0;
                if (!Hex4(cp))
                    return false;
                if (cp >= 0xD800 && cp <= 0xDBFF) {
                    uint32_t low = 0;
                    if (m_s.substr(m_i, 2) != "\\u")
                        return Failed("lone high surrogate");
                    m_i += 2;
                    if (!Hex4(low) || low < 0xDC00 || low > 0xDFFF)
                        return Failed("high surrogate without its low one");
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
                    return Failed("lone low surrogate");
                }
                AppendUtf8(out, cp);
                break;
            }
            default:
                return Failed("unknown escape");
            }
        }
    }

    std::string_view m_s;
    size_t m_i = 0;
    std::string m_error;
};

inline std::optional<Value> Parse(std::string_view text, std::string* error = nullptr) {
    Reader reader(text);
    std::optional<Value> v = reader.Document();
    if (error)
        *error = reader.Error();
    return v;
}

} // namespace json
