#include "text/printf.h"

#include <algorithm>
#include <cstddef>
#include <string_view>

#include "text/pattern_format.h"
#include "text/utf8.h"

namespace {

std::string ReplaceAll(const std::string& s, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(s.size());
    size_t pos = 0;
    for (size_t hit; (hit = s.find(from, pos)) != std::string::npos; pos = hit + from.size()) {
        out.append(s, pos, hit - pos);
        out += to;
    }
    out.append(s, pos);
    return out;
}

// Doubled backslashes go first, so that "\\n" keeps its "n" rather than starting a line break.
std::string RewriteEscapes(const std::string& format) {
    std::string s = ReplaceAll(format, "\\\\", "[\\]");
    s = ReplaceAll(s, "\\t", "\t");
    s = ReplaceAll(s, "\\r", "\r");
    s = ReplaceAll(s, "\\n", "\r\n");
    return ReplaceAll(s, "\\[", "[(]");
}

bool IsNumbered(std::string_view token) {
    return token.size() >= 2 && token[0] >= '1' && token[0] <= '9' && token[1] == ':';
}

} // namespace

namespace modAPI {

std::string printf(const std::string& format, const std::vector<Variant>& values) {
    const std::string working = RewriteEscapes(format);
    const auto last = static_cast<ptrdiff_t>(values.size()) - 1;

    // The finished part: everything left of the search position, placeholders already replaced.
    std::string out;
    size_t pos = 0;
    ptrdiff_t index = 0;
    for (;;) {
        const size_t open = working.find('[', pos);
        if (open == std::string::npos)
            return out.append(working, pos);
        out.append(working, pos, open - pos);
        const size_t close = working.find(']', open + 1);
        if (close == std::string::npos)
            throw RaisedError(kErrPrintfMissingBracket, "printf",
                              "Missing ']' after '[' at position " +
                                  std::to_string(Utf8CharCount(out) + 1) + "!");

        std::string_view token(working.data() + open + 1, close - open - 1);
        const bool numbered = IsNumbered(token);
        const ptrdiff_t saved = index;
        if (numbered) {
            index = std::min<ptrdiff_t>(token[0] - '1', last);
            token.remove_prefix(2);
        }
        if (!token.empty() && token[0] == '=')
            throw RaisedError(
                kErrPrintfScript, "sprintf",
                "No script code allowed in placeholder string. Use the sprintf COM-component "
                "instead.");

        if (token == "(") {
            out += '[';
            --index;
        } else if (token == "\\") {
            out += '\\';
            --index;
        } else if (!token.empty()) {
            // A numbered placeholder with no values at all lands below the first index.
            if (index < 0 || index > last)
                throw RaisedError(kErrPrintfMissingValue, "printf",
                                  "Missing value in printf-call for format string '[" +
                                      std::string(token) + "]'!");
            const Variant& value = values[static_cast<size_t>(index)];
            out += token == "*" ? ToText(value) : FormatWithPattern(value, token);
        }
        pos = close + 1;
        index = numbered ? saved : index + 1;
    }
}

} // namespace modAPI
