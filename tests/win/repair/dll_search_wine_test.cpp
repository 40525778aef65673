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

namespace {
// Windows XP SP1 to SP3 have SetDllDirectory, Windows 2000 not even that; neither has the
// functions of the later update. Wine has them all: the lookup refuses them as those would.
class OlderWindows : public IFunctionLookup {
public:
    explicit OlderWindows(bool setDllDirectory) : m_setDllDirectory(setDllDirectory) {}
    FARPROC Find(HMODULE module, const char* name) const override {
        const std::string n = name;
        if (n == "SetDefaultDllDirectories" || n == "AddDllDirectory" ||
            (n == "SetDllDirectoryW" && !m_setDllDirectory))
            return nullptr;
        return PlatformLookup().Find(module, name);
    }

private:
    bool m_setDllDirectory;
};
} // namespace

TEST(DllSearch, OnWindows2000AndXpTheFallbacksAreTaken) {
    const OlderWindows windows2000(false), windowsXp(true);
    EXPECT_EQ(HardenDllSearch(windows2000), DllSearch::Unchanged);
    EXPECT_FALSE(DllSearchFlagsSupported(windowsXp));

    // XP: the current directory leaves the search for libraries asked for by name. (Wine keeps
    // it for an empty name, unlike Windows, so only the choice can be seen here.)
    EXPECT_EQ(HardenDllSearch(windowsXp), DllSearch::CurrentDirectoryRemoved);
    SetDllDirectoryW(nullptr); // the standard search again, for the tests after this one

    // Without the loader's flags a component library by full path loads the older way.
    Win32LibraryApi api(windowsXp);
    const LibraryHandle library =
        api.LoadComponentLibrary(fixtures::FixturesDirectory() + "\\fixture_library.dll");
    EXPECT_NE(library, 0u);
    if (library != 0)
        api.FreeComponentLibrary(library);
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
