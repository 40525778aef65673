// Whether a program file is the running image, checked against images the real loader mapped:
// this test program itself, at its preferred base, and a second copy of a library, whose
// preferred base the first copy already holds, so that the loader moves it and applies its
// relocations (as Windows does for every program it places at a random address).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
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

struct Comparison {
    std::vector<uint8_t> File;
    HMODULE Module;
    bool Passed = false;
};

DWORD WINAPI CompareOnThread(LPVOID param) {
    auto* c = static_cast<Comparison*>(param);
    c->Passed = Matches(c->File, c->Module);
    return 0;
}

// The comparison on a thread of its own, so that one going round for ever fails in seconds.
std::string Verdict(std::vector<uint8_t> file, HMODULE module) {
    Comparison c{std::move(file), module};
    HANDLE thread = CreateThread(nullptr, 0, CompareOnThread, &c, 0, nullptr);
    if (thread == nullptr)
        return "no thread";
    const bool returned = WaitForSingleObject(thread, 5000) == WAIT_OBJECT_0;
    if (!returned && TerminateThread(thread, 1))
        WaitForSingleObject(thread, 5000); // gone before `c` is
    CloseHandle(thread);
    return !returned ? "did not return within 5 s" : c.Passed ? "passed" : "refused";
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

    // Two relocation blocks, the second so long that a 32-bit sum of offsets wraps back to the
    // first: where sizes were added in size_t, i686 walked the two for ever.
    const IMAGE_DATA_DIRECTORY& relocations =
        Headers(file.data())->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_BASERELOC];
    size_t blocks = 0;
    DWORD firstSize = 0;
    ASSERT_TRUE(FileOffsetOf(file, relocations.VirtualAddress, 8, blocks));
    std::memcpy(&firstSize, &file[blocks + 4], sizeof firstSize);
    ASSERT_TRUE(FileOffsetOf(file, relocations.VirtualAddress, firstSize + 8, blocks));
    std::vector<uint8_t> wrapping = file;
    const DWORD second[2] = {relocations.VirtualAddress, 0u - firstSize};
    std::memcpy(&wrapping[blocks + firstSize], second, sizeof second);
    const DWORD directorySize = firstSize + 8;
    std::memcpy(&wrapping[reinterpret_cast<const uint8_t*>(&relocations.Size) - file.data()],
                &directorySize, sizeof directorySize);
    EXPECT_EQ(Verdict(wrapping, moved), "refused");
    FreeLibrary(moved);
    FreeLibrary(first);
    DeleteFileW(copy.c_str());
}
