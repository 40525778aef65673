#include "bench/pe_imports.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// A small image: headers, one section at virtual address 0x1000 held in the file at 0x200, and
// an import table listing `names` at the start of the section.
struct ImageBuilder {
    bool Pe32Plus = false;
    std::vector<std::string> Names = {"KERNEL32.dll", "USER32.dll"};
    uint32_t ImportRva = 0x1000;
    bool Terminated = true;
    uint32_t NameRvaShift = 0;          // moves every name's address
    std::vector<std::string> Functions; // of the first library: names, "#n" by ordinal

    std::vector<uint8_t> Build() const {
        std::vector<uint8_t> b(0x400, 0);
        auto u16 = [&](size_t at, uint32_t v) {
            b[at] = static_cast<uint8_t>(v);
            b[at + 1] = static_cast<uint8_t>(v >> 8);
        };
        auto u32 = [&](size_t at, uint32_t v) {
            u16(at, v & 0xffff);
            u16(at + 2, v >> 16);
        };
        b[0] = 'M';
        b[1] = 'Z';
        const size_t pe = 0x40;
        u32(0x3c, pe);
        std::memcpy(&b[pe], "PE\0\0", 4);
        u16(pe + 6, 1); // one section
        const size_t optionalSize = Pe32Plus ? 240 : 224;
        u16(pe + 20, static_cast<uint32_t>(optionalSize));
        const size_t optional = pe + 24;
        u16(optional, Pe32Plus ? 0x20b : 0x10b);
        const size_t directories = optional + (Pe32Plus ? 112 : 96);
        u32(directories - 4, 16);
        u32(directories + 8, ImportRva);
        u32(directories + 12, 40);
        const size_t section = optional + optionalSize;
        u32(section + 8, 0x200);   // virtual size
        u32(section + 12, 0x1000); // virtual address
        u32(section + 16, 0x200);  // raw size
        u32(section + 20, 0x200);  // raw offset
        size_t descriptor = 0x200, name = 0x300;
        for (const auto& n : Names) {
            u32(descriptor + 12, static_cast<uint32_t>(0x1000 + name - 0x200) + NameRvaShift);
            std::memcpy(&b[name], n.c_str(), n.size() + 1);
            descriptor += 20;
            name += n.size() + 1;
        }
        // The first library's lookup table at 0x380, its names after it.
        const size_t thunk = Pe32Plus ? 8 : 4;
        size_t entry = 0x380, hint = 0x380 + (Functions.size() + 1) * thunk;
        if (!Functions.empty())
            u32(0x200, 0x1000 + 0x180);
        for (const auto& f : Functions) {
            if (f[0] == '#') {
                u32(entry, static_cast<uint32_t>(std::stoul(f.substr(1))));
                b[entry + thunk - 1] |= 0x80;
            } else {
                u32(entry, static_cast<uint32_t>(0x1000 + hint - 0x200));
                std::memcpy(&b[hint + 2], f.c_str(), f.size() + 1);
                hint += 2 + f.size() + 1;
            }
            entry += thunk;
        }
        if (!Terminated)
            for (size_t at = descriptor; at < 0x300; at += 4)
                u32(at, 0xffffffff); // no empty entry before the names, and the names fill on
        return b;
    }
};

using Names = std::vector<std::string>;

TEST(PeImports, ReadsTheNamesOfBothImageKinds) {
    ImageBuilder pe32;
    EXPECT_EQ(ImportedLibraries(pe32.Build()), Names({"KERNEL32.dll", "USER32.dll"}));
    ImageBuilder pe32Plus;
    pe32Plus.Pe32Plus = true;
    pe32Plus.Names = {"msvcrt.dll", "COMCTL32.dll", "ole32.dll"};
    EXPECT_EQ(ImportedLibraries(pe32Plus.Build()), pe32Plus.Names);
    ImageBuilder none;
    none.ImportRva = 0;
    EXPECT_EQ(ImportedLibraries(none.Build()), Names{});
}

TEST(PeImports, ReadsFunctionsByNameAndByOrdinal) {
    for (const bool plus : {false, true}) {
        ImageBuilder image;
        image.Pe32Plus = plus;
        image.Functions = {"GetTickCount", "#410", "Sleep"};
        const auto imports = Imports(image.Build());
        ASSERT_TRUE(imports) << plus;
        ASSERT_EQ(imports->size(), 2u);
        EXPECT_EQ((*imports)[0].Functions, image.Functions) << plus;
        EXPECT_EQ((*imports)[1].Functions, Names{}) << plus;
    }
}

TEST(PeImports, MalformedImagesAreNoAnswer) {
    struct Case {
        const char* Name;
        std::vector<uint8_t> Bytes;
    };
    ImageBuilder outside;
    outside.ImportRva = 0x5000; // in no section
    ImageBuilder nameOutside;
    nameOutside.NameRvaShift = 0x10000;
    ImageBuilder endless;
    endless.Terminated = false;
    std::vector<uint8_t> truncated = ImageBuilder{}.Build();
    truncated.resize(0x210); // cut inside the import table
    std::vector<uint8_t> notMz = ImageBuilder{}.Build();
    notMz[0] = 'X';
    std::vector<uint8_t> farHeader = ImageBuilder{}.Build();
    farHeader[0x3c] = 0xf0;
    farHeader[0x3d] = 0xff; // the PE header would lie beyond the file
    std::vector<uint8_t> badMagic = ImageBuilder{}.Build();
    badMagic[0x40 + 24] = 0x07;
    std::vector<uint8_t> nameRunsOff = ImageBuilder{}.Build();
    for (size_t i = 0x300; i < nameRunsOff.size(); ++i)
        nameRunsOff[i] = 'A'; // no terminating zero before the end of the file
    const Case cases[] = {
        {"ImportTableInNoSection", outside.Build()},
        {"NameInNoSection", nameOutside.Build()},
        {"TableWithoutEnd", endless.Build()},
        {"Truncated", truncated},
        {"NotAnImage", notMz},
        {"HeaderBeyondTheFile", farHeader},
        {"UnknownOptionalHeader", badMagic},
        {"NameWithoutEnd", nameRunsOff},
        {"Empty", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ImportedLibraries(c.Bytes), std::nullopt) << c.Name;
}

} // namespace
