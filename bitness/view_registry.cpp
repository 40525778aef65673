#include "bitness/view_registry.h"

#include <algorithm>

namespace {

class OpenKey {
public:
    OpenKey(IRegistryApi& registry, int32_t root, const std::string& path, uint32_t access)
        : m_registry(registry) {
        if (m_registry.OpenKey(root, path, access, m_key) != kRegOk)
            m_key = 0;
    }
    ~OpenKey() {
        if (m_key != 0)
            m_registry.CloseKey(m_key);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    RegKeyHandle Get() const { return m_key; }

private:
    IRegistryApi& m_registry;
    RegKeyHandle m_key = 0;
};

// Replaces `from` (case-insensitively, at the start) by `to`.
bool ReplacePrefix(std::string& text, const std::string& from, const std::string& to) {
    if (text.size() < from.size())
        return false;
    for (size_t i = 0; i < from.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(text[i]) != lower(from[i]))
            return false;
    }
    text = to + text.substr(from.size());
    return true;
}

} // namespace

ViewRegistry::ViewRegistry(IRegistryApi& registry, Bitness view, bool windows64)
    : m_registry(registry), m_view(view), m_flag(!windows64                ? 0
                                                 : view == Bitness::Bits64 ? kKeyWow64_64Key
                                                                           : kKeyWow64_32Key),
      m_windows64(windows64) {}

std::optional<std::string> ViewRegistry::Text(int32_t root, const std::string& path,
                                              const std::string& name) const {
    OpenKey key(m_registry, root, path, kKeyQueryValue | m_flag);
    if (key.Get() == 0)
        return std::nullopt;
    uint32_t type = 0;
    uint32_t size = 0;
    if (m_registry.QueryValue(key.Get(), name, type, nullptr, size) != kRegOk ||
        (type != kRegSz && type != kRegExpandSz))
        return std::nullopt;
    std::string data(size, '\0');
    if (size > 0 && m_registry.QueryValue(key.Get(), name, type,
                                          reinterpret_cast<uint8_t*>(data.data()), size) != kRegOk)
        return std::nullopt;
    data.resize(std::min<size_t>(size, data.find('\0')));
    return data;
}

std::vector<std::string> ViewRegistry::SubKeys(int32_t root, const std::string& path) const {
    std::vector<std::string> names;
    OpenKey key(m_registry, root, path, kKeyEnumerateSubKeys | m_flag);
    std::string name;
    for (uint32_t i = 0; key.Get() != 0 && m_registry.EnumKey(key.Get(), i, name) == kRegOk; ++i)
        names.push_back(name);
    return names;
}

std::vector<std::string> ViewRegistry::ValueNames(int32_t root, const std::string& path) const {
    std::vector<std::string> names;
    OpenKey key(m_registry, root, path, kKeyQueryValue | m_flag);
    std::string name;
    uint32_t type = 0;
    for (uint32_t i = 0; key.Get() != 0 && m_registry.EnumValue(key.Get(), i, name, type) == kRegOk;
         ++i)
        if (!name.empty())
            names.push_back(name);
    return names;
}

std::string ViewRegistry::ExpandPlain(const std::string& text) const {
    const uint32_t needed = m_registry.ExpandEnvironment(text, nullptr, 0);
    if (needed == 0)
        return text;
    std::string out(needed, '\0');
    if (m_registry.ExpandEnvironment(text, out.data(), needed) != needed)
        return text;
    out.resize(out.find('\0'));
    return out;
}

std::string ViewRegistry::Folder64(const char* variable, const char* registryValue) const {
    const std::string reference = std::string("%") + variable + "%";
    const std::string fromEnvironment = ExpandPlain(reference);
    if (fromEnvironment != reference && !fromEnvironment.empty())
        return fromEnvironment;
    return Text(kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", registryValue)
        .value_or(reference);
}

std::string ViewRegistry::Expand(const std::string& text) const {
    std::string path = text;
    // This program is 32-bit: its own environment gives the "(x86)" folders, which a 64-bit
    // program doesn't mean. The system folder keeps its name; the file probe reads it unredirected.
    if (m_windows64 && m_view == Bitness::Bits64 &&
        !ReplacePrefix(path, "%CommonProgramFiles%",
                       Folder64("CommonProgramW6432", "CommonFilesDir")))
        ReplacePrefix(path, "%ProgramFiles%", Folder64("ProgramW6432", "ProgramFilesDir"));
    return ExpandPlain(path);
}
