// Whether a program file is the running image, checked against images the real loader mapped:
// this test program itself, at its preferred base, and a second copy of a library, whose
// preferred base the first copy already holds, so that the loader moves it and applies its
// relocations (as Windows does for every program it places at a random address).
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "fixtures/layout.h"
#include "repair/image_match.h"

namespace {

std::wstring Beside(const wchar_t* name) {
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring text(path, n);
    return text.substr(0, text.find_last_of(L"\\/") + 1) + name;
}

std::wstring Fixture(const char* name) {
    const std::string path = fixtures::FixturesDirectory() + "\\" + name;
    return std::wstring(path.begin(), path.end()); // plain ASCII in the build tree
}

std::vector<uint8_t> Bytes(const std::wstring& path) {
    std::ifstream file(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

const IMAGE_NT_HEADERS* Headers(const void* image) {
    const auto* base = static_cast<const uint8_t*>(image);
    return reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
}

bool Matches(const std::vector<uint8_t>& file, HMODULE module) {
    return FileIsLoadedImage(file, reinterpret_cast<const uint8_t*>(module),
                             Headers(module)->OptionalHeader.SizeOfImage,
                             reinterpret_cast<uintptr_t>(module));
}

} // namespace

TEST(ImageMatch, AFileIsTheImageTheLoaderMadeOfItAndNoOther) {
    const std::vector<uint8_t> self = Bytes(Beside(L"win_repair.exe"));
    EXPECT_TRUE(Matches(self, GetModuleHandleW(nullptr))) << "at its preferred base";

    const std::wstring copy = Fixture("fixture_moved_copy.dll");
    ASSERT_TRUE(CopyFileW(Fixture("fixture_library.dll").c_str(), copy.c_str(), FALSE));
    HMODULE first = LoadLibraryW(Fixture("fixture_library.dll").c_str());
    HMODULE moved = LoadLibraryW(copy.c_str());
    ASSERT_NE(first, nullptr);
    ASSERT_NE(moved, nullptr);
    const std::vector<uint8_t> file = Bytes(copy);
    ASSERT_NE(reinterpret_cast<uintptr_t>(moved), Headers(file.data())->OptionalHeader.ImageBase)
        << "the copy was not moved, so its relocations are not tested";
    EXPECT_TRUE(Matches(file, moved)) << "moved and relocated";

    // One bit of code changed makes another program; so does another program altogether.
    const IMAGE_SECTION_HEADER* text = IMAGE_FIRST_SECTION(Headers(moved));
    std::vector<uint8_t> changed = file;
    changed[text->PointerToRawData + text->SizeOfRawData / 2] ^= 1;
    EXPECT_FALSE(Matches(changed, moved));
    EXPECT_FALSE(Matches(self, moved));
    FreeLibrary(moved);
    FreeLibrary(first);
    DeleteFileW(copy.c_str());
}
