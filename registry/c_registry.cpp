#include "registry/c_registry.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

#include "registry/registry_key.h"
#include "registry/value_data.h"
#include "text/raised_error.h"

namespace {

// A value that grows between the size query and the read is read again with the new size, a few
// times; one that keeps growing counts as unreadable. The same holds for an environment that
// changes while a text is expanded.
constexpr int kReadAttempts = 4;

// Reads the data of a value whose size a query has just reported. On success `type` is the type
// that came with the data. Nothing when the value can't be read.
std::optional<ByteArray> ReadData(IRegistryApi& api, RegKeyHandle key, const std::string& name,
                                  uint32_t size, uint32_t& type) {
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        // At least one byte, so that an empty value is read with a buffer, not as a size query.
        ByteArray data(std::max<uint32_t>(size, 1));
        uint32_t readType = 0;
        uint32_t readSize = size;
        int32_t result = api.QueryValue(key, name, readType, data.data(), readSize);
        if (result == kRegOk) {
            // The buffer bounds what was written, whatever size comes back.
            data.resize(std::min(readSize, size));
            type = readType;
            return data;
        }
        if (result != kRegErrMoreData || readSize <= size) {
            return std::nullopt;
        }
        size = readSize;
    }
    return std::nullopt;
}

// Environment references expanded as the platform does it; the text unchanged when that fails.
std::string ExpandText(IRegistryApi& api, const std::string& text) {
    // The platform reads the text up to its first NUL.
    std::string source = text.substr(0, text.find('\0'));
    uint32_t needed = api.ExpandEnvironment(source, nullptr, 0);
    for (int attempt = 0; attempt < kReadAttempts && needed != 0; ++attempt) {
        std::vector<char> buffer(needed);
        uint32_t written = api.ExpandEnvironment(source, buffer.data(), needed);
        if (written == 0) {
            break;
        }
        if (written <= needed) {
            auto end = buffer.begin() + (needed - 1);
            return std::string(buffer.begin(), std::find(buffer.begin(), end, '\0'));
        }
        needed = written;
    }
    return source;
}

int32_t WriteData(IRegistryApi& api, RegKeyHandle key, const std::string& name, int32_t type,
                  const void* data, size_t size) {
    if (size > std::numeric_limits<uint32_t>::max()) {
        return kRegErrInvalidData;
    }
    return api.SetValue(key, name, static_cast<uint32_t>(type), static_cast<const uint8_t*>(data),
                        static_cast<uint32_t>(size));
}

} // namespace

std::string ExecutableBaseName(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

bool cRegistry::KeyExists() const {
    RegistryKey key(m_api);
    return key.Open(m_eClassKey, m_sSectionKey, kKeyQueryValue) == kRegOk;
}

bool cRegistry::CreateKey() {
    RegistryKey key(m_api);
    if (key.Create(m_eClassKey, m_sSectionKey, kKeyReadWrite) != kRegOk) {
        Raise(kErrRegistry, "Failed to create registry Key: '" + m_sSectionKey);
    }
    return true;
}

bool cRegistry::DeleteKey() {
    int32_t result = kRegErrInvalidHandle;
    if (IsPredefinedRootKey(m_eClassKey)) {
        // An empty path would name the root key itself, which is never deleted.
        if (m_sSectionKey.find_first_not_of('\\') == std::string::npos) {
            result = kRegErrAccessDenied;
        } else {
            result = m_api.DeleteKey(m_eClassKey, m_sSectionKey);
        }
    }
    if (result != kRegOk) {
        Raise(kErrRegistry, "Failed to delete registry Key: '" + KeyAndSection());
    }
    return true;
}

bool cRegistry::DeleteValue() {
    RegistryKey key(m_api);
    if (key.Open(m_eClassKey, m_sSectionKey, kKeyReadWrite) != kRegOk) {
        Raise(kErrRegistry, "Failed to open key '" + KeyAndSection() + "' for delete access");
    }
    if (m_api.DeleteValue(key.Handle(), m_sValueKey) != kRegOk) {
        Raise(kErrRegistry,
              "Failed to delete registry Key: '" + KeyAndSection() + "',Key: '" + m_sValueKey);
    }
    return true;
}

Variant cRegistry::Value() {
    RegistryKey key(m_api);
    if (key.Open(m_eClassKey, m_sSectionKey, kKeyQueryValue) != kRegOk) {
        return m_vDefault;
    }
    uint32_t type = 0;
    uint32_t size = 0;
    int32_t result = m_api.QueryValue(key.Handle(), m_sValueKey, type, nullptr, size);
    if (result != kRegOk && result != kRegErrMoreData) {
        return m_vDefault;
    }
    m_eValueType = static_cast<int32_t>(type);

    std::optional<ByteArray> data = ReadData(m_api, key.Handle(), m_sValueKey, size, type);
    if (!data) {
        return m_vDefault;
    }
    // The data is taken as the type it came with, should the value have changed meanwhile.
    m_eValueType = static_cast<int32_t>(type);

    switch (m_eValueType) {
    case kRegSz:
        return TextFromStringData(*data);
    case kRegMultiSz:
        return TextFromMultiStringData(*data);
    case kRegExpandSz:
        return ExpandText(m_api, TextFromStringData(*data));
    case kRegDword:
    case kRegDwordBigEndian: {
        // A value of any other size than 4 bytes is no 32-bit integer and can't be read as one.
        std::optional<int32_t> number = IntegerFromDwordData(*data, m_eValueType != kRegDword);
        if (!number) {
            return m_vDefault;
        }
        return *number;
    }
    default:
        return std::move(*data);
    }
}

void cRegistry::Value(const Variant& vValue) {
    RegistryKey key(m_api);
    if (key.Create(m_eClassKey, m_sSectionKey, kKeyReadWrite) != kRegOk) {
        Raise(kErrRegistry, WriteFailure(vValue));
    }

    int32_t result = kRegOk;
    switch (m_eValueType) {
    case kRegSz:
    case kRegExpandSz: {
        std::string text = ToText(vValue);
        int32_t type = HasEnvironmentReference(text) ? kRegExpandSz : kRegSz;
        result = WriteData(m_api, key.Handle(), m_sValueKey, type, text.c_str(), text.size() + 1);
        break;
    }
    case kRegBinary: {
        const auto* bytes = std::get_if<ByteArray>(&vValue);
        if (bytes == nullptr) {
            Raise(kErrRegistry, WriteFailure(vValue));
        }
        result =
            WriteData(m_api, key.Handle(), m_sValueKey, kRegBinary, bytes->data(), bytes->size());
        break;
    }
    case kRegDword:
    case kRegDwordBigEndian: {
        // Only integers are written; anything else, digits in a text too, is left unwritten.
        std::optional<int32_t> number;
        if (const auto* i32 = std::get_if<int32_t>(&vValue)) {
            number = *i32;
        } else if (const auto* i16 = std::get_if<int16_t>(&vValue)) {
            number = *i16;
        }
        if (number) {
            ByteArray data = DwordData(*number);
            result =
                WriteData(m_api, key.Handle(), m_sValueKey, kRegDword, data.data(), data.size());
        }
        break;
    }
    default:
        result = kRegErrInvalidData;
        break;
    }
    if (result != kRegOk) {
        Raise(kErrRegistryWrite, WriteFailure(vValue));
    }
}

void cRegistry::Raise(int32_t number, const std::string& description) const {
    throw RaisedError(number, ExecutableBaseName(m_api.ExecutablePath()) + ".cRegistry",
                      description);
}

std::string cRegistry::KeyAndSection() const {
    return std::to_string(m_eClassKey) + "',Section: '" + m_sSectionKey;
}

std::string cRegistry::WriteFailure(const Variant& vValue) const {
    return "Failed to set registry value Key: '" + KeyAndSection() + "',Key: '" + m_sValueKey +
           "' to value: '" + ToText(vValue) + "'";
}
