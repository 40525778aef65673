#include "bitness/program_image.h"
#include "tests/pe_builder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using enum ImageKind;
using pe_layout::ClrDirectoryAt;

constexpr uint16_t kMachineArmNt = 0x01c4;
constexpr uint32_t kIlOnly = 0x1, kRequired = 0x2, kPreferred = 0x20000;
constexpr std::optional<Bitness> k32 = Bitness::Bits32, k64 = Bitness::Bits64;

struct ImageCase {
    const char* name;
    std::vector<uint8_t> file;
    ProgramImage image = {.Kind = Damaged};
    std::optional<Bitness> on32 = std::nullopt, on64 = std::nullopt; // on 32- and 64-bit Windows
};

std::vector<uint8_t> Damage(std::vector<uint8_t> file, size_t at, uint32_t value) {
    PutU32(file, at, value);
    return file;
}

std::vector<uint8_t> Cut(std::vector<uint8_t> file, size_t size) {
    file.resize(size);
    return file;
}

const PeShape kAnyCpu = {.clrFlags = kIlOnly};
const PeShape kNet64 = {.machine = kMachineAmd64, .pe32Plus = true, .clrFlags = kIlOnly};

// A .NET image on x86 with the given flags, of CLR header version 2.5 unless told.
ProgramImage NetX86(ProgramImage flags, uint16_t minor = 5) {
    flags.Kind = DotNet;
    flags.Machine = kMachineI386;
    flags.RuntimeMajor = 2;
    flags.RuntimeMinor = minor;
    return flags;
}

const ImageCase kCases[] = {
    {.name = "NativeX86",
     .file = BuildPe({}),
     .image = {.Kind = Native, .Machine = kMachineI386},
     .on32 = k32,
     .on64 = k32},
    {.name = "NativeX64",
     .file = BuildPe({.machine = kMachineAmd64, .pe32Plus = true}),
     .image = {.Kind = Native, .Machine = kMachineAmd64, .Pe32Plus = true},
     .on64 = k64},
    {.name = "NativeArm64",
     .file = BuildPe({.machine = kMachineArm64, .pe32Plus = true}),
     .image = {.Kind = Native, .Machine = kMachineArm64, .Pe32Plus = true}},
    {.name = "LibraryX86",
     .file = BuildPe({.dll = true}),
     .image = {.Kind = Native, .Machine = kMachineI386, .IsDll = true}},
    {.name = "DotNetAnyCpu",
     .file = BuildPe(kAnyCpu),
     .image = NetX86({.IlOnly = true}),
     .on32 = k32,
     .on64 = k64},
    {.name = "DotNetRequires32Bit",
     .file = BuildPe({.clrFlags = kIlOnly | kRequired}),
     .image = NetX86({.IlOnly = true, .Requires32Bit = true}),
     .on32 = k32,
     .on64 = k32},
    {.name = "DotNetPrefers32Bit",
     .file = BuildPe({.clrFlags = kIlOnly | kRequired | kPreferred}),
     .image = NetX86({.IlOnly = true, .Requires32Bit = true, .Prefers32Bit = true}),
     .on32 = k32,
     .on64 = k32},
    {.name = "DotNetMixedMode",
     .file = BuildPe({.clrFlags = 0}),
     .image = NetX86({}),
     .on32 = k32,
     .on64 = k32},
    {.name = "DotNetOneAnyCpu",
     .file = BuildPe({.clrFlags = kIlOnly, .clrMinor = 0}),
     .image = NetX86({.IlOnly = true}, 0),
     .on32 = k32,
     .on64 = k32},
    {.name = "DotNetAnyCpuLibrary",
     .file = BuildPe({.dll = true, .clrFlags = kIlOnly}),
     .image = NetX86({.IsDll = true, .IlOnly = true})},
    {.name = "DotNetPe32Plus",
     .file = BuildPe(kNet64),
     .image = {.Kind = DotNet,
               .Machine = kMachineAmd64,
               .Pe32Plus = true,
               .IlOnly = true,
               .RuntimeMajor = 2,
               .RuntimeMinor = 5},
     .on64 = k64},
    {.name = "DotNetArm32",
     .file = BuildPe({.machine = kMachineArmNt, .clrFlags = kIlOnly}),
     .image = {.Kind = DotNet,
               .Machine = kMachineArmNt,
               .IlOnly = true,
               .RuntimeMajor = 2,
               .RuntimeMinor = 5}},

    {.name = "PreferredWithoutRequired", .file = BuildPe({.clrFlags = kIlOnly | kPreferred})},
    {.name = "X86WithPe32PlusLayout", .file = BuildPe({.pe32Plus = true})},
    {.name = "HeadersCutShort", .file = Cut(BuildPe({}), pe_layout::kNtAt + 10)},
    {.name = "PeHeaderPastTheEnd", .file = Damage(BuildPe({}), pe_layout::kPeOffsetAt, 0xfffffff0)},
    {.name = "SectionTablePastTheEnd",
     .file = Damage(BuildPe(kAnyCpu), pe_layout::kSectionCountAt, 0xffff)},
    {.name = "ClrHeaderInNoSection", .file = Damage(BuildPe(kNet64), ClrDirectoryAt(true), 0x5000)},
    {.name = "ClrHeaderPastItsSection",
     .file = Damage(BuildPe(kAnyCpu), ClrDirectoryAt(false), 0x11c0)},
    {.name = "ClrHeaderCutShort", .file = Cut(BuildPe(kAnyCpu), pe_layout::kSectionData + 40)},

    {.name = "DosProgram",
     .file = Damage(BuildPe({}), pe_layout::kNtAt, 0x454e),
     .image = {.Kind = NotAProgram}},
    {.name = "NotMz",
     .file = {'%', 'P', 'D', 'F', '-', '1', '.', '4'},
     .image = {.Kind = NotAProgram}},
    {.name = "Empty", .file = {}, .image = {.Kind = NotAProgram}},
};

class ProgramImageTest : public ::testing::TestWithParam<ImageCase> {};

TEST_P(ProgramImageTest, ReadsKindMachineAndFlagsAndWhatItRunsAs) {
    const ImageCase& c = GetParam();
    const ProgramImage image = ReadProgramImage(c.file);
    EXPECT_EQ(image, c.image);
    EXPECT_EQ(RunsAs(image, Bitness::Bits32), c.on32);
    EXPECT_EQ(RunsAs(image, Bitness::Bits64), c.on64);
}

INSTANTIATE_TEST_SUITE_P(Files, ProgramImageTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A large library is read where its headers are, never as a whole.
TEST(ProgramImage, ReadsOnlyTheHeaders) {
    class LargeFile : public IFileBytes {
    public:
        std::vector<uint8_t> Read(uint64_t offset, uint32_t size) override {
            asked += size;
            std::vector<uint8_t> bytes(size);
            for (uint32_t i = 0; i < size; ++i)
                bytes[i] = offset + i < m_start.size() ? m_start[offset + i] : 0;
            return bytes;
        }
        uint64_t asked = 0;

    private:
        std::vector<uint8_t> m_start = BuildPe(kAnyCpu);
    } file;
    EXPECT_EQ(ReadProgramImage(file).Kind, DotNet);
    EXPECT_LT(file.asked, 1024u);
}

} // namespace
