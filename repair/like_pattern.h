#pragma once
#include <string_view>

// Whether the whole of `text` matches the wildcard `pattern`: "*" any run of characters (also
// none), "?" any one character, "#" any one digit, "[abc]" / "[a-z]" one character of the set,
// "[!abc]" one character outside it; every other pattern character matches itself. A "[" without
// a closing "]" stands for itself, so a pattern taken from outside data never fails.
bool LikeMatch(std::string_view text, std::string_view pattern);
