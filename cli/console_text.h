#pragma once
// Shaping texts for a console or a text file: line breaks, and columns aligned by characters
// (not bytes, so that German letters don't push a column out of line).
#include <string>
#include <string_view>
#include <vector>

// Every line break ("\r\n", "\r" or "\n") as "\n". The window's labels break lines at a carriage
// return; the console and files do not.
std::string LineFeedsOnly(std::string_view text);

// Every "\n" as "\r\n", as text files and redirected output on Windows carry them. Expects line
// feeds only.
std::string WithCarriageReturns(std::string_view text);

// Rows of cells as lines: every column but the last padded with spaces to its widest cell, two
// spaces between columns, no trailing spaces. Each line ends with "\n".
std::string FormatColumns(const std::vector<std::vector<std::string>>& rows);

// The UTF-8 byte order mark, which lets Notepad on every Windows version read a file as UTF-8.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
