#pragma once
// The one error type the program raises: a signed 32-bit number, a source and a description,
// as the registry class and the formatter report them and the Next handler shows them.
#include <cstdint>
#include <stdexcept>
#include <string>

struct RaisedError : std::runtime_error {
    RaisedError(int32_t number, std::string source, std::string description)
        : std::runtime_error(description), Number(number), Source(std::move(source)),
          Description(std::move(description)) {}
    int32_t Number;
    std::string Source;
    std::string Description;
};

// Out of memory, as the callable-address object raises it when its block can't be allocated.
inline constexpr int32_t kErrOutOfMemory = 7;
