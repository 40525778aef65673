#include "bitness/program_image.h"
#include "tests/pe_builder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using enum ImageKind;
using pe_layout::ClrDirectoryAt;

constexpr uint16_t kMachineArmNt = 0x01c4;
constexpr uint32_t kIlOnly = 0x1, kRequired = 0x2, kPreferred = 0x20000;
constexpr std::optional<Bitness> kNone, k32 = Bitness::Bits32, k64 = Bitness::Bits64;

struct ImageCase {
    const char* name;
    std::vector<uint8_t> file;
    ProgramImage image;
    std::optional<Bitness> on32, on64; // what it runs as on 32- and on 64-bit Windows
};

std::vector<uint8_t> Damage(std::vector<uint8_t> file, size_t at, uint32_t value) {
    PutU32(file, at, value);
    return file;
}

std::vector<uint8_t> Cut(std::vector<uint8_t> file, size_t size) {
    file.resize(size);
    return file;
}

const PeSpec kAnyCpu = {.clrFlags = kIlOnly};
const PeSpec kNet64 = {.machine = kMachineAmd64, .pe32Plus = true, .clrFlags = kIlOnly};
const ProgramImage kNativeX86 = {.Kind = Native, .Machine = kMachineI386};
const ProgramImage kNetX86 = {.Kind = DotNet, .Machine = kMachineI386, .IlOnly = true};

ProgramImage Net(ProgramImage image, uint16_t major = 2, uint16_t minor = 5) {
    image.RuntimeMajor = major;
    image.RuntimeMinor = minor;
    return image;
}

const ImageCase kCases[] = {
    {"NativeX86", BuildPe({}), kNativeX86, k32, k32},
    {"NativeX64",
     BuildPe({.machine = kMachineAmd64, .pe32Plus = true}),
     {.Kind = Native, .Machine = kMachineAmd64, .Pe32Plus = true},
     kNone,
     k64},
    {"NativeArm64",
     BuildPe({.machine = kMachineArm64, .pe32Plus = true}),
     {.Kind = Native, .Machine = kMachineArm64, .Pe32Plus = true},
     kNone,
     kNone},
    {"LibraryX86",
     BuildPe({.dll = true}),
     {.Kind = Native, .Machine = kMachineI386, .IsDll = true},
     kNone,
     kNone},
    {"DotNetAnyCpu", BuildPe(kAnyCpu), Net(kNetX86), k32, k64},
    {"DotNetRequires32Bit", BuildPe({.clrFlags = kIlOnly | kRequired}),
     Net({.Kind = DotNet, .Machine = kMachineI386, .IlOnly = true, .Requires32Bit = true}), k32,
     k32},
    {"DotNetPrefers32Bit", BuildPe({.clrFlags = kIlOnly | kRequired | kPreferred}),
     Net({.Kind = DotNet,
          .Machine = kMachineI386,
          .IlOnly = true,
          .Requires32Bit = true,
          .Prefers32Bit = true}),
     k32, k32},
    {"DotNetMixedModeX86", BuildPe({.clrFlags = 0}), Net({.Kind = DotNet, .Machine = kMachineI386}),
     k32, k32},
    {"DotNetOneAnyCpu", BuildPe({.clrFlags = kIlOnly, .clrMinor = 0}), Net(kNetX86, 2, 0), k32,
     k32},
    {"DotNetPe32Plus", BuildPe(kNet64),
     Net({.Kind = DotNet, .Machine = kMachineAmd64, .Pe32Plus = true, .IlOnly = true}), kNone, k64},
    {"DotNetArm32", BuildPe({.machine = kMachineArmNt, .clrFlags = kIlOnly}),
     Net({.Kind = DotNet, .Machine = kMachineArmNt, .IlOnly = true}), kNone, kNone},
    {"DotNetAnyCpuLibrary", BuildPe({.dll = true, .clrFlags = kIlOnly}),
     Net({.Kind = DotNet, .Machine = kMachineI386, .IsDll = true, .IlOnly = true}), kNone, kNone},

    {"PreferredWithoutRequired",
     BuildPe({.clrFlags = kIlOnly | kPreferred}),
     {.Kind = Damaged},
     kNone,
     kNone},
    {"X86WithPe32PlusLayout", BuildPe({.pe32Plus = true}), {.Kind = Damaged}, kNone, kNone},
    {"HeadersCutShort", Cut(BuildPe({}), pe_layout::kNtAt + 10), {.Kind = Damaged}, kNone, kNone},
    {"OptionalHeaderCutShort",
     Cut(BuildPe({}), pe_layout::kOptionalAt + 100),
     {.Kind = Damaged},
     kNone,
     kNone},
    {"PeHeaderPastTheEnd",
     Damage(BuildPe({}), pe_layout::kPeOffsetAt, 0xfffffff0),
     {.Kind = Damaged},
     kNone,
     kNone},
    {"SectionTablePastTheEnd",
     Damage(BuildPe(kAnyCpu), pe_layout::kSectionCountAt, 0xffff),
     {.Kind = Damaged},
     kNone,
     kNone},
    {"ClrHeaderInNoSection",
     Damage(BuildPe(kNet64), ClrDirectoryAt(true), 0x5000),
     {.Kind = Damaged},
     kNone,
     kNone},
    {"ClrHeaderPastItsSection",
     Damage(BuildPe(kAnyCpu), ClrDirectoryAt(false), 0x11c0),
     {.Kind = Damaged},
     kNone,
     kNone},
    {"ClrHeaderCutShort",
     Cut(BuildPe(kAnyCpu), pe_layout::kSectionData + 40),
     {.Kind = Damaged},
     kNone,
     kNone},
    {"DosProgram", Damage(BuildPe({}), pe_layout::kNtAt, 0x454e), {}, kNone, kNone},
    {"NotMz", {'%', 'P', 'D', 'F', '-', '1', '.', '4'}, {}, kNone, kNone},
    {"OneByte", {'M'}, {}, kNone, kNone},
    {"Empty", {}, {}, kNone, kNone},
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
