// The JSON writer's escaping and layout, checked against a strict reader, and the console text
// helpers.
#include <gtest/gtest.h>

#include "cli/console_text.h"
#include "cli/json_writer.h"
#include "tests/fakes/json_reader.h"

namespace {

TEST(JsonString, EscapesWhatJsonRequiresAndKeepsUtf8) {
    const std::pair<std::string, std::string> rows[] = {
        {"plain", "\"plain\""},
        {"", "\"\""},
        {"a\"b", "\"a\\\"b\""},
        {"C:\\WINDOWS", "\"C:\\\\WINDOWS\""},
        {"\n\r\t\b\f", "\"\\n\\r\\t\\b\\f\""},
        {std::string("\x01\x1f\0", 3), "\"\\u0001\\u001F\\u0000\""},
        {"/ \x7f", "\"/ \x7f\""},
        {"Gr\xC3\xBC\xC3\x9F"
         "e \xE2\x82\xAC \xF0\x9F\x98\x80",
         "\"Gr\xC3\xBC\xC3\x9F"
         "e \xE2\x82\xAC \xF0\x9F\x98\x80\""},
        // Bytes that are not well-formed UTF-8 each become U+FFFD.
        {"a\xFF"
         "b",
         "\"a\xEF\xBF\xBD"
         "b\""},
        {"\xC3", "\"\xEF\xBF\xBD\""},                                 // cut short
        {"\xC0\xAF", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},                 // overlong
        {"\xED\xA0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""}, // a surrogate
    };
    for (const auto& [text, expected] : rows) {
        EXPECT_EQ(JsonString(text), expected) << text;
        const auto parsed = json::Parse(JsonString(text));
        ASSERT_TRUE(parsed) << text;
        EXPECT_EQ(parsed->kind, json::Value::Kind::String);
    }
}

TEST(JsonWriter, NestedValuesIndentedAndReadableBack) {
    JsonWriter w;
    w.BeginObject();
    w.Key("a").Number(-5);
    w.Key("empty").BeginObject().EndObject();
    w.Key("none").BeginArray().EndArray();
    w.Key("list")
        .BeginArray()
        .Bool(true)
        .Null()
        .String("x")
        .BeginObject()
        .Key("k")
        .Bool(false)
        .EndObject()
        .EndArray();
    w.EndObject();
    EXPECT_EQ(w.Text(), "{\n"
                        "  \"a\": -5,\n"
                        "  \"empty\": {},\n"
                        "  \"none\": [],\n"
                        "  \"list\": [\n"
                        "    true,\n"
                        "    null,\n"
                        "    \"x\",\n"
                        "    {\n"
                        "      \"k\": false\n"
                        "    }\n"
                        "  ]\n"
                        "}\n");
    const auto doc = json::Parse(w.Text());
    ASSERT_TRUE(doc);
    EXPECT_EQ((*doc)["list"].items.size(), 4u);
    EXPECT_EQ((*doc)["a"].number, -5);
}

TEST(JsonReader, RejectsWhatIsNotJson) {
    for (const char* bad : {"", "{", "{\"a\":1,}", "[1,]", "{'a':1}", "01", "1.", "\"a\nb\"",
                            "\"\\x\"", "\"\\ud800\"", "{\"a\" 1}", "[] []", "tru", "\"\xFF\""})
        EXPECT_FALSE(json::Parse(bad)) << bad;
    for (const char* good : {"0", "-1.5e3", "[]", "{}", "\"\\ud83d\\ude00\"", " {\"a\": [null]} "})
        EXPECT_TRUE(json::Parse(good)) << good;
}

TEST(ConsoleText, LineBreaks) {
    const std::pair<std::string, std::string> rows[] = {
        {"a\rb", "a\nb"},       {"a\r\nb", "a\nb"}, {"a\nb", "a\nb"},
        {"a\r\r\nb", "a\n\nb"}, {"\r", "\n"},       {"", ""},
    };
    for (const auto& [text, expected] : rows) {
        EXPECT_EQ(LineFeedsOnly(text), expected);
        std::string crlf;
        for (char c : expected)
            crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        EXPECT_EQ(WithCarriageReturns(LineFeedsOnly(text)), crlf);
    }
}

TEST(ConsoleText, ColumnsAlignByCharactersNotBytes) {
    EXPECT_EQ(FormatColumns({{"Pfad", "x", "end"}, {"Größe", "yy", "z"}, {"a"}}), "Pfad   x   end\n"
                                                                                  "Größe  yy  z\n"
                                                                                  "a\n");
    EXPECT_EQ(FormatColumns({{"a", ""}, {"bb", ""}}), "a\nbb\n") << "no trailing spaces";
}

} // namespace
