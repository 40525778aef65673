#include "repair/file_version.h"
#include "tests/fakes/fake_version_api.h"

#include <gtest/gtest.h>

namespace {

const std::string kPath = "C:\\WINDOWS\\system32\\msjet40.dll";

struct VersionCase {
    uint16_t major, minor, build, revision;
    const char* dotted;
    const char* buildOnly;
};

class VersionTextTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(VersionTextTest, DottedAndBuildOnlyForms) {
    const VersionCase& c = GetParam();
    FakeVersionApi api;
    api.Add(kPath, c.major, c.minor, c.build, c.revision);
    EXPECT_EQ(GetFileVersionText(api, kPath, false, Language::English), c.dotted);
    EXPECT_EQ(GetFileVersionText(api, kPath, true, Language::English), c.buildOnly);
    EXPECT_FALSE(api.handleMismatch);
}

INSTANTIATE_TEST_SUITE_P(
    Versions, VersionTextTest,
    ::testing::Values(VersionCase{2, 81, 1117, 0, "2.81.1117", "1117"},
                      VersionCase{4, 0, 8015, 0, "4.0.8015", "8015"},
                      VersionCase{4, 0, 2927, 4, "4.0.2927", "4"},
                      VersionCase{4, 0, 8618, 40000, "4.0.8618", "40000"},
                      VersionCase{40000, 40000, 40000, 0, "40000.40000.40000", "40000"},
                      VersionCase{65535, 65535, 65535, 65535, "65535.65535.65535", "65535"},
                      VersionCase{0, 0, 0, 0, "0.0.0", "0"},
                      VersionCase{10, 0, 0, 1, "10.0.0", "1"}));

struct FailureCase {
    const char* name;
    void (*spoil)(FakeVersionApi& api); // how the version information goes wrong
};

FakeVersionFile& Good(FakeVersionApi& api) {
    api.Add(kPath, 2, 81, 1117, 0);
    return api.files[kPath];
}

const FailureCase kFailures[] = {
    {"MissingFile", [](FakeVersionApi&) {}},
    {"NoVersionInformation", [](FakeVersionApi& a) { Good(a).reportedSize = 0; }},
    {"HugeSize", [](FakeVersionApi& a) { Good(a).reportedSize = 0xFFFFFFFF; }},
    {"InfoCallFails", [](FakeVersionApi& a) { Good(a).infoFails = true; }},
    {"QueryFails", [](FakeVersionApi& a) { Good(a).answer = FakeVersionFile::Answer::Fails; }},
    {"NullPointer", [](FakeVersionApi& a) { Good(a).answer = FakeVersionFile::Answer::Null; }},
    {"PointerOutsideBuffer",
     [](FakeVersionApi& a) { Good(a).answer = FakeVersionFile::Answer::Outside; }},
    {"PointerBeforeBuffer", [](FakeVersionApi& a) { Good(a).valueOffset = -64; }},
    {"BlockRunsPastEnd",
     [](FakeVersionApi& a) {
         auto& f = Good(a);
         f.valueOffset = static_cast<int64_t>(f.info.size()) - 20;
     }},
    {"BufferSmallerThanBlock",
     [](FakeVersionApi& a) {
         auto& f = Good(a);
         f.valueOffset = 0;
         f.reportedSize = 30;
     }},
    {"ShortLength", [](FakeVersionApi& a) { Good(a).valueLength = 51; }},
    {"ZeroLength", [](FakeVersionApi& a) { Good(a).valueLength = 0; }},
    {"WrongSignature", [](FakeVersionApi& a) { Good(a).Fixed().dwSignature = 0xFEEF04BC; }},
};

class VersionFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(VersionFailureTest, IsNoVersionInformation) {
    FakeVersionApi api;
    GetParam().spoil(api);

    FixedFileInfo block;
    std::memset(static_cast<void*>(&block), 0xCD, sizeof block);
    EXPECT_FALSE(ReadFileVersion(api, kPath, block));
    const auto* bytes = reinterpret_cast<const unsigned char*>(&block);
    for (size_t i = 0; i < sizeof block; ++i) {
        ASSERT_EQ(bytes[i], 0xCD) << "block touched at byte " << i;
    }

    EXPECT_EQ(GetFileVersionText(api, kPath, false, Language::English), "Not available");
    EXPECT_EQ(GetFileVersionText(api, kPath, true, Language::English), "Not available");
    EXPECT_EQ(GetFileVersionText(api, kPath, false, Language::German), "Nicht vorhanden");
    EXPECT_EQ(GetFileVersionText(api, kPath, true, Language::German), "Nicht vorhanden");
}

INSTANTIATE_TEST_SUITE_P(Malformed, VersionFailureTest, ::testing::ValuesIn(kFailures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReadFileVersion, HugeReportedLengthCopiesOneBlockOnly) {
    FakeVersionApi api;
    Good(api).valueLength = 0xFFFFFFFF;
    FixedFileInfo block{};
    ASSERT_TRUE(ReadFileVersion(api, kPath, block));
    EXPECT_EQ(block.dwFileVersionMS, (2u << 16) | 81u);
    EXPECT_EQ(block.dwFileVersionLS, 1117u << 16);
}

TEST(ReadFileVersion, BlockEndingExactlyAtBufferEndIsTaken) {
    FakeVersionApi api;
    FakeVersionFile& file = Good(api);
    FixedFileInfo fixed = file.Fixed();
    file.info.resize(40 + sizeof fixed); // nothing after the fixed block
    file.reportedSize = static_cast<uint32_t>(file.info.size());
    FixedFileInfo block{};
    ASSERT_TRUE(ReadFileVersion(api, kPath, block));
    EXPECT_EQ(std::memcmp(&block, &fixed, sizeof block), 0);
}

TEST(ReadFileVersion, HugeSizeIsNeverFetched) {
    FakeVersionApi api;
    Good(api).reportedSize = 0xFFFFFFFF;
    FixedFileInfo block{};
    EXPECT_FALSE(ReadFileVersion(api, kPath, block));
    EXPECT_EQ(api.infoCalls, 0);
}

} // namespace
