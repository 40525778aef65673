#pragma once
// The registry functions of advapi32 and ExpandEnvironmentStrings, shaped like the platform calls
// and with their result codes. The Win32 adapter calls the W functions; tests use an in-memory
// store that can fail any chosen call.
//
// Text is UTF-8 throughout: key paths, value names, and the data of the string types (REG_SZ,
// REG_EXPAND_SZ, REG_MULTI_SZ). String data is measured in UTF-8 bytes on both sides of this
// interface, terminators included as stored; the adapter converts to and from UTF-16 at the
// platform boundary, so every size the class sees describes the bytes it actually gets.
#include <cstdint>
#include <string>

// An open key as the platform hands it out. 0 is no key.
using RegKeyHandle = uintptr_t;

// Result codes, as the platform returns them.
inline constexpr int32_t kRegOk = 0;
inline constexpr int32_t kRegErrFileNotFound = 2;
inline constexpr int32_t kRegErrAccessDenied = 5;
inline constexpr int32_t kRegErrInvalidHandle = 6;
inline constexpr int32_t kRegErrInvalidData = 13;
inline constexpr int32_t kRegErrMoreData = 234;
inline constexpr int32_t kRegErrNoMoreItems = 259;
inline constexpr int32_t kRegErrKeyDeleted = 1018;

// The predefined root keys, by their standard handle values.
inline constexpr int32_t kHkeyClassesRoot = static_cast<int32_t>(0x80000000u);
inline constexpr int32_t kHkeyCurrentUser = static_cast<int32_t>(0x80000001u);
inline constexpr int32_t kHkeyLocalMachine = static_cast<int32_t>(0x80000002u);
inline constexpr int32_t kHkeyUsers = static_cast<int32_t>(0x80000003u);
inline constexpr int32_t kHkeyPerformanceData = static_cast<int32_t>(0x80000004u);
inline constexpr int32_t kHkeyCurrentConfig = static_cast<int32_t>(0x80000005u);
inline constexpr int32_t kHkeyDynData = static_cast<int32_t>(0x80000006u);
inline constexpr int32_t kHkeyPerformanceText = static_cast<int32_t>(0x80000050u);
inline constexpr int32_t kHkeyPerformanceNlsText = static_cast<int32_t>(0x80000060u);

// Whether `root` is one of the predefined root keys above. Any other number could be the handle
// of some key the process happens to hold open, so it names no key.
constexpr bool IsPredefinedRootKey(int32_t root) {
    const auto value = static_cast<uint32_t>(root);
    return (value >= 0x80000000u && value <= 0x80000006u) || value == 0x80000050u ||
           value == 0x80000060u;
}

// Registry value types, by their standard numbers.
inline constexpr int32_t kRegNone = 0;
inline constexpr int32_t kRegSz = 1;
inline constexpr int32_t kRegExpandSz = 2;
inline constexpr int32_t kRegBinary = 3;
inline constexpr int32_t kRegDword = 4;
inline constexpr int32_t kRegDwordBigEndian = 5;
inline constexpr int32_t kRegLink = 6;
inline constexpr int32_t kRegMultiSz = 7;

// Access rights.
inline constexpr uint32_t kKeyQueryValue = 0x0001;
inline constexpr uint32_t kKeySetValue = 0x0002;
inline constexpr uint32_t kKeyEnumerateSubKeys = 0x0008;
// The registry view of 64-bit Windows to open a key in (XP x64 and later; both at once is an
// error). Every subkey is opened with the same one.
inline constexpr uint32_t kKeyWow64_64Key = 0x0100;
inline constexpr uint32_t kKeyWow64_32Key = 0x0200;
// Query and set value, create and enumerate subkeys, notify, create link.
inline constexpr uint32_t kKeyReadWrite = 0x003F;

class IRegistryApi {
public:
    virtual ~IRegistryApi() = default;

    // RegOpenKeyEx(root, path, 0, access, &key). `key` is set only on success.
    virtual int32_t OpenKey(int32_t root, const std::string& path, uint32_t access,
                            RegKeyHandle& key) = 0;
    // RegCreateKeyEx(root, path, 0, "", non-volatile, access, no security, &key, disposition
    // unused). `key` is set only on success.
    virtual int32_t CreateKey(int32_t root, const std::string& path, uint32_t access,
                              RegKeyHandle& key) = 0;
    // RegDeleteKey(root, path).
    virtual int32_t DeleteKey(int32_t root, const std::string& path) = 0;
    // RegDeleteValue(key, name).
    virtual int32_t DeleteValue(RegKeyHandle key, const std::string& name) = 0;
    // RegQueryValueEx(key, name, no reserved, &type, data, &size). With `data` null: the type and
    // the size in bytes. Otherwise `size` is the buffer's size on entry; the data is copied when
    // it fits, else the result is kRegErrMoreData and `size` the size needed. Never writes more
    // than `size` bytes.
    virtual int32_t QueryValue(RegKeyHandle key, const std::string& name, uint32_t& type,
                               uint8_t* data, uint32_t& size) = 0;
    // RegSetValueEx(key, name, 0, type, data, size).
    virtual int32_t SetValue(RegKeyHandle key, const std::string& name, uint32_t type,
                             const uint8_t* data, uint32_t size) = 0;
    // RegEnumKeyEx(key, index, name, ...): the name of the subkey at `index` (from 0), or
    // kRegErrNoMoreItems past the last. The key needs kKeyEnumerateSubKeys.
    virtual int32_t EnumKey(RegKeyHandle key, uint32_t index, std::string& name) = 0;
    // RegEnumValue(key, index, name, ..., &type, no data): the name and type of the value at
    // `index` (from 0), or kRegErrNoMoreItems past the last. The key needs kKeyQueryValue.
    virtual int32_t EnumValue(RegKeyHandle key, uint32_t index, std::string& name,
                              uint32_t& type) = 0;
    // RegCloseKey(key).
    virtual int32_t CloseKey(RegKeyHandle key) = 0;
    // ExpandEnvironmentStrings(text, buffer, size): the size needed in bytes including the NUL
    // (0 on failure); the expanded text and its NUL are copied only when they fit in `size`.
    virtual uint32_t ExpandEnvironment(const std::string& text, char* buffer, uint32_t size) = 0;
    // Full path of the running program's executable file; empty when it can't be had.
    virtual std::string ExecutablePath() = 0;
};
