#include "repair/image_match.h"

#include <algorithm>
#include <optional>

namespace {

constexpr uint16_t kPe32 = 0x10b;
constexpr uint16_t kPe32Plus = 0x20b;
constexpr uint32_t kSectionWritable = 0x80000000;
constexpr uint32_t kSectionDiscardable = 0x02000000;
constexpr size_t kRelocationDirectory = 5;
constexpr size_t kImportAddressDirectory = 12;
constexpr uint16_t kRelocationHighLow = 3;
constexpr uint16_t kRelocationDir64 = 10;

uint32_t U16(std::span<const uint8_t> b, uint64_t at) {
    const size_t i = static_cast<size_t>(at);
    return static_cast<uint32_t>(b[i] | b[i + 1] << 8);
}
uint32_t U32(std::span<const uint8_t> b, uint64_t at) {
    return U16(b, at) | U16(b, at + 2) << 16;
}
uint64_t U64(std::span<const uint8_t> b, uint64_t at) {
    return U32(b, at) | static_cast<uint64_t>(U32(b, at + 4)) << 32;
}
bool Has(std::span<const uint8_t> b, size_t at, size_t size) {
    return at <= b.size() && size <= b.size() - at;
}

struct Section {
    uint32_t VirtualAddress, VirtualSize, RawOffset, RawSize, Characteristics;
};

struct Layout {
    bool Plus = false;
    uint64_t PreferredBase = 0;
    size_t ImageBaseAt = 0; // the field's offset in the headers
    uint32_t SizeOfImage = 0, SizeOfHeaders = 0;
    uint32_t RelocationRva = 0, RelocationSize = 0, IatRva = 0, IatSize = 0;
    std::vector<Section> Sections;

    std::optional<size_t> FileOffset(uint32_t rva, size_t size) const {
        for (const Section& s : Sections)
            if (rva >= s.VirtualAddress && rva - s.VirtualAddress < s.RawSize &&
                size <= s.RawSize - (rva - s.VirtualAddress))
                return static_cast<size_t>(s.RawOffset) + (rva - s.VirtualAddress);
        return std::nullopt;
    }
};

std::optional<Layout> ReadLayout(std::span<const uint8_t> f) {
    if (!Has(f, 0, 64) || f[0] != 'M' || f[1] != 'Z')
        return std::nullopt;
    const size_t pe = U32(f, 0x3c);
    if (!Has(f, pe, 24) || U32(f, pe) != 0x00004550)
        return std::nullopt;
    const size_t sectionCount = U16(f, pe + 6), optionalSize = U16(f, pe + 20);
    const size_t optional = pe + 24;
    if (!Has(f, optional, optionalSize) || optionalSize < 2)
        return std::nullopt;
    Layout l;
    const uint32_t magic = U16(f, optional);
    if (magic != kPe32 && magic != kPe32Plus)
        return std::nullopt;
    l.Plus = magic == kPe32Plus;
    const size_t directories = optional + (l.Plus ? 112 : 96);
    if (directories > optional + optionalSize)
        return std::nullopt;
    l.ImageBaseAt = optional + (l.Plus ? 24 : 28);
    l.PreferredBase = l.Plus ? U64(f, l.ImageBaseAt) : U32(f, l.ImageBaseAt);
    l.SizeOfImage = U32(f, optional + 56);
    l.SizeOfHeaders = U32(f, optional + 60);
    const size_t directoryCount = U32(f, directories - 4);
    const auto directory = [&](size_t index, uint32_t& rva, uint32_t& size) {
        const size_t at = directories + index * 8;
        if (index < directoryCount && at + 8 <= optional + optionalSize) {
            rva = U32(f, at);
            size = U32(f, at + 4);
        }
    };
    directory(kRelocationDirectory, l.RelocationRva, l.RelocationSize);
    directory(kImportAddressDirectory, l.IatRva, l.IatSize);
    const size_t table = optional + optionalSize;
    if (!Has(f, table, sectionCount * 40))
        return std::nullopt;
    for (size_t i = 0; i < sectionCount; ++i) {
        const size_t at = table + i * 40;
        l.Sections.push_back(
            {U32(f, at + 12), U32(f, at + 8), U32(f, at + 20), U32(f, at + 16), U32(f, at + 36)});
        if (!Has(f, l.Sections.back().RawOffset, l.Sections.back().RawSize))
            return std::nullopt;
    }
    return l;
}

// The file's bytes as the loader leaves them at `loadedAt`: every relocated address moved by the
// distance from the preferred base.
bool Relocate(std::vector<uint8_t>& f, const Layout& l, uint64_t loadedAt) {
    const uint64_t delta = loadedAt - l.PreferredBase;
    if (delta == 0)
        return true;
    const auto blocks = l.FileOffset(l.RelocationRva, l.RelocationSize);
    if (!blocks || l.RelocationSize == 0)
        return false; // moved, yet nothing says how
    const std::vector<uint8_t> original = f;
    // Sizes are added in 64 bits: a crafted block size must not wrap a 32-bit sum and loop.
    const uint64_t end = static_cast<uint64_t>(*blocks) + l.RelocationSize;
    for (uint64_t at = *blocks; at + 8 <= end;) {
        const uint32_t page = U32(original, at), blockSize = U32(original, at + 4);
        if (blockSize < 8 || at + blockSize > end)
            return false;
        for (uint64_t entry = at + 8; entry + 2 <= at + blockSize; entry += 2) {
            const uint32_t value = U16(original, entry);
            const uint16_t type = static_cast<uint16_t>(value >> 12);
            const uint32_t rva = page + (value & 0xfff);
            const size_t width = type == kRelocationHighLow ? 4 : type == kRelocationDir64 ? 8 : 0;
            if (width == 0)
                continue; // padding
            const auto target = l.FileOffset(rva, width);
            if (!target)
                return false;
            uint64_t address = width == 4 ? U32(f, *target) : U64(f, *target);
            address += delta;
            for (size_t k = 0; k < width; ++k)
                f[*target + k] = static_cast<uint8_t>(address >> (8 * k));
        }
        at += blockSize;
    }
    return true;
}

// Whether `loaded` (the file's bytes, relocated or not) is what `image` holds.
bool Compare(const std::vector<uint8_t>& loaded, const Layout& l, const uint8_t* image,
             size_t imageSize, ImageState state) {
    // The headers, but the base address, which a loader may write where it put the image.
    const size_t baseWidth = l.Plus ? 8 : 4;
    for (size_t i = 0; i < l.SizeOfHeaders; ++i)
        if ((i < l.ImageBaseAt || i >= l.ImageBaseAt + baseWidth) && loaded[i] != image[i])
            return false;
    const bool running = state == ImageState::Running;
    for (const Section& s : l.Sections) {
        if (running && (s.Characteristics & (kSectionWritable | kSectionDiscardable)))
            continue; // the program's own data, or what the loader may drop
        const size_t size = std::min(s.RawSize, s.VirtualSize ? s.VirtualSize : s.RawSize);
        if (s.VirtualAddress > imageSize || size > imageSize - s.VirtualAddress)
            return false;
        for (size_t i = 0; i < size; ++i) {
            const uint32_t rva = s.VirtualAddress + static_cast<uint32_t>(i);
            if (running && rva - l.IatRva < l.IatSize)
                continue; // the loader writes the imported functions' addresses there
            if (loaded[s.RawOffset + i] != image[rva])
                return false;
        }
    }
    return true;
}

} // namespace

bool FileIsLoadedImage(const std::vector<uint8_t>& file, const uint8_t* image, size_t imageSize,
                       uint64_t loadedAt, ImageState state) {
    const std::optional<Layout> l = ReadLayout(file);
    if (!l || image == nullptr || l->SizeOfImage != imageSize || l->SizeOfHeaders > file.size() ||
        l->SizeOfHeaders > imageSize)
        return false;
    std::vector<uint8_t> loaded = file;
    if (Relocate(loaded, *l, loadedAt) && Compare(loaded, *l, image, imageSize, state))
        return true;
    // Not yet relocated: the bytes as they are in the file, relocations and all, still to run.
    return state == ImageState::NotStarted && loadedAt != l->PreferredBase &&
           Compare(file, *l, image, imageSize, state);
}

bool FileOffsetOf(std::span<const uint8_t> file, uint32_t rva, size_t size, size_t& offset) {
    const std::optional<Layout> l = ReadLayout(file);
    const std::optional<size_t> at = l ? l->FileOffset(rva, size) : std::nullopt;
    if (at)
        offset = *at;
    return at.has_value();
}

uint32_t ImageSizeOf(std::span<const uint8_t> file) {
    const std::optional<Layout> l = ReadLayout(file);
    return l ? l->SizeOfImage : 0;
}
