#pragma once
// The libraries a Windows executable imports, read from the import table of its file (PE32 for
// i686, PE32+ for x86_64). Portable, so that the size and import checks need no loader.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One library of the import table and the functions taken from it at load time: by name, or
// "#<ordinal>" for one imported by number.
struct ImportedLibrary {
    std::string Name;
    std::vector<std::string> Functions;
};

// The import table in its own order; nullopt when the bytes are not a whole, well-formed image (a
// table or name that points outside the file counts as malformed). An image without an import
// table imports nothing.
std::optional<std::vector<ImportedLibrary>> Imports(const std::vector<uint8_t>& image);

// The library names of Imports.
std::optional<std::vector<std::string>> ImportedLibraries(const std::vector<uint8_t>& image);
