#pragma once
// The common surface of format patterns: sections separated by ";", text in double quotes and
// the character after a backslash shown as it stands, every other ASCII character a pattern
// character that the number, date and text patterns give their own meaning (or show as is).
#include <string>
#include <string_view>
#include <vector>

struct PatternItem {
    bool Literal = false; // shown exactly as Text
    std::string Text;     // the literal text, or the single pattern character
    char Char() const { return Literal || Text.empty() ? '\0' : Text[0]; }
};

// The sections of a pattern, split at every ";" outside quotes and escapes; always at least one.
std::vector<std::string_view> SplitSections(std::string_view pattern);

// The items of one section, left to right.
std::vector<PatternItem> LexSection(std::string_view section);
