// The registry class reading values of any type and content, which may change between the size
// query and each read, with an environment that may change between the expansion's two calls,
// then writing any value with any value type; any one call may fail. Reading never raises and
// gives the value or the default, writing stores the value or raises one of the class's errors,
// and no key is ever left open.
//
// Input (numbers little-endian): the number of versions of the value (1 to 4, from one byte);
// per version its 32-bit type, a 16-bit length and that many data bytes (the size query sees the
// first, each read the next); an environment variable's name and two values (a length byte and
// the bytes each); the call of the read to fail (a byte, 0: none) and the failure (a byte); the
// same two for the write; the value type to write (a byte; 8 and above: 32 bits follow); and the
// value to write: a kind byte (0 nothing, 1 text, 2 16-bit, 3 32-bit, 4 bytes, 5 number,
// 6 boolean, 7 date) and its content, the rest of the input.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "registry/c_registry.h"
#include "registry/value_data.h"
#include "tests/fakes/fake_registry.h"
#include "text/raised_error.h"

namespace {

constexpr const char* kSection = "Software\\Quendry\\Fuzz";
constexpr const char* kName = "Item";
const Variant kDefault = Date{1, 2, 3, 4, 5, 6};

struct Version {
    uint32_t Type;
    ByteArray Data;
};

void Check(bool condition) {
    if (!condition)
        std::abort();
}

int32_t FailureCode(uint8_t pick) {
    constexpr int32_t codes[] = {kRegErrFileNotFound, kRegErrAccessDenied, kRegErrInvalidHandle,
                                 kRegErrInvalidData,  kRegErrMoreData,     kRegErrKeyDeleted};
    return codes[pick % std::size(codes)];
}

Variant ValueToWrite(FuzzInput& in) {
    switch (in.Byte() % 8) {
    case 0:
        return std::monostate{};
    case 1: {
        ByteArray bytes = in.Rest();
        return std::string(bytes.begin(), bytes.end());
    }
    case 2:
        return static_cast<int16_t>(in.U16());
    case 3:
        return static_cast<int32_t>(in.U32());
    case 4:
        return in.Rest();
    case 5: {
        const uint64_t bits = in.U64();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    case 6:
        return (in.Byte() & 1) != 0;
    default: {
        Date d;
        d.Year = static_cast<int32_t>(in.U32());
        d.Month = static_cast<int8_t>(in.Byte());
        d.Day = static_cast<int8_t>(in.Byte());
        d.Hour = static_cast<int8_t>(in.Byte());
        d.Minute = static_cast<int8_t>(in.Byte());
        d.Second = static_cast<int8_t>(in.Byte());
        return d;
    }
    }
}

void Aim(cRegistry& reg) {
    reg.ClassKey(kHkeyCurrentUser);
    reg.SectionKey(kSection);
    reg.ValueKey(kName);
}

// The value read when it stays as it is and nothing fails.
void CheckStableRead(const Version& stored, const Variant& got) {
    switch (stored.Type) {
    case kRegSz:
        Check(got == Variant(TextFromStringData(stored.Data)));
        break;
    case kRegMultiSz:
        Check(got == Variant(TextFromMultiStringData(stored.Data)));
        break;
    case kRegExpandSz:
        Check(std::holds_alternative<std::string>(got));
        break;
    case kRegDword:
    case kRegDwordBigEndian: {
        auto number = IntegerFromDwordData(stored.Data, stored.Type == kRegDwordBigEndian);
        Check(number ? got == Variant(*number) : got == kDefault);
        break;
    }
    default:
        Check(got == Variant(stored.Data));
        break;
    }
}

void Read(FuzzInput& in, FakeRegistry& store) {
    std::vector<Version> versions(1 + in.Byte() % 4);
    for (Version& v : versions) {
        v.Type = in.U32();
        v.Data = in.Bytes(in.U16() % 2048);
    }
    const std::string variable = in.ShortText();
    const std::string values[2] = {in.ShortText(), in.ShortText()};
    const uint8_t failAt = in.Byte();
    const int32_t failure = FailureCode(in.Byte());

    size_t largest = 0;
    for (const Version& v : versions)
        largest = std::max(largest, v.Data.size());

    store.SetRawValue(kHkeyCurrentUser, kSection, kName, versions[0].Type, versions[0].Data);
    store.SetEnvironment(variable, values[0]);
    size_t queries = 0, expansions = 0;
    store.BeforeCall = [&](FakeRegistry::Fn fn, size_t) {
        if (fn == FakeRegistry::Fn::QueryValue) {
            const Version& v = versions[std::min(queries++, versions.size() - 1)];
            store.SetRawValue(kHkeyCurrentUser, kSection, kName, v.Type, v.Data);
        } else if (fn == FakeRegistry::Fn::ExpandEnvironment) {
            store.SetEnvironment(variable, values[std::min<size_t>(expansions++, 1)]);
        }
    };
    if (failAt != 0)
        store.FailCall(store.CallCount() + failAt, failure);

    cRegistry reg(store);
    Aim(reg);
    reg.Default(kDefault);
    reg.ValueType(-1);
    const Variant got = reg.Value();

    store.BeforeCall = nullptr;
    store.ClearFailures();
    Check(store.OpenKeyCount() == 0);
    if (got == kDefault)
        return;
    // The value comes with the type it was read with.
    const int32_t type = reg.ValueType();
    Check(std::any_of(versions.begin(), versions.end(),
                      [&](const Version& v) { return static_cast<int32_t>(v.Type) == type; }));
    switch (type) {
    case kRegSz:
        Check(std::get<std::string>(got).size() <= largest);
        break;
    case kRegMultiSz:
        Check(std::get<std::string>(got).size() <= largest + 1);
        break;
    case kRegExpandSz:
        Check(std::holds_alternative<std::string>(got));
        break;
    case kRegDword:
    case kRegDwordBigEndian:
        Check(std::holds_alternative<int32_t>(got));
        break;
    default:
        Check(std::get<ByteArray>(got).size() <= largest);
        break;
    }
    if (versions.size() == 1 && failAt == 0)
        CheckStableRead(versions[0], got);
}

void Write(FuzzInput& in, FakeRegistry& store) {
    const uint8_t failAt = in.Byte();
    const int32_t failure = FailureCode(in.Byte());
    const uint8_t typeByte = in.Byte();
    const int32_t type = typeByte < 8 ? typeByte : static_cast<int32_t>(in.U32());
    const Variant value = ValueToWrite(in);

    const auto before = store.GetValue(kHkeyCurrentUser, kSection, kName);
    if (failAt != 0)
        store.FailCall(store.CallCount() + failAt, failure);
    cRegistry reg(store);
    Aim(reg);
    reg.ValueType(type);
    bool raised = false;
    try {
        reg.Value(value);
    } catch (const RaisedError& error) {
        raised = true;
        Check(error.Number == kErrRegistry || error.Number == kErrRegistryWrite);
        Check(error.Source.size() >= 10 &&
              error.Source.compare(error.Source.size() - 10, 10, ".cRegistry") == 0);
    }
    store.ClearFailures();
    Check(store.OpenKeyCount() == 0);
    Check(reg.ValueType() == type);

    const auto after = store.GetValue(kHkeyCurrentUser, kSection, kName);
    if (raised) {
        Check(after == before);
        return;
    }
    switch (type) {
    case kRegSz:
    case kRegExpandSz: {
        const std::string text = ToText(value);
        ByteArray data(text.begin(), text.end());
        data.push_back(0);
        Check(after && after->Data == data &&
              after->Type ==
                  static_cast<uint32_t>(HasEnvironmentReference(text) ? kRegExpandSz : kRegSz));
        break;
    }
    case kRegBinary:
        Check(after && after->Type == kRegBinary && after->Data == std::get<ByteArray>(value));
        break;
    case kRegDword:
    case kRegDwordBigEndian:
        if (std::holds_alternative<int32_t>(value) || std::holds_alternative<int16_t>(value)) {
            const int32_t number = std::holds_alternative<int32_t>(value)
                                       ? std::get<int32_t>(value)
                                       : std::get<int16_t>(value);
            Check(after && after->Type == kRegDword && after->Data == DwordData(number));
        } else {
            Check(after == before);
        }
        break;
    default:
        // No other type is written, and that is always reported.
        Check(false);
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    FakeRegistry store;
    Read(in, store);
    Write(in, store);
    return 0;
}
