#pragma once
// Opens the window on which programs can open databases: the inventory read as the user's
// program sees it, the 32-bit classes created where the provider check creates its classes.
#include <windows.h>

#include "bitness/data_access_read.h"
#include "bitness/file_probe_win.h"
#include "databases_window.h"
#include "registry/registry_api.h"
#include "repair/provider_check.h"

class WinDatabasesWindow : public IDatabasesWindow {
public:
    WinDatabasesWindow(IRegistryApi& registry, IProviderChecker& providers, HINSTANCE instance)
        : m_registry(registry), m_providers(providers), m_instance(instance) {}
    void Read() override;
    void Show(WindowHandle owner, Language lang) override;

private:
    WinFileProbe m_files;
    DataAccessReport m_report;
    IRegistryApi& m_registry;
    IProviderChecker& m_providers;
    HINSTANCE m_instance;
};
