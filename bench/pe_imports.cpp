#include "bench/pe_imports.h"

namespace {

constexpr uint16_t kPe32Magic = 0x10b;
constexpr uint16_t kPe32PlusMagic = 0x20b;
constexpr size_t kSectionHeaderSize = 40;
constexpr size_t kImportDescriptorSize = 20;
constexpr size_t kMaxImports = 4096; // far more than any program has; ends a table without end
constexpr size_t kMaxFunctions = 65536;

class Reader {
public:
    explicit Reader(const std::vector<uint8_t>& bytes) : m_bytes(bytes) {}

    bool Has(size_t offset, size_t size) const {
        return offset <= m_bytes.size() && size <= m_bytes.size() - offset;
    }
    uint32_t U16(size_t offset) const { return m_bytes[offset] | m_bytes[offset + 1] << 8; }
    uint32_t U32(size_t offset) const {
        return static_cast<uint32_t>(U16(offset)) | static_cast<uint32_t>(U16(offset + 2)) << 16;
    }
    // The text that ends with the first zero byte at or after offset; nullopt without one.
    std::optional<std::string> Text(size_t offset) const {
        for (size_t end = offset; end < m_bytes.size(); ++end)
            if (m_bytes[end] == 0)
                return std::string(m_bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                                   m_bytes.begin() + static_cast<std::ptrdiff_t>(end));
        return std::nullopt;
    }

private:
    const std::vector<uint8_t>& m_bytes;
};

struct Section {
    uint32_t VirtualAddress, VirtualSize, RawOffset, RawSize;
};

// The file offset of a relative virtual address, when a section holds it in the file.
std::optional<size_t> FileOffset(const std::vector<Section>& sections, uint32_t rva) {
    for (const auto& s : sections) {
        const uint32_t size = s.VirtualSize ? s.VirtualSize : s.RawSize;
        if (rva >= s.VirtualAddress && rva - s.VirtualAddress < size &&
            rva - s.VirtualAddress < s.RawSize)
            return static_cast<size_t>(s.RawOffset) + (rva - s.VirtualAddress);
    }
    return std::nullopt;
}

} // namespace

std::optional<std::vector<ImportedLibrary>> Imports(const std::vector<uint8_t>& image) {
    const Reader r(image);
    if (!r.Has(0, 64) || image[0] != 'M' || image[1] != 'Z')
        return std::nullopt;
    const size_t pe = r.U32(0x3c);
    if (!r.Has(pe, 24) || r.U32(pe) != 0x00004550) // "PE\0\0"
        return std::nullopt;
    const size_t sectionCount = r.U16(pe + 6);
    const size_t optionalSize = r.U16(pe + 20);
    const size_t optional = pe + 24;
    if (!r.Has(optional, optionalSize) || optionalSize < 2)
        return std::nullopt;
    const uint32_t magic = r.U16(optional);
    if (magic != kPe32Magic && magic != kPe32PlusMagic)
        return std::nullopt;
    // The data directories follow the fixed part; the import table is the second of them.
    const size_t directories = optional + (magic == kPe32Magic ? 96 : 112);
    const size_t directoryCountAt = directories - 4;
    const size_t importEntry = directories + 8;
    if (importEntry + 8 > optional + optionalSize || r.U32(directoryCountAt) < 2)
        return std::vector<ImportedLibrary>{};

    std::vector<Section> sections;
    const size_t sectionTable = optional + optionalSize;
    if (!r.Has(sectionTable, sectionCount * kSectionHeaderSize))
        return std::nullopt;
    for (size_t i = 0; i < sectionCount; ++i) {
        const size_t at = sectionTable + i * kSectionHeaderSize;
        sections.push_back({r.U32(at + 12), r.U32(at + 8), r.U32(at + 20), r.U32(at + 16)});
    }

    const uint32_t importRva = r.U32(importEntry);
    if (importRva == 0)
        return std::vector<ImportedLibrary>{};
    auto table = FileOffset(sections, importRva);
    if (!table)
        return std::nullopt;
    const size_t thunkSize = magic == kPe32Magic ? 4 : 8;
    std::vector<ImportedLibrary> libraries;
    for (size_t at = *table;; at += kImportDescriptorSize) {
        if (!r.Has(at, kImportDescriptorSize) || libraries.size() == kMaxImports)
            return std::nullopt;
        bool empty = true;
        for (size_t k = 0; k < kImportDescriptorSize; k += 4)
            empty = empty && r.U32(at + k) == 0;
        if (empty)
            return libraries;
        const auto nameAt = FileOffset(sections, r.U32(at + 12));
        auto name = nameAt ? r.Text(*nameAt) : std::nullopt;
        if (!name)
            return std::nullopt;
        ImportedLibrary library{*name, {}};
        // The lookup table, or where a linker left none, the address table before binding.
        const uint32_t thunks = r.U32(at) ? r.U32(at) : r.U32(at + 16);
        if (thunks != 0) {
            const auto first = FileOffset(sections, thunks);
            if (!first)
                return std::nullopt;
            for (size_t entry = *first;; entry += thunkSize) {
                if (!r.Has(entry, thunkSize) || library.Functions.size() == kMaxFunctions)
                    return std::nullopt;
                const uint32_t low = r.U32(entry);
                const uint32_t high = thunkSize == 8 ? r.U32(entry + 4) : 0;
                if (low == 0 && high == 0)
                    break;
                const bool byOrdinal =
                    thunkSize == 8 ? (high & 0x80000000u) != 0 : (low & 0x80000000u) != 0;
                if (byOrdinal) {
                    library.Functions.push_back("#" + std::to_string(low & 0xffff));
                    continue;
                }
                // A hint of two bytes, then the name.
                const auto hintAt = FileOffset(sections, low & 0x7fffffffu);
                auto function = hintAt ? r.Text(*hintAt + 2) : std::nullopt;
                if (!function || !r.Has(*hintAt, 2))
                    return std::nullopt;
                library.Functions.push_back(*function);
            }
        }
        libraries.push_back(std::move(library));
    }
}

std::optional<std::vector<std::string>> ImportedLibraries(const std::vector<uint8_t>& image) {
    const auto imports = Imports(image);
    if (!imports)
        return std::nullopt;
    std::vector<std::string> names;
    for (const auto& library : *imports)
        names.push_back(library.Name);
    return names;
}
