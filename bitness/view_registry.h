#pragma once
// The registry as one view of 64-bit Windows shows it: every key, and every subkey on the way to
// it, is opened with that view's flag, so that no path names Wow6432Node. On 32-bit Windows there
// is one view and no flag (Windows 2000 knows none).
#include <optional>
#include <string>
#include <vector>

#include "bitness/program_image.h"
#include "registry/registry_api.h"

class ViewRegistry {
public:
    ViewRegistry(IRegistryApi& registry, Bitness view, bool windows64);

    Bitness View() const { return m_view; }
    // A REG_SZ or REG_EXPAND_SZ value as stored (not expanded); nothing where there is none.
    std::optional<std::string> Text(int32_t root, const std::string& path,
                                    const std::string& name) const;
    std::vector<std::string> SubKeys(int32_t root, const std::string& path) const;
    std::vector<std::string> ValueNames(int32_t root, const std::string& path) const;
    // Environment strings expanded as a program of this view's bitness means them.
    std::string Expand(const std::string& text) const;

private:
    std::string ExpandPlain(const std::string& text) const;
    // %ProgramW6432%/%CommonProgramW6432% (Windows 7 and later), else the folder the 64-bit
    // view's CurrentVersion key names.
    std::string Folder64(const char* variable, const char* registryValue) const;

    IRegistryApi& m_registry;
    Bitness m_view;
    uint32_t m_flag;
    bool m_windows64;
};
