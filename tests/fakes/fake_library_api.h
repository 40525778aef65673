#pragma once
// A library interface over fake files and libraries. Each registering library gets an entry point
// of its own: a real function that records the call, in order with every other call the fake saw,
// and returns the library's status. The task-memory allocator counts its blocks and notices a
// block freed twice or one it never handed out. Paths it doesn't know are missing files.
#include <cstdlib>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "repair/library_api.h"

class FakeLibraryApi : public ILibraryApi {
public:
    enum class Kind {
        Registering, // exports DllRegisterServer, which returns the library's status
        NoExport,    // a library without it
        NotALibrary, // a file that is no library: loading it fails with ERROR_BAD_EXE_FORMAT
        LoadFails,   // a library that fails to load with `loadError` (a missing dependency, say)
    };
    struct File {
        Kind kind = Kind::Registering;
        int32_t status = 0;
        std::string shortForm; // empty: the long path is its own short form
        uint32_t loadError = 0;
        uint32_t shortPathError = 0; // the short form can't be had: GetShortPathName fails so
        int loaded = 0;              // loads not yet freed
        int calls = 0;
        size_t slot = 0;
    };

    static constexpr size_t kSlots = 40;
    static constexpr uint32_t kErrorBadExeFormat = 193;
    static constexpr uint32_t kErrorMrMidNotFound = 317; // FormatMessage: no text for the code

    std::map<std::string, File> files; // by long path
    std::vector<std::string> Log;      // every call in order, as "Name(argument)"
    std::map<uint32_t, std::string> messages = {
        {2, "The system cannot find the file specified.\r\n"},
        {87, "The parameter is incorrect.\r\n"},
        {126, "The specified module could not be found.\r\n"},
        {127, "The specified procedure could not be found.\r\n"},
        {193, "%1 is not a valid Win32 application.\r\n"},
    };
    bool failAlloc = false;
    int allocs = 0, frees = 0, badFrees = 0;
    int callsWhileUnloaded = 0;
    uint32_t lastError = 0;
    std::function<void(const std::string& path)> duringCall; // runs inside an entry point

    // Fault injection: every call but LastError counts, from 1, and the call numbered
    // FailCallNumber fails as the platform's function fails (0: none), with access denied as its
    // error where it sets one.
    size_t CallNumber = 0;
    size_t FailCallNumber = 0;
    static constexpr uint32_t kErrorAccessDenied = 5;
    // Libraries loaded and not freed again, over all files.
    int LoadedNow() const {
        int n = 0;
        for (const auto& [path, file] : files)
            n += file.loaded;
        return n;
    }

    FakeLibraryApi() { Current() = this; }
    ~FakeLibraryApi() override {
        for (void* block : m_live)
            std::free(block);
        if (Current() == this)
            Current() = nullptr;
    }
    FakeLibraryApi(const FakeLibraryApi&) = delete;
    FakeLibraryApi& operator=(const FakeLibraryApi&) = delete;

    File& Add(const std::string& path, Kind kind, int32_t status = 0,
              const std::string& shortForm = {}) {
        File file;
        file.kind = kind;
        file.status = status;
        file.shortForm = shortForm;
        file.loadError = kind == Kind::NotALibrary ? kErrorBadExeFormat : kErrorModNotFound;
        file.slot = m_nextSlot++;
        if (file.slot >= kSlots)
            std::abort(); // more libraries than entry points
        return files[path] = file;
    }
    int Calls(const std::string& path) const {
        auto it = files.find(path);
        return it == files.end() ? 0 : it->second.calls;
    }
    int Loads() const { return Count("Load("); }
    int Count(const std::string& prefix) const {
        int n = 0;
        for (const auto& entry : Log)
            n += entry.rfind(prefix, 0) == 0 ? 1 : 0;
        return n;
    }
    size_t LiveBlocks() const { return m_live.size(); }

    // ILibraryApi
    LibraryHandle LoadComponentLibrary(const std::string& path) override {
        Log.push_back("Load(" + path + ")");
        if (Failing()) {
            lastError = kErrorAccessDenied;
            return 0;
        }
        File* file = Resolve(path);
        if (file == nullptr) {
            lastError = kErrorModNotFound;
            return 0;
        }
        if (file->kind == Kind::NotALibrary || file->kind == Kind::LoadFails) {
            lastError = file->loadError;
            return 0;
        }
        ++file->loaded;
        return kHandleBase + file->slot;
    }
    EntryPoint FindEntryPoint(LibraryHandle library, const std::string& name) override {
        File* file = ByHandle(library);
        Log.push_back("Find(" + name + ")");
        if (Failing()) {
            lastError = kErrorAccessDenied;
            return nullptr;
        }
        if (file == nullptr || file->loaded == 0 || file->kind != Kind::Registering ||
            name != "DllRegisterServer") {
            lastError = kErrorProcNotFound;
            return nullptr;
        }
        return Entries()[file->slot];
    }
    bool FreeComponentLibrary(LibraryHandle library) override {
        File* file = ByHandle(library);
        Log.push_back("Free(" + (file ? PathOf(*file) : std::string("?")) + ")");
        if (Failing() || file == nullptr || file->loaded == 0)
            return false;
        --file->loaded;
        return true;
    }
    uint32_t ShortPathName(const std::string& longPath, std::string& shortPath,
                           uint32_t capacity) override {
        Log.push_back("ShortPath(" + longPath + ")");
        if (Failing()) {
            lastError = kErrorAccessDenied;
            return 0;
        }
        auto it = files.find(longPath);
        if (it == files.end()) {
            lastError = kErrorFileNotFound;
            return 0;
        }
        if (it->second.shortPathError != 0) {
            lastError = it->second.shortPathError;
            return 0;
        }
        const std::string& s = it->second.shortForm.empty() ? longPath : it->second.shortForm;
        if (s.size() + 1 > capacity)
            return static_cast<uint32_t>(s.size() + 1);
        shortPath = s;
        return static_cast<uint32_t>(s.size());
    }
    uint32_t SystemMessageText(uint32_t code, std::string& text) override {
        auto it = messages.find(code);
        if (Failing() || it == messages.end()) {
            lastError = kErrorMrMidNotFound;
            return 0;
        }
        text = it->second;
        return static_cast<uint32_t>(text.size());
    }
    uint32_t LastError() override { return lastError; }
    void* TaskMemAlloc(size_t bytes) override {
        Log.push_back("Alloc(" + std::to_string(bytes) + ")");
        if (Failing() || failAlloc)
            return nullptr;
        void* block = std::malloc(bytes);
        m_live.insert(block);
        ++allocs;
        return block;
    }
    void TaskMemFree(void* block) override {
        Log.push_back("FreeBlock");
        if (m_live.erase(block) == 0) {
            ++badFrees;
            return;
        }
        ++frees;
        std::free(block);
    }

private:
    static constexpr LibraryHandle kHandleBase = 0x10000;

    bool Failing() { return ++CallNumber == FailCallNumber; }

    static FakeLibraryApi*& Current() {
        static FakeLibraryApi* current = nullptr;
        return current;
    }

    template <size_t N> static int32_t QUENDRY_STDCALL Entry() {
        FakeLibraryApi* self = Current();
        return self ? self->Enter(N) : int32_t(0x8000FFFF);
    }
    template <size_t... N> static const EntryPoint* MakeEntries(std::index_sequence<N...>) {
        static const EntryPoint entries[] = {&Entry<N>...};
        return entries;
    }
    static const EntryPoint* Entries() { return MakeEntries(std::make_index_sequence<kSlots>()); }

    int32_t Enter(size_t slot) {
        for (auto& [path, file] : files) {
            if (file.slot != slot)
                continue;
            Log.push_back("Call(" + path + ")");
            ++file.calls;
            if (file.loaded == 0)
                ++callsWhileUnloaded;
            if (duringCall)
                duringCall(path);
            return file.status;
        }
        return int32_t(0x8000FFFF);
    }
    File* Resolve(const std::string& path) {
        auto it = files.find(path);
        if (it != files.end())
            return &it->second;
        for (auto& [longPath, file] : files)
            if (!file.shortForm.empty() && file.shortForm == path)
                return &file;
        return nullptr;
    }
    File* ByHandle(LibraryHandle library) {
        for (auto& [path, file] : files)
            if (kHandleBase + file.slot == library)
                return &file;
        return nullptr;
    }
    std::string PathOf(const File& wanted) const {
        for (const auto& [path, file] : files)
            if (&file == &wanted)
                return path;
        return {};
    }

    size_t m_nextSlot = 0;
    std::set<void*> m_live;
};
