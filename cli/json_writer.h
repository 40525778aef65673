#pragma once
// A small JSON writer: objects, arrays, strings, integers, booleans and null, indented by two
// spaces per level. Strings are escaped as JSON requires (quote, backslash, control characters);
// other characters stay UTF-8, and a byte that is not well-formed UTF-8 becomes U+FFFD, so the
// output is always valid JSON in UTF-8 whatever the system's texts hold.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class JsonWriter {
public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    // The name of the next member of the open object.
    JsonWriter& Key(std::string_view name);
    JsonWriter& String(std::string_view text);
    JsonWriter& Number(int64_t value);
    JsonWriter& Bool(bool value);
    JsonWriter& Null();

    // The document so far, followed by a line break once the outermost value is closed.
    std::string Text() const;

private:
    void BeforeValue();
    void Open(char bracket, bool array);
    void Close(char bracket);
    void NewLine();

    struct Level {
        bool Array = false;
        bool Empty = true;
    };
    std::string m_out;
    std::vector<Level> m_levels;
    bool m_afterKey = false;
};

// `text` as a JSON string literal, quotes included.
std::string JsonString(std::string_view text);
