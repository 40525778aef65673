// The program image reader with any bytes as the file, read through IFileBytes as a whole or with
// one of its reads failing. It never reads outside what it was given (ASan), asks only for headers,
// answers the same as from memory unless a read failed (then Damaged or NotAProgram), and says
// nothing more of a file it could not read.
//
// Input: a byte whose low three bits name the read that fails (0: none), then the file.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "bitness/program_image.h"
#include "fuzz/fuzz_input.h"

namespace {

constexpr uint64_t kLargestRead = 65535u * 40; // the section table of the most sections
constexpr uint64_t kMostRead = 64 + 24 + 65535 + kLargestRead + 72;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

class FlakyFile : public IFileBytes {
public:
    FlakyFile(const std::vector<uint8_t>& bytes, unsigned failing)
        : m_bytes(bytes), m_failing(failing) {}

    std::vector<uint8_t> Read(uint64_t offset, uint32_t size) override {
        Check(size <= kLargestRead);
        asked += size;
        if (++m_reads == m_failing || offset >= m_bytes.size())
            return {};
        const auto from = m_bytes.begin() + static_cast<std::ptrdiff_t>(offset);
        return {from, from + static_cast<std::ptrdiff_t>(
                                 std::min<uint64_t>(size, m_bytes.size() - offset))};
    }

    uint64_t asked = 0;

private:
    const std::vector<uint8_t>& m_bytes;
    unsigned m_failing;
    unsigned m_reads = 0;
};

void CheckAnswer(const ProgramImage& image) {
    const bool program = image.Kind == ImageKind::Native || image.Kind == ImageKind::DotNet;
    Check(program || image == ProgramImage{.Kind = image.Kind});
    const auto on32 = RunsAs(image, Bitness::Bits32), on64 = RunsAs(image, Bitness::Bits64);
    Check(on32 != Bitness::Bits64);
    Check(!on32 || on64); // what 32-bit Windows runs, 64-bit Windows runs too
    Check((!on32 && !on64) || (program && !image.IsDll));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const unsigned failing = in.Byte() & 7;
    const std::vector<uint8_t> bytes = in.Rest();

    const ProgramImage fromMemory = ReadProgramImage(std::span<const uint8_t>(bytes));
    FlakyFile file(bytes, failing);
    const ProgramImage image = ReadProgramImage(file);
    Check(file.asked <= kMostRead);
    Check(image == fromMemory || (failing != 0 && (image.Kind == ImageKind::Damaged ||
                                                   image.Kind == ImageKind::NotAProgram)));
    CheckAnswer(fromMemory);
    CheckAnswer(image);
    return 0;
}
