#include "bitness/program_image.h"

#include <algorithm>

namespace {

constexpr uint32_t kDosHeaderSize = 64;
constexpr uint32_t kPeOffsetAt = 0x3c;    // e_lfanew
constexpr uint32_t kPeSignature = 0x4550; // "PE\0\0"
constexpr uint32_t kNtHeaderSize = 24;    // the signature and the COFF file header
constexpr uint16_t kFileDll = 0x2000;     // IMAGE_FILE_DLL
constexpr uint16_t kPe32Magic = 0x10b;
constexpr uint16_t kPe32PlusMagic = 0x20b;
constexpr uint32_t kSectionHeaderSize = 40;
constexpr uint32_t kClrDirectory = 14;  // IMAGE_DIRECTORY_ENTRY_COM_DESCRIPTOR
constexpr uint32_t kCorHeaderSize = 72; // IMAGE_COR20_HEADER
constexpr uint32_t kIlOnly = 0x1;
constexpr uint32_t k32BitRequired = 0x2;
constexpr uint32_t k32BitPreferred = 0x20000;

// The little-endian number of sizeof(T) bytes at `at`.
template <typename T> T Le(const std::vector<uint8_t>& b, size_t at) {
    T value = 0;
    for (size_t i = sizeof(T); i-- > 0;)
        value = static_cast<T>(value << 8 | b[at + i]);
    return value;
}

// Exactly `size` bytes from `offset`, or nothing: the reader indexes only what it was given.
std::optional<std::vector<uint8_t>> ReadExactly(IFileBytes& file, uint64_t offset, uint32_t size) {
    std::vector<uint8_t> bytes = file.Read(offset, size);
    if (bytes.size() != size)
        return std::nullopt;
    return bytes;
}

ProgramImage Damaged() {
    return {.Kind = ImageKind::Damaged};
}

// The file offset of `size` bytes at `rva`, when one section holds them all in the file.
std::optional<uint64_t> FileOffset(const std::vector<uint8_t>& sections, uint32_t rva,
                                   uint32_t size) {
    for (size_t at = 0; at + kSectionHeaderSize <= sections.size(); at += kSectionHeaderSize) {
        const uint32_t start = Le<uint32_t>(sections, at + 12),
                       rawSize = Le<uint32_t>(sections, at + 16);
        if (rva >= start && uint64_t{rva - start} + size <= rawSize)
            return uint64_t{Le<uint32_t>(sections, at + 20)} + (rva - start);
    }
    return std::nullopt;
}

// The loader runs an x86 program under WOW64 and an x64 one natively; a PE32+ x86 image or a
// PE32 x64 one is refused.
bool LayoutFitsMachine(uint16_t machine, bool pe32Plus) {
    if (machine == kMachineI386)
        return !pe32Plus;
    if (machine == kMachineAmd64 || machine == kMachineArm64)
        return pe32Plus;
    return true;
}

class MemoryBytes : public IFileBytes {
public:
    explicit MemoryBytes(std::span<const uint8_t> bytes) : m_bytes(bytes) {}

    std::vector<uint8_t> Read(uint64_t offset, uint32_t size) override {
        if (offset >= m_bytes.size())
            return {};
        const auto from = static_cast<size_t>(offset);
        const auto count = static_cast<size_t>(std::min<uint64_t>(size, m_bytes.size() - from));
        return {m_bytes.begin() + from, m_bytes.begin() + from + count};
    }

private:
    std::span<const uint8_t> m_bytes;
};

} // namespace

ProgramImage ReadProgramImage(IFileBytes& file) {
    const std::vector<uint8_t> dos = file.Read(0, kDosHeaderSize);
    if (dos.size() < 2 || dos[0] != 'M' || dos[1] != 'Z')
        return {};
    if (dos.size() != kDosHeaderSize)
        return Damaged();
    const uint64_t ntAt = Le<uint32_t>(dos, kPeOffsetAt);
    const std::vector<uint8_t> nt = file.Read(ntAt, kNtHeaderSize);
    if (nt.size() < 4)
        return Damaged();
    if (Le<uint32_t>(nt, 0) != kPeSignature)
        return {}; // a DOS or 16-bit Windows program
    if (nt.size() != kNtHeaderSize)
        return Damaged();

    // Every size below comes from a 16-bit field: the largest read is the section table of
    // 65535 entries, 2.5 MiB.
    const uint16_t machine = Le<uint16_t>(nt, 4);
    const uint32_t sectionCount = Le<uint16_t>(nt, 6);
    const uint32_t optionalSize = Le<uint16_t>(nt, 20);
    const uint64_t optionalAt = ntAt + kNtHeaderSize;
    const auto optional = ReadExactly(file, optionalAt, optionalSize);
    if (!optional || optionalSize < 2)
        return Damaged();
    const uint16_t magic = Le<uint16_t>(*optional, 0);
    if (magic != kPe32Magic && magic != kPe32PlusMagic)
        return Damaged();
    const bool pe32Plus = magic == kPe32PlusMagic;
    const uint32_t directoriesAt = pe32Plus ? 112 : 96; // after the fixed fields
    if (optionalSize < directoriesAt || !LayoutFitsMachine(machine, pe32Plus))
        return Damaged();

    ProgramImage image = {.Kind = ImageKind::Native,
                          .Machine = machine,
                          .Pe32Plus = pe32Plus,
                          .IsDll = (Le<uint16_t>(nt, 22) & kFileDll) != 0};
    const uint32_t directoryCount = Le<uint32_t>(*optional, directoriesAt - 4);
    const uint32_t clrEntryAt = directoriesAt + kClrDirectory * 8;
    if (directoryCount <= kClrDirectory || clrEntryAt + 8 > optionalSize)
        return image;
    const uint32_t clrRva = Le<uint32_t>(*optional, clrEntryAt);
    if (clrRva == 0)
        return image;

    const auto sections =
        ReadExactly(file, optionalAt + optionalSize, sectionCount * kSectionHeaderSize);
    if (!sections)
        return Damaged();
    const auto corAt = FileOffset(*sections, clrRva, kCorHeaderSize);
    if (!corAt)
        return Damaged();
    const auto cor = ReadExactly(file, *corAt, kCorHeaderSize);
    if (!cor || Le<uint32_t>(*cor, 0) < kCorHeaderSize)
        return Damaged();
    const uint32_t flags = Le<uint32_t>(*cor, 16);
    // corhdr.h treats the two 32-bit flags as one field, in which "preferred" without
    // "required" is illegal, reserved for future use.
    if ((flags & (k32BitRequired | k32BitPreferred)) == k32BitPreferred)
        return Damaged();
    image.Kind = ImageKind::DotNet;
    image.IlOnly = (flags & kIlOnly) != 0;
    image.Requires32Bit = (flags & k32BitRequired) != 0;
    image.Prefers32Bit = (flags & k32BitPreferred) != 0;
    image.RuntimeMajor = Le<uint16_t>(*cor, 4);
    image.RuntimeMinor = Le<uint16_t>(*cor, 6);
    return image;
}

ProgramImage ReadProgramImage(std::span<const uint8_t> bytes) {
    MemoryBytes file(bytes);
    return ReadProgramImage(file);
}

std::optional<Bitness> RunsAs(const ProgramImage& image, Bitness windows) {
    const bool program = image.Kind == ImageKind::Native || image.Kind == ImageKind::DotNet;
    if (!program || image.IsDll)
        return std::nullopt;
    if (image.Machine == kMachineI386) {
        // An IL-only PE32 program that does not require 32-bit is AnyCPU: the loader of 64-bit
        // Windows runs it natively, as long as its CLR header is at least version 2.5 (the
        // CorFlags tool's documentation: "Assemblies must have a CLR header version of 2.5 or
        // greater to run natively"). Preferring 32-bit comes with the required flag set.
        const bool anyCpu =
            image.Kind == ImageKind::DotNet && image.IlOnly && !image.Requires32Bit &&
            (image.RuntimeMajor > 2 || (image.RuntimeMajor == 2 && image.RuntimeMinor >= 5));
        return anyCpu ? windows : Bitness::Bits32;
    }
    if (image.Machine == kMachineAmd64 && windows == Bitness::Bits64)
        return Bitness::Bits64;
    // ARM64 and every other machine: this program answers for x86 and x64 Windows only.
    return std::nullopt;
}
