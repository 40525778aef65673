#include <gtest/gtest.h>

#include "registry_test_support.h"

namespace {
using namespace std::string_literals;

const Variant kFallback = std::string("fallback");

struct ReadCase {
    const char* name;
    uint32_t type;
    ByteArray data;
    Variant expected;
    friend void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }
};

class ValueRead : public testing::TestWithParam<ReadCase> {};

TEST_P(ValueRead, ConvertsTheStoredTypeAndRecordsIt) {
    const ReadCase& c = GetParam();
    FakeRegistry store;
    store.SetRawValue(kHkeyCurrentUser, kSection, "Item", c.type, c.data);
    cRegistry reg(store);
    AimAtTestValue(reg);
    reg.Default(kFallback);
    reg.ValueType(kRegSz);

    EXPECT_EQ(reg.Value(), c.expected);
    EXPECT_EQ(reg.ValueType(), static_cast<int32_t>(c.type));
    EXPECT_EQ(store.OpenKeyCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Registry, ValueRead,
    testing::Values(
        ReadCase{"Version", kRegSz, Bytes("2.81.1117.0\0"s), "2.81.1117.0"s},
        ReadCase{"SzWithoutTerminator", kRegSz, Bytes("2.81"), "2.81"s},
        ReadCase{"SzEmptyData", kRegSz, {}, ""s},
        ReadCase{"SzLargerThanAnyFixedBuffer", kRegSz, Bytes(std::string(70000, 'x') + '\0'),
                 std::string(70000, 'x')},
        ReadCase{"ExpandSz", kRegExpandSz, Bytes("%SystemRoot%\\x\0"s), "C:\\WINDOWS\\x"s},
        ReadCase{"ExpandSzUnknownName", kRegExpandSz, Bytes("%NoSuchName%\0"s), "%NoSuchName%"s},
        ReadCase{"ExpandSzWithoutTerminator", kRegExpandSz, Bytes("%SystemRoot%"), "C:\\WINDOWS"s},
        ReadCase{"ExpandSzEmptyData", kRegExpandSz, {}, ""s},
        ReadCase{"ExpandSzStopsAtEmbeddedNul", kRegExpandSz, Bytes("%SystemRoot%\0tail\0"s),
                 "C:\\WINDOWS"s},
        ReadCase{"MultiSz", kRegMultiSz, Bytes("a\0bc\0\0"s), "a\0bc\0"s},
        ReadCase{"MultiSzWithoutTerminators", kRegMultiSz, Bytes("a\0bc"s), "a\0bc\0"s},
        ReadCase{"MultiSzEmptyData", kRegMultiSz, {}, ""s},
        ReadCase{"MultiSzEndsAtEmptyString", kRegMultiSz, Bytes("a\0\0b\0\0"s), "a\0"s},
        ReadCase{"SzEmbeddedNul", kRegSz, Bytes("a\0b\0"s), "a\0b"s},
        ReadCase{"Dword", kRegDword, {1, 0, 0, 0}, int32_t{1}},
        ReadCase{"DwordNegative", kRegDword, {0xFE, 0xFF, 0xFF, 0xFF}, int32_t{-2}},
        ReadCase{"DwordBigEndian", kRegDwordBigEndian, {0, 0, 0, 1}, int32_t{1}},
        ReadCase{"DwordByteOrder", kRegDword, {0x78, 0x56, 0x34, 0x12}, int32_t{0x12345678}},
        ReadCase{"BigEndianByteOrder",
                 kRegDwordBigEndian,
                 {0x78, 0x56, 0x34, 0x12},
                 int32_t{0x78563412}},
        ReadCase{"DwordTooShort", kRegDword, {1, 0}, kFallback},
        ReadCase{"DwordTooLong", kRegDword, {1, 0, 0, 0, 0, 0, 0, 0}, kFallback},
        ReadCase{"DwordEmpty", kRegDword, {}, kFallback},
        ReadCase{"DwordBigEndianTooLong", kRegDwordBigEndian, {0, 0, 0, 1, 0}, kFallback},
        ReadCase{"Binary5", kRegBinary, {1, 2, 3, 4, 5}, ByteArray{1, 2, 3, 4, 5}},
        ReadCase{"BinaryEmpty", kRegBinary, {}, ByteArray{}},
        ReadCase{"None", kRegNone, {7, 8}, ByteArray{7, 8}},
        ReadCase{"Link", kRegLink, {'a', 0}, ByteArray{'a', 0}},
        ReadCase{"Qword", 11, {1, 2, 3, 4, 5, 6, 7, 8}, ByteArray{1, 2, 3, 4, 5, 6, 7, 8}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ValueRead, FallsBackToDefaultAndKeepsValueTypeWhenNothingCanBeRead) {
    struct Case {
        const char* name;
        int32_t classKey;
        const char* section;
        const char* value;
    };
    const Case cases[] = {
        {"MissingValue", kHkeyCurrentUser, kSection, "Other"},
        {"MissingKey", kHkeyCurrentUser, "Software\\QuendryTest\\Nowhere", "Item"},
        {"OtherRoot", kHkeyLocalMachine, kSection, "Item"},
        {"ClassKeyUnset", 0, kSection, "Item"},
        {"NotARootKey", 0x1234, kSection, "Item"},
    };
    for (const Case& c : cases) {
        FakeRegistry store;
        store.SetStringValue(kHkeyCurrentUser, kSection, "Item", "stored");
        cRegistry reg(store);
        reg.ClassKey(c.classKey);
        reg.SectionKey(c.section);
        reg.ValueKey(c.value);
        reg.Default(kFallback);
        reg.ValueType(kRegBinary);
        EXPECT_EQ(reg.Value(), kFallback) << c.name;
        EXPECT_EQ(reg.ValueType(), kRegBinary) << c.name;
        EXPECT_EQ(store.OpenKeyCount(), 0u) << c.name;
    }
}

TEST(ValueRead, NamesAreCaseInsensitiveAndTheEmptyNameIsTheDefaultValue) {
    FakeRegistry store;
    store.SetStringValue(kHkeyLocalMachine, "Software\\Microsoft\\DataAccess", "FullInstallVer",
                         "2.81.1117.0");
    store.SetStringValue(kHkeyLocalMachine, "Software\\Microsoft\\DataAccess", "", "unnamed");
    cRegistry reg(store);
    reg.ClassKey(kHkeyLocalMachine);
    reg.SectionKey("SOFTWARE\\microsoft\\DataAccess");
    reg.ValueKey("fullinstallver");
    EXPECT_EQ(reg.Value(), Variant("2.81.1117.0"s));
    reg.ValueKey("");
    EXPECT_EQ(reg.Value(), Variant("unnamed"s));
}

// The value changes between the size query and the read.
struct ChangeCase {
    const char* name;
    uint32_t typeBefore;
    ByteArray before;
    uint32_t typeAfter;
    ByteArray after;
    int changes; // how many of the reads see a changed value
    Variant expected;
    int32_t valueType;
    friend void PrintTo(const ChangeCase& c, std::ostream* os) { *os << c.name; }
};

class ValueChangingWhileRead : public testing::TestWithParam<ChangeCase> {};

TEST_P(ValueChangingWhileRead, ReadsWhatIsThereOrFallsBack) {
    const ChangeCase& c = GetParam();
    FakeRegistry store;
    store.SetRawValue(kHkeyCurrentUser, kSection, "Item", c.typeBefore, c.before);
    int queries = 0;
    ByteArray growing = c.after;
    store.BeforeCall = [&](FakeRegistry::Fn fn, size_t) {
        if (fn != FakeRegistry::Fn::QueryValue || ++queries == 1 || queries - 1 > c.changes) {
            return;
        }
        store.SetRawValue(kHkeyCurrentUser, kSection, "Item", c.typeAfter, growing);
        growing.insert(growing.begin(), 16, 'g'); // the next change is larger still
    };
    cRegistry reg(store);
    AimAtTestValue(reg);
    reg.Default(kFallback);

    EXPECT_EQ(reg.Value(), c.expected);
    EXPECT_EQ(reg.ValueType(), c.valueType);
    EXPECT_EQ(store.OpenKeyCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Registry, ValueChangingWhileRead,
    testing::Values(ChangeCase{"GrowsOnce", kRegSz, Bytes("2.8\0"s), kRegSz,
                               Bytes("2.81.1117.0\0"s), 1, "2.81.1117.0"s, kRegSz},
                    ChangeCase{"GrowsTwice", kRegSz, Bytes("2.8\0"s), kRegSz,
                               Bytes("2.81.1117.0\0"s), 2, std::string(16, 'g') + "2.81.1117.0",
                               kRegSz},
                    ChangeCase{"KeepsGrowing", kRegSz, Bytes("2.8\0"s), kRegSz,
                               Bytes("2.81.1117.0\0"s), 1000, kFallback, kRegSz},
                    ChangeCase{"Shrinks", kRegSz, Bytes("2.81.1117.0\0"s), kRegSz, Bytes("2.8\0"s),
                               1, "2.8"s, kRegSz},
                    ChangeCase{"EmptyThenFilled",
                               kRegBinary,
                               {},
                               kRegBinary,
                               {1, 2, 3},
                               1,
                               ByteArray{1, 2, 3},
                               kRegBinary},
                    ChangeCase{"ChangesType",
                               kRegSz,
                               Bytes("12345678\0"s),
                               kRegDword,
                               {9, 0, 0, 0},
                               1,
                               int32_t{9},
                               kRegDword},
                    ChangeCase{"DwordGrows",
                               kRegDword,
                               {1, 0, 0, 0},
                               kRegDword,
                               {1, 0, 0, 0, 0, 0, 0, 0},
                               1,
                               kFallback,
                               kRegDword}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ValueRead, ValueDeletedAfterTheSizeQueryGivesDefaultWithTheQueriedType) {
    FakeRegistry store;
    store.SetRawValue(kHkeyCurrentUser, kSection, "Item", kRegBinary, {1});
    int queries = 0;
    store.BeforeCall = [&](FakeRegistry::Fn fn, size_t) {
        if (fn == FakeRegistry::Fn::QueryValue && ++queries == 2) {
            store.FailEvery(FakeRegistry::Fn::QueryValue, kRegErrFileNotFound);
        }
    };
    cRegistry reg(store);
    AimAtTestValue(reg);
    reg.Default(kFallback);
    EXPECT_EQ(reg.Value(), kFallback);
    EXPECT_EQ(reg.ValueType(), kRegBinary);
    EXPECT_EQ(store.OpenKeyCount(), 0u);
}

// A registry that reports more data than it was given room for must not lead the class past
// the end of its buffer.
class OverstatingRegistry : public FakeRegistry {
public:
    int32_t QueryValue(RegKeyHandle key, const std::string& name, uint32_t& type, uint8_t* data,
                       uint32_t& size) override {
        int32_t result = FakeRegistry::QueryValue(key, name, type, data, size);
        if (result == kRegOk && data != nullptr) {
            size += 4096;
        }
        return result;
    }
};

TEST(ValueRead, SizeOverstatedAfterTheReadIsBoundedByTheBuffer) {
    const std::pair<uint32_t, ByteArray> cases[] = {
        {kRegSz, Bytes("abc\0"s)}, {kRegBinary, {1, 2, 3, 4, 5}}, {kRegMultiSz, Bytes("a\0\0"s)}};
    const Variant expected[] = {"abc"s, ByteArray{1, 2, 3, 4, 5}, "a\0"s};
    for (size_t i = 0; i < std::size(cases); ++i) {
        OverstatingRegistry store;
        store.SetRawValue(kHkeyCurrentUser, kSection, "Item", cases[i].first, cases[i].second);
        cRegistry reg(store);
        AimAtTestValue(reg);
        EXPECT_EQ(reg.Value(), expected[i]) << i;
    }
}

TEST(ValueRead, ExpansionFollowsAnEnvironmentThatGrowsAndKeepsTheTextWhenItFails) {
    FakeRegistry store;
    store.SetRawValue(kHkeyCurrentUser, kSection, "Item", kRegExpandSz,
                      Bytes("%SystemRoot%\\x\0"s));
    int expansions = 0;
    store.BeforeCall = [&](FakeRegistry::Fn fn, size_t) {
        if (fn == FakeRegistry::Fn::ExpandEnvironment && ++expansions == 2) {
            store.SetEnvironment("SystemRoot", "D:\\A\\Much\\Longer\\Windows");
        }
    };
    cRegistry reg(store);
    AimAtTestValue(reg);
    EXPECT_EQ(reg.Value(), Variant("D:\\A\\Much\\Longer\\Windows\\x"s));

    store.BeforeCall = nullptr;
    store.FailEvery(FakeRegistry::Fn::ExpandEnvironment, 0);
    EXPECT_EQ(reg.Value(), Variant("%SystemRoot%\\x"s));
    EXPECT_EQ(reg.ValueType(), kRegExpandSz);
}

} // namespace
