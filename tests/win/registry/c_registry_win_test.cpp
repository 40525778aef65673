// The registry class against the real registry: a scratch key under HKEY_CURRENT_USER, written
// and read through the class and checked with the platform's own functions.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "registry/c_registry.h"
#include "registry/registry_api_win.h"
#include "text/raised_error.h"

namespace {
using namespace std::string_literals;

const char* const kScratch = "Software\\QuendryTest\\RegistryClass";
const wchar_t* const kScratchW = L"Software\\QuendryTest\\RegistryClass";

struct RawValue {
    DWORD Type = 0;
    std::vector<BYTE> Data;
};

void DeleteTree(HKEY parent, const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(parent, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
        std::vector<std::wstring> subkeys;
        wchar_t name[256];
        for (DWORD i = 0;; ++i) {
            DWORD length = 256;
            if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS) {
                break;
            }
            subkeys.emplace_back(name, length);
        }
        RegCloseKey(key);
        for (const std::wstring& sub : subkeys) {
            DeleteTree(parent, path + L"\\" + sub);
        }
    }
    RegDeleteKeyW(parent, path.c_str());
}

std::optional<RawValue> ReadRaw(const wchar_t* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kScratchW, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    RawValue value;
    DWORD size = 0;
    LONG result = RegQueryValueExW(key, name, nullptr, &value.Type, nullptr, &size);
    if (result == ERROR_SUCCESS) {
        value.Data.resize(size);
        result = RegQueryValueExW(key, name, nullptr, &value.Type, value.Data.data(), &size);
        value.Data.resize(size);
    }
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value;
}

void WriteRaw(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kScratchW, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

std::vector<BYTE> Utf16Bytes(const std::wstring& text) {
    const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
    return std::vector<BYTE>(bytes, bytes + (text.size() + 1) * sizeof(wchar_t));
}

std::wstring Environment(const wchar_t* name) {
    wchar_t value[1024];
    DWORD length = GetEnvironmentVariableW(name, value, 1024);
    return std::wstring(value, length < 1024 ? length : 0);
}

std::string Utf8(const std::wstring& text) {
    int count = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                    0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(count), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(),
                        count, nullptr, nullptr);
    return narrow;
}

std::optional<RaisedError> RaisedBy(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const RaisedError& error) {
        return error;
    }
    return std::nullopt;
}

class RegistryClassWin : public testing::Test {
protected:
    void SetUp() override {
        DeleteTree(HKEY_CURRENT_USER, kScratchW);
        reg.ClassKey(kHkeyCurrentUser);
        reg.SectionKey(kScratch);
        reg.ValueKey("Item");
        reg.Default("fallback"s);
    }
    void TearDown() override {
        DeleteTree(HKEY_CURRENT_USER, kScratchW);
        // The common parent goes only when no other test's key is left in it.
        RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\QuendryTest");
    }

    Win32RegistryApi api;
    cRegistry reg{api};
};

TEST_F(RegistryClassWin, TextIsStoredInUtf16AndReadBack) {
    const std::pair<std::string, std::wstring> cases[] = {
        {"2.81.1117.0", L"2.81.1117.0"},
        {"", L""},
        {"Gr\xC3\xBC\xC3\x9F"
         "e \xE2\x9C\x93",
         L"Gr\u00FC\u00DFe \u2713"},
    };
    for (const auto& [text, wide] : cases) {
        reg.ValueType(kRegSz);
        reg.Value(text);
        auto raw = ReadRaw(L"Item");
        ASSERT_TRUE(raw) << text;
        EXPECT_EQ(raw->Type, static_cast<DWORD>(REG_SZ)) << text;
        EXPECT_EQ(raw->Data, Utf16Bytes(wide)) << text;
        reg.ValueType(kRegNone);
        EXPECT_EQ(reg.Value(), Variant(text));
        EXPECT_EQ(reg.ValueType(), kRegSz);
    }
}

TEST_F(RegistryClassWin, PercentRuleChoosesExpandSzAndReadingExpands) {
    const std::pair<const char*, DWORD> cases[] = {
        {"%SystemRoot%\\x", REG_EXPAND_SZ}, {"100%", REG_SZ}, {"%%", REG_SZ}};
    for (const auto& [text, type] : cases) {
        for (int32_t valueType : {kRegSz, kRegExpandSz}) {
            reg.ValueType(valueType);
            reg.Value(std::string(text));
            auto raw = ReadRaw(L"Item");
            ASSERT_TRUE(raw) << text;
            EXPECT_EQ(raw->Type, type) << text << " as " << valueType;
        }
    }
    reg.ValueType(kRegSz);
    reg.Value("%SystemRoot%\\x"s);
    const std::wstring root = Environment(L"SystemRoot");
    ASSERT_FALSE(root.empty());
    EXPECT_EQ(reg.Value(), Variant(Utf8(root) + "\\x"));
    EXPECT_EQ(reg.ValueType(), kRegExpandSz);
}

TEST_F(RegistryClassWin, IntegersAreStoredAsDword) {
    reg.ValueType(kRegDword);
    reg.Value(int32_t{5});
    auto raw = ReadRaw(L"Item");
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->Type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(raw->Data, (std::vector<BYTE>{5, 0, 0, 0}));
    EXPECT_EQ(reg.Value(), Variant(int32_t{5}));

    reg.ValueType(kRegDwordBigEndian);
    reg.Value(int16_t{-2});
    raw = ReadRaw(L"Item");
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->Type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(raw->Data, (std::vector<BYTE>{0xFE, 0xFF, 0xFF, 0xFF}));

    // Digits in a text are no integer: nothing is written and nothing raised.
    reg.ValueKey("Digits");
    reg.ValueType(kRegDword);
    EXPECT_FALSE(RaisedBy([&] { reg.Value("5"s); }));
    EXPECT_FALSE(ReadRaw(L"Digits"));
}

TEST_F(RegistryClassWin, BigEndianDwordIsReversed) {
    const BYTE data[] = {0, 0, 0, 1};
    WriteRaw(L"Item", REG_DWORD_BIG_ENDIAN, data, sizeof data);
    EXPECT_EQ(reg.Value(), Variant(int32_t{1}));
    EXPECT_EQ(reg.ValueType(), kRegDwordBigEndian);
}

TEST_F(RegistryClassWin, BinaryOfFiveBytes) {
    reg.ValueType(kRegBinary);
    reg.Value(ByteArray{1, 2, 3, 4, 5});
    auto raw = ReadRaw(L"Item");
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->Type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(raw->Data, (std::vector<BYTE>{1, 2, 3, 4, 5}));
    reg.ValueType(kRegSz);
    EXPECT_EQ(reg.Value(), Variant(ByteArray{1, 2, 3, 4, 5}));
    EXPECT_EQ(reg.ValueType(), kRegBinary);
}

TEST_F(RegistryClassWin, MultiSzGivesEachStringWithOneNul) {
    const wchar_t data[] = L"a\0bc\0";
    WriteRaw(L"Item", REG_MULTI_SZ, data, sizeof data);
    EXPECT_EQ(reg.Value(), Variant("a\0bc\0"s));
    EXPECT_EQ(reg.ValueType(), kRegMultiSz);
}

// String data as other programs may have stored it.
TEST_F(RegistryClassWin, MalformedDataReadsSafely) {
    struct Case {
        const char* name;
        DWORD type;
        std::vector<BYTE> data;
        Variant expected;
    };
    std::vector<BYTE> big = Utf16Bytes(std::wstring(100000, L'x'));
    const Case cases[] = {
        {"NoTerminator", REG_SZ, {'a', 0, 'b', 0, 'c', 0}, "abc"s},
        {"OddLength", REG_SZ, {'a', 0, 'b', 0, 'c', 0, 0, 0, 'z'}, "abc"s},
        {"OddLengthNoTerminator", REG_SZ, {'a', 0, 'b'}, "a"s},
        {"Empty", REG_SZ, {}, ""s},
        {"EmptyExpand", REG_EXPAND_SZ, {}, ""s},
        {"EmptyMulti", REG_MULTI_SZ, {}, ""s},
        {"Large", REG_SZ, big, std::string(100000, 'x')},
        {"ShortDword", REG_DWORD, {1, 0}, "fallback"s},
        {"LongDword", REG_DWORD, {1, 0, 0, 0, 0, 0, 0, 0}, "fallback"s},
    };
    for (const Case& c : cases) {
        WriteRaw(L"Item", c.type, c.data.data(), static_cast<DWORD>(c.data.size()));
        EXPECT_EQ(reg.Value(), c.expected) << c.name;
        EXPECT_EQ(reg.ValueType(), static_cast<int32_t>(c.type)) << c.name;
    }
}

TEST_F(RegistryClassWin, KeyOperations) {
    EXPECT_FALSE(reg.KeyExists());
    EXPECT_TRUE(reg.CreateKey());
    EXPECT_TRUE(reg.KeyExists());
    reg.ValueType(kRegSz);
    reg.Value("x"s);
    EXPECT_TRUE(reg.DeleteValue());
    EXPECT_FALSE(ReadRaw(L"Item"));
    EXPECT_TRUE(reg.DeleteKey());
    EXPECT_FALSE(reg.KeyExists());

    reg.ClassKey(0);
    reg.SectionKey("Software");
    EXPECT_FALSE(reg.KeyExists());
    reg.ClassKey(kHkeyCurrentUser);
    EXPECT_TRUE(reg.KeyExists());
}

TEST_F(RegistryClassWin, ErrorsOfTheOperations) {
    const std::string source = "win_registry.cRegistry";
    const std::string missing = std::string(kScratch) + "\\Missing";

    reg.SectionKey(missing);
    auto error = RaisedBy([&] { reg.DeleteKey(); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Number, 26001);
    EXPECT_EQ(error->Source, source);
    EXPECT_EQ(error->Description,
              "Failed to delete registry Key: '-2147483647',Section: '" + missing);

    error = RaisedBy([&] { reg.DeleteValue(); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Number, 26001);
    EXPECT_EQ(error->Description,
              "Failed to open key '-2147483647',Section: '" + missing + "' for delete access");

    reg.SectionKey(kScratch);
    for (int32_t type : {kRegNone, kRegMultiSz}) {
        DeleteTree(HKEY_CURRENT_USER, kScratchW);
        reg.ValueType(type);
        error = RaisedBy([&] { reg.Value("abc"s); });
        ASSERT_TRUE(error) << type;
        EXPECT_EQ(error->Number, static_cast<int32_t>(0x800469A9u)) << type;
        EXPECT_EQ(error->Source, source);
        EXPECT_EQ(error->Description, "Failed to set registry value Key: '-2147483647',Section: '" +
                                          std::string(kScratch) + "',Key: 'Item' to value: 'abc'");
        EXPECT_TRUE(reg.KeyExists()) << type;
        EXPECT_FALSE(ReadRaw(L"Item")) << type;
    }

    reg.ValueType(kRegBinary);
    error = RaisedBy([&] { reg.Value("abc"s); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Number, 26001);
    EXPECT_FALSE(ReadRaw(L"Item"));

    reg.ValueKey("Item");
    error = RaisedBy([&] { reg.DeleteValue(); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Description, "Failed to delete registry Key: '-2147483647',Section: '" +
                                      std::string(kScratch) + "',Key: 'Item");
}

TEST_F(RegistryClassWin, MissingMdacVersionGivesTheDefault) {
    cRegistry version(api);
    version.ClassKey(kHkeyLocalMachine);
    version.SectionKey("Software\\Microsoft\\DataAccess");
    version.ValueType(kRegSz);
    version.ValueKey("FullInstallVer");
    version.Default(""s);
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\DataAccess", 0, KEY_QUERY_VALUE,
                      &key) == ERROR_SUCCESS) {
        RegCloseKey(key);
        GTEST_SKIP() << "this system has a DataAccess key";
    }
    EXPECT_EQ(version.Value(), Variant(""s));
    EXPECT_EQ(version.ValueType(), kRegSz);
}

} // namespace
