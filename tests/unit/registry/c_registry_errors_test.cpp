#include <gtest/gtest.h>

#include "registry_test_support.h"

namespace {
using namespace std::string_literals;
using Fn = FakeRegistry::Fn;

// HKEY_CURRENT_USER as the descriptions write it.
const std::string kHkcu = "-2147483647";

struct ErrorCase {
    const char* name;
    std::function<void(FakeRegistry&, cRegistry&)> arrange;
    std::function<void(cRegistry&)> run;
    int32_t number;
    std::string description;
    friend void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.name; }
};

class RaisedErrors : public testing::TestWithParam<ErrorCase> {};

TEST_P(RaisedErrors, CarryNumberSourceAndDescriptionAndLeaveNoKeyOpen) {
    const ErrorCase& c = GetParam();
    FakeRegistry store;
    cRegistry reg(store);
    AimAtTestValue(reg);
    reg.ValueType(kRegSz);
    c.arrange(store, reg);
    const int32_t classKey = reg.ClassKey();
    const std::string section = reg.SectionKey();
    const int32_t valueType = reg.ValueType();

    std::optional<RaisedError> error = RaisedBy([&] { c.run(reg); });

    ASSERT_TRUE(error);
    EXPECT_EQ(error->Number, c.number);
    EXPECT_EQ(error->Source, "Quendry.cRegistry");
    EXPECT_EQ(error->Description, c.description);
    EXPECT_EQ(store.OpenKeyCount(), 0u);
    // An error changes no member.
    EXPECT_EQ(reg.ClassKey(), classKey);
    EXPECT_EQ(reg.SectionKey(), section);
    EXPECT_EQ(reg.ValueKey(), "Item");
    EXPECT_EQ(reg.ValueType(), valueType);
}

const std::string kWriteFailure =
    "Failed to set registry value Key: '" + kHkcu + "',Section: '" + kSection + "',Key: 'Item'";

INSTANTIATE_TEST_SUITE_P(
    Registry, RaisedErrors,
    testing::Values(
        ErrorCase{"CreateKeyRefused",
                  [](FakeRegistry& s, cRegistry&) { s.FailEvery(Fn::CreateKey, 5); },
                  [](cRegistry& r) { r.CreateKey(); }, kErrRegistry,
                  "Failed to create registry Key: '"s + kSection},
        ErrorCase{"CreateKeyUnderNoRoot", [](FakeRegistry&, cRegistry& r) { r.ClassKey(0); },
                  [](cRegistry& r) { r.CreateKey(); }, kErrRegistry,
                  "Failed to create registry Key: '"s + kSection},
        ErrorCase{"DeleteMissingKey", [](FakeRegistry&, cRegistry&) {},
                  [](cRegistry& r) { r.DeleteKey(); }, kErrRegistry,
                  "Failed to delete registry Key: '" + kHkcu + "',Section: '" + kSection},
        ErrorCase{
            "DeleteKeyWithSubkeys",
            [](FakeRegistry& s, cRegistry&) { s.AddKey(kHkeyCurrentUser, kSection + "\\Sub"s); },
            [](cRegistry& r) { r.DeleteKey(); }, kErrRegistry,
            "Failed to delete registry Key: '" + kHkcu + "',Section: '" + kSection},
        ErrorCase{"DeleteRootKey",
                  [](FakeRegistry&, cRegistry& r) {
                      r.ClassKey(kHkeyLocalMachine);
                      r.SectionKey("");
                  },
                  [](cRegistry& r) { r.DeleteKey(); }, kErrRegistry,
                  "Failed to delete registry Key: '-2147483646',Section: '"},
        ErrorCase{"DeleteValueOfMissingKey", [](FakeRegistry&, cRegistry&) {},
                  [](cRegistry& r) { r.DeleteValue(); }, kErrRegistry,
                  "Failed to open key '" + kHkcu + "',Section: '" + kSection +
                      "' for delete access"},
        ErrorCase{"DeleteMissingValue",
                  [](FakeRegistry& s, cRegistry&) { s.AddKey(kHkeyCurrentUser, kSection); },
                  [](cRegistry& r) { r.DeleteValue(); }, kErrRegistry,
                  "Failed to delete registry Key: '" + kHkcu + "',Section: '" + kSection +
                      "',Key: 'Item"},
        ErrorCase{"SetWhenKeyCantBeCreated",
                  [](FakeRegistry& s, cRegistry&) { s.FailEvery(Fn::CreateKey, 5); },
                  [](cRegistry& r) { r.Value("2.81"s); }, kErrRegistry,
                  kWriteFailure + " to value: '2.81'"},
        ErrorCase{"SetRefused", [](FakeRegistry& s, cRegistry&) { s.FailEvery(Fn::SetValue, 5); },
                  [](cRegistry& r) { r.Value(int32_t{42}); }, kErrRegistryWrite,
                  kWriteFailure + " to value: '42'"},
        ErrorCase{"SetBinaryFromText", [](FakeRegistry&, cRegistry& r) { r.ValueType(kRegBinary); },
                  [](cRegistry& r) { r.Value("abc"s); }, kErrRegistry,
                  kWriteFailure + " to value: 'abc'"},
        ErrorCase{"SetTypeNone", [](FakeRegistry&, cRegistry& r) { r.ValueType(kRegNone); },
                  [](cRegistry& r) { r.Value("abc"s); }, kErrRegistryWrite,
                  kWriteFailure + " to value: 'abc'"},
        ErrorCase{"SetTypeLink", [](FakeRegistry&, cRegistry& r) { r.ValueType(kRegLink); },
                  [](cRegistry& r) {
                      r.Value(ByteArray{'h', 'i'});
                  },
                  kErrRegistryWrite, kWriteFailure + " to value: 'hi'"},
        ErrorCase{"SetTypeMultiSz", [](FakeRegistry&, cRegistry& r) { r.ValueType(kRegMultiSz); },
                  [](cRegistry& r) { r.Value("a"s); }, kErrRegistryWrite,
                  kWriteFailure + " to value: 'a'"},
        ErrorCase{"SetUnknownType", [](FakeRegistry&, cRegistry& r) { r.ValueType(-1); },
                  [](cRegistry& r) { r.Value(Variant{}); }, kErrRegistryWrite,
                  kWriteFailure + " to value: ''"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RaisedErrors, WriteNumberIs0x800469A9) {
    EXPECT_EQ(kErrRegistryWrite, -2147194455);
}

TEST(RaisedErrors, UnsupportedTypesFailOnlyAfterTheKeyIsCreated) {
    for (int32_t type : {kRegNone, kRegLink, kRegMultiSz, 8, 99}) {
        FakeRegistry store;
        cRegistry reg(store);
        AimAtTestValue(reg);
        reg.ValueType(type);
        auto error = RaisedBy([&] { reg.Value("x"s); });
        ASSERT_TRUE(error) << type;
        EXPECT_EQ(error->Number, kErrRegistryWrite) << type;
        EXPECT_TRUE(store.HasKey(kHkeyCurrentUser, kSection)) << type;
        EXPECT_FALSE(store.GetValue(kHkeyCurrentUser, kSection, "Item")) << type;
    }
}

TEST(RaisedErrors, SourceIsTheExecutableNameWithoutExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Program Files\\Quendry\\Quendry.exe", "Quendry.cRegistry"},
        {"C:\\Tools.d\\MDAC Check.EXE", "MDAC Check.cRegistry"},
        {"C:\\x\\name.test.exe", "name.test.cRegistry"},
        {"/unix/style/prog.exe", "prog.cRegistry"},
        {"", ".cRegistry"},
    };
    for (const auto& [path, source] : cases) {
        FakeRegistry store;
        store.ExePath = path;
        cRegistry reg(store);
        AimAtTestValue(reg);
        auto error = RaisedBy([&] { reg.DeleteKey(); });
        ASSERT_TRUE(error) << path;
        EXPECT_EQ(error->Source, source) << path;
    }
}

TEST(RaisedErrors, ReadingNeverRaises) {
    for (Fn fn : {Fn::OpenKey, Fn::QueryValue, Fn::CloseKey, Fn::ExpandEnvironment}) {
        FakeRegistry store;
        store.SetRawValue(kHkeyCurrentUser, kSection, "Item", kRegExpandSz, Bytes("%a%\0"s));
        store.FailEvery(fn, 5);
        cRegistry reg(store);
        AimAtTestValue(reg);
        reg.Default(int32_t{-1});
        EXPECT_NO_THROW(reg.Value());
        EXPECT_NO_THROW(reg.KeyExists());
        EXPECT_EQ(store.OpenKeyCount(), 0u);
    }
}

} // namespace
