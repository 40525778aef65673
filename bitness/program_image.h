#pragma once
// What a program file says of the bitness it runs as: its PE header's machine, and for a .NET
// program its CLR header's flags (an AnyCPU program runs 64-bit on 64-bit Windows unless it
// prefers or requires 32-bit). Read from the file's bytes alone, never outside them: a damaged or
// hostile file gives Damaged, never a read past its end.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

enum class ImageKind {
    NotAProgram, // no MZ/PE signature: a document, a shortcut, an empty file
    Damaged,     // says it is a PE file, but its headers don't hold together
    Native,      // machine code for `Machine`
    DotNet,      // a CLR header: IL, perhaps with machine code beside it
};

// The PE header's Machine field, as winnt.h numbers it.
inline constexpr uint16_t kMachineI386 = 0x014c;
inline constexpr uint16_t kMachineAmd64 = 0x8664;
inline constexpr uint16_t kMachineArm64 = 0xaa64;

struct ProgramImage {
    ImageKind Kind = ImageKind::NotAProgram;
    uint16_t Machine = 0;  // the PE header's
    bool Pe32Plus = false; // the optional header is PE32+ (64-bit layout)
    bool IsDll = false;    // IMAGE_FILE_DLL: a library, not a program one can start
    // .NET only: COMIMAGE_FLAGS_ILONLY, _32BITREQUIRED, _32BITPREFERRED.
    // The two 32-bit flags are one two-bit field (corhdr.h): required alone is an x86 program,
    // both are an AnyCPU program that prefers 32-bit, preferred alone is illegal (Damaged).
    bool IlOnly = false;
    bool Requires32Bit = false;
    bool Prefers32Bit = false;
    // .NET only: the CLR header's runtime version. Below 2.5 (what the .NET 1.x compilers wrote)
    // an IL-only program never runs natively on 64-bit Windows.
    uint16_t RuntimeMajor = 0;
    uint16_t RuntimeMinor = 0;

    bool operator==(const ProgramImage&) const = default;
};

// Reads a file through `read(offset, size)`, which gives up to `size` bytes from `offset` (fewer
// at the file's end, none past it or on a read error), so that a large library is read only
// where its headers are.
class IFileBytes {
public:
    virtual ~IFileBytes() = default;
    virtual std::vector<uint8_t> Read(uint64_t offset, uint32_t size) = 0;
};

// Damaged and NotAProgram come with every other field at its default.
ProgramImage ReadProgramImage(IFileBytes& file);

// The same for bytes held in memory.
ProgramImage ReadProgramImage(std::span<const uint8_t> bytes);

enum class Bitness { Bits32, Bits64 };

// What the program runs as on Windows of the given bitness; nothing for a file that is not a
// program Windows of that bitness runs (a library, damaged, another machine such as ARM64).
std::optional<Bitness> RunsAs(const ProgramImage& image, Bitness windows);
