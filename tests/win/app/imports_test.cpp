// What Quendry.exe imports at start-up: system libraries only, and neither the shell nor COM,
// which it loads when it first calls them. A call to a function missing from the delay-load lists
// (cmake/delay-load/) would bring its library back among the imports without a word from the
// linker.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

#include "bench/pe_imports.h"

namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string QuendryPath() {
    char path[MAX_PATH + 1] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text(path, n);
    return text.substr(0, text.find_last_of("\\/")) + "\\Quendry.exe";
}

TEST(Imports, StartUpLoadsSystemLibrariesOnlyAndNeitherTheShellNorCom) {
    std::ifstream file(QuendryPath(), std::ios::binary);
    ASSERT_TRUE(file) << QuendryPath();
    const std::vector<uint8_t> image{std::istreambuf_iterator<char>(file),
                                     std::istreambuf_iterator<char>()};
    const auto imports = ImportedLibraries(image);
    ASSERT_TRUE(imports);
    std::vector<std::string> names;
    for (const auto& name : *imports)
        names.push_back(Lower(name));
    std::sort(names.begin(), names.end());
    const std::vector<std::string> expected = {"advapi32.dll", "comctl32.dll", "gdi32.dll",
                                               "kernel32.dll", "msvcrt.dll",   "user32.dll"};
    EXPECT_EQ(names, expected);
}

} // namespace
