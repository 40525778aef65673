// Every call an operation makes is failed in turn, with several result codes: whatever fails,
// the operation either returns or raises one of the class's errors, and no key stays open.
#include <gtest/gtest.h>

#include "registry_test_support.h"

namespace {
using namespace std::string_literals;

struct Scenario {
    const char* name;
    std::function<void(FakeRegistry&, cRegistry&)> arrange;
    std::function<void(cRegistry&)> run;
    bool mayRaise;
    friend void PrintTo(const Scenario& c, std::ostream* os) { *os << c.name; }
};

void ArrangeValue(FakeRegistry& store, uint32_t type, ByteArray data) {
    store.SetRawValue(kHkeyCurrentUser, kSection, "Item", type, std::move(data));
}

class FailingCalls : public testing::TestWithParam<Scenario> {};

TEST_P(FailingCalls, LeaveNoKeyOpen) {
    const Scenario& s = GetParam();
    size_t calls = 0;
    {
        FakeRegistry store;
        cRegistry reg(store);
        AimAtTestValue(reg);
        s.arrange(store, reg);
        s.run(reg);
        calls = store.CallCount();
        ASSERT_EQ(store.OpenKeyCount(), 0u);
    }
    ASSERT_GT(calls, 0u);
    for (size_t n = 1; n <= calls; ++n) {
        for (int32_t code : {kRegErrFileNotFound, kRegErrAccessDenied, kRegErrInvalidData,
                             kRegErrMoreData, kRegErrKeyDeleted}) {
            FakeRegistry store;
            cRegistry reg(store);
            AimAtTestValue(reg);
            s.arrange(store, reg);
            store.FailCall(store.CallCount() + n, code);
            try {
                s.run(reg);
            } catch (const RaisedError& error) {
                EXPECT_TRUE(s.mayRaise) << "call " << n << " code " << code;
                EXPECT_TRUE(error.Number == kErrRegistry || error.Number == kErrRegistryWrite);
            }
            EXPECT_EQ(store.OpenKeyCount(), 0u) << "call " << n << " code " << code;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Registry, FailingCalls,
    testing::Values(
        Scenario{"KeyExists",
                 [](FakeRegistry& s, cRegistry&) { s.AddKey(kHkeyCurrentUser, kSection); },
                 [](cRegistry& r) { r.KeyExists(); }, false},
        Scenario{"CreateKey", [](FakeRegistry&, cRegistry&) {}, [](cRegistry& r) { r.CreateKey(); },
                 true},
        Scenario{"DeleteKey",
                 [](FakeRegistry& s, cRegistry&) { s.AddKey(kHkeyCurrentUser, kSection); },
                 [](cRegistry& r) { r.DeleteKey(); }, true},
        Scenario{"DeleteValue",
                 [](FakeRegistry& s, cRegistry&) { ArrangeValue(s, kRegSz, Bytes("x\0"s)); },
                 [](cRegistry& r) { r.DeleteValue(); }, true},
        Scenario{"ReadSz",
                 [](FakeRegistry& s, cRegistry&) { ArrangeValue(s, kRegSz, Bytes("2.81\0"s)); },
                 [](cRegistry& r) { r.Value(); }, false},
        Scenario{"ReadExpandSz",
                 [](FakeRegistry& s, cRegistry&) {
                     ArrangeValue(s, kRegExpandSz, Bytes("%SystemRoot%\\x\0"s));
                 },
                 [](cRegistry& r) { r.Value(); }, false},
        Scenario{"ReadMultiSz",
                 [](FakeRegistry& s, cRegistry&) { ArrangeValue(s, kRegMultiSz, Bytes("a\0\0"s)); },
                 [](cRegistry& r) { r.Value(); }, false},
        Scenario{"ReadDword",
                 [](FakeRegistry& s, cRegistry&) {
                     ArrangeValue(s, kRegDword, {1, 0, 0, 0});
                 },
                 [](cRegistry& r) { r.Value(); }, false},
        Scenario{"ReadBigEndian",
                 [](FakeRegistry& s, cRegistry&) {
                     ArrangeValue(s, kRegDwordBigEndian, {0, 0, 0, 1});
                 },
                 [](cRegistry& r) { r.Value(); }, false},
        Scenario{"ReadBinary",
                 [](FakeRegistry& s, cRegistry&) {
                     ArrangeValue(s, kRegBinary, {1, 2, 3, 4, 5});
                 },
                 [](cRegistry& r) { r.Value(); }, false},
        Scenario{"WriteSz", [](FakeRegistry&, cRegistry& r) { r.ValueType(kRegSz); },
                 [](cRegistry& r) { r.Value("2.81"s); }, true},
        Scenario{"WriteBinary", [](FakeRegistry&, cRegistry& r) { r.ValueType(kRegBinary); },
                 [](cRegistry& r) {
                     r.Value(ByteArray{1, 2, 3, 4, 5});
                 },
                 true},
        Scenario{"WriteBinaryFromText",
                 [](FakeRegistry&, cRegistry& r) { r.ValueType(kRegBinary); },
                 [](cRegistry& r) {
                     if (!RaisedBy([&] { r.Value("x"s); })) {
                         ADD_FAILURE() << "no error";
                     }
                 },
                 true},
        Scenario{"WriteDword", [](FakeRegistry&, cRegistry& r) { r.ValueType(kRegDword); },
                 [](cRegistry& r) { r.Value(int32_t{1}); }, true},
        Scenario{"WriteUnsupported", [](FakeRegistry&, cRegistry& r) { r.ValueType(kRegMultiSz); },
                 [](cRegistry& r) {
                     if (!RaisedBy([&] { r.Value("x"s); })) {
                         ADD_FAILURE() << "no error";
                     }
                 },
                 true}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
