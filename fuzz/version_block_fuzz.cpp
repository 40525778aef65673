// The file version query with any version information: any bytes, any reported size, and any
// place and length the platform claims for the fixed block. A block is taken exactly when a whole,
// signed one lies inside what was read; otherwise the texts say "not available".
//
// Input: a flags byte (bit 0: GetFileVersionInfo fails; bits 1-2: how VerQueryValue answers:
// in the buffer, null, elsewhere, fails; bits 3-4: the reported size: the data's, a smaller one,
// a larger one, any), a 32-bit size argument, the block's 64-bit offset from the buffer's start,
// the 32-bit length VerQueryValue reports, then the version information itself. Numbers are
// little-endian.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "repair/file_version.h"
#include "tests/fakes/fake_version_api.h"
#include "text/string_table.h"

namespace {

constexpr const char* kPath = "C:\\WINDOWS\\system32\\msjet40.dll";
constexpr uint32_t kLargestRead = 1u << 20;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

uint32_t ReportedSize(int mode, uint32_t argument, size_t dataSize) {
    const auto size = static_cast<uint32_t>(dataSize);
    switch (mode) {
    case 0:
        return size;
    case 1:
        return argument % (size + 1);
    case 2:
        return size + argument % 4096;
    default:
        return argument;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const uint8_t flags = in.Byte();
    const uint32_t sizeArgument = in.U32();
    const auto offset = static_cast<int64_t>(in.U64());
    const uint32_t length = in.U32();

    FakeVersionFile file;
    file.info = in.Rest();
    file.infoFails = (flags & 1) != 0;
    file.answer = static_cast<FakeVersionFile::Answer>((flags >> 1) & 3);
    file.reportedSize = ReportedSize((flags >> 3) & 3, sizeArgument, file.info.size());
    file.valueOffset = offset;
    file.valueLength = length;

    FakeVersionApi api;
    api.Add(kPath, file);

    // What the query reads: the information cut or padded with zeros to the reported size.
    std::vector<unsigned char> read(file.info);
    read.resize(file.reportedSize <= kLargestRead ? file.reportedSize : 0);
    const bool inside = file.answer == FakeVersionFile::Answer::InBuffer && offset >= 0 &&
                        static_cast<uint64_t>(offset) + sizeof(FixedFileInfo) <= read.size();
    FixedFileInfo expected{};
    if (inside)
        std::memcpy(&expected, read.data() + offset, sizeof expected);
    const bool readable = file.reportedSize != 0 && file.reportedSize <= kLargestRead &&
                          !file.infoFails && inside && length >= sizeof(FixedFileInfo) &&
                          expected.dwSignature == kFixedFileInfoSignature;

    FixedFileInfo block{};
    const bool found = ReadFileVersion(api, kPath, block);
    Check(found == readable);
    Check(!found || std::memcmp(&block, &expected, sizeof block) == 0);
    Check(!api.handleMismatch);

    for (Language lang : {Language::English, Language::German}) {
        const std::string dotted = GetFileVersionText(api, kPath, false, lang);
        const std::string build = GetFileVersionText(api, kPath, true, lang);
        if (!found) {
            Check(dotted == LoadText(102, lang) && build == LoadText(102, lang));
            continue;
        }
        Check(dotted == DottedVersionText(block));
        const uint16_t shown =
            VersionRevision(block) != 0 ? VersionRevision(block) : VersionBuild(block);
        Check(build == std::to_string(shown));
    }
    return 0;
}
