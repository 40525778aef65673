#pragma once
// An in-memory registry behind the registry API: keys and values under the predefined root keys,
// environment variables for expansion, a count of the keys held open, every call it saw, and
// failures injected into any chosen call.
//
// Like the platform it is case-insensitive in key paths and value names, answers with the same
// result codes, enforces the access a key was opened with, refuses to delete a key that still has
// subkeys, and never writes more than a caller's buffer holds.
#include <cstring>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "registry/registry_api.h"
#include "text/variant.h"

class FakeRegistry : public IRegistryApi {
public:
    enum class Fn {
        OpenKey,
        CreateKey,
        DeleteKey,
        DeleteValue,
        QueryValue,
        SetValue,
        CloseKey,
        EnumKey,
        EnumValue,
        ExpandEnvironment,
        ExecutablePath,
    };

    struct Call {
        Fn Function;
        int32_t Root = 0;    // OpenKey, CreateKey, DeleteKey
        std::string Path;    // OpenKey, CreateKey, DeleteKey
        uint32_t Access = 0; // OpenKey, CreateKey
        std::string Name;    // DeleteValue, QueryValue, SetValue
    };

    struct StoredValue {
        uint32_t Type = 0;
        ByteArray Data;
        bool operator==(const StoredValue&) const = default;
    };

    static constexpr int32_t kBadPathname = 161;
    static constexpr int32_t kInvalidParameter = 87;

    // With two views, HKEY_LOCAL_MACHINE is two stores, as 64-bit Windows shows it to a 32-bit
    // program: a key opened with kKeyWow64_64Key is in the 64-bit one, any other in the 32-bit
    // one, which a test fills under View32(path). Other roots are one store for both views.
    bool TwoViews = false;
    static std::string View32(const std::string& path) { return "(32-bit view)\\" + path; }

    // What ExecutablePath answers.
    std::string ExePath = "C:\\Program Files\\Quendry\\Quendry.exe";
    // Every call, in order.
    std::vector<Call> Calls;
    // Runs before each call is served, with its function and number (1-based): lets a test change
    // the store between two calls, for example grow a value after its size query.
    std::function<void(Fn, size_t)> BeforeCall;

    FakeRegistry() { SetEnvironment("SystemRoot", "C:\\WINDOWS"); }

    // ---- Setting up and looking at the store; none of these counts as a call. ----

    void AddKey(int32_t root, const std::string& path) {
        std::optional<std::string> key = Normalize(path);
        if (key) {
            NameKeys(root, path);
            MakeKey(root, *key);
        }
    }
    void SetRawValue(int32_t root, const std::string& path, const std::string& name, uint32_t type,
                     ByteArray data) {
        std::optional<std::string> key = Normalize(path);
        if (key) {
            NameKeys(root, path);
            Key& made = MakeKey(root, *key);
            made.Values[Lower(name)] = StoredValue{type, std::move(data)};
            made.ValueNames[Lower(name)] = name;
        }
    }
    // A REG_SZ value holding `text` and its terminating NUL.
    void SetStringValue(int32_t root, const std::string& path, const std::string& name,
                        const std::string& text) {
        ByteArray data(text.begin(), text.end());
        data.push_back(0);
        SetRawValue(root, path, name, kRegSz, std::move(data));
    }
    void SetDwordValue(int32_t root, const std::string& path, const std::string& name,
                       uint32_t value) {
        SetRawValue(root, path, name, kRegDword,
                    {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                     static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)});
    }
    bool HasKey(int32_t root, const std::string& path) const {
        std::optional<std::string> key = Normalize(path);
        return key && FindKey(root, *key) != nullptr;
    }
    std::optional<StoredValue> GetValue(int32_t root, const std::string& path,
                                        const std::string& name) const {
        std::optional<std::string> key = Normalize(path);
        const Key* found = key ? FindKey(root, *key) : nullptr;
        if (found == nullptr) {
            return std::nullopt;
        }
        auto value = found->Values.find(Lower(name));
        if (value == found->Values.end()) {
            return std::nullopt;
        }
        return value->second;
    }
    void SetEnvironment(const std::string& name, const std::string& value) {
        m_environment[Lower(name)] = value;
    }

    size_t OpenKeyCount() const { return m_handles.size(); }
    size_t CallCount() const { return m_callCount; }

    // ---- Failures. A failing call changes nothing and answers `code`; ExpandEnvironment
    // answers 0 and ExecutablePath the empty text. A failing CloseKey still gives up the key. ----

    // The call with this number, counting every call since the fake was made, from 1.
    void FailCall(size_t number, int32_t code) {
        m_failAt = number;
        m_failAtCode = code;
    }
    void FailEvery(Fn function, int32_t code) { m_failEvery[function] = code; }
    void ClearFailures() {
        m_failAt = 0;
        m_failEvery.clear();
    }

    // ---- The registry API. ----

    int32_t OpenKey(int32_t root, const std::string& path, uint32_t access,
                    RegKeyHandle& key) override {
        if (auto failure = Begin({Fn::OpenKey, root, path, access, {}})) {
            return *failure;
        }
        if (!IsPredefinedRootKey(root)) {
            return kRegErrInvalidHandle;
        }
        if ((access & kBothViews) == kBothViews) {
            return kInvalidParameter;
        }
        std::optional<std::string> normal = Normalize(InView(root, path, access));
        if (!normal) {
            return kBadPathname;
        }
        if (FindKey(root, *normal) == nullptr) {
            return kRegErrFileNotFound;
        }
        key = NewHandle(root, *normal, access);
        return kRegOk;
    }

    int32_t CreateKey(int32_t root, const std::string& path, uint32_t access,
                      RegKeyHandle& key) override {
        if (auto failure = Begin({Fn::CreateKey, root, path, access, {}})) {
            return *failure;
        }
        if (!IsPredefinedRootKey(root)) {
            return kRegErrInvalidHandle;
        }
        if ((access & kBothViews) == kBothViews) {
            return kInvalidParameter;
        }
        const std::string inView = InView(root, path, access);
        std::optional<std::string> normal = Normalize(inView);
        if (!normal) {
            return kBadPathname;
        }
        NameKeys(root, inView);
        MakeKey(root, *normal);
        key = NewHandle(root, *normal, access);
        return kRegOk;
    }

    int32_t DeleteKey(int32_t root, const std::string& path) override {
        if (auto failure = Begin({Fn::DeleteKey, root, path, 0, {}})) {
            return *failure;
        }
        if (!IsPredefinedRootKey(root)) {
            return kRegErrInvalidHandle;
        }
        std::optional<std::string> normal = Normalize(path);
        if (!normal) {
            return kBadPathname;
        }
        if (normal->empty()) {
            return kRegErrAccessDenied; // a root key is never deleted
        }
        auto found = m_keys.find({root, *normal});
        if (found == m_keys.end()) {
            return kRegErrFileNotFound;
        }
        auto sub = m_keys.lower_bound({root, *normal + "\\"});
        if (sub != m_keys.end() && sub->first.first == root &&
            sub->first.second.rfind(*normal + "\\", 0) == 0) {
            return kRegErrAccessDenied; // it still has subkeys
        }
        m_keys.erase(found);
        return kRegOk;
    }

    int32_t DeleteValue(RegKeyHandle key, const std::string& name) override {
        if (auto failure = Begin({Fn::DeleteValue, 0, {}, 0, name})) {
            return *failure;
        }
        Key* open = nullptr;
        if (int32_t result = Resolve(key, kKeySetValue, open); result != kRegOk) {
            return result;
        }
        return open->Values.erase(Lower(name)) == 1 ? kRegOk : kRegErrFileNotFound;
    }

    int32_t QueryValue(RegKeyHandle key, const std::string& name, uint32_t& type, uint8_t* data,
                       uint32_t& size) override {
        if (auto failure = Begin({Fn::QueryValue, 0, {}, 0, name})) {
            return *failure;
        }
        Key* open = nullptr;
        if (int32_t result = Resolve(key, kKeyQueryValue, open); result != kRegOk) {
            return result;
        }
        auto value = open->Values.find(Lower(name));
        if (value == open->Values.end()) {
            return kRegErrFileNotFound;
        }
        const auto stored = static_cast<uint32_t>(value->second.Data.size());
        type = value->second.Type;
        if (data == nullptr) {
            size = stored;
            return kRegOk;
        }
        if (size < stored) {
            size = stored;
            return kRegErrMoreData;
        }
        if (stored > 0) {
            std::memcpy(data, value->second.Data.data(), stored);
        }
        size = stored;
        return kRegOk;
    }

    int32_t SetValue(RegKeyHandle key, const std::string& name, uint32_t type, const uint8_t* data,
                     uint32_t size) override {
        if (auto failure = Begin({Fn::SetValue, 0, {}, 0, name})) {
            return *failure;
        }
        Key* open = nullptr;
        if (int32_t result = Resolve(key, kKeySetValue, open); result != kRegOk) {
            return result;
        }
        if (data == nullptr && size > 0) {
            return kRegErrInvalidData;
        }
        open->Values[Lower(name)] =
            StoredValue{type, size > 0 ? ByteArray(data, data + size) : ByteArray{}};
        open->ValueNames[Lower(name)] = name;
        return kRegOk;
    }

    // Subkeys and values in the order of their lower-case names.
    int32_t EnumKey(RegKeyHandle key, uint32_t index, std::string& name) override {
        if (auto failure = Begin({Fn::EnumKey, 0, {}, 0, {}})) {
            return *failure;
        }
        Key* open = nullptr;
        if (int32_t result = Resolve(key, kKeyEnumerateSubKeys, open); result != kRegOk) {
            return result;
        }
        const OpenHandle& handle = m_handles.at(key);
        const std::string prefix = handle.Path.empty() ? std::string() : handle.Path + "\\";
        uint32_t seen = 0;
        for (auto it = m_keys.lower_bound({handle.Root, prefix}); it != m_keys.end(); ++it) {
            const auto& [root, path] = it->first;
            if (root != handle.Root || path.rfind(prefix, 0) != 0) {
                break;
            }
            if (path.find('\\', prefix.size()) != std::string::npos) {
                continue; // deeper down
            }
            if (seen++ == index) {
                auto named = m_keyNames.find(it->first);
                name = named != m_keyNames.end() ? named->second : path.substr(prefix.size());
                return kRegOk;
            }
        }
        return kRegErrNoMoreItems;
    }

    int32_t EnumValue(RegKeyHandle key, uint32_t index, std::string& name,
                      uint32_t& type) override {
        if (auto failure = Begin({Fn::EnumValue, 0, {}, 0, {}})) {
            return *failure;
        }
        Key* open = nullptr;
        if (int32_t result = Resolve(key, kKeyQueryValue, open); result != kRegOk) {
            return result;
        }
        if (index >= open->Values.size()) {
            return kRegErrNoMoreItems;
        }
        auto it = std::next(open->Values.begin(), index);
        auto named = open->ValueNames.find(it->first);
        name = named != open->ValueNames.end() ? named->second : it->first;
        type = it->second.Type;
        return kRegOk;
    }

    int32_t CloseKey(RegKeyHandle key) override {
        auto failure = Begin({Fn::CloseKey, 0, {}, 0, {}});
        if (m_handles.erase(key) == 0) {
            return kRegErrInvalidHandle;
        }
        return failure.value_or(kRegOk);
    }

    uint32_t ExpandEnvironment(const std::string& text, char* buffer, uint32_t size) override {
        if (Begin({Fn::ExpandEnvironment, 0, {}, 0, text})) {
            return 0;
        }
        std::string expanded = Expand(text.substr(0, text.find('\0')));
        const auto needed = static_cast<uint32_t>(expanded.size() + 1);
        if (buffer != nullptr && size >= needed) {
            std::memcpy(buffer, expanded.c_str(), needed);
        }
        return needed;
    }

    std::string ExecutablePath() override {
        if (Begin({Fn::ExecutablePath, 0, {}, 0, {}})) {
            return {};
        }
        return ExePath;
    }

private:
    struct Key {
        std::map<std::string, StoredValue> Values;     // by lower-case name
        std::map<std::string, std::string> ValueNames; // lower-case name -> as written
    };
    static constexpr uint32_t kBothViews = kKeyWow64_32Key | kKeyWow64_64Key;

    std::string InView(int32_t root, const std::string& path, uint32_t access) const {
        return TwoViews && root == kHkeyLocalMachine && (access & kKeyWow64_64Key) == 0
                   ? View32(path)
                   : path;
    }
    // Keeps each level's name as written, for enumeration.
    void NameKeys(int32_t root, const std::string& path) {
        std::optional<std::string> normal = Normalize(path);
        if (!normal || normal->empty()) {
            return;
        }
        std::string written = path;
        if (written.back() == '\\') {
            written.pop_back();
        }
        for (size_t from = 0;;) {
            const size_t end = written.find('\\', from);
            m_keyNames[{root, Lower(written.substr(0, end))}] =
                written.substr(from, end == std::string::npos ? end : end - from);
            if (end == std::string::npos) {
                return;
            }
            from = end + 1;
        }
    }
    struct OpenHandle {
        int32_t Root;
        std::string Path;
        uint32_t Access;
    };

    static std::string Lower(std::string text) {
        for (char& c : text) {
            if (c >= 'A' && c <= 'Z') {
                c = static_cast<char>(c - 'A' + 'a');
            }
        }
        return text;
    }

    // The path in lower case with one trailing backslash dropped; nothing for a path with an
    // empty level (a leading or doubled backslash).
    static std::optional<std::string> Normalize(const std::string& path) {
        std::string normal = Lower(path);
        if (!normal.empty() && normal.back() == '\\') {
            normal.pop_back();
        }
        if (!normal.empty() &&
            (normal.front() == '\\' || normal.find("\\\\") != std::string::npos ||
             normal.back() == '\\')) {
            return std::nullopt;
        }
        return normal;
    }

    const Key* FindKey(int32_t root, const std::string& normal) const {
        if (!IsPredefinedRootKey(root)) {
            return nullptr;
        }
        if (normal.empty()) {
            return &m_roots[root];
        }
        auto found = m_keys.find({root, normal});
        return found == m_keys.end() ? nullptr : &found->second;
    }
    Key& MakeKey(int32_t root, const std::string& normal) {
        if (normal.empty()) {
            return m_roots[root];
        }
        for (size_t slash = normal.find('\\'); slash != std::string::npos;
             slash = normal.find('\\', slash + 1)) {
            m_keys[{root, normal.substr(0, slash)}];
        }
        return m_keys[{root, normal}];
    }

    RegKeyHandle NewHandle(int32_t root, const std::string& normal, uint32_t access) {
        m_nextHandle += 4;
        m_handles[m_nextHandle] = OpenHandle{root, normal, access};
        return m_nextHandle;
    }
    int32_t Resolve(RegKeyHandle handle, uint32_t access, Key*& key) {
        auto open = m_handles.find(handle);
        if (open == m_handles.end()) {
            return kRegErrInvalidHandle;
        }
        if ((open->second.Access & access) != access) {
            return kRegErrAccessDenied;
        }
        key = const_cast<Key*>(FindKey(open->second.Root, open->second.Path));
        return key == nullptr ? kRegErrKeyDeleted : kRegOk;
    }

    // Counts and records the call, runs the test's hook, and answers an injected failure.
    std::optional<int32_t> Begin(Call call) {
        ++m_callCount;
        Fn function = call.Function;
        Calls.push_back(std::move(call));
        if (BeforeCall) {
            BeforeCall(function, m_callCount);
        }
        if (m_failAt != 0 && m_callCount == m_failAt) {
            return m_failAtCode;
        }
        auto every = m_failEvery.find(function);
        if (every != m_failEvery.end()) {
            return every->second;
        }
        return std::nullopt;
    }

    // "%name%" is replaced where the name is set; anything else stays as written.
    std::string Expand(const std::string& text) const {
        std::string out;
        size_t i = 0;
        while (i < text.size()) {
            size_t close = text[i] == '%' ? text.find('%', i + 1) : std::string::npos;
            if (close == std::string::npos) {
                out += text[i++];
                continue;
            }
            auto value = m_environment.find(Lower(text.substr(i + 1, close - i - 1)));
            if (close > i + 1 && value != m_environment.end()) {
                out += value->second;
                i = close + 1;
            } else {
                out.append(text, i, close - i); // the closing "%" may open the next reference
                i = close;
            }
        }
        return out;
    }

    mutable std::map<int32_t, Key> m_roots;
    std::map<std::pair<int32_t, std::string>, Key> m_keys;
    std::map<std::pair<int32_t, std::string>, std::string> m_keyNames;
    std::map<RegKeyHandle, OpenHandle> m_handles;
    RegKeyHandle m_nextHandle = 0x100;
    std::map<std::string, std::string> m_environment;
    size_t m_callCount = 0;
    size_t m_failAt = 0;
    int32_t m_failAtCode = 0;
    std::map<Fn, int32_t> m_failEvery;
};
