// A library planted in the current directory or beside the program is never loaded in place of
// the one meant: component libraries are loaded by full path only, and after start-up's hardening
// a library asked for by name comes from the system directory alone.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "fixtures/layout.h"
#include "repair/dll_search_win.h"
#include "repair/library_api_win.h"

namespace {

constexpr wchar_t kProbe[] = L"quendry_plant_probe.dll";

std::wstring ExeFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p(path);
    return p.substr(0, p.find_last_of(L"\\/"));
}

std::wstring FixturesFolder() {
    const std::string f = fixtures::FixturesDirectory();
    return std::wstring(f.begin(), f.end()); // plain ASCII in the build tree
}

// A planted copy of a registering fixture library in `folder`, removed again at the end.
class Plant {
public:
    explicit Plant(const std::wstring& folder) : m_path(folder + L"\\" + kProbe) {
        m_placed = CopyFileW((FixturesFolder() + L"\\fixture_library.dll").c_str(), m_path.c_str(),
                             FALSE) != FALSE;
    }
    ~Plant() { DeleteFileW(m_path.c_str()); }
    bool Placed() const { return m_placed; }

private:
    std::wstring m_path;
    bool m_placed = false;
};

// Loads the probe by name; true when some copy of it was found.
bool ProbeLoadsByName() {
    HMODULE module = LoadLibraryW(kProbe);
    if (module != nullptr)
        FreeLibrary(module);
    return module != nullptr;
}

} // namespace

TEST(DllSearch, ComponentLibraryByBareNameIsNotSearchedFor) {
    Plant plant(FixturesFolder());
    ASSERT_TRUE(plant.Placed());
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(FixturesFolder().c_str()));
    Win32LibraryApi api;
    const LibraryHandle library = api.LoadComponentLibrary("quendry_plant_probe.dll");
    if (library != 0)
        api.FreeComponentLibrary(library);
    SetCurrentDirectoryW(previous);
    EXPECT_EQ(library, 0u);
}

TEST(DllSearch, FlagsOfTheLoaderAreFoundOnThisSystem) {
    // Wine, like Windows 8 and later, has AddDllDirectory: the restricted search is in force.
    EXPECT_TRUE(DllSearchFlagsSupported());
}

// The hardening lasts as long as the process; nothing else here loads a library by name.
TEST(DllSearch, ZzHardeningKeepsPlantedLibrariesOut) {
    Plant besideProgram(ExeFolder());
    Plant inCurrentDirectory(FixturesFolder());
    ASSERT_TRUE(besideProgram.Placed());
    ASSERT_TRUE(inCurrentDirectory.Placed());
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(FixturesFolder().c_str()));

    // Without the hardening the standard search finds a planted copy.
    EXPECT_TRUE(ProbeLoadsByName());
    EXPECT_EQ(HardenDllSearch(), DllSearch::SystemDirectoryOnly);
    EXPECT_FALSE(ProbeLoadsByName()) << "a planted library was loaded";
    // What the system directory holds still loads by name.
    HMODULE shell = LoadLibraryW(L"shlwapi.dll");
    EXPECT_NE(shell, nullptr);
    if (shell != nullptr)
        FreeLibrary(shell);
    // A component library by full path still loads.
    Win32LibraryApi api;
    const LibraryHandle library =
        api.LoadComponentLibrary(fixtures::FixturesDirectory() + "\\fixture_library.dll");
    EXPECT_NE(library, 0u);
    if (library != 0)
        api.FreeComponentLibrary(library);
    SetCurrentDirectoryW(previous);
}
