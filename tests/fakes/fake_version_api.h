#pragma once
// A version-information interface serving canned version blocks by path, malformed ones too.
// Paths it doesn't know behave like missing files (size 0).
#include "repair/file_version.h"
#include "repair/version_api.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

struct FakeVersionFile {
    // What VerQueryValue answers for the root block.
    enum class Answer { InBuffer, Null, Outside, Fails };

    std::vector<unsigned char> info; // the bytes GetFileVersionInfo hands out
    uint32_t reportedSize = 0;       // what GetFileVersionInfoSize says
    bool infoFails = false;          // GetFileVersionInfo fails
    Answer answer = Answer::InBuffer;
    int64_t valueOffset = 0;  // where the fixed block is said to start, from the buffer's start
    uint32_t valueLength = 0; // the length VerQueryValue reports

    // Version information as the platform lays it out: a header, then the fixed block, then
    // string tables.
    static FakeVersionFile WithVersion(uint16_t major, uint16_t minor, uint16_t build,
                                       uint16_t revision) {
        FixedFileInfo fixed{};
        fixed.dwSignature = kFixedFileInfoSignature;
        fixed.dwStrucVersion = 0x00010000;
        fixed.dwFileVersionMS = uint32_t(major) << 16 | minor;
        fixed.dwFileVersionLS = uint32_t(build) << 16 | revision;
        fixed.dwProductVersionMS = fixed.dwFileVersionMS;
        fixed.dwProductVersionLS = fixed.dwFileVersionLS;
        FakeVersionFile file;
        constexpr size_t header = 40;
        file.info.assign(header + sizeof fixed + 200, 0xAB);
        std::memcpy(file.info.data() + header, &fixed, sizeof fixed);
        file.reportedSize = static_cast<uint32_t>(file.info.size());
        file.valueOffset = header;
        file.valueLength = sizeof fixed;
        return file;
    }

    FixedFileInfo& Fixed() { return *reinterpret_cast<FixedFileInfo*>(info.data() + 40); }
};

class FakeVersionApi : public IVersionApi {
public:
    std::map<std::string, FakeVersionFile> files;
    std::vector<std::string> sizeQueries; // every path asked for, in order
    int infoCalls = 0;
    bool handleMismatch = false; // GetFileVersionInfo got a handle other than the one handed out
    // Fault injection: every call counts, from 1, and the call numbered FailCallNumber fails
    // (0: none): the size query answers 0, the other two false.
    size_t CallNumber = 0;
    size_t FailCallNumber = 0;

    // A fixed block lying outside any buffer, for answers that point elsewhere.
    FixedFileInfo elsewhere = WithSignature();

    void Add(const std::string& path, FakeVersionFile file) { files[path] = std::move(file); }
    void Add(const std::string& path, uint16_t major, uint16_t minor, uint16_t build,
             uint16_t revision) {
        files[path] = FakeVersionFile::WithVersion(major, minor, build, revision);
    }

    uint32_t FileVersionInfoSize(const std::string& path, uint32_t& handle) override {
        sizeQueries.push_back(path);
        handle = kHandle;
        if (Failing())
            return 0;
        auto it = files.find(path);
        return it == files.end() ? 0 : it->second.reportedSize;
    }

    bool FileVersionInfo(const std::string& path, uint32_t handle, uint32_t size,
                         void* data) override {
        ++infoCalls;
        if (handle != kHandle) {
            handleMismatch = true;
        }
        if (Failing())
            return false;
        auto it = files.find(path);
        if (it == files.end() || it->second.infoFails) {
            return false;
        }
        const auto& info = it->second.info;
        std::memset(data, 0, size);
        if (!info.empty())
            std::memcpy(data, info.data(), std::min<size_t>(size, info.size()));
        current_ = &it->second;
        return true;
    }

    bool QueryVersionValue(const void* block, const std::string& subBlock, const void*& value,
                           uint32_t& length) override {
        if (Failing() || current_ == nullptr || subBlock != "\\") {
            return false;
        }
        const FakeVersionFile& file = *current_;
        length = file.valueLength;
        switch (file.answer) {
        case FakeVersionFile::Answer::Fails:
            return false;
        case FakeVersionFile::Answer::Null:
            value = nullptr;
            return true;
        case FakeVersionFile::Answer::Outside:
            value = &elsewhere;
            return true;
        case FakeVersionFile::Answer::InBuffer:
            value = reinterpret_cast<const void*>(reinterpret_cast<uintptr_t>(block) +
                                                  static_cast<uintptr_t>(file.valueOffset));
            return true;
        }
        return false;
    }

private:
    static constexpr uint32_t kHandle = 0x5A5A;
    const FakeVersionFile* current_ = nullptr;

    bool Failing() { return ++CallNumber == FailCallNumber; }

    static FixedFileInfo WithSignature() {
        FixedFileInfo f{};
        f.dwSignature = kFixedFileInfoSignature;
        f.dwFileVersionMS = 0x00090009;
        return f;
    }
};
