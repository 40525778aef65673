#include <gtest/gtest.h>

#include "registry_test_support.h"

namespace {
using namespace std::string_literals;

struct WriteCase {
    const char* name;
    int32_t valueType;
    Variant value;
    std::optional<FakeRegistry::StoredValue> stored; // nothing: no value written
    friend void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }
};

class ValueWrite : public testing::TestWithParam<WriteCase> {};

TEST_P(ValueWrite, StoresTheTypeAndBytesThatValueTypeSelects) {
    const WriteCase& c = GetParam();
    FakeRegistry store;
    cRegistry reg(store);
    AimAtTestValue(reg);
    reg.ValueType(c.valueType);

    reg.Value(c.value);

    EXPECT_TRUE(store.HasKey(kHkeyCurrentUser, kSection));
    EXPECT_EQ(store.GetValue(kHkeyCurrentUser, kSection, "Item"), c.stored);
    EXPECT_EQ(reg.ValueType(), c.valueType);
    EXPECT_EQ(store.OpenKeyCount(), 0u);
}

FakeRegistry::StoredValue Sz(const std::string& text) {
    return {kRegSz, Bytes(text + '\0')};
}
FakeRegistry::StoredValue ExpandSz(const std::string& text) {
    return {kRegExpandSz, Bytes(text + '\0')};
}

INSTANTIATE_TEST_SUITE_P(
    Registry, ValueWrite,
    testing::Values(WriteCase{"Text", kRegSz, "2.81.1117.0"s, Sz("2.81.1117.0")},
                    WriteCase{"TextAsType2", kRegExpandSz, "plain"s, Sz("plain")},
                    WriteCase{"EmptyText", kRegSz, ""s, Sz("")},
                    WriteCase{"Reference", kRegSz, "%SystemRoot%\\x"s, ExpandSz("%SystemRoot%\\x")},
                    WriteCase{"OnePercent", kRegSz, "100%"s, Sz("100%")},
                    WriteCase{"AdjacentPercents", kRegSz, "%%"s, Sz("%%")},
                    WriteCase{"ShortestReference", kRegExpandSz, "%a%"s, ExpandSz("%a%")},
                    WriteCase{"PercentsAfterAdjacentPair", kRegSz, "%%x%"s, ExpandSz("%%x%")},
                    WriteCase{"PercentsFarApart", kRegSz, "50% or 60%"s, ExpandSz("50% or 60%")},
                    WriteCase{"AdjacentPairAtEnd", kRegSz, "x%%"s, Sz("x%%")},
                    WriteCase{"Int32AsText", kRegSz, int32_t{5}, Sz("5")},
                    WriteCase{"Int16AsText", kRegSz, int16_t{-3}, Sz("-3")},
                    WriteCase{"DoubleAsText", kRegSz, 2.5, Sz("2.5")},
                    WriteCase{"BoolAsText", kRegSz, true, Sz("True")},
                    WriteCase{"NothingAsText", kRegSz, Variant{}, Sz("")},
                    WriteCase{"Binary5", kRegBinary, ByteArray{1, 2, 3, 4, 5},
                              FakeRegistry::StoredValue{kRegBinary, {1, 2, 3, 4, 5}}},
                    WriteCase{"BinaryEmpty", kRegBinary, ByteArray{},
                              FakeRegistry::StoredValue{kRegBinary, {}}},
                    WriteCase{"Dword", kRegDword, int32_t{5},
                              FakeRegistry::StoredValue{kRegDword, {5, 0, 0, 0}}},
                    WriteCase{"DwordFromInt16", kRegDword, int16_t{-1},
                              FakeRegistry::StoredValue{kRegDword, {0xFF, 0xFF, 0xFF, 0xFF}}},
                    WriteCase{"BigEndianStoredAsDword", kRegDwordBigEndian, int32_t{0x01020304},
                              FakeRegistry::StoredValue{kRegDword, {4, 3, 2, 1}}},
                    WriteCase{"DwordFromDigits", kRegDword, "5"s, std::nullopt},
                    WriteCase{"DwordFromBytes", kRegDword, ByteArray{5, 0, 0, 0}, std::nullopt},
                    WriteCase{"DwordFromNothing", kRegDwordBigEndian, Variant{}, std::nullopt},
                    WriteCase{"DwordFromDouble", kRegDword, 5.0, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ValueWrite, WrittenValuesReadBack) {
    FakeRegistry store;
    cRegistry reg(store);
    AimAtTestValue(reg);
    const std::pair<int32_t, Variant> cases[] = {
        {kRegSz, "text"s}, {kRegBinary, ByteArray{0, 1, 2}}, {kRegDword, int32_t{-7}}};
    for (const auto& [type, value] : cases) {
        reg.ValueType(type);
        reg.Value(value);
        reg.ValueType(kRegNone);
        EXPECT_EQ(reg.Value(), value);
        EXPECT_EQ(reg.ValueType(), type);
    }
}

TEST(Members, StartEmptyAndAreOnlyStored) {
    FakeRegistry store;
    cRegistry reg(store);
    EXPECT_EQ(reg.ClassKey(), 0);
    EXPECT_EQ(reg.SectionKey(), "");
    EXPECT_EQ(reg.ValueKey(), "");
    EXPECT_TRUE(IsEmpty(reg.Default()));
    EXPECT_EQ(reg.ValueType(), 0);

    reg.ClassKey(kHkeyLocalMachine);
    reg.SectionKey("\\Not\\\\Normalised\\");
    reg.ValueKey("Name");
    reg.Default(int16_t{3});
    reg.ValueType(99);
    EXPECT_EQ(reg.ClassKey(), kHkeyLocalMachine);
    EXPECT_EQ(reg.SectionKey(), "\\Not\\\\Normalised\\");
    EXPECT_EQ(reg.ValueKey(), "Name");
    EXPECT_EQ(reg.Default(), Variant(int16_t{3}));
    EXPECT_EQ(reg.ValueType(), 99);
    EXPECT_EQ(store.CallCount(), 0u);
}

TEST(KeyOperations, CreateFindAndDelete) {
    FakeRegistry store;
    cRegistry reg(store);
    AimAtTestValue(reg);
    EXPECT_FALSE(reg.KeyExists());
    EXPECT_TRUE(reg.CreateKey());
    EXPECT_TRUE(reg.KeyExists());
    EXPECT_TRUE(reg.CreateKey()); // an existing key is opened
    reg.ValueType(kRegSz);
    reg.Value("x"s);
    EXPECT_TRUE(reg.DeleteValue());
    EXPECT_FALSE(store.GetValue(kHkeyCurrentUser, kSection, "Item"));
    EXPECT_TRUE(reg.DeleteKey());
    EXPECT_FALSE(reg.KeyExists());
    EXPECT_TRUE(store.HasKey(kHkeyCurrentUser, "Software\\QuendryTest"));
    EXPECT_EQ(store.OpenKeyCount(), 0u);
}

TEST(KeyOperations, KeyExistsIsFalseForNoRootKey) {
    for (int32_t classKey : {0, 0x1234, 0x7FFFFFFF, static_cast<int32_t>(0x80000007u)}) {
        FakeRegistry store;
        store.AddKey(kHkeyCurrentUser, kSection);
        cRegistry reg(store);
        reg.ClassKey(classKey);
        reg.SectionKey(kSection);
        EXPECT_FALSE(reg.KeyExists()) << classKey;
        // An arbitrary number could be a handle the process holds; it never reaches the registry.
        EXPECT_EQ(store.CallCount(), 0u) << classKey;
    }
}

// Reading needs no more than query access, so that it works where the user may not write.
TEST(KeyOperations, OpenWithTheAccessEachOperationNeeds) {
    struct Case {
        const char* name;
        std::function<void(cRegistry&)> run;
        FakeRegistry::Fn fn;
        uint32_t access;
    };
    const Case cases[] = {
        {"KeyExists", [](cRegistry& r) { r.KeyExists(); }, FakeRegistry::Fn::OpenKey,
         kKeyQueryValue},
        {"ValueGet", [](cRegistry& r) { r.Value(); }, FakeRegistry::Fn::OpenKey, kKeyQueryValue},
        {"DeleteValue", [](cRegistry& r) { r.DeleteValue(); }, FakeRegistry::Fn::OpenKey,
         kKeyReadWrite},
        {"CreateKey", [](cRegistry& r) { r.CreateKey(); }, FakeRegistry::Fn::CreateKey,
         kKeyReadWrite},
        {"ValueSet", [](cRegistry& r) { r.Value("x"s); }, FakeRegistry::Fn::CreateKey,
         kKeyReadWrite},
    };
    for (const Case& c : cases) {
        FakeRegistry store;
        store.SetStringValue(kHkeyCurrentUser, kSection, "Item", "v");
        cRegistry reg(store);
        AimAtTestValue(reg);
        reg.ValueType(kRegSz);
        c.run(reg);
        ASSERT_FALSE(store.Calls.empty()) << c.name;
        EXPECT_EQ(store.Calls.front().Function, c.fn) << c.name;
        EXPECT_EQ(store.Calls.front().Access, c.access) << c.name;
        EXPECT_EQ(store.Calls.front().Root, kHkeyCurrentUser) << c.name;
        EXPECT_EQ(store.Calls.front().Path, kSection) << c.name;
    }
}

} // namespace
