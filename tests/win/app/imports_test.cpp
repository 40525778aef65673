// What the two programs import at load time: only functions that Windows 2000 SP4 has, as the
// checked-in list (cmake/windows2000-imports.txt, copied beside the tests) names them. Wine has
// every function whatever Windows it reports, so only the import tables can show a new import
// that would keep the programs from loading on an older system.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <set>

#include "bench/pe_imports.h"

namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string BesideThisTest(const std::string& name) {
    char path[MAX_PATH + 1] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text(path, n);
    return text.substr(0, text.find_last_of("\\/")) + "\\" + name;
}

// "library!function", the library in lower case.
std::set<std::string> AllowedImports() {
    std::set<std::string> allowed;
    std::ifstream list(BesideThisTest("windows2000-imports.txt"));
    std::string line, library;
    while (std::getline(list, line)) {
        line = line.substr(0, line.find('#'));
        line.erase(std::remove_if(line.begin(), line.end(),
                                  [](unsigned char c) { return std::isspace(c); }),
                   line.end());
        if (line.empty())
            continue;
        if (line.front() == '[' && line.back() == ']')
            library = Lower(line.substr(1, line.size() - 2));
        else
            allowed.insert(library + "!" + line);
    }
    return allowed;
}

TEST(Imports, EveryLoadTimeImportIsOneWindows2000Has) {
    const std::set<std::string> allowed = AllowedImports();
    ASSERT_GT(allowed.size(), 100u) << "no list beside the test";
    for (const char* program : {"Quendry.exe", "quendry-cli.exe"}) {
        std::ifstream file(BesideThisTest(program), std::ios::binary);
        ASSERT_TRUE(file) << program;
        const std::vector<uint8_t> image{std::istreambuf_iterator<char>(file),
                                         std::istreambuf_iterator<char>()};
        const auto imports = Imports(image);
        ASSERT_TRUE(imports) << program;
        std::string unlisted;
        for (const auto& library : *imports)
            for (const auto& function : library.Functions)
                if (!allowed.count(Lower(library.Name) + "!" + function))
                    unlisted += "\n  " + library.Name + "!" + function;
        EXPECT_EQ(unlisted, "") << program << " imports what the list does not name:";
    }
}

} // namespace
