#pragma once
// Component libraries of the running system: loaded by full path, with their own folder and the
// system directory as the only places searched for the libraries they need.
#include "repair/library_api.h"

class IFunctionLookup;

class Win32LibraryApi : public ILibraryApi {
public:
    // `lookup` tells whether the loader takes the search flags of newer systems.
    Win32LibraryApi();
    explicit Win32LibraryApi(const IFunctionLookup& lookup);
    LibraryHandle LoadComponentLibrary(const std::string& path) override;
    EntryPoint FindEntryPoint(LibraryHandle library, const std::string& name) override;
    bool FreeComponentLibrary(LibraryHandle library) override;
    uint32_t ShortPathName(const std::string& longPath, std::string& shortPath,
                           uint32_t capacity) override;
    uint32_t SystemMessageText(uint32_t code, std::string& text) override;
    uint32_t LastError() override;
    void* TaskMemAlloc(size_t bytes) override;
    void TaskMemFree(void* block) override;

private:
    bool m_searchFlags;
};
