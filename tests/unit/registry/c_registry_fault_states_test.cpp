// Each call of each operation fails in turn; the operation then ends in one of its documented
// states, and the store shows which:
//
// | Operation    | Returns                                | Raises (store unchanged)            |
// |--------------|----------------------------------------|-------------------------------------|
// | KeyExists    | true, or false when the open failed    | never                               |
// | CreateKey    | true, the key exists                   | 26001, no key                       |
// | DeleteKey    | true, the key is gone                  | 26001, the key still there          |
// | DeleteValue  | true, the value is gone                | 26001, the value still there        |
// | Value (read) | the value, or Default (an expandable   | never                               |
// |              | text unexpanded when expansion fails)  |                                     |
// | Value (write)| the value stored as written            | 26001 or 0x800469A9, value as it    |
// |              |                                        | was (an unsupported type always     |
// |              |                                        | raises)                             |
//
// A failing close loses nothing: the key is given up and the operation's result stands. When the
// program's path can't be had, an error's source is ".cRegistry" alone.
#include <gtest/gtest.h>

#include "registry_test_support.h"

namespace {
using namespace std::string_literals;
using Stored = std::optional<FakeRegistry::StoredValue>;

struct Outcome {
    bool Returned;
    Variant Result; // what a read returned
    std::optional<RaisedError> Error;
};

struct StateCase {
    const char* Name;
    std::function<void(FakeRegistry&, cRegistry&)> Arrange;
    std::function<Variant(cRegistry&)> Run;
    // Whether the end state is a documented one.
    std::function<void(const FakeRegistry&, const Outcome&)> Check;
    friend void PrintTo(const StateCase& c, std::ostream* os) { *os << c.Name; }
};

Stored TestValue(const FakeRegistry& s) {
    return s.GetValue(kHkeyCurrentUser, kSection, "Item");
}
bool TestKey(const FakeRegistry& s) {
    return s.HasKey(kHkeyCurrentUser, kSection);
}
FakeRegistry::StoredValue Raw(uint32_t type, const std::string& data) {
    return {type, Bytes(data)};
}

void ArrangeRaw(FakeRegistry& s, uint32_t type, const std::string& data) {
    s.SetRawValue(kHkeyCurrentUser, kSection, "Item", type, Bytes(data));
}

// A read gives the stored value or the default, or one of the `also` results.
std::function<void(const FakeRegistry&, const Outcome&)>
ReadsOneOf(Variant value, std::vector<Variant> also = {}) {
    return [value, also](const FakeRegistry&, const Outcome& o) {
        ASSERT_TRUE(o.Returned);
        const bool documented = o.Result == value || o.Result == Variant("default"s) ||
                                std::find(also.begin(), also.end(), o.Result) != also.end();
        EXPECT_TRUE(documented) << ToText(o.Result);
    };
}

// A write stores `written` and returns, or raises and leaves `before`.
std::function<void(const FakeRegistry&, const Outcome&)> WritesOrKeeps(Stored written,
                                                                       Stored before) {
    return [written, before](const FakeRegistry& s, const Outcome& o) {
        if (o.Returned) {
            EXPECT_EQ(TestValue(s), written);
        } else {
            EXPECT_TRUE(o.Error->Number == kErrRegistry || o.Error->Number == kErrRegistryWrite);
            EXPECT_EQ(TestValue(s), before);
        }
    };
}

const StateCase kCases[] = {
    {"KeyExists", [](FakeRegistry& s, cRegistry&) { s.AddKey(kHkeyCurrentUser, kSection); },
     [](cRegistry& r) { return Variant(r.KeyExists()); },
     [](const FakeRegistry&, const Outcome& o) { EXPECT_TRUE(o.Returned); }},
    {"CreateKey", [](FakeRegistry&, cRegistry&) {},
     [](cRegistry& r) { return Variant(r.CreateKey()); },
     [](const FakeRegistry& s, const Outcome& o) {
         EXPECT_EQ(TestKey(s), o.Returned);
         if (!o.Returned) {
             EXPECT_EQ(o.Error->Number, kErrRegistry);
         }
     }},
    {"DeleteKey", [](FakeRegistry& s, cRegistry&) { s.AddKey(kHkeyCurrentUser, kSection); },
     [](cRegistry& r) { return Variant(r.DeleteKey()); },
     [](const FakeRegistry& s, const Outcome& o) {
         EXPECT_EQ(TestKey(s), !o.Returned);
         if (!o.Returned) {
             EXPECT_EQ(o.Error->Number, kErrRegistry);
         }
     }},
    {"DeleteValue", [](FakeRegistry& s, cRegistry&) { ArrangeRaw(s, kRegSz, "x\0"s); },
     [](cRegistry& r) { return Variant(r.DeleteValue()); },
     [](const FakeRegistry& s, const Outcome& o) {
         EXPECT_EQ(TestValue(s).has_value(), !o.Returned);
         if (!o.Returned) {
             EXPECT_EQ(o.Error->Number, kErrRegistry);
         }
     }},
    {"ReadSz", [](FakeRegistry& s, cRegistry&) { ArrangeRaw(s, kRegSz, "2.81\0"s); },
     [](cRegistry& r) { return r.Value(); }, ReadsOneOf("2.81"s)},
    {"ReadExpandSz",
     [](FakeRegistry& s, cRegistry&) { ArrangeRaw(s, kRegExpandSz, "%SystemRoot%\\x\0"s); },
     [](cRegistry& r) { return r.Value(); }, ReadsOneOf("C:\\WINDOWS\\x"s, {"%SystemRoot%\\x"s})},
    {"ReadMultiSz", [](FakeRegistry& s, cRegistry&) { ArrangeRaw(s, kRegMultiSz, "a\0bc\0\0"s); },
     [](cRegistry& r) { return r.Value(); }, ReadsOneOf("a\0bc\0"s)},
    {"ReadDword", [](FakeRegistry& s, cRegistry&) { ArrangeRaw(s, kRegDword, "\x05\0\0\0"s); },
     [](cRegistry& r) { return r.Value(); }, ReadsOneOf(int32_t{5})},
    {"ReadBinary", [](FakeRegistry& s, cRegistry&) { ArrangeRaw(s, kRegBinary, "\1\2\3\4\5"s); },
     [](cRegistry& r) { return r.Value(); }, ReadsOneOf(ByteArray{1, 2, 3, 4, 5})},
    {"WriteSzOverOld",
     [](FakeRegistry& s, cRegistry& r) {
         ArrangeRaw(s, kRegSz, "old\0"s);
         r.ValueType(kRegSz);
     },
     [](cRegistry& r) {
         r.Value("2.81"s);
         return Variant();
     },
     WritesOrKeeps(Raw(kRegSz, "2.81\0"s), Raw(kRegSz, "old\0"s))},
    {"WriteExpandable", [](FakeRegistry&, cRegistry& r) { r.ValueType(kRegSz); },
     [](cRegistry& r) {
         r.Value("%TEMP%\\q"s);
         return Variant();
     },
     WritesOrKeeps(Raw(kRegExpandSz, "%TEMP%\\q\0"s), std::nullopt)},
    {"WriteBinary", [](FakeRegistry&, cRegistry& r) { r.ValueType(kRegBinary); },
     [](cRegistry& r) {
         r.Value(ByteArray{1, 2, 3});
         return Variant();
     },
     WritesOrKeeps(Raw(kRegBinary, "\1\2\3"s), std::nullopt)},
    {"WriteDword", [](FakeRegistry&, cRegistry& r) { r.ValueType(kRegDwordBigEndian); },
     [](cRegistry& r) {
         r.Value(int16_t{-2});
         return Variant();
     },
     WritesOrKeeps(Raw(kRegDword, "\xFE\xFF\xFF\xFF"s), std::nullopt)},
    {"WriteUnsupported",
     [](FakeRegistry& s, cRegistry& r) {
         ArrangeRaw(s, kRegMultiSz, "a\0\0"s);
         r.ValueType(kRegMultiSz);
     },
     [](cRegistry& r) {
         r.Value("b"s);
         return Variant();
     },
     [](const FakeRegistry& s, const Outcome& o) {
         ASSERT_FALSE(o.Returned);
         EXPECT_TRUE(o.Error->Number == kErrRegistry || o.Error->Number == kErrRegistryWrite);
         EXPECT_EQ(TestValue(s), Raw(kRegMultiSz, "a\0\0"s));
     }},
};

class FailEachRegistryCall : public testing::TestWithParam<StateCase> {};

Outcome RunCase(const StateCase& c, cRegistry& reg) {
    try {
        return {true, c.Run(reg), std::nullopt};
    } catch (const RaisedError& error) {
        return {false, Variant(), error};
    }
}

TEST_P(FailEachRegistryCall, EndsInADocumentedState) {
    const StateCase& c = GetParam();
    size_t calls = 0;
    {
        FakeRegistry store;
        cRegistry reg(store);
        AimAtTestValue(reg);
        reg.Default("default"s);
        c.Arrange(store, reg);
        const Outcome clean = RunCase(c, reg);
        calls = store.CallCount();
        c.Check(store, clean);
    }
    ASSERT_GT(calls, 0u);
    for (size_t n = 1; n <= calls; ++n) {
        for (int32_t code : {kRegErrFileNotFound, kRegErrAccessDenied, kRegErrMoreData}) {
            SCOPED_TRACE("call " + std::to_string(n) + " of " + std::to_string(calls) + ", code " +
                         std::to_string(code));
            FakeRegistry store;
            cRegistry reg(store);
            AimAtTestValue(reg);
            reg.Default("default"s);
            c.Arrange(store, reg);
            store.FailCall(store.CallCount() + n, code);
            const Outcome outcome = RunCase(c, reg);
            c.Check(store, outcome);
            EXPECT_EQ(store.OpenKeyCount(), 0u);
            if (outcome.Error) {
                const std::string& source = outcome.Error->Source;
                EXPECT_TRUE(source == "Quendry.cRegistry" || source == ".cRegistry") << source;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Registry, FailEachRegistryCall, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
