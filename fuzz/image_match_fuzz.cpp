// The comparison of a program file with a mapped image, with a file of any bytes: it always
// returns, reads nothing outside the file or the image, and never passes an image that differs
// in a byte it compares. The image is the file laid out as a loader maps it (the headers, then
// each section's data at its address), so that well-formed files pass; relocations run wherever
// the image is said to be elsewhere than the preferred base.
//
// Properties checked, with the file's own headers:
// - Where the file passes at its preferred base (nothing to relocate), changing one image byte
//   it compares makes it fail. Compared are the headers up to their size but the base address
//   field, and each section's data (the smaller of its raw and virtual sizes); while running,
//   not the writable or discardable sections nor the import address table.
// - A process that has not started may not be relocated yet: an image that passes at the
//   preferred base also passes, not started, at any other base.
// - A file offset found for an address lies, with the size asked for, inside the file.
// Relocated comparisons are only run for faults and hangs: what passes there depends on the
// relocations, which would have to be done here a second time.
//
// Input (numbers little-endian): the 32-bit distance from the preferred base to where the image
// is said to be (0: 64 KB), the 32-bit address of the image byte to change (modulo the image
// size), the change (a byte, XORed; 0: 1), a size to look up at that address in the file, then
// the file.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "repair/image_match.h"

namespace {

// Larger images are not laid out: zeroing them would slow every run.
constexpr uint32_t kLargestImage = 4u << 20;
constexpr uint32_t kWritableOrDiscardable = 0x80000000 | 0x02000000;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

// A little-endian number, 0 past the end.
uint64_t Le(const std::vector<uint8_t>& f, size_t at, size_t width) {
    uint64_t value = 0;
    if (at > f.size() || width > f.size() - at)
        return 0;
    for (size_t k = 0; k < width; ++k)
        value |= static_cast<uint64_t>(f[at + k]) << (8 * k);
    return value;
}

struct Section {
    uint32_t Address, Size, RawOffset, Characteristics; // Size: the bytes mapped from the file
};

struct Headers {
    uint64_t Base = 0;
    size_t BaseAt = 0, BaseWidth = 0;
    uint32_t SizeOfHeaders = 0, IatRva = 0, IatSize = 0;
    std::vector<Section> Sections;
};

// Read only for files whose headers the comparison reads too; where this reading is looser (the
// import address table whatever the directory count), fewer bytes count as compared.
Headers Read(const std::vector<uint8_t>& f) {
    Headers h;
    const size_t pe = Le(f, 0x3c, 4), optional = pe + 24, optionalSize = Le(f, pe + 20, 2);
    const bool plus = Le(f, optional, 2) == 0x20b;
    h.BaseAt = optional + (plus ? 24 : 28);
    h.BaseWidth = plus ? 8 : 4;
    h.Base = Le(f, h.BaseAt, h.BaseWidth);
    h.SizeOfHeaders = static_cast<uint32_t>(Le(f, optional + 60, 4));
    const size_t iat = optional + (plus ? 112 : 96) + 12 * 8;
    if (iat + 8 <= optional + optionalSize) {
        h.IatRva = static_cast<uint32_t>(Le(f, iat, 4));
        h.IatSize = static_cast<uint32_t>(Le(f, iat + 4, 4));
    }
    for (size_t i = 0, count = Le(f, pe + 6, 2); i < count; ++i) {
        const size_t at = optional + optionalSize + i * 40;
        const auto virtualSize = static_cast<uint32_t>(Le(f, at + 8, 4));
        const auto rawSize = static_cast<uint32_t>(Le(f, at + 16, 4));
        h.Sections.push_back({static_cast<uint32_t>(Le(f, at + 12, 4)),
                              virtualSize ? std::min(rawSize, virtualSize) : rawSize,
                              static_cast<uint32_t>(Le(f, at + 20, 4)),
                              static_cast<uint32_t>(Le(f, at + 36, 4))});
    }
    return h;
}

// The file as a loader maps it: the headers, then each section's data, a later one over an
// earlier where they overlap.
std::vector<uint8_t> Map(const std::vector<uint8_t>& f, const Headers& h, uint32_t imageSize) {
    std::vector<uint8_t> image(imageSize);
    const auto copy = [&](size_t from, size_t to, size_t size) {
        if (from >= f.size() || to >= image.size())
            return;
        size = std::min({size, f.size() - from, image.size() - to});
        std::copy_n(f.begin() + from, size, image.begin() + to);
    };
    copy(0, 0, h.SizeOfHeaders);
    for (const Section& s : h.Sections)
        copy(s.RawOffset, s.Address, s.Size);
    return image;
}

bool Compared(const Headers& h, uint32_t rva, ImageState state) {
    if (rva < h.SizeOfHeaders && (rva < h.BaseAt || rva >= h.BaseAt + h.BaseWidth))
        return true;
    const bool running = state == ImageState::Running;
    if (running && rva - h.IatRva < h.IatSize)
        return false;
    for (const Section& s : h.Sections)
        if (!(running && (s.Characteristics & kWritableOrDiscardable)) && rva - s.Address < s.Size)
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const uint32_t distance = in.U32();
    const uint32_t changeAt = in.U32();
    const uint8_t change = in.Byte();
    const uint8_t lookUp = in.Byte();
    const std::vector<uint8_t> file = in.Rest();

    size_t offset = 0;
    if (FileOffsetOf(file, changeAt, lookUp, offset))
        Check(offset <= file.size() && lookUp <= file.size() - offset);

    const uint32_t imageSize = ImageSizeOf(file);
    if (imageSize == 0 || imageSize > kLargestImage) {
        const uint8_t byte = 0; // the headers are still read, as far as they go
        for (ImageState state : {ImageState::Running, ImageState::NotStarted})
            FileIsLoadedImage(file, &byte, sizeof byte, distance, state);
        return 0;
    }
    const Headers h = Read(file);
    std::vector<uint8_t> image = Map(file, h, imageSize);
    const uint64_t moved = h.Base + (distance ? distance : 0x10000);
    const uint32_t rva = changeAt % imageSize;

    for (ImageState state : {ImageState::Running, ImageState::NotStarted}) {
        const auto passes = [&](uint64_t loadedAt) {
            return FileIsLoadedImage(file, image.data(), image.size(), loadedAt, state);
        };
        const bool atBase = passes(h.Base);
        const bool atMoved = passes(moved);
        if (state == ImageState::NotStarted)
            Check(!atBase || atMoved);
        if (atBase && Compared(h, rva, state)) {
            image[rva] ^= change ? change : 1;
            Check(!passes(h.Base));
            image[rva] ^= change ? change : 1;
        }
    }
    return 0;
}
