#pragma once
// Writes small program files for tests: the headers a loader reads (DOS header, PE header,
// optional header, one section) and, for a .NET program, a CLR header at the start of that
// section. No code runs from them; they are for readers of headers. Portable, so that native
// tests use them in memory and Windows tests write them to disk.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

struct PeShape {
    uint16_t machine = 0x014c; // IMAGE_FILE_MACHINE_I386
    bool pe32Plus = false;
    bool dll = false;
    std::optional<uint32_t> clrFlags = std::nullopt; // a CLR header with these COMIMAGE_FLAGS_*
    uint16_t clrMajor = 2, clrMinor = 5;
};

// Where the parts lie, for tests that damage them.
namespace pe_layout {
inline constexpr size_t kPeOffsetAt = 0x3c; // e_lfanew
inline constexpr size_t kNtAt = 0x80;
inline constexpr size_t kSectionCountAt = kNtAt + 6;
inline constexpr size_t kOptionalAt = kNtAt + 24;
inline constexpr size_t OptionalSize(bool pe32Plus) {
    return pe32Plus ? 240 : 224;
}
inline constexpr size_t ClrDirectoryAt(bool pe32Plus) {
    return kOptionalAt + (pe32Plus ? 112 : 96) + 14 * 8;
}
inline constexpr size_t kSectionData = 0x200;   // in the file
inline constexpr uint32_t kSectionRva = 0x1000; // in memory
inline constexpr size_t kFileSize = 0x400;
} // namespace pe_layout

inline void PutU16(std::vector<uint8_t>& b, size_t at, uint16_t value) {
    b[at] = static_cast<uint8_t>(value);
    b[at + 1] = static_cast<uint8_t>(value >> 8);
}
inline void PutU32(std::vector<uint8_t>& b, size_t at, uint32_t value) {
    PutU16(b, at, static_cast<uint16_t>(value));
    PutU16(b, at + 2, static_cast<uint16_t>(value >> 16));
}

inline std::vector<uint8_t> BuildPe(const PeShape& shape) {
    using namespace pe_layout;
    std::vector<uint8_t> b(kFileSize);
    b[0] = 'M';
    b[1] = 'Z';
    PutU32(b, kPeOffsetAt, kNtAt);

    std::memcpy(&b[kNtAt], "PE\0\0", 4);
    PutU16(b, kNtAt + 4, shape.machine);
    PutU16(b, kSectionCountAt, 1);
    PutU16(b, kNtAt + 20, static_cast<uint16_t>(OptionalSize(shape.pe32Plus)));
    // Executable image, 32-bit word machine for PE32, a library when asked.
    PutU16(
        b, kNtAt + 22,
        static_cast<uint16_t>(0x0002 | (shape.pe32Plus ? 0 : 0x0100) | (shape.dll ? 0x2000 : 0)));

    const size_t o = kOptionalAt;
    PutU16(b, o, shape.pe32Plus ? 0x20b : 0x10b);
    PutU32(b, o + 32, 0x1000);                      // section alignment
    PutU32(b, o + 36, 0x200);                       // file alignment
    PutU16(b, o + 48, 5);                           // subsystem version 5.0
    PutU32(b, o + 56, 0x2000);                      // size of image
    PutU32(b, o + 60, 0x200);                       // size of headers
    PutU16(b, o + 68, 3);                           // console subsystem
    PutU32(b, o + (shape.pe32Plus ? 108 : 92), 16); // data directories
    if (shape.clrFlags) {
        PutU32(b, ClrDirectoryAt(shape.pe32Plus), kSectionRva);
        PutU32(b, ClrDirectoryAt(shape.pe32Plus) + 4, 72);
    }

    const size_t s = kOptionalAt + OptionalSize(shape.pe32Plus);
    std::memcpy(&b[s], ".text", 5);
    PutU32(b, s + 8, 0x200); // virtual size
    PutU32(b, s + 12, kSectionRva);
    PutU32(b, s + 16, 0x200); // raw size
    PutU32(b, s + 20, kSectionData);
    PutU32(b, s + 36, 0x60000020); // code, executable, readable

    if (shape.clrFlags) {
        PutU32(b, kSectionData, 72); // cb
        PutU16(b, kSectionData + 4, shape.clrMajor);
        PutU16(b, kSectionData + 6, shape.clrMinor);
        PutU32(b, kSectionData + 16, *shape.clrFlags);
    }
    return b;
}
