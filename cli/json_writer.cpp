#include "json_writer.h"

#include <cstdio>

#include "text/utf8.h"

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const size_t length = Utf8CharLength(text, i);
        if (c >= 0x80) {
            // A lone byte at or above 0x80 starts no well-formed sequence.
            out += length == 1 ? std::string_view("\xEF\xBF\xBD") : text.substr(i, length);
        } else if (c == '"') {
            out += "\\\"";
        } else if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\b') {
            out += "\\b";
        } else if (c == '\f') {
            out += "\\f";
        } else if (c < 0x20) {
            char escaped[8] = {};
            std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(c));
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
        i += length;
    }
    return out + "\"";
}

void JsonWriter::NewLine() {
    m_out += '\n';
    m_out.append(m_levels.size() * 2, ' ');
}

void JsonWriter::BeforeValue() {
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_levels.empty())
        return;
    Level& level = m_levels.back();
    if (!level.Empty)
        m_out += ',';
    level.Empty = false;
    NewLine();
}

void JsonWriter::Open(char bracket, bool array) {
    BeforeValue();
    m_out += bracket;
    m_levels.push_back({array, true});
}

void JsonWriter::Close(char bracket) {
    if (m_levels.empty())
        return;
    const bool empty = m_levels.back().Empty;
    m_levels.pop_back();
    if (!empty)
        NewLine();
    m_out += bracket;
}

JsonWriter& JsonWriter::BeginObject() {
    Open('{', false);
    return *this;
}

JsonWriter& JsonWriter::EndObject() {
    Close('}');
    return *this;
}

JsonWriter& JsonWriter::BeginArray() {
    Open('[', true);
    return *this;
}

JsonWriter& JsonWriter::EndArray() {
    Close(']');
    return *this;
}

JsonWriter& JsonWriter::Key(std::string_view name) {
    BeforeValue();
    m_out += JsonString(name) + ": ";
    m_afterKey = true;
    return *this;
}

JsonWriter& JsonWriter::String(std::string_view text) {
    BeforeValue();
    m_out += JsonString(text);
    return *this;
}

JsonWriter& JsonWriter::Number(int64_t value) {
    BeforeValue();
    m_out += std::to_string(value);
    return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
    BeforeValue();
    m_out += value ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::Null() {
    BeforeValue();
    m_out += "null";
    return *this;
}

std::string JsonWriter::Text() const {
    return m_levels.empty() && !m_out.empty() ? m_out + "\n" : m_out;
}
